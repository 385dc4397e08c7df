// SPDX-License-Identifier: GPL-3.0-or-later
// Fonts, colours and rectangle helpers of the editor's text-drawing controls.
#pragma once

#include "toolkit/CDrawContext.h"
#include "toolkit/CFontDesc.h"

// Indexed by the editor's scale index (100 %, 150 %, 200 %).
extern orvgui::CFontRef FONT_SIZE[3];
extern orvgui::CFontRef SMALL_FONT_SIZE[3];

inline constexpr orvgui::CColor TEXT_COLOUR{151, 151, 151, 255};
inline constexpr orvgui::CColor PRESET_COLOUR{151, 151, 151, 255};

// A scale index out of range falls back to 100 %.
int fontTableIndex(int scaleIndex);

// Outline of rect in the context's frame colour and line width.
void drawRectExt(orvgui::CRect rect, orvgui::CDrawContext* context);
// rect filled with the context's fill colour.
void fillRectExt(orvgui::CRect rect, orvgui::CDrawContext* context);
