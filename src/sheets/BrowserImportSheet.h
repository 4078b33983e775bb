#pragma once

#include "commands/BookmarkImportPlan.h"
#include "document/BrowserBookmarks.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// What an import of a browser bookmark file will do, shown before anything
// changes: how many bookmarks, where each browser folder goes (one handset folder
// each, or all into the selected folder), what is skipped and what does not fit.
// Accepting it leaves the plan to apply in plan().
class BrowserImportSheet : public QDialog
{
    Q_OBJECT
public:
    BrowserImportSheet(QWidget* window, BrowserBookmarks file, BookmarkList existing, QStringList folderNames,
                       int selectedFolder);

    const BookmarkImportPlan& plan() const { return m_plan; }
    QRadioButton* perFolderButton() const { return m_perFolder; }
    QRadioButton* intoFolderButton() const { return m_intoFolder; }
    QPushButton* importButton() const { return m_import; }
    QString summary() const;

private:
    void replan();

    BrowserBookmarks m_file;
    BookmarkList m_existing;
    QStringList m_folderNames;
    int m_folder;
    BookmarkImportPlan m_plan;
    QRadioButton* m_perFolder;
    QRadioButton* m_intoFolder;
    QPlainTextEdit* m_summary;
    QPushButton* m_import;
};
