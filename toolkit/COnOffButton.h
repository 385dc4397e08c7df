// SPDX-License-Identifier: GPL-3.0-or-later
// A two-state switch toggled by a click; the bitmap holds the off image above the on image.
#pragma once

#include "toolkit/CControl.h"

namespace orvgui {

class COnOffButton : public CControl {
public:
    COnOffButton(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                 int32_t style = 0);

    // On from the middle of the range up, the same rule the effect applies to switches.
    bool isOn() const { return value >= vmin + getRange() / 2; }
    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

protected:
    int32_t style;
};

} // namespace orvgui
