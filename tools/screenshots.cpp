// Screenshots of every screen of ORVEN, taken offscreen while the program is
// driven exactly as a student drives it: the main menu, the description, the
// initial data of the worked cooler example, an out-of-range value with its
// error display and dialog, the catalogue table, the letter step, an
// arrangement whose channel totals differ, the results of the cooler, the
// advice, the correction screen and the results of the worked condenser.
//
// Usage: orven_screenshots [folder]   (default docs/screenshots)
//
// Each screen is saved at its design size as the window shows it (the client
// area, without the window frame). A few extra pictures put a dialog over its
// screen at the twip positions the program gives them, each with a plain title
// bar standing in for the window frame.

#include "app/program_start.h"
#include "arrangement/arrangement_screen.h"
#include "core/design_case.h"
#include "initial_data/error_dialog_screen.h"
#include "initial_data/initial_data_screen.h"
#include "menu/main_menu_screen.h"
#include "platform/dialogs.h"
#include "platform/program_end.h"
#include "platform/screens.h"
#include "platform/twips.h"
#include "report/report_printer.h"
#include "results/advice_screen.h"
#include "results/description_screen.h"
#include "results/results_screen.h"
#include "selection/selection_screen.h"
#include "support/worked_examples.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QInputDialog>
#include <QListWidget>
#include <QLocale>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStringList>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <functional>

using namespace orven;

