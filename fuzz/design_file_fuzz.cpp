// A design file, as solve, explain and check --task read it.

#include "harness.h"
#include "key/design_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    orven::DesignData design;
    QString error;
    (void)orven::readDesignFile(inputBytes(data, size), QStringLiteral("d.txt"), design, error);
    return 0;
}
