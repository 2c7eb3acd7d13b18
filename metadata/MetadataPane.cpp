// The main window's metadata pane: the EXIF and IPTC lists, their tab strip, the
// readers that fill them, and the commands of the two tool bars that edit the
// previewed file's metadata.
#include "metadata/MetadataPane.h"

#include "browser/FileListFocus.h"
#include "browser/modBasketList.h"
#include "controls/buttons/MainWindowPictures.h"
#include "controls/buttons/modButtonPicture.h"
#include "controls/common/PaneControls.h"
#include "controls/common/PaneWindow.h"
#include "controls/dialogs/modCommonDialog.h"
#include "core/AppError.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/MessageBox.h"
#include "metadata/frmExifEditAttribute.h"
#include "metadata/frmExifNewAttribute.h"
#include "metadata/frmIPTCCategory.h"
#include "metadata/frmIPTCKeywords.h"
#include "metadata/modMetadata.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/StatusBar.h"
#include "platform/comctl/TabStrip.h"
#include "platform/imagebox/ImageBox.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace picbasket {

namespace {

constexpr int MetadataBarWidth = 22;

// The lists describe the file whose path they carry; the commands write the
// preview's image box into the preview's file, so they act only while both are
// the same file.
bool describesPreview(const ListView* list, const QString& previewPath) {
    return !previewPath.isEmpty() && list->Tag() == previewPath;
}

int rowWithText(const ListView* list, const QString& text) {
    for (int row = 1; row <= list->Count(); ++row)
        if (list->Text(row) == text)
            return row;
    return 0;
}

QStringList listEntries(const QListWidget* list) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->item(i)->text();
    return entries;
}

// The number the text starts with, as the urgency combo's items are read.
int leadingNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^\\s*(\\d+)"));
    const QRegularExpressionMatch match = number.match(text);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

QString addedExtension(const QString& name, const QString& extension) {
    return name.right(extension.size()).toLower() == extension ? name : name + extension;
}

// The pencil of the edit button, on a clear ground so it sits on selected rows too.
QImage editableMark() {
    QImage mark = fncMainWindowPicture(QStringLiteral("picMetadataEdit"))
                      .convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < mark.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(mark.scanLine(y));
        for (int x = 0; x < mark.width(); ++x)
            if (line[x] == qRgb(255, 255, 255))
                line[x] = qRgba(0, 0, 0, 0);
    }
    return mark;
}

} // namespace

MetadataPane::MetadataPane(QWidget* parent, PaneWindow& window, FileListFocus& focus,
                           PreviewedFile& preview)
    : QWidget(parent), window_(window), focus_(focus), preview_(preview) {
    setAutoFillBackground(true);
    PicMetadata = this;
    lblMetadata = makeCaption(QStringLiteral(" Metadata"), PicMetadata);
    tbsMetadata = new TabStrip(PicMetadata);
    tbsMetadata->AddTab(QStringLiteral("EXIF Tags"));
    tbsMetadata->AddTab(QStringLiteral("IPTC File Info"));
    lvExif = new ListView(PicMetadata);
    lvIPTC = new ListView(PicMetadata);
    for (ListView* list : {lvExif, lvIPTC}) {
        list->AddColumn(QStringLiteral("Attribute"), 100);
        list->AddColumn(QStringLiteral("Value"), 200);
    }
    lvIPTC->hide();
    auto makeBar = [this](int count, const QStringList& tips, auto& buttons) {
        auto* bar = new QWidget(PicMetadata);
        auto* column = new QVBoxLayout(bar);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(1);
        for (int i = 0; i < count; ++i)
            buttons[static_cast<size_t>(i)] = makeButton(bar, {}, tips.value(i), MetadataBarWidth);
        column->addStretch(1);
        bar->setFixedWidth(MetadataBarWidth);
        return bar;
    };
    picEXIFBar =
        makeBar(6,
                {QStringLiteral("Edit the selected EXIF tag"),
                 QStringLiteral("Create a new editable EXIF tag"),
                 QStringLiteral("Remove the selected EXIF tag from the image"),
                 QStringLiteral("Empty all EXIF tags from the image ( all EXIF tags will be "
                                "discarded)"),
                 QStringLiteral("Open an existing EXIF file (.XIFF)"),
                 QStringLiteral("Save the current EXIF tags from the image to file (.XIFF)")},
                cmdEXIFBar);
    picIPTCBar = makeBar(5,
                         {QStringLiteral("Edit the selected IPTC tag"),
                          QStringLiteral("Open an existing IPTC file (.FFO)"),
                          QStringLiteral("Save the current IPTC tags from the image to file "
                                         "(.FFO)"),
                          QStringLiteral("Delete the selected IPTC tag from the image"),
                          QStringLiteral("Empty all IPTC tags from the image (all tags will be "
                                         "discarded)")},
                         cmdIPTCBar);
    picIPTCBar->hide();

    ilMetadata = std::make_unique<ImageList>();
    ilMetadata->Add(editableMark(), EditableMarkKey);
    lvExif->setSmallIcons(ilMetadata.get());
    lvIPTC->setSmallIcons(ilMetadata.get());
    connect(tbsMetadata, &TabStrip::Click, this, &MetadataPane::tbsMetadata_Click);
    connect(lvExif, &ListView::ColumnClick, this, &MetadataPane::lvExif_ColumnClick);
    connect(lvIPTC, &ListView::ColumnClick, this, &MetadataPane::lvIPTC_ColumnClick);
    connect(lvExif, &ListView::DblClick, this, &MetadataPane::lvExif_DblClick);
    connect(lvIPTC, &ListView::DblClick, this, &MetadataPane::lvIPTC_DblClick);
    for (size_t i = 0; i < cmdEXIFBar.size(); ++i)
        connect(cmdEXIFBar[i], &QPushButton::clicked, this,
                [this, i] { cmdEXIFBar_Click(int(i)); });
    for (size_t i = 0; i < cmdIPTCBar.size(); ++i)
        connect(cmdIPTCBar[i], &QPushButton::clicked, this,
                [this, i] { cmdIPTCBar_Click(int(i)); });
}

