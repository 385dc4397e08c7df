// SPDX-License-Identifier: GPL-3.0-or-later
// Two-state switch that toggles on the press; a right click opens the MIDI-learn menu.
// Drawn by the toolkit: the upper half of the bitmap while off, the lower half while on.
#pragma once

#include "toolkit/COnOffButton.h"

class myOnOff : public orvgui::COnOffButton {
public:
    myOnOff(const orvgui::CRect& size, orvgui::IControlListener* listener, int32_t tag,
            orvgui::CBitmap* background, int32_t style);

    orvgui::CMouseEventResult onMouseDown(orvgui::CPoint& where,
                                          const orvgui::CButtonState& buttons) override;
};
