// SPDX-License-Identifier: GPL-3.0-or-later
// What a new instance stores in, and takes from, the preferences.
#include "engine/TestEffect.h"
#include "platform/Preferences.h"
#include "prefs/TempConfig.h"

#include <map>

namespace {

class StartupPrefsTest : public TempConfig {
protected:
    // Every stored key of either type with its text.
    std::map<std::string, std::string> stored() const {
        std::map<std::string, std::string> keys;
        GKeyFile* file = g_key_file_new();
        if (g_key_file_load_from_file(file, prefsPath().c_str(), G_KEY_FILE_NONE, nullptr)) {
            for (const char* group : {"String", "Integer"}) {
                gchar** names = g_key_file_get_keys(file, group, nullptr, nullptr);
                for (gchar** name = names; name && *name; ++name) {
                    gchar* value = g_key_file_get_value(file, group, *name, nullptr);
                    keys[*name] = value;
                    g_free(value);
                }
                g_strfreev(names);
            }
        }
        g_key_file_free(file);
        return keys;
    }
};

TEST_F(StartupPrefsTest, FirstStartWritesExactlyTheDefaultsAndLaterStartsKeepStoredValues) {
    const std::string home = directory + "/home";
    setenv("HOME", home.c_str(), 1);
    {
        TestEffect effect;
        const std::string ecsDir = home + "/Documents/Halvick/Orvane/ECS/";
        EXPECT_EQ(stored(),
                  (std::map<std::string, std::string>{
                      {"Capture", "N"}, {"ECSDir", ecsDir}, {"Key", "Y"}, {"MidiPreset", "N"}}));
        EXPECT_EQ(effect.getEcsDir(), ecsDir);
        EXPECT_NE(std::string(effect.getHelpPath()).find("/share/orvane/HK_Orvane_Manual.pdf"),
                  std::string::npos);
    }
    const std::map<std::string, std::string> kept = {
        {"Capture", "Y"}, {"ECSDir", "/no/such/folder/"}, {"Key", "n"}, {"MidiPreset", "y"}};
    for (const auto& [key, value] : kept)
        saveStringToPrefs(key.c_str(), value.c_str());
    TestEffect effect;
    EXPECT_EQ(stored(), kept);
    EXPECT_EQ(effect.getEcsDir(), kept.at("ECSDir"));
    EXPECT_TRUE(effect.getMidiCapture());
}

TEST_F(StartupPrefsTest, BindingsComeFromThePreferences) {
    setMidiCC(0, 5);
    setMidiCC(127, 127);
    saveStringToPrefs("9", "3"); // a string in a controller key is no binding
    setMidiCC(10, 128);          // nor is a number outside the parameter range
    TestEffect effect;
    EXPECT_EQ(effect.ccToParam[0], 5);
    EXPECT_EQ(effect.ccToParam[127], 127);
    EXPECT_EQ(effect.ccToParam[9], 0);
    EXPECT_EQ(effect.ccToParam[10], 0);
    setMidiCC(1, 2);
    effect.setAllMidiControls();
    EXPECT_EQ(effect.ccToParam[1], 2);
}

} // namespace
