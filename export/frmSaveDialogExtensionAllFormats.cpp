#include "export/frmSaveDialogExtensionAllFormats.h"

#include "controls/common/NumberGroup.h"
#include "browser/modResize.h"
#include "core/setup/modSetup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

namespace picbasket {

namespace {

constexpr int PanelWidth = 406;
constexpr int PanelHeight = 103;
// Every frame lies on this one spot.
const QRect FrameSpot(8, 0, 400, 70);
constexpr const char* ColorProperty = "oleColor";

typFormatOptions& formats() {
    return Setup.SaveOptions.Formats;
}

// A titled group of two option buttons, one above the other, in index order.
QGroupBox* optionGroup(QWidget* parent, const QString& title, std::array<QRadioButton*, 2>& opts,
                       const QString& first, const QString& second) {
    auto* group = new QGroupBox(title, parent);
    group->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    auto* column = new QVBoxLayout(group);
    column->setContentsMargins(8, 2, 8, 2);
    column->setSpacing(0);
    opts[0] = new QRadioButton(first, group);
    opts[1] = new QRadioButton(second, group);
    column->addWidget(opts[0]);
    column->addWidget(opts[1]);
    return group;
}

// Checks the option of that index; an index the array does not have checks none.
void selectOption(std::array<QRadioButton*, 2>& opts, int index) {
    if (index >= 0 && index < int(opts.size()))
        opts[size_t(index)]->setChecked(true);
}

void fillList(QComboBox* list, const QStringList& rows, int selected) {
    {
        const QSignalBlocker filling(list);
        list->clear();
        list->addItems(rows);
        list->setCurrentIndex(-1);
    }
    if (selected >= 0 && selected < rows.size())
        list->setCurrentIndex(selected);
}

// The slider, box and spin of a number group, side by side in `row`.
void addNumberControls(QBoxLayout* row, QWidget* parent, QSlider*& slider, QLineEdit*& box,
                       QScrollBar*& spin) {
    slider = new QSlider(Qt::Horizontal, parent);
    box = new QLineEdit(parent);
    spin = new QScrollBar(Qt::Vertical, parent);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 10);
    spin->setFixedSize(16, box->sizeHint().height());
    row->addWidget(slider, 1);
    row->addWidget(box);
    row->addWidget(spin);
}

} // namespace

frmSaveDialogExtensionAllFormats::frmSaveDialogExtensionAllFormats(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("frmSaveDialogExtensionAllFormats"));
    QFont panelFont = font();
    panelFont.setFamilies({QStringLiteral("Tahoma"), panelFont.family()});
    setFont(panelFont);
    setMinimumSize(FrameSpot.right() + 1, PanelHeight);
    resize(PanelWidth, PanelHeight);
    buildGifFrame();
    buildPngFrame();
    buildJpgFrame();
    buildJpeg2000Frame();
    buildPnmFrame();
    buildTiffFrame();
    connectControls();
    connectOptions();
    subSetup();
}

frmSaveDialogExtensionAllFormats::~frmSaveDialogExtensionAllFormats() = default;

QWidget* frmSaveDialogExtensionAllFormats::newFrame(const char* name) {
    auto* frame = new QWidget(this);
    frame->setObjectName(QString::fromLatin1(name));
    return frame;
}

void frmSaveDialogExtensionAllFormats::buildGifFrame() {
    picFrameGIF = newFrame("picFrameGIF");
    auto* row = new QHBoxLayout(picFrameGIF);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(optionGroup(picFrameGIF, "Compression", optGIFCompression, "None", "LZW"));
    auto* column = new QVBoxLayout;
    chkGIFTransparent = new QCheckBox("Transparent", picFrameGIF);
    cmdGIFTransparentColor = new QPushButton(picFrameGIF);
    cmdGIFTransparentColor->setObjectName("cmdGIFTransparentColor");
    cmdGIFTransparentColor->setFixedSize(48, 22);
    column->addWidget(chkGIFTransparent);
    column->addWidget(cmdGIFTransparentColor);
    column->addStretch();
    row->addLayout(column);
    row->addStretch();
}

