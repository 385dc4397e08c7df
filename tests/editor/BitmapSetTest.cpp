// SPDX-License-Identifier: GPL-3.0-or-later
// The controls on the real bitmap sets, loaded through the toolkit as the editor loads them:
// the sizes each control derives from its image at every scale.
#include "toolkit/CBitmap.h"

#include <gtest/gtest.h>

#include <string>

using namespace orvgui;

namespace {

struct Loaded {
    explicit Loaded(int number) : bitmap(new CBitmap(number)) {}
    ~Loaded() { bitmap->forget(); }
    CBitmap* bitmap;
};

int number(int scale, int k) {
    return 10000 + 1000 * scale + k;
}

TEST(BitmapSets, GiveTheControlsTheirSizesAtEveryScale) {
    const double factor[] = {1.0, 1.5, 2.0};
    for (int scale = 0; scale < 3; ++scale) {
        SCOPED_TRACE("scale index " + std::to_string(scale));
        const double f = factor[scale];
        Loaded face(number(scale, 0));
        ASSERT_TRUE(face.bitmap->isLoaded());
        EXPECT_EQ(face.bitmap->getWidth(), int(550 * f));
        EXPECT_EQ(face.bitmap->getHeight(), int(475 * f));
        // Knob views are one film image high.
        for (auto [k, side] : {std::pair{30, 44}, {31, 124}}) {
            Loaded film(number(scale, k));
            ASSERT_TRUE(film.bitmap->isLoaded()) << k;
            EXPECT_EQ(film.bitmap->getWidth(), int(side * f)) << k;
            EXPECT_GT(film.bitmap->getHeight() / 137, 0) << k;
        }
        // The meter image is exactly as high as the meter view (76 at 100 %).
        Loaded meter(number(scale, 13));
        EXPECT_EQ(meter.bitmap->getHeight(), int(76 * f));
        EXPECT_EQ(meter.bitmap->getWidth(), int(7 * f));
        // Radio buttons take the size of one lamp state.
        Loaded lamp(number(scale, 17));
        EXPECT_EQ(lamp.bitmap->getWidth(), int(18 * f));
        EXPECT_EQ(lamp.bitmap->getHeight(), 2 * int(18 * f));
    }
}

} // namespace
