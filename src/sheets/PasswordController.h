#pragma once

#include "commands/DocumentCommands.h"

#include <QPointer>

#include <functional>
#include <optional>

class KeychainStore;
class QCheckBox;
class QDialog;
class QLabel;
class QLineEdit;
class QWidget;

// Where a document window's transfers get the handset password: a password typed
// earlier in this window, else the keyring's, else the password sheet, which
// calls the command back when the user confirms it. A password the keyring could
// not save is still remembered for the window, and the user is told.
class PasswordController : public PasswordSource
{
public:
    PasswordController(QWidget* window, KeychainStore* keychain);
    ~PasswordController() override;

    void findPassword(std::function<void(std::optional<QString>)> found) override;
    void inputPassword(std::function<void()> confirmed, bool refused = false) override;
    void inputPasswordForWindow(QWidget* window, std::function<void()> confirmed, bool refused = false);

    // The sheet's buttons.
    void clickOKButton();
    void clickCancelButton();

    std::optional<QString> currentPassword() const { return m_currentPassword; }
    // A sheet that says the keyring did not take the password.
    QWidget* saveFailureAlert() const { return m_saveFailure; }
    QDialog* passwordSheet() const { return makeSheet(), m_sheet; }
    QLineEdit* passwordField() const { return makeSheet(), m_field; }
    QCheckBox* savePasswordButton() const { return makeSheet(), m_save; }
    // "The AIR-EDGE PHONE refused the password.", shown when it did.
    QLabel* refusedNote() const { return makeSheet(), m_refused; }

private:
    void passwordSheetDidEnd(int returnCode);

    QPointer<QWidget> m_window;
    KeychainStore* m_keychain;
    // The sheet is made when first needed: its standard buttons load the icon
    // theme, which a window's first paint does not need.
    void makeSheet() const;
    mutable QDialog* m_sheet = nullptr;
    mutable QLineEdit* m_field = nullptr;
    mutable QCheckBox* m_save = nullptr;
    mutable QLabel* m_refused = nullptr;
    std::optional<QString> m_currentPassword;
    std::function<void()> m_confirmed;
    QPointer<QWidget> m_saveFailure;
};
