// SPDX-License-Identifier: GPL-3.0-or-later
// The toolkit's behaviour through synthetic events on a frame without a window, and its
// drawing into an image.
#include "toolkit/Toolkit.h"
#include "tests/gui/TestImages.h"

#include <cairo.h>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {
using namespace orvgui;
namespace images = orvane::testimages;

struct RecordingEditor : EditorInterface {
    void beginEdit(int32_t index) override { begins.push_back(index); }
    void endEdit(int32_t index) override { ends.push_back(index); }
    int32_t getKnobMode() const override { return mode; }
    std::vector<int32_t> begins, ends;
    int32_t mode = kLinearMode;
};

struct Change {
    CControl* control;
    float value;
    int32_t index; // current index for menus
};

struct RecordingListener : IControlListener {
    void valueChanged(CControl* control) override {
        auto* menu = dynamic_cast<COptionMenu*>(control);
        changes.push_back({control, control->getValue(), menu ? menu->getCurrentIndex() : -1});
        if (onChange) onChange(control);
    }
    std::vector<Change> changes;
    std::function<void(CControl*)> onChange;
};

struct RecordingHook : IKeyboardHook {
    int32_t onKeyDown(const VstKeyCode& code, CFrame*) override {
        keys.push_back(code.virt);
        return code.virt == VKEY_DOWN ? 1 : -1;
    }
    int32_t onKeyUp(const VstKeyCode&, CFrame*) override { return -1; }
    std::vector<int> keys;
};

// A view that opens a menu at the press point, like a context menu.
struct ContextView : CView {
    ContextView(const CRect& size, COptionMenu* menu, CMouseEventResult answer)
        : CView(size), menu(menu), answer(answer) {}
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState&) override {
        CPoint at = where;
        menu->popup(getFrame(), localToFrame(at),
                    [this](COptionMenu* closed) { results.push_back(closed->getLastResult()); });
        return answer;
    }
    CMouseEventResult onMouseUp(CPoint&, const CButtonState&) override {
        ++releases;
        return kMouseEventHandled;
    }
    COptionMenu* menu;
    CMouseEventResult answer;
    std::vector<int32_t> results;
    int releases = 0;
};

class Image {
public:
    Image(int width, int height)
        : surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
          cairo(cairo_create(surface)) {}
    ~Image() {
        cairo_destroy(cairo);
        cairo_surface_destroy(surface);
    }
    void render(CFrame* frame) {
        CDrawContext context(cairo);
        frame->drawRect(&context, frame->getViewSize());
        cairo_surface_flush(surface);
    }
    CColor pixel(int x, int y) const {
        const unsigned char* data = cairo_image_surface_get_data(surface);
        const auto p = *reinterpret_cast<const uint32_t*>(
            data + y * cairo_image_surface_get_stride(surface) + 4 * x);
        return {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                static_cast<uint8_t>(p), static_cast<uint8_t>(p >> 24)};
    }
    // The bounding box of the pixels in region that differ from colour.
    CRect extentOtherThan(const CRect& region, const CColor& colour) const {
        CRect box(1e6, 1e6, -1e6, -1e6);
        for (int y = int(region.top); y < int(region.bottom); ++y)
            for (int x = int(region.left); x < int(region.right); ++x)
                if (pixel(x, y) != colour) {
                    box.left = std::min<CCoord>(box.left, x);
                    box.top = std::min<CCoord>(box.top, y);
                    box.right = std::max<CCoord>(box.right, x + 1);
                    box.bottom = std::max<CCoord>(box.bottom, y + 1);
                }
        return box;
    }
    cairo_t* context() const { return cairo; }

private:
    cairo_surface_t* surface;
    cairo_t* cairo;
};

