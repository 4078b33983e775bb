#include "commands/DocumentCommands.h"

#include "document/MyDocument.h"
#include "commands/BookmarkDiff.h"
#include "commands/BookmarkHistory.h"
#include "handset/DriverCheck.h"
#include "handset/HandsetCheck.h"
#include "handset/HandsetDevices.h"
#include "handset/HandsetLimits.h"
#include "handset/HandsetTask.h"
#include "handset/VedORovav.h"

#include <algorithm>

// A document holds what the handset holds.
static_assert(MyDocument::MaxBookmarks == HandsetLimits::MaxBookmarks);
static_assert(MyDocument::FolderCount == HandsetLimits::FolderCount);

namespace
{
struct Imported {
    BookmarkList list;
    int skipped = 0;
    int announced = 0;
};
} // namespace

DocumentCommands::DocumentCommands(MyDocument* document, CommandPresenter* presenter,
                                   PasswordSource* passwords, ProgressProtocol* progress, QObject* window,
                                   std::function<LinkSettings()> linkSettings)
    : QObject(window), m_document(document), m_presenter(presenter), m_passwords(passwords),
      m_linkSettings(std::move(linkSettings)), m_task(new HandsetTask(progress, window, this))
{
}

// The task cancels and waits for a transfer that still runs.
DocumentCommands::~DocumentCommands() = default;

void DocumentCommands::setBusy(bool busy)
{
    if (m_busy == busy)
        return;
    m_busy = busy;
    emit busyChanged(busy);
}

void DocumentCommands::cancel()
{
    // A command still waiting for its password does not start its transfer.
    m_cancelled = m_busy;
    m_task->cancel();
}

bool DocumentCommands::driverIsThere(Kind kind)
{
    const QString bundle = m_linkSettings().driverBundle;
    if (DriverCheck::exists(bundle))
        return true;
    m_presenter->showError(kind == Kind::Import ? tr("Couldn't import the bookmarks.")
                           : kind == Kind::Test ? tr("The connection test stopped at the driver.")
                                                : tr("Couldn't export the bookmarks."),
                           DriverCheck::missingText(bundle));
    return false;
}

void DocumentCommands::importBookmarkList()
{
    if (m_busy || !driverIsThere(Kind::Import))
        return;
    if (m_document->bookmarkList().isEmpty()) {
        start(Kind::Import);
        return;
    }
    m_presenter->confirm(
        tr("The current editing bookmarks will be completely deleted. Are you sure you want to import ?"),
        tr("If you select to import then all bookmarks on the current editing will be lost."), tr("Import"),
        [this](bool proceed) {
            if (proceed)
                start(Kind::Import);
        });
}

void DocumentCommands::exportBookmarkList()
{
    if (m_busy || !driverIsThere(Kind::Export))
        return;
    // A kept list whose export was left at its password is not exported by this one.
    m_exporting.reset();
    const QList<HandsetCheck::Finding> findings = HandsetCheck::check(m_document->bookmarkList());
    if (findings.isEmpty()) {
        confirmExport();
        return;
    }
    QStringList lines;
    QList<int> indexes;
    // Lists, numbers and texts the transfer would refuse midway cannot be sent
    // anyway; the others (a number used twice, a folder never sent, a text that
    // would arrive changed) are the user's call.
    bool mayProceed = true;
    bool mayReplace = false;
    for (const HandsetCheck::Finding& f : findings) {
        lines << f.message;
        indexes << f.index;
        if (f.kind == HandsetCheck::Kind::TooMany || f.kind == HandsetCheck::Kind::NumberOutOfRange ||
            f.kind == HandsetCheck::Kind::TooLong)
            mayProceed = false;
        if (f.kind == HandsetCheck::Kind::NameNotShiftJIS || f.kind == HandsetCheck::Kind::LocationNotShiftJIS ||
            f.kind == HandsetCheck::Kind::NameChanges || f.kind == HandsetCheck::Kind::LocationChanges)
            mayReplace = true;
    }
    m_presenter->showFindings(lines, indexes, mayProceed, mayReplace,
                              [this](CommandPresenter::FindingsAnswer answer) {
                                  if (answer == CommandPresenter::FindingsAnswer::Proceed) {
                                      confirmExport();
                                  } else if (answer == CommandPresenter::FindingsAnswer::Replace) {
                                      const qsizetype changed = replaceUnsupportedCharacters(*m_document).size();
                                      m_presenter->showStatus(tr("Replaced the characters the AIR-EDGE PHONE "
                                                                 "cannot show in %n bookmark(s).",
                                                                 nullptr, int(changed)));
                                      exportBookmarkList(); // what is left, or the export itself
                                  }
                              });
}

