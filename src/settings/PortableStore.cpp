#include "settings/PortableStore.h"
#include <algorithm>
#include <charconv>
#include <system_error>
#include "settings/Fields.h"
#include "settings/Ini.h"
#include "settings/WholeFile.h"

namespace settings {

namespace fs = std::filesystem;
using platform::Hive;
using platform::RegValue;

namespace {

// Far more than a thousand reminders take; a larger file is no file of ours.
constexpr std::size_t kMostFileBytes = 16u << 20;
// A DWORD's value is marked, so that a text that looks like a number stays a
// text; a text that begins like a mark is marked as a text.
constexpr std::string_view kDword = "dword:";
constexpr std::string_view kText = "text:";

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

std::string norm(const std::string& path) {
    std::string p = path;
    while (!p.empty() && p.front() == '\\') p.erase(p.begin());
    while (!p.empty() && p.back() == '\\') p.pop_back();
    return p;
}

bool within(const std::string& lowerPath, const std::string& lowerRoot) {
    return lowerPath == lowerRoot || (lowerPath.size() > lowerRoot.size() &&
                                      lowerPath.compare(0, lowerRoot.size(), lowerRoot) == 0 &&
                                      lowerPath[lowerRoot.size()] == '\\');
}

std::string encode(const RegValue& v) {
    if (v.type == RegValue::Type::Dword) return std::string(kDword) + std::to_string(v.dword);
    if (v.text.starts_with(kDword) || v.text.starts_with(kText)) return std::string(kText) + v.text;
    return v.text;
}

RegValue decode(const std::string& text) {
    RegValue v;
    v.type = RegValue::Type::String;
    if (text.starts_with(kDword)) {
        const std::string_view n = std::string_view(text).substr(kDword.size());
        std::int32_t number = 0;
        const auto [end, ec] = std::from_chars(n.data(), n.data() + n.size(), number);
        if (ec == std::errc() && end == n.data() + n.size() && !n.empty()) {
            v.type = RegValue::Type::Dword;
            v.dword = number;
            return v;
        }
    }
    v.text = text.starts_with(kText) ? text.substr(kText.size()) : text;
    return v;
}

auto byName(const std::string& name) {
    return [n = lower(name)](const std::pair<std::string, RegValue>& v) { return lower(v.first) == n; };
}

}  // namespace

PortableStore::PortableStore(platform::Registry& registry, platform::System& system)
    : registry_(registry), system_(system) {}

PortableStore::Opened PortableStore::open(const fs::path& folder, bool writable) {
    std::error_code ec;
    if (!fs::is_regular_file(folder / kPortableMarker, ec)) return Opened::Registry;
    if (!writable) return Opened::ReadOnly;
    const fs::path file = folder / kPortableFile;
    keys_.clear();
    owed_ = false;
    if (fs::exists(file, ec)) {
        const std::optional<std::string> bytes = ReadWhole(file, kMostFileBytes);
        // A file there that cannot be read is not overwritten with an empty one.
        if (!bytes) return Opened::ReadOnly;
        if (!load(*bytes)) {
            keys_.clear();
            for (int n = 1; n < 1000; ++n) {
                fs::path to = file;
                to += n == 1 ? std::string(".moved") : ".moved" + std::to_string(n);
                if (fs::exists(to, ec)) continue;
                fs::rename(file, to, ec);
                if (ec) return Opened::ReadOnly;
                movedTo_ = to;
                file_ = file;
                return Opened::Foreign;
            }
            return Opened::ReadOnly;
        }
    }
    file_ = file;
    return Opened::File;
}

bool PortableStore::mine(Hive hive, const std::string& path) const {
    return portable() && hive == Hive::CurrentUser && within(lower(norm(path)), lower(kRootKey));
}

PortableStore::Key* PortableStore::find(const std::string& path) {
    const auto it = keys_.find(lower(norm(path)));
    return it == keys_.end() ? nullptr : &it->second;
}

// A key is made with the keys above it, up to the program's own.
PortableStore::Key& PortableStore::make(const std::string& path) {
    const std::string p = norm(path);
    const std::string root = lower(kRootKey);
    for (std::size_t at = root.size(); at != std::string::npos; at = p.find('\\', at + 1)) {
        const std::string part = p.substr(0, at);
        if (keys_.try_emplace(lower(part), Key{part, {}}).second) owed_ = true;
    }
    auto [it, made] = keys_.try_emplace(lower(p), Key{p, {}});
    owed_ = owed_ || made;
    return it->second;
}

void PortableStore::set(const std::string& path, const std::string& name, RegValue v) {
    Key& k = make(path);
    const auto at = std::ranges::find_if(k.values, byName(name));
    if (at != k.values.end()) {
        if (at->second == v) return;
        at->second = std::move(v);
    } else {
        k.values.emplace_back(name, std::move(v));
    }
    owed_ = true;
}

bool PortableStore::keyExists(Hive hive, const std::string& path) {
    if (!mine(hive, path)) return registry_.keyExists(hive, path);
    return find(path) != nullptr;
}

RegValue PortableStore::read(Hive hive, const std::string& path, const std::string& name) {
    if (!mine(hive, path)) return registry_.read(hive, path, name);
    const Key* k = find(path);
    if (!k) return {};
    const auto at = std::ranges::find_if(k->values, byName(name));
    return at == k->values.end() ? RegValue{} : at->second;
}

void PortableStore::writeDword(Hive hive, const std::string& path, const std::string& name, std::int32_t v) {
    if (!mine(hive, path)) return registry_.writeDword(hive, path, name, v);
    set(path, name, {RegValue::Type::Dword, v, {}});
}

void PortableStore::writeString(Hive hive, const std::string& path, const std::string& name, const std::string& v) {
    if (!mine(hive, path)) return registry_.writeString(hive, path, name, v);
    set(path, name, {RegValue::Type::String, 0, v});
}

void PortableStore::createKey(Hive hive, const std::string& path) {
    if (!mine(hive, path)) return registry_.createKey(hive, path);
    make(path);
}

bool PortableStore::deleteValue(Hive hive, const std::string& path, const std::string& name) {
    if (!mine(hive, path)) return registry_.deleteValue(hive, path, name);
    Key* k = find(path);
    if (!k) return false;
    const auto at = std::ranges::find_if(k->values, byName(name));
    if (at == k->values.end()) return false;
    k->values.erase(at);
    owed_ = true;
    return true;
}

bool PortableStore::deleteKeyTree(Hive hive, const std::string& path) {
    if (!mine(hive, path)) return registry_.deleteKeyTree(hive, path);
    const std::string p = lower(norm(path));
    const std::size_t gone = std::erase_if(keys_, [&](const auto& k) { return within(k.first, p); });
    owed_ = owed_ || gone > 0;
    return gone > 0;
}

bool PortableStore::copyKeyTree(Hive hive, const std::string& from, const std::string& to) {
    if (!mine(hive, from) && !mine(hive, to)) return registry_.copyKeyTree(hive, from, to);
    const std::string f = lower(norm(from));
    if (!mine(hive, from) || !find(from)) return false;
    std::vector<Key> copies;
    for (const auto& [lowerPath, key] : keys_)
        if (within(lowerPath, f)) copies.push_back({norm(to) + key.path.substr(f.size()), key.values});
    for (const Key& c : copies) {
        make(c.path);
        for (const auto& [name, value] : c.values) set(c.path, name, value);
    }
    return true;
}

std::optional<platform::RegValues> PortableStore::readAll(Hive hive, const std::string& path) {
    if (!mine(hive, path)) return registry_.readAll(hive, path);
    const Key* k = find(path);
    if (!k) return std::nullopt;
    return k->values;
}

void PortableStore::writeAll(Hive hive, const std::string& path, const platform::RegValues& values) {
    if (!mine(hive, path)) return registry_.writeAll(hive, path, values);
    make(path);
    for (const auto& [name, value] : values)
        if (value.type == RegValue::Type::Dword || value.type == RegValue::Type::String) set(path, name, value);
}

std::string PortableStore::text() const {
    std::optional<IniText> ini = IniText::parse("");
    for (const auto& [lowerPath, key] : keys_) {
        ini->addSection(key.path);
        for (const auto& [name, value] : key.values) ini->set(key.path, name, encode(value));
    }
    return ini->bytes();
}

// Sections of other keys are left out; a file with none of ours, and
// something in it, is not ours.
bool PortableStore::load(const std::string& bytes) {
    const std::optional<IniText> ini = IniText::parse(bytes);
    if (!ini) return false;
    std::map<std::string, Key> keys;
    const std::string root = lower(kRootKey);
    for (const std::string& section : ini->sectionNames()) {
        const std::string p = norm(section);
        if (!within(lower(p), root)) continue;
        Key& k = keys.try_emplace(lower(p), Key{p, {}}).first->second;
        for (const auto& [name, value] : ini->entries(section)) k.values.emplace_back(name, decode(value));
    }
    if (keys.empty() && bytes.find_first_not_of(" \t\r\n\xEF\xBB\xBF") != std::string::npos) return false;
    // The keys above a section's own are there too.
    std::vector<std::string> paths;
    for (const auto& [lowerPath, key] : keys) paths.push_back(key.path);
    keys_ = std::move(keys);
    for (const std::string& p : paths) make(p);
    owed_ = false;
    return true;
}

bool PortableStore::flush() {
    if (!owed_ || !portable()) return true;
    if (!WriteWhole(system_, file_, text())) return false;
    owed_ = false;
    return true;
}

}  // namespace settings
