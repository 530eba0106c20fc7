#include "app/ui/QtPrompter.h"

#include <QMessageBox>
#include <QThread>

namespace korvana {

void QtPrompter::Inform(const std::string& text, const std::string& caption) {
    const QString qtText = QString::fromStdString(text);
    const QString qtCaption = QString::fromStdString(caption);
    if (QThread::currentThread() == thread()) {
        ShowInformation(qtText, qtCaption);
        return;
    }
    QMetaObject::invokeMethod(
        this, [this, qtText, qtCaption] { ShowInformation(qtText, qtCaption); },
        Qt::QueuedConnection);
}

bool QtPrompter::AskYesNo(const std::string& text, const std::string& caption) {
    return QMessageBox::question(parent_, QString::fromStdString(caption),
                                 QString::fromStdString(text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void QtPrompter::ShowInformation(const QString& text, const QString& caption) {
    QMessageBox::information(parent_, caption, text);
}

}  // namespace korvana
