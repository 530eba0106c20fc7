#include "prefs/ui/FolderPicker.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>

#include "prefs/PreferencesLayout.h"
#include "prefs/ui/PrefsUiText.h"

namespace korvana {

std::optional<std::string> PickFolderWithDialog(QWidget* owner) {
    const QString folder = QFileDialog::getExistingDirectory(
        owner, FixedText(kFolderPickerTitle), QDir::homePath(), QFileDialog::ShowDirsOnly);
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    // The file system's own bytes for the name, which is what the core and
    // the settings store are given.
    return QFile::encodeName(folder).toStdString();
}

std::optional<std::string> PickCorePathWithDialog(QWidget* owner) {
    bool ok = false;
    const QString folder = QInputDialog::getText(owner, FixedText(kFolderPickerTitle),
                                                 QStringLiteral("Folder on the core's computer:"),
                                                 QLineEdit::Normal, QString(), &ok);
    if (!ok || folder.trimmed().isEmpty()) {
        return std::nullopt;
    }
    return folder.toStdString();
}

}  // namespace korvana
