// Moodle's grading worksheet, read, filled and written back.

#include "course/moodle_worksheet.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    orven::Worksheet worksheet;
    QString error;
    if (worksheet.read(inputBytes(data, size), QStringLiteral("ведомость.csv"), error)) {
        for (qsizetype row = 0; row < worksheet.rows().size(); ++row) {
            worksheet.fill(row, row % 2 == 0 ? std::optional<double>(87.5) : std::nullopt,
                           QStringLiteral("верно; \"отзыв\"\nвторая строка"));
        }
        (void)worksheet.bytes();
    }
    return 0;
}
