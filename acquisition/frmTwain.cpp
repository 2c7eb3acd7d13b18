#include "acquisition/frmTwain.h"

#include "acquisition/AcquisitionTarget.h"
#include "acquisition/modAcquireBasket.h"
#include "controls/buttons/MainWindowPictures.h"
#include "controls/buttons/modButtonPicture.h"
#include "controls/common/PaneWindow.h"
#include "controls/dialogs/modBrowseForFolder.h"
#include "core/AppPaths.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/MessageBox.h"
#include "core/modFileSystem.h"
#include "core/setup/modSetup.h"
#include "editing/EditImageData.h"
#include "platform/imagebox/ImageBox.h"
#include "platform/imagebox/ImageBoxView.h"
#include "platform/scan/ScanSource.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace picbasket {

namespace {

const QStringList SinglePageFormats{"BMP", "JPG", "TIF", "PDF", "PSD", "GIF"};
const QStringList MultiPageFormats{"TIF", "PDF"};

QString endsInSeparator(QString folder) {
    return folder.trimmed().endsWith('/') ? folder : subAddBackslash(folder);
}

} // namespace

frmTwain::frmTwain(AcquisitionTarget& main, QWidget* parent) : QDialog(parent), main_(main) {
    setObjectName(QStringLiteral("frmTwain"));
    setWindowTitle(QStringLiteral("Acquire"));
    QFont tahoma = font();
    tahoma.setFamilies({QStringLiteral("Tahoma"), tahoma.family()});
    setFont(tahoma);

    picAcquire = new QFrame(this);
    picAcquire->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    picAcquire->setMinimumSize(320, 360);
    picAcquire->setAutoFillBackground(true);
    QPalette dark = picAcquire->palette();
    dark.setColor(QPalette::Window, dark.color(QPalette::Dark));
    picAcquire->setPalette(dark);
    picAcquire->installEventFilter(this);
    ImageBox1 = new ImageBoxView(picAcquire);
    box().setAutoZoom(true);
    connect(&box(), &ImageBox::displayChanged, this, &frmTwain::layoutImage);
    buildOptions();
    buildButtons();

    auto* right = new QVBoxLayout;
    right->addWidget(picAcquire, 1);
    auto* fitRow = new QHBoxLayout;
    fitRow->addWidget(cmdfit);
    fitRow->addWidget(lblSize, 1);
    right->addLayout(fitRow);
    auto* left = new QVBoxLayout;
    left->addWidget(FrameTwain);
    left->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdAcquire);
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdExit);
    left->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addLayout(right, 1);

    connect(&box(), &ImageBox::TwainPageAcquired, this, &frmTwain::ImageBox1_TwainPageAcquired);
    connect(&box(), &ImageBox::TwainAcquiringChanged, this, &frmTwain::setAcquiring);
    subSetup();
}

frmTwain::~frmTwain() {
    subRemoveButtonPicture(cmdfit);
}

ImageBox& frmTwain::box() const {
    return ImageBox1->box();
}

