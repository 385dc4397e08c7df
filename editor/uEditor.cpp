// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's lifecycle and layout: construction, open and close, the bitmap set, the controls
// of the main face, the split display, idle and the full re-read of the effect (resume).
#include "editor/uEditor.h"
#include "editor/EditorFactory.h"

#include "editor/BitmapCache.h"
#include "editor/myKnob.h"
#include "editor/myOnOff.h"
#include "editor/myOptionMenu.h"
#include "editor/myRadioButton.h"
#include "editor/myTextButton.h"
#include "editor/myVu.h"
#include "engine/APlugin.h"
#include "platform/Dialogs.h"
#include "platform/Preferences.h"

#include <cmath>
#include <cstring>

using namespace orvgui;

namespace {

constexpr float SCALE[3] = {1.0f, 1.5f, 2.0f};
constexpr int kDisplaySlotDy[3] = {0, 3, 4};
constexpr int kKnobFrames = 137;
constexpr uint32_t kIdleInterval = 40;
constexpr int kReadoutCapacity = 256;
// Bitmaps of the main face; k = 1 (the panel's background) is loaded only while it is shown.
constexpr int kMainBitmaps[] = {0,  2,  3,  12, 13, 14, 15, 16, 17, 20, 21,
                                30, 31, 40, 41, 42, 43, 44, 45, 46, 47, 48};
const char* const kScreenMessage[3] = {"When you next open Orvane, it'll open in 100% Screen Mode",
                                       "When you next open Orvane, it'll open in 150% Screen Mode",
                                       "When you next open Orvane, it'll open in 200% Screen Mode"};
const char* const kSizeKeys[3] = {"Big100", "Big150", "Big200"};

} // namespace

uEditor::uEditor(APlugin* effect) : AEffGUIEditor(effect), plugin(effect) {
    cachedEdited = plugin ? !plugin->getEditChanged() : false;
    scaleIndex = prefIsYes("Big150") ? 1 : 0;
    if (prefIsYes("Big200")) scaleIndex = 2;
    scaleFactor = SCALE[scaleIndex];
    keyNavigation = prefIsNotNo("Key");
    midiPreset = prefIsYes("MidiPreset");
    capture = prefIsNotNo("Capture");
    programStepTick = lastIdleTick = getTicks();
    lastStepTick = programStepTick - 251;
    rect.top = 0;
    rect.left = 0;
    rect.bottom = static_cast<VstInt16>(getScaled(475));
    rect.right = static_cast<VstInt16>(getScaled(550));
}

uEditor::~uEditor() {
    if (frame) close();
}

int uEditor::connectionFd() const {
    return frame ? frame->connectionFd() : -1;
}

EffectEditor* createEditor(APlugin& effect) {
    return new uEditor(&effect);
}

bool uEditor::open(void* parent) {
    if (!plugin) return false;
    if (frame) close(); // a host that opens again without closing
    plugin->editorBuilding = true;
    plugin->editorReady = false;
    openComplete = false;
    menuPressed = false;
    // Every open, not only the first, shows the edited state in its first picture: the edit
    // button is created with its neutral image.
    cachedEdited = !plugin->getEditChanged();
    AEffGUIEditor::open(parent);
    programStepTick = getTicks();
    createBitmaps();
    CBitmap* background = bitmap(0);
    const CCoord width = background ? background->getWidth() : rect.right;
    const CCoord height = background ? background->getHeight() : rect.bottom;
    frame = new CFrame(CRect(0, 0, width, height), this);
    frame->setBackground(background);
    if (!frame->open(parent)) {
        frame->forget();
        frame = nullptr;
        removeBitmaps();
        plugin->editorBuilding = false;
        AEffEditor::close();
        return false;
    }
    frame->registerKeyboardHook(this);
    displaySlot = new CViewContainer(
        placed(161, 411 + kDisplaySlotDy[scaleIndex], getScaled(47), getScaled(12)));
    registry.clear();
    settingsVisible = false;
    createControls();
    showControls();
    initBackside();
    mailbox.clear();
    shownVu[0] = shownVu[1] = -1.0f;
    plugin->editorBuilding = false;
    plugin->editorReady = true;
    openComplete = true;
    openForEffect.store(true, std::memory_order_release);
    resume();
    // The first picture, every control in it and up to date, appears now, even for a host slow
    // to call idle.
    refresh();
    frame->idle();
    return true;
}

