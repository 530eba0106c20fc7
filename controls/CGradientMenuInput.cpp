#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>

#include "controls/CGradientMenu.h"
#include "controls/MenuRules.h"

namespace korvana {

// The deepest open level holds the mouse, so every level's events arrive at
// it; they are handed to whichever level lies under the cursor.
void CGradientMenu::mouseMoveEvent(QMouseEvent* event) {
    const QPoint global = event->globalPosition().toPoint();
    if (CGradientMenu* level = LevelAt(global)) {
        level->ListMove(level->mapFromGlobal(global));
    }
}

void CGradientMenu::mousePressEvent(QMouseEvent* event) {
    if (!open_) {
        return;
    }
    const QPoint global = event->globalPosition().toPoint();
    CGradientMenu* level = LevelAt(global);
    if (level == nullptr) {
        CloseWholeMenu();
        return;
    }
    if (event->button() == Qt::LeftButton) {
        level->ListPress(level->mapFromGlobal(global), false);
    }
}

// Releases act on nothing: a row acts when the button goes down, and the
// release of the click that opened the menu must not choose a row.
void CGradientMenu::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

void CGradientMenu::ListMove(QPoint pos) {
    const int row = RowAt(pos);
    if (row < 0 || menu_->items[static_cast<std::size_t>(row)].grayed) {
        return;
    }
    if (lastMove_ == pos) {
        return;
    }
    lastMove_ = pos;
    if (row != hoveredRow_) {
        hoveredRow_ = row;
        hoverPos_ = pos;
        hoverTimer_.start();
    }
    SetHighlight(row);
}

void CGradientMenu::OnHover() {
    if (!open_ || hoveredRow_ < 0) {
        return;
    }
    if (menu_->items[static_cast<std::size_t>(hoveredRow_)].submenu) {
        ListPress(hoverPos_, false);
        return;
    }
    CloseChild();
    openSubmenuRow_ = -1;
}

void CGradientMenu::ListPress(QPoint pos, bool keyboard) {
    const int row = RowAt(pos);
    if (row < 0 || menu_->items[static_cast<std::size_t>(row)].grayed || row == openSubmenuRow_) {
        return;
    }
    CloseChild();
    // Acted on once the mouse handling is over, as the platform's own menus
    // do.
    QMetaObject::invokeMethod(
        this, [this, pos, keyboard] { ActOnClick(pos, keyboard); }, Qt::QueuedConnection);
    openSubmenuRow_ = row;
}

void CGradientMenu::ClickRow(int row, bool keyboard) {
    const QRect rect = RowRect(row);
    if (!rect.isEmpty()) {
        ListPress(rect.topLeft() + QPoint(1, 1), keyboard);
    }
}

void CGradientMenu::ActOnClick(QPoint pos, bool keyboard) {
    const int row = RowAt(pos);
    if (!open_ || row < 0) {
        return;
    }
    const MenuItem& item = menu_->items[static_cast<std::size_t>(row)];
    if (item.submenu) {
        OpenSubmenu(row, keyboard);
    } else {
        Choose(item.commandId);
    }
}

void CGradientMenu::OpenSubmenu(int row, bool keyboard) {
    const MenuItem& item = menu_->items[static_cast<std::size_t>(row)];
    QRect exclusion = RowRect(row).translated(mapToGlobal(QPoint(0, 0)));
    exclusion.setLeft(exclusion.left() - bandWidth_);
    auto* child = new CGradientMenu(submenuBand_ != 0 ? bandWidth_ : 0, submenuBand_, this);
    child->SetCaption(WithoutMnemonics(item.text));
    child->SetColours(bandTop_, bandBottom_, captionColour_);
    child->SetFlags(kSubmenuFlag | (keyboard ? kKeyboardFlag : 0));
    child->parent_ = this;
    child->Attach(item.submenu.get());
    child_ = child;
    if (!child->Open(exclusion.topLeft(), owner_, &exclusion)) {
        child_ = nullptr;
        child->deleteLater();
    }
}

void CGradientMenu::Choose(int commandId) {
    CGradientMenu* root = Root();
    if (!root->pendingCommand_) {
        root->pendingCommand_ = commandId;
    }
    CloseWholeMenu();
}

void CGradientMenu::CloseWholeMenu() {
    Root()->CloseLevel();
}

void CGradientMenu::CloseChild() {
    if (child_ != nullptr) {
        CGradientMenu* child = child_;
        child_ = nullptr;
        child->CloseLevel();
    }
}

void CGradientMenu::CloseLevel() {
    if (!open_) {
        return;
    }
    CloseChild();
    open_ = false;
    disconnect(deactivation_);
    hoverTimer_.stop();
    hide();
    owner_->OnExitMenuLoop(*menu_);
    if (parent_ != nullptr) {
        deleteLater();
        return;
    }
    if (loop_ != nullptr) {
        loop_->quit();
    } else if (pendingCommand_) {
        // Opened without a loop of its own: the command follows the exits.
        const int command = *pendingCommand_;
        pendingCommand_.reset();
        owner_->OnMenuCommand(command);
    }
}

void CGradientMenu::closeEvent(QCloseEvent* event) {
    event->accept();
    if (open_) {
        CloseWholeMenu();
    }
}

void CGradientMenu::keyPressEvent(QKeyEvent* event) {
    CGradientMenu* level = this;
    while (level->child_ != nullptr && level->child_->open_) {
        level = level->child_;
    }
    if (level->open_) {
        level->HandleKey(event);
    }
}

void CGradientMenu::HandleKey(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Alt || (event->modifiers() & Qt::AltModifier) != 0) {
        CloseWholeMenu();
        return;
    }
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (enter || key == Qt::Key_Right) {
        const bool hasSubmenu =
            highlighted_ >= 0 && menu_->items[static_cast<std::size_t>(highlighted_)].submenu;
        if (highlighted_ >= 0 && (hasSubmenu || enter)) {
            openSubmenuRow_ = -1;
            ClickRow(highlighted_, true);
        }
        return;
    }
    if (key == Qt::Key_Escape) {
        CloseWholeMenu();
        return;
    }
    if (key == Qt::Key_Left) {
        if (parent_ != nullptr) {
            CGradientMenu* parent = parent_;
            parent->CloseChild();
            parent->openSubmenuRow_ = -1;
        }
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint()) {
        MatchKey(text.toUcs4().value(0));
        if (!open_) {
            return;
        }
    }
    if (key == Qt::Key_Down || key == Qt::Key_Up) {
        SetHighlight(NextSelectableRow(menu_->items, highlighted_, key == Qt::Key_Down ? 1 : -1));
    }
}

void CGradientMenu::MatchKey(char32_t c) {
    const MnemonicMatch match = MatchMnemonic(menu_->items, c, highlighted_);
    switch (match.kind) {
        case MnemonicMatch::Kind::None: {
            const MenuCharReply reply = owner_->OnMenuChar(c, *menu_);
            if (reply.action == MenuCharReply::Action::Close) {
                CloseWholeMenu();
            } else if (reply.action == MenuCharReply::Action::Choose) {
                ClickRow(reply.row, false);
            }
            return;
        }
        case MnemonicMatch::Kind::One:
            SetHighlight(match.row);
            ClickRow(match.row, false);
            return;
        case MnemonicMatch::Kind::Several:
            SetHighlight(match.row);
            return;
    }
}

}  // namespace korvana
