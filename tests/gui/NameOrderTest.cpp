// The sort key of item names: letter case and Windows-1252 accents aside.

#include <QTest>
#include <string>

#include "gui/NameOrder.h"

namespace relicor::test {

class NameOrderTest : public QObject {
  Q_OBJECT

 private slots:
  void sortKeys_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("key");
    QTest::newRow("ascii") << QByteArray("Short Sword") << QByteArray("SHORT SWORD");
    QTest::newRow("umlauts") << QByteArray("\xE4\xF6\xFC\xC4\xD6\xDC") << QByteArray("AOUAOU");
    QTest::newRow("sharp s") << QByteArray(
                                    "Gr\xFC\xDF"
                                    "e")
                             << QByteArray("GRUSSE");
    QTest::newRow("ligatures") << QByteArray("\xC6\xE6\x8C\x9C") << QByteArray("AEAEOEOE");
    QTest::newRow("caron and diaeresis") << QByteArray("\x8A\x9A\x8E\x9E\x9F\xFF") << QByteArray("SSZZYY");
    QTest::newRow("accents") << QByteArray("\xC9\xE8\xED\xF1\xF8\xE7") << QByteArray("EEINOC");
    QTest::newRow("signs stay") << QByteArray("\x80\xD7\xF7 1-2") << QByteArray("\x80\xD7\xF7 1-2");
  }
  void sortKeys() {
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, key);
    QCOMPARE(QByteArray::fromStdString(NameSortKey(name.toStdString())), key);
  }

  void equalKeysFallBackToTheBytes() {
    QVERIFY(NameLess("APFEL", "\xC4PFEL"));
    QVERIFY(!NameLess("\xC4PFEL", "APFEL"));
    QVERIFY(NameLess("\xC4PFEL", "B"));
    QVERIFY(!NameLess("A", "A"));
  }
};

}  // namespace relicor::test

QTEST_MAIN(relicor::test::NameOrderTest)
#include "NameOrderTest.moc"
