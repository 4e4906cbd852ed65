// Reading a file with the Open Asset Import Library and flattening its scene into the
// model's terms: vertices at the positions the file stores, and one edge per distinct
// side of every face, line and polygon.
#include "model/formats/assimp_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

#include <assimp/DefaultIOStream.h>
#include <assimp/DefaultIOSystem.h>
#include <assimp/Importer.hpp>
#include <assimp/ProgressHandler.hpp>
#include <assimp/config.h>
#include <assimp/importerdesc.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "model/coordinate_range.h"
#include "model/formats/import_child.h"
#include "model/mesh_topology.h"

namespace {

// Hands the library's progress to the parent. It never cancels: the parent ends the
// helper itself when the user does.
class PipeProgress : public Assimp::ProgressHandler {
public:
    explicit PipeProgress(ChildChannel& channel) : m_channel(channel) {}
    bool Update(float percentage) override
    {
        m_channel.Progress(percentage);
        return true;
    }

private:
    ChildChannel& m_channel;
};

// The library's file access. Every entry point it has is here, so that nothing the
// library reads or tests bypasses the checks: a file a scene refers to must be a plain
// file (a FIFO or a device would block the helper for its whole time limit, since the
// library's own existence test opens the file) no larger than the model could use.
// The library only reads: writing, and making or changing folders, are refused.
class BoundedFiles : public Assimp::DefaultIOSystem {
public:
    explicit BoundedFiles(std::uint64_t maxBytes) : m_maxBytes(maxBytes) {}

    bool Exists(const char* file) const override
    {
        struct stat info{};
        if (::stat(file, &info) != 0) return false;
        if (const std::string why = Refusal(info); !why.empty()) {
            Refuse(file, why);
            return false;
        }
        return true;
    }