// A dialog still open ends with the editor: the host may be closing the project, and the dialog
// may sit behind its windows where nobody would answer.
void uEditor::close() {
    dialog.cancel();
    openForEffect.store(false, std::memory_order_release);
    openComplete = false;
    if (!frame) {
        AEffEditor::close();
        return;
    }
    frame->unregisterKeyboardHook(this);
    removeBitmaps();
    if (displaySlot) {
        displaySlot->removeAll(true);
        displaySlot->forget();
        displaySlot = nullptr;
    }
    frame->removeAll(true);
    registry.clear();
    zeroControls();
    zeroBackside();
    cleanupBackside();
    AEffGUIEditor::close();
}

void uEditor::createBitmaps() {
    for (int k : kMainBitmaps)
        bitmaps[k] = sharedBitmap(bitmapNumber(k));
}

void uEditor::removeBitmaps() {
    for (CBitmap*& b : bitmaps) {
        if (b) b->forget();
        b = nullptr;
    }
}

CRect uEditor::placed(int x, int y, CCoord width, CCoord height) const {
    CRect r(getScaled(x), getScaled(y), getScaled(x) + width, getScaled(y) + height);
    r.normalize();
    return r;
}

// The container takes a reference of its own, so the editor's survives removal.
void uEditor::lend(CView* view, CViewContainer* container) {
    if (!view || !container) return;
    view->remember();
    if (!container->addView(view)) view->forget();
}

void uEditor::registerControl(CControl* control, bool isMenu) {
    if (!control || !plugin || !frame || registry.size() >= kRegistryCapacity) return;
    registry.push_back({control, isMenu});
    const int32_t tag = control->getTag();
    control->setDefaultValue(tag >= 0 && tag < kNumParams ? plugin->defaultValues[tag] : 0.0f);
}

void uEditor::addControl(CControl* control) {
    registerControl(control, false);
}

void uEditor::addControlMenu(CControl* control) {
    registerControl(control, true);
}

void uEditor::createKickButton(CKickButton*& button, int tag, int x, int y, CBitmap* image) {
    if (!image) return;
    button = new CKickButton(placed(x, y, image->getWidth(), image->getHeight() / 2), this, tag,
                             image, zeroOffset);
    addControl(button);
}

void uEditor::createMyOnOff(myOnOff*& button, int tag, int x, int y, CBitmap* image) {
    if (!image) return;
    button =
        new myOnOff(placed(x, y, image->getWidth(), image->getHeight() / 2), this, tag, image, 0);
    addControl(button);
}

void uEditor::createKnob(myKnob*& knob, int tag, int x, int y, CBitmap* film) {
    if (!film) return;
    knob = new myKnob(placed(x, y, film->getWidth(), film->getHeight() / kKnobFrames), this, tag,
                      film, zeroOffset, kKnobFrames);
    addControl(knob);
}

void uEditor::createRadioButton(myRadioButton*& button, int x, int y) {
    CBitmap* lamp = bitmap(17);
    if (!lamp) return;
    button = new myRadioButton(placed(x, y, lamp->getWidth(), lamp->getHeight() / 2), this,
                               kTagByIdentity);
}

void uEditor::createTextButton(myTextButton*& button, int tag, CBitmap* image, int x, int y,
                               const char* text, bool centred, bool blackText) {
    if (!image) return;
    button = new myTextButton(placed(x, y, image->getWidth(), image->getHeight()), this, tag, image,
                              text, centred, blackText, scaleIndex);
}

void uEditor::createButtonMenu(myOptionMenu*& menu, int tag, int x, int y,
                               const char* const* entries, int count, CBitmap* image) {
    if (!image) return;
    menu = new myOptionMenu(placed(x, y, image->getWidth(), image->getHeight() / 2), this, tag,
                            image, nullptr, 256, scaleIndex, true);
    for (int i = 0; i < count; ++i)
        menu->addEntry(entries[i]);
    addControlMenu(menu);
}

void uEditor::createMenu(myOptionMenu*& menu, CBitmap* sizeBitmap, int tag, int x, int y,
                         const char* const* entries, int count, float steps, int dy150, int dy200) {
    if (!sizeBitmap) return;
    const int dy = scaleIndex == 1 ? dy150 : scaleIndex == 2 ? dy200 : 0;
    CRect r = placed(x, y, sizeBitmap->getWidth(), sizeBitmap->getHeight());
    r.offset(0, dy);
    menu = new myOptionMenu(r, this, tag, nullptr, nullptr, 256, scaleIndex, true);
    for (int i = 0; i < count; ++i)
        menu->addEntry(entries[i]);
    addControlMenu(menu);
    if (tag >= 0 && tag < kNumParams) menuSteps[tag] = steps;
}

