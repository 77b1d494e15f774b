// The whole-session check of the real program, in-process half.
//
//   orven_session_plan plan <folder>
//       Plays one student session in-process (the program started as main()
//       starts it, its dialogs answered from the session below, its report
//       going to a recording printer) and writes into <folder>:
//         plan.tsv      what a student does, one step a line, for a driver of
//                       the real program under X: "click<TAB>window title<TAB>
//                       x<TAB>y<TAB>button" (pixels from the window's top left,
//                       taken from the real button) or "input<TAB>box title<TAB>
//                       answer";
//         expected.txt  the report's lines as the recording printer got them,
//                       a line holding only a form feed between pages.
//   orven_session_plan compare <expected.txt> <layout text> <word boxes>
//       Compares the report read back from the PDF with the expected lines:
//       the text of pdftotext -layout -fixed 6 page by page and line by line,
//       columns included (only the date and time of the page headers are left
//       out); and, since that text leaves out empty lines, the rows of the
//       words in pdftotext -bbox, which must stand on the pitch of the
//       expected lines, empty ones included. Exit status 0 when they agree, 1
//       with the differences otherwise.

#include "app/program_start.h"
#include "core/russian_layout.h"
#include "platform/desktop_notification.h"
#include "platform/dialogs.h"
#include "platform/program_end.h"
#include "platform/report_place.h"
#include "platform/screen.h"
#include "support/recording_printer.h"
#include "support/worked_examples.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include <cstdio>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <poll.h>

namespace {

using orven::test::RecordingPrinter;

struct Step {
    enum Kind { Click, Input, Close, Line, Yes } kind;
    QString title;  // window title (click, close, line) or input box title (input)
    QString detail; // button object name (click), the answer typed (input), list row (line)
};

Step click(const char* window, const char* button) {
    return {Step::Click, QString::fromUtf8(window), QString::fromUtf8(button)};
}
Step input(const char* box, const QString& answer) {
    return {Step::Input, QString::fromUtf8(box), answer};
}
Step input(const char* box, const char* answer) {
    return input(box, QString::fromUtf8(answer));
}
// The window manager's close (WM_DELETE_WINDOW) of a window.
Step closeWindow(const char* window) {
    return {Step::Close, QString::fromUtf8(window), QString()};
}
// "Да" (the default button, by Return) in the message box titled box.
Step yes(const char* box) {
    return {Step::Yes, QString::fromUtf8(box), QString()};
}
// A click on line `row` of the window's list.
Step clickLine(const char* window, int row) {
    return {Step::Line, QString::fromUtf8(window), QString::number(row)};
}

const char* const menu = "НАЧАЛО РАБОТЫ С ПРОГРАММОЙ";
const char* const dataScreen = "   ВВОД ИСХОДНОЙ ИНФОРМАЦИИ";
const char* const dataBox = "ВВОД ИСХОДНОЙ ИНФОРМАЦИИ";
const char* const description = "Описание программы";
const char* const question = "Внимание !";
const char* const checkScreen = "   ПРОВЕРКА ВВОДА ИСХОДНОЙ ИНФОРМАЦИИ";
const char* const advice = "Пояснение к подбору";
const char* const nameBox = "ВВОД ФАМИЛИИ";
const char* const selection = "Выбор конструктивных параметров теплообменника";
const char* const results = "Результаты расчета";
const char* const coldPacks = "Ввод числа пакетов для холодного теплоносителя";
const char* const coldChannels = "Ввод числа каналов в пакете для холодного теплоносителя";
const char* const hotPacks = "Ввод числа пакетов для горячего теплоносителя";
const char* const hotChannels = "Ввод числа каналов в пакете для горячего теплоносителя";

// The worked cooler on the 0.2 m2 plate with one pack of five channels a side,
// printed; then the 0.5 m2 plate of letter "Г" with two cold packs against one
// hot pack, printed; then the end of work. Four values carry a decimal comma.
// The name is typed as the keys of a Russian name on the US layout: xdotool
// types a Cyrillic letter by remapping a spare key for a moment, and under
// load the program may read the key before the new mapping. The virtual
// display has the US layout alone, so the name box gives each key its Russian
// letter, and the planner answers with those.
QList<Step> session() {
    QList<Step> steps = {click(menu, "Command2"), input(nameBox, "Bdfyjd B/B/ uh/ 101"),
                         click(dataScreen, "Command4")};
    for (const QString& value : orven::test::workedTypedTexts(orven::ExchangerType::Cooler))
        steps << input(dataBox, value);
    steps << click(dataScreen, "Command1") << click(selection, "Command3") << input(coldPacks, "9")
          << yes("ОШИБКА !") << input(coldPacks, "1") << input(coldChannels, "5")
          << input(hotPacks, "1") << input(hotChannels, "5") << click(results, "Command4")
          << click(results, "Command2") << click(selection, "Command6")
          << click(selection, "Command9") << input(coldPacks, "2") << input(coldChannels, "3")
          << input(coldChannels, "3") << input(hotPacks, "1") << input(hotChannels, "6")
          << click(results, "Command4") << click(results, "Command1");
    return steps;
}

// A student on a desktop: the description closed by its window button, a
// value out of range and its question closed the same way, the correction,
// the advice closed, a print, and the results closed by the window button.
QList<Step> desktopSession() {
    QList<Step> steps = {click(menu, "Command1"), closeWindow(description), click(menu, "Command2"),
                         input(nameBox, "Bdfyjd B/B/"), click(dataScreen, "Command4")};
    // The fourth value typed out of range, then corrected.
    QStringList typed = orven::test::workedTypedTexts(orven::ExchangerType::Cooler);
    const QString fourth = typed.at(3);
    typed[3] = QStringLiteral("0,02");
    for (const QString& value : typed)
        steps << input(dataBox, value);
    steps << closeWindow(question) << clickLine(checkScreen, 4) << input(dataBox, fourth)
          << click(checkScreen, "Command3") << click(selection, "Command3") << input(coldPacks, "9")
          << yes("ОШИБКА !") << input(coldPacks, "1") << input(coldChannels, "5")
          << input(hotPacks, "1") << input(hotChannels, "5") << click(results, "Command5")
          << closeWindow(advice) << click(results, "Command4") << closeWindow(results);
    return steps;
}

void complain(const QString& message) {
    std::fputs(qPrintable(message + QLatin1Char('\n')), stderr);
}

// Answers the input boxes from the session, in order, and notes any box the
// session does not expect.
class SessionDialogs : public orven::Dialogs {
public:
    SessionDialogs(const QList<Step>& steps, qsizetype& next) : steps_(steps), next_(next) {}