    Assimp::IOStream* Open(const char* file, const char* mode) override
    {
        if (std::strpbrk(mode, "wa+")) return nullptr;
        // Opened without waiting (a FIFO's open would wait for a writer), then checked
        // on the descriptor itself, so the file cannot be swapped after the check.
        const int fd = ::open(file, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        if (fd < 0) return nullptr;
        struct stat info{};
        std::string why = ::fstat(fd, &info) == 0 ? Refusal(info) : std::string("it cannot be examined");
        if (why.empty() && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) why = "it cannot be read";
        std::FILE* stream = why.empty() ? ::fdopen(fd, "rb") : nullptr;
        if (!stream) {
            ::close(fd);
            if (!why.empty()) Refuse(file, why);
            return nullptr;
        }
        return new PlainFileStream(stream, file);
    }

    bool CreateDirectory(const std::string&) override { return false; }
    bool ChangeDirectory(const std::string&) override { return false; }
    bool DeleteFile(const std::string&) override { return false; }

    // The first file refused, and why ("not a plain file"); empty when none was.
    const std::string& Refused() const { return m_refused; }
    const std::string& Why() const { return m_why; }

private:
    // Some of the library's readers loop at the end of a damaged file, asking for the next
    // line again and again (a PLY header without its "end_header" line); the helper would
    // then spin until its time limit. Reads that keep finding nothing stop the reader with
    // an error it reports, at once.
    class PlainFileStream : public Assimp::DefaultIOStream {
    public:
        PlainFileStream(std::FILE* file, const std::string& name) : DefaultIOStream(file, name) {}

        size_t Read(void* buffer, size_t size, size_t count) override
        {
            const size_t got = DefaultIOStream::Read(buffer, size, count);
            if (got == 0 && size != 0 && count != 0 && ++m_emptyReads > kEmptyReadsAllowed)
                throw std::runtime_error("it is damaged or cut short: the importer kept reading past its end");
            return got;
        }

    private:
        static constexpr int kEmptyReadsAllowed = 1000;
        int m_emptyReads = 0;
    };

    std::string Refusal(const struct stat& info) const
    {
        if (!S_ISREG(info.st_mode)) return "not a plain file";
        if (std::uint64_t(info.st_size) > m_maxBytes)
            return "a file of " + std::to_string(std::uint64_t(info.st_size)) + " bytes; files over " +
                   std::to_string(m_maxBytes) + " bytes are not read";
        return {};
    }
    void Refuse(const char* file, const std::string& why) const
    {
        if (!m_refused.empty()) return;
        m_refused = file;
        m_why = why;
    }

    std::uint64_t m_maxBytes;
    mutable std::string m_refused, m_why;
};

// An affine transform in double precision: rows of a 3x4 matrix.
struct Affine {
    double m[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
    bool identity = true;
};

Affine Compose(const Affine& outer, const aiMatrix4x4& inner)
{
    const double local[3][4] = {{inner.a1, inner.a2, inner.a3, inner.a4},
                                {inner.b1, inner.b2, inner.b3, inner.b4},
                                {inner.c1, inner.c2, inner.c3, inner.c4}};
    bool localIdentity = true;  // exactly: the library's own test allows a small error
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) localIdentity = localIdentity && local[r][c] == (r == c ? 1.0 : 0.0);
    if (localIdentity) return outer;
    Affine result;
    result.identity = false;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            result.m[r][c] = outer.m[r][0] * local[0][c] + outer.m[r][1] * local[1][c] + outer.m[r][2] * local[2][c] +
                             (c == 3 ? outer.m[r][3] : 0.0);
    return result;
}

// The 3-D Studio reader turns its Z-up scenes to Y-up by a quarter turn about X on the
// root (y' = z, z' = -y). Coordinates are taken as the file stores them, so the root
// gets the opposite turn; its entries are 0 and 1, so nothing is rounded.
aiMatrix4x4 RootTransform(const aiNode& root)
{
    if (std::strcmp(root.mName.C_Str(), "<3DSRoot>") != 0) return root.mTransformation;
    const aiMatrix4x4 undo(1, 0, 0, 0, 0, 0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1);
    return undo * root.mTransformation;
}

// Positions are joined by value; -0 and +0 are the same place.
struct PositionKey {
    std::uint32_t x, y, z;
    friend bool operator==(const PositionKey&, const PositionKey&) = default;
};
struct PositionHash {
    std::size_t operator()(const PositionKey& k) const
    {
        std::uint64_t h = k.x * 0x9E3779B97F4A7C15ull;
        h ^= (h >> 29) + k.y * 0xBF58476D1CE4E5B9ull;
        h ^= (h >> 31) + k.z * 0x94D049BB133111EBull;
        return static_cast<std::size_t>(h ^ (h >> 32));
    }
};
std::uint32_t Bits(float f) { return f == 0.0f ? 0u : std::bit_cast<std::uint32_t>(f); }

struct Refusal {
    std::string reason;
};

// Builds the vertex, edge and face arrays while the scene's nodes are walked.
class Flattener {
public:
    explicit Flattener(const aiScene& scene) : m_scene(scene)
    {
        std::size_t vertices = 0;
        for (unsigned k = 0; k < scene.mNumMeshes; ++k) vertices += scene.mMeshes[k]->mNumVertices;
        m_index.reserve(vertices);
        m_edges.reserve(vertices * 3);
    }

    void Run()
    {
        if (!m_scene.mRootNode) throw Refusal{"the file holds no scene"};
        struct Pending {
            const aiNode* node;
            Affine outer;
        };
        // An explicit stack: a hostile file may nest nodes deeper than the call stack goes.
        std::vector<Pending> stack{{m_scene.mRootNode, Affine{}}};
        bool root = true;
        while (!stack.empty()) {
            const Pending pending = stack.back();
            stack.pop_back();
            const aiNode& node = *pending.node;
            const Affine world = Compose(pending.outer, root ? RootTransform(node) : node.mTransformation);
            root = false;
            for (unsigned k = 0; k < node.mNumMeshes; ++k) {
                if (node.mMeshes[k] >= m_scene.mNumMeshes) throw Refusal{"a node refers to a mesh that does not exist"};
                AddMesh(*m_scene.mMeshes[node.mMeshes[k]], world);
            }
            // Children go on the stack last first, so they are taken in their order.
            for (unsigned c = node.mNumChildren; c-- > 0;)
                if (node.mChildren[c]) stack.push_back({node.mChildren[c], world});
        }
        DropRepeatedFaces();
    }

    ImportedMesh& Mesh() { return m_mesh; }

private:
    static double Determinant(const Affine& t)
    {
        const auto& m = t.m;
        return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
               m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    }

    // A triangle that comes twice (the same corners in two meshes, or joining has made two
    // triangles one) is one face, the first.
    void DropRepeatedFaces()
    {
        std::vector<std::int32_t>& faces = m_mesh.faces;
        const std::vector<char> drop = RedundantFaces(m_mesh.x.size(), faces);
        std::size_t kept = 0;
        for (std::size_t f = 0; f < drop.size(); ++f)
            if (!drop[f]) {
                std::copy_n(&faces[3 * f], 3, &faces[3 * kept]);
                ++kept;
            }
        faces.resize(3 * kept);
    }

