#include "shell/shell_fixture.h"

#include <QFile>

#include "app/shell/settings.h"

void ShellTest::ClearSettings() { OpenSettings()->clear(); }

QString ShellTest::WriteCylinder(const QString& name)
{
    auto model = std::make_unique<CPolydromDoc>();
    model->OnNewDocument();
    model->OnShapeCylinder();
    const QString path = Temp(name);
    const Result saved = model->OnSaveDocument(QFile::encodeName(path).toStdString());
    EXPECT_TRUE(saved.ok) << saved.error;
    return path;
}
