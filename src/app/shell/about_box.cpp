// The About box: its picture, logo and texts laid out in the dialog units it was drawn in.
#include "app/shell/about_box.h"

#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace {

// Dialog units of the box's 12-point font: 9 pixels per 4 units across, 20 per 8 down.
// At that scale the 142 x 96 picture frame is the 320 x 240 picture and the 67 x 24
// logo frame wraps the 147 x 57 logo.
int DuX(int du) { return (du * 9 + 2) / 4; }
int DuY(int du) { return (du * 5 + 1) / 2; }
QRect DuRect(int x, int y, int cx, int cy) { return QRect(DuX(x), DuY(y), DuX(cx), DuY(cy)); }

const char* const kTagline = "3-D modler for raytracing programs";

// The largest font up to 12 points in which the widest line fits its 110-unit box; the
// platform's sans-serif runs wider than the font the layout was drawn for.
QFont DialogFont(const QFont& base)
{
    QFont font = base;
    for (int px = 16; px >= 9; --px) {
        font.setPixelSize(px);
        if (QFontMetrics(font).horizontalAdvance(QString::fromLatin1(kTagline)) <= DuX(110)) break;
    }
    return font;
}

QLabel* Text(QWidget* parent, const QString& text, QRect rect)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(rect);
    return label;
}

QLabel* Picture(QWidget* parent, const QString& resource, QPoint at, const QString& name)
{
    auto* label = new QLabel(parent);
    QPixmap pixmap(resource);
    label->setPixmap(pixmap);
    label->setGeometry(QRect(at, pixmap.size()));
    label->setAccessibleName(name);
    return label;
}

}  // namespace

CAboutBox::CAboutBox(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About Polydrim"));
    setModal(true);
    setFont(DialogFont(font()));
    setFixedSize(DuX(280), DuY(110));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setObjectName(QStringLiteral("AboutBox"));

    // Created in the tab order of the layout; the pictures take the size of their images.
    Text(this, QStringLiteral("Version 1.00"), DuRect(186, 32, 41, 8));
    Text(this, QString::fromLatin1(kTagline), DuRect(156, 52, 110, 8));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(DuRect(195, 84, 34, 13));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    Picture(this, QStringLiteral(":/about/about.png"), QPoint(DuX(7), DuY(7)),
            QStringLiteral("A red sphere on a wooden table"));
    Text(this, QStringLiteral("Copyright \u00a9 the\nPolydrom authors"),
         DuRect(164, 64, 97, 17));
    // The logo sits one pixel inside its black frame, which is drawn over it.
    const QRect frameRect = DuRect(176, 7, 67, 24);
    Picture(this, QStringLiteral(":/about/logo.png"), frameRect.topLeft() + QPoint(2, 2), QStringLiteral("Polydrom"));
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setStyleSheet(QStringLiteral("QFrame { color: black; background: transparent; }"));
    frame->setGeometry(frameRect);
    Text(this, QStringLiteral("Freeware"), DuRect(192, 41, 31, 8));
    ok->setFocus();
}
