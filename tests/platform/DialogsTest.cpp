// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Dialogs.h"
#include "tests/platform/ScriptedDialogs.h"

#include <array>
#include <cstring>
#include <gtest/gtest.h>

namespace {

class InputWindow : public ::testing::Test {
protected:
    std::string ask(const char* initial, int capacity = 512) {
        std::vector<char> text(capacity);
        std::strncpy(text.data(), initial, text.size() - 1);
        runInputWindow("Main Volume", "-20 to 20 db", text.data(), capacity);
        return text.data();
    }
    ScopedScriptedDialogs dialogs;
    ScriptedDialogs& script = dialogs.script;
};

TEST_F(InputWindow, OkGivesTheTypedOrInitialTextAndCancelEmptiesTheField) {
    EXPECT_EQ(ask("-4.5"), "-4.5");
    ASSERT_EQ(script.questions.size(), 1u);
    EXPECT_EQ(script.questions[0].initialText, "-4.5");
    script.typed = "+6";
    EXPECT_EQ(ask("0.0"), "+6");
    script.confirm = false;
    EXPECT_EQ(ask("0.0"), "");

    char text[256] = "";
    inputBox("MIDI CC : Main Volume", "MIDI CC (0 - 127)", text, sizeof text);
    EXPECT_EQ(script.questions.back().title, "MIDI CC (0 - 127)") << "the label comes first";
    EXPECT_EQ(script.questions.back().label, "MIDI CC : Main Volume");
}

TEST_F(InputWindow, TextStaysWithinTheCallersBuffer) {
    script.typed = std::string(600, '7');
    std::array<char, 20> buffer;
    buffer.fill('#');
    runInputWindow("t", "l", buffer.data(), 8);
    EXPECT_STREQ(buffer.data(), "7777777");
    EXPECT_EQ(buffer[8], '#') << "written past the capacity";

    script.typed = "ab\xC3\xA9z"; // a cut after 3 bytes would split the é
    EXPECT_EQ(ask("", 4), "ab");

    script.typed.reset();
    std::array<char, 4> unterminated{'1', '2', '3', '4'};
    runInputWindow("t", "l", unterminated.data(), static_cast<int>(unterminated.size()));
    EXPECT_EQ(script.questions.back().initialText, "1234");
    EXPECT_STREQ(unterminated.data(), "123");
}

TEST_F(InputWindow, UnusableArgumentsAreSafe) {
    runInputWindow("t", "l", nullptr, 256);
    char text[4] = "abc";
    runInputWindow("t", "l", text, 0);
    EXPECT_STREQ(text, "abc");
    EXPECT_TRUE(script.questions.empty());

    runInputWindow(nullptr, nullptr, text, sizeof text);
    ASSERT_EQ(script.questions.size(), 1u);
    EXPECT_EQ(script.questions[0].title, "");
    EXPECT_EQ(script.questions[0].label, "");
}

TEST(MessageWindow, MessageBoxIsTitledOrvaneAndIgnoresKind) {
    ScopedScriptedDialogs dialogs;
    messageBox("Problem with ECS File", 2);
    messageBox(nullptr, 7);
    runMessageWindow("Notice", "text");
    const auto& messages = dialogs.script.messages;
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].title, "Orvane");
    EXPECT_EQ(messages[0].message, "Problem with ECS File");
    EXPECT_EQ(messages[1].message, "");
    EXPECT_EQ(messages[2].title, "Notice");
}

class FileDialogs : public ::testing::Test {
protected:
    void load(const char* filter = "*.ecs") {
        fileSelectLoadDir("ECS Loader", "/home/u/ECS", "Load", filter, "", folder, path);
    }
    void save() {
        fileSelectSaveDir("ECS Save", "/home/u/ECS", "Save", "Orvane.ecs", folder, path);
    }

    ScopedScriptedDialogs dialogs;
    ScriptedDialogs& script = dialogs.script;
    char folder[kDialogPathCapacity] = "old folder";
    char path[kDialogPathCapacity] = "old path";
};

TEST_F(FileDialogs, ChosenFileGivesPathAndContainingFolder) {
    struct Case {
        bool save;
        const char *chosen, *folder, *title;
    };
    const Case cases[] = {{false, "/a/b/c.ecs", "/a/b", "ECS Loader"},
                          {true, "/x/Orvane.ecs", "/x", "ECS Save"},
                          {false, "/c.ecs", "/", "ECS Loader"}};
    for (const Case& c : cases) {
        script.chosenPath = c.chosen;
        c.save ? save() : load();
        EXPECT_STREQ(path, c.chosen);
        EXPECT_STREQ(folder, c.folder);
        EXPECT_EQ(script.fileRequests.back().save, c.save);
        EXPECT_EQ(script.fileRequests.back().title, c.title);
        EXPECT_EQ(script.fileRequests.back().startFolder, "/home/u/ECS");
    }
    EXPECT_EQ(script.fileRequests[1].defaultName, "Orvane.ecs");
}

TEST_F(FileDialogs, ExtensionIsTheTextAfterTheFirstDot) {
    const std::pair<const char*, const char*> cases[] = {
        {"*.ecs", "ecs"}, {"*.tar.gz", "tar.gz"}, {"ecs", ""}, {"*.", ""}, {"", ""}, {nullptr, ""}};
    for (const auto& [filter, extension] : cases) {
        load(filter);
        EXPECT_EQ(script.fileRequests.back().extension, extension) << (filter ? filter : "null");
    }
}

TEST_F(FileDialogs, NoChoiceOrSeveralFilesWriteNeitherOutput) {
    load();
    save();
    for (const char* answer : {"", "/a/x.ecs\n/a/y.ecs"}) {
        script.chosenPath = answer;
        load();
        save();
    }
    EXPECT_STREQ(path, "old path");
    EXPECT_STREQ(folder, "old folder");
}

TEST_F(FileDialogs, PathThatDoesNotFitIsNotCut) {
    const std::string fits = "/d/" + std::string(kDialogPathCapacity - 4, 'f');
    script.chosenPath = fits;
    load();
    EXPECT_EQ(std::string(path), fits);
    EXPECT_STREQ(folder, "/d");

    script.chosenPath = fits + "g";
    save();
    EXPECT_EQ(std::string(path), fits) << "a cut path names another file";
}

TEST_F(FileDialogs, NullOutputsAreSafe) {
    script.chosenPath = "/a/b/c.ecs";
    fileSelectLoadDir(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, path);
    EXPECT_STREQ(path, "/a/b/c.ecs");
    fileSelectSaveDir(nullptr, nullptr, nullptr, nullptr, folder, nullptr);
    EXPECT_STREQ(folder, "old folder");
}

} // namespace