    QString inputBox(const QString& /*prompt*/, const QString& title, int /*x*/,
                     int /*y*/) override {
        if (next_ >= steps_.size() || steps_[next_].kind != Step::Input ||
            steps_[next_].title != title) {
            failures
                << QStringLiteral("unexpected input box \"%1\" at step %2").arg(title).arg(next_);
            return QString();
        }
        const QString typed = steps_[next_++].detail;
        return title == QString::fromUtf8(nameBox) ? orven::russianLayoutText(typed) : typed;
    }
    bool askYesNo(const QString& title, const QString& text) override {
        if (next_ < steps_.size() && steps_[next_].kind == Step::Yes &&
            steps_[next_].title == title) {
            ++next_;
            return true;
        }
        failures << QStringLiteral("unexpected question \"%1\": %2").arg(title, text);
        return false;
    }
    void beep() override {}
    void showWarning(const QString&, const QString&) override {}
    // The box that says where the report went: the real program shows it at
    // the same point; the plan answers it with Return.
    void showInformation(const QString& title, const QString&) override { shown << title; }

    QStringList failures;
    QStringList shown;

private:
    const QList<Step>& steps_;
    qsizetype& next_;
};

// The recording printer as the real one behaves at the end of a document with
// rows: a PDF written and the desktop told (through the same notifications, so
// that a session bus with a notification service spares the box as it does
// for the real program).
class PlanPrinter final : public RecordingPrinter {
public:
    void endDocument() override {
        const qsizetype before = finishedDocuments().size();
        RecordingPrinter::endDocument();
        if (finishedDocuments().size() > before) {
            orven::notifyDesktop(QStringLiteral("Отчёт записан"));
            orven::noteReportWritten(QStringLiteral("orven-report.pdf"));
        }
    }
};

orven::Screen* visibleScreen(const QString& title) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* screen = qobject_cast<orven::Screen*>(widget);
        if (screen != nullptr && screen->isVisible() && screen->windowTitle() == title)
            return screen;
    }
    return nullptr;
}

