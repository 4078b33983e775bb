#include "sheets/KeychainStore.h"
#include "sheets/PasswordController.h"
#include "sheets/ProgressController.h"
#include "handset/VedORovavException.h"

#include <QCheckBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

class TestSheets : public QObject {
    Q_OBJECT
private slots:
    void progressSheet()
    {
        QMainWindow window;
        window.show();
        ProgressController progress(&window);
        int cancels = 0;
        progress.setCancelHandler([&] { ++cancels; });
        progress.openProgressForWindow(&window, 250, QString());
        QVERIFY(progress.isOpened());
        QVERIFY(progress.sheet()->isVisible());
        QCOMPARE(progress.sheet()->windowModality(), Qt::WindowModal);
        QCOMPARE(progress.message(), QString("Communicating..."));
        QCOMPARE(progress.value(), 0.0);
        QCOMPARE(progress.maxValue(), 250.0);
        auto* bar = progress.sheet()->findChild<QProgressBar*>();
        progress.updateProgressDoubleValue(125);
        QCOMPARE(bar->value(), bar->maximum() / 2);
        progress.updateProgressDoubleValue(400); // past the maximum: a full bar
        QCOMPARE(bar->value(), bar->maximum());

        // Cancel asks once; Escape is a Cancel, not a closed sheet.
        QVERIFY(progress.cancelButton()->isVisible());
        QTest::keyClick(progress.sheet(), Qt::Key_Escape);
        QCOMPARE(cancels, 1);
        QVERIFY(progress.sheet()->isVisible());
        QVERIFY(!progress.cancelButton()->isEnabled());
        QCOMPARE(progress.message(), QString("Cancelling..."));
        progress.cancelButton()->click();
        QCOMPARE(cancels, 1);

        progress.notifyException(VedORovavException("x"));
        QVERIFY(progress.exceptionIsRaised());
        progress.closeProgress();
        QCOMPARE(progress.value(), 250.0);
        QVERIFY(!progress.sheet()->isVisible()); // gone after a failure too
        QVERIFY(!progress.isOpened());
        QVERIFY(!progress.exceptionIsRaised());

        // Closed: updates change nothing, closing only clears the flag.
        progress.updateProgressDoubleValue(10);
        QCOMPARE(progress.value(), 250.0);
        progress.notifyException(VedORovavException("x"));
        progress.closeProgress();
        QVERIFY(!progress.exceptionIsRaised());

        progress.openProgressForWindow(&window, 1, "Updating the file list...");
        QCOMPARE(progress.message(), QString("Updating the file list..."));
        QVERIFY(progress.cancelButton()->isEnabled()); // a new transfer may be cancelled again
        progress.closeProgress();
    }

    void destroyingAnOpenProgressSheetClosesIt()
    {
        QMainWindow window;
        auto progress = std::make_unique<ProgressController>(&window);
        progress->openProgressForWindow(&window, 1, QString());
        QPointer<QDialog> sheet = progress->sheet();
        progress.reset();
        QVERIFY(!sheet || !sheet->isVisible());
    }

    void passwordSources()
    {
        QMainWindow window;
        MemoryKeychainStore keychain;
        PasswordController passwords(&window, &keychain);
        auto find = [&] {
            std::optional<std::optional<QString>> answer;
            passwords.findPassword([&](std::optional<QString> found) { answer = found; });
            if (!QTest::qWaitFor([&] { return answer.has_value(); }, 2000))
                qFatal("no answer from the password source");
            return *answer;
        };
        QVERIFY(!find()); // nothing anywhere
        keychain.savePassword("from keychain");
        QCOMPARE(find(), std::optional<QString>("from keychain"));

        int calls = 0;
        auto ask = [&](const QString& typed, bool save, bool ok) {
            passwords.inputPassword([&] { ++calls; });
            QVERIFY(passwords.passwordSheet()->isVisible());
            QVERIFY(passwords.passwordField()->text().isEmpty()); // empty at every opening
            QVERIFY(!passwords.savePasswordButton()->isChecked());
            passwords.passwordField()->setText(typed);
            passwords.savePasswordButton()->setChecked(save);
            ok ? passwords.clickOKButton() : passwords.clickCancelButton();
            QVERIFY(!passwords.passwordSheet()->isVisible());
            QCoreApplication::processEvents(); // the keyring answers later
        };

        // OK without saving: remembered for the window, keychain untouched.
        ask("typed", false, true);
        QCOMPARE(calls, 1);
        QCOMPARE(find(), std::optional<QString>("typed"));
        QCOMPARE(keychain.saves, 1);
        // Cancel: nobody is called back, nothing changes.
        ask("ignored", true, false);
        QCOMPARE(calls, 1);
        QCOMPARE(find(), std::optional<QString>("typed"));
        QCOMPARE(keychain.saves, 1);
        // OK with saving: the keychain holds the UTF-8 bytes, nothing is remembered.
        ask(QStringLiteral("暗号ü"), true, true);
        QCOMPARE(calls, 2);
        QVERIFY(!passwords.currentPassword());
        QCOMPARE(*keychain.storedBytes, QStringLiteral("暗号ü").toUtf8());
        QCOMPARE(find(), std::optional<QString>(QStringLiteral("暗号ü")));
        // An empty password is accepted both ways.
        ask("", false, true);
        QCOMPARE(find(), std::optional<QString>(""));
        ask("", true, true);
        QCOMPARE(*keychain.storedBytes, QByteArray());
        QCOMPARE(find(), std::optional<QString>(""));

        // A save the keyring refuses: the user is told, the window keeps the password.
        keychain.failSaves = true;
        ask("kept", true, true);
        QCOMPARE(calls, 5);
        QCOMPARE(passwords.currentPassword(), std::optional<QString>("kept"));
        QVERIFY(passwords.saveFailureAlert() && passwords.saveFailureAlert()->isVisible());
        QCOMPARE(find(), std::optional<QString>("kept"));
        keychain.failSaves = false;

        // Bytes that are not UTF-8 are no password.
        PasswordController fresh(&window, &keychain);
        keychain.storedBytes = QByteArray("\xff\xfe", 2);
        std::optional<std::optional<QString>> answer;
        fresh.findPassword([&](std::optional<QString> found) { answer = found; });
        QVERIFY(QTest::qWaitFor([&] { return answer.has_value(); }, 2000));
        QVERIFY(!*answer);
    }
};

QTEST_MAIN(TestSheets)
#include "tst_sheets.moc"
