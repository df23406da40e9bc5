#pragma once
#include <filesystem>

namespace core {

// Where the program keeps its files. The writable folders move to the user's
// local data folder when the program folder cannot be written.
struct Paths {
    std::filesystem::path program;   // the folder of Lumivo.exe
    std::filesystem::path writable;  // root of Error\, TempFiles\ scratch files, BackUp\ (program or %LOCALAPPDATA%\Lumivo)
    std::filesystem::path errorDir() const { return writable / "Error"; }
    std::filesystem::path tempDir() const { return writable / "TempFiles"; }
    std::filesystem::path backupDir() const { return writable / "BackUp"; }
    std::filesystem::path soundsDir() const { return program / "Sounds"; }
};

}  // namespace core
