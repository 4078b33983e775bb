#include "PasswordController.h"

#include "KeychainStore.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString tr(const char* text)
{
    return QCoreApplication::translate("PasswordController", text);
}
} // namespace

PasswordController::PasswordController(QWidget* window, KeychainStore* keychain)
    : m_window(window), m_keychain(keychain)
{
    m_sheet = new QDialog(window, Qt::Sheet);
    m_sheet->setObjectName(QStringLiteral("passwordSheet"));
    m_sheet->setWindowModality(Qt::WindowModal);
    m_sheet->setWindowTitle(tr("AIR-EDGE PHONE Password"));
    auto* layout = new QVBoxLayout(m_sheet);
    auto* label = new QLabel(tr("Enter the password of the AIR-EDGE PHONE."), m_sheet);
    m_field = new QLineEdit(m_sheet);
    m_field->setObjectName(QStringLiteral("passwordField"));
    m_field->setEchoMode(QLineEdit::Password);
    m_field->setMinimumWidth(280);
    m_save = new QCheckBox(tr("Save the password in the keychain"), m_sheet);
    m_save->setObjectName(QStringLiteral("savePasswordButton"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, m_sheet);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    layout->addWidget(label);
    layout->addWidget(m_field);
    layout->addWidget(m_save);
    layout->addWidget(buttons);
    layout->setContentsMargins(20, 18, 20, 14);
    QObject::connect(buttons, &QDialogButtonBox::accepted, m_sheet, [this] { clickOKButton(); });
    QObject::connect(buttons, &QDialogButtonBox::rejected, m_sheet, [this] { clickCancelButton(); });
    // Closing the sheet by the window manager is a Cancel.
    QObject::connect(m_sheet, &QDialog::rejected, m_sheet, [this] {
        if (m_confirmed)
            passwordSheetDidEnd(0);
    });
}

PasswordController::~PasswordController() = default;

std::optional<QString> PasswordController::findPassword()
{
    if (m_currentPassword)
        return m_currentPassword;
    return m_keychain ? m_keychain->findPassword() : std::nullopt;
}

void PasswordController::inputPassword(std::function<void()> confirmed)
{
    inputPasswordForWindow(m_window, std::move(confirmed));
}

void PasswordController::inputPasswordForWindow(QWidget*, std::function<void()> confirmed)
{
    m_confirmed = std::move(confirmed);
    m_field->setText(QString());
    m_save->setChecked(false);
    m_sheet->open();
    m_field->setFocus();
}

void PasswordController::clickOKButton()
{
    passwordSheetDidEnd(1);
}

void PasswordController::clickCancelButton()
{
    passwordSheetDidEnd(0);
}

void PasswordController::passwordSheetDidEnd(int returnCode)
{
    std::function<void()> confirmed = std::exchange(m_confirmed, nullptr);
    m_sheet->hide();
    if (returnCode != 1 || !confirmed)
        return;
    const QString typed = m_field->text().isNull() ? QStringLiteral("") : m_field->text();
    if (m_save->isChecked()) {
        if (m_keychain)
            m_keychain->savePassword(typed);
        m_currentPassword.reset();
    } else {
        m_currentPassword = typed;
    }
    confirmed();
}
