#pragma once

#include <QRect>
#include <QSize>
#include <array>

#include "library/LibrarySort.h"

namespace korvana {

// Where the Library page's controls go for a page of width w and height h:
// the library list takes what the player column on the right leaves, with
// its filter box above it and its three buttons centred under it; the
// player column keeps its size.
struct LibraryLayout {
    QRect filter;
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

// The library list's column widths for a client width, by column, in
// shares of it (truncated): the file name the most, then the tag texts,
// the size, length and bit rate; the hidden path none.
std::array<int, kLibraryColumns> LibraryColumnWidths(int clientWidth);

}  // namespace korvana