void frmSaveDialogExtensionAllFormats::buildPngFrame() {
    picFramePNG = newFrame("picFramePNG");
    auto* row = new QHBoxLayout(picFramePNG);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(optionGroup(picFramePNG, "Color Depth", optPNGColorDepth, "24 bit", "8bit"));
    auto* column = new QVBoxLayout;
    chkPNGTransparent = new QCheckBox("Transparent", picFramePNG);
    cmdPNGtransprentColor = new QPushButton(picFramePNG);
    cmdPNGtransprentColor->setObjectName("cmdPNGtransprentColor");
    cmdPNGtransprentColor->setFixedSize(48, 22);
    column->addWidget(chkPNGTransparent);
    column->addWidget(cmdPNGtransprentColor);
    column->addStretch();
    row->addLayout(column);
    row->addStretch();
}

void frmSaveDialogExtensionAllFormats::buildJpgFrame() {
    picFrameJPG = newFrame("picFrameJPG");
    auto* row = new QHBoxLayout(picFrameJPG);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(optionGroup(picFrameJPG, "Color Depth", optJPGColorDepth, "24 bit", "8bit"));
    row->addWidget(
        optionGroup(picFrameJPG, "Encoding", optJPGEncoding, "Standard", "Progressive"));
    auto* column = new QVBoxLayout;
    column->addWidget(new QLabel("Quality:", picFrameJPG));
    auto* numbers = new QHBoxLayout;
    numbers->setSpacing(2);
    addNumberControls(numbers, picFrameJPG, sldJPGQuality, txtJPGQuality, txtJPGQualityD);
    column->addLayout(numbers);
    column->addStretch();
    row->addLayout(column, 1);
    jpgQuality_ = new NumberGroup(
        sldJPGQuality, txtJPGQuality, txtJPGQualityD, {1, 100, 10, 1, 5, 3},
        [] { return int(formats().JPG.Quality); }, this);
}

void frmSaveDialogExtensionAllFormats::buildJpeg2000Frame() {
    picFrameJPG2000 = newFrame("picFrameJPG2000");
    auto* row = new QHBoxLayout(picFrameJPG2000);
    row->setContentsMargins(0, 0, 0, 0);
    // The group lists index 1 ("Lossy") first.
    std::array<QRadioButton*, 2> shown{};
    row->addWidget(optionGroup(picFrameJPG2000, "Compression", shown, "Lossy", "Loseless"));
    optJPG2000Compression = {shown[1], shown[0]};
    picFrameJPG2000Lossy = new QWidget(picFrameJPG2000);
    picFrameJPG2000Lossy->setObjectName("picFrameJPG2000Lossy");
    auto* numbers = new QHBoxLayout(picFrameJPG2000Lossy);
    numbers->setContentsMargins(0, 0, 0, 0);
    numbers->setSpacing(2);
    addNumberControls(numbers, picFrameJPG2000Lossy, sldJPEG2000Compression,
                      txtJPG2000Compression, txtJPG2000CompressionD);
    row->addWidget(picFrameJPG2000Lossy, 1, Qt::AlignVCenter);
    // Takes the room of the rate controls while they are hidden.
    row->addStretch(0);
    jpeg2000Rate_ = new NumberGroup(
        sldJPEG2000Compression, txtJPG2000Compression, txtJPG2000CompressionD,
        {1, 25, 2, 1, 5, 2}, [] { return int(formats().JPEG2000.Rate); }, this);
}

void frmSaveDialogExtensionAllFormats::buildPnmFrame() {
    picFramePNM = newFrame("picFramePNM");
    auto* column = new QVBoxLayout(picFramePNM);
    column->setContentsMargins(8, 4, 0, 0);
    column->setSpacing(0);
    optPNMFormat[0] = new QRadioButton("RAW", picFramePNM);
    optPNMFormat[1] = new QRadioButton("ASCII", picFramePNM);
    column->addWidget(optPNMFormat[0]);
    column->addWidget(optPNMFormat[1]);
    column->addStretch();
}

