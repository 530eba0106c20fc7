#include "app/ui/ShutdownDialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "app/StartupSequences.h"

namespace korvana {

ShutdownDialog::ShutdownDialog(const std::string& remoteCoreAddress, QWidget* parent)
    : QDialog(parent), bar_(new QProgressBar(this)) {
    setObjectName(QStringLiteral("IDD_SHUTDOWN"));
    setWindowTitle(QStringLiteral("Shutting Down Korvana MP3 Finder"));
    auto* layout = new QVBoxLayout(this);
    if (remoteCoreAddress.empty()) {
        layout->addWidget(new QLabel(
            QStringLiteral("Please wait while Korvana MP3 Finder shuts down the"), this));
        layout->addWidget(new QLabel(QStringLiteral("peer-2-peer networking."), this));
    } else {
        layout->addWidget(new QLabel(QStringLiteral("Korvana MP3 Finder is closing. The core at ") +
                                         QString::fromStdString(remoteCoreAddress),
                                     this));
        layout->addWidget(new QLabel(QStringLiteral("is not ours and keeps running."), this));
    }
    bar_->setObjectName(QStringLiteral("IDC_SHUTDOWN_PROGRESS"));
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    layout->addWidget(bar_);
    timer_.setInterval(static_cast<int>(kShutdownTick.count()));
    connect(&timer_, &QTimer::timeout, this, &ShutdownDialog::Tick);
    timer_.start();
}

int ShutdownDialog::BarPosition() const {
    return bar_->value();
}

void ShutdownDialog::Tick() {
    counter_ = ShutdownBarNext(counter_);
    bar_->setValue(counter_);
}

}  // namespace korvana
