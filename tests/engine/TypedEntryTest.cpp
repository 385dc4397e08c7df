// Typed value entry, answered by a scripted dialog.
#include "engine/TestEffect.h"
#include "platform/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <cmath>

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

TEST_F(TypedEntry, MainVolumeTakesDecibels) {
    EXPECT_FLOAT_EQ(enter(1, "+6"), 0.65f);
    const auto& question = dialogs.script.questions.back();
    EXPECT_EQ(question.title, "Main Volume");
    EXPECT_EQ(question.label, "-20 to 20 db");
    EXPECT_EQ(question.initialText, "0.0");
    EXPECT_FLOAT_EQ(enter(1, "30"), 1.0f);
    EXPECT_FLOAT_EQ(enter(1, "-12.5 dB"), (-12.5f / 40.0f) + 0.5f);
    EXPECT_FLOAT_EQ(enter(1, "minus forty"), 0.5f) << "not a number reads as 0 dB";
}

TEST_F(TypedEntry, EmptyOrCancelledAnswersChangeNothing) {
    effect.setParameter(3, 0.25f);
    EXPECT_FLOAT_EQ(enter(3, ""), 0.25f);
    dialogs.script.confirm = false;
    EXPECT_FLOAT_EQ(enter(3, "5"), 0.25f);
}

TEST_F(TypedEntry, SwitchesTakeNumbersAndIgnoreTheirDefaultText) {
    effect.setParameter(2, 1.0f);
    dialogs.script.typed.reset();
    effect.setNumValue(2);
    EXPECT_EQ(dialogs.script.questions.back().initialText, "On");
    EXPECT_EQ(dialogs.script.questions.back().label, "0 for Off, 1 for On");
    EXPECT_FLOAT_EQ(effect.getParameter(2), 1.0f) << "confirming \"On\" strips to nothing";
    EXPECT_FLOAT_EQ(enter(2, "0.2"), 0.0f);
    EXPECT_FLOAT_EQ(enter(40, "1"), 1.0f);
    EXPECT_FLOAT_EQ(enter(8, "0.5"), 1.0f);
    EXPECT_EQ(dialogs.script.questions.back().label, "0 for Frequency, 1 for Note");
}

TEST_F(TypedEntry, FrequenciesMapBackOntoTheirRanges) {
    EXPECT_NEAR(enter(4, "35000"), std::log(35000.0f / 30000.0f) / 0.28765607f, 1e-6);
    EXPECT_FLOAT_EQ(enter(4, "50000 hz"), 1.0f);
    EXPECT_FLOAT_EQ(enter(4, "-5"), 0.0f);
    effect.setParameter(9, 0.0f); // 150 Hz range
    EXPECT_NEAR(enter(7, "75"), std::log(75.0f / 20.0f) / (2.90689063f * 0.6931472f), 1e-6);
    EXPECT_EQ(dialogs.script.questions.back().label, "20hz to 150hz");
    effect.setParameter(9, 0.776942f); // full range
    EXPECT_NEAR(enter(7, "440"), std::log(22.0f) / (10.0f * 0.6931472f), 1e-6);
    EXPECT_EQ(dialogs.script.questions.back().label, "20hz to 20500z");
}

TEST_F(TypedEntry, MonoTypeIsChosenFromANumberedList) {
    EXPECT_FLOAT_EQ(enter(10, "3"), 2.1f / 19.99f);
    EXPECT_EQ(effect.getMonoType(), 2);
    const auto& question = dialogs.script.questions.back();
    EXPECT_EQ(question.label, "1 [Left] to 4 [L - R]");
    EXPECT_EQ(question.title, "Mono Type");
    EXPECT_EQ(question.initialText, "1");
    EXPECT_FLOAT_EQ(enter(10, "9"), 8.1f / 19.99f);
    EXPECT_EQ(effect.getMonoType(), 3);
}

TEST_F(TypedEntry, ParametersWithoutEntryAskNothing) {
    for (int index : {0, 9, 11, 12, 127, 500, -3}) {
        dialogs.script.typed = "1";
        effect.setNumValue(index);
    }
    EXPECT_TRUE(dialogs.script.questions.empty());
}
