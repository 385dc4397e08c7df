// SPDX-License-Identifier: GPL-3.0-or-later
// The settings panel on the editor's back side: the version line and the user-wide options.
#include "editor/uEditor.h"

#include "editor/BitmapCache.h"
#include "editor/myOnOff.h"
#include "editor/myOptionMenu.h"
#include "editor/myTextButton.h"
#include "engine/APlugin.h"
#include "platform/Preferences.h"

#include <cstdio>

using namespace orvgui;

void uEditor::initBackside() {
    returnControl = new CKickButton(CRect(0, 0, getScaled(550), getScaled(475)), this,
                                    kTagNoParameter, nullptr, CPoint(0, 0));
    createMyOnOff(keySwitch, kTagNoParameter, 336, 260, bitmap(17));
    createMyOnOff(midiPresetSwitch, kTagNoParameter, 336, 302, bitmap(17));
    createMyOnOff(captureSwitch, kTagNoParameter, 336, 345, bitmap(17));
    createMenu(channelMenu, bitmap(3), kTagNoParameter, 323, 391, MIDI_CHANNEL_STR, 17, 16.99f, 4,
               5);
    createMenu(sizeMenu, bitmap(3), kTagNoParameter, 323, 435, BIG_SCREEN_STR, 3, 2.99f, 4, 5);
    const int version = plugin ? plugin->getVendorVersion() : 0;
    char line[128];
    std::snprintf(line, sizeof line, "Halvick Orvane: Linux VST 64: v%d.%d.%d",
                  (version >> 16) & 0xff, (version >> 8) & 0xff, version & 0xff);
    if (CBitmap* image = bitmap(12))
        versionText = new myTextButton(placed(18, 74, getScaled(365), getScaled(16)), this,
                                       kTagByIdentity, image, line, false, true, scaleIndex);
}

void uEditor::showBackside() {
    if (!frame) return;
    frame->removeAll(true);
    CBitmap* panel = sharedBitmap(bitmapNumber(1));
    frame->setBackground(panel);
    if (panel) panel->forget(); // the frame keeps its own reference
    for (CView* view :
         std::initializer_list<CView*>{returnControl, versionText, keySwitch, midiPresetSwitch,
                                       captureSwitch, channelMenu, sizeMenu})
        lend(view, frame);
    if (channelMenu) {
        int channel = loadIntFromPrefs("Midi Channel");
        channel = channel < 0 ? 0 : channel > 16 ? 16 : channel;
        channelMenu->setString(MIDI_CHANNEL_STR[channel]);
    }
    if (sizeMenu) {
        const int size = getBackRegValue("Big200", false)   ? 2
                         : getBackRegValue("Big150", false) ? 1
                                                            : 0;
        sizeMenu->setString(BIG_SCREEN_STR[size]);
    }
    if (keySwitch) keySwitch->setValue(keyNavigation ? 1.01f : 0.0f);
    if (midiPresetSwitch) midiPresetSwitch->setValue(midiPreset ? 1.01f : 0.0f);
    if (captureSwitch) captureSwitch->setValue(capture ? 1.01f : 0.0f);
    settingsVisible = true;
    frame->invalid();
}

void uEditor::hideBackside() {
    if (!frame) return;
    frame->removeAll(true);
    frame->setBackground(bitmap(0));
    showControls();
    settingsVisible = false;
    resume();
    frame->invalid();
}

void uEditor::zeroBackside() {
    release(versionText);
    release(keySwitch);
    release(midiPresetSwitch);
    release(captureSwitch);
    release(channelMenu);
    release(sizeMenu);
    release(returnControl);
}

void uEditor::cleanupBackside() {
    returnControl = nullptr;
}

bool uEditor::getBackRegValue(const char* key, bool defaultOn) {
    return defaultOn ? prefIsNotNo(key) : prefIsYes(key);
}

bool uEditor::setBackRegValue(const char* key, float value) {
    saveStringToPrefs(key, value > 0.5f ? "Y" : "N");
    return value > 0.5f;
}
