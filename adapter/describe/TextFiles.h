// SPDX-License-Identifier: GPL-3.0-or-later
// What the describe tools share in writing their text files.
#pragma once

#include <string>

namespace orvane::adapter {

// In double quotes, quotes and backslashes escaped: a string literal to C++ and to Turtle alike.
std::string quoted(const std::string& text);

// Replaces the file with the text; false when it could not be written.
bool writeFile(const std::string& path, const std::string& text);

} // namespace orvane::adapter
