// orven-key's command line as its records make it: an option of another
// command (or of none) refused, the help texts, and the man page's synopsis.

#include "key_cli/key_command.h"
#include "support/key_runs.h"
#include "support/test_support.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace orven;
using orven::test::Run;
using orven::test::runInProcess;

namespace {

QString sourceFile(const QString& path) {
    QFile file(test::sourceDir() + QLatin1Char('/') + path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// An option as a usage line shows it: "--top" optional, "--class" required.
QStringList optionsInOrder(const KeyCommand& command) {
    QStringList shown;
    for (const bool required : {true, false}) {
        for (const KeyOption* option : command.options) {
            if (option->required == required) {
                shown << (required ? QString() : QStringLiteral("[")) + option->names.first();
            }
        }
    }
    return shown;
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void wrongOption_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("line");
        const QString another =
            QStringLiteral("orven-key: команда %1 не принимает параметр «%2» (он у команд%3 %4; "
                           "справка: orven-key %1 --help)\n");
        QTest::newRow("prepare --pdf")
            << QStringList{"prepare", "task.txt", "--pdf", "x.pdf"}
            << another.arg("prepare", "--pdf", QString(), "solve, explain");
        QTest::newRow("solve --draw")
            << QStringList{"solve", "x.txt", "--draw", "7"}
            << another.arg("solve", "--draw", QStringLiteral("ы"), "assign");
        QTest::newRow("solve --with-values")
            << QStringList{"solve", "x.txt", "--with-values"}
            << another.arg("solve", "--with-values", QStringLiteral("ы"), "assign");
        QTest::newRow("explain --top")
            << QStringList{"explain", "x.txt", "--top", "3"}
            << another.arg("explain", "--top", QStringLiteral("ы"), "solve");
        QTest::newRow("check --csv") << QStringList{"check", "r.pdf", "--csv", "x.csv"}
                                     << another.arg("check", "--csv", QString(), "solve, grade");
        QTest::newRow("fluid-table --protocol")
            << QStringList{"fluid-table", "вода", "20", "30", "10", "--protocol"}
            << another.arg("fluid-table", "--protocol", QStringLiteral("ы"), "prepare");
        QTest::newRow("assign --item")
            << QStringList{"assign", "--class", "c.csv", "--item", "X"}
            << another.arg("assign", "--item", QStringLiteral("ы"), "grade");
        QTest::newRow("grade -o") << QStringList{"grade", "--class", "v.csv", "r.pdf", "-o", "x"}
                                  << another.arg("grade", "-o", QStringLiteral("ы"), "prepare");
        QTest::newRow("nobody's")
            << QStringList{"solve", "x.txt", "--fast"}
            << QStringLiteral("orven-key: неизвестный параметр «--fast» у команды solve (справка: "
                              "orven-key solve --help)\n");
        QTest::newRow("before the command")
            << QStringList{"--top", "3", "solve", "x.txt"}
            << QStringLiteral("orven-key: «--top» — не команда: сначала команда (solve, explain, "
                              "check, prepare, fluid-table, assign или grade), затем её "
                              "параметры (справка: orven-key --help)\n");
    }
    // Refused before any file is read, by the program as installed too.
    void wrongOption() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, line);
        for (const Run& run : {runInProcess(arguments), test::runKey(arguments)}) {
            QCOMPARE(run.status, statusBadInput);
            QCOMPARE(run.err, line);
            QVERIFY(run.out.isEmpty());
        }
    }

    void help_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        QTest::newRow("orven-key --help") << QStringList{"--help"} << "orven-key.txt";
        QTest::newRow("orven-key -h") << QStringList{"-h"} << "orven-key.txt";
        for (const KeyCommand* command : keyCommands()) {
            const QString name = command->name;
            QTest::newRow(qPrintable(name + QStringLiteral(" --help")))
                << QStringList{name, QStringLiteral("--help")} << name + QStringLiteral(".txt");
        }
    }
    void help() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        const Run run = runInProcess(arguments);
        QCOMPARE(run.status, statusDone);
        QCOMPARE(run.out, sourceFile(QStringLiteral("tests/key_cli/help/") + expected));
        const QStringList lines = run.out.split(QLatin1Char('\n'));
        for (const QString& line : lines) {
            QVERIFY2(line.size() <= 80, qPrintable(line));
        }
    }

    // The man page's synopsis names each command's options as its record
    // does: the same options, in the usage's order, required or not alike.
    void manPageSynopsis() {
        const QString page = sourceFile(QStringLiteral("data/orven-key.1"));
        const qsizetype from = page.indexOf(QStringLiteral(".SH SYNOPSIS"));
        QVERIFY(from >= 0);
        // Up to the program's own --help and --version.
        const QString synopsis =
            page.mid(from, page.indexOf(QStringLiteral("\n.B orven-key\n"), from) - from);
        const QStringList blocks = synopsis.split(QStringLiteral(".B orven-key "));
        QCOMPARE(blocks.size() - 1, keyCommands().size());
        static const QRegularExpression option(
            QStringLiteral(R"(^\.(RB \[|B) \\-(?:\\-)?([a-z\\-]+))"),
            QRegularExpression::MultilineOption);
        for (qsizetype i = 1; i < blocks.size(); ++i) {
            const QString name = blocks.at(i).section(QLatin1Char('\n'), 0, 0).trimmed();
            const KeyCommand* command = keyCommandNamed(name);
            QVERIFY2(command != nullptr, qPrintable(name));
            QVERIFY2(command == keyCommands().at(i - 1), qPrintable(name));
            QStringList shown;
            for (auto it = option.globalMatch(blocks.at(i)); it.hasNext();) {
                const QRegularExpressionMatch m = it.next();
                shown << (m.captured(1) == QStringLiteral("B") ? QString() : QStringLiteral("[")) +
                             m.captured(2).remove(QLatin1Char('\\'));
            }
            QCOMPARE(shown, optionsInOrder(*command));
        }
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "command_line_test.moc"
