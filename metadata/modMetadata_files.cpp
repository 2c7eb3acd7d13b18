// EXIF attribute files (".xiff"): the editable EXIF attributes of the previewed
// image saved to a file, and such a file loaded into another image.
#include "metadata/modMetadata.h"

#include "controls/dialogs/modCommonDialog.h"
#include "core/AppError.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/MessageBox.h"
#include "metadata/clsFileEXIF.h"
#include "platform/comctl/ListView.h"
#include "platform/imagebox/ImageBox.h"

#include <utility>
#include <vector>

namespace picbasket {

namespace {

using Pair = std::pair<QString, QString>;

QString chosenFile(bool save, const QString& title, const QString& filter) {
    CommonDialog.DialogTitle = title;
    CommonDialog.FileName.clear();
    CommonDialog.Filter = filter;
    CommonDialog.Flags = 5;
    save ? fncShowSave() : fncShowOpen();
    return CommonDialog.FileName;
}

// The table's spelling of an editable attribute, whatever the case and blanks of
// the name in the file; empty for every other attribute.
QString editableName(const QString& name) {
    for (const QString& entry : EditableExifNames)
        if (entry.toLower() == name.trimmed().toLower())
            return entry;
    return {};
}

std::vector<Pair> readPairs(clsFileEXIF& file) {
    std::vector<Pair> pairs;
    while (!file.fEof()) {
        Pair pair;
        file.ReadEXIF(pair.first, pair.second);
        pairs.push_back(pair);
    }
    file.closefile();
    return pairs;
}

// Sets the editable attributes of the pairs in the box and writes the file once;
// a pair the box refuses is passed over. Gives the pairs that were set.
std::vector<Pair> applyPairs(ImageBox& box, const QString& path, const std::vector<Pair>& pairs) {
    std::vector<Pair> applied;
    const ImageMetadata before = box.MetadataSnapshot();
    try {
        for (const auto& [name, value] : pairs) {
            const QString editable = editableName(name);
            if (!editable.isEmpty() && fncSetAttribute(box, false, editable, value))
                applied.emplace_back(editable, value);
        }
        if (!applied.empty())
            subSaveMetadata(box, path);
    } catch (...) {
        box.RestoreMetadata(before);
        throw;
    }
    return applied;
}

void showPair(ListView& list, const QString& name, const QString& value) {
    bool matched = false;
    for (int row = 1; row <= list.Count(); ++row) {
        if (!list.Key(row).isEmpty() && list.Key(row).toLower() == name.toLower()) {
            list.setSubItem(row, 1, value);
            matched = true;
        }
    }
    if (matched)
        return;
    ListView::Row row;
    const QString shown = fncFormattedAttributed(name.trimmed());
    row.text = shown.isEmpty() ? name : shown;
    row.tag = name;
    row.smallIconKey = EditableMarkKey;
    row.subItems = {value};
    list.setKey(list.AddRow(row), name);
}

} // namespace

bool fncSaveEXIF(ListView* list, ImageBox& box) {
    bool saved = false;
    errorTail(QStringLiteral("modMetadata.fncSaveEXIF"), [&] {
        if (!list || list->Count() == 0 || !box.HasImage())
            return;
        QString path = chosenFile(true, QStringLiteral("Save EXIF Information to file"),
                                  QStringLiteral("EXIF File (*.xiff)|*.xiff"));
        if (path.isEmpty())
            return;
        if (path.right(5).toLower() != QLatin1String(".xiff"))
            path += QStringLiteral(".xiff");
        clsFileEXIF file;
        if (!file.OpenForWrite(path))
            raiseError(err::DeviceIO, QStringLiteral("Cannot write \"%1\".").arg(path));
        int written = 0;
        for (int row = 1; row <= list->Count(); ++row) {
            if (list->Key(row).isEmpty())
                continue;
            file.WriteEXIF(list->Key(row), list->SubItem(row, 1));
            ++written;
        }
        file.closefile(true);
        if (written == 0) {
            msgBox(joinLines({QStringLiteral("There is no user editable EXIF attributes in this "
                                             "current image!"),
                              QStringLiteral("Either create new attribute or select another image "
                                             "having editable attribute.")}),
                   mb::OKOnly | mb::Information);
            return;
        }
        saved = true;
    });
    return saved;
}

bool fncOpenEXIF(ListView* list, ImageBox& box) {
    bool opened = false;
    errorTail(QStringLiteral("modMetadata.fncOpenEXIF"), [&] {
        const QString target = box.Tag();
        if (!list || !box.HasImage() || target.isEmpty())
            return;
        if (!fncTakesExif(target)) {
            msgBox(joinLines({QStringLiteral("EXIF attributes can be loaded only into a JPEG or "
                                             "TIFF image."),
                              QStringLiteral("The current image was not changed.")}),
                   mb::OKOnly | mb::Information);
            return;
        }
        if (list->Count() > 0 &&
            msgBox(joinLines({QStringLiteral("Loading a .xiff will only overwrite user editable "
                                             "EXIF attributes!"),
                              QStringLiteral("Do you want to continue?")}),
                   mb::YesNo | mb::Information) != mb::Yes)
            return;
        const QString path = chosenFile(false, QStringLiteral("Open EXIF .xiff file"),
                                        QStringLiteral("EXIF file (*.xiff)|*.xiff"));
        if (path.isEmpty())
            return;
        clsFileEXIF file;
        if (!file.OpenForRead(path)) {
            msgBox(joinLines({QStringLiteral("\"%1\" is no EXIF attribute file or it cannot be "
                                             "read:")
                                  .arg(path),
                              file.ReadError(),
                              QStringLiteral("The current image was not changed.")}),
                   mb::OKOnly | mb::Exclamation);
            return;
        }
        for (const auto& [name, value] : applyPairs(box, target, readPairs(file)))
            showPair(*list, name, value);
        opened = true;
    });
    return opened;
}

} // namespace picbasket
