#pragma once

#include <QString>

class MyDocument;
class BookmarkController;

// Turns what is typed into the memory-number column into a number: whole
// numbers 0 to 99 only, and none that another bookmark of the document holds.
class MemoryNumberFormatter {
public:
    MemoryNumberFormatter(MyDocument* document, BookmarkController* controller);

    // True with value set when text is accepted; error (when given) receives the
    // reason of a refusal, or stays empty when there is none to tell.
    bool getObjectValue(int* value, const QString& text, QString* error) const;
    QString stringForObjectValue(int value) const;

    static constexpr int Minimum = 0;
    static constexpr int Maximum = 99;

private:
    MyDocument* m_document;
    BookmarkController* m_controller;
};
