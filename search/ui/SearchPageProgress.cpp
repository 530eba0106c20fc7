// The search page's additions to its list: the progress of the selected
// search, the note of an empty list, the filter box, and the marks of
// results whose file the program already has.
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QShortcut>
#include <QTableView>
#include <algorithm>
#include <unordered_set>

#include "controls/FilterBox.h"
#include "controls/SearchTabCtrl.h"
#include "platform/Prompter.h"
#include "search/SearchSession.h"
#include "search/ui/ResultTableModel.h"
#include "search/ui/SearchPage.h"

namespace korvana {
namespace {

// The pieces in one text; a piece breaks across lines only when `unbroken`
// is false.
QString Joined(const std::vector<std::string>& pieces, const QString& gap, bool unbroken) {
    QString text;
    for (const std::string& piece : pieces) {
        QString part = QString::fromStdString(piece);
        if (unbroken) {
            part.replace(QLatin1Char(' '), QChar(QChar::Nbsp));
        }
        text += (text.isEmpty() ? QString() : gap) + part;
    }
    return text;
}

}  // namespace

void SearchPage::BuildProgressArea() {
    filterBox_ = new FilterBox(this);
    filterBox_->setObjectName(QStringLiteral("IDC_RESULT_FILTER"));
    filterBox_->setToolTip(
        QStringLiteral("Show only the results whose name or tags hold these words"));
    connect(filterBox_, &FilterBox::textChanged, this, &SearchPage::ApplyFilter);
    // Ctrl+F reaches the box from anywhere on the page.
    auto* toFilter = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
    toFilter->setContext(Qt::WidgetWithChildrenShortcut);
    connect(toFilter, &QShortcut::activated, filterBox_, [this] {
        filterBox_->setFocus(Qt::ShortcutFocusReason);
        filterBox_->selectAll();
    });

    progress_ = new QLabel(this);
    progress_->setObjectName(QStringLiteral("IDC_SEARCH_PROGRESS"));
    progress_->setWordWrap(true);
    progress_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont small = progress_->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    progress_->setFont(small);

    emptyNote_ = new QLabel(resultView_->viewport());
    emptyNote_->setObjectName(QStringLiteral("IDC_RESULT_EMPTY"));
    emptyNote_->setAlignment(Qt::AlignCenter);
    emptyNote_->setAttribute(Qt::WA_TransparentForMouseEvents);
    emptyNote_->setForegroundRole(QPalette::PlaceholderText);
    emptyNote_->hide();

    connect(results_, &ResultTableModel::ProgressChanged, this, &SearchPage::RefreshProgress);
    connect(results_, &ResultTableModel::ResultCountChanged, this,
            [this](int searchId, int) { RefreshProgress(searchId); });
    connect(results_, &QAbstractItemModel::modelReset, this, &SearchPage::RefreshEmptyNote);
    connect(results_, &QAbstractItemModel::rowsInserted, this, &SearchPage::RefreshEmptyNote);
    connect(results_, &QAbstractItemModel::rowsRemoved, this, &SearchPage::RefreshEmptyNote);
    results_->SetKnownFiles(&session_.Known());
}

void SearchPage::RefreshProgress(int searchId) {
    if (EndedEmpty(session_.Progress(searchId))) {
        tabs_->SetResultCount(searchId, 0);
    }
    if (searchId == session_.Model().DisplayedSearchId()) {
        ShowProgress();
    }
}

void SearchPage::ShowProgress() {
    const int searchId = session_.Model().DisplayedSearchId();
    const bool shown = tabs_->Model().Count() > 0 && searchId >= 0;
    const std::vector<std::string> pieces =
        shown ? ProgressPieces(session_.Progress(searchId)) : std::vector<std::string>();
    progress_->setText(Joined(pieces, QStringLiteral("    "), true));
    progress_->setToolTip(Joined(pieces, QStringLiteral("\n"), false));
    RefreshEmptyNote();
}

void SearchPage::CoreLinkChanged() {
    ShowProgress();
}

void SearchPage::RefreshEmptyNote() {
    const int searchId = session_.Model().DisplayedSearchId();
    const bool empty = results_->rowCount() == 0 && searchId >= 0 && tabs_->Model().Count() > 0;
    const std::string note =
        empty ? EmptyListText(session_.Progress(searchId), session_.Model().Filtered()) : "";
    emptyNote_->setText(QString::fromStdString(note));
    emptyNote_->setVisible(!note.empty());
    PlaceEmptyNote();
}

void SearchPage::PlaceEmptyNote() {
    const QRect area = resultView_->viewport()->rect();
    emptyNote_->setGeometry(
        area.left(), area.top(), area.width(),
        std::min(area.height(), 4 * resultView_->verticalHeader()->defaultSectionSize()));
}

void SearchPage::ApplyFilter(const QString& typed) {
    QItemSelectionModel& selection = *resultView_->selectionModel();
    std::unordered_set<const SearchResult*> selected;
    for (const QModelIndex& index : selection.selectedRows()) {
        selected.insert(RowKey(results_->RowAt(index.row())));
    }
    const QModelIndex current = selection.currentIndex();
    const SearchResult* currentKey =
        current.isValid() ? RowKey(results_->RowAt(current.row())) : nullptr;
    results_->SetFilter(typed.toStdString());
    findPosition_ = -1;
    if (selected.empty() && currentKey == nullptr) {
        return;
    }
    // The reset dropped the selection: it goes back on the rows still shown.
    QItemSelection kept;
    const int last = results_->columnCount() - 1;
    for (int row = 0; row < results_->rowCount(); ++row) {
        const SearchResult* key = RowKey(results_->RowAt(row));
        if (selected.contains(key)) {
            kept.select(results_->index(row, 0), results_->index(row, last));
        }
        if (key == currentKey) {
            selection.setCurrentIndex(results_->index(row, current.column()),
                                      QItemSelectionModel::NoUpdate);
        }
    }
    selection.select(kept, QItemSelectionModel::Select);
}

void SearchPage::SetLibraryNames(const std::vector<std::string>& names) {
    if (session_.Known().SetLibraryNames(names)) {
        results_->MarksChanged();
    }
}

void SearchPage::SetTransferNames(const std::vector<std::string>& names) {
    if (session_.Known().SetTransferNames(names)) {
        results_->MarksChanged();
    }
}

std::vector<ListedRow> SearchPage::RowsToDownload() {
    QModelIndexList selected = resultView_->selectionModel()->selectedRows();
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<ListedRow> rows;
    for (const QModelIndex& index : selected) {
        rows.push_back(results_->RowAt(index.row()));
    }
    // A result whose own download is listed is never started again, so it
    // is not asked about (a yes would start nothing) but told of; another
    // source of a listed file name is asked about.
    std::vector<std::string> refused;
    std::erase_if(rows, [&](const ListedRow& row) {
        const bool listed = SearchSession::HasTransfer(*row.result, downloads_);
        if (listed) {
            refused.emplace_back(row.result->Name());
        }
        return listed;
    });
    const auto again = [this](const ListedRow& row, FileMark where) {
        return session_.Known().Mark(row.result->Name()) == where;
    };
    for (const FileMark where : {FileMark::InLibrary, FileMark::Downloading}) {
        std::vector<std::string> names;
        for (const ListedRow& row : rows) {
            if (again(row, where)) {
                names.emplace_back(row.result->Name());
            }
        }
        const char* title = where == FileMark::InLibrary ? "Already in your Library"
                                                         : "Already in the transfer list";
        if (!names.empty() && !prompter_.AskYesNo(DownloadAgainQuestion(names, where), title)) {
            std::erase_if(rows, [&](const ListedRow& row) { return again(row, where); });
        }
    }
    if (!refused.empty()) {
        prompter_.Inform(NotStartedAgainText(refused), "Already in the transfer list");
    }
    return rows;
}

}  // namespace korvana
