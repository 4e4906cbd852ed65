// The main frame's printing, bar, help and application commands.
#include <algorithm>

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QToolBar>
#include <QWhatsThis>

#include "app/shell/help_window.h"
#include "app/shell/main_frame.h"
#include "app/shell/painter_dc.h"
#include "app/shell/preview_panel.h"
#include "app/shell/prompts.h"
#include "app/shell/shaded_panel.h"
#include "app/shell/status_bar.h"
#include "app/shell/view_widget.h"
#include "model/polydrom_doc.h"
#include "view/polydrom_view.h"

void CMainFrame::PrintPage(QPrinter* printer)
{
    QPainter painter;
    if (!painter.begin(printer)) {
        m_prompts.ShowError(this, QStringLiteral("The page could not be printed: the printer did not start."));
        return;
    }
    PaintPage(painter, painter.viewport().size());
    painter.end();
}

void CMainFrame::PaintPage(QPainter& painter, QSize page)
{
    // The view reads its geometry from the window's client rectangle; on the printer
    // those numbers are device units, which the screen-resolution mode makes pixel-sized,
    // so the page looks like the window. A window larger than the paper (any maximized
    // one) would put the model, drawn at the window's centre, beyond the paper's edge and
    // print a blank page; such a window is shrunk to fit, never enlarged.
    const CRect client = m_view->GetClientRect();
    if (client.Width() > 0 && client.Height() > 0 && page.width() > 0 && page.height() > 0) {
        const double fit = std::min({1.0, double(page.width()) / client.Width(), double(page.height()) / client.Height()});
        painter.scale(fit, fit);
    }
    // A big model's page is the window's picture: drawn line by line, a million edges
    // take the print preview seconds to record and again to play at every repaint, and
    // make a spool file of hundreds of megabytes. At screen resolution the two are the
    // same pixels; a model of up to this many edges keeps its lines sharp on paper.
    constexpr int kMostPrintedLines = 100'000;
    if (m_view->GetDocument()->GetEdgeCount() > kMostPrintedLines) {
        painter.drawImage(QPoint(0, 0), m_viewWidget->Render());
        return;
    }
    CPainterDC dc(painter);
    m_view->OnDraw(&dc);
}

void CMainFrame::OnFilePrint()
{
    if (m_prompts.AskPrint(this, m_printer.get())) PrintPage(m_printer.get());
}

void CMainFrame::OnFilePrintPreview()
{
    // Each preview owns its printer, starting from the page set up for printing.
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setPageLayout(m_printer->pageLayout());
    m_prompts.ShowPrintPreview(this, &printer, [this](QPrinter* target) { PrintPage(target); });
}

void CMainFrame::OnFilePrintSetup() { m_prompts.AskPageSetup(this, m_printer.get()); }

void CMainFrame::OnAppAbout() { m_prompts.ShowAbout(this); }

void CMainFrame::OnAppExit() { close(); }

void CMainFrame::OnViewToolbar() { FileToolBar()->setVisible(FileToolBar()->isHidden()); }

void CMainFrame::OnViewDoToolbar() { DoToolBar()->setVisible(DoToolBar()->isHidden()); }

void CMainFrame::OnViewStatusBar() { m_statusBar->setVisible(m_statusBar->isHidden()); }

void CMainFrame::ShowSidePanel(QDockWidget* panel, QDockWidget* other)
{
    if (panel->isHidden()) {
        panel->show();
        if (panel->width() < width() / 5) resizeDocks({panel}, {width() / 3}, Qt::Horizontal);
        const bool stacked = other->isVisible() && !other->isFloating() && !panel->isFloating() &&
                             dockWidgetArea(other) == dockWidgetArea(panel);
        const int both = panel->height() + other->height();
        if (stacked && panel->height() < both / 4) resizeDocks({panel, other}, {both / 2, both / 2}, Qt::Vertical);
    }
    panel->raise();
}

void CMainFrame::OnViewRenderPreview() { ShowSidePanel(m_preview, m_shaded); }

void CMainFrame::OnView3D() { ShowSidePanel(m_shaded, m_preview); }

void CMainFrame::OnHelpFinder()
{
    if (!m_help) m_help = new CHelpWindow(this);
    m_help->ShowTopic(QString());
}

void CMainFrame::OnHelp()
{
    // Without a finer context the main window's help is the guide's tour of the window.
    if (!m_help) m_help = new CHelpWindow(this);
    m_help->ShowTopic(QStringLiteral("window"));
}

void CMainFrame::OnContextHelp() { QWhatsThis::enterWhatsThisMode(); }
