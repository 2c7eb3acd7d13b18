#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QRect>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/imagebox/StatedResolution.h"
#include "platform/imagebox/edit/ImageSelection.h"
#include "platform/imagebox/meta/ImageMetadata.h"
#include "platform/print/PrintBackend.h"

namespace picbasket {

// Our image-processing control: one image with its
// properties and operations. The held image is a QImage in one of these formats:
//   Format_Mono (1 bit, two-entry colour table), Format_Indexed8 (palette),
//   Format_Grayscale8, Format_Grayscale16, Format_RGB888 (24-bit colour),
//   Format_ARGB32 (colour with alpha), Format_RGBX64 / Format_RGBA64 (16 bits per channel).
// Members are spread over several files by subsystem: ImageBox.cpp (the image, its
// files and memory copies), ImageBox_edit.cpp and friends (edits, selection,
// merging, text, display), ImageBox_metadata.cpp (EXIF and IPTC).
class ImageBox : public QObject {
    Q_OBJECT

public:
    explicit ImageBox(QObject* parent = nullptr);
    ~ImageBox() override;

    // The held image; an empty QImage when the box holds none. Waits for a load
    // still in progress (LoadFromFileForView).
    const QImage& image() const {
        settle();
        return image_;
    }
    void setImage(const QImage& image);

    // ---- The image, its files and memory copies (ImageBox.cpp) ----

    // Format codes of SaveToMemory, LoadFromMemory and EncodedSize.
    enum FormatCode : int {
        FormatBmp = 0,
        FormatGif = 1,
        FormatJpeg = 2,
        FormatPcx = 3,
        FormatPng = 4,
        FormatWbmp = 5,
        FormatPsd = 6,
        FormatTiff = 7,
        FormatPdf = 8,
    };

    // Reads the file (page PageIndex of a TIFF). A file it cannot read raises
    // AppError 0x8000FFFF, leaves the image as it was and sets LoadedFlag.
    void LoadFromFile(const QString& path);
    // LoadFromFile for a view that shows the image fitted into `fitWidth` x
    // `fitHeight`: a JPEG of many times that size is first decoded at a half, a
    // quarter or an eighth of its size (in the DCT), which the view shows at once,
    // while the full decode runs on the box's load thread. Every member that reads
    // or changes the pixels waits for it (so does a view shown larger than the
    // reduced picture); loading or setting another image, or Clear, discards it.
    // Other files, and other pages, load as LoadFromFile does.
    void LoadFromFileForView(const QString& path, int fitWidth, int fitHeight);
    // True while the full decode of LoadFromFileForView is still running.
    bool LoadPending() const { return pending_ != nullptr; }
    // Waits for that decode and takes its image (or, when the file proved damaged,
    // holds no image and sets LoadedFlag), and sends loadSettled before it returns
    // when that is still to come (a getter may have taken the decode before).
    void WaitForLoad();
    // The file of the LoadFromFileForView whose full decode was taken last (as it
    // was named to the load); empty once another image, load or Clear replaced it.
    const QString& SettledFile() const { return settledFile_; }
    // While loadSettled is sent: the image that load brought, as it came, whatever
    // was done to the box's image since (null when the file proved damaged).
    const QImage& SettledImage() const { return settledImage_; }
    // What a view paints for `shown` pixels: the reduced picture while it is at
    // least that size and the image unchanged since the load, else the image.
    const QImage& displayImage(const QSize& shown) const;
    // True when the file holds a format the box reads (by its content; WBMP, which
    // has no signature, by its extension). LoadFromFile's refusal of such a file
    // means it is damaged; any other file is for other loaders. An unreadable file
    // gives false.
    bool ReadsFile(const QString& path) const;
    // Number of pages of a TIFF, 1 for other formats; a damaged file raises 0x8000FFFF.
    int PageCountOfFile(const QString& path) const;
    // Writes the image in the format the extension names, with the save options.
    void SaveToFile(const QString& path);
    // Writes the exact copy SaveToMemory(FormatTiff) makes (every depth, palette and
    // alpha kept, whatever ColorFormat and TiffCompression say) as a new TIFF file,
    // with the image's EXIF and IPTC as SaveToFile writes them. False, writing
    // nothing, when a file of that name exists; other failures raise 0x8000FFFF.
    bool SaveExactTiff(const QString& path);
    // Adds the image as the last page of a TIFF or PDF (created when missing).
    void AppendPageTiff(const QString& path);
    void AppendPagePdf(const QString& path);
    // A lossless snapshot (format 7, TIFF) of the image, and its restoration.
    QByteArray SaveToMemory(int format) const;
    void LoadFromMemory(int format, const QByteArray& data);
    // Bytes the image takes encoded in that format code with the current options.
    int64_t EncodedSize(int format) const;

