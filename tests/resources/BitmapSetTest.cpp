// SPDX-License-Identifier: GPL-3.0-or-later
// The embedded bitmap set decoded as the editor decodes it, checked for the sizes, states and
// printed labels the editor's layout relies on at each of the three sizes.
#include "resources/Resources.h"
#include "toolkit/CBitmap.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr double kScales[3] = {1.0, 1.5, 2.0};
constexpr int kFilmFrames = 137;

int bitmapNumber(int si, int k) {
    return 10000 + 1000 * si + k;
}
int scaled(double v, int si) {
    return int(v * kScales[si]);
}

// A decoded bitmap; the surface is null when the number is absent.
struct Image {
    Image(int si, int k) : bitmap(bitmapNumber(si, k)), s(bitmap.getSurface()) {}
    int width() const { return cairo_image_surface_get_width(s); }
    int height() const { return cairo_image_surface_get_height(s); }
    orvgui::CBitmap bitmap;
    cairo_surface_t* s;
};

struct Box {
    int x, y, w, h;
    bool overlaps(const Box& o) const {
        return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h;
    }
    bool contains(const Box& o) const {
        return o.x >= x && o.y >= y && o.x + o.w <= x + w && o.y + o.h <= y + h;
    }
};

struct Pixel {
    int r, g, b, a;
    int luminance() const { return (r * 3 + g * 6 + b) / 10; }
};

Pixel pixelAt(cairo_surface_t* s, int x, int y) {
    cairo_surface_flush(s);
    const unsigned char* row =
        cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
    const std::uint32_t v = reinterpret_cast<const std::uint32_t*>(row)[x];
    const bool opaque = cairo_image_surface_get_format(s) == CAIRO_FORMAT_RGB24;
    return {int(v >> 16 & 0xff), int(v >> 8 & 0xff), int(v & 0xff), opaque ? 255 : int(v >> 24)};
}

template <typename Test> int countPixels(cairo_surface_t* s, Box b, Test test) {
    int n = 0;
    for (int y = b.y; y < b.y + b.h; ++y)
        for (int x = b.x; x < b.x + b.w; ++x)
            n += test(pixelAt(s, x, y)) ? 1 : 0;
    return n;
}

bool isAmber(Pixel p) {
    return p.a > 200 && p.r > 200 && p.g > 110 && p.g < 200 && p.b < 110;
}
bool isInk(Pixel p) {
    return p.luminance() > 100;
}

// How the editor sizes a control from its bitmap.
enum class Sizing { HalfHeight, Film, Full, ProgramMenu, Meter };

struct Placement {
    const char* name;
    int k;
    double x, y;
    Sizing sizing;
    int dy[3] = {0, 0, 0}; // the editor's per-size pixel corrections
};

// Positions scale with truncation; sizes come from the bitmap of that size.
Box placeControl(const Placement& p, int si) {
    const Image bmp(si, p.k);
    const int w = bmp.width(), h = bmp.height();
    Box b{scaled(p.x, si), scaled(p.y, si) + p.dy[si], w, h};
    switch (p.sizing) {
    case Sizing::HalfHeight:
        b.h = h / 2;
        break;
    case Sizing::Film:
        b.h = h / kFilmFrames;
        break;
    case Sizing::Full:
        break;
    case Sizing::ProgramMenu:
        b.w = w - scaled(9, si);
        break;
    case Sizing::Meter:
        b = {b.x, b.y, scaled(7, si), scaled(76, si)};
        break;
    }
    return b;
}

using S = Sizing;
const std::vector<Placement> kMainFace = {
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

const std::vector<Placement> kSettingsFace = {
    {"version", 12, 18, 74, S::Full},
    {"keySwitch", 17, 336, 260, S::HalfHeight},
    {"midiPresetSwitch", 17, 336, 302, S::HalfHeight},
    {"captureSwitch", 17, 336, 345, S::HalfHeight},
    {"channelMenu", 3, 323, 391, S::Full, {0, 4, 5}},
    {"sizeMenu", 3, 323, 435, S::Full, {0, 4, 5}},
};

const std::pair<const std::vector<Placement>*, int> kFaces[] = {{&kMainFace, 0},
                                                                {&kSettingsFace, 1}};

const Placement& placement(const std::vector<Placement>& face, const std::string& name) {
    for (const Placement& p : face)
        if (name == p.name) return p;
    throw std::runtime_error("no placement " + name);
}

} // namespace

