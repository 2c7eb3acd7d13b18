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
    w.metadataPane().tabs()->setSelectedItem(2);
    QApplication::processEvents();
    EXPECT_EQ(MetadataTab, 1);
    EXPECT_TRUE(w.metadataPane().iptcList()->isVisible());
    EXPECT_TRUE(w.metadataPane().iptcBar()->isVisible());
    EXPECT_FALSE(w.metadataPane().exifList()->isVisible());
    EXPECT_FALSE(w.metadataPane().exifBar()->isVisible());
    w.metadataPane().tabs()->setSelectedItem(1);
    QApplication::processEvents();
    EXPECT_EQ(MetadataTab, 0);
    EXPECT_TRUE(w.metadataPane().exifList()->isVisible());
    EXPECT_TRUE(w.metadataPane().exifBar()->isVisible());
    EXPECT_FALSE(w.metadataPane().iptcList()->isVisible());
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
    ImageBox& box = w.previewPane().box()->box();
    box.LoadFromFile(path);
    w.metadataPane().ReadFileEXIFInfo(box, w.metadataPane().exifList(), path);
    ASSERT_GE(w.metadataPane().exifList()->Count(), 2);
    const QAbstractItemModel* model = w.metadataPane().exifList()->reportView()->model();
    for (int row = 0; row < w.metadataPane().exifList()->Count(); ++row) {
        const bool editable = w.metadataPane().exifList()->Key(row + 1) == QStringLiteral("Make");
        const QVariant picture = model->index(row, 0).data(Qt::DecorationRole);
        EXPECT_EQ(picture.isValid(), editable) << row;
    }
    w.metadataPane().ReadFileIPTCInfo(box, w.metadataPane().iptcList(), path);
    EXPECT_EQ(w.metadataPane().iptcList()->Count(), 52);
    EXPECT_TRUE(model->index(0, 0).isValid());
    EXPECT_TRUE(w.metadataPane()
                    .iptcList()->reportView()
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
    ImageBox& box = w.previewPane().box()->box();
    box.LoadFromFile(path);
    w.metadataPane().ReadFileEXIFInfo(box, w.metadataPane().exifList(), path);
    auto values = [&] {
        QStringList out;
        for (int r = 1; r <= w.metadataPane().exifList()->Count(); ++r)
            out << w.metadataPane().exifList()->SubItem(r, 1);
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
    QHeaderView* header = w.metadataPane().exifList()->reportView()->header();
    const QPoint valueHeader(header->sectionViewportPosition(1) + 10, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, valueHeader);
    EXPECT_EQ(values(), sortedValues(true));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, valueHeader);
    EXPECT_EQ(values(), sortedValues(false));
    for (int r = 1; r <= w.metadataPane().exifList()->Count(); ++r)
        EXPECT_EQ(w.metadataPane().exifList()->Key(r).isEmpty(),
                  w.metadataPane().exifList()->Tag(r) != QStringLiteral("Make") &&
                      w.metadataPane().exifList()->Tag(r) != QStringLiteral("Model") &&
                      w.metadataPane().exifList()->Tag(r) != QStringLiteral("Artist"))
            << r;
    w.metadataPane().exifList()->Clear();
    w.metadataPane().ReadFileEXIFInfo(box, w.metadataPane().exifList(), path);
    EXPECT_EQ(values(), sortedValues(false));
    w.metadataPane().lvIPTC_ColumnClick(1);
    w.metadataPane().ReadFileIPTCInfo(box, w.metadataPane().iptcList(), path);
    EXPECT_EQ(w.metadataPane().iptcList()->Text(1), QStringLiteral("By (Author)"));
}

} // namespace picbasket::test
