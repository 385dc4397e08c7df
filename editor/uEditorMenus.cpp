// SPDX-License-Identifier: GPL-3.0-or-later
// Menus: the entry tables, the note menu with its sub-menus, the MIDI-learn menu, the ECS
// commands and the snapshot a program load leaves for the undo button.
#include "editor/uEditor.h"

#include "editor/myOptionMenu.h"
#include "engine/APlugin.h"
#include "platform/Preferences.h"

#include <cstdio>
#include <string>

using namespace orvgui;

const char* const DEFAULT_MENU_STR[8] = {
    "", "", "", "set to default", "set to value", "latch to MIDI", "unlatch MIDI", "clear MIDI"};
const char* const ECS_STR[4] = {"load ECS", "save ECS", "clear MIDI", nullptr};
const char* const MIDI_CHANNEL_STR[17] = {"Omni",  "CH 01", "CH 02", "CH 03", "CH 04", "CH 05",
                                          "CH 06", "CH 07", "CH 08", "CH 09", "CH 10", "CH 11",
                                          "CH 12", "CH 13", "CH 14", "CH 15", "CH 16"};
const char* const BIG_SCREEN_STR[3] = {"100%", "150%", "200%"};

namespace {

enum LearnRow : int {
    kSetToDefault = 3,
    kSetToValue,
    kLatch,
    kUnlatch,
    kClearMidi,
};

struct NoteRange {
    const char* title;
    int first;
    int count;
};
constexpr NoteRange kNoteRanges[3] = {
    {"MIDI Note 15 to 52", 0, 38}, {"MIDI Note 53 to 90", 38, 38}, {"MIDI Note 91 to 127", 76, 37}};

} // namespace

void uEditor::createMidiMenu(myOptionMenu*& menu, myOptionMenu*& sub1, myOptionMenu*& sub2,
                             myOptionMenu*& sub3, CBitmap* sizeBitmap, int tag, int x, int y) {
    if (!sizeBitmap) return;
    const CRect r = placed(x, y, sizeBitmap->getWidth(), sizeBitmap->getHeight());
    menu = new myOptionMenu(r, this, tag, nullptr, nullptr, 256, scaleIndex, true);
    myOptionMenu** subs[3] = {&sub1, &sub2, &sub3};
    for (int s = 0; s < 3; ++s) {
        auto* sub =
            new myOptionMenu(r, this, kTagNoParameter, nullptr, nullptr, 280, scaleIndex, true);
        for (int i = 0; i < kNoteRanges[s].count; ++i)
            sub->addEntry(MIDI_NOTE_STR[kNoteRanges[s].first + i]);
        menu->addEntry(sub, kNoteRanges[s].title);
        sub->forget(); // the entry holds it; the field only names it
        *subs[s] = sub;
    }
    addControlMenu(menu);
    if (tag >= 0 && tag < kNumParams) menuSteps[tag] = 127.99f;
}

void uEditor::midiLearnMenu(CControl* control, CPoint& where) {
    if (!plugin || !frame || !control || isModal()) return;
    frame->getCurrentMouseLocation(where);
    const int tag = control->getTag();
    // Only parameters have rows and commands; the panel's switches get no menu.
    if (tag < 0 || tag >= kNumParams) return;
    const int learnTag = tag == 0 ? 999 : tag;

    auto* menu = new COptionMenu(CRect(where.x - 8, where.y - 8, where.x + 8, where.y + 8), nullptr,
                                 kTagNoParameter, nullptr, nullptr, 272);
    char row[128] = "-G";
    plugin->getParameterName(tag, row + 2);
    menu->addEntry(row);
    std::snprintf(row, sizeof row, "-G");
    plugin->getParameterDisplay(tag, row + 2);
    menu->addEntry(row);
    menu->addEntry("-");
    int bindings[128];
    getAllMidiCC(bindings);
    int controller = -1;
    for (int n = 0; n < 128; ++n)
        if (bindings[n] == learnTag) controller = n;
    if (controller < 0)
        std::snprintf(row, sizeof row, "-Gnot latched");
    else
        std::snprintf(row, sizeof row, "-Gmidi cc : %d", controller);
    menu->addEntry(row);
    menu->addEntry("-");
    for (int entry = kSetToDefault; entry <= kClearMidi; ++entry)
        menu->addEntry(DEFAULT_MENU_STR[entry]);

    // The popup answers later, in its callback; dismissed or not, the controls are re-read.
    menu->popup(frame, where, [this, tag, learnTag](COptionMenu* closed) {
        learnMenuChosen(tag, learnTag, closed->getLastResult());
    });
    frame->looseFocus();
    menu->forget();
}

void uEditor::learnMenuChosen(int tag, int learnTag, int entry) {
    if (!plugin || !frame) return;
    switch (entry) {
    case kSetToDefault:
        plugin->setParameterAutomated(tag, plugin->defaultValues[tag]);
        break;
    case kSetToValue: {
        APlugin* effect = plugin;
        runDialog([effect, tag] { effect->setNumValue(tag); });
        break;
    }
    case kLatch:
        plugin->setMidiLatch(learnTag, true);
        break;
    case kUnlatch:
        plugin->setMidiLatch(learnTag, false);
        break;
    case kClearMidi:
        plugin->resetMidi();
        break;
    default:
        break;
    }
    frame->invalid();
    resume();
}

void uEditor::ecsCommand(int entry) {
    APlugin* effect = plugin;
    switch (entry) {
    case 0:
        runDialog([effect] { effect->LoadECS(); });
        break;
    case 1:
        runDialog([effect] { effect->SaveECS(); });
        break;
    case 2:
        plugin->resetMidi();
        break;
    default:
        break;
    }
}
