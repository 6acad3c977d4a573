#include "catalog/file_io.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace vs {
namespace {

namespace fs = std::filesystem;

// The user that root runs the unprivileged cases as.
constexpr uid_t kNobody = 65534;

std::vector<std::string> namesIn(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct stat statOf(const fs::path& path)
{
    struct stat info{};
    if (::lstat(path.c_str(), &info) != 0)
        ADD_FAILURE() << "cannot stat " << path << ": " << std::generic_category().message(errno);
    return info;
}

mode_t modeOf(const fs::path& path)
{
    return statOf(path).st_mode & 07777;
}

void setMode(const fs::path& path, mode_t mode)
{
    ASSERT_EQ(::chmod(path.c_str(), mode), 0) << path;
}

// The errno the write failed with, or 0 when it succeeded.
int writeError(const fs::path& path, std::string_view bytes)
{
    try {
        writeFileAtomically(path, bytes);
        return 0;
    } catch (const std::system_error& e) {
        EXPECT_EQ(e.code().category(), std::generic_category());
        return e.code().value();
    }
}

bool isRoot()
{
    return ::geteuid() == 0;
}

// Sets the umask for one test and puts the old one back.
class ScopedUmask {
public:
    explicit ScopedUmask(mode_t mask) : old_(::umask(mask)) {}
    ~ScopedUmask() { ::umask(old_); }
    ScopedUmask(const ScopedUmask&) = delete;
    ScopedUmask& operator=(const ScopedUmask&) = delete;

private:
    mode_t old_;
};

TEST(FileWrite, ANewFileGetsTheUmasksPermissions)
{
    test::TempDir dir;
    ScopedUmask mask(027);
    const fs::path target = dir.path() / "shop0.txt";
    ASSERT_EQ(writeError(target, "new\r\n"), 0);
    EXPECT_EQ(test::readBytes(target), "new\r\n");
    EXPECT_EQ(modeOf(target), 0640u);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"shop0.txt"});
}

TEST(FileWrite, ReplacingKeepsTheModeAndTakesTheNewBytesExactly)
{
    test::TempDir dir;
    const fs::path target = dir.write("shop0.txt", std::string(5000, 'x'));
    setMode(target, 0640);
    const std::string bytes("short\0with a nul\r\n", 18);
    ASSERT_EQ(writeError(target, bytes), 0);
    EXPECT_EQ(test::readBytes(target), bytes);
    EXPECT_EQ(modeOf(target), 0640u);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"shop0.txt"});
}

TEST(FileWrite, AWriteProtectedFileIsRefusedAndKept)
{
    // Also as root, whom access() would let through.
    test::TempDir dir;
    const fs::path target = dir.write("shop0.txt", "old bytes\r\n");
    setMode(target, 0444);
    EXPECT_EQ(writeError(target, "new bytes\r\n"), EACCES);
    EXPECT_EQ(test::readBytes(target), "old bytes\r\n");
    EXPECT_EQ(modeOf(target), 0444u);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"shop0.txt"});
}

TEST(FileWrite, AFolderInTheTargetsPlaceIsRefused)
{
    test::TempDir dir;
    dir.write("shop0.txt/keep.txt", "precious");
    EXPECT_EQ(writeError(dir.path() / "shop0.txt", "new"), EISDIR);
    EXPECT_EQ(test::readBytes(dir.path() / "shop0.txt/keep.txt"), "precious");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"shop0.txt"});
}

TEST(FileWrite, AMissingFolderIsTheFoldersError)
{
    test::TempDir dir;
    EXPECT_EQ(writeError(dir.path() / "no/such/shop0.txt", "new"), ENOENT);
    EXPECT_TRUE(namesIn(dir.path()).empty());
}

TEST(FileWrite, RootKeepsTheReplacedFilesOwnerAndGroup)
{
    if (!isRoot())
        GTEST_SKIP() << "only root may give a file to another user; not running as root";
    test::TempDir dir;
    const fs::path target = dir.write("shop0.txt", "old");
    ASSERT_EQ(::chown(target.c_str(), kNobody, kNobody), 0);
    setMode(target, 0640);
    ASSERT_EQ(writeError(target, "new"), 0);
    EXPECT_EQ(test::readBytes(target), "new");
    struct stat info = statOf(target);
    EXPECT_EQ(info.st_uid, kNobody);
    EXPECT_EQ(info.st_gid, kNobody);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"shop0.txt"});
}

