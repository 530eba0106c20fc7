#include "library/ui/TrashRemover.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "library/LibraryCommands.h"

namespace korvana {
namespace {

// The desktop's trash lives in the user's data folder, which the move
// creates a "Trash" folder in when there is none. Without a data folder
// it can take, Qt's move has been seen to report success after putting
// the file in "files/" under the working folder, where no one would look.
bool HomeTrashCanBeUsed() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QFileInfo folder(data);
    return !data.isEmpty() && folder.isDir() &&
           (folder.isWritable() || QFileInfo(data + QStringLiteral("/Trash")).isDir());
}

}  // namespace

bool MoveToTrashOrDelete(const std::filesystem::path& file) {
    if (HomeTrashCanBeUsed() && QFile::moveToTrash(QFile::decodeName(file.c_str()))) {
        return true;
    }
    return RemoveFilePermanently(file);
}

}  // namespace korvana
