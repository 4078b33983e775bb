#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Reads resources out of a classic Mac OS resource fork: the fork as bytes, from
// an AppleDouble "._" companion file, from the "com.apple.ResourceFork" extended
// attribute, or from a file's named fork where the system has one. Every offset
// and length is checked against the data: a damaged fork gives nothing.
class ResourceFork {
public:
    explicit ResourceFork(QByteArray fork) : m_fork(std::move(fork)) {}

    // The data of the first resource of the four-character type, if any.
    std::optional<QByteArray> firstResource(const char type[4]) const;

    // The resource fork that belongs to a file, found in any of the places above.
    static std::optional<QByteArray> forkOf(const QString& path);
    // The resource fork entry of an AppleDouble file.
    static std::optional<QByteArray> fromAppleDouble(const QByteArray& appleDouble);

    static constexpr qint64 MaxForkSize = 16 << 20;

private:
    QByteArray m_fork;
};