int plan(const QString& folder, const QString& name) {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const QList<Step> steps = name == QLatin1String("desktop") ? desktopSession() : session();
    qsizetype next = 0;
    SessionDialogs answers(steps, next);
    orven::setDialogs(&answers);
    PlanPrinter printer;
    orven::startProgram(*qApp, printer);

    QStringList planLines;
    while (next < steps.size() && answers.failures.isEmpty()) {
        const Step& step = steps[next];
        if (step.kind == Step::Input) {
            complain(QStringLiteral("step %1: the input box \"%2\" was never shown")
                         .arg(next)
                         .arg(step.title));
            return 1;
        }
        orven::Screen* screen = visibleScreen(step.title);
        if (screen == nullptr) {
            complain(QStringLiteral("step %1: no window \"%2\"").arg(next).arg(step.title));
            return 1;
        }
        const auto clickAt = [&](const QString& kind, QPoint centre, const QString& what) {
            planLines << QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6")
                             .arg(kind, step.title)
                             .arg(centre.x())
                             .arg(centre.y())
                             .arg(screen->width())
                             .arg(what);
        };
        std::function<void()> act;
        if (step.kind == Step::Close) {
            planLines << QStringLiteral("close\t%1").arg(step.title);
            act = [screen] { screen->close(); };
        } else if (step.kind == Step::Line) {
            auto* list = screen->findChild<QListWidget*>(QStringLiteral("List1"));
            QListWidgetItem* item = list ? list->item(step.detail.toInt()) : nullptr;
            if (item == nullptr || !list->isVisible() || !list->isEnabled()) {
                complain(QStringLiteral("step %1: no line %2 in a list of \"%3\"")
                             .arg(next)
                             .arg(step.detail, step.title));
                return 1;
            }
            const QPoint inList = list->visualItemRect(item).center();
            clickAt(QStringLiteral("click"), list->viewport()->mapTo(screen, inList),
                    QStringLiteral("line %1").arg(step.detail));
            act = [list, inList] {
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, inList);
            };
        } else {
            auto* button = screen->findChild<QPushButton*>(step.detail);
            if (button == nullptr || !button->isVisible() || !button->isEnabled()) {
                complain(QStringLiteral("step %1: no visible, enabled %2 on a window \"%3\"")
                             .arg(next)
                             .arg(step.detail, step.title));
                return 1;
            }
            clickAt(QStringLiteral("click"), button->mapTo(screen, button->rect().center()),
                    QStringLiteral("%1 \"%2\"")
                        .arg(step.detail, button->text().replace(QLatin1Char('\n'), ' ')));
            act = [button] { button->click(); };
        }
        ++next;
        const qsizetype firstAnswer = next;
        act();
        for (qsizetype i = firstAnswer; i < next; ++i) {
            planLines
                << (steps[i].kind == Step::Yes
                        ? QStringLiteral("yes\t%1").arg(steps[i].title)
                        : QStringLiteral("input\t%1\t%2").arg(steps[i].title, steps[i].detail));
        }
        for (const QString& box : std::as_const(answers.shown))
            planLines << QStringLiteral("yes\t%1").arg(box);
        answers.shown.clear();
        QCoreApplication::processEvents();
    }
    if (!answers.failures.isEmpty()) {
        complain(answers.failures.join(QLatin1Char('\n')));
        return 1;
    }
    if (!orven::programEnded() || printer.finishedDocuments().size() != 1) {
        complain(QStringLiteral("the session did not end with one finished report"));
        return 1;
    }

    QStringList expected;
    const RecordingPrinter::Document& document = printer.finishedDocuments().first();
    for (qsizetype page = 0; page < document.size(); ++page) {
        if (page > 0)
            expected << QStringLiteral("\f");
        expected << document[page];
    }
    QDir().mkpath(folder);
    for (const auto& [name, lines] : {std::pair{QStringLiteral("plan.tsv"), planLines},
                                      std::pair{QStringLiteral("expected.txt"), expected}}) {
        QFile file(QDir(folder).filePath(name));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            complain(QStringLiteral("cannot write %1").arg(file.fileName()));
            return 1;
        }
        file.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    }
    return 0;
}

std::optional<QString> readText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        complain(QStringLiteral("cannot read %1").arg(path));
        return std::nullopt;
    }
    return QString::fromUtf8(file.readAll());
}

using Pages = QList<QStringList>;

