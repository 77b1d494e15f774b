#include "initial_data/initial_data.h"

#include "core/design_case.h"

#include <QLocale>
#include <array>
#include <cmath>
#include <limits>

namespace orven {

namespace {

// Admissible intervals of slots 1..14 (index 0 unused).
constexpr std::array<AdmissibleRange, initialDataCount + 1> admissibleRanges = {{
    {},
    {0, 1500, true},  // 1 hot mass flow, kg/s
    {0, 1, true},     // 2 hot conductivity, W/(m K)
    {2, 5000, true},  // 3 hot density, kg/m3
    {0, 0.01, true},  // 4 hot viscosity, Pa s
    {0, 10000, true}, // 5 hot heat capacity, J/(kg K)
    {0, 1000, true},  // 6 cold mass flow, kg/s
    {0, 1, true},     // 7 cold conductivity, W/(m K)
    {2, 5000, true},  // 8 cold density, kg/m3
    {0, 0.01, true},  // 9 cold viscosity, Pa s
    {0, 10000, true}, // 10 cold heat capacity, J/(kg K)
    {0, 500, true},   // 11 mean temperature difference, K
    {0, 0.1, true},   // 12 wall and fouling resistance, m2 K/W
    {0, 0, false},    // 13 heat load, W: no upper limit
    {0, 1, true},     // 14 driving force factor
}};

bool isIgnored(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

int digitValue(QChar c, int base) {
    int v = -1;
    if (c >= u'0' && c <= u'9')
        v = c.unicode() - u'0';
    else if (c >= u'a' && c <= u'f')
        v = c.unicode() - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        v = c.unicode() - u'A' + 10;
    return v < base ? v : -1;
}

// "&H1F" or "&O17" (after the blanks are gone). The digits are read as a plain
// non-negative integer of any length, so "&HFFFF" is 65535, not the -1 of a
// 16-bit word: these texts are engineering quantities, and a positive entry
// must not turn negative.
double parseBasedInteger(const QString& s) {
    const QChar letter = s.size() > 1 ? s[1].toUpper() : QChar();
    const int base = letter == u'H' ? 16 : letter == u'O' ? 8 : 0;
    if (base == 0)
        return 0;
    double value = 0;
    for (qsizetype i = 2; i < s.size(); ++i) {
        const int d = digitValue(s[i], base);
        if (d < 0)
            break;
        value = value * base + d;
    }
    return value;
}

} // namespace

const AdmissibleRange& admissibleRange(int slot) {
    Q_ASSERT(slot >= 1 && slot <= initialDataCount);
    return admissibleRanges[static_cast<std::size_t>(slot)];
}

bool isAdmissible(int slot, double v) {
    const AdmissibleRange& range = admissibleRange(slot);
    // A non-finite value is never a usable datum; without this an overflowing
    // entry such as 1e999 would pass the heat load, which has no upper limit.
    if (!std::isfinite(v))
        return false;
    return v > range.lower && (!range.hasUpper || v <= range.upper);
}

double parseNumber(const QString& text) {
    QString s;
    s.reserve(text.size());
    for (QChar c : text) {
        if (!isIgnored(c))
            s += c;
    }
    if (s.startsWith(u'&'))
        return parseBasedInteger(s);

    const qsizetype n = s.size();
    qsizetype i = 0;
    bool negative = false;
    if (i < n && (s[i] == u'+' || s[i] == u'-')) {
        negative = s[i] == u'-';
        ++i;
    }

    // Collect the significant digits and where the point falls among them, so
    // that any length of text reduces to a short "0.<digits>e<exponent>".
    constexpr qsizetype maxSignificant = 800; // more cannot change a double
    QString significant;
    long long pointShift = 0; // decimal exponent of the point behind significant
    bool anyDigit = false;
    bool afterPoint = false;
    for (; i < n; ++i) {
        const QChar c = s[i];
        if (isDigit(c)) {
            anyDigit = true;
            if (significant.isEmpty() && c == u'0') {
                if (afterPoint)
                    --pointShift; // leading zero behind the point
                continue;
            }
            if (significant.size() < maxSignificant)
                significant += c;
            if (!afterPoint)
                ++pointShift;
        } else if (c == u'.' && !afterPoint) {
            afterPoint = true;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return 0;

    // Exponent: E or D, optional sign, digits; a letter without digits is not
    // part of the number ("1e" reads as 1).
    long long exponent = 0;
    if (i < n && (s[i].toUpper() == u'E' || s[i].toUpper() == u'D')) {
        qsizetype j = i + 1;
        bool negativeExponent = false;
        if (j < n && (s[j] == u'+' || s[j] == u'-')) {
            negativeExponent = s[j] == u'-';
            ++j;
        }
        constexpr long long exponentCap = 1'000'000'000;
        for (; j < n && isDigit(s[j]); ++j) {
            if (exponent < exponentCap)
                exponent = exponent * 10 + (s[j].unicode() - u'0');
        }
        if (negativeExponent)
            exponent = -exponent;
    }

    double value = 0;
    if (!significant.isEmpty()) {
        const long long decimalExponent = pointShift + exponent;
        if (decimalExponent > 400) {
            value = std::numeric_limits<double>::infinity();
        } else if (decimalExponent >= -400) {
            const QString normalised =
                QStringLiteral("0.") + significant + u'e' + QString::number(decimalExponent);
            value = QLocale::c().toDouble(normalised); // out of range gives inf or 0
        }
    }
    return negative && value != 0 ? -value : value;
}

void checkInitialData(DesignCase& designCase) {
    designCase.firstInvalidParameter = 0;
    designCase.initialDataInvalid = false;
    for (int slot = 1; slot <= initialDataCount; ++slot) {
        if (!isAdmissible(slot, designCase.values[slot])) {
            designCase.firstInvalidParameter = static_cast<std::uint8_t>(slot);
            designCase.initialDataInvalid = true;
            return;
        }
    }
}

void refreshValue(DesignCase& designCase, int slot) {
    designCase.values[slot] = parseNumber(designCase.valueTexts[slot]);
}

} // namespace orven
