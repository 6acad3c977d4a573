// Error texts carry every byte of what failed, also a NUL byte, from the
// loader to the start-up message and the command line's standard error.
#include "catalog/catalog_loader.h"
#include "catalog/startup_message.h"
#include "catalog/vault_error.h"
#include "cli/cli_commands.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <sstream>

namespace vs {
namespace {

using namespace std::string_literals;

// An item record whose name is the one byte NUL, which cannot be unquoted.
const std::string kNulNameItems = "0\r\n1 1 1 0 0 0 \0 0 0 0 20\r\n"s;
const std::string kNulNameLine = "   Error:5, invalid argument (item name \\0 in item(Kor).txt, line 2)";

TEST(ErrorText, DescriptionKeepsBytesAfterANul)
{
    const VaultError error(ErrorKind::InvalidArgument, "name a\0b, line 3"s);
    EXPECT_EQ(error.description(), "invalid argument (name a\0b, line 3)"s);
    EXPECT_EQ(error.detail(), "name a\0b, line 3"s);
    EXPECT_EQ(startupFailureText(error, "\n"),
              "Error reading a required data file.  Program will terminate.\n"
              "   Error:5, invalid argument (name a\\0b, line 3)\n"
              "   Make sure data files exist and have proper format. ");
}

TEST(ErrorText, NulInANameReachesTheStartupMessage)
{
    test::TempDir dir;
    dir.write("item(Kor).txt", kNulNameItems);
    dir.write("subtypes.txt", "");
    try {
        loadDataFolder(dir.path());
        FAIL() << "a one-byte name loaded";
    } catch (const VaultError& error) {
        EXPECT_EQ(error.description(), "invalid argument (item name \0 in item(Kor).txt, line 2)"s);
        const std::string text = startupFailureText(error);
        EXPECT_NE(text.find("\r\n" + kNulNameLine + "\r\n"), std::string::npos) << text;
        EXPECT_EQ(text.find('\0'), std::string::npos);
    }
}

TEST(ErrorText, NulInANameReachesTheCommandLine)
{
    test::TempDir dir;
    dir.write("item(Kor).txt", kNulNameItems);
    dir.write("subtypes.txt", "");
    std::ostringstream out, err;
    const int status = cli::runCli({"--data", dir.path().string(), "catalog"}, out, err, VAULTSMITH_BIN_DIR);
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(out.str().empty());
    EXPECT_NE(err.str().find("\n" + kNulNameLine + "\n"), std::string::npos) << err.str();
}

}  // namespace
}  // namespace vs
