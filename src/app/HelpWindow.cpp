#include "app/HelpWindow.h"

#include <QKeySequence>
#include <QLabel>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(tr("EdgeMarks Manual"));
    auto* pages = new QLabel(this);
    pages->setText(QStringLiteral("<a href=\"edgemarks\">edgemarks</a> &nbsp; "
                                  "<a href=\"edgemarks-cli\">edgemarks-cli</a> &nbsp; "
                                  "<a href=\"edgemarks-sim\">edgemarks-sim</a>"));
    connect(pages, &QLabel::linkActivated, this, &HelpWindow::showPage);
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("manual"));
    m_browser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addWidget(m_browser);
    auto* close = new QShortcut(QKeySequence::Close, this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    resize(720, 640);
    showPage(QStringLiteral("edgemarks"));
}

void HelpWindow::showPage(const QString& program)
{
    m_browser->setSource(QUrl(QStringLiteral("qrc:/manual/%1.html").arg(program)));
}