// Links: the file named is replaced, the link itself never.

TEST(FileWriteLinks, AnAbsoluteLinkIsFollowed)
{
    test::TempDir dir;
    const fs::path real = dir.write("data/shop0.txt", "old");
    setMode(real, 0640);
    const fs::path link = dir.path() / "shop0.txt";
    fs::create_symlink(real, link);

    ASSERT_EQ(writeError(link, "new bytes"), 0);
    ASSERT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link), real);
    EXPECT_EQ(test::readBytes(real), "new bytes");
    EXPECT_EQ(modeOf(real), 0640u);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"data", "shop0.txt"}));
    EXPECT_EQ(namesIn(dir.path() / "data"), std::vector<std::string>{"shop0.txt"});
}

TEST(FileWriteLinks, AChainOfRelativeLinksIsReadFromEachLinksFolder)
{
    // links/shop0.txt -> next.txt -> ../data/real.txt; none of it resolves from
    // the working folder.
    test::TempDir dir;
    const fs::path real = dir.write("data/real.txt", "old");
    fs::create_directory(dir.path() / "links");
    const fs::path first = dir.path() / "links/shop0.txt";
    const fs::path second = dir.path() / "links/next.txt";
    fs::create_symlink("next.txt", first);
    fs::create_symlink("../data/real.txt", second);

    ASSERT_EQ(writeError(first, "new bytes"), 0);
    EXPECT_EQ(test::readBytes(real), "new bytes");
    ASSERT_TRUE(fs::is_symlink(first));
    ASSERT_TRUE(fs::is_symlink(second));
    EXPECT_EQ(fs::read_symlink(first), "next.txt");
    EXPECT_EQ(fs::read_symlink(second), "../data/real.txt");
    EXPECT_EQ(namesIn(dir.path() / "links"), (std::vector<std::string>{"next.txt", "shop0.txt"}));
    EXPECT_EQ(namesIn(dir.path() / "data"), std::vector<std::string>{"real.txt"});
}

TEST(FileWriteLinks, AWriteProtectedFileBehindALinkIsRefused)
{
    test::TempDir dir;
    const fs::path real = dir.write("real.txt", "old");
    setMode(real, 0444);
    const fs::path link = dir.path() / "shop0.txt";
    fs::create_symlink("real.txt", link);
    EXPECT_EQ(writeError(link, "new"), EACCES);
    EXPECT_EQ(test::readBytes(real), "old");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"real.txt", "shop0.txt"}));
}

TEST(FileWriteLinks, ADanglingLinkCreatesTheFileItNames)
{
    test::TempDir dir;
    ScopedUmask mask(022);
    fs::create_directory(dir.path() / "data");
    const fs::path link = dir.path() / "shop0.txt";
    fs::create_symlink("data/made.txt", link);

    ASSERT_EQ(writeError(link, "new bytes"), 0);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::readBytes(dir.path() / "data/made.txt"), "new bytes");
    EXPECT_EQ(modeOf(dir.path() / "data/made.txt"), 0644u);
    EXPECT_EQ(namesIn(dir.path() / "data"), std::vector<std::string>{"made.txt"});
}

TEST(FileWriteLinks, ADanglingLinkIntoAMissingFolderFailsAndStays)
{
    test::TempDir dir;
    const fs::path link = dir.path() / "shop0.txt";
    fs::create_symlink("nowhere/made.txt", link);
    EXPECT_EQ(writeError(link, "new"), ENOENT);
    ASSERT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link), "nowhere/made.txt");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"shop0.txt"});
}

TEST(FileWriteLinks, ALinkLoopIsRefused)
{
    test::TempDir dir;
    fs::create_symlink("b.txt", dir.path() / "a.txt");
    fs::create_symlink("a.txt", dir.path() / "b.txt");
    EXPECT_EQ(writeError(dir.path() / "a.txt", "new"), ELOOP);
    EXPECT_TRUE(fs::is_symlink(dir.path() / "a.txt"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "b.txt"));
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"a.txt", "b.txt"}));
}

