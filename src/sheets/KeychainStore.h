#pragma once

#include <QString>

#include <optional>

// Where the handset password is kept between runs: one generic password item,
// service "AH-K3001V Password", account "AH-K3001V", holding the password's
// UTF-8 bytes. Failures are silent: a lookup that fails finds nothing, a save
// that fails leaves the keychain as it was.
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
};

// The system keychain through QtKeychain (Secret Service on Linux, Keychain on macOS).
class SystemKeychainStore : public KeychainStore {
public:
    std::optional<QString> findPassword() override;
    bool savePassword(const QString& password) override;
};

// A keychain in memory, for tests and for running without a keychain.
class MemoryKeychainStore : public KeychainStore {
public:
    std::optional<QString> findPassword() override;
    bool savePassword(const QString& password) override;
    std::optional<QByteArray> storedBytes;
    int saves = 0;
};

// Strict UTF-8: bytes that are not UTF-8 give nothing.
std::optional<QString> decodeUtf8Strictly(const QByteArray& bytes);
