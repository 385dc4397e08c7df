// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cairo.h>

namespace orvane::paint {

// One of the three sizes. Positions truncate like the editor's own scaling so that printed
// labels meet the controls exactly; lengths scale without rounding.
struct Scale {
    int index;
    double factor;
    int pos(double v) const { return int(v * factor); }
    double len(double v) const { return v * factor; }
};
constexpr Scale SCALES[] = {{0, 1.0}, {1, 1.5}, {2, 2.0}};

constexpr int FILM_FRAMES = 137;

// A bitmap of the set: k, its size at 100 % and how many images are stacked vertically.
struct BitmapEntry {
    int k;
    double width, height; // of one image at 100 %
    int images;
};

constexpr BitmapEntry BITMAPS[] = {
    {0, 550, 475, 1},            // main background
    {1, 550, 475, 1},            // settings background
    {2, 32, 32, 2},              // logo button
    {3, 47, 12, 1},              // small display field
    {12, 365, 16, 1},            // settings text strip
    {13, 7, 76, 1},              // fully lit meter
    {14, 160, 20, 1},            // program menu field
    {15, 56, 14, 1},             // value readout
    {16, 18, 18, 2},             // lit lamp
    {17, 18, 18, 2},             // two-state lamp
    {20, 10, 12, 2},             // previous program
    {21, 10, 12, 2},             // next program
    {30, 44, 44, FILM_FRAMES},   // big knob
    {31, 124, 119, FILM_FRAMES}, // very big knob; 119 keeps the 200 % film within 32767 rows
    {40, 22, 16, 2},             // edit button as created
    {41, 22, 16, 2},             // edit button, program unedited
    {42, 22, 16, 2},             // edit button, program edited
    {43, 30, 16, 2},             // recall button
    {44, 60, 16, 2},             // manual button
    {45, 44, 16, 2},             // ECS menu button
    {46, 22, 20, 2},             // bypass switch
    {47, 22, 20, 2},             // air switch
    {48, 22, 20, 2},             // split switch
};

inline int imageWidth(const BitmapEntry& b, Scale s) {
    return s.pos(b.width);
}
inline int imageHeight(const BitmapEntry& b, Scale s) {
    return s.pos(b.height);
}

// Paints every image of bitmap b at size s onto a fresh surface of its full size.
cairo_surface_t* paintBitmap(const BitmapEntry& b, Scale s);

// The two backgrounds, drawn by Faces.cpp.
void paintMainFace(cairo_t* cr, Scale s);
void paintSettingsFace(cairo_t* cr, Scale s);

} // namespace orvane::paint
