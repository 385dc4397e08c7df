// SPDX-License-Identifier: GPL-3.0-or-later
// Momentary text button and text readout: reports 1 on the press and 0 on the release.
#pragma once

#include "toolkit/CParamDisplay.h"

class myTextButton : public orvgui::CParamDisplay {
public:
    // A null text shows a blank; texts are cut to 255 characters.
    myTextButton(const orvgui::CRect& size, orvgui::IControlListener* listener, int32_t tag,
                 orvgui::CBitmap* background, const char* text, bool centred, bool blackText,
                 int fontIndex);

    void draw(orvgui::CDrawContext* context) override;
    orvgui::CMouseEventResult onMouseDown(orvgui::CPoint& where,
                                          const orvgui::CButtonState& buttons) override;
    orvgui::CMouseEventResult onMouseUp(orvgui::CPoint& where,
                                        const orvgui::CButtonState& buttons) override;

    void drawLCDText(orvgui::CDrawContext* context, orvgui::CRect& rect, const char* text);

    // Written by the editor directly.
    bool largeText = false;
    char text[256] = {};

protected:
    bool centred;
    bool blackText;
    orvgui::CFontRef smallFont;
    orvgui::CFontRef largeFont;
};
