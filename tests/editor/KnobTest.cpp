// SPDX-License-Identifier: GPL-3.0-or-later
#include "StandInEditor.h"

#include "editor/myKnob.h"

#include <gtest/gtest.h>

using namespace orvgui;
using namespace editortest;

namespace {

constexpr int32_t L = kLButton;

class Knob : public ::testing::Test {
protected:
    myKnob* makeKnob(int32_t tag, CBitmap* film, double frameHeight) {
        CPoint zero;
        auto* knob =
            new myKnob(CRect(100, 100, 144, 100 + frameHeight), &editor, tag, film, zero, 137);
        return editor.place(knob);
    }
    void SetUp() override {
        film = codedFilm(44, 44, 137);
        knob = makeKnob(1, film, 44);
        knob->setDefaultValue(0.7f);
        set(0);
    }
    void TearDown() override { film->forget(); }
    // As drawn: the toolkit only reports values that differ from the one last drawn.
    void set(float value) {
        knob->setValue(value);
        knob->setDirty(false);
    }
    // Frame index shown at the knob's centre.
    int shownFrame(myKnob* k) {
        Canvas canvas(300, 300);
        k->draw(&canvas.context());
        const CRect& r = k->getViewSize();
        return canvas.pixel(static_cast<int>(r.left + 22), static_cast<int>(r.top + 22)).red;
    }

    StandInEditor editor;
    CBitmap* film = nullptr;
    myKnob* knob = nullptr;
};

TEST_F(Knob, AFullSweepTakes200PixelsUpOrRightAndClampsAtBothEnds) {
    editor.press(120, 120, L);
    editor.move(120, 20, L);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f);
    editor.move(170, -30, L); // 50 up and 50 right more
    EXPECT_FLOAT_EQ(knob->getValue(), 1.0f);
    editor.move(120, -200, L);
    EXPECT_FLOAT_EQ(knob->getValue(), 1.0f);
    editor.move(70, 170, L); // back below the start
    EXPECT_FLOAT_EQ(knob->getValue(), 0.0f);
    editor.release(70, 170, L);

    set(0);
    editor.reports.clear();
    editor.press(120, 120, L);
    editor.move(120, 170, L);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.0f);
    EXPECT_TRUE(editor.reports.empty());
    editor.release(120, 170, L);
}

TEST_F(Knob, ADragIsOneGestureReportingEachNewValue) {
    EXPECT_EQ(editor.press(120, 120, L), kMouseEventHandled);
    EXPECT_TRUE(editor.reports.empty()); // the press alone changes nothing
    editor.move(120, 110, L);
    editor.move(120, 110, L); // same point again
    editor.move(120, 100, L);
    ASSERT_EQ(editor.reports.size(), 2u);
    EXPECT_FLOAT_EQ(editor.reports[0].value, 0.05f);
    EXPECT_FLOAT_EQ(editor.reports[1].value, 0.1f);
    EXPECT_EQ(editor.begins, 1);
    EXPECT_EQ(editor.ends, 0);
    editor.release(120, 100, L);
    EXPECT_EQ(editor.ends, 1);
}

TEST_F(Knob, ShiftMakesTheSweep10000Pixels) {
    editor.press(120, 120, L | kShift);
    editor.move(120, -80, L | kShift);
    EXPECT_NEAR(knob->getValue(), 0.02f, 1e-6);
}

TEST_F(Knob, ReleasingShiftMidDragContinuesWithoutAJump) {
    editor.press(120, 120, L | kShift);
    editor.move(120, 20, L | kShift);
    EXPECT_NEAR(knob->getValue(), 0.01f, 1e-6);
    // Shift released at a new point of the same distance: the value must not move.
    editor.move(121, 21, L);
    EXPECT_NEAR(knob->getValue(), 0.01f, 1e-6);
    editor.move(121, -79, L);
    EXPECT_NEAR(knob->getValue(), 0.51f, 1e-5);
}

TEST_F(Knob, PressingShiftMidDragContinuesWithoutAJump) {
    editor.press(120, 120, L);
    editor.move(120, 20, L);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f);
    editor.move(121, 21, L | kShift);
    EXPECT_NEAR(knob->getValue(), 0.5f, 1e-6);
    editor.move(121, -79, L | kShift);
    EXPECT_NEAR(knob->getValue(), 0.51f, 1e-5);
}