    // Empties the box: the image and its EXIF and IPTC, so that an image put in
    // afterwards (a capture, a scan, a memory copy) is never saved with the
    // metadata of the photo before it.
    void Clear();
    // The size and depth are known before a pending load ends; these do not wait.
    bool HasImage() const { return pending_ || !image_.isNull(); }
    int ImageWidth() const { return heldSize().width(); }
    int ImageHeight() const { return heldSize().height(); }
    int BitsPerPixel() const;
    QImage BitmapHandle() const { return image(); }
    void setBitmapHandle(const QImage& image) { setImage(image); }
    QImage Picture() const { return image(); }

    // 1-based page that LoadFromFile reads from a TIFF.
    int PageIndex() const { return pageIndex_; }
    void setPageIndex(int page) { pageIndex_ = page; }
    // True when the last LoadFromFile failed.
    bool LoadedFlag() const { return loadedFlag_; }

    // Save options: ColorFormat 0 24-bit colour, 1 8-bit palette, 2 8-bit grey, 6 1-bit.
    int ColorFormat() const { return colorFormat_; }
    void setColorFormat(int value);
    int JpegQuality() const { return jpegQuality_; }
    void setJpegQuality(int value);
    bool JpegProgressive() const { return jpegProgressive_; }
    void setJpegProgressive(bool value) { jpegProgressive_ = value; }
    bool GifCompressed() const { return gifCompressed_; }
    void setGifCompressed(bool value) { gifCompressed_ = value; }
    // TiffCompression: 0 none, 1 PackBits, 2 CCITT Group 4 (on a 1-bit copy).
    int TiffCompression() const { return tiffCompression_; }
    void setTiffCompression(int value);
    bool UseTransparentColor() const { return useTransparentColor_; }
    void setUseTransparentColor(bool value) { useTransparentColor_ = value; }
    // OLE colour 0x00BBGGRR: the transparent colour of GIF and of palette PNG
    // (ColorFormat 1 or 6) when UseTransparentColor is set, and the fill of
    // rotations and canvas growth.
    uint32_t BackgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(uint32_t oleColor) { backgroundColor_ = oleColor; }

    QString Tag() const { return tag_; }
    void setTag(const QString& text) { tag_ = text; }
    QString AppTitle() const { return appTitle_; }
    void setAppTitle(const QString& text) { appTitle_ = text; }
    // A flag the screen capture clears before it hands over its picture. It is only
    // stored: nothing the box does depends on it.
    bool Option210() const { return option210_; }
    void setOption210(bool value) { option210_ = value; }

    // ---- Edits, selection, merging, text and display (edit/ImageBox_*.cpp) ----
    // Coordinates are image pixels (display pixels for the overlay figures), colours
    // OLE colours. A member that cannot do its work raises AppError 0x8000FFFF (7
    // when memory runs out) and leaves the image unchanged.

    // Flip(0) mirrors left-right, Flip(1) top-bottom.
    void Flip(int direction);
    // Turns clockwise by `degrees`; the canvas grows to the turned bounds and its
    // corners take BackgroundColor. RotateResample interpolates smoothly.
    void Rotate(float degrees);
    bool RotateResample() const { return rotateResample_; }
    void setRotateResample(bool smooth) { rotateResample_ = smooth; }
    // Resample to exactly width x height (Resize and ResizeTo are one operation).
    void Resize(int width, int height);
    void ResizeTo(int width, int height) { Resize(width, height); }
    // Both sides scaled by percent / 100, halves to even, at least 1 pixel.
    void ResizePercent(float percent);
    // (right - left) x (bottom - top) from the image; outside it the canvas grows in
    // BackgroundColor. Reversed corners are put in order.
    void Crop(int left, int top, int right, int bottom);
    // Amount 1..10: a Gaussian blur and an unsharp mask growing with the amount.
    void Blur(int amount);
    void Sharpen(int amount);
    // Amount 0..100, 50 leaves the image unchanged; only the flagged channels change.
    void Brightness(int amount, bool red, bool green, bool blue);
    void Contrast(int amount, bool red, bool green, bool blue);
    // RGB negative, alpha kept.
    void Invert();
    // Lowers red where it dominates inside the selection; no selection, no change.
    void RemoveRedEye();

