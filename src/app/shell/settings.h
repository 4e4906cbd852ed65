// The per-user settings store: the recent-file list and the window's layout.
#pragma once

#include <memory>

#include <QSettings>

inline constexpr const char* kSettingsOrganization = "Local AppWizard-Generated Applications";
inline constexpr const char* kSettingsApplication = "Polydrom";

inline std::unique_ptr<QSettings> OpenSettings()
{
    return std::make_unique<QSettings>(QString::fromLatin1(kSettingsOrganization),
                                       QString::fromLatin1(kSettingsApplication));
}
