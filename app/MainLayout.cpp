#include "app/MainLayout.h"

#include <algorithm>

namespace korvana {

namespace {
constexpr int kStatusRowHeight = 25;
// The status row sits this far above the window's bottom edge, with the
// separator line two pixels above it and the page host right above that.
constexpr int kBottomMargin = 2;
constexpr int kPageHostTop = 68;
constexpr int kServersWidth = 150;
constexpr int kBandwidthWidth = 200;
constexpr int kSharedWidth = 135;
constexpr int kDownloadsWidth = 150;
constexpr int kPanesWidth = kServersWidth + kBandwidthWidth + kSharedWidth + kDownloadsWidth;
// The three page buttons and the wider Preferences button, with a margin on
// each side.
constexpr int kPageButtonsWidth = 10 + 3 * 126 + 130 + 10;
}  // namespace

MainLayout ComputeMainLayout(int width, int height) {
    MainLayout layout;
    const int rowY = height - kBottomMargin - kStatusRowHeight;
    const int separatorY = rowY - 2;
    layout.pageHost = {10, kPageHostTop, width - 24, separatorY - kPageHostTop};
    const int filler = (width - kPanesWidth) / 2;
    int x = 0;
    auto next = [&](int paneWidth) {
        const LayoutRect pane{x, rowY, paneWidth, kStatusRowHeight};
        x += paneWidth;
        return pane;
    };
    layout.leftFiller = next(filler);
    layout.serversPane = next(kServersWidth);
    layout.bandwidthPane = next(kBandwidthWidth);
    layout.sharedPane = next(kSharedWidth);
    layout.downloadsPane = next(kDownloadsWidth);
    layout.rightFiller = next(filler);
    layout.separator = {0, separatorY, width, 1};
    return layout;
}

LayoutRect MinimumClientSize(int pageWidth, int pageHeight) {
    const int width = std::max({pageWidth + 24, kPanesWidth, kPageButtonsWidth});
    const int height = kPageHostTop + pageHeight + 2 + kStatusRowHeight + kBottomMargin;
    return {0, 0, width, height};
}

KeyAction ClassifyKey(Key key, bool autoRepeat, KeyTarget target) {
    if (key == Key::Escape) {
        return target.inClosableDialog ? KeyAction::None : KeyAction::Swallow;
    }
    if (autoRepeat) {
        return KeyAction::None;
    }
    if (key == Key::Enter) {
        return target.onButton ? KeyAction::PressButton : KeyAction::None;
    }
    switch (key) {
        case Key::F2:
            return KeyAction::ShowSearch;
        case Key::F3:
            return KeyAction::ShowTransfers;
        case Key::F4:
            return KeyAction::ShowLibrary;
        default:
            return KeyAction::None;
    }
}

}  // namespace korvana
