// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Preferences.h"
#include "tests/prefs/TempConfig.h"

#include <cstring>

namespace {

using PreferencesTest = TempConfig;

std::string loadString(const char* key, int capacity = 256) {
    std::string out(capacity, '\x7f');
    loadStringFromPrefs(key, out.data(), capacity);
    return out.c_str();
}

TEST_F(PreferencesTest, AbsentKeysReadAsEmptyAndZeroWithoutCreatingTheFile) {
    EXPECT_EQ(loadString("ECSDir"), "");
    EXPECT_EQ(loadIntFromPrefs("Midi Channel"), 0);
    EXPECT_EQ(getMidiCC(7), 0);
    EXPECT_FALSE(std::filesystem::exists(prefsPath()));
}

TEST_F(PreferencesTest, EachWritePersistsAtOnceInItsTypeGroup) {
    saveStringToPrefs("ECSDir", "/home/u/ECS/");
    saveIntToPrefs("Midi Channel", 16);
    setMidiCC(127, 40);
    std::string value;
    EXPECT_TRUE(onDisk("String", "ECSDir", &value));
    EXPECT_EQ(value, "/home/u/ECS/");
    EXPECT_TRUE(onDisk("Integer", "Midi Channel", &value));
    EXPECT_EQ(value, "16");
    EXPECT_TRUE(onDisk("Integer", "127", &value));
    EXPECT_EQ(value, "40");
    EXPECT_EQ(loadString("ECSDir"), "/home/u/ECS/");
    EXPECT_EQ(loadIntFromPrefs("Midi Channel"), 16);
    EXPECT_EQ(getMidiCC(127), 40);
}

TEST_F(PreferencesTest, TypesStayDistinct) {
    saveStringToPrefs("3", "12");
    EXPECT_EQ(getMidiCC(3), 0) << "a controller key holding a string is unbound";
    saveIntToPrefs("Key", 1);
    EXPECT_EQ(loadString("Key"), "") << "a string read of an integer key is empty";
    // A write of the other type replaces the value rather than adding a second one.
    saveIntToPrefs("3", 9);
    EXPECT_EQ(getMidiCC(3), 9);
    EXPECT_FALSE(onDisk("String", "3"));
    saveStringToPrefs("Key", "N");
    EXPECT_EQ(loadIntFromPrefs("Key"), 0);
    EXPECT_FALSE(onDisk("Integer", "Key"));
}

TEST_F(PreferencesTest, FullIntRangeAndAwkwardStringsRoundTrip) {
    saveIntToPrefs("low", INT32_MIN);
    saveIntToPrefs("high", INT32_MAX);
    EXPECT_EQ(loadIntFromPrefs("low"), INT32_MIN);
    EXPECT_EQ(loadIntFromPrefs("high"), INT32_MAX);
    const char* awkward = "  two\nlines = [x] #not a comment\\ ";
    saveStringToPrefs("ECSDir", awkward);
    EXPECT_EQ(loadString("ECSDir"), awkward);
    saveStringToPrefs("ECSDir", "");
    EXPECT_EQ(loadString("ECSDir"), "");
}

TEST_F(PreferencesTest, IntegerTextThatIsNotANumberReadsAsZero) {
    writeFile(prefsPath(), "[Integer]\n5=abc\n6=99999999999\n7=12\n");
    EXPECT_EQ(getMidiCC(5), 0);
    EXPECT_EQ(getMidiCC(6), 0);
    EXPECT_EQ(getMidiCC(7), 12);
}

TEST_F(PreferencesTest, LongStringsAreCutToTheCallersCapacity) {
    saveStringToPrefs("ECSDir", "abcdefghij");
    char out[8];
    std::memset(out, '#', sizeof out);
    loadStringFromPrefs("ECSDir", out, 4);
    EXPECT_STREQ(out, "abc");
    EXPECT_EQ(out[4], '#');
    loadStringFromPrefs("ECSDir", out, 0); // no byte may be written
    EXPECT_STREQ(out, "abc");
    loadStringFromPrefs("ECSDir", nullptr, 8);
}

// "Y" alone is yes and "N" alone is no: absent and every other text reads as neither.
TEST_F(PreferencesTest, BooleanReadKindsCompareWholeCaseSensitiveStrings) {
    for (const char* text : {"", "y", "n", "Yes", "No", "Y", "N"}) {
        if (*text) saveStringToPrefs("Key", text);
        EXPECT_EQ(prefIsYes("Key"), std::string(text) == "Y") << text;
        EXPECT_EQ(prefIsNotNo("Key"), std::string(text) != "N") << text;
    }
}

TEST_F(PreferencesTest, KeysTheFileFormatCannotHoldAreIgnored) {
    for (const char* key : {"", " lead", "trail ", "a=b", "[x]", "two\nlines", "#c"})
        saveStringToPrefs(key, "v");
    saveStringToPrefs(nullptr, "v");
    saveStringToPrefs("ECSDir", nullptr);
    saveStringToPrefs("ECSDir", "\xff\xfe not UTF-8");
    EXPECT_EQ(loadString("a=b"), "");
    EXPECT_EQ(loadIntFromPrefs(nullptr), 0);
    EXPECT_EQ(loadString("ECSDir"), "");
}

TEST_F(PreferencesTest, FollowsXdgConfigHomeAndFallsBackToHomeConfig) {
    saveStringToPrefs("Key", "Y");
    EXPECT_TRUE(std::filesystem::exists(prefsPath()));
    std::string home = directory + "/home";
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", "relative/is/ignored", 1);
    saveStringToPrefs("Key", "N");
    EXPECT_TRUE(std::filesystem::exists(home + "/.config/com.HKZX.Orvane"));
    EXPECT_EQ(loadString("Key"), "N");
    setenv("XDG_CONFIG_HOME", directory.c_str(), 1);
    EXPECT_EQ(loadString("Key"), "Y");
}

TEST_F(PreferencesTest, WritesLeaveNoTemporaryFilesAndArePrivate) {
    for (int i = 0; i < 20; ++i)
        saveIntToPrefs("Midi Channel", i);
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        std::string name = entry.path().filename();
        EXPECT_TRUE(name == "com.HKZX.Orvane" || name == "com.HKZX.Orvane.lock") << name;
    }
    auto perms = std::filesystem::status(prefsPath()).permissions();
    EXPECT_EQ(perms & (std::filesystem::perms::group_all | std::filesystem::perms::others_all),
              std::filesystem::perms::none);
}

