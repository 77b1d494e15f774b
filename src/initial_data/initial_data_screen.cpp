#include "initial_data/initial_data_screen.h"

#include "core/text_format.h"
#include "initial_data/error_dialog_screen.h"
#include "initial_data/initial_data.h"
#include "platform/colours.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/fonts.h"
#include "platform/program_end.h"
#include "platform/screen_flow.h"
#include "platform/screens.h"
#include "platform/twips.h"

#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QStyledItemDelegate>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>

namespace orven {

namespace {

// List lines one em high (13 px at 9.75 pt), as in a plain list box: the 15
// lines of the parameter list then fit its 3000 twips without a scroll bar.
class TextLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(QFontInfo(option.font).pixelSize());
        return size;
    }
};

using namespace colours;

const QString inputTitle = QStringLiteral("ВВОД ИСХОДНОЙ ИНФОРМАЦИИ");
const QString checkCaption = QStringLiteral("   ПРОВЕРКА ВВОДА ИСХОДНОЙ ИНФОРМАЦИИ");

// Names are padded to this column before the value.
constexpr int valueColumn = 62;

// Where the error display prints the parameter lines: line i at y = 195 i + 1210.
constexpr int printedLeft = 530;
constexpr int printedLinePitch = 195;
constexpr int printedTopOffset = 1210;

// The screen is laid out on 12000 twips first and then widened to 14000.
constexpr int narrowWidth = 12000;
constexpr int wideWidth = 14000;
constexpr int screenHeight = 8000;

// The width of the list of the correction screen (the first-input list is 9000 wide).
constexpr int correctionListWidth = 10000;

// A layout number held as a 16-bit integer: nearest, halves to the even neighbour.
int roundToInt16(double value) {
    const double rounded = std::nearbyint(value);
    const double low = std::numeric_limits<std::int16_t>::min();
    const double high = std::numeric_limits<std::int16_t>::max();
    return static_cast<int>(qBound(low, rounded, high));
}

// left = container width / 2 - control width / 2, kept exact until it becomes pixels.
void centreHorizontally(QWidget* control, int containerWidth) {
    control->move(twipsToPixels(containerWidth / 2.0 - widthTwips(control) / 2.0), control->y());
}

// A control with a tab stop is reached by Tab; without one only by a click.
void setTabStop(QWidget* control, bool tabStop) {
    control->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, int width,
                        int height) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    setButtonColor(button, green);
    button->resize(twipsToPixels(width), twipsToPixels(height));
    return button;
}

QLabel* makeLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

// The "Внимание !" dialog of a screen variant, loading it when needed; `fresh`
// tells whether it has just been loaded (and its buttons are not yet connected).
template <typename Dialog> ErrorDialogScreen& touchDialog(bool& fresh) {
    fresh = !isLoaded<Dialog>();
    return screen<Dialog>();
}

} // namespace

QString initialDataLine(const DesignCase& designCase, int slot) {
    const QString& name = designCase.initialDataName(slot);
    return name + paddingFor(name, valueColumn) + designCase.valueTexts[slot];
}

QString firstEntryTypeLine(const DesignCase& designCase) {
    return QStringLiteral(" Тип теплообменника - ") + designCase.valueTexts[16];
}

QString rebuiltTypeLine(const DesignCase& designCase) {
    return designCase.constructionParameterNames[16] + designCase.valueTexts[16];
}

