// SPDX-License-Identifier: GPL-3.0-or-later
#include "Paint.h"

#include <cmath>
#include <string>

namespace orvane::paint {

void setColour(cairo_t* cr, Colour c) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

void roundRect(cairo_t* cr, Rect r, double radius) {
    const double right = r.x + r.w, bottom = r.y + r.h;
    cairo_new_sub_path(cr);
    cairo_arc(cr, right - radius, r.y + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, right - radius, bottom - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, r.x + radius, bottom - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, r.x + radius, r.y + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void circle(cairo_t* cr, double cx, double cy, double radius) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
}

void fillVertical(cairo_t* cr, double y0, double y1, Colour top, Colour bottom) {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, top.a);
    cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, bottom.a);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

static void selectFont(cairo_t* cr, Font f) {
    cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL,
                           f.weight == Weight::Bold ? CAIRO_FONT_WEIGHT_BOLD
                                                    : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, f.size);
}

// Tracking needs per-letter placement: the toy API has no letter-spacing of its own.
static double advance(cairo_t* cr, const char* s, Font f) {
    double width = 0;
    for (const char* p = s; *p; ++p) {
        const char letter[2] = {*p, 0};
        cairo_text_extents_t e;
        cairo_text_extents(cr, letter, &e);
        width += e.x_advance + (p[1] ? f.tracking : 0);
    }
    return width;
}

double textWidth(cairo_t* cr, const char* s, Font f) {
    selectFont(cr, f);
    return advance(cr, s, f);
}

double text(cairo_t* cr, const char* s, double x, double midY, Font f, Colour c, Align a) {
    selectFont(cr, f);
    const double width = advance(cr, s, f);
    const double capHeight = 0.729 * f.size; // Liberation Sans capitals per em
    double left = a == Align::Left ? x : a == Align::Centre ? x - width / 2 : x - width;
    const double baseline = std::round(midY + capHeight / 2);
    left = std::round(left);
    setColour(cr, c);
    if (f.tracking == 0) {
        cairo_move_to(cr, left, baseline);
        cairo_show_text(cr, s);
        return width;
    }
    for (const char* p = s; *p; ++p) {
        const char letter[2] = {*p, 0};
        cairo_text_extents_t e;
        cairo_text_extents(cr, letter, &e);
        cairo_move_to(cr, left, baseline);
        cairo_show_text(cr, letter);
        left += e.x_advance + f.tracking;
    }
    return width;
}

void well(cairo_t* cr, Rect r, double radius, double unit) {
    roundRect(cr, {r.x, r.y + unit, r.w, r.h}, radius);
    setColour(cr, palette::highlight);
    cairo_fill(cr);
    roundRect(cr, r, radius);
    fillVertical(cr, r.y, r.y + r.h, rgb(0x141518), rgb(0x1b1d20));
    roundRect(cr, {r.x + unit / 2, r.y + unit / 2, r.w - unit, r.h - unit}, radius);
    setColour(cr, palette::wellEdge);
    cairo_set_line_width(cr, unit);
    cairo_stroke(cr);
}

void field(cairo_t* cr, Rect r, double unit) {
    roundRect(cr, r, 2 * unit);
    setColour(cr, palette::fieldFill);
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip(cr);
    roundRect(cr, {r.x + unit / 2, r.y + unit / 2, r.w - unit, r.h - unit}, 1.5 * unit);
    setColour(cr, palette::fieldEdge);
    cairo_set_line_width(cr, unit);
    cairo_stroke(cr);
    cairo_restore(cr);
}

Rect key(cairo_t* cr, Rect r, bool pressed, double unit) {
    const double radius = 2.5 * unit;
    roundRect(cr, r, radius);
    setColour(cr, palette::keyEdge);
    cairo_fill(cr);
    Rect face{r.x + unit, r.y + unit, r.w - 2 * unit, r.h - 2 * unit};
    roundRect(cr, face, radius - unit);
    if (pressed)
        fillVertical(cr, face.y, face.y + face.h, rgb(0x26292d), rgb(0x30343a));
    else
        fillVertical(cr, face.y, face.y + face.h, palette::keyTop, palette::keyBottom);
    if (!pressed) {
        cairo_move_to(cr, face.x + radius, face.y + unit / 2);
        cairo_line_to(cr, face.x + face.w - radius, face.y + unit / 2);
        setColour(cr, rgb(0xffffff, 0.16));
        cairo_set_line_width(cr, unit);
        cairo_stroke(cr);
    }
    if (pressed) face.y += unit;
    return face;
}

void lamp(cairo_t* cr, double cx, double cy, double radius, bool lit, Colour hot, Colour on,
          Colour off) {
    circle(cr, cx, cy + radius * 0.08, radius * 1.45);
    setColour(cr, palette::highlight);
    cairo_fill(cr);
    circle(cr, cx, cy, radius * 1.4);
    setColour(cr, palette::slot);
    cairo_fill(cr);
    if (lit) {
        cairo_pattern_t* glow =
            cairo_pattern_create_radial(cx, cy, radius * 0.6, cx, cy, radius * 1.4);
        cairo_pattern_add_color_stop_rgba(glow, 0, on.r, on.g, on.b, 0.55);
        cairo_pattern_add_color_stop_rgba(glow, 1, on.r, on.g, on.b, 0);
        circle(cr, cx, cy, radius * 1.4);
        cairo_set_source(cr, glow);
        cairo_fill(cr);
        cairo_pattern_destroy(glow);
    }
    const Colour centre = lit ? hot : rgb(0x5a4a3a), edge = lit ? on : off;
    cairo_pattern_t* dome =
        cairo_pattern_create_radial(cx - radius * 0.3, cy - radius * 0.35, 0, cx, cy, radius);
    cairo_pattern_add_color_stop_rgba(dome, 0, centre.r, centre.g, centre.b, 1);
    cairo_pattern_add_color_stop_rgba(dome, 1, edge.r, edge.g, edge.b, 1);
    circle(cr, cx, cy, radius);
    cairo_set_source(cr, dome);
    cairo_fill(cr);
    cairo_pattern_destroy(dome);
}

cairo_surface_t* newSurface(int width, int height) {
    return cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
}

cairo_t* newContext(cairo_surface_t* surface) {
    cairo_t* cr = cairo_create(surface);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
    return cr;
}

} // namespace orvane::paint
