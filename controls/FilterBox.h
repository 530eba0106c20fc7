#pragma once

#include <QLineEdit>

namespace korvana {

// The box above a list whose typed words hide the rows that lack them
// (WordFilter). It filters as the user types; Escape empties it and shows
// every row again.
class FilterBox : public QLineEdit {
  public:
    explicit FilterBox(QWidget* parent = nullptr);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace korvana
