#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
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

// The text of an INI file, kept line for line in its own encoding: what is
// not changed is written back byte for byte, as the system's profile
// functions leave it. Sections and keys are found without regard to (ASCII)
// case; the first of equal sections and the first of equal keys count.
// Values are read trimmed; text goes in and out as UTF-8.
//
// A value that blanks at its ends, surrounding quotes or line breaks would not
// survive is written in quotes with \\, \r and \n escaped; quotes around a
// value are taken away when it is read.
class IniText {
public:
    // Windows-1251 until a text is set that does not fit it.
    enum class Encoding { Cp1251, Utf8Bom };

    // A UTF-8 byte-order mark reads the rest as UTF-8, anything else as
    // Windows-1251. Nothing when the text after the mark is not UTF-8 or a
    // line is longer than `maxLine` bytes.
    static std::optional<IniText> parse(std::string bytes, std::size_t maxLine = std::string::npos);

    std::optional<std::string> get(std::string_view section, std::string_view key) const;
    // The sections' names and a section's keys with their values, in file
    // order, each the first of equal names only.
    std::vector<std::string> sectionNames() const;
    std::vector<std::pair<std::string, std::string>> entries(std::string_view section) const;
    bool has(std::string_view section, std::string_view key) const { return get(section, key).has_value(); }
    bool hasSection(std::string_view section) const;
    // Replaces the key's value; a new key goes after the last line of its
    // section, a new section at the end of the file. New lines end in CR LF.
    void set(std::string_view section, std::string_view key, std::string_view value);
    // The section, at the end of the file, unless it is there.
    void addSection(std::string_view section);

    std::string bytes() const;
    // bytes().size(), without making them.
    std::size_t size() const;
    // size() were the key's value `value`; nothing when the key is not there
    // or the value does not fit the file's encoding.
    std::optional<std::size_t> sizeWith(std::string_view section, std::string_view key, std::string_view value) const;
    Encoding encoding() const { return encoding_; }

private:
    enum class Eol : unsigned char { None, Lf, CrLf };
    // A line is a piece of text_. A changed line points at its new text,
    // appended there; its old text stays unused.
    struct Line {
        std::uint32_t at = 0, length = 0;
        // A "key=value" line's key, trimmed, and its '=' (from `at`).
        // keyLength is 0 for any other line.
        std::uint32_t keyAt = 0, keyLength = 0, equals = 0;
        Eol eol = Eol::CrLf;
        bool header = false;  // "[section]"
    };
    struct Section {
        std::size_t header;        // its line
        std::uint32_t at, length;  // its name in text_
    };

    Line line(std::uint32_t at, std::uint32_t length, Eol eol) const;
    Line newLine(std::string_view text, Eol eol);
    std::string_view text(const Line& l) const { return std::string_view(text_).substr(l.at, l.length); }
    std::string_view name(std::size_t section) const {
        return std::string_view(text_).substr(sections_[section].at, sections_[section].length);
    }
    // Finds every line's key and every section's name in text_.
    void index();
    // UTF-8 text in the file's encoding (in `buffer` when it had to be
    // converted); nothing when it does not fit.
    std::optional<std::string_view> native(std::string_view utf8, std::string& buffer) const;
    // Text of the file as UTF-8.
    std::string utf8(std::string_view native) const;
    // From now on the file is UTF-8.
    void toUtf8();
    std::size_t section(std::string_view name) const;  // npos when there is none
    std::size_t sectionOrNew(std::string_view nativeName);
    std::size_t end(std::size_t section) const;         // the line after its last
    std::size_t key(std::size_t section, std::string_view key) const;  // its line, or npos

    std::string text_;  // in the file's encoding, without a byte-order mark
    std::vector<Line> lines_;
    std::vector<Section> sections_;  // in file order
    // The sections by name without regard to ASCII case, the first of equal
    // names first.
    std::vector<std::size_t> index_;
    mutable std::size_t lastFound_ = std::string::npos;  // the section found last: a load asks for one many times
    Encoding encoding_ = Encoding::Cp1251;
};

}  // namespace settings
