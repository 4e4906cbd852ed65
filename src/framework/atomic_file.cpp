// Bounded reading of regular files, and atomic replacement that respects links, owners and modes.
#include "framework/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <new>

namespace {

std::string ErrnoText(int err) { return std::strerror(err); }

std::string FolderOf(const std::string& path)
{
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Closes a descriptor on every way out.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0) ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return m_fd; }
    // Closes now, for callers that must see the error of the close.
    int Close()
    {
        const int status = ::close(m_fd);
        m_fd = -1;
        return status;
    }

private:
    int m_fd;
};

// The reason a file that exists cannot be read or replaced as a model, image or export.
const char* KindRefusal(mode_t mode)
{
    if (S_ISDIR(mode)) return "it is a folder";
    if (!S_ISREG(mode)) return "it is not a regular file";
    return nullptr;
}

// Follows symbolic links to the file a save should replace, so that the link itself
// stays. A link to a missing file leads to that name, which the save then creates.
bool ResolveLinks(const std::string& path, std::string* target, std::string* reason)
{
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            *target = current;
            return true;
        }
        std::string link(PATH_MAX, '\0');
        const ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
        if (n < 0) {
            *reason = ErrnoText(errno);
            return false;
        }
        link.resize(static_cast<std::size_t>(n));
        current = link.starts_with('/') ? link : FolderOf(current) + "/" + link;
    }
    *reason = ErrnoText(ELOOP);
    return false;
}

// The mask a plain create would apply; umask can only be read by setting it.
mode_t CurrentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// Gives the temporary file what the old file had: owner and group where the system lets
// us (root may; other users only a group of their own), then the mode. The set-id bits
// are kept only together with the owner they belong to.
void TakeOverOwnerAndMode(int fd, const struct stat& old)
{
    const bool owner = ::fchown(fd, old.st_uid, old.st_gid) == 0;
    if (!owner && ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
        // The group stays ours: the file remains readable and writable by its user.
    }
    const mode_t keep = owner ? 07777 : 01777;
    if (::fchmod(fd, old.st_mode & keep) != 0) {
        // The new file then keeps mkstemp's 0600, which exposes nothing.
    }
}

// The name pattern of the temporary files: a dot, to keep them out of sight, and
// mkstemp's six characters.
constexpr std::string_view kTempPrefix = ".polydrom-";
constexpr std::size_t kTempSuffix = 6;

bool IsTempName(std::string_view name)
{
    return name.size() == kTempPrefix.size() + kTempSuffix && name.starts_with(kTempPrefix);
}

// Removes the temporary files of writes that never finished (a program killed during a
// save) from the folder. A writer holds a lock on its temporary file from its creation
// until it is renamed into place, so a file that is both older than kStaleTempAge and
// unlocked has no writer any more; a file of another user is left alone.
void SweepStaleTemps(const std::string& folder)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const time_t now = ::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTempName(entry->d_name)) continue;
        const int fd = ::openat(::dirfd(dir), entry->d_name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
        if (fd < 0) continue;
        FileDescriptor file(fd);
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() ||
            now - st.st_mtime < kStaleTempAge || ::flock(fd, LOCK_EX | LOCK_NB) != 0)
            continue;
        // Still the same file under that name: not one a writer renamed away meanwhile.
        struct stat named {};
        if (::fstatat(::dirfd(dir), entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_ino == st.st_ino &&
            named.st_dev == st.st_dev)
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

// Writes over the file in place, for a target with several names (hard links): every
// name keeps seeing the same file. The complete copy beside it is on disk first, and
// goes only when the file itself is written and flushed.
using Pieces = std::span<const std::span<const unsigned char>>;

// The flush before the rename waits for the disk, which for a big file takes longer
// than the writing: each stretch of kWritebackStretch bytes is handed to the disk as soon
// as it is written, so that the two overlap and the flush waits only for the last ones.
constexpr std::size_t kWritebackStretch = std::size_t(8) << 20;

bool WriteAll(int fd, Pieces pieces, std::string* reason)
{
    std::size_t offset = 0, handedOver = 0;
    for (const std::span<const unsigned char> bytes : pieces) {
        std::size_t written = 0;
        while (written < bytes.size()) {
            const std::size_t stretch = std::min(bytes.size() - written, kWritebackStretch);
            const ssize_t n = ::write(fd, bytes.data() + written, stretch);
            if (n < 0) {
                if (errno == EINTR) continue;
                *reason = ErrnoText(errno);
                return false;
            }
            written += static_cast<std::size_t>(n);
            offset += static_cast<std::size_t>(n);
            if (offset - handedOver >= kWritebackStretch) {
                // Only a hint: where it fails (not Linux, not a disk), the flush does it all.
                (void)::sync_file_range(fd, off_t(handedOver), off_t(offset - handedOver), SYNC_FILE_RANGE_WRITE);
                handedOver = offset;
            }
        }
    }
    return true;
}

bool WriteInPlace(const std::string& target, Pieces pieces, std::string* reason)
{
    std::size_t size = 0;
    for (const auto& piece : pieces) size += piece.size();
    FileDescriptor fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY));
    struct stat st {};
    if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0) {
        *reason = ErrnoText(errno);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        *reason = "it is not a regular file";
        return false;
    }
    if (!WriteAll(fd.Get(), pieces, reason)) return false;
    if (::ftruncate(fd.Get(), static_cast<off_t>(size)) != 0 || ::fsync(fd.Get()) != 0 || fd.Close() != 0) {
        *reason = ErrnoText(errno);
        return false;
    }
    return true;
}

}  // namespace

