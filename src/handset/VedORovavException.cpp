#include "handset/VedORovavException.h"

#include <QCoreApplication>

QString VedORovavException::localizedReason() const
{
    return QCoreApplication::translate("VedORovav", m_reason.constData());
}

QString VedORovavException::localizedMessage() const
{
    return m_details.isEmpty() ? localizedReason() : localizedReason() + QLatin1Char('\n') + m_details;
}
