// Reading and atomic writing against what the file system can hold: FIFOs, devices,
// links, huge files, long names, read-only files, other users' files.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/atomic_file.h"
#include "test_files.h"
#include "unprivileged.h"

namespace {

using Bytes = std::vector<unsigned char>;
namespace fs = std::filesystem;

std::size_t EntriesIn(const std::string& folder)
{
    return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
}

struct stat Status(const std::string& path)
{
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st;
}

TEST(ReadFileStart, ReadsOnlyRegularFilesAndAtMostTheLimit)
{
    TempFolder folder;
    ASSERT_EQ(::mkfifo((folder / "fifo.pdm").c_str(), 0644), 0);
    WriteBytes(folder / "short", std::string("abc"));
    // A sparse gigabyte: nothing of it may be read beyond the limit.
    const std::string huge = folder / "huge";
    WriteBytes(huge, std::string("head"));
    fs::resize_file(huge, std::uintmax_t(1) << 30);

    struct Case {
        std::string path;
        std::size_t limit;
        std::string reason;  // empty: the read succeeds
        std::size_t size;
    };
    const Case cases[] = {
        {folder / "short", 100, "", 3},
        {folder / "short", 2, "", 2},
        {huge, 240008, "", 240008},
        {folder / "missing", 100, "No such file or directory", 0},
        {folder.Path(), 100, "it is a folder", 0},
        {folder / "fifo.pdm", 100, "it is not a regular file", 0},  // would wait for a writer forever
        {"/dev/zero", 100, "it is not a regular file", 0},          // would never end
    };
    for (const Case& c : cases) {
        Bytes bytes{1, 2};
        const FileResult read = ReadFileStart(c.path, c.limit, &bytes);
        EXPECT_EQ(read.ok, c.reason.empty()) << c.path;
        EXPECT_EQ(read.reason, c.reason) << c.path;
        EXPECT_EQ(bytes.size(), c.size) << c.path;
        if (!read.ok) {
            EXPECT_EQ(read.error, "Cannot read \"" + c.path + "\": " + c.reason + ".");
        }
    }
}

TEST(WriteFileAtomically, ReplacesTheFileALinkLeadsToAndKeepsTheLink)
{
    TempFolder folder;
    fs::create_directory(folder / "sub");
    WriteBytes(folder / "sub/real.pdm", std::string("old"));
    // An absolute link, a relative one into a subfolder, a chain, and a link to nothing yet.
    fs::create_symlink(folder / "sub/real.pdm", folder / "absolute.pdm");
    fs::create_symlink("sub/real.pdm", folder / "relative.pdm");
    fs::create_symlink("relative.pdm", folder / "chain.pdm");
    fs::create_symlink("sub/later.pdm", folder / "dangling.pdm");
    const struct {
        std::string link, target;
    } cases[] = {
        {"absolute.pdm", "sub/real.pdm"},
        {"relative.pdm", "sub/real.pdm"},
        {"chain.pdm", "sub/real.pdm"},
        {"dangling.pdm", "sub/later.pdm"},
    };
    for (const auto& c : cases) {
        const FileResult written = WriteFileAtomically(folder / c.link, "new " + c.link);
        ASSERT_TRUE(written.ok) << written.error;
        EXPECT_TRUE(S_ISLNK(Status(folder / c.link).st_mode)) << c.link << " is still a link";
        EXPECT_EQ(ReadText(folder / c.target), "new " + c.link);
    }
    EXPECT_EQ(EntriesIn(folder / "sub"), 2u) << "no temporary file is left";

    fs::create_symlink("loop.pdm", folder / "loop.pdm");
    const FileResult loop = WriteFileAtomically(folder / "loop.pdm", "x");
    EXPECT_FALSE(loop.ok);
    EXPECT_EQ(loop.reason, "Too many levels of symbolic links");
}

TEST(WriteFileAtomically, RefusesWhatIsNotARegularFile)
{
    TempFolder folder;
    const std::string fifo = folder / "fifo.pdm";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    fs::create_directory(folder / "dir.pdm");
    fs::create_symlink("fifo.pdm", folder / "to-fifo.pdm");
    const struct {
        std::string path, reason;
    } cases[] = {
        {fifo, "it is not a regular file"},
        {folder / "to-fifo.pdm", "it is not a regular file"},
        {folder / "dir.pdm", "it is a folder"},
    };
    for (const auto& c : cases) {
        const FileResult written = WriteFileAtomically(c.path, "model");
        EXPECT_FALSE(written.ok) << c.path;
        EXPECT_EQ(written.error, "Cannot write \"" + c.path + "\": " + c.reason + ".");
    }
    EXPECT_TRUE(S_ISFIFO(Status(fifo).st_mode));
    EXPECT_TRUE(S_ISDIR(Status(folder / "dir.pdm").st_mode));
    EXPECT_EQ(EntriesIn(folder.Path()), 3u) << "no temporary file is left";
}

TEST(WriteFileAtomically, KeepsModeOwnerAndGroup)
{
    TempFolder folder;
    const std::string path = folder / "model.pdm";
    WriteBytes(path, std::string("old"));
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const bool root = ::geteuid() == 0;
    const std::optional<UserIds> other = UnprivilegedUser();
    if (root && other) {
        ASSERT_EQ(::chown(path.c_str(), other->uid, other->gid), 0);
    }
    const struct stat before = Status(path);

    ASSERT_TRUE(WriteFileAtomically(path, "new").ok);
    const struct stat after = Status(path);
    EXPECT_EQ(ReadText(path), "new");
    EXPECT_NE(after.st_ino, before.st_ino) << "replaced, not rewritten in place";
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);