TEST_F(PreferencesTest, CorruptFileReadsAsEmptyAndIsKeptAsideByTheFirstWrite) {
    const std::string garbage = "this is = not [a key file\n\xff\x00\x01 at all";
    writeFile(prefsPath(), garbage);
    EXPECT_EQ(getMidiCC(1), 0);
    EXPECT_EQ(loadString("Key"), "");
    EXPECT_EQ(fileText(prefsPath()), garbage) << "reading must not touch the file";

    const auto keptCopies = [&] {
        int kept = 0;
        for (const auto& entry : std::filesystem::directory_iterator(directory))
            if (std::string(entry.path().filename()).rfind("com.HKZX.Orvane.corrupt-", 0) == 0) {
                ++kept;
                EXPECT_EQ(fileText(entry.path()), garbage);
            }
        return kept;
    };
    setMidiCC(1, 5);
    EXPECT_EQ(getMidiCC(1), 5);
    EXPECT_EQ(keptCopies(), 1);

    writeFile(prefsPath(), garbage); // a second corruption must not replace the first copy
    setMidiCC(2, 6);
    EXPECT_EQ(keptCopies(), 2);
    EXPECT_EQ(getMidiCC(1), 0);
    EXPECT_EQ(getMidiCC(2), 6);
}

TEST_F(PreferencesTest, UnreadableFileIsNotDestroyedWhenItCannotBeKeptAside) {
    std::filesystem::create_directory(prefsPath()); // a folder in place of the file
    EXPECT_EQ(getMidiCC(1), 0);
    setMidiCC(1, 5);
    EXPECT_TRUE(std::filesystem::exists(prefsPath()));
}

TEST_F(PreferencesTest, DeferredBindingsAreVisibleToTheNextCallAndWrittenOnce) {
    deferMidiCC(10, 3);
    deferMidiCC(10, 4); // the later binding wins
    deferMidiCC(11, 0);
    deferMidiCC(128, 1); // outside the table: ignored
    deferMidiCC(-1, 1);
    EXPECT_EQ(getMidiCC(10), 4);
    std::string value;
    EXPECT_TRUE(onDisk("Integer", "10", &value));
    EXPECT_EQ(value, "4");
    EXPECT_TRUE(onDisk("Integer", "11", &value));
    EXPECT_EQ(value, "0");
    EXPECT_FALSE(onDisk("Integer", "128"));

    // A binding removed on the dispatcher after it was learnt stays removed.
    deferMidiCC(12, 7);
    setMidiCC(12, 0);
    EXPECT_EQ(getMidiCC(12), 0);

    deferMidiCC(13, 8);
    flushDeferredMidiCC();
    EXPECT_TRUE(onDisk("Integer", "13", &value));
    EXPECT_EQ(value, "8");
}

TEST_F(PreferencesTest, CaptureMirrorFollowsWritesAndTheFile) {
    saveStringToPrefs("Capture", "Y");
    EXPECT_TRUE(captureEnabledInMemory());
    saveStringToPrefs("Capture", "y");
    EXPECT_FALSE(captureEnabledInMemory());
    // Another process turns it on: seen after this process's next dispatcher-side call.
    writeFile(prefsPath(), "[String]\nCapture=Y\n");
    loadIntFromPrefs("Midi Channel");
    EXPECT_TRUE(captureEnabledInMemory());
}

} // namespace
