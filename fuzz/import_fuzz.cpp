// Fuzz target of mesh import. The first byte chooses what the rest is:
//   0      a reply of the import helper, as the parent reads it (in pieces of the second
//          byte's size): whatever it says, an accepted mesh keeps the model's rules;
//   1 ...  a mesh file with that extension, read in this process as the helper reads it
//          (here under the sanitizers), its reply then read by the parent's checks.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <exception>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "model/formats/assimp_reader.h"
#include "model/coordinate_range.h"
#include "model/formats/import_child.h"
#include "model/mesh_import.h"

namespace {

constexpr const char* kExtensions[] = {"obj", "stl", "ply", "off", "gltf", "dae", "3ds", "x", "ac", "smd"};
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

// Reads the file as the helper does, its reply into memory, and that reply as the parent does.
void ReadInProcess(const std::string& extension, std::string_view content)
{
    ScratchFile file("import." + extension);
    file.Write(std::span(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()));
    const int memory = ::memfd_create("reply", MFD_CLOEXEC);
    FUZZ_CHECK(memory >= 0);
    {
        ChildChannel channel(memory, Limits());
        try {
            ReadSceneInHelper(file.Path(), kMaxImportFileBytes, channel);
        } catch (const std::bad_alloc&) {
            channel.Error(kHelperOutOfMemory);
        } catch (const std::exception& e) {
            channel.Error(e.what());
        }
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
    const unsigned choice = data[0] % (1 + std::size(kExtensions));
    if (choice == 0) {
        const std::size_t piece = rest.empty() ? 1 : std::size_t(std::uint8_t(rest[0])) + 1;
        CheckAnswer(ReadChildReply(rest.substr(std::min<std::size_t>(1, rest.size())), Limits(), piece));
        return 0;
    }
    // The system's assimp reads past the end of an OFF face that promises more corners than
    // its line holds, and crashes. The program reads OFF files in the helper, whose crash
    // it reports ("the importer crashed"); read here it would stop the run on assimp's
    // fault, not ours.
    if (std::string_view(kExtensions[choice - 1]) == "off") return 0;
    ReadInProcess(kExtensions[choice - 1], rest);
    return 0;
}
