// A class list as a teacher gives it to assign (and as assign's table comes
// back to grade), and what the draw takes from it.

#include "course/class_list.h"
#include "course/grading.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = inputBytes(data, size);
    orven::ClassList list;
    QString error;
    if (orven::readClassList(bytes, QStringLiteral("к.csv"), list, error)) {
        for (const orven::Student& student : list.students) {
            (void)orven::studentIdentifier(student);
        }
    }
    orven::VariantsTable table;
    (void)orven::readVariantsTable(bytes, QStringLiteral("варианты.csv"), table, error);
    return 0;
}
