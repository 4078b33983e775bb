// The keychain store against a real Secret Service. The test set-up runs it in a
// D-Bus session of its own with gnome-keyring (see run-with-keyring).
#include "sheets/KeychainStore.h"

#include <QProcess>
#include <QStandardPaths>
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

    // The item holds the password's text itself, as other keyring tools show it.
    void theItemHoldsText()
    {
        if (QStandardPaths::findExecutable("secret-tool").isEmpty())
            QSKIP("secret-tool is missing");
        SystemKeychainStore keychain;
        bool saved = false, answered = false;
        QObject context;
        keychain.savePasswordLater(&context, QStringLiteral("暗号"), [&](bool ok) {
            saved = ok;
            answered = true;
        });
        QVERIFY(QTest::qWaitFor([&] { return answered; }, 10000));
        QVERIFY(saved);
        QProcess tool;
        tool.start("secret-tool", {"search", "--all", "server", "AH-K3001V Password"});
        QVERIFY(tool.waitForFinished(10000));
        const QByteArray all = tool.readAllStandardOutput() + tool.readAllStandardError();
        QVERIFY2(all.contains("secret = " + QStringLiteral("暗号").toUtf8()), all.constData());
        QVERIFY2(!all.contains("base64"), all.constData());

        std::optional<std::optional<QString>> found;
        keychain.findPasswordLater(&context, [&](std::optional<QString> password) { found = password; });
        QVERIFY(QTest::qWaitFor([&] { return found.has_value(); }, 10000));
        QCOMPARE(*found, std::optional<QString>(QStringLiteral("暗号")));
    }
};

QTEST_GUILESS_MAIN(TestKeychain)
#include "tst_keychain.moc"
