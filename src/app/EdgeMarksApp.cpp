#include "app/EdgeMarksApp.h"

#include "app/DocumentWindow.h"
#include "app/HandsetFilesWindow.h"
#include "app/HelpWindow.h"
#include "commands/DocumentCommands.h"
#include "document/MyDocument.h"
#include "handset/DriverCheck.h"
#include "handset/HandsetDevices.h"
#include "handset/ProtocolLog.h"
#include "handset/VedORovav.h"
#include "simulator/BuiltInSimulator.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>

#include <sys/stat.h>

namespace
{
const char* RecentFilesKey = "RecentFiles";
const char* DeviceKey = "Handset/device";
} // namespace

EdgeMarksApp::EdgeMarksApp(KeychainStore* keychain, LinkSettings link, const QString& settingsFolder,
                           QObject* parent)
    : QObject(parent), m_keychain(keychain), m_link(std::move(link)), m_settingsFolder(settingsFolder)
{
    m_settings.reportFailure = [this](const QString& message) { reportSettingsFailure(message); };
    loadSettings();
    if (!m_link.log)
        m_link.log = std::make_shared<ProtocolLog>();
    if (QGuiApplication::applicationDisplayName().isEmpty() ||
        QGuiApplication::applicationDisplayName() == QCoreApplication::applicationName())
        QGuiApplication::setApplicationDisplayName(QStringLiteral("EdgeMarks"));
    terminate = [this](int status) {
        for (DocumentWindow* w : std::as_const(m_windows))
            w->hide();
        QCoreApplication::exit(status);
    };
    // A port chosen in an earlier run, unless the program was started with one.
    if (m_link.device.isEmpty())
        m_chosenDevice = m_settings.text(DeviceKey);
}

void EdgeMarksApp::loadSettings()
{
    m_settings.load(m_settingsFolder, QCoreApplication::applicationName(),
                    {RecentFilesKey, DeviceKey, DocumentWindow::GeometryKey, DocumentWindow::HeaderStateKey});
}

void EdgeMarksApp::reportSettingsFailure(const QString& message)
{
    for (DocumentWindow* w : std::as_const(m_windows))
        w->statusBar()->showMessage(message, 10000);
    if (m_windows.isEmpty())
        qWarning("%s", qUtf8Printable(message));
}

LinkSettings EdgeMarksApp::linkSettings() const
{
    LinkSettings settings = m_link;
    if (!m_chosenDevice.isEmpty())
        settings.device = m_chosenDevice;
    return settings;
}

SimulatedHandset* EdgeMarksApp::simulator() const
{
    return m_simulator ? &m_simulator->handset() : nullptr;
}

// What the first window does not need to be painted, done once after it was:
// looking for ports asks udev for every tty.
void EdgeMarksApp::discoverPorts()
{
    if (m_monitor)
        return;
    // The icon of every window and alert, the one installed for the desktop: the
    // window system is handed every size of it, which is not needed to paint.
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/edgemarks-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    for (const HandsetPort& port : HandsetDevices::candidates())
        if (port.handset)
            m_handsetsSeen << port.path;
    m_monitor = new HandsetMonitor(this);
    connect(m_monitor, &HandsetMonitor::portAdded, this, [this](const HandsetPort& port) {
        if (!port.handset) {
            emit handsetPortsChanged(QString());
            return;
        }
        m_handsetsSeen << port.path;
        emit handsetPortsChanged(port.accessible
                                     ? tr("An AIR-EDGE PHONE was connected at %1.").arg(port.path)
                                     : tr("An AIR-EDGE PHONE was connected at %1, but you may not use it: "
                                          "install the udev rule that comes with EdgeMarks.")
                                           .arg(port.path));
    });
    connect(m_monitor, &HandsetMonitor::portRemoved, this, [this](const QString& path) {
        emit handsetPortsChanged(m_handsetsSeen.removeAll(path)
                                     ? tr("The AIR-EDGE PHONE at %1 was disconnected.").arg(path)
                                     : QString());
    });
    emit handsetPortsChanged(QString());
}

