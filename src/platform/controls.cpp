#include "platform/controls.h"

#include <QLabel>
#include <QPushButton>
#include <QVariant>

namespace orven {

namespace {
const char* const buttonColorProperty = "orvenButtonColor";
}

void setButtonColor(QPushButton* button, const QColor& color) {
    button->setProperty(buttonColorProperty, color);
    const QString face = color.name();
    const QString light = color.lighter(150).name();
    const QString dark = color.darker(170).name();
    button->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: black;"
                                         " border: 2px solid; border-color: %2 %3 %3 %2;"
                                         " padding: 2px; }"
                                         "QPushButton:pressed { border-color: %3 %2 %2 %3; }"
                                         "QPushButton:focus { outline: 1px dotted black; }"
                                         "QPushButton:disabled { color: gray; }")
                              .arg(face, light, dark));
}

QColor buttonColor(const QPushButton* button) {
    return button->property(buttonColorProperty).value<QColor>();
}

void setControlBackgroundColor(QWidget* widget, const QColor& color) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, color);
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
}

void setControlTextColor(QWidget* widget, const QColor& color) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::WindowText, color);
    pal.setColor(QPalette::Text, color);
    widget->setPalette(pal);
}

QString withLineBreaks(const QString& caption) {
    QString text = caption;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

void setCaptionText(QLabel* label, const QString& caption) {
    label->setTextFormat(Qt::PlainText);
    label->setText(withLineBreaks(caption));
}

} // namespace orven
