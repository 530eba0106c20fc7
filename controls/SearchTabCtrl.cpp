#include "controls/SearchTabCtrl.h"

#include <QCursor>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionFocusRect>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>

#include "controls/ControlPainting.h"
#include "controls/QtBridge.h"
#include "controls/SearchViewer.h"

namespace korvana {
namespace {

constexpr int kHoverPeriodMs = 10;
constexpr int kEdgeHeight = 2;   // how far the selected tab stands out
constexpr int kTabPadding = 12;  // blank on each side of a title

}  // namespace

SearchTabCtrl::SearchTabCtrl(SearchViewer* viewer, StatusLog* log, QWidget* parent)
    : QWidget(parent), viewer_(viewer), model_(log) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    hoverTimer_.setInterval(kHoverPeriodMs);
    connect(&hoverTimer_, &QTimer::timeout, this, &SearchTabCtrl::OnHoverTimer);
}

void SearchTabCtrl::SetSelectedTextColour(const QColor& colour) {
    colours_.selected = ToRgb(colour);
    update();
}

void SearchTabCtrl::SetDisabledTextColour(const QColor& colour) {
    colours_.disabled = ToRgb(colour);
    update();
}

void SearchTabCtrl::SetHoverColour(const QColor& colour) {
    colours_.hover = ToRgb(colour);
    update();
}

void SearchTabCtrl::AddTab(const std::string& title, int image, int searchId) {
    model_.Add(title, image, searchId);
    Relayout();
    UpdateScroll(model_.Selected());
}

void SearchTabCtrl::SetResultCount(int searchId, int count) {
    if (model_.SetResultCount(searchId, count)) {
        Relayout();
    }
}

void SearchTabCtrl::SetTabToolTip(int searchId, const std::string& text) {
    model_.SetToolTip(searchId, text);
}

bool SearchTabCtrl::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return QWidget::event(event);
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    const int index = TabAt(TabRects(), ToPoint(help->pos()));
    if (index < 0 || model_.Tab(index).toolTip.empty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), QString::fromStdString(model_.Tab(index).toolTip),
                           this, TabRect(index));
    }
    return true;
}

void SearchTabCtrl::SetItemTitle(int index, const std::string& title) {
    model_.SetItemTitle(index, title);
    Relayout();
}

void SearchTabCtrl::SetTabEnabled(int index, bool enabled) {
    model_.SetEnabled(index, enabled);
    update();
}

void SearchTabCtrl::RemoveAllTabs() {
    model_.RemoveAll();
    Relayout();
}

void SearchTabCtrl::RemoveSelectedTab() {
    model_.RemoveSelected();
    Relayout();
}

bool SearchTabCtrl::SelectTab(int index) {
    const bool selected = model_.Select(index);
    UpdateScroll(model_.Selected());
    return selected;
}

void SearchTabCtrl::StepSelection(int step, bool wrap) {
    const int next = model_.Neighbour(step, wrap);
    if (next >= 0) {
        ShowByUser(next);
    }
}

void SearchTabCtrl::ShowByUser(int index) {
    const std::optional<int> shown = model_.SelectByUser(index);
    if (!shown) {
        return;
    }
    UpdateScroll(index);
    if (viewer_ != nullptr) {
        viewer_->ShowSearch(*shown);
    }
}

QRect SearchTabCtrl::TabRect(int index) const {
    if (index < 0 || index >= static_cast<int>(rects_.size())) {
        return QRect();
    }
    return rects_[static_cast<std::size_t>(index)].translated(-ScrollOffset(), 0);
}

int SearchTabCtrl::ArrowWidth() const {
    return TabHeight() * 3 / 4;
}

int SearchTabCtrl::ScrollOffset() const {
    if (!arrows_ || rects_.empty()) {
        return 0;
    }
    return rects_[static_cast<std::size_t>(first_)].left() - kEdgeHeight;
}

