#include "platform/Dialogs.h"
#include "tests/platform/ScriptedDialogs.h"

#include <array>
#include <cstring>
#include <gtest/gtest.h>

namespace {

class InputWindow : public ::testing::Test {
protected:
    ScopedScriptedDialogs dialogs;
    ScriptedDialogs& script = dialogs.script;
};

TEST_F(InputWindow, CancelEmptiesTheFieldEvenWhenItHeldText) {
    script.confirm = false;
    char text[256] = "0.0";
    runInputWindow("Main Volume", "-20 to 20 db", text, sizeof text);
    EXPECT_STREQ(text, "");
}

TEST_F(InputWindow, OkWithUntouchedFieldReturnsTheInitialText) {
    char text[512] = "-4.5";
    runInputWindow("Main Volume", "-20 to 20 db", text, sizeof text);
    EXPECT_STREQ(text, "-4.5");
    ASSERT_EQ(script.questions.size(), 1u);
    EXPECT_EQ(script.questions[0].initialText, "-4.5");
}

TEST_F(InputWindow, OkReturnsTheTypedText) {
    script.typed = "+6";
    char text[512] = "0.0";
    runInputWindow("Main Volume", "-20 to 20 db", text, sizeof text);
    EXPECT_STREQ(text, "+6");
}

TEST_F(InputWindow, InputBoxTakesLabelFirst) {
    char text[256] = "";
    inputBox("MIDI CC : Main Volume", "MIDI CC (0 - 127)", text, sizeof text);
    ASSERT_EQ(script.questions.size(), 1u);
    EXPECT_EQ(script.questions[0].title, "MIDI CC (0 - 127)");
    EXPECT_EQ(script.questions[0].label, "MIDI CC : Main Volume");
}

TEST_F(InputWindow, AnswerIsBoundedByTheCallersBuffer) {
    script.typed = std::string(600, '7');
    std::array<char, 20> buffer;
    buffer.fill('#');
    runInputWindow("t", "l", buffer.data(), 8);
    EXPECT_STREQ(buffer.data(), "7777777");
    EXPECT_EQ(buffer[8], '#') << "written past the capacity";
}

TEST_F(InputWindow, CutAnswerKeepsWholeUtf8Characters) {
    script.typed = "ab\xC3\xA9z"; // "abéz": a cut after 3 bytes would split the é
    char text[4] = "";
    runInputWindow("t", "l", text, sizeof text);
    EXPECT_STREQ(text, "ab");
}

TEST_F(InputWindow, UnterminatedInitialTextIsReadOnlyWithinTheCapacity) {
    std::array<char, 4> text{'1', '2', '3', '4'};
    runInputWindow("t", "l", text.data(), static_cast<int>(text.size()));
    ASSERT_EQ(script.questions.size(), 1u);
    EXPECT_EQ(script.questions[0].initialText, "1234");
    EXPECT_STREQ(text.data(), "123");
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
    script.chosenPath = "/a/b/c.ecs";
    load();
    EXPECT_STREQ(path, "/a/b/c.ecs");
    EXPECT_STREQ(folder, "/a/b");
    ASSERT_EQ(script.fileRequests.size(), 1u);
    const FileDialogRequest& request = script.fileRequests[0];
    EXPECT_FALSE(request.save);
    EXPECT_EQ(request.title, "ECS Loader");
    EXPECT_EQ(request.startFolder, "/home/u/ECS");
    EXPECT_EQ(request.extension, "ecs");
}

TEST_F(FileDialogs, FileInTheRootFolder) {
    script.chosenPath = "/c.ecs";
    load();
    EXPECT_STREQ(path, "/c.ecs");
    EXPECT_STREQ(folder, "/");
}

TEST_F(FileDialogs, ExtensionIsTheTextAfterTheFirstDot) {
    const std::pair<const char*, const char*> cases[] = {
        {"*.ecs", "ecs"}, {"*.tar.gz", "tar.gz"}, {"ecs", ""}, {"*.", ""}, {"", ""}, {nullptr, ""}};
    for (const auto& [filter, extension] : cases) {
        script.fileRequests.clear();
        load(filter);
        ASSERT_EQ(script.fileRequests.size(), 1u);
        EXPECT_EQ(script.fileRequests[0].extension, extension) << (filter ? filter : "null");
    }
}

TEST_F(FileDialogs, NoChoiceWritesNeitherOutput) {
    load();
    save();
    script.chosenPath = "";
    load();
    save();
    EXPECT_STREQ(path, "old path");
    EXPECT_STREQ(folder, "old folder");
}

TEST_F(FileDialogs, MoreThanOneFileIsNoChoice) {
    script.chosenPath = "/a/x.ecs\n/a/y.ecs";
    load();
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

TEST_F(FileDialogs, SaveProposesTheDefaultName) {
    script.chosenPath = "/x/y/Orvane.ecs";
    save();
    EXPECT_STREQ(path, "/x/y/Orvane.ecs");
    EXPECT_STREQ(folder, "/x/y");
    ASSERT_EQ(script.fileRequests.size(), 1u);
    EXPECT_TRUE(script.fileRequests[0].save);
    EXPECT_EQ(script.fileRequests[0].defaultName, "Orvane.ecs");
    EXPECT_EQ(script.fileRequests[0].title, "ECS Save");
}

TEST_F(FileDialogs, NullOutputsAreSafe) {
    script.chosenPath = "/a/b/c.ecs";
    fileSelectLoadDir(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, path);
    EXPECT_STREQ(path, "/a/b/c.ecs");
    fileSelectSaveDir(nullptr, nullptr, nullptr, nullptr, folder, nullptr);
    EXPECT_STREQ(folder, "old folder");
}

} // namespace
