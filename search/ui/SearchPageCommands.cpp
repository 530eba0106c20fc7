// The search page's commands: starting, stopping, removing and clearing
// searches, downloading, finding, sorting and the two menus.
#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTableWidget>
#include <algorithm>

#include "controls/CGradientMenu.h"
#include "controls/SearchTabCtrl.h"
#include "controls/SkinButton.h"
#include "platform/Prompter.h"
#include "search/CoreCommands.h"
#include "search/DownloadStarter.h"
#include "search/SearchModel.h"
#include "search/ui/ResultTableModel.h"
#include "search/ui/SearchPage.h"
#include "search/ui/SearchPageIds.h"
#include "web/WebSearch.h"

namespace korvana {
namespace {

const QColor kMenuTop(128, 128, 255);
const QColor kMenuBottom(255, 255, 255);
const QColor kMenuCaption(30, 30, 110);

// The wait cursor while the list is rebuilt.
class WaitCursor {
  public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

std::unique_ptr<CGradientMenu> MakePopup(MenuTable& menu, const std::string& caption) {
    auto popup = std::make_unique<CGradientMenu>(24, 1);
    popup->setObjectName(QString::fromStdString(menu.name));
    popup->SetCaption(caption);
    popup->SetColours(kMenuTop, kMenuBottom, kMenuCaption);
    popup->Attach(&menu);
    return popup;
}

}  // namespace

void SearchPage::BuildMenus() {
    resultsMenu_ = MenuTable{"IDR_RESULTS_MENU",
                             {MenuCommand("Download", ID_DOWNLOAD), MenuSeparator(),
                              MenuCommand("&Stop Search", ID_STOP_SEARCH),
                              MenuCommand("&Remove Search", ID_REMOVE_SEARCH),
                              MenuCommand("&Clear All Searches", ID_CLEAR_ALL_SEARCHES),
                              MenuSeparator(), MenuCommand("Find", ID_FIND)}};
    searchMenu_ = MenuTable{"IDR_SEARCH_MENU",
                            {MenuCommand("&Stop Search", ID_STOP_SEARCH), MenuSeparator(),
                             MenuCommand("&Remove Search", ID_REMOVE_SEARCH),
                             MenuCommand("&Clear All Searches", ID_CLEAR_ALL_SEARCHES)}};
    resultsPopup_ = MakePopup(resultsMenu_, "  Results");
    searchPopup_ = MakePopup(searchMenu_, "Search");
}

void SearchPage::ShowSearch(int searchId) {
    const WaitCursor wait;
    results_->ShowSearch(searchId);
}

void SearchPage::StartSearch() {
    const FilterValues filters = Filters();
    if (const std::string problem = SizeFilterProblem(filters); !problem.empty()) {
        prompter_.Inform(problem, std::string(kSizeFilterCaption));
        return;
    }
    const std::optional<SearchStart> start =
        MakeSearchStart(keyword_->text().toStdString(), filters);
    if (!start) {
        prompter_.Inform("Please enter a search term.", "No search terms");
        return;
    }
    const std::int32_t id = model_.TakeNextSearchId();
    model_.OpenSearch(id);
    ShowSearch(id);
    web_.StartSearchTasks(id, start->term);
    tabs_->AddTab(start->term, -1, id);
    tabs_->show();
    removeSearch_->show();
    core_.SendSearchQuery(id, start->terms);
    // The web engines search anyway; the core's part waits for its link.
    const std::string problem = core_.ConnectionProblem();
    status_->setText(core_.IsConnected() ? QString()
                                         : (problem.empty() ? QStringLiteral("Core not connected")
                                                            : QString::fromStdString(problem)));
    probeTimer_.start(kProbeTickMs);
}

void SearchPage::Reset() {
    CommitFilter();
    keyword_->setText(QString::fromUtf8(kKeywordPlaceholder.data(),
                                        static_cast<int>(kKeywordPlaceholder.size())));
    for (int row = 0; row < filters_->rowCount(); ++row) {
        filters_->item(row, kValueColumn)->setText(QString());
    }
}

void SearchPage::DownloadSelected() {
    QModelIndexList selected = resultView_->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        prompter_.Inform("Please select something to download.", "Download Error");
        return;
    }
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    for (const QModelIndex& index : selected) {
        const SearchResult& result = *results_->Row(index.row()).result;
        // A result already in the transfer list is not started again: web
        // downloads are known by their link, core downloads by their name.
        if (result.fromCore) {
            if (!downloads_.HasTransfer(std::string(result.Name()), false)) {
                core_.SendDownloadRequest(result.Name(), result.core->resultId);
            }
        } else if (!downloads_.HasTransfer(result.Link(), true)) {
            downloads_.StartWebDownload(result.Link(), std::string(result.Name()));
        }
    }
}

void SearchPage::DeselectRow(int row) {
    if (row >= 0 && row < results_->rowCount()) {
        resultView_->selectionModel()->select(
            results_->index(row, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    }
}

void SearchPage::Find() {
    findStatus_->clear();
    DeselectRow(resultView_->currentIndex().row());
    DeselectRow(findPosition_);
    const FindOutcome found = FindRow(
        results_->rowCount(),
        [this](int row) { return std::string(results_->Row(row).result->Name()); },
        findText_->text().toStdString(), findPosition_);
    findStatus_->setText(QString::fromStdString(found.status));
    if (found.row < 0) {
        return;
    }
    const QModelIndex index = results_->index(found.row, static_cast<int>(ResultColumn::Filename));
    resultView_->setFocus();
    resultView_->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    resultView_->scrollTo(index);
    findPosition_ = found.row;
}

void SearchPage::StopSearch() {
    const int id = tabs_->SelectedSearchId();
    if (id < 0) {
        return;
    }
    model_.StopSearch(id);
    core_.SendCloseQuery(id);
}

void SearchPage::RemoveSearch() {
    const int id = tabs_->SelectedSearchId();
    if (id < 0) {
        return;
    }
    model_.RemoveSearch(id);
    tabs_->RemoveSelectedTab();
    ShowSearch(tabs_->SelectedSearchId());
    core_.SendCloseQuery(id);
    HideTabsWhenNone();
}

void SearchPage::ClearAllSearches() {
    ShowSearch(-1);
    for (int id = tabs_->SelectedSearchId(); id >= 0; id = tabs_->SelectedSearchId()) {
        model_.RemoveSearch(id);
        tabs_->RemoveSelectedTab();
        core_.SendCloseQuery(id);
    }
    tabs_->RemoveAllTabs();
    HideTabsWhenNone();
}

void SearchPage::HideTabsWhenNone() {
    if (tabs_->Model().Count() == 0) {
        tabs_->hide();
        removeSearch_->hide();
    }
}

void SearchPage::SortBy(ResultColumn column) {
    const WaitCursor wait;
    results_->SortBy(column);
}

void SearchPage::OnMenuCommand(int commandId) {
    switch (commandId) {
        case ID_DOWNLOAD:
            DownloadSelected();
            break;
        case ID_STOP_SEARCH:
            StopSearch();
            break;
        case ID_REMOVE_SEARCH:
            RemoveSearch();
            break;
        case ID_CLEAR_ALL_SEARCHES:
            ClearAllSearches();
            break;
        case ID_FIND:
            findText_->setFocus();
            findText_->selectAll();
            break;
        default:
            break;
    }
}

void SearchPage::OpenResultsMenu(const QPoint& at) {
    if (resultView_->indexAt(at).isValid()) {
        PopUp(*resultsPopup_, resultView_->viewport()->mapToGlobal(at));
    }
}

bool SearchPage::OpenSearchMenu(const QPoint& at) {
    for (int tab = 0; tab < tabs_->Model().Count(); ++tab) {
        if (!tabs_->TabRect(tab).contains(at)) {
            continue;
        }
        const int before = tabs_->SelectedSearchId();
        tabs_->SelectTab(tab);
        if (tabs_->SelectedSearchId() != before) {
            ShowSearch(tabs_->SelectedSearchId());
        }
        PopUp(*searchPopup_, tabs_->mapToGlobal(at));
        return true;
    }
    return false;
}

void SearchPage::PopUp(CGradientMenu& popup, const QPoint& globalAt) {
    if (popup.IsOpen()) {
        popup.CloseWholeMenu();
    }
    popup.Popup(globalAt, this);
}

}  // namespace korvana
