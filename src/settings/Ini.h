#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace settings {

// The code page of a Russian system, in which older copies wrote their files.
std::string Utf8FromCp1251(std::string_view bytes);
// Nothing when a character has no Windows-1251 form or the text is not UTF-8.
std::optional<std::string> Cp1251FromUtf8(std::string_view text);
bool ValidUtf8(std::string_view text);

// A whole number as a file holds it: an optional sign and decimal digits,
// nothing else. Nothing when the text is not one or the number does not fit.
std::optional<int> IniNumber(std::string_view text);

// The text of an INI file, kept line for line: what is not changed is written
// back byte for byte, as the system's profile functions leave it. Sections and
// keys are found without regard to (ASCII) case; the first of equal sections
// and the first of equal keys count. Values are read trimmed.
//
// A value that blanks at its ends, surrounding quotes or line breaks would not
// survive is written in quotes with \\, \r and \n escaped; quotes around a
// value are taken away when it is read.
class IniText {
public:
    enum class Encoding { Cp1251, Utf8Bom };

    // A UTF-8 byte-order mark reads the rest as UTF-8, anything else as
    // Windows-1251. Nothing when the text after the mark is not UTF-8 or a
    // line is longer than `maxLine` bytes.
    static std::optional<IniText> parse(std::string_view bytes, std::size_t maxLine = std::string::npos);

    std::optional<std::string> get(std::string_view section, std::string_view key) const;
    bool has(std::string_view section, std::string_view key) const { return get(section, key).has_value(); }
    // Replaces the key's value; a new key goes after the last line of its
    // section, a new section at the end of the file. New lines end in CR LF.
    void set(std::string_view section, std::string_view key, std::string_view value);

    // Windows-1251 while every text fits it and the file was not UTF-8
    // already; UTF-8 after a byte-order mark otherwise.
    std::string bytes() const;
    Encoding encoding() const { return encoding_; }

private:
    struct Line {
        std::string text;  // UTF-8, without its line end
        std::string eol;   // "\r\n", "\n", or "" on a last line without one
    };
    struct Section {
        Line header;
        std::vector<Line> body;
        std::unordered_map<std::string, std::size_t> keys;  // lower-case key -> its first line in body
    };
    Section* find(std::string_view section);
    const Section* find(std::string_view section) const;
    Line& lastLine();
    static void indexKeys(Section& s);

    std::vector<Line> preamble_;  // lines before the first section
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> index_;  // lower-case name -> first section
    Encoding encoding_ = Encoding::Cp1251;
};

}  // namespace settings
