#include "teacher/tasks_page.h"

#include "core/bounded_file.h"
#include "course/class_list.h"
#include "course/grading.h"
#include "key_cli/command_support.h"
#include "properties/fluids.h"
#include "teacher/course_folder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace orven {

namespace {

const QString cooler = QStringLiteral("холодильник");
const QString condenser = QStringLiteral("конденсатор");
const QString steam = QStringLiteral("пар");

struct ValueKind {
    const char16_t* key;
    const char16_t* label;
    bool cooler;
    bool condenser;
};

// The values of a task, as its file names them, and the units the file takes.
constexpr ValueKind valueKinds[] = {
    {u"g1", u"G1, кг/с — расход горячего (пара)", true, true},
    {u"t1н", u"t1н, °C — горячий на входе", true, false},
    {u"t1к", u"t1к, °C — горячий на выходе", true, false},
    {u"p1", u"p1, МПа — давление пара", false, true},
    {u"t2н", u"t2н, °C — холодный на входе", true, true},
    {u"t2к", u"t2к, °C — холодный на выходе", true, true},
    {u"r", u"r, м²·К/Вт — загрязнения", true, true},
};

// A template's number as the form shows it: in decimals, never "5e-05".
QString numberText(double value) {
    QString text = QString::number(value, 'f', 12);
    while (text.endsWith(QLatin1Char('0'))) {
        text.chop(1);
    }
    if (text.endsWith(QLatin1Char('.'))) {
        text.chop(1);
    }
    return text;
}

} // namespace

