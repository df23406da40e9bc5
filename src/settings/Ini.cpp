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

// Appends `text` in Windows-1251; false (and `out` part-written) at the first
// character that has no such form.
// Both encodings share ASCII: it is copied as it stands, in runs, and
// `other` converts each other character at its position, giving the position
// after it, or npos to stop.
template <class Other>
bool convert(std::string& out, std::string_view text, Other other) {
    for (std::size_t i = 0; i < text.size();) {
        std::size_t ascii = i;
        while (ascii < text.size() && std::uint8_t(text[ascii]) < 0x80) ++ascii;
        out.append(text.substr(i, ascii - i));
        if (ascii == text.size()) break;
        i = other(ascii);
        if (i == std::string_view::npos) return false;
    }
    return true;
}

bool appendCp1251(std::string& out, std::string_view text) {
    return convert(out, text, [&](std::size_t i) {
        const auto c = nextUtf8(text, i);
        const auto b = c ? cp1251Of(*c) : std::nullopt;
        if (!b) return std::string_view::npos;
        out += *b;
        return i;
    });
}

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

char fold(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool sameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return false;
    return true;
}

// Orders names without regard to ASCII case.
bool beforeNoCase(std::string_view a, std::string_view b) {
    return std::ranges::lexicographical_compare(a, b, {}, fold, fold);
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

void appendUtf8FromCp1251(std::string& out, std::string_view bytes) {
    convert(out, bytes, [&](std::size_t i) {
        const std::uint8_t b = std::uint8_t(bytes[i]);
        appendUtf8(out, b >= 0xC0 ? char32_t(0x410 + (b - 0xC0)) : char32_t(kHigh[b - 0x80]));
        return i + 1;
    });
}

}  // namespace

std::string Utf8FromCp1251(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + std::size_t(std::ranges::count_if(bytes, [](char c) { return c & 0x80; })));
    appendUtf8FromCp1251(out, bytes);
    return out;
}

std::optional<std::string> Cp1251FromUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    if (!appendCp1251(out, text)) return std::nullopt;
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

IniText::Line IniText::line(std::uint32_t at, std::uint32_t length, Eol eol) const {
    Line l{at, length, 0, 0, 0, eol, false};
    const std::string_view t = text(l);
    if (isSectionLine(t)) {
        l.header = true;
        return l;
    }
    const std::size_t eq = t.find('=');
    if (eq == std::string_view::npos) return l;
    const std::string_view key = trim(t.substr(0, eq));
    if (key.empty()) return l;
    l.keyAt = std::uint32_t(key.data() - t.data());
    l.keyLength = std::uint32_t(key.size());
    l.equals = std::uint32_t(eq);
    return l;
}

IniText::Line IniText::newLine(std::string_view t, Eol eol) {
    const std::size_t at = text_.size();
    text_ += t;
    return line(std::uint32_t(at), std::uint32_t(t.size()), eol);
}

void IniText::index() {
    sections_.clear();
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        Line& l = lines_[i];
        l = line(l.at, l.length, l.eol);
        if (!l.header) continue;
        const std::string_view n = sectionName(text(l));
        sections_.push_back({i, std::uint32_t(n.data() - text_.data()), std::uint32_t(n.size())});
    }
    // Stable: of equal names the first stays first.
    index_.resize(sections_.size());
    for (std::size_t s = 0; s < index_.size(); ++s) index_[s] = s;
    std::ranges::stable_sort(index_, beforeNoCase, [&](std::size_t s) { return name(s); });
}

std::optional<IniText> IniText::parse(std::string bytes, std::size_t maxLine) {
    IniText ini;
    if (std::string_view(bytes).starts_with(kBom)) {
        bytes.erase(0, kBom.size());
        if (!ValidUtf8(bytes)) return std::nullopt;
        ini.encoding_ = Encoding::Utf8Bom;
    }
    if (bytes.size() >= 0xFFFFFFFFu / 2) return std::nullopt;  // lines count in 32 bits
    ini.text_ = std::move(bytes);
    const std::string_view all = ini.text_;
    ini.lines_.reserve(std::size_t(std::ranges::count(all, '\n')) + 1);
    for (std::size_t at = 0; at < all.size();) {
        const std::size_t nl = all.find('\n', at);
        std::size_t length = (nl == std::string_view::npos ? all.size() : nl) - at;
        Eol eol = Eol::None;
        if (nl != std::string_view::npos) {
            eol = Eol::Lf;
            if (length > 0 && all[at + length - 1] == '\r') {
                --length;
                eol = Eol::CrLf;
            }
        }
        if (length > maxLine) return std::nullopt;
        ini.lines_.push_back({std::uint32_t(at), std::uint32_t(length), 0, 0, 0, eol, false});
        at = nl == std::string_view::npos ? all.size() : nl + 1;
    }
    ini.index();
    return ini;
}

