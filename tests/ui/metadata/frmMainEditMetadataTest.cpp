// Editing the previewed file's metadata through the main window's tool bars, as a
// user does: the dialogs are driven while they are shown, the file dialogs are
// answered by the fake backend, and the files are read back with Exiv2 and, where
// installed, exiftool.
#include "controls/buttons/modButtonPicture.h"
#include "controls/datetimepicker/ucDateTimePicker.h"
#include "controls/dialogs/FakeDialogBackend.h"
#include "core/Globals.h"
#include "metadata/frmExifEditAttribute.h"
#include "metadata/frmExifNewAttribute.h"
#include "metadata/frmIPTCCategory.h"
#include "metadata/frmIPTCKeywords.h"
#include "metadata/modMetadata.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/TabStrip.h"
#include "platform/imagebox/ImageBoxView.h"
#include "tests/platform/metadata/Exiftool.h"
#include "tests/platform/metadata/MetadataFixtures.h"
#include "tests/ui/browser/FolderFixture.h"
#include "tests/ui/mainwindow/MainWindowFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace picbasket;
using picbasket::test::MainWindowTest;

namespace {

// Runs `act` on the modal dialog of that class once it is shown; a dialog the
// action left open is cancelled, so a failing test never blocks.
template <class Dialog> void whenShown(std::function<void(Dialog&)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "the expected dialog is not shown";
            if (QWidget* other = QApplication::activeModalWidget())
                other->close();
            return;
        }
        act(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

QString exifText(const QString& path, const char* key) {
    auto image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
    image->readMetadata();
    const auto it = image->exifData().findKey(Exiv2::ExifKey(key));
    return it == image->exifData().end() ? QString() : QString::fromStdString(it->toString());
}

QStringList iptcValues(const QString& path, const char* key) {
    auto image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
    image->readMetadata();
    QStringList values;
    for (const auto& datum : image->iptcData())
        if (datum.key() == key)
            values << QString::fromStdString(datum.toString());
    return values;
}

// exiftool's value of one tag in its short form; a null text when it is missing.
QString exiftool(const QString& path, const QString& tag) {
    if (!test::haveExiftool())
        return {};
    return test::exiftool({QStringLiteral("-s3"), QStringLiteral("-") + tag, path});
}

// A layered PSD made by hand: two 4 x 3 layers and the composite, all raw.
QByteArray layeredPsd() {
    const int w = 4, h = 3;
    QByteArray file;
    QDataStream out(&file, QIODevice::WriteOnly);
    out.writeRawData("8BPS", 4);
    out << quint16(1);
    out.writeRawData("\0\0\0\0\0\0", 6);
    out << quint16(3) << quint32(h) << quint32(w) << quint16(8) << quint16(3);
    out << quint32(0) << quint32(0);
    QByteArray layers;
    QDataStream info(&layers, QIODevice::WriteOnly);
    info << qint16(2);
    for (int layer = 0; layer < 2; ++layer) {
        info << qint32(0) << qint32(0) << qint32(h) << qint32(w) << quint16(3);
        for (qint16 channel = 0; channel < 3; ++channel)
            info << channel << quint32(2 + w * h);
        info.writeRawData("8BIMnorm", 8);
        info << quint8(255) << quint8(0) << quint8(0) << quint8(0);
        info << quint32(12) << quint32(0) << quint32(0);
        info << quint8(1) << quint8('A' + layer) << quint8(0) << quint8(0);
    }
    for (int layer = 0; layer < 2; ++layer)
        for (int channel = 0; channel < 3; ++channel) {
            info << quint16(0);
            for (int i = 0; i < w * h; ++i)
                info << quint8(layer * 100 + channel * 30 + i);
        }
    if (layers.size() % 2)
        layers.append('\0');
    out << quint32(4 + layers.size() + 4) << quint32(layers.size());
    out.writeRawData(layers.constData(), int(layers.size()));
    out << quint32(0);
    out << quint16(0);
    for (int channel = 0; channel < 3; ++channel)
        for (int i = 0; i < w * h; ++i)
            out << quint8(channel * 60 + i * 5);
    return file;
}

// What follows a PSD's image resources: the layers and the composite pixels.
QByteArray psdAfterResources(const QByteArray& psd) {
    auto lengthAt = [&](qsizetype at) { return qsizetype(psd.mid(at, 4).toHex().toUInt(nullptr, 16)); };
    qsizetype at = 26;
    at += 4 + lengthAt(at);
    at += 4 + lengthAt(at);
    return psd.mid(at);
}

class EditMetadataWindow : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        subInitMetadataTables();
        pictures = folder.file(QStringLiteral("pictures"));
        QDir().mkpath(pictures);
        picbasket::Setup.LastFolder = pictures;
        writeSetupFile();
    }

    QString file(const QString& name) const { return QDir(pictures).filePath(name); }

