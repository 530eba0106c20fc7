#pragma once

namespace korvana {

struct LayoutRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const LayoutRect&) const = default;
};

// Where the main window's parts go for a window of width W and height H:
// the page host under the page buttons, the status row of four panes padded
// by two equal fillers, and the one-pixel line above the row.
struct MainLayout {
    LayoutRect pageHost;
    LayoutRect leftFiller;
    LayoutRect serversPane;
    LayoutRect bandwidthPane;
    LayoutRect sharedPane;
    LayoutRect downloadsPane;
    LayoutRect rightFiller;
    LayoutRect separator;
};

MainLayout ComputeMainLayout(int width, int height);

// What a key press in any window of the program does.
enum class KeyAction { None, Swallow, ShowSearch, ShowTransfers, ShowLibrary };

enum class Key { Other, Escape, F2, F3, F4 };

// Escape is swallowed everywhere, repeats included, so it never closes the
// main window or a dialog. F2, F3 and F4 choose a page once per press: a
// held key's repeats do nothing.
KeyAction ClassifyKey(Key key, bool autoRepeat);

}  // namespace korvana
