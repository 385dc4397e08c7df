// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/CKickButton.h"

#include "toolkit/CDrawContext.h"

namespace orvgui {

CKickButton::CKickButton(const CRect& size, IControlListener* listener, int32_t tag,
                         CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background), offset(offset) {
    setWantsFocus(false);
}

void CKickButton::draw(CDrawContext* context) {
    CPoint where = offset;
    if (value == vmax && vmax != vmin) where.y += size.getHeight();
    context->drawBitmap(background, size, where);
}

CMouseEventResult CKickButton::onMouseDown(CPoint& where, const CButtonState& buttons) {
    if (!(buttons & kLButton)) return kMouseEventNotHandled;
    beginEdit();
    return onMouseMoved(where, buttons);
}

CMouseEventResult CKickButton::onMouseMoved(CPoint& where, const CButtonState& buttons) {
    if (buttons & kLButton) {
        value = size.pointInside(where) ? vmax : vmin;
        if (isDirty()) invalid();
    }
    return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseUp(CPoint&, const CButtonState&) {
    if (value == vmax) valueChanged();
    value = vmin;
    valueChanged();
    if (isDirty()) invalid();
    endEdit();
    return kMouseEventHandled;
}

} // namespace orvgui
