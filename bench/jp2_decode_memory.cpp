// Peak memory of the JPEG 2000 decode (the control's LoadFile) against the
// picture it makes and against grk_decompress on the same file, for a photo in
// one tile and in tiles of 512, at 8 and 16 bits. Each decode runs in a child
// process of its own; the figure is its peak resident memory above what it held
// before the decode (getrusage).
#include "bench/BenchSupport.h"
#include "platform/jp2/AxImage.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace picbasket;

namespace {

qint64 residentNow() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    return statm.readAll().split(' ').value(1).toLongLong() * sysconf(_SC_PAGESIZE);
}

// The child's side: decodes the file and prints its peak above the start and the
// picture's size. A fresh process, since Grok's worker threads do not survive a
// fork.
int decodeAndReport(const QString& path) {
    const qint64 before = residentNow();
    try {
        AxImage control;
        control.LoadFile(path, AxImage::FormatJp2);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("%lld %lld\n", static_cast<long long>(qint64(usage.ru_maxrss) * 1024 - before),
                    static_cast<long long>(control.GetBitmapHandle(0).sizeInBytes()));
        return 0;
    } catch (...) {
        return 1;
    }
}

// Peak resident bytes of our decode above the child's start, -1 on failure.
qint64 oursPeak(const QString& path, qint64& pictureBytes) {
    int channel[2];
    if (pipe(channel) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        dup2(channel[1], STDOUT_FILENO);
        const QByteArray in = path.toLocal8Bit();
        execl("/proc/self/exe", "jp2_decode_memory", "--decode", in.constData(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    close(channel[1]);
    char text[128] = {};
    const ssize_t got = read(channel[0], text, sizeof text - 1);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    long long peak = -1, picture = 0;
    if (got <= 0 || std::sscanf(text, "%lld %lld", &peak, &picture) != 2)
        return -1;
    pictureBytes = picture;
    return peak;
}

// Peak resident bytes of grk_decompress writing the file as a portable map.
qint64 grkPeak(const QString& path, const QString& out) {
    const pid_t child = fork();
    if (child == 0) {
        const QByteArray in = path.toLocal8Bit(), o = out.toLocal8Bit();
        execlp("grk_decompress", "grk_decompress", "-i", in.constData(), "-o", o.constData(),
               static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return -1;
    return qint64(usage.ru_maxrss) * 1024;
}

double mib(qint64 bytes) {
    return double(bytes) / (1 << 20);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && QByteArray(argv[1]) == "--decode")
        return decodeAndReport(QString::fromLocal8Bit(argv[2]));
    QTemporaryDir dir;
    const QImage photo = bench::photoLikeImage(4096, 3072, 3);
    const QString ppm = dir.filePath("photo.ppm");
    if (!bench::writePpm(photo, ppm))
        return 1;
    struct Case {
        const char* name;
        QStringList args; // grk_compress options making it; empty: our encoder
        QImage image;
    } cases[] = {
        {"8-bit, one tile (ours)", {}, photo},
        {"16-bit, one tile (ours)", {}, photo.convertToFormat(QImage::Format_RGBX64)},
        {"8-bit, tiles of 512 (grk_compress)", {"-t", "512,512"}, {}},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString file = dir.filePath(QStringLiteral("case%1.jp2").arg(++n));
        if (c.args.isEmpty()) {
            AxImage control;
            control.SetBitmapHandle(c.image);
            control.SetCompressionRate(20);
            control.SaveFile(file, AxImage::FormatJp2);
        } else if (!bench::runTool("grk_compress", QStringList{"-i", ppm, "-o", file} + c.args)) {
            std::printf("%s: grk_compress failed\n", c.name);
            continue;
        }
        qint64 picture = 0;
        const qint64 ours = oursPeak(file, picture);
        const qint64 grk = grkPeak(file, dir.filePath("out.ppm"));
        std::printf("%s: picture %.0f MiB, our decode peak %.0f MiB (%.2f x the picture), "
                    "grk_decompress peak %.0f MiB\n",
                    c.name, mib(picture), mib(ours), double(ours) / double(picture), mib(grk));
        std::printf("%s: peak memory ratio %.2f\n", c.name, double(ours) / double(grk));
    }
    return 0;
}
