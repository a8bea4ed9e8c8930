#pragma once

// The property bag's text escaping: backslash, line feed and carriage return are written as
// \\, \n and \r so that every value stays on its line; every other byte is kept as it is.

#include <string>

std::string zorBagEscape(const std::string& text);
// The inverse of zorBagEscape; a backslash before any other byte (or at the end) is kept.
std::string zorBagUnescape(const std::string& text);
