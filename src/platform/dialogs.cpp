#include "platform/dialogs.h"

#include "platform/twips.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace orven {

namespace {
Dialogs* installed = nullptr;

QtDialogs& qtDialogs() {
    static QtDialogs service;
    return service;
}
} // namespace

Dialogs& dialogs() {
    return installed != nullptr ? *installed : qtDialogs();
}

void setDialogs(Dialogs* service) {
    installed = service;
}

QString QtDialogs::inputBox(const QString& prompt, const QString& title, int xTwips, int yTwips) {
    QInputDialog box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setInputMode(QInputDialog::TextInput);
    box.setTextValue(QString());
    box.setOkButtonText(QStringLiteral("ОК"));
    box.setCancelButtonText(QStringLiteral("Отмена"));
    box.adjustSize();
    box.move(twipsToPixels(xTwips), twipsToPixels(yTwips));
    if (box.exec() != QDialog::Accepted)
        return QString();
    return box.textValue();
}

bool QtDialogs::askYesNo(const QString& title, const QString& text) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(text);
    box.setIcon(QMessageBox::NoIcon);
    QPushButton* yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Нет"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void QtDialogs::beep() {
    QApplication::beep();
}

} // namespace orven
