#include "search/ui/SearchPage.h"

#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTableWidget>

#include "controls/CGradientMenu.h"
#include "controls/FilterBox.h"
#include "controls/ListMemory.h"
#include "controls/QtBridge.h"
#include "controls/SearchTabCtrl.h"
#include "controls/Shade.h"
#include "controls/SkinButton.h"
#include "search/SearchPageLayout.h"
#include "search/SearchSession.h"
#include "search/ui/ResultTableModel.h"
#include "search/ui/SearchArtwork.h"
#include "search/ui/SearchPageIds.h"

namespace korvana {
namespace {

constexpr int kRowHeight = 20;
constexpr int kButtonFontPixels = 12;
constexpr int kSmallestButtonFontPixels = 9;
// What a button keeps free on each side of its caption.
constexpr int kButtonTextMargin = 6;
const QColor kButtonShade(0, 0, 0);

// The status column shows its icon in the middle of the cell.
class StatusDelegate final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        const QPixmap icon = index.data(Qt::DecorationRole).value<QPixmap>();
        item.icon = QIcon();
        item.features &= ~QStyleOptionViewItem::HasDecoration;
        const QWidget* view = item.widget;
        QStyle* style = view != nullptr ? view->style() : nullptr;
        if (style != nullptr) {
            style->drawControl(QStyle::CE_ItemViewItem, &item, painter, view);
        }
        painter->drawPixmap(
            QStyle::alignedRect(item.direction, Qt::AlignCenter, icon.size(), item.rect), icon);
    }
};

SkinButton* MakeButton(const QString& text, const char* name, QWidget* parent) {
    auto* button = new SkinButton(text, ButtonStyle{}, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->SetShade(kBrushedShade, 8, 10, 0, kButtonShade);
    return button;
}

// The page's buttons are narrow: their caption takes the largest face, up to
// the usual one, that shows it whole beside the icon.
QFont CaptionFont(const SkinButton* button, int iconWidth) {
    const int room = button->width() - 2 * kButtonTextMargin - iconWidth;
    const QString caption = button->Text().remove(QLatin1Char('&'));
    QFont font = button->font();
    for (int pixels = kButtonFontPixels; pixels > kSmallestButtonFontPixels; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).horizontalAdvance(caption) <= room) {
            break;
        }
    }
    return font;
}

void SetUpList(QTableView* view) {
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setShowGrid(true);
    view->setWordWrap(false);
    view->horizontalHeader()->setSectionsMovable(true);
    view->horizontalHeader()->setHighlightSections(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(kRowHeight);
}

// The client width of a list whose rows may need the vertical scroll bar.
int ClientWidth(const QTableView* view) {
    return view->maximumViewportSize().width() -
           view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view);
}

}  // namespace

SearchPage::SearchPage(SearchSession& session, DownloadStarter& downloads, Prompter& prompter,
                       StatusLog* log, QWidget* parent)
    : QWidget(parent), session_(session), downloads_(downloads), prompter_(prompter) {
    setObjectName(QStringLiteral("IDD_SEARCH"));
    BuildSearchArea();
    BuildFilterList();
    BuildResultArea(log);
    BuildFindArea();
    BuildProgressArea();
    BuildMenus();
    SetColumnWidths(true);
}

SearchPage::~SearchPage() {
    // QWidget deletes the children after this destructor; focus moving off
    // a dying edit field must not reach this page's handlers by then.
    for (QObject* child : findChildren<QObject*>()) {
        child->disconnect(this);
        child->removeEventFilter(this);
    }
}

