#pragma once

#include <QString>

#include <functional>
#include <optional>

class QObject;

// Where the handset password is kept between runs: one generic password item,
// service "AH-K3001V Password", account "AH-K3001V", holding the password's
// UTF-8 text. A lookup that fails finds nothing; a save that fails says so and
// leaves the keyring as it was.
class KeychainStore {
public:
    static constexpr const char* kServiceName = "AH-K3001V Password";
    static constexpr const char* kAccountName = "AH-K3001V";

    virtual ~KeychainStore() = default;
    // The stored password; nothing when there is none, the keychain cannot be
    // reached, or its bytes are not UTF-8.
    virtual std::optional<QString> findPassword() = 0;
    // Adds the item, or replaces the password of the one there.
    virtual bool savePassword(const QString& password) = 0;

    // The same without waiting: the answer comes to done later, on this thread,
    // unless context is gone by then. These run no event loop of their own, so
    // nothing the user does meanwhile runs inside them.
    virtual void findPasswordLater(QObject* context, std::function<void(std::optional<QString>)> done);
    virtual void savePasswordLater(QObject* context, const QString& password, std::function<void(bool)> done);
};

// The system keychain through QtKeychain (Secret Service on Linux, Keychain on macOS).
class SystemKeychainStore : public KeychainStore {
public:
    std::optional<QString> findPassword() override;
    bool savePassword(const QString& password) override;
    void findPasswordLater(QObject* context, std::function<void(std::optional<QString>)> done) override;
    void savePasswordLater(QObject* context, const QString& password, std::function<void(bool)> done) override;
};

// A keychain in memory, for tests and for running without a keychain.
class MemoryKeychainStore : public KeychainStore {
public:
    std::optional<QString> findPassword() override;
    bool savePassword(const QString& password) override;
    std::optional<QByteArray> storedBytes;
    int saves = 0;
    bool failSaves = false;
};

// Strict UTF-8: bytes that are not UTF-8 give nothing.
std::optional<QString> decodeUtf8Strictly(const QByteArray& bytes);
