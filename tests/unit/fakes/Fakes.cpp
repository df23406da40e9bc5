#include "fakes/Fakes.h"
#include <utility>
#include <algorithm>
#include <atomic>
#include <fstream>
#include <cctype>
#include <limits>
#include <unistd.h>
#include "platform/Failure.h"
#include "platform/Path.h"

namespace fakes {

using namespace std::chrono;

void FakeClock::set(int year, int month, int day, int hour, int minute, int second, int ms) {
    const sys_days d = year_month_day{std::chrono::year(year), std::chrono::month(unsigned(month)), std::chrono::day(unsigned(day))};
    now_ = time_point_cast<milliseconds>(d) + hours(hour) + minutes(minute) + seconds(second) + milliseconds(ms);
}

platform::LocalTime FakeClock::now() {
    const sys_days d = floor<days>(now_);
    const year_month_day ymd(d);
    const hh_mm_ss<milliseconds> tod(now_ - d);
    platform::LocalTime t;
    t.year = int(ymd.year());
    t.month = int(unsigned(ymd.month()));
    t.day = int(unsigned(ymd.day()));
    t.hour = int(tod.hours().count());
    t.minute = int(tod.minutes().count());
    t.second = int(tod.seconds().count());
    t.millisecond = int(tod.subseconds().count());
    t.weekday = int(weekday(d).c_encoding());
    return t;
}

// ---- registry ---------------------------------------------------------------------------

std::string FakeRegistry::norm(std::string path) {
    while (!path.empty() && path.front() == '\\') path.erase(path.begin());
    while (!path.empty() && path.back() == '\\') path.pop_back();
    std::transform(path.begin(), path.end(), path.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return path;
}

void FakeRegistry::check(Hive h) {
    if ((h == Hive::LocalMachine && denyLocalMachine) || (h == Hive::CurrentUser && denyCurrentUser))
        throw platform::RegistryError("Access denied");
    if (failAt > 0 && --failAt == 0) throw platform::RegistryError("The process ended here");
}

bool FakeRegistry::keyExists(Hive h, const std::string& path) {
    ++calls;
    return keys.count({h, norm(path)}) > 0;
}

platform::RegValue FakeRegistry::read(Hive h, const std::string& path, const std::string& name) {
    ++calls;
    if (failReadAt > 0 && --failReadAt == 0) throw platform::RegistryError("The registry could not be read");
    return lookup(h, path, name);
}

platform::RegValue FakeRegistry::lookup(Hive h, const std::string& path, const std::string& name) {
    reads.push_back(norm(path) + "\\" + name);
    auto it = values.find({h, norm(path), norm(name)});
    return it == values.end() ? platform::RegValue{} : it->second;
}

void FakeRegistry::createKey(Hive h, const std::string& path) {
    ++calls;
    check(h);
    addKey(h, path);
}

void FakeRegistry::addKey(Hive h, const std::string& path) {
    std::string p = norm(path);
    // Every parent exists too.
    for (std::size_t pos = 0; pos != std::string::npos;) {
        pos = p.find('\\', pos + 1);
        keys.insert({h, p.substr(0, pos)});
    }
}

void FakeRegistry::writeDword(Hive h, const std::string& path, const std::string& name, std::int32_t v) {
    ++calls;
    check(h);
    addKey(h, path);
    platform::RegValue r;
    r.type = platform::RegValue::Type::Dword;
    r.dword = v;
    values[{h, norm(path), norm(name)}] = r;
    writes.push_back(norm(path) + "\\" + name);
}

void FakeRegistry::writeString(Hive h, const std::string& path, const std::string& name, const std::string& v) {
    ++calls;
    check(h);
    addKey(h, path);
    platform::RegValue r;
    r.type = platform::RegValue::Type::String;
    r.text = v;
    values[{h, norm(path), norm(name)}] = r;
    writes.push_back(norm(path) + "\\" + name);
}

bool FakeRegistry::deleteValue(Hive h, const std::string& path, const std::string& name) {
    ++calls;
    check(h);
    return values.erase({h, norm(path), norm(name)}) > 0;
}

bool FakeRegistry::deleteKeyTree(Hive h, const std::string& path) {
    ++calls;
    check(h);
    const std::string p = norm(path);
    bool any = false;
    for (auto it = keys.begin(); it != keys.end();) {
        if (it->first == h && (it->second == p || it->second.starts_with(p + "\\"))) {
            it = keys.erase(it);
            any = true;
        } else {
            ++it;
        }
    }
    for (auto it = values.begin(); it != values.end();) {
        const auto& [hive, key, name] = it->first;
        if (hive == h && (key == p || key.starts_with(p + "\\")))
            it = values.erase(it);
        else
            ++it;
    }
    return any;
}

bool FakeRegistry::copyKeyTree(Hive h, const std::string& from, const std::string& to) {
    ++calls;
    const std::string f = norm(from), t = norm(to);
    if (!keys.count({h, f})) return false;
    check(h);
    addKey(h, t);
    for (const auto& [hive, key] : std::set<std::pair<Hive, std::string>>(keys))
        if (hive == h && key.starts_with(f + "\\")) addKey(h, t + key.substr(f.size()));
    for (const auto& [k, v] : std::map<std::tuple<Hive, std::string, std::string>, platform::RegValue>(values)) {
        const auto& [hive, key, name] = k;
        if (hive == h && (key == f || key.starts_with(f + "\\"))) values[{h, t + key.substr(f.size()), name}] = v;
    }
    writes.push_back(t + "\\*");
    return true;
}

std::optional<platform::RegValues> FakeRegistry::readAll(Hive h, const std::string& path) {
    ++calls;
    const std::string p = norm(path);
    if (!keys.count({h, p})) return std::nullopt;
    platform::RegValues out;
    for (const auto& [k, v] : values)
        if (std::get<0>(k) == h && std::get<1>(k) == p) out.emplace_back(std::get<2>(k), v);
    return out;
}

void FakeRegistry::writeAll(Hive h, const std::string& path, const platform::RegValues& list) {
    ++calls;
    check(h);
    addKey(h, path);
    for (const auto& [name, v] : list) {
        if (v.type != platform::RegValue::Type::Dword && v.type != platform::RegValue::Type::String) continue;
        check(h);
        values[{h, norm(path), norm(name)}] = v;
        writes.push_back(norm(path) + "\\" + name);
    }
}

void FakeRegistry::put(Hive h, const std::string& path, const std::string& name, platform::RegValue v) {
    addKey(h, path);
    values[{h, norm(path), norm(name)}] = std::move(v);
}

void FakeRegistry::putDword(const std::string& path, const std::string& name, std::int32_t v) {
    platform::RegValue r;
    r.type = platform::RegValue::Type::Dword;
    r.dword = v;
    put(Hive::CurrentUser, path, name, r);
}

void FakeRegistry::putString(const std::string& path, const std::string& name, const std::string& v) {
    platform::RegValue r;
    r.type = platform::RegValue::Type::String;
    r.text = v;
    put(Hive::CurrentUser, path, name, r);
}

void FakeRegistry::putBinary(const std::string& path, const std::string& name) {
    platform::RegValue r;
    r.type = platform::RegValue::Type::Other;
    put(Hive::CurrentUser, path, name, r);
}

std::optional<std::int32_t> FakeRegistry::dword(const std::string& path, const std::string& name, Hive h) {
    const platform::RegValue v = lookup(h, path, name);
    if (v.type != platform::RegValue::Type::Dword) return std::nullopt;
    return v.dword;
}

std::optional<std::string> FakeRegistry::string(const std::string& path, const std::string& name, Hive h) {
    const platform::RegValue v = lookup(h, path, name);
    if (v.type != platform::RegValue::Type::String) return std::nullopt;
    return v.text;
}

// ---- audio, system ----------------------------------------------------------------------

bool FakeAudio::playSound(const std::string& path) {
    played.push_back(path);
    if (onPlay) onPlay();
    return playResult;
}

platform::MciResult FakeAudio::mciSend(const std::string& command, bool wantReply) {
    mci.push_back(command);
    if (onCall) onCall(command);
    if (!failMci.empty() && command.starts_with(failMci)) throw platform::SoundError("device lost");
    platform::MciResult r;
    if (!refuseMci.empty() && command.starts_with(refuseMci)) {
        r.error = 275;  // MCIERR_FILE_NOT_FOUND
        return r;
    }
    if (wantReply && command.rfind("status", 0) == 0) {
        if (!statusReplies.empty()) {
            r.reply = statusReplies.front();
            statusReplies.pop_front();
        } else {
            r.reply = defaultStatus;
        }
    }
    return r;
}

std::string FakeSystem::userName() {
    if (userFails) throw platform::SystemError("no user name");
    return user;
}

std::string FakeSystem::computerName() {
    if (computerFails) throw platform::SystemError("no computer name");
    return computer;
}

std::string FakeSystem::longDate(const platform::LocalTime& t) {
    static const char* const days[] = {"воскресенье", "понедельник", "вторник", "среда", "четверг", "пятница", "суббота"};
    static const char* const months[] = {"января", "февраля", "марта", "апреля", "мая", "июня",
                                         "июля", "августа", "сентября", "октября", "ноября", "декабря"};
    char dd[8];
    std::snprintf(dd, sizeof dd, "%02d", t.day);
    return std::string(days[t.weekday]) + " " + dd + " " + months[t.month - 1] + " " + std::to_string(t.year);
}

std::string FakeSystem::shortDate(const platform::LocalTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d%s%02d%s%04d", t.day, dateSep.c_str(), t.month, dateSep.c_str(), t.year);
    return text;
}

bool FakeSystem::replaceFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    namespace fs = std::filesystem;
    std::error_code ec;
    // Checked by hand: a test run as root could write over it anyway.
    const fs::file_status target = fs::status(to, ec);
    if (refuseReplace || (fs::exists(target) && (target.permissions() & fs::perms::owner_write) == fs::perms::none))
        return false;
    fs::rename(from, to, ec);
    if (!ec) ++replaced;
    return !ec;
}

// ---- ui ------------------------------------------------------------------------------------

ui::Size FakePeer::measureText(const ui::Font& f, const std::string& text) {
    int chars = 0;
    for (unsigned char ch : text)
        if ((ch & 0xC0) != 0x80) ++chars;
    const int h = f.pixelHeight();
    return {chars * h / 2, h + h / 4};
}

namespace {
void visibleNames(const ui::MenuItem& m, std::vector<std::string>& out) {
    for (auto& i : m.items())
        if (i->visible) {
            out.push_back(i->name());
            visibleNames(*i, out);
        }
}
}  // namespace

void FakePeer::popup(ui::PopupMenu& m, int, int) {
    std::vector<std::string> names;
    visibleNames(m.root(), names);
    popups.push_back(names);
    if (choosing) choosing(m);
}

void FakeUi::realize(ui::Form& f) {
    if (failRealize.count(f.className())) throw platform::WindowError("cannot make " + f.className());
    auto& p = peers[&f];
    // A new form where a destroyed one lived gets a peer of its own.
    if (p && p->destroyed) p.reset();
    if (!p) {
        p = std::make_unique<FakePeer>(f, 1000 + peers.size());
        ui::Form* form = &f;
        p->posting = [this, form](unsigned msg) { posted.emplace_back(form, msg); };
        p->gone = [this, form] { std::erase(live, form); };
        p->choosing = [this](ui::PopupMenu& m) {
            if (onMenu) onMenu(m);
        };
        f.attachPeer(p.get());
        live.push_back(&f);
    }
    if (f.onCreate) f.onCreate();
}

// As the system's: the loop ends when the window closes, or when the program
// ends its message loop (the window is then destroyed without a close).
void FakeUi::showModal(ui::Form& f) {
    modalForms.push_back(f.className());
    if (!f.closed() && !terminated_) {
        f.show();
        f.paint();
        modalStack.push_back(&f);
        struct Pop {
            std::vector<ui::Form*>& stack;
            ~Pop() { stack.pop_back(); }
        } pop{modalStack};
        deliverPosted();
        if (onModal && !f.closed() && !terminated_) onModal(f);
    }
    if (!f.closed() && !terminated_) f.close();
    f.destroy();
}

void FakeUi::deliverPosted() {
    while (!posted.empty() && !terminated_) {
        const auto [form, msg] = posted.front();
        posted.pop_front();
        // A window that has gone takes its messages with it.
        if (std::find(live.begin(), live.end(), form) != live.end() && form->onMessage) form->onMessage(msg, 0, 0);
    }
}

void FakeUi::minimizeApp() {
    ++minimized;
    for (auto& [form, peer] : peers)
        if (peer->onScreen && std::find(live.begin(), live.end(), form) != live.end()) {
            peer->onScreen = false;
            hiddenByMinimize_.push_back(form);
        }
}

void FakeUi::restoreApp() {
    ++restored;
    for (const ui::Form* form : std::exchange(hiddenByMinimize_, {}))
        if (std::find(live.begin(), live.end(), form) != live.end() && form->visible()) peers.at(form)->onScreen = true;
}

namespace {
// The first of the user's tries that the dialog lets close.
std::optional<std::string> firstAccepted(const ui::FileDialog& d, std::vector<std::string> tries) {
    for (const std::string& path : tries)
        if (!d.canClose || d.canClose(path)) return path;
    return std::nullopt;
}
}  // namespace

std::optional<std::string> FakeUi::openFile(const ui::OpenFileDialog& d) {
    fileDialogs.push_back(d);
    return firstAccepted(d, std::exchange(fileTries, {}));
}

std::optional<std::string> FakeUi::saveFile(const ui::SaveFileDialog& d) {
    saveDialogs.push_back(d);
    return firstAccepted(d, std::exchange(fileTries, {}));
}

int FakeUi::messageBox(const std::string& text, const std::string& caption, unsigned flags) {
    boxes.push_back({text, caption, flags});
    ++boxesOpen;
    struct Close {
        int& n;
        ~Close() { --n; }
    } close{boxesOpen};
    if (onBox) onBox();
    if (answers.empty()) return ui::kIdOk;
    const int a = answers.front();
    answers.pop_front();
    return a;
}

int FakeUi::ownedMessageBox(ui::Form& owner, const std::string& text, const std::string& caption, unsigned flags) {
    boxes.push_back({text, caption, flags, &owner});
    ++boxesOpen;
    struct Close {
        int& n;
        ~Close() { --n; }
    } close{boxesOpen};
    if (onBox) onBox();
    if (answers.empty()) return ui::kIdOk;
    const int a = answers.front();
    answers.pop_front();
    return a;
}

// ---- the program under test -----------------------------------------------------------------

namespace {
std::filesystem::path freshDir() {
    static std::atomic<int> n{0};
    const auto base = std::filesystem::temp_directory_path() /
                      ("lumivo-unit-" + std::to_string(::getpid()) + "-" + std::to_string(n++));
    std::filesystem::remove_all(base);
    std::filesystem::create_directories(base);
    return base;
}
}  // namespace

TestApp::TestApp(bool portable)
    : dir(freshDir()),
      app(app::Ports{clock, portable ? static_cast<platform::Registry&>(store) : registry, audio, shell, power, system,
                     mail, ui}) {
    if (portable) {
        std::ofstream(dir / settings::kPortableMarker) << "portable";
        app.portable = &store;
    }
    system.exe = dir / "Lumivo.exe";
    system.localData = dir / "LocalAppData";
    clock.set(2026, 12, 7, 10, 15, 25);
    app.choosePaths();
}

TestApp::~TestApp() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

std::vector<std::string> LoggedCodes(const app::App& app) {
    std::vector<std::string> codes;
    std::ifstream in(app.guard.logFile());
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.starts_with("Adress = ")) codes.push_back(line.substr(9));
        if (line.starts_with("Type = ") && !codes.empty()) codes.back() += " " + line.substr(7);
    }
    return codes;
}