// Permission cases as an ordinary user. Root passes folder permission checks, so
// as root the save is done by vaultsmith-cli run as nobody (its normalize -o
// writes through the same function); otherwise the function is called directly.

struct SaveOutcome {
    bool ok;
    std::string error;  // the error message, as callers print it
};

class FileWriteAsUser : public ::testing::Test {
protected:
    void SetUp() override
    {
        asRoot_ = isRoot();
        if (!asRoot_) {
            bytes_ = "1 2 3 4 5 6 7\r\nend\r\n";
            return;
        }
        if (std::system("command -v setpriv > /dev/null 2>&1") != 0)
            GTEST_SKIP() << "running as root without setpriv: the cases that need an ordinary user "
                            "cannot switch to one";
        // The unprivileged user reads the input from here and needs a way in.
        setMode(inputs_.path(), 0755);
        input_ = inputs_.write("shop_in.txt", "1 2 3 4 5 6 7\r\nend\r\n");
        setMode(input_, 0644);
        // What the program writes for that input, as read back by the same user;
        // it also proves the user can run the program at all.
        Run run = runAsNobody({"normalize", input_.string()});
        if (run.status != 0)
            GTEST_SKIP() << "user " << kNobody << " cannot run " << program() << " (status " << run.status
                         << "): " << run.err;
        ASSERT_FALSE(run.out.empty());
        bytes_ = run.out;
    }

    // Saves bytes() to `target` as the ordinary user.
    SaveOutcome save(const fs::path& target)
    {
        if (!asRoot_) {
            try {
                writeFileAtomically(target, bytes_);
                return {true, ""};
            } catch (const std::system_error& e) {
                return {false, e.code().message()};
            }
        }
        Run run = runAsNobody({"normalize", input_.string(), "-o", target.string()});
        EXPECT_TRUE(run.out.empty()) << run.out;
        if (run.status == 0) {
            EXPECT_TRUE(run.err.empty()) << run.err;
            return {true, ""};
        }
        EXPECT_NE(run.err.find("cannot write " + target.string()), std::string::npos) << run.err;
        return {false, run.err};
    }

    static void expectRefused(const SaveOutcome& outcome, int code)
    {
        EXPECT_FALSE(outcome.ok);
        EXPECT_NE(outcome.error.find(std::generic_category().message(code)), std::string::npos) << outcome.error;
    }

    // Hands a file or folder to the user the save runs as.
    void giveToUser(const fs::path& path)
    {
        if (asRoot_) {
            ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0) << path;
        }
    }

    const std::string& bytes() const { return bytes_; }
    bool asRoot() const { return asRoot_; }

private:
    struct Run {
        int status;
        std::string out;
        std::string err;
    };

    static std::string program() { return VAULTSMITH_BIN_DIR "/vaultsmith-cli"; }

    static std::string quoted(const std::string& text)
    {
        std::string out = "'";
        for (char c : text)
            out += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return out + "'";
    }

    Run runAsNobody(const std::vector<std::string>& args)
    {
        std::string command = "setpriv --reuid=" + std::to_string(kNobody) + " --regid=" + std::to_string(kNobody) +
                              " --clear-groups " + quoted(program());
        for (const std::string& arg : args)
            command += " " + quoted(arg);
        const fs::path out = inputs_.path() / "stdout", err = inputs_.path() / "stderr";
        command += " > " + quoted(out.string()) + " 2> " + quoted(err.string());
        int status = std::system(command.c_str());
        Run run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::readBytes(out), test::readBytes(err)};
        fs::remove(out);
        fs::remove(err);
        return run;
    }

    bool asRoot_ = false;
    test::TempDir inputs_;
    fs::path input_;
    std::string bytes_;
};

TEST_F(FileWriteAsUser, AFolderWithoutWritePermissionGetsTheFileWrittenInPlace)
{
    test::TempDir dir;
    const fs::path target = dir.write("shop0.txt", std::string(5000, 'x'));
    setMode(target, 0640);
    giveToUser(target);
    giveToUser(dir.path());
    setMode(dir.path(), 0555);
    const struct stat before = statOf(target);

    ASSERT_TRUE(save(target).ok);
    EXPECT_EQ(test::readBytes(target), bytes());
    const struct stat after = statOf(target);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the file was replaced, not written in place";
    EXPECT_EQ(after.st_dev, before.st_dev);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"shop0.txt"});
}