InitialDataScreen::InitialDataScreen(Variant variant) : m_variant(variant) {
    const bool correction = variant == Variant::Correction;
    setBackgroundColor(yellow);
    setFont(fixedPitchFont(9.75));
    resizeTwips(12000, 8000);

    Label1 = makeLabel(this, "Label1");
    setCaptionText(Label1, correction ? QStringLiteral("Исходная информация")
                                      : QStringLiteral("ИСХОДНАЯ ИНФОРМАЦИЯ"));
    Label1->setFont(fixedPitchFont(12, true));
    Label1->setAlignment(Qt::AlignCenter);
    setControlTextColor(Label1, blue);
    placeTwips(Label1, 3900, 500, 4215, 375);

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFont(fixedPitchFont(9.75));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    QPalette listColours = List1->palette();
    listColours.setColor(QPalette::Base, green);
    listColours.setColor(QPalette::Text, QColor(0, 0, 192));
    List1->setPalette(listColours);
    List1->setItemDelegate(new TextLineDelegate(List1));
    // Lines are shown whole: a long value widens its own line (never cut with
    // "…"), and the list scrolls sideways where a line is wider than it.
    List1->setTextElideMode(Qt::ElideNone);
    List1->setUniformItemSizes(false);
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    placeTwips(List1, 500, 1200, 9000, 3000);

    Command1 = makeButton(this, "Command1",
                          correction ? QStringLiteral("НЕ ИЗМЕНЯЕТЕ  ИСХОДНУЮ ИНФОРМАЦИЮ")
                                     : QStringLiteral("НЕ ИЗМЕНЯЕТЕ ИСХОДНУЮ ИНФОРМАЦИЮ"),
                          4335, 375);
    setTopTwips(Command1, 4400);
    Command2 =
        makeButton(this, "Command2", QStringLiteral("ИЗМЕНЯЕТЕ ИСХОДНУЮ ИНФОРМАЦИЮ"), 4095, 375);
    setTopTwips(Command2, 4975);
    Command3 = makeButton(this, "Command3", QStringLiteral("КОНЕЦ ИСПРАВЛЕНИЙ"), 2295, 375);
    setTopTwips(Command3, 6000);
    // A button with a style sheet draws its text in the application's font
    // unless it has a font of its own: these take the screen's.
    for (QPushButton* button : {Command1, Command2, Command3})
        button->setFont(font());

    Command4 = makeButton(this, "Command4", QStringLiteral("ХОЛОДИЛЬНИК"), 2775, 495);
    Command4->setFont(fixedPitchFont(8.25, true));
    setTopTwips(Command4, 700);
    Command5 = makeButton(this, "Command5", QStringLiteral("КОНДЕНСАТОР"), 2655, 495);
    Command5->setFont(fixedPitchFont(8.25, true));
    setTopTwips(Command5, 700);

    Label3 = makeLabel(this, "Label3");
    setCaptionText(Label3,
                   QStringLiteral(" Подведите указатель мыши к   строке, информацию которой "
                                  "  Вы будете исправлять и  щёлкните левой кнопкой"));
    Label3->setFont(namedFont(QStringLiteral("Times New Roman"), 12, true));
    Label3->setAlignment(Qt::AlignCenter);
    Label3->setWordWrap(true);
    setControlBackgroundColor(Label3, QColor(192, 255, 255));
    setControlTextColor(Label3, QColor(192, 0, 192));
    placeTwips(Label3, 4250, 4500, 3495, 1215);

    Label4 = makeLabel(this, "Label4");
    setCaptionText(Label4, QStringLiteral("НАЗОВИТЕ ТИП ТЕПЛООБМЕННИКА"));
    Label4->setFont(fixedPitchFont(9.75, true));
    Label4->setAlignment(Qt::AlignCenter);
    setControlTextColor(Label4, blue);
    placeTwips(Label4, 3900, 200, 4215, 255);

    // Label2 lies over the printed copy of the offending line, so it takes the
    // printed text's font and puts its text at the same top left.
    Label2 = makeLabel(this, "Label2");
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2->setContentsMargins(0, 0, 0, 0);
    Label2->setIndent(0);
    setControlBackgroundColor(Label2, green);
    setControlTextColor(Label2, red);
    Label2->hide();

    setTabOrder(Command4, Command5);

    connect(Command1, &QPushButton::clicked, this, [this] { keep(); });
    connect(Command2, &QPushButton::clicked, this, [this] { change(); });
    connect(Command3, &QPushButton::clicked, this, [this] { endCorrections(); });
    connect(Command4, &QPushButton::clicked, this, [this] { chooseType(ExchangerType::Cooler); });
    connect(Command5, &QPushButton::clicked, this,
            [this] { chooseType(ExchangerType::Condenser); });
    connect(List1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { lineClicked(List1->row(item)); });
}

