// Fuzz target of mesh import. The first byte chooses what the rest is:
//   even   a reply of the import helper, as the parent reads it (in pieces of the second
//          byte's size): whatever it says, an accepted mesh keeps the model's rules;
//   odd    a scene as the importer library could hand one over (meshes with points,
//          lines, triangles and polygons, nodes nested with transforms that mirror, scale
//          or overflow, indices out of range, NaN and infinity), which the helper checks
//          and flattens; its reply is then read by the parent's checks.
// Files are not read here: the library is the system's, uninstrumented, and on damaged
// files it loops and corrupts its heap. The program reads them in a helper process with a
// time and a memory limit, and the tests import real files through it.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include <assimp/scene.h>

#include "fuzz_support.h"
#include "model/coordinate_range.h"
#include "model/formats/assimp_reader.h"
#include "model/formats/import_child.h"
#include "model/mesh_import.h"

namespace {

constexpr int kRoom = 10000;

ChildLimits Limits()
{
    ChildLimits limits;
    limits.maxVertices = kRoom;
    limits.maxEdges = kRoom;
    limits.maxFaces = kRoom;
    return limits;
}

// What the parent accepts holds to the model's rules, whatever it was sent.
void CheckAnswer(const ChildAnswer& answer)
{
    if (answer.kind == ChildAnswer::Kind::Failed || answer.kind == ChildAnswer::Kind::Refused) {
        FUZZ_CHECK(!answer.reason.empty());
        FUZZ_CHECK(answer.reason.find('\n') == std::string::npos);
    }
    if (answer.kind != ChildAnswer::Kind::Mesh) return;
    const ImportedMesh& mesh = answer.mesh;
    const std::size_t n = mesh.x.size();
    FUZZ_CHECK(n <= std::size_t(kRoom) && mesh.from.size() <= std::size_t(kRoom));
    FUZZ_CHECK(mesh.y.size() == n && mesh.z.size() == n && mesh.to.size() == mesh.from.size());
    for (std::size_t i = 0; i < n; ++i)
        FUZZ_CHECK(IsStorableCoordinate(mesh.x[i]) && IsStorableCoordinate(mesh.y[i]) &&
                   IsStorableCoordinate(mesh.z[i]));
    for (std::size_t j = 0; j < mesh.from.size(); ++j)
        FUZZ_CHECK(mesh.from[j] >= 0 && mesh.to[j] >= 0 && std::size_t(mesh.from[j]) < n &&
                   std::size_t(mesh.to[j]) < n && mesh.from[j] != mesh.to[j]);
    FUZZ_CHECK(mesh.faces.size() % 3 == 0 && mesh.faces.size() / 3 <= std::size_t(kRoom));
    for (const std::int32_t corner : mesh.faces) FUZZ_CHECK(corner >= 0 && std::size_t(corner) < n);
}

// The input's bytes one at a time; zeros once it is spent.
class Bytes {
public:
    explicit Bytes(std::string_view bytes) : m_bytes(bytes) {}
    unsigned Next() { return m_at < m_bytes.size() ? std::uint8_t(m_bytes[m_at++]) : 0u; }
    unsigned Below(unsigned n) { return Next() % n; }

    // Mostly small whole numbers (so that positions meet and faces share corners), now
    // and then a value a damaged file holds.
    float Number()
    {
        const unsigned b = Next();
        switch (b >> 4) {
        case 15: return std::numeric_limits<float>::quiet_NaN();
        case 14: return (b & 1) ? std::numeric_limits<float>::infinity() : -3e38f;
        case 13: return (b & 1) ? -0.0f : 3e38f;
        case 12: return float(b & 15) / 3.0f;
        default: return float(int(b & 7) - 4);
        }
    }

private:
    std::string_view m_bytes;
    std::size_t m_at = 0;
};

aiMesh* MakeMesh(Bytes& in)
{
    auto* mesh = new aiMesh;
    mesh->mNumVertices = in.Below(24);
    mesh->mVertices = mesh->mNumVertices ? new aiVector3D[mesh->mNumVertices] : nullptr;
    for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
        const float x = in.Number(), y = in.Number();
        mesh->mVertices[i] = aiVector3D(x, y, in.Number());
    }
    mesh->mNumFaces = in.Below(24);
    mesh->mFaces = mesh->mNumFaces ? new aiFace[mesh->mNumFaces] : nullptr;
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
        aiFace& face = mesh->mFaces[f];
        face.mNumIndices = in.Below(6);  // none (damaged), a point, a line, a triangle, polygons
        face.mIndices = face.mNumIndices ? new unsigned[face.mNumIndices] : nullptr;
        // Now and then one past the mesh's vertices, as a damaged file's index is.
        for (unsigned k = 0; k < face.mNumIndices; ++k) face.mIndices[k] = in.Below(mesh->mNumVertices + 1);
    }
    return mesh;
}

