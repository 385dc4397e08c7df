#include "Bitmaps.h"

#include "resources/Resources.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

using namespace orvane::test;

namespace {

struct Expected {
    int k;
    double width, height; // of one image at 100 %
    int images;
};

// The set as the editor uses it: fixed sizes for the faces, the meter and the display field,
// two stacked images for buttons and lamps, 137 frames for the knobs.
const Expected SET[] = {
    {0, 550, 475, 1}, {1, 550, 475, 1}, {2, 32, 32, 2},    {3, 47, 12, 1},      {12, 365, 16, 1},
    {13, 7, 76, 1},   {14, 160, 20, 1}, {15, 56, 14, 1},   {16, 18, 18, 2},     {17, 18, 18, 2},
    {20, 10, 12, 2},  {21, 10, 12, 2},  {30, 44, 44, 137}, {31, 124, 119, 137}, {40, 22, 16, 2},
    {41, 22, 16, 2},  {42, 22, 16, 2},  {43, 30, 16, 2},   {44, 60, 16, 2},     {45, 44, 16, 2},
    {46, 22, 20, 2},  {47, 22, 20, 2},  {48, 22, 20, 2},
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

// Brightness of a region weighted by coverage (premultiplied pixels make this a plain sum).
long light(cairo_surface_t* s, Box b) {
    long sum = 0;
    for (int y = b.y; y < b.y + b.h; ++y)
        for (int x = b.x; x < b.x + b.w; ++x)
            sum += pixelAt(s, x, y).luminance();
    return sum;
}

int width(cairo_surface_t* s) {
    return cairo_image_surface_get_width(s);
}
int height(cairo_surface_t* s) {
    return cairo_image_surface_get_height(s);
}

const Placement& placement(const Placement* list, int count, const std::string& name) {
    for (int i = 0; i < count; ++i)
        if (name == list[i].name) return list[i];
    throw std::runtime_error("no placement " + name);
}

} // namespace

TEST(BitmapSet, EveryBitmapExistsAtEachSizeWithItsOwnDimensions) {
    for (int si = 0; si < 3; ++si)
        for (const Expected& e : SET) {
            SCOPED_TRACE("bitmap " + std::to_string(bitmapNumber(si, e.k)));
            Surface s = decode(bitmapNumber(si, e.k));
            ASSERT_TRUE(s);
            // Opaque images come back without an alpha channel.
            const cairo_format_t format = cairo_image_surface_get_format(s.get());
            EXPECT_TRUE(format == CAIRO_FORMAT_ARGB32 || format == CAIRO_FORMAT_RGB24);
            EXPECT_EQ(width(s.get()), scaled(e.width, si));
            EXPECT_EQ(height(s.get()), scaled(e.height, si) * e.images);
        }
}

TEST(BitmapSet, NumbersOutsideTheSetAreAbsent) {
    for (int number : {-1, 0, 9999, 10004, 10018, 10049, 12049, 13000, 20000}) {
        const orvane::Resource r = orvane::findResource(number);
        EXPECT_EQ(r.data, nullptr) << number;
        EXPECT_EQ(r.size, 0u) << number;
    }
}

TEST(BitmapSet, BackgroundsAreOpaqueAndTheFrameSizeScales) {
    for (int si = 0; si < 3; ++si)
        for (int k : {0, 1}) {
            Surface s = decode(bitmapNumber(si, k));
            ASSERT_TRUE(s);
            EXPECT_EQ(width(s.get()), scaled(550, si));
            EXPECT_EQ(height(s.get()), scaled(475, si));
            const Box all{0, 0, width(s.get()), height(s.get())};
            EXPECT_EQ(countPixels(s.get(), all, [](Pixel p) { return p.a != 255; }), 0);
        }
}

TEST(Films, HaveEqualFramesWhoseLitArcGrowsWithTheValue) {
    for (int si = 0; si < 3; ++si)
        for (int k : {30, 31}) {
            SCOPED_TRACE("bitmap " + std::to_string(bitmapNumber(si, k)));
            Surface s = decode(bitmapNumber(si, k));
            ASSERT_TRUE(s);
            ASSERT_EQ(height(s.get()) % FILM_FRAMES, 0);
            const int frame = height(s.get()) / FILM_FRAMES;
            int previous = -1;
            for (int i = 0; i < FILM_FRAMES; i += 17) { // 0, 17, ... 136
                const int lit =
                    countPixels(s.get(), {0, i * frame, width(s.get()), frame}, isAmber);
                if (i == 0)
                    EXPECT_EQ(lit, 0);
                else
                    EXPECT_GT(lit, previous) << "frame " << i;
                previous = lit;
            }
        }
}

TEST(TwoStateImages, LampsLightInTheLowerHalfAndTheLitLampInBoth) {
    for (int si = 0; si < 3; ++si) {
        Surface lamp = decode(bitmapNumber(si, 17)), lit = decode(bitmapNumber(si, 16));
        ASSERT_TRUE(lamp && lit);
        const int w = width(lamp.get()), h = height(lamp.get()) / 2;
        const Box upper{0, 0, w, h}, lower{0, h, w, h};
        EXPECT_EQ(countPixels(lamp.get(), upper, isAmber), 0);
        EXPECT_GT(countPixels(lamp.get(), lower, isAmber), 0);
        EXPECT_GT(light(lamp.get(), lower), 2 * light(lamp.get(), upper));
        EXPECT_GT(countPixels(lit.get(), upper, isAmber), 0);
        EXPECT_GT(countPixels(lit.get(), lower, isAmber), 0);
    }
}

TEST(TwoStateImages, ButtonsAndSwitchesShowADifferentImageWhenPressed) {
    for (int si = 0; si < 3; ++si)
        for (int k : {2, 20, 21, 40, 41, 42, 43, 44, 45, 46, 47, 48}) {
            SCOPED_TRACE("bitmap " + std::to_string(bitmapNumber(si, k)));
            Surface s = decode(bitmapNumber(si, k));
            ASSERT_TRUE(s);
            const int w = width(s.get()), h = height(s.get()) / 2;
            int differing = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const Pixel a = pixelAt(s.get(), x, y), b = pixelAt(s.get(), x, y + h);
                    differing += a.r != b.r || a.g != b.g || a.b != b.b || a.a != b.a;
                }
            EXPECT_GT(differing, w * h / 20);
        }
}