TEST_F(FileWriteAsUser, AFolderWithoutWritePermissionTakesNoNewFile)
{
    test::TempDir dir;
    giveToUser(dir.path());
    setMode(dir.path(), 0555);
    expectRefused(save(dir.path() / "shop0.txt"), EACCES);
    EXPECT_TRUE(namesIn(dir.path()).empty());
}

TEST_F(FileWriteAsUser, AWriteProtectedFileOfTheUsersOwnIsRefused)
{
    test::TempDir dir;
    const fs::path target = dir.write("shop0.txt", "old bytes\r\n");
    setMode(target, 0444);
    giveToUser(target);
    giveToUser(dir.path());
    expectRefused(save(target), EACCES);
    EXPECT_EQ(test::readBytes(target), "old bytes\r\n");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"shop0.txt"});
}

TEST_F(FileWriteAsUser, AnotherUsersFileInAnOpenFolderIsRefused)
{
    if (!asRoot())
        GTEST_SKIP() << "needs a file owned by another user, which only root can set up; not running as root";
    // Root's 0644 file in a folder everyone may write: a rename would replace it.
    test::TempDir dir;
    const fs::path target = dir.write("shop0.txt", "old bytes\r\n");
    setMode(target, 0644);
    setMode(dir.path(), 0777);
    expectRefused(save(target), EACCES);
    EXPECT_EQ(test::readBytes(target), "old bytes\r\n");
    EXPECT_EQ(statOf(target).st_uid, 0u);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"shop0.txt"});
}

TEST_F(FileWriteAsUser, AnotherUsersWritableFileInAStickyFolderIsWrittenInPlace)
{
    if (!asRoot())
        GTEST_SKIP() << "needs a file owned by another user, which only root can set up; not running as root";
    // The user may add files to the folder but not rename over root's.
    test::TempDir dir;
    const fs::path target = dir.write("shop0.txt", std::string(5000, 'x'));
    setMode(target, 0666);
    setMode(dir.path(), 01777);
    const struct stat before = statOf(target);

    ASSERT_TRUE(save(target).ok);
    EXPECT_EQ(test::readBytes(target), bytes());
    const struct stat after = statOf(target);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_uid, 0u);
    EXPECT_EQ(after.st_mode & 07777, 0666u);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"shop0.txt"});
}

TEST(FileBackup, KeepsTheFileAsItStandsAndAsPrivate)
{
    test::TempDir dir;
    const std::filesystem::path file = dir.write("shop1.txt", std::string("a\0b", 3));
    std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    dir.write("shop1.txt.bak", "older");
    EXPECT_TRUE(keepBackupCopy(file));
    EXPECT_EQ(test::readBytes(dir.path() / "shop1.txt.bak"), std::string("a\0b", 3));
    EXPECT_EQ(std::filesystem::status(dir.path() / "shop1.txt.bak").permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    // Nothing to keep: no file, or a folder.
    EXPECT_FALSE(keepBackupCopy(dir.path() / "none.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "none.txt.bak"));
    std::filesystem::create_directory(dir.path() / "folder");
    EXPECT_FALSE(keepBackupCopy(dir.path() / "folder"));
    // A backup that cannot be written throws, and leaves the file alone.
    std::filesystem::create_directory(dir.path() / "shop2.txt.bak");
    const std::filesystem::path second = dir.write("shop2.txt", "x");
    EXPECT_THROW(keepBackupCopy(second), std::system_error);
    EXPECT_EQ(test::readBytes(second), "x");
    // A link in the copy's place is replaced, and what it points to is left alone.
    const std::filesystem::path precious = dir.write("precious.txt", "mine");
    const std::filesystem::path third = dir.write("shop3.txt", "third");
    std::filesystem::create_symlink(precious, dir.path() / "shop3.txt.bak");
    EXPECT_TRUE(keepBackupCopy(third));
    EXPECT_EQ(test::readBytes(precious), "mine");
    EXPECT_FALSE(std::filesystem::is_symlink(dir.path() / "shop3.txt.bak"));
    EXPECT_EQ(test::readBytes(dir.path() / "shop3.txt.bak"), "third");
}

}  // namespace
}  // namespace vs
