#include "controls/CGradientMenu.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>

#include "controls/MenuRules.h"
#include "controls/QtBridge.h"

namespace korvana {
namespace {

constexpr int kSeparatorHeight = 7;
constexpr int kRowPadding = 8;  // above and below a row's text, together
constexpr int kTextEnd = 12;    // blank after a row's text

}  // namespace

CGradientMenu::CGradientMenu(int bandWidth, int submenuBand, QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint),
      bandWidth_(std::max(0, bandWidth)),
      submenuBand_(submenuBand) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setFont(QApplication::font("QMenu"));
    hoverTimer_.setSingleShot(true);
    hoverTimer_.setInterval(kHoverMs);
    connect(&hoverTimer_, &QTimer::timeout, this, &CGradientMenu::OnHover);
}

CGradientMenu::~CGradientMenu() {
    if (open_) {
        CloseLevel();
    }
}

void CGradientMenu::SetCaption(const std::string& caption) {
    caption_ = caption;
    update();
}

void CGradientMenu::SetColours(const QColor& bandTop, const QColor& bandBottom,
                               const QColor& caption) {
    bandTop_ = bandTop;
    bandBottom_ = bandBottom;
    captionColour_ = caption;
    update();
}

MenuTable* CGradientMenu::Detach() {
    if (open_) {
        CloseWholeMenu();
    }
    MenuTable* menu = menu_;
    menu_ = nullptr;
    return menu;
}

int CGradientMenu::Track(QPoint at, MenuOwner* owner, const QRect* exclusion) {
    if (!Open(at, owner, exclusion)) {
        return 0;
    }
    QEventLoop loop;
    if (open_) {
        loop_ = &loop;
        loop.exec();
        loop_ = nullptr;
    }
    if (pendingCommand_) {
        const int command = *pendingCommand_;
        pendingCommand_.reset();
        owner_->OnMenuCommand(command);
    }
    return 1;
}

bool CGradientMenu::Popup(QPoint at, MenuOwner* owner, const QRect* exclusion) {
    return Open(at, owner, exclusion);
}

bool CGradientMenu::Open(QPoint at, MenuOwner* owner, const QRect* exclusion) {
    if (owner == nullptr || menu_ == nullptr || open_) {
        return false;
    }
    owner_ = owner;
    if ((flags_ & kSubmenuFlag) != 0) {
        owner_->OnInitMenuPopup(*menu_);
    } else {
        owner_->OnInitMenu(*menu_);
    }
    setObjectName(QString::fromStdString(menu_->name));
    highlighted_ = -1;
    lastSelected_ = -1;
    openSubmenuRow_ = -1;
    hoveredRow_ = -1;
    lastMove_.reset();
    pendingCommand_.reset();
    LayOut();
    Place(at, exclusion);
    open_ = true;
    if (parent_ == nullptr) {
        // Another application taking over closes the menu, as a click
        // outside it does within this one.
        deactivation_ = connect(qApp, &QGuiApplication::applicationStateChanged, this,
                                [this](Qt::ApplicationState state) {
                                    if (state != Qt::ApplicationActive) {
                                        CloseWholeMenu();
                                    }
                                });
    }
    show();
    setFocus(Qt::PopupFocusReason);
    owner_->OnEnterMenuLoop(*menu_);
    if ((flags_ & kKeyboardFlag) != 0) {
        SetHighlight(NextSelectableRow(menu_->items, -1, 1));
        flags_ &= ~kKeyboardFlag;
    }
    return true;
}

void CGradientMenu::LayOut() {
    const QFontMetrics metrics(font());
    checkMark_ = std::max(13, style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this));
    const int rowHeight = std::max(metrics.height() + kRowPadding, checkMark_ + 4);
    std::vector<MenuRowSize> rows;
    for (const MenuItem& item : menu_->items) {
        if (item.separator) {
            rows.push_back(MenuRowSize{rowHeight, kSeparatorHeight});
            continue;
        }
        const int text =
            metrics.size(Qt::TextShowMnemonic | Qt::TextSingleLine, TextFromBytes(item.text))
                .width();
        rows.push_back(MenuRowSize{rowHeight + 2 + text + kTextEnd, rowHeight});
    }
    layout_ = LayOutMenu(rows, checkMark_, bandWidth_);
    resize(layout_.popup.width, layout_.popup.height);
}

void CGradientMenu::Place(QPoint at, const QRect* exclusion) {
    QScreen* screen = QGuiApplication::screenAt(exclusion ? exclusion->topLeft() : at);
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    const Rect desktop = ToRect(screen->availableGeometry());
    const Size size = layout_.popup;
    const Point where = exclusion ? PlaceSubmenu(ToRect(*exclusion), size, desktop)
                                  : PlacePopup(ToPoint(at), size, desktop);
    move(ToQPoint(where));
}

CGradientMenu* CGradientMenu::Root() {
    CGradientMenu* level = this;
    while (level->parent_ != nullptr) {
        level = level->parent_;
    }
    return level;
}

CGradientMenu* CGradientMenu::LevelAt(QPoint global) {
    CGradientMenu* found = nullptr;
    for (CGradientMenu* level = Root(); level != nullptr && level->open_; level = level->child_) {
        if (level->geometry().contains(global)) {
            found = level;
        }
    }
    return found;
}

QRect CGradientMenu::RowRect(int row) const {
    if (row < 0 || row >= static_cast<int>(layout_.rows.size())) {
        return QRect();
    }
    const Rect r = layout_.rows[static_cast<std::size_t>(row)];
    return ToQRect(r.Moved(layout_.list.left, layout_.list.top));
}

QRect CGradientMenu::BandRect() const {
    return QRect(kMenuFrame, kMenuFrame, bandWidth_, layout_.list.Height());
}

int CGradientMenu::RowAt(QPoint pos) const {
    if (menu_ == nullptr) {
        return -1;
    }
    for (int row = 0; row < static_cast<int>(layout_.rows.size()); ++row) {
        if (RowRect(row).contains(pos)) {
            return menu_->items[static_cast<std::size_t>(row)].separator ? -1 : row;
        }
    }
    return -1;
}

void CGradientMenu::SetHighlight(int row) {
    if (row == highlighted_) {
        return;
    }
    highlighted_ = row;
    update();
    if (row < 0 || row == lastSelected_) {
        return;
    }
    lastSelected_ = row;
    const MenuItem& item = menu_->items[static_cast<std::size_t>(row)];
    owner_->OnMenuSelect(item.submenu ? row : item.commandId, MenuItemFlags(item), *menu_);
}

}  // namespace korvana
