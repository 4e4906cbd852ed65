// The recovery folder on disk: atomic writes of this program's copy, and the search,
// removal and putting aside of leftovers.
#include "framework/recovery_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "framework/atomic_file.h"

namespace fs = std::filesystem;

namespace {

// A description is a few lines; anything larger is not one of ours.
constexpr std::uintmax_t kMaxInfoBytes = 64 * 1024;

Result WriteAtomically(const std::string& path, std::span<const unsigned char> bytes)
{
    return WriteFileAtomically(path, bytes);
}

Result WriteAtomically(const std::string& path, const std::string& text)
{
    return WriteAtomically(path, std::span(reinterpret_cast<const unsigned char*>(text.data()), text.size()));
}

Result ReadInfo(const std::string& path, RecoveryInfo* info)
{
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec) return Result::Failure("its description cannot be read: " + ec.message());
    if (size > kMaxInfoBytes) return Result::Failure("its description is " + std::to_string(size) + " bytes long");
    std::vector<unsigned char> bytes;
    if (FileResult read = ReadFileStart(path, kMaxInfoBytes, &bytes); !read)
        return Result::Failure("its description cannot be read: " + read.reason);
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    Result parsed = ParseRecoveryInfo(text, info);
    if (!parsed) return Result::Failure("its description is damaged: " + parsed.error);
    return parsed;
}

// Removes a file; one that is already gone is no failure.
Result RemoveFile(const std::string& path)
{
    std::error_code ec;
    fs::remove(path, ec);
    if (ec) return Result::Failure("Cannot remove \"" + path + "\": " + ec.message());
    return Result::Success();
}

bool Exists(const std::string& path)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

// A recovery folder someone else can write to (shared, or set up wrongly) could hold
// copies planted to be "recovered" over any file the user may write.
std::string FolderProblem(const std::string& folder)
{
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0) return {};  // no folder, no copies
    if (!S_ISDIR(st.st_mode)) return "\"" + folder + "\" is not a folder";
    if (st.st_uid != ::geteuid()) return "the folder \"" + folder + "\" belongs to another user";
    if (st.st_mode & (S_IWGRP | S_IWOTH)) return "others may write to the folder \"" + folder + "\"";
    return {};
}

// A copy's file of this user's own, and a plain file (not a link to elsewhere).
bool OwnPlainFile(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid();
}

// An exclusive lock on a copy's model file, for as long as it lives.
class CopyLock {
public:
    explicit CopyLock(const std::string& path)
        : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY))
    {
        if (m_fd >= 0 && ::flock(m_fd, LOCK_EX) != 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~CopyLock()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    CopyLock(const CopyLock&) = delete;
    CopyLock& operator=(const CopyLock&) = delete;
    bool Held() const { return m_fd >= 0; }

private:
    int m_fd;
};

}  // namespace

CRecoveryStore::CRecoveryStore(std::string folder, ProcessIdentity self)
    : m_folder(std::move(folder)), m_self(std::move(self))
{
}

std::string CRecoveryStore::PathOf(const std::string& stem, const char* extension) const
{
    return stem.empty() ? std::string() : m_folder + "/" + stem + extension;
}

std::string CRecoveryStore::FreeStem() const
{
    const std::string pid = std::to_string(m_self.pid);
    std::string stem = pid;
    for (int n = 2; Exists(PathOf(stem, ".pdm")) || Exists(PathOf(stem, ".info")); ++n)
        stem = pid + "-" + std::to_string(n);
    return stem;
}

Result CRecoveryStore::Write(std::span<const unsigned char> model, const std::string& original, std::int64_t time)
{
    std::error_code ec;
    if (fs::create_directories(m_folder, ec)) {
        // Unsaved work is as private as the user's home: only the owner may look in.
        fs::permissions(m_folder, fs::perms::owner_all, fs::perm_options::replace, ec);
    }
    if (ec) return Result::Failure("Cannot create the folder \"" + m_folder + "\": " + ec.message());

    const std::string description = FormatRecoveryInfo(RecoveryInfo{original, time, m_self});
    if (m_stem.empty()) {
        const std::string stem = FreeStem();
        if (Result written = WriteAtomically(PathOf(stem, ".info"), description); !written) return written;
        m_stem = stem;
        if (Result written = WriteAtomically(ModelPath(), model); !written) return written;
    } else {
        if (Result written = WriteAtomically(ModelPath(), model); !written) return written;
        if (Result written = WriteAtomically(InfoPath(), description); !written) return written;
    }
    // Our own copy exists now: the recovered one has served.
    return RemoveAdopted();
}

Result CRecoveryStore::RemoveAdopted()
{
    if (m_adopted.empty()) return Result::Success();
    if (Result removed = RemoveFile(PathOf(m_adopted, ".pdm")); !removed) return removed;
    if (Result removed = RemoveFile(PathOf(m_adopted, ".info")); !removed) return removed;
    m_adopted.clear();
    return Result::Success();
}

