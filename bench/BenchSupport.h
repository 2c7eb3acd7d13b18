#pragma once
#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>

// Shared pieces of the benchmarks: test images, PPM files for the outside tools,
// timing, and running an outside tool.
namespace picbasket::bench {

// Smooth colour fields with texture and a little noise, something like a
// photograph; each seed gives a different image.
QImage photoLikeImage(int width, int height, int seed = 0);
// Writes a 24-bit image as a binary PPM, the input every outside encoder reads.
bool writePpm(const QImage& image, const QString& path);
// The fastest of `runs` runs of the job in seconds, or -1 when a run fails.
double bestSeconds(int runs, const std::function<bool()>& job);
// Runs an outside program; true when it ended normally with exit code 0.
bool runTool(const QString& program, const QStringList& args, int timeoutMs = 1800000);

} // namespace picbasket::bench
