// The help window: the user guide from the resources in a browser, opened at a topic.
#include "app/shell/help_window.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

CHelpWindow::CHelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Polydrom Help"));
    m_browser = new QTextBrowser(this);
    m_browser->setOpenExternalLinks(false);
    m_browser->setSearchPaths({QStringLiteral(":/help")});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(640, 720);
}

void CHelpWindow::ShowTopic(const QString& anchor)
{
    QUrl url(QStringLiteral("qrc:/help/index.html"));
    if (!anchor.isEmpty()) url.setFragment(anchor);
    if (m_browser->source().path() != url.path())
        m_browser->setSource(url);
    else if (!anchor.isEmpty())
        m_browser->scrollToAnchor(anchor);
    else
        m_browser->scrollToAnchor(QStringLiteral("top"));
    show();
    raise();
    activateWindow();
}