TEST(BitmapSet, EveryBitmapExistsAtEachSizeWithItsOwnDimensions) {
    struct Expected {
        int k;
        double width, height; // of one image at 100 %
        int images;
    };
    // Fixed sizes for the faces, the meter and the display field, two stacked images for
    // buttons and lamps, 137 frames for the knobs.
    const Expected set[] = {
        {0, 550, 475, 1},  {1, 550, 475, 1},    {2, 32, 32, 2},   {3, 47, 12, 1},
        {12, 365, 16, 1},  {13, 7, 76, 1},      {14, 160, 20, 1}, {15, 56, 14, 1},
        {16, 18, 18, 2},   {17, 18, 18, 2},     {20, 10, 12, 2},  {21, 10, 12, 2},
        {30, 44, 44, 137}, {31, 124, 119, 137}, {40, 22, 16, 2},  {41, 22, 16, 2},
        {42, 22, 16, 2},   {43, 30, 16, 2},     {44, 60, 16, 2},  {45, 44, 16, 2},
        {46, 22, 20, 2},   {47, 22, 20, 2},     {48, 22, 20, 2},
    };
    for (int si = 0; si < 3; ++si)
        for (const Expected& e : set) {
            SCOPED_TRACE("bitmap " + std::to_string(bitmapNumber(si, e.k)));
            const Image image(si, e.k);
            ASSERT_TRUE(image.s);
            EXPECT_EQ(image.width(), scaled(e.width, si));
            EXPECT_EQ(image.height(), scaled(e.height, si) * e.images);
            if (e.k <= 1) { // the faces are opaque
                const auto translucent = [](Pixel p) { return p.a != 255; };
                EXPECT_EQ(countPixels(image.s, {0, 0, image.width(), image.height()}, translucent),
                          0);
            }
        }
    for (int number : {-1, 0, 9999, 10004, 10018, 10049, 12049, 13000, 20000})
        EXPECT_EQ(orvane::findResource(number).data, nullptr) << number;
}

TEST(BitmapSet, FilmFramesLightAMoreGrowingArcWithTheValue) {
    for (int si = 0; si < 3; ++si)
        for (int k : {30, 31}) {
            const Image film(si, k);
            const int frame = film.height() / kFilmFrames;
            int previous = -1;
            for (int i = 0; i < kFilmFrames; i += 17) { // 0, 17, ... 136
                const int lit = countPixels(film.s, {0, i * frame, film.width(), frame}, isAmber);
                if (i == 0)
                    EXPECT_EQ(lit, 0) << k;
                else
                    EXPECT_GT(lit, previous) << k << " frame " << i;
                previous = lit;
            }
        }
}

TEST(BitmapSet, TwoStateImagesLightOnlyInTheirOnStateAndDifferWhenPressed) {
    struct Lit {
        int k;
        bool upper, lower;
    };
    // Lamps and switches light in their lower (on) half; the lit lamp in both; the edit
    // lamp's clean image not at all.
    const Lit lit[] = {{17, false, true},
                       {47, false, true},
                       {48, false, true},
                       {16, true, true},
                       {41, false, false}};
    for (int si = 0; si < 3; ++si) {
        for (const Lit& l : lit) {
            const Image image(si, l.k);
            const int w = image.width(), h = image.height() / 2;
            EXPECT_EQ(countPixels(image.s, {0, 0, w, h}, isAmber) > 0, l.upper) << l.k;
            EXPECT_EQ(countPixels(image.s, {0, h, w, h}, isAmber) > 0, l.lower) << l.k;
        }
        const Image edited(si, 42);
        EXPECT_GT(countPixels(edited.s, {0, 0, edited.width(), edited.height()}, isAmber), 0);
        for (int k : {2, 20, 21, 40, 41, 42, 43, 44, 45, 46, 47, 48}) {
            const Image image(si, k);
            const int w = image.width(), h = image.height() / 2;
            int differing = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const Pixel a = pixelAt(image.s, x, y), b = pixelAt(image.s, x, y + h);
                    differing += a.r != b.r || a.g != b.g || a.b != b.b || a.a != b.a;
                }
            EXPECT_GT(differing, w * h / 20) << k;
        }
    }
}

TEST(BitmapSet, MeterIsLitFromBottomToTopGreenBelowRedAtTheTop) {
    for (int si = 0; si < 3; ++si) {
        const Image meter(si, 13);
        const int w = meter.width(), h = meter.height(), band = scaled(4, si);
        for (int y = 0; y + band <= h; y += band)
            EXPECT_GT(countPixels(meter.s, {0, y, w, band},
                                  [](Pixel p) { return p.a == 255 && isInk(p); }),
                      0)
                << "band at " << y;
        const Pixel bottom = pixelAt(meter.s, w / 2, h - band / 2 - 1);
        const Pixel top = pixelAt(meter.s, w / 2, band / 2);
        EXPECT_GT(bottom.g, bottom.r);
        EXPECT_GT(top.r, top.g);
    }
}

