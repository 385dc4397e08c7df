// SPDX-License-Identifier: GPL-3.0-or-later
// Typed entry: whatever the user types into the value dialog or the controller-number dialog of
// any parameter, values stay finite in 0..1 and display texts within the host's buffer.
#include "engine/APlugin.h"
#include "tests/fuzz/FuzzEffect.h"
#include "tests/platform/ScriptedDialogs.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzScratch();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    static fuzz::Effect effect;
    static ScopedScriptedDialogs dialogs;
    APlugin& plugin = effect.object<APlugin>();
    const int index = data[0] & 127;
    // The split frequency's prompt and mapping depend on the split range.
    plugin.setParameter(kSplitRange, data[1] / 255.0f);
    dialogs.script.typed = std::string(reinterpret_cast<const char*>(data + 2), size - 2);
    dialogs.script.questions.clear();
    // The high bit picks the controller-number dialog of MIDI learn.
    if (data[0] & 128)
        plugin.setMidiCCNum(index);
    else
        plugin.setNumValue(index);
    effect.checkParameters();
    char display[kVstMaxParamStrLen * 4 + 1];
    display[sizeof display - 1] = 0x55;
    effect.dispatch(effGetParamDisplay, index, 0, display);
    FUZZ_CHECK(display[sizeof display - 1] == 0x55);
    return 0;
}