namespace {

QString outputDir;
int savedCount = 0;

[[noreturn]] void fail(const QString& message) {
    std::fprintf(stderr, "orven_screenshots: %s\n", qPrintable(message));
    std::exit(1);
}

void settle() {
    deleteUnloadedScreens();
    QCoreApplication::processEvents();
}

QImage grabbed(QWidget& widget) {
    settle();
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void save(const QImage& image, const QString& name) {
    const QString path = QDir(outputDir).filePath(name + QStringLiteral(".png"));
    if (!image.save(path, "PNG", 0)) // 0: smallest file
        fail(QStringLiteral("cannot write %1").arg(path));
    ++savedCount;
    std::printf("%s %dx%d\n", qPrintable(path), image.width(), image.height());
}

void shoot(QWidget& widget, const QString& name) {
    save(grabbed(widget), name);
}

// A window as it stands on the display: a plain title bar with the caption
// over the client area, one dark pixel of border around both.
constexpr int titleBarHeight = 22;

QImage framed(const QImage& client, const QString& caption) {
    QImage image(client.width() + 2, client.height() + titleBarHeight + 2, QImage::Format_RGB32);
    image.fill(QColor(64, 64, 64));
    QPainter painter(&image);
    painter.fillRect(1, 1, client.width(), titleBarHeight, QColor(0, 0, 128));
    painter.setPen(Qt::white);
    QFont font = QApplication::font();
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(7, 1, client.width() - 12, titleBarHeight),
                     Qt::AlignVCenter | Qt::AlignLeft, caption);
    painter.drawImage(1, titleBarHeight + 1, client);
    return image;
}

// The screen with a dialog over it; both frames stand at their display
// positions (pixels of the frames' top left corners).
QImage composed(const QImage& screenFrame, QPoint screenAt, const QImage& dialogFrame,
                QPoint dialogAt) {
    const QPoint offset = dialogAt - screenAt;
    const QRect all =
        QRect(QPoint(0, 0), screenFrame.size()).united(QRect(offset, dialogFrame.size()));
    QImage image(all.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawImage(-all.topLeft(), screenFrame);
    painter.drawImage(offset - all.topLeft(), dialogFrame);
    return image;
}

QPoint framePosition(const Screen& screen) {
    return {twipsToPixels(screen.leftTwips()), twipsToPixels(screen.topTwips())};
}

void shootWithDialog(Screen& owner, Screen& dialog, const QString& name) {
    save(composed(framed(grabbed(owner), owner.caption()), framePosition(owner),
                  framed(grabbed(dialog), dialog.caption()), framePosition(dialog)),
         name);
}

// The dialogs of the program answered from a script, in order. A step may ask
// for a picture of the input box over the screen that is showing then.
class ScriptDialogs : public Dialogs {
public:
    struct Picture {
        Screen* (*owner)() = nullptr;
        QString name;
    };

    void answer(const QStringList& answers) { m_answers += answers; }
    // The input box asked after `skipped` more boxes is also pictured over the
    // screen that owner() returns then.
    void pictureInput(int skipped, Screen* (*owner)(), const QString& name) {
        m_picture = {owner, name};
        m_pictureAt = m_asked + skipped;
    }
    bool done() const { return m_answers.isEmpty(); }

    QString inputBox(const QString& prompt, const QString& title, int xTwips, int yTwips) override {
        if (m_answers.isEmpty())
            fail(QStringLiteral("unexpected input box \"%1\" (%2)").arg(title, prompt));
        if (m_picture.owner != nullptr && m_asked == m_pictureAt) {
            pictureInputBox(prompt, title, xTwips, yTwips);
            m_picture = {};
        }
        ++m_asked;
        return m_answers.takeFirst();
    }
    bool askYesNo(const QString& title, const QString& text) override {
        fail(QStringLiteral("unexpected question \"%1\" (%2)").arg(title, text));
    }
    void beep() override {}
    void showWarning(const QString&, const QString&) override {}

private:
    // The same box the program shows (platform/dialogs.cpp), shown without
    // waiting for an answer so that it can be grabbed.
    void pictureInputBox(const QString& prompt, const QString& title, int xTwips, int yTwips) {
        Screen* owner = m_picture.owner();
        if (owner == nullptr)
            fail(QStringLiteral("no screen under the input box \"%1\"").arg(title));
        QInputDialog box(owner);
        setUpInputBox(box, prompt, title);
        box.show();
        const QImage boxImage = grabbed(box);
        box.hide();
        save(composed(framed(grabbed(*owner), owner->caption()), framePosition(*owner),
                      framed(boxImage, title), {twipsToPixels(xTwips), twipsToPixels(yTwips)}),
             m_picture.name);
    }

    QStringList m_answers;
    Picture m_picture;
    int m_asked = 0;
    int m_pictureAt = 0;
};

// Nothing is printed on paper while the pictures are taken.
class NoPrinter : public ReportPrinter {
public:
    void setFontName(const QString&) override {}
    void setFontSize(double) override {}
    void printLine(const QString&) override {}
    void printEmptyLine() override {}
    void newPage() override {}
    void endDocument() override {}
};

template <typename T> T& loaded() {
    settle();
    T* found = findLoadedScreen<T>();
    if (found == nullptr || !found->isVisible())
        fail(QStringLiteral("screen %1 is not showing").arg(QLatin1String(typeid(T).name())));
    return *found;
}

template <typename T> Screen* loadedScreen() {
    return findLoadedScreen<T>();
}

void press(QPushButton* button) {
    settle();
    if (!button->isVisible() || !button->isEnabled())
        fail(QStringLiteral("button \"%1\" (%2) cannot be pressed")
                 .arg(button->text(), button->objectName()));
    QTest::mouseClick(button, Qt::LeftButton);
}

void clickLine(QListWidget* list, int row) {
    settle();
    QListWidgetItem* item = list->item(row);
    if (item == nullptr || !list->isVisible() || !list->isEnabled())
        fail(QStringLiteral("list line %1 cannot be clicked").arg(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

// The worked examples, as typed.
const QStringList coolerValues = test::workedStoredTexts(ExchangerType::Cooler);
const QStringList condenserValues = test::workedStoredTexts(ExchangerType::Condenser);

void run(ScriptDialogs& dialogs) {
    // Main menu and the description.
    shoot(loaded<Form1>(), QStringLiteral("01-main-menu"));
    press(loaded<Form1>().Command1);
    shoot(loaded<Form2>(), QStringLiteral("02-description"));
    press(loaded<Form2>().Command1);

    // Data input: the name, then the type question.
    dialogs.answer({QStringLiteral("Иванов И.И. гр. Х-11")});
    dialogs.pictureInput(0, loadedScreen<Form1>, QStringLiteral("02b-name-input-box"));
    press(loaded<Form1>().Command2);
    Form3& form3 = loaded<Form3>();
    shoot(form3, QStringLiteral("03-initial-data-type-choice"));

    // The 14 values of the worked cooler, one input box after another.
    // The seventh box is pictured over the list as it has grown so far.
    dialogs.answer(coolerValues);
    dialogs.pictureInput(6, loadedScreen<Form3>,
                         QStringLiteral("03b-initial-data-entry-input-box"));
    press(form3.Command4);
    shoot(loaded<Form3>(), QStringLiteral("04-initial-data-review"));

    // Correcting: a value out of its interval.
    press(form3.Command2);
    shoot(form3, QStringLiteral("05-initial-data-correcting"));
    dialogs.answer({QStringLiteral("0,02")});
    clickLine(form3.List1, 4);
    shoot(form3, QStringLiteral("05b-initial-data-corrected-out-of-range"));
    press(form3.Command3);
    shoot(form3, QStringLiteral("06-initial-data-error"));
    Form4& form4 = loaded<Form4>();
    shoot(form4, QStringLiteral("07-error-dialog"));
    shootWithDialog(form3, form4, QStringLiteral("07b-error-dialog-over-its-screen"));

    // "Да": back to correcting; the right value, then on to the catalogue.
    press(form4.Command1);
    dialogs.answer({QStringLiteral("0.000416")});
    clickLine(loaded<Form3>().List1, 4);
    press(loaded<Form3>().Command3);
    Form5& form5 = loaded<Form5>();
    shoot(form5, QStringLiteral("09-catalogue-table"));

    // The 0.5 m2 plate with the 100 mm nozzle asks for its letter.
    press(form5.Command6);
    shoot(form5, QStringLiteral("10-letter-step"));

    // Packs and channels whose totals differ: 5 cold channels, 6 hot ones.
    dialogs.answer({QStringLiteral("1"), QStringLiteral("5"), QStringLiteral("1")});
    dialogs.answer({QStringLiteral("6")});
    press(form5.Command10);
    Form6& form6 = loaded<Form6>();
    shoot(form6, QStringLiteral("11-arrangement-mismatch"));
    Form13& form13 = loaded<Form13>();
    shoot(form13, QStringLiteral("12-channel-sum-dialog"));
    shootWithDialog(form6, form13, QStringLiteral("12b-channel-sum-dialog-over-its-screen"));

    // "Да" repeats the dialogue; equal totals give the results of this plate.
    dialogs.answer(
        {QStringLiteral("1"), QStringLiteral("5"), QStringLiteral("1"), QStringLiteral("5")});
    press(form13.Command1);

    // Another exchanger for the same data: the worked cooler's 0.2 m2 plate.
    press(loaded<Form9>().Command2);
    // The last box (channels of the hot pack) is pictured over the echoed answers.
    dialogs.answer(
        {QStringLiteral("1"), QStringLiteral("5"), QStringLiteral("1"), QStringLiteral("5")});
    dialogs.pictureInput(3, loadedScreen<Form6>, QStringLiteral("12c-arrangement-input-box"));
    press(loaded<Form5>().Command3);
    shoot(loaded<Form9>(), QStringLiteral("13-results-cooler"));

    // The advice and back.
    press(loaded<Form9>().Command5);
    shoot(loaded<Form10>(), QStringLiteral("15-advice"));
    press(loaded<Form10>().Command1);

    // New initial data: the correction screen, the type changed to a condenser
    // and the worked condenser's values typed line by line.
    press(loaded<Form9>().Command3);
    Form11& form11 = loaded<Form11>();
    shoot(form11, QStringLiteral("08-correction-screen"));
    clickLine(form11.List1, 0);
    shoot(form11, QStringLiteral("08b-correction-type-choice"));
    press(form11.Command5);
    for (int slot = 1; slot <= 14; ++slot) {
        dialogs.answer({condenserValues[slot - 1]});
        clickLine(form11.List1, slot);
    }
    shoot(form11, QStringLiteral("08c-correction-condenser"));
    press(form11.Command3);

    // The worked condenser: 0.3 m2 plate, 65 mm nozzle, two cold packs of six
    // channels and the steam in one pack of twelve.
    dialogs.answer(
        {QStringLiteral("2"), QStringLiteral("6"), QStringLiteral("6"), QStringLiteral("12")});
    press(loaded<Form5>().Command5);
    shoot(loaded<Form9>(), QStringLiteral("14-results-condenser"));

    // A cold flow of 100 kg/s through five channels: all three warnings, and
    // the buttons below them.
    press(loaded<Form9>().Command3);
    dialogs.answer({QStringLiteral("100")});
    clickLine(loaded<Form11>().List1, 6);
    press(loaded<Form11>().Command3);
    dialogs.answer({QStringLiteral("1"), QStringLiteral("5"), QStringLiteral("5")});
    press(loaded<Form5>().Command3);
    shoot(loaded<Form9>(), QStringLiteral("14b-results-three-warnings"));

    if (!dialogs.done())
        fail(QStringLiteral("some scripted answers were not asked for"));
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));

    outputDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots");
    if (!QDir().mkpath(outputDir))
        fail(QStringLiteral("cannot create %1").arg(outputDir));

    ScriptDialogs dialogs;
    NoPrinter printer;
    startProgram(app, printer);
    setDialogs(&dialogs);
    run(dialogs);
    std::printf("%d screenshots in %s\n", savedCount, qPrintable(outputDir));

    endProgram();
    setDialogs(nullptr);
    return 0;
}