HelpWindow* EdgeMarksApp::showManual()
{
    if (!m_help) {
        m_help = new HelpWindow;
        m_help->setAttribute(Qt::WA_DeleteOnClose);
        // The manual does not keep the program running once the documents are closed.
        m_help->setAttribute(Qt::WA_QuitOnClose, false);
    }
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
    return m_help;
}

HandsetFilesWindow* EdgeMarksApp::showHandsetFiles()
{
    if (!m_files) {
        // Its own password sheet: a document window it was opened from may close first.
        m_files = new HandsetFilesWindow(m_keychain, [app = QPointer<EdgeMarksApp>(this)] {
            return app ? app->linkSettings() : LinkSettings();
        });
        m_files->setAttribute(Qt::WA_DeleteOnClose);
        m_files->show();
        m_files->refresh();
    }
    m_files->show();
    m_files->raise();
    m_files->activateWindow();
    return m_files;
}

void EdgeMarksApp::chooseDevice(const QString& path)
{
    m_chosenDevice = path;
    if (path.isEmpty())
        m_settings.remove(DeviceKey);
    else
        m_settings.setText(DeviceKey, path);
    emit handsetPortsChanged(QString());
}

QString EdgeMarksApp::handsetStatus() const
{
    // Until the ports were looked at, a handset that only looking finds is not named.
    const LinkSettings settings = linkSettings();
    const HandsetDevices::Choice choice = HandsetDevices::chosenDevice(settings.device, m_monitor != nullptr);
    if (!m_monitor && choice.source == HandsetDevices::Source::None)
        return QString();
    if (m_simulator && choice.path == m_simulator->devicePath())
        return tr("Simulated AIR-EDGE PHONE (password %1)").arg(SimulatedHandset::samplePassword());
    // Documents are edited without the driver; the handset commands say what is missing.
    if (!DriverCheck::exists(settings.driverBundle))
        return tr("No driver for the AIR-EDGE PHONE");
    if (choice.source == HandsetDevices::Source::None)
        return tr("No AIR-EDGE PHONE connected");
    return tr("AIR-EDGE PHONE: %1").arg(choice.path);
}

EdgeMarksApp::~EdgeMarksApp()
{
    delete m_help;
    delete m_files;
    for (DocumentWindow* w : std::as_const(m_windows)) {
        disconnect(w, nullptr, this, nullptr);
        delete w;
    }
}

QString EdgeMarksApp::fileFilter()
{
    return tr("EdgeMarks documents (*.%1);;All files (*)").arg(QLatin1String(FileSuffix));
}

bool EdgeMarksApp::startSimulator(QString* error)
{
    // A trial run keeps its settings (the port, recent files, the window) apart
    // from those of the real handset.
    QCoreApplication::setApplicationName(QStringLiteral("EdgeMarks-simulator"));
    loadSettings();
    m_simulator = BuiltInSimulator::start(error);
    if (!m_simulator)
        return false;
    m_simulator->pointAtIt(m_link);
    // The simulator is the handset of this run, whatever was chosen before.
    m_chosenDevice.clear();
    emit handsetPortsChanged(QString());
    return true;
}

DocumentWindow* EdgeMarksApp::adopt(DocumentWindow* window)
{
    m_windows << window;
    connect(window, &QObject::destroyed, this, [this, window] { m_windows.removeOne(window); });
    // Offset each new window from the last one.
    if (m_windows.size() > 1)
        window->move(m_windows.at(m_windows.size() - 2)->pos() + QPoint(24, 24));
    window->show();
    afterFirstPaint(window, [this] { discoverPorts(); });
    return window;
}

namespace
{
// Runs a function once the window was first exposed (and so painted), from the event loop.
class FirstPaint : public QObject
{
public:
    FirstPaint(QWindow* window, std::function<void()> then) : QObject(window), m_then(std::move(then)) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            // Queued: the exposure is painted first.
            QTimer::singleShot(0, watched, std::move(m_then));
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> m_then;
};
} // namespace

