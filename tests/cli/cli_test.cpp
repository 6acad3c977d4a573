#include "cli/cli_commands.h"
#include "cli/cli_context.h"
#include "catalog/failure_cases.h"
#include "cli/json_reader.h"
#include "catalog/text_utils.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <random>
#include <sstream>

namespace vs {
namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun cli(std::vector<std::string> args)
{
    std::ostringstream out, err;
    int status = cli::runCli(args, out, err, VAULTSMITH_BIN_DIR);
    return {status, out.str(), err.str()};
}

// With the shipped data, wherever the tests run from.
CliRun cliWithData(std::vector<std::string> args)
{
    args.insert(args.begin(), {"--data", test::shippedDataDir().string()});
    return cli(std::move(args));
}

void expectUsageError(const CliRun& run, std::string_view mentions)
{
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.out.empty()) << run.out;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find(mentions), std::string::npos) << run.err;
}

TEST(CliEncode, WorkedExample)
{
    CliRun run = cli({"encode", "--serial", "1000", "--exc", "0,5", "0", "1", "5", "255", "1", "1", "2"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "vault 01AEFF000003E8210000\nshop 0 1 5 255 1 1 2\nbag 0 1 5 1 1 2\n");
}

TEST(CliEncode, OptionsAnywhereAndOnly)
{
    CliRun run = cli({"encode", "8", "20", "--only=vault", "0", "40", "0", "0", "4"});
    EXPECT_EQ(run.out, "14002800000000C00000\n");
    EXPECT_EQ(cli({"encode", "0", "0", "0", "0", "0", "0", "0", "--only", "bag"}).out, "0 0 0 0 0 0\n");
    EXPECT_EQ(cli({"encode", "--exc=all", "--serial=-1", "0", "0", "0", "0", "0", "0", "0", "--only", "vault"}).out,
              "000000FFFFFFFF3F0000\n");
    EXPECT_EQ(cli({"encode", "--serial", "-2147483648", "--only", "vault", "--", "0", "0", "0", "0", "0", "0", "0"}).out,
              "00000080000000000000\n");
}

TEST(CliEncode, RefusesAnythingOutOfRange)
{
    expectUsageError(cli({"encode", "16", "0", "0", "0", "0", "0", "0"}), "CLASS");
    expectUsageError(cli({"encode", "0", "32", "0", "0", "0", "0", "0"}), "INDEX");
    expectUsageError(cli({"encode", "0", "0", "13", "0", "0", "0", "0"}), "LEVEL");
    expectUsageError(cli({"encode", "0", "0", "0", "256", "0", "0", "0"}), "DUR");
    expectUsageError(cli({"encode", "0", "0", "0", "0", "2", "0", "0"}), "SKILL");
    expectUsageError(cli({"encode", "0", "0", "0", "0", "0", "-1", "0"}), "LUCK");
    expectUsageError(cli({"encode", "0", "0", "0", "0", "0", "0", "5"}), "OPTION");
    expectUsageError(cli({"encode", "0", "0", "0", "1.5", "0", "0", "0"}), "DUR");
    expectUsageError(cli({"encode", "0", "0", "0", "+1", "0", "0", "0"}), "DUR");
    expectUsageError(cli({"encode", "--serial", "2147483648", "0", "0", "0", "0", "0", "0", "0"}), "--serial");
    expectUsageError(cli({"encode", "--serial", "99999999999999999999", "0", "0", "0", "0", "0", "0", "0"}), "--serial");
    expectUsageError(cli({"encode", "--exc", "6", "0", "0", "0", "0", "0", "0", "0"}), "--exc");
    expectUsageError(cli({"encode", "--exc", "1,,2", "0", "0", "0", "0", "0", "0", "0"}), "--exc");
    expectUsageError(cli({"encode", "--only", "hex", "0", "0", "0", "0", "0", "0", "0"}), "--only");
    expectUsageError(cli({"encode", "--serial", "1", "--serial=2", "0", "0", "0", "0", "0", "0", "0"}), "twice");
    expectUsageError(cli({"encode", "0", "0", "0", "0", "0", "0"}), "missing");
    expectUsageError(cli({"encode", "0", "0", "0", "0", "0", "0", "0", "0"}), "unexpected");
    expectUsageError(cli({"encode", "--colour", "0", "0", "0", "0", "0", "0", "0"}), "--colour");
}

TEST(CliDecode, GivesBackWhatEncodeComposed)
{
    CliRun run = cliWithData({"decode", "01aeff000003e8210000"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "class 0\nindex 1\nlevel 5\ndur 255\nskill 1\nluck 1\noption 2\nserial 1000\nexc 0,5\n"
              "name Excellent Rapier+5+8+Skill+Luck\n")
        << "options 0 and 5 are set: the vault code's rule puts \"Excellent \" in front";
}

TEST(CliDecode, HighLevelsUnknownItemsAndIgnoredBytes)
{
    // Level 15 is named as level 12; bytes 8 and 9 are ignored.
    CliRun run = cliWithData({"decode", "007F0000000000001234"});
    EXPECT_NE(run.out.find("level 15\n"), std::string::npos);
    EXPECT_NE(run.out.find("option 3\n"), std::string::npos);
    EXPECT_NE(run.out.find("name Short Sword+12+12+Luck\n"), std::string::npos) << run.out;
    CliRun unknown = cliWithData({"decode", "1F0000FFFFFFFFC00000"});
    EXPECT_NE(unknown.out.find("class 8\nindex 31\n"), std::string::npos) << unknown.out;
    EXPECT_NE(unknown.out.find("option 4\nserial -1\nexc none\n"), std::string::npos) << unknown.out;
    EXPECT_NE(unknown.out.find("name Unknown Item\n"), std::string::npos) << unknown.out;
}

TEST(CliDecode, WithoutACatalogThereIsNoNameLine)
{
    test::TempDir empty;
    CliRun run = cli({"decode", "--data", empty.path().string(), "00000000000000000000"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.find("name"), std::string::npos);
    EXPECT_NE(run.out.find("exc none\n"), std::string::npos);
}

TEST(CliDecode, RefusesMalformedCodes)
{
    expectUsageError(cli({"decode", "01AEFF"}), "HEX");
    expectUsageError(cli({"decode", "01AEFF000003E821000Z"}), "HEX");
    expectUsageError(cli({"decode"}), "missing");
}

TEST(CliEntries, PrintsKindTabText)
{
    test::TempDir dir;
    auto file = dir.write("sub/MyShop.TXT", "// head\r\n\r\n14 3 0 255 0 0 0 //Potion\r\nend\r\n");
    CliRun run = cli({"entries", file.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "2\t// head\n0\t\n1\t14,3,0,255,0,0,0,Potion\n2\tend\n") << "kept records show as comments";
}

TEST(CliEntries, RefusesUnknownKindsAndMissingFiles)
{
    test::TempDir dir;
    auto file = dir.write("items.txt", "1 2 3");
    expectUsageError(cli({"entries", file.string()}),
                     file.string() + ": the name tells neither a shop nor an item-bag file (it holds neither \"shop\" nor \"bag\")");
    expectUsageError(cli({"entries", (dir.path() / "shop9.txt").string()}), "shop9.txt");
    std::filesystem::create_directory(dir.path() / "bagdir");
    expectUsageError(cli({"entries", (dir.path() / "bagdir").string()}), "bagdir");
}

TEST(CliNormalize, WritesTheSavedBytesAtomically)
{
    test::TempDir dir;
    const std::string source = "1\t2\t3\t4\t1\t0\t7 //Gem//x\n// a, b\nheading\n";
    auto file = dir.write("bag1.txt", source);
    CliRun toStdout = cli({"normalize", file.string()});
    EXPECT_EQ(toStdout.status, 0);
    EXPECT_EQ(toStdout.out, source) << "an untouched file comes back as it was";
    CliRun tidy = cli({"normalize", "--tidy", file.string()});
    EXPECT_EQ(tidy.status, 0);
    EXPECT_EQ(tidy.out, "\t1\t2\t3\t4\t1\t0\t7\t//Gem//x\n// a\nb\nheading\n");

    auto out = dir.path() / "out.txt";
    CliRun toFile = cli({"normalize", "-o", out.string(), file.string()});
    EXPECT_EQ(toFile.status, 0) << toFile.err;
    EXPECT_TRUE(toFile.out.empty());
    EXPECT_EQ(test::readBytes(out), toStdout.out);
}

TEST(CliNormalize, AFailedReplaceLeavesTheTargetAndNoLitter)
{
    test::TempDir dir;
    auto file = dir.write("shop.txt", "1 2 3 4 5 6 7\n");
    // A folder in the target's place cannot be replaced by a file, even by root.
    auto target = dir.path() / "out";
    dir.write("out/keep.txt", "precious");
    expectUsageError(cli({"normalize", file.string(), "-o", target.string()}), "cannot write");
    EXPECT_EQ(test::readBytes(target / "keep.txt"), "precious");
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 2) << "a temporary file was left beside the target";
}

TEST(CliNormalize, ReplacingKeepsTheTargetsPermissions)
{
    test::TempDir dir;
    auto file = dir.write("shop.txt", "1 2 3 4 5 6 7\n");
    auto target = dir.write("out.txt", "old");
    std::filesystem::permissions(target, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                             std::filesystem::perms::group_read);
    EXPECT_EQ(cli({"normalize", file.string(), "-o", target.string()}).status, 0);
    EXPECT_EQ(test::readBytes(target), "1 2 3 4 5 6 7\nend\n");
    EXPECT_EQ(std::filesystem::status(target).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
}

TEST(CliNormalize, AMissingFolderForTheTargetIsRefused)
{
    test::TempDir dir;
    auto file = dir.write("shop.txt", "1 2 3 4 5 6 7\n");
    expectUsageError(cli({"normalize", file.string(), "-o", (dir.path() / "no/such/out.txt").string()}),
                     "cannot write");
}

TEST(CliCatalog, PrintsItemsThenSubtypes)
{
    CliRun run = cliWithData({"catalog"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("item\t0\t0\t1\t3\t20\tShort Sword\n", 0), 0u) << run.out.substr(0, 80);
    size_t firstSubtype = run.out.find("subtype\t");
    ASSERT_NE(firstSubtype, std::string::npos);
    EXPECT_EQ(run.out.find("item\t", firstSubtype), std::string::npos);
    EXPECT_NE(run.out.find("subtype\t459\t0\tSmall Gift Box\n"), std::string::npos);
}

TEST(CliData, FailedLoadIsExitOneWithTheTerminationMessage)
{
    test::TempDir dir;
    dir.write("item(Kor).txt", "0\n1 1 1 0 0 0 \"A\"\n2 2\n");
    dir.write("subtypes.txt", "");
    CliRun run = cli({"catalog", "--data", dir.path().string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.empty());
    EXPECT_EQ(run.err.rfind("Error reading a required data file.  Program will terminate.\n   Error:9, "
                            "index outside a table",
                            0),
              0u)
        << run.err;
    EXPECT_NE(run.err.find("\n   Make sure data files exist and have proper format. \n"), std::string::npos);
    EXPECT_EQ(cli({"search", "--data", dir.path().string(), "axe"}).status, 1);
}

// Every row of the failure table ends the program with the start-up message.
class CliLoadFailure : public ::testing::TestWithParam<test::FailureCase> {};

TEST_P(CliLoadFailure, IsExitOne)
{
    const test::FailureCase& c = GetParam();
    test::TempDir dir;
    dir.write("item(Kor).txt", c.itemBytes);
    dir.write("subtypes.txt", c.subtypeBytes);
    CliRun run = cli({"catalog", "--data", dir.path().string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.empty());
    EXPECT_NE(run.err.find("   Error:" + std::to_string(static_cast<int>(c.kind)) + ", " + kindDescription(c.kind)),
              std::string::npos)
        << run.err;
}

INSTANTIATE_TEST_SUITE_P(FailureTable, CliLoadFailure, ::testing::ValuesIn(test::loaderFailureCases()),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(CliCatalog, ReadsTheItemFileAsDescribed)
{
    test::TempDir dir;
    dir.write("item(Kor).txt",
              "// 12 a comment, never a header\r\n"
              "0\r\n"
              "3\t1\t2\t0\t0\t0\t\"Sample Blade\"\t0\t0\t0\t25\r\n"
              "4 1 1 0 0 0 \"Ten Tokens\" 0 0 0\r\n"
              "5 1 1 0 0 0 \"First\" 0 0 0 9\r\n"
              "5 2 2 0 0 0 \"Second\" 0 0 0 8\r\n"
              "end\r\n"
              "  7\r\n"
              "1,15\r\n"
              "3\t1\t2\t0\t0\t0\t\"Sample Scroll\"\t0\t0\t0\t25\r\n");
    dir.write("subtypes.txt", "1 \"Orphan\"\r\n13 8\r\n1 \"Ring One\"\r\n2 \"Ring Two\"\r\n");
    CliRun run = cli({"catalog", "--data", dir.path().string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "item\t0\t3\t1\t2\t25\tSample Blade\n"
              "item\t0\t4\t1\t1\t0\tTen Tokens\n"
              "item\t0\t5\t2\t2\t8\tSecond\n"
              "item\t15\t3\t1\t2\t0\tSample Scroll\n"
              "subtype\t-1\t1\tOrphan\n"
              "subtype\t424\t1\tRing One\n"
              "subtype\t424\t2\tRing Two\n");
}

TEST(CliData, DataGivenTwiceIsRefused)
{
    expectUsageError(cli({"--data", "a", "catalog", "--data=b"}), "twice");
}

TEST(CliSearch, RanksLikeTheWindow)
{
    CliRun run = cliWithData({"search", "runed"});
    EXPECT_EQ(run.status, 0) << run.err;
    // Subtypes of levels 12 and 9 of class 0, index 15, then the item's own name.
    EXPECT_EQ(run.out, "0\t15\t12\tRuned Blade of Dusk\n0\t15\t9\tRuned Blade of Dawn\n0\t15\t-\tRuned Blade\n");
}

TEST(CliSearch, DashTermsAreTermsAndWordsIsAnOption)
{
    CliRun run = cliWithData({"search", "sword", "-short"});
    EXPECT_EQ(run.out.find("Short Sword"), std::string::npos);
    EXPECT_NE(run.out.find("Bastard Sword"), std::string::npos);
    EXPECT_NE(cliWithData({"search", "ward"}).out.find("Warden Shield"), std::string::npos);
    CliRun words = cliWithData({"search", "ward", "--words"});
    EXPECT_EQ(words.status, 0);
    EXPECT_TRUE(words.out.empty()) << words.out;
    EXPECT_NE(cliWithData({"search", "--words", "warden"}).out.find("Warden Shield"), std::string::npos);
}

TEST(CliSearch, BlankQueryPrintsNothingAndNoTermsIsUsage)
{
    CliRun blank = cliWithData({"search", "  "});
    EXPECT_EQ(blank.status, 0);
    EXPECT_TRUE(blank.out.empty());
    expectUsageError(cli({"search"}), "TERM");
}

TEST(CliHelp, ProgramAndEveryCommand)
{
    for (std::string command : {"encode", "decode", "entries", "normalize", "catalog", "search"}) {
        CliRun run = cli({command, "--help"});
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(run.out.find("Usage: vaultsmith-cli " + command), std::string::npos) << command;
    }
    EXPECT_NE(cli({"--help"}).out.find("Commands:"), std::string::npos);
    expectUsageError(cli({}), "missing command");
    expectUsageError(cli({"frobnicate"}), "frobnicate");
    expectUsageError(cli({"--verbose", "catalog"}), "--verbose");
}

TEST(CliVersion, PrintsTheProjectVersionBeforeAnythingElse)
{
    for (std::vector<std::string> args : {std::vector<std::string>{"--version"},
                                          {"--data", "/nowhere", "--version"},
                                          {"--version", "frobnicate"}}) {
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, "vaultsmith-cli " VAULTSMITH_VERSION "\n");
        EXPECT_TRUE(run.err.empty()) << run.err;
    }
    EXPECT_NE(cli({"--help"}).out.find("--version"), std::string::npos);
    expectUsageError(cli({"--version", "--version"}), "given twice");
    expectUsageError(cli({"catalog", "--version"}), "--version");  // a program option, not a command's
}

// A bag file written in CP949: an item whose comment is Korean, and a comment line.
constexpr std::string_view kKoreanBag = "14\t13\t0\t0\t0\t0\t//\xC7\xD1\xB1\xDB \x81\x41\r\n// \xB9\xB0\xBE\xE0\r\n";

TEST(CliEncoding, EntriesOfACodePageFileArePrintedAsUtf8)
{
    test::TempDir dir;
    auto file = dir.write("bag1.txt", kKoreanBag);
    const std::string utf8 = "1\t14,13,0,0,0,0,한글 갂\n2\t// 물약\n";
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"entries", "--encoding", "windows-949", file.string()},
             {"entries", file.string(), "--encoding=CP949"},
             {"--encoding", "uhc", "entries", file.string()},
         }) {
        CliRun run = cli(args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, utf8) << args[0] << ' ' << args[1];
    }
    // The same bytes read in another page are other characters, not the Korean text.
    CliRun western = cli({"entries", "--encoding", "windows-1252", file.string()});
    EXPECT_EQ(western.status, 0);
    EXPECT_EQ(western.out, "1\t14,13,0,0,0,0,ÇÑ±Û \xEF\xBF\xBD" "A\n2\t// ¹°¾à\n") << "0x81 is undefined in windows-1252";
}

TEST(CliEncoding, WithoutTheOptionBytesPassAsTheyAre)
{
    test::TempDir dir;
    auto file = dir.write("bag1.txt", kKoreanBag);
    CliRun run = cli({"entries", file.string()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "1\t14,13,0,0,0,0,\xC7\xD1\xB1\xDB \x81\x41\n2\t// \xB9\xB0\xBE\xE0\n");
}

TEST(CliEncoding, Utf8FilesStayAsTheyAre)
{
    test::TempDir dir;
    auto file = dir.write("bag2.txt", "1 2 3 4 1 0 //한글 Więcej\r\n// 물약\r\n");
    CliRun plain = cli({"entries", file.string()});
    CliRun korean = cli({"entries", "--encoding", "windows-949", file.string()});
    EXPECT_EQ(korean.status, 0) << korean.err;
    EXPECT_EQ(korean.out, plain.out);
    EXPECT_NE(korean.out.find("한글 Więcej"), std::string::npos) << korean.out;
    // One stray byte makes the file not UTF-8: the chosen page reads all of it.
    auto mixed = dir.write("bag3.txt", "// \xED\x95\x9C\r\n// \xC7\xD1\r\n");
    EXPECT_EQ(cli({"entries", "--encoding", "cp949", mixed.string()}).out,
              "2\t// \xEF\xBF\xBD븳\n2\t// 한\n") << "the UTF-8 '한' read as CP949";
}

// A catalog whose item and subtype names are CP949.
struct KoreanCatalog {
    test::TempDir dir;
    KoreanCatalog()
    {
        dir.write("item(Kor).txt", "0\r\n1 1 2 0 0 0 \"\xC7\xD1\xB1\xDB \xB0\xCB\" 0 0 0 9\r\nend\r\n");
        dir.write("subtypes.txt", "0 1\r\n3 \"\xB9\xB0\xBE\xE0\"\r\n");
    }
    CliRun run(std::vector<std::string> args) const
    {
        args.insert(args.begin(), {"--data", dir.path().string()});
        return cli(std::move(args));
    }
};

TEST(CliEncoding, CatalogDecodeAndSearchNames)
{
    KoreanCatalog data;
    CliRun catalog = data.run({"catalog", "--encoding", "cp949"});
    EXPECT_EQ(catalog.status, 0) << catalog.err;
    EXPECT_EQ(catalog.out, "item\t0\t1\t1\t2\t9\t한글 검\nsubtype\t1\t3\t물약\n");
    EXPECT_EQ(data.run({"catalog"}).out,
              "item\t0\t1\t1\t2\t9\t\xC7\xD1\xB1\xDB \xB0\xCB\nsubtype\t1\t3\t\xB9\xB0\xBE\xE0\n");

    // Class 0, index 1, level 3: the subtype's name.
    CliRun decode = data.run({"decode", "01180000000000000000", "--encoding", "windows-949"});
    EXPECT_EQ(decode.status, 0) << decode.err;
    EXPECT_NE(decode.out.find("\nname 물약\n"), std::string::npos) << decode.out;
    EXPECT_NE(data.run({"decode", "01180000000000000000"}).out.find("\nname \xB9\xB0\xBE\xE0\n"), std::string::npos);

    // Terms typed as UTF-8 find the CP949 names.
    CliRun search = data.run({"search", "--encoding", "cp949", "한글"});
    EXPECT_EQ(search.status, 0) << search.err;
    EXPECT_EQ(search.out, "0\t1\t-\t한글 검\n");
    EXPECT_TRUE(data.run({"search", "한글"}).out.empty()) << "without the option the terms are bytes";
    expectUsageError(data.run({"search", "--encoding", "cp949", "검", "😀"}), "'😀' cannot be written in Korean (CP949)");
}

TEST(CliEncoding, AsciiAndUtf8CatalogsPrintTheSame)
{
    CliRun plain = cliWithData({"catalog"});
    CliRun korean = cliWithData({"catalog", "--encoding", "windows-949"});
    EXPECT_EQ(korean.status, 0);
    EXPECT_EQ(korean.out, plain.out);

    test::TempDir dir;
    dir.write("item(Kor).txt", "0\r\n1 1 2 0 0 0 \"한글 검\" 0 0 0 9\r\n");
    dir.write("subtypes.txt", "");
    EXPECT_EQ(cli({"catalog", "--data", dir.path().string(), "--encoding", "Big5"}).out, "item\t0\t1\t1\t2\t9\t한글 검\n");
}

TEST(CliEncoding, UnknownOrMisplacedNamesAreBadUsage)
{
    test::TempDir dir;
    auto file = dir.write("bag1.txt", kKoreanBag);
    expectUsageError(cli({"entries", "--encoding", "xyz", file.string()}),
                     "vaultsmith-cli: unknown encoding 'xyz' (known: windows-1252, windows-949, GBK, Big5, "
                     "Shift_JIS, windows-1251, UTF-8)\n");
    expectUsageError(cli({"--encoding=euc-kr", "entries", file.string()}), "'euc-kr'");
    // Checked before the data is loaded: bad usage, not a load failure.
    expectUsageError(cli({"catalog", "--data", dir.path().string(), "--encoding", "latin1"}), "'latin1'");
    expectUsageError(cli({"entries", file.string(), "--encoding"}), "--encoding");
    expectUsageError(cli({"entries", "--encoding", "cp949", "--encoding=cp949", file.string()}), "twice");
    expectUsageError(cli({"--encoding", "cp949", "entries", "--encoding=cp949", file.string()}), "twice");
    expectUsageError(cli({"encode", "--encoding", "cp949", "0", "0", "0", "0", "0", "0", "0"}), "--encoding");
    expectUsageError(cli({"--encoding", "cp949", "normalize", file.string()}), "--encoding");
}

TEST(CliEncoding, HelpMentionsTheOption)
{
    EXPECT_NE(cli({"--help"}).out.find("--encoding NAME"), std::string::npos);
    for (std::string command : {"entries", "decode", "catalog", "search"})
        EXPECT_NE(cli({command, "--help"}).out.find("--encoding NAME"), std::string::npos) << command;
}

}  // namespace
}  // namespace vs

namespace vs {
namespace {

// A shop with a stray line (3), an unknown item (4) and more than the grid
// holds: a 1 x 3 sword leaves room for 117 jewels, the 118th (line 122) is not sold.
std::string crowdedShop()
{
    std::string shop = "// goods\r\n0 0 0 20 0 0 0 //Sword\r\nPrice = 5\r\n15 31 0 0 0 0 0\r\n";
    for (int i = 0; i < 118; ++i)
        shop += "14 13 0 0 0 0 0\r\n";
    return shop + "end\r\n";
}

TEST(CliCheck, FindingsLinesCountsAndStatus)
{
    test::TempDir dir;
    const auto shop = dir.write("shop_crowded.txt", crowdedShop());
    const auto clean = dir.write("shop_clean.txt", "0 0 0 20 0 0 0 //Kris\r\n");
    CliRun run = cliWithData({"check", clean.string(), shop.string()});
    EXPECT_EQ(run.status, 3) << run.err;
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = run.out.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(run.out.substr(start, end - start));
    ASSERT_GE(lines.size(), 3u) << run.out;
    EXPECT_EQ(lines[0].rfind(shop.string() + ":3: warning: neither an item nor a // comment", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1], shop.string() + ":4: error: the catalog has no item 31 in class 15 [unknown-item]");
    EXPECT_EQ(lines.back().rfind(shop.string() + ":122: error: Jewel of Bless (1 x 1) does not fit", 0), 0u)
        << lines.back();
    EXPECT_NE(lines.back().find("is not sold [not-sold]"), std::string::npos);
    // Each file's layout is named on standard error before its count.
    const std::string shop7 = ": layout shop-7 (Type Index Level Durab Skill Luck Option)\n";
    EXPECT_EQ(run.err, clean.string() + shop7 + shop.string() + shop7 + "2 errors, 1 warning in 2 files\n");

    CliRun fine = cliWithData({"check", clean.string()});
    EXPECT_EQ(fine.status, 0);
    EXPECT_EQ(fine.out, "");
    EXPECT_EQ(fine.err, clean.string() + shop7 + "0 errors, 0 warnings in 1 file\n");
}

TEST(CliCheck, JsonNamesAndFailures)
{
    test::TempDir dir;
    const auto shop = dir.write("shop1.txt", "0 0 0 20 0 0 0 //Dagger \"old\"\r\n");
    CliRun json = cliWithData({"check", "--json", "--names", shop.string()});
    EXPECT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.out, "[\n  {\"file\": \"" + shop.string() +
                            "\", \"layout\": \"shop-7\", \"line\": 1, \"severity\": \"warning\", \"code\": \"comment-not-name\", "
                            "\"message\": \"the comment \\\"Dagger \\\"old\\\"\\\" does not hold the name "
                            "\\\"Short Sword\\\" that the fields describe\"}\n]\n");
    EXPECT_EQ(cliWithData({"check", "--json", dir.write("shop2.txt", "").string()}).out, "[]\n");
    expectUsageError(cliWithData({"check"}), "FILE");
    const CliRun missing = cliWithData({"check", (dir.path() / "shop_missing.txt").string()});
    EXPECT_EQ(missing.status, 3) << "a file that cannot be read is an error finding, not bad usage";
    EXPECT_EQ(missing.out, (dir.path() / "shop_missing.txt").string() + ": error: cannot be read: no such file [unreadable]\n");
    EXPECT_EQ(cli({"--data", dir.path().string(), "check", shop.string()}).status, 1) << "no catalog there";
}

TEST(CliGrid, PlacesAndMapsAShop)
{
    test::TempDir dir;
    const auto shop = dir.write("shop1.txt", "// x\r\n0 0 0 20 0 0 0\r\n15 31 0 0 0 0 0\r\n14 13 3 0 0 0 0\r\n");
    CliRun run = cliWithData({"grid", shop.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    const std::string kris = run.out.substr(0, run.out.find('\n'));
    EXPECT_EQ(kris.substr(0, kris.find('\t', kris.find('\t', kris.find('\t') + 1) + 1)), "2\t0\t0");
    EXPECT_NE(run.out.find("\n3\t-\t-\t0\t0\tUnknown Item\n"), std::string::npos) << run.out;
    CliRun map = cliWithData({"grid", "--map", shop.string()});
    EXPECT_EQ(map.status, 0);
    EXPECT_EQ(map.out.substr(0, 4), "  1 ");
    EXPECT_NE(map.out.find("not placed: 2 Unknown Item (not in the catalog)\n"), std::string::npos) << map.out;
    expectUsageError(cliWithData({"grid", dir.write("EventItemBag1.txt", "1 1 1 1 1 1\n").string()}),
                     "item-bag files have no shop grid");
}

}  // namespace
}  // namespace vs

namespace vs {
namespace {

TEST(CliCheck, EveryFindingCodeShowsThroughTheCli)
{
    test::TempDir dir;
    dir.write("data/item(Kor).txt", "0\r\n0 1 3 0 0 0 \"Kris\" 0 0 0 20\r\n1 8 15 0 0 0 \"Wall\" 0 0 0 20\r\n"
                                    "2 9 2 0 0 0 \"Huge\" 0 0 0 20\r\nend\r\n");
    dir.write("data/subtypes.txt", "");
    const auto shop = dir.write("shop1.txt",
                                "0 0 14 20 0 0 0 //Kris+14\r\n"  // level-shown-as-12 (and comment-not-name: +12)
                                "0 0 1.5 20 &H1 0 0 //Kris\r\n"  // number-notation
                                "0 0 0 20 0 0 0 9 //Kris\r\n"    // extra-fields
                                "0 0 0\r\n"                      // missing-fields
                                "0 x 0 1 0 0 0\r\n"              // not-a-number
                                "0 0 0 300 0 0 0 //Kris\r\n"     // out-of-range
                                "0 5 0 0 0 0 0\r\n"              // unknown-item
                                "0 2 0 0 0 0 0 //Huge\r\n"       // bad-size
                                "0 1 0 0 0 0 0 //Wall\r\n"       // not-sold
                                "Price = 5\r\n"                  // stray-text
                                "0 0 0 20 0 0 0 //Dagger\r\n");  // comment-not-name
    CliRun run = cli({"--data", (dir.path() / "data").string(), "check", "--names", shop.string()});
    EXPECT_EQ(run.status, 3) << run.err;
    for (const char* code : {"level-shown-as-12", "number-notation", "extra-fields", "missing-fields", "not-a-number",
                             "out-of-range", "unknown-item", "bad-size", "not-sold", "stray-text", "comment-not-name"})
        EXPECT_NE(run.out.find(std::string(" [") + code + "]\n"), std::string::npos) << code << "\n" << run.out;
    EXPECT_NE(run.out.find(shop.string() + ":9: error: Wall (8 x 15) does not fit"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(shop.string() + ":11: warning: the comment \"Dagger\""), std::string::npos) << run.out;
}

}  // namespace
}  // namespace vs

namespace vs {
namespace {

// Storage files over a small catalog of their own.
class CliStorage : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir.write("data/item(Kor).txt", "0\r\n0 1 2 0 0 0 \"Kris\" 0 0 0 20\r\n1 2 2 0 0 0 \"Blade\" 0 0 0 20\r\nend\r\n");
        dir.write("data/subtypes.txt", "");
    }
    CliRun run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"--data", (dir.path() / "data").string(), "storage"});
        return cli(std::move(args));
    }
    static std::string code(std::vector<std::string> encodeArgs)
    {
        encodeArgs.insert(encodeArgs.begin(), {"encode", "--only", "vault"});
        CliRun encoded = cli(encodeArgs);
        EXPECT_EQ(encoded.status, 0) << encoded.err;
        return encoded.out.substr(0, 20);
    }
    // Slots as hex digits, all empty but those given.
    static std::string hexSlots(int count, std::map<int, std::string> items)
    {
        std::string hex;
        for (int s = 0; s < count; ++s)
            hex += items.count(s) ? items[s] : std::string(20, 'F');
        return hex;
    }
    test::TempDir dir;
};

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

TEST_F(CliStorage, ListGivesSlotCellCodeAndName)
{
    const std::string kris = code({"--serial", "9", "0", "0", "3", "20", "1", "0", "0"});
    const std::string blade = code({"--exc", "2", "0", "1", "0", "20", "0", "0", "0"});
    const auto file = dir.write("hero.txt", "0x" + lowerCase(hexSlots(76, {{0, kris}, {12 + 9, blade}})) + "\n");
    CliRun listed = run({"list", file.string()});
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(listed.out, "0\t-\t-\t" + kris + "\tKris+3+Skill\n21\t1\t1\t" + blade + "\tExcellent Blade\n");

    const auto vault = dir.write("vault.bin", std::string(1200, '\xFF'));
    listed = run({"list", vault.string()});
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(listed.out, "");
    expectUsageError(run({"list", vault.string(), "-o", "x"}), "-o does not apply");
    expectUsageError(run({"list", (dir.path() / "none.bin").string()}), "no such file");
}

TEST_F(CliStorage, FilesThatAreNoStorageAreRefusedSayingWhatWasFound)
{
    const auto shortText = dir.write("short.txt", "0x" + std::string(2398, 'F'));
    expectUsageError(run({"list", shortText.string()}), "2,398 hexadecimal digits");
    const auto bad = dir.write("bad.txt", "FFFF FFqF");
    expectUsageError(run({"check", bad.string()}), "'q' at byte 8");
    const auto vault = dir.write("vault.bin", std::string(1200, '\xFF'));
    expectUsageError(run({"list", "--inventory", vault.string()}), "an inventory holds 760 bytes");
    expectUsageError(run({"list", "--inventory", "--warehouse", vault.string()}), "exclude each other");
    EXPECT_EQ(run({"list", "--warehouse", vault.string()}).status, 0);
    expectUsageError(run({}), "missing storage command");
    expectUsageError(run({"draw", vault.string()}), "unknown storage command 'draw'");
}

TEST_F(CliStorage, MapDrawsTheGridTheEquippedSlotsAndMisplacedItems)
{
    const std::string kris = code({"0", "0", "0", "20", "0", "0", "0"});    // 1 x 2
    const std::string blade = code({"0", "1", "3", "20", "0", "0", "0"});   // 2 x 2
    // Blade at column 1, row 1; a Kris in its shadow (slot 23); a Kris in the
    // last column; a Blade whose rectangle leaves the grid's bottom right.
    const auto hero = dir.write("hero.txt", hexSlots(76, {{0, kris}, {21, blade}, {22, kris}, {19, kris}, {75, blade}}));
    CliRun drawn = run({"map", hero.string()});
    EXPECT_EQ(drawn.status, 0) << drawn.err;
    const std::string free = "  .";
    EXPECT_EQ(drawn.out, "  .   .   .   .   .   .   .  19\n"
                         "  .  21  21   .   .   .   .  19\n"
                         "  .  21  21   .   .   .   .   .\n"
                         "  .   .   .   .   .   .   .   .\n"
                         "  .   .   .   .   .   .   .   .\n"
                         "  .   .   .   .   .   .   .   .\n"
                         "  .   .   .   .   .   .   .   .\n"
                         "  .   .   .   .   .   .   .  75\n"
                         "right hand: 0 Kris\nleft hand: -\nhelm: -\narmour: -\npants: -\ngloves: -\nboots: -\n"
                         "wings: -\nguardian: -\npendant: -\nring 1: -\nring 2: -\n"
                         "misplaced: 22 Kris (under the item in slot 21)\n"
                         "misplaced: 75 Blade+3 (leaves the grid)\n");

    // An item whose top-left cell is free but another of its cells is not.
    const auto crossed = dir.write("crossed.txt", hexSlots(76, {{14, kris}, {21, blade}}));
    drawn = run({"map", crossed.string()});
    EXPECT_EQ(drawn.status, 0) << drawn.err;
    EXPECT_NE(drawn.out.find("misplaced: 21 Blade+3 (under the item in slot 14)\n"), std::string::npos) << drawn.out;

    // A warehouse has no equipped slots; an empty one is all dots.
    const auto vault = dir.write("vault.bin", std::string(1200, '\xFF'));
    drawn = run({"map", vault.string()});
    EXPECT_EQ(drawn.status, 0) << drawn.err;
    std::string row = free;
    for (int x = 1; x < 8; ++x)
        row += " " + free;
    std::string empty;
    for (int y = 0; y < 15; ++y)
        empty += row + "\n";
    EXPECT_EQ(drawn.out, empty);
    expectUsageError(run({"map", vault.string(), "-o", "x"}), "-o does not apply");
    expectUsageError(run({"map"}), "expected FILE");
}

TEST_F(CliStorage, CheckReportsAcrossFilesWithCountsAndStatus)
{
    const std::string kris = code({"--serial", "42", "0", "0", "0", "20", "0", "0", "0"});
    const auto vault = dir.write("vault.txt", hexSlots(120, {{7, code({"0", "1", "0", "20", "0", "0", "0"})}, {9, kris}}));
    const auto hero = dir.write("hero.bin", std::string(12 * 10, '\0') + std::string(640, '\xFF'));
    std::string heroHex = hexSlots(76, {{20, kris}});
    const auto hero2 = dir.write("hero2.txt", heroHex);

    CliRun checked = run({"check", vault.string(), hero2.string()});
    EXPECT_EQ(checked.status, 3);
    EXPECT_EQ(checked.out, vault.string() + ":7: error: Blade (2 x 2) at column 7, row 0 leaves the 8 x 15 grid [outside-grid]\n" +
                               hero2.string() + ":20: error: serial 42 is also used by " + vault.string() +
                               " slot 9 [duplicate-serial]\n");
    EXPECT_EQ(checked.err, "2 errors, 0 warnings in 2 files\n");

    checked = run({"check", hero.string()});
    EXPECT_EQ(checked.status, 0);
    EXPECT_NE(checked.out.find(hero.string() + ":11: warning: slot 11 (ring 2) holds ten zero bytes"), std::string::npos)
        << checked.out;
    EXPECT_EQ(checked.err, "0 errors, 12 warnings in 1 file\n");

    EXPECT_EQ(cli({"--data", (dir.path() / "nodata").string(), "storage", "check", hero.string()}).status, 1);
    expectUsageError(run({"check"}), "expected FILE");
}

TEST_F(CliStorage, EditsKeepTheFormTheFileCameIn)
{
    const std::string kris = code({"0", "0", "0", "20", "0", "0", "0"});
    const std::string blade = code({"0", "1", "0", "20", "0", "0", "0"});
    const auto text = dir.write("hero.txt", "0x" + lowerCase(hexSlots(76, {{12, kris}})) + "\r\n");

    CliRun edited = run({"set", text.string(), "13", lowerCase(blade)});
    EXPECT_EQ(edited.status, 0) << edited.err;
    EXPECT_EQ(test::readBytes(text), "0x" + hexSlots(76, {{12, kris}, {13, blade}}) + "\r\n");
    edited = run({"move", text.string(), "12", "7", "6"});
    EXPECT_EQ(edited.status, 0) << edited.err;
    EXPECT_EQ(test::readBytes(text), "0x" + hexSlots(76, {{12 + 6 * 8 + 7, kris}, {13, blade}}) + "\r\n");
    edited = run({"clear", text.string(), "13"});
    EXPECT_EQ(edited.status, 0) << edited.err;
    EXPECT_EQ(test::readBytes(text), "0x" + hexSlots(76, {{12 + 6 * 8 + 7, kris}}) + "\r\n");

    // Raw stays raw; -o leaves the file itself alone.
    std::string raw(1200, '\xFF');
    const auto vault = dir.write("vault.bin", raw);
    const auto out = dir.path() / "out.bin";
    edited = run({"set", vault.string(), "0", blade, "-o", out.string()});
    EXPECT_EQ(edited.status, 0) << edited.err;
    EXPECT_EQ(test::readBytes(vault), raw);
    std::string writtenHex;
    for (unsigned char byte : test::readBytes(out)) {
        writtenHex += "0123456789ABCDEF"[byte >> 4];
        writtenHex += "0123456789ABCDEF"[byte & 15];
    }
    EXPECT_EQ(writtenHex, hexSlots(120, {{0, blade}}));
}

TEST_F(CliStorage, RefusedEditsLeaveTheFileAsItWas)
{
    const std::string blade = code({"0", "1", "0", "20", "0", "0", "0"});
    const std::string kris = code({"0", "0", "0", "20", "0", "0", "0"});
    const std::string original = hexSlots(120, {{0, blade}, {2, kris}});
    const auto vault = dir.write("vault.txt", original);
    const std::string path = vault.string();

    expectUsageError(run({"move", path, "0", "7", "0"}), "would leave the 8 x 15 grid");
    expectUsageError(run({"move", path, "0", "1", "0"}), "would cover column 2, row 0, which the item in slot 2 holds");
    expectUsageError(run({"move", path, "0", "0", "15"}), "Y");
    expectUsageError(run({"move", path, "5", "0", "3"}), "slot 5 is empty");
    expectUsageError(run({"set", path, "1", blade}), "would cover");
    expectUsageError(run({"set", path, "3", "12345"}), "CODE must be 20 hexadecimal digits");
    expectUsageError(run({"set", path, "3", std::string(20, 'F')}), "empty slot");
    expectUsageError(run({"clear", path, "120"}), "SLOT");
    expectUsageError(run({"clear", path, "1", "--account", "bob"}), "--account does not apply");
    expectUsageError(run({"move", path, "0", "1"}), "expected FILE SLOT X Y");
    EXPECT_EQ(test::readBytes(vault), original);
    EXPECT_EQ(run({"move", path, "0", "6", "14"}).status, 2);
    EXPECT_EQ(run({"move", path, "0", "6", "13"}).status, 0);
    EXPECT_EQ(test::readBytes(vault), hexSlots(120, {{2, kris}, {13 * 8 + 6, blade}}));
}

TEST_F(CliStorage, SqlStatementsForBothKinds)
{
    const std::string kris = code({"0", "0", "0", "20", "0", "0", "0"});
    const auto vault = dir.write("vault.txt", lowerCase(hexSlots(120, {{4, kris}})));
    const auto hero = dir.write("hero.txt", hexSlots(76, {{0, kris}}));

    CliRun sql = run({"sql", vault.string(), "--account", "Admin_01"});
    EXPECT_EQ(sql.status, 0) << sql.err;
    EXPECT_EQ(sql.out, "UPDATE warehouse SET Items = 0x" + hexSlots(120, {{4, kris}}) + " WHERE AccountID = 'Admin_01';\n");
    sql = run({"sql", hero.string(), "--character", "Hero"});
    EXPECT_EQ(sql.out, "UPDATE Character SET Inventory = 0x" + hexSlots(76, {{0, kris}}) + " WHERE Name = 'Hero';\n");
    sql = run({"sql", hero.string(), "--character", "Hero", "--table", "Chars_2", "--column", "Inv"});
    EXPECT_EQ(sql.out, "UPDATE Chars_2 SET Inv = 0x" + hexSlots(76, {{0, kris}}) + " WHERE Name = 'Hero';\n");

    expectUsageError(run({"sql", hero.string(), "--account", "Admin"}), "--account names the owner of a warehouse");
    expectUsageError(run({"sql", vault.string(), "--character", "Hero"}), "an inventory");
    expectUsageError(run({"sql", vault.string()}), "missing option");
    expectUsageError(run({"sql", vault.string(), "--account", "a", "--character", "b"}), "exclude each other");
    expectUsageError(run({"sql", vault.string(), "--account", "a", "-o", "x"}), "-o does not apply");
}

TEST_F(CliStorage, SqlRefusesNamesThatCouldEndTheQuotedString)
{
    const auto vault = dir.write("vault.bin", std::string(1200, '\xFF'));
    for (const std::string name : {"a'--", "x' OR '1'='1", "Abcdefghijk", "", "na me", "bob;", "h\xC3\xA9ro"})
        expectUsageError(run({"sql", vault.string(), "--account", name}), "--account must be 1 to 10 letters, digits or underscores");
    EXPECT_EQ(run({"sql", vault.string(), "--account", "Abcdefghij"}).status, 0);
    for (const std::string& table :
         std::vector<std::string>{"x; DROP TABLE warehouse", "1abc", "", "a-b", std::string(129, 'a')})
        expectUsageError(run({"sql", vault.string(), "--account", "a", "--table", table}), "--table must be");
    expectUsageError(run({"sql", vault.string(), "--account", "a", "--column", "Items = 0x00 --"}), "--column must be");
}

TEST_F(CliStorage, HelpNamesEveryCommand)
{
    CliRun help = cli({"storage", "--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* command : {"storage list", "storage map", "storage check", "storage set", "storage clear", "storage move", "storage sql"})
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
    EXPECT_NE(cli({"--help"}).out.find("storage"), std::string::npos);
}

}  // namespace
}  // namespace vs

namespace vs {
namespace {

// Every line of a text.
std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

TEST(CliLayout, CorpusFilesNameTheirLayoutOnStandardError)
{
    VS_REQUIRE_CORPUS();
    const struct {
        const char* file;
        const char* note;
    } cases[] = {
        {"shop0.txt", ": layout shop-8 (Type Index Level Durab Skill Luck Option EXC)\n"},
        {"shop6.txt", ": layout shop-8 (Type Index Level Durab Skill Luck Option EXC)\n"},
        {"EventItemBag4.txt",
         ": layout bag-sections (Type Index MinLevel MaxLevel Skill Luck AddOption Exitemflag, in sections)\n"},
        {"EventItemBag.txt", ": layout bag-6 (Type Index Level Skill Exc AddOption)\n"},
    };
    for (const auto& c : cases) {
        const std::string file = (test::corpusDir() / c.file).string();
        const CliRun entries = cli({"entries", file});
        EXPECT_EQ(entries.status, 0) << entries.err;
        EXPECT_EQ(entries.err, file + c.note);
        const CliRun check = cliWithData({"check", file});
        EXPECT_EQ(check.err.rfind(file + c.note, 0), 0u) << check.err;
        // Read in its own layout a real file's lines hold their columns and sections.
        for (const char* code : {"[extra-fields]", "[missing-fields]", "[stray-text]", "[settings-columns]",
                                 "[out-of-range]", "[section-not-closed]"})
            EXPECT_EQ(check.out.find(code), std::string::npos) << c.file << "\n" << check.out;
    }
    // Section 0's rows and section 1's event are settings, not items.
    const CliRun bag = cli({"entries", (test::corpusDir() / "EventItemBag4.txt").string()});
    EXPECT_NE(bag.out.find("\n2\t0\n2\t0\t0\t0\t1000\t\n"), std::string::npos) << bag.out.substr(0, 600);
    EXPECT_NE(bag.out.find("\n2\t\"StarOfXMas\"\t 50000"), std::string::npos);
}

TEST(CliLayout, AChosenLayoutOverridesTheOneToldFromTheFile)
{
    VS_REQUIRE_CORPUS();
    const std::filesystem::path file = test::corpusDir() / "shop0.txt";
    size_t itemLines = 0;
    for (const std::string& line : linesOf(test::readBytes(file)))
        itemLines += !line.empty() && isdigit(static_cast<unsigned char>(line[0]));
    ASSERT_GT(itemLines, 10u);

    const CliRun seven = cliWithData({"check", "--layout", "shop-7", file.string()});
    EXPECT_EQ(seven.status, 3);
    EXPECT_EQ(seven.err.rfind(file.string() + ": layout shop-7 (Type Index Level Durab Skill Luck Option)\n", 0), 0u)
        << seven.err;
    size_t extra = 0;
    for (const std::string& line : linesOf(seven.out))
        if (line.find("[extra-fields]") != std::string::npos) {
            ++extra;
            EXPECT_NE(line.find(": error: the line has 1 more column than the 7 of layout shop-7"), std::string::npos)
                << line;
        }
    EXPECT_EQ(extra, itemLines) << "every 8-column item line, read as 7 columns";
    EXPECT_EQ(cliWithData({"check", "--layout=shop-8", file.string()}).out.find("extra-fields"), std::string::npos);
    // entries shows the eighth column as the item's when read as shop-8 and leaves it out as shop-7.
    EXPECT_NE(cli({"entries", "--layout", "shop-8", file.string()}).out.find("\n1\t7,0,5,0,0,0,0,0,Bronze Helm\n"),
              std::string::npos);
    EXPECT_NE(cli({"entries", "--layout", "shop-7", file.string()}).out.find("\n1\t7,0,5,0,0,0,0,Bronze Helm\n"),
              std::string::npos);
}

TEST(CliLayout, AnUnknownLayoutIsBadUsageNamingTheKnownOnes)
{
    test::TempDir dir;
    const auto shop = dir.write("shop1.txt", "0 0 0 20 0 0 0\r\n");
    for (const std::string command : {"entries", "normalize", "check", "grid"}) {
        expectUsageError(cliWithData({command, "--layout", "shop-9", shop.string()}),
                         "unknown layout 'shop-9' (known: shop-7, bag-6, shop-8, bag-sections)");
        expectUsageError(cliWithData({command, shop.string(), "--layout"}), "--layout");
        EXPECT_NE(cli({command, "--help"}).out.find("--layout NAME"), std::string::npos) << command;
    }
    expectUsageError(cliWithData({"decode", "--layout", "shop-8", "00000000000000000000"}), "--layout");
}

TEST(CliCheck, JsonFindingsCarryTheirFilesLayout)
{
    test::TempDir dir;
    const auto shop = dir.write("shop1.txt", "0 0 0 20 0 0 0 64\r\nend\r\n");
    const auto bag = dir.write("EventItemBag4.txt", "2\r\n14 13 0 3 0 0 0 2\r\nend\r\n");
    const CliRun json = cliWithData({"check", "--json", shop.string(), bag.string()});
    EXPECT_EQ(json.status, 3) << json.err;
    EXPECT_EQ(json.out, "[\n  {\"file\": \"" + shop.string() +
                            "\", \"layout\": \"shop-8\", \"line\": 1, \"severity\": \"error\", \"code\": "
                            "\"out-of-range\", \"message\": \"field 8 (excellent options) is 64, outside 0..63\"},\n"
                            "  {\"file\": \"" + bag.string() +
                            "\", \"layout\": \"bag-sections\", \"line\": 2, \"severity\": \"error\", \"code\": "
                            "\"out-of-range\", \"message\": \"field 8 (excellent flag) is 2, outside 0..1\"}\n]\n");
    EXPECT_NE(json.err.find(shop.string() + ": layout shop-8"), std::string::npos) << json.err;
}

TEST(CliCheck, ControlBytesAreShownNotSent)
{
    test::TempDir dir;
    const auto shop = dir.write("shop1.txt", "0 \x1B[2J 0 20 0 0 0\r\nPrice\x07 = 5\r\n0 0 0 20 0 0 0 //Kris\x7F\r\n");
    const CliRun text = cliWithData({"check", shop.string()});
    EXPECT_EQ(text.status, 3) << text.err;
    EXPECT_EQ(linesOf(text.out),
              (std::vector<std::string>{
                  shop.string() + ":1: error: field 2 (index) is not a number: \"\\x1B[2J\" [not-a-number]",
                  shop.string() + ":2: warning: neither an item nor a // comment: \"Price\\x07 = 5\" (kept as it is; "
                                  "the server does not read it as an item) [stray-text]"}));
    const CliRun entries = cli({"entries", shop.string()});
    EXPECT_EQ(entries.out, "1\t0,\\x1B[2J,0,20,0,0,0\n2\tPrice\\x07 = 5\n1\t0,0,0,20,0,0,0,Kris\\x7F\n");
    for (const CliRun* run : {&text, &entries})
        EXPECT_EQ(run->out.find_first_of("\x1B\x07\x7F"), std::string::npos);
    const CliRun json = cliWithData({"check", "--json", shop.string()});
    EXPECT_NE(json.out.find("not a number: \\\"\\u001b[2J\\\""), std::string::npos) << json.out;
    EXPECT_EQ(json.out.find_first_of("\x1B\x07"), std::string::npos);
}

// decode and storage list name a vault code alike: "Excellent " for any
// excellent option, "+Luck" for luck.
TEST(CliVaultNames, DecodeAndStorageListAgree)
{
    const struct {
        std::vector<std::string> encode;
        const char* name;
    } cases[] = {
        {{"0", "2", "0", "28", "0", "1", "0"}, "Katana+Luck"},
        {{"--exc", "1", "0", "2", "0", "28", "0", "0", "0"}, "Excellent Katana"},
        {{"--exc", "0,3", "0", "2", "3", "28", "1", "1", "0"}, "Excellent Katana+3+Skill+Luck"},
    };
    test::TempDir dir;
    std::string hex;
    std::vector<std::string> listed;
    for (size_t i = 0; i < std::size(cases); ++i) {
        std::vector<std::string> args = {"encode", "--only", "vault"};
        args.insert(args.end(), cases[i].encode.begin(), cases[i].encode.end());
        const std::string code = cli(args).out.substr(0, 20);
        const CliRun decoded = cliWithData({"decode", code});
        EXPECT_EQ(decoded.status, 0) << decoded.err;
        EXPECT_NE(decoded.out.find(std::string("\nname ") + cases[i].name + "\n"), std::string::npos) << decoded.out;
        hex += code;  // slots 0, 1 and 2 of the top row: the 1 x 3 Katanas side by side
        listed.push_back(std::to_string(i) + "\t" + std::to_string(i) + "\t0\t" + code + "\t" + cases[i].name);
    }
    for (int s = 3; s < 120; ++s)
        hex += std::string(20, 'F');
    const CliRun list = cliWithData({"storage", "list", dir.write("vault.txt", hex).string()});
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(linesOf(list.out), listed);
}

}  // namespace
}  // namespace vs

// The command line for scripts: check past files it cannot read, storage new,
// encode --name, and the --json outputs, each read back by a strict JSON reader.
namespace vs {
namespace {

using test::Json;
using test::JsonReader;

// Parses a --json output; a parse failure fails the test and gives null.
Json parsedJson(const CliRun& run)
{
    try {
        return JsonReader::parse(run.out);
    } catch (const std::exception& e) {
        ADD_FAILURE() << e.what() << "\n" << run.out.substr(0, 400);
        return {nullptr};
    }
}

// The reader refuses what a JSON parser refuses, so that output it reads is JSON.
TEST(CliJson, TheTestsReaderIsStrict)
{
    for (const char* bad : {"[1,]", "{\"a\": 1,}", "[\"a\x01\"]", "[\"\xE9\"]", "[\"\xC0\x80\"]", "[\"\\ud800\"]",
                            "[] []", "{\"a\": 1, \"a\": 2}", "[01]", "[\"\\x41\"]", "[nul]", "[\"a"})
        EXPECT_THROW(JsonReader::parse(bad), std::runtime_error) << ::testing::PrintToString(std::string(bad));
    const Json good = JsonReader::parse(" [{\"a\": null, \"b\": -1.5e2, \"c\": \"\\u00e9\\ud83d\\ude00\\n\", \"d\": [true]}]\n");
    EXPECT_TRUE(good.array().at(0)["a"].isNull());
    EXPECT_EQ(good.array().at(0)["b"].number(), -150);
    EXPECT_EQ(good.array().at(0)["c"].text(), "é😀\n");
    EXPECT_TRUE(good.array().at(0)["d"].array().at(0).boolean());
}

// Any bytes become a JSON string that gives them back: as they are when they
// are UTF-8, else each byte as the character of its value.
TEST(CliJson, AnyBytesMakeAStringThatGivesThemBack)
{
    static const unsigned char palette[] = {'a', ' ', '"', '\\', '/', 0x00, 0x09, 0x0A, 0x1F, 0x7F, 0x80, 0xA9,
                                            0xC3, 0xC0, 0xE9, 0xED, 0xA0, 0xE2, 0x82, 0xAC, 0xF0, 0x9F, 0x98, 0xFF};
    std::mt19937 random(16);
    for (int round = 0; round < 5000; ++round) {
        std::string bytes;
        for (int i = static_cast<int>(random() % 10); i > 0; --i)
            bytes += static_cast<char>(palette[random() % std::size(palette)]);
        std::string latin1;
        for (const unsigned char byte : bytes) {
            if (byte < 0x80) {
                latin1 += static_cast<char>(byte);
            } else {
                latin1 += static_cast<char>(0xC0 | (byte >> 6));
                latin1 += static_cast<char>(0x80 | (byte & 0x3F));
            }
        }
        const std::string json = cli::jsonString(bytes);
        try {
            const std::string back = JsonReader::parse(json).text();
            EXPECT_TRUE(back == bytes || back == latin1) << ::testing::PrintToString(bytes) << " gave " << json;
        } catch (const std::exception& e) {
            ADD_FAILURE() << ::testing::PrintToString(bytes) << " gave " << json << ": " << e.what();
        }
    }
}

TEST(CliCheck, GoesOnPastFilesItCannotReadOrThatAreOfNoKind)
{
    test::TempDir dir;
    const std::string first = dir.write("shop1.txt", "0 0 0 20 0 0 0 64\r\nend\r\n").string();  // shop-8, one error
    const std::string notes = dir.write("notes.txt", "0 0 0 20 0 0 0\r\n").string();
    const std::string missing = (dir.path() / "shop_missing.txt").string();
    std::filesystem::create_directory(dir.path() / "bagdir");
    const std::string folder = (dir.path() / "bagdir").string();
    const std::string last = dir.write("bag1.txt", "14 13 0 0 0 0 //Jewel\r\n// a\r\nPrice = 5\r\n").string();  // a warning
    const std::vector<std::string> files = {first, notes, missing, folder, last};

    std::vector<std::string> args = {"check"};
    args.insert(args.end(), files.begin(), files.end());
    const CliRun text = cliWithData(args);
    EXPECT_EQ(text.status, 3);
    const std::vector<std::string> lines = linesOf(text.out);
    ASSERT_EQ(lines.size(), 5u) << text.out;
    EXPECT_EQ(lines[0].rfind(first + ":1: error: ", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1], notes + ": error: the name tells neither a shop nor an item-bag file [unknown-kind]");
    EXPECT_EQ(lines[2], missing + ": error: cannot be read: no such file [unreadable]");
    EXPECT_EQ(lines[3], folder + ": error: cannot be read: it is a folder [unreadable]");
    EXPECT_EQ(lines[4].rfind(last + ":3: warning: ", 0), 0u) << lines[4];
    // The layouts of the files read, then the count of every finding and file.
    EXPECT_EQ(linesOf(text.err), (std::vector<std::string>{
                                     first + ": layout shop-8 (Type Index Level Durab Skill Luck Option EXC)",
                                     last + ": layout bag-6 (Type Index Level Skill Exc AddOption)",
                                     "4 errors, 1 warning in 5 files"}));

    args.insert(args.begin() + 1, "--json");
    const CliRun json = cliWithData(args);
    EXPECT_EQ(json.status, 3);
    const Json findings = parsedJson(json);
    ASSERT_EQ(findings.array().size(), 5u);
    const std::vector<std::string> keys = {"file", "layout", "line", "severity", "code", "message"};
    const char* codes[] = {"out-of-range", "unknown-kind", "unreadable", "unreadable", "stray-text"};
    for (size_t i = 0; i < 5; ++i) {
        const Json& finding = findings.array()[i];
        EXPECT_EQ(finding.keys(), keys);
        EXPECT_EQ(finding["file"].text(), files[i]);
        EXPECT_EQ(finding["code"].text(), codes[i]);
        const bool refused = i >= 1 && i <= 3;
        EXPECT_EQ(finding["layout"].isNull(), refused) << i;
        EXPECT_EQ(finding["line"].isNull(), refused) << i;
        // The message is the text line's, between "severity: " and " [code]".
        const std::string& line = lines[i];
        const size_t from = line.find(finding["severity"].text() + ": ") + finding["severity"].text().size() + 2;
        EXPECT_EQ(finding["message"].text(), line.substr(from, line.rfind(" [") - from));
    }

    // Nothing but files that cannot be read: still findings, still status 3, and 0 when all is well.
    EXPECT_EQ(cliWithData({"check", missing, notes}).status, 3);
    EXPECT_EQ(parsedJson(cliWithData({"check", "--json", missing})).array().size(), 1u);
    EXPECT_EQ(cliWithData({"check", dir.write("shop2.txt", "0 0 0 20 0 0 0\r\nend\r\n").string()}).status, 0);
    expectUsageError(cliWithData({"check", "--frob", first}), "--frob");
}

TEST(CliMessages, NoneCarriesTheWindowsPrefix)
{
    test::TempDir dir;
    const std::string notes = dir.write("notes.txt", "0 0 0 20 0 0 0\r\n").string();
    const std::string missing = (dir.path() / "shop9.txt").string();
    for (const std::string& file : {notes, missing})
        for (const std::vector<std::string>& args :
             std::vector<std::vector<std::string>>{{"entries", file}, {"normalize", file}, {"grid", file},
                                                   {"check", file}, {"storage", "list", file}}) {
            const CliRun run = cliWithData(args);
            EXPECT_NE(run.status, 0);
            EXPECT_EQ(run.err.find("Open>"), std::string::npos) << run.err;
            EXPECT_NE((run.out + run.err).find(file + ": "), std::string::npos) << run.out << run.err;
        }
}

TEST_F(CliStorage, NewMakesAnEmptyStorageOfEachKindAndForm)
{
    const struct {
        std::vector<std::string> options;
        const char* name;
        std::string bytes;
        const char* kindOption;  // the kind the file reads as
        const char* otherKind;
    } cases[] = {
        {{}, "vault.bin", std::string(1200, '\xFF'), "--warehouse", "--inventory"},
        {{"--warehouse", "--hex"}, "vault.txt", std::string(2400, 'F') + "\n", "--warehouse", "--inventory"},
        {{"--inventory"}, "hero.bin", std::string(760, '\xFF'), "--inventory", "--warehouse"},
        {{"--hex", "--inventory"}, "hero.txt", std::string(1520, 'F') + "\n", "--inventory", "--warehouse"},
    };
    const std::string blade = code({"0", "1", "0", "20", "0", "0", "0"});
    for (const auto& c : cases) {
        const std::string file = (dir.path() / c.name).string();
        std::vector<std::string> args = {"new"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.push_back(file);
        const CliRun made = run(args);
        EXPECT_EQ(made.status, 0) << made.err;
        EXPECT_TRUE(made.out.empty());
        EXPECT_EQ(test::readBytes(file), c.bytes) << c.name;
        // Read back as an empty storage of its kind, and of no other.
        const CliRun listed = run({"list", c.kindOption, file});
        EXPECT_EQ(listed.status, 0) << listed.err;
        EXPECT_EQ(listed.out, "");
        EXPECT_EQ(run({"list", "--json", file}).out, "[]\n");
        const CliRun checked = run({"check", file});
        EXPECT_EQ(checked.status, 0);
        EXPECT_EQ(checked.err, "0 errors, 0 warnings in 1 file\n");
        EXPECT_EQ(run({"list", c.otherKind, file}).status, 2) << c.name;
        // A new file refuses to be replaced, and is left as it was.
        expectUsageError(run({"new", file}), file + " already exists");
        EXPECT_EQ(test::readBytes(file), c.bytes);
        // It takes items, in its own form.
        EXPECT_EQ(run({"set", file, "20", blade}).status, 0);
        EXPECT_EQ(linesOf(run({"list", file}).out).size(), 1u);
    }
    expectUsageError(run({"new", "--inventory", "--warehouse", (dir.path() / "x.bin").string()}), "exclude each other");
    expectUsageError(run({"new", (dir.path() / "x.bin").string(), "-o", "y"}), "-o does not apply");
    expectUsageError(run({"new", "--backup", (dir.path() / "x.bin").string()}), "--backup does not apply");
    expectUsageError(run({"new", (dir.path() / "no/such/x.bin").string()}), "cannot write");
    expectUsageError(run({"new"}), "expected FILE");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "x.bin"));
    expectUsageError(run({"list", "--hex", (dir.path() / "vault.bin").string()}), "--hex does not apply");
}

// A catalog made for choosing by name: two items of one name, a name that is
// part of another, a subtype, a durability above the code's 255.
struct NamedCatalog {
    test::TempDir dir;
    NamedCatalog()
    {
        dir.write("item(Kor).txt",
                  "0\r\n1 1 1 0 0 0 \"Twin\" 0 0 0 30\r\n2 1 1 0 0 0 \"Twin\" 0 0 0 40\r\n"
                  "3 1 2 0 0 0 \"Twin Blade\" 0 0 0 25\r\n4 1 1 0 0 0 \"Heavy Maul\" 0 0 0 300\r\nend\r\n");
        dir.write("subtypes.txt", "0 3\r\n5 \"Keen Edge\"\r\n");
    }
    CliRun run(std::vector<std::string> args) const
    {
        args.insert(args.begin(), {"--data", dir.path().string(), "encode"});
        return cli(std::move(args));
    }
};

TEST(CliEncodeByName, ComposesTheItemTheNameChooses)
{
    const NamedCatalog data;
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> same;  // the positional encode giving the same codes
    } cases[] = {
        {{"--name", "twin blade"}, {"0", "3", "0", "25", "0", "0", "0"}},    // whole name, not the "Twin"s
        {{"--name", "TWIN BLADE "}, {"0", "3", "0", "25", "0", "0", "0"}},   // any letter case, blanks around
        {{"--name", "blade"}, {"0", "3", "0", "25", "0", "0", "0"}},         // the one name holding the word
        {{"--name", "keen"}, {"0", "3", "5", "25", "0", "0", "0"}},          // a subtype picks its level
        {{"--name", "Keen Edge", "--level", "7"}, {"0", "3", "7", "25", "0", "0", "0"}},
        {{"--name", "maul"}, {"0", "4", "0", "255", "0", "0", "0"}},         // durability limited to 255
        {{"--name", "maul", "--dur", "9", "--skill", "1", "--luck", "1", "--option", "4", "--serial", "77", "--exc",
          "1,3"},
         {"--serial", "77", "--exc", "1,3", "0", "4", "0", "9", "1", "1", "4"}},
    };
    for (const auto& c : cases) {
        const CliRun byName = data.run(c.args);
        EXPECT_EQ(byName.status, 0) << byName.err;
        std::vector<std::string> positional = {"encode"};
        positional.insert(positional.end(), c.same.begin(), c.same.end());
        EXPECT_EQ(byName.out, cli(positional).out) << c.args[1];
    }
    const CliRun only = data.run({"--name", "keen", "--only", "shop"});
    EXPECT_EQ(only.out, "0 3 5 25 0 0 0\n");
    EXPECT_EQ(only.err, "--name 'keen': 0 3 5 Keen Edge\n") << "the item chosen is named on standard error";
}

TEST(CliEncodeByName, RefusesNamesThatChooseNoneOrSeveral)
{
    const NamedCatalog data;
    // Two items named "Twin" exactly: the exact name does not tell them apart.
    CliRun twin = data.run({"--name", "twin"});
    EXPECT_EQ(twin.status, 2);
    EXPECT_TRUE(twin.out.empty());
    EXPECT_EQ(twin.err,
              "vaultsmith-cli: --name 'twin' matches 2 items (CLASS INDEX LEVEL NAME); give one of these names whole:\n"
              "  0 2 - Twin\n  0 1 - Twin\n");
    // Every name holding the word is a candidate when none is the whole name.
    CliRun e = data.run({"--name", "e"});
    EXPECT_EQ(e.status, 2);
    EXPECT_EQ(linesOf(e.err).size(), 4u) << e.err;  // Twin Blade, Heavy Maul, Keen Edge
    EXPECT_NE(e.err.find("\n  0 3 5 Keen Edge"), std::string::npos) << e.err;
    expectUsageError(data.run({"--name", "sword"}), "--name 'sword': no item or subtype name holds every word of it");
    expectUsageError(data.run({"--name", "  "}), "--name is empty");
    expectUsageError(data.run({"--name", "twin blade", "0"}), "unexpected argument '0'");
    expectUsageError(data.run({"--name", "twin blade", "--level", "13"}), "--level out of range");
    expectUsageError(data.run({"--name", "twin blade", "--luck", "2"}), "--luck");
    expectUsageError(data.run({"0", "3", "0", "25", "0", "0", "0", "--level", "3"}), "--level goes with --name only");
    EXPECT_EQ(cli({"--data", (data.dir.path() / "none").string(), "encode", "--name", "twin"}).status, 1)
        << "choosing by name needs the catalog";
}

TEST(CliEncodeByName, TypedAsUtf8FindsCodePageNames)
{
    KoreanCatalog data;
    const CliRun run = data.run({"encode", "--encoding", "cp949", "--name", "물약", "--only", "shop"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "0 1 3 9 0 0 0\n");
    EXPECT_EQ(run.err, "--name '물약': 0 1 3 물약\n");
    expectUsageError(data.run({"encode", "--encoding", "cp949", "--name", "😀"}), "cannot be written in Korean");
}

TEST(CliSearch, JsonRowsAreTheTextRows)
{
    for (const std::vector<std::string>& terms :
         std::vector<std::vector<std::string>>{{"runed"}, {"sword", "-short"}, {"ring"}, {"zzzq"}}) {
        std::vector<std::string> args = {"search"};
        args.insert(args.end(), terms.begin(), terms.end());
        const CliRun text = cliWithData(args);
        args.push_back("--json");
        const Json rows = parsedJson(cliWithData(args));
        const std::vector<std::string> lines = linesOf(text.out);
        ASSERT_EQ(rows.array().size(), lines.size()) << terms[0];
        for (size_t i = 0; i < lines.size(); ++i) {
            const Json& row = rows.array()[i];
            EXPECT_EQ(row.keys(), (std::vector<std::string>{"class", "index", "level", "name"}));
            const std::string level = row["level"].isNull() ? "-" : std::to_string(int(row["level"].number()));
            EXPECT_EQ(std::to_string(int(row["class"].number())) + "\t" + std::to_string(int(row["index"].number())) +
                          "\t" + level + "\t" + row["name"].text(),
                      lines[i]);
        }
    }
    EXPECT_EQ(cliWithData({"search", "--json", "  "}).out, "[]\n");
}

TEST(CliJson, EntriesKeepEveryTextAsTheFileHoldsIt)
{
    test::TempDir dir;
    const std::string shop =
        dir.write("shop1.txt", "// caf\xE9 \"quoted\" back\\slash\r\n\r\n0 0 0 20 0 0 0 //Kris\x1B[2J, two\r\nend\r\n")
            .string();
    const CliRun text = cli({"entries", shop});
    const Json entries = parsedJson(cli({"entries", "--json", shop}));
    const std::vector<std::string> lines = linesOf(text.out);
    ASSERT_EQ(entries.array().size(), lines.size());
    const int sourceLines[] = {1, 2, 3, 3, 4};
    for (size_t i = 0; i < lines.size(); ++i) {
        const Json& entry = entries.array()[i];
        EXPECT_EQ(entry.keys(), (std::vector<std::string>{"line", "kind", "kindName", "text"}));
        EXPECT_EQ(entry["line"].number(), sourceLines[i]);
        // The text line shows control bytes as \xNN; JSON escapes them and gives the bytes back.
        if (i > 0) {
            EXPECT_EQ(std::to_string(int(entry["kind"].number())) + "\t" + escapeControlBytes(entry["text"].text()),
                      lines[i]);
        }
    }
    EXPECT_EQ(entries.array()[0]["kindName"].text(), "comment");
    EXPECT_EQ(entries.array()[1]["kindName"].text(), "blank");
    EXPECT_EQ(entries.array()[2]["kindName"].text(), "item");
    EXPECT_EQ(entries.array()[2]["text"].text(), "0,0,0,20,0,0,0,Kris\x1B[2J");
    // A byte that is no UTF-8 is given as the Latin-1 character; with --encoding, the page's.
    EXPECT_EQ(entries.array()[0]["text"].text(), "// caf\u00E9 \"quoted\" back\\slash");
    const std::string bag = dir.write("bag1.txt", kKoreanBag).string();
    const Json korean = parsedJson(cli({"entries", "--json", "--encoding", "cp949", bag}));
    EXPECT_EQ(korean.array().at(0)["text"].text(), "14,13,0,0,0,0,한글 갂");
    EXPECT_EQ(korean.array().at(1)["text"].text(), "// 물약");
    EXPECT_EQ(cli({"entries", "--json", dir.write("bag2.txt", "").string()}).out, "[]\n");
}

TEST(CliJson, DecodeGridAndStorageListGiveEveryColumn)
{
    const CliRun decoded = cliWithData({"decode", "--json", "01aeff000003e8210000"});
    EXPECT_EQ(decoded.status, 0) << decoded.err;
    const Json item = parsedJson(decoded);
    ASSERT_EQ(item.array().size(), 1u);
    const Json& fields = item.array()[0];
    EXPECT_EQ(fields.keys(), (std::vector<std::string>{"class", "index", "level", "dur", "skill", "luck", "option",
                                                       "serial", "exc", "name"}));
    const double expected[] = {0, 1, 5, 255, 1, 1, 2, 1000};
    for (size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(fields.object().values[i].number(), expected[i]) << fields.keys()[i];
    ASSERT_EQ(fields["exc"].array().size(), 2u);
    EXPECT_EQ(fields["exc"].array()[1].number(), 5);
    EXPECT_EQ(fields["name"].text(), "Excellent Rapier+5+8+Skill+Luck");
    test::TempDir empty;
    EXPECT_TRUE(parsedJson(cli({"decode", "--json", "--data", empty.path().string(), "00000000000000000000"}))
                    .array()[0]["name"]
                    .isNull());

    test::TempDir dir;
    const std::string shop =
        dir.write("shop1.txt", "// x\r\n0 0 0 20 0 0 0\r\n15 31 0 0 0 0 0\r\n14 13 3 0 0 0 0\r\n").string();
    const std::vector<std::string> gridLines = linesOf(cliWithData({"grid", shop}).out);
    const Json grid = parsedJson(cliWithData({"grid", "--json", shop}));
    ASSERT_EQ(grid.array().size(), gridLines.size());
    for (size_t i = 0; i < gridLines.size(); ++i) {
        const Json& g = grid.array()[i];
        EXPECT_EQ(g.keys(), (std::vector<std::string>{"line", "x", "y", "width", "height", "name", "placed", "fate"}));
        const auto cell = [](const Json& v) { return v.isNull() ? std::string("-") : std::to_string(int(v.number())); };
        EXPECT_EQ(cell(g["line"]) + "\t" + cell(g["x"]) + "\t" + cell(g["y"]) + "\t" + cell(g["width"]) + "\t" +
                      cell(g["height"]) + "\t" + g["name"].text(),
                  gridLines[i]);
        EXPECT_EQ(g["placed"].boolean(), !g["x"].isNull());
    }
    EXPECT_EQ(grid.array()[1]["fate"].text(), "unknown-item");
    expectUsageError(cliWithData({"grid", "--json", "--map", shop}), "exclude each other");

    const std::string vault = dir.path() / "vault.txt";
    const std::string hero = dir.path() / "hero.txt";
    ASSERT_EQ(cliWithData({"storage", "new", "--hex", vault}).status, 0);
    ASSERT_EQ(cliWithData({"storage", "new", "--inventory", hero}).status, 0);
    const std::string rapier = "01AEFF000003E8210000";
    for (const auto& [file, slot] : {std::pair{vault, "9"}, std::pair{hero, "0"}, std::pair{hero, "20"}})
        ASSERT_EQ(cliWithData({"storage", "set", file, slot, rapier}).status, 0);
    for (const std::string& file : {vault, hero}) {
        const std::vector<std::string> listLines = linesOf(cliWithData({"storage", "list", file}).out);
        const Json list = parsedJson(cliWithData({"storage", "list", "--json", file}));
        ASSERT_EQ(list.array().size(), listLines.size());
        for (size_t i = 0; i < listLines.size(); ++i) {
            const Json& s = list.array()[i];
            EXPECT_EQ(s.keys(), (std::vector<std::string>{"slot", "x", "y", "code", "name"}));
            const auto cell = [](const Json& v) { return v.isNull() ? std::string("-") : std::to_string(int(v.number())); };
            EXPECT_EQ(cell(s["slot"]) + "\t" + cell(s["x"]) + "\t" + cell(s["y"]) + "\t" + s["code"].text() + "\t" +
                          s["name"].text(),
                      listLines[i]);
        }
    }
    EXPECT_TRUE(parsedJson(cliWithData({"storage", "list", "--json", hero})).array()[0]["x"].isNull())
        << "an equipped slot has no cell";
}

TEST(CliJson, CorpusFilesReadBackWhole)
{
    VS_REQUIRE_CORPUS();
    for (const char* name : {"shop0.txt", "EventItemBag4.txt", "EventItemBag.txt"}) {
        const std::string file = (test::corpusDir() / name).string();
        const Json entries = parsedJson(cli({"entries", "--json", file}));
        EXPECT_EQ(entries.array().size(), linesOf(cli({"entries", file}).out).size()) << name;
        const Json check = parsedJson(cliWithData({"check", "--json", file}));
        EXPECT_EQ(check.array().size(), linesOf(cliWithData({"check", file}).out).size()) << name;
    }
    const std::string shop = (test::corpusDir() / "shop0.txt").string();
    EXPECT_EQ(parsedJson(cliWithData({"grid", "--json", shop})).array().size(),
              linesOf(cliWithData({"grid", shop}).out).size());
}

// --backup keeps the file a command replaces as FILE.bak; only a file that existed.
TEST(CliBackup, KeepsTheReplacedFileBesideIt)
{
    test::TempDir dir;
    const std::string shopBytes = "0  0 0 20 0 0 0 //\r\n";
    const std::string rapier = "01AEFF000003E8210000";
    const struct {
        const char* label;
        std::string target;  // the file replaced, relative to the folder
        std::vector<std::string> args;
    } cases[] = {
        {"normalize onto itself", "shop1.txt", {"normalize", "--tidy", "--backup", "shop1.txt", "-o", "shop1.txt"}},
        {"normalize onto another", "other.txt", {"normalize", "--backup", "shop1.txt", "--output", "other.txt"}},
        {"storage set", "vault.bin", {"storage", "set", "--backup", "vault.bin", "0", "0000FF00000000000000"}},
        {"storage move", "vault.bin", {"storage", "move", "vault.bin", "0", "3", "4", "--backup"}},
        {"storage clear -o", "out.bin", {"storage", "clear", "--backup", "vault.bin", "0", "-o", "out.bin"}},
    };
    const auto at = [&](const std::string& name) { return (dir.path() / name).string(); };
    const auto prepare = [&](const std::string& target) {
        dir.write("shop1.txt", shopBytes);
        dir.write("other.txt", "older");
        dir.write("out.bin", "oldest");
        std::filesystem::remove(at("vault.bin"));
        ASSERT_EQ(cliWithData({"storage", "new", at("vault.bin")}).status, 0);
        ASSERT_EQ(cliWithData({"storage", "set", at("vault.bin"), "0", rapier}).status, 0);
        std::filesystem::permissions(at(target), std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    };
    for (const auto& c : cases) {
        std::vector<std::string> args;
        for (const std::string& arg : c.args)
            args.push_back(arg.find('.') != std::string::npos ? at(arg) : arg);
        const std::string backup = at(c.target) + ".bak";

        prepare(c.target);
        dir.write(c.target + ".bak", "an older backup");
        const std::string before = test::readBytes(at(c.target));
        const CliRun run = cliWithData(args);
        EXPECT_EQ(run.status, 0) << c.label << ": " << run.err;
        EXPECT_TRUE(test::readBytes(backup) == before) << c.label << ": the backup holds the file as it was";
        EXPECT_TRUE(test::readBytes(at(c.target)) != before) << c.label << ": the file was replaced";
        EXPECT_EQ(std::filesystem::status(backup).permissions() & std::filesystem::perms::all,
                  std::filesystem::perms::owner_read | std::filesystem::perms::owner_write)
            << c.label << ": the copy is as private as the file";
        const std::string replaced = test::readBytes(at(c.target));

        // The same command without --backup makes the same file and no backup.
        prepare(c.target);
        std::filesystem::remove(backup);
        args.erase(std::find(args.begin(), args.end(), "--backup"));
        EXPECT_EQ(cliWithData(args).status, 0) << c.label;
        EXPECT_TRUE(test::readBytes(at(c.target)) == replaced) << c.label;
        EXPECT_FALSE(std::filesystem::exists(backup)) << c.label;
    }

    // No backup of a file that did not exist.
    dir.write("shop1.txt", shopBytes);
    EXPECT_EQ(cliWithData({"normalize", "--backup", at("shop1.txt"), "-o", at("new_shop.txt")}).status, 0);
    EXPECT_TRUE(std::filesystem::exists(at("new_shop.txt")));
    EXPECT_FALSE(std::filesystem::exists(at("new_shop.txt.bak")));
    // A backup that cannot be written writes nothing at all.
    std::filesystem::create_directory(at("shop1.txt.bak"));
    expectUsageError(cliWithData({"normalize", "--tidy", "--backup", at("shop1.txt"), "-o", at("shop1.txt")}),
                     "cannot keep " + at("shop1.txt") + " as " + at("shop1.txt.bak"));
    EXPECT_EQ(test::readBytes(at("shop1.txt")), shopBytes);
    expectUsageError(cliWithData({"normalize", "--backup", at("shop1.txt")}), "--backup applies only with -o");
    expectUsageError(cliWithData({"storage", "list", "--backup", at("vault.bin")}), "--backup does not apply");
}

}  // namespace
}  // namespace vs
