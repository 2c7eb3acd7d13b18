#include "core/DateFormat.h"

#include <vector>

namespace picbasket {

namespace {

const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};
const char* const kDays[] = {"Monday", "Tuesday", "Wednesday", "Thursday",
                             "Friday", "Saturday", "Sunday"};

struct Token {
    QChar letter; // 0 for literal text
    int count = 0;
    QString text; // literal text, or the AM/PM marker as written
};

bool startsWithCi(const QString& s, int at, const char* what) {
    return s.mid(at, int(qstrlen(what))).compare(QLatin1String(what), Qt::CaseInsensitive) == 0;
}

std::vector<Token> tokenize(const QString& f) {
    std::vector<Token> tokens;
    int i = 0;
    while (i < f.size()) {
        const QChar c = f[i];
        const QChar lower = c.toLower();
        if (startsWithCi(f, i, "AM/PM")) {
            tokens.push_back({QChar('A'), 5, f.mid(i, 5)});
            i += 5;
        } else if (startsWithCi(f, i, "A/P")) {
            tokens.push_back({QChar('A'), 3, f.mid(i, 3)});
            i += 3;
        } else if (c == '"') {
            const int end = f.indexOf('"', i + 1);
            const int stop = end < 0 ? int(f.size()) : end;
            tokens.push_back({QChar(), 0, f.mid(i + 1, stop - i - 1)});
            i = stop + 1;
        } else if (c == '\\' && i + 1 < f.size()) {
            tokens.push_back({QChar(), 0, QString(f[i + 1])});
            i += 2;
        } else if (QStringLiteral("dmyhnswq").contains(lower)) {
            int n = 1;
            while (i + n < f.size() && f[i + n].toLower() == lower)
                ++n;
            tokens.push_back({lower, n, {}});
            i += n;
        } else {
            tokens.push_back({QChar(), 0, QString(c)});
            ++i;
        }
    }
    return tokens;
}

// An "m" token means minutes after an hour token or before a seconds token.
void markMinutes(std::vector<Token>& tokens) {
    QChar previous;
    for (size_t i = 0; i < tokens.size(); ++i) {
        Token& t = tokens[i];
        if (t.letter.isNull() || t.letter == 'A')
            continue;
        if (t.letter == 'm' && t.count <= 2) {
            bool beforeSeconds = false;
            for (size_t j = i + 1; j < tokens.size(); ++j) {
                if (tokens[j].letter.isNull())
                    continue;
                beforeSeconds = tokens[j].letter == 's';
                break;
            }
            if (previous == 'h' || beforeSeconds)
                t.letter = 'n';
        }
        previous = t.letter;
    }
}

QString two(int v) { return QString::number(v).rightJustified(2, '0'); }

QString field(const Token& t, const QDateTime& dt, bool twelveHour) {
    const QDate d = dt.date();
    const QTime tm = dt.time();
    switch (t.letter.unicode()) {
    case 'd':
        if (t.count == 1) return QString::number(d.day());
        if (t.count == 2) return two(d.day());
        if (t.count == 3) return QString::fromLatin1(kDays[d.dayOfWeek() - 1]).left(3);
        return QString::fromLatin1(kDays[d.dayOfWeek() - 1]);
    case 'm':
        if (t.count == 1) return QString::number(d.month());
        if (t.count == 2) return two(d.month());
        if (t.count == 3) return QString::fromLatin1(kMonths[d.month() - 1]).left(3);
        return QString::fromLatin1(kMonths[d.month() - 1]);
    case 'y':
        if (t.count == 1) return QString::number(d.dayOfYear());
        if (t.count <= 3) return two(d.year() % 100);
        return QString::number(d.year()).rightJustified(4, '0');
    case 'h': {
        int h = tm.hour();
        if (twelveHour) {
            h %= 12;
            if (h == 0) h = 12;
        }
        return t.count == 1 ? QString::number(h) : two(h);
    }
    case 'n': return t.count == 1 ? QString::number(tm.minute()) : two(tm.minute());
    case 's': return t.count == 1 ? QString::number(tm.second()) : two(tm.second());
    case 'w': return QString::number(d.dayOfWeek() % 7 + 1);
    case 'q': return QString::number((d.month() - 1) / 3 + 1);
    default: return {};
    }
}

QString marker(const Token& t, const QTime& tm) {
    const bool pm = tm.hour() >= 12;
    if (t.count == 5) {
        const QString part = pm ? t.text.mid(3, 2) : t.text.left(2);
        return part;
    }
    return pm ? t.text.mid(2, 1) : t.text.left(1);
}

} // namespace

QString formatDate(const QDateTime& dateTime, const QString& format) {
    std::vector<Token> tokens = tokenize(format);
    markMinutes(tokens);
    bool twelveHour = false;
    for (const Token& t : tokens)
        twelveHour = twelveHour || t.letter == 'A';
    QString out;
    for (const Token& t : tokens) {
        if (t.letter.isNull())
            out += t.text;
        else if (t.letter == 'A')
            out += marker(t, dateTime.time());
        else
            out += field(t, dateTime, twelveHour);
    }
    return out;
}

} // namespace picbasket
