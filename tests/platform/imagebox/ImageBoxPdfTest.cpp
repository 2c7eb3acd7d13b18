#include "ImageBoxTestImages.h"
#include "tests/common/TestSupport.h"

#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>

namespace picbasket::test::imagebox {
namespace {

// pdfinfo and pdftoppm (poppler-utils) are the outside readers of our PDFs.
bool haveReaders() {
    return !QStandardPaths::findExecutable("pdfinfo").isEmpty() &&
           !QStandardPaths::findExecutable("pdftoppm").isEmpty();
}

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pageCount(const QString& pdf) {
    const QString info = run("pdfinfo", {pdf});
    const qsizetype at = info.indexOf("Pages:");
    return at < 0 ? -1 : info.mid(at + 6).section('\n', 0, 0).trimmed().toInt();
}

// The page rendered eight times the image's size, sampled at the centre of
// each image pixel, so the renderer's smoothing at pixel edges does not count.
QImage renderedPage(const QString& pdf, int page, QSize size, const QString& prefix) {
    constexpr int Scale = 8;
    run("pdftoppm", {"-png", "-f", QString::number(page), "-l", QString::number(page),
                     "-scale-to-x", QString::number(size.width() * Scale), "-scale-to-y",
                     QString::number(size.height() * Scale), "-singlefile", pdf, prefix});
    const QImage large(prefix + ".png");
    if (large.size() != size * Scale)
        return {};
    QImage sampled(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            sampled.setPixel(x, y, large.pixel(x * Scale + Scale / 2, y * Scale + Scale / 2));
    return sampled;
}

QImage flattenedOnWhite(const QImage& image) {
    QImage out(image.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter painter(&out);
    painter.drawImage(0, 0, image);
    return out;
}

#define REQUIRE_PDF_READERS()                                                                      \
    if (!haveReaders())                                                                            \
    GTEST_SKIP() << "pdfinfo/pdftoppm (poppler-utils) are not installed"

TEST(ImageBoxPdf, TwoAppendsGiveThreePagesWithTheirContent) {
    REQUIRE_PDF_READERS();
    TempAppFolder folder;
    const QString path = folder.file("pages.pdf");
    const QImage pages[] = {colourImage(40, 30), monoImage(48, 16), alphaImage(20, 24)};
    ImageBox box;
    box.setImage(pages[0]);
    box.SaveToFile(path);
    box.setColorFormat(6);
    box.setImage(pages[1]);
    box.AppendPagePdf(path);
    box.setColorFormat(0);
    box.setImage(pages[2]);
    box.AppendPagePdf(path);

    ASSERT_EQ(pageCount(path), 3);
    const QImage expected[] = {pages[0], pages[1], flattenedOnWhite(pages[2])};
    for (int page = 1; page <= 3; ++page) {
        const QImage shown =
            renderedPage(path, page, pages[page - 1].size(), folder.file(QString("p%1").arg(page)));
        ASSERT_FALSE(shown.isNull()) << page;
        EXPECT_EQ(differingPixels(shown, expected[page - 1], 8), 0) << "page " << page;
    }
}

TEST(ImageBoxPdf, PaletteAndAlphaPagesShowTheirColours) {
    REQUIRE_PDF_READERS();
    TempAppFolder folder;
    const QString path = folder.file("kinds.pdf");
    ImageBox box;
    box.setColorFormat(1);
    box.setImage(paletteImage());
    box.AppendPagePdf(path);
    ASSERT_EQ(pageCount(path), 1);
    const QImage shown = renderedPage(path, 1, paletteImage().size(), folder.file("k"));
    EXPECT_EQ(differingPixels(shown, paletteImage(), 8), 0);
}

TEST(ImageBoxPdf, PageSizeFollowsTheResolution) {
    REQUIRE_PDF_READERS();
    TempAppFolder folder;
    QImage image = colourImage(300, 150);
    image.setDotsPerMeterX(11811); // 300 dpi: one inch by half an inch
    image.setDotsPerMeterY(11811);
    ImageBox box;
    box.setImage(image);
    box.SaveToFile(folder.file("size.pdf"));
    EXPECT_TRUE(run("pdfinfo", {folder.file("size.pdf")}).contains("72 x 36 pts"));
}

TEST(ImageBoxPdf, AppendRefusesAPdfItDidNotWrite) {
    TempAppFolder folder;
    const QString path = folder.file("foreign.pdf");
    {
        QPdfWriter writer(path);
        QPainter painter(&writer);
        painter.drawText(100, 100, "written elsewhere");
    }
    const QByteArray before = fileBytes(path);
    ImageBox box;
    box.setImage(colourImage());
    try {
        box.AppendPagePdf(path);
        FAIL() << "a foreign PDF was appended to";
    } catch (const AppError& error) {
        EXPECT_EQ(error.number(), err::Unexpected);
        EXPECT_TRUE(error.description().contains("written by this program"));
    }
    EXPECT_EQ(fileBytes(path), before);
}

TEST(ImageBoxPdf, AppendRefusesOurPdfWhenItIsCutShort) {
    TempAppFolder folder;
    const QString path = folder.file("cut.pdf");
    ImageBox box;
    box.setImage(colourImage());
    box.SaveToFile(path);
    const QByteArray cut = fileBytes(path).chopped(30);
    writeBytes(path, cut);
    EXPECT_EQ(raisedNumber([&] { box.AppendPagePdf(path); }), err::Unexpected);
    EXPECT_EQ(fileBytes(path), cut);
}

TEST(ImageBoxPdf, EarlierBytesStayAsWritten) {
    TempAppFolder folder;
    const QString path = folder.file("grow.pdf");
    ImageBox box;
    box.setImage(colourImage());
    box.SaveToFile(path);
    const QByteArray first = fileBytes(path);
    box.AppendPagePdf(path);
    EXPECT_TRUE(fileBytes(path).startsWith(first));
}

} // namespace
} // namespace picbasket::test::imagebox