    // A new file gets what a plain create would give it.
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(WriteFileAtomically(folder / "fresh.pdm", "x").ok);
    ::umask(mask);
    EXPECT_EQ(Status(folder / "fresh.pdm").st_mode & 07777, 0644u);
}

// Big pieces are written in stretches, each handed to the disk on its own: the file
// is still every byte of every piece, in order.
TEST(WriteFileAtomically, WritesBigPiecesWhole)
{
    TempFolder folder;
    Bytes big(std::size_t(21) << 20), odd(3, 7);
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<unsigned char>(i * 31 + (i >> 20));
    const std::span<const unsigned char> pieces[] = {odd, big, odd, {big.data() + 5, (std::size_t(9) << 20) + 1}};
    ASSERT_TRUE(WriteFileAtomically(folder / "big.pdm", pieces).ok);
    Bytes expected;
    for (const auto& piece : pieces) expected.insert(expected.end(), piece.begin(), piece.end());
    Bytes read;
    ASSERT_TRUE(ReadFileStart(folder / "big.pdm", expected.size() + 1, &read).ok);
    EXPECT_TRUE(read == expected) << read.size() << " bytes against " << expected.size();
}

TEST(WriteFileAtomically, AcceptsEveryNameTheFileSystemAccepts)
{
    TempFolder folder;
    const std::string longest = folder / (std::string(NAME_MAX - 4, 'n') + ".pdm");
    ASSERT_TRUE(WriteFileAtomically(longest, "x").ok);
    EXPECT_EQ(ReadText(longest), "x");
    const FileResult tooLong = WriteFileAtomically(folder / (std::string(NAME_MAX - 3, 'n') + ".pdm"), "x");
    EXPECT_FALSE(tooLong.ok);
    EXPECT_EQ(tooLong.reason, "File name too long");
    EXPECT_EQ(EntriesIn(folder.Path()), 1u);
}

TEST(WriteFileAtomically, RefusesAFileItsUserMayNotWrite)
{
    const std::optional<UserIds> user = UnprivilegedUser();
    if (!user) GTEST_SKIP() << "running as root and the system has no user \"nobody\" to drop to";
    TempFolder folder;
    ASSERT_TRUE(GiveFolderTo(folder.Path(), *user));
    // The user's own file of mode 444, and (made by root) a file of root's, mode 644, in the user's folder.
    const std::string readOnly = folder / "read-only.pdm", others = folder / "others.pdm";
    const std::string writable = folder / "writable.pdm";
    std::vector<std::string> refused{readOnly};
    for (const std::string& path : {readOnly, writable}) WriteBytes(path, std::string("old"));
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(readOnly.c_str(), user->uid, user->gid), 0);
        ASSERT_EQ(::chown(writable.c_str(), user->uid, user->gid), 0);
        WriteBytes(others, std::string("old"));
        refused.push_back(others);
    }

    const std::string outcome = RunUnprivileged([&] {
        std::string text = WriteFileAtomically(writable, "new").error + "|";
        for (const std::string& path : refused) text += WriteFileAtomically(path, "new").error + "|";
        return text;
    });
    if (outcome.find("Permission denied (in folder") != std::string::npos)
        GTEST_SKIP() << "the unprivileged user cannot reach the temporary folder: " << outcome;
    std::string expected = "|";
    for (const std::string& path : refused) expected += "Cannot write \"" + path + "\": the file is read-only.|";
    EXPECT_EQ(outcome, expected);
    EXPECT_EQ(ReadText(writable), "new") << "the folder and a file of the user's own are writable";
    for (const std::string& path : refused) EXPECT_EQ(ReadText(path), "old") << path;
    EXPECT_EQ(Status(readOnly).st_mode & 07777, 0444u);
    EXPECT_EQ(EntriesIn(folder.Path()), 1 + refused.size()) << "no temporary file is left";
}

}  // namespace

