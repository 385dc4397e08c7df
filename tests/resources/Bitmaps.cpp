#include "Bitmaps.h"

#include "resources/Resources.h"

#include <cstring>

namespace orvane::test {

namespace {
struct Reader {
    const unsigned char* data;
    std::size_t left;
};
cairo_status_t readPng(void* closure, unsigned char* out, unsigned int length) {
    auto* r = static_cast<Reader*>(closure);
    if (length > r->left) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(out, r->data, length);
    r->data += length;
    r->left -= length;
    return CAIRO_STATUS_SUCCESS;
}
} // namespace

Surface decode(int number) {
    const Resource res = findResource(number);
    if (!res.data) return nullptr;
    Reader reader{res.data, res.size};
    Surface s(cairo_image_surface_create_from_png_stream(readPng, &reader));
    if (cairo_surface_status(s.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
    return s;
}

Box placeControl(const Placement& p, int si, cairo_surface_t* bitmap) {
    const int w = cairo_image_surface_get_width(bitmap), h = cairo_image_surface_get_height(bitmap);
    Box b{scaled(p.x, si), scaled(p.y, si) + p.dy[si], w, h};
    switch (p.sizing) {
    case Sizing::HalfHeight:
        b.h = h / 2;
        break;
    case Sizing::Film:
        b.h = h / FILM_FRAMES;
        break;
    case Sizing::Full:
        break;
    case Sizing::ProgramMenu:
        b.w = w - scaled(9, si);
        break;
    case Sizing::Meter:
        b.w = scaled(7, si);
        b.h = scaled(76, si);
        break;
    }
    return b;
}

using S = Sizing;
const Placement MAIN_FACE[] = {
    {"logo", 2, 213, 32, S::HalfHeight},
    {"edit", 41, 35, 33, S::HalfHeight},
    {"recall", 43, 31, 62, S::HalfHeight},
    {"manual", 44, 112, 33, S::HalfHeight},
    {"ecs", 45, 120, 62, S::HalfHeight},
    {"previous", 20, 92, 116, S::HalfHeight},
    {"next", 21, 102, 116, S::HalfHeight},
    {"program", 14, 118, 112, S::ProgramMenu},
    {"recallA", 17, 28, 183, S::HalfHeight},
    {"recallB", 17, 67, 183, S::HalfHeight},
    {"storeA", 17, 118, 183, S::HalfHeight},
    {"storeB", 17, 157, 183, S::HalfHeight},
    {"undo", 17, 233, 183, S::HalfHeight},
    {"bypass", 46, 424, 110, S::HalfHeight},
    {"volume", 30, 413, 166, S::Film},
    {"volumeReadout", 15, 407, 214, S::Full},
    {"meterLeft", 13, 488, 163, S::Meter},
    {"meterRight", 13, 497, 163, S::Meter},
    {"air", 47, 23, 239, S::HalfHeight},
    {"amount", 31, 209, 205, S::Film},
    {"airFrequency", 30, 413, 261, S::Film},
    {"amountReadout", 15, 243, 272, S::Full},
    {"amountLabel", 15, 243, 288, S::Full},
    {"airFrequencyReadout", 15, 408, 305, S::Full},
    {"display", 3, 161, 411, S::Full, {0, 3, 4}},
    {"split", 48, 26, 336, S::HalfHeight},
    {"range0", 17, 354, 361, S::HalfHeight},
    {"range1", 17, 354, 382, S::HalfHeight},
    {"range2", 17, 354, 403, S::HalfHeight},
    {"range3", 17, 354, 424, S::HalfHeight},
    {"splitFrequency", 30, 61, 381, S::Film},
    {"splitReadout", 15, 55, 427, S::Full},
    {"solo", 17, 138, 388, S::HalfHeight},
    {"note", 17, 138, 409, S::HalfHeight},
    {"monoType", 3, 154, 434, S::Full, {0, 3, 3}},
};
const int MAIN_FACE_COUNT = sizeof MAIN_FACE / sizeof MAIN_FACE[0];

const Placement SETTINGS_FACE[] = {
    {"version", 12, 18, 74, S::Full},
    {"keySwitch", 17, 336, 260, S::HalfHeight},
    {"midiPresetSwitch", 17, 336, 302, S::HalfHeight},
    {"captureSwitch", 17, 336, 345, S::HalfHeight},
    {"channelMenu", 3, 323, 391, S::Full, {0, 4, 5}},
    {"sizeMenu", 3, 323, 435, S::Full, {0, 4, 5}},
};
const int SETTINGS_FACE_COUNT = sizeof SETTINGS_FACE / sizeof SETTINGS_FACE[0];

} // namespace orvane::test
