// The INI text of backup files: what the profile functions would read and
// write, in one fixed encoding.
#include <gtest/gtest.h>
#include <algorithm>
#include "settings/Ini.h"

using settings::IniText;

namespace {

IniText parsed(std::string_view bytes) {
    std::optional<IniText> ini = IniText::parse(std::string(bytes));
    EXPECT_TRUE(ini.has_value());
    return ini.value_or(IniText());
}

}  // namespace

TEST(IniCodec, Cp1251IsTheWholeByteRangeBothWays) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += char(b);
    const std::string text = settings::Utf8FromCp1251(all);
    EXPECT_TRUE(settings::ValidUtf8(text));
    EXPECT_EQ(settings::Cp1251FromUtf8(text), all);
    EXPECT_EQ(settings::Utf8FromCp1251("\xC0\xFF\xA8\xB8\xB9\x88"), "Ая" "Ё" "ё" "№" "€");
    EXPECT_EQ(settings::Cp1251FromUtf8("Привет"), "\xCF\xF0\xE8\xE2\xE5\xF2");
    EXPECT_FALSE(settings::Cp1251FromUtf8("日本"));
    EXPECT_FALSE(settings::Cp1251FromUtf8("\xC3"));  // cut off
}

TEST(IniCodec, InvalidUtf8IsRecognised) {
    for (std::string_view bad : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80", "a\xE2\x82", "\xFF"})
        EXPECT_FALSE(settings::ValidUtf8(bad)) << testing::PrintToString(std::string(bad));
    EXPECT_TRUE(settings::ValidUtf8("ё日\xF0\x9F\x98\x80"));
    // After a byte-order mark the file must be UTF-8; it is refused, not guessed at.
    EXPECT_FALSE(IniText::parse("\xEF\xBB\xBF[Main]\r\nName=\xC0\xAF\r\n"));
}

TEST(IniCodec, NumbersAreDecimalAndWhole) {
    EXPECT_EQ(settings::IniNumber("42"), 42);
    EXPECT_EQ(settings::IniNumber("-7"), -7);
    EXPECT_EQ(settings::IniNumber("+7"), 7);
    EXPECT_EQ(settings::IniNumber("2147483647"), 2147483647);
    for (std::string_view no : {"", "abc", "12abc", "1.5", "0x10", "+-1", "--1", "+", "-", "2147483648", " 5"})
        EXPECT_FALSE(settings::IniNumber(no)) << no;
}

TEST(IniCodec, ReadsAsTheProfileFunctionsDo) {
    const IniText ini = parsed(
        "junk before any section\r\n"
        "[Main]\r\n"
        "  Key One  =  spaced value  \r\n"
        "KEY ONE=second\r\n"
        "quoted=\"  kept  \"\r\n"
        "empty=\r\n"
        "no equals sign\r\n"
        "[ main ]\r\n"
        "Other=in a second Main\r\n"
        "[Sound]\n"
        "VoiceType=\xC0\xEB\xE5\xEA\xF1\xE5\xE9\n"  // Windows-1251
        "last=no line end");
    EXPECT_EQ(ini.get("main", "key one"), "spaced value") << "case and blanks do not matter";
    EXPECT_EQ(ini.get("MAIN", "Key One"), "spaced value") << "the first of equal keys counts";
    EXPECT_EQ(ini.get("Main", "quoted"), "  kept  ");
    EXPECT_EQ(ini.get("Main", "empty"), "");
    EXPECT_FALSE(ini.get("Main", "no equals sign"));
    EXPECT_FALSE(ini.get("Main", "Other")) << "the first of equal sections counts";
    EXPECT_FALSE(ini.get("Main", "junk before any section"));
    EXPECT_EQ(ini.get("Sound", "VoiceType"), "Алексей");
    EXPECT_EQ(ini.get("Sound", "last"), "no line end");
    EXPECT_FALSE(ini.get("Nowhere", "Key One"));
}

TEST(IniCodec, WritesOnlyWhatChangesAndAppendsWhereTheProfileFunctionsWould) {
    const std::string original =
        "; a comment\n"
        "[Main]\n"
        "A = 1\n"
        "\n"
        "[Sound]\r\n"
        "B=2";
    IniText ini = parsed(original);
    EXPECT_EQ(ini.bytes(), original) << "read and written again, byte for byte";
    ini.set("main", "a", "10");
    ini.set("Main", "New", "x");
    ini.set("Sound", "C", "3");
    ini.set("Font", "Size", "12");
    EXPECT_EQ(ini.bytes(),
              "; a comment\n"
              "[Main]\n"
              "A=10\n"
              "New=x\r\n"
              "\n"
              "[Sound]\r\n"
              "B=2\r\n"
              "C=3\r\n"
              "[Font]\r\n"
              "Size=12\r\n");
    EXPECT_EQ(ini.get("Main", "new"), "x");
    EXPECT_EQ(ini.get("Main", "A"), "10");
}

TEST(IniCodec, ANewFileIsWindows1251WithCrLfUntilATextDoesNotFit) {
    IniText ini;
    ini.set("Main", "Name", "Будильник");
    ini.set("Main", "Blank", "");
    EXPECT_EQ(ini.bytes(), "[Main]\r\nName=\xC1\xF3\xE4\xE8\xEB\xFC\xED\xE8\xEA\r\nBlank=\r\n");
    EXPECT_EQ(parsed(ini.bytes()).get("Main", "Name"), "Будильник");
    EXPECT_EQ(ini.size(), ini.bytes().size());

    ini.set("Main", "Name", "Будильник ✓ 日本");
    const std::string bytes = ini.bytes();
    EXPECT_TRUE(bytes.starts_with("\xEF\xBB\xBF[Main]\r\n")) << "UTF-8 after a byte-order mark";
    EXPECT_EQ(ini.size(), bytes.size());
    const IniText back = parsed(bytes);
    EXPECT_EQ(back.encoding(), IniText::Encoding::Utf8Bom);
    EXPECT_EQ(back.get("Main", "Name"), "Будильник ✓ 日本");
    EXPECT_EQ(back.bytes(), bytes) << "a UTF-8 file stays UTF-8";
}

TEST(IniCodec, ValuesKeepTheirEdgesQuotesAndLineBreaks) {
    const std::string odd[] = {" leading", "trailing ", "\"quoted\"", "line one\r\nline two\r\n", "C:\\new\\rest.wav",
                               "back\\slash at the end\\", "\"", "a=b", "\tTab"};
    IniText ini;
    for (const std::string& v : odd) ini.set("S", "K" + std::to_string(&v - odd), v);
    ini.set("S", "Path", "C:\\Sounds\\new.wav");
    const std::string bytes = ini.bytes();
    EXPECT_NE(bytes.find("Path=C:\\Sounds\\new.wav\r\n"), std::string::npos) << "plain values stay plain";
    const IniText back = parsed(bytes);
    for (const std::string& v : odd) EXPECT_EQ(back.get("S", "K" + std::to_string(&v - odd)), v);
    // One key per line: a message's line breaks make no lines of their own.
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 11);
}

TEST(IniCodec, OverlongLinesAreRefusedWhenAskedTo) {
    const std::string line(100000, 'x');
    EXPECT_FALSE(IniText::parse("[Main]\r\n" + line + "\r\n", 65536));
    EXPECT_TRUE(IniText::parse("[Main]\r\n" + line + "\r\n"));
}
