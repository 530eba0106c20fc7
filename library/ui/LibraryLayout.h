#pragma once

#include <QRect>
#include <QSize>

namespace korvana {

// Where the Library page's controls go for a page of width w and height h:
// the library list takes what the player column on the right leaves, with
// its three buttons centred under it; the player column keeps its size.
struct LibraryLayout {
    QRect libraryList;
    QRect addToPlaylist;
    QRect launch;
    QRect explore;
    QRect playlist;
    QRect moveUp;
    QRect moveDown;
    QRect removeTrack;
    QRect removeAll;
    QRect random;
    QRect repeat;
    QRect playerFrame;
    QRect title;
    QRect position;
    QRect time;
    QRect volumeFrame;
    QRect volumeSymbol;
    QRect volume;
    QRect play;
    QRect pause;
    QRect stop;
    QRect previousTrack;
    QRect nextTrack;
};

// A page too small for a control gives it no area rather than a negative
// size.
LibraryLayout LayOutLibraryPage(int w, int h);

// The least page that holds every control whole: the player column down to
// the bottom of its frame, and the three buttons under the library list.
QSize MinimumLibraryPageSize();

// The library list's column widths for a client width: 0.8 and 0.2 of it,
// truncated.
int FilenameColumnWidth(int clientWidth);
int SizeColumnWidth(int clientWidth);

}  // namespace korvana
