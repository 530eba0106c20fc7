#pragma once

#include <QObject>

#include "platform/Prompter.h"

class QWidget;

namespace korvana {

// Message boxes over a parent window. Inform from another thread is queued
// to the GUI thread and returns at once.
class QtPrompter final : public QObject, public Prompter {
    Q_OBJECT
  public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParentWindow(QWidget* parent) { parent_ = parent; }

    void Inform(const std::string& text, const std::string& caption) override;
    bool AskYesNo(const std::string& text, const std::string& caption) override;

  private:
    void ShowInformation(const QString& text, const QString& caption);

    QWidget* parent_;
};

}  // namespace korvana