TEST(TwoStateImages, SwitchesLightOnlyWhenOnAndTheEditLampOnlyWhenEdited) {
    for (int si = 0; si < 3; ++si) {
        for (int k : {47, 48}) {
            Surface s = decode(bitmapNumber(si, k));
            const int w = width(s.get()), h = height(s.get()) / 2;
            EXPECT_EQ(countPixels(s.get(), {0, 0, w, h}, isAmber), 0) << k;
            EXPECT_GT(countPixels(s.get(), {0, h, w, h}, isAmber), 0) << k;
        }
        Surface clean = decode(bitmapNumber(si, 41)), edited = decode(bitmapNumber(si, 42));
        const Box all{0, 0, width(clean.get()), height(clean.get())};
        EXPECT_EQ(countPixels(clean.get(), all, isAmber), 0);
        EXPECT_GT(countPixels(edited.get(), all, isAmber), 0);
    }
}

TEST(Meter, IsLitFromBottomToTopGreenBelowRedAtTheTop) {
    for (int si = 0; si < 3; ++si) {
        Surface s = decode(bitmapNumber(si, 13));
        ASSERT_TRUE(s);
        const int w = width(s.get()), h = height(s.get()), band = scaled(4, si);
        for (int y = 0; y + band <= h; y += band)
            EXPECT_GT(countPixels(s.get(), {0, y, w, band},
                                  [](Pixel p) { return p.a == 255 && p.luminance() > 100; }),
                      0)
                << "band at " << y;
        const Pixel bottom = pixelAt(s.get(), w / 2, h - band / 2 - 1);
        const Pixel top = pixelAt(s.get(), w / 2, band / 2);
        EXPECT_GT(bottom.g, bottom.r);
        EXPECT_GT(top.r, top.g);
    }
}

