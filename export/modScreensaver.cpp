#include "export/modScreensaver.h"

#include "controls/dialogs/modCommonDialog.h"
#include "core/AppError.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/MessageBox.h"
#include "core/modFileSystem.h"
#include "core/setup/modSetup.h"
#include "engine/batch/BasketRows.h"
#include "engine/batch/ProgressIndicator.h"
#include "engine/loading/modBitmapPro.h"
#include "engine/tasks/modTaskEngine.h"
#include "platform/imagebox/ImageBox.h"
#include "players/ProgramLayout.h"
#include "players/clsDemoClock.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <stdexcept>
#include <utility>

// The players are embedded in a static library; this pulls its resources in.
static void initPluginResources() {
    Q_INIT_RESOURCE(plugins);
}

namespace picbasket {

namespace {

// OFN_READONLY | OFN_HIDEREADONLY
constexpr int32_t SaveFlags = 5;
// The extension generated programs take in place of ".exe", which file managers
// would hand to a Windows emulator.
const QString ProgramExtension = QStringLiteral(".run");

// The demo clock's refusals go to a message box in the program.
const bool DemoClockReporterSet = [] {
    clsDemoClock::setReporter([](const QString& message) { msgBox(message); });
    return true;
}();

QByteArray embeddedPlugin(const QString& name) {
    static const bool initialised = (initPluginResources(), true);
    (void)initialised;
    QFile resource(QStringLiteral(":/plugins/") + name);
    if (!resource.open(QIODevice::ReadOnly))
        throw AppError(err::FileNotFound, QStringLiteral("The plugin '%1' is missing.").arg(name));
    return resource.readAll();
}

PluginSource& pluginSource() {
    static PluginSource source = embeddedPlugin;
    return source;
}

ImagePreparer& imagePreparer() {
    static ImagePreparer preparer = SaveTempJPEG;
    return preparer;
}

QString pluginTempPath() {
    return fncGetTempPath() + QStringLiteral("plugin.tmp");
}

QByteArray readWhole(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(err::FileNotFound, QStringLiteral("File not found: '%1'").arg(path));
    return file.readAll();
}

void writeWhole(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw AppError(err::PermissionDenied,
                       QStringLiteral("Cannot write '%1': %2").arg(path, file.errorString()));
}

// The template written to "plugin.tmp": the old one deleted first, then the bytes.
QString extractPlugin(const QString& name) {
    const QString path = pluginTempPath();
    QFile::remove(path);
    writeWhole(path, pluginSource()(name));
    return path;
}

// "This File ('...') Already Exists!" with the question's last line; true when the
// writer may go on. The old file stays until the new one is whole.
bool mayReplace(const QString& path, const QString& question, bool ask) {
    if (!fncFileExists(path) || !ask)
        return true;
    return msgBox(joinLines(
                      {QStringLiteral("This File ('") + path + QStringLiteral("') Already Exists!"),
                       question}),
                  mb::YesNo + mb::Question) == mb::Yes;
}

// The output of one writer, the common steps: the template and its zero byte, the
// images, the list, the trailer. The list is kept in its ".lst" file as it grows
// and read back at the end. Nothing reaches the output name before commit().
class ProgramFile {
public:
    ProgramFile(const QString& outputPath, const QString& listName)
        : out_(outputPath), list_(fncGetTempPath() + listName), writer_(out_) {}

