#include "KeychainStore.h"

#include <qt6keychain/keychain.h>

#include <QEventLoop>
#include <QStringDecoder>

std::optional<QString> decodeUtf8Strictly(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text.isNull() ? QStringLiteral("") : text;
}

namespace {
// Runs a keychain job to its end. Without a session bus the job fails at once.
void runJob(QKeychain::Job& job)
{
    job.setAutoDelete(false);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
}
} // namespace

std::optional<QString> SystemKeychainStore::findPassword()
{
    QKeychain::ReadPasswordJob job(QString::fromLatin1(kServiceName));
    job.setKey(QString::fromLatin1(kAccountName));
    runJob(job);
    if (job.error() != QKeychain::NoError)
        return std::nullopt;
    return decodeUtf8Strictly(job.binaryData());
}

bool SystemKeychainStore::savePassword(const QString& password)
{
    QKeychain::WritePasswordJob job(QString::fromLatin1(kServiceName));
    job.setKey(QString::fromLatin1(kAccountName));
    job.setBinaryData(password.toUtf8());
    runJob(job);
    return job.error() == QKeychain::NoError;
}

std::optional<QString> MemoryKeychainStore::findPassword()
{
    if (!storedBytes)
        return std::nullopt;
    return decodeUtf8Strictly(*storedBytes);
}

bool MemoryKeychainStore::savePassword(const QString& password)
{
    storedBytes = password.toUtf8();
    ++saves;
    return true;
}
