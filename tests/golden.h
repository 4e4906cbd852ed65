// Golden files: a case's expected output lives in the repository; on a mismatch the
// actual output is written beside it as NAME.out.EXT, ready to diff and promote.
#pragma once

#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "test_files.h"

inline std::string TestPath(const std::string& relative) { return std::string(POLYDROM_TEST_DIR) + "/" + relative; }

// Compares actual with the golden file at tests/<relative>; "golden/batch/box.txt"
// fails with golden/batch/box.out.txt written beside it.
inline void ExpectGolden(const std::string& relative, const std::string& actual)
{
    const std::string path = TestPath(relative);
    const std::string expected = ReadText(path);
    if (expected == actual) return;
    const auto dot = path.find_last_of('.');
    const std::string out = path.substr(0, dot) + ".out" + path.substr(dot);
    std::ofstream(out, std::ios::binary) << actual;
    ADD_FAILURE() << "output differs from " << path << "; actual output written to " << out;
}
