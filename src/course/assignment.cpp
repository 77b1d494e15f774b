#include "course/assignment.h"

#include "core/parallel.h"
#include "core/text_file.h"
#include "properties/fluids.h"

#include <QCryptographicHash>
#include <QHash>
#include <QMutex>
#include <QRegularExpression>
#include <QSet>

#include <array>
#include <atomic>
#include <cmath>
#include <memory>
#include <random>

namespace orven {

namespace {

// A grid of more values than this is a mistake in its step.
constexpr double mostGridValues = 100000;

// The task file of one choice per entry, a line each: what is drawn and
// kept, however many blank and comment lines the template has.
QByteArray taskText(const TaskTemplate& t, const QList<int>& picks) {
    QStringList lines;
    for (qsizetype e = 0; e < t.entries.size(); ++e) {
        const TemplateEntry& entry = t.entries.at(e);
        lines << entry.key + QStringLiteral(" = ") + entry.choice(picks.at(e));
    }
    return lines.join(QLatin1Char('\n')).toUtf8();
}

// The same with each entry on its template line, so that what the task
// reader says of a line is said of the template's.
QByteArray taskTextByLine(const TaskTemplate& t, const QList<int>& picks) {
    QStringList lines(t.lineCount);
    for (qsizetype e = 0; e < t.entries.size(); ++e) {
        const TemplateEntry& entry = t.entries.at(e);
        lines[entry.line - 1] = entry.key + QStringLiteral(" = ") + entry.choice(picks.at(e));
    }
    return lines.join(QLatin1Char('\n')).toUtf8();
}

// The first eight bytes of SHA-256 over the parts, each led by its length
// so that no two lists of parts run together alike, read big-endian.
quint64 hashed(const QList<QByteArray>& parts) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QByteArray& part : parts) {
        hash.addData(QByteArray::number(part.size()) + ':');
        hash.addData(part);
    }
    const QByteArray digest = hash.result();
    quint64 x = 0;
    for (int i = 0; i < 8; ++i) {
        x = (x << 8) | static_cast<quint8>(digest.at(i));
    }
    return x;
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

enum Rejection { Unreadable, Crossing, NoFluid, Property, Range, FewSuitable, Kinds };

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

QString rejectionText(int kind, int minSuitable) {
    const QStringList reasons{QStringLiteral("задание не читается"),
                              QStringLiteral("температуры пересекаются"),
                              QStringLiteral("нет таблицы жидкости"),
                              QStringLiteral("температура вне таблицы или формулы свойств"),
                              QStringLiteral("исходные данные вне допустимых интервалов"),
                              QStringLiteral("меньше %1 подходящих вариантов").arg(minSuitable)};
    return reasons.at(kind);
}

// The best suitable variants, as many as the key shows, each a layout of its
// own: a layout is the plate (with its letter) and the channels of each pack;
// its nozzles give variants of one surface, which would fill the list alike.
constexpr int keyVariants = 3;
QList<Evaluated> distinctLayouts(const QList<Evaluated>& ranked) {
    QList<Evaluated> chosen;
    QSet<QString> layouts;
    for (const Evaluated& e : ranked) {
        const QString layout =
            standardExchangers().at(e.variant.exchanger).name.section(QLatin1Char('/'), 0, 0) +
            QLatin1Char(' ') + channelsText(e.variant);
        if (chosen.size() < keyVariants && !layouts.contains(layout)) {
            layouts.insert(layout);
            chosen << e;
        }
    }
    return chosen;
}

// What is known of a task once drawn: rejected, and why, or its assignment.
struct Outcome {
    Rejection rejection = Kinds; // Kinds: suitable
    std::shared_ptr<const Assignment> assignment;
};

Outcome evaluated(const TaskTemplate& t, const QByteArray& text, const AssignOptions& options) {
    auto a = std::make_shared<Assignment>();
    a->taskText = text;
    QString error;
    TaskFault fault = TaskFault::None;
    if (!readTaskFile(text, t.fileName, a->task, error)) {
        return {Unreadable, nullptr};
    }
    if (!prepareTask(a->task, options.fluidFolders, a->prepared, error, &fault)) {
        return {rejectionOf(fault), nullptr};
    }
    // Every layout has at most one variant per exchanger, so the best
    // keyVariants layouts are among this many variants.
    const int kept = keyVariants * static_cast<int>(standardExchangers().size());
    a->solution = solveDesign(a->prepared.design, {0, 0, VariantOrder::Surface, kept});
    if (a->solution.suitableCount < options.minSuitable) {
        return {FewSuitable, nullptr};
    }
    a->solution.suitable = distinctLayouts(a->solution.suitable);
    return {Kinds, a};
}

// The tasks drawn so far, shared by the working threads: each task is worked
// out once, however many students draw it.
class DrawnTasks {
public:
    DrawnTasks(const TaskTemplate& t, const AssignOptions& options, int students)
        : template_(t), options_(options), students_(students), distinct_(distinctTasks(t)) {}