void frmSaveDialogExtensionAllFormats::buildTiffFrame() {
    picFrameTiff = newFrame("picFrameTiff");
    auto* row = new QHBoxLayout(picFrameTiff);
    row->setContentsMargins(0, 4, 0, 0);

    picFrameTiffOnly = new QWidget(picFrameTiff);
    picFrameTiffOnly->setObjectName("picFrameTiffOnly");
    auto* only = new QGridLayout(picFrameTiffOnly);
    only->setContentsMargins(0, 0, 0, 0);
    only->addWidget(new QLabel("Compression:", picFrameTiffOnly), 0, 0);
    cboTIFFCompression = new QComboBox(picFrameTiffOnly);
    only->addWidget(cboTIFFCompression, 1, 0);
    only->setRowStretch(2, 1);
    row->addWidget(picFrameTiffOnly);

    picAppendMode = new QWidget(picFrameTiff);
    picAppendMode->setObjectName("picAppendMode");
    auto* modes = new QGridLayout(picAppendMode);
    modes->setContentsMargins(0, 0, 0, 0);
    modes->addWidget(new QLabel("Append mode:", picAppendMode), 0, 0);
    cboAppendMode = new QComboBox(picAppendMode);
    modes->addWidget(cboAppendMode, 1, 0);
    modes->addWidget(new QLabel("Output mode:", picAppendMode), 0, 1);
    cboOutputMode = new QComboBox(picAppendMode);
    modes->addWidget(cboOutputMode, 1, 1);
    modes->setRowStretch(2, 1);
    row->addWidget(picAppendMode);
    row->addStretch();
}

// Each control stores its member at once.
void frmSaveDialogExtensionAllFormats::connectOptions() {
    const auto store = [this](std::array<QRadioButton*, 2>& opts, auto write) {
        for (size_t i = 0; i < opts.size(); ++i) {
            connect(opts[i], &QRadioButton::toggled, this, [i, write](bool checked) {
                if (checked)
                    write(int(i));
            });
        }
    };
    store(optGIFCompression, [](int i) { formats().GIF.Compression = uint8_t(i); });
    store(optPNGColorDepth, [](int i) { formats().PNG.ColorDepth = i; });
    store(optJPGColorDepth, [](int i) { formats().JPG.ColorDepth = i; });
    store(optJPGEncoding, [](int i) { formats().JPG.Encoding = uint8_t(i); });
    store(optPNMFormat, [](int i) { formats().PNM.Format = uint8_t(i); });
    store(optJPG2000Compression, [this](int i) { optJPG2000Compression_Click(i); });
}

void frmSaveDialogExtensionAllFormats::connectControls() {
    connect(chkGIFTransparent, &QCheckBox::toggled, this, [this] { chkGIFTransparent_Click(); });
    connect(chkPNGTransparent, &QCheckBox::toggled, this, [this] { chkPNGTransparent_Click(); });
    connect(cmdGIFTransparentColor, &QPushButton::clicked, this,
            [this] { cmdGIFTransparentColor_Click(); });
    connect(cmdPNGtransprentColor, &QPushButton::clicked, this,
            [this] { cmdPNGtransprentColor_Click(); });
    connect(cboTIFFCompression, &QComboBox::currentIndexChanged, this, [](int index) {
        if (index >= 0)
            formats().TIFF.Compression = int16_t(index);
    });
    connect(cboAppendMode, &QComboBox::currentIndexChanged, this, [](int index) {
        if (index >= 0)
            Setup.SaveOptions.AppendMode = uint8_t(index);
    });
    connect(cboOutputMode, &QComboBox::currentIndexChanged, this, [](int index) {
        if (index >= 0)
            Setup.SaveOptions.OutputMode = uint8_t(index);
    });
    connect(jpgQuality_, &NumberGroup::valueChanged, this,
            [](int value) { formats().JPG.Quality = int16_t(value); });
    connect(jpeg2000Rate_, &NumberGroup::valueChanged, this,
            [](int value) { formats().JPEG2000.Rate = int16_t(value); });
}

void frmSaveDialogExtensionAllFormats::subSetVisibility() {
    for (QWidget* frame : {picFrameGIF, picFramePNG, picFrameJPG, picFrameJPG2000, picFramePNM,
                           picFrameTiff, picFrameTiffOnly})
        frame->setVisible(false);
}

void frmSaveDialogExtensionAllFormats::showFrames(unsigned frames) {
    const std::pair<unsigned, QWidget*> each[] = {
        {saveframe::GIF, picFrameGIF},         {saveframe::PNG, picFramePNG},
        {saveframe::JPG, picFrameJPG},         {saveframe::JPG2000, picFrameJPG2000},
        {saveframe::PNM, picFramePNM},         {saveframe::Tiff, picFrameTiff},
        {saveframe::TiffOnly, picFrameTiffOnly}};
    for (const auto& [bit, frame] : each) {
        if (frames & bit)
            frame->setVisible(true);
    }
}

