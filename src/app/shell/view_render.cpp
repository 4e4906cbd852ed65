// What the view widget paints: the view drawn on the raster canvas at the client size,
// the size read-out's digits in the system font.
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "app/shell/view_widget.h"
#include "framework/raster_dc.h"
#include "view/polydrom_view.h"

namespace {

// The canvas as an image of its own pixels, without a copy (0xffRRGGBB words).
QImage Wrap(CRasterDC& dc)
{
    return QImage(reinterpret_cast<uchar*>(dc.Pixels()), dc.Width(), dc.Height(), dc.Width() * 4,
                  QImage::Format_RGB32);
}

// Text in the default font and colours of a device context: black on white, top-left
// corner at (x, y), cut to the canvas's clip.
void DrawText(CRasterDC& dc, const QFont& font, int x, int y, std::string_view text)
{
    if (dc.Width() <= 0 || dc.Height() <= 0) return;
    QImage target = Wrap(dc);
    QPainter painter(&target);
    const CRect clip = dc.ClipRect();
    painter.setClipRect(QRect(clip.left, clip.top, clip.Width(), clip.Height()));
    painter.setFont(font);
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QFontMetrics metrics(font);
    const QRect box(x, y, metrics.horizontalAdvance(s), metrics.height());
    painter.fillRect(box, Qt::white);
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, s);
}

}  // namespace

QImage CViewWidget::Render() const
{
    const CRect client = GetClientRect();
    CRasterDC dc(client.Width(), client.Height());
    // Device pixels: the font is scaled with them, so the text keeps its size on screen.
    QFont font = this->font();
    if (font.pixelSize() > 0)
        font.setPixelSize(int(font.pixelSize() * devicePixelRatioF() + 0.5));
    else
        font.setPointSizeF(font.pointSizeF() * devicePixelRatioF());
    dc.SetTextRenderer([font](CRasterDC& canvas, int x, int y, std::string_view text) {
        DrawText(canvas, font, x, y, text);
    });
    // The background is erased to the window colour before every paint.
    dc.Clear(RGB(255, 255, 255));
    m_view.OnDraw(&dc);
    return Wrap(dc).copy();
}
