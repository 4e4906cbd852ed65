// The short-lived helper process an import runs in: whatever the importer does with a
// hostile file (crash, hang, run out of memory), the program and its model survive it.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// What an import hands back: plain vertex, edge and face arrays, edges and faces as
// vertex indices (three corners a face, wound as in the file).
struct ImportedMesh {
    std::vector<float> x, y, z;
    std::vector<std::int32_t> from, to;
    std::vector<std::int32_t> faces;
};

// Called now and then while the helper works, with the fraction done (0 to 1, or a
// negative number while unknown); returning false cancels the import.
using ImportProgress = std::function<bool(float fraction)>;

struct ChildLimits {
    std::chrono::milliseconds time{60000};
    // The room left in the model: a mesh needing more is answered with its counts alone.
    int maxVertices = 0;
    int maxEdges = 0;
    int maxFaces = 0;
};

// The helper's side of the pipe. A reply is one final message (a mesh or an error)
// after any number of progress reports.
class ChildChannel {
public:
    ChildChannel(int fd, const ChildLimits& limits) : m_fd(fd), m_limits(limits) {}
    void Progress(float fraction);
    void Error(std::string_view reason);
    // The counts, and the arrays only when they fit the room (the parent would refuse
    // a larger mesh anyway, and need not take in a huge reply to say so).
    void Mesh(const ImportedMesh& mesh);
    // Any bytes at all: lets tests play a misbehaving helper.
    void Raw(std::string_view bytes);

private:
    int m_fd;
    ChildLimits m_limits;
    float m_lastProgress = -2.0f;
};

// What came back, already checked: every coordinate storable, every edge between two
// different existing vertices, no edge twice, every face on three different vertices
// joined by edges, no face twice, nothing more than the room.
struct ChildAnswer {
    enum class Kind {
        Mesh,       // mesh holds the arrays
        TooLarge,   // vertices and edges hold the counts the mesh would need
        Refused,    // the importer's reason (a bad file)
        Failed,     // the helper crashed, hung, or answered nonsense; reason says how
        Cancelled,  // the progress callback said stop
    };
    Kind kind = Kind::Failed;
    std::string reason;
    ImportedMesh mesh;
    std::int64_t vertices = 0, edges = 0, faces = 0;
};

// The reason a helper gives when the mesh did not fit its memory ceiling.
inline constexpr std::string_view kHelperOutOfMemory = "the importer ran out of memory";
// That ceiling: what the helper may take beyond what it inherits.
std::uint64_t HelperMemoryMegabytes();

// Runs work in a forked child process with a time limit (and, outside sanitizer
// builds, a memory limit), reads its reply through a pipe and checks it.
ChildAnswer RunImportChild(const std::function<void(ChildChannel&)>& work, const ChildLimits& limits,
                           const ImportProgress& progress);

// The parent's reading of a whole reply, given in pieces of that many bytes as if the
// helper had sent them and ended: for tests and the fuzzer.
ChildAnswer ReadChildReply(std::string_view bytes, const ChildLimits& limits, std::size_t piece = 4096);
