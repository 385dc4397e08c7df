// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/CParamDisplay.h"

#include "toolkit/CDrawContext.h"

#include <cstdio>

namespace orvgui {

CParamDisplay::CParamDisplay(const CRect& size, CBitmap* background, int32_t style)
    : CControl(size, nullptr, -1, background), style(style) {
    setWantsFocus(false);
}

void CParamDisplay::draw(CDrawContext* context) {
    if (style & kNoDrawStyle) return;
    drawBack(context);
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", precision, static_cast<double>(value));
    drawText(context, text);
}

void CParamDisplay::drawBack(CDrawContext* context) {
    if (background) {
        context->drawBitmap(background, size, backOffset);
        return;
    }
    context->setFillColor(backColor);
    context->drawRect(size, kDrawFilled);
    if (!(style & kNoFrame)) {
        context->setFrameColor(frameColor);
        context->setLineWidth(1);
        context->drawRect(CRect(size.left, size.top, size.right - 1, size.bottom - 1));
    }
}

void CParamDisplay::drawText(CDrawContext* context, const char* text) {
    if (style & kNoTextStyle) return;
    context->setFont(fontID);
    context->setFontColor(fontColor);
    context->drawString(text, size, horiTxtAlign);
}

} // namespace orvgui