    Outcome outcome(const QByteArray& text) {
        {
            const QMutexLocker lock(&mutex_);
            if (const auto known = known_.constFind(text); known != known_.cend()) {
                return *known;
            }
        }
        const Outcome outcome = evaluated(template_, text, options_);
        const QMutexLocker lock(&mutex_);
        if (known_.contains(text)) { // worked out by another thread meanwhile
            return known_.value(text);
        }
        known_.insert(text, outcome);
        if (outcome.rejection != Kinds) {
            ++rejected_[outcome.rejection];
            ++rejectedCount_;
            // The class cannot be served once fewer tasks than students are left.
            if (distinct_ - static_cast<double>(rejectedCount_) < students_) {
                stop_ = true;
            }
        }
        return outcome;
    }
    bool cancelled() const { return options_.cancel != nullptr && options_.cancel->load(); }
    bool stopped() const { return stop_ || cancelled(); }
    void stop() { stop_ = true; }
    qint64 rejectedCount() const { return rejectedCount_; }
    qint64 suitableCount() const { return static_cast<qint64>(known_.size()) - rejectedCount_; }
    // The condition that turned most tasks away, and how many.
    QString mainReason() const {
        const auto most = std::max_element(rejected_.cbegin(), rejected_.cend());
        return QStringLiteral("%1 (%2 из %3)")
            .arg(rejectionText(static_cast<int>(most - rejected_.cbegin()), options_.minSuitable))
            .arg(*most)
            .arg(rejectedCount_);
    }
    // Calls the progress function, one call at a time.
    void told(int done) {
        if (options_.progress) {
            const QMutexLocker lock(&mutex_);
            options_.progress(done, students_);
        }
    }

private:
    const TaskTemplate& template_;
    const AssignOptions& options_;
    const int students_;
    const double distinct_;
    QMutex mutex_;
    QHash<QByteArray, Outcome> known_;
    std::array<qint64, Kinds> rejected_{};
    qint64 rejectedCount_ = 0;
    std::atomic<bool> stop_{false};
};

// One student's draws, in the order they are made.
struct StudentDraws {
    std::mt19937_64 generator;
    int attempts = 0;
};

// The student's next suitable task that `taken` does not hold; nothing when
// the attempts run out or the run stops.
template <class Taken>
std::shared_ptr<const Assignment> nextSuitable(const TaskTemplate& t, StudentDraws& draws,
                                               DrawnTasks& drawn, int attempts, Taken&& taken) {
    QList<int> picks(t.entries.size());
    while (draws.attempts < attempts && !drawn.stopped()) {
        ++draws.attempts;
        for (qsizetype e = 0; e < t.entries.size(); ++e) {
            picks[e] = drawIndex(draws.generator, t.entries.at(e).size());
        }
        const QByteArray text = taskText(t, picks);
        if (taken(text)) {
            continue;
        }
        if (const Outcome outcome = drawn.outcome(text); outcome.assignment) {
            return outcome.assignment;
        }
    }
    return nullptr;
}

} // namespace

