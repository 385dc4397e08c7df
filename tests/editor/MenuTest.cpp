// SPDX-License-Identifier: GPL-3.0-or-later
#include "StandInEditor.h"

#include "editor/Fonts.h"
#include "editor/myOptionMenu.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace orvgui;
using namespace editortest;

namespace {

constexpr int32_t L = kLButton;

// Records what the menu asks to be written and in which font.
class RecordingMenu : public myOptionMenu {
public:
    using myOptionMenu::myOptionMenu;
    void drawLCDText(CDrawContext* context, CRect& rect, const char* text) override {
        myOptionMenu::drawLCDText(context, rect, text);
        ++calls;
        shown = text ? text : "(null)";
        font = context->getFont();
        colour = context->getFontColor();
    }
    int calls = 0;
    std::string shown;
    CFontRef font = nullptr;
    CColor colour;
};

std::string shownText(RecordingMenu& menu) {
    Canvas canvas(200, 40);
    menu.draw(&canvas.context());
    return menu.shown;
}

TEST(MenuText, AnEmptyDisplayTextShowsTheCurrentEntry) {
    RecordingMenu menu(CRect(0, 0, 47, 12), nullptr, 10, nullptr, nullptr, 256, 0, true);
    EXPECT_EQ(shownText(menu), ""); // no entries yet
    for (const char* title : {"Left", "Right", "L + R", "L - R"})
        menu.addEntry(title);
    menu.setCurrent(2);
    EXPECT_EQ(shownText(menu), "L + R");
    menu.setString(" ");
    EXPECT_EQ(shownText(menu), " ");
    menu.setString(nullptr);
    EXPECT_EQ(shownText(menu), " ");
    menu.setString("Nice Start");
    EXPECT_EQ(shownText(menu), "Nice Start");
}

TEST(MenuText, SetStringKeeps127Characters) {
    myOptionMenu menu(CRect(0, 0, 47, 12), nullptr, 10, nullptr, nullptr, 256, 0, true);
    const std::string longName(300, 'n');
    menu.setString(longName.c_str());
    EXPECT_EQ(std::strlen(menu.getString()), 127u);
}

TEST(MenuText, TheMenuWithTag9998ShowsOnlyItsBitmap) {
    RecordingMenu menu(CRect(0, 0, 44, 16), nullptr, kTagByIdentity, nullptr, nullptr, 256, 0,
                       true);
    menu.addEntry("load ECS");
    shownText(menu);
    EXPECT_EQ(menu.calls, 0);
}

TEST(MenuText, FontsFollowTheScaleAndThePresetFont) {
    const double programSizes[] = {12, 14, 18}, menuSizes[] = {10, 12, 14};
    for (int scale = 0; scale < 3; ++scale) {
        RecordingMenu program(CRect(0, 0, 151, 20), nullptr, kTagNoParameter, nullptr, nullptr, 256,
                              scale, false);
        program.setPresetFont();
        program.setString("Default");
        shownText(program);
        EXPECT_EQ(program.font->getSize(), programSizes[scale]);
        EXPECT_EQ(program.colour, PRESET_COLOUR);

        RecordingMenu mono(CRect(0, 0, 47, 12), nullptr, 10, nullptr, nullptr, 256, scale, true);
        mono.setString("Left");
        shownText(mono);
        EXPECT_EQ(mono.font->getSize(), menuSizes[scale]);
        EXPECT_EQ(mono.colour, TEXT_COLOUR);
    }
}

class MenuPress : public ::testing::Test {
protected:
    myOptionMenu* makeMenu(int32_t tag, double x) {
        auto* menu = editor.place(new myOptionMenu(CRect(x, 10, x + 47, 22), nullptr, tag, nullptr,
                                                   nullptr, 256, 0, true));
        for (const char* title : {"Left", "Right", "L + R", "L - R"})
            menu->addEntry(title);
        return menu;
    }
    StandInEditor editor;
};

TEST_F(MenuPress, ALeftPressPopsUpAndIsPressedUntilTheRelease) {
    myOptionMenu* menu = makeMenu(10, 10);
    EXPECT_EQ(editor.press(20, 15, L), kMouseEventHandled);
    EXPECT_TRUE(editor.menuPressed);
    EXPECT_EQ(editor.frame->getOpenMenu(), menu);
    EXPECT_TRUE(menu->isEditing());
    editor.release(20, 15, L);
    EXPECT_FALSE(editor.menuPressed);
    EXPECT_FALSE(menu->isEditing());
    EXPECT_TRUE(editor.frame->isMenuOpen()); // the choice is made after the release
    editor.frame->finishMenu(menu, 3);
    ASSERT_EQ(editor.reports.size(), 1u);
    EXPECT_FLOAT_EQ(editor.reports[0].value, 3.0f);
}

TEST_F(MenuPress, ARightClickOnAParameterMenuOpensTheLearnMenuAndLeavesNoPressBehind) {
    myOptionMenu* menu = makeMenu(10, 10);
    menu->setCurrent(1);
    for (int32_t buttons : {int32_t(kRButton), L | kControlKey}) {
        editor.learnMenus.clear();
        EXPECT_EQ(editor.press(20, 15, buttons), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
        ASSERT_EQ(editor.learnMenus.size(), 1u);
        EXPECT_EQ(editor.learnMenus[0], menu);
        EXPECT_FALSE(editor.frame->isMenuOpen());
        EXPECT_FLOAT_EQ(menu->getValue(), 1.0f);
        // The learn menu took the release: arrow keys must work again all the same.
        EXPECT_FALSE(editor.menuPressed);
    }
}

TEST_F(MenuPress, ARightClickOnTheEcsOrProgramMenuPopsItUp) {
    myOptionMenu* ecs = makeMenu(kTagByIdentity, 10);
    makeMenu(kTagNoParameter, 100);
    editor.press(20, 15, kRButton);
    EXPECT_TRUE(editor.learnMenus.empty());
    EXPECT_EQ(editor.frame->getOpenMenu(), ecs);
    editor.release(20, 15, kRButton);
    EXPECT_FALSE(editor.menuPressed);
    editor.frame->dismissMenu();
    editor.press(110, 15, kRButton);
    EXPECT_TRUE(editor.learnMenus.empty());
    EXPECT_TRUE(editor.frame->isMenuOpen());
}

TEST_F(MenuPress, AModifierClickTakenByTheListenerEndsThePress) {
    makeMenu(10, 10);
    editor.modifierAnswer = 1;
    EXPECT_EQ(editor.press(20, 15, L | kShift), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_EQ(editor.modifierClicks, 1);
    EXPECT_FALSE(editor.frame->isMenuOpen());
    EXPECT_FALSE(editor.menuPressed);
}

TEST_F(MenuPress, AMiddlePressPopsNothingAndItsReleaseClearsThePress) {
    makeMenu(kTagNoParameter, 10);
    EXPECT_EQ(editor.press(20, 15, kMButton), kMouseEventHandled);
    EXPECT_FALSE(editor.frame->isMenuOpen());
    EXPECT_TRUE(editor.menuPressed);
    editor.release(20, 15, kMButton);
    EXPECT_FALSE(editor.menuPressed);
}

TEST(MenuWithoutEditor, IgnoresPresses) {
    ForeignEditor foreign;
    auto* frame = new CFrame(CRect(0, 0, 100, 100), &foreign);
    auto* menu =
        new myOptionMenu(CRect(10, 10, 57, 22), nullptr, 10, nullptr, nullptr, 256, 0, true);
    menu->addEntry("Left");
    frame->addView(menu);
    CPoint where(20, 15);
    EXPECT_EQ(frame->onMouseDown(where, L), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_FALSE(frame->isMenuOpen());
    frame->close();
}

} // namespace
