// Tasks through the window's Preview and Confirm, checked against results made
// without this program's engine: ImageMagick's convert, or pixels worked out here.
#include "controls/explorerbar/isExplorerBar.h"
#include "editing/ColorButton.h"
#include "editing/EditImageData.h"
#include "editing/FramePanel.h"
#include "editing/WatermarkPanel.h"
#include "engine/tasks/modTaskEngine.h"
#include "platform/comctl/Slider.h"
#include "platform/imagebox/ImageBoxView.h"
#include "tests/ui/editing/EditingWindowFixture.h"

#include <QCheckBox>
#include <QColorSpace>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QStandardPaths>
#include <functional>

using namespace picbasket;
using picbasket::test::EditingWindowTest;
using picbasket::test::rgb;

namespace {

// Where two pictures first differ, for a failure message.
std::string difference(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return "sizes " + std::to_string(a.width()) + "x" + std::to_string(a.height()) + " and " +
               std::to_string(b.width()) + "x" + std::to_string(b.height());
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return "first at " + std::to_string(x) + "," + std::to_string(y) + ": " +
                       QString::number(a.pixel(x, y), 16).toStdString() + " and " +
                       QString::number(b.pixel(x, y), 16).toStdString();
    return "none";
}

QImage pattern(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x * 9) % 256, (y * 13) % 256, (x * 5 + y * 3) % 256));
    return image;
}

// The edit view on a 60 x 40 picture, no task chosen.
class EditOracleTest : public EditingWindowTest {
protected:
    void SetUp() override {
        EditingWindowTest::SetUp();
        startOn(pattern(60, 40));
    }
    QImage shown() const { return rgb(w->previewPane().box()->box().image()); }
    QImage confirmed() const {
        return rgb(ConfirmedImageData);
    }
    // The whole task basket run on the picture as loaded, as the batch runs it.
    QImage basketResult() const {
        ImageBox box;
        box.setImage(OriginalImageData);
        fncRunTaskRows(w->editView().taskRows(), box);
        return rgb(box.image());
    }
    // Previews, checks the preview, confirms, and checks what was confirmed.
    void previewAndConfirm(const QImage& expected) {
        ASSERT_FALSE(expected.isNull());
        ASSERT_TRUE(w->editView().cmdApply_Click());
        EXPECT_TRUE(shown() == expected) << "preview: " << difference(shown(), expected);
        const int rows = w->editView().taskRows().rowCount();
        w->editView().cmdOK_Click();
        EXPECT_EQ(w->editView().taskRows().rowCount(), rows + 1);
        EXPECT_TRUE(confirmed() == expected) << "confirmed: " << difference(confirmed(), expected);
        EXPECT_TRUE(basketResult() == expected)
            << "basket: " << difference(basketResult(), expected);
    }

    // ImageMagick's result of the operators on the original; null when convert is missing.
    QImage convert(const QStringList& operators) const {
        const QString tool = QStandardPaths::findExecutable(QStringLiteral("convert"));
        if (tool.isEmpty())
            return {};
        const QString in = folder.file(QStringLiteral("oracle-in.png"));
        const QString out = folder.file(QStringLiteral("oracle-out.png"));
        EXPECT_TRUE(original.save(in));
        QProcess p;
        p.start(tool, QStringList{in} + operators + QStringList{QStringLiteral("PNG24:") + out});
        EXPECT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
        // Only the pixels count: the file's colour-space chunk is no part of the result.
        QImage result = rgb(QImage(out));
        result.setColorSpace(QColorSpace());
        return result;
    }

};

} // namespace

// Flip, rotate by a right angle and negative, one after another as a user confirms
// them: each preview, each confirmed copy and the basket's replay equal convert's
// result of the same steps.
TEST_F(EditOracleTest, SingleStepTasksMatchImageMagickThroughPreviewAndConfirm) {
    if (QStandardPaths::findExecutable(QStringLiteral("convert")).isEmpty())
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    struct Step {
        const char* key;
        std::function<void(frmMain&)> set;
        QStringList operators; // convert's operators for every step so far
    };
    const Step steps[] = {
        {"Flip", [](frmMain& f) { f.editView().flipOptions()[0]->setChecked(true); }, {"-flop"}},
        {"Flip",
         [](frmMain& f) { f.editView().flipOptions()[1]->setChecked(true); },
         {"-flop", "-flip"}},
        {"Rotate",
         [](frmMain& f) {
             f.editView().rotateResample()->setChecked(false);
             f.editView().degreesBox()->setText(QStringLiteral("90"));
         },
         {"-flop", "-flip", "-rotate", "90"}},
        {"Invert", [](frmMain&) {}, {"-flop", "-flip", "-rotate", "90", "-negate"}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.operators.join(' ').toStdString());
        choose(s.key);
        s.set(*w);
        w->editView().subMarkOptionsChanged();
        previewAndConfirm(convert(s.operators));
    }
}

// A picture stamped once at the top left, opaque: the stamp's pixels replace the
// picture's there and nothing else changes.
TEST_F(EditOracleTest, AnOpaqueStampAtTheTopLeftReplacesExactlyItsPixels) {
    QImage stamp(12, 10, QImage::Format_RGB32);
    for (int y = 0; y < stamp.height(); ++y)
        for (int x = 0; x < stamp.width(); ++x)
            stamp.setPixel(x, y, qRgb(250, 20 * y, 20 * x));
    const QString file = folder.file(QStringLiteral("stamp.png"));
    ASSERT_TRUE(stamp.save(file));
    picbasket::Setup.TaskDefaults.Watermark.ImageFile = file;
    choose("Watermark");
    WatermarkPanel* wm = w->editView().watermarkPanel();
    w->editView().mergeStyleCombo()->setCurrentIndex(0);
    wm->transparentBox()->setChecked(false);
    wm->transparencySlider()->setValue(0);
    w->editView().textPositionCombo()->setCurrentIndex(0);
    w->editView().subMarkOptionsChanged();
    QImage expected = rgb(original);
    for (int y = 0; y < stamp.height(); ++y)
        for (int x = 0; x < stamp.width(); ++x)
            expected.setPixel(x, y, stamp.pixel(x, y));
    previewAndConfirm(expected);
}

// A colour frame of 5 pixels: the picture grows by 5 on every side, the border is the
// background colour and the inside is the picture untouched.
TEST_F(EditOracleTest, AColourFrameIsTheBackgroundColourAroundThePicture) {
    choose("Frame");
    FramePanel* f = w->editView().framePanel();
    f->kindOptions()[1]->setChecked(true);
    f->sizeBox()->setText(QStringLiteral("5"));
    // OLE colours are 0x00BBGGRR: this is pure blue.
    w->editView().backColourButton()->setBackColor(0x00FF0000u);
    w->editView().subMarkOptionsChanged();
    QImage expected(70, 50, QImage::Format_RGB32);
    expected.fill(qRgb(0, 0, 255));
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            expected.setPixel(x + 5, y + 5, rgb(original).pixel(x, y));
    previewAndConfirm(expected);
}
