// Texts from files, made safe for a terminal: a database name may hold any
// bytes, escape sequences included.
#pragma once

#include <string>
#include <string_view>

namespace corvane::cli {

// Printable ASCII as it is; every other byte, and the backslash, as \xHH.
std::string Printable(std::string_view text);

}  // namespace corvane::cli
