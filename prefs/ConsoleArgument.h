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
//   the result is empty.
std::optional<std::string> ConsoleArgument(std::string_view path);

}  // namespace korvana
