// SPDX-License-Identifier: GPL-3.0-or-later
// Test bitmaps with known colours, served as the module's resources.
#pragma once

#include "toolkit/Geometry.h"

namespace orvane::testimages {

enum Number : int {
    kBackgroundImage = 1, // 1100 x 950 of kBackgroundColour
    kKnobFilm = 2,        // 137 frames of 60 x 60; frame i is knobFrameColour(i)
    kSwitchImage = 3,     // 40 x 80: off (kOffColour) above on (kOnColour)
    kKickImage = 4,       // 60 x 60: released (kReleasedColour) above pressed (kPressedColour)
    kFieldImage = 5,      // 120 x 24 of kFieldColour
    kMalformedImage = 6,  // bytes that are not a packed bitmap
    kTruncatedImage = 7,  // kSwitchImage without its last byte
    kDamagedImage = 8,    // kSwitchImage with its compressed pixels overwritten
};

inline constexpr int kKnobFrames = 137;
inline constexpr orvgui::CColor kBackgroundColour{20, 40, 80, 255};
inline constexpr orvgui::CColor kOffColour{200, 0, 0, 255};
inline constexpr orvgui::CColor kOnColour{0, 200, 0, 255};
inline constexpr orvgui::CColor kReleasedColour{80, 80, 80, 255};
inline constexpr orvgui::CColor kPressedColour{255, 255, 0, 255};
inline constexpr orvgui::CColor kFieldColour{10, 10, 10, 255};

inline orvgui::CColor knobFrameColour(int frame) {
    return {static_cast<uint8_t>(frame), static_cast<uint8_t>(255 - frame), 128, 255};
}

} // namespace orvane::testimages
