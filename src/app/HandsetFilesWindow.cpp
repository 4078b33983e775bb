#include "app/HandsetFilesWindow.h"

#include "commands/BackupArchive.h"
#include "commands/HandsetJobs.h"
#include "handset/AirHFileType.h"
#include "handset/VedORovav.h"
#include "io/AtomicFile.h"
#include "sheets/PasswordController.h"
#include "sheets/ProgressController.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QDrag>
#include <QDragEnterEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

namespace
{
constexpr int ThumbnailSize = 48;

// Rows sort by the value behind the text: sizes as numbers, dates as dates.
class FileItem : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        const QVariant a = data(column, Qt::UserRole);
        const QVariant b = other.data(column, Qt::UserRole);
        if (a.isValid() && b.isValid())
            return QVariant::compare(a, b) == QPartialOrdering::Less;
        return text(column).localeAwareCompare(other.text(column)) < 0;
    }
};

// "~/Pictures" for a folder in the user's home.
QString shortFolderName(const QString& folder)
{
    const QString home = QDir::homePath();
    const QString path = QDir::cleanPath(folder);
    if (path == home)
        return QStringLiteral("~");
    if (path.startsWith(home + QLatin1Char('/')))
        return QStringLiteral("~") + path.mid(home.size());
    return QDir::toNativeSeparators(path);
}

QIcon kindIcon(HandsetFilesWindow::Kind kind, const QStyle* style)
{
    switch (kind) {
    case HandsetFilesWindow::Kind::Picture:
        return QIcon::fromTheme(QStringLiteral("image-x-generic"),
                                style->standardIcon(QStyle::SP_FileDialogContentsView));
    case HandsetFilesWindow::Kind::Sound:
        return QIcon::fromTheme(QStringLiteral("audio-x-generic"), style->standardIcon(QStyle::SP_MediaVolume));
    case HandsetFilesWindow::Kind::Text:
        return QIcon::fromTheme(QStringLiteral("text-x-generic"), style->standardIcon(QStyle::SP_FileDialogDetailedView));
    case HandsetFilesWindow::Kind::Other:
        break;
    }
    return QIcon::fromTheme(QStringLiteral("application-octet-stream"), style->standardIcon(QStyle::SP_FileIcon));
}
} // namespace

// The list starts a drag of its own: the files are downloaded first.
class HandsetFileList : public QTreeWidget
{
public:
    explicit HandsetFileList(HandsetFilesWindow* window) : QTreeWidget(window), m_window(window) {}

protected:
    void startDrag(Qt::DropActions) override { m_window->startDragOut(); }

private:
    HandsetFilesWindow* m_window;
};

HandsetFilesWindow::Kind HandsetFilesWindow::kindOf(const AirHFile& file)
{
    const QString type = file.fileType();
    if (type == QLatin1String("jpeg") || type == QLatin1String("png") || type == QLatin1String("gif") ||
        type == QLatin1String("bmp"))
        return Kind::Picture;
    if (type == QLatin1String("midi") || type == QLatin1String("melody"))
        return Kind::Sound;
    const QString suffix = QFileInfo(file.fileName()).suffix().toLower();
    if (type == QLatin1String("html") || type == QLatin1String("vcard") || type == QLatin1String("vcalendar") ||
        suffix == QLatin1String("txt"))
        return Kind::Text;
    return Kind::Other;
}

QString HandsetFilesWindow::thumbnailPath(const AirHFile& file)
{
    const QByteArray key = file.fileName().toUtf8() + '\t' + QByteArray::number(file.fileSize()) + '\t' +
                           file.fileDate().toString(Qt::ISODate).toLatin1();
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/thumbnails/") +
           QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex()) +
           QStringLiteral(".png");
}

HandsetFilesWindow::HandsetFilesWindow(KeychainStore* keychain, std::function<LinkSettings()> linkSettings,
                                       QWidget* parent)
    : QWidget(parent, Qt::Window), m_progress(std::make_unique<ProgressController>(this)),
      m_passwords(std::make_unique<PasswordController>(this, keychain))
{
    setWindowTitle(tr("Files on the AIR-EDGE PHONE"));
    setAcceptDrops(true);
    m_jobs = new HandsetJobs(m_passwords.get(), m_progress.get(), this, std::move(linkSettings));
    m_progress->setCancelHandler([this] { m_jobs->cancel(); });

    m_list = new HandsetFileList(this);
    m_list->setObjectName(QStringLiteral("fileList"));
    m_list->setHeaderLabels({tr("Name"), tr("Type"), tr("Size"), tr("Date")});
    m_list->setRootIsDecorated(false);
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(NameColumn, Qt::AscendingOrder);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setDragEnabled(true);
    m_list->setDragDropMode(QAbstractItemView::DragOnly);
    m_list->setIconSize(QSize(ThumbnailSize / 2, ThumbnailSize / 2));
    m_list->header()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);

    m_refresh = new QPushButton(tr("Refresh"), this);
    m_saveTo = new QPushButton(tr("Save To..."), this);
    m_add = new QPushButton(tr("Add Files..."), this);
    m_refresh->setObjectName(QStringLiteral("refreshButton"));
    m_saveTo->setObjectName(QStringLiteral("saveToButton"));
    m_add->setObjectName(QStringLiteral("addButton"));
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("summary"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_refresh);
    buttons->addStretch();
    buttons->addWidget(m_add);
    buttons->addWidget(m_saveTo);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(m_summary);
    layout->addLayout(buttons);
    resize(560, 380);

    connect(m_refresh, &QPushButton::clicked, this, [this] { refresh(); });
    connect(m_saveTo, &QPushButton::clicked, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(
            this, tr("Save To"), QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
        if (!folder.isEmpty())
            saveSelectedTo(folder);
    });
    connect(m_add, &QPushButton::clicked, this, [this] {
        const QStringList paths = QFileDialog::getOpenFileNames(this, tr("Add Files"));
        if (!paths.isEmpty())
            upload(paths);
    });
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &HandsetFilesWindow::updateButtons);
    connect(m_jobs, &HandsetJobs::busyChanged, this, &HandsetFilesWindow::updateButtons);
    updateButtons();
}

