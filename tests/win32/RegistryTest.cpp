// The registry adapter against the real registry, under keys of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>
#include <vector>

#include "platform/Failure.h"
#include "win32/Handles.h"
#include "win32/Text.h"
#include "win32/Win32Registry.h"

namespace {

using platform::Hive;
using platform::RegistryError;
using platform::RegValue;
using Type = platform::RegValue::Type;

class Registry : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = "Software\\LumivoTests\\" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(GetTickCount64());
        reg_.deleteKeyTree(Hive::CurrentUser, root_);
        reg_.deleteKeyTree(Hive::LocalMachine, root_);
    }
    void TearDown() override {
        reg_.deleteKeyTree(Hive::CurrentUser, root_);
        reg_.deleteKeyTree(Hive::LocalMachine, root_);
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\LumivoTests");  // only when empty
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\LumivoTests");
    }

    std::string path(const std::string& sub = {}) const { return sub.empty() ? root_ : root_ + "\\" + sub; }

    // Stores a value as another program (or a hand edit) might have left it.
    void writeRaw(const std::string& name, DWORD type, const void* data, DWORD bytes) {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, win32::widen(root_).c_str(), 0, nullptr, 0,
                                                 KEY_SET_VALUE, nullptr, &key, nullptr));
        win32::UniqueKey owner(key);
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, win32::widen(name).c_str(), 0, type,
                                                static_cast<const BYTE*>(data), bytes));
    }

    std::vector<BYTE> readRaw(const std::string& name, DWORD& type) {
        DWORD size = 0;
        RegGetValueW(HKEY_CURRENT_USER, win32::widen(root_).c_str(), win32::widen(name).c_str(),
                     RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &size);
        std::vector<BYTE> data(size);
        RegGetValueW(HKEY_CURRENT_USER, win32::widen(root_).c_str(), win32::widen(name).c_str(),
                     RRF_RT_ANY | RRF_NOEXPAND, &type, data.data(), &size);
        data.resize(size);
        return data;
    }

    win32::Win32Registry reg_;
    std::string root_;
};

TEST_F(Registry, MissingKeysAndValuesReadAsMissingWithoutBeingCreated) {
    EXPECT_FALSE(reg_.keyExists(Hive::CurrentUser, path()));
    EXPECT_TRUE(reg_.read(Hive::CurrentUser, path("Settings"), "AlphaSet").missing());
    EXPECT_FALSE(reg_.keyExists(Hive::CurrentUser, path("Settings")));

    reg_.createKey(Hive::CurrentUser, path("Settings\\Font\\Style"));
    EXPECT_TRUE(reg_.keyExists(Hive::CurrentUser, path("Settings\\Font")));
    EXPECT_TRUE(reg_.keyExists(Hive::CurrentUser, path("Settings\\Font\\Style")));
    EXPECT_EQ(Type::Missing, reg_.read(Hive::CurrentUser, path("Settings"), "AlphaSet").type);
}

TEST_F(Registry, LeadingBackslashNamesTheSameKey) {
    reg_.writeDword(Hive::CurrentUser, "\\" + path("Settings"), "AlphaSet", 200);
    EXPECT_TRUE(reg_.keyExists(Hive::CurrentUser, path("Settings")));
    const RegValue v = reg_.read(Hive::CurrentUser, path("Settings"), "AlphaSet");
    EXPECT_EQ(Type::Dword, v.type);
    EXPECT_EQ(200, v.dword);
    EXPECT_TRUE(reg_.keyExists(Hive::CurrentUser, "\\Software"));
}

