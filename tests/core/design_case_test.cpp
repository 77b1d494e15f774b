#include "core/design_case.h"

#include <QtTest>

using namespace orven;

class DesignCaseTest : public QObject {
    Q_OBJECT
private slots:
    void startsEmpty() {
        resetDesignCase();
        const DesignCase& c = designCase();
        QCOMPARE(c.exchangerType, ExchangerType::Cooler);
        QVERIFY(c.valueTexts[1].isEmpty());
        QCOMPARE(c.values[30], 0.0);
        QCOMPARE(c.pageNumber, std::int16_t(0));
        QCOMPARE(c.plateArrangement.coldChannels[0], std::int16_t(0));
        QVERIFY(!c.reportOpen);
    }
    void resetRestoresStart() {
        designCase().valueTexts[17] = QStringLiteral("     0.2 K");
        designCase().plateArrangement.hotChannels[8] = 12;
        resetDesignCase();
        QVERIFY(designCase().valueTexts[17].isEmpty());
        QCOMPARE(designCase().plateArrangement.hotChannels[8], std::int16_t(0));
    }
    void condenserNamesForAnyNonCoolerType() {
        resetDesignCase();
        DesignCase& c = designCase();
        c.coolerParameterNames[1] = QStringLiteral("cooler");
        c.condenserParameterNames[1] = QStringLiteral("condenser");
        c.exchangerType = ExchangerType::NotChosen;
        QCOMPARE(c.initialDataName(1), QStringLiteral("condenser"));
        c.exchangerType = ExchangerType::Cooler;
        QCOMPARE(c.initialDataName(1), QStringLiteral("cooler"));
    }
};

QTEST_GUILESS_MAIN(DesignCaseTest)
#include "design_case_test.moc"
