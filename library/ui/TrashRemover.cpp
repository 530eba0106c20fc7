#include "library/ui/TrashRemover.h"

#include <QFile>

#include "library/LibraryCommands.h"

namespace korvana {

bool MoveToTrashOrDelete(const std::filesystem::path& file) {
    if (QFile::moveToTrash(QString::fromStdString(file.string()))) {
        return true;
    }
    return RemoveFilePermanently(file);
}

}  // namespace korvana
