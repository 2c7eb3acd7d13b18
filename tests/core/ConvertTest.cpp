#include "core/AppError.h"
#include "core/Convert.h"

#include <gtest/gtest.h>

using namespace picbasket;

TEST(Rounding, HalvesGoToEven) {
    const struct { double in, out; } rows[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4999, 2}, {2.5001, 3}, {-2.5, -2}};
    for (const auto& r : rows)
        EXPECT_EQ(roundHalfEven(r.in), r.out) << r.in;
}

struct IntRow {
    const char* name;
    const char* text;
    int expected; // the value, or the error number when error is true
    bool error;
};

TEST(Conversions, IntegerTable) {
    const IntRow rows[] = {
        {"blanks around", " 12 ", 12, false},
        {"half to even down", "12.5", 12, false},
        {"half to even up", "13.5", 14, false},
        {"negative", "-1", -1, false},
        {"zero", "0", 0, false},
        {"not a number", "abc", err::TypeMismatch, true},
        {"empty", "", err::TypeMismatch, true},
        {"truth text is no number", "True", err::TypeMismatch, true},
        {"out of range", "40000", err::Overflow, true},
        {"largest", "32767", 32767, false},
        {"smallest", "-32768", -32768, false},
    };
    for (const IntRow& r : rows) {
        if (r.error) {
            try {
                cInt(QString::fromLatin1(r.text));
                ADD_FAILURE() << r.name << ": no error";
            } catch (const AppError& e) {
                EXPECT_EQ(e.number(), r.expected) << r.name;
            }
        } else {
            EXPECT_EQ(cInt(QString::fromLatin1(r.text)), r.expected) << r.name;
        }
    }
}

TEST(Conversions, LongAndByteRanges) {
    EXPECT_EQ(cLng(QStringLiteral("40000")), 40000);
    EXPECT_EQ(cLng(QStringLiteral("2.5")), 2);
    EXPECT_EQ(cByte(QStringLiteral("255")), 255);
    EXPECT_THROW(cByte(QStringLiteral("256")), AppError);
    EXPECT_THROW(cByte(QStringLiteral("-1")), AppError);
    EXPECT_THROW(cLng(QStringLiteral("3000000000")), AppError);
}

TEST(Conversions, BooleanTable) {
    const struct { const char* text; bool value; } rows[] = {
        {"True", true}, {"false", false}, {"TRUE", true}, {" False ", false},
        {"-1", true},   {"0", false},     {"2", true},    {"0.0", false}};
    for (const auto& r : rows)
        EXPECT_EQ(cBool(QString::fromLatin1(r.text)), r.value) << r.text;
    for (const char* bad : {"abc", "", "yes"}) {
        try {
            cBool(QString::fromLatin1(bad));
            ADD_FAILURE() << bad;
        } catch (const AppError& e) {
            EXPECT_EQ(e.number(), err::TypeMismatch) << bad;
        }
    }
}

TEST(Conversions, TextsOfValues) {
    EXPECT_EQ(cStr(true), QStringLiteral("True"));
    EXPECT_EQ(cStr(false), QStringLiteral("False"));
    EXPECT_EQ(cStr(1.5), QStringLiteral("1.5"));
    EXPECT_EQ(cStr(12.0), QStringLiteral("12"));
    EXPECT_EQ(cStr(-0.25), QStringLiteral("-0.25"));
}