    QString cameraJpeg(const QString& name) {
        const QString path = file(name);
        test::writeJpeg(path, 32, 24);
        test::editWithExiv2(path, [](Exiv2::ExifData& exif, Exiv2::IptcData& iptc) {
            exif["Exif.Image.Make"] = "Acme";
            exif["Exif.Image.Artist"] = "Ann";
            exif["Exif.Image.Orientation"] = uint16_t(1);
            exif["Exif.Image.DateTime"] = "2004:05:06 07:08:09";
            iptc["Iptc.Application2.Caption"] = "a caption";
            iptc["Iptc.Application2.Urgency"] = "5";
        });
        return path;
    }

    // Shows the file in the preview through the folder list, as a click does.
    void preview(const QString& path) {
        frmMain& w = *window;
        const int row = w.folderPane().list()->AddItem(QFileInfo(path).fileName());
        w.folderPane().list()->setTag(row, path);
        w.folderPane().list()->setSubItem(row, 3, QStringLiteral("1"));
        w.fileListFocus().PicTiffTag.clear();
        w.previewPane().subShowSelectedFile(w.folderPane().list(), row);
        ASSERT_EQ(w.fileListFocus().PicTiffTag, path);
    }

    int rowOf(ListView* list, const QString& text, bool byTag = false) const {
        for (int row = 1; row <= list->Count(); ++row)
            if ((byTag ? list->Tag(row) : list->Text(row)) == text)
                return row;
        return 0;
    }

    // Selects the row and runs the bar's button, as a click on it does.
    void exifCommand(int index, const QString& rawName = {}) {
        frmMain& w = *window;
        w.metadataPane().tabs()->setSelectedItem(1);
        if (!rawName.isEmpty())
            w.metadataPane().exifList()->setSelectedItem(rowOf(w.metadataPane().exifList(), rawName, true));
        w.metadataPane().exifButtons()[size_t(index)]->click();
    }
    void iptcCommand(int index, const QString& caption = {}) {
        frmMain& w = *window;
        w.metadataPane().tabs()->setSelectedItem(2);
        if (!caption.isEmpty())
            w.metadataPane().iptcList()->setSelectedItem(rowOf(w.metadataPane().iptcList(), caption));
        w.metadataPane().iptcButtons()[size_t(index)]->click();
    }
    QString exifValue(const QString& rawName) const {
        return window->metadataPane().exifList()->SubItem(
            rowOf(window->metadataPane().exifList(), rawName, true), 1);
    }
    QString iptcValue(const QString& caption) const {
        return window->metadataPane().iptcList()->SubItem(rowOf(window->metadataPane().iptcList(), caption),
                                                      1);
    }

    QString pictures;
    FakeDialogBackend dialogs;
};

} // namespace

TEST_F(EditMetadataWindow, ToolBarsCarryTheirTipsAndPictures) {
    frmMain& w = start();
    const QStringList exif{"Edit the selected EXIF tag",
                           "Create a new editable EXIF tag",
                           "Remove the selected EXIF tag from the image",
                           "Empty all EXIF tags from the image ( all EXIF tags will be discarded)",
                           "Open an existing EXIF file (.XIFF)",
                           "Save the current EXIF tags from the image to file (.XIFF)"};
    const QStringList iptc{"Edit the selected IPTC tag", "Open an existing IPTC file (.FFO)",
                           "Save the current IPTC tags from the image to file (.FFO)",
                           "Delete the selected IPTC tag from the image",
                           "Empty all IPTC tags from the image (all tags will be discarded)"};
    for (int i = 0; i < exif.size(); ++i) {
        EXPECT_EQ(w.metadataPane().exifButtons()[size_t(i)]->toolTip(), exif[i]);
        EXPECT_TRUE(fncHasButtonPicture(w.metadataPane().exifButtons()[size_t(i)])) << i;
    }
    for (int i = 0; i < iptc.size(); ++i) {
        EXPECT_EQ(w.metadataPane().iptcButtons()[size_t(i)]->toolTip(), iptc[i]);
        EXPECT_TRUE(fncHasButtonPicture(w.metadataPane().iptcButtons()[size_t(i)])) << i;
    }
}

