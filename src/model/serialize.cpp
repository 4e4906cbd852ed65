// The ".pdm" model file: counts, then every X, Y, Z, selection, edge start and edge end,
// and after them, for a model with faces, the face block. A reader that knows only the
// first part stops after the edges, so it still opens a file with faces as a wireframe.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <span>
#include <string>
#include <vector>

#include "framework/archive.h"
#include "framework/side_by_side.h"
#include "model/model_arrays.h"
#include "model/model_check.h"
#include "model/polydrom_doc.h"

void LoadedModel::Allocate(std::int32_t n, std::int32_t e, std::int32_t f)
{
    AllocateVerticesAndEdges(n, e);
    AllocateFaces(f);
}

void LoadedModel::AllocateVerticesAndEdges(std::int32_t n, std::int32_t e)
{
    for (auto* floats : {&x, &y, &z}) floats->reserve(WithRoom(std::size_t(n)));
    for (auto* ints : {&sel, &dup}) ints->reserve(WithRoom(std::size_t(n)));
    for (auto* ints : {&from, &to, &used}) ints->reserve(WithRoom(std::size_t(e)));
    for (auto* floats : {&x, &y, &z}) floats->resize(std::size_t(n));
    sel.resize(std::size_t(n));
    from.resize(std::size_t(e));
    to.resize(std::size_t(e));
}

void LoadedModel::AllocateFaces(std::int32_t f)
{
    face.reserve(WithRoom(3 * std::size_t(f)));
    face.resize(3 * std::size_t(f));
}

namespace {

// "FACE" as the little-endian word the block starts with.
constexpr std::int32_t kFaceTag = 0x45434146;
constexpr std::int32_t kFaceVersion = 1;

void CheckCount(const char* what, std::int32_t count, std::int32_t limit)
{
    if (count < 0)
        throw CArchiveException(std::string(what) + " count " + std::to_string(count) + " is negative");
    if (count > limit)
        throw CArchiveException(std::string(what) + " count " + std::to_string(count) + " exceeds " +
                                std::to_string(limit));
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
    const auto n = std::size_t(model.vertices), e = std::size_t(model.edges), f = std::size_t(model.faces);
    // A big model is checked beside the writing of its bytes, which the check's refusal
    // then stops short of replacing the file. Its arrays go to the file from where they
    // are, not through a copy.
    if (n + e + f > kWorkAside)
        ar.CheckAside([model] { CheckModel(model); });
    else
        CheckModel(model);
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
    model.Allocate(n, e, f);
    for (auto* floats : {&model.x, &model.y, &model.z}) ar.Load(std::span(*floats));
    ar.Load(std::span(model.sel));
    for (auto* ints : {&model.from, &model.to}) ar.Load(std::span(*ints));
    if (f > 0) {
        std::int32_t header[3];
        ar.Load(std::span(header));
        ar.Load(std::span(model.face));
    }
    Adopt(model, n, e, f);
}

void CPolydromDoc::Adopt(LoadedModel& model, std::int32_t n, std::int32_t e, std::int32_t f)
{
    const ModelArrays arrays{n, e, model.x.data(), model.y.data(), model.z.data(), model.sel.data(),
                             model.from.data(), model.to.data(), f, model.face.data()};
    // The history's first state is built before anything is taken over, so that running
    // out of memory for it leaves the document as it was. For a big model its copy is made
    // on a second thread while this one checks the model: both only read it.
    CModelHistory history;
    SideBySide(
        std::size_t(n) + std::size_t(e) + std::size_t(f) > kWorkAside, [&] { CheckModel(arrays); },
        [&] { history.Reset(arrays); });
    model.dup.assign(std::size_t(n), -1);
    model.used.assign(std::size_t(e), 0);

    // Everything is valid: take it over. Members the file does not hold keep their values.
    SwapArrays(model);
    m_history = std::move(history);
}

namespace {

// An open file descriptor, closed when it goes.
struct OpenFile {
    int fd = -1;
    ~OpenFile()
    {
        if (fd >= 0) ::close(fd);
    }
};

// Reads exactly `bytes` bytes at the offset; false when the file ends first or fails.
bool ReadAt(int fd, void* into, std::size_t bytes, std::size_t at)
{
    auto* p = static_cast<unsigned char*>(into);
    while (bytes > 0) {
        const ssize_t got = ::pread(fd, p, bytes, static_cast<off_t>(at));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        p += got;
        at += std::size_t(got);
        bytes -= std::size_t(got);
    }
    return true;
}

}  // namespace

void CPolydromDoc::ReadDocument(const std::string& path)
{
    if (!ReadPlainFile(path)) CDocument::ReadDocument(path);
}

bool CPolydromDoc::ReadPlainFile(const std::string& path)
{
    // Straight from the file into the model's arrays: no copy of the file in memory, which
    // for a model of millions of vertices costs as much time and memory as the model. Only
    // a regular file whose counts and face block are sound is read here; whatever else a
    // file holds goes the general way, which words its reasons.
    if constexpr (std::endian::native != std::endian::little) return false;
    OpenFile file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)};
    struct stat info {};
    if (file.fd < 0 || ::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode)) return false;
    const auto size = static_cast<std::size_t>(info.st_size);
    std::int32_t counts[2] = {0, 0};
    if (!ReadAt(file.fd, counts, 8, 0)) return false;
    const std::int32_t n = counts[0], e = counts[1];
    if (n < 0 || e < 0 || n > MAX_VERTICES || e > MAX_EDGES) return false;
    const std::size_t edgesEnd = 8 + 16 * std::size_t(n) + 8 * std::size_t(e);
    if (size < edgesEnd) return false;
    std::int32_t f = 0;
    std::int32_t header[3] = {0, 0, 0};
    if (size - edgesEnd >= 4) {
        if (!ReadAt(file.fd, header, std::min<std::size_t>(12, size - edgesEnd), edgesEnd)) return false;
        if (header[0] == kFaceTag) {
            if (size - edgesEnd < 12 || header[1] != kFaceVersion || header[2] < 0 || header[2] > MAX_FACES ||
                size - edgesEnd != 12 + 12 * std::size_t(header[2]))
                return false;
            f = header[2];
        }
    }
    LoadedModel model;
    // The faces of a big model (a third of its bytes) are read on a second thread.
    bool read = false, facesRead = true;
    SideBySide(
        std::size_t(n) + std::size_t(e) + std::size_t(f) > kWorkAside,
        [&] {
            model.AllocateVerticesAndEdges(n, e);
            std::size_t at = 8;
            auto next = [&](auto& array) {
                const std::size_t bytes = array.size() * 4;
                const bool ok = ReadAt(file.fd, array.data(), bytes, at);
                at += bytes;
                return ok;
            };
            read = next(model.x) && next(model.y) && next(model.z) && next(model.sel) && next(model.from) &&
                   next(model.to);
        },
        [&] {
            model.AllocateFaces(f);
            if (f > 0) facesRead = ReadAt(file.fd, model.face.data(), 12 * std::size_t(f), edgesEnd + 12);
        });
    if (!read || !facesRead) return false;
    Adopt(model, n, e, f);
    return true;
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
