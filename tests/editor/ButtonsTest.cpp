// SPDX-License-Identifier: GPL-3.0-or-later
// The text button, the switch and the radio button.
#include "StandInEditor.h"

#include "editor/Fonts.h"
#include "editor/myOnOff.h"
#include "editor/myRadioButton.h"
#include "editor/myTextButton.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace orvgui;
using namespace editortest;

namespace {

constexpr int32_t L = kLButton;

TEST(TextButton, ReportsOneOnThePressAndZeroOnTheRelease) {
    StandInEditor editor;
    auto* button = editor.place(new myTextButton(CRect(10, 10, 66, 24), nullptr, kTagNoParameter,
                                                 nullptr, "A", true, false, 0));
    EXPECT_EQ(editor.press(20, 15, L), kMouseEventHandled);
    editor.release(20, 15, L);
    ASSERT_EQ(editor.reports.size(), 2u);
    EXPECT_EQ(editor.reports[0].control, button);
    EXPECT_FLOAT_EQ(editor.reports[0].value, 1.0f);
    EXPECT_FLOAT_EQ(editor.reports[1].value, 0.0f);

    editor.reports.clear();
    EXPECT_EQ(editor.press(20, 15, kRButton), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    editor.release(20, 15, kRButton);
    EXPECT_TRUE(editor.reports.empty());
}

TEST(TextButton, AnEmptyMouseAreaNeverReports) {
    StandInEditor editor;
    auto* label = editor.place(new myTextButton(CRect(10, 10, 66, 24), nullptr, kTagNoParameter,
                                                nullptr, "AMOUNT", true, false, 0));
    label->setMouseableArea(CRect());
    editor.press(20, 15, L);
    editor.release(20, 15, L);
    EXPECT_TRUE(editor.reports.empty());
}

TEST(TextButton, NullTextIsABlankAndLongTextIsCut) {
    myTextButton blank(CRect(0, 0, 10, 10), nullptr, 1, nullptr, nullptr, true, false, 0);
    EXPECT_STREQ(blank.text, " ");
    const std::string longText(400, 'x');
    myTextButton cut(CRect(0, 0, 10, 10), nullptr, 1, nullptr, longText.c_str(), true, false, 7);
    EXPECT_EQ(std::strlen(cut.text), 255u);
}

TEST(TextButton, WithoutBitmapDrawsABlackFieldAndItsText) {
    myTextButton button(CRect(0, 0, 60, 20), nullptr, 1, nullptr, "HH", true, false, 2);
    Canvas canvas(60, 20);
    button.draw(&canvas.context());
    EXPECT_EQ(canvas.pixel(1, 1), kBlackCColor);
    EXPECT_EQ(canvas.pixel(59, 19), kBlackCColor);
    int lit = 0, tooBright = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) {
            const CColor p = canvas.pixel(x, y);
            lit += p.red > 60 ? 1 : 0;
            tooBright += p.red > TEXT_COLOUR.red ? 1 : 0;
        }
    EXPECT_GT(lit, 10);
    EXPECT_EQ(tooBright, 0);
}

TEST(Switch, TogglesOnThePressAsOneGesture) {
    StandInEditor editor;
    auto* onOff = editor.place(new myOnOff(CRect(10, 10, 32, 30), nullptr, 2, nullptr, 0));
    EXPECT_EQ(editor.press(15, 15, L), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    ASSERT_EQ(editor.reports.size(), 1u);
    EXPECT_FLOAT_EQ(editor.reports[0].value, 1.0f);
    EXPECT_EQ(editor.begins, 1);
    EXPECT_EQ(editor.ends, 1);
    editor.press(15, 15, L);
    EXPECT_FLOAT_EQ(onOff->getValue(), 0.0f);
    EXPECT_EQ(editor.reports.size(), 2u);
}

TEST(Switch, RightClickAndControlClickOpenTheLearnMenuWithoutToggling) {
    StandInEditor editor;
    auto* onOff = editor.place(new myOnOff(CRect(10, 10, 32, 30), nullptr, 2, nullptr, 0));
    editor.press(15, 15, kRButton);
    editor.press(15, 15, L | kControlKey);
    ASSERT_EQ(editor.learnMenus.size(), 2u);
    EXPECT_EQ(editor.learnMenus[0], onOff);
    EXPECT_EQ(editor.learnMenus[1], onOff);
    EXPECT_FLOAT_EQ(onOff->getValue(), 0.0f);
    EXPECT_TRUE(editor.reports.empty());
}

TEST(Switch, AModifierClickGoesToTheListenerFirst) {
    StandInEditor editor;
    auto* onOff = editor.place(new myOnOff(CRect(10, 10, 32, 30), nullptr, 2, nullptr, 0));
    editor.modifierAnswer = 1;
    editor.press(15, 15, L | kShift);
    EXPECT_EQ(editor.modifierClicks, 1);
    EXPECT_FLOAT_EQ(onOff->getValue(), 0.0f);
    editor.modifierAnswer = 0; // the editor's own answer: the click toggles
    editor.press(15, 15, L | kShift);
    EXPECT_FLOAT_EQ(onOff->getValue(), 1.0f);
}

TEST(Switch, IgnoresPressesWithoutAnEditorOfOurs) {
    ForeignEditor foreign;
    auto* frame = new CFrame(CRect(0, 0, 100, 100), &foreign);
    auto* onOff = new myOnOff(CRect(10, 10, 32, 30), nullptr, 2, nullptr, 0);
    frame->addView(onOff);
    CPoint where(15, 15);
    frame->onMouseDown(where, L);
    EXPECT_FLOAT_EQ(onOff->getValue(), 0.0f);
    frame->close();
}

class Radio : public ::testing::Test {
protected:
    void SetUp() override {
        // Unlit red above lit green, 18 x 18 each.
        editor.lamp = paintedBitmap(18, 36, [](cairo_t* cr) {
            cairo_set_source_rgb(cr, 1, 0, 0);
            cairo_rectangle(cr, 0, 0, 18, 18);
            cairo_fill(cr);
            cairo_set_source_rgb(cr, 0, 1, 0);
            cairo_rectangle(cr, 0, 18, 18, 18);
            cairo_fill(cr);
        });
        radio = editor.place(new myRadioButton(CRect(10, 10, 28, 28), nullptr, kTagByIdentity));
    }
    StandInEditor editor;
    myRadioButton* radio = nullptr;
};

TEST_F(Radio, TurnsOnOnceAndIgnoresFurtherClicks) {
    EXPECT_EQ(editor.press(15, 15, L), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    ASSERT_EQ(editor.reports.size(), 1u);
    EXPECT_FLOAT_EQ(editor.reports[0].value, 1.0f);
    editor.press(15, 15, L);
    editor.press(15, 15, L | kDoubleClick);
    EXPECT_EQ(editor.reports.size(), 1u);
    EXPECT_FLOAT_EQ(radio->getValue(), 1.0f);
    editor.press(15, 15, kRButton);
    EXPECT_EQ(editor.reports.size(), 1u);
}

TEST_F(Radio, DrawsTheLampsLowerHalfWhenOn) {
    Canvas canvas(40, 40);
    radio->draw(&canvas.context());
    EXPECT_EQ(canvas.pixel(19, 19), (CColor{255, 0, 0, 255}));
    radio->setValue(1);
    radio->draw(&canvas.context());
    EXPECT_EQ(canvas.pixel(19, 19), (CColor{0, 255, 0, 255}));
    EXPECT_EQ(canvas.pixel(27, 27), (CColor{0, 255, 0, 255}));
    EXPECT_EQ(canvas.pixel(28, 28).alpha, 0);
}

} // namespace
