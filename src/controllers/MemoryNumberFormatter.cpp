#include "controllers/MemoryNumberFormatter.h"

#include "controllers/BookmarkController.h"
#include "document/MyDocument.h"

#include <QCoreApplication>
#include <QRegularExpression>

MemoryNumberFormatter::MemoryNumberFormatter(MyDocument* document, BookmarkController* controller)
    : m_document(document), m_controller(controller)
{
}

QString MemoryNumberFormatter::stringForObjectValue(int value) const
{
    return QString::number(value);
}

bool MemoryNumberFormatter::getObjectValue(int* value, const QString& text, QString* error) const
{
    if (error)
        error->clear();
    // Whole numbers only, in range.
    static const QRegularExpression whole(QStringLiteral("^\\s*([+-]?\\d+)\\s*$"));
    const QRegularExpressionMatch match = whole.match(text);
    bool ok = false;
    const qint64 number = match.hasMatch() ? match.captured(1).toLongLong(&ok) : 0;
    if (!ok) {
        if (error)
            *error = QCoreApplication::translate("MemoryNumberFormatter", "Enter a whole number from 0 to 99.");
        return false;
    }
    if (number < Minimum || number > Maximum) {
        if (error)
            *error = QCoreApplication::translate("MemoryNumberFormatter", "The memory number must be from 0 to 99.");
        return false;
    }
    // The bookmark being edited is the selected one; without it nothing is accepted.
    const int selected = m_controller->selectionIndex();
    if (selected < 0 || selected >= m_controller->rowCount())
        return false;
    const AirHBookmark* edited = m_controller->arrangedObject(selected).get();
    if (m_document->isExistMemoryNumber(qint32(number), edited)) {
        if (error) {
            *error = QCoreApplication::translate("MemoryNumberFormatter", "The same memory number has been used.");
            // Which bookmark holds it, so that the user knows where to look.
            for (const BookmarkPtr& b : m_document->bookmarkList())
                if (b.get() != edited && b->number() == number) {
                    const QString folder = m_document->folderList().value(b->folder(), QString::number(b->folder()));
                    *error += QLatin1Char('\n') +
                              QCoreApplication::translate("MemoryNumberFormatter", "“%1” in folder %2 has it.")
                                  .arg(b->bookmarkName().left(60), folder);
                    break;
                }
        }
        return false;
    }
    *value = int(number);
    return true;
}
