// orven-key prepare: the 14 initial data of a design worked out from a task.

#include "key/task_file.h"
#include "key_cli/command_support.h"

namespace orven {

namespace {

const KeyOption outputOption{{QStringLiteral("o"), QStringLiteral("output")},
                             QStringLiteral("ФАЙЛ"),
                             QStringLiteral("записать файл задачи в ФАЙЛ")};
const KeyOption protocolOption{
    {QStringLiteral("protocol")}, QString(), QStringLiteral("показать расчёт по шагам")};

int run(const CommandLine& line, KeyIo& io) {
    const QString output = line.text(outputOption);
    QByteArray contents;
    QString name;
    QString error;
    TaskData task;
    PreparedTask prepared;
    QStringList folders;
    if (!fluidFoldersOf(line, folders, error) ||
        !readInput(line.arguments.first(), io, contents, name, error) ||
        !readTaskFile(contents, name, task, error)) {
        return badInput(io, error);
    }
    if (!prepareTask(task, folders, prepared, error)) {
        return badInput(io, QStringLiteral("%1: %2").arg(name, error));
    }
    const QString design = preparedDesignText(prepared, QStringLiteral("задача ") + name);
    if (!output.isEmpty() && !writeTextFile(output, design)) {
        return badInput(io, QStringLiteral("файл %1 не удалось записать").arg(output));
    }
    if (line.isSet(protocolOption)) {
        io.out << QStringLiteral("Подготовка исходных данных задачи %1").arg(name)
               << QLatin1Char('\n') << prepared.protocol.join(QLatin1Char('\n'))
               << QLatin1Char('\n');
    } else if (output.isEmpty()) {
        io.out << design;
    }
    return statusDone;
}

} // namespace

extern const KeyCommand prepareCommand{
    QLatin1String("prepare"),
    QStringLiteral("14 исходных данных из условия задания"),
    QStringLiteral("ЗАДАНИЕ"),
    1,
    1,
    QStringLiteral("команде prepare нужен файл"),
    QStringLiteral("Свойства теплоносителей при средних температурах, тепловой баланс, "
                   "среднелогарифмический напор; без -o и --protocol файл задачи выводится на "
                   "экран."),
    {&outputOption, &protocolOption, &fluidsOption},
    nullptr,
    run};

} // namespace orven
