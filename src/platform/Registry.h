#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

enum class Hive { CurrentUser, LocalMachine };

struct RegValue {
    enum class Type { Missing, Dword, String, Other };
    Type type = Type::Missing;
    std::int32_t dword = 0;
    std::string text;
    bool missing() const { return type == Type::Missing; }
    bool operator==(const RegValue&) const = default;
};

// A key's values by name.
using RegValues = std::vector<std::pair<std::string, RegValue>>;

// Keys are opened per call and closed before the call returns.
// Paths are relative to the hive ("Software\\Vantrel\\Lumivo"); a leading
// backslash is accepted and ignored. Failures throw RegistryError.
class Registry {
public:
    virtual ~Registry() = default;
    virtual bool keyExists(Hive, const std::string& path) = 0;
    virtual RegValue read(Hive, const std::string& path, const std::string& name) = 0;
    // Writers create the key when it is missing.
    virtual void writeDword(Hive, const std::string& path, const std::string& name, std::int32_t) = 0;
    virtual void writeString(Hive, const std::string& path, const std::string& name, const std::string&) = 0;
    virtual void createKey(Hive, const std::string& path) = 0;
    // Returns false when there was nothing to delete.
    virtual bool deleteValue(Hive, const std::string& path, const std::string& name) = 0;
    virtual bool deleteKeyTree(Hive, const std::string& path) = 0;
    // Copies every value and subkey of `from` into `to` (created when
    // missing), whatever their types. False when `from` does not exist.
    virtual bool copyKeyTree(Hive, const std::string& from, const std::string& to) = 0;
    // Every value of the key, in one opening; nothing when there is no key.
    virtual std::optional<RegValues> readAll(Hive, const std::string& path) = 0;
    // Creates the key and writes the DWORD and string values in one opening;
    // values of other types are left out.
    virtual void writeAll(Hive, const std::string& path, const RegValues& values) = 0;
};

}  // namespace platform
