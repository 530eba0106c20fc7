#include "library/ui/LibraryLayout.h"

#include <algorithm>

namespace korvana {
namespace {

QRect At(int x, int y, int width, int height) {
    return QRect(x, y, std::max(0, width), std::max(0, height));
}

constexpr int kPlayerColumn = 310;  // the width the player column takes
constexpr int kBigButtonWidth = 69;
constexpr int kBigButtonHeight = 65;
constexpr int kSmallButton = 24;
constexpr int kFilterWidth = 260;
constexpr int kFilterHeight = 24;

}  // namespace

LibraryLayout LayOutLibraryPage(int w, int h) {
    const int c = (w - kPlayerColumn) / 2;
    LibraryLayout layout;
    layout.filter =
        At(5, 60 - kFilterHeight - 4, std::min(w - kPlayerColumn, kFilterWidth), kFilterHeight);
    layout.libraryList = At(5, 60, w - kPlayerColumn, h - 125);
    layout.addToPlaylist = At(c - 103, h - 60, kBigButtonWidth, kBigButtonHeight);
    layout.launch = At(c - 34, h - 60, kBigButtonWidth, kBigButtonHeight);
    layout.explore = At(c + 35, h - 60, kBigButtonWidth, kBigButtonHeight);
    layout.playlist = At(w - 302, 60, 295, 150);
    layout.moveUp = At(w - 256, 220, kSmallButton, kSmallButton);
    layout.moveDown = At(w - 227, 220, kSmallButton, kSmallButton);
    layout.removeTrack = At(w - 198, 220, kSmallButton, kSmallButton);
    layout.removeAll = At(w - 169, 220, 26, kSmallButton);
    layout.random = At(w - 66, 220, 28, kSmallButton);
    layout.repeat = At(w - 33, 220, 26, kSmallButton);
    layout.playerFrame = At(w - 302, 265, 299, 125);
    layout.title = At(w - 301, 280, 295, 30);
    layout.position = At(w - 295, 315, 195, 20);
    layout.time = At(w - 85, 315, 75, 20);
    layout.volumeFrame = At(w - 81, 335, 70, 46);
    layout.volumeSymbol = At(w - 79, 343, 65, 20);
    layout.volume = At(w - 79, 358, 65, 18);
    layout.play = At(w - 268, 346, kSmallButton, kSmallButton);
    layout.pause = At(w - 239, 346, kSmallButton, kSmallButton);
    layout.stop = At(w - 210, 346, kSmallButton, kSmallButton);
    layout.previousTrack = At(w - 181, 346, kSmallButton, kSmallButton);
    layout.nextTrack = At(w - 152, 346, kSmallButton, kSmallButton);
    return layout;
}

QSize MinimumLibraryPageSize() {
    // The leftmost button starts 103 px left of the list's centre and keeps
    // a 5 px margin; the player frame ends 390 px down.
    constexpr int kButtonsHalfWidth = 103 + 5;
    constexpr int kPlayerFrameBottom = 265 + 125;
    return QSize(kPlayerColumn + 2 * kButtonsHalfWidth, kPlayerFrameBottom + 5);
}

std::array<int, kLibraryColumns> LibraryColumnWidths(int clientWidth) {
    // Hundredths of the width, by column.
    constexpr std::array<int, kLibraryColumns> kShares = {27, 11, 0, 15, 15, 12, 10, 10};
    std::array<int, kLibraryColumns> widths{};
    for (std::size_t i = 0; i < widths.size(); ++i) {
        widths[i] = std::max(0, clientWidth * kShares[i] / 100);
    }
    return widths;
}

}  // namespace korvana
