// What a new instance stores in, and takes from, the preferences.
#include "midi/LearnEffect.h"
#include "platform/Preferences.h"
#include "prefs/TempConfig.h"

#include <set>

namespace {

class StartupPrefsTest : public TempConfig {
protected:
    std::set<std::string> storedKeys() const {
        std::set<std::string> keys;
        GKeyFile* file = g_key_file_new();
        if (g_key_file_load_from_file(file, prefsPath().c_str(), G_KEY_FILE_NONE, nullptr)) {
            for (const char* group : {"String", "Integer"}) {
                gchar** names = g_key_file_get_keys(file, group, nullptr, nullptr);
                for (gchar** name = names; name && *name; ++name)
                    keys.insert(*name);
                g_strfreev(names);
            }
        }
        g_key_file_free(file);
        return keys;
    }
};

TEST_F(StartupPrefsTest, FirstStartWritesExactlyTheDefaults) {
    const std::string home = directory + "/home";
    setenv("HOME", home.c_str(), 1);
    LearnEffect effect;
    EXPECT_EQ(storedKeys(), (std::set<std::string>{"Capture", "ECSDir", "Key", "MidiPreset"}));
    std::string value;
    EXPECT_TRUE(onDisk("String", "ECSDir", &value));
    EXPECT_EQ(value, home + "/Documents/Halvick/Orvane/ECS/");
    EXPECT_STREQ(effect.getEcsDir(), value.c_str());
    EXPECT_TRUE(onDisk("String", "MidiPreset", &value));
    EXPECT_EQ(value, "N");
    EXPECT_TRUE(onDisk("String", "Key", &value));
    EXPECT_EQ(value, "Y");
    EXPECT_TRUE(onDisk("String", "Capture", &value));
    EXPECT_EQ(value, "N");
    EXPECT_NE(std::string(effect.getHelpPath()).find("/share/orvane/HK_Orvane_Manual.pdf"),
              std::string::npos);
}

TEST_F(StartupPrefsTest, StoredValuesAreKeptAsTheyAre) {
    saveStringToPrefs("ECSDir", "/no/such/folder/");
    saveStringToPrefs("MidiPreset", "y");
    saveStringToPrefs("Key", "n");
    saveStringToPrefs("Capture", "Y");
    LearnEffect effect;
    EXPECT_STREQ(effect.getEcsDir(), "/no/such/folder/");
    char value[8];
    loadStringFromPrefs("MidiPreset", value, sizeof value);
    EXPECT_STREQ(value, "y");
    loadStringFromPrefs("Key", value, sizeof value);
    EXPECT_STREQ(value, "n");
    EXPECT_TRUE(effect.getMidiCapture());
}

TEST_F(StartupPrefsTest, BindingsComeFromThePreferences) {
    setMidiCC(0, 5);
    setMidiCC(127, 127);
    saveStringToPrefs("9", "3"); // a string in a controller key is no binding
    setMidiCC(10, 128);          // nor is a number outside the parameter range
    LearnEffect effect;
    EXPECT_EQ(effect.ccToParam[0], 5);
    EXPECT_EQ(effect.ccToParam[127], 127);
    EXPECT_EQ(effect.ccToParam[9], 0);
    EXPECT_EQ(effect.ccToParam[10], 0);
    setMidiCC(1, 2);
    effect.setAllMidiControls();
    EXPECT_EQ(effect.ccToParam[1], 2);
}

} // namespace