class FrameTest : public testing::Test {
protected:
    ~FrameTest() override {
        if (frame) frame->forget();
    }
    CMouseEventResult down(CCoord x, CCoord y, int32_t buttons = kLButton) {
        CPoint p(x, y);
        return frame->onMouseDown(p, buttons);
    }
    CMouseEventResult move(CCoord x, CCoord y, int32_t buttons = kLButton) {
        CPoint p(x, y);
        return frame->onMouseMoved(p, buttons);
    }
    CMouseEventResult up(CCoord x, CCoord y, int32_t buttons = kLButton) {
        CPoint p(x, y);
        return frame->onMouseUp(p, buttons);
    }
    int32_t key(unsigned char virt) {
        VstKeyCode code{0, virt, 0};
        return frame->onKeyDown(code);
    }
    CAnimKnob* addKnob(int32_t tag = 5) {
        auto* film = new CBitmap(images::kKnobFilm);
        auto* knob =
            new CAnimKnob(CRect(100, 100, 160, 160), &listener, tag, images::kKnobFrames, 60, film);
        film->forget();
        frame->addView(knob);
        return knob;
    }
    COptionMenu* addMenu() {
        auto* menu = new COptionMenu(CRect(20, 20, 140, 44), &listener, 3);
        for (const char* title : {"Alpha", "-", "Beta", "-GDisabled", "Gamma"})
            menu->addEntry(title);
        sub = new COptionMenu(CRect(), &listener, 9999);
        sub->addEntry("Sub 1");
        sub->addEntry("Sub 2");
        menu->addEntry(sub, "More");
        sub->forget();
        frame->addView(menu);
        return menu;
    }

    RecordingEditor editor;
    RecordingListener listener;
    CFrame* frame = new CFrame(CRect(0, 0, 400, 300), &editor);
    COptionMenu* sub = nullptr;
};

TEST_F(FrameTest, LinearKnobDragFollowsTheMouseAndRebasesWhenShiftChanges) {
    CAnimKnob* knob = addKnob();
    knob->setValue(0);
    EXPECT_EQ(down(130, 130), kMouseEventHandled);
    move(130, 80); // 50 px up
    EXPECT_FLOAT_EQ(knob->getValue(), 0.25f);
    move(155, 55); // plus 25 right and 25 up: both directions add
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f);
    move(155, 45, kLButton | kShift); // fine: 10 px more is a 50th of the normal step
    EXPECT_NEAR(knob->getValue(), 0.501f, 1e-5);
    move(155, 35); // shift released: the normal rate resumes from there, without a jump
    EXPECT_NEAR(knob->getValue(), 0.551f, 1e-5);
    move(390, 290); // far outside the knob, the drag still belongs to it
    EXPECT_NEAR(knob->getValue(), 0.551f + (290 - 35) * -0.005f + (390 - 155) * 0.005f, 1e-4);
    move(155, -400);
    EXPECT_FLOAT_EQ(knob->getValue(), 1.0f) << "clamped at the top";
    up(155, -400);
    EXPECT_EQ(editor.begins, std::vector<int32_t>{5});
    EXPECT_EQ(editor.ends, std::vector<int32_t>{5});
    ASSERT_FALSE(listener.changes.empty());
    EXPECT_FLOAT_EQ(listener.changes.back().value, 1.0f);
    const size_t reported = listener.changes.size();
    move(130, 130, 0);
    EXPECT_EQ(listener.changes.size(), reported) << "hovering after the release changes nothing";
}

TEST_F(FrameTest, CircularKnobFollowsTheAngleAndSticksToTheEndItCameFrom) {
    editor.mode = kCircularMode;
    CAnimKnob* knob = addKnob();
    CPoint top(30, 0), left(0, 30), right(60, 30), lowerLeft(5, 58), lowerRight(55, 58);
    EXPECT_NEAR(knob->valueFromPoint(top), 0.5f, 1e-5);
    EXPECT_NEAR(knob->valueFromPoint(left), 1.0f / 6, 1e-5);
    EXPECT_NEAR(knob->valueFromPoint(right), 5.0f / 6, 1e-5);
    EXPECT_EQ(knob->valueFromPoint(lowerLeft), 0.0f);
    EXPECT_EQ(knob->valueFromPoint(lowerRight), 1.0f);

    down(159, 130); // right edge: 5/6
    EXPECT_NEAR(knob->getValue(), 5.0f / 6, 1e-4);
    move(155, 158); // into the dead zone at the lower right: max
    move(105, 158); // straight across the gap to the lower left: still max
    EXPECT_EQ(knob->getValue(), 1.0f);
    up(105, 158);
}

