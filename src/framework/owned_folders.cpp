// The owner file holds three lines: the process id, the boot id and the start time.
#include "framework/owned_folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>

#include "framework/process_identity.h"

namespace {

constexpr const char* kOwnerFile = "owner";

// False when the folder has no readable owner file; *owner then says nothing.
bool ReadOwner(const std::filesystem::path& folder, ProcessIdentity* owner)
{
    std::ifstream in(folder / kOwnerFile);
    std::string pid;
    if (!in || !std::getline(in, pid) || !std::getline(in, owner->boot) || !std::getline(in, owner->started))
        return false;
    try {
        std::size_t used = 0;
        owner->pid = std::stol(pid, &used);
        return used == pid.size() && owner->pid > 0;
    } catch (const std::exception&) {
        return false;
    }
}

// A folder of this user's, not a link to one: only those are ours to remove.
bool IsOwnFolder(const std::filesystem::path& path)
{
    struct stat info{};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid();
}

}  // namespace

bool MarkFolderOwner(const std::filesystem::path& folder)
{
    const ProcessIdentity self = CurrentProcess();
    std::ofstream out(folder / kOwnerFile, std::ios::trunc);
    out << self.pid << '\n' << self.boot << '\n' << self.started << '\n';
    out.close();
    return static_cast<bool>(out);
}

int RemoveAbandonedFolders(const std::filesystem::path& parent, std::string_view prefix,
                           std::chrono::seconds unmarkedAge)
{
    std::error_code error;
    std::filesystem::directory_iterator entries(parent, error);
    if (error) return 0;
    int removed = 0;
    for (const std::filesystem::directory_entry& entry : entries) {
        const std::string name = entry.path().filename().string();
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        if (!IsOwnFolder(entry.path())) continue;
        ProcessIdentity owner;
        if (ReadOwner(entry.path(), &owner)) {
            if (IsRunning(owner)) continue;
        } else {
            // Without the owner file the only sign of life is a recent change.
            const auto changed = std::filesystem::last_write_time(entry.path(), error);
            if (error || std::filesystem::file_time_type::clock::now() - changed < unmarkedAge) continue;
        }
        // remove_all removes links inside, never what they point to.
        if (std::filesystem::remove_all(entry.path(), error) != static_cast<std::uintmax_t>(-1) && !error) ++removed;
    }
    return removed;
}
