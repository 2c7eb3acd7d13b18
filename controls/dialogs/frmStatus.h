#pragma once
#include "engine/batch/ProgressIndicator.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace picbasket {

// The wait dialog ("Processing...") that long batch operations show while they run.
// Its Cancel button sets CancelOperation, which the running loop polls between
// items; the loop closes the dialog when it stops.
//
// It is shown window-modal over its owner: the main window takes no input while a
// batch loop runs on its thread (so the basket cannot change and the program cannot
// be closed under the loop), while the dialog's own Cancel keeps working.
class frmStatus : public QDialog, public WaitIndicator {
    Q_OBJECT

public:
    explicit frmStatus(QWidget* owner = nullptr);

    // The one wait dialog of the program, created on first use over that owner.
    static frmStatus& instance(QWidget* owner = nullptr);

    // Sets the processing text (also after an earlier cancel).
    void Form_Load();
    // Lets pending events run once, shows the cancelling text, sets CancelOperation.
    void cmdCancel_Click();

    // WaitIndicator: show with the processing text and a cleared cancel flag, the
    // progress bar, hide.
    void showWaiting() override;
    ProgressIndicator& progress() override { return progress_; }
    void closeWaiting() override;

    QLabel* lblStatus = nullptr;
    QLabel* lblMessage = nullptr;
    QProgressBar* pbQueue = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    // Escape and the window's close button cancel the operation instead of hiding
    // the dialog under a loop that still runs.
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    // pbQueue as the engine sees it.
    class QueueBar : public ProgressIndicator {
    public:
        explicit QueueBar(frmStatus& owner) : owner_(owner) {}
        void setMaximum(int maximum) override;
        void setValue(int value) override;
        void setVisible(bool visible) override;

    private:
        frmStatus& owner_;
    };

    void buildControls();
    QueueBar progress_{*this};
    bool closingByOwner_ = false;
};

} // namespace picbasket
