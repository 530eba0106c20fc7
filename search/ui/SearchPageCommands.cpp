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
#include "search/SearchSession.h"
#include "search/ui/ResultTableModel.h"
#include "search/ui/SearchPage.h"
#include "search/ui/SearchPageIds.h"

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
    ShowProgress();
}

void SearchPage::StartSearch() {
    const SearchStartOutcome started = session_.Start(keyword_->text().toStdString(), Filters());
    if (started.searchId < 0) {
        prompter_.Inform(started.refusal, started.refusalCaption);
        return;
    }
    ShowSearch(started.searchId);
    tabs_->AddTab(started.title, -1, started.searchId);
    tabs_->show();
    removeSearch_->show();
    status_->setText(QString::fromStdString(started.status));
    ShowProgress();
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
    if (!resultView_->selectionModel()->hasSelection()) {
        prompter_.Inform("Please select something to download.", "Download Error");
        return;
    }
    for (const ListedRow& row : RowsToDownload()) {
        session_.StartDownload(*row.result, downloads_);
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
        [this](int row) { return std::string(results_->RowAt(row).result->Name()); },
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
    session_.Stop(id);
    ShowProgress();
}

void SearchPage::RemoveSearch() {
    const int id = tabs_->SelectedSearchId();
    if (id < 0) {
        return;
    }
    session_.Remove(id);
    tabs_->RemoveSelectedTab();
    ShowSearch(tabs_->SelectedSearchId());
    HideTabsWhenNone();
}

void SearchPage::ClearAllSearches() {
    ShowSearch(-1);
    for (int id = tabs_->SelectedSearchId(); id >= 0; id = tabs_->SelectedSearchId()) {
        session_.Remove(id);
        tabs_->RemoveSelectedTab();
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
