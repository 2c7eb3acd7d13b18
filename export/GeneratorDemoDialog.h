#pragma once
#include "export/modScreensaver.h"

#include <QDialog>
#include <cstdint>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;
class QSlider;
class QVBoxLayout;

namespace picbasket {

class NumberGroup;

// The controls the screensaver and the greeting dialogs share: the plugin list
// ("Fireworks!"), the quality as slider, box and spin, the task-basket check box,
// Generate and Exit, and the link to the program's web page. Each dialog binds
// them to its own block of the setup record (a quality and a task flag).
class GeneratorDemoDialog : public QDialog {
    Q_OBJECT

public:
    // Opens an address with the desktop's default program; tests pass a recorder.
    using LinkOpener = std::function<bool(const QString&)>;

    // Controls from the setup block.
    void subSetupCommon();
    // Setup block from the controls.
    void saveSetupCommon();
    void lblCorvane_Click();

    QLabel* lblSelect = nullptr;
    QListWidget* lstTemplate = nullptr;
    QGroupBox* fraOptions = nullptr;
    QLabel* lblQualityCaption = nullptr;
    QSlider* sldQuality = nullptr;
    QLineEdit* tTransition = nullptr;
    QScrollBar* tTransitionD = nullptr;
    QCheckBox* chkProcessTaskBasket = nullptr;
    QPushButton* cmdGenerate = nullptr;
    QPushButton* cmdCancel = nullptr;
    QLabel* lblCorvane = nullptr;
    NumberGroup* quality = nullptr;

protected:
    GeneratorDemoDialog(const GeneratorSources& sources, int16_t& qualityMember,
                        uint8_t& processTasksMember, QWidget* parent, LinkOpener opener);
    // Adds a line of text below the options (the greeting's usage note).
    void addNote(QLabel* note);
    // Form_Load: the first plugin selected, the controls from the setup block.
    void Form_Load();
    virtual void cmdGenerate_Click() = 0;
    void cmdCancel_Click();
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Asks for the output name with the Save dialog; "" when cancelled, else the
    // name with the extension appended when it does not end in it (any case).
    QString fncAskOutputName(const QString& title, const QString& filter,
                             const QString& extension) const;
    // The template extracted for a writer, or "" after "There was an error!".
    QString fncExtractTemplate(const QString& name) const;

    GeneratorSources sources_;
    int16_t& qualityMember_;
    uint8_t& processTasksMember_;

private:
    void buildControls();
    LinkOpener opener_;
    QVBoxLayout* notes_ = nullptr;
};

} // namespace picbasket
