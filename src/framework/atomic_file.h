// Whole-file reading, and writing that never leaves a half-written file behind.
#pragma once

#include <span>
#include <string>
#include <vector>

// Reads the whole file; on failure returns false and a reason such as "No such file or directory".
bool ReadWholeFile(const std::string& path, std::vector<unsigned char>* bytes, std::string* reason);

// Writes the bytes to a temporary file in the target's folder, flushes it to disk and
// renames it over the target, so readers see either the old file or the new one.
// On failure the target is untouched, the temporary file removed, and the reason given.
bool WriteFileAtomically(const std::string& path, std::span<const unsigned char> bytes, std::string* reason);
bool WriteFileAtomically(const std::string& path, std::string_view text, std::string* reason);
