#include "platform/dialogs.h"

#include "platform/program_end.h"
#include "platform/screens.h"
#include "platform/twips.h"

#include <QApplication>
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

// Replaces the text of each key typed into the box's line edit by its mapping.
class KeyMapper : public QObject {
public:
    KeyMapper(KeyMapping mapping, QObject* parent) : QObject(parent), mapping_(mapping) {}

protected:
    bool eventFilter(QObject* target, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || resending_)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->text().size() != 1 || !key->text().at(0).isPrint() ||
            (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            return false;
        const QChar mapped = mapping_(key->text().at(0));
        if (mapped == key->text().at(0))
            return false;
        QKeyEvent replaced(QEvent::KeyPress, key->key(), key->modifiers(), QString(mapped),
                           key->isAutoRepeat(), static_cast<ushort>(key->count()));
        resending_ = true;
        QCoreApplication::sendEvent(target, &replaced);
        resending_ = false;
        return true;
    }

private:
    KeyMapping mapping_;
    bool resending_ = false;
};

Dialogs* installed = nullptr;

QtDialogs& qtDialogs() {
    static QtDialogs service;
    return service;
}
} // namespace

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
QString QtDialogs::inputBox(const QString& prompt, const QString& title, int xTwips, int yTwips) {
    if (programEnded())
        return QString();
    QInputDialog box(dialogOwner());
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setInputMode(QInputDialog::TextInput);
    box.setTextValue(QString());
    box.setOkButtonText(QStringLiteral("ОК"));
    box.setCancelButtonText(QStringLiteral("Отмена"));
    // Every input box has the same width, wide enough for the longest title
    // of the program under a window manager's buttons (a box sized to its
    // prompt alone changes from one question to the next and has its title
    // cut); a wider prompt widens it.
    box.adjustSize();
    box.resize(std::max(box.width(), twipsToPixels(inputBoxWidth)), box.height());
    if (keyMapping != nullptr) {
        if (auto* edit = box.findChild<QLineEdit*>())
            edit->installEventFilter(new KeyMapper(keyMapping, &box));
    }
    box.move(twipsToPixels(xTwips), twipsToPixels(yTwips));
    if (box.exec() != QDialog::Accepted || programEnded())
        return QString();
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

void QtDialogs::showWarning(const QString& title, const QString& text) {
    if (programEnded())
        return;
    QMessageBox box(dialogOwner());
    box.setWindowTitle(title);
    box.setText(text);
    box.setIcon(QMessageBox::Warning);
    box.setDefaultButton(box.addButton(QStringLiteral("ОК"), QMessageBox::AcceptRole));
    box.exec();
}

void QtDialogs::beep() {
    QApplication::beep();
}

} // namespace orven