HandsetFilesWindow::~HandsetFilesWindow() = default;

void HandsetFilesWindow::updateButtons()
{
    const bool idle = !m_jobs->isBusy();
    m_refresh->setEnabled(idle);
    m_add->setEnabled(idle);
    m_saveTo->setEnabled(idle && !m_list->selectedItems().isEmpty());
}

QString HandsetFilesWindow::summary() const
{
    return m_summary->text();
}

void HandsetFilesWindow::setSummary(const QString& text)
{
    m_summary->setText(text);
}

void HandsetFilesWindow::refresh(const QString& note)
{
    auto listed = std::make_shared<AirHFileList>();
    m_jobs->run([listed](VedORovav& link, ProgressProtocol& progress,
                         const QString& password) { return link.readDirectory(*listed, password, progress); },
                [this, listed, note](const std::optional<VedORovavException>& failure) {
                    if (failure) {
                        setSummary(failure->is(LinkTexts::Cancelled) ? tr("The file list was not read.")
                                                                     : failure->localizedMessage());
                        return;
                    }
                    m_files = *listed;
                    showFiles();
                    const int count = int(m_files.size());
                    setSummary(note.isEmpty() ? tr("%n file(s) on the AIR-EDGE PHONE.", nullptr, count) : note);
                });
}

