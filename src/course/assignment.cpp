#include "course/assignment.h"

#include "core/text_file.h"
#include "properties/fluids.h"

#include <QRegularExpression>
#include <QSet>

#include <array>
#include <cmath>
#include <random>

namespace orven {

namespace {

// A grid of more values than this is a mistake in its step.
constexpr double mostGridValues = 100000;

// A grid's values as a task file would carry them: twelve significant digits
// drop the last bits that 0.0002 + 3·0.00005 picks up.
QStringList gridValues(double from, double to, double step) {
    QStringList values;
    const auto count = static_cast<int>(std::floor((to - from) / step + 1e-9)) + 1;
    for (int i = 0; i < count; ++i) {
        values << QString::number(from + i * step, 'g', 12);
    }
    return values;
}

// The task file of one choice per entry, each on its template line, so that
// what the task reader says of a line is said of the template's.
QByteArray taskText(const TaskTemplate& t, const QList<int>& picks) {
    QStringList lines(t.lineCount);
    for (qsizetype e = 0; e < t.entries.size(); ++e) {
        const TemplateEntry& entry = t.entries.at(e);
        lines[entry.line - 1] = entry.key + QStringLiteral(" = ") + entry.choices.at(picks.at(e));
    }
    return lines.join(QLatin1Char('\n')).toUtf8();
}

// SplitMix64's finaliser (Steele, Lea, Flood 2014): nearby numbers (draws,
// positions) give unrelated starting states.
quint64 mixed(quint64 x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// An index below n from the generator's numbers, without modulo bias.
int drawIndex(std::mt19937_64& generator, int n) {
    const quint64 range = static_cast<quint64>(n);
    const quint64 limit = std::mt19937_64::max() - std::mt19937_64::max() % range;
    quint64 r = generator();
    while (r >= limit) {
        r = generator();
    }
    return static_cast<int>(r % range);
}

enum Rejection { Unreadable, Crossing, NoFluid, Property, Range, FewSuitable, Repeated, Kinds };

Rejection rejectionOf(TaskFault fault) {
    switch (fault) {
    case TaskFault::Crossing:
        return Crossing;
    case TaskFault::Fluid:
        return NoFluid;
    case TaskFault::Property:
        return Property;
    case TaskFault::Range:
    case TaskFault::None:
        break;
    }
    return Range;
}

} // namespace

bool readTaskTemplate(const QByteArray& contents, const QString& fileName,
                      const QStringList& fluidFolders, TaskTemplate& taskTemplate, QString& error) {
    taskTemplate = TaskTemplate{fileName, 0, {}};
    QList<TextLine> lines;
    if (!readTextLines(contents, fileName, lines, error)) {
        return false;
    }
    taskTemplate.lineCount = static_cast<int>(contents.count('\n')) + 1;
    static const QRegularExpression grid(
        QStringLiteral("^(\\S+)\\s*\\.\\.\\s*(\\S+)\\s+шаг\\s+(\\S+)$"),
        QRegularExpression::CaseInsensitiveOption);
    for (const TextLine& line : lines) {
        const qsizetype equals = line.text.indexOf(QLatin1Char('='));
        if (equals < 0) {
            error = fileErrorText(
                fileName, line.number,
                QStringLiteral("нужна строка «ключ = значение», а не «%1»").arg(line.text));
            return false;
        }
        TemplateEntry entry{line.number, line.text.left(equals).trimmed(), {}};
        const QString value = line.text.mid(equals + 1).trimmed();
        if (const QRegularExpressionMatch m = grid.match(value); m.hasMatch()) {
            std::array<double, 3> numbers{};
            for (int i = 0; i < 3; ++i) {
                if (!parseDecimal(m.captured(i + 1), numbers[static_cast<std::size_t>(i)])) {
                    error = fileErrorText(fileName, line.number,
                                          QStringLiteral("«%1» — не число").arg(m.captured(i + 1)));
                    return false;
                }
            }
            const auto [from, to, step] = numbers;
            if (!(step > 0) || !(to >= from) || (to - from) / step >= mostGridValues) {
                error = fileErrorText(fileName, line.number,
                                      QStringLiteral("в «%1» нужно ОТ ≤ ДО и шаг больше нуля, не "
                                                     "больше %2 значений")
                                          .arg(value)
                                          .arg(mostGridValues));
                return false;
            }
            entry.choices = gridValues(from, to, step);
        } else {
            for (const QString& choice : value.split(QLatin1Char('|'))) {
                entry.choices << choice.simplified();
            }
            if (entry.choices.contains(QString())) {
                error = fileErrorText(fileName, line.number,
                                      QStringLiteral("пустой вариант в списке «%1»").arg(value));
                return false;
            }
        }
        taskTemplate.entries << entry;
    }
    // The first choices make a task that reads, and every fluid named is found.
    TaskData task;
    if (!readTaskFile(taskText(taskTemplate, QList<int>(taskTemplate.entries.size(), 0)), fileName,
                      task, error)) {
        return false;
    }
    for (const TemplateEntry& entry : taskTemplate.entries) {
        const QString key = entry.key.toLower();
        if (key != QStringLiteral("горячий") && key != QStringLiteral("холодный")) {
            continue;
        }
        for (const QString& name : entry.choices) {
            Fluid fluid;
            if (name.toLower() != QStringLiteral("пар") &&
                !findFluid(name, fluidFolders, fluid, error)) {
                error = fileErrorText(fileName, entry.line, error);
                return false;
            }
        }
    }
    return true;
}

bool assignTasks(const TaskTemplate& taskTemplate, int count, const AssignOptions& options,
                 QList<Assignment>& assignments, QString& failure) {
    assignments.clear();
    std::array<qint64, Kinds> rejected{};
    QSet<QByteArray> given;
    for (int position = 1; position <= count; ++position) {
        std::mt19937_64 generator(mixed(options.draw ^ mixed(static_cast<quint64>(position))));
        bool found = false;
        for (int attempt = 0; attempt < options.attemptsPerStudent && !found; ++attempt) {
            QList<int> picks;
            for (const TemplateEntry& entry : taskTemplate.entries) {
                picks << drawIndex(generator, static_cast<int>(entry.choices.size()));
            }
            Assignment a;
            a.variant = position;
            a.taskText = taskText(taskTemplate, picks);
            QString error;
            TaskFault fault = TaskFault::None;
            if (given.contains(a.taskText)) {
                ++rejected[Repeated];
            } else if (!readTaskFile(a.taskText, taskTemplate.fileName, a.task, error)) {
                ++rejected[Unreadable];
            } else if (!prepareTask(a.task, options.fluidFolders, a.prepared, error, &fault)) {
                ++rejected[rejectionOf(fault)];
            } else {
                a.solution = solveDesign(a.prepared.design, {0, 0, VariantOrder::Surface, 3});
                if (a.solution.suitableCount < options.minSuitable) {
                    ++rejected[FewSuitable];
                } else {
                    given.insert(a.taskText);
                    assignments << a;
                    found = true;
                }
            }
        }
        if (!found) {
            const QStringList reasons{
                QStringLiteral("задание не читается"),
                QStringLiteral("температуры пересекаются"),
                QStringLiteral("нет таблицы жидкости"),
                QStringLiteral("температура вне таблицы или формулы свойств"),
                QStringLiteral("исходные данные вне допустимых интервалов"),
                QStringLiteral("меньше %1 подходящих вариантов").arg(options.minSuitable),
                QStringLiteral("задание уже есть у другого студента")};
            const auto most = std::max_element(rejected.cbegin(), rejected.cend());
            qint64 total = 0;
            for (const qint64 r : rejected) {
                total += r;
            }
            failure = QStringLiteral("шаблон %1 дал %2 различных решаемых заданий из %3 нужных; "
                                     "чаще всего кандидаты отвергнуты так: %4 (%5 из %6)")
                          .arg(taskTemplate.fileName)
                          .arg(assignments.size())
                          .arg(count)
                          .arg(reasons.at(most - rejected.cbegin()))
                          .arg(*most)
                          .arg(total);
            return false;
        }
    }
    return true;
}

} // namespace orven
