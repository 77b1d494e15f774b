#include "platform/fonts.h"

#include <QStringList>

namespace orven {

QFont fixedPitchFont(double points, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                      QStringLiteral("DejaVu Sans Mono")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    // Whole-pixel character cells (8 px at 9.75 and 10 pt, 10 px at 12 pt): the
    // screens place fixed-pitch text in twips on the grid of such cells, next to
    // drawn lines and buttons. Unhinted cells are 7.8 px, and a line of 60
    // characters would end up a dozen pixels short, across the table's lines.
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QFont namedFont(const QString& family, double points, bool bold) {
    if (family.startsWith(QLatin1String("Courier"), Qt::CaseInsensitive))
        return fixedPitchFont(points, bold);

    QFont font;
    if (family.compare(QLatin1String("Times New Roman"), Qt::CaseInsensitive) == 0) {
        font.setFamilies({QStringLiteral("Liberation Serif"), QStringLiteral("Times New Roman"),
                          QStringLiteral("DejaVu Serif")});
        font.setStyleHint(QFont::Serif);
    } else if (family.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0 ||
               family.compare(QLatin1String("MS Sans Serif"), Qt::CaseInsensitive) == 0) {
        font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                          QStringLiteral("DejaVu Sans")});
        font.setStyleHint(QFont::SansSerif);
    } else {
        font.setFamilies({family});
    }
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace orven
