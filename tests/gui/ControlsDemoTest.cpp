// The controls demo on Xvfb at 100, 150 and 200 %: screenshots for the eye
// (controls_face_<size>.png, controls_shelf_<size>.png) and checks that every bitmap of the
// set arrives on screen at its own size, pixel for pixel.
#include "tests/gui/ControlsDemo.h"
#include "tests/gui/XHarness.h"

#include <cairo.h>
#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace orvane::guitest {
namespace {
using namespace orvgui;

const char* const SIZE_NAMES[] = {"100", "150", "200"};

CColor imagePixel(CBitmap* bitmap, int x, int y) {
    cairo_surface_t* s = bitmap->getSurface();
    cairo_surface_flush(s);
    const unsigned char* row =
        cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s);
    const uint32_t v = reinterpret_cast<const uint32_t*>(row)[x];
    const bool opaque = cairo_image_surface_get_format(s) == CAIRO_FORMAT_RGB24;
    return {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v),
            static_cast<uint8_t>(opaque ? 255 : v >> 24)};
}

// Opaque pixels of the image region (sx, sy, w, h) that the screenshot shows differently at
// (dx, dy).
int mismatches(const Screenshot& shot, CBitmap* bitmap, int sx, int sy, int w, int h, int dx,
               int dy) {
    int wrong = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            CColor want = imagePixel(bitmap, sx + x, sy + y);
            if (want.alpha != 255) continue;
            CColor got = shot.pixel(dx + x, dy + y);
            got.alpha = 255;
            wrong += got != want;
        }
    return wrong;
}

class ControlsDemoTest : public testing::TestWithParam<int> {
protected:
    void SetUp() override {
        if (!testDisplay()) GTEST_SKIP() << "needs " << missingTool();
    }
    // Opens the page in a host window and photographs it.
    Screenshot show(ControlsDemo& demo, const std::string& name) {
        HostWindow host(0, 0, demo.width(), demo.height());
        EXPECT_TRUE(demo.getFrame()->open(host.parentHandle()));
        for (int i = 0; i < 10; ++i) {
            demo.getFrame()->idle();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        auto shot = Screenshot::of(host.id(), name + "_" + SIZE_NAMES[GetParam()]);
        EXPECT_TRUE(shot);
        demo.getFrame()->remember(); // the demo closes the frame itself
        demo.getFrame()->close();
        return shot ? *shot : Screenshot();
    }
};

TEST_P(ControlsDemoTest, TheFaceShowsEveryControlOnItsBitmaps) {
    const int scale = GetParam();
    const double factor[] = {1.0, 1.5, 2.0};
    ControlsDemo demo(ControlsDemo::Page::kFace, scale);
    const Screenshot shot = show(demo, "controls_face");
    ASSERT_EQ(shot.width(), int(550 * factor[scale]));
    ASSERT_EQ(shot.height(), int(475 * factor[scale]));

    // The left meter at 0.8: its image's lit bottom, the face above it.
    CBitmap* meter = demo.bitmap(13);
    const int mx = int(488 * factor[scale]), my = int(163 * factor[scale]);
    const int h = int(meter->getHeight()), w = int(meter->getWidth());
    const int lit = int(0.8f * float(h));
    EXPECT_EQ(mismatches(shot, meter, 0, h - lit, w, lit, mx, my + h - lit), 0);
    EXPECT_EQ(mismatches(shot, demo.bitmap(0), mx, my, w, h - lit - 1, mx, my), 0);

    // The second range button is lit, the others not.
    CBitmap* lamp = demo.bitmap(17);
    const int lw = int(lamp->getWidth()), lh = int(lamp->getHeight()) / 2;
    for (int i = 0; i < 4; ++i) {
        const int rx = int(354 * factor[scale]), ry = int((361 + 21 * i) * factor[scale]);
        EXPECT_EQ(mismatches(shot, lamp, 0, i == 1 ? lh : 0, lw, lh, rx, ry), 0) << i;
    }

    // The volume knob at 0.5 shows the film's middle frame.
    CBitmap* film = demo.bitmap(30);
    const int fh = int(film->getHeight()) / 137;
    EXPECT_EQ(mismatches(shot, film, 0, 68 * fh, int(film->getWidth()), fh,
                         int(413 * factor[scale]), int(166 * factor[scale])),
              0);
}

TEST_P(ControlsDemoTest, TheShelfShowsEveryOtherBitmapAtItsOwnSize) {
    const int scale = GetParam();
    ControlsDemo demo(ControlsDemo::Page::kShelf, scale);
    const Screenshot shot = show(demo, "controls_shelf");
    ASSERT_EQ(shot.width(), demo.width());

    CBitmap* settings = demo.bitmap(1);
    EXPECT_EQ(mismatches(shot, settings, 0, 0, int(settings->getWidth()),
                         int(settings->getHeight()), 0, 0),
              0);
    for (int k : {2, 3, 12, 13, 14, 15, 16, 17, 20, 21, 40, 41, 42, 43, 44, 45, 46, 47, 48}) {
        CBitmap* b = demo.bitmap(k);
        ASSERT_TRUE(b->isLoaded()) << k;
        const CRect at = demo.placeOf(k);
        EXPECT_EQ(mismatches(shot, b, 0, 0, int(b->getWidth()), int(b->getHeight()), int(at.left),
                             int(at.top)),
                  0)
            << "bitmap " << k;
    }
    // Knobs at 0, 0.5 and 1 show the first, middle and last film frames.
    for (int k : {30, 31}) {
        CBitmap* film = demo.bitmap(k);
        const int fw = int(film->getWidth()), fh = int(film->getHeight()) / 137;
        for (std::size_t i = 0; i < 3; ++i) {
            const int frame = int(68 * i);
            const CRect at = demo.placeOf(k, i);
            EXPECT_EQ(mismatches(shot, film, 0, frame * fh, fw, fh, int(at.left), int(at.top)), 0)
                << "film " << k << " frame " << frame;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ControlsDemoTest, testing::Values(0, 1, 2),
                         [](const testing::TestParamInfo<int>& info) {
                             return std::string("At") + SIZE_NAMES[info.param];
                         });

} // namespace
} // namespace orvane::guitest
