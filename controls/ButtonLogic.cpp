#include "controls/ButtonLogic.h"

#include <algorithm>
#include <utility>

namespace korvana {

ButtonTraits TraitsFromStyle(const ButtonStyle& style) {
    ButtonTraits traits;
    traits.kind = style.kind;
    traits.flat = style.flat;
    traits.textAlign = style.textAlign;
    traits.pushLike = style.pushLike || style.kind == ButtonKind::Push;
    traits.border = traits.pushLike;
    return traits;
}

Rect PlaceIconBox(int alignment, Size button, Size icon, int margin, int offsetX, int offsetY) {
    Rect box{0, 0, icon.width, icon.height};
    int dx = 0;
    int dy = 0;
    if (alignment == kIconLeft) {
        dx = margin;
        dy = std::max(0, button.height / 2 - icon.height / 2);
    } else if (alignment == kIconRight) {
        dx = button.width - icon.width - margin;
        dy = std::max(0, button.height / 2 - icon.height / 2);
    } else {
        // Above the middle, leaving the lower half for the text.
        dx = std::max(0, button.width / 2 - icon.width / 2);
        dy = std::max(0, button.height / 2 - icon.height);
    }
    box = box.Moved(dx, dy);
    box.left += offsetX;
    box.top += offsetY;
    return box;
}

Rect TextBox(Size button, int margin, bool hasIcon, int alignment, const Rect& iconBox,
             int iconWidth) {
    Rect box{margin + 2, 3, button.width - margin - 2, button.height};
    if (!hasIcon) {
        return box;
    }
    if (alignment == kIconLeft) {
        box.left += iconWidth;
    } else if (alignment == kIconRight) {
        box.right -= iconWidth;
    } else {
        box.top = iconBox.bottom;
        box.bottom -= margin + 1;
    }
    return box;
}

void ButtonState::SetKind(ButtonKind kind) {
    kind_ = kind;
    SetCheck(checked_);
}

bool ButtonState::SetCheck(bool value) {
    const bool next = value && kind_ != ButtonKind::Push;
    const bool changed = next != checked_;
    checked_ = next;
    return changed;
}

void ButtonState::SetToolTipTexts(std::string normal, std::string checked) {
    tip_ = std::move(normal);
    checkedTip_ = std::move(checked);
}

const std::string& ButtonState::ToolTip() const {
    return checked_ && !checkedTip_.empty() ? checkedTip_ : tip_;
}

void ButtonState::Press() {
    hovering_ = false;
    held_ = true;
    pushed_ = true;
}

bool ButtonState::MoveWhileHeld(bool overButton) {
    if (!held_ || pushed_ == overButton) {
        return false;
    }
    pushed_ = overButton;
    return true;
}

ButtonState::Release ButtonState::CheckChangeFor(bool overButton) const {
    Release release;
    if (kind_ == ButtonKind::Push || !overButton) {
        return release;
    }
    release.changeCheck = true;
    release.newCheck = kind_ == ButtonKind::Check ? !checked_ : true;
    return release;
}

ButtonState::Release ButtonState::ReleaseButton(bool overButton) {
    Release release;
    if (held_) {
        release = CheckChangeFor(overButton);
        release.click = pushed_ && overButton;
    }
    held_ = false;
    pushed_ = false;
    return release;
}

bool ButtonState::Hover() {
    if (hovering_ || held_) {
        return false;
    }
    hovering_ = true;
    return true;
}

void ButtonState::LoseFocus() {
    held_ = false;
    pushed_ = false;
}

ButtonState::Release ButtonState::SpaceDown() {
    pushed_ = true;
    return CheckChangeFor(true);
}

bool ButtonState::SpaceUp() {
    const bool click = pushed_ && !held_;
    if (!held_) {
        pushed_ = false;
    }
    return click;
}

namespace {

Edge NormalEdge(const ButtonTraits& traits, const ButtonFrameInput& input) {
    if (!traits.border || !(input.hovering || !traits.flat)) {
        return Edge::None;
    }
    if (input.isDefault) {
        return Edge::DefaultRaised;
    }
    return traits.flat ? Edge::ThinRaised : Edge::Raised;
}

}  // namespace

ButtonLook ChooseLook(const ButtonTraits& traits, const ButtonFrameInput& input, int margin) {
    ButtonLook look;
    if (!input.enabled) {
        look.shade = ShadeState::Disabled;
        look.icon = IconState::Disabled;
        look.edge = traits.border && !traits.flat ? Edge::Raised : Edge::None;
        look.embossedText = true;
        return look;
    }
    look.focusLines = input.focused;
    look.focusInset = margin > 0 ? margin : kFallbackFocusInset;
    if (input.pushed || input.checked) {
        look.shade = ShadeState::Pressed;
        look.shadeAt = traits.border ? Point{1, 1} : Point{0, 0};
        look.icon = IconState::Pressed;
        look.contentShift = traits.pushLike ? Point{1, 1} : Point{0, 0};
        if (traits.border) {
            look.edge = traits.flat ? Edge::ThinSunken : Edge::Sunken;
        }
        return look;
    }
    look.shade = input.hovering ? ShadeState::Hover : ShadeState::Normal;
    look.icon = input.hovering && input.hasHoverIcon ? IconState::Hover : IconState::Normal;
    look.edge = NormalEdge(traits, input);
    return look;
}

}  // namespace korvana
