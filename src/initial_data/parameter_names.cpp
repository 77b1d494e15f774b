#include "initial_data/parameter_names.h"

#include "core/design_case.h"

#include <array>

namespace orven {

namespace {

// Slot 6 writes its unit with the Latin letter c, "(Кг/c)", where slot 1 has
// the Cyrillic с; slot 13 has a no-break space after "нагрузка".
const std::array<QString, 14>& coolerNames() {
    static const std::array<QString, 14> names = {
        QStringLiteral(u" Массовый расход горячего теплоносителя (Кг/с)             "),
        QStringLiteral(u" Теплопроводность горячего теплоносителя (Вт/м*К)          "),
        QStringLiteral(u" Плотность горячего теплоносителя (Кг/м^3)                 "),
        QStringLiteral(u" Вязкость горячего теплоносителя (Па*с)                    "),
        QStringLiteral(u" Теплоёмкость горячего теплоносителя (Дж/Кг*К)             "),
        QStringLiteral(u" Массовый расход холодного теплоносителя (Кг/c)            "),
        QStringLiteral(u" Теплопроводность холодного теплоносителя (Вт/м*К)         "),
        QStringLiteral(u" Плотность холодного теплоносителя (Кг/м^3)                "),
        QStringLiteral(u" Вязкость холодного теплоносителя (Па*с)                   "),
        QStringLiteral(u" Теплоёмкость холодного теплоносителя (Дж/Кг*К)            "),
        QStringLiteral(u" Средняя разность температур (Град. Цельсия)               "),
        QStringLiteral(u" Сумма термич.сопротивлений стенки и загрязнен. (м^2*К/Вт) "),
        QStringLiteral(u" Тепловая нагрузка\u00A0 (Вт)                                   "),
        QStringLiteral(u" Коэффициент, учитывающий снижение движ. силы(б/р)         "),
    };
    return names;
}

// Slots 1..5 of a condenser; 6..14 are the cooler's. Slot 5 has two blanks
// before its unit.
const std::array<QString, 5>& condenserHotNames() {
    static const std::array<QString, 5> names = {
        QStringLiteral(u" Массовый расход горячего теплоносителя (или пара) (Кг/с)  "),
        QStringLiteral(u" Теплопроводность образовавшегося конденсата (Вт/м*К)      "),
        QStringLiteral(u" Плотность образовавшегося конденсата (Кг/м^3)             "),
        QStringLiteral(u" Вязкость образовавшегося конденсата (Па*с)                "),
        QStringLiteral(u" Теплоёмкость образовавшегося конденсата  (Дж/Кг*К)        "),
    };
    return names;
}

// Slots 15..26; slots 15, 19, 20 and 21 have a no-break space before the unit.
const std::array<QString, 12>& constructionNames() {
    static const std::array<QString, 12> names = {
        QStringLiteral(u" Площадь теплообмена\u00A0(м^2)                                 "),
        QStringLiteral(u" Тип теплообменника                                        "),
        QStringLiteral(u" Тип пластины                                         "),
        QStringLiteral(u" Приведённая длина канала (м)                              "),
        QStringLiteral(u" Проходное сечение канала\u00A0(м^2)                            "),
        QStringLiteral(u" Эквивалентный диаметр канала\u00A0(м)                          "),
        QStringLiteral(u" Диаметр штуцера\u00A0(м)                                       "),
        QStringLiteral(u" Число пакетов для холодного теплоносителя (шт.)           "),
        QStringLiteral(u" Число каналов в пакете для холодного теплоносителя (шт.)  "),
        QStringLiteral(u" Число пакетов для горячего теплоносителя (шт.)            "),
        QStringLiteral(u" Число каналов в пакете для горячего теплоносителя (шт.)   "),
        QStringLiteral(u" Площадь пластины (м^2)                                    "),
    };
    return names;
}

} // namespace

const QString& coolerParameterName(int slot) {
    Q_ASSERT(slot >= 1 && slot <= initialDataCount);
    return coolerNames()[static_cast<std::size_t>(slot - 1)];
}

const QString& condenserParameterName(int slot) {
    Q_ASSERT(slot >= 1 && slot <= initialDataCount);
    if (slot <= static_cast<int>(condenserHotNames().size()))
        return condenserHotNames()[static_cast<std::size_t>(slot - 1)];
    return coolerParameterName(slot);
}

const QString& constructionParameterName(int slot) {
    Q_ASSERT(slot >= 15 && slot <= parameterSlotCount);
    return constructionNames()[static_cast<std::size_t>(slot - 15)];
}

void fillParameterNames(DesignCase& designCase) {
    for (int slot = 1; slot <= initialDataCount; ++slot) {
        designCase.coolerParameterNames[slot] = coolerParameterName(slot);
        designCase.condenserParameterNames[slot] = condenserParameterName(slot);
    }
    for (int slot = 15; slot <= parameterSlotCount; ++slot)
        designCase.constructionParameterNames[slot] = constructionParameterName(slot);
}

} // namespace orven
