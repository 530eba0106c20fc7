#pragma once

#include <string>

#include "controls/Geometry.h"

namespace korvana {

enum class ButtonKind { Push, Check, Radio };
enum class TextAlign { Left, Right, Centre };

// Where the icon sits. Any value other than left or right counts as centre.
inline constexpr int kIconLeft = 256;
inline constexpr int kIconRight = 512;
inline constexpr int kIconCentre = 768;

// What a dialog's button declares about itself.
struct ButtonStyle {
    ButtonKind kind = ButtonKind::Push;
    bool pushLike = false;
    bool flat = false;
    TextAlign textAlign = TextAlign::Centre;
};

// How the button behaves and draws, derived from its style: push buttons are
// always push-like, and a check or radio button that does not look like a
// push button has no border.
struct ButtonTraits {
    ButtonKind kind = ButtonKind::Push;
    bool pushLike = true;
    bool flat = false;
    bool border = true;
    TextAlign textAlign = TextAlign::Centre;
};
ButtonTraits TraitsFromStyle(const ButtonStyle& style);

// The icon's rectangle in button coordinates. The offsets move only the left
// and top edges, so a y offset makes the box shorter and keeps its bottom.
Rect PlaceIconBox(int alignment, Size button, Size icon, int margin, int offsetX, int offsetY);

// The rectangle the text is centred in, making room for the icon.
Rect TextBox(Size button, int margin, bool hasIcon, int alignment, const Rect& iconBox,
             int iconWidth);

// The mouse, keyboard and check state of one button.
class ButtonState {
  public:
    explicit ButtonState(ButtonKind kind) : kind_(kind) {}

    ButtonKind Kind() const { return kind_; }
    // A push button cannot stay checked.
    void SetKind(ButtonKind kind);
    bool Checked() const { return checked_; }
    bool Pushed() const { return pushed_; }
    bool Held() const { return held_; }
    bool Hovering() const { return hovering_; }

    // Stores the new checked flag (always off for a push button) and reports
    // whether it changed.
    bool SetCheck(bool value);
    void SetToolTipTexts(std::string normal, std::string checked);
    // The checked text while checked and not empty, else the normal text.
    const std::string& ToolTip() const;

    // Left button down: held and pushed; hovering ends.
    void Press();
    // A move while held; reports whether the pushed look changed.
    bool MoveWhileHeld(bool overButton);

    struct Release {
        bool click = false;
        // The checked flag the button should take, for check (toggle) and
        // radio (on) buttons released over themselves.
        bool changeCheck = false;
        bool newCheck = false;
    };
    Release ReleaseButton(bool overButton);

    // Reports whether hovering started (so the button must be redrawn).
    bool Hover();
    void Leave() { hovering_ = false; }
    // Losing the focus cancels a press in progress.
    void LoseFocus();

    // Space bar: a check button toggles and a radio button turns on at once;
    // every kind shows the pushed look until the key comes up.
    Release SpaceDown();
    bool SpaceUp();

  private:
    Release CheckChangeFor(bool overButton) const;

    ButtonKind kind_;
    bool checked_ = false;
    bool pushed_ = false;
    bool held_ = false;
    bool hovering_ = false;
    std::string tip_;
    std::string checkedTip_;
};

enum class ShadeState { Disabled, Pressed, Hover, Normal };
enum class IconState { Disabled, Pressed, Hover, Normal };
enum class Edge { None, Raised, Sunken, ThinRaised, ThinSunken, DefaultRaised };

// Everything that decides one frame of a button.
struct ButtonFrameInput {
    bool enabled = true;
    bool pushed = false;
    bool checked = false;
    bool hovering = false;
    bool focused = false;
    bool isDefault = false;
    bool hasHoverIcon = false;
};

struct ButtonLook {
    ShadeState shade = ShadeState::Normal;
    Point shadeAt{};
    IconState icon = IconState::Normal;
    Point contentShift{};  // applied to the icon and the text
    Edge edge = Edge::None;
    bool focusLines = false;
    int focusInset = 0;  // how far inside the edge the focus lines run
    bool embossedText = false;
};

// Where the focus lines of a button without a focus margin run, so that the
// focus is always visible.
inline constexpr int kFallbackFocusInset = 3;
ButtonLook ChooseLook(const ButtonTraits& traits, const ButtonFrameInput& input, int margin);

}  // namespace korvana