QRect SearchTabCtrl::ScrollLeftRect() const {
    if (!arrows_) {
        return QRect();
    }
    return QRect(width() - 2 * ArrowWidth(), kEdgeHeight, ArrowWidth(), TabHeight());
}

QRect SearchTabCtrl::ScrollRightRect() const {
    return arrows_ ? ScrollLeftRect().translated(ArrowWidth(), 0) : QRect();
}

std::vector<int> SearchTabCtrl::TabWidths() const {
    std::vector<int> widths;
    for (const QRect& r : rects_) {
        widths.push_back(r.width());
    }
    return widths;
}

// The selected tab stands out by kEdgeHeight on each side, so the tabs keep
// that much away from the arrows.
int SearchTabCtrl::ScrolledRoom() const {
    return width() - 3 * kEdgeHeight - 2 * ArrowWidth();
}

void SearchTabCtrl::UpdateScroll(int keepVisible) {
    const std::vector<int> widths = TabWidths();
    int total = 0;
    for (const int w : widths) {
        total += w;
    }
    arrows_ = total > width() - 2 * kEdgeHeight;
    first_ = arrows_ ? FirstTabShown(widths, ScrolledRoom(), first_, keepVisible) : 0;
    update();
}

void SearchTabCtrl::Scroll(int step) {
    if (!arrows_) {
        return;
    }
    first_ = std::clamp(first_ + step, 0, LastFirstTab(TabWidths(), ScrolledRoom()));
    update();
}

QColor SearchTabCtrl::TitleColour(int index) const {
    const bool hovered = colours_.hover.has_value() && index == hover_.Hovered();
    return ToQColor(TabTitleColour(colours_, SystemColoursFrom(palette()), model_.Enabled(index),
                                   index == model_.Selected(), hovered));
}

int SearchTabCtrl::TabHeight() const {
    return fontMetrics().height() + 10;
}

void SearchTabCtrl::Relayout() {
    rects_.clear();
    const QFontMetrics metrics = fontMetrics();
    int x = kEdgeHeight;
    for (int i = 0; i < model_.Count(); ++i) {
        const SearchTab& tab = model_.Tab(i);
        const int width = metrics.horizontalAdvance(TextFromBytes(tab.title)) + 2 * kTabPadding;
        rects_.push_back(QRect(x, kEdgeHeight, std::max(width, 40), TabHeight()));
        x += rects_.back().width();
    }
    updateGeometry();
    UpdateScroll(-1);
}

std::vector<Rect> SearchTabCtrl::TabRects() const {
    std::vector<Rect> rects;
    for (int i = 0; i < static_cast<int>(rects_.size()); ++i) {
        rects.push_back(ToRect(TabRect(i)));
    }
    return rects;
}

QSize SearchTabCtrl::sizeHint() const {
    const int width = rects_.empty() ? 100 : rects_.back().right() + kEdgeHeight + 1;
    return QSize(width, TabHeight() + kEdgeHeight + 1);
}

QSize SearchTabCtrl::minimumSizeHint() const {
    return QSize(40, TabHeight() + kEdgeHeight + 1);
}

QPoint SearchTabCtrl::CursorInStrip() const {
    return mapFromGlobal(QCursor::pos());
}

void SearchTabCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    if (ScrollLeftRect().contains(at) || ScrollRightRect().contains(at)) {
        Scroll(ScrollLeftRect().contains(at) ? -1 : +1);
        return;
    }
    ShowByUser(TabAt(TabRects(), ToPoint(at)));
}

void SearchTabCtrl::wheelEvent(QWheelEvent* event) {
    const int delta =
        event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x();
    if (delta != 0) {
        Scroll(delta > 0 ? -1 : +1);
    }
    event->accept();
}

void SearchTabCtrl::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier &&
        (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)) {
        StepSelection(event->key() == Qt::Key_Left ? -1 : +1, false);
        return;
    }
    QWidget::keyPressEvent(event);
}

