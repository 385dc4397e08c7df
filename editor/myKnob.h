// SPDX-License-Identifier: GPL-3.0-or-later
// Film-strip knob with the editor's drag model: 200 pixels up or right for a full sweep,
// 10000 with Shift; double-click or Command-click for the default; right click or
// Control-click for the MIDI-learn menu.
#pragma once

#include "toolkit/CAnimKnob.h"

class myKnob : public orvgui::CAnimKnob {
public:
    // The view's height is the height of one film image (film height / subPixmaps).
    myKnob(const orvgui::CRect& size, orvgui::IControlListener* listener, int32_t tag,
           orvgui::CBitmap* background, orvgui::CPoint& offset, int subPixmaps);

    void draw(orvgui::CDrawContext* context) override;
    orvgui::CMouseEventResult onMouseDown(orvgui::CPoint& where,
                                          const orvgui::CButtonState& buttons) override;
    orvgui::CMouseEventResult onMouseUp(orvgui::CPoint& where,
                                        const orvgui::CButtonState& buttons) override;
    orvgui::CMouseEventResult onMouseMoved(orvgui::CPoint& where,
                                           const orvgui::CButtonState& buttons) override;

protected:
    orvgui::CBitmap* film;
    // Drag state, set up by each press.
    bool modeLinear = false;
    int32_t oldButton = -1;
    float startValue = 0;
    float entryValue = 0;
    float range = 200; // pixels for a full sweep
    float coef = 0;    // value per pixel
    orvgui::CPoint firstPoint;
    orvgui::CPoint lastPoint;
    // Only a press that starts a drag moves the knob: the moves after a Control-click belong
    // to the MIDI-learn menu it opened.
    bool dragging = false;
};