// ---- simulated time --------------------------------------------------------------------------

void Scheduler::run(std::int64_t ms) {
    const std::int64_t end = clock_.millis() + ms;
    for (;;) {
        ui::Timer* next = nullptr;
        std::int64_t due = std::numeric_limits<std::int64_t>::max();
        for (ui::Form* f : forms_) {
            if (f->destroyed()) continue;
            for (auto& t : f->timers()) {
                if (!t->enabled()) continue;
                Track& tr = tracks_[t.get()];
                const std::int64_t step = std::max<std::int64_t>(t->interval(), 10);
                if (tr.generation != t->generation() || tr.due == 0) {
                    tr.generation = t->generation();
                    tr.due = clock_.millis() + step;
                }
                if (tr.due < due) {
                    due = tr.due;
                    next = t.get();
                }
            }
        }
        if (!next || due > end) break;
        clock_.advance(due - clock_.millis());
        Track& tr = tracks_[next];
        tr.due += std::max<std::int64_t>(next->interval(), 10);
        ++tr.count;
        next->fire();
        if (ui_) ui_->deliverPosted();
    }
    if (clock_.millis() < end) clock_.advance(end - clock_.millis());
}

std::int64_t Scheduler::fired(const std::string& timerName) const {
    std::int64_t n = 0;
    for (auto& [t, tr] : tracks_)
        if (t->name() == timerName) n += tr.count;
    return n;
}

}  // namespace fakes
