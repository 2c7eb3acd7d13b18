#pragma once
#include "core/setup/typSetup.h"

#include <QString>
#include <array>
#include <concepts>
#include <cstdint>
#include <type_traits>

// The one definition of the order in which the setup record's members are stored.
// The file reader, the writer and the size counter all walk it, so they cannot
// disagree. visitSetup(v, record) calls v(member) for every stored scalar and string
// in file order, descending into nested records and fixed arrays (lowest index first).
// A visitor takes uint8_t, int16_t, int32_t, OleColor (4 bytes), bool (a 16-bit truth
// value), double and QString; const or not, as the record passed.
namespace picbasket {

namespace setuplayout {

template <class Self, class T>
concept RecordOf = std::same_as<std::remove_const_t<Self>, T>;

template <class T> struct IsArray : std::false_type {};
template <class T, std::size_t N> struct IsArray<std::array<T, N>> : std::true_type {};

template <class T>
concept Stored = std::same_as<T, uint8_t> || std::same_as<T, int16_t> || std::same_as<T, int32_t> ||
    std::same_as<T, uint32_t> || std::same_as<T, bool> || std::same_as<T, double> ||
    std::same_as<T, QString>;

// Hands stored members to the visitor and walks records and arrays itself.
template <class V> struct Walker {
    V& visitor;
    template <class T> void operator()(T& member) {
        using Plain = std::remove_const_t<T>;
        if constexpr (Stored<Plain>)
            visitor(member);
        else if constexpr (IsArray<Plain>::value)
            for (auto& element : member)
                (*this)(element);
        else
            visitMembers(*this, member);
    }
};

} // namespace setuplayout

using setuplayout::RecordOf;

template <class V, RecordOf<typJPGOptions> R> void visitMembers(V& v, R& r) {
    v(r.ColorDepth);
    v(r.Quality);
    v(r.Encoding);
}
template <class V, RecordOf<typJPEG2000Options> R> void visitMembers(V& v, R& r) {
    v(r.Lossy);
    v(r.Rate);
}
template <class V, RecordOf<typGIFOptions> R> void visitMembers(V& v, R& r) {
    v(r.Compression);
    v(r.Transparent);
    v(r.TransparentColor);
    v(r.Reserved);
}
template <class V, RecordOf<typPNGOptions> R> void visitMembers(V& v, R& r) {
    v(r.ColorDepth);
    v(r.Transparent);
    v(r.TransparentColor);
}
template <class V, RecordOf<typPNMOptions> R> void visitMembers(V& v, R& r) {
    v(r.Format);
    v(r.Reserved);
}
template <class V, RecordOf<typTIFFOptions> R> void visitMembers(V& v, R& r) {
    v(r.Compression);
    v(r.Reserved);
}
template <class V, RecordOf<typFormatOptions> R> void visitMembers(V& v, R& r) {
    v(r.JPG);
    v(r.JPEG2000);
    v(r.GIF);
    v(r.PNG);
    v(r.PNM);
    v(r.TIFF);
}
template <class V, RecordOf<typSaveOptions> R> void visitMembers(V& v, R& r) {
    v(r.DefaultFormat);
    v(r.Formats);
    v(r.ProcessTasks);
    v(r.AppendMode);
    v(r.OutputMode);
}

template <class V, RecordOf<typBatchSave> R> void visitMembers(V& v, R& r) {
    v(r.Lossy);
    v(r.Rate);
    v(r.Codestream);
    v(r.Suffix);
    v(r.Prefix);
    v(r.Separator1);
    v(r.Separator2);
    v(r.NameMode);
    v(r.GenericName);
    v(r.Counter);
    v(r.DestinationMode);
    v(r.DestinationFolder);
    v(r.Overwrite);
    v(r.Confirmed);
    v(r.ProcessTasks);
}

template <class V, RecordOf<typWindow> R> void visitMembers(V& v, R& r) {
    v(r.Width);
    v(r.Height);
    v(r.State);
}
template <class V, RecordOf<typSplitters> R> void visitMembers(V& v, R& r) {
    v(r.Main);
    v(r.Right);
    v(r.Left);
    v(r.View);
}
template <class V, RecordOf<typPreview> R> void visitMembers(V& v, R& r) {
    v(r.Fit);
    v(r.Type);
}
template <class V, RecordOf<typFolderList> R> void visitMembers(V& v, R& r) {
    v(r.ViewMode);
    v(r.ColumnWidth);
    v(r.FullRowSelect);
    v(r.ThumbnailWidth);
    v(r.ThumbnailHeight);
    v(r.FileSizeFormat);
}
template <class V, RecordOf<typBasketList> R> void visitMembers(V& v, R& r) {
    v(r.ColumnWidth);
    v(r.FullRowSelect);
    v(r.ThumbnailWidth);
    v(r.ThumbnailHeight);
    v(r.ReservedBC);
    v(r.ReservedC0);
    v(r.Folder);
}
template <class V, RecordOf<typMetadataLists> R> void visitMembers(V& v, R& r) {
    v(r.ExifColumnWidth);
    v(r.IptcColumnWidth);
}
template <class V, RecordOf<typTwain> R> void visitMembers(V& v, R& r) {
    v(r.Destination);
    v(r.FileMode);
    v(r.GenericName);
    v(r.SinglePageFormat);
    v(r.MultiPageFormat);
    v(r.Overwrite);
    v(r.Folder);
}

template <class V, RecordOf<typTextTask> R> void visitMembers(V& v, R& r) {
    v(r.Caption);
    v(r.Transparent);
    v(r.BackColor);
    v(r.Filter);
    v(r.Position);
    v(r.FontFamily);
    v(r.FontSize);
    v(r.ForeColor);
    v(r.Bold);
    v(r.Style2);
    v(r.Style3);
    v(r.Angle);
    v(r.Alignment);
    v(r.Orientation);
}
template <class V, RecordOf<typWatermarkTask> R> void visitMembers(V& v, R& r) {
    v(r.Transparent);
    v(r.MergeStyle);
    v(r.TransparentColor);
    v(r.Transparency);
    v(r.ImageFile);
}
template <class V, RecordOf<typFrameTask> R> void visitMembers(V& v, R& r) {
    v(r.Kind);
    v(r.Size);
    v(r.Color);
    v(r.Style);
    v(r.ResizeCanvas);
}
template <class V, RecordOf<typMaskTask> R> void visitMembers(V& v, R& r) {
    v(r.Style);
    v(r.Transparent);
    v(r.Level);
}
template <class V, RecordOf<typTaskDefaults> R> void visitMembers(V& v, R& r) {
    v(r.ResizeMode);
    v(r.ResizeKeepRatio);
    v(r.ResizeResample);
    v(r.ResizeScale);
    v(r.CanvasColor);
    v(r.CanvasCustom);
    v(r.RotateDegrees);
    v(r.RotateResample);
    v(r.RotateColor);
    v(r.ContrastLevel);
    v(r.ContrastRed);
    v(r.ContrastGreen);
    v(r.ContrastBlue);
    v(r.BrightnessLevel);
    v(r.BrightnessRed);
    v(r.BrightnessGreen);
    v(r.BrightnessBlue);
    v(r.BlurLevel);
    v(r.SharpenLevel);
    v(r.CropMode);
    v(r.CropPreset);
    v(r.Text);
    v(r.FlipMode);
    v(r.Watermark);
    v(r.Frame);
    v(r.Mask);
    v(r.ShadowStyle);
}

template <class V, RecordOf<typScreensaver> R> void visitMembers(V& v, R& r) {
    v(r.ProcessTasks);
    v(r.Quality);
}
template <class V, RecordOf<typSlideShow> R> void visitMembers(V& v, R& r) {
    v(r.BackColor);
    v(r.Interval);
    v(r.ProcessTasks);
    v(r.Quality);
}
template <class V, RecordOf<typCapture> R> void visitMembers(V& v, R& r) {
    v(r.Mode);
    v(r.GenericName);
    v(r.Folder);
}
template <class V, RecordOf<typGreeting> R> void visitMembers(V& v, R& r) {
    v(r.ProcessTasks);
    v(r.Quality);
}
template <class V, RecordOf<typPrint> R> void visitMembers(V& v, R& r) {
    v(r.P87);
    v(r.P11B);
    v(r.P88);
    v(r.P85);
    v(r.P86);
    v(r.P8A);
    v(r.P8B);
    v(r.P84);
    v(r.P8C);
    v(r.P8D);
}

template <class V, RecordOf<typSetup> R> void visitMembers(V& v, R& r) {
    v(r.SaveOptions);
    v(r.BatchSave);
    v(r.AllowTip);
    v(r.MainWindow);
    v(r.Splitters);
    v(r.LastFolder);
    v(r.Preview);
    v(r.FolderList);
    v(r.BasketList);
    v(r.MetadataLists);
    v(r.Twain);
    v(r.TaskDefaults);
    v(r.Screensaver);
    v(r.SlideShow);
    v(r.Capture);
    v(r.Greeting);
    v(r.Print);
}

template <class V, RecordOf<typSetup> R> void visitSetup(V& visitor, R& record) {
    setuplayout::Walker<V> walker{visitor};
    walker(record);
}

} // namespace picbasket