// A text edit writes the file and the row; confirmed unchanged it writes nothing,
// dates included; a row that is not editable opens no dialog.
TEST_F(EditMetadataWindow, EditingATextAttributeAndUnchangedEdits) {
    frmMain& w = start();
    const QString path = cameraJpeg(QStringLiteral("photo.jpg"));
    preview(path);
    whenShown<frmExifEditAttribute>([](frmExifEditAttribute& d) {
        EXPECT_EQ(d.txtAttribute->text(), "Artist");
        EXPECT_EQ(d.txtValue->text(), "Ann");
        EXPECT_FALSE(d.editsDate());
        d.txtValue->setText("  Bob  ");
        d.cmdOK->click();
    });
    exifCommand(0, QStringLiteral("Artist"));
    EXPECT_EQ(exifValue("Artist"), "Bob");
    EXPECT_EQ(exifText(path, "Exif.Image.Artist"), "Bob");
    EXPECT_EQ(exifText(path, "Exif.Image.Software"), SoftwareName);
    if (!exiftool(path, "Artist").isNull())
        EXPECT_EQ(exiftool(path, "Artist"), "Bob");

    const QByteArray written = test::readFile(path);
    whenShown<frmExifEditAttribute>([](frmExifEditAttribute& d) { d.cmdOK->click(); });
    exifCommand(0, QStringLiteral("Artist"));
    whenShown<frmExifEditAttribute>([](frmExifEditAttribute& d) {
        EXPECT_TRUE(d.editsDate());
        EXPECT_TRUE(d.ucDateTime->isVisibleTo(&d));
        EXPECT_FALSE(d.txtValue->isVisibleTo(&d));
        d.cmdOK->click();
    });
    exifCommand(0, QStringLiteral("DateTime"));
    EXPECT_EQ(exifValue("DateTime"), "5/6/2004 7:08:09 AM");
    whenShown<frmExifEditAttribute>([](frmExifEditAttribute& d) {
        d.txtValue->setText("changed");
        d.cmdCancel->click();
    });
    exifCommand(0, QStringLiteral("Artist"));
    // Orientation carries no key: double-clicking it opens nothing.
    w.metadataPane().exifList()->setSelectedItem(rowOf(w.metadataPane().exifList(), "Orientation", true));
    w.metadataPane().lvExif_DblClick();
    EXPECT_EQ(test::readFile(path), written);
    EXPECT_FALSE(EditDialogResult);
    EXPECT_TRUE(errors.reports().empty());
}

// The picked day with the old time of day; the row shows the value as entered.
TEST_F(EditMetadataWindow, EditingADateKeepsItsTimeOfDay) {
    start();
    const QString path = cameraJpeg(QStringLiteral("photo.jpg"));
    preview(path);
    whenShown<frmExifEditAttribute>([](frmExifEditAttribute& d) {
        d.ucDateTime->setDateSelected(QDateTime(QDate(2010, 11, 12), QTime(0, 0)));
        d.cmdOK->click();
    });
    exifCommand(0, QStringLiteral("DateTime"));
    EXPECT_EQ(exifValue("DateTime"), "11/12/2010 7:08:09 AM");
    EXPECT_EQ(exifText(path, "Exif.Image.DateTime"), "2010:11:12 07:08:09");
}

TEST_F(EditMetadataWindow, AddingOffersOnlyMissingAttributesAndWritesADateWithTheTimeOfDay) {
    frmMain& w = start();
    const QString path = cameraJpeg(QStringLiteral("photo.jpg"));
    test::editWithExiv2(path, [](Exiv2::ExifData& exif, Exiv2::IptcData&) {
        exif.erase(exif.findKey(Exiv2::ExifKey("Exif.Image.DateTime")));
    });
    preview(path);
    QTime before;
    whenShown<frmExifNewAttribute>([&](frmExifNewAttribute& d) {
        QStringList offered;
        for (int i = 0; i < d.cmbAttribute->count(); ++i)
            offered << d.cmbAttribute->itemText(i);
        EXPECT_FALSE(offered.contains("Make"));
        EXPECT_FALSE(offered.contains("Artist"));
        EXPECT_EQ(offered.first(), "Model");
        EXPECT_TRUE(offered.contains("DateTime"));
        EXPECT_FALSE(d.cmdOK->isEnabled());
        EXPECT_FALSE(d.txtValue->isEnabled());
        EXPECT_FALSE(d.ucDateTime->Enabled());
        d.cmbAttribute->setCurrentText("Model");
        EXPECT_FALSE(d.cmdOK->isEnabled());
        d.txtValue->setText("   ");
        EXPECT_FALSE(d.cmdOK->isEnabled());
        d.txtValue->setText("X1");
        EXPECT_TRUE(d.cmdOK->isEnabled());
        d.cmbAttribute->setCurrentText("DateTime");
        EXPECT_TRUE(d.ucDateTime->Enabled());
        EXPECT_TRUE(d.ucDateTime->isVisibleTo(&d));
        EXPECT_FALSE(d.txtValue->isVisibleTo(&d));
        d.ucDateTime->setDateSelected(QDateTime(QDate(2011, 3, 4), QTime(0, 0)));
        before = QTime::currentTime();
        d.cmdOK->click();
    });
    exifCommand(1);
    const int row = rowOf(w.metadataPane().exifList(), "DateTime", true);
    ASSERT_GT(row, 0);
    EXPECT_EQ(w.metadataPane().exifList()->Text(row), "DateTime");
    EXPECT_EQ(w.metadataPane().exifList()->Key(row), "DateTime");
    EXPECT_EQ(w.metadataPane().exifList()->SmallIconKey(row), EditableMarkKey);
    const QString written = exifText(path, "Exif.Image.DateTime");
    ASSERT_TRUE(written.startsWith("2011:03:04 ")) << written.toStdString();
    const QTime time = QTime::fromString(written.mid(11), "HH:mm:ss");
    EXPECT_LE(std::abs(time.secsTo(before)), 2) << written.toStdString();
    EXPECT_EQ(exifText(path, "Exif.Image.Software"), SoftwareName);
    EXPECT_FALSE(EditDialogResult);
}