    // Selection, right and bottom exclusive, clipped to the image. With
    // SelectionOnly the pixel filters (Blur, Sharpen, Brightness, Contrast, Invert)
    // act inside the selection only, on the whole image when there is none.
    void SelectRectangle(int left, int top, int right, int bottom);
    void SelectEllipse(int left, int top, int right, int bottom);
    void ClearSelection();
    bool SelectionOnly() const { return selectionOnly_; }
    void setSelectionOnly(bool only) { selectionOnly_ = only; }
    const ImageSelection& Selection() const { return selection_; }
    bool HasSelection() const { return !selection_.isEmpty(); }
    // Crops to the selection's bounds (outside an ellipse: BackgroundColor) and
    // clears the selection.
    void CropToSelection();
    // OLE colour of one pixel.
    uint32_t PixelColor(int x, int y) const;

    // Stamps an image: MergeStyle 0 centred, 1 top-left at (MergeX, MergeY), 2 tiled
    // from (0, 0), 3 stretched over the whole image. MergeTransparent skips stamp
    // pixels of exactly MergeTransparentColor; MergeTransparency 0 is opaque, 100
    // invisible; the stamp's own alpha is respected.
    void MergeFile(const QString& path);
    void MergeBitmap(const QImage& stamp);
    int MergeStyle() const { return mergeStyle_; }
    void setMergeStyle(int style);
    int MergeX() const { return mergeX_; }
    void setMergeX(int x) { mergeX_ = x; }
    int MergeY() const { return mergeY_; }
    void setMergeY(int y) { mergeY_ = y; }
    bool MergeTransparent() const { return mergeTransparent_; }
    void setMergeTransparent(bool on) { mergeTransparent_ = on; }
    uint32_t MergeTransparentColor() const { return mergeTransparentColor_; }
    void setMergeTransparentColor(uint32_t color) { mergeTransparentColor_ = color; }
    double MergeTransparency() const { return mergeTransparency_; }
    void setMergeTransparency(double percent);

    // Draws one line (or lines split at line breaks) of text: (x, y) is the top of
    // the text box and its left edge, centre or right edge for TextAlignment 0, 1, 2;
    // TextAngle turns it counter-clockwise about (x, y). Font sizes are points at a
    // fixed 96 DPI, whatever resolution the image claims.
    void DrawText(int x, int y, const QString& text);
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;
    QFont Font() const { return font_; }
    void setFont(const QFont& font) { font_ = font; }
    uint32_t TextColor() const { return textColor_; }
    void setTextColor(uint32_t color) { textColor_ = color; }
    uint32_t TextBackColor() const { return textBackColor_; }
    void setTextBackColor(uint32_t color) { textBackColor_ = color; }
    bool TextTransparent() const { return textTransparent_; }
    void setTextTransparent(bool on) { textTransparent_ = on; }
    bool TextAntiAlias() const { return textAntiAlias_; }
    void setTextAntiAlias(bool on) { textAntiAlias_ = on; }
    int TextAngle() const { return textAngle_; }
    void setTextAngle(int degrees) { textAngle_ = degrees; }
    int TextAlignment() const { return textAlignment_; }
    void setTextAlignment(int alignment);

    // Display geometry, usable on a box that is never shown: the image is shown at
    // Zoom percent, or with AutoZoom fitted into the container (Width x Height
    // pixels) keeping its aspect ratio and never enlarged.
    double Zoom() const { return zoom_; }
    void setZoom(double percent);
    bool AutoZoom() const { return autoZoom_; }
    void setAutoZoom(bool on);
    int Width() const { return containerWidth_; }
    void setWidth(int pixels);
    int Height() const { return containerHeight_; }
    void setHeight(int pixels);
    int DisplayWidth() const;
    int DisplayHeight() const;

