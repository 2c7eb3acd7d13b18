#pragma once
#include "engine/tasks/FrameArtwork.h"
#include "engine/tasks/TaskRowList.h"

#include <QImage>
#include <QStringList>
#include <memory>
#include <set>

namespace picbasket::test {

// An executable row of task `id` with parameters 1, 2, ... from the list.
TaskRow taskRow(const QString& id, const QStringList& params = {});

// A small picture whose every pixel differs from its neighbours, so a moved,
// flipped or cropped copy cannot pass for the original.
QImage patternImage(int width, int height);

// A picture of one opaque colour.
QImage solid(int width, int height, QRgb colour);

// A visible task list whose selection the test chooses.
class FakeTaskList : public TaskListSelection {
public:
    explicit FakeTaskList(std::set<int> selected = {}) : selected_(std::move(selected)) {}
    bool isRowSelected(int index) const override { return selected_.count(index) != 0; }

private:
    std::set<int> selected_;
};

// Puts a synthetic artwork store in place for the life of the object.
class ScopedArtwork {
public:
    explicit ScopedArtwork(FrameArtwork artwork) {
        FrameArtwork::setCurrent(std::make_shared<const FrameArtwork>(std::move(artwork)));
    }
    ~ScopedArtwork() { FrameArtwork::resetCurrent(); }
    ScopedArtwork(const ScopedArtwork&) = delete;
    ScopedArtwork& operator=(const ScopedArtwork&) = delete;
};

} // namespace picbasket::test
