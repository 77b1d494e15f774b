#include "support/worked_examples.h"

#include "support/test_support.h"

#include <QFile>
#include <QtGlobal>

namespace orven::test {

namespace {

DesignData readExample(const QString& name) {
    QFile file(sourceDir() + QStringLiteral("/tests/key/") + name);
    DesignData design;
    QString error;
    if (!file.open(QIODevice::ReadOnly) || !readDesignFile(file.readAll(), name, design, error))
        qFatal("the worked example %s cannot be read: %s", qPrintable(file.fileName()),
               qPrintable(error));
    return design;
}

} // namespace

const DesignData& workedExample(ExchangerType type) {
    static const DesignData cooler = readExample(QStringLiteral("worked_cooler.txt"));
    static const DesignData condenser = readExample(QStringLiteral("worked_condenser.txt"));
    return type == ExchangerType::Cooler ? cooler : condenser;
}

QStringList workedTypedTexts(ExchangerType type) {
    const DesignData& design = workedExample(type);
    return QStringList(design.typedTexts.begin() + 1, design.typedTexts.end());
}

QStringList workedStoredTexts(ExchangerType type) {
    const DesignData& design = workedExample(type);
    return QStringList(design.texts.begin() + 1, design.texts.end());
}

QList<double> workedValues(ExchangerType type) {
    const DesignData& design = workedExample(type);
    return QList<double>(design.values.begin() + 1, design.values.end());
}

} // namespace orven::test