    // Figures drawn over the shown image in display pixels; the image's pixels are
    // never touched. DrawPenMode 15 inverts, so the same figure drawn twice is gone;
    // 13 draws in black. DrawPenStyle 0 solid, 1 dashed. The figures belong to the
    // image they were drawn on and vanish when it changes.
    struct OverlayFigure {
        QRect rect;
        int penStyle = 0;
        bool inverting = true;
        bool operator==(const OverlayFigure&) const = default;
    };
    void DrawRectangle(int left, int top, int right, int bottom);
    std::vector<OverlayFigure> OverlayFigures() const;
    // Removes every figure, whatever happened to the image since they were drawn.
    void ClearOverlay();
    int DrawPenMode() const { return drawPenMode_; }
    void setDrawPenMode(int mode);
    int DrawPenStyle() const { return drawPenStyle_; }
    void setDrawPenStyle(int style);

    // Lets the user's next drags on a view of this box become the selection, until
    // ClearSelection. The red-eye variant marks the region RemoveRedEye works in.
    enum SelectionTool : int { NoSelectionTool = 0, RectangleTool = 1, RedEyeTool = 2 };
    void BeginRectangleSelection() { setSelectionTool(RectangleTool); }
    void BeginRedEyeSelection() { setSelectionTool(RedEyeTool); }
    SelectionTool ActiveSelectionTool() const { return selectionTool_; }

Q_SIGNALS:
    // Whatever a view shows of the box has changed (image, selection, overlay, zoom).
    void displayChanged();
    // The full decode of LoadFromFileForView has been taken (or has failed). Sent
    // once per load: by WaitForLoad, else from the event loop after whichever
    // member took the decode (a getter, a paint, the load thread's own notice), so
    // never inside a getter or a paint; never for a load that another image, load
    // or Clear replaced before then. SettledFile and SettledImage describe it.
    void loadSettled();

private:
    void requireImage() const;
    // Replaces the image with the result of an edit (figures drawn on it go too).
    void commitEdit(const QImage& result);
    // Ends an edit made in the image's own pixels (figures drawn on it go too).
    void commitInPlace();
    // Runs `edit` on a working copy of only the part of the image under `region`
    // (`origin` is where that part starts) and writes it back in place, for the
    // formats whose working copy converts pixel by pixel (24-bit RGB, ARGB32).
    // False, with nothing done, for any other format.
    bool editRegion(const QRect& region, const std::function<void(QImage& work, QPoint origin)>& edit);
    // Runs a pixel filter on a working copy, limited to the selection when asked.
    // An edit of the whole image first offers the image itself to `inPlace`, which
    // edits it and returns true where its format allows.
    void filterImage(int margin, const std::function<void(QImage&)>& filter, bool selectedOnly,
                     const std::function<bool(QImage&)>& inPlace = {});
    void setSelectionTool(SelectionTool tool);

    bool rotateResample_ = true;
    ImageSelection selection_;
    bool selectionOnly_ = false;
    int mergeStyle_ = 0;
    int mergeX_ = 0;
    int mergeY_ = 0;
    bool mergeTransparent_ = false;
    uint32_t mergeTransparentColor_ = 0;
    double mergeTransparency_ = 0;
    QFont font_;
    uint32_t textColor_ = 0;
    uint32_t textBackColor_ = 0x00FFFFFF;
    bool textTransparent_ = true;
    bool textAntiAlias_ = true;
    int textAngle_ = 0;
    int textAlignment_ = 0;
    double zoom_ = 100;
    bool autoZoom_ = false;
    int containerWidth_ = 0;
    int containerHeight_ = 0;
    std::vector<OverlayFigure> overlay_;
    qint64 overlayImageKey_ = 0;
    int drawPenMode_ = 15;
    int drawPenStyle_ = 0;
    SelectionTool selectionTool_ = NoSelectionTool;
    // ---- end of the edit, selection, merging, text and display members ----
public:
    // ---- Printing (ImageBox_print.cpp) ----
    // PrintImage prints the image through the installed PrintBackend with the ten
    // print settings (their meanings: PrintSettings). With PrintProperty89 True it
    // shows the print dialog, which starts a new job (ending one that is open), and
    // the user's choices come back in the properties; with False it adds a page to
    // the open job, or starts a job without the dialog when none is open. Returns 1
    // when the page was printed, 0 when the dialog was cancelled. The job stays open
    // for further pages until EndPrintJob. Setting a value outside the settings'
    // range raises 5.
    uint8_t PrintProperty84() const { return print_.P84; }
    void setPrintProperty84(uint8_t orientation);
    double PrintProperty85() const { return print_.P85; }
    void setPrintProperty85(double millimetres);
    double PrintProperty86() const { return print_.P86; }
    void setPrintProperty86(double millimetres);
    int32_t PrintProperty87() const { return print_.P87; }
    void setPrintProperty87(int32_t pageSize);
    uint8_t PrintProperty88() const { return print_.P88; }
    void setPrintProperty88(uint8_t scale);
    bool PrintProperty89() const { return printDialog_; }
    void setPrintProperty89(bool showDialog) { printDialog_ = showDialog; }
    int32_t PrintProperty8A() const { return print_.P8A; }
    void setPrintProperty8A(int32_t copies);
    double PrintProperty8B() const { return print_.P8B; }
    void setPrintProperty8B(double percent);
    bool PrintProperty8C() const { return print_.P8C; }
    void setPrintProperty8C(bool centred) { print_.P8C = centred; }
    bool PrintProperty8D() const { return print_.P8D; }
    void setPrintProperty8D(bool centred) { print_.P8D = centred; }
    int32_t PrintProperty11B() const { return print_.P11B; }
    void setPrintProperty11B(int32_t grey);
    int PrintImage();
    // Closes the open print job, if any.
    void EndPrintJob();

private:
    PrintSettings print_;
    bool printDialog_ = true;
    // ---- end of the printing members ----

public:
    // ---- EXIF and IPTC (ImageBox_metadata.cpp) ----
    // The image's metadata: read by LoadFromFile (JPEG, TIFF, PSD, PNG), written
    // by SaveToFile to JPEG or TIFF and by SaveJpegMetadata. Names and value
    // texts are those of ImageMetadata.

