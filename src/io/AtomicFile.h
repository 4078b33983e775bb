#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// Writes a file so that it is either whole or not there: the bytes go to a
// temporary file beside the target, every write's result is checked, and only
// commit() (fsync, rename over the target, fsync of the folder) makes it the
// file. Any failure leaves the old file as it was and removes the temporary one.
// The messages say what happened in the user's words, naming the file.
class AtomicFile
{
    Q_DECLARE_TR_FUNCTIONS(AtomicFile)
public:
    enum class Access {
        Usual,   // the target's own permissions, or the umask's for a new file
        Private, // only the user may read it (logs, traces, settings)
    };

    // Where the bytes wait for commit(): a hidden file beside the target, or,
    // where the file system can, a file in that folder with no name at all,
    // which even a process killed outright leaves nothing of.
    enum class Temporary { Named, Unnamed };

    AtomicFile() = default;
    explicit AtomicFile(const QString& path, Access access = Access::Usual);
    ~AtomicFile(); // cancels what was not committed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool open(const QString& path, Access access = Access::Usual, Temporary temporary = Temporary::Named);
    bool isOpen() const { return m_fd != -1; }
    // Writes all bytes (short writes and interrupted calls are taken up again);
    // false, with the file cancelled, when the disk refuses them.
    bool write(const char* data, qint64 size);
    bool write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }
    // The temporary file's descriptor, for writers that need one; what they
    // write is theirs to check (see fail()).
    int handle() const { return m_fd; }
    bool commit();
    void cancel();
    // Cancels with the system's error code, for writers that use handle().
    void fail(int error);

    // The errno of the failure, 0 when there was none.
    int error() const { return m_error; }
    // "The disk is full: doc.edgemarks was not saved; the old version is kept."
    QString errorString() const;
    QString path() const { return m_path; }

    static bool writeAll(const QString& path, const QByteArray& bytes, QString* error = nullptr,
                         Access access = Access::Usual);
    // The sentence for a failure to write path with the system's error code.
    static QString failureText(const QString& path, int error, bool oldKept);
    // Removes the temporary files of every AtomicFile not yet committed, for a
    // process that ends at once on a signal: async-signal-safe.
    static void removeTemporariesNow() noexcept;

private:
    bool failWith(int error);
    QByteArray temporaryName() const;
    // Gives an unnamed temporary file its temporary name, for the rename.
    bool nameTemporary();
    void holdTemporary();
    void forgetTemporary();

    QString m_path;      // the target, with symbolic links followed
    QByteArray m_temporary;
    int m_fd = -1;
    int m_error = 0;
    bool m_targetExisted = false;
    int m_heldSlot = -1; // where removeTemporariesNow finds the temporary name
};
