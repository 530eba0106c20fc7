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
// by two equal fillers along the bottom edge, and the one-pixel line above
// the row.
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

// The least client size at which the page host is at least `pageWidth` by
// `pageHeight`, the status row's four panes are in view whole and the page
// buttons fit.
LayoutRect MinimumClientSize(int pageWidth, int pageHeight);

// What a key press in any window of the program does.
enum class KeyAction { None, Swallow, ShowSearch, ShowTransfers, ShowLibrary, PressButton };

enum class Key { Other, Escape, Enter, F2, F3, F4 };

// Where a key press lands.
struct KeyTarget {
    bool inClosableDialog = false;  // a dialog that Escape may close
    bool onButton = false;          // a push button with the keyboard focus
};

// Escape closes a dialog (its Cancel), except one that must stay until its
// work is done; elsewhere, the main window included, it is swallowed.
// Enter on a focused button presses that button. F2, F3 and F4 choose a
// page once per press: a held key's repeats do nothing.
KeyAction ClassifyKey(Key key, bool autoRepeat, KeyTarget target = {});

}  // namespace korvana
