#include "key/design_file.h"

#include "calculation/calculation.h"
#include "core/text_file.h"
#include "core/text_format.h"
#include "initial_data/initial_data.h"
#include "initial_data/parameter_names.h"

#include <QLocale>

#include <optional>

namespace orven {

namespace {

// A number as the admissible intervals are written: the shortest exact text.
QString limitText(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

} // namespace

QString exchangerTypeWord(ExchangerType type) {
    return type == ExchangerType::Condenser ? QStringLiteral("конденсатор")
                                            : QStringLiteral("холодильник");
}

std::optional<ExchangerType> exchangerTypeOfWord(const QString& word) {
    const QString w = word.trimmed().toLower();
    for (const ExchangerType type : {ExchangerType::Cooler, ExchangerType::Condenser}) {
        if (w == exchangerTypeWord(type)) {
            return type;
        }
    }
    return std::nullopt;
}

const QStringList& designKeys() {
    static const QStringList keys{QString(),
                                  QStringLiteral("g1"),
                                  QStringLiteral("l1"),
                                  QStringLiteral("rho1"),
                                  QStringLiteral("mu1"),
                                  QStringLiteral("c1"),
                                  QStringLiteral("g2"),
                                  QStringLiteral("l2"),
                                  QStringLiteral("rho2"),
                                  QStringLiteral("mu2"),
                                  QStringLiteral("c2"),
                                  QStringLiteral("dt"),
                                  QStringLiteral("r"),
                                  QStringLiteral("q"),
                                  QStringLiteral("eps")};
    return keys;
}

QString parameterName(ExchangerType type, int slot) {
    const QString& name =
        showsAsCondenser(type) ? condenserParameterName(slot) : coolerParameterName(slot);
    return name.simplified();
}

QString admissibleText(int slot) {
    const AdmissibleRange& range = admissibleRange(slot);
    if (!range.hasUpper) {
        return QStringLiteral("x > ") + limitText(range.lower);
    }
    return limitText(range.lower) + QStringLiteral(" < x ≤ ") + limitText(range.upper);
}

bool readDesignFile(const QByteArray& contents, const QString& fileName, DesignData& design,
                    QString& error) {
    design = DesignData{};
    const FileFault fail(fileName, error);
    QList<TextLine> lines;
    if (!readTextLines(contents, fileName, lines, error)) {
        return false;
    }

    std::optional<ExchangerType> type;
    std::array<int, initialDataCount + 1> lineOfSlot{};
    int typeLine = 0;
    for (const TextLine& textLine : lines) {
        const int lineNumber = textLine.number;
        const QString& line = textLine.text;
        int slot = 0;
        QString value = line;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals >= 0) {
            const QString key = line.left(equals).trimmed().toLower();
            value = line.mid(equals + 1).trimmed();
            if (key == QStringLiteral("тип")) {
                if (type) {
                    return fail(lineNumber, QStringLiteral("тип теплообменника задан второй раз "
                                                           "(первый раз в строке %1)")
                                                .arg(typeLine));
                }
                type = exchangerTypeOfWord(value);
                if (!type) {
                    return fail(lineNumber, QStringLiteral("неизвестный тип теплообменника «%1»: "
                                                           "нужно «холодильник» или «конденсатор»")
                                                .arg(value));
                }
                typeLine = lineNumber;
                continue;
            }
            slot = static_cast<int>(designKeys().indexOf(key));
            if (slot <= 0) {
                return fail(lineNumber,
                            QStringLiteral("неизвестный ключ «%1»; ключи: %2")
                                .arg(key, designKeys().mid(1).join(QStringLiteral(", "))));
            }
            if (lineOfSlot[slot] != 0) {
                return fail(lineNumber, QStringLiteral("ключ «%1» задан второй раз (первый раз "
                                                       "в строке %2)")
                                            .arg(key)
                                            .arg(lineOfSlot[slot]));
            }
        } else {
            for (slot = 1; slot <= initialDataCount && lineOfSlot[slot] != 0; ++slot) {
            }
            if (slot > initialDataCount) {
                return fail(lineNumber, QStringLiteral("лишнее значение «%1»: все 14 исходных "
                                                       "данных уже заданы")
                                            .arg(value));
            }
        }
        lineOfSlot[slot] = lineNumber;
        design.typedTexts[slot] = value;
        design.texts[slot] = normaliseDecimalComma(value);
        design.values[slot] = parseNumber(design.texts[slot]);
    }

    if (!type) {
        return fail(0, QStringLiteral("не задан тип теплообменника: нужна строка «тип = "
                                      "холодильник» или «тип = конденсатор»"));
    }
    design.type = *type;
    for (int slot = 1; slot <= initialDataCount; ++slot) {
        if (lineOfSlot[slot] == 0) {
            return fail(0, QStringLiteral("не задан параметр «%1» (ключ %2)")
                               .arg(parameterName(design.type, slot), designKeys().at(slot)));
        }
    }
    // The student program's own check: the first slot out of its interval.
    DesignCase check;
    for (int slot = 1; slot <= initialDataCount; ++slot) {
        check.values[slot] = design.values[slot];
    }
    checkInitialData(check);
    if (check.initialDataInvalid) {
        const int slot = check.firstInvalidParameter;
        return fail(
            lineOfSlot[slot],
            QStringLiteral("значение «%1» параметра «%2» вне допустимого интервала %3")
                .arg(design.texts[slot], parameterName(design.type, slot), admissibleText(slot)));
    }
    return true;
}

void loadDesign(DesignCase& designCase, const DesignData& design) {
    designCase.exchangerType = design.type;
    fillParameterNames(designCase);
    fillPlateTypeCoefficients(designCase);
    for (int slot = 1; slot <= initialDataCount; ++slot) {
        designCase.valueTexts[slot] = design.texts[slot];
        designCase.values[slot] = design.values[slot];
        designCase.workingInitialData[slot] = design.values[slot];
    }
}

} // namespace orven