// Pages of lines without trailing blanks and without blank lines at the end
// of a page (the printed page shows neither). A non-breaking space of a
// parameter name prints as a blank and reads back as one.
Pages splitPages(const QString& text, const QString& separator) {
    Pages pages;
    for (const QString& pageText : text.split(separator)) {
        QStringList lines = pageText.split(QLatin1Char('\n'));
        for (QString& line : lines) {
            line.replace(QChar(0x00A0), QLatin1Char(' '));
            while (line.endsWith(QLatin1Char(' ')))
                line.chop(1);
        }
        while (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        while (!lines.isEmpty() && lines.first().isEmpty())
            lines.removeFirst();
        pages << lines;
    }
    while (!pages.isEmpty() && pages.last().isEmpty())
        pages.removeLast();
    return pages;
}

// The page header names the date and time of printing: the text from its
// first character up to "ORVEN" is replaced, so that the columns of both still
// count.
QString maskDate(const QString& line) {
    const qsizetype orven = line.indexOf(QStringLiteral("ORVEN  стр."));
    if (orven < 0)
        return line;
    qsizetype start = 0;
    while (start < orven && line[start] == QLatin1Char(' '))
        ++start;
    return line.left(start) + QString(orven - start, QLatin1Char('#')) + line.mid(orven);
}

// The text as placed on the page may be shifted right by the page margin:
// the smallest indentation over all lines is taken off.
void removeCommonIndent(Pages& pages) {
    qsizetype indent = -1;
    for (const QStringList& page : pages) {
        for (const QString& line : page) {
            if (line.isEmpty())
                continue;
            qsizetype blanks = 0;
            while (blanks < line.size() && line[blanks] == QLatin1Char(' '))
                ++blanks;
            indent = indent < 0 ? blanks : qMin(indent, blanks);
        }
    }
    if (indent <= 0)
        return;
    for (QStringList& page : pages) {
        for (QString& line : page)
            line.remove(0, qMin(indent, line.size()));
    }
}

// The tops of the printed rows of every page of pdftotext -bbox output: words
// whose tops lie within a point of each other stand on one row.
QList<QList<double>> rowTops(const QString& boxes) {
    QList<QList<double>> pages;
    static const QRegularExpression tag(
        QStringLiteral(R"re(<page |<word xMin="[^"]*" yMin="([0-9.]+)")re"));
    for (auto match = tag.globalMatch(boxes); match.hasNext();) {
        const QRegularExpressionMatch found = match.next();
        if (found.captured(1).isEmpty()) {
            pages.append(QList<double>{});
            continue;
        }
        if (pages.isEmpty())
            continue;
        const double top = found.captured(1).toDouble();
        QList<double>& rows = pages.last();
        if (std::none_of(rows.begin(), rows.end(),
                         [top](double row) { return std::abs(row - top) < 1; }))
            rows.append(top);
    }
    for (QList<double>& rows : pages)
        std::sort(rows.begin(), rows.end());
    while (!pages.isEmpty() && pages.last().isEmpty())
        pages.removeLast();
    return pages;
}

// Each page's non-empty expected lines must be printed on rows whose distances
// are whole multiples of one line pitch: line i and line j stand (j - i)
// pitches apart, empty lines between them included.
QStringList compareRows(const Pages& expected, const QList<QList<double>>& printedRows,
                        double& pitchSeen) {
    QStringList differences;
    for (qsizetype page = 0; page < qMin(expected.size(), printedRows.size()); ++page) {
        QList<int> lineNumbers;
        for (int i = 0; i < expected[page].size(); ++i) {
            if (!expected[page][i].trimmed().isEmpty())
                lineNumbers << i;
        }
        const QList<double>& rows = printedRows[page];
        if (rows.size() != lineNumbers.size()) {
            differences << QStringLiteral("page %1: %2 printed rows, %3 expected non-empty lines")
                               .arg(page + 1)
                               .arg(rows.size())
                               .arg(lineNumbers.size());
            continue;
        }
        if (rows.size() < 2 || lineNumbers.last() == lineNumbers.first())
            continue;
        const double pitch =
            (rows.last() - rows.first()) / (lineNumbers.last() - lineNumbers.first());
        pitchSeen = pitch;
        for (qsizetype k = 0; k < rows.size(); ++k) {
            const double lines = (rows[k] - rows.first()) / pitch;
            const int want = lineNumbers[k] - lineNumbers.first();
            if (std::abs(lines - want) > 0.25)
                differences << QStringLiteral("page %1 line %2 (\"%3\"): printed %4 lines below "
                                              "the first, expected %5")
                                   .arg(page + 1)
                                   .arg(lineNumbers[k] + 1)
                                   .arg(expected[page][lineNumbers[k]].trimmed())
                                   .arg(lines, 0, 'f', 2)
                                   .arg(want);
        }
    }
    return differences;
}

int compare(const QString& expectedPath, const QString& printedPath, const QString& boxesPath) {
    const std::optional<QString> expectedText = readText(expectedPath);
    const std::optional<QString> printedText = readText(printedPath);
    const std::optional<QString> boxes = readText(boxesPath);
    if (!expectedText || !printedText || !boxes)
        return 1;
    const Pages expectedWithEmptyLines = splitPages(*expectedText, QStringLiteral("\f\n"));
    Pages expected;
    for (QStringList page : expectedWithEmptyLines) {
        page.removeAll(QString());
        expected << page;
    }
    Pages printed = splitPages(*printedText, QStringLiteral("\f"));
    removeCommonIndent(expected);
    removeCommonIndent(printed);

    QStringList differences;
    if (printed.size() != expected.size())
        differences << QStringLiteral("pages: printed %1, expected %2")
                           .arg(printed.size())
                           .arg(expected.size());
    int compared = 0;
    for (qsizetype page = 0; page < qMin(printed.size(), expected.size()); ++page) {
        const QStringList& want = expected[page];
        const QStringList& got = printed[page];
        for (qsizetype i = 0; i < qMax(want.size(), got.size()); ++i) {
            const QString wantLine = i < want.size() ? maskDate(want[i]) : QStringLiteral("<none>");
            const QString gotLine = i < got.size() ? maskDate(got[i]) : QStringLiteral("<none>");
            ++compared;
            if (wantLine != gotLine)
                differences << QStringLiteral("page %1 line %2:\n  expected |%3|\n  printed  |%4|")
                                   .arg(page + 1)
                                   .arg(i + 1)
                                   .arg(wantLine, gotLine);
        }
    }
    const QList<QList<double>> rows = rowTops(*boxes);
    if (rows.size() != expectedWithEmptyLines.size())
        differences << QStringLiteral("pages with words: %1, expected %2")
                           .arg(rows.size())
                           .arg(expectedWithEmptyLines.size());
    double pitch = 0;
    differences << compareRows(expectedWithEmptyLines, rows, pitch);
    if (!differences.isEmpty()) {
        complain(differences.join(QLatin1Char('\n')));
        return 1;
    }
    std::printf("report read back from the PDF: %lld page(s), %d non-empty lines as expected, "
                "rows %.2f pt apart\n",
                static_cast<long long>(printed.size()), compared, pitch);
    return 0;
}

} // namespace

// Asks window id to close the way a window manager's close button does: the
// WM_DELETE_WINDOW message of the window protocols.
int closeLikeTheWindowManager(const char* id) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        complain(QStringLiteral("no display to close a window on"));
        return 1;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = static_cast<Window>(std::strtoul(id, nullptr, 0));
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
    XFlush(display);
    XCloseDisplay(display);
    return sent != 0 ? 0 : 1;
}

// Waits until the program that owns window id has handled every event sent
// to it before now: the window manager's _NET_WM_PING, which a Qt window
// answers from its event loop, in order with its other events. Status 1 when
// no answer comes within 20 s.
int pingWindow(const char* id) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        complain(QStringLiteral("no display to ping a window on"));
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom ping = XInternAtom(display, "_NET_WM_PING", False);
    XSelectInput(display, root, StructureNotifyMask | SubstructureNotifyMask);
    const long stamp = static_cast<long>(QDateTime::currentMSecsSinceEpoch() & 0x7fffffff);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = static_cast<Window>(std::strtoul(id, nullptr, 0));
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(ping);
    event.xclient.data.l[1] = stamp;
    event.xclient.data.l[2] = static_cast<long>(event.xclient.window);
    XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
    XFlush(display);
    const qint64 deadline = QDateTime::currentMSecsSinceEpoch() + 20000;
    int answered = 1;
    while (QDateTime::currentMSecsSinceEpoch() < deadline) {
        while (XPending(display) > 0) {
            XEvent reply{};
            XNextEvent(display, &reply);
            if (reply.type == ClientMessage && reply.xclient.message_type == protocols &&
                static_cast<Atom>(reply.xclient.data.l[0]) == ping &&
                reply.xclient.data.l[1] == stamp) {
                answered = 0;
                break;
            }
        }
        if (answered == 0)
            break;
        pollfd wait{ConnectionNumber(display), POLLIN, 0};
        ::poll(&wait, 1, 100);
    }
    XCloseDisplay(display);
    return answered;
}

