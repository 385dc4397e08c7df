// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/myOptionMenu.h"

#include "editor/ControlHost.h"
#include "editor/Fonts.h"
#include "toolkit/CDrawContext.h"

#include <cstring>

using namespace orvgui;

myOptionMenu::myOptionMenu(const CRect& size, IControlListener* listener, int32_t tag,
                           CBitmap* background, CBitmap* bgWhenClick, int32_t style, int fontIndex,
                           bool centred)
    : COptionMenu(size, listener, tag, background, bgWhenClick, style), centred(centred),
      smallFont(SMALL_FONT_SIZE[fontTableIndex(fontIndex)]),
      largeFont(FONT_SIZE[fontTableIndex(fontIndex)]) {}

void myOptionMenu::setString(const char* s) {
    if (s) {
        std::strncpy(displayText, s, sizeof displayText - 1);
        displayText[sizeof displayText - 1] = '\0';
    } else {
        std::strcpy(displayText, " ");
    }
    setDirty(true);
}

void myOptionMenu::draw(CDrawContext* context) {
    const char* text = displayText;
    if (!displayText[0] && getCurrentIndex() >= 0 && getNbEntries() > 0)
        if (CMenuItem* current = getCurrent()) text = current->getTitle().c_str();
    if (background) context->drawBitmap(background, size, backOffset, 1.0f);
    // The ECS menu shows only its bitmap.
    if (tag == kTagByIdentity) return;
    CRect rect = size;
    drawLCDText(context, rect, text);
}

void myOptionMenu::drawLCDText(CDrawContext* context, CRect& rect, const char* text) {
    if (!text) return;
    if (usePresetFont) {
        context->setFont(largeFont, 0, kBoldFace);
        context->setFontColor(PRESET_COLOUR);
    } else {
        context->setFont(smallFont, 0, kNormalFace);
        context->setFontColor(TEXT_COLOUR);
    }
    context->drawString(text, rect, centred ? kCenterText : kLeftText, true);
}

CMouseEventResult myOptionMenu::onMouseDown(CPoint& where, const CButtonState& pressed) {
    const CButtonState buttons = withControlClickAsRightClick(pressed);
    ControlHost* host = ControlHost::of(this);
    if (!getMouseEnabled() || !host) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    host->menuPressed = true;
    // No release follows the early returns below, so they clear the flag themselves: left
    // set, it would keep arrow-key program stepping off.
    if (!(buttons & kLButton) && tag <= kLastLearnMenuTag) {
        if (buttons & kRButton) host->midiLearnMenu(this, where);
        host->menuPressed = false;
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    if ((buttons & kModifierMask) && listener &&
        listener->controlModifierClicked(this, buttons) != 0) {
        host->menuPressed = false;
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    if (!(buttons & (kLButton | kRButton | kControlKey))) return kMouseEventHandled;
    beginEdit();
    doPopup();
    return kMouseEventHandled;
}

CMouseEventResult myOptionMenu::onMouseUp(CPoint&, const CButtonState&) {
    ControlHost* host = ControlHost::of(this);
    if (!getMouseEnabled() || !host) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    if (isEditing()) endEdit();
    host->menuPressed = false;
    return kMouseEventHandled;
}
