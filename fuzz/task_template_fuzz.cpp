// A template, the class's draw and the count of its tasks, and tasks made of
// its first, middle and last choices read and worked out as the draw does
// (without the standard variants' search, which takes its seconds whatever
// the input).

#include "course/assignment.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    orven::TaskTemplate taskTemplate;
    QString error;
    if (!orven::readTaskTemplate(inputBytes(data, size), QStringLiteral("ш.txt"), {}, taskTemplate,
                                 error)) {
        return 0;
    }
    (void)orven::distinctTasks(taskTemplate);
    (void)orven::classDraw(taskTemplate, {QStringLiteral("email a@x"), QStringLiteral("b")}, 7);
    for (int which = 0; which < 3; ++which) {
        QByteArray text;
        for (const orven::TemplateEntry& entry : taskTemplate.entries) {
            const int last = entry.size() - 1;
            const int pick = which == 0 ? 0 : which == 1 ? last / 2 : last;
            text += (entry.key + QStringLiteral(" = ") + entry.choice(pick)).toUtf8() + '\n';
        }
        orven::TaskData task;
        orven::PreparedTask prepared;
        if (orven::readTaskFile(text, taskTemplate.fileName, task, error)) {
            (void)orven::prepareTask(task, {}, prepared, error);
        }
    }
    return 0;
}
