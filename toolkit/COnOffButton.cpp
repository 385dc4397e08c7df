// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/COnOffButton.h"

#include "toolkit/CDrawContext.h"

namespace orvgui {

COnOffButton::COnOffButton(const CRect& size, IControlListener* listener, int32_t tag,
                           CBitmap* background, int32_t style)
    : CControl(size, listener, tag, background), style(style) {
    setWantsFocus(false);
}

void COnOffButton::draw(CDrawContext* context) {
    context->drawBitmap(background, size, CPoint(0, isOn() ? size.getHeight() : 0));
}

CMouseEventResult COnOffButton::onMouseDown(CPoint&, const CButtonState& buttons) {
    if (!(buttons & kLButton)) return kMouseEventNotHandled;
    value = isOn() ? vmin : vmax;
    beginEdit();
    valueChanged();
    endEdit();
    if (isDirty()) invalid();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

} // namespace orvgui