void InitialDataScreen::load() {
    // The screen's width in twips as the layout sets it (reading it back would
    // give the nearest whole pixel instead).
    int width = narrowWidth;
    const auto placeTypeButtons = [this, &width] {
        const int gap =
            roundToInt16(width / 3.0 - widthTwips(Command4) / 3.0 - widthTwips(Command5) / 3.0);
        // Lefts are computed in twips and converted once (a left read back
        // from its pixel would carry the rounding into the next one).
        setLeftTwips(Command4, gap);
        setLeftTwips(Command5, widthTwips(Command4) + gap + gap);
    };

    Label2->hide();
    moveTwips(100, 100);
    resizeTwips(width, screenHeight);
    centreHorizontally(Command3, width);

    if (m_variant == Variant::FirstInput) {
        placeTypeButtons();
        setTopTwips(Label1, 500);
        for (QLabel* label : {Label1, Label3, Label4})
            centreHorizontally(label, width);
        placeTwips(List1, 500, 1200, 9000, 3000);
        width = wideWidth;
        resizeTwips(width, screenHeight);
        moveTwips(100, 100);
        centreHorizontally(Command1, width);
        centreHorizontally(Command2, width);
        setTopTwips(Label3, 4500);
        return;
    }

    setTopTwips(Label1, 500);
    centreHorizontally(Label1, width);
    centreHorizontally(Label3, width);
    List1->resize(twipsToPixels(correctionListWidth), twipsToPixels(3000));
    setTopTwips(List1, 1200);
    centreHorizontally(List1, width);
    centreHorizontally(Command1, width);
    centreHorizontally(Command2, width);
    width = wideWidth;
    resizeTwips(width, screenHeight);
    moveTwips(100, 100);
    setTopTwips(Label3, 4500);
    placeTypeButtons();
    centreHorizontally(Label4, width);
}

void InitialDataScreen::rebuildList() {
    DesignCase& dc = designCase();
    List1->clear();
    List1->addItem(rebuiltTypeLine(dc));
    for (int slot = 1; slot <= initialDataCount; ++slot) {
        refreshValue(dc, slot);
        List1->addItem(initialDataLine(dc, slot));
    }
}

void InitialDataScreen::chooseType(ExchangerType type) {
    DesignCase& dc = designCase();
    List1->clear();
    dc.exchangerType = type;
    dc.valueTexts[16] = type == ExchangerType::Cooler ? QStringLiteral(" Холодильник")
                                                      : QStringLiteral(" Конденсатор");
    if (dc.initialEntryPending) {
        dc.initialEntryPending = false;
        runFirstEntry();
        return;
    }

    // A later choice only relists the values under the other type's names; the
    // admissible intervals are the same for both types, so the check stands.
    Command4->hide();
    Command5->hide();
    Label4->hide();
    rebuildList();
    if (m_variant == Variant::Correction)
        setButtonColor(Command1, green);
    Command1->show();
    Command2->show();
    Label3->hide();
}

