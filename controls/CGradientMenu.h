#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <optional>
#include <string>

#include "controls/MenuGeometry.h"
#include "controls/MenuOwner.h"
#include "controls/MenuTable.h"

class QEventLoop;

namespace korvana {

// A popup menu drawn by the program: a gradient band with an upward caption
// on the left and the menu's rows beside it. Towards its owner it behaves
// like a platform menu (see MenuOwner); submenus cascade as further
// CGradientMenu popups.
//
// The caller builds the top level, attaches a menu table and tracks it;
// Track returns once the whole menu has closed. Every row of a menu can be
// reached with the mouse, the arrow keys, Enter and Right, and mnemonics.
class CGradientMenu : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kSubmenuFlag = 0x001;
    static constexpr int kKeyboardFlag = 0x100;
    // How long the cursor rests on a row before its submenu opens.
    static constexpr int kHoverMs = 400;

    // A band width of 0 means no band; a non-zero submenu band flag gives
    // submenus a band of the same width.
    explicit CGradientMenu(int bandWidth = 24, int submenuBand = 1, QWidget* parent = nullptr);
    ~CGradientMenu() override;

    void SetCaption(const std::string& caption);
    void SetColours(const QColor& bandTop, const QColor& bandBottom, const QColor& caption);
    // Opened from the keyboard: the first row starts highlighted.
    void SetFlags(int flags) { flags_ = flags; }

    // The table stays the caller's; the menu only points at it. Detaching
    // an open menu closes it.
    void Attach(MenuTable* menu) { menu_ = menu; }
    MenuTable* Detach();

    // Opens at the screen point `at` (or beside `exclusion`) and returns once
    // the menu has closed: 1, or 0 without an owner or a menu.
    int Track(QPoint at, MenuOwner* owner, const QRect* exclusion = nullptr);
    // Opens the same way and returns at once; the owner hears of the rest.
    bool Popup(QPoint at, MenuOwner* owner, const QRect* exclusion = nullptr);
    // Closes every level from the top one down, deepest first.
    void CloseWholeMenu();

    bool IsOpen() const { return open_; }
    CGradientMenu* OpenChild() const { return child_; }
    int HighlightedRow() const { return highlighted_; }
    // In popup coordinates; empty for a row that does not exist.
    QRect RowRect(int row) const;
    QRect BandRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    bool Open(QPoint at, MenuOwner* owner, const QRect* exclusion);
    void LayOut();
    void Place(QPoint at, const QRect* exclusion);
    CGradientMenu* Root();
    CGradientMenu* LevelAt(QPoint global);
    int RowAt(QPoint pos) const;

    void ListMove(QPoint pos);
    void ListPress(QPoint pos, bool keyboard);
    void ActOnClick(QPoint pos, bool keyboard);
    void ClickRow(int row, bool keyboard);
    void OnHover();
    void OpenSubmenu(int row, bool keyboard);
    void Choose(int commandId);
    void CloseChild();
    void CloseLevel();

    void HandleKey(QKeyEvent* event);
    void MatchKey(char32_t c);
    void SetHighlight(int row);

    void PaintFrame(QPainter& painter);
    void PaintBand(QPainter& painter);
    void PaintRow(QPainter& painter, int row);
    void PaintCheckSquare(QPainter& painter, const QRect& square, const MenuItem& item, bool hot);

    int bandWidth_;
    int submenuBand_;
    int flags_ = 0;
    std::string caption_;
    QColor bandTop_{0, 0, 0};
    QColor bandBottom_{128, 255, 128};
    QColor captionColour_{255, 255, 255};

    MenuTable* menu_ = nullptr;
    MenuOwner* owner_ = nullptr;
    CGradientMenu* parent_ = nullptr;
    CGradientMenu* child_ = nullptr;
    QEventLoop* loop_ = nullptr;
    QMetaObject::Connection deactivation_;
    bool open_ = false;
    std::optional<int> pendingCommand_;

    MenuLayout layout_;
    int checkMark_ = 13;
    int highlighted_ = -1;
    int lastSelected_ = -1;
    int openSubmenuRow_ = -1;
    int hoveredRow_ = -1;
    QPoint hoverPos_;
    std::optional<QPoint> lastMove_;
    QTimer hoverTimer_;
};

}  // namespace korvana