QString TemplateEntry::choice(int i) const {
    return list.isEmpty() ? QString::number(from + i * step, 'g', 12) : list.at(i);
}

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
            entry.from = from;
            entry.step = step;
            entry.gridCount = static_cast<int>(std::floor((to - from) / step + 1e-9)) + 1;
        } else {
            for (const QString& choice : value.split(QLatin1Char('|'))) {
                entry.list << choice.simplified();
            }
            if (entry.list.contains(QString())) {
                error = fileErrorText(fileName, line.number,
                                      QStringLiteral("пустой вариант в списке «%1»").arg(value));
                return false;
            }
        }
        // The same choice twice would weigh it double and count twice.
        entry.list.removeDuplicates();
        taskTemplate.entries << entry;
    }
    // The first choices make a task that reads, and every fluid named is found.
    TaskData task;
    if (!readTaskFile(taskTextByLine(taskTemplate, QList<int>(taskTemplate.entries.size(), 0)),
                      fileName, task, error)) {
        return false;
    }
    for (const TemplateEntry& entry : taskTemplate.entries) {
        const QString key = entry.key.toLower();
        if (key != QStringLiteral("горячий") && key != QStringLiteral("холодный")) {
            continue;
        }
        if (entry.list.isEmpty()) {
            error = fileErrorText(
                fileName, entry.line,
                QStringLiteral("«%1» — имя жидкости, а не сетка чисел").arg(entry.key));
            return false;
        }
        for (const QString& name : entry.list) {
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

double distinctTasks(const TaskTemplate& taskTemplate) {
    double count = 1;
    for (const TemplateEntry& entry : taskTemplate.entries) {
        count *= static_cast<double>(entry.size());
    }
    return count;
}

quint64 classDraw(const TaskTemplate& taskTemplate, const QStringList& identifiers,
                  quint64 number) {
    QList<QByteArray> parts{QByteArrayLiteral("orven class draw")};
    for (const TemplateEntry& entry : taskTemplate.entries) {
        parts << (entry.key + QLatin1Char('=') +
                  (entry.list.isEmpty() ? QStringLiteral("%1..%2/%3")
                                              .arg(entry.choice(0), entry.choice(entry.size() - 1),
                                                   QString::number(entry.step, 'g', 17))
                                        : entry.list.join(QLatin1Char('|'))))
                     .toUtf8();
    }
    QStringList sorted = identifiers;
    sorted.sort();
    for (const QString& identifier : sorted) {
        parts << identifier.toUtf8();
    }
    parts << QByteArray::number(number);
    return hashed(parts);
}

bool assignTasks(const TaskTemplate& taskTemplate, const QStringList& identifiers,
                 const AssignOptions& options, QList<Assignment>& assignments, QString& failure) {
    assignments.clear();
    const int count = static_cast<int>(identifiers.size());
    DrawnTasks drawn(taskTemplate, options, count);
    const double distinct = distinctTasks(taskTemplate);
    const auto fewerThanStudents = [&] {
        return QStringLiteral("шаблон %1 даёт только %2 различных заданий, подходят %3, а "
                              "студентов %4")
            .arg(taskTemplate.fileName)
            .arg(distinct)
            .arg(drawn.suitableCount())
            .arg(count);
    };
    if (distinct < count) {
        // Too few tasks whatever they are: each is worked out once, to say
        // how many suit and why the others do not.
        QList<QList<int>> all;
        QList<int> picks(taskTemplate.entries.size(), 0);
        for (int n = 0; n < static_cast<int>(distinct); ++n) {
            all << picks;
            for (qsizetype e = 0; e < picks.size(); ++e) {
                if (++picks[e] < taskTemplate.entries.at(e).size()) {
                    break;
                }
                picks[e] = 0;
            }
        }
        forEachIndex(all.size(), [&](qsizetype n) {
            if (!drawn.cancelled()) {
                drawn.outcome(taskText(taskTemplate, all.at(n)));
            }
        });
        if (drawn.cancelled()) {
            failure = QStringLiteral("выдача заданий отменена");
            return false;
        }
        failure = fewerThanStudents();
        if (drawn.rejectedCount() > 0) {
            failure += QStringLiteral("; чаще всего задания отвергнуты так: ") + drawn.mainReason();
        }
        return false;
    }

    // Each student's first suitable task, all at once over the cores; then,
    // in the list's order, a student whose task an earlier one has draws on.
    std::vector<StudentDraws> draws(static_cast<std::size_t>(count));
    QList<std::shared_ptr<const Assignment>> first(count);
    std::atomic<int> done{0};
    const auto none = [](const QByteArray&) { return false; };
    forEachIndex(count, [&](qsizetype i) {
        StudentDraws& d = draws[static_cast<std::size_t>(i)];
        d.generator.seed(hashed({QByteArrayLiteral("orven task"), QByteArray::number(options.draw),
                                 identifiers.at(i).toUtf8()}));
        first[i] = nextSuitable(taskTemplate, d, drawn, options.attemptsPerStudent, none);
        if (!first[i]) {
            drawn.stop(); // a student without a task fails the class's draw
        }
        drawn.told(++done);
    });
    QSet<QByteArray> given;
    const auto isGiven = [&](const QByteArray& text) { return given.contains(text); };
    for (int i = 0; i < count && !drawn.stopped(); ++i) {
        std::shared_ptr<const Assignment> task = first.at(i);
        if (task && given.contains(task->taskText)) {
            task = nextSuitable(taskTemplate, draws[static_cast<std::size_t>(i)], drawn,
                                options.attemptsPerStudent, isGiven);
        }
        if (!task) {
            break;
        }
        given.insert(task->taskText);
        assignments << *task;
        assignments.last().variant = i + 1;
    }
    if (assignments.size() == count) {
        return true;
    }
    if (drawn.cancelled()) {
        assignments.clear();
        failure = QStringLiteral("выдача заданий отменена");
        return false;
    }
    if (distinct - static_cast<double>(drawn.rejectedCount()) < count) {
        failure = QStringLiteral("шаблон %1 даёт %2 различных заданий, из них не подходят %3, а "
                                 "студентов %4; чаще всего задания отвергнуты так: %5")
                      .arg(taskTemplate.fileName)
                      .arg(distinct)
                      .arg(drawn.rejectedCount())
                      .arg(count)
                      .arg(drawn.mainReason());
    } else {
        failure = QStringLiteral("шаблон %1 дал %2 различных подходящих заданий из %3 нужных за "
                                 "%4 попыток на студента; чаще всего задания отвергнуты так: %5")
                      .arg(taskTemplate.fileName)
                      .arg(drawn.suitableCount())
                      .arg(count)
                      .arg(options.attemptsPerStudent)
                      .arg(drawn.mainReason());
    }
    assignments.clear();
    return false;
}

} // namespace orven
