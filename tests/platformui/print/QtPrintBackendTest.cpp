#include "platform/print/QtPrintBackend.h"
#include "platform/imagebox/ImageBox.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QPrintDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

// What pdfinfo says of a file: its page count and the first page's size in points.
struct PdfInfo {
    int pages = -1;
    double width = 0;
    double height = 0;
};

PdfInfo pdfInfo(const QString& path) {
    QProcess run;
    run.start(QStringLiteral("pdfinfo"), {path});
    run.waitForFinished(20000);
    const QString out = QString::fromUtf8(run.readAllStandardOutput());
    PdfInfo info;
    const auto pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(out);
    if (pages.hasMatch())
        info.pages = pages.captured(1).toInt();
    const auto size =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)")).match(out);
    if (size.hasMatch()) {
        info.width = size.captured(1).toDouble();
        info.height = size.captured(2).toDouble();
    }
    return info;
}

QImage picture(QColor colour) {
    QImage image(60, 40, QImage::Format_RGB888);
    image.fill(colour);
    return image;
}

class QtPrintBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
            GTEST_SKIP() << "pdfinfo is not installed";
        previous = setPrintBackend(&backend);
        backend.printer().setOutputFormat(QPrinter::PdfFormat);
        backend.printer().setOutputFileName(pdf);
    }
    void TearDown() override { setPrintBackend(previous); }

    // The dialog is answered once it runs: `choose` sets its controls first.
    void answer(bool accept, std::function<void(QPrintDialog&)> choose = {}) {
        backend.setDialogHook([=](QPrintDialog& dialog) {
            QTimer::singleShot(0, &dialog, [&dialog, accept, choose] {
                if (choose)
                    choose(dialog);
                accept ? dialog.accept() : dialog.reject();
            });
        });
    }

    QTemporaryDir dir;
    QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    QtPrintBackend backend;
    PrintBackend* previous = nullptr;
    ImageBox box;
};

} // namespace

TEST_F(QtPrintBackendTest, OneJobHoldsAPagePerImageAndTheDialogsChoicesComeBack) {
    answer(true, [](QPrintDialog& dialog) {
        dialog.findChild<QComboBox*>(QStringLiteral("cboPrintScale"))->setCurrentIndex(2);
        dialog.findChild<QDoubleSpinBox*>(QStringLiteral("txtPrintPercent"))->setValue(150);
    });
    box.setPageIndex(1);
    box.setImage(picture(Qt::red));
    box.setPrintProperty84(1);
    box.setPrintProperty87(int32_t(QPageSize::A4));
    ASSERT_EQ(box.PrintImage(), 1);
    EXPECT_EQ(box.PrintProperty88(), 2);
    EXPECT_DOUBLE_EQ(box.PrintProperty8B(), 150);
    EXPECT_EQ(box.PrintProperty84(), 1);
    EXPECT_EQ(box.PrintProperty87(), int32_t(QPageSize::A4));
    box.setPrintProperty89(false);
    box.setImage(picture(Qt::green));
    box.PrintImage();
    box.setImage(picture(Qt::blue));
    box.PrintImage();
    box.EndPrintJob();
    const PdfInfo info = pdfInfo(pdf);
    EXPECT_EQ(info.pages, 3);
    EXPECT_NEAR(info.width, 842, 2) << "A4 landscape";
    EXPECT_NEAR(info.height, 595, 2);
}

TEST_F(QtPrintBackendTest, CancelledDialogWritesNoFile) {
    answer(false);
    box.setImage(picture(Qt::red));
    EXPECT_EQ(box.PrintImage(), 0);
    box.EndPrintJob();
    EXPECT_FALSE(QFileInfo::exists(pdf));
}
