#include "handset/ShiftJIS.h"

#include <QTest>

class TestShiftJIS : public QObject {
    Q_OBJECT
private slots:
    void encodesStrictly()
    {
        QCOMPARE(*ShiftJIS::encode("abc/"), QByteArray("abc/"));
        QCOMPARE(*ShiftJIS::encode(QStringLiteral("日本")), QByteArray::fromHex("93fa967b"));
        QCOMPARE(*ShiftJIS::encode(QStringLiteral("ｱ")), QByteArray::fromHex("b1")); // half-width katakana
        QCOMPARE(*ShiftJIS::encode(QStringLiteral("①")), QByteArray::fromHex("8740")); // NEC extension
        QCOMPARE(*ShiftJIS::encode(""), QByteArray(""));
        QVERIFY(!ShiftJIS::encode(QString()));                    // no text at all
        QVERIFY(!ShiftJIS::encode(QStringLiteral("a😀")));        // outside the table
        QVERIFY(!ShiftJIS::encode(QStringLiteral("한국어")));
        QVERIFY(!ShiftJIS::encode(QString(QChar(0xD800)) + "a")); // a lone surrogate
    }

    void decodesStrictly()
    {
        QCOMPARE(*ShiftJIS::decode(QByteArray::fromHex("93fa967b")), QStringLiteral("日本"));
        QCOMPARE(*ShiftJIS::decode(QByteArray("memo.txt")), QStringLiteral("memo.txt"));
        QCOMPARE(*ShiftJIS::decode(QByteArray()), QString(""));
        QVERIFY(!ShiftJIS::decode(QByteArray::fromHex("93")));     // cut off after a lead byte
        QVERIFY(!ShiftJIS::decode(QByteArray::fromHex("8120")));   // a lead byte without its trail
        QVERIFY(!ShiftJIS::decode(QByteArray::fromHex("61ff62"))); // not a character
        // Round trip of a long mixed text.
        QString text;
        for (int i = 0; i < 500; ++i)
            text += QStringLiteral("ブックマーク%1 ").arg(i);
        QCOMPARE(*ShiftJIS::decode(*ShiftJIS::encode(text)), text);
    }
};

QTEST_GUILESS_MAIN(TestShiftJIS)
#include "tst_shiftjis.moc"
