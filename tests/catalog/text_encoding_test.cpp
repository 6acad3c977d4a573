#include "catalog/text_encoding.h"
#include "catalog/file_io.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace vs {
namespace {

TextEncoding page(std::string_view name)
{
    std::optional<TextEncoding> found = TextEncoding::byName(name);
    if (!found)
        throw std::runtime_error("no encoding " + std::string(name));
    return *found;
}

const std::string kFffd = "\xEF\xBF\xBD";

TEST(Utf8Detection, AsciiAndEmptySayNothing)
{
    EXPECT_FALSE(isUtf8WithHighBytes(""));
    EXPECT_FALSE(isUtf8WithHighBytes("14 3 0 255 0 0 0 //Potion\r\n"));
    EXPECT_FALSE(isUtf8WithHighBytes(std::string("\0\x7F", 2)));
}

TEST(Utf8Detection, WellFormedTextWithHighBytes)
{
    EXPECT_TRUE(isUtf8WithHighBytes("//한국어 상점"));
    EXPECT_TRUE(isUtf8WithHighBytes("Więcej blessów"));
    // The edges of each sequence length.
    EXPECT_TRUE(isUtf8WithHighBytes("\xC2\x80"));          // U+0080
    EXPECT_TRUE(isUtf8WithHighBytes("\xDF\xBF"));          // U+07FF
    EXPECT_TRUE(isUtf8WithHighBytes("\xE0\xA0\x80"));      // U+0800
    EXPECT_TRUE(isUtf8WithHighBytes("\xED\x9F\xBF"));      // U+D7FF, below the surrogates
    EXPECT_TRUE(isUtf8WithHighBytes("\xEE\x80\x80"));      // U+E000, above them
    EXPECT_TRUE(isUtf8WithHighBytes("\xF0\x90\x80\x80"));  // U+10000
    EXPECT_TRUE(isUtf8WithHighBytes("\xF4\x8F\xBF\xBF"));  // U+10FFFF
}

TEST(Utf8Detection, MalformedSequencesAreNotUtf8)
{
    EXPECT_FALSE(isUtf8WithHighBytes("a\x80z")) << "stray continuation byte";
    EXPECT_FALSE(isUtf8WithHighBytes("\xC0\xAF")) << "overlong '/'";
    EXPECT_FALSE(isUtf8WithHighBytes("\xC1\xBF")) << "overlong";
    EXPECT_FALSE(isUtf8WithHighBytes("\xE0\x80\xAF")) << "overlong, three bytes";
    EXPECT_FALSE(isUtf8WithHighBytes("\xE0\x9F\xBF")) << "overlong U+07FF";
    EXPECT_FALSE(isUtf8WithHighBytes("\xF0\x8F\xBF\xBF")) << "overlong U+FFFF";
    EXPECT_FALSE(isUtf8WithHighBytes("\xED\xA0\x80")) << "surrogate U+D800";
    EXPECT_FALSE(isUtf8WithHighBytes("\xED\xBF\xBF")) << "surrogate U+DFFF";
    EXPECT_FALSE(isUtf8WithHighBytes("\xF4\x90\x80\x80")) << "U+110000";
    EXPECT_FALSE(isUtf8WithHighBytes("\xF5\x80\x80\x80")) << "lead byte F5";
    EXPECT_FALSE(isUtf8WithHighBytes("\xFF")) << "byte FF";
    EXPECT_FALSE(isUtf8WithHighBytes("\xED\x95")) << "'한' cut short at the end";
    EXPECT_FALSE(isUtf8WithHighBytes("\xED\x95 \x9C")) << "'한' broken by a blank";
    EXPECT_FALSE(isUtf8WithHighBytes("\xF0\x9F\x98")) << "four-byte sequence cut short";
    EXPECT_FALSE(isUtf8WithHighBytes("\xC7\xD1\xB1\xDB")) << "'한글' in CP949";
    EXPECT_FALSE(isUtf8WithHighBytes("caf\xE9")) << "'café' in windows-1252";
}

TEST(ShownEncoding, Utf8FilesWinOverTheChoice)
{
    const TextEncoding& korean = page("windows-949");
    EXPECT_TRUE(shownEncoding("1 2 3 //한글\r\n", korean).isUtf8());
    EXPECT_EQ(shownEncoding("1 2 3 //\xC7\xD1\xB1\xDB\r\n", korean), korean);
    EXPECT_EQ(shownEncoding("1 2 3 //Potion\r\n", korean), korean);
    EXPECT_EQ(shownEncoding("", TextEncoding::defaultCodePage()).id(), "windows-1252");
}

TEST(ShownEncoding, CorpusFileWithPolishCommentsIsUtf8)
{
    VS_REQUIRE_CORPUS();
    const std::string bytes = readFileBytes(test::corpusDir() / "EventItemBag.txt");
    const TextEncoding shown = shownEncoding(bytes, page("windows-949"));
    ASSERT_TRUE(shown.isUtf8());
    EXPECT_NE(shown.decode(bytes).find("Więcej blessów"), std::string::npos);
    // Read as CP949 the same bytes would be mangled; the rule is what prevents it.
    EXPECT_EQ(page("windows-949").decode(bytes).find("Więcej"), std::string::npos);
}

TEST(Cp949, IsWindowsUnifiedHangul)
{
    const TextEncoding& korean = page("windows-949");
    // 81 41 lies outside EUC-KR; only the Windows page defines it.
    EXPECT_EQ(korean.decode("\x81\x41"), "갂");
    EXPECT_EQ(korean.encode("갂"), "\x81\x41");
    EXPECT_EQ(korean.decode("\xC7\xD1\xB1\xDB"), "한글");
    EXPECT_EQ(korean.encode("한글"), "\xC7\xD1\xB1\xDB");
    EXPECT_EQ(korean.decode("14 3 //\xB9\xB0\xBE\xE0"), "14 3 //물약");
}

TEST(Decode, UndefinedBytesBecomeReplacementsAndDecodingGoesOn)
{
    const TextEncoding& western = page("windows-1252");
    EXPECT_EQ(western.decode("a\x81z"), "a" + kFffd + "z");
    EXPECT_EQ(western.decode("\x80\x81\x8D\x9F"), "€" + kFffd + kFffd + "Ÿ");
    const TextEncoding& korean = page("windows-949");
    EXPECT_EQ(korean.decode("a\xC7"), "a" + kFffd) << "lead byte at the end";
    EXPECT_EQ(korean.decode("\xC7 x\xC7\xD1"), kFffd + " x한") << "lead byte followed by a blank";
    EXPECT_EQ(korean.decode("\xFF\xFF"), kFffd + kFffd);
}

TEST(Decode, Utf8ChoiceReplacesEachBadByte)
{
    const TextEncoding& utf8 = TextEncoding::utf8();
    EXPECT_EQ(utf8.decode("한글"), "한글");
    EXPECT_EQ(utf8.decode("a\xC0\xAF" "b"), "a" + kFffd + kFffd + "b");
    EXPECT_EQ(utf8.decode("\xED\x95 \xED\x95\x9C"), kFffd + kFffd + " 한");
    EXPECT_EQ(utf8.decode("\xED\xA0\x80"), kFffd + kFffd + kFffd);
    EXPECT_EQ(utf8.decode("caf\xE9"), "caf" + kFffd);
}

TEST(Decode, ConverterStateDoesNotCarryFromOneTextToTheNext)
{
    // One converter serves every text of a page; a text ending in the middle
    // of a character must not change how the next is read.
    const TextEncoding& korean = page("windows-949");
    EXPECT_EQ(korean.decode("x\xC7"), "x" + kFffd);
    EXPECT_EQ(korean.decode("\xB1\xDB"), "글");
    EXPECT_EQ(korean.decode("\xC7\xD1"), "한");
    const TextEncoding& japanese = page("Shift_JIS");
    EXPECT_EQ(japanese.decode("\x93"), kFffd);
    EXPECT_EQ(japanese.decode("\x96\x7B"), "本");
}

TEST(Decode, LongTextsCrossTheConversionBuffer)
{
    std::string bytes, text;
    for (int i = 0; i < 5000; ++i) {
        bytes += "\xC7\xD1" "a\x80";
        text += "한a" + kFffd;
    }
    EXPECT_EQ(page("windows-949").decode(bytes), text);
}

TEST(Encode, RefusesWhatThePageCannotHold)
{
    const TextEncoding& western = page("windows-1252");
    EXPECT_EQ(western.encode("€"), "\x80");
    EXPECT_EQ(western.encode("Café"), "Caf\xE9");
    EXPECT_EQ(western.encode("한"), std::nullopt);
    EXPECT_EQ(western.encode("ab한c"), std::nullopt);
    EXPECT_EQ(western.firstUnencodable("ab한c"), 2u);
    EXPECT_EQ(western.firstUnencodable("Café"), std::nullopt);
    // No approximation: a look-alike is not the character.
    EXPECT_EQ(western.encode("Ж"), std::nullopt);
    EXPECT_EQ(western.encode("\xE2\x80\x90"), std::nullopt) << "U+2010 hyphen is not '-'";
    EXPECT_EQ(page("windows-1251").encode("Жé"), std::nullopt);
    EXPECT_EQ(page("windows-1251").firstUnencodable("Жé"), 2u);
    EXPECT_EQ(page("windows-949").encode("Ж€한😀"), std::nullopt);
    EXPECT_EQ(page("windows-949").firstUnencodable("Ж€한😀"), 8u);
}

TEST(Encode, LookAlikesTheConverterWouldSubstituteAreRefused)
{
    // The C library's CP932 writes these as other characters without an error:
    // U+00A5 as the backslash 5C, U+2016 as U+2225, U+301C as U+FF5E.
    const TextEncoding& japanese = page("Shift_JIS");
    EXPECT_EQ(japanese.encode("\\"), "\\");
    EXPECT_EQ(japanese.encode("¥"), std::nullopt);
    EXPECT_EQ(japanese.encode("a‖"), std::nullopt);
    EXPECT_EQ(japanese.firstUnencodable("ab〜"), 2u);
    EXPECT_EQ(japanese.encode("～"), "\x81\x60");
}

TEST(Encode, MalformedUtf8IsRefusedEverywhere)
{
    for (const TextEncoding& encoding : TextEncoding::offered()) {
        EXPECT_EQ(encoding.encode("ab\xC0\xAF"), std::nullopt) << encoding.id();
        EXPECT_EQ(encoding.firstUnencodable("ab\xC0\xAF"), 2u) << encoding.id();
        EXPECT_EQ(encoding.encode("plain"), "plain") << encoding.id();
    }
}

// Each page with a text of its own script and the bytes the page gives it.
struct PageSample {
    std::string_view id;
    std::string text;
    std::string bytes;
};

TEST(Encode, EveryOfferedPageRoundTripsItsOwnText)
{
    const std::vector<PageSample> samples = {
        {"windows-1252", "Épée // déjà 5€", "\xC9p\xE9\x65 // d\xE9j\xE0 5\x80"},
        {"windows-949", "//갂 물약 x3", "//\x81\x41 \xB9\xB0\xBE\xE0 x3"},
        {"GBK", "中文 宝石", "\xD6\xD0\xCE\xC4 \xB1\xA6\xCA\xAF"},
        {"Big5", "中文 寶石", "\xA4\xA4\xA4\xE5 \xC4\x5F\xA5\xDB"},
        {"Shift_JIS", "日本 ｱ\\~", "\x93\xFA\x96\x7B \xB1\\~"},
        {"windows-1251", "Меч +5", "\xCC\xE5\xF7 +5"},
        {"UTF-8", "한 中 Ж €", "한 中 Ж €"},
    };
    ASSERT_EQ(samples.size(), TextEncoding::offered().size());
    for (const PageSample& sample : samples) {
        SCOPED_TRACE(std::string(sample.id));
        const TextEncoding& encoding = page(sample.id);
        EXPECT_EQ(encoding.encode(sample.text), sample.bytes);
        EXPECT_EQ(encoding.decode(sample.bytes), sample.text);
    }
}

TEST(ByName, IdsIconvNamesAndAliasesInAnyCase)
{
    const std::vector<std::pair<std::string_view, std::string_view>> names = {
        {"windows-1252", "windows-1252"}, {"CP1252", "windows-1252"},  {"cp1252", "windows-1252"},
        {"WINDOWS-949", "windows-949"},   {"cp949", "windows-949"},    {"UHC", "windows-949"},
        {"uhc", "windows-949"},           {"gbk", "GBK"},              {"BIG5", "Big5"},
        {"big5", "Big5"},                 {"Shift_JIS", "Shift_JIS"},  {"shift_jis", "Shift_JIS"},
        {"sjis", "Shift_JIS"},            {"Shift-JIS", "Shift_JIS"},  {"CP932", "Shift_JIS"},
        {"windows-1251", "windows-1251"}, {"Cp1251", "windows-1251"},  {"utf-8", "UTF-8"},
        {"UTF-8", "UTF-8"},
    };
    for (const auto& [name, id] : names) {
        std::optional<TextEncoding> found = TextEncoding::byName(name);
        ASSERT_TRUE(found) << name;
        EXPECT_EQ(found->id(), id) << name;
    }
    for (std::string_view unknown : {"", "latin1", "euc-kr", "ibm949", "windows-125", "cp9499", "utf-16"})
        EXPECT_FALSE(TextEncoding::byName(unknown)) << unknown;
}

TEST(ByName, KnownNamesListsTheOfferedIdsDefaultFirst)
{
    EXPECT_EQ(TextEncoding::knownNames(), "windows-1252, windows-949, GBK, Big5, Shift_JIS, windows-1251, UTF-8");
    EXPECT_EQ(TextEncoding::defaultCodePage().label(), "Western (Windows-1252)");
    EXPECT_EQ(page("cp949").label(), "Korean (CP949)");
}

}  // namespace
}  // namespace vs

