#pragma once

#include <QObject>

#include <string>

class QHeaderView;
class QTableView;

namespace korvana {

class SettingsStore;

// Keeps a list's column widths and order, and the column it was last sorted
// by, in the settings store under `key`, across restarts. The widths and
// order are the header's own state; the sort is kept as the column the user
// last clicked and whether the clicks on it were odd or even, and is given
// back by clicking that column as often again, so the page sorts the way it
// always does.
class ListMemory final : public QObject {
    Q_OBJECT
  public:
    // `view` and `settings` must outlive this object, which lives as the
    // view's child.
    ListMemory(QTableView& view, SettingsStore& settings, std::string key);

    // Applies what was stored, then stores every change the user makes
    // from now on.
    void Restore();

  private:
    void StoreHeader();
    void StoreSort(int section);

    QTableView& view_;
    QHeaderView& header_;
    SettingsStore& settings_;
    std::string key_;
    int sortSection_ = -1;
    int sortClicks_ = 0;
    bool restoring_ = false;
};

// Set on the view (true) once its widths were given back or changed by the
// user: a page that shares its width among the columns stops doing so then.
inline constexpr const char* kWidthsChosenProperty = "korvanaColumnWidthsChosen";

// The stored sort text "<column>:<clicks>" as its parts; clicks are 1 or 2.
// Nothing for any other text.
struct StoredSort {
    int section = -1;
    int clicks = 0;
};
StoredSort ParseStoredSort(const std::string& text);

}  // namespace korvana
