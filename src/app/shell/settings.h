// The per-user settings store (the recent-file list and the window's layout), and the
// folder of recovery copies beside the program's other data.
#pragma once

#include <memory>

#include <QSettings>
#include <QStandardPaths>

inline constexpr const char* kSettingsOrganization = "Local AppWizard-Generated Applications";
inline constexpr const char* kSettingsApplication = "Polydrom";

// Whether the Import and Export As dialogs convert between the views' axes and those of
// Y-up/Z-up files (on unless the user turned it off).
inline const QString kConvertAxesKey = QStringLiteral("Files/ConvertAxes");

inline std::unique_ptr<QSettings> OpenSettings()
{
    return std::make_unique<QSettings>(QString::fromLatin1(kSettingsOrganization),
                                       QString::fromLatin1(kSettingsApplication));
}

// ~/.local/share/<organization>/<application>/recovery on Linux; the organization and
// application names must be set on QCoreApplication first (no instance is needed).
inline QString RecoveryFolder()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    return base.isEmpty() ? QString() : base + QStringLiteral("/recovery");
}
