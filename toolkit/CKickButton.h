// SPDX-License-Identifier: GPL-3.0-or-later
// A momentary button: max while pressed inside it; a release inside reports max, then min.
#pragma once

#include "toolkit/CControl.h"

namespace orvgui {

class CKickButton : public CControl {
public:
    // The bitmap holds the released image above the pressed one.
    CKickButton(const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background,
                const CPoint& offset = CPoint(0, 0));

    void draw(CDrawContext* context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;

protected:
    CPoint offset;
};

} // namespace orvgui
