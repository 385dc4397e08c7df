// SPDX-License-Identifier: GPL-3.0-or-later
#include "StandInEditor.h"

#include <cmath>

using namespace orvgui;

namespace editortest {

namespace {
void setColour(cairo_t* cr, const CColor& c) {
    cairo_set_source_rgba(cr, c.red / 255.0, c.green / 255.0, c.blue / 255.0, c.alpha / 255.0);
}
} // namespace

CBitmap* paintedBitmap(int width, int height, const std::function<void(cairo_t*)>& paint) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    paint(cr);
    cairo_destroy(cr);
    return new CBitmap(surface);
}

CBitmap* codedFilm(int width, double h, int frames) {
    const int height = static_cast<int>(std::ceil(h * frames));
    return paintedBitmap(width, height, [=](cairo_t* cr) {
        // Each image runs to the bottom and the next covers it, so that rows shared by two
        // images stay opaque.
        for (int i = 0; i < frames; ++i) {
            setColour(cr, filmColour(i));
            cairo_rectangle(cr, 0, i * h, width, (frames - i) * h);
            cairo_fill(cr);
        }
    });
}

CBitmap* rowCodedMeter(int width, int height) {
    return paintedBitmap(width, height, [=](cairo_t* cr) {
        for (int r = 0; r < height; ++r) {
            setColour(cr, {static_cast<uint8_t>(r), 200, 0, 255});
            cairo_rectangle(cr, 0, r, width, 1);
            cairo_fill(cr);
        }
    });
}

Canvas::Canvas(int width, int height)
    : surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cairo(cairo_create(surface)), drawContext(new CDrawContext(cairo)) {}

Canvas::~Canvas() {
    delete drawContext;
    cairo_destroy(cairo);
    cairo_surface_destroy(surface);
}

CColor Canvas::pixel(int x, int y) {
    cairo_surface_flush(surface);
    const unsigned char* row =
        cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    const uint32_t v = reinterpret_cast<const uint32_t*>(row)[x];
    return {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v),
            static_cast<uint8_t>(v >> 24)};
}

StandInEditor::StandInEditor() : frame(new CFrame(CRect(0, 0, 600, 400), this)) {}

StandInEditor::~StandInEditor() {
    frame->close();
    if (lamp) lamp->forget();
    if (meter) meter->forget();
}

CMouseEventResult StandInEditor::press(double x, double y, int32_t buttons) {
    CPoint where(x, y);
    return frame->onMouseDown(where, buttons);
}

CMouseEventResult StandInEditor::move(double x, double y, int32_t buttons) {
    CPoint where(x, y);
    return frame->onMouseMoved(where, buttons);
}

CMouseEventResult StandInEditor::release(double x, double y, int32_t buttons) {
    CPoint where(x, y);
    return frame->onMouseUp(where, buttons);
}

void StandInEditor::valueChanged(CControl* control) {
    reports.push_back({control, control->getValue()});
}

} // namespace editortest