void DocumentCommands::confirmExport()
{
    if (m_busy)
        return;
    if (m_keepsHandsetList) {
        // What the handset holds is read first, kept, and compared in the question.
        start(Kind::ReadBeforeExport);
        return;
    }
    askToExport(QString());
}

void DocumentCommands::askToExport(const QString& changes)
{
    QString informative =
        tr("If you select to export then all bookmarks in the AIR-EDGE PHONE will be lost.");
    if (!changes.isEmpty())
        informative += QStringLiteral("\n\n") + changes;
    m_presenter->confirm(tr("The bookmarks in the AIR-EDGE PHONE will be completely deleted. Are you sure "
                            "you want to export ?"),
                         informative, tr("Export"), [this](bool proceed) {
                             if (proceed)
                                 start(Kind::Export);
                             else
                                 m_exporting.reset();
                         });
}

QList<int> DocumentCommands::replaceUnsupportedCharacters(MyDocument& document)
{
    QList<int> changed;
    UndoManager* undo = document.undoManager();
    undo->beginGrouping();
    const BookmarkList& list = document.bookmarkList();
    for (int i = 0; i < list.size(); ++i) {
        const BookmarkPtr& b = list.at(i);
        const QString name = HandsetCheck::replaceUnsupported(b->bookmarkName());
        const QString location = HandsetCheck::replaceUnsupported(b->location(), true);
        if (name == b->bookmarkName() && location == b->location())
            continue;
        if (name != b->bookmarkName())
            b->setBookmarkName(name);
        if (location != b->location())
            b->setLocation(location);
        changed << i;
    }
    undo->setActionName(tr("Replace Unsupported Characters"));
    undo->endGrouping();
    return changed;
}

void DocumentCommands::testConnection()
{
    if (m_busy || !driverIsThere(Kind::Test))
        return;
    setBusy(true);
    m_cancelled = false;
    connect(m_task, &HandsetTask::finished, this, &DocumentCommands::testDidEnd, Qt::SingleShotConnection);
    m_task->start(m_linkSettings(), [this](VedORovav& link, ProgressProtocol& progress) {
        link.testConnection(progress, &m_testReached);
        return true;
    });
}

void DocumentCommands::testDidEnd()
{
    setBusy(false);
    const std::optional<VedORovavException>& failure = m_task->failure();
    if (!failure) {
        m_presenter->showNote(tr("The AIR-EDGE PHONE is ready."),
                              tr("The driver is there, the port %1 opened and the AIR-EDGE PHONE shows its "
                                 "top screen.")
                                  .arg(HandsetDevices::chosenDevice(m_linkSettings().device).path));
        return;
    }
    if (failure->is(LinkTexts::Cancelled)) {
        m_presenter->showStatus(tr("The connection test was cancelled."));
        return;
    }
    if (m_testReached == VedORovav::Stage::Port)
        m_presenter->showError(tr("The connection test stopped at the port."),
                               failure->localizedMessage() + QLatin1Char('\n') +
                                   tr("Plug in the AIR-EDGE PHONE with its data cable, or choose its port "
                                      "in Handset > Device."));
    else
        m_presenter->showError(tr("The connection test stopped at the top screen."),
                               failure->localizedMessage() + QLatin1Char('\n') +
                                   tr("Go back to the top screen of the AIR-EDGE PHONE and test again."));
}

void DocumentCommands::exportKeptList(const BookmarkList& list)
{
    if (m_busy || !driverIsThere(Kind::Export))
        return;
    m_exporting = list;
    confirmExport();
}

BookmarkList DocumentCommands::exportList() const
{
    // The transfer reads its own copy: the window's list stays the window's.
    BookmarkList copy;
    for (const BookmarkPtr& b : m_exporting ? *m_exporting : m_document->bookmarkList()) {
        auto c = std::make_shared<Bookmark>();
        c->setBookmarkName(b->bookmarkName());
        c->setLocation(b->location());
        c->setNumber(b->number());
        c->setFolder(b->folder());
        copy << c;
    }
    return copy;
}

