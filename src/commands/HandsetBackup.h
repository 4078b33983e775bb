#pragma once

#include "commands/BackupArchive.h"
#include "commands/BookmarkDiff.h"
#include "handset/AirHFile.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <memory>

class ProgressProtocol;
class VedORovav;

// Backing up the handset: one conversation reads the bookmarks and every file
// into an archive (see BackupArchive) under a temporary name beside the chosen
// one. The archive is read back and checked against its manifest, and only then
// takes the chosen name, so that an interrupted backup (a cancel, a signal, a
// pulled cable, a full disk) leaves no file under that name and an older backup
// there as it was.
class HandsetBackup {
    Q_DECLARE_TR_FUNCTIONS(HandsetBackup)
public:
    static constexpr const char* HandsetModel = "AH-K3001V";

    struct Summary {
        int bookmarks = 0;
        int files = 0;
        qint64 bytes = 0;
    };

    // "AH-K3001V 2026-12-07 09.30.tar": the handset and the time.
    static QString defaultFileName(const QDateTime& when);

    // False when the handset refused the password (nothing is written). Link
    // failures are raised as VedORovavException, the archive's as BackupError.
    static bool backUp(VedORovav& link, const QString& path, const QString& password, ProgressProtocol& progress,
                       Summary* summary = nullptr);
};

// A restore, planned before it writes: the backup is read and checked whole and
// its files unpacked into a temporary folder (nothing reaches the handset from
// an archive that is wrong anywhere); compared with what the handset holds, it
// says which bookmarks change and which files go up.
class RestorePlan {
    Q_DECLARE_TR_FUNCTIONS(RestorePlan)
public:
    enum Part { Bookmarks = 1, Files = 2, Everything = 3 };

    // Throws BackupError.
    explicit RestorePlan(const QString& path);

    const BackupContents& contents() const { return m_contents; }
    // What the handset holds now.
    void compareWith(const BookmarkList& handsetBookmarks, const AirHFileList& handsetFiles);
    const BookmarkDiff& bookmarkDiff() const { return *m_diff; }
    // Files the handset lacks, and those it holds under the same name and type.
    const QList<BackupFile>& missingFiles() const { return m_missing; }
    const QList<BackupFile>& presentFiles() const { return m_present; }
    // The lines of the preview: what will change for the parts chosen.
    QStringList preview(int parts, bool replacePresent) const;

    // Writes the parts: the bookmarks in one conversation, then the files in
    // another. False when the password was refused. On a failure,
    // sentFiles() names the files that reached the handset whole.
    bool apply(VedORovav& link, int parts, bool replacePresent, const QString& password, ProgressProtocol& progress);
    const QStringList& sentFiles() const { return m_sent; }
    QList<BackupFile> filesToSend(bool replacePresent) const;

private:
    std::unique_ptr<QTemporaryDir> m_unpacked;
    BackupContents m_contents;
    std::unique_ptr<BookmarkDiff> m_diff;
    QList<BackupFile> m_missing;
    QList<BackupFile> m_present;
    QStringList m_sent;
};
