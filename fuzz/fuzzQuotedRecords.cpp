#include "core/QuotedRecords.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"

// The quoted-record reader of the basket files on arbitrary bytes. Properties:
// data it accepts writes back into records that read as the very same fields,
// and writing those again gives the same bytes; refused data yields no records.
namespace picbasket::fuzz {

int fuzzQuotedRecords(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzzBytes(data, size);
    const QuotedRecordsRead read = decodeQuotedRecords(bytes);
    if (!read.ok()) {
        fuzzCheck(read.records.isEmpty() && read.errorLine >= 1, "refused data gave records");
        return 0;
    }
    const QByteArray written = encodeQuotedRecords(read.records);
    const QuotedRecordsRead again = decodeQuotedRecords(written);
    fuzzCheck(again.ok(), "written records are refused");
    fuzzCheck(again.records == read.records, "written records read back differently");
    fuzzCheck(encodeQuotedRecords(again.records) == written, "a second write differs");
    return 0;
}

} // namespace picbasket::fuzz
