#include "tests/gui/ControlsDemo.h"

#include "editor/myKnob.h"
#include "editor/myOnOff.h"
#include "editor/myOptionMenu.h"
#include "editor/myRadioButton.h"
#include "editor/myTextButton.h"
#include "editor/myVu.h"

namespace orvane::guitest {

using namespace orvgui;

namespace {
constexpr double FACTORS[] = {1.0, 1.5, 2.0};
constexpr int FILM_FRAMES = 137;

// A bitmap shown whole: every state of a button, the full film of nothing.
class BitmapView : public CView {
public:
    BitmapView(const CRect& size, CBitmap* bitmap) : CView(size) { setBackground(bitmap); }
    void draw(CDrawContext* context) override { context->drawBitmap(background, size); }
};
} // namespace

ControlsDemo::ControlsDemo(Page page, int scaleIndex)
    : scaleIndex(scaleIndex), factor(FACTORS[scaleIndex]) {
    lamp = bitmap(17);
    meter = bitmap(13);
    CBitmap* face = bitmap(page == Page::kFace ? 0 : 1);
    const double shelfWidth = page == Page::kFace ? 0 : 400;
    frame = new CFrame(CRect(0, 0, face->getWidth() + scaled(shelfWidth), face->getHeight()), this);
    if (page == Page::kFace) {
        frame->setBackground(face);
        buildFace();
    } else {
        frame->setBackgroundColor({24, 24, 28, 255});
        frame->addView(new BitmapView(CRect(0, 0, face->getWidth(), face->getHeight()), face));
        buildShelf();
    }
}

ControlsDemo::~ControlsDemo() {
    frame->close();
    for (auto& entry : bitmaps)
        entry.second->forget();
}

CBitmap* ControlsDemo::bitmap(int k) {
    auto found = bitmaps.find(k);
    if (found != bitmaps.end()) return found->second;
    auto* loaded = new CBitmap(10000 + 1000 * scaleIndex + k);
    bitmaps[k] = loaded;
    return loaded;
}

CRect ControlsDemo::at(double x, double y, double width, double height) const {
    const CCoord left = scaled(x), top = scaled(y);
    return CRect(left, top, left + width, top + height);
}

CRect ControlsDemo::placeOf(int k, std::size_t index) const {
    auto found = shelf.find(k);
    return found == shelf.end() || index >= found->second.size() ? CRect() : found->second[index];
}

void ControlsDemo::buildFace() {
    CPoint zero;
    auto kick = [&](double x, double y, int k) {
        CBitmap* b = bitmap(k);
        frame->addView(
            new CKickButton(at(x, y, b->getWidth(), b->getHeight() / 2), this, kTagNoParameter, b));
    };
    kick(213, 32, 2);
    kick(35, 33, 42);
    kick(31, 62, 43);
    kick(112, 33, 44);
    kick(92, 116, 20);
    kick(102, 116, 21);
    kick(28, 183, 16); // memory A in use
    kick(67, 183, 17);
    kick(118, 183, 17);
    kick(157, 183, 17);
    kick(233, 183, 17);

    CBitmap* ecsImage = bitmap(45);
    auto* ecs = new myOptionMenu(at(120, 62, ecsImage->getWidth(), ecsImage->getHeight() / 2), this,
                                 kTagByIdentity, ecsImage, nullptr, 256, scaleIndex, true);
    for (const char* title : {"load ECS", "save ECS", "clear MIDI"})
        ecs->addEntry(title);
    frame->addView(ecs);

    CBitmap* programImage = bitmap(14);
    auto* program = new myOptionMenu(
        at(118, 112, programImage->getWidth() - scaled(9), programImage->getHeight()), this,
        kTagNoParameter, programImage, nullptr, 256, scaleIndex, false);
    program->setPresetFont();
    program->addEntry("Nice Start");
    program->setString("Mid and High Air");
    frame->addView(program);

    auto onOff = [&](double x, double y, int k, int32_t tag, float value) {
        CBitmap* b = bitmap(k);
        auto* view = new myOnOff(at(x, y, b->getWidth(), b->getHeight() / 2), this, tag, b, 0);
        view->setValue(value);
        frame->addView(view);
    };
    onOff(424, 110, 46, 40, 0);
    onOff(23, 239, 47, 2, 1);
    onOff(26, 336, 48, 5, 1);
    onOff(138, 388, 17, 6, 0);
    onOff(138, 409, 17, 8, 1);

    auto knob = [&](double x, double y, int k, int32_t tag, float value) {
        CBitmap* film = bitmap(k);
        const CCoord h = film->getHeight() / FILM_FRAMES;
        auto* view = new myKnob(at(x, y, film->getWidth(), h), this, tag, film, zero, FILM_FRAMES);
        view->setValue(value);
        frame->addView(view);
    };
    knob(413, 166, 30, 1, 0.5f);
    knob(209, 205, 31, 3, 0.35f);
    knob(413, 261, 30, 4, 0.8f);
    knob(61, 381, 30, 7, 0.2f);

    CBitmap* field = bitmap(15);
    auto readout = [&](double x, double y, const char* text) {
        frame->addView(new myTextButton(at(x, y, field->getWidth(), field->getHeight()), this,
                                        kTagNoParameter, field, text, true, false, scaleIndex));
    };
    readout(407, 214, "0.0 dB");
    readout(243, 272, "2.1 dB");
    readout(243, 288, "AMOUNT");
    readout(408, 305, "37.9 kHz");
    readout(55, 427, "236 Hz");

    const float levels[] = {0.8f, 0.55f};
    for (int i = 0; i < 2; ++i) {
        auto* vu = new myVu(at(488 + 9 * i, 163, meter->getWidth(), meter->getHeight()), this,
                            kTagNoParameter);
        vu->setInputValue(levels[i]);
        frame->addView(vu);
    }

    for (int i = 0; i < 4; ++i) {
        auto* range = new myRadioButton(
            at(354, 361 + 21 * i, lamp->getWidth(), lamp->getHeight() / 2), this, kTagByIdentity);
        range->setValue(i == 1 ? 1.0f : 0.0f);
        frame->addView(range);
    }

    CBitmap* small = bitmap(3);
    const int slotDrop[] = {0, 3, 4}, menuDrop[] = {0, 3, 3};
    auto* slot = new CViewContainer(CRect(scaled(161), scaled(411) + slotDrop[scaleIndex],
                                          scaled(161) + scaled(47),
                                          scaled(411) + slotDrop[scaleIndex] + scaled(12)));
    slot->setBackground(small);
    slot->addView(new myTextButton(CRect(0, 0, small->getWidth(), small->getHeight()), this,
                                   kTagNoParameter, small, "236 Hz", true, false, scaleIndex));
    frame->addView(slot);

    auto* mono = new myOptionMenu(CRect(scaled(154), scaled(434) + menuDrop[scaleIndex],
                                        scaled(154) + small->getWidth(),
                                        scaled(434) + menuDrop[scaleIndex] + small->getHeight()),
                                  this, 10, nullptr, nullptr, 256, scaleIndex, true);
    for (const char* title : {"Left", "Right", "L + R", "L - R"})
        mono->addEntry(title);
    mono->setCurrent(2); // shown through the current entry: no display text
    frame->addView(mono);
}

void ControlsDemo::showWhole(int k, double x, double y) {
    CBitmap* b = bitmap(k);
    const CRect place = at(550 + x, y, b->getWidth(), b->getHeight());
    shelf[k].push_back(place);
    frame->addView(new BitmapView(place, b));
}

void ControlsDemo::buildShelf() {
    showWhole(12, 10, 10);
    showWhole(14, 10, 36);
    showWhole(15, 180, 36);
    showWhole(3, 246, 36);
    showWhole(13, 380, 36);
    // Two-state images, both states.
    double x = 10;
    for (int k : {2, 16, 17, 20, 21, 40, 41, 42, 43}) {
        showWhole(k, x, 66);
        x += bitmap(k)->getWidth() / factor + 8;
    }
    x = 10;
    for (int k : {44, 45, 46, 47, 48}) {
        showWhole(k, x, 140);
        x += bitmap(k)->getWidth() / factor + 8;
    }
    // Films through the knob itself: first, middle and last frame.
    CPoint zero;
    double y = 190;
    for (int k : {30, 31}) {
        CBitmap* film = bitmap(k);
        const CCoord h = film->getHeight() / FILM_FRAMES;
        x = 10;
        for (float value : {0.0f, 0.5f, 1.0f}) {
            const CRect place = at(550 + x, y, film->getWidth(), h);
            auto* knob = new myKnob(place, this, k, film, zero, FILM_FRAMES);
            knob->setValue(value);
            shelf[k].push_back(place);
            frame->addView(knob);
            x += film->getWidth() / factor + 8;
        }
        y += h / factor + 10;
    }
}

} // namespace orvane::guitest