Result CRecoveryStore::Remove()
{
    if (Result removed = RemoveAdopted(); !removed) return removed;
    if (m_stem.empty()) return Result::Success();
    // The model first: a description left alone is harmless, a model without one is not.
    if (Result removed = RemoveFile(ModelPath()); !removed) return removed;
    if (Result removed = RemoveFile(InfoPath()); !removed) return removed;
    m_stem.clear();
    return Result::Success();
}

std::vector<RecoveryLeftover> CRecoveryStore::FindLeftovers(const ModelFileCheck& check)
{
    m_folderProblem = ::FolderProblem(m_folder);
    if (!m_folderProblem.empty()) return {};
    std::set<std::string> stems;
    std::error_code ec;
    for (fs::directory_iterator it(m_folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        const fs::path name = it->path().filename();
        if (name.extension() == ".pdm" || name.extension() == ".info") stems.insert(name.stem().string());
    }

    std::vector<RecoveryLeftover> leftovers;
    for (const std::string& stem : stems) {
        if (stem == m_stem || stem == m_adopted) continue;
        RecoveryLeftover leftover{stem, PathOf(stem, ".pdm"), PathOf(stem, ".info"), {}, {}};
        // Another user's files are neither offered nor touched.
        if ((Exists(leftover.modelPath) && !OwnPlainFile(leftover.modelPath)) ||
            (Exists(leftover.infoPath) && !OwnPlainFile(leftover.infoPath)))
            continue;
        const bool hasModel = Exists(leftover.modelPath);
        if (!Exists(leftover.infoPath)) {
            leftover.problem = "its description is missing";
        } else if (Result read = ReadInfo(leftover.infoPath, &leftover.info); !read) {
            leftover.problem = read.error;
        } else if (IsRunning(leftover.info.process)) {
            continue;  // another program's live copy
        } else if (!hasModel) {
            // The program ended between writing the description and its first copy.
            (void)RemoveFile(leftover.infoPath);
            continue;
        }
        if (leftover.problem.empty()) {
            if (Result valid = check(leftover.modelPath); !valid) leftover.problem = valid.error;
        }
        leftovers.push_back(std::move(leftover));
    }
    std::stable_sort(leftovers.begin(), leftovers.end(),
                     [](const RecoveryLeftover& a, const RecoveryLeftover& b) { return a.info.time > b.info.time; });
    return leftovers;
}

Result CRecoveryStore::Discard(const RecoveryLeftover& leftover)
{
    if (Result removed = RemoveFile(leftover.modelPath); !removed) return removed;
    return RemoveFile(leftover.infoPath);
}

Result CRecoveryStore::PutAside(const RecoveryLeftover& leftover)
{
    const std::string aside = DamagedFolder();
    std::error_code ec;
    fs::create_directories(aside, ec);
    if (ec) return Result::Failure("Cannot create the folder \"" + aside + "\": " + ec.message());
    // An earlier damaged copy of the same name stays as it is.
    std::string stem = leftover.stem;
    for (int n = 2; Exists(aside + "/" + stem + ".pdm") || Exists(aside + "/" + stem + ".info"); ++n)
        stem = leftover.stem + "-" + std::to_string(n);
    const std::pair<std::string, const char*> files[] = {{leftover.modelPath, ".pdm"}, {leftover.infoPath, ".info"}};
    for (const auto& [from, extension] : files) {
        if (!Exists(from)) continue;
        const std::string to = aside + "/" + stem + extension;
        fs::rename(from, to, ec);
        if (ec) return Result::Failure("Cannot move \"" + from + "\" to \"" + to + "\": " + ec.message());
    }
    return Result::Success();
}

Result CRecoveryStore::Adopt(const RecoveryLeftover& leftover, std::int64_t time)
{
    // Two programs may offer the same copy; whoever holds the lock first and finds it
    // still unclaimed takes it, the other is told.
    const CopyLock lock(leftover.modelPath);
    RecoveryInfo now;
    if (!lock.Held() || !OwnPlainFile(leftover.infoPath) || !ReadInfo(leftover.infoPath, &now) ||
        !(now.process == leftover.info.process))
        return Result::Failure(std::string(kRecoveredElsewhere) + ", or is gone.");
    const std::string description = FormatRecoveryInfo(RecoveryInfo{now.original, time, m_self});
    if (Result written = WriteAtomically(leftover.infoPath, description); !written) return written;
    // Whatever this program kept so far is replaced by the recovered model.
    if (Result removed = Remove(); !removed) return removed;
    m_adopted = leftover.stem;
    return Result::Success();
}

Result CRecoveryStore::Release(const RecoveryLeftover& leftover)
{
    if (m_adopted != leftover.stem) return Result::Success();
    m_adopted.clear();
    return WriteAtomically(leftover.infoPath, FormatRecoveryInfo(leftover.info));
}
