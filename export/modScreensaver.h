#pragma once
#include "core/OleColor.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>

class QWidget;

namespace picbasket {

class BasketRows;
class ImageBox;
class ProgressIndicator;
class TaskListSelection;
class TaskRowList;

// The generators of stand-alone programs: a slide show or a screensaver of the
// image basket, or a program of one image (a greeting or a one-image screensaver).
// Each output is one of the three players (the resources ":/plugins/SLIDESHOW",
// ":/plugins/SCREENSAVER", ":/plugins/GREETING") followed by the images as JPEG
// files, the slide show's options record, the content list and the trailer of
// players/ProgramLayout.h. "plugin.tmp", the temporary JPEGs and the ".lst" files
// live in the run's private temporary folder. The output is written under a
// temporary name, renamed over the chosen name only when whole, and made
// executable (mode 0755); a failure leaves no file behind.

struct typSlideShowOptions {
    OleColor BackColor = 0;
    int16_t Interval = 3;
};

// The page colour and interval the slide-show dialog fills before MkSlideShow.
inline typSlideShowOptions SlideShowParams;

// The wait dialog as the generators drive it.
class GeneratorWait {
public:
    virtual ~GeneratorWait() = default;
    // Shows it (owned by the main window, modeless) with the cancel flag cleared.
    virtual void showWaiting() = 0;
    virtual void setStatus(const QString& text) = 0;
    virtual void setMessage(const QString& text) = 0;
    virtual ProgressIndicator& progress() = 0;
    virtual void closeWaiting() = 0;
};

// What the generators read of the main window: the task basket (its two visible
// lists and the executable rows), the image basket, the wait dialog, the window
// that owns the dialogs, and the file the preview shows.
struct GeneratorSources {
    QWidget* owner = nullptr;
    const TaskListSelection* lvEdit = nullptr;
    const TaskRowList* lvEditBatch = nullptr;
    const TaskListSelection* lvEditPreview = nullptr;
    const BasketRows* lvPages = nullptr;
    GeneratorWait* wait = nullptr;
    QString previewedFile;
};

// Writes the named player to "plugin.tmp" and returns its path; "" after an error
// (reported under "fncGetExtractPluginPath").
QString fncGetExtractPluginPath(const QString& name);

// Prepares one image as the temporary JPEG "temp000" & number & ".jpg" in the
// working box (cleared first, so no image carries the EXIF of the one before),
// with the task basket run up to the selected task row when applyTasks is 1.
// Returns its path, or "" when the image could not be prepared.
QString SaveTempJPEG(const GeneratorSources& sources, ImageBox& box, const QString& imagePath,
                     int number, int16_t& quality, uint8_t& applyTasks);

// A program of one image from the template file. An existing output is replaced
// after the question when ask is true, without it otherwise; No writes nothing.
// An image that cannot be prepared is reported and leaves no file.
void subMakeSingleScreensaver(const GeneratorSources& sources, const QString& templatePath,
                              const QString& outputPath, const QString& imagePath, int16_t& quality,
                              uint8_t& applyTasks, bool ask);

// A screensaver of the whole image basket, with Setup.Screensaver's quality and
// task flag. Rows whose file is gone are skipped; Cancel in the wait dialog stops
// taking rows and the file is finished with the images taken.
void subGenerateScreenSaver(const GeneratorSources& sources, const QString& templatePath,
                            const QString& outputPath, bool ask);

// A slide show of the whole image basket with SlideShowParams: asks for the name
// itself (".run" appended when missing; No to replacing asks again).
void MkSlideShow(const GeneratorSources& sources, int16_t& quality, uint8_t& applyTasks);

// The bytes of a player by resource name; tests put their own templates in.
using PluginSource = std::function<QByteArray(const QString& name)>;
PluginSource setPluginSource(PluginSource source);

// How an image becomes its temporary JPEG (SaveTempJPEG unless a test sets another).
using ImagePreparer =
    std::function<QString(const GeneratorSources& sources, ImageBox& box, const QString& imagePath,
                          int number, int16_t& quality, uint8_t& applyTasks)>;
ImagePreparer setImagePreparer(ImagePreparer preparer);

} // namespace picbasket