TasksPage::TasksPage(QWidget* parent)
    : QWidget(parent), type_(new QComboBox), hot_(new QComboBox), hotSource_(new QLabel),
      cold_(new QComboBox), coldSource_(new QLabel), minSuitable_(new QSpinBox),
      heading_(new QLineEdit(QStringLiteral("Расчёт пластинчатого теплообменника"))),
      perPage_(new QComboBox), withValues_(new QCheckBox(QStringLiteral("&14 исходных данных на "
                                                                        "листе задания"))),
      drawNumber_(new QLineEdit(QStringLiteral("0"))), count_(new QLabel),
      draw_(new QPushButton(QStringLiteral("В&ыдать задания"))),
      cancel_(new QPushButton(QStringLiteral("Отменит&ь"))), progress_(new QProgressBar),
      openSheets_(new QPushButton(QStringLiteral("Открыть &листы заданий"))),
      openKey_(new QPushButton(QStringLiteral("Открыть кл&юч"))), table_(new QTableWidget(0, 4)),
      task_(new QLabel), countTimer_(new QTimer(this)) {
    type_->addItems({cooler, condenser});
    draw_->setObjectName(QStringLiteral("drawSet"));
    table_->setObjectName(QStringLiteral("setTable"));
    for (QLabel* source : {hotSource_, coldSource_}) {
        source->setWordWrap(true);
        source->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    auto* task = new QGroupBox(QStringLiteral("Шаблон задания"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Тип:"), type_);
    form->addRow(QStringLiteral("&Горячий:"), hot_);
    form->addRow(QString(), hotSource_);
    form->addRow(QStringLiteral("&Холодный:"), cold_);
    form->addRow(QString(), coldSource_);
    auto* values = new QGridLayout;
    values->addWidget(new QLabel(QStringLiteral("Значение задано одно, если «до» пусто.")), 0, 0);
    values->addWidget(new QLabel(QStringLiteral("от")), 0, 1);
    values->addWidget(new QLabel(QStringLiteral("до")), 0, 2);
    values->addWidget(new QLabel(QStringLiteral("шаг")), 0, 3);
    int row = 1;
    for (const ValueKind& kind : valueKinds) {
        ValueRow value{QString::fromUtf16(kind.key), new QLabel(QString::fromUtf16(kind.label)),
                       new QLineEdit, new QLineEdit, new QLineEdit};
        value.label->setBuddy(value.from);
        value.from->setObjectName(value.key + QStringLiteral("_from"));
        value.to->setObjectName(value.key + QStringLiteral("_to"));
        value.step->setObjectName(value.key + QStringLiteral("_step"));
        values->addWidget(value.label, row, 0);
        values->addWidget(value.from, row, 1);
        values->addWidget(value.to, row, 2);
        values->addWidget(value.step, row, 3);
        for (QLineEdit* edit : {value.from, value.to, value.step}) {
            edit->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0.000005")) + 16);
        }
        for (QLineEdit* edit : {value.from, value.to, value.step}) {
            connect(edit, &QLineEdit::textChanged, this, &TasksPage::scheduleCount);
        }
        rows_ << value;
        ++row;
    }
    for (int column = 1; column <= 3; ++column) {
        values->setColumnStretch(column, 1);
    }
    form->addRow(values);
    minSuitable_->setRange(1, 1000);
    minSuitable_->setValue(3);
    form->addRow(QStringLiteral("Не меньше подходящих &вариантов:"), minSuitable_);
    count_->setWordWrap(true);
    count_->setObjectName(QStringLiteral("count"));
    form->addRow(count_);
    task->setLayout(form);

    auto* sheets = new QGroupBox(QStringLiteral("Листы заданий"));
    auto* sheetForm = new QFormLayout;
    sheetForm->addRow(QStringLiteral("Загол&овок:"), heading_);
    perPage_->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("4")});
    perPage_->setCurrentIndex(1);
    sheetForm->addRow(QStringLiteral("Листов на стра&нице A4:"), perPage_);
    sheetForm->addRow(withValues_);
    drawNumber_->setObjectName(QStringLiteral("draw"));
    drawNumber_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{1,19}")), this));
    drawNumber_->setToolTip(QStringLiteral("Другое число — другие задания у того же класса"));
    sheetForm->addRow(QStringLiteral("&Жеребьёвка №:"), drawNumber_);
    sheets->setLayout(sheetForm);

    auto* buttons = new QHBoxLayout;
    cancel_->setEnabled(false);
    progress_->setVisible(false);
    openSheets_->setEnabled(false);
    openKey_->setEnabled(false);
    buttons->addWidget(draw_);
    buttons->addWidget(progress_, 1);
    buttons->addWidget(cancel_);
    auto* running = new QHBoxLayout;
    running->addWidget(openSheets_);
    running->addWidget(openKey_);
    running->addStretch();

    table_->setHorizontalHeaderLabels({QStringLiteral("Вариант"), QStringLiteral("Студент"),
                                       QStringLiteral("Группа"),
                                       QStringLiteral("Подходящих вариантов")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->setVisible(false);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    task_->setWordWrap(true);
    task_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    task_->setObjectName(QStringLiteral("task"));
    connect(table_, &QTableWidget::itemSelectionChanged, this, [this] {
        const QList<QTableWidgetItem*> selected = table_->selectedItems();
        task_->setText(
            selected.isEmpty()
                ? QString()
                : table_->item(selected.first()->row(), 0)->data(Qt::UserRole).toString());
    });

    // The form scrolls where the screen is small (1366×768 at 125 %).
    auto* formPane = new QWidget;
    auto* left = new QVBoxLayout(formPane);
    left->setContentsMargins(0, 0, 0, 0);
    left->addWidget(task);
    left->addWidget(sheets);
    left->addStretch();
    // At its own size: a larger pane would spread the form's rows apart.
    formPane->adjustSize();
    auto* scroll = new QScrollArea;
    scroll->setWidget(formPane);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setMinimumWidth(formPane->width() + scroll->verticalScrollBar()->sizeHint().width());
    auto* right = new QVBoxLayout;
    right->addLayout(buttons);
    right->addLayout(running);
    right->addWidget(table_, 1);
    right->addWidget(task_);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(scroll);
    layout->addLayout(right, 1);

    countTimer_->setSingleShot(true);
    countTimer_->setInterval(150);
    connect(countTimer_, &QTimer::timeout, this, &TasksPage::showCount);
    connect(type_, &QComboBox::currentIndexChanged, this, &TasksPage::typeChanged);
    connect(hot_, &QComboBox::currentIndexChanged, this, &TasksPage::scheduleCount);
    connect(cold_, &QComboBox::currentIndexChanged, this, &TasksPage::scheduleCount);
    connect(draw_, &QPushButton::clicked, this, &TasksPage::startDraw);
    connect(cancel_, &QPushButton::clicked, this, &TasksPage::cancelDraw);
    connect(openSheets_, &QPushButton::clicked, this,
            [this] { openFile(assignmentSetFiles().at(1)); });
    connect(openKey_, &QPushButton::clicked, this,
            [this] { openFile(assignmentSetFiles().at(2)); });
    fillFluids();
    typeChanged();
    setCourse(nullptr);
}

TasksPage::~TasksPage() {
    if (worker_ != nullptr) {
        cancelled_ = true;
        worker_->wait();
    }
}

QStringList TasksPage::fluidFolders() const {
    return orven::fluidFolders(course_ != nullptr ? course_->filePath(fluidsFolderName) : QString(),
                               installedFluidsFolder());
}

void TasksPage::fillFluids() {
    const QString hot = hot_->currentText();
    const QString cold = cold_->currentText();
    const QSignalBlocker hotBlocker(hot_);
    const QSignalBlocker coldBlocker(cold_);
    hot_->clear();
    cold_->clear();
    for (const Fluid& fluid : knownFluids(fluidFolders())) {
        const QString source = fluid.reference.isEmpty() ? fluid.source : fluid.reference;
        hot_->addItem(fluid.name, source);
        cold_->addItem(fluid.name, source);
    }
    hot_->addItem(steam, QStringLiteral("IAPWS-IF97: насыщенный пар и его конденсат"));
    hot_->setCurrentIndex(std::max(0, hot_->findText(hot)));
    cold_->setCurrentIndex(std::max(0, cold_->findText(cold)));
}

void TasksPage::typeChanged() {
    const bool isCooler = type_->currentText() == cooler;
    for (qsizetype i = 0; i < rows_.size(); ++i) {
        const bool shown = isCooler ? valueKinds[i].cooler : valueKinds[i].condenser;
        for (QWidget* w : std::initializer_list<QWidget*>{rows_[i].label, rows_[i].from,
                                                          rows_[i].to, rows_[i].step}) {
            w->setVisible(shown);
        }
    }
    // A condenser's hot side is steam.
    const int steamIndex = hot_->findText(steam);
    if (!isCooler) {
        hot_->setCurrentIndex(steamIndex);
    } else if (hot_->currentIndex() == steamIndex) {
        hot_->setCurrentIndex(0);
    }
    hot_->setEnabled(isCooler);
    scheduleCount();
}

void TasksPage::scheduleCount() {
    hotSource_->setText(hot_->currentData().toString());
    coldSource_->setText(cold_->currentData().toString());
    countTimer_->start();
}

bool TasksPage::valueLines(QStringList& lines, QString& why) const {
    const bool isCooler = type_->currentText() == cooler;
    for (qsizetype i = 0; i < rows_.size(); ++i) {
        if (!(isCooler ? valueKinds[i].cooler : valueKinds[i].condenser)) {
            continue;
        }
        const ValueRow& row = rows_.at(i);
        const QString name = row.key;
        const QString from = row.from->text().trimmed();
        const QString to = row.to->text().trimmed();
        const QString step = row.step->text().trimmed();
        double a = 0;
        double b = 0;
        double s = 0;
        if (from.isEmpty()) {
            why = QStringLiteral("%1: нужно значение «от»").arg(name);
            return false;
        }
        if (!parseDecimal(from, a)) {
            why = QStringLiteral("%1: «%2» — не число").arg(name, from);
            return false;
        }
        if (to.isEmpty() || (parseDecimal(to, b) && b == a && step.isEmpty())) {
            lines << QStringLiteral("%1 = %2").arg(name, from);
            continue;
        }
        if (!parseDecimal(to, b)) {
            why = QStringLiteral("%1: «%2» — не число").arg(name, to);
            return false;
        }
        if (!parseDecimal(step, s) || !(s > 0) || b < a) {
            why = QStringLiteral("%1: нужно «от» ≤ «до» и шаг больше нуля").arg(name);
            return false;
        }
        lines << QStringLiteral("%1 = %2 .. %3 шаг %4").arg(name, from, to, step);
    }
    return true;
}

QByteArray TasksPage::templateText() const {
    QStringList lines{QStringLiteral("# Шаблон задания, записанный окном преподавателя ORVEN."),
                      QStringLiteral("тип = %1").arg(type_->currentText())};
    if (type_->currentText() == cooler) {
        lines << QStringLiteral("горячий = %1").arg(hot_->currentText());
    }
    // In the order of a task file, the hot side then the cold: the draw
    // follows the template's lines, so a teacher's file of the same lines in
    // that order draws the same tasks.
    QStringList values;
    QString why;
    valueLines(values, why);
    const qsizetype cold =
        std::find_if(values.cbegin(), values.cend(),
                     [](const QString& line) { return line.startsWith(QStringLiteral("t2н ")); }) -
        values.cbegin();
    lines << values.mid(0, cold) << QStringLiteral("холодный = %1").arg(cold_->currentText())
          << values.mid(cold);
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

double TasksPage::distinctCount(QString* why) const {
    QStringList lines;
    QString problem;
    TaskTemplate taskTemplate;
    if (!valueLines(lines, problem) ||
        !readTaskTemplate(templateText(), templateName, fluidFolders(), taskTemplate, problem)) {
        if (why != nullptr) {
            *why = problem;
        }
        return 0;
    }
    return distinctTasks(taskTemplate);
}

void TasksPage::showCount() {
    QString why;
    const double count = distinctCount(&why);
    if (count <= 0) {
        count_->setText(QStringLiteral("Шаблон не годится: %1").arg(why));
        return;
    }
    const QLocale russian(QLocale::Russian);
    count_->setText(count < 1e15 ? QStringLiteral("Различных заданий: %1")
                                       .arg(russian.toString(static_cast<qlonglong>(count)))
                                 : QStringLiteral("Различных заданий: больше 10¹⁵"));
}

void TasksPage::loadTemplate() {
    if (course_ == nullptr) {
        return;
    }
    QByteArray contents;
    QString error;
    TaskTemplate taskTemplate;
    const QString path = course_->filePath(templateName);
    if (!QFileInfo::exists(path) || !readCourseFile(path, templateInput, contents, error) ||
        !readTaskTemplate(contents, templateName, fluidFolders(), taskTemplate, error)) {
        return; // the form keeps what it shows; the count says what is wrong when drawn
    }
    for (ValueRow& row : rows_) {
        row.from->clear();
        row.to->clear();
        row.step->clear();
    }
    for (const TemplateEntry& entry : taskTemplate.entries) {
        const QString first = entry.size() > 0 ? entry.choice(0) : QString();
        if (entry.key == QStringLiteral("тип")) {
            type_->setCurrentIndex(std::max(0, type_->findText(first)));
        } else if (entry.key == QStringLiteral("горячий")) {
            hot_->setCurrentIndex(std::max(0, hot_->findText(first)));
        } else if (entry.key == QStringLiteral("холодный")) {
            cold_->setCurrentIndex(std::max(0, cold_->findText(first)));
        }
        for (ValueRow& row : rows_) {
            if (row.key != entry.key) {
                continue;
            }
            row.from->setText(first);
            if (entry.list.isEmpty() && entry.gridCount > 1) {
                row.to->setText(entry.choice(entry.gridCount - 1));
                row.step->setText(numberText(entry.step));
            }
        }
    }
    typeChanged();
}

void TasksPage::setCourse(const CourseFolder* course) {
    course_ = course;
    fillFluids();
    loadTemplate();
    draw_->setEnabled(course_ != nullptr && worker_ == nullptr);
    showSavedSet();
    scheduleCount();
}

void TasksPage::setConfirmer(std::function<bool(const QString& question)> confirmer) {
    confirmer_ = std::move(confirmer);
}

void TasksPage::setOpener(std::function<void(const QString& path)> opener) {
    opener_ = std::move(opener);
}

bool TasksPage::isDrawing() const {
    return worker_ != nullptr;
}

int TasksPage::assignedCount() const {
    return table_->rowCount();
}

void TasksPage::cancelDraw() {
    cancelled_ = true;
    cancel_->setEnabled(false);
}

bool TasksPage::startDraw() {
    if (course_ == nullptr || worker_ != nullptr) {
        return false;
    }
    AssignmentSetRequest request;
    request.fluidFolders = fluidFolders();
    request.classShown = CourseFolder::classListName;
    request.templateShown = templateName;
    request.outFolder = course_->path();
    request.course = heading_->text().trimmed();
    request.drawNumber = drawNumber_->text().toULongLong();
    request.minSuitable = minSuitable_->value();
    request.perPage = perPage_->currentText().toInt();
    request.withValues = withValues_->isChecked();
    QByteArray contents;
    QString error;
    const QString listPath = course_->filePath(CourseFolder::classListName);
    if (!QFileInfo::exists(listPath)) {
        emit problem(QStringLiteral("в курсе нет списка группы: импортируйте его на вкладке "
                                    "«Студенты»"));
        return false;
    }
    QStringList lines;
    if (!readCourseFile(listPath, classInput, contents, error) ||
        !readClassList(contents, CourseFolder::classListName, request.list, error)) {
        emit problem(error);
        return false;
    }
    if (!valueLines(lines, error) ||
        !readTaskTemplate(templateText(), templateName, request.fluidFolders, request.taskTemplate,
                          error)) {
        emit problem(QStringLiteral("Шаблон не годится: %1").arg(error));
        return false;
    }
    const QStringList present = assignmentSetFilesIn(course_->path());
    if (!present.isEmpty()) {
        const QString question = QStringLiteral("В курсе уже есть набор заданий (%1). Заменить "
                                                "его целиком?")
                                     .arg(present.join(QStringLiteral(", ")));
        const bool replace =
            confirmer_ ? confirmer_(question)
                       : QMessageBox::question(this, QStringLiteral("ORVEN — преподаватель"),
                                               question) == QMessageBox::Yes;
        if (!replace) {
            return false;
        }
    }
    // The form is the course's template, for orven-key as for this window.
    const QString templatePath = course_->filePath(templateName);
    if (!writeFileBytes(templatePath, templateText())) {
        emit problem(QStringLiteral("файл %1 не удалось записать").arg(templatePath));
        return false;
    }
    cancelled_ = false;
    request.cancel = &cancelled_;
    request.progress = progressOn(progress_);
    progress_->setRange(0, static_cast<int>(request.list.students.size()));
    progress_->setValue(0);
    progress_->setVisible(true);
    draw_->setEnabled(false);
    cancel_->setEnabled(true);
    worker_ = QThread::create([this, request] {
        AssignmentSet set;
        QString failure;
        const bool written = writeAssignmentSet(request, set, failure) == SetOutcome::Written;
        QMetaObject::invokeMethod(
            this, [this, written, failure, set] { drawDone(written, failure, set); },
            Qt::QueuedConnection);
    });
    worker_->start();
    return true;
}

void TasksPage::drawDone(bool written, const QString& error, const AssignmentSet& set) {
    worker_->wait();
    delete worker_;
    worker_ = nullptr;
    progress_->setVisible(false);
    cancel_->setEnabled(false);
    draw_->setEnabled(course_ != nullptr);
    if (written) {
        showSet(set);
    } else {
        emit problem(error);
    }
    emit drawFinished(written);
}

void TasksPage::showSet(const AssignmentSet& set) {
    ClassList list;
    QString error;
    table_->setRowCount(0);
    QByteArray contents;
    const QString listPath = course_->filePath(CourseFolder::classListName);
    if (!readCourseFile(listPath, classInput, contents, error) ||
        !readClassList(contents, CourseFolder::classListName, list, error)) {
        return;
    }
    table_->setRowCount(static_cast<int>(set.assignments.size()));
    const int width = std::max(2, static_cast<int>(QString::number(set.assignments.size()).size()));
    for (int i = 0; i < set.assignments.size() && i < list.students.size(); ++i) {
        const Assignment& a = set.assignments.at(i);
        const Student& s = list.students.at(i);
        const QString number = QStringLiteral("%1").arg(a.variant, width, 10, QLatin1Char('0'));
        const QStringList cells{number, s.name, s.group, QString::number(a.solution.suitableCount)};
        for (int c = 0; c < cells.size(); ++c) {
            table_->setItem(i, c, new QTableWidgetItem(cells.at(c)));
        }
        // The selected student's task, as the sheet states it, below the table.
        table_->item(i, 0)->setData(
            Qt::UserRole, QStringLiteral("Вариант %1 — %2: %3")
                              .arg(number, s.name, taskProse(a.task, a.prepared.hotGenitive)));
    }
    table_->resizeColumnsToContents();
    if (table_->rowCount() > 0) {
        table_->selectRow(0);
    }
    openSheets_->setEnabled(true);
    openKey_->setEnabled(true);
}

void TasksPage::showSavedSet() {
    table_->setRowCount(0);
    task_->clear();
    const bool has = course_ != nullptr &&
                     assignmentSetFilesIn(course_->path()).size() == assignmentSetFiles().size();
    openSheets_->setEnabled(has);
    openKey_->setEnabled(has);
    if (!has) {
        return;
    }
    // The set's table lists who has which variant; the tasks themselves are
    // in the design files and the sheets.
    QByteArray contents;
    QString error;
    VariantsTable variants;
    const QString path = course_->filePath(assignmentSetFiles().at(0));
    if (!readCourseFile(path, variantsInput, contents, error) ||
        !readVariantsTable(contents, assignmentSetFiles().at(0), variants, error)) {
        return;
    }
    table_->setRowCount(static_cast<int>(variants.variants.size()));
    for (int i = 0; i < variants.variants.size(); ++i) {
        const ClassVariant& v = variants.variants.at(i);
        const QStringList cells{v.number, v.student.name, v.student.group};
        for (int c = 0; c < cells.size(); ++c) {
            table_->setItem(i, c, new QTableWidgetItem(cells.at(c)));
        }
    }
    table_->resizeColumnsToContents();
}

void TasksPage::openFile(const QString& name) {
    if (course_ == nullptr) {
        return;
    }
    const QString path = course_->filePath(name);
    if (opener_) {
        opener_(path);
    } else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        emit problem(QStringLiteral("файл %1 не удалось открыть").arg(path));
    }
}

} // namespace orven
