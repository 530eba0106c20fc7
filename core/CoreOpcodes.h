#pragma once

namespace korvana {

// Opcodes of the messages the front end sends to the core.
namespace to_core {
inline constexpr int kProtocolVersion = 0;
inline constexpr int kShutdown = 3;
inline constexpr int kOptionList = 10;
inline constexpr int kCancelDownload = 11;
inline constexpr int kSwitchDownload = 23;
inline constexpr int kCloseQuery = 27;
inline constexpr int kSetOption = 28;
inline constexpr int kConsoleCommand = 29;
inline constexpr int kSearchQuery = 42;
inline constexpr int kAskDownloadingFiles = 45;
inline constexpr int kExtensionList = 47;
inline constexpr int kAskUploadStats = 49;
inline constexpr int kDownloadRequest = 50;
inline constexpr int kPassword = 52;
}  // namespace to_core

// Opcodes of the messages the front end reads from the core.
namespace from_core {
inline constexpr int kHello = 0;
inline constexpr int kOptions = 1;
inline constexpr int kResult = 4;
inline constexpr int kSearchResult = 5;
inline constexpr int kConsoleText = 19;
inline constexpr int kNetwork = 20;
inline constexpr int kSharedFileUpload = 34;
inline constexpr int kDownloadUpdate = 46;
inline constexpr int kSharedFile = 48;
inline constexpr int kClientStats = 49;
inline constexpr int kFileNames = 52;
inline constexpr int kDownloadList = 53;
}  // namespace from_core

}  // namespace korvana
