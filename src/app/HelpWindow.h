#pragma once

#include <QWidget>

class QTextBrowser;

// The manual, inside the program and without a network or a man viewer: the
// HTML made from the manual pages at build time, one page at a time, with a
// link to each of the three programs' pages.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the page of a program ("edgemarks", "edgemarks-cli", "edgemarks-sim").
    void showPage(const QString& program);
    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};
