#include "sheets/FindingsSheet.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

FindingsSheet::FindingsSheet(QWidget* window, const QStringList& findings, const QList<int>& indexes,
                             bool mayProceed, bool mayReplace)
    : QDialog(window, Qt::Sheet)
{
    setObjectName(QStringLiteral("findingsSheet"));
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("AIR-EDGE PHONE"));
    auto* layout = new QVBoxLayout(this);
    auto* message = new QLabel(tr("The AIR-EDGE PHONE cannot take this document as it is."), this);
    QFont bold = message->font();
    bold.setBold(true);
    message->setFont(bold);
    auto* informative =
        new QLabel(mayProceed ? tr("Select a line to see its bookmark. Correct them, or export anyway.")
                              : tr("Select a line to see its bookmark. Correct them before exporting."),
                   this);
    informative->setWordWrap(true);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("findings"));
    // Long findings wrap onto further lines instead of being cut off.
    m_list->setWordWrap(true);
    m_list->setTextElideMode(Qt::ElideNone);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setMinimumSize(520, 180);
    // A list view lays its rows out one line high: each row is given the height
    // of its text wrapped to the list's width.
    const int textWidth = m_list->minimumWidth() - 40;
    for (int i = 0; i < findings.size(); ++i) {
        auto* item = new QListWidgetItem(findings.at(i), m_list);
        item->setData(Qt::UserRole, indexes.value(i, -1));
        const QRect wrapped = m_list->fontMetrics().boundingRect(QRect(0, 0, textWidth, 10000),
                                                                 Qt::TextWordWrap, findings.at(i));
        item->setSizeHint(QSize(textWidth, wrapped.height() + 8));
    }
    connect(m_list, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item && item->data(Qt::UserRole).toInt() >= 0)
            emit bookmarkSelected(item->data(Qt::UserRole).toInt());
    });
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    if (mayReplace) {
        m_replace = buttons->addButton(tr("Replace Unsupported Characters"), QDialogButtonBox::ActionRole);
        m_replace->setObjectName(QStringLiteral("replaceButton"));
        connect(m_replace, &QPushButton::clicked, this, [this] { done(Replaced); });
    }
    if (mayProceed) {
        m_proceed = buttons->addButton(tr("Export Anyway"), QDialogButtonBox::AcceptRole);
        m_proceed->setObjectName(QStringLiteral("exportAnywayButton"));
        connect(m_proceed, &QPushButton::clicked, this, &QDialog::accept);
    }
    layout->addWidget(message);
    layout->addWidget(informative);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    layout->setContentsMargins(20, 18, 20, 18);
}
