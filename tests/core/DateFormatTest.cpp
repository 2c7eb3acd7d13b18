#include "core/DateFormat.h"

#include <gtest/gtest.h>

using namespace picbasket;

TEST(DateFormat, FixedForms) {
    const QDateTime afternoon(QDate(2024, 7, 3), QTime(16, 5, 9));
    EXPECT_EQ(formatDateDots(afternoon), QStringLiteral("7.3.2024 4.05.09 PM"));
    EXPECT_EQ(formatDateSlashes(afternoon), QStringLiteral("7/3/2024 4:05:09 PM"));
    const QDateTime midnight(QDate(2001, 12, 25), QTime(0, 7, 0));
    EXPECT_EQ(formatDateSlashes(midnight), QStringLiteral("12/25/2001 12:07:00 AM"));
    EXPECT_EQ(formatDateDots(QDateTime(QDate(2001, 1, 2), QTime(12, 0, 0))),
              QStringLiteral("1.2.2001 12.00.00 PM"));
}

TEST(DateFormat, Tokens) {
    const QDateTime dt(QDate(2024, 7, 3), QTime(9, 5, 7));
    const struct { const char* format; const char* out; } rows[] = {
        {"dd/mm/yyyy", "03/07/2024"},
        {"d-m-yy", "3-7-24"},
        {"ddd dddd", "Wed Wednesday"},
        {"mmm mmmm", "Jul July"},
        {"hh:mm:ss", "09:05:07"},
        {"h:nn", "9:05"},
        {"hh nn ss", "09 05 07"},
        {"h:mm am/pm", "9:05 am"},
        {"h A/P", "9 A"},
        {"\"Date\" yyyy", "Date 2024"},
        {"\\d yyyy", "d 2024"},
        {"mm", "07"},
        {"q w y", "3 4 185"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(formatDate(dt, QString::fromLatin1(r.format)), QString::fromLatin1(r.out)) << r.format;
}
