#include "engine/tasks/TaskRowList.h"
#include "engine/tasks/modTaskEngine.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "platform/imagebox/ImageBox.h"

// The task engine on arbitrary task parameters, as a task-basket file would
// bring them, over a small image. The first byte chooses the task number
// (byte % 17, 0 to 16); the rest, split at each line feed, gives parameters 1
// to 17. Property: the run never throws, and the box still holds an image.
namespace picbasket::fuzz {

int fuzzTaskParams(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    ensureFuzzEnvironment();
    TaskRow row;
    row.Text = QString::number(data[0] % 17);
    const QList<QByteArray> params = fuzzBytes(data + 1, size - 1).split('\n');
    for (int k = 1; k <= TaskParamCount && k <= params.size(); ++k)
        row.SubItems[size_t(k)] = QString::fromUtf8(params[k - 1]);
    TaskRowList rows;
    rows.addRow(row);

    QImage image(16, 12, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    ImageBox box;
    box.setImage(image);
    subProcessPages(nullptr, rows, box, nullptr, true);
    fuzzCheck(box.HasImage(), "a task run left the box without an image");
    return 0;
}

} // namespace picbasket::fuzz