// Placement follows the editor: bitmap-derived sizes at positions scaled with truncation.
static void expectApartAndInside(const Placement* list, int count, int backgroundK, int si) {
    Surface bg = decode(bitmapNumber(si, backgroundK));
    ASSERT_TRUE(bg);
    const Box face{0, 0, width(bg.get()), height(bg.get())};
    std::vector<Box> boxes;
    for (int i = 0; i < count; ++i) {
        Surface bmp = decode(bitmapNumber(si, list[i].k));
        ASSERT_TRUE(bmp);
        boxes.push_back(placeControl(list[i], si, bmp.get()));
        EXPECT_TRUE(face.contains(boxes.back())) << list[i].name;
    }
    const auto nested = [&](int i, int j) {
        const std::string a = list[i].name, b = list[j].name;
        return (a == "amount" && (b == "amountReadout" || b == "amountLabel")) ||
               (b == "amount" && (a == "amountReadout" || a == "amountLabel"));
    };
    for (int i = 0; i < count; ++i)
        for (int j = i + 1; j < count; ++j) {
            if (nested(i, j)) {
                const Box& outer = std::string(list[i].name) == "amount" ? boxes[i] : boxes[j];
                const Box& inner = std::string(list[i].name) == "amount" ? boxes[j] : boxes[i];
                EXPECT_TRUE(outer.contains(inner)) << list[i].name << " / " << list[j].name;
            } else {
                EXPECT_FALSE(boxes[i].overlaps(boxes[j])) << list[i].name << " / " << list[j].name;
            }
        }
}

TEST(Layout, MainFaceControlsFitTheFaceWithoutOverlapping) {
    for (int si = 0; si < 3; ++si) {
        SCOPED_TRACE("scale index " + std::to_string(si));
        expectApartAndInside(MAIN_FACE, MAIN_FACE_COUNT, 0, si);
    }
}

TEST(Layout, SettingsControlsFitThePanelWithoutOverlapping) {
    for (int si = 0; si < 3; ++si) {
        SCOPED_TRACE("scale index " + std::to_string(si));
        expectApartAndInside(SETTINGS_FACE, SETTINGS_FACE_COUNT, 1, si);
    }
}

namespace {
// A printed label: where it must show ink, relative to a control's top-left corner at 100 %.
struct Label {
    const char* text;
    const char* control;
    double dx, dy, w, h;
};

const Label MAIN_LABELS[] = {
    {"EDIT", "edit", 29, 3, 22, 10},
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
    {"Full Range", "range3", 24, 5, 50, 9},
};

const Label SETTINGS_LABELS[] = {
    {"ARROW KEYS STEP PROGRAMS", "keySwitch", -150, 5, 120, 9},
    {"MIDI PROGRAM CHANGE", "midiPresetSwitch", -120, 5, 90, 9},
    {"MIDI SOFT TAKEOVER", "captureSwitch", -110, 5, 80, 9},
    {"MIDI CHANNEL", "channelMenu", -60, 2, 46, 9},
    {"EDITOR SIZE", "sizeMenu", -55, 2, 42, 9},
};

void expectLabels(const Label* labels, int labelCount, const Placement* list, int count,
                  int backgroundK) {
    for (int si = 0; si < 3; ++si) {
        Surface bg = decode(bitmapNumber(si, backgroundK));
        ASSERT_TRUE(bg);
        for (int i = 0; i < labelCount; ++i) {
            const Label& l = labels[i];
            const Placement& p = placement(list, count, l.control);
            const Box region{scaled(p.x + l.dx, si), scaled(p.y + l.dy, si) + p.dy[si],
                             scaled(l.w, si), scaled(l.h, si)};
            const int ink =
                countPixels(bg.get(), region, [](Pixel q) { return q.luminance() > 100; });
            // Printed letters cover a good share of their box; the plate alone has no ink.
            EXPECT_GT(ink, region.w * region.h / 12)
                << l.text << " beside " << l.control << " at scale index " << si;
        }
    }
}
} // namespace

TEST(Labels, MainFacePrintsEachLabelBesideItsControlAtEverySize) {
    expectLabels(MAIN_LABELS, sizeof MAIN_LABELS / sizeof *MAIN_LABELS, MAIN_FACE, MAIN_FACE_COUNT,
                 0);
}

TEST(Labels, SettingsPanelPrintsEachOptionBesideItsControlAtEverySize) {
    expectLabels(SETTINGS_LABELS, sizeof SETTINGS_LABELS / sizeof *SETTINGS_LABELS, SETTINGS_FACE,
                 SETTINGS_FACE_COUNT, 1);
}

TEST(Labels, ThePlateIsBlankWhereNoLabelIsPrinted) {
    // Guards the ink measure itself: an empty stretch of plate right of the air rule.
    for (int si = 0; si < 3; ++si) {
        Surface bg = decode(bitmapNumber(si, 0));
        const Box empty{scaled(340, si), scaled(230, si), scaled(50, si), scaled(20, si)};
        EXPECT_EQ(countPixels(bg.get(), empty, [](Pixel q) { return q.luminance() > 100; }), 0);
    }
}
