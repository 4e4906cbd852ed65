// The layer rules, checked by reading every #include of the source tree.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// One include that breaks a rule, as "src/model/history.h:9: ..." with the reason.
struct IncludeViolation {
    std::string file;  // relative to the root, with '/' separators
    int line = 0;
    std::string include;
    std::string reason;
};

// Reads every .h and .cpp under root/src, tests, bench and fuzz and returns the
// includes that break a layer rule:
//  - framework sees only framework; model framework and model; view those and view;
//    the app's command table and batch mode those and app; the Qt shell and its
//    tests all of them; main.cpp, the benchmarks and the fuzz targets everything;
//  - only the Qt shell, its tests and what stands above it (main.cpp, benchmarks, fuzz
//    targets) include a Qt header;
//  - the tests of a layer follow that layer's rule, and their helpers at the top of
//    tests/ count as framework's;
//  - an include of the project is written from the top of a layer ("model/history.h"),
//    or names a test helper beside the file or at the top of tests/: a header that
//    resolves nowhere is reported, since the build's layered include folders would
//    find it by another route or not at all.
std::vector<IncludeViolation> CheckIncludeRules(const std::filesystem::path& root);

// "src/model/history.h:9: includes \"view/polydrom_view.h\": model may not see view".
std::string Describe(const IncludeViolation& violation);
