#pragma once

#include "document/KeyedArchive.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <sys/stat.h>

// A document whose list names one record over and over, at least `bytes` long:
// each repetition costs the file a few bytes and a reader that builds what it
// reads a whole bookmark. As copied rows, the list alone is the archive's root.
inline QByteArray repeatedRecordDocument(qint64 bytes, bool copiedRows = false)
{
    auto archive = [copiedRows](qint64 count) {
        const QStringList arrayChain{"NSMutableArray", "NSArray", "NSObject"};
        KeyedArchiver a;
        const quint64 root = copiedRows ? 0 : a.reserveArray();
        const quint64 list = a.reserveArray();
        const QString name = "same", location = "http://example.jp/";
        std::vector<KeyedArchiver::Field> fields{{"name", KeyedArchiver::Field::Kind::Text, name, 0},
                                                 {"location", KeyedArchiver::Field::Kind::Text, location, 0},
                                                 {"number", KeyedArchiver::Field::Kind::Integer, {}, 1},
                                                 {"folder", KeyedArchiver::Field::Kind::Integer, {}, 0}};
        const quint64 record = a.addObject("AirHBookmark", {"AirHBookmark", "NSObject"}, fields);
        a.setArray(list, "NSMutableArray", arrayChain, std::vector<quint64>(size_t(count), record));
        if (copiedRows)
            return a.finish(list);
        const quint64 folders = a.reserveArray();
        a.setArray(folders, "NSMutableArray", arrayChain, {});
        a.setArray(root, "NSArray", {"NSArray", "NSObject"}, {list, folders});
        return a.finish(root);
    };
    // Measured where references are as wide as in the large file.
    const double perRecord = double(archive(200000).size() - archive(100000).size()) / 100000;
    return archive(qint64(double(bytes) / perRecord) + 1);
}

// Files that are not what their names say, each with the sentence that refuses it.
struct CraftedInput {
    const char* name; // the file's name in the folder
    const char* says; // what the refusal says
    qint64 size;      // what it holds (0 for the special files)
};
inline const QList<CraftedInput>& allCraftedInputs()
{
    static const QList<CraftedInput> inputs{
        {"pipe.edgemarks", "is a named pipe, not a file.", 0},
        {"device.edgemarks", "is a device, not a file.", 0},
        {"zero.html", "is a device, not a file.", 0},
        {"loop.edgemarks", "is a symbolic link that leads round in a loop.", 0},
        {"sparse.edgemarks", "is too large", 300 << 20},
        {"repeated-1M.edgemarks", "EdgeMarks reads documents of at most 10000.", 1 << 20},
        {"repeated-4M.edgemarks", "EdgeMarks reads documents of at most 10000.", 4 << 20},
        {"repeated-16M.edgemarks", "EdgeMarks reads documents of at most 10000.", 16 << 20},
    };
    return inputs;
}

// The folder of every crafted input, made once per test program; empty when
// one cannot be made.
inline QString craftedInputsFolder()
{
    static QTemporaryDir inputs;
    static const bool made = [dir = QDir(inputs.path())] {
        auto native = [&](const char* name) { return QFile::encodeName(dir.filePath(name)); };
        if (::mkfifo(native("pipe.edgemarks").constData(), 0600) != 0 ||
            !QFile::link("/dev/null", dir.filePath("device.edgemarks")) ||
            !QFile::link("/dev/zero", dir.filePath("zero.html")) ||
            !QFile::link(dir.filePath("loop.edgemarks"), dir.filePath("loop.edgemarks")))
            return false;
        QFile sparse(dir.filePath("sparse.edgemarks"));
        if (!sparse.open(QIODevice::WriteOnly) || !sparse.resize(300 << 20))
            return false;
        for (const CraftedInput& input : allCraftedInputs()) {
            if (!QByteArray(input.name).startsWith("repeated"))
                continue;
            QFile file(dir.filePath(input.name));
            if (!file.open(QIODevice::WriteOnly) || file.write(repeatedRecordDocument(input.size)) <= 0)
                return false;
        }
        return true;
    }();
    return made ? inputs.path() : QString();
}
