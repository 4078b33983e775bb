#include "sheets/KeychainStore.h"

#include <qt6keychain/keychain.h>

#include <QEventLoop>
#include <QStringDecoder>
#include <QTimer>

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

void KeychainStore::findPasswordLater(QObject* context, std::function<void(std::optional<QString>)> done)
{
    QTimer::singleShot(0, context, [this, done = std::move(done)] { done(findPassword()); });
}

void KeychainStore::savePasswordLater(QObject* context, const QString& password, std::function<void(bool)> done)
{
    QTimer::singleShot(0, context, [this, password, done = std::move(done)] { done(savePassword(password)); });
}

std::optional<QString> SystemKeychainStore::findPassword()
{
    QKeychain::ReadPasswordJob job(QString::fromLatin1(kServiceName));
    job.setKey(QString::fromLatin1(kAccountName));
    runJob(job);
    if (job.error() != QKeychain::NoError)
        return std::nullopt;
    // Items saved as text and older ones saved as bytes read the same way.
    return decodeUtf8Strictly(job.binaryData());
}

bool SystemKeychainStore::savePassword(const QString& password)
{
    QKeychain::WritePasswordJob job(QString::fromLatin1(kServiceName));
    job.setKey(QString::fromLatin1(kAccountName));
    // As text: the item holds the password itself, not a base64 form of it.
    job.setTextData(password);
    runJob(job);
    return job.error() == QKeychain::NoError;
}

void SystemKeychainStore::findPasswordLater(QObject* context, std::function<void(std::optional<QString>)> done)
{
    auto* job = new QKeychain::ReadPasswordJob(QString::fromLatin1(kServiceName));
    job->setKey(QString::fromLatin1(kAccountName));
    job->setAutoDelete(true);
    QObject::connect(job, &QKeychain::Job::finished, context, [job, done = std::move(done)] {
        done(job->error() == QKeychain::NoError ? decodeUtf8Strictly(job->binaryData()) : std::nullopt);
    });
    job->start();
}

void SystemKeychainStore::savePasswordLater(QObject* context, const QString& password, std::function<void(bool)> done)
{
    auto* job = new QKeychain::WritePasswordJob(QString::fromLatin1(kServiceName));
    job->setKey(QString::fromLatin1(kAccountName));
    job->setTextData(password);
    job->setAutoDelete(true);
    QObject::connect(job, &QKeychain::Job::finished, context,
                     [job, done = std::move(done)] { done(job->error() == QKeychain::NoError); });
    job->start();
}

std::optional<QString> MemoryKeychainStore::findPassword()
{
    if (!storedBytes)
        return std::nullopt;
    return decodeUtf8Strictly(*storedBytes);
}

bool MemoryKeychainStore::savePassword(const QString& password)
{
    ++saves;
    if (failSaves)
        return false;
    storedBytes = password.toUtf8();
    return true;
}