void InitialDataScreen::runFirstEntry() {
    DesignCase& dc = designCase();
    for (QWidget* control : std::initializer_list<QWidget*>{
             Command1, Command2, Command3, Command4, Command5, Label1, Label2, Label3, Label4})
        control->hide();
    List1->show();
    List1->setEnabled(true);

    List1->addItem(firstEntryTypeLine(dc));
    for (int slot = 1; slot <= initialDataCount; ++slot) {
        const QString answer =
            dialogs().inputBox(dc.initialDataName(slot), inputTitle, 1000, 1880 + 195 * (slot - 1));
        // The program may have been ended while the box was open (a signal).
        if (programEnded())
            return;
        dc.valueTexts[slot] = normaliseDecimalComma(answer);
        refreshValue(dc, slot);
        List1->addItem(initialDataLine(dc, slot));
    }

    List1->setEnabled(false);
    Command1->show();
    Command2->show();
    Label1->show();

    checkInitialData(dc);
    setButtonColor(Command2, green);
    if (dc.initialDataInvalid) {
        // The data cannot be kept: the error display comes up at once.
        Command1->click();
        setTabStop(Command1, true);
    } else {
        setButtonColor(Command1, green);
        setTabStop(Command2, true);
    }
}

void InitialDataScreen::keep() {
    setCaption(checkCaption);
    if (designCase().initialDataInvalid) {
        showErrorDisplay();
        return;
    }
    goToScreen(ScreenStep::ExchangerSelection);
}

void InitialDataScreen::change() {
    // While the "Внимание !" dialog is open the list is replaced by the printed
    // lines; the dialog's "Да" is the way back to the list.
    if (errorDialogOpen())
        return;
    List1->setEnabled(true);
    Command1->hide();
    Command2->hide();
    Label3->show();
    List1->show();
}

void InitialDataScreen::lineClicked(int k) {
    if (k < 0 || k > initialDataCount)
        return;
    DesignCase& dc = designCase();
    Label3->hide();
    Command3->hide();

    if (k == 0) {
        // The type question goes under the list; the buttons that would stand
        // in its place come back with the type choice.
        Command1->hide();
        Command2->hide();
        Command4->show();
        Command5->show();
        Label4->show();
        setTopTwips(Label4, heightTwips(List1) + topTwips(List1) + 400);
        setTopTwips(Command4, heightTwips(Label4) + topTwips(Label4) + 200);
        setTopTwips(Command5, topTwips(Command4));
        const bool condenser = showsAsCondenser(dc.exchangerType);
        QPushButton* other = condenser ? Command4 : Command5;
        QPushButton* current = condenser ? Command5 : Command4;
        setTabStop(other, true);
        setTabStop(current, false);
        other->setFocus();
        return;
    }

    // A parameter line ends an unanswered type question.
    Command4->hide();
    Command5->hide();
    Label4->hide();
    if (m_variant == Variant::Correction) {
        Command1->hide();
        Command2->hide();
    }

    // Backing out of the box (Cancel, Esc) keeps the line as it was.
    const std::optional<QString> answer =
        dialogs().correctionBox(dc.initialDataName(k), inputTitle, 4000, 195 * k + 1875);
    if (programEnded())
        return;
    if (answer)
        dc.valueTexts[k] = normaliseDecimalComma(*answer);
    delete List1->takeItem(k);
    List1->insertItem(k, initialDataLine(dc, k));
    // The corrected line stays the marked one (taking it out marked the next).
    List1->setCurrentRow(k);
    refreshValue(dc, k);
    checkInitialData(dc);
    setButtonColor(Command3, dc.initialDataInvalid ? red : green);
    Command3->show();
    setTabStop(List1, false);
}

void InitialDataScreen::endCorrections() {
    setCaption(checkCaption);
    DesignCase& dc = designCase();
    checkInitialData(dc);
    if (dc.initialDataInvalid) {
        Command3->hide();
        showErrorDisplay();
        return;
    }
    if (m_variant == Variant::Correction) {
        hide();
        unloadScreen(*this);
    }
    goToScreen(ScreenStep::ExchangerSelection);
}