TEST_F(FrameTest, ControlClickSetsTheDefaultValueOnceInsideOneGesture) {
    CAnimKnob* knob = addKnob();
    knob->setDefaultValue(0.25f);
    knob->setValue(0.9f);
    EXPECT_EQ(down(130, 130, kLButton | kControl),
              kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.25f);
    ASSERT_EQ(listener.changes.size(), 1u);
    EXPECT_EQ(editor.begins.size(), 1u);
    EXPECT_EQ(editor.ends.size(), 1u);
    EXPECT_FALSE(knob->isEditing());
    // Control with Shift is not the default-value click.
    EXPECT_FALSE(knob->checkDefaultValue(kLButton | kControl | kShift));
}

TEST_F(FrameTest, KickButtonReportsOneThenZeroOnlyWhenReleasedInside) {
    auto* kick = new CKickButton(CRect(10, 10, 70, 40), &listener, 7, nullptr);
    frame->addView(kick);
    down(20, 20);
    EXPECT_EQ(kick->getValue(), 1.0f);
    up(20, 20);
    ASSERT_EQ(listener.changes.size(), 2u);
    EXPECT_EQ(listener.changes[0].value, 1.0f);
    EXPECT_EQ(listener.changes[1].value, 0.0f);

    listener.changes.clear();
    down(20, 20);
    move(200, 200); // dragged off: released state
    EXPECT_EQ(kick->getValue(), 0.0f);
    up(200, 200);
    ASSERT_EQ(listener.changes.size(), 1u);
    EXPECT_EQ(listener.changes[0].value, 0.0f);
    EXPECT_EQ(editor.begins, (std::vector<int32_t>{7, 7}));
    EXPECT_EQ(editor.ends, (std::vector<int32_t>{7, 7}));
}

