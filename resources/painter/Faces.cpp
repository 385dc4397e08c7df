// SPDX-License-Identifier: GPL-3.0-or-later
#include "BitmapSet.h"
#include "Controls.h"
#include "Layout.h"

namespace orvane::paint {

using namespace palette;
namespace L = layout;

namespace {

struct Type {
    Font label, caption, title, small;
};
Type typeFor(Scale s) {
    const double u = s.factor;
    return {{8.5 * u, Weight::Bold, 0.8 * u},
            {11 * u, Weight::Bold, 0.5 * u},
            {10 * u, Weight::Bold, 1.4 * u},
            {7.5 * u, Weight::Regular, 0.3 * u}};
}

// Lengths and positions of one size; x, y and sizes are in 100 % units.
struct Face {
    cairo_t* cr;
    Scale s;
    Type type;
    double u;

    double x(double v) const { return s.pos(v); }
    double y(double v) const { return s.pos(v); }
    Rect rect(double x0, double y0, double w, double h) const {
        return {x(x0), y(y0), s.len(w), s.len(h)};
    }
    void print(const char* t, double px, double midY, Font f, Colour c = palette::print,
               Align a = Align::Left) const {
        text(cr, t, s.len(px), s.len(midY), f, c, a);
    }
    void wellAt(double x0, double y0, double w, double h) const {
        well(cr, rect(x0, y0, w, h), 4 * u, u);
    }
    // A hairline across the plate, crisp at every size.
    void rule(double x0, double x1, double y0) const {
        const double py = std::round(s.len(y0));
        cairo_rectangle(cr, s.len(x0), py, s.len(x1 - x0), u);
        setColour(cr, rgb(0x000000, 0.45));
        cairo_fill(cr);
        cairo_rectangle(cr, s.len(x0), py + u, s.len(x1 - x0), u);
        setColour(cr, highlight);
        cairo_fill(cr);
    }
    void knobScale(L::Point p, double size, double inner, double outer, int ticks) const {
        knobTicks(cr, x(p.x) + s.len(size) / 2, y(p.y) + s.len(size) / 2, s.len(inner),
                  s.len(outer), ticks, u);
    }
};

void plate(const Face& f, double headerHeight) {
    cairo_t* cr = f.cr;
    const double w = f.s.pos(550), h = f.s.pos(475), head = f.s.len(headerHeight);
    cairo_rectangle(cr, 0, 0, w, h);
    fillVertical(cr, 0, h, plateTop, plateBottom);
    cairo_rectangle(cr, 0, 0, w, head);
    fillVertical(cr, 0, head, headerTop, headerBottom);
    cairo_rectangle(cr, 0, head, w, f.u);
    setColour(cr, rgb(0x000000, 0.6));
    cairo_fill(cr);
    cairo_rectangle(cr, 0, head + f.u, w, f.u);
    setColour(cr, highlight);
    cairo_fill(cr);
    // Frame edge: dark outline with a faint bevel inside it.
    cairo_set_line_width(cr, f.u);
    cairo_rectangle(cr, f.u / 2, f.u / 2, w - f.u, h - f.u);
    setColour(cr, rgb(0x000000, 0.8));
    cairo_stroke(cr);
    cairo_rectangle(cr, 1.5 * f.u, 1.5 * f.u, w - 3 * f.u, h - 3 * f.u);
    setColour(cr, rgb(0xffffff, 0.05));
    cairo_stroke(cr);
}

void brand(const Face& f, double left, double midY) {
    f.print("Orvane", left, midY, {28 * f.u, Weight::Regular, 1.0 * f.u}, title);
    f.print("STEREO FINISHING", left + 2, midY + 22, f.type.title, faint);
}

void programSection(const Face& f) {
    const Font& label = f.type.label;
    f.print("EDIT", L::edit.x + 29, L::edit.y + 8, label);
    f.print("RECALL", L::edit.x + 29, L::recall.y + 8, label);
    brand(f, L::logo.x + 42, L::logo.y + 14);

    f.wellAt(84, 106, 202, 32);
    f.print("PROGRAM", 20, 122, label);
    programField(f.cr, f.rect(L::program.x, L::program.y, 160, 20), f.u);

    // Memory row: captions above the lamp groups, letters beside the lamps.
    f.wellAt(16, 156, 282, 47);
    const Font& big = f.type.caption;
    f.print("MEMORY", L::recallA.x + 33, 168, label, faint, Align::Centre);
    f.print("STORE", L::storeA.x + 33, 168, label, faint, Align::Centre);
    f.print("UNDO", L::undo.x + 9, 168, label, faint, Align::Centre);
    f.print("A", L::recallA.x + 23, L::recallA.y + 9, big, title);
    f.print("B", L::recallB.x + 23, L::recallB.y + 9, big, title);
    f.print("A", L::storeA.x + 23, L::storeA.y + 9, big, title);
    f.print("B", L::storeB.x + 23, L::storeB.y + 9, big, title);
}

void outputSection(const Face& f) {
    f.wellAt(398, 100, 134, 228); // bypass, volume and meters, and the air frequency below
    const double cx = L::volume.x + 22;
    f.print("BYPASS", L::bypass.x + 29, L::bypass.y + 10, f.type.label);
    f.print("VOLUME", cx, 154, f.type.label, palette::print, Align::Centre);
    f.knobScale(L::volume, 44, 23.5, 26, 21);

    // Meter slot: the unlit cells show wherever the meter image is not drawn.
    const Rect left{f.x(L::meterLeft.x), f.y(L::meterLeft.y), double(f.s.pos(7)),
                    double(f.s.pos(76))};
    const Rect right{f.x(L::meterRight.x), left.y, left.w, left.h};
    roundRect(f.cr,
              {left.x - 3 * f.u, left.y - 3 * f.u, right.x + right.w - left.x + 6 * f.u,
               left.h + 6 * f.u},
              2 * f.u);
    setColour(f.cr, slot);
    cairo_fill(f.cr);
    meterSegments(f.cr, left, false);
    meterSegments(f.cr, right, false);
    f.print("L", L::meterLeft.x + 3.5, 248, f.type.small, palette::print, Align::Centre);
    f.print("R", L::meterRight.x + 3.5, 248, f.type.small, palette::print, Align::Centre);
}

void airSection(const Face& f) {
    f.print("AIR", L::air.x + 30, L::air.y + 10, f.type.title, title);
    f.rule(L::air.x + 62, 196, L::air.y + 10);
    const double cx = L::amount.x + 62, cy = L::amount.y + 59.5;
    knobTicks(f.cr, f.x(L::amount.x) + f.s.pos(124) / 2.0, f.y(L::amount.y) + f.s.pos(119) / 2.0,
              f.s.len(55.5), f.s.len(58.5), 31, f.u);
    f.print("0", cx - 46, cy + 52, f.type.small, faint, Align::Centre);
    f.print("6 dB", cx + 46, cy + 52, f.type.small, faint, Align::Centre);
    f.print("AMOUNT", L::amountLabel.x + 29, L::amountLabel.y + 8, f.type.label, palette::print,
            Align::Centre);

    const double fx = L::airFrequency.x + 22;
    f.print("FREQUENCY", fx, 250, f.type.label, palette::print, Align::Centre);
    f.knobScale(L::airFrequency, 44, 23.5, 26, 11);
}

void splitSection(const Face& f) {
    const int si = f.s.index;
    f.wellAt(12, 330, 526, 134);
    f.print("MONO / STEREO SPLIT", L::split.x + 30, L::split.y + 10, f.type.title, title);
    f.print("FREQUENCY", L::splitFrequency.x + 22, 368, f.type.label, palette::print,
            Align::Centre);
    f.knobScale(L::splitFrequency, 44, 23.5, 26, 11);
    f.print("SOLO", L::solo.x + 23, L::solo.y + 9, f.type.label);
    f.print("NOTE", L::display.x + 53, L::note.y + 9, f.type.label);
    field(f.cr,
          {f.x(L::display.x), f.y(L::display.y) + L::displayDy[si], double(f.s.pos(47)),
           double(f.s.pos(12))},
          f.u);
    field(f.cr,
          {f.x(L::monoType.x), f.y(L::monoType.y) + L::monoTypeDy[si], double(f.s.pos(47)),
           double(f.s.pos(12))},
          f.u);
    f.print("MONO", L::display.x + 53, L::monoType.y + 6, f.type.label);

    f.print("RANGE", L::rangeX, 348, f.type.label, faint);
    const char* ranges[4] = {"150 Hz", "250 Hz", "500 Hz", "Full Range"};
    for (int i = 0; i < 4; ++i)
        f.print(ranges[i], L::rangeX + 24, L::rangeY[i] + 9, {9 * f.u, Weight::Bold, 0.3 * f.u});
}

} // namespace

void paintMainFace(cairo_t* cr, Scale s) {
    const Face f{cr, s, typeFor(s), s.factor};
    plate(f, 92);
    programSection(f);
    outputSection(f);
    airSection(f);
    splitSection(f);
}

void paintSettingsFace(cairo_t* cr, Scale s) {
    const Face f{cr, s, typeFor(s), s.factor};
    const int si = s.index;
    plate(f, 60);
    logoMark(cr, s.len(40), s.len(28), s.len(15), f.u, false);
    brand(f, 66, 22);
    f.print("SETTINGS", 526, 28, f.type.title, palette::print, Align::Right);
    // A faint large mark fills the quiet middle of the panel above the options.
    cairo_push_group(cr);
    logoMark(cr, s.len(275), s.len(160), s.len(42), 2 * f.u, false);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, 0.22);
    f.print("Click anywhere outside the controls to return.", 275, 218,
            {9 * f.u, Weight::Regular, 0}, faint, Align::Centre);

