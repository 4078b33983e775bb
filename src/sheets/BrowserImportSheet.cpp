#include "sheets/BrowserImportSheet.h"
#include "commands/BookmarkImportPlan.h"

#include "handset/HandsetCheck.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

BrowserImportSheet::BrowserImportSheet(QWidget* window, BrowserBookmarks file, BookmarkList existing,
                                       QStringList folderNames, int selectedFolder)
    : QDialog(window, Qt::Sheet), m_file(std::move(file)), m_existing(std::move(existing)),
      m_folderNames(std::move(folderNames)), m_folder(selectedFolder)
{
    setObjectName(QStringLiteral("browserImportSheet"));
    setWindowModality(Qt::WindowModal);
    setWindowTitle(tr("Import Bookmarks"));
    auto* layout = new QVBoxLayout(this);
    auto* message = new QLabel(tr("Import bookmarks from a browser"), this);
    QFont bold = message->font();
    bold.setBold(true);
    message->setFont(bold);
    m_perFolder = new QRadioButton(tr("One handset folder for each browser folder"), this);
    m_perFolder->setObjectName(QStringLiteral("perFolder"));
    m_intoFolder = new QRadioButton(
        tr("Everything into folder “%1”").arg(m_folderNames.value(m_folder, QString::number(m_folder))),
        this);
    m_intoFolder->setObjectName(QStringLiteral("intoFolder"));
    m_perFolder->setChecked(true);
    m_summary = new QPlainTextEdit(this);
    m_summary->setObjectName(QStringLiteral("importSummary"));
    m_summary->setReadOnly(true);
    m_summary->setMinimumSize(520, 220);
    auto* buttons = new QDialogButtonBox(this);
    m_import = buttons->addButton(tr("Import"), QDialogButtonBox::AcceptRole);
    m_import->setObjectName(QStringLiteral("importButton"));
    m_import->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_perFolder, &QRadioButton::toggled, this, &BrowserImportSheet::replan);
    layout->addWidget(message);
    layout->addWidget(m_perFolder);
    layout->addWidget(m_intoFolder);
    layout->addWidget(m_summary);
    layout->addWidget(buttons);
    layout->setContentsMargins(20, 18, 20, 18);
    replan();
}

void BrowserImportSheet::replan()
{
    m_plan = BookmarkImportPlan::make(m_file, m_existing, m_folderNames,
                                      m_perFolder->isChecked() ? BookmarkImportPlan::Mapping::PerFolder
                                                               : BookmarkImportPlan::Mapping::IntoFolder,
                                      m_folder);
    QString summary = m_plan.summary();
    const int changing = int(std::count_if(m_plan.added.begin(), m_plan.added.end(), [](const BookmarkPtr& b) {
        return HandsetCheck::replaceUnsupported(b->bookmarkName()) != b->bookmarkName();
    }));
    if (changing > 0)
        summary += QLatin1Char('\n') +
                   tr("%n name(s) have characters the AIR-EDGE PHONE cannot show; before an export, the "
                      "handset check offers to replace them.",
                      nullptr, changing);
    m_summary->setPlainText(summary);
    m_import->setEnabled(!m_plan.added.isEmpty());
}

QString BrowserImportSheet::summary() const
{
    return m_summary->toPlainText();
}
