#pragma once

namespace korvana {

// The Library page's controls, menu and commands. A control's objectName is
// the name of its id, so tests and the main window find controls by id.
namespace library_ids {

inline constexpr char kPage[] = "IDD_LIBRARY";
inline constexpr char kLibraryList[] = "IDC_LIBRARY_LIST";
inline constexpr char kFilter[] = "IDC_LIBRARY_FILTER";
inline constexpr char kPlaylist[] = "IDC_PLAYLIST";
inline constexpr char kPlay[] = "IDC_PLAY";
inline constexpr char kPause[] = "IDC_PAUSE";
inline constexpr char kStop[] = "IDC_STOP";
inline constexpr char kNextTrack[] = "IDC_NEXT_TRACK";
inline constexpr char kPreviousTrack[] = "IDC_PREVIOUS_TRACK";
inline constexpr char kMoveUp[] = "IDC_MOVE_UP";
inline constexpr char kMoveDown[] = "IDC_MOVE_DOWN";
inline constexpr char kRemoveTrack[] = "IDC_REMOVE_TRACK";
inline constexpr char kRemoveAll[] = "IDC_REMOVE_ALL";
inline constexpr char kRandom[] = "IDC_RANDOM";
inline constexpr char kRepeat[] = "IDC_REPEAT";
inline constexpr char kExplore[] = "IDC_EXPLORE";
inline constexpr char kLaunch[] = "IDC_LAUNCH";
inline constexpr char kAddToPlaylist[] = "IDC_ADD_TO_PLAYLIST";
inline constexpr char kPosition[] = "IDC_POSITION";
inline constexpr char kVolume[] = "IDC_VOLUME";
inline constexpr char kTitle[] = "IDC_TITLE";
inline constexpr char kTime[] = "IDC_TIME";
inline constexpr char kVolumeSymbol[] = "IDC_VOLUME_SYMBOL";
inline constexpr char kVolumeFrame[] = "IDC_VOLUME_FRAME";
inline constexpr char kPlayerFrame[] = "IDC_PLAYER_FRAME";

// The right-click menu of the library list and its commands.
inline constexpr char kFileMenu[] = "IDR_LIBRARY_FILE";
inline constexpr int kAddToPlaylistCommand = 32793;
inline constexpr int kPlayCommand = 32777;
inline constexpr int kLaunchCommand = 32792;
inline constexpr int kDeleteCommand = 32779;

}  // namespace library_ids
}  // namespace korvana