void frmSaveDialogExtensionAllFormats::subSetup() {
    for (QWidget* frame :
         {picFrameGIF, picFramePNG, picFrameJPG, picFrameJPG2000, picFrameTiff, picFramePNM})
        frame->setGeometry(FrameSpot);
    subSetVisibility();
    const typSaveOptions& options = Setup.SaveOptions;
    fillList(cboTIFFCompression,
             {"None", "Packbits", "CCITT Group 4 Fax", "CCITT Group 3 Fax", "LZW", "JPEG",
              "Deflate"},
             -1);
    fillList(cboAppendMode, {"Beginning of file", "End of file"}, options.AppendMode);
    fillList(cboOutputMode, {"Overwrite", "New File"}, options.OutputMode);

    const typFormatOptions f = options.Formats;
    selectOption(optGIFCompression, f.GIF.Compression);
    chkGIFTransparent->setChecked(f.GIF.Transparent != 0);
    paintButton(cmdGIFTransparentColor, f.GIF.TransparentColor);
    chkGIFTransparent_Click();

    chkPNGTransparent->setChecked(f.PNG.Transparent != 0);
    paintButton(cmdPNGtransprentColor, f.PNG.TransparentColor);
    selectOption(optPNGColorDepth, f.PNG.ColorDepth);
    chkPNGTransparent_Click();

    selectOption(optJPG2000Compression, f.JPEG2000.Lossy);
    optJPG2000Compression_Click(f.JPEG2000.Lossy);
    jpeg2000Rate_->setValue(f.JPEG2000.Rate);

    jpgQuality_->setValue(f.JPG.Quality);
    selectOption(optJPGColorDepth, f.JPG.ColorDepth);
    selectOption(optJPGEncoding, f.JPG.Encoding);
    selectOption(optPNMFormat, f.PNM.Format);
    if (f.TIFF.Compression >= 0 && f.TIFF.Compression < cboTIFFCompression->count())
        cboTIFFCompression->setCurrentIndex(f.TIFF.Compression);
}

void frmSaveDialogExtensionAllFormats::chkGIFTransparent_Click() {
    cmdGIFTransparentColor->setEnabled(chkGIFTransparent->isChecked());
    formats().GIF.Transparent = chkGIFTransparent->isChecked() ? 1 : 0;
}

void frmSaveDialogExtensionAllFormats::chkPNGTransparent_Click() {
    cmdPNGtransprentColor->setEnabled(chkPNGTransparent->isChecked());
    formats().PNG.Transparent = chkPNGTransparent->isChecked() ? 1 : 0;
}

void frmSaveDialogExtensionAllFormats::optJPG2000Compression_Click(int index) {
    formats().JPEG2000.Lossy = uint8_t(index);
    picFrameJPG2000Lossy->setVisible(index == 1);
}

void frmSaveDialogExtensionAllFormats::cmdGIFTransparentColor_Click() {
    if (chooseButtonColor(cmdGIFTransparentColor))
        formats().GIF.TransparentColor = buttonColor(cmdGIFTransparentColor);
}

void frmSaveDialogExtensionAllFormats::cmdPNGtransprentColor_Click() {
    if (chooseButtonColor(cmdPNGtransprentColor))
        formats().PNG.TransparentColor = buttonColor(cmdPNGtransprentColor);
}

OleColor frmSaveDialogExtensionAllFormats::buttonColor(const QPushButton* button) {
    return OleColor(button->property(ColorProperty).toUInt());
}

// The button shows the colour as its back colour, as the colour dialog paints it;
// the stored value (a system colour stays one) is kept with the button.
void frmSaveDialogExtensionAllFormats::paintButton(QPushButton* button, OleColor color) {
    button->setProperty(ColorProperty, uint(color));
    QPalette palette = button->palette();
    const QColor shown = oleToQColor(color, palette);
    palette.setColor(QPalette::Window, shown);
    palette.setColor(QPalette::Button, shown);
    button->setPalette(palette);
    button->setAutoFillBackground(true);
}

bool frmSaveDialogExtensionAllFormats::chooseButtonColor(QPushButton* button) {
    if (!fncShowColorDialog(this, button))
        return false;
    button->setProperty(ColorProperty, uint(qColorToOle(button->palette().color(QPalette::Button))));
    return true;
}

} // namespace picbasket
