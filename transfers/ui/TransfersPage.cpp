#include "transfers/ui/TransfersPage.h"

#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <array>

#include "controls/QtBridge.h"
#include "transfers/TransferList.h"
#include "transfers/ui/ProgressCellDelegate.h"

namespace korvana {
namespace {

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kCentre = Qt::AlignCenter;

// Column widths as parts of the downloads list's width; the Size column's
// share comes from Name and Status, the widest.
constexpr std::array<double, kDownloadColumns> kDownloadWidthsAtCreation = {
    0.31, 0.17, 0.08, 0.07, 0.08, 0.21, 0.0, 0.0, 0.08};
constexpr std::array<double, kDownloadColumns> kDownloadWidthsAfterResize = {
    0.28, 0.17, 0.10, 0.08, 0.09, 0.20, 0.0, 0.0, 0.08};
constexpr std::array<double, kUploadColumns> kUploadWidths = {0.75, 0.25, 0.0};

// The menu's band: black at the top, light blue at the bottom, white caption.
const QColor kBandTop(0, 0, 0);
const QColor kBandBottom(128, 128, 255);
const QColor kCaption(255, 255, 255);

QTableView* MakeListView(const QString& name, QWidget* parent) {
    auto* view = new QTableView(parent);
    view->setObjectName(name);
    view->setShowGrid(true);
    view->setAlternatingRowColors(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setSectionsMovable(true);
    view->horizontalHeader()->setHighlightSections(false);
    // The last shown column takes what the others leave, so that a vertical
    // scroll bar never pushes the columns past the list's width.
    view->horizontalHeader()->setStretchLastSection(true);
    // The header pictures show the sort, as in the other lists.
    view->horizontalHeader()->setSectionsClickable(true);
    view->horizontalHeader()->setSortIndicatorShown(false);
    return view;
}

// A path's bytes as the desktop's file names decode them; QFile::encodeName
// gives the same bytes back.
QString PathText(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

template <std::size_t N>
void SetWidths(QTableView* view, const std::array<double, N>& parts, int width) {
    for (std::size_t column = 0; column < N; ++column) {
        if (parts[column] > 0.0) {
            view->setColumnWidth(static_cast<int>(column), static_cast<int>(parts[column] * width));
        }
    }
}

}  // namespace

TransfersPage::TransfersPage(TransferBoardServices services, QWidget* parent)
    : QWidget(parent),
      list_(services.list),
      board_(services),
      downloadsLabel_(new QLabel(QStringLiteral("Downloading 0 files"), this)),
      uploadsLabel_(new QLabel(QStringLiteral("Uploading 0 files"), this)),
      downloadsView_(MakeListView(QStringLiteral("IDC_DOWNLOAD_LIST"), this)),
      uploadsView_(MakeListView(QStringLiteral("IDC_UPLOAD_LIST"), this)),
      blockEnter_(new QPushButton(QStringLiteral("BLOCK_ENTER"), this)),
      refresh_([this] { RunRefresh(); }, kRefreshGap) {
    setObjectName(QStringLiteral("IDD_TRANSFERS"));
    downloadsLabel_->setObjectName(QStringLiteral("IDC_DOWNLOADS_LABEL"));
    uploadsLabel_->setObjectName(QStringLiteral("IDC_UPLOADS_LABEL"));
    QFont labelFont = downloadsLabel_->font();
    labelFont.setBold(true);
    downloadsLabel_->setFont(labelFont);
    uploadsLabel_->setFont(labelFont);
    // A default button without an action: Enter does nothing on this page.
    blockEnter_->setObjectName(QStringLiteral("IDC_BLOCK_ENTER"));
    blockEnter_->setDefault(true);
    blockEnter_->hide();
    BuildDownloadsView();
    BuildUploadsView();
    ApplyColumnWidths(true);

    menu_.SetCaption("D/L");
    menu_.SetColours(kBandTop, kBandBottom, kCaption);
    list_.Notice().SetListener(&refresh_);
    // What the list held before the page was made.
    Refresh();
}

TransfersPage::~TransfersPage() {
    list_.Notice().SetListener(nullptr);
    menu_.Detach();
}

void TransfersPage::BuildDownloadsView() {
    const QString progress = QStringLiteral("Progress");
    downloadsModel_ = new TransferRowsModel<DownloadRow>(
        {{QStringLiteral("Name"), kLeft},
         {progress, kCentre},
         {QStringLiteral("D/L Rate"), kCentre},
         {QStringLiteral("Time Left"), kCentre},
         {QStringLiteral("File Size"), kCentre},
         {QStringLiteral("Status"), kCentre},
         {QStringLiteral("Link"), kLeft},
         {progress, kLeft},
         {QStringLiteral("Size"), kCentre}},
        {DownloadCell, DownloadTip, &board_.DownloadSort()},
        [this] { return board_.TakeDownloadChanges(); }, this);
    downloadsView_->setModel(downloadsModel_);
    // Shown beside "File Size", which gives the same size in bytes.
    downloadsView_->horizontalHeader()->moveSection(kDownloadHumanSize, kDownloadSize + 1);
    connect(downloadsView_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) {
                board_.ClickDownloadColumn(static_cast<std::size_t>(section));
                downloadsModel_->DrainNow();
                downloadsModel_->SortChanged();
            });
    connect(downloadsView_, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { PlayRow(index.row()); });
    downloadsView_->setItemDelegateForColumn(kDownloadBar,
                                             new ProgressCellDelegate(downloadsView_));
    downloadsView_->setColumnHidden(kDownloadLink, true);
    downloadsView_->setColumnHidden(kDownloadProgress, true);
    downloadsView_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(downloadsView_, &QWidget::customContextMenuRequested, this,
            &TransfersPage::ShowContextMenu);
}

void TransfersPage::BuildUploadsView() {
    uploadsModel_ = new TransferRowsModel<UploadRow>(
        {{QStringLiteral("File Name"), kLeft},
         {QStringLiteral("Bytes Uploaded"), kLeft},
         {QStringLiteral("File_ID"), kLeft}},
        {UploadCell, UploadTip, &board_.UploadSort()},
        [this] { return board_.TakeUploadChanges(); }, this);
    uploadsView_->setModel(uploadsModel_);
    connect(uploadsView_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) {
                board_.ClickUploadColumn(static_cast<std::size_t>(section));
                uploadsModel_->DrainNow();
                uploadsModel_->SortChanged();
            });
    uploadsView_->setColumnHidden(kUploadFileId, true);
}

void TransfersPage::SetDownloadsLabel(const std::string& text) {
    downloadsLabel_->setText(TextFromBytes(text));
}

void TransfersPage::Refresh() {
    refresh_.DrainNow();
}

// The board's refresh, the views taking its steps, and the next refresh
// when rows change with the clock alone.
void TransfersPage::RunRefresh() {
    const std::optional<std::chrono::seconds> next = board_.Refresh();
    downloadsModel_->DrainNow();
    uploadsModel_->DrainNow();
    uploadsLabel_->setText(QString::fromStdString(board_.UploadsLabel()));
    if (next) {
        refresh_.DrainAfter(*next);
    }
    emit Refreshed();
}

void TransfersPage::ShowContextMenu(const QPoint& pos) {
    const QModelIndex hit = downloadsView_->indexAt(pos);
    const TransferMenuId id = board_.OpenMenu(hit.isValid() ? hit.row() : -1);
    menu_.Detach();
    menuTable_ = TransferMenu(id);
    menu_.Attach(&menuTable_);
    menu_.Popup(downloadsView_->viewport()->mapToGlobal(pos), this);
}

void TransfersPage::OnMenuCommand(int commandId) {
    if (commandId == kCommandShowInFolder) {
        if (const auto file = board_.MenuRowFile()) {
            emit ShowFolderRequested(PathText(file->parent_path()));
        }
        return;
    }
    board_.RunCommand(commandId);
    Refresh();
}

void TransfersPage::PlayRow(int row) {
    if (const auto file = board_.FinishedFileAt(row)) {
        emit PlayRequested(PathText(*file));
    }
}

void TransfersPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOut();
}

