// The ".pdm" model file: counts, then every X, Y, Z, selection, edge start and edge end,
// and after them, for a model with faces, the face block. A reader that knows only the
// first part stops after the edges, so it still opens a file with faces as a wireframe.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "framework/archive.h"
#include "model/model_arrays.h"
#include "model/polydrom_doc.h"

namespace {

// "FACE" as the little-endian word the block starts with.
constexpr std::int32_t kFaceTag = 0x45434146;
constexpr std::int32_t kFaceVersion = 1;

// A loaded model waits here until every value has been checked.
struct LoadedModel {
    std::vector<float> x, y, z;
    std::vector<std::int32_t> sel, from, to, face;
    std::vector<std::int32_t> dup, used;  // not in the file: -1 and 0 for every entry
};

void CheckCount(const char* what, std::int32_t count, std::int32_t limit)
{
    if (count < 0)
        throw CArchiveException(std::string(what) + " count " + std::to_string(count) + " is negative");
    if (count > limit)
        throw CArchiveException(std::string(what) + " count " + std::to_string(count) + " exceeds " +
                                std::to_string(limit));
}

void CheckCoordinate(const char* axis, int i, float value)
{
    if (!std::isfinite(value))
        throw CArchiveException(std::string(axis) + " of vertex " + std::to_string(i) + " is not a finite number");
}

std::uint64_t SideKey(std::int32_t a, std::int32_t b)
{
    return std::uint64_t(std::uint32_t(std::min(a, b))) << 32 | std::uint32_t(std::max(a, b));
}

// The faces' rules: corners that are vertices, three different ones, sides that are
// edges, and no two faces on the same three vertices.
void CheckFaces(std::int32_t n, std::int32_t e, const std::int32_t* from, const std::int32_t* to, std::int32_t f,
                const std::int32_t* face)
{
    if (f == 0) return;
    for (int k = 0; k < f; ++k) {
        const std::int32_t* c = face + 3 * std::size_t(k);
        for (int m = 0; m < 3; ++m)
            if (c[m] < 0 || c[m] >= n)
                throw CArchiveException("face " + std::to_string(k) + " refers to vertex " + std::to_string(c[m]) +
                                        " of " + std::to_string(n));
        if (c[0] == c[1] || c[1] == c[2] || c[2] == c[0])
            throw CArchiveException("face " + std::to_string(k) + " has the same vertex at two corners");
    }
    std::vector<std::uint64_t> sides(static_cast<std::size_t>(e));
    for (int j = 0; j < e; ++j) sides[j] = SideKey(from[j], to[j]);
    std::sort(sides.begin(), sides.end());
    std::vector<std::pair<std::array<std::int32_t, 3>, std::int32_t>> sets(static_cast<std::size_t>(f));
    for (int k = 0; k < f; ++k) {
        const std::int32_t* c = face + 3 * std::size_t(k);
        for (int m = 0; m < 3; ++m) {
            const std::int32_t a = c[m], b = c[(m + 1) % 3];
            if (!std::binary_search(sides.begin(), sides.end(), SideKey(a, b)))
                throw CArchiveException("side " + std::to_string(a) + "-" + std::to_string(b) + " of face " +
                                        std::to_string(k) + " is not an edge");
        }
        std::array<std::int32_t, 3> set{c[0], c[1], c[2]};
        std::sort(set.begin(), set.end());
        sets[k] = {set, k};
    }
    std::sort(sets.begin(), sets.end());
    for (std::size_t k = 1; k < sets.size(); ++k)
        if (sets[k].first == sets[k - 1].first)
            throw CArchiveException("face " + std::to_string(sets[k].second) + " has the same vertices as face " +
                                    std::to_string(sets[k - 1].second));
}

// The rules every model file obeys, for a model read from a file and for one about to
// be stored alike, so that every saved file opens again.
void CheckModel(const ModelArrays& m)
{
    for (int i = 0; i < m.vertices; ++i) {
        CheckCoordinate("X", i, m.x[i]);
        CheckCoordinate("Y", i, m.y[i]);
        CheckCoordinate("Z", i, m.z[i]);
        if (m.sel[i] != 0 && m.sel[i] != 1)
            throw CArchiveException("vertex " + std::to_string(i) + " has selection state " +
                                    std::to_string(m.sel[i]) + " (only 0 and 1 are valid)");
    }
    for (int j = 0; j < m.edges; ++j) {
        for (std::int32_t end : {m.from[j], m.to[j]}) {
            if (end < 0 || end >= m.vertices)
                throw CArchiveException("edge " + std::to_string(j) + " refers to vertex " + std::to_string(end) +
                                        " of " + std::to_string(m.vertices));
        }
    }
    CheckFaces(m.vertices, m.edges, m.from, m.to, m.faces, m.face);
}

// How many faces the bytes after the edges hold: none when there are none (or they are
// not a face block: a reader of the first part never looked at them), otherwise the
// block's count, once its header and exact length are checked.
std::int32_t FaceCount(std::span<const unsigned char> after)
{
    if (after.size() < 4) return 0;
    CArchive block(after);
    std::int32_t tag = 0, version = 0, count = 0;
    block >> tag;
    if (tag != kFaceTag) return 0;
    if (after.size() < 12)
        throw CArchiveException("the face block ends after " + std::to_string(after.size()) + " of its 12 header bytes");
    block >> version >> count;
    if (version != kFaceVersion)
        throw CArchiveException("the face block has version " + std::to_string(version) + " (only 1 is known)");
    CheckCount("face", count, MAX_FACES);
    const std::size_t expected = 12 + 12 * std::size_t(count);
    if (after.size() != expected)
        throw CArchiveException("the face block of " + std::to_string(count) + " faces needs " +
                                std::to_string(expected) + " bytes, but " + std::to_string(after.size()) +
                                " follow the edges");
    return count;
}

}  // namespace

