#include "app/BackupActions.h"

#include "commands/BookmarkHistory.h"
#include "commands/DocumentCommands.h"
#include "commands/HandsetBackup.h"
#include "commands/HandsetJobs.h"
#include "handset/VedORovav.h"
#include "sheets/Alert.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

BackupActions::BackupActions(QWidget* window, PasswordSource* passwords, ProgressProtocol* progress,
                             DocumentCommands* commands)
    : QObject(window), m_window(window), m_jobs(new HandsetJobs(passwords, progress, window, commands->linkSettings())),
      m_commands(commands)
{
}

void BackupActions::backUp()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = QFileDialog::getSaveFileName(
        m_window, tr("Back Up"), QDir(folder).filePath(HandsetBackup::defaultFileName(QDateTime::currentDateTime())),
        tr("Backups (*.tar)"));
    if (!path.isEmpty())
        backUpTo(path);
}

void BackupActions::backUpTo(const QString& path)
{
    auto summary = std::make_shared<HandsetBackup::Summary>();
    m_jobs->run(
        [path, summary](VedORovav& link, ProgressProtocol& progress, const QString& password) {
            try {
                return HandsetBackup::backUp(link, path, password, progress, summary.get());
            } catch (const BackupError& e) {
                throw VedORovavException(LinkTexts::CouldNotWriteFile, e.message());
            }
        },
        [this, path, summary](const std::optional<VedORovavException>& failure) {
            if (failure) {
                Alert::tell(m_window, QMessageBox::Critical, "backupAlert",
                            tr("Couldn't back up the AIR-EDGE PHONE."),
                            failure->localizedMessage() + QLatin1Char('\n') +
                                tr("Nothing was written under %1; a file there before is kept.").arg(path));
                return;
            }
            Alert::tell(
                m_window, QMessageBox::Information, "backupAlert", tr("The AIR-EDGE PHONE is backed up."),
                tr("%1 bookmarks and %2 files (%3) are in %4.")
                    .arg(summary->bookmarks)
                    .arg(summary->files)
                    .arg(QLocale().formattedDataSize(summary->bytes), QDir::toNativeSeparators(path)));
        });
}

void BackupActions::restore()
{
    const QString path = QFileDialog::getOpenFileName(
        m_window, tr("Restore"), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
        tr("Backups (*.tar)"));
    if (!path.isEmpty())
        restoreFrom(path);
}

