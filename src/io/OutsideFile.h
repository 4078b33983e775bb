#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <optional>

// Opens a file that came from outside (a document, a browser's bookmark file, a
// dropped link file) so that it cannot hang or flood the program: it is opened
// without blocking, must be a regular file (a pipe, a device or a folder is
// refused at once), and its size is checked against the caller's limit before
// any byte is read. The content is read once, and never more than the limit
// even while the file grows.
class OutsideFile
{
    Q_DECLARE_TR_FUNCTIONS(OutsideFile)
public:
    enum class Problem { None, CannotOpen, NotAFile, TooLarge, CannotRead };

    OutsideFile() = default;
    ~OutsideFile();
    OutsideFile(const OutsideFile&) = delete;
    OutsideFile& operator=(const OutsideFile&) = delete;

    bool open(const QString& path, qint64 limit);
    int handle() const { return m_fd; }
    qint64 size() const { return m_size; }
    // The whole content (at most the limit); nullopt when reading fails.
    std::optional<QByteArray> readAll();
    void close();

    Problem problem() const { return m_problem; }
    // One sentence naming the file: "x.edgemarks is a named pipe, not a file."
    QString errorString() const { return m_errorString; }

    static std::optional<QByteArray> read(const QString& path, qint64 limit, QString* error = nullptr,
                                          Problem* problem = nullptr);

private:
    bool fail(Problem problem, const QString& text);

    QString m_path;
    qint64 m_limit = 0;
    qint64 m_size = 0;
    int m_fd = -1;
    Problem m_problem = Problem::None;
    QString m_errorString;
};