void SearchPage::BuildSearchArea() {
    keyword_ = new QLineEdit(
        QString::fromUtf8(kKeywordPlaceholder.data(), static_cast<int>(kKeywordPlaceholder.size())),
        this);
    keyword_->setObjectName(QStringLiteral("IDC_KEYWORD"));
    keyword_->installEventFilter(this);
    connect(keyword_, &QLineEdit::returnPressed, this, &SearchPage::StartSearch);

    start_ = MakeButton(QStringLiteral("&Start Search"), "IDC_START_SEARCH", this);
    connect(start_, &SkinButton::clicked, this, &SearchPage::StartSearch);
    // Kept for its id; the page never shows it.
    stop_ = MakeButton(QStringLiteral("&Stop Search"), "IDC_STOP_SEARCH", this);
    stop_->hide();
    connect(stop_, &SkinButton::clicked, this, [this] { stop_->setEnabled(false); });
    reset_ = MakeButton(QStringLiteral("&Reset"), "IDC_RESET", this);
    connect(reset_, &SkinButton::clicked, this, &SearchPage::Reset);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("IDC_SEARCH_STATUS"));
    status_->setWordWrap(true);
    status_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("IDC_SEARCH_SEPARATOR"));
    line->setAutoFillBackground(true);
    QPalette linePalette = line->palette();
    linePalette.setColor(QPalette::Window, palette().color(QPalette::Mid));
    line->setPalette(linePalette);
    separator_ = line;
}

void SearchPage::BuildFilterList() {
    filters_ = new QTableWidget(static_cast<int>(kFilterNames.size()), 2, this);
    filters_->setObjectName(QStringLiteral("IDC_FILTER_LIST"));
    SetUpList(filters_);
    filters_->setSelectionMode(QAbstractItemView::SingleSelection);
    filters_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the list for the next control instead of walking its cells.
    filters_->setTabKeyNavigation(false);
    filters_->setHorizontalHeaderLabels({QStringLiteral("Term"), QStringLiteral("Search")});
    for (std::size_t row = 0; row < kFilterNames.size(); ++row) {
        const int r = static_cast<int>(row);
        filters_->setItem(
            r, 0,
            new QTableWidgetItem(QString::fromLatin1(kFilterNames[row].data(),
                                                     static_cast<int>(kFilterNames[row].size()))));
        filters_->setItem(r, kValueColumn, new QTableWidgetItem(QString()));
    }
    connect(filters_, &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (column == kValueColumn) {
            EditFilter(row);
        }
    });
    filterEditor_ = new QLineEdit(this);
    filterEditor_->setObjectName(QStringLiteral("IDC_FILTER_EDIT"));
    filterEditor_->hide();
    // Enter, and leaving the editor, write the value; neither starts a search.
    connect(filterEditor_, &QLineEdit::editingFinished, this, &SearchPage::CommitFilter);
}

