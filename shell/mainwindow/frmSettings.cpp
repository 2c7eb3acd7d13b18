#include "shell/mainwindow/frmSettings.h"

#include "controls/common/modGenericFunctions.h"
#include "controls/dialogs/modBrowseForFolder.h"
#include "core/ErrorHandler.h"
#include "core/setup/modSetup.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/TabStrip.h"
#include "shell/mainwindow/frmMain.h"

#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace picbasket {

namespace {
constexpr int16_t ThumbnailMin = 20;
constexpr int16_t ThumbnailMax = 300;
} // namespace

frmSettings::frmSettings(frmMain* main, QWidget* parent) : QDialog(parent), main_(main) {
    setWindowTitle(QStringLiteral("Settings"));
    setModal(true);
    tbsSettings = new TabStrip(this);
    const QStringList captions{QStringLiteral("General"), QStringLiteral("Capture"),
                               QStringLiteral("Twain"), QStringLiteral("Shortcuts")};
    const QStringList names{QStringLiteral("picGeneral"), QStringLiteral("picCapture"),
                            QStringLiteral("picTwain"), QStringLiteral("picShortcuts")};
    for (int i = 0; i < 4; ++i) {
        tbsSettings->AddTab(captions[i]);
        panels[static_cast<size_t>(i)] = new QWidget(tbsSettings);
        panels[static_cast<size_t>(i)]->setObjectName(names[i]);
    }
    buildGeneral();
    buildFolderPanel(1, txtCaptureGeneric, txtCaptureFolder, cmdCaptureBrowse,
                     QStringLiteral("Default Capture Folder"));
    buildFolderPanel(2, txtTwainGeneric, txtTwainFolder, cmdTwainBrowse,
                     QStringLiteral("Default Twain Folder"));
    buildShortcuts();

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdOK->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tbsSettings, 1);
    layout->addLayout(buttons);
    resize(400, 340);

    connect(cmdOK, &QPushButton::clicked, this, &frmSettings::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSettings::cmdCancel_Click);
    connect(cmdCaptureBrowse, &QPushButton::clicked, this,
            [this] { browseInto(txtCaptureFolder); });
    connect(cmdTwainBrowse, &QPushButton::clicked, this, [this] { browseInto(txtTwainFolder); });
    connect(tbsSettings, &TabStrip::Click, this, &frmSettings::tbsSettings_Click);
    subSetup();
    tbsSettings_Click();
}

void frmSettings::buildGeneral() {
    QWidget* panel = panels[0];
    optFileSize[0] = new QRadioButton(QStringLiteral("Show short file size"), panel);
    optFileSize[1] = new QRadioButton(QStringLiteral("Show long file size"), panel);
    chkAllowTip = new QCheckBox(QStringLiteral("Show Tips for controls"), panel);
    auto* frame = new QGroupBox(QStringLiteral("Folder Files"), panel);
    chkFolderFullRowSelect = new QCheckBox(QStringLiteral("Enable Full Row Select"), frame);
    txtFolderThumbnailWidth = new QLineEdit(frame);
    txtFolderThumbnailHeight = new QLineEdit(frame);
    auto* form = new QFormLayout(frame);
    form->addRow(chkFolderFullRowSelect);
    form->addRow(QStringLiteral("Thumbnail Width"), txtFolderThumbnailWidth);
    form->addRow(QStringLiteral("Thumbnail Height"), txtFolderThumbnailHeight);
    auto* column = new QVBoxLayout(panel);
    column->addWidget(optFileSize[0]);
    column->addWidget(optFileSize[1]);
    column->addWidget(chkAllowTip);
    column->addWidget(frame);
    column->addStretch(1);
    setupThumbnailBox(txtFolderThumbnailWidth);
    setupThumbnailBox(txtFolderThumbnailHeight);
}

void frmSettings::buildFolderPanel(int index, QLineEdit*& generic, QLineEdit*& folder,
                                   QPushButton*& browse, const QString& folderLabel) {
    QWidget* panel = panels[static_cast<size_t>(index)];
    generic = new QLineEdit(panel);
    folder = new QLineEdit(panel);
    browse = new QPushButton(QStringLiteral("Browse"), panel);
    auto* grid = new QGridLayout(panel);
    grid->addWidget(new QLabel(QStringLiteral("Generic Name"), panel), 0, 0);
    grid->addWidget(generic, 0, 1, 1, 2);
    grid->addWidget(new QLabel(folderLabel, panel), 1, 0);
    grid->addWidget(folder, 1, 1);
    grid->addWidget(browse, 1, 2);
    grid->setRowStretch(2, 1);
}

void frmSettings::buildShortcuts() {
    lvShortcuts = new ListView(panels[3]);
    lvShortcuts->AddColumn(QStringLiteral("Action"), 220);
    lvShortcuts->AddColumn(QStringLiteral("Shortcut"), 110);
    auto* column = new QVBoxLayout(panels[3]);
    column->addWidget(lvShortcuts);
}

