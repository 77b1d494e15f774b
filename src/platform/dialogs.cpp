#include "platform/dialogs.h"

#include "platform/program_end.h"
#include "platform/screens.h"
#include "platform/twips.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCoreApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

namespace orven {

namespace {
constexpr int inputBoxWidth = 8000;

KeyMapping keyMapping = nullptr;

Dialogs* installed = nullptr;

QtDialogs& qtDialogs() {
    static QtDialogs service;
    return service;
}
} // namespace

LayoutSwitch::LayoutSwitch(KeyMapping mapping, QLabel* caption, QObject* parent)
    : QObject(parent), mapping_(mapping), caption_(caption) {
    showLayout();
}

void LayoutSwitch::showLayout() {
    if (caption_)
        caption_->setText(mapped_ ? QStringLiteral("РУС") : QStringLiteral("LAT"));
}

bool LayoutSwitch::eventFilter(QObject* target, QEvent* event) {
    if (event->type() != QEvent::KeyPress || resending_)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    // The desktops' layout shortcuts: Shift pressed with Alt or Ctrl held, or
    // Alt or Ctrl pressed with Shift held.
    const Qt::KeyboardModifiers held = key->modifiers();
    const bool shiftWithAltOrCtrl =
        key->key() == Qt::Key_Shift && (held & (Qt::AltModifier | Qt::ControlModifier));
    const bool altOrCtrlWithShift =
        (key->key() == Qt::Key_Alt || key->key() == Qt::Key_Control) && (held & Qt::ShiftModifier);
    if (shiftWithAltOrCtrl || altOrCtrlWithShift) {
        if (!key->isAutoRepeat()) {
            mapped_ = !mapped_;
            showLayout();
        }
        return true;
    }
    if (!mapped_ || key->text().size() != 1 || !key->text().at(0).isPrint() ||
        (held & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    const QChar mapped = mapping_(key->text().at(0));
    if (mapped == key->text().at(0))
        return false;
    QKeyEvent replaced(QEvent::KeyPress, key->key(), held, QString(mapped), key->isAutoRepeat(),
                       static_cast<ushort>(key->count()));
    resending_ = true;
    QCoreApplication::sendEvent(target, &replaced);
    resending_ = false;
    return true;
}

void setInputKeyMapping(KeyMapping mapping) {
    keyMapping = mapping;
}

Dialogs& dialogs() {
    return installed != nullptr ? *installed : qtDialogs();
}

void setDialogs(Dialogs* service) {
    installed = service;
}

// Once the program has been ended (a signal while a box was open, say), no
// further box is shown: input boxes answer as cancelled and questions as "Нет".
void setUpInputBox(QInputDialog& box, const QString& prompt, const QString& title) {
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setInputMode(QInputDialog::TextInput);
    box.setTextValue(QString());
    box.setOkButtonText(QStringLiteral("ОК"));
    box.setCancelButtonText(QStringLiteral("Отмена"));
    if (keyMapping != nullptr) {
        if (auto* edit = box.findChild<QLineEdit*>()) {
            // The caption of the layout, at the right end of the entry line.
            auto* caption = new QLabel(&box);
            caption->setObjectName(QStringLiteral("layoutCaption"));
            if (auto* column = qobject_cast<QBoxLayout*>(box.layout())) {
                const int at = column->indexOf(edit);
                if (at >= 0) {
                    column->removeWidget(edit);
                    auto* row = new QHBoxLayout;
                    row->addWidget(edit, 1);
                    row->addWidget(caption);
                    column->insertLayout(at, row);
                }
            }
            edit->installEventFilter(new LayoutSwitch(keyMapping, caption, &box));
        }
    }
    // Every input box has the same width, wide enough for the longest title
    // of the program under a window manager's buttons (a box sized to its
    // prompt alone changes from one question to the next and has its title
    // cut); a wider prompt widens it.
    box.adjustSize();
    box.resize(std::max(box.width(), twipsToPixels(inputBoxWidth)), box.height());
}

QString QtDialogs::inputBox(const QString& prompt, const QString& title, int xTwips, int yTwips) {
    return correctionBox(prompt, title, xTwips, yTwips).value_or(QString());
}

std::optional<QString> QtDialogs::correctionBox(const QString& prompt, const QString& title,
                                                int xTwips, int yTwips) {
    if (programEnded())
        return std::nullopt;
    QInputDialog box(dialogOwner());
    setUpInputBox(box, prompt, title);
    box.move(twipsToPixels(xTwips), twipsToPixels(yTwips));
    if (box.exec() != QDialog::Accepted || programEnded())
        return std::nullopt;
    return box.textValue();
}

bool QtDialogs::askYesNo(const QString& title, const QString& text) {
    if (programEnded())
        return false;
    QMessageBox box(dialogOwner());
    box.setWindowTitle(title);
    box.setText(text);
    box.setIcon(QMessageBox::NoIcon);
    QPushButton* yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Нет"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes && !programEnded();
}

namespace {

// A message box with the one button "ОК", over the visible screen.
void showOkBox(const QString& title, const QString& text, QMessageBox::Icon icon) {
    if (programEnded())
        return;
    QMessageBox box(dialogOwner());
    box.setWindowTitle(title);
    box.setText(text);
    box.setIcon(icon);
    box.setDefaultButton(box.addButton(QStringLiteral("ОК"), QMessageBox::AcceptRole));
    box.exec();
}

} // namespace

void QtDialogs::showWarning(const QString& title, const QString& text) {
    showOkBox(title, text, QMessageBox::Warning);
}

void QtDialogs::showInformation(const QString& title, const QString& text) {
    showOkBox(title, text, QMessageBox::Information);
}

void QtDialogs::beep() {
    QApplication::beep();
}

} // namespace orven