void SearchPage::BuildResultArea(StatusLog* log) {
    tabs_ = new SearchTabCtrl(this, log, this);
    tabs_->setObjectName(QStringLiteral("IDC_SEARCH_TABS"));
    tabs_->SetSelectedTextColour(QColor(0, 0, 255));
    tabs_->SetHoverColour(QColor(0, 0, 0));
    tabs_->installEventFilter(this);
    tabs_->hide();
    // Ctrl+Tab and Ctrl+Shift+Tab step through the searches from anywhere on
    // the page, going round the ends.
    const std::pair<QKeyCombination, int> steps[] = {{Qt::CTRL | Qt::Key_Tab, +1},
                                                     {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, -1},
                                                     {Qt::CTRL | Qt::SHIFT | Qt::Key_Tab, -1}};
    for (const auto& [keys, step] : steps) {
        auto* shortcut = new QShortcut(QKeySequence(keys), this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, tabs_,
                [this, step = step] { tabs_->StepSelection(step, true); });
    }

    removeSearch_ = new SkinButton(this);
    removeSearch_->setObjectName(QStringLiteral("IDC_REMOVE_SEARCH"));
    removeSearch_->SetFlat(true);
    removeSearch_->SetIconOffsetY(0);
    removeSearch_->SetIcon(RemoveSearchIcon(false), kIconCentre, RemoveSearchIcon(true));
    removeSearch_->SetToolTipText(QStringLiteral("Remove the selected search"));
    removeSearch_->setFocusPolicy(Qt::NoFocus);
    removeSearch_->hide();
    connect(removeSearch_, &SkinButton::clicked, this, &SearchPage::RemoveSearch);

    results_ = new ResultTableModel(session_.Model(), this);
    resultView_ = new QTableView(this);
    resultView_->setObjectName(QStringLiteral("IDC_RESULT_LIST"));
    resultView_->setModel(results_);
    SetUpList(resultView_);
    resultView_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    resultView_->setAlternatingRowColors(true);
    resultView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    resultView_->setTabKeyNavigation(false);
    resultView_->setItemDelegateForColumn(static_cast<int>(ResultColumn::Status),
                                          new StatusDelegate(resultView_));
    resultView_->horizontalHeader()->setStretchLastSection(true);
    resultView_->setColumnHidden(static_cast<int>(ResultColumn::Link), true);
    resultView_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(resultView_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { SortBy(static_cast<ResultColumn>(section)); });
    connect(resultView_, &QTableView::customContextMenuRequested, this,
            &SearchPage::OpenResultsMenu);
    connect(resultView_, &QTableView::doubleClicked, this, &SearchPage::DownloadSelected);
    connect(results_, &ResultTableModel::ResultCountChanged, tabs_,
            [this](int searchId, int count) {
                tabs_->SetResultCount(searchId, count);
                tabs_->SetTabToolTip(searchId, session_.Model().NetworkCountsText(searchId));
            });
}

void SearchPage::BuildFindArea() {
    downloadSelected_ =
        MakeButton(QStringLiteral("Download Selected"), "IDC_DOWNLOAD_SELECTED", this);
    downloadSelected_->SetIcon(DownloadSelectedIcon(), kIconLeft);
    downloadSelected_->SetIconOffsetX(6);
    downloadSelected_->SetIconOffsetY(0);
    downloadSelected_->SetToolTipText(QStringLiteral("Download selected results from list"));
    connect(downloadSelected_, &SkinButton::clicked, this, &SearchPage::DownloadSelected);

    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("IDC_SEARCH_PICTURE"));
    picture_->setPixmap(SearchPicture());

    findText_ = new QLineEdit(this);
    findText_->setObjectName(QStringLiteral("IDC_FIND_TEXT"));
    connect(findText_, &QLineEdit::returnPressed, this, &SearchPage::Find);
    findNext_ = MakeButton(QStringLiteral("Search &List"), "IDC_FIND_NEXT", this);
    findNext_->SetIcon(FindNextIcon(), kIconLeft);
    findNext_->SetIconOffsetX(4);
    findNext_->SetIconOffsetY(0);
    findNext_->SetToolTipText(QStringLiteral("Find the next result whose name holds the text"));
    connect(findNext_, &SkinButton::clicked, this, &SearchPage::Find);
    findStatus_ = new QLabel(this);
    findStatus_->setObjectName(QStringLiteral("IDC_FIND_STATUS"));
    findStatus_->setWordWrap(true);
    QFont small = findStatus_->font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    findStatus_->setFont(small);
}

void SearchPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOut();
}

// The filter list's header, all six rows and its frame, without a scroll bar.
int SearchPage::FilterListHeight() const {
    return filters_->horizontalHeader()->sizeHint().height() + filters_->rowCount() * kRowHeight +
           2 * filters_->frameWidth();
}

QSize SearchPage::minimumSizeHint() const {
    const Size least = MinimumSearchPageSize(FilterListHeight());
    return QSize(least.width, least.height);
}

