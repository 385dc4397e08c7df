// SPDX-License-Identifier: GPL-3.0-or-later
#include "StandInEditor.h"

#include "editor/myVu.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace orvgui;
using namespace editortest;

namespace {

class Meter : public ::testing::Test {
protected:
    // A meter of height h at (20, 10); the image's row r has red = r.
    myVu* makeMeter(int h) {
        if (editor.meter) editor.meter->forget();
        editor.meter = rowCodedMeter(7, h);
        return editor.place(new myVu(CRect(20, 10, 27, 10 + h), nullptr, kTagNoParameter));
    }
    // Lit rows of the meter's column, and the image row shown at its top lit row.
    struct Drawn {
        int lit = 0;
        int topImageRow = -1;
    };
    Drawn draw(myVu* meter, float level) {
        meter->setInputValue(level);
        const int top = static_cast<int>(meter->getViewSize().top);
        const int h = static_cast<int>(meter->getHeight());
        Canvas canvas(60, 200);
        meter->draw(&canvas.context());
        Drawn drawn;
        for (int y = top; y < top + h; ++y) {
            const CColor p = canvas.pixel(23, y);
            if (p.alpha == 0) continue;
            if (drawn.lit++ == 0) drawn.topImageRow = p.red;
        }
        return drawn;
    }
    StandInEditor editor;
};

TEST_F(Meter, LightsTheBottomOfTheImageAsHighAsTheLevel) {
    myVu* meter = makeMeter(76);
    Drawn half = draw(meter, 0.5f);
    EXPECT_EQ(half.lit, 38);
    EXPECT_EQ(half.topImageRow, 38); // the image's own lower half
    EXPECT_FLOAT_EQ(meter->getValue(), 0.5f);

    // 0.8 of 76 is 60.8: 60 rows, and they are the image's bottom 60 (from row 16).
    Drawn most = draw(meter, 0.8f);
    EXPECT_EQ(most.lit, 60);
    EXPECT_EQ(most.topImageRow, 16);

    Drawn over = draw(meter, 1.3f);
    EXPECT_EQ(over.lit, 76);
    EXPECT_EQ(over.topImageRow, 0);
    EXPECT_FLOAT_EQ(meter->getValue(), 1.0f);

    EXPECT_EQ(draw(meter, -1.0f).lit, 0);
    EXPECT_FLOAT_EQ(meter->getValue(), 0.0f);
    EXPECT_EQ(draw(meter, std::numeric_limits<float>::quiet_NaN()).lit, 0);
    EXPECT_EQ(draw(meter, std::numeric_limits<float>::infinity()).lit, 76);
}

TEST_F(Meter, ScalesWithTheViewHeight) {
    EXPECT_EQ(draw(makeMeter(114), 0.5f).lit, 57);
    EXPECT_EQ(draw(makeMeter(152), 0.25f).lit, 38);
}

TEST_F(Meter, DrawsNothingWithoutItsImageOrAnEditorOfOurs) {
    myVu* meter = makeMeter(76);
    editor.meter->forget();
    editor.meter = nullptr;
    EXPECT_EQ(draw(meter, 1.0f).lit, 0);

    ForeignEditor foreign;
    auto* frame = new CFrame(CRect(0, 0, 100, 100), &foreign);
    auto* lone = new myVu(CRect(20, 10, 27, 86), nullptr, kTagNoParameter);
    frame->addView(lone);
    EXPECT_EQ(draw(lone, 1.0f).lit, 0);
    frame->close();
}

} // namespace
