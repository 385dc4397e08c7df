// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/myOnOff.h"

#include "editor/ControlHost.h"

using namespace orvgui;

myOnOff::myOnOff(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                 int32_t style)
    : COnOffButton(size, listener, tag, background, style) {}

CMouseEventResult myOnOff::onMouseDown(CPoint& where, const CButtonState& pressed) {
    const CButtonState buttons = withControlClickAsRightClick(pressed);
    ControlHost* host = ControlHost::of(this);
    if (!getMouseEnabled() || !host) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    if (!(buttons & kLButton)) {
        if (buttons & kRButton) host->midiLearnMenu(this, where);
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    if (listener && (buttons & kModifierMask) &&
        listener->controlModifierClicked(this, buttons) != 0)
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    value = static_cast<int>(value) != 0 ? 0.0f : 1.0f;
    if (listener) {
        beginEdit();
        valueChanged();
        endEdit();
    }
    if (isDirty()) invalid();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}
