#include "app/MainLayout.h"

namespace korvana {

namespace {
constexpr int kStatusRowHeight = 25;
constexpr int kServersWidth = 150;
constexpr int kBandwidthWidth = 200;
constexpr int kSharedWidth = 135;
constexpr int kDownloadsWidth = 150;
constexpr int kPanesWidth = kServersWidth + kBandwidthWidth + kSharedWidth + kDownloadsWidth;
}  // namespace

MainLayout ComputeMainLayout(int width, int height) {
    MainLayout layout;
    layout.pageHost = {10, 68, width - 24, height - 147};
    const int rowY = height - 77;
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
    layout.separator = {0, height - 79, width, 1};
    return layout;
}

KeyAction ClassifyKey(Key key, bool autoRepeat) {
    if (key == Key::Escape) {
        return KeyAction::Swallow;
    }
    if (autoRepeat) {
        return KeyAction::None;
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
