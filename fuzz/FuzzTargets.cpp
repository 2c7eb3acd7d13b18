#include "fuzz/FuzzTargets.h"

namespace picbasket::fuzz {

const std::vector<FuzzTarget>& fuzzTargets() {
    static const std::vector<FuzzTarget> targets = {
        {"setup", fuzzSetup},       {"header", fuzzHeader},         {"loadpic", fuzzLoadPic},
        {"imagebox", fuzzImageBox}, {"jpeg2000", fuzzJpeg2000},     {"metadata", fuzzMetadata},
        {"naming", fuzzNaming},     {"taskparams", fuzzTaskParams}, {"metafile", fuzzMetafile},
        {"quotedrecords", fuzzQuotedRecords},
        {"programlayout", fuzzProgramLayout},
        {"scanframes", fuzzScanFrames},
    };
    return targets;
}

FuzzEntry findFuzzEntry(std::string_view name) {
    for (const FuzzTarget& target : fuzzTargets())
        if (target.name == name)
            return target.entry;
    return nullptr;
}

} // namespace picbasket::fuzz