void uEditor::createControls() {
    if (!plugin) return;
    createKickButton(logoButton, kTagNoParameter, 213, 32, bitmap(2));
    createKickButton(editButton, kTagNoParameter, 35, 33, bitmap(40));
    createKickButton(recallButton, kTagNoParameter, 31, 62, bitmap(43));
    createKickButton(manualButton, kTagNoParameter, 112, 33, bitmap(44));
    createButtonMenu(ecsMenu, kTagByIdentity, 120, 62, ECS_STR, 3, bitmap(45));
    createKickButton(previousButton, kTagNoParameter, 92, 116, bitmap(20));
    createKickButton(nextButton, kTagNoParameter, 102, 116, bitmap(21));
    if (CBitmap* image = bitmap(14)) {
        programMenu =
            new myOptionMenu(placed(118, 112, image->getWidth() - getScaled(9), image->getHeight()),
                             this, kTagNoParameter, image, nullptr, 256, scaleIndex, false);
        programMenu->setPresetFont();
        for (int n = 0; n < kNumFactoryPrograms; ++n)
            programMenu->addEntry(plugin->getPresetName(n));
        for (const char* entry : {"-", "clear preset", "-", "set To 100% Screen",
                                  "set To 150% Screen", "set To 200% Screen"})
            programMenu->addEntry(entry);
    }
    createKickButton(recallAButton, kTagNoParameter, 28, 183, bitmap(17));
    createKickButton(recallBButton, kTagNoParameter, 67, 183, bitmap(17));
    createKickButton(storeAButton, kTagNoParameter, 118, 183, bitmap(17));
    createKickButton(storeBButton, kTagNoParameter, 157, 183, bitmap(17));
    createKickButton(undoButton, kTagNoParameter, 233, 183, bitmap(17));
    createMyOnOff(bypassSwitch, kBypass, 424, 110, bitmap(46));
    createKnob(volumeKnob, kMainVolume, 413, 166, bitmap(30));
    createTextButton(volumeReadout, kTagNoParameter, bitmap(15), 407, 214, "0.0 dB", true, false);
    leftMeter = new myVu(placed(488, 163, getScaled(7), getScaled(76)), this, kTagNoParameter);
    rightMeter = new myVu(placed(497, 163, getScaled(7), getScaled(76)), this, kTagNoParameter);
    mailbox.setVu(0.0f, 0.0f);
    createMyOnOff(airSwitch, kAirOn, 23, 239, bitmap(47));
    createKnob(airAmountKnob, kAirAmount, 209, 205, bitmap(31));
    createKnob(airFrequencyKnob, kAirFrequency, 413, 261, bitmap(30));
    createTextButton(airAmountReadout, kTagNoParameter, bitmap(15), 243, 272, "A", true, false);
    createTextButton(amountLabel, kTagNoParameter, bitmap(15), 243, 288, "AMOUNT", true, false);
    createTextButton(airFrequencyReadout, kTagNoParameter, bitmap(15), 408, 305, "B", true, false);
    for (myTextButton* text : {airAmountReadout, amountLabel}) {
        if (!text) continue;
        text->setMouseableArea(CRect());
        text->largeText = true;
    }
    displaySlot->setBackground(bitmap(3));
    createMyOnOff(splitSwitch, kSplitOn, 26, 336, bitmap(48));
    const int rangeY[4] = {361, 382, 403, 424};
    for (int k = 0; k < 4; ++k)
        createRadioButton(rangeButtons[k], 354, rangeY[k]);
    createKnob(splitFrequencyKnob, kSplitFrequency, 61, 381, bitmap(30));
    createTextButton(splitFrequencyReadout, kTagNoParameter, bitmap(15), 55, 427, "0 Hz", true,
                     false);
    createMyOnOff(soloSwitch, kSplitSolo, 138, 388, bitmap(17));
    createMyOnOff(noteModeSwitch, kSplitNoteMode, 138, 409, bitmap(17));
    createMenu(monoTypeMenu, bitmap(3), kMonoType, 154, 434, MONO_TYPE_STR, 4, 19.99f, 3, 3);
    createMidiMenu(noteMenu, noteSub1, noteSub2, noteSub3, bitmap(3), kMonoNote, 0, 0);
    if (CBitmap* field = bitmap(3))
        frequencyText = new myTextButton(CRect(0, 0, field->getWidth(), field->getHeight()), this,
                                         kTagNoParameter, field, " A", true, false, scaleIndex);
}