TEST_F(EditMetadataWindow, WithEveryEditableAttributePresentNothingCanBeAdded) {
    start();
    const QString path = file(QStringLiteral("full.jpg"));
    test::writeJpeg(path);
    test::editWithExiv2(path, [](Exiv2::ExifData& exif, Exiv2::IptcData&) {
        exif["Exif.Image.Make"] = "a";
        exif["Exif.Image.Model"] = "b";
        exif["Exif.Image.DateTime"] = "2004:05:06 07:08:09";
        exif["Exif.Image.ImageDescription"] = "c";
        exif["Exif.Image.Artist"] = "d";
        exif["Exif.Image.Copyright"] = "e";
        exif["Exif.Photo.DateTimeOriginal"] = "2004:05:06 07:08:09";
        exif["Exif.Photo.DateTimeDigitized"] = "2004:05:06 07:08:09";
        exif["Exif.Photo.UserComment"] = "charset=Ascii f";
        exif["Exif.Photo.PixelXDimension"] = uint32_t(16);
        exif["Exif.Photo.PixelYDimension"] = uint32_t(8);
    });
    preview(path);
    const QByteArray bytes = test::readFile(path);
    whenShown<frmExifNewAttribute>([](frmExifNewAttribute& d) {
        ASSERT_EQ(d.cmbAttribute->count(), 1);
        EXPECT_EQ(d.cmbAttribute->itemText(0), "No editable attribute to add!");
        d.cmbAttribute->setCurrentIndex(0);
        d.txtValue->setText("x");
        EXPECT_FALSE(d.cmdOK->isEnabled());
        d.cmdCancel->click();
    });
    exifCommand(1);
    EXPECT_EQ(test::readFile(path), bytes);
}

// Only the metadata is written: the other pages, the layers and the pixels stay,
// also while the preview holds an edit that was never confirmed.
TEST_F(EditMetadataWindow, EditsKeepTiffPagesAndPsdLayersWhileARotateIsPreviewed) {
    frmMain& w = start();
    const QString tiff = file(QStringLiteral("three.tif"));
    test::writeMultiPageTiff(tiff, 3);
    test::editWithExiv2(tiff, [](Exiv2::ExifData& exif, Exiv2::IptcData&) {
        exif["Exif.Image.Artist"] = "Ann";
    });
    const std::vector<QByteArray> pages = test::tiffPagePixels(tiff);
    ASSERT_EQ(pages.size(), 3u);
    preview(tiff);
    w.previewPane().box()->box().Rotate(90);
    whenShown<frmExifEditAttribute>([](frmExifEditAttribute& d) {
        d.txtValue->setText("Bob");
        d.cmdOK->click();
    });
    exifCommand(0, QStringLiteral("Artist"));
    whenShown<frmIPTCKeywords>([](frmIPTCKeywords& d) {
        d.txtKeywordAdd->setText("k");
        d.cmdAddKeyword->click();
        d.cmdOK->click();
    });
    iptcCommand(0, QStringLiteral("Keywords"));
    EXPECT_EQ(test::tiffPagePixels(tiff), pages);
    EXPECT_EQ(exifText(tiff, "Exif.Image.Artist"), "Bob");
    EXPECT_EQ(iptcValues(tiff, "Iptc.Application2.Keywords"), QStringList{"k"});
    messages.answerNext(mb::Yes);
    exifCommand(3);
    EXPECT_EQ(w.metadataPane().exifList()->Count(), 0);
    EXPECT_EQ(test::tiffPagePixels(tiff), pages);
    EXPECT_TRUE(exifText(tiff, "Exif.Image.Artist").isEmpty());

    const QString psd = file(QStringLiteral("layers.psd"));
    test::writeFile(psd, layeredPsd());
    const QByteArray layers = psdAfterResources(layeredPsd());
    preview(psd);
    ASSERT_EQ(w.metadataPane().iptcList()->Count(), 52);
    w.previewPane().box()->box().Rotate(90);
    whenShown<frmExifEditAttribute>([](frmExifEditAttribute& d) {
        d.txtValue->setText("psd caption");
        d.cmdOK->click();
    });
    iptcCommand(0, QStringLiteral("Caption"));
    EXPECT_EQ(iptcValues(psd, "Iptc.Application2.Caption"), QStringList{"psd caption"});
    EXPECT_EQ(psdAfterResources(test::readFile(psd)), layers);
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(EditMetadataWindow, DeletingAndClearingIptc) {
    frmMain& w = start();
    const QString path = cameraJpeg(QStringLiteral("photo.jpg"));
    preview(path);
    iptcCommand(3, QStringLiteral("Caption"));
    EXPECT_TRUE(iptcValue("Caption").isEmpty());
    EXPECT_TRUE(iptcValues(path, "Iptc.Application2.Caption").isEmpty());
    const QByteArray bytes = test::readFile(path);
    iptcCommand(3, QStringLiteral("City"));
    EXPECT_EQ(test::readFile(path), bytes);
    EXPECT_TRUE(messages.shown().empty());

    messages.answerNext(mb::No);
    iptcCommand(4);
    EXPECT_EQ(test::readFile(path), bytes);
    test::editWithExiv2(path, [](Exiv2::ExifData&, Exiv2::IptcData& iptc) {
        iptc["Iptc.Application2.City"] = "Oslo";
    });
    w.previewPane().box()->box().setIptcCity("Oslo");
    messages.answerNext(mb::Yes);
    iptcCommand(4);
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.shown()[1].text,
              "All IPTC metadata available in the current image will be deleted!\r\n"
              "Do you want to continue?");
    EXPECT_EQ(w.metadataPane().iptcList()->Count(), 52);
    for (int row = 1; row <= w.metadataPane().iptcList()->Count(); ++row)
        EXPECT_TRUE(w.metadataPane().iptcList()->SubItem(row, 1).isEmpty()) << row;
    EXPECT_TRUE(iptcValues(path, "Iptc.Application2.City").isEmpty());
    EXPECT_EQ(exifText(path, "Exif.Image.Make"), "Acme");
}

