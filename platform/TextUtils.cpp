// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TextUtils.h"

#include <cstdio>
#include <cstring>

namespace {
constexpr int kWorkLimit = 255;
}

void itoa(int value, char* out, int maxLength) {
    if (!out) return;
    if (maxLength < 1) maxLength = 1;
    if (maxLength > kWorkLimit) maxLength = kWorkLimit;
    char work[kWorkLimit + 1];
    std::snprintf(work, sizeof work, "%d", value);
    work[maxLength] = 0;
    std::strcpy(out, work);
}

void upperCase(char* text) {
    if (!text) return;
    for (int i = 0; i < kWorkLimit && text[i]; ++i) {
        if (text[i] >= 'a' && text[i] <= 'z') text[i] = static_cast<char>(text[i] - 'a' + 'A');
    }
}

void stripAllButNum(char* text) {
    if (!text) return;
    char work[kWorkLimit + 1] = {};
    int kept = 0;
    for (int i = 0; i < kWorkLimit && text[i]; ++i) {
        const char c = text[i];
        if ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.') work[kept++] = c;
    }
    std::memcpy(text, work, static_cast<size_t>(kept) + 1);
}
