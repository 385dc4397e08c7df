// A small effect whose editor places one of each toolkit control on a 1100 x 950 face and
// reports everything it sees to the host as automation, where the tests can read it.
#pragma once

#include "host/AudioEffectX.h"

namespace orvane::guitest {

enum Param : int {
    kKnob = 0,         // film knob, also tags 4 to 6
    kSwitch = 1,       // on/off button
    kKick = 2,         // kick button
    kMenu = 3,         // option menu: entry index / 100; sub-menu entries (50 + index) / 100
    kProbeButtons = 7, // button bits of a press on the probe area / 4096
    kContextMenu = 8,  // context menu on the probe area: (result + 1) / 10 when it closes
    kKeyVirt = 9,      // last key seen by the keyboard hook: virtual code / 1000
    kKeyChar = 10,     // and its character / 1000
    kParamCount = 11,
};

// The editor's layout, in frame coordinates.
inline constexpr int kWidth = 1100, kHeight = 950;
inline constexpr int kKnobX = 100, kKnobY = 100, kKnobSize = 60;
inline constexpr int kSwitchX = 100, kSwitchY = 200, kSwitchSize = 40;
inline constexpr int kKickX = 200, kKickY = 200, kKickWidth = 60, kKickHeight = 30;
inline constexpr int kMenuX = 100, kMenuY = 300, kMenuWidth = 120, kMenuHeight = 24;
inline constexpr int kProbeX = 600, kProbeY = 100, kProbeSize = 200;
// Menu entries: "Alpha", "-", "Beta", "-GDisabled", "Gamma", sub-menu "More" ("Sub 1", "Sub 2").

class TestEffect : public AudioEffectX {
public:
    explicit TestEffect(audioMasterCallback audioMaster);

    void processReplacing(float** inputs, float** outputs, VstInt32 frames) override;
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;

private:
    float values[kParamCount] = {};
};

} // namespace orvane::guitest