std::optional<std::string_view> IniText::native(std::string_view utf8, std::string& buffer) const {
    if (encoding_ == Encoding::Utf8Bom || std::ranges::none_of(utf8, [](char c) { return c & 0x80; })) return utf8;
    auto narrow = Cp1251FromUtf8(utf8);
    if (!narrow) return std::nullopt;
    buffer = std::move(*narrow);
    return buffer;
}

void IniText::toUtf8() {
    if (encoding_ == Encoding::Utf8Bom) return;
    std::string utf8;
    for (Line& l : lines_) {
        const std::size_t at = utf8.size();
        appendUtf8FromCp1251(utf8, text(l));
        l.at = std::uint32_t(at);
        l.length = std::uint32_t(utf8.size() - at);
    }
    text_ = std::move(utf8);
    encoding_ = Encoding::Utf8Bom;
    index();
    lastFound_ = std::string::npos;
}

std::size_t IniText::section(std::string_view wanted) const {
    wanted = trim(wanted);
    if (lastFound_ < sections_.size() && sameNoCase(name(lastFound_), wanted)) return lastFound_;
    const auto at = std::ranges::lower_bound(index_, wanted, beforeNoCase, [&](std::size_t s) { return name(s); });
    if (at == index_.end() || !sameNoCase(name(*at), wanted)) return std::string::npos;
    return lastFound_ = *at;
}

std::size_t IniText::end(std::size_t s) const {
    return s + 1 < sections_.size() ? sections_[s + 1].header : lines_.size();
}

std::size_t IniText::key(std::size_t s, std::string_view key) const {
    key = trim(key);
    for (std::size_t i = sections_[s].header + 1, e = end(s); i < e; ++i) {
        const Line& l = lines_[i];
        if (l.keyLength && sameNoCase(text(l).substr(l.keyAt, l.keyLength), key)) return i;
    }
    return std::string::npos;
}

bool IniText::hasSection(std::string_view section) const {
    std::string buffer;
    const auto name = native(section, buffer);
    return name && this->section(*name) != std::string::npos;
}

std::string IniText::utf8(std::string_view native) const {
    if (encoding_ == Encoding::Cp1251 && std::ranges::any_of(native, [](char c) { return c & 0x80; }))
        return Utf8FromCp1251(native);
    return std::string(native);
}

std::vector<std::string> IniText::sectionNames() const {
    std::vector<std::string> names;
    for (std::size_t s = 0; s < sections_.size(); ++s)
        if (section(name(s)) == s) names.push_back(utf8(name(s)));
    return names;
}

std::vector<std::pair<std::string, std::string>> IniText::entries(std::string_view wanted) const {
    std::vector<std::pair<std::string, std::string>> found;
    std::string buffer;
    const auto nativeSection = native(wanted, buffer);
    const std::size_t s = nativeSection ? section(*nativeSection) : std::string::npos;
    if (s == std::string::npos) return found;
    for (std::size_t i = sections_[s].header + 1, e = end(s); i < e; ++i) {
        const Line& l = lines_[i];
        if (!l.keyLength) continue;
        const std::string_view k = text(l).substr(l.keyAt, l.keyLength);
        if (key(s, k) != i) continue;
        found.emplace_back(utf8(k), utf8(decodeValue(trim(text(l).substr(l.equals + 1)))));
    }
    return found;
}

std::optional<std::string> IniText::get(std::string_view section, std::string_view key) const {
    std::string sectionBuffer, keyBuffer;
    const auto nativeSection = native(section, sectionBuffer), nativeKey = native(key, keyBuffer);
    if (!nativeSection || !nativeKey) return std::nullopt;  // not in this file's characters: not in it
    const std::size_t s = this->section(*nativeSection);
    const std::size_t at = s == std::string::npos ? s : this->key(s, *nativeKey);
    if (at == std::string::npos) return std::nullopt;
    const Line& l = lines_[at];
    return utf8(decodeValue(trim(text(l).substr(l.equals + 1))));
}

