#include "framework/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

std::string ErrnoText(int err) { return std::strerror(err); }

}  // namespace

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>* bytes, std::string* reason)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        *reason = ErrnoText(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        *reason = "it is a folder";
        return false;
    }
    bytes->clear();
    unsigned char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            *reason = ErrnoText(errno);
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        bytes->insert(bytes->end(), buffer, buffer + n);
    }
    ::close(fd);
    return true;
}

bool WriteFileAtomically(const std::string& path, std::span<const unsigned char> bytes, std::string* reason)
{
    struct stat target {};
    if (::stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode)) {
        *reason = "it is a folder";
        return false;
    }
    std::string temp = path + ".XXXXXX";
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0) {
        *reason = ErrnoText(errno);
        return false;
    }
    auto fail = [&](int err) {
        ::close(fd);
        ::unlink(name.data());
        *reason = ErrnoText(err);
        return false;
    };
    // mkstemp creates the file 0600; give it the permissions a plain create would.
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode_t mode = (0666 & ~mask);
    if (::stat(path.c_str(), &target) == 0) mode = target.st_mode & 07777;
    ::fchmod(fd, mode);

    std::size_t written = 0;
    while (written < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        written += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) return fail(errno);
    if (::close(fd) != 0) {
        int err = errno;
        ::unlink(name.data());
        *reason = ErrnoText(err);
        return false;
    }
    if (::rename(name.data(), path.c_str()) != 0) {
        int err = errno;
        ::unlink(name.data());
        *reason = ErrnoText(err);
        return false;
    }
    return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view text, std::string* reason)
{
    return WriteFileAtomically(
        path, std::span(reinterpret_cast<const unsigned char*>(text.data()), text.size()), reason);
}