void InitialDataScreen::showErrorDisplay() {
    const DesignCase& dc = designCase();
    dialogs().beep();
    List1->hide();

    // A repeated display replaces the earlier print instead of piling onto it.
    clearSurface();
    for (int i = 1; i <= initialDataCount; ++i) {
        setCurrentPosition(printedLeft, printedLinePitch * i + printedTopOffset);
        print(initialDataLine(dc, i));
    }

    const int k = dc.firstInvalidParameter;
    if (k >= 1 && k <= initialDataCount) {
        setCaptionText(Label2, initialDataLine(dc, k));
        placeTwips(Label2, printedLeft, printedLinePitch * k + printedTopOffset, 9500, 200);
        Label2->raise();
        Label2->show();
    }

    openErrorDialog();
}

void InitialDataScreen::openErrorDialog() {
    bool fresh = false;
    ErrorDialogScreen& dialog =
        m_variant == Variant::FirstInput ? touchDialog<Form4>(fresh) : touchDialog<Form12>(fresh);
    setOwnerScreen(dialog, *this);
    if (fresh) {
        QPointer<InitialDataScreen> owner(this);
        QPointer<ErrorDialogScreen> self(&dialog);
        connect(dialog.Command1, &QPushButton::clicked, &dialog, [owner, self] {
            self->hide();
            unloadScreen(*self);
            closeOtherScreens();
            if (owner)
                owner->returnToCorrecting();
        });
        connect(dialog.Command2, &QPushButton::clicked, &dialog, [owner, self] {
            if (owner) {
                unloadScreen(*owner);
                owner->hide();
            }
            unloadScreen(*self);
            self->hide();
            closeOtherScreens();
            endProgram();
        });
    }
    dialog.setTopTwips(5000);
    dialog.show();
    if (m_variant == Variant::FirstInput) {
        Command1->hide();
        Command2->hide();
    }
}

void InitialDataScreen::returnToCorrecting() {
    Label3->show();
    show();
    List1->setEnabled(true);
    clearSurface();
    List1->show();
    Label2->hide();
    Command3->hide();
    // The hint stands where the keep/change buttons of the correction screen
    // are; the list takes the clicks from here.
    if (m_variant == Variant::Correction) {
        Command1->hide();
        Command2->hide();
    }
    show();
}

bool InitialDataScreen::errorDialogOpen() const {
    return m_variant == Variant::FirstInput ? isLoaded<Form4>() : isLoaded<Form12>();
}

void showInitialDataFirstState() {
    Form3& form = screen<Form3>();
    form.setCaption(QStringLiteral("   ВВОД ИСХОДНОЙ ИНФОРМАЦИИ"));
    form.Command1->hide();
    form.Command2->hide();
    form.Command3->hide();
    form.Command4->show();
    form.Command5->show();
    form.Label1->hide();
    form.Label2->hide();
    form.Label3->hide();
    form.Label4->show();
    form.List1->hide();
    setTopTwips(form.Command4, 700);
    setTopTwips(form.Command5, topTwips(form.Command4));
    setTopTwips(form.Label4, 200);
    form.show();
}

void openInitialDataCorrection() {
    DesignCase& dc = designCase();
    Form11& form = screen<Form11>();
    // Tops in twips, each converted once.
    const int command1Top = topTwips(form.List1) + heightTwips(form.List1) + 200;
    setTopTwips(form.Command1, command1Top);
    setTopTwips(form.Command2, command1Top + heightTwips(form.Command1) + 200);
    form.Command1->hide();
    form.Command2->hide();

    form.List1->clear();
    form.Command3->hide();
    form.List1->addItem(dc.constructionParameterNames[16] +
                        (dc.exchangerType == ExchangerType::Cooler
                             ? QStringLiteral(" Холодильник")
                             : QStringLiteral(" Конденсатор")));
    for (int slot = 1; slot <= initialDataCount; ++slot) {
        refreshValue(dc, slot);
        form.List1->addItem(initialDataLine(dc, slot));
    }
    form.Command4->hide();
    form.Command5->hide();
    form.Label4->hide();

    form.setCaption(QStringLiteral("Изменение исходной информации"));
    form.show();
}

} // namespace orven