// The picture list is a member, gone before the QWidget base takes the list views.
MetadataPane::~MetadataPane() {
    lvExif->setSmallIcons(nullptr);
    lvIPTC->setSmallIcons(nullptr);
}

QString MetadataPane::previewPath() const {
    return focus_.PicTiffTag;
}

void MetadataPane::clearLists() {
    lvExif->Clear();
    lvIPTC->Clear();
}

// EXIF lives in TIFF and JPEG files, IPTC in those and in Photoshop files, whose tab 1
// stays disabled; any other file shows no metadata pane.
void MetadataPane::showFileMetadata(ImageBox& box, const QString& file, const QString& extension) {
    skipFailure([&] {
        static const QStringList withExif{"tif", "tiff", "jpg", "jpeg", "jpe"};
        if (withExif.contains(extension)) {
            emit paneShowRequested(true, true);
            ReadFileEXIFInfo(box, lvExif, file);
            ReadFileIPTCInfo(box, lvIPTC, file);
            tbsMetadata->setSelectedItem(1);
            tbsMetadata->setTabEnabled(1, true);
        } else if (extension == QLatin1String("psd")) {
            emit paneShowRequested(true, false);
            ReadFileIPTCInfo(box, lvIPTC, file);
            tbsMetadata->setSelectedItem(2);
            tbsMetadata->setTabEnabled(1, false);
        } else {
            emit paneShowRequested(false, false);
            tbsMetadata->setTabEnabled(1, true);
        }
    });
    skipFailure([&] {
        QString text = QStringLiteral("Metadata - ");
        const bool exif = lvExif->Count() > 0;
        const bool iptc = box.HasIptc();
        if (exif)
            text += QStringLiteral("EXIF");
        if (iptc)
            text += QStringLiteral(" IPTC");
        window_.statusBar()
            ->Panel(QStringLiteral("metadata"))
            ->setText(exif || iptc ? text : QStringLiteral("No metadata"));
    });
}

void MetadataPane::ReadFileEXIFInfo(ImageBox& box, ListView* list, const QString& filePath) {
    picbasket::ReadFileEXIFInfo(box, list, filePath);
}

void MetadataPane::ReadFileIPTCInfo(ImageBox& box, ListView* list, const QString& filePath) {
    picbasket::ReadFileIPTCInfo(box, list, filePath);
}

// Tab 1 shows the EXIF list and its tool bar, tab 2 the IPTC list and its own.
void MetadataPane::tbsMetadata_Click() {
    const bool exif = tbsMetadata->SelectedItem() != 2;
    lvExif->setVisible(exif);
    picEXIFBar->setVisible(exif);
    lvIPTC->setVisible(!exif);
    picIPTCBar->setVisible(!exif);
    MetadataTab = exif ? 0 : 1;
}

void MetadataPane::lvExif_ColumnClick(int column) {
    subSortListViewByColumn(*lvExif, column);
}

