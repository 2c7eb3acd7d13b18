// The main window's metadata pane: the EXIF and IPTC lists, their tab strip, the
// readers that fill them, and the commands of the two tool bars that edit the
// previewed file's metadata.
#include "shell/mainwindow/frmMain.h"

#include "browser/modBasketList.h"
#include "controls/buttons/MainWindowPictures.h"
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
#include "platform/imagebox/ImageBoxView.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/TabStrip.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>

namespace picbasket {

namespace {

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

void frmMain::buildMetadataLists() {
    ilMetadata = std::make_unique<ImageList>();
    ilMetadata->Add(editableMark(), EditableMarkKey);
    lvExif->setSmallIcons(ilMetadata.get());
    lvIPTC->setSmallIcons(ilMetadata.get());
    connect(tbsMetadata, &TabStrip::Click, this, &frmMain::tbsMetadata_Click);
    connect(lvExif, &ListView::ColumnClick, this, &frmMain::lvExif_ColumnClick);
    connect(lvIPTC, &ListView::ColumnClick, this, &frmMain::lvIPTC_ColumnClick);
    connect(lvExif, &ListView::DblClick, this, &frmMain::lvExif_DblClick);
    connect(lvIPTC, &ListView::DblClick, this, &frmMain::lvIPTC_DblClick);
    for (size_t i = 0; i < cmdEXIFBar.size(); ++i)
        connect(cmdEXIFBar[i], &QPushButton::clicked, this,
                [this, i] { cmdEXIFBar_Click(int(i)); });
    for (size_t i = 0; i < cmdIPTCBar.size(); ++i)
        connect(cmdIPTCBar[i], &QPushButton::clicked, this,
                [this, i] { cmdIPTCBar_Click(int(i)); });
}

void frmMain::ReadFileEXIFInfo(ImageBox& box, ListView* list, const QString& filePath) {
    picbasket::ReadFileEXIFInfo(box, list, filePath);
}

void frmMain::ReadFileIPTCInfo(ImageBox& box, ListView* list, const QString& filePath) {
    picbasket::ReadFileIPTCInfo(box, list, filePath);
}

// Tab 1 shows the EXIF list and its tool bar, tab 2 the IPTC list and its own.
void frmMain::tbsMetadata_Click() {
    const bool exif = tbsMetadata->SelectedItem() != 2;
    lvExif->setVisible(exif);
    picEXIFBar->setVisible(exif);
    lvIPTC->setVisible(!exif);
    picIPTCBar->setVisible(!exif);
    MetadataTab = exif ? 0 : 1;
}

void frmMain::lvExif_ColumnClick(int column) {
    subSortListViewByColumn(*lvExif, column);
}

void frmMain::lvIPTC_ColumnClick(int column) {
    subSortListViewByColumn(*lvIPTC, column);
}

void frmMain::lvExif_DblClick() {
    subEditAttribute();
}

void frmMain::lvIPTC_DblClick() {
    subEditAttribute();
}

// A failure leaves the image box as the file is; the lists are read again so
// their rows match it too.
void frmMain::cmdEXIFBar_Click(int index) {
    errorTail(QStringLiteral("FrmMain.cmdEXIFBar_Click"), [&] {
        switch (index) {
        case 0: return subEditAttribute();
        case 1: return subAddExifAttribute();
        case 2: return subDeleteAttribute();
        case 3: return subClearAllAttributes();
        case 4: fncOpenEXIF(lvExif, ibMain->box()); return;
        case 5: fncSaveEXIF(lvExif, ibMain->box()); return;
        default: raiseError(err::InvalidProcedureCall);
        }
    });
}

void frmMain::cmdIPTCBar_Click(int index) {
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

void frmMain::subAddExifAttribute() {
    errorTail(QStringLiteral("FrmMain.subAddExifAttribute"), [&] {
        CurrentActivity = QStringLiteral("Adding new metadata attribute!");
        if (MetadataTab == 1 || !fncTakesExif(PicTiffTag) || !describesPreview(lvExif, PicTiffTag))
            return;
        frmExifNewAttribute dialog(lvExif, this);
        dialog.exec();
        if (!EditDialogResult ||
            !fncUpdateAttribute(PicTiffTag, false, EditAttributeName, EditAttributeValue,
                                ibMain->box()))
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

void frmMain::subEditAttribute() {
    errorTail(QStringLiteral("FrmMain.subEditAttribute"), [&] {
        CurrentActivity = QStringLiteral("Editing EXIF/IPTC Metadata");
        const bool iptc = MetadataTab == 1;
        ListView* list = iptc ? lvIPTC : lvExif;
        const int row = list->SelectedItem();
        if (row < 1 || !describesPreview(list, PicTiffTag) || (!iptc && list->Key(row).isEmpty()))
            return;
        EditAttributeName = iptc ? list->Text(row) : list->Tag(row);
        EditAttributeValue = list->SubItem(row, 1);
        ImageBox& box = ibMain->box();
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
            !fncUpdateAttribute(PicTiffTag, iptc, EditAttributeName, EditAttributeValue, box))
            return;
        QString shown = EditAttributeValue;
        if (iptc && fncIsIPTCDateAttribute(EditAttributeName))
            if (const std::optional<DateText> date = fncParseDateText(shown))
                shown = fncDatePartText(date->value);
        list->setSubItem(row, 1, shown);
    });
    EditDialogResult = false;
}

void frmMain::subDeleteAttribute() {
    errorTail(QStringLiteral("FrmMain.subDeleteAttribute"), [&] {
        CurrentActivity = QStringLiteral("Deleting metadata EXIF/IPTC attribute");
        const bool iptc = MetadataTab == 1;
        ListView* list = iptc ? lvIPTC : lvExif;
        const int row = list->SelectedItem();
        if (row < 1 || !describesPreview(list, PicTiffTag))
            return;
        ImageBox& box = ibMain->box();
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
        const bool deleted = isList ? fncDeleteIPTC_Keywords_suppCat(PicTiffTag, name, box)
                                    : fncUpdateAttribute(PicTiffTag, true, name, QString(), box);
        if (!deleted) {
            msgBox(QStringLiteral("Error deleting the attribute!"), mb::OKOnly | mb::Critical);
            return;
        }
        list->setSubItem(row, 1, QString());
    });
}

void frmMain::subClearAllAttributes() {
    errorTail(QStringLiteral("FrmMain.subClearAllAttributes"), [&] {
        CurrentActivity = QStringLiteral("Clear all EXIF/IPTC Metadata");
        const bool iptc = MetadataTab == 1;
        ListView* list = iptc ? lvIPTC : lvExif;
        if (list->Count() == 0 || !describesPreview(list, PicTiffTag))
            return;
        const QString kind = iptc ? QStringLiteral("IPTC") : QStringLiteral("EXIF");
        const QString question =
            joinLines({QStringLiteral("All %1 metadata available in the current image will be "
                                      "deleted!")
                           .arg(kind),
                       QStringLiteral("Do you want to continue?")});
        if (msgBox(question, mb::YesNo | mb::Information) != mb::Yes)
            return;
        ImageBox& box = ibMain->box();
        const ImageMetadata before = box.MetadataSnapshot();
        try {
            iptc ? box.DeleteAllIptc() : box.DeleteAllExif();
            if (box.HasImage())
                box.SaveJpegMetadata(PicTiffTag);
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
void writeIptcChange(frmMain& window, Change&& change) {
    ImageBox& box = window.ibMain->box();
    const ImageMetadata before = box.MetadataSnapshot();
    try {
        change(box);
        if (!subSaveMetadata(box, box.Tag()))
            raiseError(err::Unexpected,
                       QStringLiteral("\"%1\" cannot hold IPTC metadata.").arg(box.Tag()));
    } catch (...) {
        box.RestoreMetadata(before);
        window.lvIPTC->Clear();
        window.ReadFileIPTCInfo(box, window.lvIPTC, window.PicTiffTag);
        throw;
    }
}

} // namespace

void frmMain::subUpdateIPTC_Category(QListWidget* lstSupCats, const QString& urgency) {
    errorTail(QStringLiteral("FrmMain.subUpdateIPTC_Category"), [&] {
        const QStringList entries = listEntries(lstSupCats);
        writeIptcChange(*this, [&](ImageBox& box) {
            box.ClearIptcSupplementalCategories();
            for (const QString& entry : entries)
                box.AddIptcSupplementalCategory(entry);
            box.setIptcUrgency(urgency == QLatin1String("None") ? 0 : leadingNumber(urgency));
        });
        if (const int row = rowWithText(lvIPTC, QStringLiteral("Supplemental Categories")))
            lvIPTC->setSubItem(row, 1, entries.join(QLatin1Char(',')));
    });
}

void frmMain::subUpdateIPTC_Keywords(QListWidget* lstKeywords) {
    errorTail(QStringLiteral("FrmMain.subUpdateIPTC_Keywords"), [&] {
        const QStringList entries = listEntries(lstKeywords);
        writeIptcChange(*this, [&](ImageBox& box) {
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
void frmMain::subOpenIPTCFile() {
    if (lvIPTC->Count() == 0 || !describesPreview(lvIPTC, PicTiffTag))
        return;
    ImageBox& box = ibMain->box();
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
    writeIptcChange(*this, [&](ImageBox& target) { target.LoadIptcFromFile(file); });
    lvIPTC->Clear();
    ReadFileIPTCInfo(box, lvIPTC, PicTiffTag);
}

void frmMain::subSaveIPTCFile() {
    ImageBox& box = ibMain->box();
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

} // namespace picbasket