void frmTwain::buildOptions() {
    FrameTwain = new QGroupBox(QStringLiteral("Options"), this);
    optAcquire[0] = new QRadioButton(QStringLiteral("Put acquired images to Basket"), FrameTwain);
    optAcquire[1] = new QRadioButton(QStringLiteral("Save acquired images to Disk"), FrameTwain);
    picSave = new QWidget(FrameTwain);
    optFile[0] = new QRadioButton(QStringLiteral("Save as single-page files"), picSave);
    optFile[1] = new QRadioButton(QStringLiteral("Save as multi-page file"), picSave);
    cboSinglepage = new QComboBox(picSave);
    cboMultipage = new QComboBox(picSave);
    lblFileName = new QLabel(QStringLiteral("File name:"), picSave);
    txtFileName = new QLineEdit(picSave);
    Label1 = new QLabel(QStringLiteral("Saved in:"), picSave);
    txtFolder = new QLineEdit(picSave);
    cmdBrowse = new QPushButton(QStringLiteral("Browse"), picSave);
    chkOverwrite = new QCheckBox(QStringLiteral("Overwrite if file exists"), picSave);

    auto* grid = new QGridLayout(picSave);
    grid->setContentsMargins(16, 0, 0, 0);
    grid->addWidget(optFile[0], 0, 0);
    grid->addWidget(cboSinglepage, 0, 1, 1, 2);
    grid->addWidget(optFile[1], 1, 0);
    grid->addWidget(cboMultipage, 1, 1, 1, 2);
    grid->addWidget(lblFileName, 2, 0);
    grid->addWidget(txtFileName, 2, 1, 1, 2);
    grid->addWidget(Label1, 3, 0);
    grid->addWidget(txtFolder, 3, 1);
    grid->addWidget(cmdBrowse, 3, 2);
    grid->addWidget(chkOverwrite, 4, 0, 1, 3);
    txtFolder->setMinimumWidth(200);

    auto* frame = new QVBoxLayout(FrameTwain);
    frame->addWidget(optAcquire[0]);
    frame->addWidget(optAcquire[1]);
    frame->addWidget(picSave);

    // The buttons of each pair are exclusive within their own parent.
    for (int i = 0; i < 2; ++i) {
        connect(optAcquire[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optAcquire_Click(i);
        });
        connect(optFile[size_t(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                optFile_Click(i);
        });
    }
    connect(cmdBrowse, &QPushButton::clicked, this, &frmTwain::cmdBrowse_Click);
}

void frmTwain::buildButtons() {
    cmdAcquire = new QPushButton(QStringLiteral("Acquire"), this);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setEnabled(false);
    cmdExit = new QPushButton(QStringLiteral("Exit"), this);
    cmdAcquire->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);
    cmdExit->setAutoDefault(false);
    cmdfit = new QPushButton(QStringLiteral("       Best Fit"), this);
    cmdfit->setAutoDefault(false);
    cmdfit->setMinimumWidth(110);
    lblSize = new QLabel(this);

    mnuFitParent = new QMenu(QStringLiteral("Fit"), this);
    auto* group = new QActionGroup(mnuFitParent);
    group->setExclusive(false);
    const QStringList captions{QStringLiteral("Best Fit"), QStringLiteral("Actual Size")};
    for (int i = 0; i < 2; ++i) {
        mnuFit[size_t(i)] = mnuFitParent->addAction(captions[i]);
        mnuFit[size_t(i)]->setCheckable(true);
        connect(mnuFit[size_t(i)], &QAction::triggered, this, [this, i] { mnuFit_Click(i); });
    }
    mnuFit[0]->setChecked(true);

    connect(cmdAcquire, &QPushButton::clicked, this, &frmTwain::cmdAcquire_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmTwain::cmdCancel_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmTwain::cmdExit_Click);
    connect(cmdfit, &QPushButton::clicked, this, &frmTwain::cmdfit_Click);
}

void frmTwain::subSetup() {
    const typTwain& twain = picbasket::Setup.Twain;
    cboSinglepage->addItems(SinglePageFormats);
    cboMultipage->addItems(MultiPageFormats);
    cboSinglepage->setCurrentIndex(twain.SinglePageFormat);
    cboMultipage->setCurrentIndex(twain.MultiPageFormat);
    subSetButtonPicture(cmdfit, fncMainWindowPicture(QStringLiteral("picPreviewView")));
    chkOverwrite->setChecked(twain.Overwrite != 0);
    // The handlers set the members and the enabled states, also for the button
    // that was already selected.
    optAcquire[twain.Destination == 1 ? 1 : 0]->setChecked(true);
    optAcquire_Click(twain.Destination == 1 ? 1 : 0);
    optFile[twain.FileMode == 1 ? 1 : 0]->setChecked(true);
    optFile_Click(twain.FileMode == 1 ? 1 : 0);
    txtFileName->setText(twain.GenericName);
    txtFolder->setText(endsInSeparator(twain.Folder));
}