void EdgeMarksApp::afterFirstPaint(QWidget* window, std::function<void()> then)
{
    QWindow* handle = window->windowHandle();
    if (!handle || handle->isExposed()) {
        QTimer::singleShot(0, window, std::move(then));
        return;
    }
    handle->installEventFilter(new FirstPaint(handle, std::move(then)));
}

DocumentWindow* EdgeMarksApp::newDocument()
{
    ++m_untitledCount;
    const QString name = m_untitledCount == 1 ? tr("untitled") : tr("untitled %1").arg(m_untitledCount);
    return adopt(new DocumentWindow(this, std::make_unique<MyDocument>(), QString(), name));
}

// The same file by whatever name, symbolic or hard link reaches it (its device
// and inode), so that a document is never edited in two windows at once.
static bool isSameFile(const QString& a, const QString& b)
{
    struct stat first, second;
    if (::stat(QFile::encodeName(a).constData(), &first) == 0 &&
        ::stat(QFile::encodeName(b).constData(), &second) == 0)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

DocumentWindow* EdgeMarksApp::openDocument(const QString& path, QWidget* alertParent)
{
    const QString canonical = QFileInfo(path).absoluteFilePath();
    for (DocumentWindow* w : std::as_const(m_windows)) {
        if (!w->filePath().isEmpty() && isSameFile(w->filePath(), canonical)) {
            w->raise();
            w->activateWindow();
            return w;
        }
    }
    auto document = std::make_unique<MyDocument>();
    QString error;
    if (!document->readFromFile(canonical, &error)) {
        auto* box =
            new QMessageBox(QMessageBox::Critical, tr("EdgeMarks"),
                            tr("The document \"%1\" could not be opened.").arg(QFileInfo(path).fileName()),
                            QMessageBox::Ok, alertParent);
        box->setObjectName(QStringLiteral("openErrorAlert"));
        box->setInformativeText(error);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(alertParent ? Qt::WindowModal : Qt::ApplicationModal);
        box->open();
        return nullptr;
    }
    noteRecentFile(canonical);
    return adopt(new DocumentWindow(this, std::move(document), canonical, QString()));
}

void EdgeMarksApp::openWithDialog(QWidget* parent)
{
    const QStringList files = QFileDialog::getOpenFileNames(parent, tr("Open"), QString(), fileFilter());
    for (const QString& f : files)
        openDocument(f, parent);
}

QStringList EdgeMarksApp::recentFiles() const
{
    return m_settings.texts(RecentFilesKey);
}

void EdgeMarksApp::noteRecentFile(const QString& path)
{
    QStringList files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > MaxRecentFiles)
        files.removeLast();
    m_settings.setTexts(RecentFilesKey, files);
    emit recentFilesChanged();
}

void EdgeMarksApp::clearRecentFiles()
{
    m_settings.remove(RecentFilesKey);
    emit recentFilesChanged();
}

void EdgeMarksApp::shutDown(int status)
{
    for (DocumentWindow* w : std::as_const(m_windows))
        w->commands()->cancel();
    auto* wait = new QTimer(this);
    connect(wait, &QTimer::timeout, this, [this, wait, status] {
        if (std::any_of(m_windows.begin(), m_windows.end(),
                        [](DocumentWindow* w) { return w->commands()->isBusy(); }))
            return;
        wait->deleteLater();
        // Unsaved documents are asked about here too; a Cancel keeps the program.
        if (closeAll())
            terminate(status);
    });
    wait->start(50);
}

bool EdgeMarksApp::closeAll()
{
    const QList<DocumentWindow*> windows = m_windows;
    for (DocumentWindow* w : windows)
        if (!w->close())
            return false;
    return true;
}

void EdgeMarksApp::quit()
{
    if (closeAll())
        QCoreApplication::quit();
}
