#include "tests/gui/TestEffect.h"

#include "tests/gui/TestImages.h"
#include "toolkit/Toolkit.h"

#include <algorithm>
#include <cstdio>

namespace orvane::guitest {

namespace {
using namespace orvgui;
using namespace testimages;

class TestEditor;

// Reports the buttons of every press; a right press opens a context menu at the pointer.
class ProbeView : public CView {
public:
    ProbeView(const CRect& size, TestEditor& editor) : CView(size), editor(editor) {}
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

private:
    TestEditor& editor;
};

class TestEditor : public AEffGUIEditor, public IControlListener, public IKeyboardHook {
public:
    explicit TestEditor(AudioEffect* effect) : AEffGUIEditor(effect) {
        rect.right = kWidth;
        rect.bottom = kHeight;
    }

    bool open(void* parent) override {
        if (frame) return false;
        AEffGUIEditor::open(parent);
        frame = new CFrame(CRect(0, 0, kWidth, kHeight), this);
        auto* background = new CBitmap(kBackgroundImage);
        frame->setBackground(background);
        background->forget();
        if (!frame->open(parent)) {
            AEffGUIEditor::close();
            return false;
        }
        frame->registerKeyboardHook(this);
        build();
        return true;
    }

    void close() override {
        if (frame) frame->unregisterKeyboardHook(this);
        readout = nullptr;
        AEffGUIEditor::close();
    }

    void idle() override {
        if (readout && frame) {
            readout->setValue(effect->getParameter(kKnob));
        }
        AEffGUIEditor::idle();
    }

    void valueChanged(CControl* control) override {
        if (control == subMenu) {
            report(kMenu, (50 + subMenu->getCurrentIndex()) / 100.0f);
        } else if (control->getTag() == kMenu) {
            report(kMenu, static_cast<COptionMenu*>(control)->getCurrentIndex() / 100.0f);
        } else {
            report(control->getTag(), control->getValue());
        }
    }

    int32_t onKeyDown(const VstKeyCode& code, CFrame*) override {
        report(kKeyVirt, code.virt / 1000.0f);
        report(kKeyChar, static_cast<float>(code.character) / 1000.0f);
        return code.virt == VKEY_UP || code.virt == VKEY_DOWN ? 1 : -1;
    }
    int32_t onKeyUp(const VstKeyCode&, CFrame*) override { return -1; }

    void report(int index, float value) { effect->setParameterAutomated(index, value); }

    void openContextMenu(const CPoint& frameLocation) {
        auto* menu = new COptionMenu();
        menu->addEntry("One");
        menu->addEntry("Two");
        frame->addView(menu);
        CFrame* owner = frame;
        menu->popup(frame, frameLocation, [this, owner](COptionMenu* closed) {
            report(kContextMenu, (closed->getLastResult() + 1) / 10.0f);
            owner->removeView(closed, true);
        });
    }

private:
    void build() {
        auto* film = new CBitmap(kKnobFilm);
        const int knobTags[] = {kKnob, 4, 5, 6};
        for (int i = 0; i < 4; ++i) {
            const CCoord x = kKnobX + 100 * i;
            auto* knob = new CAnimKnob(CRect(x, kKnobY, x + kKnobSize, kKnobY + kKnobSize), this,
                                       knobTags[i], kKnobFrames, kKnobSize, film);
            knob->setValue(effect->getParameter(knobTags[i]));
            knob->setDefaultValue(0.25f);
            frame->addView(knob);
        }
        film->forget();

        auto* lamp = new CBitmap(kSwitchImage);
        auto* onOff = new COnOffButton(
            CRect(kSwitchX, kSwitchY, kSwitchX + kSwitchSize, kSwitchY + kSwitchSize), this,
            kSwitch, lamp);
        onOff->setValue(effect->getParameter(kSwitch));
        frame->addView(onOff);
        lamp->forget();

        auto* kickImage = new CBitmap(kKickImage);
        frame->addView(
            new CKickButton(CRect(kKickX, kKickY, kKickX + kKickWidth, kKickY + kKickHeight), this,
                            kKick, kickImage));
        kickImage->forget();

        auto* field = new CBitmap(kFieldImage);
        const CRect menuRect(kMenuX, kMenuY, kMenuX + kMenuWidth, kMenuY + kMenuHeight);
        auto* menu = new COptionMenu(menuRect, this, kMenu, field);
        for (const char* title : {"Alpha", "-", "Beta", "-GDisabled", "Gamma"})
            menu->addEntry(title);
        subMenu = new COptionMenu(menuRect, this, 9999);
        subMenu->addEntry("Sub 1");
        subMenu->addEntry("Sub 2");
        menu->addEntry(subMenu, "More");
        subMenu->forget();
        frame->addView(menu);

        readout = new CParamDisplay(CRect(300, 300, 420, 324), field);
        frame->addView(readout);
        // A face as busy as the real one: a grid of readouts.
        for (int i = 0; i < 20; ++i) {
            const CCoord x = 100 + (i % 5) * 130, y = 500 + (i / 5) * 40;
            auto* display = new CParamDisplay(CRect(x, y, x + 120, y + 24), field);
            display->setValue(i / 20.0f);
            frame->addView(display);
        }
        field->forget();

        frame->addView(new ProbeView(
            CRect(kProbeX, kProbeY, kProbeX + kProbeSize, kProbeY + kProbeSize), *this));
    }

    COptionMenu* subMenu = nullptr;
    CParamDisplay* readout = nullptr;
};

CMouseEventResult ProbeView::onMouseDown(CPoint& where, const CButtonState& buttons) {
    editor.report(kProbeButtons, static_cast<float>(static_cast<int32_t>(buttons)) / 4096.0f);
    if (!(buttons & kRButton)) return kMouseEventHandled;
    CPoint at = where;
    editor.openContextMenu(localToFrame(at));
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}
} // namespace

TestEffect::TestEffect(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, 1, kParamCount) {
    setNumInputs(2);
    setNumOutputs(2);
    setUniqueID(0x4F525447);
    canProcessReplacing();
    values[kKnob] = 0.5f;
    new TestEditor(this);
}

void TestEffect::processReplacing(float** inputs, float** outputs, VstInt32 frames) {
    for (int channel = 0; channel < 2; ++channel)
        std::copy(inputs[channel], inputs[channel] + frames, outputs[channel]);
}

void TestEffect::setParameter(VstInt32 index, float value) {
    if (index >= 0 && index < kParamCount) values[index] = value;
}

float TestEffect::getParameter(VstInt32 index) {
    return index >= 0 && index < kParamCount ? values[index] : 0.0f;
}

} // namespace orvane::guitest
