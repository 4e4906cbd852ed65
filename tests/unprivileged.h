// Running a piece of a test as a user without root's rights, for checks of file permissions
// (root may write any file, so a read-only file means nothing to it).
#pragma once

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <string>

struct UserIds {
    uid_t uid;
    gid_t gid;
};

// Whom the work runs as: "nobody" when the test runs as root, else the test's own user.
// Empty when the test runs as root and the system has no "nobody".
inline std::optional<UserIds> UnprivilegedUser()
{
    if (::geteuid() != 0) return UserIds{::geteuid(), ::getegid()};
    const passwd* nobody = ::getpwnam("nobody");
    if (!nobody) return std::nullopt;
    return UserIds{nobody->pw_uid, nobody->pw_gid};
}

// Runs the work as UnprivilegedUser() and returns the text it returned. As root this
// happens in a forked child that gives up root first; its text comes back through a pipe.
// A child that cannot drop its rights returns "cannot drop root rights".
inline std::string RunUnprivileged(const std::function<std::string()>& work)
{
    if (::geteuid() != 0) return work();
    const std::optional<UserIds> user = UnprivilegedUser();
    int pipeEnds[2];
    if (!user || ::pipe(pipeEnds) != 0) return "cannot drop root rights";
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        return "cannot drop root rights";
    }
    if (child == 0) {
        ::close(pipeEnds[0]);
        std::string text = "cannot drop root rights";
        if (::setgroups(0, nullptr) == 0 && ::setgid(user->gid) == 0 && ::setuid(user->uid) == 0) text = work();
        for (std::size_t done = 0; done < text.size();) {
            const ssize_t n = ::write(pipeEnds[1], text.data() + done, text.size() - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, std::size_t(n));
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return text;
}

// Hands a folder (made by root) to the unprivileged user, so that the work may create files in it.
inline bool GiveFolderTo(const std::string& folder, const UserIds& user)
{
    return ::geteuid() != 0 || ::chown(folder.c_str(), user.uid, user.gid) == 0;
}