// A save killed half way leaves its temporary file; a later save in that folder removes
// it once it is old and no writer holds it, and never touches one being written.
TEST(WriteFileAtomically, SweepsStaleTemporaryFilesOfEndedWriters)
{
    TempFolder temp;
    auto make = [&](const std::string& name, long age) {
        WriteBytes(temp / name, Bytes{1, 2, 3});
        const timespec times[2] = {{::time(nullptr) - age, 0}, {::time(nullptr) - age, 0}};
        ::utimensat(AT_FDCWD, (temp / name).c_str(), times, 0);
    };
    make(".polydrom-aaaaaa", kStaleTempAge + 60);   // a killed writer's
    make(".polydrom-bbbbbb", 5);                     // perhaps just being written
    make(".polydrom-cccccc", kStaleTempAge + 60);   // locked by a writer still at work
    make(".polydrom-notours", kStaleTempAge + 60);  // another pattern
    make("model.pdm", kStaleTempAge + 60);
    const int writer = ::open((temp / ".polydrom-cccccc").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(writer, LOCK_EX), 0);

    ASSERT_TRUE(WriteFileAtomically(temp / "model.pdm", std::string_view("new")));
    EXPECT_FALSE(fs::exists(temp / ".polydrom-aaaaaa"));
    EXPECT_TRUE(fs::exists(temp / ".polydrom-bbbbbb"));
    EXPECT_TRUE(fs::exists(temp / ".polydrom-cccccc"));
    EXPECT_TRUE(fs::exists(temp / ".polydrom-notours"));
    EXPECT_EQ(EntriesIn(temp.Path()), 4u);
    ::close(writer);
}

// Saving over a file with several names writes it in place: every name sees the new
// content, and no copy is left beside it.
TEST(WriteFileAtomically, AFileWithSeveralNamesIsWrittenInPlace)
{
    TempFolder temp;
    WriteBytes(temp / "model.pdm", std::string("old model"));
    ASSERT_EQ(::link((temp / "model.pdm").c_str(), (temp / "other-name.pdm").c_str()), 0);
    const ino_t inode = Status(temp / "model.pdm").st_ino;
    ASSERT_TRUE(WriteFileAtomically(temp / "model.pdm", std::string_view("new")));
    EXPECT_EQ(ReadText(temp / "other-name.pdm"), "new");
    EXPECT_EQ(Status(temp / "model.pdm").st_ino, inode);
    EXPECT_EQ(Status(temp / "model.pdm").st_nlink, 2u);
    EXPECT_EQ(EntriesIn(temp.Path()), 2u);

    // A file written in pieces (a model's arrays) is their whole, cut to its length there too.
    const std::string_view parts[] = {"a longer ", "", "model"};
    std::vector<std::span<const unsigned char>> pieces;
    for (const std::string_view part : parts)
        pieces.emplace_back(reinterpret_cast<const unsigned char*>(part.data()), part.size());
    ASSERT_TRUE(WriteFileAtomically(temp / "model.pdm", pieces));
    EXPECT_EQ(ReadText(temp / "other-name.pdm"), "a longer model");
    pieces.pop_back();
    ASSERT_TRUE(WriteFileAtomically(temp / "model.pdm", pieces));
    EXPECT_EQ(ReadText(temp / "model.pdm"), "a longer ");
    EXPECT_EQ(Status(temp / "model.pdm").st_ino, inode);
}
