#pragma once
// Small text helpers shared by the screens and the printed report. Lists and
// report lines are fixed-width text in a fixed-pitch font, so these helpers pad,
// centre and format values to exact widths. Numbers use the decimal separator
// of the default QLocale (a comma under Russian settings).
//
// Counts and widths are meant to be 0..255; a negative count is taken as 0 and a
// count above 255 as 255, so no argument can make a helper fail.

#include <QDateTime>
#include <QString>

namespace orven {

// The first comma of a typed number becomes a point; an empty text becomes "0".
// Blanks are kept; a second comma stays (and ends the number's reading).
QString normaliseDecimalComma(const QString& text);

// The date and time line of the report for the current moment, for example
// " 07 декабря 2026г.        14:05:33".
QString currentDateLine();
// The same line for a given moment (its date and time as they are held).
QString currentDateLine(const QDateTime& moment);

// A text of count blanks.
QString blanks(int count);

// The number with exactly `decimals` digits after the locale's decimal
// separator, rounded half away from zero as it reads in decimal, no digit
// grouping, right-aligned in `width` (never cut when longer).
QString formatFixed(double value, int width, int decimals);

// While it lives, formatFixed() on this thread writes this decimal separator
// instead of the locale's: a report printed again, on any thread, with the
// separator it was printed with.
class DecimalSeparatorScope {
public:
    explicit DecimalSeparatorScope(QChar separator);
    ~DecimalSeparatorScope();
    DecimalSeparatorScope(const DecimalSeparatorScope&) = delete;
    DecimalSeparatorScope& operator=(const DecimalSeparatorScope&) = delete;

private:
    QChar previous_;
};

// A number as the screens show a count: no trailing zeros, no decimal point for
// whole numbers, the decimal separator of the regional settings (2,5 or 2.5).
QString generalNumberText(double value);

// The blanks that fill text up to width; empty when the text does not fit.
QString paddingFor(const QString& text, int width);

// Trims the blanks around text (in place) and returns it centred in width,
// followed by "|". A text longer than width comes back as it is, followed by "|".
QString centreInField(QString& text, int width);

} // namespace orven
