#include "core/fileinfo/clsFileInfo.h"

#include <QRegularExpression>
#include <QStringList>
#include <optional>
#include <vector>

namespace picbasket {

namespace {

const QStringList& weekdayNames() {
    static const QStringList names = {QStringLiteral("MONDAY"),    QStringLiteral("TUESDAY"),
                                      QStringLiteral("WEDNESDAY"), QStringLiteral("THURSDAY"),
                                      QStringLiteral("FRIDAY"),    QStringLiteral("SATURDAY"),
                                      QStringLiteral("SUNDAY")};
    return names;
}

// "January" to "December" as "01" to "12"; empty for any other word.
QString monthNumber(const QString& word) {
    static const QStringList months = {
        QStringLiteral("JANUARY"), QStringLiteral("FEBRUARY"), QStringLiteral("MARCH"),
        QStringLiteral("APRIL"),   QStringLiteral("MAY"),      QStringLiteral("JUNE"),
        QStringLiteral("JULY"),    QStringLiteral("AUGUST"),   QStringLiteral("SEPTEMBER"),
        QStringLiteral("OCTOBER"), QStringLiteral("NOVEMBER"), QStringLiteral("DECEMBER")};
    const qsizetype index = months.indexOf(word.toUpper());
    return index < 0 ? QString() : QStringLiteral("%1").arg(index + 1, 2, 10, QLatin1Char('0'));
}

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// The pieces found in a long date-time text.
struct DateTimeParts {
    QString month;
    std::vector<QString> numbers; // day and year, in the order written
    QStringList clock;            // hours, minutes, seconds
    std::optional<bool> pm;
};

DateTimeParts scan(const QString& text) {
    DateTimeParts parts;
    static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
    for (QString token : text.split(separators, Qt::SkipEmptyParts)) {
        token = token.toUpper();
        if (token.endsWith(QLatin1String("AM")) || token.endsWith(QLatin1String("PM"))) {
            parts.pm = token.endsWith(QLatin1String("PM"));
            token.chop(2);
        }
        if (token.contains(QLatin1Char(':')))
            parts.clock = token.split(QLatin1Char(':'));
        else if (!monthNumber(token).isEmpty())
            parts.month = monthNumber(token);
        else if (!token.isEmpty() && !weekdayNames().contains(token) && token.toInt() > 0)
            parts.numbers.push_back(token);
    }
    return parts;
}

// month/day/year; the year is the number written with more than two digits, else the last.
QString numericDate(const DateTimeParts& parts, bool fourDigitYear) {
    if (parts.month.isEmpty() || parts.numbers.size() < 2)
        return {};
    size_t yearAt = parts.numbers.size() - 1;
    for (size_t i = 0; i < parts.numbers.size(); ++i)
        if (parts.numbers[i].size() > 2)
            yearAt = i;
    const QString& day = parts.numbers[yearAt == 0 ? 1 : 0];
    const int year = parts.numbers[yearAt].toInt();
    const QString yearText = fourDigitYear ? QString::number(year) : twoDigits(year % 100);
    return parts.month + QLatin1Char('/') + twoDigits(day.toInt()) + QLatin1Char('/') + yearText;
}

// 24-hour hh:mm:ss.
QString numericTime(const DateTimeParts& parts) {
    if (parts.clock.isEmpty())
        return {};
    int hour = parts.clock.value(0).toInt();
    if (parts.pm.has_value())
        hour = hour % 12 + (*parts.pm ? 12 : 0);
    return twoDigits(hour) + QLatin1Char(':') + twoDigits(parts.clock.value(1).toInt()) +
           QLatin1Char(':') + twoDigits(parts.clock.value(2).toInt());
}

} // namespace

QString clsFileInfo::Strip_DateTime(const QString& fullDateTime, bool stripOutTime,
                                    bool stripOutDate, bool fourDigitYear) {
    const DateTimeParts parts = scan(fullDateTime);
    QStringList kept;
    if (!stripOutDate)
        kept << numericDate(parts, fourDigitYear);
    if (!stripOutTime)
        kept << numericTime(parts);
    kept.removeAll(QString());
    return kept.join(QLatin1Char(' '));
}

} // namespace picbasket