void uEditor::showControls() {
    for (CView* view : std::initializer_list<CView*>{
             logoButton,       editButton,       recallButton, ecsMenu,
             manualButton,     bypassSwitch,     programMenu,  nextButton,
             previousButton,   undoButton,       storeAButton, storeBButton,
             recallAButton,    recallBButton,    volumeKnob,   volumeReadout,
             leftMeter,        rightMeter,       airSwitch,    airAmountKnob,
             airFrequencyKnob, airAmountReadout, amountLabel,  airFrequencyReadout,
             displaySlot,      splitSwitch,      soloSwitch})
        lend(view, frame);
    for (myRadioButton* button : rangeButtons) {
        lend(button, frame);
        if (button) button->setValue(0.0f);
    }
    setRangeButtons(plugin ? plugin->getMonoSplitRange() : 0);
    for (CView* view : std::initializer_list<CView*>{noteModeSwitch, splitFrequencyKnob,
                                                     splitFrequencyReadout, monoTypeMenu})
        lend(view, frame);
}

void uEditor::zeroControls() {
    release(logoButton);
    release(editButton);
    release(recallButton);
    release(manualButton);
    release(ecsMenu);
    release(previousButton);
    release(nextButton);
    release(programMenu);
    release(recallAButton);
    release(recallBButton);
    release(storeAButton);
    release(storeBButton);
    release(undoButton);
    release(bypassSwitch);
    release(volumeKnob);
    release(volumeReadout);
    release(leftMeter);
    release(rightMeter);
    release(airSwitch);
    release(airAmountKnob);
    release(airFrequencyKnob);
    release(airAmountReadout);
    release(amountLabel);
    release(airFrequencyReadout);
    release(splitSwitch);
    for (myRadioButton*& button : rangeButtons)
        release(button);
    release(splitFrequencyKnob);
    release(splitFrequencyReadout);
    release(soloSwitch);
    release(noteModeSwitch);
    release(monoTypeMenu);
    release(noteMenu);
    // The note menu's entries held the sub-menus; the fields only name them.
    noteSub1 = noteSub2 = noteSub3 = nullptr;
    release(frequencyText);
}

void uEditor::setRangeButtons(int range) {
    for (int k = 0; k < 4; ++k)
        if (rangeButtons[k]) rangeButtons[k]->setValue(k == range ? 1.0f : 0.0f);
}

myTextButton* uEditor::readoutOf(int index) const {
    switch (index) {
    case kMainVolume:
        return volumeReadout;
    case kAirAmount:
        return airAmountReadout;
    case kAirFrequency:
        return airFrequencyReadout;
    case kSplitFrequency:
        return splitFrequencyReadout;
    default:
        return nullptr;
    }
}

// Redraws the readout only when its text changed.
void uEditor::setReadout(myTextButton* readout, int index) {
    if (!readout || !plugin) return;
    char text[kReadoutCapacity] = {};
    plugin->getParameterDisplay(index, text);
    text[kReadoutCapacity - 1] = 0;
    if (std::strcmp(text, readout->text) == 0) return;
    std::strcpy(readout->text, text);
    readout->invalid();
}

void uEditor::showFreqNoteDisplay() {
    if (!plugin || !displaySlot) return;
    displaySlot->removeAll(true);
    const float m = MONO_FREQ_MULT[plugin->getMonoSplitRange()];
    if (plugin->getIsOn(kSplitNoteMode)) {
        const double f = 20.0 * std::pow(2.0, m * plugin->getParameter(kSplitFrequency));
        const double s = 12.0 * std::log(f / 440.0) / std::log(2.0) + 0.1;
        int entry = static_cast<int>(std::floor(s)) + 54;
        entry = entry < 0 ? 0 : entry > 112 ? 112 : entry;
        if (noteMenu) {
            lend(noteMenu, displaySlot);
            noteMenu->setString(MIDI_NOTE_STR[entry]);
        }
    } else if (frequencyText) {
        lend(frequencyText, displaySlot);
        std::snprintf(frequencyText->text, sizeof frequencyText->text, "%s",
                      plugin->ToFilterStr(kSplitFrequency, m));
        frequencyText->invalid();
    }
    displaySlot->invalid();
}