    void begin(const QString& templatePath) {
        const QByteArray templateBytes = readWhole(templatePath);
        if (!out_.open(QIODevice::WriteOnly))
            throw AppError(
                err::PermissionDenied,
                QStringLiteral("Cannot write '%1': %2").arg(out_.fileName(), out_.errorString()));
        run([&] { writer_.writeTemplate(templateBytes); });
        if (!list_.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw AppError(
                err::PermissionDenied,
                QStringLiteral("Cannot write '%1': %2").arg(list_.fileName(), list_.errorString()));
    }

    void addImage(const QString& name, const QString& sourcePath, const QString& jpegPath) {
        const QByteArray jpeg = readWhole(jpegPath);
        CurrentActivity = QStringLiteral("Current file - '") + sourcePath + QLatin1Char('\'');
        run([&] { writeList(writer_.appendImage(name, jpeg)); });
        QFile::remove(jpegPath);
    }

    void addOptions(const typSlideShowOptions& options) {
        run([&] {
            writeList(writer_.appendOptions({int32_t(options.BackColor), options.Interval}));
        });
    }

    void commit() {
        list_.close();
        const QByteArray list = readWhole(list_.fileName());
        run([&] { writer_.finish(list); });
        const QFileDevice::Permissions executable =
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
            QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
            QFileDevice::ExeOther;
        out_.setPermissions(executable);
        if (!out_.commit())
            throw AppError(
                err::PermissionDenied,
                QStringLiteral("Cannot write '%1': %2").arg(out_.fileName(), out_.errorString()));
        QFile::setPermissions(out_.fileName(), executable);
    }

private:
    template <class Step> void run(Step&& step) {
        try {
            step();
        } catch (const std::runtime_error& e) {
            throw AppError(err::DeviceIO, QString::fromStdString(e.what()));
        }
    }
    void writeList(const QByteArray& line) {
        if (list_.write(line) != line.size())
            throw AppError(err::DeviceIO, list_.errorString());
    }

    QSaveFile out_;
    QFile list_;
    layout::ProgramLayoutWriter writer_;
};

// Closes the wait dialog however the writer ends.
class WaitShown {
public:
    explicit WaitShown(GeneratorWait* wait, const QString& status) : wait_(wait) {
        if (!wait_)
            return;
        wait_->showWaiting();
        wait_->setStatus(status);
        wait_->progress().setVisible(false);
    }
    ~WaitShown() {
        if (wait_)
            wait_->closeWaiting();
    }
    WaitShown(const WaitShown&) = delete;
    WaitShown& operator=(const WaitShown&) = delete;

private:
    GeneratorWait* wait_;
};

// The basket loop of the screensaver and the slide show: each row shown in the
// wait dialog, events let run, Cancel honoured before the row is taken, rows whose
// file is gone skipped, the rest prepared and appended under the row's text.
void addBasketImages(const GeneratorSources& sources, ProgramFile& file, ImageBox& box,
                     int16_t& quality, uint8_t& applyTasks) {
    const int count = sources.lvPages ? sources.lvPages->count() : 0;
    GeneratorWait* wait = sources.wait;
    if (wait) {
        wait->progress().setMaximum(count);
        wait->progress().setValue(0);
        wait->progress().setVisible(true);
    }
    for (int i = 1; i <= count; ++i) {
        const BasketRow& row = sources.lvPages->row(i - 1);
        if (wait)
            wait->setMessage(row.Text);
        QCoreApplication::processEvents();
        if (CancelOperation) {
            CancelOperation = false;
            break;
        }
        const QString source = row.Tag;
        if (fncFileExists(source)) {
            const QString jpeg = imagePreparer()(sources, box, source, i, quality, applyTasks);
            if (!jpeg.isEmpty())
                file.addImage(row.Text, source, jpeg);
        }
        if (wait)
            wait->progress().setValue(i);
    }
    if (wait) {
        wait->setStatus(QStringLiteral("Saving Options..."));
        wait->progress().setVisible(false);
    }
}

bool isProgramExtension(const QString& name, const QString& extension) {
    return name.toLower().endsWith(extension);
}

} // namespace

PluginSource setPluginSource(PluginSource source) {
    return std::exchange(pluginSource(), source ? std::move(source) : PluginSource(embeddedPlugin));
}

ImagePreparer setImagePreparer(ImagePreparer preparer) {
    return std::exchange(imagePreparer(),
                         preparer ? std::move(preparer) : ImagePreparer(SaveTempJPEG));
}

QString fncGetExtractPluginPath(const QString& name) {
    QString path;
    errorTail(QStringLiteral("fncGetExtractPluginPath"), [&] {
        CurrentActivity =
            QStringLiteral("Extracting plugin '") + name + QStringLiteral("' from resource file");
        path = extractPlugin(name);
    });
    return path;
}

QString SaveTempJPEG(const GeneratorSources& sources, ImageBox& box, const QString& imagePath,
                     int number, int16_t& quality, uint8_t& applyTasks) {
    QString result;
    errorTail(QStringLiteral("modScreensaver.SaveTempJPEG"), [&] {
        const QString target = fncGetTempPath() + QStringLiteral("temp000") +
                               QString::number(number) + QStringLiteral(".jpg");
        box.Clear();
        box.setColorFormat(0);
        static const QStringList boxFormats = {"tiff", "tif", "jpeg", "jpg", "psd",
                                               "bmp",  "pcx", "gif",  "png"};
        if (boxFormats.contains(fncGetFileExtension(imagePath).toLower())) {
            box.LoadFromFile(imagePath);
        } else {
            int32_t w = 0, h = 0;
            const QImage picture =
                LoadPic(imagePath, sizemode::Original, -1, -1, rgbOle(255, 255, 255), w, h);
            if (picture.isNull())
                return;
            box.setBitmapHandle(picture);
        }
        if (applyTasks == 1 && sources.lvEditBatch)
            subProcessPages(sources.lvEdit, *sources.lvEditBatch, box, sources.lvEditPreview,
                            false);
        if (!box.HasImage())
            return;
        box.setJpegQuality(quality);
        box.SaveToFile(target);
        result = target;
    });
    return result;
}

void subMakeSingleScreensaver(const GeneratorSources& sources, const QString& templatePath,
                              const QString& outputPath, const QString& imagePath, int16_t& quality,
                              uint8_t& applyTasks, bool ask) {
    errorTail(QStringLiteral("subMakeSingleScreensaver"), [&] {
        if (!mayReplace(outputPath, QStringLiteral("Would You Like To Replace It?"), ask))
            return;
        ImageBox box;
        const QString jpeg = imagePreparer()(sources, box, imagePath, 1, quality, applyTasks);
        if (jpeg.isEmpty()) {
            msgBox(joinLines({QStringLiteral("The image '") + imagePath +
                                  QStringLiteral("' could not be prepared."),
                              QStringLiteral("No file was written.")}),
                   mb::Exclamation);
            return;
        }
        ProgramFile file(outputPath, QStringLiteral("ImageExe.lst"));
        file.begin(templatePath);
        file.addImage(QStringLiteral("Single"), imagePath, jpeg);
        file.commit();
    });
}

void subGenerateScreenSaver(const GeneratorSources& sources, const QString& templatePath,
                            const QString& outputPath, bool ask) {
    errorTail(QStringLiteral("modScreensaver.subGenerateScreenSaver"), [&] {
        if (!mayReplace(outputPath, QStringLiteral("Would You Like To Replace It?"), ask))
            return;
        WaitShown wait(sources.wait, QStringLiteral("Loading Template..."));
        ProgramFile file(outputPath, QStringLiteral("Saver.lst"));
        file.begin(templatePath);
        ImageBox box;
        addBasketImages(sources, file, box, picbasket::Setup.Screensaver.Quality,
                        picbasket::Setup.Screensaver.ProcessTasks);
        file.commit();
    });
}

void MkSlideShow(const GeneratorSources& sources, int16_t& quality, uint8_t& applyTasks) {
    errorTail(QStringLiteral("modScreensaver.MkSlideShow"), [&] {
        QString name;
        for (;;) {
            CommonDialog.hWndOwner = sources.owner;
            CommonDialog.DialogTitle = QStringLiteral("Save Slide As...");
            CommonDialog.Filter = QStringLiteral("Slide (*.run) | *.run|All Files (*.*) | *.*");
            CommonDialog.FileName.clear();
            CommonDialog.Flags = SaveFlags;
            fncShowSave();
            name = CommonDialog.FileName;
            if (name.isEmpty())
                return;
            if (!isProgramExtension(name, ProgramExtension))
                name += ProgramExtension;
            if (mayReplace(name, QStringLiteral("Would You Like To Overwrite It?"), true))
                break;
        }
        WaitShown wait(sources.wait, QStringLiteral("Loading plugin..."));
        const QString templatePath = extractPlugin(QStringLiteral("SLIDESHOW"));
        ProgramFile file(name, QStringLiteral("SlideShow.lst"));
        file.begin(templatePath);
        ImageBox box;
        addBasketImages(sources, file, box, quality, applyTasks);
        file.addOptions(SlideShowParams);
        file.commit();
        QFile::remove(templatePath);
    });
}

} // namespace picbasket
