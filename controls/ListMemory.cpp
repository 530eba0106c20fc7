#include "controls/ListMemory.h"

#include <QApplication>
#include <QByteArray>
#include <QHeaderView>
#include <QTableView>

#include "platform/SettingsStore.h"

namespace korvana {
namespace {

std::string ColumnsKey(const std::string& key) {
    return key + "Columns";
}

std::string SortKey(const std::string& key) {
    return key + "Sort";
}

}  // namespace

StoredSort ParseStoredSort(const std::string& text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon > 3 || text.size() != colon + 2) {
        return {};
    }
    int section = 0;
    for (std::size_t i = 0; i < colon; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return {};
        }
        section = section * 10 + (text[i] - '0');
    }
    const char clicks = text[colon + 1];
    if (clicks != '1' && clicks != '2') {
        return {};
    }
    return {section, clicks - '0'};
}

ListMemory::ListMemory(QTableView& view, SettingsStore& settings, std::string key)
    : QObject(&view),
      view_(view),
      header_(*view.horizontalHeader()),
      settings_(settings),
      key_(std::move(key)) {}

void ListMemory::Restore() {
    restoring_ = true;
    if (const auto stored = settings_.Read(ColumnsKey(key_))) {
        const QByteArray state = QByteArray::fromBase64(QByteArray::fromStdString(*stored));
        if (header_.restoreState(state)) {
            view_.setProperty(kWidthsChosenProperty, true);
        }
    }
    if (const auto stored = settings_.Read(SortKey(key_))) {
        const StoredSort sort = ParseStoredSort(*stored);
        if (sort.section >= 0 && sort.section < header_.count()) {
            for (int i = 0; i < sort.clicks; ++i) {
                emit header_.sectionClicked(sort.section);
            }
            sortSection_ = sort.section;
            sortClicks_ = sort.clicks;
        }
    }
    restoring_ = false;
    // Only a drag with the mouse is the user's choice; a page that sizes its
    // columns to the window resizes them too.
    connect(&header_, &QHeaderView::sectionResized, this, [this] {
        if (QApplication::mouseButtons() & Qt::LeftButton) {
            view_.setProperty(kWidthsChosenProperty, true);
            StoreHeader();
        }
    });
    connect(&header_, &QHeaderView::sectionMoved, this, &ListMemory::StoreHeader);
    connect(&header_, &QHeaderView::sectionClicked, this, &ListMemory::StoreSort);
}

void ListMemory::StoreHeader() {
    if (!restoring_) {
        settings_.Write(ColumnsKey(key_), header_.saveState().toBase64().toStdString());
    }
}

void ListMemory::StoreSort(int section) {
    if (restoring_) {
        return;
    }
    sortClicks_ = section == sortSection_ ? 3 - sortClicks_ : 1;
    sortSection_ = section;
    settings_.Write(SortKey(key_), std::to_string(section) + ":" + std::to_string(sortClicks_));
}

}  // namespace korvana
