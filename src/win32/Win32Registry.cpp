#include "win32/Win32Registry.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/Failure.h"
#include "win32/Handles.h"
#include "win32/Text.h"

namespace win32 {
namespace {

using platform::Hive;
using platform::RegistryError;
using platform::RegValue;

HKEY rootOf(Hive hive) {
    return hive == Hive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

const char* hiveName(Hive hive) {
    return hive == Hive::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

// The stored paths begin with a backslash ("\Software\..."), which the API
// would take as part of the first key name.
std::wstring subKey(const std::string& path) {
    std::string_view p = path;
    while (!p.empty() && p.front() == '\\') p.remove_prefix(1);
    return widen(std::string(p));
}

std::string systemMessage(LONG code) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        DWORD(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string s = n ? narrow(text, int(n)) : std::string();
    if (text) LocalFree(text);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ' || s.back() == '.')) s.pop_back();
    return s;
}

[[noreturn]] void fail(const char* what, Hive hive, const std::string& path, const std::string& name, LONG code) {
    std::string msg = std::string("Registry: ") + what + " " + hiveName(hive) + "\\" + narrow(subKey(path));
    if (!name.empty()) msg += " [" + name + "]";
    msg += ": error " + std::to_string(code);
    if (const std::string sys = systemMessage(code); !sys.empty()) msg += " (" + sys + ")";
    throw RegistryError(msg);
}

// Opens an existing key; an empty owner when it does not exist.
UniqueKey openKey(Hive hive, const std::string& path, REGSAM access) {
    HKEY key = nullptr;
    const LONG rc = RegOpenKeyExW(rootOf(hive), subKey(path).c_str(), 0, access, &key);
    if (rc == ERROR_FILE_NOT_FOUND) return UniqueKey();
    if (rc != ERROR_SUCCESS) fail("cannot open", hive, path, {}, rc);
    return UniqueKey(key);
}

UniqueKey createKeyFor(Hive hive, const std::string& path, REGSAM access) {
    HKEY key = nullptr;
    const LONG rc = RegCreateKeyExW(rootOf(hive), subKey(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    access, nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS) fail("cannot create", hive, path, {}, rc);
    return UniqueKey(key);
}

// Registry strings need not end in NUL, may have an odd byte count and may
// hold text after an embedded NUL; only the part before the first NUL counts.
std::string decodeString(const std::vector<BYTE>& bytes, DWORD size) {
    const std::size_t chars = std::min<std::size_t>(size, bytes.size()) / sizeof(wchar_t);
    std::wstring w(chars, L'\0');
    if (chars) std::memcpy(w.data(), bytes.data(), chars * sizeof(wchar_t));
    if (const auto nul = w.find(L'\0'); nul != std::wstring::npos) w.resize(nul);
    return narrow(w);
}

RegValue decode(DWORD type, const std::vector<BYTE>& data, DWORD size) {
    RegValue out;
    switch (type) {
    case REG_DWORD:
        if (size != sizeof(DWORD)) {
            out.type = RegValue::Type::Other;
            break;
        }
        DWORD raw;
        std::memcpy(&raw, data.data(), sizeof raw);
        out.type = RegValue::Type::Dword;
        out.dword = static_cast<std::int32_t>(raw);
        break;
    case REG_SZ:
    case REG_EXPAND_SZ:
        out.type = RegValue::Type::String;
        out.text = decodeString(data, size);
        break;
    default:
        out.type = RegValue::Type::Other;
        break;
    }
    return out;
}

void setValue(HKEY key, Hive hive, const std::string& path, const std::string& name, const RegValue& v) {
    LONG rc = ERROR_SUCCESS;
    if (v.type == RegValue::Type::Dword) {
        const DWORD raw = static_cast<DWORD>(v.dword);
        rc = RegSetValueExW(key, widen(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&raw), sizeof raw);
    } else if (v.type == RegValue::Type::String) {
        const std::wstring w = widen(v.text);
        rc = RegSetValueExW(key, widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(w.c_str()),
                            DWORD((w.size() + 1) * sizeof(wchar_t)));
    }
    if (rc != ERROR_SUCCESS) fail("cannot write", hive, path, name, rc);
}

}  // namespace

bool Win32Registry::keyExists(Hive hive, const std::string& path) {
    return bool(openKey(hive, path, KEY_READ));
}

RegValue Win32Registry::read(Hive hive, const std::string& path, const std::string& name) {
    RegValue out;
    const UniqueKey key = openKey(hive, path, KEY_QUERY_VALUE);
    if (!key) return out;
    const std::wstring wname = widen(name);

    DWORD type = 0, size = 0;
    LONG rc = RegQueryValueExW(key.get(), wname.c_str(), nullptr, &type, nullptr, &size);
    if (rc == ERROR_FILE_NOT_FOUND) return out;
    // The value may grow between the size query and the read: try again then.
    std::vector<BYTE> data;
    bool done = false;
    for (int attempt = 0; rc == ERROR_SUCCESS && attempt < 4 && !done; ++attempt) {
        data.assign(std::size_t(size) + sizeof(wchar_t), 0);  // room for a missing terminator
        DWORD got = DWORD(data.size());
        rc = RegQueryValueExW(key.get(), wname.c_str(), nullptr, &type, data.data(), &got);
        if (rc == ERROR_SUCCESS) done = true;
        if (rc == ERROR_MORE_DATA) rc = ERROR_SUCCESS;
        size = got;
    }
    if (rc == ERROR_FILE_NOT_FOUND) return out;  // deleted meanwhile
    if (rc != ERROR_SUCCESS) fail("cannot read", hive, path, name, rc);
    if (!done) fail("cannot read (the value keeps changing)", hive, path, name, ERROR_MORE_DATA);

    return decode(type, data, size);
}

void Win32Registry::writeDword(Hive hive, const std::string& path, const std::string& name, std::int32_t value) {
    RegValue v;
    v.type = RegValue::Type::Dword;
    v.dword = value;
    setValue(createKeyFor(hive, path, KEY_SET_VALUE).get(), hive, path, name, v);
}

void Win32Registry::writeString(Hive hive, const std::string& path, const std::string& name,
                                const std::string& value) {
    RegValue v;
    v.type = RegValue::Type::String;
    v.text = value;
    setValue(createKeyFor(hive, path, KEY_SET_VALUE).get(), hive, path, name, v);
}

void Win32Registry::createKey(Hive hive, const std::string& path) {
    createKeyFor(hive, path, KEY_READ);
}

bool Win32Registry::deleteValue(Hive hive, const std::string& path, const std::string& name) {
    const UniqueKey key = openKey(hive, path, KEY_SET_VALUE);
    if (!key) return false;
    const LONG rc = RegDeleteValueW(key.get(), widen(name).c_str());
    if (rc == ERROR_FILE_NOT_FOUND) return false;
    if (rc != ERROR_SUCCESS) fail("cannot delete", hive, path, name, rc);
    return true;
}

bool Win32Registry::deleteKeyTree(Hive hive, const std::string& path) {
    const std::wstring sub = subKey(path);
    // An empty path would empty the whole hive.
    if (sub.empty()) fail("refusing to delete the whole hive", hive, path, {}, ERROR_INVALID_PARAMETER);
    const LONG rc = RegDeleteTreeW(rootOf(hive), sub.c_str());
    if (rc == ERROR_FILE_NOT_FOUND) return false;
    if (rc != ERROR_SUCCESS) fail("cannot delete", hive, path, {}, rc);
    return true;
}

bool Win32Registry::copyKeyTree(Hive hive, const std::string& from, const std::string& to) {
    const UniqueKey source = openKey(hive, from, KEY_READ);
    if (!source) return false;
    const UniqueKey target = createKeyFor(hive, to, KEY_ALL_ACCESS);
    const LONG rc = RegCopyTreeW(source.get(), nullptr, target.get());
    if (rc != ERROR_SUCCESS) fail("cannot copy into", hive, to, {}, rc);
    return true;
}

std::optional<platform::RegValues> Win32Registry::readAll(Hive hive, const std::string& path) {
    const UniqueKey key = openKey(hive, path, KEY_QUERY_VALUE);
    if (!key) return std::nullopt;
    platform::RegValues out;
    DWORD longestName = 0, largest = 0;
    LONG rc = RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName,
                               &largest, nullptr, nullptr);
    if (rc != ERROR_SUCCESS) fail("cannot list", hive, path, {}, rc);
    std::wstring name(std::size_t(longestName) + 1, L'\0');
    std::vector<BYTE> data(std::size_t(largest) + sizeof(wchar_t));
    for (DWORD index = 0;;) {
        DWORD nameLength = DWORD(name.size()), type = 0, size = DWORD(data.size());
        rc = RegEnumValueW(key.get(), index, name.data(), &nameLength, nullptr, &type, data.data(), &size);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc == ERROR_MORE_DATA) {  // a value grew meanwhile: room for it, and the same index again
            name.resize(std::max<std::size_t>(name.size() * 2, 256));
            data.resize(std::max<std::size_t>(data.size() * 2, std::size_t(size) + sizeof(wchar_t)));
            continue;
        }
        if (rc != ERROR_SUCCESS) fail("cannot list", hive, path, {}, rc);
        out.emplace_back(narrow(name.c_str(), int(nameLength)), decode(type, data, size));
        ++index;
    }
    return out;
}

void Win32Registry::writeAll(Hive hive, const std::string& path, const platform::RegValues& values) {
    const UniqueKey key = createKeyFor(hive, path, KEY_SET_VALUE);
    for (const auto& [name, value] : values) setValue(key.get(), hive, path, name, value);
}

}  // namespace win32
