// A task file, and a task that reads worked out with water and steam.

#include "harness.h"
#include "key/task_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    orven::TaskData task;
    QString error;
    if (orven::readTaskFile(inputBytes(data, size), QStringLiteral("з.txt"), task, error)) {
        orven::PreparedTask prepared;
        (void)orven::prepareTask(task, {}, prepared, error);
        (void)orven::taskProse(task, prepared.hotGenitive);
    }
    return 0;
}
