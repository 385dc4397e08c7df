// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/Fonts.h"

using namespace orvgui;

// The toolkit's standard fonts are constant-initialised, so reading them here is safe.
CFontRef FONT_SIZE[3] = {kNormalFont, kNormalFontBig, kNormalFontVeryBig};
CFontRef SMALL_FONT_SIZE[3] = {kNormalFontSmaller, kNormalFont, kNormalFontBig};

int fontTableIndex(int scaleIndex) {
    return scaleIndex >= 0 && scaleIndex < 3 ? scaleIndex : 0;
}

void drawRectExt(CRect rect, CDrawContext* context) {
    if (context) context->drawRect(rect, kDrawStroked);
}

void fillRectExt(CRect rect, CDrawContext* context) {
    if (context) context->drawRect(rect, kDrawFilled);
}
