#pragma once
#include <QString>

class QWidget;

namespace picbasket {

class ListView;
class TaskRowList;

// What the generator dialogs read of the main window while they run: the window that
// owns them and the wait dialog, the task basket (the explorer view's list lvEdit, the
// edit view's list lvEditPreview and the executable rows lvEditBatch), the image basket
// (lvPages) and the file the preview shows (its box's tag, empty while none).
class GeneratorHost {
public:
    virtual QWidget& generatorOwner() = 0;
    virtual const ListView& generatorTaskList() = 0;
    virtual const ListView& generatorEditTaskList() = 0;
    // The executable task rows; the basket's batch asks the same of the window
    // (PaneQueries), and one answer serves both.
    virtual const TaskRowList& batchTaskRows() const = 0;
    virtual const ListView& generatorBasket() = 0;
    virtual QString generatorPreviewedFile() = 0;

protected:
    ~GeneratorHost() = default;
};

// The slide-show generator for the basket's images, modal.
void subShowSlideShowDialog(GeneratorHost& host);
// The screensaver generator, modal: mode 0 the previewed image (nothing without one),
// 1 the basket's images.
void subShowScreensaverDemo(GeneratorHost& host, int generateMode);
// The greeting generator for the previewed image, modal; nothing without one.
void subShowGreetingDemo(GeneratorHost& host);

} // namespace picbasket
