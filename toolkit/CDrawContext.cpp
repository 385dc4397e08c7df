// SPDX-License-Identifier: GPL-3.0-or-later
#include "toolkit/CDrawContext.h"

#include "toolkit/CBitmap.h"

#include <cairo.h>
#include <cmath>
#include <glib.h>
#include <memory>

namespace orvgui {

namespace {
// cairo refuses malformed UTF-8 and then stops drawing on the whole context, so texts that
// came from outside (program names, files) are repaired first.
struct ValidText {
    explicit ValidText(const char* text) : text(text) {
        if (!g_utf8_validate(text, -1, nullptr)) {
            repaired.reset(g_utf8_make_valid(text, -1));
            this->text = repaired.get();
        }
    }
    struct GFree {
        void operator()(char* p) const { g_free(p); }
    };
    const char* text;
    std::unique_ptr<char, GFree> repaired;
};

double channel(uint8_t value) {
    return value / 255.0;
}
} // namespace

CDrawContext::CDrawContext(cairo_t* cairo) : cairo(cairo) {}

void CDrawContext::setFont(CFontRef font, CCoord size, int32_t style) {
    state.font = font ? font : kSystemFont;
    state.fontSize = size;
    state.fontStyle = style;
}

void CDrawContext::setSourceColor(const CColor& color) {
    cairo_set_source_rgba(cairo, channel(color.red), channel(color.green), channel(color.blue),
                          channel(color.alpha));
}

void CDrawContext::selectFont() {
    const int32_t style = state.fontStyle >= 0 ? state.fontStyle : state.font->getStyle();
    const CCoord size = state.fontSize > 0 ? state.fontSize : state.font->getSize();
    cairo_select_font_face(cairo, state.font->getName().c_str(),
                           (style & kItalicFace) ? CAIRO_FONT_SLANT_ITALIC
                                                 : CAIRO_FONT_SLANT_NORMAL,
                           (style & kBoldFace) ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cairo, size);
}

// Odd line widths are stroked on pixel centres so that a 1-pixel outline covers exactly the
// pixels from left to right inclusive.
void CDrawContext::pathRect(const CRect& rect, bool stroke) {
    const double shift = stroke && std::fmod(std::round(state.lineWidth), 2.0) == 1.0 ? 0.5 : 0.0;
    cairo_rectangle(cairo, rect.left + shift, rect.top + shift, rect.getWidth(), rect.getHeight());
}

void CDrawContext::drawRect(const CRect& rect, CDrawStyle style) {
    if (style != kDrawStroked) {
        pathRect(rect, false);
        setSourceColor(state.fillColor);
        cairo_fill(cairo);
    }
    if (style != kDrawFilled) {
        pathRect(rect, true);
        setSourceColor(state.frameColor);
        cairo_set_line_width(cairo, state.lineWidth);
        cairo_stroke(cairo);
    }
}

void CDrawContext::drawLine(const CPoint& start, const CPoint& end) {
    const double shift = std::fmod(std::round(state.lineWidth), 2.0) == 1.0 ? 0.5 : 0.0;
    cairo_move_to(cairo, start.x + shift, start.y + shift);
    cairo_line_to(cairo, end.x + shift, end.y + shift);
    setSourceColor(state.frameColor);
    cairo_set_line_width(cairo, state.lineWidth);
    cairo_stroke(cairo);
}

void CDrawContext::drawEllipse(const CRect& rect, CDrawStyle style) {
    if (rect.isEmpty()) return;
    auto path = [&] {
        cairo_save(cairo);
        cairo_translate(cairo, rect.left + rect.getWidth() / 2, rect.top + rect.getHeight() / 2);
        cairo_scale(cairo, rect.getWidth() / 2, rect.getHeight() / 2);
        cairo_arc(cairo, 0, 0, 1, 0, 2 * M_PI);
        cairo_restore(cairo);
    };
    if (style != kDrawStroked) {
        path();
        setSourceColor(state.fillColor);
        cairo_fill(cairo);
    }
    if (style != kDrawFilled) {
        path();
        setSourceColor(state.frameColor);
        cairo_set_line_width(cairo, state.lineWidth);
        cairo_stroke(cairo);
    }
}

void CDrawContext::drawString(const char* text, const CRect& rect, CHoriTxtAlign align,
                              bool antialias) {
    if (!text || !*text || rect.isEmpty()) return;
    const ValidText valid(text);
    selectFont();
    cairo_font_extents_t font;
    cairo_font_extents(cairo, &font);
    cairo_text_extents_t extents;
    cairo_text_extents(cairo, valid.text, &extents);
    double x = rect.left;
    if (align == kCenterText)
        x += (rect.getWidth() - extents.x_advance) / 2;
    else if (align == kRightText)
        x = rect.right - extents.x_advance;
    const double y = rect.top + (rect.getHeight() - font.ascent - font.descent) / 2 + font.ascent;
    drawString(valid.text, CPoint(std::round(x), std::round(y)), antialias);
}

void CDrawContext::drawString(const char* text, const CPoint& where, bool antialias) {
    if (!text || !*text) return;
    const ValidText valid(text);
    selectFont();
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options,
                                     antialias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
    cairo_set_font_options(cairo, options);
    cairo_font_options_destroy(options);
    setSourceColor(state.fontColor);
    cairo_move_to(cairo, where.x, where.y);
    cairo_show_text(cairo, valid.text);
    cairo_new_path(cairo);
}

CCoord CDrawContext::getStringWidth(const char* text) {
    if (!text || !*text) return 0;
    const ValidText valid(text);
    selectFont();
    cairo_text_extents_t extents;
    cairo_text_extents(cairo, valid.text, &extents);
    return extents.x_advance;
}

void CDrawContext::drawBitmap(CBitmap* bitmap, const CRect& dest, const CPoint& offset,
                              float alpha) {
    if (!bitmap || !bitmap->isLoaded() || dest.isEmpty() || !(alpha > 0)) return;
    cairo_save(cairo);
    cairo_rectangle(cairo, dest.left, dest.top, dest.getWidth(), dest.getHeight());
    cairo_clip(cairo);
    // Only the rows that land inside the clip need unpacking; one more each side for the
    // nearest-row pick of a fractional offset.
    double clipLeft, clipTop, clipRight, clipBottom;
    cairo_clip_extents(cairo, &clipLeft, &clipTop, &clipRight, &clipBottom);
    const double imageTop = dest.top - offset.y;
    cairo_surface_t* surface =
        bitmap->surfaceWithRows(static_cast<int>(std::floor(clipTop - imageTop)) - 1,
                                static_cast<int>(std::ceil(clipBottom - imageTop)) + 1);
    cairo_set_source_surface(cairo, surface, dest.left - offset.x, imageTop);
    // Images are never scaled; a fractional offset picks the nearest row instead of blending
    // two film frames.
    cairo_pattern_set_filter(cairo_get_source(cairo), CAIRO_FILTER_NEAREST);
    if (alpha >= 1)
        cairo_paint(cairo);
    else
        cairo_paint_with_alpha(cairo, alpha);
    cairo_restore(cairo);
}

void CDrawContext::setClipRect(const CRect& rect) {
    state.clip.bound(rect);
    cairo_reset_clip(cairo);
    cairo_rectangle(cairo, state.clip.left, state.clip.top, state.clip.getWidth(),
                    state.clip.getHeight());
    cairo_clip(cairo);
}

void CDrawContext::translate(CCoord dx, CCoord dy) {
    cairo_translate(cairo, dx, dy);
    state.offset.offset(dx, dy);
    state.clip.offset(-dx, -dy);
}

void CDrawContext::saveGlobalState() {
    cairo_save(cairo);
    saved.push_back(state);
}

void CDrawContext::restoreGlobalState() {
    if (saved.empty()) return;
    cairo_restore(cairo);
    state = saved.back();
    saved.pop_back();
}

} // namespace orvgui
