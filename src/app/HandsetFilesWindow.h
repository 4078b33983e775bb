#pragma once

#include "handset/AirHFile.h"
#include "handset/LinkSettings.h"

#include <QTemporaryDir>
#include <QTreeWidget>
#include <QWidget>

#include <functional>
#include <memory>

class HandsetJobs;
class KeychainStore;
class PasswordController;
class ProgressController;
class QLabel;
class QPushButton;

// The handset's files: the list read with one listing (name, type, size, date;
// sortable; an icon for pictures, sounds, texts and the rest, or the picture's
// own thumbnail once it was downloaded), Save To... a folder, dragging files out
// (downloaded first), and dropping files in or Add Files... to upload them.
// Every transfer runs under the window's own progress sheet with Cancel and
// ends with a line that says what was done.
class HandsetFilesWindow : public QWidget
{
    Q_OBJECT
public:
    enum Column { NameColumn, TypeColumn, SizeColumn, DateColumn };
    enum class Kind { Picture, Sound, Text, Other };
    static Kind kindOf(const AirHFile& file);

    // linkSettings: the program's link settings as they are when a job starts.
    HandsetFilesWindow(KeychainStore* keychain, std::function<LinkSettings()> linkSettings,
                       QWidget* parent = nullptr);
    ~HandsetFilesWindow() override;

    // Reads the list again; note, when given, stays as the window's last line.
    void refresh(const QString& note = QString());
    // Downloads the selected files into folder, each under a local name.
    void saveSelectedTo(const QString& folder);
    // Uploads local files with the type table's types, asking first about names
    // the handset already holds, then refreshes the list.
    void upload(const QStringList& paths);

    QTreeWidget* fileList() const { return m_list; }
    ProgressController* progressController() const { return m_progress.get(); }
    HandsetJobs* jobs() const { return m_jobs; }
    const AirHFileList& files() const { return m_files; }
    // What the last transfer did, as the window says it.
    QString summary() const;

    // Where thumbnails are kept: the user's cache folder.
    static QString thumbnailPath(const AirHFile& file);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    friend class HandsetFileList;
    void showFiles();
    void setSummary(const QString& text);
    AirHFileList selectedFiles() const;
    // Downloads files into folder; then runs done with the paths saved.
    void download(const AirHFileList& files, const QString& folder,
                  std::function<void(const QStringList& saved)> done);
    void startDragOut();
    void makeThumbnails(const AirHFileList& files, const QStringList& paths);
    void updateButtons();

    std::unique_ptr<ProgressController> m_progress;
    std::unique_ptr<PasswordController> m_passwords;
    HandsetJobs* m_jobs;
    QTreeWidget* m_list;
    QLabel* m_summary;
    QPushButton* m_refresh;
    QPushButton* m_saveTo;
    QPushButton* m_add;
    AirHFileList m_files;
    QTemporaryDir m_dragFolder; // what was dragged out stays here while the window is open
};