TEST_F(EditMetadataWindow, DeletingExifRowsAndAStructuralOneFails) {
    frmMain& w = start();
    const QString path = cameraJpeg(QStringLiteral("photo.jpg"));
    preview(path);
    const int rows = w.metadataPane().exifList()->Count();
    exifCommand(2, QStringLiteral("Artist"));
    EXPECT_EQ(w.metadataPane().exifList()->Count(), rows - 1);
    EXPECT_TRUE(exifText(path, "Exif.Image.Artist").isEmpty());
    // The pointer to the Exif directory is the file's structure, not an attribute.
    const int structural = rowOf(w.metadataPane().exifList(), "ExifOffset", true);
    if (structural > 0) {
        exifCommand(2, QStringLiteral("ExifOffset"));
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.shown()[0].text, "Error deleting attribute");
    }
    messages.answerNext(mb::Yes);
    exifCommand(3);
    EXPECT_EQ(w.metadataPane().exifList()->Count(), 0);
    EXPECT_TRUE(exifText(path, "Exif.Image.Make").isEmpty());
    EXPECT_EQ(iptcValues(path, "Iptc.Application2.Caption"), QStringList{"a caption"});
}

TEST_F(EditMetadataWindow, KeywordsAndCategoriesWithUrgency) {
    frmMain& w = start();
    const QString path = cameraJpeg(QStringLiteral("photo.jpg"));
    preview(path);
    whenShown<frmIPTCCategory>([](frmIPTCCategory& d) {
        EXPECT_EQ(d.cboUrgency->currentText(), "5");
        QStringList offered;
        for (int i = 0; i < d.cboUrgency->count(); ++i)
            offered << d.cboUrgency->itemText(i);
        EXPECT_EQ(offered, QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "None"}));
        d.txtSupCatAdd->setText("news");
        d.cmdAddSupCat->click();
        d.cboUrgency->setCurrentText("None");
        d.cmdOK->click();
    });
    iptcCommand(0, QStringLiteral("Supplemental Categories"));
    EXPECT_EQ(iptcValue("Supplemental Categories"), "news");
    EXPECT_TRUE(iptcValues(path, "Iptc.Application2.Urgency").isEmpty());
    whenShown<frmIPTCCategory>([](frmIPTCCategory& d) {
        EXPECT_EQ(d.cboUrgency->currentText(), "None");
        d.cmdOK->click();
    });
    iptcCommand(0, QStringLiteral("Supplemental Categories"));

    whenShown<frmIPTCKeywords>([](frmIPTCKeywords& d) {
        for (const char* word : {"b", " a ", ""}) {
            d.txtKeywordAdd->setText(QString::fromLatin1(word));
            d.cmdAddKeyword->click();
        }
        // Enter in the box adds too, and leaves the dialog open.
        d.txtKeywordAdd->setText("c");
        QTest::keyClick(d.txtKeywordAdd, Qt::Key_Return);
        EXPECT_TRUE(d.isVisible());
        d.txtKeywordAdd->setText("b");
        d.cmdAddKeyword->click();
        EXPECT_EQ(d.lstKeywords->count(), 4);
        EXPECT_TRUE(d.txtKeywordAdd->text().isEmpty());
        d.lstKeywords->setCurrentRow(3);
        d.cmdDelKeyword->click();
        d.cmdOK->click();
    });
    iptcCommand(0, QStringLiteral("Keywords"));
    EXPECT_EQ(iptcValue("Keywords"), "b, a ,c");
    EXPECT_EQ(iptcValues(path, "Iptc.Application2.Keywords"), QStringList({"b", " a ", "c"}));

    const QByteArray bytes = test::readFile(path);
    whenShown<frmIPTCKeywords>([](frmIPTCKeywords& d) {
        EXPECT_EQ(d.lstKeywords->count(), 3);
        d.txtKeywordAdd->setText("never");
        d.cmdAddKeyword->click();
        d.cmdCancel->click();
    });
    iptcCommand(0, QStringLiteral("Keywords"));
    EXPECT_EQ(test::readFile(path), bytes);
    EXPECT_EQ(w.previewPane().box()->box().IptcKeywordCount(), 3);

    whenShown<frmIPTCKeywords>([](frmIPTCKeywords& d) {
        d.lstKeywords->clear();
        d.cmdOK->click();
    });
    iptcCommand(0, QStringLiteral("Keywords"));
    EXPECT_TRUE(iptcValue("Keywords").isEmpty());
    EXPECT_TRUE(iptcValues(path, "Iptc.Application2.Keywords").isEmpty());
    EXPECT_TRUE(errors.reports().empty());
}

