// The view inside the window (clicks, pixels) and printing.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>

#include "app/command_ids.h"
#include "app/shell/status_bar.h"
#include "app/shell/view_widget.h"
#include "framework/view.h"
#include "golden_image.h"
#include "model/model_fixtures.h"
#include "model/polydrom_doc.h"
#include "shell/shell_fixture.h"
#include "view/polydrom_view.h"

namespace {

void LeftPress(QWidget* widget, QPoint at, Qt::MouseButtons held)
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::LeftButton,
                      held | Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::LeftButton,
                        held, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

int PdfPages(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const QByteArray pdf = file.readAll();
    if (!pdf.startsWith("%PDF")) return -1;
    return int(QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

}  // namespace

class ViewInFrameTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        // A fixed client area, so that pixels and clicks do not depend on fonts or bars.
        frame->ViewWidget()->setFixedSize(600, 400);
        frame->show();
    }
};

TEST_F(ViewInFrameTest, ClicksAddAndPickVertices)
{
    QWidget* view = frame->ViewWidget();
    // With the right button held a left click adds a selected vertex at the cursor.
    LeftPress(view, QPoint(310, 220), Qt::RightButton);
    ASSERT_EQ(doc->GetVertexCount(), 1);
    EXPECT_EQ(doc->m_x[0], 10.0f);
    EXPECT_EQ(doc->m_y[0], 20.0f);
    EXPECT_EQ(doc->m_sel[0], 1);
    EXPECT_TRUE(frame->isWindowModified());
    EXPECT_EQ(frame->Action(ID_EDIT_UNDO)->text(), QStringLiteral("&Undo Add Vertex\tCtrl+Z"));

    // A plain left click on it toggles its selection and adds nothing.
    LeftPress(view, QPoint(311, 221), Qt::NoButton);
    EXPECT_EQ(doc->GetVertexCount(), 1);
    EXPECT_EQ(doc->m_sel[0], 0);
    EXPECT_EQ(frame->Action(ID_EDIT_UNDO)->text(), QStringLiteral("&Undo Select\tCtrl+Z"));

    // A right press alone is no click.
    QMouseEvent right(QEvent::MouseButtonPress, QPointF(20, 20), view->mapToGlobal(QPointF(20, 20)),
                      Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(view, &right);
    EXPECT_EQ(frame->View().m_state.cursor[0], 11.0f);
}

TEST_F(ViewInFrameTest, ClickAddsToAModelOfAnySizeAndSaysWhyNotAtTheLimit)
{
    // Clicks once stopped at 1000 vertices, so they did nothing on any imported mesh.
    for (int i = 0; i < 1500; ++i) doc->AddVertex(float(i), 0, 0);
    doc->CommitStep("set-up");
    LeftPress(frame->ViewWidget(), QPoint(300, 200), Qt::RightButton);
    EXPECT_EQ(doc->GetVertexCount(), 1501);
    doc->m_limits.vertices = 1501;
    LeftPress(frame->ViewWidget(), QPoint(310, 200), Qt::RightButton);
    EXPECT_EQ(doc->GetVertexCount(), 1501);
    EXPECT_FALSE(frame->StatusBar()->currentMessage().isEmpty());
}

TEST_F(ViewInFrameTest, PrintToPdfMakesOnePage)
{
    frame->Dispatch(ID_SHAPE_CYLINDER);
    const QString pdf = Temp("page.pdf");
    prompts.onPrint = [&](QPrinter* printer) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        return true;
    };
    frame->Dispatch(ID_FILE_PRINT);
    EXPECT_EQ(PdfPages(pdf), 1);
    EXPECT_TRUE(prompts.errors.isEmpty());

    // The preview draws on a printer of its own, in screen resolution.
    const QString preview = Temp("preview.pdf");
    QPrinter* used = nullptr;
    prompts.onPreview = [&](QPrinter* printer, const std::function<void(QPrinter*)>& paint) {
        used = printer;
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(preview);
        paint(printer);
    };
    frame->Dispatch(ID_FILE_PRINT_PREVIEW);
    EXPECT_NE(used, &frame->Printer());
    EXPECT_EQ(PdfPages(preview), 1);

    // A cancelled print dialog prints nothing.
    QFile::remove(pdf);
    prompts.onPrint = [](QPrinter*) { return false; };
    frame->Dispatch(ID_FILE_PRINT);
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(ViewInFrameTest, PageShowsTheWindowShrunkToThePaperOnly)
{
    // An empty model: only the panels' fills carry their colour.
    const QRgb panel = qRgb(220, 220, 255);
    const auto countPanel = [&](QSize page) {
        QImage image(page, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        frame->PaintPage(painter, page);
        painter.end();
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == panel;
        return count;
    };
    // Paper as large as the window: the panels' fills exactly as on screen (168 x 120 each).
    EXPECT_EQ(countPanel(QSize(600, 400)), 2 * 168 * 120);
    // Paper smaller than the window: the page is shrunk, so the panels at the right
    // still land on it instead of beyond its edge.
    EXPECT_GT(countPanel(QSize(300, 200)), 2 * 80 * 55);
    // Larger paper: nothing is enlarged.
    EXPECT_EQ(countPanel(QSize(1200, 800)), 2 * 168 * 120);
}

// A model of more than 100,000 edges is printed as the window's picture: on paper as
// large as the window, exactly its pixels; on smaller paper, shrunk the same way.
TEST_F(ViewInFrameTest, BigModelsPageIsTheWindowsPicture)
{
    for (int i = 0; i < 500; ++i) Vertex(*doc, float(i % 25) * 10 - 120, float(i / 25) * 8 - 80, 0, i % 7 == 0);
    for (int e = 0; e <= 100'000; ++e) Edges(*doc, {{e % 500, (e * 7 + 1) % 500}});
    const auto page = [&](QSize size) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        frame->PaintPage(painter, size);
        return image;
    };
    const QImage window = frame->ViewWidget()->Render();
    EXPECT_EQ(page(QSize(600, 400)), window);
    QImage shrunk(QSize(300, 200), QImage::Format_RGB32);
    shrunk.fill(Qt::white);
    QPainter(&shrunk).drawImage(QRect(0, 0, 300, 200), window);
    EXPECT_EQ(page(QSize(300, 200)), shrunk);
}

TEST_F(ViewInFrameTest, ScreenshotOfTheViewMatchesTheGoldenImage)
{
    frame->Dispatch(ID_SHAPE_CYLINDER);
    LeftPress(frame->ViewWidget(), QPoint(250, 150), Qt::RightButton);
    const QImage window = frame->grab().toImage();
    window.save(QStringLiteral(POLYDROM_BUILD_DIR "/main_window.png"));
    // The window's own look (fonts, style) varies between machines; the view's pixels do not.
    const QRect area(frame->ViewWidget()->mapTo(frame.get(), QPoint(0, 0)), frame->ViewWidget()->size());
    const qreal ratio = window.devicePixelRatio();
    const QImage view = window.copy(QRect(area.topLeft() * ratio, area.size() * ratio));
    EXPECT_EQ(view, frame->ViewWidget()->Render().convertToFormat(view.format()));
    const QString rendered = Temp("cylinder_view.png");
    ASSERT_TRUE(frame->ViewWidget()->Render().save(rendered));
    ExpectGoldenImage("golden/shell/cylinder_view.png", rendered.toStdString());
}
