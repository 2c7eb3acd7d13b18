#include "tests/common/TestSupport.h"
#include "platform/imagebox/ImageBox.h"
#include "platform/scan/FakeScanSource.h"

#include <gtest/gtest.h>

using namespace picbasket;

namespace {

QImage filled(QImage::Format format, int width, int height) {
    QImage image(width, height, format);
    if (format == QImage::Format_Mono)
        image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    image.fill(0);
    return image;
}

// An image box scanning from a fake source, with a prompt that answers fixed
// settings (or cancels) and records what it was offered.
class ImageBoxScan : public ::testing::Test {
protected:
    void SetUp() override {
        source = std::make_shared<FakeScanSource>();
        source->choices.modes = {"Lineart", "Color"};
        source->choices.mode = "Color";
        previousSource = setScanSource(source);
        previousPrompt = setScanPrompt([this](const std::vector<ScanDeviceOptions>& devices,
                                              const ScanSettings& last) -> std::optional<ScanSettings> {
            offered.push_back(devices);
            lastOffered.push_back(last);
            if (!answer)
                return std::nullopt;
            return answer;
        });
        answer = ScanSettings{};
        answer->device = "fake:0";
        answer->mode = "Lineart";
        QObject::connect(&box, &ImageBox::TwainPageAcquired, [this] {
            pages.push_back({box.AcquiredPageNumber(), box.ColorFormat(), box.ImageWidth()});
            if (onPage)
                onPage();
        });
    }
    void TearDown() override {
        setScanPrompt(previousPrompt);
        setScanSource(previousSource);
    }

    struct Page {
        int number;
        int colorFormat;
        int width;
        bool operator==(const Page&) const = default;
    };

    std::shared_ptr<FakeScanSource> source;
    std::shared_ptr<ScanSource> previousSource;
    ScanPrompt previousPrompt;
    std::optional<ScanSettings> answer;
    std::vector<std::vector<ScanDeviceOptions>> offered;
    std::vector<ScanSettings> lastOffered;
    std::function<void()> onPage;
    std::vector<Page> pages;
    ImageBox box;
    test::MessageRecorder messages;
};

} // namespace

TEST_F(ImageBoxScan, PagesArriveNumberedFromOneWithTheColourFormatOfEach) {
    source->pages = {filled(QImage::Format_Mono, 10, 5), filled(QImage::Format_Grayscale8, 11, 5),
                     filled(QImage::Format_Grayscale16, 12, 5), filled(QImage::Format_RGB888, 13, 5),
                     filled(QImage::Format_RGBX64, 14, 5)};
    ASSERT_TRUE(box.TwainSourceAvailable());
    box.TwainAcquire();
    const std::vector<Page> once{{1, 6, 10}, {2, 2, 11}, {3, 2, 12}, {4, 0, 13}, {5, 0, 14}};
    EXPECT_EQ(pages, once);
    EXPECT_TRUE(messages.shown().empty());
    ASSERT_EQ(source->scans().size(), 1u);
    EXPECT_EQ(source->scans()[0], *answer);

    // The count starts again, and the prompt is offered the settings of the last run.
    pages.clear();
    box.TwainAcquire();
    EXPECT_EQ(pages, once);
    ASSERT_EQ(lastOffered.size(), 2u);
    EXPECT_EQ(lastOffered[1], *answer);
    ASSERT_EQ(offered[0].size(), 1u);
    EXPECT_EQ(offered[0][0].device.name, "fake:0");
    EXPECT_EQ(offered[0][0].modes, (QStringList{"Lineart", "Color"}));
}

TEST_F(ImageBoxScan, AFailureBeforePageFourKeepsTheFirstThreeAndShowsTheMessage) {
    source->pages.assign(6, filled(QImage::Format_RGB888, 4, 4));
    source->failBeforePage = 4;
    source->failureMessage = "Document feeder jammed";
    box.TwainAcquire();
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages.back().number, 3);
    EXPECT_EQ(box.AcquiredPageNumber(), 3);
    EXPECT_TRUE(box.HasImage());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, "Document feeder jammed");
    EXPECT_FALSE(box.TwainAcquiring());
}

TEST_F(ImageBoxScan, WithoutADeviceThereIsNoSourceAndAcquiringDoesNothing) {
    source->deviceList.clear();
    source->pages = {filled(QImage::Format_RGB888, 4, 4)};
    EXPECT_FALSE(box.TwainSourceAvailable());
    box.TwainAcquire();
    EXPECT_TRUE(offered.empty());
    EXPECT_TRUE(source->scans().empty());
    EXPECT_TRUE(pages.empty());
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(ImageBoxScan, CancellingThePromptScansNothing) {
    source->pages = {filled(QImage::Format_RGB888, 4, 4)};
    answer.reset();
    box.TwainAcquire();
    EXPECT_EQ(offered.size(), 1u);
    EXPECT_TRUE(source->scans().empty());
    EXPECT_TRUE(pages.empty());
}

TEST_F(ImageBoxScan, CancelFromThePageHandlerEndsAfterThatPageWithoutAMessage) {
    source->pages.assign(5, filled(QImage::Format_RGB888, 4, 4));
    onPage = [this] {
        if (box.AcquiredPageNumber() == 2)
            box.TwainCancel();
    };
    box.TwainAcquire();
    EXPECT_EQ(pages.size(), 2u);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(ImageBoxScan, AcquiringIsSignalledAndASecondStartWhileItRunsIsIgnored) {
    source->pages.assign(2, filled(QImage::Format_RGB888, 4, 4));
    std::vector<bool> states;
    QObject::connect(&box, &ImageBox::TwainAcquiringChanged, [&](bool on) { states.push_back(on); });
    onPage = [this] { box.TwainAcquire(); };
    box.TwainAcquire();
    EXPECT_EQ(states, (std::vector<bool>{true, false}));
    EXPECT_EQ(source->scans().size(), 1u);
    EXPECT_EQ(pages.size(), 2u);
}

TEST_F(ImageBoxScan, ThePageReplacesTheImageAndItsMetadata) {
    box.setImage(filled(QImage::Format_RGB888, 50, 50));
    box.setIptcCaption("old photo");
    source->pages = {filled(QImage::Format_Grayscale8, 7, 3)};
    box.TwainAcquire();
    EXPECT_EQ(box.ImageWidth(), 7);
    EXPECT_FALSE(box.HasIptc());
}

TEST(ImageBoxTwainOptions, AreStoredAsSet) {
    ImageBox box;
    EXPECT_FALSE(box.TwainOption267() || box.TwainOption266() || box.TwainOption195());
    box.setTwainOption267(true);
    box.setTwainOption266(true);
    box.setTwainOption195(true);
    EXPECT_TRUE(box.TwainOption267() && box.TwainOption266() && box.TwainOption195());
}