TEST_F(Registry, TellsDwordStringAndOtherTypesApart) {
    reg_.writeDword(Hive::CurrentUser, path(), "Number", 7);
    reg_.writeString(Hive::CurrentUser, path(), "Text", "7");
    const BYTE binary[4] = {7, 0, 0, 0};
    writeRaw("Binary", REG_BINARY, binary, sizeof binary);
    const ULONGLONG qword = 7;
    writeRaw("Qword", REG_QWORD, &qword, sizeof qword);
    const wchar_t expand[] = L"%SystemRoot%\\x";
    writeRaw("Expand", REG_EXPAND_SZ, expand, sizeof expand);
    const wchar_t multi[] = L"a\0b\0";
    writeRaw("Multi", REG_MULTI_SZ, multi, sizeof multi);
    const WORD shortDword = 7;  // a DWORD of the wrong size is not a number
    writeRaw("ShortDword", REG_DWORD, &shortDword, sizeof shortDword);

    const RegValue number = reg_.read(Hive::CurrentUser, path(), "Number");
    EXPECT_EQ(Type::Dword, number.type);
    EXPECT_EQ(7, number.dword);
    const RegValue text = reg_.read(Hive::CurrentUser, path(), "Text");
    EXPECT_EQ(Type::String, text.type);
    EXPECT_EQ("7", text.text);
    const RegValue expanded = reg_.read(Hive::CurrentUser, path(), "Expand");
    EXPECT_EQ(Type::String, expanded.type);
    EXPECT_EQ("%SystemRoot%\\x", expanded.text);
    for (const char* name : {"Binary", "Qword", "Multi", "ShortDword"})
        EXPECT_EQ(Type::Other, reg_.read(Hive::CurrentUser, path(), name).type) << name;
    EXPECT_EQ(Type::Missing, reg_.read(Hive::CurrentUser, path(), "Absent").type);
}

TEST_F(Registry, SignedDwordsRoundTripAsTwosComplement) {
    for (const std::int32_t v : {-15, -1, 0, 1, INT_MIN, INT_MAX}) {
        reg_.writeDword(Hive::CurrentUser, path("Position"), "Left", v);
        const RegValue r = reg_.read(Hive::CurrentUser, path("Position"), "Left");
        EXPECT_EQ(Type::Dword, r.type);
        EXPECT_EQ(v, r.dword);
    }
    // Other copies and exported settings see the plain 32-bit pattern.
    reg_.writeDword(Hive::CurrentUser, path(), "Top", -15);
    DWORD type = 0;
    const std::vector<BYTE> raw = readRaw("Top", type);
    EXPECT_EQ(DWORD(REG_DWORD), type);
    ASSERT_EQ(4u, raw.size());
    EXPECT_EQ((std::vector<BYTE>{0xF1, 0xFF, 0xFF, 0xFF}), raw);
}

TEST_F(Registry, CyrillicTextRoundTripsAsUtf16) {
    const std::string text = "Неизвестно — Ёж, 10:15";
    reg_.writeString(Hive::CurrentUser, path("Settings"), "BackUp", text);
    EXPECT_EQ(text, reg_.read(Hive::CurrentUser, path("Settings"), "BackUp").text);

    reg_.writeString(Hive::CurrentUser, path(), "Голос", "Мужской");
    DWORD type = 0;
    const std::vector<BYTE> raw = readRaw("Голос", type);
    EXPECT_EQ(DWORD(REG_SZ), type);
    const std::wstring expected = L"Мужской";
    ASSERT_EQ((expected.size() + 1) * sizeof(wchar_t), raw.size());  // with its terminator
    EXPECT_EQ(0, memcmp(raw.data(), expected.c_str(), raw.size()));

    reg_.writeString(Hive::CurrentUser, path(), "Empty", "");
    const RegValue empty = reg_.read(Hive::CurrentUser, path(), "Empty");
    EXPECT_EQ(Type::String, empty.type);
    EXPECT_EQ("", empty.text);
}