void BackupActions::restoreFrom(const QString& path)
{
    std::shared_ptr<RestorePlan> plan;
    try {
        plan = std::make_shared<RestorePlan>(path);
    } catch (const BackupError& e) {
        Alert::tell(m_window, QMessageBox::Critical, "backupAlert",
                    tr("%1 is not a sound backup; nothing was restored.").arg(path), e.message());
        return;
    }
    auto bookmarks = std::make_shared<BookmarkList>();
    auto files = std::make_shared<AirHFileList>();
    m_jobs->run(
        [bookmarks, files](VedORovav& link, ProgressProtocol& progress, const QString& password) {
            return link.readBookmarks(*bookmarks, password, progress) &&
                   link.readDirectory(*files, password, progress);
        },
        [this, plan, bookmarks, files](const std::optional<VedORovavException>& failure) {
            if (failure) {
                Alert::tell(m_window, QMessageBox::Critical, "backupAlert",
                            tr("Couldn't read what the AIR-EDGE PHONE holds."), failure->localizedMessage());
                return;
            }
            plan->compareWith(*bookmarks, *files);
            // The preview: what changes, with the parts to restore.
            auto* dialog = new QDialog(m_window);
            dialog->setObjectName(QStringLiteral("restorePreview"));
            dialog->setWindowTitle(tr("Restore"));
            dialog->setAttribute(Qt::WA_DeleteOnClose);
            auto* layout = new QVBoxLayout(dialog);
            layout->addWidget(new QLabel(tr("Restoring changes the AIR-EDGE PHONE as follows:"), dialog));
            auto* text = new QPlainTextEdit(dialog);
            text->setReadOnly(true);
            auto* withBookmarks = new QCheckBox(tr("Bookmarks"), dialog);
            auto* withFiles = new QCheckBox(tr("Files"), dialog);
            auto* replace = new QCheckBox(tr("Also replace the files the AIR-EDGE PHONE already holds"), dialog);
            withBookmarks->setObjectName(QStringLiteral("bookmarksBox"));
            withFiles->setObjectName(QStringLiteral("filesBox"));
            replace->setObjectName(QStringLiteral("replaceBox"));
            withBookmarks->setChecked(true);
            withFiles->setChecked(true);
            layout->addWidget(text);
            layout->addWidget(withBookmarks);
            layout->addWidget(withFiles);
            layout->addWidget(replace);
            auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, dialog);
            QPushButton* go = buttons->addButton(tr("Restore"), QDialogButtonBox::AcceptRole);
            go->setDefault(true);
            layout->addWidget(buttons);
            auto parts = [=] {
                return (withBookmarks->isChecked() ? int(RestorePlan::Bookmarks) : 0) |
                       (withFiles->isChecked() ? int(RestorePlan::Files) : 0);
            };
            auto update = [=] {
                text->setPlainText(plan->preview(parts(), replace->isChecked()).join(QLatin1Char('\n')));
                go->setEnabled(parts() != 0);
                replace->setEnabled(withFiles->isChecked() && !plan->presentFiles().isEmpty());
            };
            for (QCheckBox* box : {withBookmarks, withFiles, replace})
                connect(box, &QCheckBox::toggled, dialog, update);
            update();
            connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
            connect(buttons, &QDialogButtonBox::accepted, dialog, [=, this] {
                const int chosen = parts();
                const bool replacing = replace->isChecked();
                dialog->accept();
                m_jobs->run(
                    [plan, chosen, replacing](VedORovav& link, ProgressProtocol& progress, const QString& password) {
                        return plan->apply(link, chosen, replacing, password, progress);
                    },
                    [this, plan, chosen, replacing](const std::optional<VedORovavException>& failure) {
                        const int sent = int(plan->sentFiles().size());
                        if (failure) {
                            QString said = failure->localizedMessage();
                            if (chosen & RestorePlan::Files)
                                said += QLatin1Char('\n') +
                                        tr("%1 of %2 files reached the AIR-EDGE PHONE: %3")
                                            .arg(sent)
                                            .arg(plan->filesToSend(replacing).size())
                                            .arg(sent ? plan->sentFiles().join(QStringLiteral(", ")) : tr("none"));
                            Alert::tell(m_window, QMessageBox::Critical, "backupAlert",
                                        tr("Couldn't restore the backup."), said);
                            return;
                        }
                        Alert::tell(
                            m_window, QMessageBox::Information, "backupAlert", tr("The backup is restored."),
                            tr("Restored %1 bookmarks and %2 files.")
                                .arg((chosen & RestorePlan::Bookmarks) ? plan->contents().bookmarks.size()
                                                                       : 0)
                                .arg(sent));
                    });
            });
            dialog->open();
        });
}

void BackupActions::restorePrevious()
{
    const QList<BookmarkHistory::Entry> entries = BookmarkHistory().entries();
    if (entries.isEmpty()) {
        Alert::tell(m_window, QMessageBox::Information, "backupAlert", tr("No bookmarks are kept yet."),
                    tr("Each export keeps the list the AIR-EDGE PHONE held before it."));
        return;
    }
    auto* dialog = new QDialog(m_window);
    dialog->setObjectName(QStringLiteral("restorePrevious"));
    dialog->setWindowTitle(tr("Restore Previous Bookmarks"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(new QLabel(tr("The AIR-EDGE PHONE's bookmarks before each export:"), dialog));
    auto* list = new QListWidget(dialog);
    for (const BookmarkHistory::Entry& e : entries) {
        auto* item = new QListWidgetItem(
            tr("%1 — %2 bookmarks").arg(QLocale().toString(e.date, QLocale::ShortFormat)).arg(e.count), list);
        item->setData(Qt::UserRole, e.path);
    }
    list->setCurrentRow(0);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, dialog);
    QPushButton* go = buttons->addButton(tr("Export"), QDialogButtonBox::AcceptRole);
    go->setDefault(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::accepted, dialog, [=, this] {
        const QString path = list->currentItem() ? list->currentItem()->data(Qt::UserRole).toString() : QString();
        dialog->accept();
        QString why;
        const std::optional<BookmarkList> kept = BookmarkHistory::load(path, &why);
        if (!kept) {
            Alert::tell(m_window, QMessageBox::Critical, "backupAlert",
                        tr("Couldn't read the kept bookmarks."), why);
            return;
        }
        // Like any export: the handset's list is read and kept first, the
        // question shows the difference.
        m_commands->exportKeptList(*kept);
    });
    dialog->open();
}