// The controls of both faces fit their face apart from each other; only the amount knob holds
// its readout and label.
TEST(Layout, ControlsFitTheirFaceWithoutOverlapping) {
    for (int si = 0; si < 3; ++si)
        for (const auto& [face, background] : kFaces) {
            SCOPED_TRACE("scale index " + std::to_string(si));
            const Image bg(si, background);
            const Box all{0, 0, bg.width(), bg.height()};
            std::vector<Box> boxes;
            for (const Placement& p : *face) {
                boxes.push_back(placeControl(p, si));
                EXPECT_TRUE(all.contains(boxes.back())) << p.name;
            }
            const auto inAmount = [](const std::string& name) {
                return name == "amountReadout" || name == "amountLabel";
            };
            for (size_t i = 0; i < boxes.size(); ++i)
                for (size_t j = i + 1; j < boxes.size(); ++j) {
                    const std::string a = (*face)[i].name, b = (*face)[j].name;
                    if (a == "amount" && inAmount(b))
                        EXPECT_TRUE(boxes[i].contains(boxes[j])) << b;
                    else
                        EXPECT_FALSE(boxes[i].overlaps(boxes[j])) << a << " / " << b;
                }
        }
}

TEST(Labels, EachLabelIsPrintedBesideItsControlAtEverySize) {
    // Where a label must show ink, relative to its control's top-left corner at 100 %.
    struct Label {
        const char* text;
        const char* control;
        double dx, dy, w, h;
    };
    const std::pair<int, std::vector<Label>> faces[] = {
        {0,
         {{"EDIT", "edit", 29, 3, 22, 10},
          {"RECALL", "recall", 33, 3, 34, 10},
          {"Orvane", "logo", 42, 4, 90, 22},
          {"BYPASS", "bypass", 29, 6, 34, 9},
          {"VOLUME", "volume", 4, -16, 36, 8},
          {"FREQUENCY", "airFrequency", -6, -15, 56, 8},
          {"AIR", "air", 30, 6, 18, 9},
          {"AMOUNT", "amountLabel", 10, 3, 36, 8},
          {"MEMORY", "recallA", 14, -19, 38, 8},
          {"STORE", "storeA", 19, -19, 28, 8},
          {"UNDO", "undo", -3, -19, 24, 8},
          {"A", "recallA", 23, 4, 8, 10},
          {"B", "recallB", 23, 4, 8, 10},
          {"A", "storeA", 23, 4, 8, 10},
          {"B", "storeB", 23, 4, 8, 10},
          {"MONO / STEREO SPLIT", "split", 30, 6, 120, 9},
          {"FREQUENCY", "splitFrequency", -6, -17, 56, 8},
          {"SOLO", "solo", 23, 5, 24, 9},
          {"NOTE", "note", 76, 5, 24, 9},
          {"MONO", "monoType", 60, 2, 26, 9},
          {"150 Hz", "range0", 24, 5, 30, 9},
          {"250 Hz", "range1", 24, 5, 30, 9},
          {"500 Hz", "range2", 24, 5, 30, 9},
          {"Full Range", "range3", 24, 5, 50, 9}}},
        {1,
         {{"ARROW KEYS STEP PROGRAMS", "keySwitch", -150, 5, 120, 9},
          {"MIDI PROGRAM CHANGE", "midiPresetSwitch", -120, 5, 90, 9},
          {"MIDI SOFT TAKEOVER", "captureSwitch", -110, 5, 80, 9},
          {"MIDI CHANNEL", "channelMenu", -60, 2, 46, 9},
          {"EDITOR SIZE", "sizeMenu", -55, 2, 42, 9}}},
    };
    for (int si = 0; si < 3; ++si) {
        for (const auto& [background, labels] : faces) {
            const Image bg(si, background);
            for (const Label& l : labels) {
                const Placement& p = placement(background ? kSettingsFace : kMainFace, l.control);
                const Box region{scaled(p.x + l.dx, si), scaled(p.y + l.dy, si) + p.dy[si],
                                 scaled(l.w, si), scaled(l.h, si)};
                // Printed letters cover a good share of their box; the plate alone has no ink.
                EXPECT_GT(countPixels(bg.s, region, isInk), region.w * region.h / 12)
                    << l.text << " beside " << l.control << " at scale index " << si;
            }
        }
        // Guards the ink measure itself: an empty stretch of plate right of the air rule.
        const Image face(si, 0);
        const Box empty{scaled(340, si), scaled(230, si), scaled(50, si), scaled(20, si)};
        EXPECT_EQ(countPixels(face.s, empty, isInk), 0);
    }
}