// A keyword write that fails is reported with its source, and the list and the
// box go back to what the file holds.
TEST_F(EditMetadataWindow, AFailedKeywordWriteIsReportedAndTheListMatchesTheFile) {
    frmMain& w = start();
    const QString path = cameraJpeg(QStringLiteral("photo.jpg"));
    preview(path);
    QFile::remove(path);
    test::writeFile(path, "no longer a JPEG");
    whenShown<frmIPTCKeywords>([](frmIPTCKeywords& d) {
        d.txtKeywordAdd->setText("lost");
        d.cmdAddKeyword->click();
        d.cmdOK->click();
    });
    iptcCommand(0, QStringLiteral("Keywords"));
    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].source, "FrmMain.subUpdateIPTC_Keywords");
    EXPECT_EQ(w.previewPane().box()->box().IptcKeywordCount(), 0);
    EXPECT_EQ(w.metadataPane().iptcList()->Count(), 52);
    EXPECT_TRUE(iptcValue("Keywords").isEmpty());
    EXPECT_EQ(iptcValue("Caption"), "a caption");
}

TEST_F(EditMetadataWindow, AttributeFilesSaveTheEditableRowsAndLoadThemIntoAnotherImage) {
    frmMain& w = start();
    const QString first = file(QStringLiteral("first.jpg"));
    test::writeJpeg(first);
    test::editWithExiv2(first, [](Exiv2::ExifData& exif, Exiv2::IptcData&) {
        exif["Exif.Image.Make"] = "Acme \"Pro\", Inc";
        exif["Exif.Image.Orientation"] = uint16_t(1);
        exif["Exif.Image.DateTime"] = "2004:05:06 07:08:09";
    });
    preview(first);
    const QString set = file(QStringLiteral("set"));
    dialogs.chooseFile(set);
    exifCommand(5);
    EXPECT_EQ(test::readFile(set + ".xiff"),
              QByteArray("\"Make\",\"Acme \"\"Pro\"\", Inc\"\r\n"
                         "\"DateTime\",\"5/6/2004 7:08:09 AM\"\r\n"));
    ASSERT_FALSE(dialogs.fileRequests().empty());
    EXPECT_EQ(dialogs.fileRequests().back().title, "Save EXIF Information to file");
    const QString upper = file(QStringLiteral("SET.XIFF"));
    dialogs.chooseFile(upper);
    exifCommand(5);
    EXPECT_TRUE(QFile::exists(upper));
    EXPECT_FALSE(QFile::exists(upper + ".xiff"));

    const QString second = cameraJpeg(QStringLiteral("second.jpg"));
    preview(second);
    messages.answerNext(mb::Yes);
    dialogs.chooseFile(set + ".xiff");
    exifCommand(4);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text,
              "Loading a .xiff will only overwrite user editable EXIF attributes!\r\n"
              "Do you want to continue?");
    EXPECT_EQ(exifText(second, "Exif.Image.Make"), "Acme \"Pro\", Inc");
    EXPECT_EQ(exifText(second, "Exif.Image.DateTime"), "2004:05:06 07:08:09");
    EXPECT_EQ(exifText(second, "Exif.Image.Artist"), "Ann");
    EXPECT_EQ(exifValue("Make"), "Acme \"Pro\", Inc");
    if (!exiftool(second, "Make").isNull())
        EXPECT_EQ(exiftool(second, "Make"), "Acme \"Pro\", Inc");
    EXPECT_TRUE(errors.reports().empty());
}

