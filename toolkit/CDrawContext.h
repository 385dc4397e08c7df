// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing operations of views, over a cairo context. Coordinates are those of the view
// being drawn: containers move the origin to their top-left corner for their children.
#pragma once

#include "toolkit/CFontDesc.h"
#include "toolkit/Geometry.h"

#include <vector>

typedef struct _cairo cairo_t;

namespace orvgui {

class CBitmap;

enum CDrawStyle { kDrawStroked = 0, kDrawFilled, kDrawFilledAndStroked };

class CDrawContext {
public:
    explicit CDrawContext(cairo_t* cairo);
    CDrawContext(const CDrawContext&) = delete;
    CDrawContext& operator=(const CDrawContext&) = delete;

    void setLineWidth(CCoord width) { state.lineWidth = width; }
    CCoord getLineWidth() const { return state.lineWidth; }
    void setFillColor(const CColor& color) { state.fillColor = color; }
    const CColor& getFillColor() const { return state.fillColor; }
    void setFrameColor(const CColor& color) { state.frameColor = color; }
    const CColor& getFrameColor() const { return state.frameColor; }
    void setFontColor(const CColor& color) { state.fontColor = color; }
    const CColor& getFontColor() const { return state.fontColor; }
    // size 0 keeps the font's size, style -1 its style.
    void setFont(CFontRef font, CCoord size = 0, int32_t style = -1);
    CFontRef getFont() const { return state.font; }

    void drawRect(const CRect& rect, CDrawStyle style = kDrawStroked);
    void drawLine(const CPoint& start, const CPoint& end);
    void drawEllipse(const CRect& rect, CDrawStyle style = kDrawStroked);
    // One line of text, antialiased, centred vertically in rect.
    void drawString(const char* text, const CRect& rect, CHoriTxtAlign align = kCenterText,
                    bool antialias = true);
    // One line of text with its baseline starting at where.
    void drawString(const char* text, const CPoint& where, bool antialias = true);
    CCoord getStringWidth(const char* text);
    // Draws the image region starting at offset into dest (no scaling).
    void drawBitmap(CBitmap* bitmap, const CRect& dest, const CPoint& offset = CPoint(0, 0),
                    float alpha = 1.0f);

    // Clips further drawing to rect (intersected with the current clip).
    void setClipRect(const CRect& rect);
    CRect getClipRect() const { return state.clip; }
    // Moves the origin; used by containers around their children.
    void translate(CCoord dx, CCoord dy);
    CPoint getOffset() const { return state.offset; }

    void saveGlobalState();
    void restoreGlobalState();

    cairo_t* getCairo() const { return cairo; }

private:
    struct State {
        CColor fillColor = kWhiteCColor;
        CColor frameColor = kBlackCColor;
        CColor fontColor = kWhiteCColor;
        CCoord lineWidth = 1;
        CFontRef font = kSystemFont;
        CCoord fontSize = 0;
        int32_t fontStyle = -1;
        CRect clip{-1e6, -1e6, 1e6, 1e6};
        CPoint offset;
    };

    void setSourceColor(const CColor& color);
    void selectFont();
    void pathRect(const CRect& rect, bool stroke);

    cairo_t* cairo;
    State state;
    std::vector<State> saved;
};

} // namespace orvgui
