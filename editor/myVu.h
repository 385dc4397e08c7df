// SPDX-License-Identifier: GPL-3.0-or-later
// Level meter: the bottom part of the editor's fully lit meter image, as high as the level.
#pragma once

#include "toolkit/CControl.h"

class myVu : public orvgui::CControl {
public:
    myVu(const orvgui::CRect& size, orvgui::IControlListener* listener, int32_t tag);

    // Stores the level for the next redraw; the caller marks the meter dirty.
    void setInputValue(float level) { inputValue = level; }

    void draw(orvgui::CDrawContext* context) override;

protected:
    float inputValue = 0;
};
