#include "core/AppError.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "platform/scan/ScanPageAssembler.h"

// The frames of scanned pages as a scanner could send them. The input is a run of
// frames, each an 8-byte header (kind % 5, last-frame flag, depth, pixels per line
// and bytes per line as 16-bit little-endian numbers, lines as a signed byte, -1
// for an unknown height) and a 16-bit little-endian length of its data, which
// follows; a finished page is taken and the next frame starts another. Property: a
// page that comes out is as wide as its frames say and has whole lines only.
namespace picbasket::fuzz {

namespace {

int u16(const uint8_t* p) {
    return p[0] | (p[1] << 8);
}

} // namespace

int fuzzScanFrames(const uint8_t* data, size_t size) {
    ensureFuzzEnvironment();
    ScanPageAssembler assembler;
    size_t at = 0;
    while (at + 10 <= size) {
        const uint8_t* h = data + at;
        ScanFrameFormat f;
        f.kind = ScanFrameFormat::Kind(h[0] % 5);
        f.lastFrame = h[1] & 1;
        f.depth = h[2];
        f.pixelsPerLine = u16(h + 3);
        f.bytesPerLine = u16(h + 5);
        f.lines = int8_t(h[7]);
        const size_t length = std::min<size_t>(size_t(u16(h + 8)), size - at - 10);
        at += 10;
        try {
            assembler.beginFrame(f);
            assembler.addData(data + at, length);
            assembler.endFrame();
            if (assembler.complete()) {
                const QImage page = assembler.page();
                fuzzCheck(page.width() == f.pixelsPerLine && page.height() >= 1,
                          "a page of another width or without lines");
                assembler.reset();
            }
        } catch (const AppError&) {
            assembler.reset();
        }
        at += length;
    }
    return 0;
}

} // namespace picbasket::fuzz
