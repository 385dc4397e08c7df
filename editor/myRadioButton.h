// SPDX-License-Identifier: GPL-3.0-or-later
// One button of a radio group, drawn with the editor's two-state lamp. A click turns it on;
// it never turns itself off (the editor clears the rest of its group).
#pragma once

#include "toolkit/CControl.h"

class myRadioButton : public orvgui::CControl {
public:
    myRadioButton(const orvgui::CRect& size, orvgui::IControlListener* listener, int32_t tag);

    void draw(orvgui::CDrawContext* context) override;
    orvgui::CMouseEventResult onMouseDown(orvgui::CPoint& where,
                                          const orvgui::CButtonState& buttons) override;
};
