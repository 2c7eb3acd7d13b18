#include "core/setup/SetupRanges.h"
#include "core/setup/SetupLayout.h"

#include <QPageSize>
#include <cstdint>

namespace picbasket {

namespace {

// Collects the first member found outside its range.
class RangeJudge {
public:
    void range(const char* member, int64_t value, int64_t low, int64_t high) {
        if (fault_.isEmpty() && (value < low || value > high))
            fault_ = QStringLiteral("%1: %2 (%3 to %4)")
                         .arg(QLatin1String(member))
                         .arg(value)
                         .arg(low)
                         .arg(high);
    }
    // An option group of two buttons, a check box or a two-row list.
    void twoWay(const char* member, int64_t value) { range(member, value, 0, 1); }
    void oneOf(const char* member, int64_t value, std::initializer_list<int64_t> allowed) {
        for (const int64_t v : allowed)
            if (v == value)
                return;
        if (fault_.isEmpty())
            fault_ = QStringLiteral("%1: %2 (not an allowed value)")
                         .arg(QLatin1String(member))
                         .arg(value);
    }
    // A plain colour 0x00BBGGRR or a system colour 0x800000nn.
    void colour(const char* member, OleColor value) {
        const bool plain = value <= 0x00FFFFFFu;
        const bool system = (value & 0xFFFFFF00u) == SystemColorFlag;
        if (fault_.isEmpty() && !plain && !system)
            fault_ = QStringLiteral("%1: 0x%2 (no colour)")
                         .arg(QLatin1String(member))
                         .arg(value, 8, 16, QLatin1Char('0'));
    }
    void between(const char* member, double value, double low, double high) {
        if (fault_.isEmpty() && !(value >= low && value <= high))
            fault_ = QStringLiteral("%1: %2 (%3 to %4)")
                         .arg(QLatin1String(member))
                         .arg(value)
                         .arg(low)
                         .arg(high);
    }
    template <class Array> void widths(const char* member, const Array& columns) {
        for (const auto width : columns)
            range(member, width, 0, INT16_MAX);
    }
    QString fault() const { return fault_; }

private:
    QString fault_;
};

// The save dialog's options panel: option buttons, lists and the two sliders.
void judgeSaveOptions(RangeJudge& j, const typSaveOptions& o) {
    const typFormatOptions& f = o.Formats;
    j.twoWay("SaveOptions.Formats.JPG.ColorDepth", f.JPG.ColorDepth);
    j.range("SaveOptions.Formats.JPG.Quality", f.JPG.Quality, 1, 100);
    j.twoWay("SaveOptions.Formats.JPG.Encoding", f.JPG.Encoding);
    j.twoWay("SaveOptions.Formats.JPEG2000.Lossy", f.JPEG2000.Lossy);
    j.range("SaveOptions.Formats.JPEG2000.Rate", f.JPEG2000.Rate, 1, 25);
    j.twoWay("SaveOptions.Formats.GIF.Compression", f.GIF.Compression);
    j.twoWay("SaveOptions.Formats.GIF.Transparent", f.GIF.Transparent);
    j.colour("SaveOptions.Formats.GIF.TransparentColor", f.GIF.TransparentColor);
    j.twoWay("SaveOptions.Formats.PNG.ColorDepth", f.PNG.ColorDepth);
    j.twoWay("SaveOptions.Formats.PNG.Transparent", f.PNG.Transparent);
    j.colour("SaveOptions.Formats.PNG.TransparentColor", f.PNG.TransparentColor);
    j.twoWay("SaveOptions.Formats.PNM.Format", f.PNM.Format);
    j.range("SaveOptions.Formats.TIFF.Compression", f.TIFF.Compression, 0, 6);
    j.twoWay("SaveOptions.ProcessTasks", o.ProcessTasks);
    j.twoWay("SaveOptions.AppendMode", o.AppendMode);
    j.twoWay("SaveOptions.OutputMode", o.OutputMode);
}

// The batch options dialog.
void judgeBatchSave(RangeJudge& j, const typBatchSave& b) {
    j.twoWay("BatchSave.Lossy", b.Lossy);
    j.range("BatchSave.Rate", b.Rate, 1, 25);
    j.twoWay("BatchSave.Codestream", b.Codestream);
    j.range("BatchSave.NameMode", b.NameMode, 0, 2);
    j.twoWay("BatchSave.DestinationMode", b.DestinationMode);
    j.twoWay("BatchSave.Overwrite", b.Overwrite);
    j.twoWay("BatchSave.ProcessTasks", b.ProcessTasks);
}

// The main window's layout, its menus and lists, and the settings dialog. A
// splitter keeps its bar between its limits of 10 and 90 percent.
void judgeWindowLayout(RangeJudge& j, const typSetup& s) {
    j.range("Splitters.Main", s.Splitters.Main, 10, 90);
    j.range("Splitters.Right", s.Splitters.Right, 10, 90);
    j.range("Splitters.Left", s.Splitters.Left, 10, 90);
    j.range("Splitters.View", s.Splitters.View, 10, 90);
    j.twoWay("Preview.Fit", s.Preview.Fit);
    j.twoWay("Preview.Type", s.Preview.Type);
    j.oneOf("FolderList.ViewMode", s.FolderList.ViewMode, {0, 3});
    j.widths("FolderList.ColumnWidth", s.FolderList.ColumnWidth);
    j.range("FolderList.ThumbnailWidth", s.FolderList.ThumbnailWidth, 20, 300);
    j.range("FolderList.ThumbnailHeight", s.FolderList.ThumbnailHeight, 20, 300);
    j.twoWay("FolderList.FileSizeFormat", s.FolderList.FileSizeFormat);
    j.widths("BasketList.ColumnWidth", s.BasketList.ColumnWidth);
    j.range("BasketList.ThumbnailWidth", s.BasketList.ThumbnailWidth, 20, 300);
    j.range("BasketList.ThumbnailHeight", s.BasketList.ThumbnailHeight, 20, 300);
    j.widths("MetadataLists.ExifColumnWidth", s.MetadataLists.ExifColumnWidth);
    j.widths("MetadataLists.IptcColumnWidth", s.MetadataLists.IptcColumnWidth);
}

// Resize, canvas, rotate and the tone sliders.
void judgeGeometryAndTone(RangeJudge& j, const typTaskDefaults& t) {
    j.twoWay("TaskDefaults.ResizeMode", t.ResizeMode);
    j.twoWay("TaskDefaults.ResizeKeepRatio", t.ResizeKeepRatio);
    j.twoWay("TaskDefaults.ResizeResample", t.ResizeResample);
    j.colour("TaskDefaults.CanvasColor", t.CanvasColor);
    for (const int16_t margin : t.CanvasCustom)
        j.range("TaskDefaults.CanvasCustom", margin, 0, 800);
    // The degrees box takes 0 to 360, its spin bar -180 to 180.
    j.range("TaskDefaults.RotateDegrees", t.RotateDegrees, -180, 360);
    j.twoWay("TaskDefaults.RotateResample", t.RotateResample);
    j.colour("TaskDefaults.RotateColor", t.RotateColor);
    j.range("TaskDefaults.ContrastLevel", t.ContrastLevel, 0, 100);
    j.twoWay("TaskDefaults.ContrastRed", t.ContrastRed);
    j.twoWay("TaskDefaults.ContrastGreen", t.ContrastGreen);
    j.twoWay("TaskDefaults.ContrastBlue", t.ContrastBlue);
    j.range("TaskDefaults.BrightnessLevel", t.BrightnessLevel, 0, 100);
    j.twoWay("TaskDefaults.BrightnessRed", t.BrightnessRed);
    j.twoWay("TaskDefaults.BrightnessGreen", t.BrightnessGreen);
    j.twoWay("TaskDefaults.BrightnessBlue", t.BrightnessBlue);
    j.range("TaskDefaults.BlurLevel", t.BlurLevel, 1, 10);
    j.range("TaskDefaults.SharpenLevel", t.SharpenLevel, 1, 10);
    j.twoWay("TaskDefaults.CropMode", t.CropMode);
    j.twoWay("TaskDefaults.CropPreset", t.CropPreset);
    j.twoWay("TaskDefaults.FlipMode", t.FlipMode);
}

void judgeText(RangeJudge& j, const typTextTask& t) {
    j.twoWay("TaskDefaults.Text.Transparent", t.Transparent);
    j.colour("TaskDefaults.Text.BackColor", t.BackColor);
    j.range("TaskDefaults.Text.Filter", t.Filter, 0, 5);
    j.range("TaskDefaults.Text.Position", t.Position, 0, 9);
    // The installed fonts decide the list's length; -1 is a list with none chosen.
    j.range("TaskDefaults.Text.FontFamily", t.FontFamily, -1, INT16_MAX);
    j.range("TaskDefaults.Text.FontSize", t.FontSize, 0, 200);
    j.colour("TaskDefaults.Text.ForeColor", t.ForeColor);
    j.twoWay("TaskDefaults.Text.Bold", t.Bold);
    j.twoWay("TaskDefaults.Text.Style2", t.Style2);
    j.twoWay("TaskDefaults.Text.Style3", t.Style3);
    j.range("TaskDefaults.Text.Angle", t.Angle, -180, 180);
    j.range("TaskDefaults.Text.Alignment", t.Alignment, 0, 2);
    j.twoWay("TaskDefaults.Text.Orientation", t.Orientation);
}

// Watermark, frame, mask and shadow: lists, sliders and the eight pictures of
// each picture group.
void judgeEffects(RangeJudge& j, const typTaskDefaults& t) {
    j.twoWay("TaskDefaults.Watermark.Transparent", t.Watermark.Transparent);
    j.range("TaskDefaults.Watermark.MergeStyle", t.Watermark.MergeStyle, 0, 3);
    j.colour("TaskDefaults.Watermark.TransparentColor", t.Watermark.TransparentColor);
    j.range("TaskDefaults.Watermark.Transparency", t.Watermark.Transparency, 0, 100);
    j.twoWay("TaskDefaults.Frame.Kind", t.Frame.Kind);
    j.range("TaskDefaults.Frame.Size", t.Frame.Size, 0, 800);
    j.colour("TaskDefaults.Frame.Color", t.Frame.Color);
    j.range("TaskDefaults.Frame.Style", t.Frame.Style, 0, 7);
    j.twoWay("TaskDefaults.Frame.ResizeCanvas", t.Frame.ResizeCanvas);
    j.range("TaskDefaults.Mask.Style", t.Mask.Style, 0, 7);
    j.twoWay("TaskDefaults.Mask.Transparent", t.Mask.Transparent);
    j.range("TaskDefaults.Mask.Level", t.Mask.Level, 0, 100);
    j.range("TaskDefaults.ShadowStyle", t.ShadowStyle, 0, 7);
}

// Scanning, capture and the three generator dialogs. The slide show's interval
// box holds one digit.
void judgeDevicesAndGenerators(RangeJudge& j, const typSetup& s) {
    j.twoWay("Twain.Destination", s.Twain.Destination);
    j.twoWay("Twain.FileMode", s.Twain.FileMode);
    j.range("Twain.SinglePageFormat", s.Twain.SinglePageFormat, 0, 5);
    j.twoWay("Twain.MultiPageFormat", s.Twain.MultiPageFormat);
    j.twoWay("Twain.Overwrite", s.Twain.Overwrite);
    j.twoWay("Screensaver.ProcessTasks", s.Screensaver.ProcessTasks);
    j.range("Screensaver.Quality", s.Screensaver.Quality, 1, 100);
    j.colour("SlideShow.BackColor", s.SlideShow.BackColor);
    j.range("SlideShow.Interval", s.SlideShow.Interval, 0, 9);
    j.twoWay("SlideShow.ProcessTasks", s.SlideShow.ProcessTasks);
    j.range("SlideShow.Quality", s.SlideShow.Quality, 1, 100);
    j.range("Capture.Mode", s.Capture.Mode, 0, 2);
    j.twoWay("Greeting.ProcessTasks", s.Greeting.ProcessTasks);
    j.range("Greeting.Quality", s.Greeting.Quality, 1, 100);
}

// The print settings, in the ranges of the image box's print properties and of the
// print dialog that edits them (page sizes are QPageSize identifiers, -1 the
// printer's default).
void judgePrint(RangeJudge& j, const typPrint& p) {
    j.twoWay("Print.P84", p.P84);
    j.between("Print.P85", p.P85, 0, 1000);
    j.between("Print.P86", p.P86, 0, 1000);
    j.range("Print.P87", p.P87, -1, int64_t(QPageSize::LastPageSize));
    if (p.P87 == int32_t(QPageSize::Custom))
        j.range("Print.P87", p.P87, -1, -1);
    j.range("Print.P88", p.P88, 0, 2);
    j.range("Print.P8A", p.P8A, 1, 999);
    j.between("Print.P8B", p.P8B, 0.001, 1000);
    j.twoWay("Print.P11B", p.P11B);
}

// Finds any member that differs from zero, false or empty.
struct BlankTest {
    bool blank = true;
    template <class T> void operator()(const T& value) { blank = blank && value == T{}; }
    void operator()(const QString& value) { blank = blank && value.isEmpty(); }
};

} // namespace

QString fncSetupRangeFault(const typSetup& record) {
    if (fncSetupIsBlank(record))
        return QStringLiteral("every number is 0 and every text empty");
    RangeJudge judge;
    judgeSaveOptions(judge, record.SaveOptions);
    judgeBatchSave(judge, record.BatchSave);
    judgeWindowLayout(judge, record);
    judgeGeometryAndTone(judge, record.TaskDefaults);
    judgeText(judge, record.TaskDefaults.Text);
    judgeEffects(judge, record.TaskDefaults);
    judgeDevicesAndGenerators(judge, record);
    judgePrint(judge, record.Print);
    return judge.fault();
}

bool fncSetupIsBlank(const typSetup& record) {
    BlankTest test;
    visitSetup(test, record);
    return test.blank;
}

} // namespace picbasket
