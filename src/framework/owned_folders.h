// Private temporary folders that say which process made them, so that folders left by a
// killed program can be told from those of a program still running and cleared away.
#pragma once

#include <chrono>
#include <filesystem>
#include <string_view>

// Writes the file naming this process into the folder; false when it cannot be written.
bool MarkFolderOwner(const std::filesystem::path& folder);

// Removes every folder directly in parent whose name starts with prefix and whose
// process no longer runs. A folder without the owner file (made by an older version, or
// killed before it was written) goes once nothing in it changed for unmarkedAge. Files,
// links and other users' folders are left alone. Returns how many folders went.
int RemoveAbandonedFolders(const std::filesystem::path& parent, std::string_view prefix,
                           std::chrono::seconds unmarkedAge = std::chrono::hours(1));
