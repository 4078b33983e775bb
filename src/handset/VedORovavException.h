#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// Every failure of the handset link and of the transfers. The reason is the
// message the user sees, in English; it is translated when it is shown. Failures
// of the port carry details: the path, the system's reason and what to do.
class VedORovavException : public std::exception {
public:
    explicit VedORovavException(const char* reason, const QString& details = QString())
        : m_reason(reason), m_details(details)
    {
    }
    const char* what() const noexcept override { return m_reason.constData(); }
    QString reason() const { return QString::fromUtf8(m_reason); }
    // The reason in the user's language.
    QString localizedReason() const;
    // What the system said and what to do, in the user's language; may be empty.
    QString details() const { return m_details; }
    // The reason, then the details on lines of their own.
    QString localizedMessage() const;
    // The same failure with more to say.
    VedORovavException withDetails(const QString& more) const
    {
        return VedORovavException(m_reason.constData(), m_details.isEmpty() ? more : m_details + QLatin1Char('\n') + more);
    }
    bool is(const char* reason) const { return m_reason == reason; }

private:
    QByteArray m_reason;
    QString m_details;
};
