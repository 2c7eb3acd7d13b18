// The preview pane's controls and menus.
#include "browser/PreviewPane.h"

#include "controls/common/PaneControls.h"
#include "controls/common/ToolbarFlowLayout.h"
#include "platform/imagebox/ImageBoxView.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>

namespace picbasket {

namespace {

void widenForCaption(QPushButton* button, const QString& caption) {
    const int text = button->fontMetrics().horizontalAdvance(caption.trimmed());
    button->setFixedWidth(std::max(button->width(), text + 32));
}

} // namespace

PreviewPane::PreviewPane(QWidget* parent,
                         const std::function<void(QWidget* toolbar)>& addEditCommands)
    : QWidget(parent) {
    setAutoFillBackground(true);
    picView = this;
    picToolbarPreview = new QWidget(picView);
    // A narrow pane gets a second row of buttons rather than cut captions.
    auto* row = new ToolbarFlowLayout(picToolbarPreview);
    row->setContentsMargins(1, 1, 1, 1);
    row->setSpacing(1);
    Label4 = new QLabel(QStringLiteral("Preview"), picToolbarPreview);
    Label4->setFixedHeight(ToolButtonSize - 2);
    Label4->setContentsMargins(4, 0, 4, 0);
    {
        QFont font = Label4->font();
        font.setBold(true);
        Label4->setFont(font);
    }
    row->addWidget(Label4);
    cmdPreviewView = makeButton(picToolbarPreview, QStringLiteral("     Best Fit"),
                                QStringLiteral("Set the fit mode of the image"), 0);
    cmdPreviewType =
        makeButton(picToolbarPreview, QStringLiteral("     Original"),
                   QStringLiteral("Set the view type to either Original or Optimized"), 0);
    // The two pop-up buttons show their menu's checked item: each is as wide as its
    // longest item needs, so no caption is cut and the bar does not jump.
    widenForCaption(cmdPreviewView, QStringLiteral("     Actual Size"));
    widenForCaption(cmdPreviewType, QStringLiteral("     Optimized"));
    row->startGroup();
    cmdPreviewPrevious =
        makeButton(picToolbarPreview, {}, QStringLiteral("View the image of the previous file"),
                   ToolButtonSize);
    cmdPreviewNext = makeButton(picToolbarPreview, {},
                                QStringLiteral("View the image of the next file"), ToolButtonSize);
    row->addStretch(1);
    addEditCommands(picToolbarPreview);
    CmdPreviewEdit = makeButton(picToolbarPreview, QStringLiteral("    Edit"),
                                QStringLiteral("Edit the current image"), ToolButtonSize);
    cmdPreviewPrint = makeButton(picToolbarPreview, {},
                                 QStringLiteral("Print the current preview image"), ToolButtonSize);
    cmdPreviewSave =
        makeButton(picToolbarPreview, {}, QStringLiteral("Save the current preview image to file"),
                   ToolButtonSize);

    PicViewImage = new QWidget(picView);
    PicViewImage->setAutoFillBackground(true);
    QPalette palette = PicViewImage->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Dark));
    PicViewImage->setPalette(palette);
    ibMain = new ImageBoxView(PicViewImage);
    vsbView = new QScrollBar(Qt::Vertical, picView);
    hsbView = new QScrollBar(Qt::Horizontal, picView);
}

PreviewPane::~PreviewPane() = default;

ImageBox& PreviewPane::previewBox() {
    return ibMain->box();
}

QString PreviewPane::previewPath() const {
    return PicTiffTag;
}

int PreviewPane::checkedPreviewFit() const {
    return previewFit_->actions().at(0)->isChecked() ? 0 : 1;
}

int PreviewPane::checkedPreviewType() const {
    return previewType_->actions().at(0)->isChecked() ? 0 : 1;
}

} // namespace picbasket
