#include "controls/SearchTabCtrl.h"

#include <QCursor>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
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
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    hoverTimer_.setInterval(kHoverPeriodMs);
    connect(&hoverTimer_, &QTimer::timeout, this, &SearchTabCtrl::OnHoverTimer);
}

void SearchTabCtrl::SetSelectedTextColour(const QColor& colour) {
    colours_.selected = ToRgb(colour);
    update();
}

void SearchTabCtrl::SetNormalTextColour(const QColor& colour) {
    colours_.normal = ToRgb(colour);
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

void SearchTabCtrl::SetImageList(const QList<QPixmap>& images) {
    images_ = images;
    Relayout();
}

void SearchTabCtrl::AddTab(const std::string& title, int image, int searchId) {
    model_.Add(title, image, searchId);
    Relayout();
}

void SearchTabCtrl::SetResultCount(int searchId, int count) {
    if (model_.SetResultCount(searchId, count)) {
        Relayout();
    }
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

void SearchTabCtrl::RemoveTab(int index) {
    model_.Remove(index);
    Relayout();
}

void SearchTabCtrl::RemoveSelectedTab() {
    model_.RemoveSelected();
    Relayout();
}

bool SearchTabCtrl::SelectTab(int index) {
    const bool selected = model_.Select(index);
    update();
    return selected;
}

QRect SearchTabCtrl::TabRect(int index) const {
    if (index < 0 || index >= static_cast<int>(rects_.size())) {
        return QRect();
    }
    return rects_[static_cast<std::size_t>(index)];
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
        int width = metrics.horizontalAdvance(TextFromBytes(tab.title)) + 2 * kTabPadding;
        if (tab.image >= 0 && tab.image < images_.size()) {
            width += metrics.horizontalAdvance(QLatin1Char(' ')) +
                     images_[tab.image].width() / images_[tab.image].devicePixelRatio();
        }
        rects_.push_back(QRect(x, kEdgeHeight, std::max(width, 40), TabHeight()));
        x += rects_.back().width();
    }
    updateGeometry();
    update();
}

std::vector<Rect> SearchTabCtrl::TabRects() const {
    std::vector<Rect> rects;
    for (const QRect& r : rects_) {
        rects.push_back(ToRect(r));
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
    const int tab = TabAt(TabRects(), ToPoint(event->position().toPoint()));
    const std::optional<int> shown = model_.SelectByUser(tab);
    if (!shown) {
        return;
    }
    update();
    if (viewer_ != nullptr) {
        viewer_->ShowSearch(*shown);
    }
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
    for (int i = 0; i < model_.Count(); ++i) {
        if (i != model_.Selected()) {
            PaintTab(painter, i);
        }
    }
    if (model_.Selected() >= 0) {
        PaintTab(painter, model_.Selected());
    }
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
    if (tab.image >= 0 && tab.image < images_.size()) {
        const QPixmap& image = images_[tab.image];
        area.setLeft(area.left() + painter.fontMetrics().horizontalAdvance(QLatin1Char(' ')));
        painter.drawPixmap(area.topLeft(), image);
        area.setLeft(area.left() + static_cast<int>(image.width() / image.devicePixelRatio()));
    }
    area.setTop(fullTop);
    painter.setPen(TitleColour(index));
    painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, TextFromBytes(tab.title));
}

}  // namespace korvana
