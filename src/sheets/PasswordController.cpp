#include "sheets/PasswordController.h"

#include "sheets/KeychainStore.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
QString tr(const char* text)
{
    return QCoreApplication::translate("PasswordController", text);
}
} // namespace

PasswordController::PasswordController(QWidget* window, KeychainStore* keychain)
    : m_window(window), m_keychain(keychain)
{
}

void PasswordController::makeSheet() const
{
    if (m_sheet)
        return;
    m_sheet = new QDialog(m_window, Qt::Sheet);
    m_sheet->setObjectName(QStringLiteral("passwordSheet"));
    m_sheet->setWindowModality(Qt::WindowModal);
    m_sheet->setWindowTitle(tr("AIR-EDGE PHONE Password"));
    auto* layout = new QVBoxLayout(m_sheet);
    auto* label = new QLabel(tr("Enter the password of the AIR-EDGE PHONE."), m_sheet);
    m_refused = new QLabel(tr("The AIR-EDGE PHONE refused the password."), m_sheet);
    m_refused->setObjectName(QStringLiteral("refusedNote"));
    QFont bold = m_refused->font();
    bold.setBold(true);
    m_refused->setFont(bold);
    m_refused->hide();
    m_field = new QLineEdit(m_sheet);
    m_field->setObjectName(QStringLiteral("passwordField"));
    m_field->setEchoMode(QLineEdit::Password);
    m_field->setMinimumWidth(280);
    m_save = new QCheckBox(tr("Save the password in the keychain"), m_sheet);
    m_save->setObjectName(QStringLiteral("savePasswordButton"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, m_sheet);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    layout->addWidget(m_refused);
    layout->addWidget(label);
    layout->addWidget(m_field);
    layout->addWidget(m_save);
    layout->addWidget(buttons);
    layout->setContentsMargins(20, 18, 20, 14);
    // Made on a const look at the sheet, answered as the controller's own.
    auto* self = const_cast<PasswordController*>(this);
    QObject::connect(buttons, &QDialogButtonBox::accepted, m_sheet, [self] { self->clickOKButton(); });
    QObject::connect(buttons, &QDialogButtonBox::rejected, m_sheet, [self] { self->clickCancelButton(); });
    // Closing the sheet by the window manager is a Cancel.
    QObject::connect(m_sheet, &QDialog::rejected, m_sheet, [self] {
        if (self->m_confirmed)
            self->passwordSheetDidEnd(0);
    });
}

PasswordController::~PasswordController() = default;

void PasswordController::findPassword(std::function<void(std::optional<QString>)> found)
{
    if (m_currentPassword || !m_keychain) {
        found(m_currentPassword);
        return;
    }
    m_keychain->findPasswordLater(passwordSheet(), std::move(found));
}

void PasswordController::inputPassword(std::function<void()> confirmed, bool refused)
{
    inputPasswordForWindow(m_window, std::move(confirmed), refused);
}

void PasswordController::inputPasswordForWindow(QWidget*, std::function<void()> confirmed, bool refused)
{
    m_confirmed = std::move(confirmed);
    makeSheet();
    m_refused->setVisible(refused);
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
    makeSheet();
    m_sheet->hide();
    if (returnCode != 1 || !confirmed)
        return;
    const QString typed = m_field->text().isNull() ? QStringLiteral("") : m_field->text();
    m_field->clear();
    // Remembered for the window at once; once the keyring holds it, the keyring
    // is asked instead.
    m_currentPassword = typed;
    if (m_save->isChecked() && m_keychain) {
        m_keychain->savePasswordLater(m_sheet, typed, [this, typed](bool saved) {
            if (saved) {
                if (m_currentPassword == typed)
                    m_currentPassword.reset();
                return;
            }
            auto* box = new QMessageBox(QMessageBox::Warning, tr("AIR-EDGE PHONE Password"),
                                        tr("The password could not be saved in the keychain."),
                                        QMessageBox::Ok, m_window);
            box->setObjectName(QStringLiteral("keychainSaveFailure"));
            box->setInformativeText(tr("This window remembers it until it closes."));
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->setWindowModality(Qt::WindowModal);
            m_saveFailure = box;
            box->open();
        });
    }
    confirmed();
}
