#pragma once

#include <QWidget>
#include <chrono>
#include <string>

#include "controls/CGradientMenu.h"
#include "controls/ChangeDrain.h"
#include "controls/MenuOwner.h"
#include "controls/MenuTable.h"
#include "transfers/TransferBoard.h"
#include "transfers/ui/TransferRowsModel.h"

class QLabel;
class QPushButton;
class QTableView;

namespace korvana {

// The Transfers page: the downloads list with a progress bar in every
// visible row, the uploads list, their labels, and the downloads' context
// menu. The rows come from TransferBoard, which does all the work without
// widgets. The lists are refreshed when the transfer list says a record
// changed, at most once a second, and when the board says rows change with
// the clock (a running download's time left, an upload about to leave);
// while nothing runs and nothing changes, no timer runs. A click on a
// column header sorts a list. A finished download whose file is on disk is
// played by a double click and shown in its folder from its menu: the page
// only asks, by its signals, so that it never starts anything itself.
class TransfersPage : public QWidget, private MenuOwner {
    Q_OBJECT
  public:
    static constexpr std::chrono::milliseconds kRefreshGap{1000};

    // Everything in `services` must outlive the page.
    explicit TransfersPage(TransferBoardServices services, QWidget* parent = nullptr);
    ~TransfersPage() override;

    // The main window writes "Downloading %d file(s)" here, counting core
    // and web downloads.
    void SetDownloadsLabel(const std::string& text);

    TransferBoard& Board() { return board_; }
    QTableView* DownloadsView() const { return downloadsView_; }
    QTableView* UploadsView() const { return uploadsView_; }
    // The context menu, open or not (for tests and for closing it).
    CGradientMenu& ContextMenu() { return menu_; }

  public slots:
    // Refreshes the lists now, as after every command.
    void Refresh();
    // Opens the context menu for a right click at `pos` in the downloads
    // list's viewport.
    void ShowContextMenu(const QPoint& pos);

  signals:
    // After every refresh of the lists.
    void Refreshed();
    // A finished download's file to play.
    void PlayRequested(const QString& file);
    // The folder of a finished download's file, to open.
    void ShowFolderRequested(const QString& folder);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BuildDownloadsView();
    void BuildUploadsView();
    void LayOut();
    void ApplyColumnWidths(bool atCreation);
    void OnMenuCommand(int commandId) override;
    void PlayRow(int row);
    void RunRefresh();

    TransferList& list_;
    TransferBoard board_;
    QLabel* downloadsLabel_;
    QLabel* uploadsLabel_;
    QTableView* downloadsView_;
    QTableView* uploadsView_;
    QPushButton* blockEnter_;
    TransferRowsModel<DownloadRow>* downloadsModel_ = nullptr;
    TransferRowsModel<UploadRow>* uploadsModel_ = nullptr;
    ChangeDrain refresh_;
    MenuTable menuTable_;
    CGradientMenu menu_{24, 1};
};

}  // namespace korvana
