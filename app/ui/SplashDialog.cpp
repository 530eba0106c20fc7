#include "app/ui/SplashDialog.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "app/StartupSequences.h"

namespace korvana {

namespace {

QPixmap SplashPicture() {
    QPixmap picture(QStringLiteral(":/res/splash.png"));
    if (!picture.isNull()) {
        return picture;
    }
    // Drawn in place when the picture is missing, so a splash always shows.
    QPixmap drawn(420, 220);
    QPainter painter(&drawn);
    QLinearGradient gradient(0, 0, 0, drawn.height());
    gradient.setColorAt(0, QColor(20, 24, 40));
    gradient.setColorAt(1, QColor(40, 110, 70));
    painter.fillRect(drawn.rect(), gradient);
    painter.setPen(Qt::white);
    painter.setFont(QFont(QStringLiteral("Sans"), 22, QFont::Bold));
    painter.drawText(drawn.rect(), Qt::AlignCenter, QStringLiteral("Korvana MP3 Finder"));
    return drawn;
}

}  // namespace

SplashDialog::SplashDialog(QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint), line_(new QLabel(this)) {
    setObjectName(QStringLiteral("IDD_SPLASH"));
    auto* picture = new QLabel(this);
    picture->setPixmap(SplashPicture());
    line_->setObjectName(QStringLiteral("IDC_SPLASH_TEXT"));
    line_->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->addWidget(picture);
    layout->addWidget(line_);
    timer_.setInterval(static_cast<int>(kSplashTick.count()));
    connect(&timer_, &QTimer::timeout, this, &SplashDialog::Tick);
    timer_.start();
}

QString SplashDialog::LineText() const {
    return line_->text();
}

void SplashDialog::Tick() {
    const SplashStep step = SplashTick(ticks_++);
    if (step.text) {
        line_->setText(QString::fromStdString(*step.text));
    }
    if (step.close) {
        timer_.stop();
        accept();
    }
}

}  // namespace korvana