    int ExifCount() const { return metadata_.exifCount(); }
    QString ExifNameByIndex(int index) const { return metadata_.exifName(index); }
    QString ExifValueByIndex(int index) const { return metadata_.exifValue(index); }
    QString ExifValueByName(const QString& name) const { return metadata_.exifValue(name); }
    // Creates the EXIF block when needed; false, changing nothing, for an unknown
    // name, a text that does not parse for the tag or a structural tag.
    bool SetExifAttribute(const QString& name, const QString& text);
    bool DeleteExifAttribute(const QString& name);
    void DeleteAllExif();
    // "yyyy:MM:dd HH:mm:ss" and back; raises 13 on text that is no date.
    QDateTime ExifStringToDate(const QString& text) const;
    QString DateToExifString(const QDateTime& date) const;

    bool HasIptc() const { return metadata_.hasIptc(); }
    void DeleteAllIptc();

    // One text per IPTC field; setting an empty text removes the field.
    // IptcAuthor is the by-line under its other name.
    QString IptcCaption() const { return metadata_.iptcText(iptc::Caption); }
    void setIptcCaption(const QString& text) { metadata_.setIptcText(iptc::Caption, text); }
    QString IptcCaptionWriter() const { return metadata_.iptcText(iptc::CaptionWriter); }
    void setIptcCaptionWriter(const QString& text) {
        metadata_.setIptcText(iptc::CaptionWriter, text);
    }
    QString IptcHeadline() const { return metadata_.iptcText(iptc::Headline); }
    void setIptcHeadline(const QString& text) { metadata_.setIptcText(iptc::Headline, text); }
    QString IptcSpecialInstructions() const {
        return metadata_.iptcText(iptc::SpecialInstructions);
    }
    void setIptcSpecialInstructions(const QString& text) {
        metadata_.setIptcText(iptc::SpecialInstructions, text);
    }
    QString IptcCategory() const { return metadata_.iptcText(iptc::Category); }
    void setIptcCategory(const QString& text) { metadata_.setIptcText(iptc::Category, text); }
    QString IptcByline() const { return metadata_.iptcText(iptc::Byline); }
    void setIptcByline(const QString& text) { metadata_.setIptcText(iptc::Byline, text); }
    QString IptcAuthor() const { return metadata_.iptcText(iptc::Byline); }
    void setIptcAuthor(const QString& text) { metadata_.setIptcText(iptc::Byline, text); }
    QString IptcBylineTitle() const { return metadata_.iptcText(iptc::BylineTitle); }
    void setIptcBylineTitle(const QString& text) { metadata_.setIptcText(iptc::BylineTitle, text); }
    QString IptcCredit() const { return metadata_.iptcText(iptc::Credit); }
    void setIptcCredit(const QString& text) { metadata_.setIptcText(iptc::Credit, text); }
    QString IptcSource() const { return metadata_.iptcText(iptc::Source); }
    void setIptcSource(const QString& text) { metadata_.setIptcText(iptc::Source, text); }
    QString IptcObjectName() const { return metadata_.iptcText(iptc::ObjectName); }
    void setIptcObjectName(const QString& text) { metadata_.setIptcText(iptc::ObjectName, text); }
    QString IptcCity() const { return metadata_.iptcText(iptc::City); }
    void setIptcCity(const QString& text) { metadata_.setIptcText(iptc::City, text); }
    QString IptcProvinceState() const { return metadata_.iptcText(iptc::ProvinceState); }
    void setIptcProvinceState(const QString& text) {
        metadata_.setIptcText(iptc::ProvinceState, text);
    }
    QString IptcCountryName() const { return metadata_.iptcText(iptc::CountryName); }
    void setIptcCountryName(const QString& text) { metadata_.setIptcText(iptc::CountryName, text); }
    QString IptcTransmissionReference() const {
        return metadata_.iptcText(iptc::TransmissionReference);
    }
    void setIptcTransmissionReference(const QString& text) {
        metadata_.setIptcText(iptc::TransmissionReference, text);
    }
    QString IptcCopyrightNotice() const { return metadata_.iptcText(iptc::CopyrightNotice); }
    void setIptcCopyrightNotice(const QString& text) {
        metadata_.setIptcText(iptc::CopyrightNotice, text);
    }
    QString IptcImageUrl() const { return metadata_.iptcText(iptc::ImageUrl); }
    void setIptcImageUrl(const QString& text) { metadata_.setIptcText(iptc::ImageUrl, text); }
    QString IptcEditStatus() const { return metadata_.iptcText(iptc::EditStatus); }
    void setIptcEditStatus(const QString& text) { metadata_.setIptcText(iptc::EditStatus, text); }
    QString IptcFixtureIdentifier() const { return metadata_.iptcText(iptc::FixtureIdentifier); }
    void setIptcFixtureIdentifier(const QString& text) {
        metadata_.setIptcText(iptc::FixtureIdentifier, text);
    }
    QString IptcReferenceService() const { return metadata_.iptcText(iptc::ReferenceService); }
    void setIptcReferenceService(const QString& text) {
        metadata_.setIptcText(iptc::ReferenceService, text);
    }
    QString IptcReferenceNumber() const { return metadata_.iptcText(iptc::ReferenceNumber); }
    void setIptcReferenceNumber(const QString& text) {
        metadata_.setIptcText(iptc::ReferenceNumber, text);
    }
    QString IptcOriginatingProgram() const { return metadata_.iptcText(iptc::OriginatingProgram); }
    void setIptcOriginatingProgram(const QString& text) {
        metadata_.setIptcText(iptc::OriginatingProgram, text);
    }
    QString IptcProgramVersion() const { return metadata_.iptcText(iptc::ProgramVersion); }
    void setIptcProgramVersion(const QString& text) {
        metadata_.setIptcText(iptc::ProgramVersion, text);
    }
    QString IptcObjectCycle() const { return metadata_.iptcText(iptc::ObjectCycle); }
    void setIptcObjectCycle(const QString& text) { metadata_.setIptcText(iptc::ObjectCycle, text); }
    QString IptcSublocation() const { return metadata_.iptcText(iptc::Sublocation); }
    void setIptcSublocation(const QString& text) { metadata_.setIptcText(iptc::Sublocation, text); }
    QString IptcCountryCode() const { return metadata_.iptcText(iptc::CountryCode); }
    void setIptcCountryCode(const QString& text) { metadata_.setIptcText(iptc::CountryCode, text); }
    QString IptcLocalCaption() const { return metadata_.iptcText(iptc::LocalCaption); }
    void setIptcLocalCaption(const QString& text) {
        metadata_.setIptcText(iptc::LocalCaption, text);
    }
    QString IptcImageNotes() const { return metadata_.iptcText(iptc::ImageNotes); }
    void setIptcImageNotes(const QString& text) { metadata_.setIptcText(iptc::ImageNotes, text); }
    // Custom fields 1 to 20 (IptcCustomField1 to IptcCustomField20); raises 9 for other n.
    QString IptcCustomField(int n) const;
    void setIptcCustomField(int n, const QString& text);