    void AddMesh(const aiMesh& mesh, const Affine& world)
    {
        std::vector<std::int32_t> local(mesh.mNumVertices);
        const bool mirrored = Determinant(world) < 0.0;
        for (unsigned i = 0; i < mesh.mNumVertices; ++i) local[i] = VertexAt(mesh.mVertices[i], world);
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            const aiFace& face = mesh.mFaces[f];
            for (unsigned k = 0; k < face.mNumIndices; ++k)
                if (face.mIndices[k] >= mesh.mNumVertices) throw Refusal{"a face refers to a vertex that does not exist"};
            const unsigned n = face.mNumIndices;
            if (n == 2) {
                AddEdge(local[face.mIndices[0]], local[face.mIndices[1]]);
            } else if (n == 3) {
                const std::int32_t a = local[face.mIndices[0]], b = local[face.mIndices[1]],
                                   c = local[face.mIndices[2]];
                AddEdge(a, b);
                AddEdge(b, c);
                AddEdge(c, a);
                // A reflecting transform turns the surface inside out; its faces are
                // turned back so that they face the way the file meant.
                if (a != b && b != c && c != a) {
                    if (mirrored)
                        m_mesh.faces.insert(m_mesh.faces.end(), {a, c, b});
                    else
                        m_mesh.faces.insert(m_mesh.faces.end(), {a, b, c});
                }
            } else if (n > 3) {
                // Triangulation has made every polygon a triangle; a polygon it left
                // (a broken one) is taken round its rim.
                for (unsigned k = 0; k < n; ++k) AddEdge(local[face.mIndices[k]], local[face.mIndices[(k + 1) % n]]);
            }
        }
    }

    std::int32_t VertexAt(const aiVector3D& p, const Affine& t)
    {
        double c[3] = {p.x, p.y, p.z};
        if (!t.identity) {
            const double x = c[0], y = c[1], z = c[2];
            for (int r = 0; r < 3; ++r) c[r] = t.m[r][0] * x + t.m[r][1] * y + t.m[r][2] * z + t.m[r][3];
        }
        for (double v : c)
            if (!IsStorableCoordinate(v))
                throw Refusal{"a node's transform moves a vertex beyond the range of a float"};
        const float f[3] = {float(c[0]), float(c[1]), float(c[2])};
        const auto [it, added] =
            m_index.try_emplace(PositionKey{Bits(f[0]), Bits(f[1]), Bits(f[2])}, std::int32_t(m_mesh.x.size()));
        if (added) {
            if (m_mesh.x.size() >= std::size_t(INT32_MAX)) throw Refusal{"the file holds too many vertices"};
            m_mesh.x.push_back(f[0]);
            m_mesh.y.push_back(f[1]);
            m_mesh.z.push_back(f[2]);
        }
        return it->second;
    }

    void AddEdge(std::int32_t a, std::int32_t b)
    {
        if (a == b) return;  // a side that joining has shrunk to a point
        const std::uint64_t key = std::uint64_t(std::min(a, b)) << 32 | std::uint32_t(std::max(a, b));
        if (!m_edges.insert(key).second) return;
        m_mesh.from.push_back(a);
        m_mesh.to.push_back(b);
    }

    const aiScene& m_scene;
    ImportedMesh m_mesh;
    std::unordered_map<PositionKey, std::int32_t, PositionHash> m_index;
    std::unordered_set<std::uint64_t> m_edges;
};

// The scene as the reader left it, checked before any post-processing step sees it.
// Some readers hand on what a damaged file says (a truncated binary PLY gives faces
// with garbage indices, a truncated OFF faces without corners) and the steps after
// them crash on it. NaN and infinity are refused here too: joining compares positions,
// and could merge a NaN away into a finite vertex instead of refusing the file.
void CheckRawScene(const aiScene& scene)
{
    if (scene.mNumMeshes > 0 && !scene.mMeshes) throw Refusal{"it is damaged: its meshes are missing"};
    for (unsigned k = 0; k < scene.mNumMeshes; ++k) {
        const aiMesh* mesh = scene.mMeshes[k];
        if (!mesh || (mesh->mNumVertices > 0 && !mesh->mVertices) || (mesh->mNumFaces > 0 && !mesh->mFaces))
            throw Refusal{"it is damaged: a mesh is missing its vertices or faces"};
        for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
            const aiVector3D& p = mesh->mVertices[i];
            if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
                throw Refusal{"it holds a coordinate that is not a finite number"};
        }
        for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
            const aiFace& face = mesh->mFaces[f];
            if (face.mNumIndices == 0 || !face.mIndices) throw Refusal{"it is damaged: a face has no corners"};
            for (unsigned c = 0; c < face.mNumIndices; ++c)
                if (face.mIndices[c] >= mesh->mNumVertices)
                    throw Refusal{"it is damaged: a face refers to a vertex that does not exist"};
        }
    }
}

