// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/EcsFile.h"

#include <cstdio>
#include <glib.h>
#include <vector>

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool parseEcs(const char* text, std::size_t length, int (&bindings)[kEcsEntries]) {
    if (!text || length > kEcsMaxBytes) return false;
    int parsed[kEcsEntries];
    std::size_t at = 0;
    for (int entry = 0; entry < kEcsEntries; ++entry) {
        const std::size_t before = at;
        while (at < length && isSpace(text[at]))
            ++at;
        if (at == length || (entry > 0 && at == before)) return false;
        bool negative = false;
        if (text[at] == '+' || text[at] == '-') negative = text[at++] == '-';
        if (at == length || !isDigit(text[at])) return false;
        // Digits are accumulated only while the value can still be in range, so no overflow.
        int value = 0;
        for (; at < length && isDigit(text[at]); ++at) {
            value = value * 10 + (text[at] - '0');
            if (value >= kEcsEntries) return false;
        }
        if (negative && value != 0) return false;
        parsed[entry] = value;
    }
    for (; at < length; ++at)
        if (!isSpace(text[at])) return false;
    for (int entry = 0; entry < kEcsEntries; ++entry)
        bindings[entry] = parsed[entry];
    return true;
}

std::string formatEcs(const int (&bindings)[kEcsEntries]) {
    std::string text;
    char line[16];
    for (int binding : bindings) {
        std::snprintf(line, sizeof line, "%d\n", binding);
        text += line;
    }
    return text;
}

bool readEcsFile(const char* path, int (&bindings)[kEcsEntries]) {
    if (!path || !*path) return false;
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    std::vector<char> text(kEcsMaxBytes + 1);
    const std::size_t length = std::fread(text.data(), 1, text.size(), file);
    const bool readFailed = std::ferror(file) != 0;
    std::fclose(file);
    return !readFailed && length <= kEcsMaxBytes && parseEcs(text.data(), length, bindings);
}

bool writeEcsFile(const char* path, const int (&bindings)[kEcsEntries]) {
    if (!path || !*path) return false;
    const std::string text = formatEcs(bindings);
    auto flags = static_cast<GFileSetContentsFlags>(G_FILE_SET_CONTENTS_CONSISTENT |
                                                    G_FILE_SET_CONTENTS_DURABLE);
    return g_file_set_contents_full(path, text.data(), static_cast<gssize>(text.size()), flags,
                                    0666, nullptr);
}
