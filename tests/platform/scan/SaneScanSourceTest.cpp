#include "tests/common/TestSupport.h"
#include "platform/imagebox/ImageBox.h"
#include "platform/scan/SaneScanSource.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QRgba64>
#include <QStandardPaths>
#include <cctype>
#include <chrono>
#include <thread>

using namespace picbasket;

namespace {

// The tests scan from SANE's test device: the project's configuration folder loads
// only the test backend, giving test:0 and test:1 (157 x 196 pixels at 50 dpi).
class SaneTestDevice : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        qputenv("SANE_CONFIG_DIR", (test::testDataFolder() + "/sane").toUtf8());
    }

    static ScanSettings settings(std::vector<std::pair<QString, QString>> extra,
                                 const QString& mode = "Gray", int depth = 8) {
        ScanSettings s;
        s.device = "test:0";
        s.mode = mode;
        s.depth = depth;
        s.resolution = 50;
        s.source = "Flatbed";
        // The test device keeps its options from one opening to the next: every scan
        // starts from its defaults.
        s.extra = {{"test-picture", "Solid black"}, {"three-pass", "false"},
                   {"hand-scanner", "false"}, {"read-return-value", "Default"},
                   {"read-limit", "false"},   {"read-delay", "false"}};
        s.extra.insert(s.extra.end(), extra.begin(), extra.end());
        return s;
    }

    struct Scan {
        ScanOutcome outcome;
        std::vector<QImage> pages;
    };
    static Scan scan(const ScanSettings& s, int stopAfter = 0) {
        Scan result;
        result.outcome = SaneScanSource::instance()->scan(s, [&](const QImage& page) {
            result.pages.push_back(page);
            return stopAfter == 0 || int(result.pages.size()) < stopAfter;
        });
        return result;
    }
};

// The pixels of a PNM file (P4, P5 or P6, 8 or 16 bits) of the expected size, as
// 16-bit colours; empty when the file is of another kind or size.
std::vector<QRgba64> pnmPixels(const QByteArray& file, int width, int height) {
    qsizetype at = 0;
    const auto token = [&]() -> QByteArray {
        for (;;) {
            while (at < file.size() && std::isspace(uchar(file[at])))
                ++at;
            if (at < file.size() && file[at] == '#') {
                while (at < file.size() && file[at] != '\n')
                    ++at;
                continue;
            }
            break;
        }
        const qsizetype from = at;
        while (at < file.size() && !std::isspace(uchar(file[at])))
            ++at;
        return file.mid(from, at - from);
    };
    const QByteArray magic = token();
    const int w = token().toInt(), h = token().toInt();
    const int maxval = magic == "P4" ? 1 : token().toInt();
    ++at;
    if (w != width || h != height || (magic != "P4" && magic != "P5" && magic != "P6"))
        return {};
    const auto* data = reinterpret_cast<const uchar*>(file.constData()) + at;
    const qsizetype available = file.size() - at;
    std::vector<QRgba64> out;
    const int channels = magic == "P6" ? 3 : 1;
    const int bytes = maxval > 255 ? 2 : 1;
    const qsizetype rowBytes = magic == "P4" ? (w + 7) / 8 : qsizetype(w) * channels * bytes;
    if (available < rowBytes * h)
        return {};
    for (int y = 0; y < h; ++y) {
        const uchar* row = data + rowBytes * y;
        for (int x = 0; x < w; ++x) {
            if (magic == "P4") {
                const bool black = row[x / 8] & (0x80 >> (x % 8));
                const uint16_t v = black ? 0 : 0xFFFF;
                out.push_back(QRgba64::fromRgba64(v, v, v, 0xFFFF));
                continue;
            }
            uint16_t c[3];
            for (int k = 0; k < channels; ++k) {
                const uchar* p = row + (qsizetype(x) * channels + k) * bytes;
                const int v = bytes == 2 ? (p[0] << 8 | p[1]) : p[0];
                c[k] = uint16_t(bytes == 2 ? v : v * 257);
            }
            if (channels == 1)
                c[1] = c[2] = c[0];
            out.push_back(QRgba64::fromRgba64(c[0], c[1], c[2], 0xFFFF));
        }
    }
    return out;
}

bool everyPixelIs(const QImage& image, QRgba64 colour) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).rgba64() != colour)
                return false;
    return true;
}

} // namespace

TEST_F(SaneTestDevice, ListsBothDevicesWithTheChoicesOfTheirOptions) {
    const std::vector<ScanDevice> devices = SaneScanSource::instance()->devices();
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].name, "test:0");
    EXPECT_EQ(devices[1].name, "test:1");

    const auto options = SaneScanSource::instance()->options("test:0");
    ASSERT_TRUE(options.has_value());
    EXPECT_EQ(options->modes, (QStringList{"Gray", "Color"}));
    EXPECT_EQ(options->mode, "Gray");
    EXPECT_EQ(options->depths, (std::vector<int>{1, 8, 16}));
    EXPECT_EQ(options->depth, 8);
    EXPECT_EQ(options->sources, (QStringList{"Flatbed", "Automatic Document Feeder"}));
    EXPECT_EQ(options->source, "Flatbed");
    // A range: the common resolutions inside it, and the device's own value.
    EXPECT_EQ(options->resolution, 50);
    EXPECT_EQ(options->resolutions,
              (std::vector<int>{50, 75, 100, 150, 200, 300, 400, 600, 1200}));
    EXPECT_FALSE(SaneScanSource::instance()->options("test:9").has_value());
}

