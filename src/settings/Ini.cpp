#include "settings/Ini.h"
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <utility>

namespace settings {

namespace {

// Windows-1251 bytes 0x80..0xBF; 0xC0..0xFF are А..я (U+0410..U+044F). 0x98
// has no character and keeps its own code, so every byte reads back as itself.
constexpr char16_t kHigh[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// The code point at `i`, moving `i` past it; nothing (and `i` unmoved) when
// the bytes there are not UTF-8: overlong forms and surrogates are not.
std::optional<char32_t> nextUtf8(std::string_view s, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return std::uint8_t(s[k]); };
    const std::uint8_t b = byte(i);
    if (b < 0x80) return char32_t(s[i++]);
    int more;
    char32_t c, least;
    if ((b & 0xE0) == 0xC0) more = 1, c = b & 0x1F, least = 0x80;
    else if ((b & 0xF0) == 0xE0) more = 2, c = b & 0x0F, least = 0x800;
    else if ((b & 0xF8) == 0xF0) more = 3, c = b & 0x07, least = 0x10000;
    else return std::nullopt;
    if (s.size() - i <= std::size_t(more)) return std::nullopt;
    for (int k = 1; k <= more; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return std::nullopt;
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    i += std::size_t(more) + 1;
    return c;
}

std::optional<char> cp1251Of(char32_t c) {
    if (c < 0x80) return char(c);
    if (c >= 0x410 && c <= 0x44F) return char(0xC0 + (c - 0x410));
    for (std::size_t k = 0; k < std::size(kHigh); ++k)
        if (kHigh[k] == c) return char(0x80 + k);
    return std::nullopt;
}

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

bool quoted(std::string_view v) { return v.size() >= 2 && v.front() == '"' && v.back() == '"'; }

std::string encodeValue(std::string_view v) {
    const bool needs = (!v.empty() && (blank(v.front()) || blank(v.back()))) || quoted(v) ||
                       v.find_first_of("\r\n") != std::string_view::npos;
    if (!needs) return std::string(v);
    std::string out = "\"";
    for (char c : v) {
        if (c == '\\') out += "\\\\";
        else if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else out += c;
    }
    return out + '"';
}

std::string decodeValue(std::string_view v) {
    if (!quoted(v)) return std::string(v);
    v = v.substr(1, v.size() - 2);
    std::string out;
    out.reserve(v.size());
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (v[i] == '\\' && i + 1 < v.size()) {
            const char e = v[i + 1];
            if (e == '\\' || e == 'r' || e == 'n') {
                out += e == 'r' ? '\r' : e == 'n' ? '\n' : '\\';
                ++i;
                continue;
            }
        }
        out += v[i];
    }
    return out;
}

bool isSectionLine(std::string_view text) {
    const std::string_view t = trim(text);
    return !t.empty() && t.front() == '[';
}

std::string_view sectionName(std::string_view text) {
    std::string_view t = trim(text).substr(1);
    if (const auto close = t.find(']'); close != std::string_view::npos) t = t.substr(0, close);
    return trim(t);
}

// The key of a "key=value" line; nothing for any other line.
std::optional<std::string_view> keyOf(std::string_view text) {
    const auto eq = text.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    const std::string_view key = trim(text.substr(0, eq));
    if (key.empty()) return std::nullopt;
    return key;
}

}  // namespace

std::string Utf8FromCp1251(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (const char ch : bytes) {
        const std::uint8_t b = std::uint8_t(ch);
        if (b < 0x80) out += ch;
        else if (b >= 0xC0) appendUtf8(out, char32_t(0x410 + (b - 0xC0)));
        else appendUtf8(out, kHigh[b - 0x80]);
    }
    return out;
}

std::optional<std::string> Cp1251FromUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto c = nextUtf8(text, i);
        if (!c) return std::nullopt;
        const auto b = cp1251Of(*c);
        if (!b) return std::nullopt;
        out += *b;
    }
    return out;
}

bool ValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();)
        if (!nextUtf8(text, i)) return false;
    return true;
}

std::optional<int> IniNumber(std::string_view text) {
    const bool plus = !text.empty() && text.front() == '+';
    if (plus) text.remove_prefix(1);
    if (text.empty() || (plus && text.front() == '-')) return std::nullopt;
    int v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return v;
}

