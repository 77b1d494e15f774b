// A journal left by a program that ended with a report open.

#include "harness.h"
#include "report/report_journal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const orven::JournalContents contents = orven::readJournal(inputBytes(data, size));
    (void)orven::reportHasRows(contents.operations);
    return 0;
}
