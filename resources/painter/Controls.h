// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "Paint.h"

// Control images that the faces also print (tick scales, meter slots, fields) share these.
namespace orvane::paint {

// Knob sweep: 270 degrees from lower left to lower right, clockwise.
constexpr double SWEEP_START = 0.75 * M_PI, SWEEP = 1.5 * M_PI;

void knobTicks(cairo_t* cr, double cx, double cy, double inner, double outer, int count,
               double unit);
// Meter segments inside r; lit draws the full colour ramp, otherwise the dark unlit cells.
void meterSegments(cairo_t* cr, Rect r, bool lit);
void programField(cairo_t* cr, Rect r, double unit);
// The product's round mark; lit when pressed.
void logoMark(cairo_t* cr, double cx, double cy, double r, double unit, bool lit);

} // namespace orvane::paint
