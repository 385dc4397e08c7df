// SPDX-License-Identifier: GPL-3.0-or-later
// A knob drawn from a film strip of subPixmaps images stacked vertically.
#pragma once

#include "toolkit/CControl.h"

namespace orvgui {

class CAnimKnob : public CControl {
public:
    CAnimKnob(const CRect& size, IControlListener* listener, int32_t tag, int32_t subPixmaps,
              CCoord heightOfOneImage, CBitmap* background, const CPoint& offset = CPoint(0, 0));

    // The value a circular drag gives for point, relative to the view's top-left corner:
    // min at the lower left, max at the lower right, sweeping clockwise over the top.
    float valueFromPoint(CPoint& point) const;

    void setInverseBitmap(bool state) { bInverseBitmap = state; }
    bool getInverseBitmap() const { return bInverseBitmap; }
    int32_t getNumSubPixmaps() const { return subPixmaps; }
    CCoord getHeightOfOneImage() const { return heightOfOneImage; }
    void setStartAngle(float angle) { startAngle = angle; }
    void setRangeAngle(float angle) { rangeAngle = angle; }

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    bool onWheel(const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                 const CButtonState& buttons) override;
    int32_t onKeyDown(VstKeyCode& key) override;

protected:
    int32_t subPixmaps;
    CCoord heightOfOneImage;
    CPoint offset;
    bool bInverseBitmap = false;
    float startAngle;
    float rangeAngle;

private:
    // Applies a change from the wheel or the keyboard as one gesture.
    void nudge(float delta);

    struct Drag {
        CPoint firstPoint;
        CPoint lastPoint;
        float startValue = 0;
        float entryValue = 0;
        float coef = 0;
        int32_t buttons = 0;
        bool linear = false;
    } drag;
};

} // namespace orvgui