TEST_F(Registry, MalformedStringsAreReadSafely) {
    const wchar_t unterminated[] = {L'a', L'b', L'c'};
    writeRaw("Unterminated", REG_SZ, unterminated, sizeof unterminated);
    EXPECT_EQ("abc", reg_.read(Hive::CurrentUser, path(), "Unterminated").text);

    const wchar_t odd[] = {L'x', L'y'};
    writeRaw("Odd", REG_SZ, odd, 3);  // half a character at the end
    EXPECT_EQ("x", reg_.read(Hive::CurrentUser, path(), "Odd").text);

    writeRaw("OneByte", REG_SZ, odd, 1);
    EXPECT_EQ("", reg_.read(Hive::CurrentUser, path(), "OneByte").text);

    const wchar_t embedded[] = L"kept\0dropped";
    writeRaw("Embedded", REG_SZ, embedded, sizeof embedded);
    EXPECT_EQ("kept", reg_.read(Hive::CurrentUser, path(), "Embedded").text);

    writeRaw("Zero", REG_SZ, nullptr, 0);
    EXPECT_EQ(Type::String, reg_.read(Hive::CurrentUser, path(), "Zero").type);

    const std::wstring huge(300000, L'Ж');
    writeRaw("Huge", REG_SZ, huge.data(), DWORD(huge.size() * sizeof(wchar_t)));  // no terminator either
    const RegValue big = reg_.read(Hive::CurrentUser, path(), "Huge");
    EXPECT_EQ(huge.size() * 2, big.text.size());
    EXPECT_EQ(win32::narrow(huge), big.text);
}

TEST_F(Registry, DeletesValuesAndTreesAndSaysWhenNothingWasThere) {
    reg_.writeString(Hive::CurrentUser, path("Remind\\Remind1"), "Name", "a");
    reg_.writeDword(Hive::CurrentUser, path("Remind\\Remind2"), "Hour", 5);
    reg_.writeDword(Hive::CurrentUser, path("Remind"), "RemindCount", 2);

    EXPECT_TRUE(reg_.deleteValue(Hive::CurrentUser, path("Remind"), "RemindCount"));
    EXPECT_FALSE(reg_.deleteValue(Hive::CurrentUser, path("Remind"), "RemindCount"));
    EXPECT_FALSE(reg_.deleteValue(Hive::CurrentUser, path("NoSuchKey"), "RemindCount"));
    EXPECT_FALSE(reg_.keyExists(Hive::CurrentUser, path("NoSuchKey")));
    EXPECT_TRUE(reg_.read(Hive::CurrentUser, path("Remind"), "RemindCount").missing());

    EXPECT_TRUE(reg_.deleteKeyTree(Hive::CurrentUser, path("Remind")));
    EXPECT_FALSE(reg_.keyExists(Hive::CurrentUser, path("Remind\\Remind1")));
    EXPECT_FALSE(reg_.keyExists(Hive::CurrentUser, path("Remind")));
    EXPECT_TRUE(reg_.keyExists(Hive::CurrentUser, path()));
    EXPECT_FALSE(reg_.deleteKeyTree(Hive::CurrentUser, path("Remind")));
}

TEST_F(Registry, RefusesToDeleteAWholeHive) {
    reg_.createKey(Hive::CurrentUser, path());
    EXPECT_THROW(reg_.deleteKeyTree(Hive::CurrentUser, ""), RegistryError);
    EXPECT_THROW(reg_.deleteKeyTree(Hive::CurrentUser, "\\"), RegistryError);
    EXPECT_TRUE(reg_.keyExists(Hive::CurrentUser, path()));
    EXPECT_TRUE(reg_.keyExists(Hive::CurrentUser, "Software"));
}

TEST_F(Registry, LocalMachineIsSeparateFromCurrentUser) {
    const std::string run = path("Run");
    reg_.writeString(Hive::LocalMachine, run, "Lumivo", "C:\\Программы\\Lumivo.exe");
    EXPECT_EQ("C:\\Программы\\Lumivo.exe", reg_.read(Hive::LocalMachine, run, "Lumivo").text);
    EXPECT_TRUE(reg_.read(Hive::CurrentUser, run, "Lumivo").missing());
    EXPECT_TRUE(reg_.deleteValue(Hive::LocalMachine, run, "Lumivo"));
}

