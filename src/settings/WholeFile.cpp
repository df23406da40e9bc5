#include "settings/WholeFile.h"
#include <algorithm>
#include <fstream>
#include <system_error>

namespace settings {

namespace fs = std::filesystem;

std::optional<std::string> ReadWhole(const fs::path& path, std::size_t most) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    // In pieces: a large limit costs nothing for a small file.
    std::string bytes;
    char piece[1 << 16];
    while (bytes.size() <= most && in.read(piece, sizeof piece).gcount() > 0)
        bytes.append(piece, std::min<std::size_t>(std::size_t(in.gcount()), most + 1 - bytes.size()));
    if (in.bad()) return std::nullopt;
    return bytes;
}

bool WriteWhole(platform::System& system, const fs::path& path, const std::string& bytes) {
    fs::path temp = path;
    temp += ".~tmp";
    std::error_code ec;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (out) out.write(bytes.data(), std::streamsize(bytes.size()));
        out.close();
        if (!out) {
            fs::remove(temp, ec);
            return false;
        }
    }
    if (system.replaceFile(temp, path)) return true;
    fs::remove(temp, ec);
    return false;
}

}  // namespace settings
