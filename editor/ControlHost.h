// SPDX-License-Identifier: GPL-3.0-or-later
// What the editor's own controls need from the editor that owns their frame, and the mouse
// and tag vocabulary they share with it.
#pragma once

#include "toolkit/CControl.h"

#include <cstdint>

namespace orvgui {
class CBitmap;
}

// Controls up to this tag drive the parameter of that index.
inline constexpr int32_t kLastParameterTag = 9899;
// A control with no parameter, and one the editor recognises by its identity.
inline constexpr int32_t kTagNoParameter = 9999;
inline constexpr int32_t kTagByIdentity = 9998;
// Menus up to this tag drive a parameter and offer the MIDI-learn menu on a right click.
inline constexpr int32_t kLastLearnMenuTag = 9989;

// The toolkit reports the Ctrl key as kControl and the Super key as kApple. Ctrl takes the
// role of the Mac's Command key (a click sets the default value, the toolkit's own
// kDefaultValueModifier); Super takes that of the Mac's Control key, whose click is a right
// click.
inline constexpr int32_t kCommandKey = orvgui::kControl;
inline constexpr int32_t kControlKey = orvgui::kApple;

// A left click with the Control key counts as a right click with it, as the Mac reports it.
inline int32_t withControlClickAsRightClick(int32_t buttons) {
    if ((buttons & orvgui::kLButton) && (buttons & kControlKey))
        return (buttons & ~orvgui::kLButton) | orvgui::kRButton;
    return buttons;
}

class ControlHost {
public:
    virtual ~ControlHost() = default;

    // Opens the MIDI-learn menu for control; where becomes the frame's mouse position.
    virtual void midiLearnMenu(orvgui::CControl* control, orvgui::CPoint& where) = 0;
    // The two-state lamp every radio button draws (unlit above lit) and the fully lit meter
    // both meters draw; null when not loaded.
    virtual orvgui::CBitmap* getLampBitmap() const = 0;
    virtual orvgui::CBitmap* getMeterBitmap() const = 0;

    // The editor of view's frame when it is a ControlHost, else null.
    static ControlHost* of(const orvgui::CView* view);

    // Set while an option menu is pressed with the mouse: the key handler then passes arrow
    // keys on instead of stepping programs.
    bool menuPressed = false;
};
