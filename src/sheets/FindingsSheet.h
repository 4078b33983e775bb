#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class QListWidget;
class QPushButton;

// The handset check's findings before an export, as a sheet on the document
// window: one line per finding; selecting a line asks the window to select its
// bookmark. "Export Anyway" is there when the transfer could go through,
// "Replace Unsupported Characters" when characters the handset cannot show
// are among the findings (the sheet then ends with Replaced).
class FindingsSheet : public QDialog
{
    Q_OBJECT
public:
    static constexpr int Replaced = 2;

    FindingsSheet(QWidget* window, const QStringList& findings, const QList<int>& indexes, bool mayProceed,
                  bool mayReplace = false);

    QListWidget* list() const { return m_list; }
    QPushButton* proceedButton() const { return m_proceed; }
    QPushButton* replaceButton() const { return m_replace; }

signals:
    // The document index of the selected finding's bookmark.
    void bookmarkSelected(int index);

private:
    QListWidget* m_list;
    QPushButton* m_proceed = nullptr;
    QPushButton* m_replace = nullptr;
};