struct PressRecorder : CView {
    using CView::CView;
    CMouseEventResult onMouseDown(CPoint&, const CButtonState& buttons) override {
        presses.push_back(buttons);
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    std::vector<int32_t> presses;
};

TEST_F(FrameTest, OnOffTogglesOnThePressAndLetsOtherButtonsThrough) {
    auto* below = new PressRecorder(CRect(0, 0, 400, 300));
    frame->addView(below);
    auto* onOff = new COnOffButton(CRect(10, 10, 50, 50), &listener, 2, nullptr);
    frame->addView(onOff);
    EXPECT_EQ(down(20, 20), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_EQ(onOff->getValue(), 1.0f);
    up(20, 20);
    EXPECT_EQ(onOff->getValue(), 1.0f) << "the release is not watched";
    onOff->setValue(0.6f); // on from the middle of the range, like the effect's switches
    EXPECT_TRUE(onOff->isOn());
    down(20, 20);
    EXPECT_EQ(onOff->getValue(), 0.0f);
    down(20, 20, kRButton); // not the switch's: reaches the view below
    up(20, 20, kRButton);
    EXPECT_EQ(onOff->getValue(), 0.0f);
    EXPECT_EQ(below->presses, std::vector<int32_t>{kRButton});
}

TEST_F(FrameTest, MenuEntriesFollowTheSeparatorAndDisabledConventions) {
    COptionMenu* menu = addMenu();
    ASSERT_EQ(menu->getNbEntries(), 6);
    EXPECT_TRUE(menu->getEntry(1)->isSeparator());
    EXPECT_FALSE(menu->getEntry(3)->isEnabled());
    EXPECT_EQ(menu->getEntry(3)->getTitle(), "Disabled");
    EXPECT_EQ(menu->getSubMenu(5), sub);
    EXPECT_TRUE(menu->setCurrent(3, false)); // the fourth entry not counting separators
    EXPECT_EQ(menu->getCurrent()->getTitle(), "Gamma");
    EXPECT_EQ(menu->getCurrentIndex(), 3);
    EXPECT_EQ(menu->getCurrentIndex(true), 4);
    menu->setValue(99);
    EXPECT_EQ(menu->getCurrent()->getTitle(), "More") << "values are clamped to the entries";
    EXPECT_FALSE(menu->setCurrent(6, false));
    auto* empty = new COptionMenu();
    EXPECT_FALSE(empty->popup(frame, CPoint(0, 0)));
    EXPECT_EQ(empty->getCurrent(), nullptr);
    EXPECT_EQ(empty->getCurrentIndex(), -1);
    empty->forget();
}

TEST_F(FrameTest, MenuChoiceByMouseReportsTheEntryAndClosesTheOverlay) {
    COptionMenu* menu = addMenu();
    down(30, 30);
    up(30, 30);
    ASSERT_TRUE(frame->isMenuOpen());
    EXPECT_TRUE(listener.changes.empty()) << "the opening click chose nothing";
    // The list opens under the control: one border pixel, then 18-pixel rows.
    down(40, 44 + 1 + 9);
    EXPECT_TRUE(frame->isMenuOpen()) << "entries are chosen on the release";
    up(40, 44 + 1 + 9);
    EXPECT_FALSE(frame->isMenuOpen());
    ASSERT_EQ(listener.changes.size(), 1u);
    EXPECT_EQ(listener.changes[0].control, menu);
    EXPECT_EQ(listener.changes[0].index, 0);
    EXPECT_EQ(menu->getLastResult(), 0);
    EXPECT_EQ(editor.begins, std::vector<int32_t>{3}) << "the choice is one gesture";
    EXPECT_EQ(editor.ends, std::vector<int32_t>{3});
}

TEST_F(FrameTest, MenuKeysSkipSeparatorsAndDisabledEntriesAndReachSubMenus) {
    COptionMenu* menu = addMenu();
    RecordingHook hook;
    frame->registerKeyboardHook(&hook);
    ASSERT_TRUE(menu->doPopup());
    key(VKEY_DOWN); // Alpha
    key(VKEY_DOWN); // Beta
    key(VKEY_DOWN); // Gamma (past the disabled entry)
    key(VKEY_RETURN);
    ASSERT_EQ(listener.changes.size(), 1u);
    EXPECT_EQ(listener.changes[0].index, 3);
    EXPECT_EQ(menu->getCurrent()->getTitle(), "Gamma");
    EXPECT_TRUE(hook.keys.empty()) << "an open menu takes every key";

    menu->doPopup();
    for (int i = 0; i < 4; ++i)
        key(VKEY_DOWN); // More
    key(VKEY_RIGHT);    // opens it on Sub 1
    key(VKEY_DOWN);
    key(VKEY_RETURN);
    ASSERT_EQ(listener.changes.size(), 2u);
    EXPECT_EQ(listener.changes[1].control, sub);
    EXPECT_EQ(listener.changes[1].index, 1);
    int32_t index = -1;
    EXPECT_EQ(menu->getLastItemMenu(index), sub);
    EXPECT_EQ(index, 1);

    menu->doPopup();
    key(VKEY_ESCAPE);
    EXPECT_FALSE(frame->isMenuOpen());
    EXPECT_EQ(menu->getLastResult(), -1);
    EXPECT_EQ(listener.changes.size(), 2u);
    key(VKEY_DOWN);
    EXPECT_EQ(hook.keys, std::vector<int>{VKEY_DOWN}) << "keys reach the hook again";
}

TEST_F(FrameTest, TheReleaseOfThePressThatOpenedAMenuChoosesNothing) {
    for (CMouseEventResult answer :
         {kMouseEventHandled, kMouseDownEventHandledButDontNeedMovedOrUpEvents}) {
        auto* menu = new COptionMenu();
        menu->addEntry("One");
        menu->addEntry("Two");
        auto* view = new ContextView(CRect(0, 0, 400, 300), menu, answer);
        frame->addView(view);
        down(50, 50); // the list opens with its first entry under the pointer
        move(52, 55);
        up(52, 55);
        EXPECT_TRUE(frame->isMenuOpen());
        EXPECT_TRUE(view->results.empty());
        EXPECT_EQ(view->releases, answer == kMouseEventHandled ? 1 : 0);
        down(52, 55);
        up(52, 55);
        EXPECT_FALSE(frame->isMenuOpen());
        EXPECT_EQ(view->results, std::vector<int32_t>{0});
        frame->removeView(view);
        menu->forget();
    }
}

TEST_F(FrameTest, APressOutsideTheMenuDismissesItWithoutReachingTheViewsBelow) {
    auto* kick = new CKickButton(CRect(200, 200, 260, 230), &listener, 7, nullptr);
    frame->addView(kick);
    auto* menu = new COptionMenu();
    menu->addEntry("One");
    int calls = 0, result = 0;
    menu->popup(frame, CPoint(10, 10), [&](COptionMenu* closed) {
        ++calls;
        result = closed->getLastResult();
    });
    down(210, 210);
    up(210, 210);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(result, -1);
    EXPECT_TRUE(listener.changes.empty());
    menu->forget();
}

TEST_F(FrameTest, ClosingTheFrameWithAMenuOpenSkipsTheCallbackAndFreesTheMenu) {
    auto* menu = new COptionMenu();
    menu->addEntry("One");
    frame->addView(menu); // the frame owns it, as a context menu would be owned
    bool called = false;
    menu->popup(frame, CPoint(10, 10), [&](COptionMenu*) { called = true; });
    frame->close(); // releases the frame too (checked by the sanitizer build)
    frame = nullptr;
    EXPECT_FALSE(called);
}

TEST_F(FrameTest, KeyboardHooksComeBeforeTheFocusedControl) {
    CAnimKnob* knob = addKnob();
    knob->setValue(0.5f);
    RecordingHook hook;
    frame->registerKeyboardHook(&hook);
    down(130, 130);
    up(130, 130); // the knob now has the focus
    EXPECT_EQ(frame->getFocusView(), knob);
    EXPECT_EQ(key(VKEY_DOWN), 1);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f) << "the hook used the key";
    EXPECT_EQ(key(VKEY_UP), 1);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.6f) << "the hook passed it on to the knob";
    frame->looseFocus();
    EXPECT_EQ(key(VKEY_UP), -1);
    frame->unregisterKeyboardHook(&hook);
    key(VKEY_DOWN);
    EXPECT_EQ(hook.keys.size(), 3u);
}

