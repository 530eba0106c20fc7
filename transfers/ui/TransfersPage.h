#pragma once

#include <QTimer>
#include <QWidget>
#include <string>

#include "controls/CGradientMenu.h"
#include "controls/MenuOwner.h"
#include "controls/MenuTable.h"
#include "transfers/TransferBoard.h"

class QLabel;
class QPushButton;
class QTableView;

namespace korvana {

class TextTableModel;

// The Transfers page: the downloads list with a progress bar in every
// visible row, the uploads list, their labels, and the downloads' context
// menu. A one-second timer refreshes both lists from the transfer list; the
// rows come from TransferBoard, which does all the work without widgets.
class TransfersPage : public QWidget, private MenuOwner {
    Q_OBJECT
  public:
    static constexpr int kRefreshMs = 1000;

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
    // The one-second refresh, also run right after every command.
    void Refresh();
    // Opens the context menu for a right click at `pos` in the downloads
    // list's viewport.
    void ShowContextMenu(const QPoint& pos);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BuildDownloadsView();
    void BuildUploadsView();
    void LayOut();
    void ApplyColumnWidths(bool atCreation);
    void OnMenuCommand(int commandId) override;

    TransferBoard board_;
    QLabel* downloadsLabel_;
    QLabel* uploadsLabel_;
    QTableView* downloadsView_;
    QTableView* uploadsView_;
    QPushButton* blockEnter_;
    TextTableModel* downloadsModel_ = nullptr;
    TextTableModel* uploadsModel_ = nullptr;
    QTimer timer_;
    MenuTable menuTable_;
    CGradientMenu menu_{24, 1};
};

}  // namespace korvana
