// File > Import and --import: the checks made before a helper is started, the
// messages, and appending the mesh to the model as one new selection.
#include "model/mesh_import.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "model/formats/assimp_reader.h"
#include "model/formats/mesh_writer.h"
#include "model/polydrom_doc.h"

namespace {

// The path as the user should see it in a message: absolute, so the folder shows.
std::string Shown(const std::string& path)
{
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.string();
}

std::string FileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

std::string Lower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// What can be told without reading the file: that it is there, readable, a plain file
// (a pipe or a device would never end) and neither empty nor far too large.
std::string Unreadable(const std::string& path)
{
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0) return std::strerror(errno);
    if (S_ISDIR(info.st_mode)) return "it is a folder";
    if (!S_ISREG(info.st_mode)) return "it is not a plain file";
    if (info.st_size == 0) return "the file is empty";
    if (std::uint64_t(info.st_size) > kMaxImportFileBytes)
        return "the file has " + std::to_string(std::uint64_t(info.st_size)) +
               " bytes; a mesh that fits the model takes far less, so files over " +
               std::to_string(kMaxImportFileBytes) + " bytes (" + std::to_string(kMaxImportFileBytes >> 20) +
               " MB) are not read";
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::strerror(errno);
    ::close(fd);
    return {};
}

}  // namespace

const std::vector<ImportFormat>& ImportFormats()
{
    static const std::vector<ImportFormat> formats = LibraryFormats();
    return formats;
}

bool IsImportablePath(std::string_view path)
{
    const auto slash = path.find_last_of('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const auto dot = name.find_last_of('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 1 == name.size()) return false;
    const std::string extension = Lower(name.substr(dot + 1));
    for (const ImportFormat& format : ImportFormats())
        if (std::find(format.extensions.begin(), format.extensions.end(), extension) != format.extensions.end())
            return true;
    return false;
}

MeshReadResult ReadMeshFile(const std::string& path, int roomVertices, int roomEdges, int roomFaces,
                            const ImportOptions& options)
{
    MeshReadResult result;
    auto fail = [&](const std::string& reason) {
        result.ok = false;
        result.error = "Cannot import \"" + Shown(path) + "\": " + reason + ".";
        return result;
    };
    if (const std::string reason = Unreadable(path); !reason.empty()) return fail(reason);

    ChildLimits limits;
    limits.time = options.timeLimit;
    limits.maxVertices = std::max(roomVertices, 0);
    limits.maxEdges = std::max(roomEdges, 0);
    limits.maxFaces = std::max(roomFaces, 0);
    ChildAnswer answer = RunImportChild(
        [&](ChildChannel& channel) { ReadSceneInHelper(path, kMaxImportFileBytes, channel); }, limits,
        options.progress);
    switch (answer.kind) {
    case ChildAnswer::Kind::Mesh: result.mesh = std::move(answer.mesh); return result;
    case ChildAnswer::Kind::TooLarge:
        result.ok = false;
        result.error = FileName(path) + " needs " + std::to_string(answer.vertices) + " vertices and " +
                       std::to_string(answer.edges) + " edges; the model has room for " +
                       std::to_string(limits.maxVertices) + " vertices and " + std::to_string(limits.maxEdges) +
                       " edges.";
        if (answer.faces > limits.maxFaces)
            result.error = FileName(path) + " needs " + std::to_string(answer.faces) +
                           " faces; the model has room for " + std::to_string(limits.maxFaces) + " faces.";
        return result;
    case ChildAnswer::Kind::Cancelled:
        result.ok = false;
        result.cancelled = true;
        result.error = "Import of " + FileName(path) + " cancelled.";
        return result;
    case ChildAnswer::Kind::Refused:
        if (answer.reason == kHelperOutOfMemory) {
            result.ok = false;
            result.error = "not enough memory to import " + FileName(path) + ": the mesh needs more than " +
                           std::to_string(HelperMemoryMegabytes()) + " MB";
            return result;
        }
        break;
    case ChildAnswer::Kind::Failed: break;
    }
    return fail(answer.reason);
}

