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

// The glossary explains the field table; neither may drift from the other.
// A row may group fields: its "Stored as" cell then lists one value each
// (the first with its key, the others in the same key), and its "Values"
// cell holds one description for all of them or one each.
TEST(FieldTable, TheGlossaryStoresAndBoundsEachFieldAsTheTableDoes) {
    using settings::Type;
    const std::string doc = read(kSrc.parent_path() / "docs" / "NAMES.md");
    const std::size_t start = doc.find("## Stored settings (`settings::Settings`)");
    ASSERT_NE(start, std::string::npos);
    const std::string section = doc.substr(start, doc.find("\n## ", start + 1) - start);
    const auto ticked = [](const std::string& cell) {
        static const std::regex tick("`([^`]+)`");
        std::vector<std::string> out;
        for (std::sregex_iterator it(cell.begin(), cell.end(), tick), end; it != end; ++it) out.push_back((*it)[1]);
        return out;
    };
    const std::string root = std::string(settings::kRootKey) + "\\";
    // An unbounded number is described in words ("signed"); no description is a range it does not have.
    const auto fits = [](const settings::Field& f, const std::string& d) {
        static const std::regex numbers(R"(-?\d+(\.\.-?\d+)?(, -?\d+)*)");
        if (f.type == Type::Int && !f.ranged()) return !std::regex_match(d, numbers);
        if (f.type != Type::Int)
            return d == (f.type == Type::Bool ? "bool" : f.type == Type::Text ? "text" : "only 1 sets");
        std::string list = std::to_string(f.lo);  // a few values may be listed
        for (int v = f.lo + 1; v <= f.hi && v - f.lo < 3; ++v) list += ", " + std::to_string(v);
        return d == std::to_string(f.lo) + ".." + std::to_string(f.hi) || (f.hi - f.lo < 3 && d == list);
    };
    std::map<std::string, int> rows;
    std::istringstream lines(section);
    for (std::string line; std::getline(lines, line);) {
        static const std::regex row(R"(\| (`[^|]*) \| ([^|]*) \| ([^|]*) \| [^|]*\|)");
        std::smatch m;
        if (!std::regex_match(line, m, row)) continue;
        const std::vector<std::string> names = ticked(m[1]), keys = ticked(m[2]);
        const std::string values = m[3];
        SCOPED_TRACE(line);
        ASSERT_EQ(names.size(), keys.size()) << "one stored value per field";
        std::string dir;
        for (std::size_t i = 0; i < names.size(); ++i) {
            std::string key = keys[i];
            if (key.starts_with("...\\")) key = "Settings\\" + key.substr(4);
            if (key.find('\\') == std::string::npos) key = dir + key;
            dir = key.substr(0, key.rfind('\\') + 1);
            const settings::Field* f = nullptr;
            for (const settings::Field& each : settings::fields())
                if (names[i] == each.name) f = &each;
            ASSERT_TRUE(f) << names[i] << " is no stored setting";
            ++rows[f->name];
            EXPECT_EQ(root + key, std::string(settings::registryKey(f->group)) + "\\" + f->value) << f->name;
            std::vector<std::string> each;
            for (std::size_t from = 0, comma; from <= values.size(); from = comma + 2) {
                comma = std::min(values.find(", ", from), values.size());
                each.push_back(values.substr(from, comma - from));
            }
            EXPECT_TRUE(fits(*f, values) || (each.size() == names.size() && fits(*f, each[i])))
                << f->name << ": " << values;
        }
    }
    for (const settings::Field& f : settings::fields()) EXPECT_EQ(1, rows[f.name]) << f.name << " in the glossary";
}
