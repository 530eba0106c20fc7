#pragma once

#include <QStringList>
#include <optional>
#include <ostream>

namespace korvana {

// Reads the program's command line: --help and --version are answered on
// `out` and end the program (the status is returned); anything else it does
// not know is reported on `err` and left to Qt's own options (-style,
// -platform ...), and the program starts (nullopt).
std::optional<int> AnswerCommandLine(const QStringList& arguments, std::ostream& out,
                                     std::ostream& err);

}  // namespace korvana
