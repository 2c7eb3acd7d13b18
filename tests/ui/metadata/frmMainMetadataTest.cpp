#include "metadata/modMetadata.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/TabStrip.h"
#include "platform/imagebox/ImageBoxView.h"
#include "tests/platform/metadata/MetadataFixtures.h"
#include "tests/ui/mainwindow/MainWindowFixture.h"

#include <QApplication>
#include <QHeaderView>
#include <QTest>
#include <QTreeView>

namespace picbasket::test {

TEST_F(MainWindowTest, StartFillsTheMetadataTables) {
    EditableExifNames = {};
    IptcDateNames = {};
    start();
    EXPECT_EQ(EditableExifNames[0], QStringLiteral("Make"));
    EXPECT_TRUE(fncIsIPTCDateAttribute(QStringLiteral("Time Created")));
}

TEST_F(MainWindowTest, MetadataTabsSwitchListsAndToolBars) {
    frmMain& w = start();
    w.metadataPane().tbsMetadata->setSelectedItem(2);
    QApplication::processEvents();
    EXPECT_EQ(MetadataTab, 1);
    EXPECT_TRUE(w.metadataPane().lvIPTC->isVisible());
    EXPECT_TRUE(w.metadataPane().picIPTCBar->isVisible());
    EXPECT_FALSE(w.metadataPane().lvExif->isVisible());
    EXPECT_FALSE(w.metadataPane().picEXIFBar->isVisible());
    w.metadataPane().tbsMetadata->setSelectedItem(1);
    QApplication::processEvents();
    EXPECT_EQ(MetadataTab, 0);
    EXPECT_TRUE(w.metadataPane().lvExif->isVisible());
    EXPECT_TRUE(w.metadataPane().picEXIFBar->isVisible());
    EXPECT_FALSE(w.metadataPane().lvIPTC->isVisible());
}

// The editable rows show the mark; the others show no picture.
TEST_F(MainWindowTest, EditableExifRowsShowTheMark) {
    frmMain& w = start();
    const QString path = folder.file(QStringLiteral("camera.jpg"));
    writeJpeg(path);
    editWithExiv2(path, [](Exiv2::ExifData& exif, Exiv2::IptcData&) {
        exif["Exif.Image.Make"] = "Acme";
        exif["Exif.Photo.ExposureTime"] = Exiv2::URational(1, 250);
    });
    ImageBox& box = w.previewPane().ibMain->box();
    box.LoadFromFile(path);
    w.metadataPane().ReadFileEXIFInfo(box, w.metadataPane().lvExif, path);
    ASSERT_GE(w.metadataPane().lvExif->Count(), 2);
    const QAbstractItemModel* model = w.metadataPane().lvExif->reportView()->model();
    for (int row = 0; row < w.metadataPane().lvExif->Count(); ++row) {
        const bool editable = w.metadataPane().lvExif->Key(row + 1) == QStringLiteral("Make");
        const QVariant picture = model->index(row, 0).data(Qt::DecorationRole);
        EXPECT_EQ(picture.isValid(), editable) << row;
    }
    w.metadataPane().ReadFileIPTCInfo(box, w.metadataPane().lvIPTC, path);
    EXPECT_EQ(w.metadataPane().lvIPTC->Count(), 52);
    EXPECT_TRUE(model->index(0, 0).isValid());
    EXPECT_TRUE(w.metadataPane()
                    .lvIPTC->reportView()
                    ->model()
                    ->index(0, 0)
                    .data(Qt::DecorationRole)
                    .isValid());
    EXPECT_TRUE(errors.reports().empty());
}

// Sorting by Value toggles like the basket's; rows read while sorted land in place.
TEST_F(MainWindowTest, MetadataColumnClicksSortAndLaterRowsLandInPlace) {
    frmMain& w = start();
    const QString path = folder.file(QStringLiteral("camera.jpg"));
    writeJpeg(path);
    editWithExiv2(path, [](Exiv2::ExifData& exif, Exiv2::IptcData&) {
        exif["Exif.Image.Make"] = "Mmm";
        exif["Exif.Image.Model"] = "Bbb";
        exif["Exif.Image.Artist"] = "Zzz";
    });
    ImageBox& box = w.previewPane().ibMain->box();
    box.LoadFromFile(path);
    w.metadataPane().ReadFileEXIFInfo(box, w.metadataPane().lvExif, path);
    auto values = [&] {
        QStringList out;
        for (int r = 1; r <= w.metadataPane().lvExif->Count(); ++r)
            out << w.metadataPane().lvExif->SubItem(r, 1);
        return out;
    };
    auto sortedValues = [&](bool ascending) {
        QStringList v = values();
        std::stable_sort(v.begin(), v.end(), [&](const QString& a, const QString& b) {
            const int c = QString::compare(a, b, Qt::CaseInsensitive);
            return ascending ? c < 0 : c > 0;
        });
        return v;
    };
    QHeaderView* header = w.metadataPane().lvExif->reportView()->header();
    const QPoint valueHeader(header->sectionViewportPosition(1) + 10, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, valueHeader);
    EXPECT_EQ(values(), sortedValues(true));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, valueHeader);
    EXPECT_EQ(values(), sortedValues(false));
    for (int r = 1; r <= w.metadataPane().lvExif->Count(); ++r)
        EXPECT_EQ(w.metadataPane().lvExif->Key(r).isEmpty(),
                  w.metadataPane().lvExif->Tag(r) != QStringLiteral("Make") &&
                      w.metadataPane().lvExif->Tag(r) != QStringLiteral("Model") &&
                      w.metadataPane().lvExif->Tag(r) != QStringLiteral("Artist"))
            << r;
    w.metadataPane().lvExif->Clear();
    w.metadataPane().ReadFileEXIFInfo(box, w.metadataPane().lvExif, path);
    EXPECT_EQ(values(), sortedValues(false));
    w.metadataPane().lvIPTC_ColumnClick(1);
    w.metadataPane().ReadFileIPTCInfo(box, w.metadataPane().lvIPTC, path);
    EXPECT_EQ(w.metadataPane().lvIPTC->Text(1), QStringLiteral("By (Author)"));
}

} // namespace picbasket::test