void frmTwain::subSaveSetup() {
    typTwain& twain = picbasket::Setup.Twain;
    twain.SinglePageFormat = int16_t(cboSinglepage->currentIndex());
    twain.MultiPageFormat = int16_t(cboMultipage->currentIndex());
    twain.Overwrite = chkOverwrite->isChecked() ? 1 : 0;
    twain.Destination = TwainDestination;
    twain.FileMode = TwainFileMode;
    twain.GenericName = txtFileName->text();
    twain.Folder = txtFolder->text();
}

void frmTwain::optAcquire_Click(int index) {
    TwainDestination = uint8_t(index);
    picSave->setEnabled(index == 1);
}

void frmTwain::optFile_Click(int index) {
    TwainFileMode = uint8_t(index);
    cboSinglepage->setEnabled(index == 0);
    cboMultipage->setEnabled(index != 0);
}

void frmTwain::cmdBrowse_Click() {
    errorTail(QStringLiteral("FrmTwain.cmdBrowse_Click"), [&] {
        QString folder = fncBrowseDestinationFolder(this, txtFolder->text());
        if (!folder.trimmed().isEmpty())
            txtFolder->setText(subAddBackslash(folder));
    });
}

QString fncNoScannerText(const QString& problem) {
    QStringList lines{QStringLiteral("No scanner was found.")};
    if (!problem.trimmed().isEmpty())
        lines << QStringLiteral("SANE: ") + problem.trimmed();
    else
        lines << QStringLiteral("SANE lists no device: check that the scanner is connected and "
                                "switched on, and that its SANE backend is installed.");
    return joinLines(lines);
}

void frmTwain::cmdAcquire_Click() {
    if (acquireRunning_)
        return;
    // The device list is read while events run: the dialog stays until the click ends.
    acquireRunning_ = true;
    setAcquiring(true);
    errorTail(QStringLiteral("FrmTwain.cmdAcquire_Click"), [&] {
        CurrentActivity = QStringLiteral("Acquiring images from the scanner");
        if (box().TwainSourceAvailable()) {
            box().setTwainOption267(true);
            box().setTwainOption266(true);
            box().setTwainOption195(true);
            box().TwainAcquire();
        } else {
            msgBox(fncNoScannerText(installedScanSource()->devicesProblem()), mb::Exclamation);
        }
        subSaveSetup();
    });
    acquireRunning_ = false;
    setAcquiring(false);
}

bool frmTwain::busy() {
    if (!acquireRunning_ && !box().TwainAcquiring())
        return false;
    box().TwainCancel();
    return true;
}

void frmTwain::cmdCancel_Click() {
    box().TwainCancel();
}

void frmTwain::cmdExit_Click() {
    // The dialog stays while a scan runs: it ends the scan first.
    if (busy())
        return;
    subSaveSetup();
    accept();
}

void frmTwain::closeEvent(QCloseEvent* event) {
    if (busy()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmTwain::reject() {
    if (busy())
        return;
    QDialog::reject();
}

bool frmTwain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picAcquire && event->type() == QEvent::Resize)
        layoutImage();
    return QDialog::eventFilter(watched, event);
}

void frmTwain::layoutImage() {
    if (layingOut_)
        return;
    layingOut_ = true;
    const QRect area = picAcquire->contentsRect();
    box().setWidth(area.width());
    box().setHeight(area.height());
    const int w = std::min(box().DisplayWidth(), area.width());
    const int h = std::min(box().DisplayHeight(), area.height());
    if (w <= 0 || h <= 0)
        ImageBox1->setGeometry(area);
    else
        ImageBox1->setGeometry(area.x() + (area.width() - w) / 2, area.y() + (area.height() - h) / 2,
                               w, h);
    layingOut_ = false;
}

