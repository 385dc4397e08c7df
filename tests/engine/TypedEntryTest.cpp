// SPDX-License-Identifier: GPL-3.0-or-later
// Typed value entry, answered by a scripted dialog.
#include "engine/TestEffect.h"
#include "platform/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace {

class TypedEntry : public ::testing::Test {
protected:
    float enter(int index, const char* typed) {
        dialogs.script.typed = typed;
        effect.setNumValue(index);
        return effect.getParameter(index);
    }
    ScopedScriptedDialogs dialogs;
    TestEffect effect;
};

} // namespace

// Each row types an answer for one parameter and reads the value back; a label, where given,
// is the question's.
TEST_F(TypedEntry, AnswersMapOntoEachParametersRange) {
    struct Row {
        int index;
        const char* typed;
        float value;
        const char* label;
    };
    const Row rows[] = {
        {1, "+6", 0.65f, "-20 to 20 db"},
        {1, "30", 1.0f, nullptr},
        {1, "-12.5 dB", -12.5f / 40.0f + 0.5f, nullptr},
        {1, "minus forty", 0.5f, nullptr}, // not a number reads as 0 dB
        {2, "0.2", 0.0f, "0 for Off, 1 for On"},
        {40, "1", 1.0f, nullptr},
        {8, "0.5", 1.0f, "0 for Frequency, 1 for Note"},
        {4, "35000", std::log(35000.0f / 30000.0f) / 0.28765607f, nullptr},
        {4, "50000 hz", 1.0f, nullptr},
        {4, "-5", 0.0f, nullptr},
        {10, "3", 2.1f / 19.99f, "1 [Left] to 4 [L - R]"},
        {10, "9", 8.1f / 19.99f, nullptr},
    };
    for (const Row& row : rows) {
        EXPECT_NEAR(enter(row.index, row.typed), row.value, 1e-6) << row.index << " " << row.typed;
        if (row.label) {
            EXPECT_EQ(dialogs.script.questions.back().label, row.label);
        }
    }
    EXPECT_EQ(effect.getMonoType(), 3);
    effect.setParameter(9, 0.0f); // 150 Hz range
    EXPECT_NEAR(enter(7, "75"), std::log(75.0f / 20.0f) / (2.90689063f * 0.6931472f), 1e-6);
    EXPECT_EQ(dialogs.script.questions.back().label, "20hz to 150hz");
    effect.setParameter(9, 0.776942f); // full range
    EXPECT_NEAR(enter(7, "440"), std::log(22.0f) / (10.0f * 0.6931472f), 1e-6);
    EXPECT_EQ(dialogs.script.questions.back().label, "20hz to 20500z");
}

TEST_F(TypedEntry, QuestionsShowTheTitleAndTheCurrentValue) {
    effect.setParameter(2, 1.0f);
    for (auto [index, title, initial] :
         {std::tuple{1, "Main Volume", "0.0"}, {10, "Mono Type", "1"}, {2, "Air On / Off", "On"}}) {
        dialogs.script.typed.reset(); // OK with the field as shown
        effect.setNumValue(index);
        EXPECT_EQ(dialogs.script.questions.back().title, title);
        EXPECT_EQ(dialogs.script.questions.back().initialText, initial);
    }
    EXPECT_FLOAT_EQ(effect.getParameter(2), 1.0f) << "confirming \"On\" strips to nothing";
}

TEST_F(TypedEntry, EmptyOrCancelledAnswersChangeNothing) {
    effect.setParameter(3, 0.25f);
    EXPECT_FLOAT_EQ(enter(3, ""), 0.25f);
    dialogs.script.confirm = false;
    EXPECT_FLOAT_EQ(enter(3, "5"), 0.25f);
}

TEST_F(TypedEntry, ParametersWithoutEntryAskNothing) {
    for (int index : {0, 9, 11, 12, 127, 500, -3}) {
        dialogs.script.typed = "1";
        effect.setNumValue(index);
    }
    EXPECT_TRUE(dialogs.script.questions.empty());
}
