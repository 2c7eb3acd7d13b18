#include "controls/common/modGenericFunctions.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace picbasket;

TEST(NumericTextBox, KeyPressFilter) {
    const struct { int16_t key; int16_t after; } rows[] = {
        {'0', '0'}, {'9', '9'}, {8, 8}, {'.', 0}, {'-', 0}, {'a', 0}, {' ', 0}};
    for (const auto& r : rows) {
        int16_t key = r.key;
        subNumericKeyPress(key, -1);
        EXPECT_EQ(key, r.after) << r.key;
    }
    int16_t dot = '.';
    subNumericKeyPress(dot, '.');
    EXPECT_EQ(dot, '.');
}

TEST(NumericTextBox, RejectsTypedAndPastedNonDigits) {
    QLineEdit box;
    subMakeNumericTextBox(&box);
    QTest::keyClicks(&box, QStringLiteral("1a2.-3"));
    EXPECT_EQ(box.text(), QStringLiteral("123"));
    box.clear();
    box.insert(QStringLiteral("12x"));
    EXPECT_EQ(box.text(), QString());
    box.insert(QStringLiteral("456"));
    EXPECT_EQ(box.text(), QStringLiteral("456"));
}

TEST(NumericTextBox, ClampTable) {
    const struct { const char* in; const char* out; } rows[] = {
        {"500", "300"}, {"5", "20"}, {"100", "100"}, {"99999", "300"},
        {"-99999", "20"}, {"abc", "abc"}, {"", ""}, {"300", "300"}, {"20", "20"}};
    for (const auto& r : rows) {
        QLineEdit box(QString::fromLatin1(r.in));
        subClampTextValue(&box, 20, 300);
        EXPECT_EQ(box.text(), QString::fromLatin1(r.out)) << r.in;
    }
}

TEST(NumericTextBox, DefaultWhenEmptyIsSelected) {
    QLineEdit box;
    subTextDefaultIfEmpty(&box, QStringLiteral("75"));
    EXPECT_EQ(box.text(), QStringLiteral("75"));
    EXPECT_EQ(box.selectedText(), QStringLiteral("75"));
    box.setText(QStringLiteral("3"));
    subTextDefaultIfEmpty(&box, QStringLiteral("75"));
    EXPECT_EQ(box.text(), QStringLiteral("3"));
}
