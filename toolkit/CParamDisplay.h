// SPDX-License-Identifier: GPL-3.0-or-later
// A control that shows its value as text over a background bitmap or colour.
#pragma once

#include "toolkit/CControl.h"
#include "toolkit/CFontDesc.h"

namespace orvgui {

enum CParamDisplayStyle : int32_t {
    k3DIn = 1 << 3,
    k3DOut = 1 << 4,
    kCheckStyle = 1 << 6, // option menus: a check mark on the current entry
    kNoTextStyle = 1 << 11,
    kNoDrawStyle = 1 << 12,
    kNoFrame = 1 << 14,
};

class CParamDisplay : public CControl {
public:
    CParamDisplay(const CRect& size, CBitmap* background = nullptr, int32_t style = 0);

    void setFont(CFontRef font) { fontID = font ? font : kNormalFont; }
    CFontRef getFont() const { return fontID; }
    void setFontColor(const CColor& color) { fontColor = color; }
    const CColor& getFontColor() const { return fontColor; }
    void setBackColor(const CColor& color) { backColor = color; }
    const CColor& getBackColor() const { return backColor; }
    void setFrameColor(const CColor& color) { frameColor = color; }
    const CColor& getFrameColor() const { return frameColor; }
    void setHoriAlign(CHoriTxtAlign align) { horiTxtAlign = align; }
    CHoriTxtAlign getHoriAlign() const { return horiTxtAlign; }
    void setStyle(int32_t newStyle) { style = newStyle; }
    int32_t getStyle() const { return style; }
    void setPrecision(int32_t digits) { precision = digits; }

    void draw(CDrawContext* context) override;

protected:
    // The background bitmap, or the back colour and the frame unless the style omits it.
    virtual void drawBack(CDrawContext* context);
    void drawText(CDrawContext* context, const char* text);

    CFontRef fontID = kNormalFont;
    CColor fontColor = kWhiteCColor;
    CColor backColor = kBlackCColor;
    CColor frameColor = kBlackCColor;
    CHoriTxtAlign horiTxtAlign = kCenterText;
    int32_t style;
    int32_t precision = 2;
};

} // namespace orvgui
