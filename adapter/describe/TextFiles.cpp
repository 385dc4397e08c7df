// SPDX-License-Identifier: GPL-3.0-or-later
#include "adapter/describe/TextFiles.h"

#include <fstream>

namespace orvane::adapter {

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

bool writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out.flush());
}

} // namespace orvane::adapter