    // Dates and times: a null QDateTime when absent; setting a null value (or
    // the empty OLE date 30 Dec 1899 00:00 for a date) removes the field. Times
    // come back on 30 Dec 1899, the OLE date of a bare time.
    QDateTime IptcDateCreated() const { return iptcDateAt(iptc::DateCreated); }
    void setIptcDateCreated(const QDateTime& value) { setIptcDateAt(iptc::DateCreated, value); }
    QDateTime IptcDateReleased() const { return iptcDateAt(iptc::DateReleased); }
    void setIptcDateReleased(const QDateTime& value) { setIptcDateAt(iptc::DateReleased, value); }
    QDateTime IptcReferenceDate() const { return iptcDateAt(iptc::ReferenceDate); }
    void setIptcReferenceDate(const QDateTime& value) { setIptcDateAt(iptc::ReferenceDate, value); }
    QDateTime IptcTimeCreated() const { return iptcTimeAt(iptc::TimeCreated); }
    void setIptcTimeCreated(const QDateTime& value) { setIptcTimeAt(iptc::TimeCreated, value); }
    QDateTime IptcTimeReleased() const { return iptcTimeAt(iptc::TimeReleased); }
    void setIptcTimeReleased(const QDateTime& value) { setIptcTimeAt(iptc::TimeReleased, value); }
    // 1 to 9, 0 for none.
    int IptcUrgency() const { return metadata_.iptcUrgency(); }
    void setIptcUrgency(int urgency);

