// Memory of the installed command on inputs that would be large as entries:
// the program runs in a child process, and a second child waits for it and
// reports its peak resident size (getrusage of its own children only).
#include "test_support.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vs {
namespace {

struct ChildRun {
    int status = -1;
    long peakKb = -1;
};

// Runs the program with `args`, its output to /dev/null, and returns its
// exit status and peak memory.
ChildRun runMeasured(const std::vector<std::string>& args)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return {};
    const pid_t measurer = ::fork();
    if (measurer == 0) {
        ::close(pipeFds[0]);
        const pid_t program = ::fork();
        if (program == 0) {
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 1);
            ::dup2(null, 2);  // the layout line entries prints
            std::vector<char*> argv;
            for (const std::string& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        int status = 0;
        ::waitpid(program, &status, 0);
        rusage usage{};
        ::getrusage(RUSAGE_CHILDREN, &usage);
        const long result[2] = {WIFEXITED(status) ? WEXITSTATUS(status) : 128, usage.ru_maxrss};
        if (::write(pipeFds[1], result, sizeof result) != static_cast<ssize_t>(sizeof result))
            ::_exit(1);
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    long result[2] = {-1, -1};
    const ssize_t got = ::read(pipeFds[0], result, sizeof result);
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(measurer, &status, 0);
    if (got != static_cast<ssize_t>(sizeof result))
        return {};
    return {static_cast<int>(result[0]), result[1]};
}

TEST(CliMemory, ALineOfEightMegabytesOfCommasStaysSmall)
{
    // Eight million empty records: kept as entries they would take about a
    // gigabyte; read and written as a stream, not much more than the file.
    test::TempDir dir;
    const std::string program = std::string(VAULTSMITH_BIN_DIR) + "/vaultsmith-cli";
    const long limitKb = 100 * 1024;
    for (const char* name : {"shop.txt", "bag.txt"}) {
        const std::string file = dir.write(name, std::string(size_t{8} << 20, ',')).string();
        for (std::vector<std::string> args : {std::vector<std::string>{program, "normalize", file},
                                              std::vector<std::string>{program, "normalize", "--tidy", file},
                                              std::vector<std::string>{program, "entries", file}}) {
            const ChildRun run = runMeasured(args);
            EXPECT_EQ(run.status, 0) << args[1] << " " << name;
            EXPECT_GT(run.peakKb, 0) << args[1] << " " << name;
            EXPECT_LT(run.peakKb, limitKb) << args[1] << " " << (args.size() > 3 ? args[2] + " " : "") << name;
        }
    }
}

}  // namespace
}  // namespace vs
