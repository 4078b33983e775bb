#pragma once

#include "DocumentCommands.h"

#include <QPointer>

#include <functional>
#include <optional>

class KeychainStore;
class QCheckBox;
class QDialog;
class QLineEdit;
class QWidget;

// Where a document window's transfers get the handset password: a password typed
// earlier in this window, else the keychain's, else the password sheet, which
// calls the command back when the user confirms it.
class PasswordController : public PasswordSource {
public:
    PasswordController(QWidget* window, KeychainStore* keychain);
    ~PasswordController() override;

    std::optional<QString> findPassword() override;
    void inputPassword(std::function<void()> confirmed) override;
    void inputPasswordForWindow(QWidget* window, std::function<void()> confirmed);

    // The sheet's buttons.
    void clickOKButton();
    void clickCancelButton();

    std::optional<QString> currentPassword() const { return m_currentPassword; }
    QDialog* passwordSheet() const { return m_sheet; }
    QLineEdit* passwordField() const { return m_field; }
    QCheckBox* savePasswordButton() const { return m_save; }

private:
    void passwordSheetDidEnd(int returnCode);

    QPointer<QWidget> m_window;
    KeychainStore* m_keychain;
    QDialog* m_sheet = nullptr;
    QLineEdit* m_field = nullptr;
    QCheckBox* m_save = nullptr;
    std::optional<QString> m_currentPassword;
    std::function<void()> m_confirmed;
};
