// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/CAnimKnob.h"

#include "toolkit/CDrawContext.h"
#include "toolkit/CFrame.h"
#include "toolkit/EditorInterface.h"

#include <cmath>

namespace orvgui {

namespace {
constexpr float kPi = 3.14159265358979f;
constexpr float kLinearRange = 200; // pixels for a full sweep
constexpr float kFineFactor = 50;   // the fine modifier makes a sweep this many times longer
} // namespace

CAnimKnob::CAnimKnob(const CRect& size, IControlListener* listener, int32_t tag, int32_t subPixmaps,
                     CCoord heightOfOneImage, CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background), subPixmaps(subPixmaps),
      heightOfOneImage(heightOfOneImage), offset(offset), startAngle(3 * kPi / 4),
      rangeAngle(3 * kPi / 2) {}

float CAnimKnob::valueFromPoint(CPoint& point) const {
    const double halfRange = rangeAngle * 0.5;
    const double centreAngle = startAngle + halfRange;
    const double rx = size.getWidth() / 2, ry = size.getHeight() / 2;
    if (rx <= 0 || ry <= 0) return value;
    double alpha = std::atan2((point.y - ry) / ry, (point.x - rx) / rx) - centreAngle;
    while (alpha >= kPi)
        alpha -= 2 * kPi;
    while (alpha < -kPi)
        alpha += 2 * kPi;
    if (alpha > halfRange) return vmax;
    if (alpha < -halfRange) return vmin;
    return vmin + static_cast<float>(0.5 + alpha / rangeAngle) * getRange();
}

void CAnimKnob::draw(CDrawContext* context) {
    CPoint where = offset;
    if (subPixmaps > 1) {
        float v = getValueNormalized();
        if (bInverseBitmap) v = 1 - v;
        where.y += std::round(v * static_cast<float>(subPixmaps - 1)) * heightOfOneImage;
    }
    context->drawBitmap(background, size, where);
}

CMouseEventResult CAnimKnob::onMouseDown(CPoint& where, const CButtonState& buttons) {
    if (!(buttons & kLButton)) return kMouseEventNotHandled;
    beginEdit();
    if (checkDefaultValue(buttons)) {
        endEdit();
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }
    drag = Drag{};
    drag.firstPoint = where;
    drag.lastPoint = CPoint(-1, -1);
    drag.entryValue = value;
    drag.buttons = buttons;
    EditorInterface* editor = getEditor();
    const int32_t mode = editor ? editor->getKnobMode() : kCircularMode;
    // Alt switches between the host's mode and linear dragging.
    drag.linear = (mode == kLinearMode) != ((buttons & kAlt) != 0);
    if (drag.linear) {
        drag.coef =
            getRange() / (buttons & kZoomModifier ? kLinearRange * kFineFactor : kLinearRange);
    } else {
        CPoint local(where.x - size.left, where.y - size.top);
        drag.startValue = valueFromPoint(local);
    }
    return onMouseMoved(where, buttons);
}

CMouseEventResult CAnimKnob::onMouseMoved(CPoint& where, const CButtonState& buttons) {
    if (!(buttons & kLButton)) return kMouseEventHandled;
    auto travel = [this](const CPoint& p) {
        return static_cast<float>((drag.firstPoint.y - p.y) + (p.x - drag.firstPoint.x));
    };
    if (drag.linear && static_cast<int32_t>(buttons) != drag.buttons) {
        // Re-base at the last position, so that the way since then goes at the new rate and
        // the value does not jump when the fine modifier changes.
        const float coef =
            getRange() / (buttons & kZoomModifier ? kLinearRange * kFineFactor : kLinearRange);
        drag.entryValue += travel(drag.lastPoint) * (drag.coef - coef);
        drag.coef = coef;
        drag.buttons = buttons;
    }
    if (where == drag.lastPoint) return kMouseEventHandled;
    drag.lastPoint = where;
    if (drag.linear) {
        value = drag.entryValue + travel(where) * drag.coef;
        bounceValue();
    } else {
        CPoint local(where.x - size.left, where.y - size.top);
        value = valueFromPoint(local);
        const float half = getRange() / 2;
        if (drag.startValue - value > half)
            value = vmax;
        else if (value - drag.startValue > half)
            value = vmin;
        else
            drag.startValue = value;
    }
    if (value != oldValue) valueChanged();
    if (isDirty()) invalid();
    return kMouseEventHandled;
}

CMouseEventResult CAnimKnob::onMouseUp(CPoint&, const CButtonState&) {
    endEdit();
    return kMouseEventHandled;
}

void CAnimKnob::nudge(float delta) {
    const float before = value;
    setValue(value + delta);
    if (value == before) return;
    beginEdit();
    valueChanged();
    endEdit();
    if (isDirty()) invalid();
}

bool CAnimKnob::onWheel(const CPoint&, const CMouseWheelAxis&, const float& distance,
                        const CButtonState& buttons) {
    const float step = buttons & kZoomModifier ? wheelInc * 0.1f : wheelInc;
    nudge(distance * step * getRange());
    return true;
}

int32_t CAnimKnob::onKeyDown(VstKeyCode& key) {
    float direction = 0;
    if (key.virt == VKEY_UP || key.virt == VKEY_RIGHT)
        direction = 1;
    else if (key.virt == VKEY_DOWN || key.virt == VKEY_LEFT)
        direction = -1;
    else
        return -1;
    const float step = key.modifier & MODIFIER_SHIFT ? wheelInc * 0.1f : wheelInc;
    nudge(direction * step * getRange());
    return 1;
}

} // namespace orvgui