void SearchTabCtrl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UpdateScroll(model_.Selected());
}

void SearchTabCtrl::mouseMoveEvent(QMouseEvent* event) {
    if (!colours_.hover) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    std::vector<bool> enabled;
    for (int i = 0; i < model_.Count(); ++i) {
        enabled.push_back(model_.Enabled(i));
    }
    const auto result = hover_.MouseMove(ToPoint(event->position().toPoint()), TabRects(), enabled);
    hoverTimer_.start();
    if (result.redrawTab >= 0) {
        update(TabRect(result.redrawTab));
    }
    QWidget::mouseMoveEvent(event);
}

void SearchTabCtrl::OnHoverTimer() {
    if (hover_.TimerTick(ToPoint(CursorInStrip()), TabRects())) {
        hoverTimer_.stop();
        update();
    }
}

void SearchTabCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const SystemColours system = SystemColoursFrom(palette());
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const int baseline = kEdgeHeight + TabHeight();
    painter.fillRect(QRect(0, baseline, width(), 1), ToQColor(system.buttonHighlight));
    if (arrows_) {
        painter.setClipRect(QRect(0, 0, ScrollLeftRect().left(), height()));
    }
    for (int i = 0; i < model_.Count(); ++i) {
        if (i != model_.Selected()) {
            PaintTab(painter, i);
        }
    }
    if (model_.Selected() >= 0) {
        PaintTab(painter, model_.Selected());
    }
    painter.setClipping(false);
    if (arrows_) {
        PaintArrows(painter);
    }
}

// Two small buttons, each with a triangle pointing its way; an arrow that
// cannot scroll further is drawn in the disabled colour.
void SearchTabCtrl::PaintArrows(QPainter& painter) {
    const SystemColours system = SystemColoursFrom(palette());
    const bool canScroll[2] = {first_ > 0, first_ < LastFirstTab(TabWidths(), ScrolledRoom())};
    const QRect boxes[2] = {ScrollLeftRect(), ScrollRightRect()};
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (int side = 0; side < 2; ++side) {
        const QRect box = boxes[side];
        painter.fillRect(box, ToQColor(system.face));
        DrawFrame(painter, box, ToQColor(system.buttonHighlight), ToQColor(system.shadow));
        const QPointF c = QRectF(box).center();
        const qreal half = box.width() / 5.0;
        const qreal tip = side == 0 ? -half : half;
        QPainterPath triangle;
        triangle.moveTo(c.x() + tip, c.y());
        triangle.lineTo(c.x() - tip, c.y() - half * 1.5);
        triangle.lineTo(c.x() - tip, c.y() + half * 1.5);
        triangle.closeSubpath();
        painter.fillPath(triangle, ToQColor(canScroll[side] ? system.buttonText : system.greyText));
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void SearchTabCtrl::PaintTab(QPainter& painter, int index) {
    const SystemColours system = SystemColoursFrom(palette());
    const bool selected = index == model_.Selected();
    QRect frame = TabRect(index);
    if (selected) {
        frame.adjust(-kEdgeHeight, -kEdgeHeight, kEdgeHeight, 1);
    }
    DrawFrame(painter, frame, ToQColor(system.buttonHighlight), ToQColor(system.shadow));
    QRect area = frame.adjusted(1, 1, -1, selected ? 0 : -1);
    const int fullTop = area.top();
    area.setTop(area.top() + kEdgeHeight);
    painter.fillRect(area, ToQColor(system.face));
    hover_.NoteDrawn(index, TabRect(index).contains(CursorInStrip()));

    const SearchTab& tab = model_.Tab(index);
    area.setTop(fullTop);
    painter.setPen(TitleColour(index));
    painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, TextFromBytes(tab.title));
    if (selected && hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = TabRect(index).adjusted(3, 3, -3, -3);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

}  // namespace korvana
