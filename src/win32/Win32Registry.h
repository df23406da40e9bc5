#pragma once
#include "platform/Registry.h"

namespace win32 {

// The registry through the advapi32 W functions. Every call opens the key it
// needs and closes it again before returning, also when it throws.
class Win32Registry final : public platform::Registry {
public:
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
};

}  // namespace win32