TEST_F(SaneTestDevice, TheFeederScansTenPagesAndAFlatbedOne) {
    ScanSettings feeder = settings({});
    feeder.source = "Automatic Document Feeder";
    const Scan fed = scan(feeder);
    EXPECT_FALSE(fed.outcome.failed) << fed.outcome.message.toStdString();
    EXPECT_EQ(fed.outcome.pages, 10);
    ASSERT_EQ(fed.pages.size(), 10u);
    EXPECT_EQ(fed.pages[9].size(), QSize(157, 196));
    // 50 dpi is kept as the page's resolution.
    EXPECT_EQ(fed.pages[0].dotsPerMeterX(), 1969);

    // The feeder is full again for the next acquisition.
    EXPECT_EQ(scan(feeder).pages.size(), 10u);
    EXPECT_EQ(scan(settings({})).pages.size(), 1u);
}

TEST_F(SaneTestDevice, FramesOfEveryKindDecodeToTheirSizeAndValues) {
    const QRgba64 black = QRgba64::fromRgba64(0, 0, 0, 0xFFFF);
    const QRgba64 white = QRgba64::fromRgba64(0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF);
    struct Case {
        const char* name;
        ScanSettings settings;
        QImage::Format format;
        QRgba64 everywhere;
        int width = 157;
    };
    const std::vector<Case> cases{
        {"1 bit, solid black", settings({{"test-picture", "Solid black"}}, "Gray", 1),
         QImage::Format_Mono, black},
        {"1 bit, solid white", settings({{"test-picture", "Solid white"}}, "Gray", 1),
         QImage::Format_Mono, white},
        {"16-bit grey, solid white", settings({{"test-picture", "Solid white"}}, "Gray", 16),
         QImage::Format_Grayscale16, white},
        {"16-bit colour, solid white", settings({{"test-picture", "Solid white"}}, "Color", 16),
         QImage::Format_RGBX64, white},
        {"three-pass colour, solid white",
         settings({{"three-pass", "true"}, {"test-picture", "Solid white"}}, "Color", 8),
         QImage::Format_RGB888, white},
        {"hand scanner, solid black",
         settings({{"hand-scanner", "true"}, {"test-picture", "Solid black"}}, "Gray", 8),
         QImage::Format_Grayscale8, black, 216},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Scan s = scan(c.settings);
        ASSERT_FALSE(s.outcome.failed) << s.outcome.message.toStdString();
        ASSERT_EQ(s.pages.size(), 1u);
        EXPECT_EQ(s.pages[0].format(), c.format);
        EXPECT_EQ(s.pages[0].width(), c.width);
        EXPECT_GT(s.pages[0].height(), 0);
        EXPECT_TRUE(everyPixelIs(s.pages[0], c.everywhere));
    }
}

TEST_F(SaneTestDevice, ThreePassColourEqualsTheOnePassScan) {
    for (int depth : {8, 16}) {
        SCOPED_TRACE(depth);
        const Scan onePass = scan(settings({{"test-picture", "Color pattern"}}, "Color", depth));
        const Scan threePass = scan(
            settings({{"three-pass", "true"}, {"test-picture", "Color pattern"}}, "Color", depth));
        ASSERT_EQ(onePass.pages.size(), 1u);
        ASSERT_EQ(threePass.pages.size(), 1u);
        EXPECT_EQ(threePass.pages[0], onePass.pages[0]);
    }
}