void HandsetFilesWindow::showFiles()
{
    m_list->setSortingEnabled(false);
    m_list->clear();
    const QLocale locale;
    for (int i = 0; i < m_files.size(); ++i) {
        const AirHFile& f = m_files[i];
        auto* item = new FileItem(m_list);
        item->setText(NameColumn, f.fileName());
        item->setData(NameColumn, Qt::UserRole + 1, i);
        item->setText(TypeColumn, f.fileType());
        item->setText(SizeColumn, locale.formattedDataSize(quint32(f.fileSize())));
        item->setData(SizeColumn, Qt::UserRole, qint64(quint32(f.fileSize())));
        item->setTextAlignment(SizeColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(DateColumn, f.fileDate().isValid() ? locale.toString(f.fileDate(), QLocale::ShortFormat)
                                                         : QString());
        item->setData(DateColumn, Qt::UserRole, f.fileDate());
        const QString thumbnail = thumbnailPath(f);
        item->setIcon(NameColumn, QFileInfo::exists(thumbnail) ? QIcon(thumbnail) : kindIcon(kindOf(f), style()));
    }
    m_list->setSortingEnabled(true);
    updateButtons();
}

AirHFileList HandsetFilesWindow::selectedFiles() const
{
    AirHFileList files;
    for (const QTreeWidgetItem* item : m_list->selectedItems())
        files << m_files.value(item->data(NameColumn, Qt::UserRole + 1).toInt());
    return files;
}

void HandsetFilesWindow::download(const AirHFileList& files, const QString& folder,
                                  std::function<void(const QStringList& saved)> done)
{
    LocalNames names;
    QStringList paths;
    for (const AirHFile& f : files)
        paths << QDir(folder).filePath(names.nameFor(f.fileName()));
    auto left = std::make_shared<QStringList>(paths);
    m_jobs->run(
        [files, paths, left](VedORovav& link, ProgressProtocol& progress, const QString& password) {
            *left = paths; // all of them again when a refused password starts over
            return link.readFileFrom(files, *left, password, progress);
        },
        [this, files, paths, left, folder, done](const std::optional<VedORovavException>& failure) {
            // Every path still in the list was not saved.
            const int saved = int(paths.size() - left->size());
            const QStringList savedPaths = paths.mid(0, saved);
            makeThumbnails(files.mid(0, saved), savedPaths);
            const int notSaved = int(left->size());
            QString text = tr("%n file(s) saved to %1", nullptr, saved).arg(shortFolderName(folder));
            if (failure && failure->is(LinkTexts::Cancelled))
                text += tr("; %n cancelled", nullptr, notSaved);
            else if (failure)
                text += tr("; %n not saved: %1", nullptr, notSaved).arg(failure->localizedMessage());
            setSummary(text);
            done(savedPaths);
        });
}

void HandsetFilesWindow::saveSelectedTo(const QString& folder)
{
    const AirHFileList selected = selectedFiles();
    // A file of the user's own under the same name is replaced only when asked.
    AirHFileList files;
    QStringList taken;
    LocalNames names;
    for (const AirHFile& f : selected) {
        const QString name = names.nameFor(f.fileName());
        if (QFileInfo::exists(QDir(folder).filePath(name)))
            taken << name;
    }
    const bool replace =
        !taken.isEmpty() &&
        QMessageBox::question(this, tr("Replace the files?"),
                              tr("%1 already holds %2. Replace them?")
                                  .arg(shortFolderName(folder), taken.join(QStringLiteral(", "))),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
    LocalNames again;
    for (const AirHFile& f : selected)
        if (replace || !taken.contains(again.nameFor(f.fileName())))
            files << f;
    if (!files.isEmpty())
        download(files, folder, [](const QStringList&) {});
}

void HandsetFilesWindow::makeThumbnails(const AirHFileList& files, const QStringList& paths)
{
    for (int i = 0; i < files.size() && i < paths.size(); ++i) {
        if (kindOf(files[i]) != Kind::Picture)
            continue;
        QImageReader reader(paths[i]);
        // Read at thumbnail size: a large or hostile picture never unfolds whole.
        const QSize size = reader.size();
        if (!size.isValid() || size.width() > 8192 || size.height() > 8192)
            continue;
        reader.setScaledSize(size.scaled(ThumbnailSize, ThumbnailSize, Qt::KeepAspectRatio));
        const QImage image = reader.read();
        const QString target = thumbnailPath(files[i]);
        QByteArray png;
        QBuffer buffer(&png);
        if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG") ||
            !QDir().mkpath(QFileInfo(target).path()))
            continue;
        // A thumbnail that cannot be kept is drawn again next time; nothing to say.
        (void)AtomicFile::writeAll(target, png, nullptr, AtomicFile::Access::Private);
    }
    showFiles();
}

void HandsetFilesWindow::startDragOut()
{
    const AirHFileList files = selectedFiles();
    if (files.isEmpty() || m_jobs->isBusy())
        return;
    // The drop must get real files: they are downloaded before the drag starts.
    const QString folder = QDir(m_dragFolder.path()).filePath(QString::number(QDateTime::currentMSecsSinceEpoch()));
    QDir().mkpath(folder);
    QEventLoop loop;
    QStringList saved;
    download(files, folder, [&](const QStringList& paths) {
        saved = paths;
        loop.quit();
    });
    loop.exec();
    if (saved.isEmpty())
        return;
    auto* mime = new QMimeData;
    QList<QUrl> urls;
    for (const QString& p : saved)
        urls << QUrl::fromLocalFile(p);
    mime->setUrls(urls);
    auto* drag = new QDrag(m_list);
    drag->setMimeData(mime);
    drag->exec(Qt::CopyAction);
}

void HandsetFilesWindow::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!m_jobs->isBusy() && !urls.isEmpty() &&
        std::all_of(urls.begin(), urls.end(), [](const QUrl& u) { return u.isLocalFile(); }))
        event->acceptProposedAction();
}

void HandsetFilesWindow::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (QFileInfo(url.toLocalFile()).isFile())
            paths << url.toLocalFile();
    event->acceptProposedAction();
    if (!paths.isEmpty())
        upload(paths);
}

void HandsetFilesWindow::upload(const QStringList& chosen)
{
    const AirHFileType table = AirHFileType::load(m_jobs->linkSettings().fileTypes);
    QList<VedORovav::Upload> uploads;
    for (const QString& path : chosen) {
        const VedORovav::Upload u{path, QFileInfo(path).fileName(), table.typeForPath(path)};
        // Asked by name alone: whatever its type, the user may mean that file.
        const bool held = std::any_of(m_files.begin(), m_files.end(),
                                      [&](const AirHFile& f) { return f.fileName() == u.name; });
        if (held && QMessageBox::question(this, tr("Replace the file?"),
                                          tr("The AIR-EDGE PHONE already holds %1. Replace it?").arg(u.name),
                                          QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
            continue;
        uploads << u;
    }
    if (uploads.isEmpty())
        return;
    auto sent = std::make_shared<int>(0);
    m_jobs->run(
        [uploads, sent](VedORovav& link, ProgressProtocol& progress, const QString& password) {
            const bool done = link.writeFiles(uploads, password, progress);
            *sent = link.filesSent();
            return done;
        },
        [this, uploads, sent](const std::optional<VedORovavException>& failure) {
            const int count = *sent;
            const int rest = int(uploads.size()) - count;
            QString text = tr("%n file(s) sent to the AIR-EDGE PHONE", nullptr, count);
            if (failure && failure->is(LinkTexts::Cancelled))
                text += tr("; %n cancelled", nullptr, rest);
            else if (failure)
                text += tr("; %n not sent: %1", nullptr, rest).arg(failure->localizedMessage());
            // The list shows what the handset holds now; the line says what was sent.
            refresh(text);
        });
}
