// The keychain store against a real Secret Service. The test set-up runs it in a
// D-Bus session of its own with gnome-keyring (see run-with-keyring).
#include "KeychainStore.h"

#include <QTest>

class TestKeychain : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
            QSKIP("no D-Bus session: run through run-with-keyring");
    }

    void saveFindReplace()
    {
        SystemKeychainStore keychain;
        QVERIFY(!keychain.findPassword()); // a fresh keyring has none
        QVERIFY(keychain.savePassword("1234"));
        QCOMPARE(keychain.findPassword(), std::optional<QString>("1234"));
        QVERIFY(keychain.savePassword(QStringLiteral("暗号")));
        QCOMPARE(keychain.findPassword(), std::optional<QString>(QStringLiteral("暗号")));
        QVERIFY(keychain.savePassword(""));
        QCOMPARE(keychain.findPassword(), std::optional<QString>(""));
    }
};

QTEST_GUILESS_MAIN(TestKeychain)
#include "tst_keychain.moc"
