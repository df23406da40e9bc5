// Rules of the program's shape that no compiler checks, read off the sources
// and the tables themselves.
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include "errors/Codes.h"
#include "settings/Fields.h"

namespace fs = std::filesystem;

namespace {

const fs::path kSrc = LUMIVO_SOURCE_DIR;

std::vector<fs::path> sources(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string ext = it->path().extension().string();
        if (ext == ".h" || ext == ".cpp") files.push_back(it->path());
    }
    return files;
}

std::string read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> includes(const fs::path& file) {
    static const std::regex include(R"(#\s*include\s*[<"]([^>"]+)[>"])");
    std::vector<std::string> out;
    const std::string text = read(file);
    for (std::sregex_iterator it(text.begin(), text.end(), include), end; it != end; ++it) out.push_back((*it)[1]);
    return out;
}

}  // namespace

// Each subsystem reaches the clock window only through core::ClockFace; only
// win32/ talks to Windows.
TEST(Seams, SubsystemsNeverSeeTheClockWindowOrTheWindowSystem) {
    std::size_t checked = 0;
    for (const char* folder : {"core", "errors", "settings", "sound", "reminders", "quickexit", "settingsui"}) {
        for (const fs::path& file : sources(kSrc / folder)) {
            ++checked;
            for (const std::string& header : includes(file))
                EXPECT_FALSE(header.starts_with("app/") || header.starts_with("win32/"))
                    << file.lexically_relative(kSrc) << " includes " << header;
        }
    }
    EXPECT_GT(checked, 20u);
    for (const fs::path& file : sources(kSrc)) {
        if (file.lexically_relative(kSrc).begin()->string() == "win32") continue;
        for (const std::string& header : includes(file))
            EXPECT_NE(header, "windows.h") << file.lexically_relative(kSrc);
    }
}

TEST(ErrorCodes, EachCodeBelongsToOneRoutineUnlessTheDesignSharesIt) {
    // The reminder editor's message box handler carries one "0." too many, as the design has it.
    const std::regex form(R"(0\.\d{3} - (\d{3,4}\.(\d+)?|Test)|0\.0\.019 - 003\.)");
    const std::set<std::string> shared(errors::sharedCodes().begin(), errors::sharedCodes().end());
    std::map<std::string, std::vector<std::string>> routines;
    for (const errors::Code* c : errors::allCodes()) {
        EXPECT_TRUE(std::regex_match(c->prefix, form)) << c->prefix;
        EXPECT_EQ(std::string(c->prefix).back() == '.', c->appendStep) << c->prefix << ": a step or a fixed end";
        routines[c->prefix].push_back(c->routine);
    }
    for (const auto& [code, names] : routines)
        if (names.size() > 1) {
            EXPECT_TRUE(shared.count(code)) << code << " serves " << names.front() << " and " << names.back();
        }
    EXPECT_GT(routines.size(), 60u);
}

TEST(ErrorCodes, HandlersTakeTheirCodesFromTheTable) {
    const std::regex literal(R"("(0\.)?0\.\d{3} - )");
    for (const fs::path& file : sources(kSrc)) {
        if (file.stem() == "Codes") continue;  // the table itself
        EXPECT_FALSE(std::regex_search(read(file), literal)) << file.lexically_relative(kSrc) << " spells a code out";
    }
}

// The table is data; a slip in it would load wrong values silently.
TEST(FieldTable, EveryFieldOnceWithReplacementsAmongItsValidValues) {
    using settings::Field;
    using settings::Invalid;
    using settings::Missing;
    std::set<std::string> names, stored;
    for (const Field& f : settings::fields()) {
        SCOPED_TRACE(f.name);
        EXPECT_TRUE(names.insert(f.name).second) << "named twice";
        EXPECT_TRUE(stored.insert(std::string(settings::registryKey(f.group)) + "\\" + f.value).second)
            << "stored twice";
        EXPECT_EQ(int(f.number != nullptr) + int(f.flag != nullptr) + int(f.text != nullptr), 1);
        EXPECT_EQ(f.text != nullptr, f.type == settings::Type::Text);
        EXPECT_EQ(f.flag != nullptr, f.type == settings::Type::Bool || f.type == settings::Type::StyleBit);
        for (const Invalid& r : {f.regInvalid, f.fileInvalid})
            if (r.kind == Invalid::Value) {
                EXPECT_TRUE(f.ranged());
                EXPECT_GE(r.value, f.lo);
                EXPECT_LE(r.value, f.hi);
            }
        for (const Missing& m : {f.regMissing, f.fileMissing})
            if (m.kind != Missing::Keep && f.ranged()) {
                EXPECT_GE(m.value, f.lo);
                EXPECT_LE(m.value, f.hi);
            }
    }
    EXPECT_EQ(settings::readOrder().size(), settings::fields().size());
    const settings::Settings first = settings::FirstRun();
    for (const Field& f : settings::fields()) EXPECT_TRUE(f.valid(first)) << f.name << " on a first run";
}
