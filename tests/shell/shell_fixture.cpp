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
    std::string error;
    EXPECT_TRUE(model->OnSaveDocument(QFile::encodeName(path).toStdString(), &error)) << error;
    return path;
}