TEST_F(FrameTest, DrawingPicksFilmFramesSwitchHalvesAndBitmapRegions) {
    auto* background = new CBitmap(images::kBackgroundImage);
    frame->setBackground(background);
    background->forget();
    CAnimKnob* knob = addKnob();
    auto* lamp = new CBitmap(images::kSwitchImage);
    auto* onOff = new COnOffButton(CRect(200, 100, 240, 140), &listener, 2, lamp);
    lamp->forget();
    frame->addView(onOff);
    Image image(400, 300);

    knob->setValue(1);
    onOff->setValue(1);
    image.render(frame);
    EXPECT_EQ(image.pixel(5, 5), images::kBackgroundColour);
    EXPECT_EQ(image.pixel(130, 130), images::knobFrameColour(136));
    EXPECT_EQ(image.pixel(159, 159), images::knobFrameColour(136));
    EXPECT_EQ(image.pixel(160, 160), images::kBackgroundColour) << "nothing beyond the view";
    EXPECT_EQ(image.pixel(220, 120), images::kOnColour);

    knob->setValue(0.5f);
    onOff->setValue(0);
    image.render(frame);
    EXPECT_EQ(image.pixel(130, 100), images::knobFrameColour(68));
    EXPECT_EQ(image.pixel(220, 139), images::kOffColour);
    knob->setInverseBitmap(true);
    knob->setValue(0);
    image.render(frame);
    EXPECT_EQ(image.pixel(130, 130), images::knobFrameColour(136));
}

