#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// The fuzz targets by name. Each libFuzzer executable "fuzz_NAME" runs the entry
// of that name, and the replay suite feeds every file of tests/data/fuzz/NAME/ to
// the same entry, so a file the fuzzer found replays exactly as it was found.
namespace picbasket::fuzz {

using FuzzEntry = int (*)(const uint8_t* data, size_t size);

struct FuzzTarget {
    std::string_view name;
    FuzzEntry entry;
};

const std::vector<FuzzTarget>& fuzzTargets();
// The entry of that name, or nullptr.
FuzzEntry findFuzzEntry(std::string_view name);

// One entry per parser; each file of this folder holds one.
int fuzzSetup(const uint8_t* data, size_t size);
int fuzzHeader(const uint8_t* data, size_t size);
int fuzzLoadPic(const uint8_t* data, size_t size);
int fuzzImageBox(const uint8_t* data, size_t size);
int fuzzJpeg2000(const uint8_t* data, size_t size);
int fuzzMetadata(const uint8_t* data, size_t size);
int fuzzNaming(const uint8_t* data, size_t size);
int fuzzTaskParams(const uint8_t* data, size_t size);
int fuzzMetafile(const uint8_t* data, size_t size);
int fuzzQuotedRecords(const uint8_t* data, size_t size);
int fuzzProgramLayout(const uint8_t* data, size_t size);
int fuzzScanFrames(const uint8_t* data, size_t size);

} // namespace picbasket::fuzz
