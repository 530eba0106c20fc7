#pragma once

#include <string>
#include <string_view>

namespace korvana {

// A name from outside (a search result, a transfer, a log line) made safe to
// show or log on one line: bidirectional controls are dropped, since one can
// make "evil_rcod.exe" read as "evil_exe.docr", and control characters (C0,
// DEL, C1, line and paragraph separators) become a space, so a name cannot
// split a log line or fake a second row. Text that is not UTF-8 is taken
// byte by byte as Latin-1 (as the display does), its control bytes becoming
// spaces. Everything else is kept as it is. Only for showing: commands to
// the core keep the original bytes.
std::string DisplayText(std::string_view text);

}  // namespace korvana
