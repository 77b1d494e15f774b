// The Russian layout over the US keys, as the name box types it on a keyboard
// without a Russian layout.

#include "core/russian_layout.h"

#include <QtTest>

using namespace orven;

class RussianLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void keys_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("russian");
        QTest::newRow("a name and initials") << "Bdfyjd B/B/"
                                             << "Иванов И.И.";
        QTest::newRow("top row") << "qwertyuiop[]"
                                 << "йцукенгшщзхъ";
        QTest::newRow("home row") << "asdfghjkl;'"
                                  << "фывапролджэ";
        QTest::newRow("bottom row") << "zxcvbnm,./"
                                    << "ячсмитьбю.";
        QTest::newRow("shifted letters") << "QWERTYUIOP{}ASDFGHJKL:\"ZXCVBNM<>"
                                         << "ЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮ";
        QTest::newRow("ё and its capital") << "`~"
                                           << "ёЁ";
        QTest::newRow("shifted signs") << "?@#$^&|"
                                       << ",\"№;:?/";
        QTest::newRow("digits, blanks and the signs both share") << "0123 456-789=!%*()_+"
                                                                 << "0123 456-789=!%*()_+";
        QTest::newRow("Cyrillic stays") << "Петров"
                                        << "Петров";
    }
    void keys() {
        QFETCH(QString, typed);
        QFETCH(QString, russian);
        QCOMPARE(russianLayoutText(typed), russian);
    }
};

QTEST_MAIN(RussianLayoutTest)
#include "russian_layout_test.moc"
