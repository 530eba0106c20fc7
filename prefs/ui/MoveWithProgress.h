#pragma once

#include <QString>

#include <filesystem>
#include <functional>

#include "prefs/FolderMove.h"

class QWidget;

namespace korvana {

// Runs `job` on a worker thread while the GUI thread goes on turning its
// event loop, so the windows keep painting. When the job takes longer than
// a moment, a window-modal busy dialog over `parent` shows `label()`, asked
// afresh a few times a second. Returns once the job has; the job is never
// abandoned half-way, not even when the program is asked to quit meanwhile.
void RunShowingProgress(QWidget* parent, const QString& title, const std::function<void()>& job,
                        const std::function<QString()>& label);

// Moves the contents of the old downloads folder that way, counting the
// files in the busy dialog.
MoveReport MoveWithProgress(QWidget* parent, const std::filesystem::path& from,
                            const std::filesystem::path& to);

}  // namespace korvana
