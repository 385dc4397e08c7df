// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TextUtils.h"

#include <climits>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

// The limit is a length, not a base; below one it counts as one.
TEST(TextUtils, ItoaCutsToTheLengthLimitAndWritesNothingPastTheTerminator) {
    const struct {
        int value, limit;
        const char* text;
    } cases[] = {{-45, 2, "-4"}, {123456, 3, "123"}, {7, 0, "7"},
                 {-45, 0, "-"},  {99, -3, "9"},      {127, 10, "127"},
                 {16, 16, "16"}, {5, 1000, "5"},     {INT_MIN, 11, "-2147483648"}};
    for (const auto& c : cases) {
        char out[300];
        std::memset(out, 'x', sizeof out);
        itoa(c.value, out, c.limit);
        EXPECT_STREQ(out, c.text) << c.value << " " << c.limit;
        EXPECT_EQ(out[std::strlen(c.text) + 1], 'x');
    }
    itoa(1, nullptr, 5);
}

TEST(TextUtils, UpperCaseChangesOnlyAsciiLettersWithinTheWorkingLimit) {
    char mixed[] = "Maschine Host a-z 0-9 \xC3\xA9 {}`@[";
    upperCase(mixed);
    EXPECT_STREQ(mixed, "MASCHINE HOST A-Z 0-9 \xC3\xA9 {}`@[");
    std::string text(300, 'a');
    upperCase(text.data());
    EXPECT_EQ(text, std::string(255, 'A') + std::string(45, 'a'));
    upperCase(nullptr);
}

TEST(TextUtils, StripAllButNumKeepsDigitsSignsAndPointInOrderWithinTheWorkingLimit) {
    for (const auto& [in, out] : {std::pair<std::string, std::string>{"-12.5 dB", "-12.5"},
                                  {"abc", ""},
                                  {" +6,5 x1e3\t", "+6513"}}) {
        std::string text = in;
        stripAllButNum(text.data());
        EXPECT_STREQ(text.c_str(), out.c_str()) << in;
    }
    std::string text(300, '1');
    text[0] = 'x';
    stripAllButNum(text.data());
    EXPECT_EQ(std::string(text.c_str()), std::string(254, '1'));
    EXPECT_EQ(text.substr(255), std::string(45, '1')) << "bytes after the work area untouched";
    stripAllButNum(nullptr);
}

} // namespace
