#include "core/text_format.h"

#include <QLocale>
#include <algorithm>
#include <array>
#include <cmath>

namespace orven {

namespace {

constexpr int maxCount = 255;
constexpr int maxDecimals = 254;

int clampCount(int count, int upper = maxCount) {
    return std::clamp(count, 0, upper);
}

// Month names as the report's date line writes them, each with one blank on
// either side.
const std::array<QString, 12>& monthNames() {
    static const std::array<QString, 12> names = {
        QStringLiteral(u" января "),  QStringLiteral(u" февраля "), QStringLiteral(u" марта "),
        QStringLiteral(u" апреля "),  QStringLiteral(u" мая "),     QStringLiteral(u" июня "),
        QStringLiteral(u" июля "),    QStringLiteral(u" августа "), QStringLiteral(u" сентября "),
        QStringLiteral(u" октября "), QStringLiteral(u" ноября "),  QStringLiteral(u" декабря "),
    };
    return names;
}

// Walks a QLocale date/time format, calls keep(character, runLength) for every
// run of one character outside quoted literals, and returns the format without
// the runs for which keep() said false.
template <typename Keep> QString filterFormatTokens(const QString& format, Keep keep) {
    QString out;
    int i = 0;
    const int n = static_cast<int>(format.size());
    while (i < n) {
        const QChar c = format[i];
        if (c == u'\'') { // quoted literal, '' inside stands for one quote
            int j = i + 1;
            while (j < n) {
                if (format[j] == u'\'') {
                    if (j + 1 < n && format[j + 1] == u'\'') {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            const int end = std::min(j + 1, n);
            out += format.mid(i, end - i);
            i = end;
            continue;
        }
        int j = i + 1;
        while (j < n && format[j] == c)
            ++j;
        if (keep(c, j - i))
            out += format.mid(i, j - i);
        i = j;
    }
    return out;
}

// Whether the locale's short date format writes the day with a leading zero
// ("dd"). A format without a numeric day gets the zero, as Russian dates do.
bool dayHasLeadingZero(const QString& shortDateFormat) {
    int dayRun = 0;
    filterFormatTokens(shortDateFormat, [&dayRun](QChar c, int length) {
        if (c == u'd' && length <= 2 && dayRun == 0)
            dayRun = length;
        return true;
    });
    return dayRun != 1;
}

// The locale's time format with seconds and without a time zone: the long
// format (the short one often has no seconds) with its zone tokens removed.
QString timeFormatWithoutZone(const QLocale& locale) {
    QString format = filterFormatTokens(locale.timeFormat(QLocale::LongFormat),
                                        [](QChar c, int) { return c != u't'; });
    return format.simplified();
}

// Adds one to a text of decimal digits; "99" becomes "100".
QString incrementDigits(QString digits) {
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] != u'9') {
            digits[i] = QChar(digits[i].unicode() + 1);
            return digits;
        }
        digits[i] = u'0';
    }
    return QLatin1Char('1') + digits;
}

} // namespace

QString normaliseDecimalComma(const QString& text) {
    if (text.isEmpty())
        return QStringLiteral("0");
    QString result = text;
    const qsizetype comma = result.indexOf(u',');
    if (comma >= 0)
        result[comma] = u'.';
    return result;
}

QString currentDateLine() {
    return currentDateLine(QDateTime::currentDateTime());
}

QString currentDateLine(const QDateTime& moment) {
    const QLocale locale;
    const QDate date = moment.date();
    const int day = date.day();
    const QString dayText = dayHasLeadingZero(locale.dateFormat(QLocale::ShortFormat))
                                ? QStringLiteral("%1").arg(day, 2, 10, QLatin1Char('0'))
                                : QString::number(day);
    const int month = date.month();
    const QString monthText =
        (month >= 1 && month <= 12) ? monthNames()[month - 1] : QStringLiteral(" ");
    const QString yearText = QString::number(date.year()) + QStringLiteral(u"г.");
    const QString timeText = locale.toString(moment.time(), timeFormatWithoutZone(locale));
    return QLatin1Char(' ') + dayText + monthText + yearText + blanks(8) + timeText;
}

QString blanks(int count) {
    return QString(clampCount(count), QLatin1Char(' '));
}

QString generalNumberText(double value) {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', 15);
}

namespace {
// The separator a DecimalSeparatorScope set on this thread; null: the locale's.
thread_local QChar scopedDecimalSeparator;
} // namespace

DecimalSeparatorScope::DecimalSeparatorScope(QChar separator) : previous_(scopedDecimalSeparator) {
    scopedDecimalSeparator = separator;
}

DecimalSeparatorScope::~DecimalSeparatorScope() {
    scopedDecimalSeparator = previous_;
}

QString formatFixed(double value, int width, int decimals) {
    width = clampCount(width);
    decimals = clampCount(decimals, maxDecimals);

    QString text;
    if (std::isnan(value)) {
        text = QStringLiteral("nan");
    } else if (std::isinf(value)) {
        text = value < 0 ? QStringLiteral("-inf") : QStringLiteral("inf");
    } else {
        // Round the number as it reads in decimal (its shortest exact text), so
        // that 2.675 gives 2.68 although the nearest double lies a little below.
        const QString plain =
            QString::number(std::fabs(value), 'f', QLocale::FloatingPointShortest);
        const qsizetype point = plain.indexOf(u'.');
        QString integerDigits = point < 0 ? plain : plain.left(point);
        QString fractionDigits = point < 0 ? QString() : plain.mid(point + 1);
        bool roundUp = false;
        if (fractionDigits.size() > decimals) {
            roundUp = fractionDigits[decimals] >= u'5';
            fractionDigits.truncate(decimals);
        } else {
            fractionDigits += QString(decimals - fractionDigits.size(), QLatin1Char('0'));
        }
        QString digits = integerDigits + fractionDigits;
        if (roundUp)
            digits = incrementDigits(digits);
        integerDigits = digits.left(digits.size() - decimals);
        fractionDigits = digits.right(decimals);

        // A negative number that rounds to zero is shown as plain zero.
        const bool allZero =
            std::all_of(digits.cbegin(), digits.cend(), [](QChar c) { return c == u'0'; });
        if (value < 0 && !allZero)
            text = QLatin1Char('-');
        text += integerDigits;
        if (decimals > 0)
            text += (scopedDecimalSeparator.isNull() ? QLocale().decimalPoint()
                                                     : QString(scopedDecimalSeparator)) +
                    fractionDigits;
    }
    if (text.size() < width)
        text.prepend(blanks(static_cast<int>(width - text.size())));
    return text;
}

QString paddingFor(const QString& text, int width) {
    const qsizetype missing = clampCount(width) - text.size();
    return missing > 0 ? blanks(static_cast<int>(missing)) : QString();
}

QString centreInField(QString& text, int width) {
    // Only blanks are removed; a no-break space belongs to the text.
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    text = text.mid(begin, end - begin);

    width = clampCount(width);
    const int length = static_cast<int>(std::min<qsizetype>(text.size(), maxCount + 1));
    if (length > width)
        return text + QLatin1Char('|');
    const int before = (width - length) / 2;
    return blanks(before) + text + blanks(width - before - length) + QLatin1Char('|');
}

} // namespace orven
