// SPDX-License-Identifier: GPL-3.0-or-later
// The effect's editor: the main face, its settings panel on the back side, the menus and the
// exchange of values with the effect. One class, implemented across editor/uEditor*.cpp by
// concern: lifecycle and layout, control events, menus, settings panel.
#pragma once

#include "editor/ControlHost.h"
#include "editor/EditorMailbox.h"
#include "engine/EffectEditor.h"
#include "platform/DialogTask.h"
#include "toolkit/Toolkit.h"

#include <functional>
#include <vector>

class APlugin;
class myKnob;
class myOnOff;
class myOptionMenu;
class myRadioButton;
class myTextButton;
class myVu;

extern const char* const DEFAULT_MENU_STR[8];
extern const char* const ECS_STR[4];
extern const char* const MIDI_CHANNEL_STR[17];
extern const char* const BIG_SCREEN_STR[3];

class uEditor : public orvgui::AEffGUIEditor,
                public orvgui::IControlListener,
                public orvgui::IKeyboardHook,
                public ControlHost,
                public EffectEditor {
public:
    explicit uEditor(APlugin* effect);
    ~uEditor() override;

    // Lifecycle (user-interface thread)
    bool open(void* parent) override;
    void close() override;
    bool isOpen() override { return openForEffect.load(std::memory_order_acquire); }
    void idle() override;
    void resume();
    int getScaled(int v) const { return static_cast<int>(v * scaleFactor); }
    int getScaled(float v) const { return static_cast<int>(v * scaleFactor); }
    int getScaleIndex() const { return scaleIndex; }
    void setScreen(int index);
    bool getEditChanged();
    void showFreqNoteDisplay();

    // From the effect, on any thread: each only records what changed for the next idle.
    void setParameter(int index, float value) override;
    void setVu(float left, float right) override;
    void requestResume() override { mailbox.requestResume(); }
    void setEditTag(int tag) override { mailbox.setEditTag(tag); }
    void setPresetUndo() override;
    int connectionFd() const override;

    // Control events (user-interface thread)
    void valueChanged(orvgui::CControl* control) override;
    int32_t onKeyDown(const VstKeyCode& key, orvgui::CFrame* frame) override;
    int32_t onKeyUp(const VstKeyCode& key, orvgui::CFrame* frame) override;
    using AEffGUIEditor::onKeyDown;
    using AEffGUIEditor::onKeyUp;
    void changeProgramDelta(int delta);

    // Menus
    void midiLearnMenu(orvgui::CControl* control, orvgui::CPoint& where) override;
    orvgui::CBitmap* getLampBitmap() const override { return bitmap(17); }
    orvgui::CBitmap* getMeterBitmap() const override { return bitmap(13); }

    // Settings panel
    void initBackside();
    void showBackside();
    void hideBackside();
    void zeroBackside();
    void cleanupBackside();
    bool getBackRegValue(const char* key, bool defaultOn);
    bool setBackRegValue(const char* key, float value);

    // While a dialog is open the editor ignores the mouse and keys and opens no menu.
    bool isModal() const { return dialog.busy(); }

private:
    // Drops the editor's reference to a view it created, and the pointer.
    template <typename View> static void release(View*& view) {
        if (view) view->forget();
        view = nullptr;
    }

    // Layout
    orvgui::CBitmap* bitmap(int k) const {
        return k >= 0 && k < kBitmapSlots ? bitmaps[k] : nullptr;
    }
    // Each size has its own set: 10xxx, 11xxx, 12xxx.
    int bitmapNumber(int k) const { return 10000 + 1000 * scaleIndex + k; }
    void createBitmaps();
    void removeBitmaps();
    void createControls();
    void showControls();
    void zeroControls();
    void addControl(orvgui::CControl* control);
    void addControlMenu(orvgui::CControl* control);
    void registerControl(orvgui::CControl* control, bool isMenu);
    void lend(orvgui::CView* view, orvgui::CViewContainer* container);
    orvgui::CRect placed(int x, int y, orvgui::CCoord width, orvgui::CCoord height) const;
    void createKickButton(orvgui::CKickButton*& button, int tag, int x, int y,
                          orvgui::CBitmap* image);
    void createMyOnOff(myOnOff*& button, int tag, int x, int y, orvgui::CBitmap* image);
    void createKnob(myKnob*& knob, int tag, int x, int y, orvgui::CBitmap* film);
    void createRadioButton(myRadioButton*& button, int x, int y);
    void createTextButton(myTextButton*& button, int tag, orvgui::CBitmap* image, int x, int y,
                          const char* text, bool centred, bool blackText);
    void createButtonMenu(myOptionMenu*& menu, int tag, int x, int y, const char* const* entries,
                          int count, orvgui::CBitmap* image);
    void createMenu(myOptionMenu*& menu, orvgui::CBitmap* sizeBitmap, int tag, int x, int y,
                    const char* const* entries, int count, float steps, int dy150, int dy200);
    void createMidiMenu(myOptionMenu*& menu, myOptionMenu*& sub1, myOptionMenu*& sub2,
                        myOptionMenu*& sub3, orvgui::CBitmap* sizeBitmap, int tag, int x, int y);
    void setReadout(myTextButton* readout, int index);
    myTextButton* readoutOf(int index) const;
    void setRangeButtons(int range);

    // Host sync
    void applyMailbox();
    void applyParameter(int index);
    void refresh();
    void refreshLamps();
    void refreshMeters();
    orvgui::CControl* editTarget() const;

    // Control events
    void programMenuChoice();
    void storeMemory(int group);
    void recallMemory(int group);
    void undoMemory();
    bool noteChoice(orvgui::CControl* control);
    void openManual();
    bool runDialog(std::function<void()> operation);
    void finishDialog();

    // Menus
    void ecsCommand(int entry);
    void learnMenuChosen(int tag, int learnTag, int entry);

    static constexpr int kBitmapSlots = 49;
    static constexpr int kRegistryCapacity = 10000;
    struct RegistryEntry {
        orvgui::CControl* control;
        bool isMenu;
    };

    APlugin* plugin;
    int scaleIndex = 0;
    float scaleFactor = 1.0f;
    std::vector<RegistryEntry> registry;
    float menuSteps[128] = {};
    orvgui::CPoint zeroOffset{0, 0};
    bool openComplete = false;
    bool resumeBusy = false;
    bool displayDirty = false;
    bool settingsVisible = false;
    bool keyNavigation = true;
    bool midiPreset = false;
    bool capture = true;
    bool cachedEdited = false;
    uint32_t lastIdleTick = 0;
    uint32_t programStepTick = 0;
    uint32_t lastStepTick = 0;
    std::atomic<float> undoSnapshot[11] = {};
    std::atomic<bool> openForEffect{false};
    EditorMailbox mailbox;
    DialogTask dialog;

    orvgui::CBitmap* bitmaps[kBitmapSlots] = {};
    orvgui::CViewContainer* displaySlot = nullptr;

    // Main face
    orvgui::CKickButton* logoButton = nullptr;
    orvgui::CKickButton* editButton = nullptr;
    orvgui::CKickButton* recallButton = nullptr;
    orvgui::CKickButton* manualButton = nullptr;
    myOptionMenu* ecsMenu = nullptr;
    orvgui::CKickButton* previousButton = nullptr;
    orvgui::CKickButton* nextButton = nullptr;
    myOptionMenu* programMenu = nullptr;
    orvgui::CKickButton* recallAButton = nullptr;
    orvgui::CKickButton* recallBButton = nullptr;
    orvgui::CKickButton* storeAButton = nullptr;
    orvgui::CKickButton* storeBButton = nullptr;
    orvgui::CKickButton* undoButton = nullptr;
    myOnOff* bypassSwitch = nullptr;
    myKnob* volumeKnob = nullptr;
    myTextButton* volumeReadout = nullptr;
    myVu* leftMeter = nullptr;
    myVu* rightMeter = nullptr;
    myOnOff* airSwitch = nullptr;
    myKnob* airAmountKnob = nullptr;
    myKnob* airFrequencyKnob = nullptr;
    myTextButton* airAmountReadout = nullptr;
    myTextButton* amountLabel = nullptr;
    myTextButton* airFrequencyReadout = nullptr;
    myOnOff* splitSwitch = nullptr;
    myRadioButton* rangeButtons[4] = {};
    myKnob* splitFrequencyKnob = nullptr;
    myTextButton* splitFrequencyReadout = nullptr;
    myOnOff* soloSwitch = nullptr;
    myOnOff* noteModeSwitch = nullptr;
    myOptionMenu* monoTypeMenu = nullptr;
    myOptionMenu* noteMenu = nullptr;
    myOptionMenu* noteSub1 = nullptr;
    myOptionMenu* noteSub2 = nullptr;
    myOptionMenu* noteSub3 = nullptr;
    myTextButton* frequencyText = nullptr;
    float shownVu[2] = {-1.0f, -1.0f};

    // Settings panel
    orvgui::CKickButton* returnControl = nullptr;
    myTextButton* versionText = nullptr;
    myOnOff* keySwitch = nullptr;
    myOnOff* midiPresetSwitch = nullptr;
    myOnOff* captureSwitch = nullptr;
    myOptionMenu* channelMenu = nullptr;
    myOptionMenu* sizeMenu = nullptr;
};
