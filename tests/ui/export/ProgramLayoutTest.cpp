#include "players/ProgramLayout.h"

#include <QBuffer>
#include <gtest/gtest.h>

using namespace picbasket::layout;

namespace {

QByteArray filled(int size, char byte) {
    return QByteArray(size, byte);
}

// A whole program made by the writer: the template, the images, the options.
QByteArray program(const QByteArray& templ, const QList<QPair<QString, QByteArray>>& images,
                   const SlideShowOptions* options) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ProgramLayoutWriter writer(buffer);
    writer.writeTemplate(templ);
    QByteArray list;
    for (const auto& [name, jpeg] : images)
        list += writer.appendImage(name, jpeg);
    if (options)
        list += writer.appendOptions(*options);
    writer.finish(list);
    return bytes;
}

} // namespace

TEST(ProgramLayout, SingleImageLiesWhereItsLineAndTheTrailerSay) {
    const QByteArray file = program(filled(1000, 'T'), {{"Single", filled(5000, 'J')}}, nullptr);
    const QByteArray list = "Single;1001;5000;\r\n";
    ASSERT_EQ(file.size(), 1000 + 1 + 5000 + 1 + list.size() + 1 + 15);
    EXPECT_EQ(file.at(1000), '\0');
    EXPECT_EQ(file.mid(1001, 5000), filled(5000, 'J'));
    EXPECT_EQ(file.at(6001), '\0');
    EXPECT_EQ(file.mid(6002, list.size()), list);
    EXPECT_EQ(file.at(6002 + list.size()), '\0');
    EXPECT_EQ(file.right(15), QByteArray("\x08\x00\x0B\x00"
                                         "6002      "
                                         "\x00",
                                         15));

    ProgramContent content;
    QString error;
    ASSERT_TRUE(fncReadProgramContent(file, content, error)) << error.toStdString();
    ASSERT_EQ(content.images.size(), 1);
    EXPECT_EQ(content.images[0].name, "Single");
    EXPECT_EQ(content.images[0].offset, 1001);
    EXPECT_EQ(content.images[0].length, 5000);
    EXPECT_FALSE(content.hasOptions);
}

TEST(ProgramLayout, SlideShowOffsetsChainAndTheListFollowsTheOptionsRecord) {
    const SlideShowOptions options{0x00FF0000, 2};
    const QByteArray file = program(
        filled(10, 'T'), {{"a;b.jpg", filled(7, 'A')}, {"zwei.jpg", filled(3, 'B')}}, &options);
    ProgramContent content;
    QString error;
    ASSERT_TRUE(fncReadProgramContent(file, content, error)) << error.toStdString();
    ASSERT_EQ(content.images.size(), 2);
    // Names may hold ";": lines are read from the right.
    EXPECT_EQ(content.images[0].name, "a;b.jpg");
    EXPECT_EQ(content.images[0].offset, 11);
    EXPECT_EQ(content.images[1].offset, 11 + 7 + 1);
    EXPECT_EQ(file.mid(content.images[1].offset, 3), "BBB");
    const int64_t record = content.images[1].offset + 3 + 1;
    EXPECT_TRUE(file.contains("OPTIONS;" + QByteArray::number(qint64(record)) + ";\r\n"));
    EXPECT_EQ(file.mid(record, 6), QByteArray("\x00\x00\xFF\x00\x02\x00", 6));
    EXPECT_EQ(content.listOffset, record + 6);
    ASSERT_TRUE(content.hasOptions);
    EXPECT_EQ(content.options.backColor, 0x00FF0000);
    EXPECT_EQ(content.options.interval, 2);
}

TEST(ProgramLayout, LineBreaksInANameCannotSplitItsLine) {
    EXPECT_EQ(fncContentLine("a\r\nb", 5, 6), "a  b;5;6;\r\n");
    EXPECT_EQ(fncContentLine(QString::fromUtf8("Grüße"), 1, 2), "Gr\xC3\xBC\xC3\x9F"
                                                                "e;1;2;\r\n");
}

TEST(ProgramLayoutCorrupt, DamagedFilesAreRefused) {
    const QByteArray good = program(filled(20, 'T'), {{"x", filled(30, 'J')}}, nullptr);
    const qsizetype listAt = 20 + 1 + 30 + 1;
    auto withTrailerDigits = [&](const QByteArray& digits) {
        QByteArray bytes = good;
        bytes.replace(bytes.size() - 11, 10, digits.leftJustified(10, ' ', true));
        return bytes;
    };
    auto withList = [&](const QByteArray& list) {
        QByteArray bytes = good.left(listAt) + list + '\0';
        return bytes + fncTrailer(listAt);
    };
    const struct {
        const char* name;
        QByteArray file;
    } cases[] = {
        {"empty", QByteArray()},
        {"shorter than the trailer", good.right(14)},
        {"cut short", good.chopped(1)},
        {"wrong magic", QByteArray(good).replace(good.size() - 15, 1, "\x09")},
        {"no zero at the end", QByteArray(good).replace(good.size() - 1, 1, "X")},
        {"digits not a number", withTrailerDigits("12x")},
        {"blank between digits", withTrailerDigits("5 2")},
        {"list offset in the trailer", withTrailerDigits(QByteArray::number(good.size() - 10))},
        {"list without its zero", good.left(listAt) + "x;21;30;\r\n" + fncTrailer(listAt)},
        {"entry past the list", withList("x;21;31;\r\n")},
        {"entry of length 0", withList("x;21;0;\r\n")},
        {"entry at offset 0", withList("x;0;5;\r\n")},
        {"entry without offset", withList("x;21;\r\n")},
        {"line without ';'", withList("x;21;30\r\n")},
        {"huge number", withList("x;21;9999999999999999999;\r\n")},
        {"options past the list", withList("OPTIONS;50;\r\n")},
        {"options twice", withList("OPTIONS;1;\r\nOPTIONS;2;\r\n")},
    };
    for (const auto& c : cases) {
        ProgramContent content;
        QString error;
        EXPECT_FALSE(fncReadProgramContent(c.file, content, error)) << c.name;
        EXPECT_FALSE(error.isEmpty()) << c.name;
    }
    ProgramContent content;
    QString error;
    EXPECT_TRUE(fncReadProgramContent(good, content, error)) << error.toStdString();
}

TEST(ProgramLayout, TrailerHoldsTenDigitsAtMost) {
    EXPECT_EQ(fncTrailer(MaxListOffset).mid(4, 10), "9999999999");
    EXPECT_THROW(fncTrailer(MaxListOffset + 1), std::runtime_error);
}
