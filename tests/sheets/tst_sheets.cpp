#include "KeychainStore.h"
#include "PasswordController.h"
#include "ProgressController.h"
#include "VedORovavException.h"

#include <QCheckBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QProgressBar>
#include <QTest>

class TestSheets : public QObject {
    Q_OBJECT
private slots:
    void progressSheet()
    {
        QMainWindow window;
        window.show();
        ProgressController progress(&window);
        progress.openProgressForWindow(&window, 250, QString());
        QVERIFY(progress.isOpened());
        QVERIFY(progress.sheet()->isVisible());
        QCOMPARE(progress.sheet()->windowModality(), Qt::WindowModal);
        QCOMPARE(progress.message(), QString("Communicating..."));
        QCOMPARE(progress.value(), 0.0);
        QCOMPARE(progress.maxValue(), 250.0);
        const int runs = progress.sessionRuns();
        QCOMPARE(runs, 1);
        progress.updateProgressDoubleValue(125);
        QCOMPARE(progress.sheet()->findChild<QProgressBar*>()->value(),
                 progress.sheet()->findChild<QProgressBar*>()->maximum() / 2);
        QCOMPARE(progress.sessionRuns(), 2);
        progress.updateProgressDoubleValue(400); // past the maximum: a full bar
        QCOMPARE(progress.sheet()->findChild<QProgressBar*>()->value(),
                 progress.sheet()->findChild<QProgressBar*>()->maximum());

        QElapsedTimer timer;
        timer.start();
        progress.notifyException(VedORovavException("x"));
        QVERIFY(progress.exceptionIsRaised());
        progress.closeProgress();
        QVERIFY(timer.elapsed() >= ProgressController::HoldMilliseconds - 20); // the full bar stays a moment
        QCOMPARE(progress.value(), 250.0);
        QVERIFY(!progress.sheet()->isVisible()); // gone after a failure too
        QVERIFY(!progress.isOpened());
        QVERIFY(!progress.exceptionIsRaised());

        // Closed: updates change nothing, closing only clears the flag.
        const int before = progress.sessionRuns();
        progress.updateProgressDoubleValue(10);
        QCOMPARE(progress.sessionRuns(), before);
        progress.notifyException(VedORovavException("x"));
        progress.closeProgress();
        QVERIFY(!progress.exceptionIsRaised());
        QCOMPARE(progress.sessionRuns(), before); // no bar to fill, no hold

        progress.openProgressForWindow(&window, 1, "Updating the file list...");
        QCOMPARE(progress.message(), QString("Updating the file list..."));
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
        QVERIFY(!passwords.findPassword()); // nothing anywhere
        keychain.savePassword("from keychain");
        QCOMPARE(passwords.findPassword(), std::optional<QString>("from keychain"));

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
        };

        // OK without saving: remembered for the window, keychain untouched.
        ask("typed", false, true);
        QCOMPARE(calls, 1);
        QCOMPARE(passwords.findPassword(), std::optional<QString>("typed"));
        QCOMPARE(keychain.saves, 1);
        // Cancel: nobody is called back, nothing changes.
        ask("ignored", true, false);
        QCOMPARE(calls, 1);
        QCOMPARE(passwords.findPassword(), std::optional<QString>("typed"));
        QCOMPARE(keychain.saves, 1);
        // OK with saving: the keychain holds the UTF-8 bytes, nothing is remembered.
        ask(QStringLiteral("暗号ü"), true, true);
        QCOMPARE(calls, 2);
        QVERIFY(!passwords.currentPassword());
        QCOMPARE(*keychain.storedBytes, QStringLiteral("暗号ü").toUtf8());
        QCOMPARE(passwords.findPassword(), std::optional<QString>(QStringLiteral("暗号ü")));
        // An empty password is accepted both ways.
        ask("", false, true);
        QCOMPARE(passwords.findPassword(), std::optional<QString>(""));
        ask("", true, true);
        QCOMPARE(*keychain.storedBytes, QByteArray());
        QCOMPARE(passwords.findPassword(), std::optional<QString>(""));

        // Bytes that are not UTF-8 are no password.
        keychain.storedBytes = QByteArray("\xff\xfe", 2);
        QVERIFY(!passwords.findPassword());
    }
};

QTEST_MAIN(TestSheets)
#include "tst_sheets.moc"