// A hand-made file may name any attribute; only the editable ones are applied,
// and a row the image lacked is added with its display name and the mark.
TEST_F(EditMetadataWindow, LoadingAHandMadeFileAppliesOnlyEditableAttributes) {
    frmMain& w = start();
    const QString path = file(QStringLiteral("bare.jpg"));
    test::writeJpeg(path);
    test::editWithExiv2(path, [](Exiv2::ExifData& exif, Exiv2::IptcData&) {
        exif["Exif.Image.Orientation"] = uint16_t(1);
    });
    preview(path);
    const QString set = file(QStringLiteral("hand.xiff"));
    test::writeFile(set, "\"Orientation\",\"6\"\r\n\"StripOffsets\",\"8\"\r\n"
                         "\" imagedescription \",\"hello\"\r\n\"Software\",\"other\"\r\n");
    messages.answerNext(mb::Yes);
    dialogs.chooseFile(set);
    exifCommand(4);
    EXPECT_EQ(exifText(path, "Exif.Image.Orientation"), "1");
    EXPECT_EQ(exifText(path, "Exif.Image.ImageDescription"), "hello");
    EXPECT_EQ(exifText(path, "Exif.Image.Software"), SoftwareName);
    const int row = rowOf(w.metadataPane().exifList(), "ImageDescription", true);
    ASSERT_GT(row, 0);
    EXPECT_EQ(w.metadataPane().exifList()->Text(row), "Image Description");
    EXPECT_EQ(w.metadataPane().exifList()->SmallIconKey(row), EditableMarkKey);
    EXPECT_EQ(w.metadataPane().exifList()->SubItem(row, 1), "hello");

    const QByteArray bytes = test::readFile(path);
    test::writeFile(set, "\"Make\",\"Acme\",\"extra\"\r\n");
    messages.answerNext(mb::Yes);
    dialogs.chooseFile(set);
    exifCommand(4);
    EXPECT_EQ(test::readFile(path), bytes);
    ASSERT_EQ(messages.shown().size(), 3u);
    EXPECT_TRUE(messages.shown()[2].text.contains("no EXIF attribute file"));
}

TEST_F(EditMetadataWindow, NoEditableRowsLeaveNoFileAndAPsdTakesNoAttributeFile) {
    start();
    const QString path = file(QStringLiteral("plain.jpg"));
    test::writeJpeg(path);
    test::editWithExiv2(path, [](Exiv2::ExifData& exif, Exiv2::IptcData&) {
        exif["Exif.Image.Orientation"] = uint16_t(1);
    });
    preview(path);
    const QString set = file(QStringLiteral("empty.xiff"));
    dialogs.chooseFile(set);
    exifCommand(5);
    EXPECT_FALSE(QFile::exists(set));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text,
              "There is no user editable EXIF attributes in this current image!\r\n"
              "Either create new attribute or select another image having editable attribute.");
    dialogs.cancelFile();
    exifCommand(5);
    EXPECT_EQ(messages.shown().size(), 1u);

    const QString psd = file(QStringLiteral("layers.psd"));
    test::writeFile(psd, layeredPsd());
    preview(psd);
    const QByteArray bytes = test::readFile(psd);
    window->metadataPane().cmdEXIFBar_Click(4);
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_TRUE(messages.shown()[1].text.startsWith("EXIF attributes can be loaded only"));
    EXPECT_EQ(test::readFile(psd), bytes);
}

TEST_F(EditMetadataWindow, IptcFilesRoundTripIntoATiffAndAPsd) {
    frmMain& w = start();
    const QString source = cameraJpeg(QStringLiteral("source.jpg"));
    test::editWithExiv2(source, [](Exiv2::ExifData&, Exiv2::IptcData& iptc) {
        iptc["Iptc.Application2.City"] = "Oslo";
        Exiv2::StringValue keyword("k1");
        iptc.add(Exiv2::IptcKey("Iptc.Application2.Keywords"), &keyword);
        keyword.read("k2");
        iptc.add(Exiv2::IptcKey("Iptc.Application2.Keywords"), &keyword);
    });
    preview(source);
    const QString ffo = file(QStringLiteral("info"));
    dialogs.chooseFile(ffo);
    iptcCommand(2);
    ASSERT_TRUE(QFile::exists(ffo + ".ffo"));
    EXPECT_EQ(dialogs.fileRequests().back().title, "Save IPTC Information");

    const QString tiff = file(QStringLiteral("three.tif"));
    test::writeMultiPageTiff(tiff, 3);
    const std::vector<QByteArray> pages = test::tiffPagePixels(tiff);
    preview(tiff);
    dialogs.chooseFile(ffo + ".ffo");
    iptcCommand(1);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(iptcValue("City"), "Oslo");
    EXPECT_EQ(iptcValue("Keywords"), "k1,k2");
    EXPECT_EQ(iptcValues(tiff, "Iptc.Application2.Caption"), QStringList{"a caption"});
    EXPECT_EQ(test::tiffPagePixels(tiff), pages);

    const QString psd = file(QStringLiteral("layers.psd"));
    test::writeFile(psd, layeredPsd());
    preview(psd);
    dialogs.chooseFile(ffo + ".ffo");
    iptcCommand(1);
    EXPECT_EQ(iptcValues(psd, "Iptc.Application2.City"), QStringList{"Oslo"});
    EXPECT_EQ(psdAfterResources(test::readFile(psd)), psdAfterResources(layeredPsd()));

    // A cut file is refused before anything changes.
    const QByteArray whole = test::readFile(ffo + ".ffo");
    const QString cut = file(QStringLiteral("cut.ffo"));
    test::writeFile(cut, whole.left(whole.size() - 3));
    const QByteArray psdBytes = test::readFile(psd);
    messages.answerNext(mb::Yes);
    dialogs.chooseFile(cut);
    iptcCommand(1);
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(messages.shown()[0].text,
              "Loading a .ffo file will replace all IPTC metadata of the current image.\r\n"
              "Do you want to continue?");
    EXPECT_TRUE(messages.shown()[1].text.contains("is no IPTC file"));
    EXPECT_EQ(test::readFile(psd), psdBytes);
    EXPECT_EQ(iptcValue("City"), "Oslo");
    EXPECT_EQ(w.previewPane().box()->box().IptcCity(), "Oslo");
    EXPECT_TRUE(errors.reports().empty());
}

