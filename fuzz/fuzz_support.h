// What the fuzz targets share: a check that stops the run, a scratch file of this
// process, reading the input, and the model's state as bytes to compare.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include <unistd.h>

#include "framework/archive.h"
#include "model/model_arrays.h"
#include "model/polydrom_doc.h"

// A property that must hold for every input; a failure is a finding, so it aborts and
// libFuzzer (or the replay under ctest) reports the input.
#define FUZZ_CHECK(condition) \
    do { \
        if (!(condition)) { \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort(); \
        } \
    } while (false)

// A file that only this process uses, removed when it ends. It lies in /dev/shm where
// there is one: saving syncs the file to its disk, which in memory costs nothing.
class ScratchFile {
public:
    explicit ScratchFile(const std::string& name)
        : m_path((Folder() / ("polydrom-fuzz-" + std::to_string(::getpid()) + "-" + name)).string())
    {
    }
    ~ScratchFile()
    {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
    }
    const std::string& Path() const { return m_path; }
    void Write(std::span<const std::uint8_t> bytes) const
    {
        std::FILE* file = std::fopen(m_path.c_str(), "wb");
        FUZZ_CHECK(file != nullptr);
        FUZZ_CHECK(bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
        FUZZ_CHECK(std::fclose(file) == 0);
    }

private:
    static std::filesystem::path Folder()
    {
        const std::filesystem::path memory = "/dev/shm";
        std::error_code ignored;
        if (std::filesystem::is_directory(memory, ignored) && ::access(memory.c_str(), W_OK) == 0) return memory;
        return std::filesystem::temp_directory_path();
    }

    std::string m_path;
};

// Takes values off the front of the input; past its end every value is 0.
class InputReader {
public:
    explicit InputReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    bool Done() const { return m_pos >= m_bytes.size(); }
    std::uint8_t Byte() { return m_pos < m_bytes.size() ? m_bytes[m_pos++] : 0; }
    // Little-endian; each byte is taken in its own statement, so that every compiler
    // reads an input the same way (the order of operands' evaluation is unspecified).
    std::uint16_t Word()
    {
        const unsigned low = Byte();
        return static_cast<std::uint16_t>(low | unsigned(Byte()) << 8);
    }
    std::uint32_t Long()
    {
        const std::uint32_t low = Word();
        return low | std::uint32_t(Word()) << 16;
    }
    float Float()
    {
        const std::uint32_t bits = Long();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    double Double()
    {
        const std::uint64_t low = Long();
        const std::uint64_t bits = low | std::uint64_t(Long()) << 32;
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_pos = 0;
};

// The bytes of everything a model file holds, live entries only: counts, X, Y, Z,
// selection, edge ends, face corners. Two models are the same model when these are equal.
inline std::vector<std::uint8_t> FileContent(const CPolydromDoc& doc)
{
    // Exactly the bytes a save writes: the file's own layout, face block included.
    CArchive ar;
    StoreModel(ar, doc.LiveArrays());
    return ar.Bytes();
}

// The model every command must leave: counts in range, finite coordinates, selection
// states 0 or 1, edges between existing vertices, and finite view copies. It is exactly
// what a file may hold, so it can always be saved.
inline void CheckModelInvariants(const CPolydromDoc& doc)
{
    FUZZ_CHECK(doc.GetVertexCount() >= 0 && doc.GetVertexCount() <= doc.m_limits.vertices);
    FUZZ_CHECK(doc.GetEdgeCount() >= 0 && doc.GetEdgeCount() <= doc.m_limits.edges);
    FUZZ_CHECK(doc.GetFaceCount() >= 0 && doc.GetFaceCount() <= doc.m_limits.faces);
    FUZZ_CHECK(doc.m_y.size() == doc.m_x.size() && doc.m_z.size() == doc.m_x.size() &&
               doc.m_sel.size() == doc.m_x.size() && doc.m_dup.size() == doc.m_x.size());
    FUZZ_CHECK(doc.m_edgeTo.size() == doc.m_edgeFrom.size() && doc.m_edgeUsed.size() == doc.m_edgeFrom.size());
    FUZZ_CHECK(doc.m_face.size() % 3 == 0);
    for (int i = 0; i < doc.GetVertexCount(); ++i) {
        FUZZ_CHECK(std::isfinite(doc.m_x[i]) && std::isfinite(doc.m_y[i]) && std::isfinite(doc.m_z[i]));
        FUZZ_CHECK(doc.m_sel[i] == 0 || doc.m_sel[i] == 1);
    }
    for (int j = 0; j < doc.GetEdgeCount(); ++j) {
        FUZZ_CHECK(doc.m_edgeFrom[j] >= 0 && doc.m_edgeFrom[j] < doc.GetVertexCount());
        FUZZ_CHECK(doc.m_edgeTo[j] >= 0 && doc.m_edgeTo[j] < doc.GetVertexCount());
    }
    // Faces obey every rule of the file (corners, sides that are edges, none twice):
    // storing the model checks them all, and throws otherwise.
    if (doc.GetFaceCount() > 0) {
        bool stored = true;
        try {
            CArchive ar;
            StoreModel(ar, doc.LiveArrays());
        } catch (const CArchiveException&) {
            stored = false;
        }
        FUZZ_CHECK(stored);
    }
    FUZZ_CHECK(std::isfinite(doc.m_step));
}