// Identity, a mirror, a scale, a shift, a quarter turn, or one that overflows a float.
aiMatrix4x4 MakeTransform(Bytes& in)
{
    aiMatrix4x4 m;
    switch (in.Below(6)) {
    case 1: m.a1 = -1; break;
    case 2: m.a1 = m.b2 = m.c3 = float(in.Below(5)) - 2.0f; break;
    case 3: m.a4 = in.Number(), m.b4 = in.Number(), m.c4 = in.Number(); break;
    case 4: m = aiMatrix4x4(1, 0, 0, 0, 0, 0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1); break;
    case 5: m.a1 = m.b2 = m.c3 = 3e38f; break;
    default: break;
    }
    return m;
}

aiNode* MakeNode(Bytes& in, unsigned meshes, int depth)
{
    auto* node = new aiNode(in.Below(8) == 0 ? "<3DSRoot>" : "node");
    node->mTransformation = MakeTransform(in);
    node->mNumMeshes = in.Below(3);
    node->mMeshes = node->mNumMeshes ? new unsigned[node->mNumMeshes] : nullptr;
    for (unsigned k = 0; k < node->mNumMeshes; ++k) node->mMeshes[k] = in.Below(meshes + 1);
    if (depth > 0) {
        node->mNumChildren = in.Below(3);
        node->mChildren = node->mNumChildren ? new aiNode*[node->mNumChildren] : nullptr;
        for (unsigned c = 0; c < node->mNumChildren; ++c) {
            node->mChildren[c] = MakeNode(in, meshes, depth - 1);
            node->mChildren[c]->mParent = node;
        }
    }
    return node;
}

// Flattens the scene as the helper does, its reply into memory, and reads that as the parent does.
void ReadScene(std::string_view content)
{
    Bytes in(content);
    aiScene scene;
    scene.mNumMeshes = in.Below(4);
    scene.mMeshes = scene.mNumMeshes ? new aiMesh*[scene.mNumMeshes] : nullptr;
    for (unsigned k = 0; k < scene.mNumMeshes; ++k) scene.mMeshes[k] = MakeMesh(in);
    scene.mRootNode = in.Below(16) == 0 ? nullptr : MakeNode(in, scene.mNumMeshes, 3);

    const int memory = ::memfd_create("reply", MFD_CLOEXEC);
    FUZZ_CHECK(memory >= 0);
    {
        ChildChannel channel(memory, Limits());
        SendScene(scene, channel);
    }
    std::string reply(static_cast<std::size_t>(::lseek(memory, 0, SEEK_END)), '\0');
    FUZZ_CHECK(::pread(memory, reply.data(), reply.size(), 0) == static_cast<ssize_t>(reply.size()));
    ::close(memory);
    const ChildAnswer answer = ReadChildReply(reply, Limits());
    // The helper's own reply is always well formed.
    FUZZ_CHECK(answer.kind != ChildAnswer::Kind::Failed);
    CheckAnswer(answer);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] % 2 == 0) {
        const std::size_t piece = rest.empty() ? 1 : std::size_t(std::uint8_t(rest[0])) + 1;
        CheckAnswer(ReadChildReply(rest.substr(std::min<std::size_t>(1, rest.size())), Limits(), piece));
        return 0;
    }
    ReadScene(rest);
    return 0;
}
