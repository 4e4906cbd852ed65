// The import helper process: fork, the little protocol on the pipe, and the parent's
// checks of everything the helper sends back.
//
// The helper is forked, not started from a program file, so every binary that links
// the model (the desktop program, batch mode, tests, benchmarks) can import without
// finding a second executable. Its reply is a stream of records, each a tag byte and
// a payload in the machine's own byte order (both ends are the same program):
//   'P' float                         progress, 0 to 1 or negative while unknown
//   'E' uint32 n, n bytes             the importer's reason for refusing the file
//   'M' int64 v, e, f, arrays         the mesh: x, y, z (v floats each), from, to (e int32 each),
//                                     faces (3f int32); the arrays only when the counts fit the room
#include "model/formats/import_child.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "framework/child_process.h"
#include "model/coordinate_range.h"
#include "model/mesh_topology.h"

namespace {

constexpr char kProgress = 'P';
constexpr char kError = 'E';
constexpr char kMesh = 'M';
// Longer reasons are cut; a reason is one line for a message box or a batch error.
constexpr std::size_t kMaxReason = 2000;
// How often the parent looks at the clock and asks the progress callback.
constexpr std::chrono::milliseconds kTick{50};
// Address space the helper may add to what it inherits: enough for the importer to read a
// 5-million-triangle file at the file-size ceiling (its own copies, the joined vertices
// and the edges), and a bound on a hostile file, which fails in the helper alone.
constexpr std::uint64_t kHelperMemory = std::uint64_t(8) << 30;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

void WriteAll(int fd, const void* data, std::size_t size)
{
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) ::_exit(3);  // the parent has gone or given up: nobody to answer
        p += n;
        size -= static_cast<std::size_t>(n);
    }
}

template <typename T>
void WriteArray(int fd, const std::vector<T>& values)
{
    WriteAll(fd, values.data(), values.size() * sizeof(T));
}

// The helper's own limits: no core file for a crash the parent reports anyway, and a
// memory ceiling, so a file that would take all memory fails in the helper alone.
// AddressSanitizer reserves terabytes of address space up front, so its builds go without.
// Of the parent's files the helper keeps only its end of the pipe (returned, perhaps
// moved): it must not write into the program's output, nor hold open the pipes of other
// child processes, nor print the library's assertion messages into a batch error.
int ConfineHelper(int pipe)
{
    if (pipe <= STDERR_FILENO) pipe = ::fcntl(pipe, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    const int null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    if (null >= 0) {
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        // A sanitizer's report of a fault in the helper is worth seeing.
        if (!kSanitized) ::dup2(null, STDERR_FILENO);
    }
    ::close_range(STDERR_FILENO + 1, static_cast<unsigned>(pipe) - 1, 0);
    ::close_range(static_cast<unsigned>(pipe) + 1, ~0u, 0);

    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    if (!kSanitized) {
        std::uint64_t inherited = 0;
        if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
            unsigned long long pages = 0;
            if (std::fscanf(statm, "%llu", &pages) == 1)
                inherited = pages * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
            std::fclose(statm);
        }
        const rlimit memory{inherited + kHelperMemory, inherited + kHelperMemory};
        ::setrlimit(RLIMIT_AS, &memory);
    }
    // The parent closing the pipe (cancel, time limit) ends the helper at its next write.
    ::signal(SIGPIPE, SIG_DFL);
    return pipe;
}

std::string HowItEnded(const ChildEnd& end)
{
    if (end.how == ChildEnd::How::Signalled) {
        const char* name = ::strsignal(end.code);
        const std::string signal = std::to_string(end.code) + (name ? std::string(", ") + name : "");
        // The library's readers crash on some damaged files: that, not the program, is
        // what the user can act on. Any other signal came from outside (the system short
        // of memory, a user's kill).
        const bool crash = end.code == SIGSEGV || end.code == SIGBUS || end.code == SIGABRT || end.code == SIGFPE ||
                           end.code == SIGILL;
        if (crash) return "the importer crashed reading it (signal " + signal + "), so it is probably damaged";
        return "the importer was stopped by signal " + signal;
    }
    if (end.how == ChildEnd::How::Exited && end.code != 0)
        return "the importer stopped with exit status " + std::to_string(end.code);
    return "the importer ended without an answer";
}

