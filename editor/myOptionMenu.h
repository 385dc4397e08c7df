// SPDX-License-Identifier: GPL-3.0-or-later
// Drop-down menu that draws its own text: the text the editor sets, else the current entry.
// Pressing it marks the editor's menuPressed; a right click on a parameter menu opens the
// MIDI-learn menu instead of the popup.
#pragma once

#include "toolkit/COptionMenu.h"

class myOptionMenu : public orvgui::COptionMenu {
public:
    myOptionMenu(const orvgui::CRect& size, orvgui::IControlListener* listener, int32_t tag,
                 orvgui::CBitmap* background, orvgui::CBitmap* bgWhenClick, int32_t style,
                 int fontIndex, bool centred);

    // The large bold font in PRESET_COLOUR, for the program menu.
    void setPresetFont() { usePresetFont = true; }
    // At most 127 characters; null shows a blank.
    void setString(const char* s);
    const char* getString() const { return displayText; }

    void draw(orvgui::CDrawContext* context) override;
    orvgui::CMouseEventResult onMouseDown(orvgui::CPoint& where,
                                          const orvgui::CButtonState& buttons) override;
    orvgui::CMouseEventResult onMouseUp(orvgui::CPoint& where,
                                        const orvgui::CButtonState& buttons) override;

    virtual void drawLCDText(orvgui::CDrawContext* context, orvgui::CRect& rect, const char* text);

protected:
    bool centred;
    bool usePresetFont = false;
    orvgui::CFontRef smallFont;
    orvgui::CFontRef largeFont;
    char displayText[128] = {};
};
