#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"

#include <cstdio>
#include <cstdlib>

// The libFuzzer side of one target; CMake names the target with
// PICBASKET_FUZZ_TARGET.
namespace {

picbasket::fuzz::FuzzEntry entry = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    picbasket::fuzz::ensureFuzzEnvironment();
    entry = picbasket::fuzz::findFuzzEntry(PICBASKET_FUZZ_TARGET);
    if (!entry) {
        std::fprintf(stderr, "no fuzz target named %s\n", PICBASKET_FUZZ_TARGET);
        std::exit(2);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return entry(data, size);
}
