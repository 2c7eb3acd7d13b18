#pragma once

namespace picbasket {

// What a long loop of the engine drives on a progress bar: the window that owns the
// bar implements it (the wait dialog's pbQueue), tests record the calls.
class ProgressIndicator {
public:
    virtual ~ProgressIndicator() = default;
    virtual void setMaximum(int maximum) = 0;
    virtual void setValue(int value) = 0;
    virtual void setVisible(bool visible) = 0;
};

// What a long loop needs of the wait dialog: showing it with its processing text
// while the loop runs, its progress bar, and closing it at the end. The Cancel
// button sets CancelOperation, which the loop polls between items.
class WaitIndicator {
public:
    virtual ~WaitIndicator() = default;
    virtual void showWaiting() = 0;
    virtual ProgressIndicator& progress() = 0;
    virtual void closeWaiting() = 0;
};

} // namespace picbasket
