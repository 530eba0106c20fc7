#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvana {

// A folder path as one argument of a core console command ("share %s",
// "unshare %s").
//
// The core splits a command line at spaces, tabs, carriage returns and
// newlines; an argument that starts with a double or a single quote runs to
// the next such quote, and a backslash inside it makes the core skip the
// character after it (both are kept in the argument). So:
// - a path with none of those separators that does not start with a quote
//   goes out as it is;
// - otherwise (an empty path too) it goes out in double quotes, or in single
//   quotes when it holds a double quote;
// - a path that holds both kinds of quote, or that ends in an odd number of
//   backslashes (which would hide the closing quote), cannot be carried:
//   the result is empty;
// - a path that holds a carriage return, a line feed or a zero byte cannot
//   be carried either: a console that reads line by line would run the rest
//   as commands of their own.
std::optional<std::string> ConsoleArgument(std::string_view path);

// Whether `line` may go to the core as one console command: it is not empty
// and holds no carriage return, line feed or zero byte.
bool IsOneConsoleLine(std::string_view line);

}  // namespace korvana