CControl* uEditor::editTarget() const {
    const int tag = mailbox.getEditTag();
    if (tag < 0 || tag == kTagNoParameter) return nullptr;
    for (const RegistryEntry& entry : registry)
        if (entry.control->getTag() == tag) return entry.control;
    return nullptr;
}

void uEditor::idle() {
    if (!frame || !plugin) return;
    if (dialog.collect()) finishDialog();
    if (openComplete && getTicks() - lastIdleTick >= kIdleInterval) refresh();
    AEffGUIEditor::idle();
}

// Brings the face up to the effect's state: what the mailbox carries, the display, the lamps
// and meters, the readout of the control being inspected.
void uEditor::refresh() {
    lastIdleTick = getTicks();
    applyMailbox();
    CControl* inspected = editTarget();
    if (!inspected) {
        CPoint where;
        frame->getCurrentMouseLocation(where);
        inspected = dynamic_cast<CControl*>(frame->getViewAt(where, true));
    }
    if (displayDirty) showFreqNoteDisplay();
    displayDirty = false;
    const bool edited = plugin->getEditChanged();
    if (edited != cachedEdited && editButton) {
        editButton->setBackground(bitmap(edited ? 42 : 41));
        editButton->invalid();
    }
    cachedEdited = edited;
    refreshLamps();
    refreshMeters();
    if (inspected && inspected->getTag() <= kLastParameterTag)
        for (const RegistryEntry& entry : registry)
            if (entry.control == inspected)
                setReadout(readoutOf(inspected->getTag()), inspected->getTag());
}

void uEditor::refreshLamps() {
    const int lit[2] = {kLampA, kLampB};
    CKickButton* buttons[2] = {recallAButton, recallBButton};
    for (int i = 0; i < 2; ++i) {
        CBitmap* wanted = bitmap(plugin->getParameter(lit[i]) < 0.5f ? 17 : 16);
        if (!buttons[i] || !wanted || buttons[i]->getBackground() == wanted) continue;
        buttons[i]->setBackground(wanted);
        buttons[i]->invalid();
    }
}

void uEditor::refreshMeters() {
    myVu* meters[2] = {leftMeter, rightMeter};
    for (int i = 0; i < 2; ++i) {
        const float level = mailbox.getVu(i);
        if (!meters[i] || level == shownVu[i]) continue;
        shownVu[i] = level;
        meters[i]->setInputValue(level);
        meters[i]->invalid();
    }
}

void uEditor::resume() {
    if (!frame || !plugin || resumeBusy) return;
    resumeBusy = true;
    if (programMenu) {
        char name[64] = {};
        plugin->getProgramName(name);
        programMenu->setString(name);
    }
    setRangeButtons(plugin->getMonoSplitRange());
    if (monoTypeMenu) {
        monoTypeMenu->setValue(plugin->getParameter(kMonoType) * 19.99f);
        applyParameter(kMonoType);
    }
    for (int index : {kMainVolume, kAirAmount, kAirFrequency, kSplitFrequency})
        setReadout(readoutOf(index), index);
    for (const RegistryEntry& entry : registry) {
        const int32_t tag = entry.control->getTag();
        if (entry.isMenu || tag > kLastParameterTag) continue;
        const float v = plugin->getParameter(tag);
        if (std::fabs(entry.control->getValue() - v) > 0.001f) entry.control->setValue(v);
    }
    displayDirty = true;
    resumeBusy = false;
}

void uEditor::setScreen(int index) {
    for (const char* key : kSizeKeys)
        saveStringToPrefs(key, "N");
    if (index < 0 || index > 2) return;
    saveStringToPrefs(kSizeKeys[index], "Y");
    const char* message = kScreenMessage[index];
    runDialog([message] { messageBox(message, 2); });
}

bool uEditor::getEditChanged() {
    return plugin && plugin->getEditChanged();
}

void uEditor::setVu(float left, float right) {
    mailbox.setVu(left, right);
}

void uEditor::setPresetUndo() {
    if (!plugin) return;
    for (int i = 0; i < 11; ++i)
        undoSnapshot[i].store(plugin->getParameter(1 + i), std::memory_order_relaxed);
}
