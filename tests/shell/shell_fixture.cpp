#include "shell/shell_fixture.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QToolBar>

#include "app/shell/settings.h"

namespace {

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

}  // namespace

void FloatToolBar(QToolBar* bar)
{
    const QPoint handle(4, bar->height() / 2);
    SendMouse(bar, QEvent::MouseButtonPress, handle, Qt::LeftButton);
    for (int step = 1; step <= 8; ++step)
        SendMouse(bar, QEvent::MouseMove, handle + step * QPoint(20, 30), Qt::LeftButton);
    SendMouse(bar, QEvent::MouseButtonRelease, handle + QPoint(160, 240), Qt::NoButton);
}

void ShellTest::ClearSettings() { OpenSettings()->clear(); }

QString ShellTest::WriteCylinder(const QString& name)
{
    auto model = std::make_unique<CPolydromDoc>();
    model->OnNewDocument();
    model->OnShapeCylinder({});
    const QString path = Temp(name);
    const Result saved = model->OnSaveDocument(QFile::encodeName(path).toStdString());
    EXPECT_TRUE(saved.ok) << saved.error;
    return path;
}
