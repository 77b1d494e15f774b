// The names of Moodle's submission folders and files, and grading's match of
// a printed name to a student.

#include "course/grading.h"
#include "course/submissions.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString name = QString::fromUtf8(inputBytes(data, size));
    QString fullName;
    QString participant;
    QString rest;
    (void)orven::moodleSubmitter(name, fullName, participant, rest);
    (void)orven::nameWords(name);
    return 0;
}
