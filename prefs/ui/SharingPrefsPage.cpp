#include "prefs/ui/SharingPrefsPage.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "prefs/PreferencesLayout.h"
#include "prefs/ui/DialogUnits.h"
#include "prefs/ui/PrefsUiText.h"

namespace korvana {
namespace {

QPushButton* AddButton(QWidget& page, const DialogControl& control, const char* name,
                       const DialogUnits& units) {
    auto* button = new QPushButton(FixedText(control.text), &page);
    button->setObjectName(QString::fromLatin1(name));
    units.Place(*button, control);
    return button;
}

void SetUpFolderList(QTableView& list) {
    list.setObjectName(QStringLiteral("IDC_SHARED_FOLDERS"));
    list.setShowGrid(true);
    list.setSelectionBehavior(QAbstractItemView::SelectRows);
    list.setSelectionMode(QAbstractItemView::SingleSelection);
    list.setEditTriggers(QAbstractItemView::NoEditTriggers);
    list.setWordWrap(false);
    list.setTextElideMode(Qt::ElideMiddle);
    list.verticalHeader()->hide();
    list.verticalHeader()->setDefaultSectionSize(list.fontMetrics().height() + 6);
    list.horizontalHeader()->setSectionsMovable(true);
    list.horizontalHeader()->setStretchLastSection(true);
    list.horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list.horizontalHeader()->setHighlightSections(false);
}

}  // namespace

SharingPrefsPage::SharingPrefsPage(const CoreOptionsPort& core, SettingsStore& settings,
                                   Prompter& prompter, const std::filesystem::path& installFolder,
                                   FolderPicker picker, const DialogUnits& units, QWidget* parent)
    : QWidget(parent),
      prefs_(SharingPrefs::Open(settings, prompter, installFolder, &core)),
      picker_(std::move(picker)),
      downloadsFolder_(new QLineEdit(this)),
      sharedFolders_(nullptr),
      rows_(0, 1) {
    setObjectName(QStringLiteral("IDD_PREFS_SHARING"));
    AddLabel(*this, kDownloadsFolderLabel.text, units.Rect(kDownloadsFolderLabel),
             Qt::AlignRight | Qt::AlignVCenter)
        ->setObjectName(QStringLiteral("IDC_DOWNLOADS_FOLDER_LABEL"));
    downloadsFolder_->setObjectName(QStringLiteral("IDC_DOWNLOADS_FOLDER"));
    downloadsFolder_->setReadOnly(true);
    units.Place(*downloadsFolder_, kDownloadsFolderEdit);
    QPushButton* browse = AddButton(*this, kBrowseButton, "IDC_BROWSE", units);
    AddLabel(*this, kSharedFoldersLabel.text, units.Rect(kSharedFoldersLabel));

    rows_.setHorizontalHeaderLabels({FixedText(kSharedFolderColumn)});
    sharedFolders_ = new QTableView(this);
    sharedFolders_->setModel(&rows_);
    SetUpFolderList(*sharedFolders_);
    units.Place(*sharedFolders_, kSharedFolderList);
    QPushButton* add = AddButton(*this, kAddButton, "IDC_ADD_FOLDER", units);
    QPushButton* remove = AddButton(*this, kRemoveButton, "IDC_REMOVE_FOLDER", units);

    connect(browse, &QPushButton::clicked, this, &SharingPrefsPage::Browse);
    connect(add, &QPushButton::clicked, this, &SharingPrefsPage::Add);
    connect(remove, &QPushButton::clicked, this, &SharingPrefsPage::Remove);
    setFocusProxy(browse);
    ShowFolders();
}

void SharingPrefsPage::Browse() {
    prefs_.Browse(picker_(window()).value_or(std::string()));
    ShowFolders();
}

// A core that is not ours shares folders of its own computer: they are
// typed, as this computer's folder dialog cannot show them.
void SharingPrefsPage::Add() {
    const FolderPicker& pick = prefs_.CoreIsRemote() ? PickCorePathWithDialog : picker_;
    prefs_.Add(pick(window()).value_or(std::string()));
    ShowFolders();
}

void SharingPrefsPage::Remove() {
    prefs_.Remove(SelectedRow());
    ShowFolders();
}

int SharingPrefsPage::SelectedRow() const {
    const QModelIndexList selected = sharedFolders_->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void SharingPrefsPage::ShowFolders() {
    // A long path shows its beginning, as typed paths do; the whole path is
    // in the tooltip.
    downloadsFolder_->setText(ShownText(prefs_.DownloadsFolder()));
    downloadsFolder_->setCursorPosition(0);
    downloadsFolder_->setToolTip(downloadsFolder_->text());
    const std::vector<std::string>& folders = prefs_.SharedFolders();
    if (rows_.rowCount() == static_cast<int>(folders.size())) {
        // Unchanged (a cancelled picker, or Remove with no row selected):
        // keep the selection and the scroll position.
        return;
    }
    rows_.setRowCount(0);
    for (const std::string& folder : folders) {
        auto* item = new QStandardItem(ShownText(folder));
        item->setEditable(false);
        item->setToolTip(item->text());
        rows_.appendRow(item);
    }
}

}  // namespace korvana