// Thumbnail sizes stay between 20 and 300 pixels: an emptied box shows the least size
// at once, only digits can be typed, and leaving the box clamps its number.
void frmSettings::setupThumbnailBox(QLineEdit* box) {
    subMakeNumericTextBox(box);
    box->installEventFilter(this);
    connect(box, &QLineEdit::textChanged, this, [box](const QString& text) {
        if (text.isEmpty()) {
            box->setText(QString::number(ThumbnailMin));
            box->setCursorPosition(2);
        }
    });
}

bool frmSettings::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && (box == txtFolderThumbnailWidth || box == txtFolderThumbnailHeight)) {
        if (event->type() == QEvent::FocusIn)
            // After the click that gave the focus has placed the caret.
            QTimer::singleShot(0, box, [box] { subSelectAllText(box); });
        else if (event->type() == QEvent::FocusOut)
            subClampTextValue(box, ThumbnailMin, ThumbnailMax);
    }
    return QDialog::eventFilter(watched, event);
}

void frmSettings::subSetup() {
    errorTail(QStringLiteral("frmSettings.subSetup"), [&] {
        try {
            chkAllowTip->setChecked(Setup.AllowTip != 0);
            txtTwainGeneric->setText(Setup.Twain.GenericName);
            txtTwainFolder->setText(Setup.Twain.Folder);
            txtCaptureGeneric->setText(Setup.Capture.GenericName);
            txtCaptureFolder->setText(Setup.Capture.Folder);
            txtFolderThumbnailWidth->setText(QString::number(Setup.FolderList.ThumbnailWidth));
            txtFolderThumbnailHeight->setText(QString::number(Setup.FolderList.ThumbnailHeight));
            // An index this dialog does not offer opens on the first option.
            const int format =
                Setup.FolderList.FileSizeFormat <= 1 ? Setup.FolderList.FileSizeFormat : 0;
            optFileSize[static_cast<size_t>(format)]->setChecked(true);
            chkFolderFullRowSelect->setChecked(Setup.FolderList.FullRowSelect);
            lvShortcuts->Clear();
            const std::pair<const char*, const char*> rows[] = {
                {"Add Selected Files to basket", "Enter [Return]"},
                {"Select all files", "Ctrl + A"},
                {"Delete selected files from basket", "Delete"}};
            for (const auto& [action, shortcut] : rows) {
                const int row = lvShortcuts->AddItem(QString::fromLatin1(action));
                lvShortcuts->setSubItem(row, 1, QString::fromLatin1(shortcut));
            }
        } catch (...) {
            // The next start then begins from the defaults.
            subDeleteSetupFile();
            throw;
        }
    });
}

void frmSettings::cmdOK_Click() {
    // Enter on the default button leaves the boxes without a focus change, so the
    // clamp is applied here as well.
    subClampTextValue(txtFolderThumbnailWidth, ThumbnailMin, ThumbnailMax);
    subClampTextValue(txtFolderThumbnailHeight, ThumbnailMin, ThumbnailMax);
    auto size = [](QLineEdit* box) {
        bool ok = false;
        const int value = box->text().toInt(&ok);
        return static_cast<int16_t>(ok ? std::clamp<int>(value, ThumbnailMin, ThumbnailMax)
                                       : ThumbnailMin);
    };
    Setup.AllowTip = chkAllowTip->isChecked() ? 1 : 0;
    Setup.Twain.GenericName = txtTwainGeneric->text();
    Setup.Twain.Folder = txtTwainFolder->text();
    Setup.Capture.GenericName = txtCaptureGeneric->text();
    Setup.Capture.Folder = txtCaptureFolder->text();
    Setup.FolderList.ThumbnailWidth = Setup.BasketList.ThumbnailWidth =
        size(txtFolderThumbnailWidth);
    Setup.FolderList.ThumbnailHeight = Setup.BasketList.ThumbnailHeight =
        size(txtFolderThumbnailHeight);
    Setup.FolderList.FileSizeFormat = optFileSize[0]->isChecked() ? 0 : 1;
    Setup.FolderList.FullRowSelect = Setup.BasketList.FullRowSelect =
        chkFolderFullRowSelect->isChecked();
    if (main_)
        main_->subUpdateForm();
    accept();
}

void frmSettings::cmdCancel_Click() {
    reject();
}

void frmSettings::tbsSettings_Click() {
    for (QWidget* panel : panels)
        panel->hide();
    const int tab = tbsSettings->SelectedItem();
    if (tab >= 1 && tab <= 4) {
        panels[static_cast<size_t>(tab - 1)]->setGeometry(tbsSettings->ClientArea());
        panels[static_cast<size_t>(tab - 1)]->show();
    }
}

void frmSettings::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    for (QWidget* panel : panels)
        panel->setGeometry(tbsSettings->ClientArea());
}

void frmSettings::browseInto(QLineEdit* folder) {
    const QString chosen = fncBrowseDestinationFolder(this, folder->text());
    if (!chosen.isEmpty())
        folder->setText(chosen);
}

} // namespace picbasket