void DocumentCommands::start(Kind kind)
{
    if (m_busy)
        return;
    // Busy from here: the keyring may take its time, and meanwhile neither a
    // second command nor closing the window may start.
    setBusy(true);
    m_cancelled = false;
    m_passwords->findPassword([this, kind](std::optional<QString> password) {
        if (m_cancelled) {
            setBusy(false);
            return;
        }
        if (!password) {
            setBusy(false);
            // The command was confirmed already: the password's OK goes on with it.
            m_passwords->inputPassword([this, kind] { start(kind); });
            return;
        }
        HandsetTask::Work work;
        if (kind != Kind::Export) {
            auto imported = std::make_shared<Imported>();
            m_imported = imported;
            work = [imported, password](VedORovav& link, ProgressProtocol& progress) {
                const bool done = link.readBookmarks(imported->list, *password, progress);
                imported->skipped = link.entriesSkipped();
                imported->announced = link.entriesAnnounced();
                return done;
            };
        } else {
            const BookmarkList copy = exportList();
            m_exportCount = int(std::count_if(copy.begin(), copy.end(), [](const BookmarkPtr& b) {
                return b->folder() >= 0 && b->folder() < HandsetLimits::FolderCount;
            }));
            work = [copy, password](VedORovav& link, ProgressProtocol& progress) {
                return link.writeBookmarks(copy, *password, progress);
            };
        }
        connect(
            m_task, &HandsetTask::finished, this, [this, kind] { transferDidEnd(kind); },
            Qt::SingleShotConnection);
        m_task->start(m_linkSettings(), std::move(work));
    });
}

void DocumentCommands::transferDidEnd(Kind kind)
{
    setBusy(false);
    auto imported = std::static_pointer_cast<Imported>(std::exchange(m_imported, nullptr));
    if (const std::optional<VedORovavException>& failure = m_task->failure()) {
        if (kind != Kind::Import)
            m_exporting.reset();
        if (failure->is(LinkTexts::Cancelled) && kind == Kind::Import) {
            m_presenter->showStatus(tr("The import was cancelled; the document is unchanged."));
            return;
        }
        if (failure->is(LinkTexts::Cancelled) && kind == Kind::ReadBeforeExport) {
            m_presenter->showStatus(tr("The export was cancelled; the AIR-EDGE PHONE is unchanged."));
            return;
        }
        m_presenter->showError(kind == Kind::Import             ? tr("Couldn't import the bookmarks.")
                               : kind == Kind::ReadBeforeExport ? tr("Couldn't read the bookmarks in the AIR-EDGE "
                                                                     "PHONE before the export; nothing was exported.")
                                                                : tr("Couldn't export the bookmarks."),
                               failure->localizedMessage());
        return;
    }
    if (!m_task->result()) {
        // The password was refused: forget it, ask again, then start over.
        m_passwords->inputPassword([this, kind] { start(kind); }, true);
        return;
    }
    if (kind == Kind::Export) {
        m_exporting.reset();
        m_presenter->showStatus(tr("Exported %n bookmark(s) to the AIR-EDGE PHONE.", nullptr, m_exportCount));
        return;
    }
    if (kind == Kind::ReadBeforeExport) {
        BookmarkHistory fallback;
        BookmarkHistory* history = m_history ? m_history : &fallback;
        QString why;
        if (!history->keep(imported->list, QDateTime::currentDateTime(), &why)) {
            m_exporting.reset();
            m_presenter->showError(
                tr("Couldn't keep the bookmarks the AIR-EDGE PHONE holds; nothing was exported."), why);
            return;
        }
        const BookmarkDiff diff(imported->list, exportList());
        QStringList lines = diff.details();
        constexpr int Shown = 20;
        if (lines.size() > Shown) {
            const int more = int(lines.size()) - Shown;
            lines = lines.mid(0, Shown) << tr("and %n more", nullptr, more);
        }
        askToExport(tr("Changes: %1").arg(diff.summary()) +
                    (lines.isEmpty() ? QString() : QStringLiteral("\n") + lines.join(QLatin1Char('\n'))) +
                    QStringLiteral("\n") +
                    tr("The list the AIR-EDGE PHONE holds now is kept: Handset > Restore Previous Bookmarks "
                       "puts it back."));
        return;
    }
    if (const qsizetype leftOut = MyDocument::keepWhatFits(imported->list); leftOut > 0)
        m_presenter->showError(tr("Some bookmarks were left out."), MyDocument::leftOutText(leftOut));
    m_document->replaceBookmarkList(imported->list, tr("Import from AIR-EDGE PHONE"));
    if (imported->skipped > 0)
        m_presenter->showError(
            tr("Some bookmarks could not be read."),
            tr("%1 of the %2 bookmarks in the AIR-EDGE PHONE could not be read and were left "
               "out.")
                .arg(imported->skipped)
                .arg(imported->announced));
    m_presenter->showStatus(
        tr("Imported %n bookmark(s) from the AIR-EDGE PHONE.", nullptr, int(imported->list.size())));
}
