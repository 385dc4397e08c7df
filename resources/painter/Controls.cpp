// SPDX-License-Identifier: GPL-3.0-or-later
#include "Controls.h"
#include "BitmapSet.h"

#include <cmath>

namespace orvane::paint {

using namespace palette;

void knobTicks(cairo_t* cr, double cx, double cy, double inner, double outer, int count,
               double unit) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    for (int i = 0; i < count; ++i) {
        const double a = SWEEP_START + SWEEP * i / (count - 1);
        const bool major = i == 0 || i == count - 1 || i == (count - 1) / 2;
        const double from = major ? inner - (outer - inner) * 0.6 : inner;
        cairo_move_to(cr, cx + from * std::cos(a), cy + from * std::sin(a));
        cairo_line_to(cr, cx + outer * std::cos(a), cy + outer * std::sin(a));
        setColour(cr, major ? print : faint);
        cairo_set_line_width(cr, unit * (major ? 1.2 : 0.9));
        cairo_stroke(cr);
    }
}

void meterSegments(cairo_t* cr, Rect r, bool lit) {
    constexpr int SEGMENTS = 19;
    const double pitch = r.h / SEGMENTS;
    for (int i = 0; i < SEGMENTS; ++i) {
        const double bottom = std::round(r.y + r.h - i * pitch - pitch * 0.25);
        const double top = std::round(r.y + r.h - (i + 1) * pitch);
        const Colour c = i >= 17 ? rgb(0xff5544) : i >= 13 ? rgb(0xffc847) : rgb(0x5fd27a);
        cairo_rectangle(cr, r.x, top, r.w, bottom - top);
        setColour(cr, lit ? c : Colour{c.r * 0.18, c.g * 0.18, c.b * 0.18, 1});
        cairo_fill(cr);
        if (lit) {
            cairo_rectangle(cr, r.x, top, r.w, std::max(1.0, (bottom - top) * 0.3));
            setColour(cr, rgb(0xffffff, 0.25));
            cairo_fill(cr);
        }
    }
}

void programField(cairo_t* cr, Rect r, double unit) {
    field(cr, r, unit);
    // The last nine units are the drop-down tab; the menu view stops short of it.
    const double tab = 9 * unit, x = r.x + r.w - tab;
    cairo_rectangle(cr, std::round(x), r.y + 2 * unit, unit, r.h - 4 * unit);
    setColour(cr, rgb(0x2a2d32));
    cairo_fill(cr);
    const double cx = x + tab / 2 + unit / 2, cy = r.y + r.h / 2;
    cairo_move_to(cr, cx - 2.5 * unit, cy - 1.2 * unit);
    cairo_line_to(cr, cx + 2.5 * unit, cy - 1.2 * unit);
    cairo_line_to(cr, cx, cy + 1.8 * unit);
    cairo_close_path(cr);
    setColour(cr, print);
    cairo_fill(cr);
}

namespace {

void bigKnob(cairo_t* cr, double w, double h, double value, double unit) {
    const double cx = w / 2, cy = h / 2, r = std::min(w, h) / 2;
    const double angle = SWEEP_START + SWEEP * value;
    cairo_set_line_width(cr, r * 0.12);
    cairo_arc(cr, cx, cy, r * 0.85, SWEEP_START, SWEEP_START + SWEEP);
    setColour(cr, slot);
    cairo_stroke(cr);
    if (value > 0) {
        cairo_arc(cr, cx, cy, r * 0.85, SWEEP_START, angle);
        setColour(cr, amber);
        cairo_stroke(cr);
    }
    circle(cr, cx, cy + r * 0.07, r * 0.66);
    setColour(cr, shadow);
    cairo_fill(cr);
    circle(cr, cx, cy, r * 0.62);
    fillVertical(cr, cy - r * 0.62, cy + r * 0.62, rgb(0x666c76), rgb(0x25282c));
    circle(cr, cx, cy, r * 0.52);
    fillVertical(cr, cy - r * 0.52, cy + r * 0.52, rgb(0x363a40), rgb(0x474c54));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, cx + r * 0.2 * std::cos(angle), cy + r * 0.2 * std::sin(angle));
    cairo_line_to(cr, cx + r * 0.5 * std::cos(angle), cy + r * 0.5 * std::sin(angle));
    cairo_set_line_width(cr, std::max(1.5 * unit, r * 0.1));
    setColour(cr, rgb(0xf2f3f5));
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

// The ring dial: a hollow disc that the readout and its label sit in, lit along the sweep.
void ringKnob(cairo_t* cr, double w, double h, double value, double unit) {
    const double cx = w / 2, cy = h / 2, r = std::min(w, h) / 2;
    const double angle = SWEEP_START + SWEEP * value, disc = r * 0.77, track = r * 0.87;
    circle(cr, cx, cy, disc);
    setColour(cr, fieldFill);
    cairo_fill(cr);
    // The glow stays near the rim so the readouts in the middle sit on plain field colour.
    cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy, disc * 0.78, cx, cy, disc);
    cairo_pattern_add_color_stop_rgba(glow, 0, amber.r, amber.g, amber.b, 0);
    cairo_pattern_add_color_stop_rgba(glow, 1, amber.r, amber.g, amber.b, 0.16 * value);
    circle(cr, cx, cy, disc);
    cairo_set_source(cr, glow);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
    cairo_set_line_width(cr, unit);
    circle(cr, cx, cy, disc - unit / 2);
    setColour(cr, fieldEdge);
    cairo_stroke(cr);
    cairo_arc(cr, cx, cy, disc + unit / 2, 0.15 * M_PI, 0.85 * M_PI);
    setColour(cr, highlight);
    cairo_stroke(cr);

