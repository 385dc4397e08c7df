// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/myTextButton.h"

#include "editor/Fonts.h"
#include "toolkit/CDrawContext.h"

#include <cstring>

using namespace orvgui;

myTextButton::myTextButton(const CRect& size, IControlListener* listener, int32_t tag,
                           CBitmap* background, const char* initialText, bool centred,
                           bool blackText, int fontIndex)
    : CParamDisplay(size, background, 0), centred(centred), blackText(blackText),
      smallFont(SMALL_FONT_SIZE[fontTableIndex(fontIndex)]),
      largeFont(FONT_SIZE[fontTableIndex(fontIndex)]) {
    setListener(listener);
    this->tag = tag;
    std::strncpy(text, initialText ? initialText : " ", sizeof text - 1);
}

void myTextButton::draw(CDrawContext* context) {
    bounceValue();
    if (background) {
        context->drawBitmap(background, size, backOffset, 1.0f);
    } else {
        context->setFillColor(kBlackCColor);
        fillRectExt(size, context);
        context->setFrameColor(kBlackCColor);
        drawRectExt(CRect(size.left, size.top, size.right - 1, size.bottom - 1), context);
    }
    CRect rect(size.left, size.top, size.right - 1, size.bottom - 1);
    drawLCDText(context, rect, text);
}

void myTextButton::drawLCDText(CDrawContext* context, CRect& rect, const char* shown) {
    if (!shown) return;
    rect.offset(1, 1);
    context->setFont(largeText ? largeFont : smallFont, 0, kNormalFace);
    context->setFontColor(blackText ? kBlackCColor : TEXT_COLOUR);
    context->drawString(shown, rect, centred ? kCenterText : kLeftText, true);
}

CMouseEventResult myTextButton::onMouseDown(CPoint&, const CButtonState& buttons) {
    if (!(buttons & kLButton) || !getMouseEnabled())
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    value = 1.0f;
    setDirty(true);
    valueChanged();
    return kMouseEventHandled;
}

CMouseEventResult myTextButton::onMouseUp(CPoint&, const CButtonState& buttons) {
    if (buttons & kLButton) {
        value = 0.0f;
        setDirty(true);
        valueChanged();
    }
    return kMouseEventHandled;
}