// An IPTC date is edited with the picker; confirmed as it stood it writes nothing,
// and a picked day shows in the list's short form.
TEST_F(EditMetadataWindow, IptcDatesAreEditedWithThePicker) {
    start();
    const QString path = cameraJpeg(QStringLiteral("photo.jpg"));
    test::editWithExiv2(path, [](Exiv2::ExifData&, Exiv2::IptcData& iptc) {
        iptc["Iptc.Application2.DateCreated"] = "2004-05-06";
    });
    preview(path);
    ASSERT_EQ(iptcValue("Date Created"), "5/6/2004");
    const QByteArray bytes = test::readFile(path);
    whenShown<frmExifEditAttribute>([](frmExifEditAttribute& d) {
        EXPECT_TRUE(d.editsDate());
        EXPECT_EQ(d.ucDateTime->DateSelected().date(), QDate(2004, 5, 6));
        d.cmdOK->click();
    });
    iptcCommand(0, QStringLiteral("Date Created"));
    EXPECT_EQ(test::readFile(path), bytes);
    whenShown<frmExifEditAttribute>([](frmExifEditAttribute& d) {
        d.ucDateTime->setDateSelected(QDateTime(QDate(2012, 1, 31), QTime(0, 0)));
        d.cmdOK->click();
    });
    iptcCommand(0, QStringLiteral("Date Created"));
    EXPECT_EQ(iptcValue("Date Created"), "1/31/2012");
    EXPECT_EQ(iptcValues(path, "Iptc.Application2.DateCreated"), QStringList{"2012-01-31"});
    iptcCommand(3, QStringLiteral("Date Created"));
    EXPECT_TRUE(iptcValue("Date Created").isEmpty());
    EXPECT_TRUE(iptcValues(path, "Iptc.Application2.DateCreated").isEmpty());
    EXPECT_TRUE(errors.reports().empty());
}

// A TIFF with 60,000 keywords (written by Exiv2): the IPTC list shows them
// joined, the keyword dialog lists them all, and one added through the pane's
// command reaches the file with the rest, as exiftool counts them.
TEST_F(EditMetadataWindow, SixtyThousandKeywordsTakeOneEdit) {
    frmMain& w = start();
    const QString tiff = file(QStringLiteral("keywords.tif"));
    test::writeMultiPageTiff(tiff, 1);
    test::editWithExiv2(tiff, [](Exiv2::ExifData&, Exiv2::IptcData& iptc) {
        for (int i = 0; i < 60000; ++i) {
            Exiv2::StringValue value("kw" + std::to_string(i));
            iptc.add(Exiv2::IptcKey("Iptc.Application2.Keywords"), &value);
        }
    });
    preview(tiff);
    EXPECT_EQ(iptcValue("Keywords").count(QLatin1Char(',')), 59999);
    whenShown<frmIPTCKeywords>([](frmIPTCKeywords& d) {
        EXPECT_EQ(d.lstKeywords->count(), 60000);
        EXPECT_EQ(d.lstKeywords->item(59999)->text(), "kw59999");
        d.txtKeywordAdd->setText("added");
        d.cmdAddKeyword->click();
        d.cmdOK->click();
    });
    iptcCommand(0, QStringLiteral("Keywords"));
    EXPECT_TRUE(iptcValue("Keywords").endsWith(",kw59999,added"));
    const QStringList inFile = iptcValues(tiff, "Iptc.Application2.Keywords");
    ASSERT_EQ(inFile.size(), 60001);
    EXPECT_EQ(inFile.back(), "added");
    if (test::haveExiftool())
        EXPECT_EQ(test::exiftool({"-s3", "-sep", "|", "-IPTC:Keywords", tiff}).split('|').size(),
                  60001);
    EXPECT_EQ(w.metadataPane().iptcList()->Tag(), tiff);
}