// Every frame layout against scanimage's own PNM output of the same scan (it writes
// neither 1-bit colour nor 16-bit three-pass, which the tests above cover).
TEST_F(SaneTestDevice, EveryFrameLayoutMatchesScanimage) {
    const QString scanimage = QStandardPaths::findExecutable("scanimage");
    if (scanimage.isEmpty())
        GTEST_SKIP() << "scanimage (sane-utils) is not installed";
    struct Case {
        const char* name;
        QString mode;
        int depth;
        std::vector<std::pair<QString, QString>> extra;
        QStringList arguments;
    };
    const std::vector<Case> cases{
        {"grey 1 bit grid", "Gray", 1, {{"test-picture", "Grid"}}, {"--test-picture", "Grid"}},
        {"grey 8 bits grid", "Gray", 8, {{"test-picture", "Grid"}}, {"--test-picture", "Grid"}},
        {"grey 16 bits pattern", "Gray", 16, {{"test-picture", "Color pattern"}},
         {"--test-picture", "Color pattern"}},
        {"colour 8 bits pattern", "Color", 8, {{"test-picture", "Color pattern"}},
         {"--test-picture", "Color pattern"}},
        {"colour 16 bits pattern", "Color", 16, {{"test-picture", "Color pattern"}},
         {"--test-picture", "Color pattern"}},
        {"three-pass 8 bits", "Color", 8,
         {{"three-pass", "true"}, {"test-picture", "Color pattern"}},
         {"--three-pass=yes", "--test-picture", "Color pattern"}},
        {"hand scanner grid", "Gray", 8, {{"hand-scanner", "true"}, {"test-picture", "Grid"}},
         {"--hand-scanner=yes", "--test-picture", "Grid"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Scan ours = scan(settings(c.extra, c.mode, c.depth));
        ASSERT_EQ(ours.pages.size(), 1u) << ours.outcome.message.toStdString();
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("SANE_CONFIG_DIR", test::testDataFolder() + "/sane");
        process.setProcessEnvironment(env);
        process.start(scanimage, QStringList{"-d", "test:0", "--format=pnm", "--mode", c.mode,
                                             "--depth", QString::number(c.depth), "--resolution",
                                             "50"} +
                                     c.arguments);
        ASSERT_TRUE(process.waitForFinished(30000));
        const std::vector<QRgba64> theirs = pnmPixels(process.readAllStandardOutput(),
                                                       ours.pages[0].width(), ours.pages[0].height());
        ASSERT_FALSE(theirs.empty()) << "scanimage gave no page of our size";
        int differences = 0;
        for (int y = 0; y < ours.pages[0].height(); ++y)
            for (int x = 0; x < ours.pages[0].width(); ++x)
                differences += ours.pages[0].pixelColor(x, y).rgba64() !=
                               theirs[size_t(y) * size_t(ours.pages[0].width()) + size_t(x)];
        EXPECT_EQ(differences, 0);
    }
}

TEST_F(SaneTestDevice, AFailingReadEndsWithTheDevicesOwnMessage) {
    ScanSettings jammed = settings({{"read-return-value", "SANE_STATUS_JAMMED"}});
    jammed.source = "Automatic Document Feeder";
    const Scan s = scan(jammed);
    EXPECT_TRUE(s.outcome.failed);
    EXPECT_EQ(s.outcome.message, "Document feeder jammed");
    EXPECT_TRUE(s.pages.empty());

    const Scan unknown = scan([] {
        ScanSettings s = settings({});
        s.device = "test:7";
        return s;
    }());
    EXPECT_TRUE(unknown.outcome.failed);
    EXPECT_FALSE(unknown.outcome.message.isEmpty());

    const Scan refused = scan(settings({{"no-such-option", "1"}}));
    EXPECT_TRUE(refused.outcome.failed);
    EXPECT_TRUE(refused.outcome.message.contains("no-such-option"));
}

TEST_F(SaneTestDevice, AnAnswerToStopEndsTheFeederAfterThatPage) {
    ScanSettings feeder = settings({});
    feeder.source = "Automatic Document Feeder";
    const Scan s = scan(feeder, 3);
    EXPECT_TRUE(s.outcome.cancelled);
    EXPECT_FALSE(s.outcome.failed);
    EXPECT_EQ(s.pages.size(), 3u);
}

TEST_F(SaneTestDevice, TheImageBoxAcquiresEveryFeederPageAsAnEvent) {
    auto previousSource = setScanSource(SaneScanSource::instance());
    auto previousPrompt = setScanPrompt([](const std::vector<ScanDeviceOptions>& devices,
                                           const ScanSettings&) -> std::optional<ScanSettings> {
        EXPECT_EQ(devices.size(), 2u);
        ScanSettings s;
        s.device = devices.at(0).device.name;
        s.source = "Automatic Document Feeder";
        s.depth = 1;
        s.extra = {{"read-return-value", "Default"}};
        return s;
    });
    ImageBox box;
    ASSERT_TRUE(box.TwainSourceAvailable());
    std::vector<int> numbers;
    QObject::connect(&box, &ImageBox::TwainPageAcquired, [&] {
        numbers.push_back(box.AcquiredPageNumber());
        EXPECT_EQ(box.ColorFormat(), 6);
        EXPECT_EQ(box.BitsPerPixel(), 1);
    });
    box.TwainAcquire();
    EXPECT_EQ(numbers, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_FALSE(box.TwainAcquiring());
    setScanPrompt(previousPrompt);
    setScanSource(previousSource);
}

TEST_F(SaneTestDevice, CancelFromAnotherThreadStopsARunningRead) {
    // At 600 dpi with 200 ms after each buffer the page would take over ten seconds.
    ScanSettings slow = settings({{"read-delay", "true"}, {"read-delay-duration", "200000"}});
    slow.resolution = 600;
    std::thread canceller([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        SaneScanSource::instance()->cancel();
    });
    QElapsedTimer clock;
    clock.start();
    const Scan s = scan(slow);
    canceller.join();
    EXPECT_TRUE(s.outcome.cancelled);
    EXPECT_FALSE(s.outcome.failed) << s.outcome.message.toStdString();
    EXPECT_TRUE(s.pages.empty());
    EXPECT_LT(clock.elapsed(), 3000);
    // The device scans again afterwards.
    EXPECT_EQ(scan(settings({})).pages.size(), 1u);
}
