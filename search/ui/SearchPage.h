#pragma once

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "controls/MenuOwner.h"
#include "controls/MenuTable.h"
#include "controls/SearchViewer.h"
#include "search/ResultRows.h"
#include "search/SearchPageRules.h"

class QLabel;
class QLineEdit;
class QTableView;
class QTableWidget;

namespace korvana {

class CGradientMenu;
class DownloadStarter;
class FilterBox;
class Prompter;
class ResultTableModel;
class SearchSession;
class SearchTabCtrl;
class SkinButton;
class StatusLog;

// The search page: a keyword and six filters start a search at the core and
// at the web engines; each search gets a tab, and the list shows the
// selected search's results, core and web side by side, from which the user
// downloads, finds text, and stops, removes or clears searches.
//
// The session does the work; the page shows what it says and forwards the
// user's commands. Every object passed in must outlive the page.
class SearchPage final : public QWidget, public SearchViewer, public MenuOwner {
    Q_OBJECT
  public:
    SearchPage(SearchSession& session, DownloadStarter& downloads, Prompter& prompter,
               StatusLog* log = nullptr, QWidget* parent = nullptr);
    ~SearchPage() override;

    // The tab strip's choice, and the page's own: list `searchId`'s results.
    void ShowSearch(int searchId) override;
    void OnMenuCommand(int commandId) override;

    void StartSearch();
    void Reset();
    void DownloadSelected();
    void Find();
    void StopSearch();
    void RemoveSearch();
    void ClearAllSearches();
    void SortBy(ResultColumn column);
    // Opens the in-place editor over a filter's value.
    void EditFilter(int row);
    // The filter box's words: the list shows only the rows holding them;
    // the selection stays on the rows still shown.
    void ApplyFilter(const QString& typed);
    // The file names now in the Library, or in the transfer list: results
    // offering one of them are marked.
    void SetLibraryNames(const std::vector<std::string>& names);
    void SetTransferNames(const std::vector<std::string>& names);
    // The core's link came up or went down: the progress line says so.
    void CoreLinkChanged();

    ResultTableModel& Results() const { return *results_; }
    QTableView& ResultView() const { return *resultView_; }
    SearchTabCtrl& Tabs() const { return *tabs_; }
    FilterValues Filters() const;
    int FindPosition() const { return findPosition_; }
    FilterBox& ResultFilter() const { return *filterBox_; }
    QLabel& ProgressLine() const { return *progress_; }
    // What the list area says while it shows no row.
    QLabel& EmptyListNote() const { return *emptyNote_; }

    // Room for every control, with the filter list's six rows in full.
    QSize minimumSizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The filter list's "Search" column, which holds the values.
    static constexpr int kValueColumn = 1;

    void BuildSearchArea();
    void BuildFilterList();
    void BuildResultArea(StatusLog* log);
    void BuildFindArea();
    void BuildProgressArea();
    // What the search's engines and counts came to: the tab of a search
    // that ended with nothing shows 0, and the displayed search's line and
    // note follow.
    void RefreshProgress(int searchId);
    // The progress line and the empty list's note of the displayed search.
    void ShowProgress();
    void RefreshEmptyNote();
    void PlaceEmptyNote();
    // The selected rows' results to download, in list order: none whose own
    // download the transfer list holds (the user is told of them), and
    // those whose file the Library or the transfer list holds only when the
    // user, asked, wants them again.
    std::vector<ListedRow> RowsToDownload();
    void BuildMenus();
    void LayOut();
    void SetColumnWidths(bool setUp);
    int FilterListHeight() const;
    void CommitFilter();
    void HideTabsWhenNone();
    void DeselectRow(int row);
    void OpenResultsMenu(const QPoint& at);
    bool OpenSearchMenu(const QPoint& at);
    void PopUp(CGradientMenu& popup, const QPoint& globalAt);

    SearchSession& session_;
    DownloadStarter& downloads_;
    Prompter& prompter_;

    QLineEdit* keyword_ = nullptr;
    SkinButton* start_ = nullptr;
    SkinButton* stop_ = nullptr;
    SkinButton* reset_ = nullptr;
    QLabel* status_ = nullptr;
    QTableWidget* filters_ = nullptr;
    QLineEdit* filterEditor_ = nullptr;
    QWidget* separator_ = nullptr;
    SearchTabCtrl* tabs_ = nullptr;
    SkinButton* removeSearch_ = nullptr;
    ResultTableModel* results_ = nullptr;
    QTableView* resultView_ = nullptr;
    SkinButton* downloadSelected_ = nullptr;
    QLabel* picture_ = nullptr;
    QLineEdit* findText_ = nullptr;
    SkinButton* findNext_ = nullptr;
    QLabel* findStatus_ = nullptr;
    FilterBox* filterBox_ = nullptr;
    QLabel* progress_ = nullptr;
    QLabel* emptyNote_ = nullptr;

    MenuTable resultsMenu_;
    MenuTable searchMenu_;
    std::unique_ptr<CGradientMenu> resultsPopup_;
    std::unique_ptr<CGradientMenu> searchPopup_;
    int findPosition_ = -1;
    int editedFilter_ = -1;
};

}  // namespace korvana
