// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/myVu.h"

#include "editor/ControlHost.h"
#include "toolkit/CBitmap.h"
#include "toolkit/CDrawContext.h"

using namespace orvgui;

myVu::myVu(const CRect& size, IControlListener* listener, int32_t tag)
    : CControl(size, listener, tag, nullptr) {}

void myVu::draw(CDrawContext* context) {
    ControlHost* host = ControlHost::of(this);
    if (!host) return;
    // Written so that NaN lands on 0.
    float level = inputValue > 0 ? inputValue : 0.0f;
    if (level > 1) level = 1;
    value = level;
    const CCoord height = size.getHeight();
    const int lit = static_cast<int>(level * static_cast<float>(height));
    // The image's own bottom rows, whatever the rounding of lit: deriving the offset from
    // 1 - level separately can shift the image up by a row and lose its bottom one.
    const int offset = static_cast<int>(height) - lit;
    CBitmap* meter = host->getMeterBitmap();
    if (!meter || lit <= 0) return;
    context->drawBitmap(meter, CRect(size.left, size.bottom - lit, size.right, size.bottom),
                        CPoint(0, offset), 1.0f);
}