std::size_t IniText::sectionOrNew(std::string_view nativeName) {
    std::size_t s = this->section(nativeName);
    if (s != std::string::npos) return s;
    if (!lines_.empty() && lines_.back().eol == Eol::None) lines_.back().eol = Eol::CrLf;
    lines_.push_back(newLine("[" + std::string(nativeName) + "]", Eol::CrLf));
    s = sections_.size();
    const std::string_view n = sectionName(text(lines_.back()));
    sections_.push_back({lines_.size() - 1, std::uint32_t(n.data() - text_.data()), std::uint32_t(n.size())});
    // After every section of the same name: the first one stays the one found.
    index_.insert(std::ranges::upper_bound(index_, n, beforeNoCase, [&](std::size_t i) { return name(i); }), s);
    return s;
}

void IniText::addSection(std::string_view section) {
    section = trim(section);
    std::string buffer;
    std::optional<std::string_view> nativeSection = native(section, buffer);
    if (!nativeSection) {
        toUtf8();
        nativeSection = section;
    }
    sectionOrNew(*nativeSection);
}

void IniText::set(std::string_view section, std::string_view key, std::string_view value) {
    section = trim(section);
    key = trim(key);
    std::string sectionBuffer, keyBuffer, valueBuffer;
    const std::string value8 = encodeValue(value);
    std::optional<std::string_view> nativeSection = native(section, sectionBuffer),
                                    nativeKey = native(key, keyBuffer), encoded = native(value8, valueBuffer);
    if (!nativeSection || !nativeKey || !encoded) {
        toUtf8();
        nativeSection = section;
        nativeKey = key;
        encoded = value8;
    }
    const std::size_t s = sectionOrNew(*nativeSection);
    if (const std::size_t at = this->key(s, *nativeKey); at != std::string::npos) {
        const Line& old = lines_[at];
        const std::string spelled(text(old).substr(old.keyAt, old.keyLength));
        lines_[at] = newLine(spelled + "=" + std::string(*encoded), old.eol);
        return;
    }
    // After the section's last line that is not blank: blank lines keep
    // standing before the next section.
    std::size_t at = end(s);
    while (at > sections_[s].header + 1 && trim(text(lines_[at - 1])).empty()) --at;
    if (lines_[at - 1].eol == Eol::None) lines_[at - 1].eol = Eol::CrLf;
    const Line fresh = newLine(std::string(*nativeKey) + "=" + std::string(*encoded), Eol::CrLf);
    lines_.insert(lines_.begin() + std::ptrdiff_t(at), fresh);
    for (std::size_t later = s + 1; later < sections_.size(); ++later) ++sections_[later].header;
}

std::size_t IniText::size() const {
    std::size_t n = encoding_ == Encoding::Utf8Bom ? kBom.size() : 0;
    for (const Line& l : lines_) n += l.length + (l.eol == Eol::CrLf ? 2 : l.eol == Eol::Lf ? 1 : 0);
    return n;
}

std::optional<std::size_t> IniText::sizeWith(std::string_view section, std::string_view key,
                                             std::string_view value) const {
    std::string sectionBuffer, keyBuffer, valueBuffer;
    const std::string value8 = encodeValue(value);
    const auto nativeSection = native(section, sectionBuffer), nativeKey = native(key, keyBuffer),
               encoded = native(value8, valueBuffer);
    if (!nativeSection || !nativeKey || !encoded) return std::nullopt;
    const std::size_t s = this->section(*nativeSection);
    const std::size_t at = s == std::string::npos ? s : this->key(s, *nativeKey);
    if (at == std::string::npos) return std::nullopt;
    const Line& l = lines_[at];
    return size() - l.length + l.keyLength + 1 + encoded->size();
}

std::string IniText::bytes() const {
    std::string out;
    out.reserve(size());
    if (encoding_ == Encoding::Utf8Bom) out += kBom;
    for (const Line& l : lines_) {
        out += text(l);
        if (l.eol == Eol::CrLf) out += "\r\n";
        else if (l.eol == Eol::Lf) out += '\n';
    }
    return out;
}

}  // namespace settings