void SearchPage::LayOut() {
    const SearchPageLayout layout = LayOutSearchPage(ToRect(rect()), FilterListHeight());
    keyword_->setGeometry(ToQRect(layout.keyword));
    start_->setGeometry(ToQRect(layout.startStop));
    stop_->setGeometry(ToQRect(layout.startStop));
    reset_->setGeometry(ToQRect(layout.reset));
    status_->setGeometry(ToQRect(layout.status));
    filters_->setGeometry(ToQRect(layout.filters));
    if (editedFilter_ < 0) {
        filterEditor_->setGeometry(ToQRect(layout.editor));
    }
    separator_->setGeometry(ToQRect(layout.separator));
    tabs_->setGeometry(ToQRect(layout.tabs));
    removeSearch_->setGeometry(ToQRect(layout.removeButton));
    resultView_->setGeometry(ToQRect(layout.results));
    downloadSelected_->setGeometry(ToQRect(layout.downloadSelected));
    picture_->setGeometry(ToQRect(layout.picture));
    findText_->setGeometry(ToQRect(layout.findText));
    findNext_->setGeometry(ToQRect(layout.findNext));
    findStatus_->setGeometry(ToQRect(layout.findStatus));
    filterBox_->setGeometry(ToQRect(layout.filterBox));
    progress_->setGeometry(ToQRect(layout.progress));
    progress_->setVisible(!layout.progress.Empty());
    PlaceEmptyNote();
    // Start and Reset stand one above the other: one face for both.
    const QFont startFont = CaptionFont(start_, 0);
    start_->SetButtonFont(startFont);
    reset_->SetButtonFont(startFont);
    downloadSelected_->SetButtonFont(
        CaptionFont(downloadSelected_, downloadSelected_->IconBox().Width() + 6));
    findNext_->SetButtonFont(CaptionFont(findNext_, findNext_->IconBox().Width() + 4));
    SetColumnWidths(false);
}

void SearchPage::SetColumnWidths(bool setUp) {
    // Widths the user chose (now or in an earlier run) stay as they are.
    const auto widths = ResultColumnWidths(ClientWidth(resultView_), setUp);
    for (int column = 0; column < kResultColumnCount; ++column) {
        if (widths[static_cast<std::size_t>(column)] > 0 &&
            !resultView_->property(kWidthsChosenProperty).toBool()) {
            resultView_->setColumnWidth(column, widths[static_cast<std::size_t>(column)]);
        }
    }
    if (filters_->property(kWidthsChosenProperty).toBool()) {
        return;
    }
    const auto filterWidths = FilterColumnWidths(ClientWidth(filters_), setUp);
    filters_->setColumnWidth(0, filterWidths[0]);
    filters_->setColumnWidth(1, filterWidths[1]);
}

bool SearchPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == keyword_ && event->type() == QEvent::FocusIn &&
        keyword_->text().toStdString() == kKeywordPlaceholder) {
        keyword_->clear();
    }
    if (watched == tabs_ && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::RightButton) {
            OpenSearchMenu(press->position().toPoint());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SearchPage::EditFilter(int row) {
    const QModelIndex cell = filters_->model()->index(row, kValueColumn);
    const QRect area = filters_->visualRect(cell);
    if (!cell.isValid() || area.isEmpty()) {
        return;
    }
    editedFilter_ = row;
    filterEditor_->setGeometry(
        QRect(filters_->viewport()->mapTo(this, area.topLeft()), area.size()));
    filterEditor_->setText(filters_->item(row, kValueColumn)->text());
    filterEditor_->show();
    filterEditor_->raise();
    filterEditor_->setFocus();
    filterEditor_->selectAll();
}

void SearchPage::CommitFilter() {
    if (editedFilter_ < 0) {
        return;
    }
    const int row = editedFilter_;
    editedFilter_ = -1;
    filters_->item(row, kValueColumn)->setText(filterEditor_->text());
    filterEditor_->hide();
}

FilterValues SearchPage::Filters() const {
    FilterValues values;
    for (std::size_t row = 0; row < values.size(); ++row) {
        values[row] = filters_->item(static_cast<int>(row), kValueColumn)->text().toStdString();
    }
    return values;
}

}  // namespace korvana