TEST_F(Registry, FailuresThrowRegistryErrorNamingTheKey) {
    // A volatile key cannot hold lasting subkeys: a real refusal by the system.
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(HKEY_CURRENT_USER, win32::widen(path("Volatile")).c_str(), 0, nullptr,
                              REG_OPTION_VOLATILE, KEY_READ, nullptr, &key, nullptr));
    win32::UniqueKey owner(key);
    try {
        reg_.writeDword(Hive::CurrentUser, "\\" + path("Volatile\\Settings"), "AlphaSet", 1);
        FAIL() << "no error";
    } catch (const RegistryError& e) {
        const std::string what = e.what();
        EXPECT_NE(std::string::npos, what.find("HKEY_CURRENT_USER\\" + path("Volatile\\Settings"))) << what;
        EXPECT_NE(std::string::npos, what.find(std::to_string(ERROR_CHILD_MUST_BE_VOLATILE))) << what;
        EXPECT_STREQ("RegistryError", e.className());
    }
    EXPECT_THROW(reg_.createKey(Hive::CurrentUser, path("Volatile\\Sub")), RegistryError);
}

}  // namespace

TEST_F(Registry, CopiesAKeyWithEveryValueWhateverItsType) {
    const BYTE blob[] = {1, 2, 3};
    writeRaw("Blob", REG_BINARY, blob, sizeof blob);
    reg_.writeString(Hive::CurrentUser, path(), "Name", "Чай в пять");
    reg_.writeDword(Hive::CurrentUser, path(), "MsgIcon", 9);
    reg_.writeDword(Hive::CurrentUser, path("Inner"), "Deep", 1);
    const std::string copy = root_ + "-copy";

    EXPECT_TRUE(reg_.copyKeyTree(Hive::CurrentUser, path(), copy));
    EXPECT_EQ(reg_.read(Hive::CurrentUser, copy, "Name").text, "Чай в пять");
    EXPECT_EQ(reg_.read(Hive::CurrentUser, copy, "MsgIcon").dword, 9);
    EXPECT_EQ(reg_.read(Hive::CurrentUser, copy, "Blob").type, Type::Other);
    EXPECT_EQ(reg_.read(Hive::CurrentUser, copy + "\\Inner", "Deep").dword, 1);
    EXPECT_EQ(reg_.read(Hive::CurrentUser, path(), "Name").text, "Чай в пять") << "the source stays";
    reg_.deleteKeyTree(Hive::CurrentUser, copy);

    EXPECT_FALSE(reg_.copyKeyTree(Hive::CurrentUser, path("Absent"), path("Target")));
    EXPECT_FALSE(reg_.keyExists(Hive::CurrentUser, path("Target"))) << "nothing made for a missing source";
}

TEST_F(Registry, ReadsAndWritesAWholeKeyInOneGo) {
    EXPECT_FALSE(reg_.readAll(Hive::CurrentUser, path("Remind1")).has_value());
    reg_.createKey(Hive::CurrentUser, path("Empty"));
    ASSERT_TRUE(reg_.readAll(Hive::CurrentUser, path("Empty")).has_value());
    EXPECT_TRUE(reg_.readAll(Hive::CurrentUser, path("Empty"))->empty());

    RegValue name{Type::String, 0, "Обед\r\nв час"}, flag{Type::Dword, -5, {}}, binary{Type::Other, 0, {}};
    reg_.writeAll(Hive::CurrentUser, path("Remind1"), {{"Name", name}, {"MD7", flag}, {"Blob", binary}});
    const DWORD raw[2] = {1, 2};
    writeRaw("Long", REG_BINARY, raw, sizeof raw);
    const std::string big(5000, 'x');
    reg_.writeString(Hive::CurrentUser, path("Remind1"), std::string(200, 'N'), big);

    const auto all = reg_.readAll(Hive::CurrentUser, path("Remind1"));
    ASSERT_TRUE(all.has_value());
    std::map<std::string, RegValue> byName(all->begin(), all->end());
    EXPECT_EQ(byName.size(), 3u) << "the binary one is left out when written";
    EXPECT_EQ(byName["Name"], name);
    EXPECT_EQ(byName["MD7"], flag);
    EXPECT_EQ(byName[std::string(200, 'N')].text, big);
    const auto root = reg_.readAll(Hive::CurrentUser, path());
    ASSERT_TRUE(root.has_value());
    ASSERT_EQ(root->size(), 1u);
    EXPECT_EQ(root->front().first, "Long");
    EXPECT_EQ(root->front().second.type, Type::Other);
}
