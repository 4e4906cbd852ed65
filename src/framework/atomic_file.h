// Bounded reading of regular files, and writing that never leaves a half-written file behind.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/result.h"

// The outcome of one file operation. error is the whole message, which names the file
// ("Cannot write "/tmp/a.png": Permission denied."); reason is the part after the colon,
// for callers that word their own message ("Cannot save ...", "Cannot export ...").
struct [[nodiscard]] FileResult : Result {
    std::string reason;

    static FileResult Success() { return {}; }
    static FileResult Failure(std::string_view verb, const std::string& path, std::string reason);
};

// Reads at most maxBytes from the start of a regular file (the rest stays unread), so
// that neither a huge file nor an endless device can exhaust the memory. A folder, a
// FIFO or a device is refused without waiting for a writer.
FileResult ReadFileStart(const std::string& path, std::size_t maxBytes, std::vector<unsigned char>* bytes);

// Writes the bytes to a temporary file in the target's folder, flushes it to disk and
// renames it over the target, so readers see either the old file or the new one.
// A symbolic link is followed and stays a link; the file it reaches keeps its mode, and
// its owner and group where the system allows it. Refused: a target that is not a
// regular file, and a file its user may not write (the folder's permission would let
// the rename replace it). On failure the target is untouched and no temporary file remains.
// A target with several names (hard links) is written over in place instead, once the
// complete new file is on disk beside it, so that every name sees the new content.
// Temporary files of this pattern that earlier writes left behind (a program killed
// while saving) go: those older than kStaleTempAge that no writer holds locked.
inline constexpr long kStaleTempAge = 600;  // seconds
// lastCheck, when given, runs once the bytes are on disk and before they take the target's
// place: a reason it returns refuses the write as any failure does.
FileResult WriteFileAtomically(const std::string& path, std::span<const unsigned char> bytes,
                               const std::function<std::string()>& lastCheck = {});
// The same for a file made of pieces, written one after another.
FileResult WriteFileAtomically(const std::string& path, std::span<const std::span<const unsigned char>> pieces,
                               const std::function<std::string()>& lastCheck = {});
FileResult WriteFileAtomically(const std::string& path, std::string_view text);