    // Keywords and supplemental categories, whole and in their order; a reader
    // takes the whole list once, since a file may hold tens of thousands.
    QStringList IptcKeywords() const { return metadata_.iptcList(iptc::Keywords); }
    QStringList IptcSupplementalCategories() const {
        return metadata_.iptcList(iptc::SupplementalCategory);
    }
    // One item, indexed from 0 (raises 9 outside); each call walks the list.
    int IptcKeywordCount() const { return metadata_.iptcListCount(iptc::Keywords); }
    QString IptcKeyword(int index) const { return iptcListItem(iptc::Keywords, index); }
    void ClearIptcKeywords();
    void AddIptcKeyword(const QString& text);
    int IptcSupplementalCategoryCount() const {
        return metadata_.iptcListCount(iptc::SupplementalCategory);
    }
    QString IptcSupplementalCategory(int index) const {
        return iptcListItem(iptc::SupplementalCategory, index);
    }
    void ClearIptcSupplementalCategories();
    void AddIptcSupplementalCategory(const QString& text);

    // The IPTC as a raw IIM record stream (".ffo" files); loading a file that
    // is no record stream raises and changes nothing.
    void SaveIptcToFile(const QString& path) const;
    void LoadIptcFromFile(const QString& path);
    // Writes the current EXIF and IPTC into an existing JPEG, TIFF or PSD file
    // without re-encoding its pixels; raises 0x8000FFFF for other files.
    void SaveJpegMetadata(const QString& path) const;
    // A copy of the EXIF and IPTC, and putting one back: a command that changes
    // the metadata and then cannot write it puts back what the file still holds.
    // The colour profile the loaded file came with (empty for none), and the
    // resolution the file states in dots per inch, exactly: its metadata's, else
    // its header's (JFIF, pHYs, BMP; statedResolutionOfFile), 0 and 0 when none.
    QByteArray IccProfile() const { return metadata_.iccProfile(); }
    void CaptureResolution(double& xDpi, double& yDpi) const {
        if (!metadata_.resolution(xDpi, yDpi)) {
            xDpi = statedResolution_.xDpi;
            yDpi = statedResolution_.yDpi;
        }
    }
    ImageMetadata MetadataSnapshot() const { return metadata_; }
    // Writes the metadata into a JPEG or TIFF file just written from the image by
    // other means, as SaveToFile does into its own.
    void WriteMetadataIntoSavedFile(const QString& path);
    // What the last save could not keep of the metadata, one text for each
    // (a maker note of a layout that cannot be moved); empty for none.
    QStringList MetadataLeftOut() const { return metadataLeftOut_; }
    void RestoreMetadata(const ImageMetadata& snapshot) { metadata_ = snapshot; }

private:
    QDateTime iptcDateAt(int dataset) const;
    void setIptcDateAt(int dataset, const QDateTime& value);
    QDateTime iptcTimeAt(int dataset) const;
    void setIptcTimeAt(int dataset, const QDateTime& value);
    QString iptcListItem(int dataset, int index) const;