TEST_F(Knob, DoubleClickAndCommandClickSetTheDefaultAndReportItOnce) {
    set(0.2f);
    EXPECT_EQ(editor.press(120, 120, L | kDoubleClick),
              kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    ASSERT_EQ(editor.reports.size(), 1u);
    EXPECT_FLOAT_EQ(editor.reports[0].value, 0.7f);
    EXPECT_EQ(editor.begins, editor.ends);

    set(0.2f);
    editor.reports.clear();
    EXPECT_EQ(editor.press(120, 120, L | kCommandKey),
              kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    ASSERT_EQ(editor.reports.size(), 1u);
    EXPECT_FLOAT_EQ(editor.reports[0].value, 0.7f);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.7f);
    EXPECT_EQ(editor.begins, editor.ends);
    // No drag follows a default click.
    editor.move(120, 20, L | kCommandKey);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.7f);
}

TEST_F(Knob, RightClickAndControlClickOpenTheLearnMenuAndKeepTheValue) {
    set(0.3f);
    for (int32_t buttons : {int32_t(kRButton), L | kControlKey}) {
        editor.learnMenus.clear();
        editor.press(120, 120, buttons);
        editor.move(120, 20, buttons);
        editor.release(120, 20, buttons);
        ASSERT_EQ(editor.learnMenus.size(), 1u) << buttons;
        EXPECT_EQ(editor.learnMenus[0], knob);
        EXPECT_FLOAT_EQ(knob->getValue(), 0.3f);
        EXPECT_TRUE(editor.reports.empty());
        EXPECT_EQ(editor.begins, editor.ends);
    }
}

TEST_F(Knob, ATagWithoutParameterIgnoresClicks) {
    myKnob* idle = makeKnob(kTagNoParameter, film, 44);
    idle->setViewSize(CRect(300, 100, 344, 144));
    EXPECT_EQ(editor.press(320, 120, kRButton), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    editor.press(320, 120, L | kDoubleClick);
    editor.move(320, 20, L);
    EXPECT_TRUE(editor.learnMenus.empty());
    EXPECT_TRUE(editor.reports.empty());
    EXPECT_EQ(editor.begins, 0);
}

TEST_F(Knob, RightClickWithoutAnEditorOfOursOnlyClosesTheGesture) {
    ForeignEditor foreign;
    auto* frame = new CFrame(CRect(0, 0, 200, 200), &foreign);
    CPoint zero;
    auto* lone = new myKnob(CRect(0, 0, 44, 44), nullptr, 1, film, zero, 137);
    frame->addView(lone);
    CPoint where(10, 10);
    EXPECT_EQ(frame->onMouseDown(where, kRButton), kMouseEventHandled);
    EXPECT_FALSE(lone->isEditing());
    frame->close();
}

TEST_F(Knob, FilmFramesForWholeImageHeights) {
    for (auto [value, frame] : {std::pair{0.0f, 0}, {0.5f, 68}, {1.0f, 136}}) {
        knob->setValue(value);
        EXPECT_EQ(shownFrame(knob), frame) << value;
    }
    knob->setInverseBitmap(true);
    knob->setValue(1.0f);
    EXPECT_EQ(shownFrame(knob), 0);
}

TEST_F(Knob, FilmFramesForFractionalImageHeights) {
    // 137 images of 66.0073 pixels: pixel positions are truncated before the frame is chosen,
    // which picks the frame below the exact one at 0.5 and 1.
    const double h = 9043.0 / 137;
    CBitmap* odd = codedFilm(44, h, 137);
    myKnob* k = makeKnob(3, odd, h);
    k->setViewSize(CRect(200, 100, 244, 100 + h));
    for (auto [value, frame] : {std::pair{0.0f, 0}, {0.5f, 67}, {1.0f, 135}}) {
        k->setValue(value);
        Canvas canvas(300, 300);
        k->draw(&canvas.context());
        EXPECT_EQ(canvas.pixel(222, 101).red, frame) << value;
        EXPECT_EQ(canvas.pixel(222, 165).red, frame) << value; // the view's last whole row
    }
    odd->forget();
}

} // namespace