void TransfersPage::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

// Labels above their lists, the two lists sharing the height equally.
void TransfersPage::LayOut() {
    const QRect area = rect();
    const int listHeight = std::max(0, (area.height() - 150) / 2);
    const int labelHeight = std::max(15, downloadsLabel_->sizeHint().height());
    const int labelWidth = std::max(150, area.width() / 3);
    const int listWidth = std::max(0, area.width() - 10);
    const int left = area.left() + 5;
    downloadsLabel_->setGeometry(left, area.top() + 60 - labelHeight, labelWidth, labelHeight);
    downloadsView_->setGeometry(left, area.top() + 60, listWidth, listHeight);
    uploadsLabel_->setGeometry(left, area.top() + listHeight + 110 - labelHeight, labelWidth,
                               labelHeight);
    uploadsView_->setGeometry(left, area.top() + listHeight + 110, listWidth, listHeight);
    ApplyColumnWidths(false);
}

void TransfersPage::ApplyColumnWidths(bool atCreation) {
    // The list's inner width, known also before the list is first shown.
    const int width = std::max(0, downloadsView_->width() - 2 * downloadsView_->frameWidth());
    SetWidths(downloadsView_, atCreation ? kDownloadWidthsAtCreation : kDownloadWidthsAfterResize,
              width);
    SetWidths(uploadsView_, kUploadWidths, width);
}

}  // namespace korvana