// Prints the keyboard's locked XKB group (0: the first layout of the list).
int printKeyboardGroup() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        complain(QStringLiteral("no display to read the keyboard of"));
        return 1;
    }
    XkbStateRec state{};
    const Status read = XkbGetState(display, XkbUseCoreKbd, &state);
    XCloseDisplay(display);
    if (read != Success)
        return 1;
    std::printf("%d\n", int(state.locked_group));
    return 0;
}

// Locks the keyboard's group (0 the first layout of the X keymap, 1 the
// second), as a layout switch does.
int lockKeyboardGroup(const char* group) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return 1;
    const Bool locked =
        XkbLockGroup(display, XkbUseCoreKbd, static_cast<unsigned int>(std::atoi(group)));
    XSync(display, False);
    XCloseDisplay(display);
    return locked ? 0 : 1;
}

// Prints the keys of a Latin text on the first layout of the X keymap as
// xdotool key arguments: raw keycodes, with "shift+" where the character is
// the key's upper level. Typed so, the keys carry whatever group is locked,
// where xdotool's own typing picks a key per character and may take it from
// another group.
int printKeycodes(const char* text) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return 1;
    int status = 0;
    QStringList keys;
    for (const char* c = text; *c != '\0'; ++c) {
        // A printable ASCII character's keysym is its own code.
        const auto character = static_cast<unsigned char>(*c);
        const KeySym symbol = character >= 0x20 && character < 0x7f ? character : NoSymbol;
        const KeyCode code = symbol == NoSymbol ? 0 : XKeysymToKeycode(display, symbol);
        if (code == 0) {
            complain(QStringLiteral("no key on the first layout for the byte 0x%1")
                         .arg(static_cast<unsigned char>(*c), 2, 16, QLatin1Char('0')));
            status = 1;
            break;
        }
        const bool shifted = XkbKeycodeToKeysym(display, code, 0, 0) != symbol;
        keys << (shifted ? QStringLiteral("shift+%1") : QStringLiteral("%1")).arg(code);
    }
    XCloseDisplay(display);
    if (status == 0)
        std::printf("%s\n", qPrintable(keys.join(QLatin1Char(' '))));
    return status;
}