    ImageMetadata metadata_;
    // What the loaded file's header says of its resolution; goes with the metadata.
    imagebox::StatedResolution statedResolution_;
    QStringList metadataLeftOut_;
    // ---- end of the EXIF and IPTC members ----


private:
    // EXIF and IPTC travel with the image (ImageBox_metadata.cpp): read after a
    // successful LoadFromFile, written after a successful SaveToFile (JPEG, TIFF).
    // `format` is the format code; the path is the finished file before it takes
    // its name, so a failure here leaves the user's file as it was.
    void readMetadataFrom(const QString& path);
    void writeMetadataTo(const QString& path, int format);

    // The copy SaveToFile writes for a format code: ColorFormat, the format's
    // own depth limits and the transparent colour applied.
    QImage copyForFormat(int format) const;
    // The file bytes SaveToFile writes for a format code.
    QByteArray encode(int format) const;
    // Takes a decoded image as the held one and tells the views.
    void replaceImage(const QImage& image);
    // A load in progress (ImageBox_load.cpp): the reduced picture, the full size and
    // the decode on the load thread.
    struct PendingLoad;
    // Takes the pending load's image, waiting for it; nothing when none is pending.
    // Const members call it too: what the box holds was decided by the load, the
    // wait only brings it in.
    void settle() const;
    // Sends the settled load's loadSettled (and displayChanged) unless sent already.
    void tellSettled();
    void discardPending();
    QSize heldSize() const;

    QImage image_;
    std::shared_ptr<PendingLoad> pending_;
    // Counts the loads replaced, so a settled load's queued notice knows whether it
    // still speaks for what the box holds.
    quint64 loadSerial_ = 0;
    bool settledUntold_ = false;
    QString settledFile_;
    QImage settledImage_;
    // The reduced picture of the last LoadFromFileForView and the image it shows.
    QImage reducedView_;
    qint64 reducedViewOf_ = 0;
    int pageIndex_ = 1;
    bool loadedFlag_ = false;
    int colorFormat_ = 0;
    int jpegQuality_ = 75;
    bool jpegProgressive_ = false;
    bool gifCompressed_ = true;
    int tiffCompression_ = 0;
    bool option210_ = true;
    bool useTransparentColor_ = false;
    uint32_t backgroundColor_ = 0x00FFFFFF;
    QString tag_;
    QString appTitle_;

public:
    // ---- Scanning (ImageBox_scan.cpp) ----
    // Pages come from the installed ScanSource (platform/scan/ScanSource.h) on a
    // worker thread while this thread's events run; each arrives in the box, which
    // then raises TwainPageAcquired.

    // True when the source lists at least one device (asked on a worker thread).
    bool TwainSourceAvailable();
    // Offers the devices to the installed settings prompt and scans with what it
    // answers: one page, or every page of a document feeder. Returns when the scan
    // has ended. A device failure is shown in a message box with the device's words
    // and ends the scan; pages delivered before it stay. Does nothing while an
    // acquisition runs.
    void TwainAcquire();
    // Stops a running acquisition after the page being handled (safe from a page
    // handler and from any button while TwainAcquire runs).
    void TwainCancel();
    bool TwainAcquiring() const { return twainAcquiring_; }
    // The 1-based number of the page in the box, counted from 0 by each TwainAcquire.
    int AcquiredPageNumber() const { return acquiredPageNumber_; }
    // Options the program sets before acquiring; scanning here has no use for them.
    bool TwainOption267() const { return twainOption267_; }
    void setTwainOption267(bool on) { twainOption267_ = on; }
    bool TwainOption266() const { return twainOption266_; }
    void setTwainOption266(bool on) { twainOption266_ = on; }
    bool TwainOption195() const { return twainOption195_; }
    void setTwainOption195(bool on) { twainOption195_ = on; }

Q_SIGNALS:
    // A scanned page is in the box (ColorFormat follows it: 6 for 1 bit, 2 for
    // grey, 0 for colour).
    void TwainPageAcquired();
    // TwainAcquire began (true) or ended (false).
    void TwainAcquiringChanged(bool acquiring);

private:
    // Puts a page into the box and raises the page event; false to stop the scan.
    bool takeScannedPage(const QImage& page);

    bool twainAcquiring_ = false;
    bool twainCancelRequested_ = false;
    int acquiredPageNumber_ = 0;
    bool twainOption267_ = false;
    bool twainOption266_ = false;
    bool twainOption195_ = false;
    // ---- end of the scanning members ----
};

} // namespace picbasket