// One line of plain text: a reason goes into a message box or a single batch error line.
std::string OneLine(std::string_view text)
{
    std::string line;
    for (char c : text) {
        const bool control = static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
        if (control) {
            if (!line.empty() && line.back() != ' ') line += ' ';
        } else {
            line += c;
        }
    }
    while (!line.empty() && (line.back() == ' ' || line.back() == '.')) line.pop_back();
    return line;
}

// The parent's reading of the helper's reply, as bytes arrive.
class Reply {
public:
    explicit Reply(const ChildLimits& limits) : m_limits(limits) {}

    // Takes more bytes; false when they break the protocol (Problem() says how).
    bool Take(const char* data, std::size_t size)
    {
        if (m_done) return Broken("it sent more after its answer");
        m_buffer.append(data, size);
        while (!m_done && m_pos < m_buffer.size()) {
            const std::size_t before = m_pos;
            if (!Parse()) return false;
            if (m_pos == before) break;  // the record is not complete yet
        }
        if (m_done && m_pos < m_buffer.size()) return Broken("it sent more after its answer");
        m_buffer.erase(0, m_pos);
        m_pos = 0;
        return true;
    }

    float Fraction() const { return m_fraction; }
    bool Done() const { return m_done; }
    const std::string& Problem() const { return m_problem; }
    ChildAnswer TakeAnswer() { return std::move(m_answer); }

private:
    std::size_t Available() const { return m_buffer.size() - m_pos; }

    template <typename T>
    T Read(std::size_t at) const
    {
        T value;
        std::memcpy(&value, m_buffer.data() + m_pos + at, sizeof value);
        return value;
    }

    template <typename T>
    void ReadArray(std::size_t at, std::size_t count, std::vector<T>* values) const
    {
        values->resize(count);
        if (count > 0) std::memcpy(values->data(), m_buffer.data() + m_pos + at, count * sizeof(T));
    }

    bool Broken(std::string what)
    {
        m_problem = "the importer's answer is invalid: " + what;
        return false;
    }

    // Consumes one record if it is complete; false on a protocol error.
    bool Parse()
    {
        switch (m_buffer[m_pos]) {
        case kProgress: {
            if (Available() < 1 + sizeof(float)) return true;
            const float f = Read<float>(1);
            m_fraction = std::isfinite(f) ? std::min(f, 1.0f) : -1.0f;
            m_pos += 1 + sizeof(float);
            return true;
        }
        case kError: {
            if (Available() < 1 + sizeof(std::uint32_t)) return true;
            const auto length = Read<std::uint32_t>(1);
            if (length > kMaxReason) return Broken("a reason of " + std::to_string(length) + " bytes");
            if (Available() < 1 + sizeof(std::uint32_t) + length) return true;
            m_answer.kind = ChildAnswer::Kind::Refused;
            m_answer.reason = OneLine(std::string_view(m_buffer).substr(m_pos + 5, length));
            if (m_answer.reason.empty()) m_answer.reason = "the importer gave no reason";
            m_pos += 1 + sizeof(std::uint32_t) + length;
            m_done = true;
            return true;
        }
        case kMesh: return ParseMesh();
        default: return Broken("an unknown record");
        }
    }