    cairo_set_line_width(cr, r * 0.085);
    cairo_arc(cr, cx, cy, track, SWEEP_START, SWEEP_START + SWEEP);
    setColour(cr, slot);
    cairo_stroke(cr);
    if (value > 0) {
        cairo_arc(cr, cx, cy, track, SWEEP_START, angle);
        setColour(cr, amber);
        cairo_stroke(cr);
    }
    const double hx = cx + track * std::cos(angle), hy = cy + track * std::sin(angle);
    circle(cr, hx, hy, r * 0.075);
    setColour(cr, value > 0 ? amberHot : print);
    cairo_fill(cr);
}

void film(cairo_t* cr, int w, int h, double unit,
          void (*frame)(cairo_t*, double, double, double, double)) {
    for (int i = 0; i < FILM_FRAMES; ++i) {
        cairo_save(cr);
        cairo_translate(cr, 0, double(i) * h);
        cairo_rectangle(cr, 0, 0, w, h);
        cairo_clip(cr);
        frame(cr, w, h, double(i) / (FILM_FRAMES - 1), unit);
        cairo_restore(cr);
    }
}

void lampPair(cairo_t* cr, int w, int h, bool firstLit, bool secondLit) {
    const bool lit[2] = {firstLit, secondLit};
    for (int i = 0; i < 2; ++i)
        lamp(cr, w / 2.0, i * h + h / 2.0, std::min(w, h) * 0.27, lit[i], amberHot, amber,
             amberDim);
}

// Key images: the upper image at rest, the lower one pressed (or switched on).
template <typename Legend> void keyPair(cairo_t* cr, int w, int h, double unit, Legend legend) {
    for (int i = 0; i < 2; ++i) {
        const Rect face = key(cr, {0, double(i * h), double(w), double(h)}, i == 1, unit);
        legend(face, i == 1);
    }
}

void ledBar(cairo_t* cr, Rect face, double unit, bool lit, Colour on, Colour off) {
    const Rect bar{std::round(face.x + face.w / 2 - 4 * unit), std::round(face.y + 3 * unit),
                   std::round(8 * unit), std::max(2.0, std::round(2.5 * unit))};
    if (lit) {
        roundRect(cr, {bar.x - unit, bar.y - unit, bar.w + 2 * unit, bar.h + 2 * unit}, unit);
        setColour(cr, {on.r, on.g, on.b, 0.35});
        cairo_fill(cr);
    }
    cairo_rectangle(cr, bar.x, bar.y, bar.w, bar.h);
    setColour(cr, lit ? on : off);
    cairo_fill(cr);
}

void keyLegend(cairo_t* cr, Rect face, const char* s, double unit, bool pressed) {
    text(cr, s, face.x + face.w / 2, face.y + face.h / 2 - 0.5 * unit,
         {7.5 * unit, Weight::Bold, 0.6 * unit}, pressed ? amber : title, Align::Centre);
}

void arrow(cairo_t* cr, int w, int h, double unit, bool pointsRight) {
    for (int i = 0; i < 2; ++i) {
        const double cx = w / 2.0, cy = i * h + h / 2.0, dx = 3 * unit, dy = 4 * unit;
        const double sign = pointsRight ? 1 : -1;
        cairo_move_to(cr, cx - sign * dx, cy - dy);
        cairo_line_to(cr, cx + sign * dx, cy);
        cairo_line_to(cr, cx - sign * dx, cy + dy);
        cairo_close_path(cr);
        setColour(cr, i == 0 ? print : amber);
        cairo_fill(cr);
    }
}

} // namespace