void SendFlattened(const aiScene& scene, ChildChannel& channel)
{
    Flattener flattener(scene);
    flattener.Run();
    if (flattener.Mesh().x.empty()) throw Refusal{"it holds no points, lines or faces"};
    channel.Mesh(flattener.Mesh());
}

std::string LibraryReason(const Assimp::Importer& importer, const BoundedFiles& files)
{
    if (!files.Refused().empty()) return "it refers to \"" + files.Refused() + "\": " + files.Why();
    const char* reason = importer.GetErrorString();
    // The library catches a failed allocation itself and passes on only its name.
    if (reason && std::strstr(reason, "bad_alloc")) return std::string(kHelperOutOfMemory);
    return reason && *reason ? reason : "the library could not read it";
}

}  // namespace

void ReadSceneInHelper(const std::string& path, std::uint64_t maxFileBytes, ChildChannel& channel)
{
    Assimp::Importer importer;
    auto* files = new BoundedFiles(maxFileBytes);
    importer.SetIOHandler(files);  // the importer owns and deletes both handlers
    importer.SetProgressHandler(new PipeProgress(channel));
    // Only positions and faces matter: without normals, colours and texture coordinates
    // the joining step merges every corner that shares a position.
    importer.SetPropertyInteger(AI_CONFIG_PP_RVC_FLAGS,
                                aiComponent_NORMALS | aiComponent_TANGENTS_AND_BITANGENTS | aiComponent_COLORS |
                                    aiComponent_TEXCOORDS | aiComponent_BONEWEIGHTS | aiComponent_ANIMATIONS |
                                    aiComponent_TEXTURES | aiComponent_LIGHTS | aiComponent_CAMERAS |
                                    aiComponent_MATERIALS);
    // Coordinates as stored: no turning a Z-up COLLADA scene to Y-up.
    importer.SetPropertyBool(AI_CONFIG_IMPORT_COLLADA_IGNORE_UP_DIRECTION, true);
    try {
        const aiScene* scene = importer.ReadFile(path, 0);
        // A refused reference refuses the file, even where the library would go on without it.
        if (!scene || !files->Refused().empty()) throw Refusal{LibraryReason(importer, *files)};
        CheckRawScene(*scene);
        scene = importer.ApplyPostProcessing(aiProcess_RemoveComponent | aiProcess_Triangulate |
                                             aiProcess_JoinIdenticalVertices);
        if (!scene) throw Refusal{LibraryReason(importer, *files)};
        SendFlattened(*scene, channel);
    } catch (const Refusal& refusal) {
        channel.Error(refusal.reason);
    }
}

void SendScene(const aiScene& scene, ChildChannel& channel)
{
    try {
        CheckRawScene(scene);
        SendFlattened(scene, channel);
    } catch (const Refusal& refusal) {
        channel.Error(refusal.reason);
    }
}

std::vector<ImportFormat> LibraryFormats()
{
    std::vector<ImportFormat> formats;
    const Assimp::Importer importer;
    for (std::size_t k = 0; k < importer.GetImporterCount(); ++k) {
        const aiImporterDesc* desc = importer.GetImporterInfo(k);
        if (!desc || !desc->mFileExtensions) continue;
        ImportFormat format{desc->mName ? desc->mName : "", {}};
        std::istringstream words(desc->mFileExtensions);
        for (std::string extension; words >> extension;) {
            std::transform(extension.begin(), extension.end(), extension.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            if (std::find(format.extensions.begin(), format.extensions.end(), extension) == format.extensions.end())
                format.extensions.push_back(extension);
        }
        if (!format.extensions.empty()) formats.push_back(std::move(format));
    }
    return formats;
}
