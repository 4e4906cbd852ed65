// The help window: the guide from the resources, with its table of commands filled in
// from the command table, so the two cannot disagree.
#include "app/shell/help_window.h"

#include <QFile>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/command_listing.h"

namespace {

// Where the guide's table of commands goes.
const QString kCommandListMarker = QStringLiteral("<!-- command list -->");

// A browser that fills in the table of commands as it loads the guide.
class CGuideBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl& name) override
    {
        if (type != QTextDocument::HtmlResource) return QTextBrowser::loadResource(type, name);
        QFile file(QLatin1Char(':') + name.path());
        if (!file.open(QIODevice::ReadOnly)) return QTextBrowser::loadResource(type, name);
        QString html = QString::fromUtf8(file.readAll());
        html.replace(kCommandListMarker, QString::fromStdString(CommandListHtml()));
        return html;
    }
};

}  // namespace

CHelpWindow::CHelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Polydrom Help"));
    m_browser = new CGuideBrowser(this);
    m_browser->setOpenExternalLinks(false);
    m_browser->setSearchPaths({QStringLiteral(":/help")});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(760, 720);
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