std::optional<IniText> IniText::parse(std::string_view bytes, std::size_t maxLine) {
    IniText ini;
    std::string text;
    if (bytes.starts_with(kBom)) {
        bytes.remove_prefix(kBom.size());
        if (!ValidUtf8(bytes)) return std::nullopt;
        text.assign(bytes);
        ini.encoding_ = Encoding::Utf8Bom;
    } else {
        text = Utf8FromCp1251(bytes);
    }
    std::string_view rest = text;
    while (!rest.empty()) {
        Line line;
        const auto nl = rest.find('\n');
        std::string_view t = rest.substr(0, nl);
        rest = nl == std::string_view::npos ? std::string_view() : rest.substr(nl + 1);
        if (nl != std::string_view::npos) {
            line.eol = "\n";
            if (t.ends_with('\r')) {
                t.remove_suffix(1);
                line.eol = "\r\n";
            }
        }
        if (t.size() > maxLine) return std::nullopt;
        line.text.assign(t);
        if (isSectionLine(line.text)) {
            Section s;
            s.header = std::move(line);
            ini.index_.emplace(lower(sectionName(s.header.text)), ini.sections_.size());
            ini.sections_.push_back(std::move(s));
        } else if (ini.sections_.empty()) {
            ini.preamble_.push_back(std::move(line));
        } else {
            ini.sections_.back().body.push_back(std::move(line));
        }
    }
    for (Section& s : ini.sections_) indexKeys(s);
    return ini;
}

void IniText::indexKeys(Section& s) {
    s.keys.clear();
    for (std::size_t i = 0; i < s.body.size(); ++i)
        if (const auto key = keyOf(s.body[i].text)) s.keys.emplace(lower(*key), i);
}

const IniText::Section* IniText::find(std::string_view section) const {
    const auto it = index_.find(lower(trim(section)));
    return it == index_.end() ? nullptr : &sections_[it->second];
}

IniText::Section* IniText::find(std::string_view section) {
    return const_cast<Section*>(std::as_const(*this).find(section));
}

std::optional<std::string> IniText::get(std::string_view section, std::string_view key) const {
    const Section* s = find(section);
    if (!s) return std::nullopt;
    const auto it = s->keys.find(lower(trim(key)));
    if (it == s->keys.end()) return std::nullopt;
    const std::string_view text = s->body[it->second].text;
    return decodeValue(trim(text.substr(text.find('=') + 1)));
}

IniText::Line& IniText::lastLine() {
    if (!sections_.empty()) {
        Section& s = sections_.back();
        return s.body.empty() ? s.header : s.body.back();
    }
    return preamble_.back();
}

void IniText::set(std::string_view section, std::string_view key, std::string_view value) {
    Section* s = find(section);
    if (!s) {
        if (!sections_.empty() || !preamble_.empty()) {
            Line& last = lastLine();
            if (last.eol.empty()) last.eol = "\r\n";
        }
        Section fresh;
        fresh.header = {"[" + std::string(trim(section)) + "]", "\r\n"};
        index_.emplace(lower(trim(section)), sections_.size());
        sections_.push_back(std::move(fresh));
        s = &sections_.back();
    }
    if (const auto it = s->keys.find(lower(trim(key))); it != s->keys.end()) {
        Line& line = s->body[it->second];
        line.text = std::string(*keyOf(line.text)) + "=" + encodeValue(value);
        return;
    }
    // After the section's last line that is not blank: blank lines keep
    // standing before the next section.
    std::size_t at = s->body.size();
    while (at > 0 && trim(s->body[at - 1].text).empty()) --at;
    Line& before = at == 0 ? s->header : s->body[at - 1];
    if (before.eol.empty()) before.eol = "\r\n";
    s->body.insert(s->body.begin() + std::ptrdiff_t(at), Line{std::string(trim(key)) + "=" + encodeValue(value), "\r\n"});
    if (at + 1 == s->body.size()) s->keys.emplace(lower(trim(key)), at);
    else indexKeys(*s);
}

std::string IniText::bytes() const {
    std::string text;
    const auto add = [&](const Line& l) {
        text += l.text;
        text += l.eol;
    };
    for (const Line& l : preamble_) add(l);
    for (const Section& s : sections_) {
        add(s.header);
        for (const Line& l : s.body) add(l);
    }
    if (encoding_ == Encoding::Cp1251)
        if (auto narrow = Cp1251FromUtf8(text)) return std::move(*narrow);
    return std::string(kBom) + text;
}

}  // namespace settings
