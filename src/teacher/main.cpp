// orven-teacher: the teacher's window over a course folder.

#include "key_cli/pdf_text.h"
#include "key_cli/report_reader.h"
#include "platform/command_line.h"
#include "platform/translations.h"
#include "teacher/course_folder.h"
#include "teacher/teacher_window.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QLocale>

#include <cstdio>
#include <cstring>

namespace {

const char* const helpText =
    "Использование: orven-teacher [ПАПКА]\n"
    "\n"
    "ORVEN — преподаватель: курс в папке — список группы, задания, проверка.\n"
    "Без ПАПКИ открывается курс, открытый в прошлый раз.\n"
    "\n"
    "Параметры:\n"
    "  -h, --help     показать эту справку и выйти\n"
    "  -v, --version  показать версию и выйти\n";

} // namespace

int main(int argc, char* argv[]) {
    // A reader of handed-in reports, started by this program itself under
    // limits while it grades: poppler alone, no windows.
    if (argc == 2 && std::strcmp(argv[1], orven::readerArgument) == 0) {
        return orven::serveReportReads(orven::pdfReportText);
    }
    // The command line before any window: --help and --version need no display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QString());
    parser.addOption(help);
    parser.addOption(version);
    if (!parser.parse(arguments) || parser.positionalArguments().size() > 1) {
        std::fputs("orven-teacher: программе нужна самое большее одна папка курса, из "
                   "параметров — только --help и --version\n",
                   stderr);
        return 2;
    }
    if (parser.isSet(help)) {
        std::fputs(helpText, stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::fputs("orven-teacher " ORVEN_VERSION "\n", stdout);
        return 0;
    }
    orven::beginOpeningDisplay("orven-teacher"); // no display: one Russian line, status 1
    QApplication app(argc, argv);
    orven::endOpeningDisplay();
    QApplication::setOrganizationName(QStringLiteral("orven"));
    QApplication::setApplicationName(QStringLiteral("orven-teacher"));
    QApplication::setApplicationVersion(QStringLiteral(ORVEN_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("orven-teacher"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/orven/orven-teacher.svg")));
    orven::installRussianTranslations(app); // Qt's own words in its dialogs

    // The key's files are the same whatever the desktop's language: numbers
    // with a decimal point, as orven-key writes them. The window's own numbers
    // are formatted in Russian where it shows them.
    QLocale::setDefault(QLocale::c());
    orven::useKeyPdf(); // sheets and keys written here, reports read in readers
    orven::TeacherWindow window;
    const QString course = parser.positionalArguments().isEmpty()
                               ? orven::CourseFolder::remembered()
                               : parser.positionalArguments().first();
    if (!course.isEmpty()) {
        window.openCourse(course);
    }
    window.show();
    return QApplication::exec();
}
