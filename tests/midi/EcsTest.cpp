// SPDX-License-Identifier: GPL-3.0-or-later
// ECS files: import refuses anything but 128 numbers in 0..127 and then changes nothing.
#include "engine/EcsFile.h"
#include "engine/TestEffect.h"
#include "platform/Preferences.h"
#include "platform/ScriptedDialogs.h"
#include "prefs/TempConfig.h"

#include <csignal>
#include <sys/resource.h>

namespace {

class EcsTest : public TempConfig {
protected:
    void SetUp() override {
        TempConfig::SetUp();
        effect = std::make_unique<TestEffect>();
        effect->setMidiLatch(kAirAmount, true);
        effect->deliver({controlChange(11, 64)});
        dialogs = std::make_unique<ScopedScriptedDialogs>();
    }
    void TearDown() override {
        dialogs.reset();
        effect.reset();
        TempConfig::TearDown();
    }

    static std::string lines(int count, int value = 0) {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += std::to_string(value) + "\n";
        return text;
    }

    // Imports text as a chosen file; true when the import was refused with the message.
    bool importRefused(const std::string& text) {
        const std::string path = directory + "/in.ecs";
        writeFile(path, text);
        dialogs->script.chosenPath = path;
        dialogs->script.messages.clear();
        effect->LoadECS();
        const auto& messages = dialogs->script.messages;
        return messages.size() == 1 && messages[0].message == "Problem with ECS File";
    }

    std::unique_ptr<TestEffect> effect;
    std::unique_ptr<ScopedScriptedDialogs> dialogs;
};

TEST_F(EcsTest, MalformedFilesAreRefusedAndLeaveTheBindingsUntouched) {
    std::string bigNumber = lines(127) + "99999999999\n";
    std::string trailing = lines(128) + "x";
    std::string value128 = lines(127) + "128\n";
    std::string negative = "-1\n" + lines(127);
    std::string joined = lines(126) + "1+2\n";
    std::string huge = lines(128) + std::string(kEcsMaxBytes, ' ');
    for (const std::string& text :
         {lines(127), lines(129), value128, negative, bigNumber, trailing, joined, huge,
          std::string(), std::string("\0", 1) + lines(128)}) {
        EXPECT_TRUE(importRefused(text)) << text.substr(0, 40);
        EXPECT_EQ(effect->controllersOf(kAirAmount), std::vector<int>{11});
        EXPECT_EQ(getMidiCC(11), kAirAmount);
    }
}

TEST_F(EcsTest, AMissingFileIsRefusedAndCancelDoesNothing) {
    dialogs->script.chosenPath = directory + "/absent.ecs";
    effect->LoadECS();
    ASSERT_EQ(dialogs->script.messages.size(), 1u);
    dialogs->script.chosenPath.reset();
    effect->LoadECS();
    effect->SaveECS();
    EXPECT_EQ(dialogs->script.messages.size(), 1u);
    EXPECT_EQ(effect->controllersOf(kAirAmount), std::vector<int>{11});
}

TEST_F(EcsTest, WhiteSpaceBetweenNumbersIsAccepted) {
    std::string text = "\r\n 5\t";
    for (int i = 1; i < 128; ++i)
        text += (i % 2 ? "\r\n" : "  ") + std::to_string(i % 128);
    EXPECT_FALSE(importRefused(text + "\n\n"));
    EXPECT_EQ(effect->ccToParam[0], 5);
    EXPECT_EQ(effect->ccToParam[127], 127);
    EXPECT_EQ(getMidiCC(127), 127);
    EXPECT_EQ(effect->controllersOf(kAirAmount), std::vector<int>{3});
}

TEST_F(EcsTest, RoundTripIsExact) {
    effect->setMidiLatch(kBypass, true);
    effect->deliver({controlChange(127, 0)});
    const std::string path = directory + "/out.ecs";
    dialogs->script.chosenPath = path;
    effect->SaveECS();
    ASSERT_EQ(dialogs->script.fileRequests.size(), 1u);
    const FileDialogRequest& request = dialogs->script.fileRequests[0];
    EXPECT_TRUE(request.save);
    EXPECT_EQ(request.defaultName, "Orvane.ecs");
    EXPECT_EQ(request.startFolder, effect->getEcsDir());

    std::string expected;
    for (int c = 0; c < 128; ++c)
        expected += c == 11 ? "3\n" : c == 127 ? "40\n" : "0\n";
    EXPECT_EQ(fileText(path), expected);

    effect->resetMidi();
    EXPECT_FALSE(importRefused(expected));
    EXPECT_EQ(effect->controllersOf(kAirAmount), std::vector<int>{11});
    EXPECT_EQ(effect->controllersOf(kBypass), std::vector<int>{127});
    EXPECT_EQ(getMidiCC(127), kBypass);
    const FileDialogRequest& load = dialogs->script.fileRequests.back();
    EXPECT_FALSE(load.save);
    EXPECT_EQ(load.extension, "ecs");
}

TEST_F(EcsTest, ImportedBindingsPickUpFromTheCurrentValueInCaptureMode) {
    saveStringToPrefs("Capture", "Y");
    std::string text = "0\n" + std::string("1\n") + lines(126); // controller 1 drives Main Volume
    ASSERT_FALSE(importRefused(text));
    effect->deliver({controlChange(1, 0)});
    EXPECT_EQ(effect->getParameter(kMainVolume), 0.5f);
    effect->deliver({controlChange(1, 64)});
    EXPECT_EQ(effect->getParameter(kMainVolume), 64.0f / 127.0f);
}

TEST_F(EcsTest, AFailedExportKeepsTheExistingFile) {
    const std::string path = directory + "/Orvane.ecs";
    writeFile(path, "precious");
    dialogs->script.chosenPath = path;
    // A file-size limit below one ECS file makes the write fail, even for root.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 64;
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    effect->SaveECS();
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);
    ASSERT_EQ(dialogs->script.messages.size(), 1u);
    EXPECT_EQ(dialogs->script.messages[0].message, "Problem with ECS File");
    EXPECT_EQ(fileText(path), "precious");
}

} // namespace
