#include "platform/TextUtils.h"

#include <climits>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

TEST(Itoa, CutsToMaxLengthCharacters) {
    char out[16];
    itoa(-45, out, 2);
    EXPECT_STREQ(out, "-4");
    itoa(123456, out, 3);
    EXPECT_STREQ(out, "123");
}

TEST(Itoa, ZeroMaxLengthCountsAsOne) {
    char out[16];
    itoa(7, out, 0);
    EXPECT_STREQ(out, "7");
    itoa(-45, out, 0);
    EXPECT_STREQ(out, "-");
    itoa(99, out, -3);
    EXPECT_STREQ(out, "9");
}

TEST(Itoa, LimitIsALengthNotABase) {
    char out[16];
    itoa(127, out, 10);
    EXPECT_STREQ(out, "127");
    itoa(16, out, 16);
    EXPECT_STREQ(out, "16");
    itoa(INT_MIN, out, 11);
    EXPECT_STREQ(out, "-2147483648");
}

TEST(Itoa, WritesNothingPastTheTerminator) {
    char out[300];
    std::memset(out, 'x', sizeof out);
    itoa(5, out, 1000);
    EXPECT_STREQ(out, "5");
    EXPECT_EQ(out[2], 'x');
}

TEST(UpperCase, ChangesOnlyAsciiLetters) {
    char product[] = "Maschine Host";
    upperCase(product);
    EXPECT_STREQ(product, "MASCHINE HOST");

    char mixed[] = "a-z 0-9 \xC3\xA9 {}`@[";
    upperCase(mixed);
    EXPECT_STREQ(mixed, "A-Z 0-9 \xC3\xA9 {}`@[");

    char empty[] = "";
    upperCase(empty);
    EXPECT_STREQ(empty, "");
}

TEST(UpperCase, StopsAtTheWorkingLimit) {
    std::string text(300, 'a');
    upperCase(text.data());
    EXPECT_EQ(text.substr(0, 255), std::string(255, 'A'));
    EXPECT_EQ(text.substr(255), std::string(45, 'a'));
}

TEST(StripAllButNum, KeepsDigitsSignsAndPointInOrder) {
    char level[] = "-12.5 dB";
    stripAllButNum(level);
    EXPECT_STREQ(level, "-12.5");

    char letters[] = "abc";
    stripAllButNum(letters);
    EXPECT_STREQ(letters, "");

    char scattered[] = " +6,5 x1e3\t";
    stripAllButNum(scattered);
    EXPECT_STREQ(scattered, "+6513");
}

TEST(StripAllButNum, OverLongInputKeepsTheFirst255Characters) {
    std::string text(300, '1');
    text[0] = 'x';
    stripAllButNum(text.data());
    EXPECT_EQ(std::strlen(text.c_str()), 254u);
    EXPECT_EQ(text.substr(0, 254), std::string(254, '1'));
    EXPECT_EQ(text.substr(255), std::string(45, '1')) << "bytes after the work area untouched";
}

TEST(TextUtils, NullPointersAreIgnored) {
    itoa(1, nullptr, 5);
    upperCase(nullptr);
    stripAllButNum(nullptr);
}

} // namespace
