#include "core/QuotedRecords.h"

#include <gtest/gtest.h>

using namespace picbasket;

namespace {

struct EncodeCase {
    const char* name;
    QStringList fields;
    QByteArray bytes;
};

TEST(QuotedRecords, EncodesEachFieldQuotedJoinedByCommaEndedByCrLf) {
    const EncodeCase cases[] = {
        {"one path", {QStringLiteral("/path/a.jpg")}, "\"/path/a.jpg\"\r\n"},
        {"empty field", {QString()}, "\"\"\r\n"},
        {"two fields", {QStringLiteral("1"), QStringLiteral("key")}, "\"1\",\"key\"\r\n"},
        {"quote doubled", {QStringLiteral("say \"hi\"")}, "\"say \"\"hi\"\"\"\r\n"},
        {"comma kept", {QStringLiteral("a,b"), QString()}, "\"a,b\",\"\"\r\n"},
        {"UTF-8", {QStringLiteral("Grüße")}, "\"Gr\xC3\xBC\xC3\x9F" "e\"\r\n"},
    };
    for (const EncodeCase& c : cases)
        EXPECT_EQ(encodeQuotedRecord(c.fields), c.bytes) << c.name;
}

TEST(QuotedRecords, WhatIsWrittenReadsBackIntoTheSameFields) {
    const QList<QStringList> records = {
        {QStringLiteral("/home/u/it's \"x\".jpg")},
        {QStringLiteral("a,\"b\",c"), QString(), QStringLiteral("\"")},
        {QStringLiteral("two\r\nlines"), QStringLiteral("\"\"")},
        {QString()},
    };
    const QuotedRecordsRead read = decodeQuotedRecords(encodeQuotedRecords(records));
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    EXPECT_EQ(read.records, records);
}

struct DecodeCase {
    const char* name;
    QByteArray bytes;
    QList<QStringList> records;
};

TEST(QuotedRecords, ReadsLineEndsBlankLinesAndOlderText) {
    const QString a = QStringLiteral("a"), b = QStringLiteral("b");
    const DecodeCase cases[] = {
        {"empty data", "", {}},
        {"LF only", "\"a\"\n\"b\"\n", {{a}, {b}}},
        {"CR LF", "\"a\",\"b\"\r\n", {{a, b}}},
        {"last record without line end", "\"a\"\r\n\"b\"", {{a}, {b}}},
        {"blank lines skipped", "\r\n\n  \r\n\"a\"\r\n\r\n\t\n\"b\"\r\n\r\n", {{a}, {b}}},
        {"blanks around fields", "  \"a\" , \"b\"  \r\n", {{a, b}}},
        {"doubled quote", "\"\"\"\"\r\n", {{QStringLiteral("\"")}}},
        {"line end inside quotes", "\"a\nb\"\r\n", {{QStringLiteral("a\nb")}}},
        {"byte-order mark", "\xEF\xBB\xBF\"a\"\r\n", {{a}}},
        {"Windows-1252", "\"Gr\xFC\xDF" "e\"\r\n", {{QStringLiteral("Grüße")}}},
    };
    for (const DecodeCase& c : cases) {
        const QuotedRecordsRead read = decodeQuotedRecords(c.bytes);
        EXPECT_TRUE(read.ok()) << c.name << ": " << read.error.toStdString();
        EXPECT_EQ(read.records, c.records) << c.name;
    }
}

TEST(QuotedRecords, EachRecordKnowsTheLineItStartsOn) {
    const QuotedRecordsRead read = decodeQuotedRecords("\r\n\"a\"\r\n\"b\nc\"\n\n\"d\"");
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.recordLines, (QList<int>{2, 3, 6}));
}

struct MalformedCase {
    const char* name;
    QByteArray bytes;
    int line;
};

TEST(QuotedRecordsCorrupt, MalformedRecordRefusesTheWholeData) {
    const MalformedCase cases[] = {
        {"unquoted field", "\"a\"\r\nb\r\n", 2},
        {"unquoted after comma", "\"a\",b\r\n", 1},
        {"text after closing quote", "\"a\"b\r\n", 1},
        {"quote inside not doubled", "\"a\"b\"\r\n", 1},
        {"missing closing quote", "\"a\r\n", 1},
        {"cut in the last field", "\"a\"\r\n\"b\",\"c", 2},
        {"trailing comma", "\"a\",\r\n", 1},
        {"comma only", ",\r\n", 1},
        {"lone CR", "\"a\"\r\"b\"\r\n", 1},
        {"line counted past a quoted line end", "\"a\nb\"\r\n\"c\"x\r\n", 3},
    };
    for (const MalformedCase& c : cases) {
        const QuotedRecordsRead read = decodeQuotedRecords(c.bytes);
        EXPECT_FALSE(read.ok()) << c.name;
        EXPECT_TRUE(read.records.isEmpty()) << c.name;
        EXPECT_TRUE(read.recordLines.isEmpty()) << c.name;
        EXPECT_EQ(read.errorLine, c.line) << c.name;
    }
}

} // namespace