    bool ParseMesh()
    {
        constexpr std::size_t kHead = 1 + 3 * sizeof(std::int64_t);
        if (Available() < kHead) return true;
        const auto vertices = Read<std::int64_t>(1), edges = Read<std::int64_t>(1 + sizeof(std::int64_t));
        const auto faces = Read<std::int64_t>(1 + 2 * sizeof(std::int64_t));
        if (vertices < 0 || edges < 0 || faces < 0) return Broken("a negative count");
        if (vertices > m_limits.maxVertices || edges > m_limits.maxEdges || faces > m_limits.maxFaces) {
            m_answer.kind = ChildAnswer::Kind::TooLarge;
            m_answer.vertices = vertices;
            m_answer.edges = edges;
            m_answer.faces = faces;
            m_pos += kHead;
            m_done = true;
            return true;
        }
        const auto v = static_cast<std::size_t>(vertices), e = static_cast<std::size_t>(edges);
        const auto f = static_cast<std::size_t>(faces);
        if (Available() < kHead + 3 * v * sizeof(float) + (2 * e + 3 * f) * sizeof(std::int32_t)) return true;
        ImportedMesh& mesh = m_answer.mesh;
        std::size_t at = kHead;
        for (std::vector<float>* axis : {&mesh.x, &mesh.y, &mesh.z}) {
            ReadArray(at, v, axis);
            at += v * sizeof(float);
        }
        for (std::vector<std::int32_t>* ends : {&mesh.from, &mesh.to}) {
            ReadArray(at, e, ends);
            at += e * sizeof(std::int32_t);
        }
        ReadArray(at, 3 * f, &mesh.faces);
        at += 3 * f * sizeof(std::int32_t);
        m_pos += at;
        if (!Check(mesh)) return false;
        m_answer.kind = ChildAnswer::Kind::Mesh;
        m_answer.vertices = vertices;
        m_answer.edges = edges;
        m_answer.faces = faces;
        m_done = true;
        return true;
    }

    // The model's rules, on data from a process that may have been confused by the file.
    bool Check(const ImportedMesh& mesh)
    {
        const std::size_t n = mesh.x.size();
        for (std::size_t i = 0; i < n; ++i)
            if (!IsStorableCoordinate(mesh.x[i]) || !IsStorableCoordinate(mesh.y[i]) ||
                !IsStorableCoordinate(mesh.z[i]))
                return Broken("vertex " + std::to_string(i) + " has a coordinate that is not a finite number");
        for (std::size_t j = 0; j < mesh.from.size(); ++j) {
            const std::int32_t a = mesh.from[j], b = mesh.to[j];
            if (a < 0 || b < 0 || std::size_t(a) >= n || std::size_t(b) >= n)
                return Broken("edge " + std::to_string(j) + " names a vertex that does not exist");
            if (a == b) return Broken("edge " + std::to_string(j) + " joins a vertex to itself");
        }
        // One index of the edges serves both the repeat check and the faces' sides.
        const SideSet edges(n, mesh.from, mesh.to);
        if (edges.HasRepeats()) return Broken("an edge comes twice");
        return CheckFaces(mesh, edges);
    }

    bool CheckFaces(const ImportedMesh& mesh, const SideSet& edges)
    {
        const std::size_t n = mesh.x.size(), faces = mesh.faces.size() / 3;
        for (std::size_t k = 0; k < faces; ++k) {
            const std::int32_t* c = &mesh.faces[3 * k];
            for (int m = 0; m < 3; ++m)
                if (c[m] < 0 || std::size_t(c[m]) >= n)
                    return Broken("face " + std::to_string(k) + " names a vertex that does not exist");
            if (c[0] == c[1] || c[1] == c[2] || c[2] == c[0])
                return Broken("face " + std::to_string(k) + " has the same vertex at two corners");
        }
        for (std::size_t k = 0; k < faces; ++k)
            for (int m = 0; m < 3; ++m)
                if (!edges.Contains(mesh.faces[3 * k + m], mesh.faces[3 * k + (m + 1) % 3]))
                    return Broken("a side of face " + std::to_string(k) + " is not an edge");
        if (!FaceSet(n, mesh.faces).Repeats().empty()) return Broken("a face comes twice");
        return true;
    }

    ChildLimits m_limits;
    std::string m_buffer;
    std::size_t m_pos = 0;
    float m_fraction = -1.0f;
    bool m_done = false;
    std::string m_problem;
    ChildAnswer m_answer;
};

ChildAnswer Answer(ChildAnswer::Kind kind, std::string reason)
{
    ChildAnswer answer;
    answer.kind = kind;
    answer.reason = std::move(reason);
    return answer;
}

}  // namespace

void ChildChannel::Progress(float fraction)
{
    // A report per percent is plenty for a progress bar, and keeps the pipe quiet.
    if (fraction >= 0.0f && m_lastProgress >= 0.0f && std::fabs(fraction - m_lastProgress) < 0.01f) return;
    if (fraction < 0.0f && m_lastProgress < 0.0f && m_lastProgress > -2.0f) return;
    m_lastProgress = fraction;
    char record[1 + sizeof(float)] = {kProgress};
    std::memcpy(record + 1, &fraction, sizeof fraction);
    WriteAll(m_fd, record, sizeof record);
}

