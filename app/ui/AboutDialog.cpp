#include "app/ui/AboutDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

namespace korvana {

namespace {

constexpr const char* kVersion = "3.0.0";

QLabel* Paragraph(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("IDD_ABOUTBOX"));
    setWindowTitle(QStringLiteral("About Korvana MP3 Finder"));
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/res/icons/app.svg")).pixmap(48, 48));
    auto* text = new QVBoxLayout;
    auto* version = new QLabel(
        QStringLiteral("Korvana MP3 Finder ,  Version %1").arg(QLatin1String(kVersion)), this);
    version->setObjectName(QStringLiteral("IDC_VERSION_LINE"));
    text->addWidget(version);
    text->addWidget(
        Paragraph(tr("Copyright (C) The Korvana developers. All rights reserved."), this));
    text->addWidget(Paragraph(
        tr("Warning: this program finds and transfers files on public networks. Downloading or "
           "sharing works that you have no right to copy may break the law where you live."),
        this));
    text->addWidget(Paragraph(
        tr("You alone are responsible for what you search for, download and share. The program "
           "is provided as it is, without any warranty."),
        this));
    text->addWidget(new QLabel(QStringLiteral("Peer-2-Peer support provided by MLDonkey"), this));
    text->addWidget(new QLabel(QStringLiteral("under the GPL license."), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addLayout(text);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    setFixedWidth(460);
}

}  // namespace korvana
