#include "course/grading.h"

#include "core/csv.h"
#include "core/parallel.h"
#include "core/text_file.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <map>
#include <vector>

namespace orven {

namespace {

constexpr int ownDataPoints = 30;
constexpr int numbersPoints = 30;
constexpr int suitablePoints = 40;

// True when the student's name words are in the printed words: the surname in
// full, the other names in full or as initials.
bool nameMatches(const QStringList& name, const QStringList& printed) {
    if (name.isEmpty() || !printed.contains(name.first())) {
        return false;
    }
    for (qsizetype i = 1; i < name.size(); ++i) {
        const QString& word = name.at(i);
        const bool initial = word.at(0).isLetter() && printed.contains(word.left(1));
        if (!printed.contains(word) && !initial) {
            return false;
        }
    }
    return true;
}

bool containsAll(const QStringList& words, const QStringList& printed) {
    return std::all_of(words.cbegin(), words.cend(),
                       [&](const QString& w) { return printed.contains(w); });
}

// The last block that could be read, or nullptr.
const CheckedBlock* lastBlock(const ReportCheck& check) {
    for (auto b = check.blocks.crbegin(); b != check.blocks.crend(); ++b) {
        if (b->known) {
            return &*b;
        }
    }
    return nullptr;
}

// What makes two reports the same work: the data and every printed block.
QString workKey(const ReportCheck& check) {
    QStringList parts;
    for (int slot = 1; slot <= initialDataCount; ++slot) {
        parts << check.design.texts[slot];
    }
    for (const CheckedBlock& block : check.blocks) {
        parts << (block.known ? variantText(block.variant) : QStringLiteral("?"));
    }
    return parts.join(QLatin1Char('|'));
}

bool sameVariant(const ReportCheck& check, const ClassVariant& v, double tolerance) {
    const CheckedBlock* last = lastBlock(check);
    return check.designError.isEmpty() && (last == nullptr || last->type == v.design.type) &&
           sameInitialData(check, v.design, tolerance);
}

} // namespace

QStringList nameWords(const QString& text) {
    static const QHash<QChar, QChar> lookAlike{
        {u'a', u'а'}, {u'b', u'в'}, {u'c', u'с'}, {u'e', u'е'}, {u'h', u'н'},
        {u'k', u'к'}, {u'm', u'м'}, {u'o', u'о'}, {u'p', u'р'}, {u't', u'т'},
        {u'x', u'х'}, {u'y', u'у'}, {u'ё', u'е'}};
    QString plain = text.toLower();
    for (QChar& c : plain) {
        c = lookAlike.value(c, c);
        if (!c.isLetterOrNumber()) {
            c = u' ';
        }
    }
    QStringList words = plain.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    words.removeAll(QStringLiteral("гр"));
    words.removeAll(QStringLiteral("группа"));
    return words;
}

bool readVariantsTable(const QByteArray& contents, const QString& fileName, VariantsTable& table,
                       QString& error) {
    table = VariantsTable{};
    if (!readClassList(contents, fileName, table.list, error)) {
        return false;
    }
    const QStringList& header = table.list.header;
    QStringList needed{QStringLiteral("вариант"), QStringLiteral("тип")};
    needed << designKeys().mid(1);
    for (const QString& column : needed) {
        if (!header.contains(column)) {
            error = fileErrorText(fileName, 1,
                                  QStringLiteral("нет столбца «%1»: это не таблица вариантов, "
                                                 "которую пишет orven-key assign")
                                      .arg(column));
            return false;
        }
    }
    for (int i = 0; i < table.list.students.size(); ++i) {
        const Student& student = table.list.students.at(i);
        const auto field = [&](const QString& column) {
            return student.fields.at(header.indexOf(column)).trimmed();
        };
        QString text = QStringLiteral("тип = ") + field(QStringLiteral("тип")) + QLatin1Char('\n');
        for (int slot = 1; slot <= initialDataCount; ++slot) {
            text += designKeys().at(slot) + QStringLiteral(" = ") + field(designKeys().at(slot)) +
                    QLatin1Char('\n');
        }
        ClassVariant variant{student, field(QStringLiteral("вариант")), {}};
        QString designError;
        if (!readDesignFile(text.toUtf8(), QStringLiteral("вариант"), variant.design,
                            designError)) {
            error = fileErrorText(fileName, i + 2,
                                  QStringLiteral("исходные данные студента %1 не читаются (%2)")
                                      .arg(student.name, designError));
            return false;
        }
        table.variants << variant;
    }
    return true;
}

ClassGrades gradeClass(const VariantsTable& table, const QList<Submission>& submissions,
                       const QList<ReadReport>& reports, const GradingOptions& options) {
    ClassGrades grades;
    const double tolerance = options.tolerance;
    const auto& variants = table.variants;
    grades.students.resize(variants.size());
    QList<QStringList> names;
    QList<QStringList> groups;
    for (const ClassVariant& v : variants) {
        names << nameWords(v.student.name);
        groups << nameWords(v.student.group);
    }
    // Whose name words these are: one student, or none (-1), or several (-2).
    const auto whoseName = [&](const QStringList& words, bool byGroup) {
        QList<int> found;
        for (int s = 0; s < variants.size(); ++s) {
            if (nameMatches(names.at(s), words)) {
                found << s;
            }
        }
        if (byGroup && found.size() > 1) {
            QList<int> withGroup;
            for (const int s : found) {
                if (containsAll(groups.at(s), words)) {
                    withGroup << s;
                }
            }
            found = withGroup;
        }
        return found.size() == 1 ? found.first() : found.isEmpty() ? -1 : -2;
    };

    // Who handed each submission in, where its layout says so.
    grades.submitters.fill(-1, submissions.size());
    for (int i = 0; i < submissions.size(); ++i) {
        const Submission& submission = submissions.at(i);
        if (options.participants.contains(submission.participant)) {
            grades.submitters[i] = options.participants.value(submission.participant);
        } else if (!submission.submitter.isEmpty()) {
            grades.submitters[i] = whoseName(nameWords(submission.submitter), false);
        }
    }
    const auto submitterText = [&](const Submission& submission) {
        return QStringLiteral("«%1» (участник %2)")
            .arg(submission.submitter, submission.participant);
    };

    // Each report to a student: its submitter's; without one, by name (the
    // group deciding between namesakes), else by whose variant its data are.
    QList<int> owner(reports.size(), -1);
    QList<int> dataOf(reports.size(), -1);
    QList<QStringList> held(variants.size());
    for (int r = 0; r < reports.size(); ++r) {
        const ReadReport& report = reports.at(r);
        const ReportCheck& check = report.check;
        QList<int> byData;
        for (int s = 0; s < variants.size(); ++s) {
            if (sameVariant(check, variants.at(s), tolerance)) {
                byData << s;
            }
        }
        dataOf[r] = byData.size() == 1 ? byData.first() : -1;
        const int signer = whoseName(nameWords(check.student), true);
        const Submission* submission =
            report.submission >= 0 && !submissions.at(report.submission).submitter.isEmpty()
                ? &submissions.at(report.submission)
                : nullptr;
        if (submission != nullptr) {
            const int submitter = grades.submitters.at(report.submission);
            if (submitter < 0) {
                grades.unassigned << QStringLiteral("%1: отправитель %2 %3")
                                         .arg(report.path, submitterText(*submission),
                                              submitter == -1
                                                  ? QStringLiteral("не найден в списке")
                                                  : QStringLiteral("подходит к нескольким "
                                                                   "студентам списка"));
                continue;
            }
            owner[r] = submitter;
            if (!nameMatches(names.at(submitter), nameWords(check.student))) {
                held[submitter] << QStringLiteral("%1: подпись «%2» — не отправителя%3")
                                       .arg(report.path, check.student,
                                            signer >= 0 ? QStringLiteral(" (это %1)")
                                                              .arg(variants.at(signer).student.name)
                                                        : QString());
            }
        } else if (signer >= 0) {
            owner[r] = signer;
        } else if (dataOf[r] >= 0) {
            owner[r] = dataOf[r];
            held[owner[r]] << QStringLiteral("отчёт %1 отнесён по исходным данным (подпись «%2»)")
                                  .arg(report.path, check.student);
        } else {
            grades.unassigned << QStringLiteral("%1: подпись «%2» не найдена в списке, данные не "
                                                "совпадают ни с одним вариантом")
                                     .arg(report.path, check.student);
        }
        if (owner[r] >= 0) {
            grades.students[owner[r]].reports << r;
        }
    }

    // Copies: the same file, or the same data and blocks, from more than one student.
    std::map<QString, QList<int>> works;
    for (int r = 0; r < reports.size(); ++r) {
        if (owner[r] >= 0) {
            works[workKey(reports.at(r).check)] << r;
            if (!reports.at(r).digest.isEmpty()) {
                works[QString::fromLatin1(reports.at(r).digest.toHex())] << r;
            }
        }
    }
    for (const auto& [key, same] : works) {
        for (const int r : same) {
            QStringList others;
            for (const int o : same) {
                if (owner[o] != owner[r]) {
                    others << QStringLiteral("%1 (%2)").arg(variants.at(owner[o]).student.name,
                                                            reports.at(o).path);
                }
            }
            if (!others.isEmpty()) {
                held[owner[r]] << QStringLiteral("копия: %1 — такой же отчёт у %2")
                                      .arg(reports.at(r).path, others.join(QStringLiteral(", ")));
            }
        }
    }

    for (int s = 0; s < variants.size(); ++s) {
        StudentGrade& g = grades.students[s];
        const ClassVariant& v = variants.at(s);
        if (g.reports.isEmpty()) {
            g.feedback = QStringLiteral("отчёт не сдан");
            if (options.missingAsZero) {
                g.score = 0;
            }
            continue;
        }
        int best = -1;
        for (const int r : g.reports) {
            StudentGrade trial;
            const ReportCheck& check = reports.at(r).check;
            const QStringList differences = taskDifferences(check, v.design, tolerance);
            const CheckedBlock* last = lastBlock(check);
            trial.ownData = sameVariant(check, v, tolerance);
            trial.dataDifference = !check.designError.isEmpty() ? check.designError
                                   : !differences.isEmpty()
                                       ? differences.first()
                                       : QStringLiteral("другой тип теплообменника");
            trial.numbersAgree = check.allAgree();
            for (const CheckedBlock& block : check.blocks) {
                if (trial.numbersFinding.isEmpty() && !block.differences.isEmpty()) {
                    trial.numbersFinding = QStringLiteral("блок %1, %2")
                                               .arg(block.number)
                                               .arg(block.differences.first());
                }
            }
            if (!check.findings.isEmpty()) {
                trial.numbersFinding = check.findings.first();
            }
            if (last == nullptr) {
                trial.finalFinding = QStringLiteral("в отчёте нет ни одного блока результатов");
            } else if (!last->evaluated.warnings.isEmpty() ||
                       last->evaluated.status != CalculationStatus::Completed) {
                DesignCase dc;
                DesignData design = check.design;
                design.type = last->type;
                loadDesign(dc, design);
                loadVariant(dc, last->variant);
                trial.finalFinding = failureReasons(last->evaluated, dc).join(QStringLiteral("; "));
            } else {
                trial.finalSuitable = true;
            }
            // A report without a results block is no finished work: it earns nothing.
            trial.score = last == nullptr ? 0
                                          : (trial.ownData ? ownDataPoints : 0) +
                                                (trial.numbersAgree ? numbersPoints : 0) +
                                                (trial.finalSuitable ? suitablePoints : 0);
            if (best < 0 || *trial.score > best) {
                best = *trial.score;
                trial.reports = g.reports;
                trial.graded = r;
                g = trial;
            }
        }
        const int r = g.graded;
        g.flags = held.at(s);
        if (g.reports.size() > 1) {
            QStringList paths;
            for (const int o : g.reports) {
                paths << reports.at(o).path;
            }
            g.flags << QStringLiteral("отчётов %1: %2")
                           .arg(g.reports.size())
                           .arg(paths.join(QStringLiteral(", ")));
        }
        if (!g.ownData && dataOf[r] >= 0 && dataOf[r] != s) {
            const ClassVariant& other = variants.at(dataOf[r]);
            g.flags << QStringLiteral("данные варианта %1 (другой студент: %2)")
                           .arg(other.number, other.student.name);
        }
        g.flags.removeDuplicates();
        g.held = !g.flags.isEmpty();
        if (g.held) {
            g.score.reset();
            g.feedback = QStringLiteral("работа на проверке у преподавателя");
            continue;
        }
        g.feedback =
            lastBlock(reports.at(r).check) == nullptr ? g.finalFinding
            : !g.numbersAgree
                ? QStringLiteral("числа отчёта не совпадают с пересчётом: ") + g.numbersFinding
            : !g.ownData ? QStringLiteral("исходные данные не своего варианта: ") + g.dataDifference
            : !g.finalSuitable ? QStringLiteral("последний вариант не подходит: ") + g.finalFinding
                               : QString(); // said once the place is known
    }

    // The place of each graded last variant among its design's suitable ones,
    // counted in one solve a design (not a student: a design given twice is
    // solved once), on every core; no list of variants is kept.
    std::map<QString, QList<int>> byDesign;
    for (int s = 0; s < variants.size(); ++s) {
        const StudentGrade& g = grades.students.at(s);
        if (g.graded >= 0 && g.finalSuitable && g.ownData) {
            QStringList key{QString::number(static_cast<int>(variants.at(s).design.type))};
            for (int slot = 1; slot <= initialDataCount; ++slot) {
                key << QString::number(variants.at(s).design.values[slot], 'g', 17);
            }
            byDesign[key.join(QLatin1Char(' '))] << s;
        }
    }
    const std::vector<QList<int>> jobs = [&] {
        std::vector<QList<int>> list;
        for (const auto& [key, students] : byDesign) {
            list.push_back(students);
        }
        return list;
    }();
    forEachIndex(static_cast<qsizetype>(jobs.size()), [&](qsizetype job) {
        const QList<int>& students = jobs.at(static_cast<std::size_t>(job));
        SolveOptions solve;
        solve.keep = 1;
        solve.nearestCount = 0;
        for (const int s : students) {
            solve.placesOf << lastBlock(reports.at(grades.students.at(s).graded).check)->evaluated;
        }
        const Solution solution = solveDesign(variants.at(students.first()).design, solve);
        for (qsizetype i = 0; i < students.size(); ++i) {
            StudentGrade& g = grades.students[students.at(i)];
            g.suitableCount = solution.suitableCount;
            g.rank = static_cast<int>(solution.places.at(i));
        }
    });
    for (StudentGrade& g : grades.students) {
        if (!g.held && g.feedback.isEmpty()) {
            g.feedback = QStringLiteral("верно; вариант %1-й из %2 подходящих")
                             .arg(g.rank)
                             .arg(g.suitableCount);
        }
    }
    return grades;
}

int studentNamed(const VariantsTable& table, const QString& name) {
    const QStringList words = nameWords(name);
    int found = -1;
    for (int s = 0; s < table.variants.size(); ++s) {
        if (nameMatches(nameWords(table.variants.at(s).student.name), words)) {
            if (found >= 0) {
                return -1;
            }
            found = s;
        }
    }
    return found;
}

QByteArray gradebookCsv(const VariantsTable& table, const ClassGrades& grades, const QString& item,
                        QChar separator, bool byteOrderMark) {
    const ClassList& list = table.list;
    QList<int> columns;
    for (int c = 0; c < list.header.size(); ++c) {
        if (c == list.emailColumn || c == list.idnumberColumn) {
            columns << c;
        }
    }
    columns << list.nameColumn;
    CsvWriter csv(separator, byteOrderMark);
    QStringList header;
    for (const int c : columns) {
        header << list.header.at(c);
    }
    csv.addRow(header << item << QStringLiteral("Отзыв"));
    for (int s = 0; s < table.variants.size(); ++s) {
        QStringList fields;
        for (const int c : columns) {
            fields << table.variants.at(s).student.fields.at(c).trimmed();
        }
        const StudentGrade& g = grades.students.at(s);
        csv.addRow(fields << (g.score ? QString::number(*g.score) : QString()) << g.feedback);
    }
    return csv.bytes();
}

} // namespace orven
