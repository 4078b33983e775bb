#include "DocumentCommands.h"

#include "MyDocument.h"
#include "VedORovav.h"

DocumentCommands::DocumentCommands(MyDocument* document, CommandPresenter* presenter, PasswordSource* passwords,
                                   ProgressProtocol* progress, QObject* window)
    : QObject(window), m_document(document), m_presenter(presenter), m_passwords(passwords), m_progress(progress),
      m_window(window)
{
}

void DocumentCommands::importBookmarkList()
{
    if (m_document->bookmarkList().isEmpty()) {
        importDidEnd(true);
        return;
    }
    m_presenter->confirm(
        tr("The current editing bookmarks will be completely deleted. Are you sure you want to import ?"),
        tr("If you select to import then all bookmarks on the current editing will be lost."), tr("Import"),
        [this](bool proceed) { importDidEnd(proceed); });
}

void DocumentCommands::importDidEnd(bool proceed)
{
    if (!proceed)
        return;
    try {
        bool done = false;
        {
            VedORovav handset(m_window);
            BookmarkList list;
            if (const std::optional<QString> password = m_passwords->findPassword()) {
                if (handset.readBookmarks(list, *password, *m_progress)) {
                    m_document->setBookmarkList(list);
                    m_document->undoManager()->markChanged();
                    done = true;
                }
            }
        }
        if (!done)
            m_passwords->inputPassword([this] { importBookmarkList(); });
    } catch (const VedORovavException& e) {
        m_presenter->showError(tr("Couldn't import the bookmarks."), e.localizedMessage());
    }
}

void DocumentCommands::exportBookmarkList()
{
    m_presenter->confirm(
        tr("The bookmarks in the AIR-EDGE PHONE will be completely deleted. Are you sure you want to export ?"),
        tr("If you select to export then all bookmarks in the AIR-EDGE PHONE will be lost."), tr("Export"),
        [this](bool proceed) { exportDidEnd(proceed); });
}

void DocumentCommands::exportDidEnd(bool proceed)
{
    if (!proceed)
        return;
    try {
        bool done = false;
        {
            VedORovav handset(m_window);
            if (const std::optional<QString> password = m_passwords->findPassword())
                done = handset.writeBookmarks(m_document->bookmarkList(), *password, *m_progress);
        }
        if (!done)
            m_passwords->inputPassword([this] { exportBookmarkList(); });
    } catch (const VedORovavException& e) {
        m_presenter->showError(tr("Couldn't export the bookmarks."), e.localizedMessage());
    }
}
