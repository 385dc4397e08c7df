// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/myKnob.h"

#include "editor/ControlHost.h"
#include "toolkit/CBitmap.h"
#include "toolkit/CDrawContext.h"

#include <cmath>

using namespace orvgui;

namespace {
constexpr float kSweepPixels = 200;
constexpr float kFineSweepPixels = 10000; // with Shift

float sweepPixels(int32_t buttons) {
    return buttons & kShift ? kFineSweepPixels : kSweepPixels;
}
} // namespace

myKnob::myKnob(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
               CPoint& offset, int subPixmaps)
    : CAnimKnob(size, listener, tag, subPixmaps, size.getHeight(), background, offset),
      film(background) {}

void myKnob::draw(CDrawContext* context) {
    bounceValue();
    CPoint where(0, 0);
    if (value >= 0 && heightOfOneImage > 0) {
        const float total = static_cast<float>((subPixmaps - 1) * heightOfOneImage);
        const float v = bInverseBitmap ? 1 - value : value;
        // Whole pixels first, then the frame containing them: with a fractional image height
        // this may be the frame below the exact one, never a mix of two frames' rows.
        const float pos = std::trunc(total * v);
        where.y = std::floor(pos / heightOfOneImage) * heightOfOneImage;
    }
    if (film) context->drawBitmap(film, size, where, 1.0f);
}

CMouseEventResult myKnob::onMouseDown(CPoint& where, const CButtonState& buttons) {
    if (!getMouseEnabled() || tag == kTagNoParameter)
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    dragging = false;
    beginEdit();
    if (buttons & (kRButton | kControlKey)) {
        if (ControlHost* host = ControlHost::of(this)) host->midiLearnMenu(this, where);
        endEdit();
        return kMouseEventHandled;
    }
    if (checkDefaultValue(buttons)) {
        endEdit();
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    if (buttons & kDoubleClick) {
        value = getDefaultValue();
        valueChanged();
        endEdit();
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }

    dragging = true;
    firstPoint = where;
    lastPoint = CPoint(-1, -1);
    startValue = getOldValue();
    modeLinear = false;
    entryValue = value;
    range = kSweepPixels;
    coef = getRange() / range;
    oldButton = buttons;
    // Left drags are always linear, whatever the host's knob mode.
    if (buttons & kLButton) {
        range = sweepPixels(buttons);
        lastPoint = where;
        modeLinear = true;
        coef = getRange() / range;
    } else {
        CPoint local(where.x - size.left, where.y - size.top);
        startValue = valueFromPoint(local);
    }
    return onMouseMoved(where, buttons);
}

CMouseEventResult myKnob::onMouseMoved(CPoint& where, const CButtonState& buttons) {
    if (!dragging || !(buttons & kLButton)) return kMouseEventHandled;
    if (where == lastPoint) return kMouseEventHandled;
    lastPoint = where;

    if (modeLinear) {
        const float diff = static_cast<float>((firstPoint.y - where.y) + (where.x - firstPoint.x));
        if (static_cast<int32_t>(buttons) != oldButton) {
            // Re-base on the current position so that Shift changes the rate, not the value.
            range = sweepPixels(buttons);
            const float coef2 = getRange() / range;
            entryValue += diff * (coef - coef2);
            coef = coef2;
            oldButton = buttons;
        }
        value = entryValue + diff * coef;
        bounceValue();
    } else {
        const float half = getRange() * 0.5f;
        CPoint local(where.x - size.left, where.y - size.top);
        value = valueFromPoint(local);
        // A jump across the dial's gap sticks to the end it came from.
        if (startValue - value > half)
            value = vmax;
        else if (value - startValue > half)
            value = vmin;
        else
            startValue = value;
    }
    if (value != getOldValue()) valueChanged();
    if (isDirty()) invalid();
    return kMouseEventHandled;
}

CMouseEventResult myKnob::onMouseUp(CPoint&, const CButtonState&) {
    dragging = false;
    endEdit();
    setDirty(true);
    return kMouseEventHandled;
}
