#pragma once

#include <QColor>
#include <QTimer>
#include <QWidget>
#include <string>
#include <vector>

#include "controls/SearchTabModel.h"
#include "controls/TabHover.h"

namespace korvana {

class SearchViewer;
class StatusLog;

// The tab strip of the search page: one tab per search, titled with the
// search text and, once results arrive, their count. A user's click shows
// the tab's search through the viewer; selection by program does not.
// When the tabs do not fit, two arrows at the right scroll them (so does
// the mouse wheel), and the selected tab is always scrolled into view. With
// the keyboard focus, Left and Right select the neighbouring tab.
class SearchTabCtrl : public QWidget {
    Q_OBJECT
  public:
    // `viewer` and `log` may be null and must outlive the strip.
    explicit SearchTabCtrl(SearchViewer* viewer, StatusLog* log = nullptr,
                           QWidget* parent = nullptr);

    void SetSelectedTextColour(const QColor& colour);
    void SetDisabledTextColour(const QColor& colour);
    // Also switches hover tracking on.
    void SetHoverColour(const QColor& colour);

    void AddTab(const std::string& title, int image, int searchId);
    // Puts `count` into the title of the tab of `searchId`, if there is one.
    void SetResultCount(int searchId, int count);
    // What the tab of `searchId` tells while the mouse rests on it.
    void SetTabToolTip(int searchId, const std::string& text);
    void SetItemTitle(int index, const std::string& title);
    void SetTabEnabled(int index, bool enabled);
    void RemoveAllTabs();
    void RemoveSelectedTab();
    int SelectedSearchId() const { return model_.SelectedSearchId(); }
    bool SelectTab(int index);
    // Selects and shows the nearest enabled tab `step` (+1 or -1) away, as a
    // user's choice; `wrap` goes round the ends (Ctrl+Tab does).
    void StepSelection(int step, bool wrap);
    // The first tab shown, and whether the scroll arrows are on show.
    int FirstShownTab() const { return first_; }
    bool ScrollArrowsShown() const { return arrows_; }
    // Where the two arrows lie; empty while they are hidden.
    QRect ScrollLeftRect() const;
    QRect ScrollRightRect() const;

    const SearchTabModel& Model() const { return model_; }
    int HoveredTab() const { return hover_.Hovered(); }
    bool HoverTimerActive() const { return hoverTimer_.isActive(); }
    // Where tab `index` lies in the strip as scrolled; it may lie beyond the
    // strip's ends.
    QRect TabRect(int index) const;
    QColor TitleColour(int index) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void ShowByUser(int index);
    void Scroll(int step);
    // Decides whether the arrows are needed and which tab comes first, so
    // that tab `keepVisible` (-1: none) is shown whole.
    void UpdateScroll(int keepVisible);
    int ArrowWidth() const;
    std::vector<int> TabWidths() const;
    int ScrolledRoom() const;
    int ScrollOffset() const;
    void PaintArrows(QPainter& painter);
    void OnHoverTimer();
    void Relayout();
    int TabHeight() const;
    std::vector<Rect> TabRects() const;
    QPoint CursorInStrip() const;
    void PaintTab(QPainter& painter, int index);

    SearchViewer* viewer_;
    SearchTabModel model_;
    TabHoverTracker hover_;
    TabColours colours_;
    std::vector<QRect> rects_;  // as laid out from the left, not scrolled
    int first_ = 0;
    bool arrows_ = false;
    QTimer hoverTimer_;
};

}  // namespace korvana