TEST_F(FrameTest, TextIsCentredInItsRectangleAndBadUtf8DoesNotStopDrawing) {
    auto* display = new CParamDisplay(CRect(50, 50, 250, 90), nullptr, kNoFrame);
    display->setValue(0.5f);
    frame->addView(display);
    Image image(400, 300);
    image.render(frame);
    const CRect box = image.extentOtherThan(CRect(50, 50, 250, 90), kBlackCColor);
    ASSERT_FALSE(box.isEmpty()) << "the text was drawn";
    EXPECT_NEAR((box.left + box.right) / 2, 150, 2);
    EXPECT_NEAR((box.top + box.bottom) / 2, 70, 2);
    EXPECT_LT(box.getHeight(), 14) << "12-pixel Arial";

    CDrawContext context(image.context());
    context.setFontColor(kWhiteCColor);
    context.drawString("bad \xff\xfe name", CRect(0, 200, 200, 230), kLeftText);
    context.setFillColor(CColor{1, 2, 3, 255});
    context.drawRect(CRect(300, 200, 310, 210), kDrawFilled);
    cairo_surface_flush(cairo_get_target(image.context()));
    EXPECT_EQ(cairo_status(image.context()), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(image.pixel(305, 205), (CColor{1, 2, 3, 255}));
}

TEST_F(FrameTest, StrokedRectanglesCoverTheirPixelsExactly) {
    Image image(400, 300);
    CDrawContext context(image.context());
    context.setFrameColor(kWhiteCColor);
    context.setLineWidth(1);
    context.drawRect(CRect(10, 10, 19, 19)); // as a text button outlines (right - 1, bottom - 1)
    cairo_surface_flush(cairo_get_target(image.context()));
    EXPECT_EQ(image.pixel(10, 10), kWhiteCColor);
    EXPECT_EQ(image.pixel(19, 15), kWhiteCColor);
    EXPECT_EQ(image.pixel(15, 19), kWhiteCColor);
    EXPECT_EQ(image.pixel(20, 15).alpha, 0);
    EXPECT_EQ(image.pixel(15, 15).alpha, 0);
}

TEST_F(FrameTest, OnlyDirtyViewsAreRedrawnAndNestedRectanglesLandInFrameCoordinates) {
    CAnimKnob* knob = addKnob();
    auto* slot = new CViewContainer(CRect(200, 150, 300, 200));
    auto* inner = new CParamDisplay(CRect(10, 5, 50, 25));
    slot->addView(inner);
    frame->addView(slot);
    Image image(400, 300);
    image.render(frame);
    frame->takeDirtyRect();
    frame->idle();
    EXPECT_TRUE(frame->getDirtyRect().isEmpty()) << "nothing changed";

    knob->setValue(0.7f);
    frame->idle();
    EXPECT_EQ(frame->takeDirtyRect(), CRect(100, 100, 160, 160));
    inner->setValue(0.3f);
    frame->idle();
    EXPECT_EQ(frame->takeDirtyRect(), CRect(210, 155, 250, 175));
    knob->setValue(0.7f);
    frame->idle();
    EXPECT_TRUE(frame->getDirtyRect().isEmpty()) << "an unchanged value is not redrawn";
}

TEST_F(FrameTest, ViewsAreFoundTopmostFirstAndAnEmptyMouseAreaLetsClicksThrough) {
    auto* kick = new CKickButton(CRect(0, 0, 400, 300), &listener, 1, nullptr);
    frame->addView(kick);
    auto* slot = new CViewContainer(CRect(100, 100, 200, 200));
    auto* label = new CParamDisplay(CRect(0, 0, 50, 20));
    slot->addView(label);
    frame->addView(slot);
    EXPECT_EQ(frame->getViewAt(CPoint(110, 110)), slot);
    EXPECT_EQ(frame->getViewAt(CPoint(110, 110), true), label);
    EXPECT_EQ(frame->getViewAt(CPoint(10, 10)), kick);
    slot->setVisible(false);
    EXPECT_EQ(frame->getViewAt(CPoint(110, 110)), kick);
    slot->setVisible(true);

    auto* readout = new CKickButton(CRect(300, 10, 350, 30), &listener, 2, nullptr);
    readout->setMouseableArea(CRect());
    frame->addView(readout);
    down(310, 20);
    up(310, 20);
    ASSERT_FALSE(listener.changes.empty());
    EXPECT_EQ(listener.changes.front().control, kick);
}

TEST_F(FrameTest, AControlRemovedByItsOwnListenerEndsTheDragSafely) {
    auto* kick = new CKickButton(CRect(10, 10, 70, 40), &listener, 7, nullptr);
    frame->addView(kick);
    listener.onChange = [this](CControl* control) { frame->removeView(control, true); };
    down(20, 20);
    up(20, 20); // the first report removes and releases the button
    EXPECT_EQ(frame->getNbViews(), 0);
    move(25, 25);
    up(25, 25);
    EXPECT_EQ(listener.changes.size(), 2u) << "the release finished its reports";
}

struct CrossingView : CView {
    using CView::CView;
    CMouseEventResult onMouseEntered(CPoint&, const CButtonState&) override {
        log += "in ";
        return kMouseEventHandled;
    }
    CMouseEventResult onMouseExited(CPoint&, const CButtonState&) override {
        log += "out ";
        return kMouseEventHandled;
    }
    std::string log;
};

TEST_F(FrameTest, EnterAndLeaveFollowThePointerButNotDuringADrag) {
    auto* view = new CrossingView(CRect(10, 10, 50, 50));
    frame->addView(view);
    addKnob();
    move(20, 20, 0);
    move(30, 30, 0);
    move(80, 80, 0);
    EXPECT_EQ(view->log, "in out ");
    move(120, 120, 0);
    down(120, 120);
    move(20, 20);
    EXPECT_EQ(view->log, "in out ") << "the drag keeps the pointer with the knob";
    up(20, 20);
    EXPECT_EQ(view->log, "in out in ");
    CPoint outside(500, 20);
    frame->onMouseExited(outside, 0);
    EXPECT_EQ(view->log, "in out in out ");
    CPoint where;
    frame->getCurrentMouseLocation(where);
    EXPECT_EQ(where, outside);
}

TEST(Bitmap, MissingMalformedOrDamagedImagesDrawNothing) {
    auto* good = new CBitmap(images::kSwitchImage);
    ASSERT_TRUE(good->isLoaded());
    EXPECT_EQ(good->getWidth(), 40);
    EXPECT_EQ(good->getHeight(), 80);
    for (int number : {424242, int(images::kMalformedImage), int(images::kTruncatedImage)}) {
        CBitmap bitmap(number);
        EXPECT_FALSE(bitmap.isLoaded()) << number;
        EXPECT_EQ(bitmap.getWidth(), 0) << number;
    }
    // Damage inside the pixels is found only when they are unpacked: that part stays clear.
    auto* damaged = new CBitmap(images::kDamagedImage);
    ASSERT_TRUE(damaged->isLoaded());
    Image image(40, 80);
    CDrawContext context(image.context());
    context.drawBitmap(damaged, CRect(0, 0, 40, 80));
    EXPECT_EQ(image.pixel(20, 70).alpha, 0);
    context.drawBitmap(good, CRect(0, 0, 40, 80));
    EXPECT_EQ(image.pixel(20, 70), images::kOnColour);
    damaged->forget();
    good->forget();
}

TEST(GUIEditor, TicksComeFromAMonotonicMillisecondClock) {
    AEffGUIEditor editor(nullptr);
    const uint32_t before = editor.getTicks();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const uint32_t after = editor.getTicks();
    EXPECT_GE(after - before, 30u);
    EXPECT_LT(after - before, 5000u);
    ERect* rect = nullptr;
    EXPECT_TRUE(editor.getRect(&rect));
    EXPECT_NE(rect, nullptr);
    EXPECT_FALSE(editor.getRect(nullptr));
    editor.idle(); // nothing open: nothing happens
    VstKeyCode code{0, VKEY_DOWN, 0};
    EXPECT_FALSE(editor.onKeyDown(code));
}

} // namespace