void ChildChannel::Error(std::string_view reason)
{
    const auto length = static_cast<std::uint32_t>(std::min(reason.size(), kMaxReason));
    WriteAll(m_fd, &kError, 1);
    WriteAll(m_fd, &length, sizeof length);
    WriteAll(m_fd, reason.data(), length);
}

void ChildChannel::Mesh(const ImportedMesh& mesh)
{
    const auto vertices = static_cast<std::int64_t>(mesh.x.size());
    const auto edges = static_cast<std::int64_t>(mesh.from.size());
    const auto faces = static_cast<std::int64_t>(mesh.faces.size() / 3);
    WriteAll(m_fd, &kMesh, 1);
    WriteAll(m_fd, &vertices, sizeof vertices);
    WriteAll(m_fd, &edges, sizeof edges);
    WriteAll(m_fd, &faces, sizeof faces);
    if (vertices > m_limits.maxVertices || edges > m_limits.maxEdges || faces > m_limits.maxFaces) return;
    WriteArray(m_fd, mesh.x);
    WriteArray(m_fd, mesh.y);
    WriteArray(m_fd, mesh.z);
    WriteArray(m_fd, mesh.from);
    WriteArray(m_fd, mesh.to);
    WriteArray(m_fd, mesh.faces);
}

void ChildChannel::Raw(std::string_view bytes) { WriteAll(m_fd, bytes.data(), bytes.size()); }

ChildAnswer RunImportChild(const std::function<void(ChildChannel&)>& work, const ChildLimits& limits,
                           const ImportProgress& progress)
{
    Reply reply(limits);
    std::string problem;
    ChildWatch watch;
    watch.timeLimit = limits.time;
    watch.tick = kTick;
    watch.keepGoing = [&] { return !progress || progress(reply.Fraction()); };
    watch.output = [&](std::string_view bytes) {
        if (reply.Take(bytes.data(), bytes.size())) return true;
        problem = reply.Problem();
        return false;
    };
    const ChildEnd end = RunFunction(
        [&](int pipe) {
            // The helper: it only reads the file and writes to the pipe.
            ChildChannel channel(ConfineHelper(pipe), limits);
            try {
                work(channel);
            } catch (const std::bad_alloc&) {
                channel.Error(kHelperOutOfMemory);
            } catch (const std::exception& e) {
                channel.Error(e.what());
            } catch (...) {
                channel.Error("the importer failed");
            }
        },
        watch);
    if (!problem.empty()) return Answer(ChildAnswer::Kind::Failed, problem);
    switch (end.how) {
    case ChildEnd::How::NotStarted:
        return Answer(ChildAnswer::Kind::Failed, "cannot start the importer: " + std::string(std::strerror(end.code)));
    case ChildEnd::How::TimedOut:
        return Answer(ChildAnswer::Kind::Failed, "the importer did not finish within " + DescribeSeconds(limits.time));
    case ChildEnd::How::Cancelled: return Answer(ChildAnswer::Kind::Cancelled, "cancelled");
    case ChildEnd::How::Exited:
    case ChildEnd::How::Signalled: break;
    }
    if (reply.Done()) return reply.TakeAnswer();
    // A helper that reached its memory ceiling is often killed before it can say so.
    return Answer(ChildAnswer::Kind::Failed, HowItEnded(end));
}

std::uint64_t HelperMemoryMegabytes() { return kHelperMemory >> 20; }

ChildAnswer ReadChildReply(std::string_view bytes, const ChildLimits& limits, std::size_t piece)
{
    Reply reply(limits);
    piece = std::max<std::size_t>(piece, 1);
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        const std::string_view part = bytes.substr(at, piece);
        if (!reply.Take(part.data(), part.size())) return Answer(ChildAnswer::Kind::Failed, reply.Problem());
    }
    if (reply.Done()) return reply.TakeAnswer();
    return Answer(ChildAnswer::Kind::Failed, "the importer ended without an answer");
}