ImportResult CPolydromDoc::ImportMesh(const std::string& path, const ImportOptions& options)
{
    ImportResult result;
    const int roomVertices = m_limits.vertices - GetVertexCount(), roomEdges = m_limits.edges - GetEdgeCount();
    // A scale that can never work is refused before the file is read.
    ImportedMesh none;
    if (std::string reason; !PlaceImportedMesh(none, options.scale, options.axes, &reason)) {
        result.ok = false;
        result.error = "Cannot import \"" + Shown(path) + "\": " + reason + ".";
        return result;
    }
    MeshReadResult read = ReadMeshFile(path, roomVertices, roomEdges, m_limits.faces - GetFaceCount(), options);
    if (!read) {
        result.ok = false;
        result.error = std::move(read.error);
        result.cancelled = read.cancelled;
        return result;
    }
    return AddImportedMesh(path, std::move(read.mesh), options.scale, options.axes);
}

ImportResult CPolydromDoc::AddImportedMesh(const std::string& path, ImportedMesh mesh, double scale,
                                           AxisConversion axes)
{
    ImportResult result;
    if (std::string reason; !PlaceImportedMesh(mesh, scale, axes, &reason)) {
        result.ok = false;
        result.error = "Cannot import \"" + Shown(path) + "\": " + reason + ".";
        return result;
    }
    const int roomVertices = m_limits.vertices - GetVertexCount(), roomEdges = m_limits.edges - GetEdgeCount();
    if (mesh.x.size() > std::size_t(roomVertices) || mesh.from.size() > std::size_t(roomEdges) ||
        mesh.faces.size() / 3 > std::size_t(m_limits.faces - GetFaceCount())) {
        // The reader keeps to the room; this only guards the arrays.
        result.ok = false;
        result.error = "Cannot import \"" + Shown(path) + "\": it does not fit the model.";
        return result;
    }

    const int first = GetVertexCount();
    if (!Fits("Import", std::int64_t(mesh.x.size()), std::int64_t(mesh.from.size()),
              std::int64_t(mesh.faces.size() / 3))) {
        result.ok = false;
        result.error = TakeReport().text;
        return result;
    }
    // The import alone is selected, so that Move, Grow or Rotate can place it at once.
    for (int i = 0; i < first; ++i) m_sel[i] = 0;
    // Whole arrays at a time (room was reserved by Fits): a million vertices come in at
    // the speed of a copy. Indices are shifted past the model's own vertices.
    const std::size_t added = mesh.x.size(), edgesBefore = m_edgeFrom.size(), facesBefore = m_face.size();
    m_x.insert(m_x.end(), mesh.x.begin(), mesh.x.end());
    m_y.insert(m_y.end(), mesh.y.begin(), mesh.y.end());
    m_z.insert(m_z.end(), mesh.z.begin(), mesh.z.end());
    m_sel.insert(m_sel.end(), added, 1);
    m_dup.insert(m_dup.end(), added, -1);
    m_edgeFrom.insert(m_edgeFrom.end(), mesh.from.begin(), mesh.from.end());
    m_edgeTo.insert(m_edgeTo.end(), mesh.to.begin(), mesh.to.end());
    m_edgeUsed.insert(m_edgeUsed.end(), mesh.from.size(), 0);
    m_face.insert(m_face.end(), mesh.faces.begin(), mesh.faces.end());
    for (std::size_t j = edgesBefore; j < m_edgeFrom.size(); ++j) {
        m_edgeFrom[j] += first;
        m_edgeTo[j] += first;
    }
    for (std::size_t k = facesBefore; k < m_face.size(); ++k) m_face[k] += first;
    UpdateAllViews(nullptr);

    result.vertices = static_cast<int>(mesh.x.size());
    result.edges = static_cast<int>(mesh.from.size());
    result.faces = static_cast<int>(mesh.faces.size() / 3);
    const std::string vertices = Counted(std::size_t(result.vertices), "vertex", "vertices");
    const std::string edges = Counted(std::size_t(result.edges), "edge", "edges");
    // Points and lines alone are reported as they always were.
    ReportInfo("Imported " +
               (result.faces == 0
                    ? vertices + " and " + edges
                    : vertices + ", " + edges + " and " + Counted(std::size_t(result.faces), "face", "faces")) +
               " from " + FileName(path));
    return result;
}