void logoMark(cairo_t* cr, double cx, double cy, double r, double unit, bool lit) {
    circle(cr, cx, cy + unit, r);
    setColour(cr, highlight);
    cairo_fill(cr);
    circle(cr, cx, cy, r);
    fillVertical(cr, cy - r, cy + r, rgb(0x1a1c1f), rgb(0x101113));
    cairo_set_line_width(cr, 1.6 * unit);
    circle(cr, cx, cy, r - 1.5 * unit);
    setColour(cr, lit ? amber : rgb(0x8c929b));
    cairo_stroke(cr);
    // A rising wave: the effect's lift of the top of the band.
    cairo_save(cr);
    circle(cr, cx, cy, r - 2.4 * unit);
    cairo_clip(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 1.8 * unit);
    const double span = r * 1.1;
    cairo_move_to(cr, cx - span, cy + r * 0.15);
    cairo_curve_to(cr, cx - span * 0.4, cy + r * 0.15, cx - span * 0.3, cy + r * 0.05, cx,
                   cy - r * 0.05);
    cairo_curve_to(cr, cx + span * 0.3, cy - r * 0.15, cx + span * 0.4, cy - r * 0.55,
                   cx + span * 0.62, cy - r * 0.55);
    setColour(cr, amber);
    cairo_stroke(cr);
    cairo_restore(cr);
}

cairo_surface_t* paintBitmap(const BitmapEntry& b, Scale s) {
    const int w = imageWidth(b, s), h = imageHeight(b, s);
    const double u = s.factor;
    cairo_surface_t* surface = newSurface(w, h * b.images);
    cairo_t* cr = newContext(surface);
    const Rect whole{0, 0, double(w), double(h)};
    switch (b.k) {
    case 0:
        paintMainFace(cr, s);
        break;
    case 1:
        paintSettingsFace(cr, s);
        break;
    case 2:
        for (int i = 0; i < 2; ++i)
            logoMark(cr, w / 2.0, i * h + h / 2.0, h / 2.0 - u, u, i == 1);
        break;
    case 3:
    case 15:
        field(cr, whole, u);
        break;
    case 12:
        roundRect(cr, whole, 2 * u);
        fillVertical(cr, 0, h, rgb(0xc9ccd1), rgb(0xa9aeb5));
        break;
    case 13:
        meterSegments(cr, whole, true);
        break;
    case 14:
        programField(cr, whole, u);
        break;
    case 16:
        lampPair(cr, w, h, true, true);
        break;
    case 17:
        lampPair(cr, w, h, false, true);
        break;
    case 20:
    case 21:
        arrow(cr, w, h, u, b.k == 21);
        break;
    case 30:
        film(cr, w, h, u, bigKnob);
        break;
    case 31:
        film(cr, w, h, u, ringKnob);
        break;
    case 40:
    case 41:
    case 42:
        keyPair(cr, w, h, u,
                [&](Rect face, bool) { ledBar(cr, face, u, b.k == 42, amber, amberDim); });
        break;
    case 43:
        keyPair(cr, w, h, u, [&](Rect face, bool pressed) {
            const double cx = face.x + face.w / 2, cy = face.y + face.h / 2, r = 3.2 * u;
            cairo_set_line_width(cr, 1.3 * u);
            cairo_arc(cr, cx, cy, r, -0.2 * M_PI, 1.35 * M_PI);
            setColour(cr, pressed ? amber : title);
            cairo_stroke(cr);
            const double ax = cx + r * std::cos(-0.2 * M_PI), ay = cy + r * std::sin(-0.2 * M_PI);
            cairo_move_to(cr, ax + 1.8 * u, ay - 0.6 * u);
            cairo_line_to(cr, ax - 0.2 * u, ay + 2.2 * u);
            cairo_line_to(cr, ax - 1.6 * u, ay - 1.2 * u);
            cairo_close_path(cr);
            cairo_fill(cr);
        });
        break;
    case 44:
        keyPair(cr, w, h, u, [&](Rect face, bool p) { keyLegend(cr, face, "MANUAL", u, p); });
        break;
    case 45:
        keyPair(cr, w, h, u, [&](Rect face, bool p) { keyLegend(cr, face, "MIDI", u, p); });
        break;
    case 46:
    case 47:
    case 48: {
        const bool bypass = b.k == 46;
        keyPair(cr, w, h, u, [&](Rect face, bool on) {
            ledBar(cr, face, u, on, bypass ? red : amber, bypass ? redDim : amberDim);
        });
        break;
    }
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    return surface;
}

} // namespace orvane::paint
