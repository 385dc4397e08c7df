// SPDX-License-Identifier: GPL-3.0-or-later
// The file selector against a stand-in zenity that records its arguments and answers.
#include "toolkit/CNewFileSelector.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {
using orvgui::CFileExtension;
using orvgui::CNewFileSelector;

class FileSelectorTest : public testing::Test {
protected:
    FileSelectorTest() {
        char pattern[] = "/tmp/orvane-selector-XXXXXX";
        directory = mkdtemp(pattern);
        oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", (directory + ":" + oldPath).c_str(), 1);
    }
    ~FileSelectorTest() override {
        setenv("PATH", oldPath.c_str(), 1);
        std::system(("rm -rf " + directory).c_str());
    }
    // A zenity that saves its arguments, prints answer and exits with status.
    void fakeZenity(const std::string& answer, int status) {
        const std::string path = directory + "/zenity";
        std::ofstream script(path);
        script << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > " << directory
               << "/args\nprintf '" << answer << "'\nexit " << status << "\n";
        script.close();
        chmod(path.c_str(), 0755);
    }
    std::string arguments() const {
        std::ifstream in(directory + "/args");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::string directory;
    std::string oldPath;
};

TEST_F(FileSelectorTest, LoadingOffersTheExtensionStartsInTheFolderAndReturnsThePath) {
    fakeZenity("/a/b/c.ecs\\n", 0);
    CNewFileSelector* selector = CNewFileSelector::create(nullptr, CNewFileSelector::kSelectFile);
    selector->setTitle("Load ECS");
    selector->setInitialDirectory("/home/user/ecs");
    selector->setDefaultExtension(CFileExtension("ecs", "ecs"));
    selector->setAllowMultiFileSelection(false);
    ASSERT_TRUE(selector->runModal());
    ASSERT_EQ(selector->getNumSelectedFiles(), 1u);
    EXPECT_STREQ(selector->getSelectedFile(0), "/a/b/c.ecs");
    EXPECT_EQ(selector->getSelectedFile(1), nullptr);
    EXPECT_EQ(arguments(), "--file-selection\n--title=Load ECS\n--filename=/home/user/ecs/\n"
                           "--file-filter=ecs | *.ecs\n--file-filter=All files | *\n");
    selector->forget();
}

TEST_F(FileSelectorTest, SavingProposesTheDefaultNameAndAsksBeforeOverwriting) {
    fakeZenity("/tmp/x y/out.ecs\\n", 0);
    CNewFileSelector* selector =
        CNewFileSelector::create(nullptr, CNewFileSelector::kSelectSaveFile);
    selector->setInitialDirectory("/tmp/x y/");
    selector->setDefaultSaveName("Orvane.ecs");
    ASSERT_TRUE(selector->runModal());
    EXPECT_STREQ(selector->getSelectedFile(0), "/tmp/x y/out.ecs");
    EXPECT_EQ(arguments(),
              "--file-selection\n--save\n--confirm-overwrite\n--filename=/tmp/x y/Orvane.ecs\n");
    selector->forget();
}

TEST_F(FileSelectorTest, CancelSeveralFilesAndAMissingDialogAreReportedAsSuch) {
    CNewFileSelector* selector = CNewFileSelector::create();
    fakeZenity("/ignored\\n", 1);
    EXPECT_FALSE(selector->runModal()) << "cancelled";
    EXPECT_EQ(selector->getNumSelectedFiles(), 0u);

    fakeZenity("/one\\n/two\\n", 0);
    selector->setAllowMultiFileSelection(true);
    EXPECT_TRUE(selector->runModal());
    EXPECT_EQ(selector->getNumSelectedFiles(), 2u) << "the caller sees it was not one file";

    unlink((directory + "/zenity").c_str());
    setenv("PATH", directory.c_str(), 1);
    EXPECT_FALSE(selector->runModal());
    EXPECT_EQ(selector->getNumSelectedFiles(), 0u);
    selector->forget();
}

} // namespace
