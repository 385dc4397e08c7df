// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/myRadioButton.h"

#include "editor/ControlHost.h"
#include "toolkit/CBitmap.h"
#include "toolkit/CDrawContext.h"

using namespace orvgui;

myRadioButton::myRadioButton(const CRect& size, IControlListener* listener, int32_t tag)
    : CControl(size, listener, tag, nullptr) {}

void myRadioButton::draw(CDrawContext* context) {
    ControlHost* host = ControlHost::of(this);
    CBitmap* lamp = host ? host->getLampBitmap() : nullptr;
    if (!lamp) return;
    const CPoint offset(0, value != 0 ? lamp->getHeight() / 2 : 0);
    context->drawBitmap(lamp, size, offset, 1.0f);
}

CMouseEventResult myRadioButton::onMouseDown(CPoint&, const CButtonState& buttons) {
    if ((buttons & kLButton) && getMouseEnabled() && value != 1.0f) {
        value = 1.0f;
        setDirty(true);
        valueChanged();
    }
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}
