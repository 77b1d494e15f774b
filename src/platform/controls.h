#pragma once
// Small helpers for the controls that every screen uses: coloured ("graphical")
// command buttons, label colours and label captions whose line breaks are
// written as carriage returns.

#include <QColor>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace orven {

// Gives the button a solid face of the colour; buttonColor() reads it back.
void setButtonColor(QPushButton* button, const QColor& color);
QColor buttonColor(const QPushButton* button);

// Background and text colour of a label (or any plain widget).
// (Named apart from Screen::setBackgroundColor so screens can call them unqualified.)
void setControlBackgroundColor(QWidget* widget, const QColor& color);
void setControlTextColor(QWidget* widget, const QColor& color);

// Caption of a label; a carriage return (also CR LF) breaks the line.
void setCaptionText(QLabel* label, const QString& caption);
QString withLineBreaks(const QString& caption);

} // namespace orven
