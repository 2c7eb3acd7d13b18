#include "editing/TaskSlotText.h"

#include <gtest/gtest.h>

using namespace picbasket;

TEST(TaskSlotText, ColoursReadAsSignedLongs) {
    const std::pair<OleColor, const char*> cases[] = {
        {0x8000000Eu, "-2147483634"}, // highlighted text, a system colour
        {0x80000008u, "-2147483640"}, {0x00000000u, "0"},
        {0x00030201u, "197121"}, // red 1 + 256 * green 2 + 65536 * blue 3
        {0x00FFFFFFu, "16777215"},
    };
    for (const auto& [colour, text] : cases)
        EXPECT_EQ(fncSlotColor(colour), QString::fromLatin1(text)) << std::hex << colour;
}

TEST(TaskSlotText, SinglesAreTheirShortestPlainText) {
    const std::pair<float, const char*> cases[] = {
        {0.0f, "0"},       {-0.0f, "0"},  {-90.0f, "-90"},         {14.0f, "14"},
        {8.25f, "8.25"},   {0.1f, "0.1"}, {1000000.0f, "1000000"}, {-12.5f, "-12.5"},
        {333.3f, "333.3"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(fncSlotSingle(value), QString::fromLatin1(text)) << value;
}

TEST(TaskSlotText, TruthChecksAndWholeNumbers) {
    EXPECT_EQ(fncSlotBool(true), QStringLiteral("True"));
    EXPECT_EQ(fncSlotBool(false), QStringLiteral("False"));
    EXPECT_EQ(fncSlotCheck(true), QStringLiteral("1"));
    EXPECT_EQ(fncSlotCheck(false), QStringLiteral("0"));
    EXPECT_EQ(fncSlotWhole(-5), QStringLiteral("-5"));
    EXPECT_EQ(fncSlotWhole(120), QStringLiteral("120"));
}