    f.wellAt(16, 236, 518, 226);
    f.print("OPTIONS", 30, 248, f.type.title, title);
    struct Row {
        const char* name;
        const char* note;
        L::Point at;
        double height;
        int dy;
    };
    const Row rows[] = {
        {"ARROW KEYS STEP PROGRAMS", "Up and down keys step programs", L::keySwitch, 18, 0},
        {"MIDI PROGRAM CHANGE", "Program change picks programs", L::midiPresetSwitch, 18, 0},
        {"MIDI SOFT TAKEOVER", "Controllers pick up at the value", L::captureSwitch, 18, 0},
        {"MIDI CHANNEL", "Channel the MIDI input listens to", L::channelMenu, 12,
         L::settingsMenuDy[si]},
        {"EDITOR SIZE", "Used when the editor next opens", L::sizeMenu, 12, L::settingsMenuDy[si]},
    };
    for (const Row& r : rows) {
        const double midY = (f.y(r.at.y) + r.dy) / f.u + r.height / 2;
        f.print(r.name, 312, midY, f.type.label, palette::print, Align::Right);
        f.print(r.note, 382, midY, f.type.small, faint);
        if (r.height == 12)
            field(cr, {f.x(r.at.x), f.y(r.at.y) + r.dy, double(s.pos(47)), double(s.pos(12))}, f.u);
    }
}

} // namespace orvane::paint
