// Golden files: a case's expected output lives in the repository. On a mismatch the
// actual output is written beside it as NAME.out.EXT, ready to diff; a passing case
// removes a stale NAME.out.EXT. With POLYDROM_PROMOTE_GOLDEN=1 in the environment a
// mismatch instead writes the actual output over the golden file (review it with git diff).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include <gtest/gtest.h>

#include "test_files.h"

inline std::string TestPath(const std::string& relative) { return std::string(POLYDROM_TEST_DIR) + "/" + relative; }

// "golden/batch/box.txt" -> "golden/batch/box.out.txt"; "a/b.png", ".diff" -> "a/b.diff.png".
inline std::string GoldenSibling(const std::string& path, const std::string& tag = ".out")
{
    const auto dot = path.find_last_of('.');
    const auto slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + tag;
    return path.substr(0, dot) + tag + path.substr(dot);
}

inline bool PromotingGoldenFiles()
{
    const char* promote = std::getenv("POLYDROM_PROMOTE_GOLDEN");
    return promote && std::string(promote) == "1";
}

// A passing comparison leaves no NAME.out.EXT (nor a difference image) of an earlier failure.
inline void RemoveStaleGoldenOutputs(const std::string& path)
{
    std::error_code ignored;
    std::filesystem::remove(GoldenSibling(path), ignored);
    std::filesystem::remove(GoldenSibling(path, ".diff"), ignored);
}

// Compares actual with the golden file at tests/<relative>; "golden/batch/box.txt"
// fails with golden/batch/box.out.txt written beside it.
inline void ExpectGolden(const std::string& relative, const std::string& actual)
{
    const std::string path = TestPath(relative);
    const std::string expected = ReadText(path);
    RemoveStaleGoldenOutputs(path);
    if (expected == actual) return;
    if (PromotingGoldenFiles()) {
        std::ofstream(path, std::ios::binary) << actual;
        std::cout << "promoted " << path << '\n';
        return;
    }
    const std::string out = GoldenSibling(path);
    std::ofstream(out, std::ios::binary) << actual;
    ADD_FAILURE() << "output differs from " << path << "; actual output written to " << out
                  << " (POLYDROM_PROMOTE_GOLDEN=1 makes it the golden file)";
}
