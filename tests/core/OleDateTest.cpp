#include "core/OleDate.h"

#include <gtest/gtest.h>

using namespace picbasket;

TEST(OleDates, BothWays) {
    const struct { double ole; QDateTime when; } rows[] = {
        {0.0, QDateTime(QDate(1899, 12, 30), QTime(0, 0))},
        {1.5, QDateTime(QDate(1899, 12, 31), QTime(12, 0))},
        {-1.25, QDateTime(QDate(1899, 12, 29), QTime(6, 0))},
        {45476.67, QDateTime(QDate(2024, 7, 3), QTime(16, 4, 48))},
        {-2.0, QDateTime(QDate(1899, 12, 28), QTime(0, 0))},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(fromOleDate(r.ole), r.when) << r.ole;
        EXPECT_NEAR(toOleDate(r.when), r.ole, 1e-9) << r.ole;
    }
}