// A picture of the X window id as it is on the display, as a PNG file (a
// program under Wine, whose windows Qt's own grab cannot reach).
int shootWindow(const QString& id, const QString& path) {
    bool ok = false;
    const WId window = id.toULongLong(&ok, 0);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!ok || screen == nullptr || !screen->grabWindow(window).save(path, "PNG")) {
        complain(QStringLiteral("cannot take a picture of window %1").arg(id));
        return 1;
    }
    return 0;
}

int main(int argc, char* argv[]) {
    if (argc == 3 && std::strcmp(argv[1], "wm-close") == 0)
        return closeLikeTheWindowManager(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "ping") == 0)
        return pingWindow(argv[2]);
    if (argc == 2 && std::strcmp(argv[1], "keyboard-group") == 0)
        return printKeyboardGroup();
    if (argc == 3 && std::strcmp(argv[1], "lock-group") == 0)
        return lockKeyboardGroup(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "keycodes") == 0)
        return printKeycodes(argv[2]);
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if ((args.size() == 3 || args.size() == 4) && args[1] == QLatin1String("plan"))
        return plan(args[2], args.value(3));
    if (args.size() == 5 && args[1] == QLatin1String("compare"))
        return compare(args[2], args[3], args[4]);
    if (args.size() == 4 && args[1] == QLatin1String("shot"))
        return shootWindow(args[2], args[3]);
    complain(QStringLiteral(
        "usage: orven_session_plan plan <folder> [desktop]\n"
        "       orven_session_plan wm-close <window id>\n"
        "       orven_session_plan ping <window id>\n"
        "       orven_session_plan keyboard-group\n"
        "       orven_session_plan lock-group <0|1>\n"
        "       orven_session_plan keycodes <Latin text>\n"
        "       orven_session_plan shot <window id> <picture.png>\n"
        "       orven_session_plan compare <expected.txt> <layout text> <word boxes>"));
    return 2;
}
