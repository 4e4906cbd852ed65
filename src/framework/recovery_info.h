// The small text file beside a recovery copy: whose model it is, when it was taken, and
// which program keeps it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/process_identity.h"
#include "framework/result.h"

// The file reads, one "key value" per line:
//   Polydrom recovery copy 1
//   original /home/ann/box.pdm      (just "original" for an untitled model)
//   time 1714567890                 (seconds since 1970, UTC)
//   pid 4242
//   boot 7d1c0c3a-...               (may be empty)
//   started 123456                  (may be empty)
// A backslash, line feed or carriage return in the file name is written \\, \n or \r.
struct RecoveryInfo {
    std::string original;  // the model's file; empty for an untitled model
    std::int64_t time = 0;
    ProcessIdentity process;
};

std::string FormatRecoveryInfo(const RecoveryInfo& info);
// Fills info from the text, or says what is wrong with it ("no pid line").
Result ParseRecoveryInfo(std::string_view text, RecoveryInfo* info);
