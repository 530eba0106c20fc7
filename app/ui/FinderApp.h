#pragma once

#include <memory>

namespace korvana {

// The application: one copy per user, the folders under the install folder,
// the main window and its start-up order. Returns the process's exit status.
int RunFinderApp(int argc, char* argv[]);

}  // namespace korvana