void MetadataPane::lvIPTC_ColumnClick(int column) {
    subSortListViewByColumn(*lvIPTC, column);
}

void MetadataPane::lvExif_DblClick() {
    subEditAttribute();
}

void MetadataPane::lvIPTC_DblClick() {
    subEditAttribute();
}

// A failure leaves the image box as the file is; the lists are read again so
// their rows match it too.
void MetadataPane::cmdEXIFBar_Click(int index) {
    errorTail(QStringLiteral("FrmMain.cmdEXIFBar_Click"), [&] {
        switch (index) {
        case 0: return subEditAttribute();
        case 1: return subAddExifAttribute();
        case 2: return subDeleteAttribute();
        case 3: return subClearAllAttributes();
        case 4: fncOpenEXIF(lvExif, previewBox()); return;
        case 5: fncSaveEXIF(lvExif, previewBox()); return;
        default: raiseError(err::InvalidProcedureCall);
        }
    });
}

void MetadataPane::cmdIPTCBar_Click(int index) {
    errorTail(QStringLiteral("FrmMain.cmdIPTCBar_Click"), [&] {
        switch (index) {
        case 0: return subEditAttribute();
        case 1: return subOpenIPTCFile();
        case 2: return subSaveIPTCFile();
        case 3: return subDeleteAttribute();
        case 4: return subClearAllAttributes();
        default: raiseError(err::InvalidProcedureCall);
        }
    });
}

void MetadataPane::subAddExifAttribute() {
    errorTail(QStringLiteral("FrmMain.subAddExifAttribute"), [&] {
        CurrentActivity = QStringLiteral("Adding new metadata attribute!");
        if (MetadataTab == 1 || !fncTakesExif(previewPath()) ||
            !describesPreview(lvExif, previewPath()))
            return;
        frmExifNewAttribute dialog(lvExif, this);
        dialog.exec();
        if (!EditDialogResult ||
            !fncUpdateAttribute(previewPath(), false, EditAttributeName, EditAttributeValue,
                                previewBox()))
            return;
        ListView::Row row;
        row.text = EditAttributeName;
        row.tag = EditAttributeName;
        row.smallIconKey = EditableMarkKey;
        row.subItems = {EditAttributeValue};
        lvExif->setKey(lvExif->AddRow(row), EditAttributeName);
    });
    EditDialogResult = false;
}

void MetadataPane::subEditAttribute() {
    errorTail(QStringLiteral("FrmMain.subEditAttribute"), [&] {
        CurrentActivity = QStringLiteral("Editing EXIF/IPTC Metadata");
        const bool iptc = MetadataTab == 1;
        ListView* list = iptc ? lvIPTC : lvExif;
        const int row = list->SelectedItem();
        if (row < 1 || !describesPreview(list, previewPath()) ||
            (!iptc && list->Key(row).isEmpty()))
            return;
        EditAttributeName = iptc ? list->Text(row) : list->Tag(row);
        EditAttributeValue = list->SubItem(row, 1);
        ImageBox& box = previewBox();
        if (iptc && EditAttributeName == QLatin1String("Supplemental Categories")) {
            frmIPTCCategory dialog(this);
            dialog.subSetup(box);
            if (dialog.exec() == QDialog::Accepted)
                subUpdateIPTC_Category(dialog.lstSupCats, dialog.cboUrgency->currentText());
            return;
        }
        if (iptc && EditAttributeName == QLatin1String("Keywords")) {
            frmIPTCKeywords dialog(this);
            dialog.subSetup(box);
            if (dialog.exec() == QDialog::Accepted)
                subUpdateIPTC_Keywords(dialog.lstKeywords);
            return;
        }
        frmExifEditAttribute dialog(this);
        dialog.exec();
        if (!EditDialogResult ||
            !fncUpdateAttribute(previewPath(), iptc, EditAttributeName, EditAttributeValue, box))
            return;
        QString shown = EditAttributeValue;
        if (iptc && fncIsIPTCDateAttribute(EditAttributeName))
            if (const std::optional<DateText> date = fncParseDateText(shown))
                shown = fncDatePartText(date->value);
        list->setSubItem(row, 1, shown);
    });
    EditDialogResult = false;
}

