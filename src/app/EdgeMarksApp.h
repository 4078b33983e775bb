#pragma once

#include "handset/LinkSettings.h"
#include "io/SettingsFile.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>

class DocumentWindow;
class BuiltInSimulator;
class HandsetMonitor;
class HandsetFilesWindow;
class HelpWindow;
class KeychainStore;
class ProtocolLog;
class QWidget;
class SimulatedHandset;

// The program's document management: one window per document, New, Open,
// Open Recent, quitting with unsaved documents, and the built-in simulated
// handset for trying the program without the hardware.
class EdgeMarksApp : public QObject {
    Q_OBJECT
public:
    static constexpr const char* FileSuffix = "edgemarks";
    static constexpr int MaxRecentFiles = 10;

    // link: the settings the program was started with (its environment); a
    // port chosen in an earlier run is taken from the saved settings unless
    // link names one. Without a log in link the program keeps one of its own.
    // The saved settings are kept in settingsFolder, a file for each program name.
    EdgeMarksApp(KeychainStore* keychain, LinkSettings link, const QString& settingsFolder = SettingsFile::userFolder(),
                 QObject* parent = nullptr);
    ~EdgeMarksApp() override;

    // Starts a simulated handset with sample content and points the link at it.
    bool startSimulator(QString* error = nullptr);
    SimulatedHandset* simulator() const;

    DocumentWindow* newDocument();
    // Opens a document in a new window, or brings up the window that has it.
    // A file that fails to load shows an error and makes no window.
    DocumentWindow* openDocument(const QString& path, QWidget* alertParent = nullptr);
    void openWithDialog(QWidget* parent);
    QList<DocumentWindow*> windows() const { return m_windows; }

    QStringList recentFiles() const;
    void noteRecentFile(const QString& path);
    void clearRecentFiles();

    // Asks every window to close (each asks about unsaved changes); quits when all did.
    void quit();
    // Ends the program at a signal: running transfers are cancelled and end as
    // every transfer ends (logout, the port released), unsaved documents are
    // asked about, then the program exits.
    void shutDown(int status);
    // Ends the program at once with status. Tests replace it.
    std::function<void(int)> terminate;

    // The help window with the manual, one for the program.
    HelpWindow* showManual();
    // Handset > Files...: one files window for the program, whichever document
    // window asks, since the program talks to one handset at a time.
    HandsetFilesWindow* showHandsetFiles();

    KeychainStore* keychain() const { return m_keychain; }
    // What the program keeps between runs: recent files, the port, the window.
    SettingsFile& settings() { return m_settings; }

    // The handset's port: the one chosen in the Device menu (remembered across
    // runs unless the program was started with one), or an empty path for the
    // one it was started with, else the handset found on the USB bus.
    void chooseDevice(const QString& path);
    QString chosenDevice() const { return m_chosenDevice; }
    // The port the program was started with (its environment, the simulator).
    QString startedDevice() const { return m_link.device; }
    // What every link of the program is made with, as things are now.
    LinkSettings linkSettings() const;
    ProtocolLog& protocolLog() const { return *m_link.log; }
    // One line for the status bar: which port a transfer would use.
    QString handsetStatus() const;
    static QString fileFilter();

signals:
    void recentFilesChanged();
    // A USB serial port came or went; message says what, for the status bar.
    void handsetPortsChanged(const QString& message);

private:
    // Closes every window, each asking about unsaved changes; false when one stays.
    bool closeAll();
    DocumentWindow* adopt(DocumentWindow* window);
    void discoverPorts();
    void loadSettings();
    // A settings file that could not be written, said in every window (on the
    // terminal when there is none).
    void reportSettingsFailure(const QString& message);
    static void afterFirstPaint(QWidget* window, std::function<void()> then);

    KeychainStore* m_keychain;
    QList<DocumentWindow*> m_windows;
    LinkSettings m_link;
    QString m_settingsFolder;
    SettingsFile m_settings;
    QString m_chosenDevice;
    std::unique_ptr<BuiltInSimulator> m_simulator;
    int m_untitledCount = 0;
    HandsetMonitor* m_monitor = nullptr;
    QPointer<HelpWindow> m_help;
    QPointer<HandsetFilesWindow> m_files;
    QStringList m_handsetsSeen; // device nodes of handsets plugged in, for their removal
};