void StoreModel(CArchive& ar, const ModelArrays& model)
{
    // A model no file may hold (a coordinate pushed to infinity) is refused, never written.
    CheckCount("vertex", model.vertices, MAX_VERTICES);
    CheckCount("edge", model.edges, MAX_EDGES);
    CheckCount("face", model.faces, MAX_FACES);
    CheckModel(model);
    const auto n = std::size_t(model.vertices), e = std::size_t(model.edges), f = std::size_t(model.faces);
    ar.Reserve(8 + 16 * n + 8 * e + (f > 0 ? 12 + 12 * f : 0));
    ar << model.vertices << model.edges;
    ar.Store(std::span(model.x, n));
    ar.Store(std::span(model.y, n));
    ar.Store(std::span(model.z, n));
    ar.Store(std::span(model.sel, n));
    ar.Store(std::span(model.from, e));
    ar.Store(std::span(model.to, e));
    if (f == 0) return;  // a model without faces keeps the bytes it always had
    ar << kFaceTag << kFaceVersion << model.faces;
    ar.Store(std::span(model.face, 3 * f));
}

void CPolydromDoc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        StoreModel(ar, LiveArrays());
        return;
    }

    // Every count is checked against the limits and the bytes there are before anything
    // is allocated, so a file that promises more than it holds costs nothing.
    std::int32_t n = 0, e = 0;
    ar >> n >> e;
    CheckCount("vertex", n, MAX_VERTICES);
    CheckCount("edge", e, MAX_EDGES);
    const std::size_t expected = 8 + 16 * std::size_t(n) + 8 * std::size_t(e);
    if (ar.Size() < expected)
        throw CArchiveException("file ends after " + std::to_string(ar.Size()) + " of " +
                                std::to_string(expected) + " bytes");
    const std::int32_t f = FaceCount(ar.Input().subspan(expected));

    LoadedModel model;
    const auto vn = std::size_t(n), en = std::size_t(e);
    for (auto* floats : {&model.x, &model.y, &model.z}) {
        floats->resize(vn);
        ar.Load(std::span(*floats));
    }
    model.sel.resize(vn);
    ar.Load(std::span(model.sel));
    for (auto* ints : {&model.from, &model.to}) {
        ints->resize(en);
        ar.Load(std::span(*ints));
    }
    if (f > 0) {
        std::int32_t header[3];
        ar.Load(std::span(header));
        model.face.resize(3 * std::size_t(f));
        ar.Load(std::span(model.face));
    }

    model.dup.assign(vn, -1);
    model.used.assign(en, 0);
    CheckModel({n, e, model.x.data(), model.y.data(), model.z.data(), model.sel.data(), model.from.data(),
                model.to.data(), f, model.face.data()});

    // Everything is valid: take it over. Members the file does not hold keep their values.
    m_x.swap(model.x);
    m_y.swap(model.y);
    m_z.swap(model.z);
    m_sel.swap(model.sel);
    m_edgeFrom.swap(model.from);
    m_edgeTo.swap(model.to);
    m_face.swap(model.face);
    m_dup.swap(model.dup);
    m_edgeUsed.swap(model.used);
    m_history.Reset(LiveArrays());
}

Result CPolydromDoc::BytesToRead(const std::string& path, std::size_t* bytes) const
{
    *bytes = MaxFileBytes();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return Result::Success();  // the read that follows says why
    // The little-endian word at the offset, or nothing when the file ends before it.
    auto wordAt = [fd](std::size_t at, std::int32_t* word) {
        unsigned char b[4];
        if (::pread(fd, b, 4, static_cast<off_t>(at)) != 4) return false;
        CArchive(std::span<const unsigned char>(b, 4)) >> *word;
        return true;
    };
    struct stat info {};
    std::int32_t n = 0, e = 0, tag = 0, f = 0;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && wordAt(0, &n) && wordAt(4, &e) && n >= 0 && e >= 0 &&
        n <= MAX_VERTICES && e <= MAX_EDGES) {
        const std::size_t edgesEnd = 8 + 16 * std::size_t(n) + 8 * std::size_t(e);
        // One byte more than announced, so that a longer file shows; a face block's own count adds to it.
        *bytes = edgesEnd + 13;
        if (wordAt(edgesEnd, &tag) && tag == kFaceTag && wordAt(edgesEnd + 8, &f) && f >= 0 && f <= MAX_FACES)
            *bytes = edgesEnd + 12 + 12 * std::size_t(f) + 1;
    }
    ::close(fd);
    return Result::Success();
}

std::size_t CPolydromDoc::MaxFileBytes() const
{
    // The counts, four 4-byte values per vertex and two per edge, and the face block, at the limits.
    return 8 + 16 * std::size_t(MAX_VERTICES) + 8 * std::size_t(MAX_EDGES) + 12 + 12 * std::size_t(MAX_FACES);
}