FileResult FileResult::Failure(std::string_view verb, const std::string& path, std::string reason)
{
    FileResult result;
    result.ok = false;
    result.error = "Cannot " + std::string(verb) + " \"" + path + "\": " + reason + ".";
    result.reason = std::move(reason);
    return result;
}

FileResult ReadFileStart(const std::string& path, std::size_t maxBytes, std::vector<unsigned char>* bytes)
{
    auto fail = [&](std::string reason) { return FileResult::Failure("read", path, std::move(reason)); };
    bytes->clear();
    // Without O_NONBLOCK, opening a FIFO would wait for a writer that may never come.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.Get() < 0) return fail(ErrnoText(errno));
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0) return fail(ErrnoText(errno));
    if (const char* refusal = KindRefusal(st.st_mode)) return fail(refusal);

    try {
        std::vector<unsigned char> read;
        // The size is a hint only: files under /proc report 0 and still have content.
        read.reserve(std::min<std::size_t>(maxBytes, st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0));
        unsigned char buffer[65536];
        while (read.size() < maxBytes) {
            const ssize_t n = ::read(fd.Get(), buffer, std::min(sizeof buffer, maxBytes - read.size()));
            if (n < 0) {
                if (errno == EINTR) continue;
                return fail(ErrnoText(errno));
            }
            if (n == 0) break;
            read.insert(read.end(), buffer, buffer + n);
        }
        bytes->swap(read);
    } catch (const std::bad_alloc&) {
        return fail("not enough memory to read it");
    }
    return FileResult::Success();
}

FileResult WriteFileAtomically(const std::string& path, std::span<const unsigned char> bytes,
                               const std::function<std::string()>& lastCheck)
{
    const std::span<const unsigned char> pieces[1] = {bytes};
    return WriteFileAtomically(path, pieces, lastCheck);
}

FileResult WriteFileAtomically(const std::string& path, Pieces pieces, const std::function<std::string()>& lastCheck)
{
    std::string reason;
    auto fail = [&](std::string why) { return FileResult::Failure("write", path, std::move(why)); };

    std::string target;
    if (!ResolveLinks(path, &target, &reason)) return fail(reason);
    struct stat old {};
    const bool replacing = ::lstat(target.c_str(), &old) == 0;
    if (!replacing && errno != ENOENT) return fail(ErrnoText(errno));
    if (replacing) {
        if (const char* refusal = KindRefusal(old.st_mode)) return fail(refusal);
        // The temporary file and the rename need only the folder's permission; a file
        // its user may not write must not be replaced behind its back.
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            return fail(errno == EACCES || errno == EPERM ? "the file is read-only" : ErrnoText(errno));
    }

    // A short name of its own, so that a target name of up to NAME_MAX bytes still works.
    const std::string folder = FolderOf(target);
    std::string temp = (folder == "/" ? "" : folder) + "/.polydrom-XXXXXX";
    SweepStaleTemps(folder);
    FileDescriptor fd(::mkstemp(temp.data()));
    if (fd.Get() < 0) return fail(ErrnoText(errno));
    // Held until the file is renamed (or removed): a sweep leaves it alone meanwhile.
    ::flock(fd.Get(), LOCK_EX);
    auto discard = [&](std::string why) {
        ::unlink(temp.c_str());
        return fail(std::move(why));
    };

    if (replacing) {
        TakeOverOwnerAndMode(fd.Get(), old);
    } else if (::fchmod(fd.Get(), 0666 & ~CurrentUmask()) != 0) {
        // mkstemp's 0600 stays: stricter than a plain create, never looser.
    }
    if (!WriteAll(fd.Get(), pieces, &reason)) return discard(reason);
    if (::fsync(fd.Get()) != 0) return discard(ErrnoText(errno));
    if (lastCheck)
        if (std::string refusal = lastCheck(); !refusal.empty()) return discard(std::move(refusal));
    if (replacing && old.st_nlink > 1) {
        // The copy stays locked while the file is written over. Should that fail half
        // way, the copy is kept under a name of its own, out of the sweep's reach.
        if (!WriteInPlace(target, pieces, &reason)) {
            const std::string kept = target + ".polydrom-copy";
            if (::rename(temp.c_str(), kept.c_str()) == 0)
                return fail(reason + "; the whole new file is in \"" + kept + "\"");
            return discard(reason);
        }
        ::unlink(temp.c_str());
        return FileResult::Success();
    }
    if (fd.Close() != 0) return discard(ErrnoText(errno));
    if (::rename(temp.c_str(), target.c_str()) != 0) return discard(ErrnoText(errno));
    return FileResult::Success();
}

FileResult WriteFileAtomically(const std::string& path, std::string_view text)
{
    return WriteFileAtomically(path, std::span(reinterpret_cast<const unsigned char*>(text.data()), text.size()));
}
