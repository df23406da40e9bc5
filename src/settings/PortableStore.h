#pragma once
#include <filesystem>
#include <map>
#include <string>
#include "platform/Registry.h"
#include "platform/System.h"

namespace settings {

// Beside the program, the file that makes a copy portable (the zip ships it,
// the installer never does), and the file its settings and reminders live in.
inline constexpr const char* kPortableMarker = "Portable.txt";
inline constexpr const char* kPortableFile = "Lumivo.ini";

// The registry port of a portable copy: everything under the program's own
// key (HKCU\Software\Vantrel\Lumivo) lives in one INI file beside the
// program, one section per key; every other key (the Run values) is the
// system's registry. Until open() finds the marker, it is the system's
// registry throughout.
//
// Writes change what the program holds at once; flush() puts all of them on
// the disk in one rewrite, through a temporary file that takes the old one's
// place only when complete.
class PortableStore final : public platform::Registry {
public:
    PortableStore(platform::Registry& registry, platform::System& system);

    enum class Opened {
        Registry,  // no marker: the system's registry
        File,      // the file (or a first launch: none yet)
        ReadOnly,  // marker, but the folder cannot be written: the system's registry
        Foreign,   // the file was not ours: moved aside to movedTo(), a first launch
    };
    // Chooses the store for a program in `folder`; `writable` says whether
    // the folder can be written.
    Opened open(const std::filesystem::path& folder, bool writable);
    bool portable() const { return !file_.empty(); }
    const std::filesystem::path& file() const { return file_; }
    const std::filesystem::path& movedTo() const { return movedTo_; }

    // Writes what changed since the last flush; false when the disk refused
    // (a drive pulled out): the changes stay owed and the next flush tries again.
    bool flush();
    bool owed() const { return owed_; }

    // platform::Registry
    bool keyExists(platform::Hive, const std::string& path) override;
    platform::RegValue read(platform::Hive, const std::string& path, const std::string& name) override;
    void writeDword(platform::Hive, const std::string& path, const std::string& name, std::int32_t) override;
    void writeString(platform::Hive, const std::string& path, const std::string& name, const std::string&) override;
    void createKey(platform::Hive, const std::string& path) override;
    bool deleteValue(platform::Hive, const std::string& path, const std::string& name) override;
    bool deleteKeyTree(platform::Hive, const std::string& path) override;
    bool copyKeyTree(platform::Hive, const std::string& from, const std::string& to) override;
    std::optional<platform::RegValues> readAll(platform::Hive, const std::string& path) override;
    void writeAll(platform::Hive, const std::string& path, const platform::RegValues& values) override;

    // The file's text for what the store holds, and the store a text holds
    // (nothing when it is not ours).
    std::string text() const;
    bool load(const std::string& bytes);

private:
    struct Key {
        std::string path;  // as first written
        platform::RegValues values;
    };
    // The program's own key and below, under HKCU: the file's part.
    bool mine(platform::Hive, const std::string& path) const;
    Key& make(const std::string& path);
    Key* find(const std::string& path);
    void set(const std::string& path, const std::string& name, platform::RegValue);

    platform::Registry& registry_;
    platform::System& system_;
    std::filesystem::path file_, movedTo_;
    std::map<std::string, Key> keys_;  // by lower-case path
    bool owed_ = false;
};

}  // namespace settings
