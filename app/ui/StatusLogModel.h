#pragma once

#include <QAbstractListModel>
#include <QString>

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace korvana {

// The status lines the "Debug Status Messages" window lists: at most
// `bound` of them, the newest. Lines arrive in batches, each batch one
// removal at the top and one insertion at the bottom (or one reset when
// the batch alone fills the list), so the view lays itself out once per
// batch, not once per line.
class StatusLogModel final : public QAbstractListModel {
    Q_OBJECT
  public:
    explicit StatusLogModel(std::size_t bound, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    void Append(const std::vector<std::string>& lines);
    // Throws away what is listed and lists `lines` (their newest `bound`).
    void Replace(const std::vector<std::string>& lines);

  private:
    static QString Text(const std::string& line);

    std::size_t bound_;
    std::deque<QString> lines_;
};

}  // namespace korvana