namespace vs {
namespace {

TEST(TextEncodingKeepingBytes, UndefinedBytesSurviveAnEdit)
{
    const TextEncoding western = *TextEncoding::byName("windows-1252");
    const std::string bytes = "// \x81\x41 \xE9t\xE9 \x9D";
    const std::string shown = western.decodeKeepingBytes(bytes);
    EXPECT_EQ(shown.find("\xEF\xBF\xBD"), std::string::npos) << "no U+FFFD: the bytes are kept";
    EXPECT_EQ(western.encodeKeepingBytes(shown), bytes);
    // An edit around them keeps them.
    EXPECT_EQ(western.encodeKeepingBytes(shown + " \xE2\x82\xAC"), bytes + " \x80");
    // What the page cannot hold is still refused.
    EXPECT_EQ(western.encodeKeepingBytes(shown + "\xED\x95\x9C"), std::nullopt);
    // A lead byte cut short in CP949 is kept too.
    const TextEncoding korean = *TextEncoding::byName("windows-949");
    EXPECT_EQ(korean.encodeKeepingBytes(korean.decodeKeepingBytes("\xB9\xB0\xBE")), "\xB9\xB0\xBE");
    // UTF-8 decodes as it always does.
    EXPECT_EQ(TextEncoding::utf8().decodeKeepingBytes("a\xFF"), "a\xEF\xBF\xBD");
}

}  // namespace
}  // namespace vs