void frmTwain::cmdfit_Click() {
    mnuFitParent->popup(cmdfit->mapToGlobal(QPoint(0, cmdfit->height())));
}

void frmTwain::mnuFit_Click(int index) {
    // The checked item changes nothing (a click on it only keeps its check mark).
    const bool wasChecked = index == checkedFit_;
    mnuFit[0]->setChecked(checkedFit_ == 0 || (!wasChecked && index == 0));
    mnuFit[1]->setChecked(checkedFit_ == 1 || (!wasChecked && index == 1));
    if (wasChecked)
        return;
    checkedFit_ = index;
    mnuFit[size_t(1 - index)]->setChecked(false);
    cmdfit->setText(QStringLiteral("    ") + mnuFit[size_t(index)]->text());
    box().setAutoZoom(index == 0);
    if (index == 1)
        box().setZoom(100);
}

void frmTwain::setAcquiring(bool acquiring) {
    acquiring = acquiring || acquireRunning_;
    FrameTwain->setEnabled(!acquiring);
    cmdAcquire->setEnabled(!acquiring);
    cmdCancel->setEnabled(acquiring && box().TwainAcquiring());
}

TwainDiskTarget frmTwain::diskTargetFromControls() const {
    TwainDiskTarget target;
    QString folder = txtFolder->text();
    target.folder = subAddBackslash(folder);
    target.genericName = txtFileName->text();
    target.multipage = TwainFileMode == 1;
    const QComboBox* format = target.multipage ? cboMultipage : cboSinglepage;
    target.extension = QStringLiteral(".") + format->currentText().toLower();
    target.overwrite = chkOverwrite->isChecked();
    return target;
}

void frmTwain::writePage(int pageNumber) {
    if (TwainDestination == 0) {
        const QString path = pageWriter.writeToBasket(box(), pageNumber, AppPaths::tempPageFolder());
        if (!subAddItemToBasket(path))
            box().TwainCancel();
        return;
    }
    // The target is fixed by the first page, so an edit during the scan changes nothing.
    if (pageNumber == 1)
        pageWriter.begin(diskTargetFromControls());
    pageWriter.writeToDisk(box(), pageNumber);
}

// A page that cannot be written is reported and ends the acquisition; the pages
// before it stay where they went.
void frmTwain::ImageBox1_TwainPageAcquired() {
    errorTail(QStringLiteral("FrmTwain.ImageBox1_TwainPageAcquired"), [&] {
        try {
            CurrentActivity = QStringLiteral("Saving the acquired page");
            writePage(box().AcquiredPageNumber());
            lblSize->setText(QStringLiteral("%1 X %2").arg(box().ImageWidth()).arg(box().ImageHeight()));
        } catch (...) {
            box().TwainCancel();
            throw;
        }
    });
}

// The page file exists already: it becomes the preview's image and its original
// copy, then a basket row.
bool frmTwain::subAddItemToBasket(const QString& path) {
    bool added = false;
    errorTail(QStringLiteral("FrmTwain.subAddItemToBasket"), [&] {
        ImageBox& preview = main_.previewView()->box();
        preview.Clear();
        preview.setAutoZoom(main_.acquisitionPreviewFit() == 0);
        preview.setPageIndex(1);
        preview.LoadFromFile(path);
        main_.setAcquiredPicture(preview.Picture());
        main_.previewView()->show();
        OriginalImageData = preview.Picture();
        subAddPreviewFileToBasket(main_, path);
        main_.acquisitionPaneWindow().subResize();
        added = true;
    });
    return added;
}

// Scanning: the acquisition dialog, modal; a new one each time, as closing it unloads it.
void subShowTwainDialog(AcquisitionTarget& target) {
    errorTail(QStringLiteral("FrmMain.subShowTwainDialog"), [&] {
        frmTwain dialog(target, &target.acquisitionWindow());
        dialog.exec();
    });
}

} // namespace picbasket