void MetadataPane::subDeleteAttribute() {
    errorTail(QStringLiteral("FrmMain.subDeleteAttribute"), [&] {
        CurrentActivity = QStringLiteral("Deleting metadata EXIF/IPTC attribute");
        const bool iptc = MetadataTab == 1;
        ListView* list = iptc ? lvIPTC : lvExif;
        const int row = list->SelectedItem();
        if (row < 1 || !describesPreview(list, previewPath()))
            return;
        ImageBox& box = previewBox();
        if (!iptc) {
            if (!fncDeleteAttribute(list->Tag(row), box, list))
                msgBox(QStringLiteral("Error deleting attribute"), mb::OKOnly | mb::Critical);
            return;
        }
        if (list->SubItem(row, 1).trimmed().isEmpty())
            return;
        const QString name = list->Text(row);
        const bool isList = name == QLatin1String("Keywords") ||
                            name == QLatin1String("Supplemental Categories");
        const bool deleted = isList ? fncDeleteIPTC_Keywords_suppCat(previewPath(), name, box)
                                    : fncUpdateAttribute(previewPath(), true, name, QString(), box);
        if (!deleted) {
            msgBox(QStringLiteral("Error deleting the attribute!"), mb::OKOnly | mb::Critical);
            return;
        }
        list->setSubItem(row, 1, QString());
    });
}

void MetadataPane::subClearAllAttributes() {
    errorTail(QStringLiteral("FrmMain.subClearAllAttributes"), [&] {
        CurrentActivity = QStringLiteral("Clear all EXIF/IPTC Metadata");
        const bool iptc = MetadataTab == 1;
        ListView* list = iptc ? lvIPTC : lvExif;
        if (list->Count() == 0 || !describesPreview(list, previewPath()))
            return;
        const QString kind = iptc ? QStringLiteral("IPTC") : QStringLiteral("EXIF");
        const QString question =
            joinLines({QStringLiteral("All %1 metadata available in the current image will be "
                                      "deleted!")
                           .arg(kind),
                       QStringLiteral("Do you want to continue?")});
        if (msgBox(question, mb::YesNo | mb::Information) != mb::Yes)
            return;
        ImageBox& box = previewBox();
        const ImageMetadata before = box.MetadataSnapshot();
        try {
            iptc ? box.DeleteAllIptc() : box.DeleteAllExif();
            if (box.HasImage())
                box.SaveJpegMetadata(previewPath());
        } catch (...) {
            box.RestoreMetadata(before);
            throw;
        }
        if (!iptc)
            return lvExif->Clear();
        for (int row = 1; row <= lvIPTC->Count(); ++row)
            lvIPTC->setSubItem(row, 1, QString());
    });
}

namespace {

// Replaces one IPTC list in the box and writes the file; on a failure the box
// gets back what the file holds and the IPTC list is read again, then the error
// goes on to the caller's tail.
template <class Change>
void writeIptcChange(MetadataPane& pane, PreviewedFile& preview, const FileListFocus& focus,
                     Change&& change) {
    ImageBox& box = preview.previewBox();
    const ImageMetadata before = box.MetadataSnapshot();
    try {
        change(box);
        if (!subSaveMetadata(box, box.Tag()))
            raiseError(err::Unexpected,
                       QStringLiteral("\"%1\" cannot hold IPTC metadata.").arg(box.Tag()));
    } catch (...) {
        box.RestoreMetadata(before);
        pane.iptcList()->Clear();
        pane.ReadFileIPTCInfo(box, pane.iptcList(), focus.PicTiffTag);
        throw;
    }
}

} // namespace

void MetadataPane::subUpdateIPTC_Category(QListWidget* lstSupCats, const QString& urgency) {
    errorTail(QStringLiteral("FrmMain.subUpdateIPTC_Category"), [&] {
        const QStringList entries = listEntries(lstSupCats);
        writeIptcChange(*this, preview_, focus_, [&](ImageBox& box) {
            box.ClearIptcSupplementalCategories();
            for (const QString& entry : entries)
                box.AddIptcSupplementalCategory(entry);
            box.setIptcUrgency(urgency == QLatin1String("None") ? 0 : leadingNumber(urgency));
        });
        if (const int row = rowWithText(lvIPTC, QStringLiteral("Supplemental Categories")))
            lvIPTC->setSubItem(row, 1, entries.join(QLatin1Char(',')));
    });
}

void MetadataPane::subUpdateIPTC_Keywords(QListWidget* lstKeywords) {
    errorTail(QStringLiteral("FrmMain.subUpdateIPTC_Keywords"), [&] {
        const QStringList entries = listEntries(lstKeywords);
        writeIptcChange(*this, preview_, focus_, [&](ImageBox& box) {
            box.ClearIptcKeywords();
            for (const QString& entry : entries)
                box.AddIptcKeyword(entry);
        });
        if (const int row = rowWithText(lvIPTC, QStringLiteral("Keywords")))
            lvIPTC->setSubItem(row, 1, entries.join(QLatin1Char(',')));
    });
}

