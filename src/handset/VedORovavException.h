#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// Every failure of the handset link and of the transfers. The reason is the
// message the user sees, in English; it is translated when it is shown.
class VedORovavException : public std::exception {
public:
    explicit VedORovavException(const char* reason) : m_reason(reason) {}
    const char* what() const noexcept override { return m_reason.constData(); }
    QString reason() const { return QString::fromUtf8(m_reason); }
    // The reason in the user's language.
    QString localizedReason() const;

private:
    QByteArray m_reason;
};
