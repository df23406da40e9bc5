#pragma once
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include "platform/System.h"

namespace settings {

// Up to `most` + 1 bytes of a file, so that a caller sees one too big;
// nothing when it cannot be read (missing, a folder, locked by another program).
std::optional<std::string> ReadWhole(const std::filesystem::path&, std::size_t most);
// The whole file is written beside the old one (as "<name>.~tmp") before it
// takes its place: a write cut off half-way, or refused, leaves the old file
// as it was.
bool WriteWhole(platform::System&, const std::filesystem::path&, const std::string& bytes);

}  // namespace settings