// A file that is no IPTC record stream changes nothing; the previewed file is
// written whatever the loaded set holds, so an empty set empties the file's too.
void MetadataPane::subOpenIPTCFile() {
    if (lvIPTC->Count() == 0 || !describesPreview(lvIPTC, previewPath()))
        return;
    ImageBox& box = previewBox();
    if (box.HasImage() && box.HasIptc() &&
        msgBox(joinLines({QStringLiteral("Loading a .ffo file will replace all IPTC metadata of "
                                         "the current image."),
                          QStringLiteral("Do you want to continue?")}),
               mb::YesNo | mb::Information) != mb::Yes)
        return;
    CommonDialog.DialogTitle = QStringLiteral("Open IPTC .ffo file");
    CommonDialog.FileName.clear();
    CommonDialog.Filter = QStringLiteral("IPTC File Info (*.ffo)|*.ffo");
    CommonDialog.Flags = 5;
    fncShowOpen();
    const QString file = CommonDialog.FileName;
    if (file.isEmpty())
        return;
    // Checked on a box of its own first, so a bad file reaches neither box nor file.
    try {
        ImageBox probe;
        probe.LoadIptcFromFile(file);
    } catch (const AppError&) {
        msgBox(joinLines({QStringLiteral("\"%1\" is no IPTC file or it is damaged.").arg(file),
                          QStringLiteral("The IPTC metadata of the current image was not "
                                         "changed.")}),
               mb::OKOnly | mb::Exclamation);
        return;
    }
    writeIptcChange(*this, preview_, focus_, [&](ImageBox& target) { target.LoadIptcFromFile(file); });
    lvIPTC->Clear();
    ReadFileIPTCInfo(box, lvIPTC, previewPath());
}

void MetadataPane::subSaveIPTCFile() {
    ImageBox& box = previewBox();
    if (lvIPTC->Count() == 0 || !box.HasImage())
        return;
    CommonDialog.DialogTitle = QStringLiteral("Save IPTC Information");
    CommonDialog.FileName.clear();
    CommonDialog.Filter = QStringLiteral("IPTC File Info (*.ffo)|*.ffo");
    CommonDialog.Flags = 5;
    fncShowSave();
    if (CommonDialog.FileName.isEmpty())
        return;
    box.SaveIptcToFile(addedExtension(CommonDialog.FileName, QStringLiteral(".ffo")));
}

void MetadataPane::layOut() {
    const int W = width(), H = height();
    const int T = tbsMetadata->TabFixedHeight();
    setControlWidth(lblMetadata, W);
    lblMetadata->move(0, 0);
    const int L = lblMetadata->height();
    placeControl(tbsMetadata, 0, L, W - picEXIFBar->width(), H - L);
    placeControl(lvExif, 2, tbsMetadata->y() + T + 4, tbsMetadata->width() - 6,
                 tbsMetadata->height() - T - 8);
    lvIPTC->setGeometry(lvExif->geometry());
    picEXIFBar->setGeometry(W - picEXIFBar->width(), L + T, picEXIFBar->width(),
                            std::max(0, H - L - T));
    picIPTCBar->setGeometry(picEXIFBar->x(), picEXIFBar->y(), picIPTCBar->width(),
                            picEXIFBar->height());
}

void MetadataPane::setButtonPictures() {
    const char* exif[] = {"picMetadataEdit", "picMetadataAdd", "IconEditbar3",
                          "IconEditbar0",    "IconEditbar1",   "IconEditbar2"};
    for (size_t i = 0; i < cmdEXIFBar.size(); ++i)
        subSetButtonPicture(cmdEXIFBar[i], fncMainWindowPicture(QString::fromLatin1(exif[i])));
    const char* iptc[] = {"picMetadataEdit", "IconEditbar1", "IconEditbar2", "IconEditbar3",
                          "IconEditbar0"};
    for (size_t i = 0; i < cmdIPTCBar.size(); ++i)
        subSetButtonPicture(cmdIPTCBar[i], fncMainWindowPicture(QString::fromLatin1(iptc[i])));
}

void MetadataPane::removeButtonPictures() {
    for (QPushButton* button : cmdEXIFBar)
        subRemoveButtonPicture(button);
    for (QPushButton* button : cmdIPTCBar)
        subRemoveButtonPicture(button);
}

} // namespace picbasket
