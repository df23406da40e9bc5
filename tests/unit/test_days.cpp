// A user's days: the real program, driven in simulated time through long
// random sequences of what a user and the system do, with its promises
// checked after every step. A broken promise stops the run and prints the
// seed and the steps that led to it. The normal run walks eight seeds of
// 25,000 steps; LUMIVO_DAYS_SEED picks one seed, LUMIVO_DAYS_STEPS the number
// of steps for each.
#include <gtest/gtest.h>
#include <charconv>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include "app/AuxWindows.h"
#include "app/ClockWindow.h"
#include "app/Program.h"
#include "fakes/Fakes.h"
#include "forms/ClockMenuIds.h"
#include "quickexit/Rules.h"
#include "sound/TalkingClock.h"

namespace {

namespace fs = std::filesystem;
using platform::RegValue;
using Hive = platform::Hive;
using Type = RegValue::Type;
constexpr std::int64_t kSec = 1000, kMin = 60 * kSec, kHour = 60 * kMin;
const std::string kRemind = "software\\vantrel\\lumivo\\remind";

// The reminders as the store holds them, read past the program.
struct Stored {
    std::string caption;  // "R#<id>" for the ones whose firings are counted
    bool due = false, oneShot = false, checked = false;
    bool anyHour = false;
    int hour = 0, minute = 0;
    std::string days;  // the weekdays (1..7) it is off
};

std::optional<int> number(const RegValue* v, int max) {
    int x = -1;
    if (!v || v->type != Type::String) return std::nullopt;
    const char* end = v->text.data() + v->text.size();
    if (std::from_chars(v->text.data(), end, x).ptr != end || x < 0 || x > max) return std::nullopt;
    return x;
}

class Days {
public:
    Days(unsigned seed, long steps) : rng_(seed), budget_(steps) {}
    void run();
    long steps() const { return steps_; }
    // The promise broken, and the steps that led to it; empty when none was.
    std::string broken_, brokenTrail_;
    // What the walk went through, to show it reaches what it checks.
    std::map<std::string, long> seen;
    std::string trail() const {
        std::string s;
        for (const std::string& line : trail_) s += "  " + line + "\n";
        return s;
    }

private:
    // ---- the machine and the program on it ------------------------------------------------
    void start();
    void finish();
    app::ClockWindow& clock() { return program_->clock(); }
    bool ended() { return !program_ || t_->ui.terminated() || clock().form().closed(); }
    void say(const std::string& what);
    // The first promise broken stops the walk: the loops unwind, as they do
    // when the program ends. Not an exception: the program's handlers would
    // catch it as one of their own failures.
    void fail(const std::string& what) {
        if (!broken_.empty()) return;
        broken_ = "step " + std::to_string(steps_) + ": " + what;
        brokenTrail_ = trail();
    }
    bool going() { return broken_.empty() && steps_ < budget_ && !ended(); }
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(rng_); }
    std::string now();

    // ---- what happens ---------------------------------------------------------------------
    void loop(ui::Form* modal);
    void step(ui::Form* modal);
    void advance(std::int64_t ms, bool coarse);
    void system(unsigned msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) {
        if (!ended()) clock().form().onMessage(msg, wParam, lParam);
    }
    bool settingsOpen() {
        for (ui::Form* f : t_->ui.live)
            if (f->className() == "TFormSettings" && !f->closed()) return true;
        return false;
    }
    bool failing() {
        return injected_ > 0 || t_->registry.failAt > 0 || t_->registry.failReadAt > 0 || t_->registry.denyCurrentUser;
    }
    void menu(bool fromIcon);
    void chooseItem(ui::PopupMenu& m);
    void hotKey();
    void editStore();
    void monkey(ui::Form& f);
    void clickQuickExit(ui::Form& f, ui::Button& b);
    int box();

    // ---- the promises -----------------------------------------------------------------------
    void check();
    void checkNow();
    void readStore();
    void beforeTick();
    void afterTick();
    void fired(const std::string& caption);
    void powerAction(const std::string& action);
    std::optional<int> hintLeft();
    void settle() {
        settledAt_ = t_->clock.millis();
        stale_ = false;
    }

    std::mt19937 rng_;
    long budget_, steps_ = 0;
    std::unique_ptr<fakes::TestApp> t_;
    std::unique_ptr<app::Program> program_;
    std::deque<std::string> trail_;
    int depth_ = 0, nextId_ = 1, injected_ = 0;
    std::map<const ui::Timer*, std::pair<unsigned, std::int64_t>> due_;  // generation, next firing
    bool userEnded_ = false, handOver_ = false, confirmed_ = false, confirmKnown_ = true;
    // The clock as the user left it: hidden to the notification area or not.
    bool userHid_ = false;
    // Reminders: the store as last read, since when the program must know it.
    std::vector<Stored> store_;
    bool regular_ = true, damaged_ = false, damagedInRun_ = false, storeDirty_ = true, stale_ = false;
    bool injecting_ = false;
    std::size_t writesSeen_ = 0;
    std::int64_t settledAt_ = 0;
    long long tickMinute_ = -1, owedMinute_ = -1, halfHour_ = -1;
    std::vector<std::string> owed_;
    // By minute: each reminder fired, and in which pass of the clock over that minute.
    std::map<long long, std::map<std::string, int>> firings_;
    int pass_ = 0;  // a clock set back lives its minutes again
    std::set<long long> excused_;
    std::set<std::string> sharedCaptions_;
    std::uintmax_t logSize_ = 0;
    // The quick exit as the user set it: 0 idle, 1 running, 2 paused.
    int qsd_ = 0, qsdActs_ = 0;
    std::string qsdAction_;
    std::int64_t qsdDeadline_ = 0;  // it acts before this moment
    int qsdLeftAtPause_ = 0;
    bool qsdStarting_ = false;
    ui::MenuItem* chosen_ = nullptr;
};

std::string Days::now() {
    const platform::LocalTime t = t_->clock.now();
    char s[40];
    std::snprintf(s, sizeof s, "%02d.%02d %02d:%02d:%02d.%03d", t.day, t.month, t.hour, t.minute, t.second,
                  t.millisecond);
    return s;
}

void Days::say(const std::string& what) {
    trail_.push_back(std::to_string(steps_) + " " + now() + " [" + std::to_string(depth_) + "] " + what);
    if (trail_.size() > 80) trail_.pop_front();
}

// ---- the machine ------------------------------------------------------------------------------

// A start at log-on, or by the error window's restart: the stored settings,
// reminders and the clock go on from the run before.
void Days::start() {
    auto next = std::make_unique<fakes::TestApp>();
    if (t_) {
        next->registry.values = t_->registry.values;
        next->registry.keys = t_->registry.keys;
        next->clock = t_->clock;
    } else {
        next->clock.set(2026, 12, 7, 9, 58, 40);
    }
    program_.reset();
    t_ = std::move(next);
    fakes::TestApp& t = *t_;
    const fs::path voice = t.dir / "Sounds" / "Голос";
    fs::create_directories(voice);
    for (const char* f : sound::kVoiceFiles) std::ofstream(voice / f) << "RIFF";
    t.ui.screens = {{{0, 0, 1280, 1024}, {0, 0, 1280, 994}}};
    t.ui.onModal = [this](ui::Form& f) { loop(&f); };
    t.ui.onBox = [this] { t_->ui.answers.push_front(box()); };
    t.ui.onMenu = [this](ui::PopupMenu& m) { chooseItem(m); };
    t.power.onSuspend = [this] { powerAction("suspend"); };
    t.power.onExit = [this] { powerAction(t_->power.calls.back()); };
    if (handOver_) t.system.windows[{"TFormClock", "LumivoError"}] = 4242;
    say(handOver_ ? "the new copy starts and takes over" : "the program starts");
    ++seen["runs"];
    program_ = std::make_unique<app::Program>(t.app);
    program_->moduleStartup();
    program_->start();
    t.system.windows.clear();
    ui::Timer& tick = clock().Timer1();
    tick.onTimer = [this, inner = tick.onTimer] {
        beforeTick();
        inner();
        t_->system.keys.clear();  // a press is seen by one poll, not by a window the tick opens
    };
    due_.clear();
    userEnded_ = handOver_ = userHid_ = false;
    qsd_ = qsdActs_ = 0;
    owed_.clear();
    firings_.clear(), excused_.clear();  // a run remembers its own; a clock set back past a restart may bring one round again
    damagedInRun_ = false;
    readStore();
    logSize_ = 0;
    settle();
    halfHour_ = -1;
    clock().form().paint();  // loads: the first of the program's own windows may open here
    program_->splash().form().paint();
    // Until its first settings window is confirmed, every start is a first launch.
    const bool greets = t.app.load.FirstLaunch5 != 0;  // 2 once the splash has gone
    if (confirmKnown_ && greets == confirmed_)
        fail(confirmed_ ? "a confirmed first launch greets again" : "a first launch was lost unconfirmed");
    confirmed_ = !greets;
    confirmKnown_ = true;
}

// The message loop has ended: the windows go, then the end step.
void Days::finish() {
    say(userEnded_ ? "the program ends" : "the program ends by itself");
    const bool acting = !userEnded_ && qsd_ == 1 && qsdAction_ != "Спящий режим";
    const int before = qsdActs_;
    program_->finish();
    if (acting && qsdActs_ == before) fail("the program ended for a quick exit that did nothing");
    qsd_ = 0;
    program_.reset();
    t_->ui.onBox = nullptr;
    const std::int64_t off = pick(1, 3);  // one draw per statement: the same walk from every compiler
    advance(off * (chance(0.5) ? kMin : kHour), false);  // off, or logged off
}

void Days::run() {
    start();
    while (broken_.empty() && steps_ < budget_) {
        loop(nullptr);
        if (!ended()) break;
        finish();
        start();
    }
    if (!ended() && broken_.empty()) {
        userEnded_ = true;
        t_->ui.answers = {ui::kIdYes};
        clock().MainPoM().item("ExitPOM").click();
    }
    finish();
}

// One loop per modal window, as the system runs one: it ends when its window closes.
void Days::loop(ui::Form* modal) {
    ++depth_;
    if (modal) say("opens " + modal->className()), ++seen[modal->className()];
    while (!ended() && !(modal && modal->closed())) {
        if (!going() || depth_ > 6) {
            if (modal) modal->close();
            break;
        }
        step(modal);
        check();
    }
    --depth_;
    // Its close looked for the next reminder.
    if (modal && modal->className() == "TFormSettings") settle();
}

// A message box: the user answers it, sooner or later.
int Days::box() {
    const fakes::FakeUi::Box b = t_->ui.boxes.back();
    say("box \"" + b.caption + "\": " + b.text.substr(0, 60));
    if (b.caption.starts_with("R#") && b.owner == &clock().form()) fired(b.caption);  // not the editor's preview
    ++depth_;
    while (going() && depth_ <= 6 && !chance(0.3)) {
        step(nullptr);
        check();
    }
    --depth_;
    return (b.flags & ui::kMbYesNo) ? (chance(0.5) ? ui::kIdYes : ui::kIdNo) : ui::kIdOk;
}

void Days::step(ui::Form* modal) {
    ++steps_;
    if (depth_ == 1) {
        t_->audio.beeps.clear(), t_->audio.played.clear(), t_->audio.mci.clear();
        t_->registry.reads.clear(), t_->shell.calls.clear(), t_->ui.modalForms.clear();
        t_->ui.peer(clock().form()).popups.clear();
    }
    if (injected_ > 0 && --injected_ == 0)
        t_->registry.denyCurrentUser = false, t_->registry.failReadAt = 0, t_->audio.failMci.clear();
    injecting_ = injecting_ || failing();  // until the record it may cause is seen
    const bool top = depth_ == 1 && !modal;
    const int r = pick(0, 99);
    ++seen["steps at depth " + std::to_string(depth_)];
    try {
        if (modal && r < 45) {
            monkey(*modal);
        } else if (r < 70) {
            const int kind = pick(0, 9);
            const std::int64_t ms = kind < 6 ? pick(50, 5000) : kind < 9 ? pick(5, 180) * kSec : pick(3, 45) * kMin;
            say("time passes: " + std::to_string(ms) + " ms");
            advance(ms, ms > 5 * kSec);
        } else if (r < 72) {
            const std::int64_t gap = pick(30, 8 * 3600) * kSec;
            say("sleeps " + std::to_string(gap / kSec) + " s, and wakes");
            t_->clock.advance(gap);
            settle(), halfHour_ = -1;
            system(forms::kMsgPowerBroadcast, chance(0.5) ? forms::kPbtResumeAutomatic : forms::kPbtResumeSuspend);
        } else if (r < 74) {
            const int unit = pick(0, 2);
            const std::int64_t by = pick(-50, 50) * (unit == 0 ? kSec / 10 * 10 : unit == 1 ? kMin / 2 : kHour / 10);
            say("the clock is set by " + std::to_string(by / kSec) + " s");
            t_->clock.advance(by);
            settle(), halfHour_ = -1;
            if (by < 0) ++pass_;
            if (qsd_ == 1 && by < 0) {
                // Set back, a running quick exit keeps its time of day: the next one, within a day.
                const long long now = t_->clock.millis() / kMin, due = qsdDeadline_ / kMin - 2;
                qsdDeadline_ = (now + ((due - now) % 1440 + 1440) % 1440 + 2) * kMin;
            }
            system(forms::kMsgTimeChange);
        } else if (r < 75) {
            const int w = pick(800, 2560), h = pick(600, 1600);
            say("the display changes to " + std::to_string(w) + "x" + std::to_string(h));
            t_->ui.screens = {{{0, 0, w, h}, {0, 0, w, h - 30}}};
            if (chance(0.3)) t_->ui.screens.push_back({{w, 0, 1024, 768}, {w, 0, 1024, 738}});
            system(forms::kMsgDisplayChange);
        } else if (r < 76) {
            const bool ends = chance(0.05);
            say(ends ? "the session ends" : "the session's end is asked, then refused");
            if (!clock().form().onMessage(forms::kMsgQueryEndSession, 0, 0)) fail("the session's end was held up");
            if (ends) userEnded_ = true;
            system(forms::kMsgEndSession, ends ? 1 : 0);
        } else if (r < 84) {
            menu(true);
        } else if (r < 89 && top) {
            menu(false);
        } else if (r < 91 && top) {
            std::vector<ui::Control*> marks;
            for (const char* n : {"ImageGreen", "ImageYellow", "ImageOrange", "ImageRed"})
                if (clock().form().find(n)->visible()) marks.push_back(clock().form().find(n));
            if (!marks.empty()) {
                say("clicks the mark " + marks[0]->name());
                marks[std::size_t(pick(0, int(marks.size()) - 1))]->onClick();
            }
        } else if (r < 92 && top) {
            say("drags the clock");
            ui::Label& l = clock().TimeMain();
            l.onMouseDown({ui::MouseButton::Left, 10, 10});
            const int dx = pick(-300, 300), dy = pick(-300, 300);
            l.onMouseMove({ui::MouseButton::Left, dx, dy});
            l.onMouseUp({ui::MouseButton::Left, 0, 0});
        } else if (r < 95) {
            hotKey();
        } else if (r < 98) {
            editStore();
        } else if (r < 99) {
            say("a failure is injected");
            injected_ = pick(1, 5);
            switch (pick(0, 3)) {
                case 0: t_->registry.failAt = pick(1, 6); break;
                case 1: t_->registry.failReadAt = pick(1, 60); break;
                case 2: t_->registry.denyCurrentUser = true; break;
                default: t_->audio.failMci = "open";
            }
            stale_ = true;
        } else if (top && chance(0.3)) {
            say("closes the program");
            const bool before = std::exchange(userEnded_, true);
            clock().MainPoM().item("ExitPOM").click();
            if (!ended()) userEnded_ = before;  // refused; a close asked around this one may still go on
        } else {
            advance(pick(50, 500), false);
        }
    } catch (const std::exception& e) {
        fail(std::string("a failure escaped a handler: ") + e.what());
    }
}

// The window system's timers in simulated time. Ticks due while a modal
// loop ran come once, as the system's timer messages do. A long wait ticks
// the fast timers every few seconds: the work of every minute still gets
// its ticks, at a fraction of the cost.
static std::int64_t period(const ui::Timer& t, bool coarse, std::int64_t slow) {
    const std::int64_t every = std::max(10u, t.interval());
    if (every >= 1000) return every;
    return coarse ? slow : every * slow;
}

void Days::advance(std::int64_t ms, bool coarse) {
    const std::int64_t end = t_->clock.millis() + ms;
    // A busy system delays the fast timers' messages; over long spans the tick comes every few seconds.
    const std::int64_t slow = coarse ? pick(2000, 9000) : pick(1, 4);
    while (!ended()) {
        ui::Timer* next = nullptr;
        std::int64_t at = end + 1;
        std::map<const ui::Timer*, std::pair<unsigned, std::int64_t>> kept;
        for (ui::Form* f : t_->ui.live)
            for (auto& timer : f->timers()) {
                if (!timer->enabled()) continue;
                const std::int64_t every = period(*timer, coarse, slow);
                auto track = due_.find(timer.get());
                auto& [generation, due] = kept[timer.get()];
                generation = timer->generation();
                if (track == due_.end() || track->second.first != generation) {
                    due = t_->clock.millis() + every;
                } else {
                    due = std::clamp(track->second.second, t_->clock.millis(), t_->clock.millis() + every);
                }
                if (due < at) at = due, next = timer.get();
            }
        due_ = std::move(kept);
        if (!next || at > end) break;
        t_->clock.advance(at - t_->clock.millis());
        due_[next].second = at + period(*next, coarse, slow);
        next->fire();
        t_->ui.deliverPosted();
        afterTick();
    }
    if (t_->clock.millis() < end) t_->clock.advance(end - t_->clock.millis());
}

// ---- the user ------------------------------------------------------------------------------------

void Days::menu(bool fromIcon) {
    if (fromIcon && chance(0.3)) {
        say("double-clicks the icon");
        userHid_ = false;
        system(forms::kMsgTrayCallback, 0, forms::kTrayDoubleClick);
        return;
    }
    say(fromIcon ? "right-clicks the icon" : "right-clicks the clock");
    if (fromIcon) system(forms::kMsgTrayCallback, 0, forms::kTrayRightButtonDown);
    else clock().form().popup(clock().MainPoM(), 100, 100);
    // The command comes once the menu has closed, as the system sends it.
    if (ui::MenuItem* item = std::exchange(chosen_, nullptr)) {
        say("chooses " + item->name());
        const std::string n = item->name();
        if (n == "HidePOM") userHid_ = true;
        if (n == "N8" || n == "N4") userHid_ = false;
        const bool before = userEnded_;
        if (n == "ExitPOM") userEnded_ = true;
        item->click();
        if (n == "ExitPOM" && !ended()) userEnded_ = before;
    }
}

void Days::chooseItem(ui::PopupMenu& m) {
    std::vector<ui::MenuItem*> items;
    std::function<void(ui::MenuItem&)> walk = [&](ui::MenuItem& parent) {
        for (auto& i : parent.items())
            if (i->visible && i->enabled && !i->separator()) {
                if (i->items().empty()) items.push_back(i.get());
                else walk(*i);
            }
    };
    walk(m.root());
    if (!items.empty() && !chance(0.1)) chosen_ = items[std::size_t(pick(0, int(items.size()) - 1))];
}

// Win+T speaks the time whenever no window of ours is open; Ctrl+T brings the clock back.
void Days::hotKey() {
    const bool speak = chance(0.6);
    say(speak ? "presses Win+T" : "presses Ctrl+T");
    const app::App& a = t_->app;
    const bool on = a.settings.GlobalHotkeys == 1;
    const bool expected = speak && on && a.session.ShowModalRes == 0 && !a.sound.SoundDisabled && !a.qsd.imminent();
    const std::size_t played = t_->audio.played.size();
    t_->system.keys[platform::kVkT] = std::int16_t(0x8001);
    t_->system.keys[speak ? platform::kVkLWin : platform::kVkControl] = std::int16_t(0x8001);
    if (!speak && on) userHid_ = false;  // before a window the tick posts opens its own loop
    advance(250, false);  // held past a late tick
    t_->system.keys.clear();
    if (expected && !ended() && t_->audio.played.size() == played) fail("Win+T said nothing with no window open");
}

// What another copy, a crash or a hand edit leaves in the store.
void Days::editStore() {
    fakes::FakeRegistry& reg = t_->registry;
    readStore();
    const int n = regular_ ? int(store_.size()) : 0;
    const auto key = [](int i) { return kRemind + "\\remind" + std::to_string(i); };
    const auto two = [](int v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    const int what = pick(0, 9);
    storeDirty_ = stale_ = true;
    // An editor open meanwhile may find its reminder gone: a failure it reports.
    if (settingsOpen()) damagedInRun_ = true;
    if (what < 5 && regular_ && n < 12) {
        const std::string caption = "R#" + std::to_string(nextId_++), k = key(n + 1);
        const platform::LocalTime at = [&] {
            fakes::FakeClock c = t_->clock;
            c.advance(pick(1, 90) * kMin);
            return c.now();
        }();
        say("stores reminder " + caption + " at " + two(at.hour) + ":" + two(at.minute));
        reg.putString(k, "Name", caption);
        reg.putDword(k, "RemindEnabled", 1);
        reg.putDword(k, "OneLaunch", chance(0.2));
        reg.putString(k, "TimeH", chance(0.15) ? "**" : two(at.hour));
        reg.putString(k, "TimeM", two(at.minute));
        if (chance(0.5)) reg.putDword(k, "SoundType", pick(0, 4));
        reg.putDword(k, "IgnoreLowTime", chance(0.5));
        reg.putDword(k, "IgnoreDisSound", chance(0.5));
        reg.putString(k, "MsgCaption", caption);
        reg.putString(k, "MsgText", "Напоминание " + caption);
        reg.putDword(k, "MsgIcon", pick(0, 4));
        if (chance(0.2)) reg.putDword(k, "MD" + std::to_string(pick(1, 7)), 0);
        reg.putDword(kRemind, "RemindCount", n + 1);
    } else if (what < 7 && n > 0) {
        const int i = pick(1, n);
        say("switches reminder " + std::to_string(i) + (store_[std::size_t(i - 1)].due ? " off" : " on"));
        reg.putDword(key(i), "RemindEnabled", !store_[std::size_t(i - 1)].due);
    } else if (what < 8) {
        const int how = pick(0, 4);
        say("damages the store (" + std::to_string(how) + ")");
        if (how == 0) reg.putDword(kRemind, "RemindCount", n + pick(1, 40));
        else if (how == 1) reg.putString(kRemind, "RemindCount", "много");
        else if (how == 2 && n > 0) reg.putString(key(pick(1, n)), "TimeM", "7x");
        else if (how == 3 && n > 0) reg.putString(key(pick(1, n)), "RemindEnabled", "да");
        else if (n > 1) {
            const std::string gone = fakes::FakeRegistry::norm(key(pick(1, n - 1)));
            std::erase_if(reg.keys, [&](const auto& k) { return k.second == gone; });
            std::erase_if(reg.values, [&](const auto& v) { return std::get<1>(v.first) == gone; });
        }
    } else {
        say("the store is made whole again");
        std::erase_if(reg.keys, [](const auto& k) { return k.second.starts_with(kRemind + "\\"); });
        std::erase_if(reg.values, [](const auto& v) { return std::get<1>(v.first).starts_with(kRemind + "\\"); });
        reg.putDword(kRemind, "RemindCount", 0);
    }
}

// The user at a window: any control that is shown and enabled, as a user may use it.
void Days::monkey(ui::Form& f) {
    std::vector<ui::Control*> can;
    for (auto& c : f.controls())
        if (c->showing() && c->enabled() && !c->isGraphic() && c->kind() != ui::ControlKind::UpDown &&
            c->kind() != ui::ControlKind::TabSheet && c->kind() != ui::ControlKind::Memo)
            can.push_back(c.get());
    if (can.empty() || chance(0.06)) {
        say("closes " + f.className() + " by its close box");
        f.close();
        return;
    }
    ui::Control& c = *can[std::size_t(pick(0, int(can.size()) - 1))];
    const std::string cls = f.className(), name = c.name(), what = cls + "." + name;
    if (auto* b = dynamic_cast<ui::Button*>(&c)) {
        say("presses " + what);
        if (cls == "TFormQuickShutDown" && (name == "Button1" || name == "Button3")) return clickQuickExit(f, *b);
        const bool before = userEnded_;
        if (cls == "TFormError" && (name == "Button2" || name == "Button1")) userEnded_ = true;
        const bool confirming = cls == "TFormSettings" && name == "ButtonOk" && !confirmed_, risky = failing();
        if (confirming) confirmKnown_ = false;  // windows its close opens see it half done
        b->onClick();
        if (confirming) {
            confirmed_ = f.closed();
            confirmKnown_ = !risky;  // a store that failed leaves the first launch open
        }
        // Restarting: the new copy starts, hands over and ends this one.
        if (cls == "TFormError" && name == "Button1" && !f.closed() && !f.visible()) {
            handOver_ = true;
            system(forms::kMsgRestartHandOver);
        }
        if (cls == "TFormError" && !ended()) userEnded_ = before;
    } else if (auto* box = dynamic_cast<ui::CheckBox*>(&c)) {
        say("ticks " + what);
        box->setChecked(!box->checked());
    } else if (auto* list = dynamic_cast<ui::ComboBox*>(&c)) {
        if (list->items().empty()) return;
        const int i = pick(0, int(list->items().size()) - 1);
        say("chooses " + what + " = " + list->items()[std::size_t(i)]);
        list->selectFromUser(i);
    } else if (auto* edit = dynamic_cast<ui::Edit*>(&c)) {
        // What the keys let through: digits, and stars for a reminder's hour.
        static const char* const texts[] = {"", "0", "1", "2", "5", "7", "9", "12", "23", "30", "45", "59", "60", "75",
                                            "**", "*", "*5"};
        const bool stars = cls == "TFormSign" && name == "FrameTimeSet1.EditH";
        const std::string text = name == "LabeledEdit1" ? "R#" + std::to_string(nextId_++)
                                                        : texts[pick(0, int(std::size(texts)) - (stars ? 1 : 4))];
        say("types \"" + text + "\" into " + what);
        edit->setTextFromUser(text);
    } else if (auto* bar = dynamic_cast<ui::TrackBar*>(&c)) {
        say("slides " + what);
        bar->setPosition(pick(bar->min, bar->max));
    } else if (auto* lines = dynamic_cast<ui::CheckListBox*>(&c)) {
        if (lines->items().empty()) return;
        const int i = pick(0, int(lines->items().size()) - 1);
        say("picks line " + std::to_string(i) + " of " + what);
        lines->setItemIndex(i);
        if (chance(0.5)) {
            lines->setItemChecked(i, !lines->items()[std::size_t(i)].checked);
            if (lines->onClickCheck) lines->onClickCheck(i);
        }
    } else if (auto* pages = dynamic_cast<ui::PageControl*>(&c)) {
        say("turns " + what);
        pages->setActivePage(pick(0, 3));
        if (pages->onChange) pages->onChange();
    }
}

std::optional<int> Days::hintLeft() {
    const std::string h = clock().form().find("ImageRed")->hint();
    const std::size_t at = h.find("через ");
    if (at == std::string::npos || h.size() < at + 16) return std::nullopt;
    return std::stoi(h.substr(at + 11, 2)) * 60 + std::stoi(h.substr(at + 14, 2));
}

// Start, stop, pause and resume as the user sees them take effect.
void Days::clickQuickExit(ui::Form& f, ui::Button& b) {
    ui::Button& go = f.get<ui::Button>("Button1");
    const bool idle = go.caption() != "&Стоп";
    const std::int64_t at = t_->clock.millis();
    const platform::LocalTime when = t_->clock.now();
    const std::string action = f.get<ui::ComboBox>("ComboBox1").text();
    const int mode = f.get<ui::ComboBox>("ComboBox2").itemIndex();
    auto field = [&](const char* n) {
        int v = -1;
        const std::string& s = f.get<ui::Edit>(n).text();
        if (s.empty()) return 0;
        return std::from_chars(s.data(), s.data() + s.size(), v).ptr == s.data() + s.size() ? v : -1;
    };
    const int h = field("FrameTimeSet1.EditH"), m = field("FrameTimeSet1.EditM");
    const bool starting = &b == &go && idle;
    if (starting) qsdAction_ = action, qsdStarting_ = true, qsdActs_ = 0;
    b.onClick();
    qsdStarting_ = false;
    if (ended()) {
        if (starting) qsd_ = 1;  // an action at once
        return;
    }
    const bool running = !f.closed() && go.caption() == "&Стоп";
    const bool paused = running && f.get<ui::Button>("Button3").caption() == "&Продолжить";
    if (starting && running) {
        ++seen["quick exits started"];
        const int left = mode == 0 ? h * 60 + m : ((h * 60 + m) - (when.hour * 60 + when.minute) + 1440) % 1440;
        qsd_ = 1;
        qsdDeadline_ = (at / kMin + left + 2) * kMin;
        if (hintLeft() != left) fail("the quick exit started shows a time left other than " + std::to_string(left));
    } else if (&b == &go && !idle && !running) {
        qsd_ = 0;
    } else if (&b != &go && qsd_ == 1 && paused) {
        qsd_ = 2;
        qsdLeftAtPause_ = int(std::max<std::int64_t>(0, qsdDeadline_ / kMin - 2 - at / kMin));
    } else if (&b != &go && qsd_ == 2 && running && !paused) {
        qsd_ = 1;
        const int left = hintLeft().value_or(-1);
        if (left < qsdLeftAtPause_ || left > qsdLeftAtPause_ + 1) fail("a pause changed the time left");
        qsdDeadline_ = (at / kMin + left + 2) * kMin;
    }
}

// ---- the promises -------------------------------------------------------------------------------------

void Days::readStore() {
    fakes::FakeRegistry& reg = t_->registry;
    storeDirty_ = false;
    writesSeen_ = reg.writes.size();
    store_.clear();
    regular_ = true;
    damaged_ = false;
    auto get = [&](const std::string& key, const char* name) -> const RegValue* {
        auto it = reg.values.find({Hive::CurrentUser, key, fakes::FakeRegistry::norm(name)});
        return it == reg.values.end() ? nullptr : &it->second;
    };
    int n = 0;
    if (const RegValue* count = get(kRemind, "RemindCount")) {
        if (count->type == Type::Dword && count->dword >= 0 && count->dword <= 100) n = count->dword;
        else regular_ = false;
    }
    for (int i = 1; i <= n; ++i) {
        const std::string key = kRemind + "\\remind" + std::to_string(i);
        if (!reg.keys.count({Hive::CurrentUser, key})) {
            regular_ = false;
            continue;
        }
        Stored x;
        const RegValue* enabled = get(key, "RemindEnabled");
        const RegValue* h = get(key, "TimeH");
        x.anyHour = h && h->type == Type::String && h->text == "**";
        const std::optional<int> hour = x.anyHour ? std::optional<int>(0) : number(h, 23);
        const std::optional<int> minute = number(get(key, "TimeM"), 59);
        x.checked = enabled && enabled->type == Type::Dword && hour && minute;
        x.due = x.checked && enabled->dword != 0;
        x.hour = hour.value_or(0), x.minute = minute.value_or(0);
        const RegValue* once = get(key, "OneLaunch");
        x.oneShot = once && once->type == Type::Dword && once->dword != 0;
        for (char d = '1'; d <= '7'; ++d)
            if (get(key, (std::string("MD") + d).c_str())) x.days += d;
        if (const RegValue* c = get(key, "MsgCaption"); c && c->text.starts_with("R#") && get(key, "MsgText") && get(key, "MsgIcon"))
            x.caption = c->text;
        damaged_ = damaged_ || !x.checked;
        store_.push_back(x);
    }
    // The editor gives a new reminder the last message: a caption on two
    // reminders tells no longer which one fired.
    std::map<std::string, int> uses;
    for (const Stored& x : store_) ++uses[x.caption];
    sharedCaptions_.clear();
    for (Stored& x : store_)
        if (!x.caption.empty() && uses[x.caption] > 1) sharedCaptions_.insert(std::exchange(x.caption, {}));
    damaged_ = damaged_ || !regular_;
    damagedInRun_ = damagedInRun_ || damaged_;  // the program tells of it once in a run, maybe later
}

namespace {
bool dueAt(const Stored& x, const platform::LocalTime& t) {
    const char day = char('0' + (t.weekday == 0 ? 7 : t.weekday));
    return x.due && x.minute == t.minute && (x.anyHour || x.hour == t.hour) && x.days.find(day) == std::string::npos;
}
}  // namespace

// From the first tick in the second half of a minute, every reminder due in it
// that the program can know of is owed; it is shown before the tick's next one.
void Days::beforeTick() {
    const std::int64_t ms = t_->clock.millis();
    const long long minute = ms / kMin;
    const int second = int(ms / kSec % 60);
    // The half-hour search, once in the minute (again after the clock was set).
    if (second >= 1 && minute % 30 == 0 && minute != halfHour_) {
        halfHour_ = minute;
        if (stale_ && !failing()) settle();
    }
    if (second < 31 || minute == tickMinute_) return;
    tickMinute_ = minute;
    owed_.clear();
    owedMinute_ = minute;
    if (storeDirty_ || t_->registry.writes.size() != writesSeen_) readStore();
    // A minute the program met while a failure was injected may have been
    // spent on a firing that failed: lived again, it owes nothing.
    if (excused_.count(minute)) return;
    if (stale_ || failing()) excused_.insert(minute);
    if (stale_ || !regular_ || failing() || settledAt_ > minute * kMin + 30 * kSec + 999 || settingsOpen()) return;
    // Two due at once: only the first fires, which the store's order decides.
    const platform::LocalTime t = t_->clock.now();
    if (std::count_if(store_.begin(), store_.end(), [&](const Stored& x) { return dueAt(x, t); }) != 1) return;
    for (const Stored& x : store_)
        if (dueAt(x, t) && !x.caption.empty() && !firings_[minute].count(x.caption)) owed_.push_back(x.caption);
}

void Days::afterTick() {
    if (owed_.empty() || ended()) return;
    seen["reminders owed"] += long(owed_.size());
    for (const std::string& caption : std::exchange(owed_, {}))
        if (!firings_[owedMinute_].count(caption)) fail("reminder " + caption + " did not fire in its minute");
}

void Days::fired(const std::string& caption) {
    ++seen["reminders fired"];
    if (sharedCaptions_.count(caption)) return;
    const std::int64_t ms = t_->clock.millis();
    const long long minute = ms / kMin;
    // Lived again, a reminder the user has edited since may fire there again.
    if (auto [at, fresh] = firings_[minute].emplace(caption, pass_); !fresh && at->second == pass_)
        fail(caption + " fired twice in its minute");
    if (ms / kSec % 60 < 31) fail(caption + " fired before second 31 of its minute");
    if (!regular_) return;
    const platform::LocalTime t = t_->clock.now();
    for (const Stored& x : store_)
        if (x.caption == caption && dueAt(x, t)) return;
    fail(caption + " fired though it is not due now (disabled, another day or another time)");
}

void Days::powerAction(const std::string& action) {
    say("power: " + action);
    ++seen["power: " + action];
    static const std::map<std::string, std::string> word = {
        {"exit 5", "Выключение"}, {"exit 6", "Перезагрузка"}, {"exit 4", "Выход из системы"}, {"suspend", "Спящий режим"}};
    if (qsd_ != 1 && !qsdStarting_) fail("a power action with no quick exit running: " + action);
    if (word.count(action) == 0 || word.at(action) != qsdAction_) fail(action + " for a quick exit set to " + qsdAction_);
    if (++qsdActs_ > 1) fail("the quick exit acted twice for one start");
    if (action == "suspend") qsd_ = 0;
}

void Days::check() {
    if (ended() || !broken_.empty()) return;
    try {
        checkNow();
    } catch (const std::exception& e) {
        fail(std::string("the check itself failed: ") + e.what());
    }
}

void Days::checkNow() {
    app::App& a = t_->app;
    // ShowModalRes counts the modal windows open, and nothing else.
    // A window counts itself from its making, and an error window may come
    // up before it opens.
    int open = 0, making = 0;
    for (const ui::Form* f : t_->ui.modalStack)
        if (!f->closed() && f->className() != "TFormAddMsg") ++open;
    for (ui::Form* f : t_->ui.live)
        if (f != &clock().form() && !f->closed() && !t_->ui.peer(*f).shown && f->className() != "TFormAddMsg" &&
            std::find(t_->ui.modalStack.begin(), t_->ui.modalStack.end(), f) == t_->ui.modalStack.end())
            ++making;
    if (a.session.ShowModalRes < open || a.session.ShowModalRes > open + making)
        fail("ShowModalRes is " + std::to_string(a.session.ShowModalRes) + " with " + std::to_string(open) +
             " modal windows open");

    // The clock on screen unless the user hid it; the menu as the clock is.
    if (a.load.Loading == 1 && t_->ui.peer(clock().form()).onScreen == userHid_)
        fail(userHid_ ? "a clock the user hid is on screen" : "the clock is not on screen");
    ui::PopupMenu& menu = clock().MainPoM();
    const settings::Settings& s = a.settings;
    const struct {
        const char* what;
        bool is, shouldBe;
    } items[] = {
        {"N8 shown", menu.item("N8").visible, userHid_},
        {"HidePOM shown", menu.item("HidePOM").visible, !userHid_},
        {"OnTopPOM shown", menu.item("OnTopPOM").visible, !userHid_},
        {"N4 shown", menu.item("N4").visible, false},
        {"OnTopPOM checked", menu.item("OnTopPOM").checked, s.StayOnTop == 1},
        {"on top", clock().form().stayOnTop(), s.StayOnTop == 1},
        {"SoundDiss checked", menu.item("SoundDiss").checked, a.sound.SoundDisabled},
        {"ViewSecondsA checked", menu.item("ViewSecondsA").checked, s.SecondsView},
        {"NillFirst checked", menu.item("NillFirst").checked, s.ZeroFirstView},
        {"PMAM24 checked", menu.item("PMAM24").checked, s.AMPM24},
        {"QuickExit shown", menu.item("QuickExit").visible, s.ItemQE},
        {"SetTime shown", menu.item("SetTime").visible, s.ItemST},
        {"N6 shown", menu.item("N6").visible, clock().TimerMySnd().enabled()},
    };
    for (const auto& i : items)
        if (i.is != i.shouldBe) fail(std::string("menu: ") + i.what + " is " + (i.is ? "on" : "off"));

    // The quick exit: as the user left it, its marks as its state calls for them.
    const quickexit::QuickExitState& q = a.qsd;
    auto shown = [&](const char* n) { return clock().form().find(n)->visible(); };
    const bool green = shown("ImageGreen"), yellow = shown("ImageYellow"), orange = shown("ImageOrange"),
               red = shown("ImageRed");
    const std::int64_t ms = t_->clock.millis();
    if (qsd_ != 0 && q.QSDWork == 0 && qsdActs_ == 0) {
        // Only a quick exit whose moment passed long ago goes by itself, with a word.
        if (ms < qsdDeadline_) fail("a quick exit stopped by itself");
        if (t_->ui.peer(clock().form()).balloons.empty()) fail("a missed quick exit was dropped without a word");
    }
    if (q.QSDWork == 0) qsd_ = 0;
    if (qsd_ != (q.QSDWork == 2 ? 2 : q.QSDWork == 1 ? 1 : 0)) fail("the quick exit is not as the user left it");
    if (qsd_ == 1 && ms >= qsdDeadline_)
        fail("the quick exit is late: " + std::to_string(q.QSDWTimerH) + ":" + std::to_string(q.QSDWTimerM) +
             " left, due " + std::to_string(q.QSDWTimeH) + ":" + std::to_string(q.QSDWTimeM) +
             (clock().Timer2().enabled() ? ", minute tick on" : ", minute tick off"));
    if (q.QSDWork == 0 && (yellow || orange || red || green != (s.QSDGreen == 1))) fail("the idle marks are wrong");
    if (q.QSDWork == 2 && (!yellow || green || orange || red)) fail("the paused marks are wrong");
    if (q.QSDWork == 1) {
        const int left = q.QSDWTimerH * 60 + q.QSDWTimerM;
        if (green || yellow || orange == red || (left > 5 && !orange) || (left >= 2 && left <= 5 && !red))
            fail("the running marks are wrong for " + std::to_string(left) + " minutes left");
        static const std::map<std::string, std::string> words = {{"Выключение", "Выключение "},
                                                                 {"Перезагрузка", "Перезагрузка "},
                                                                 {"Выход из системы", "Выход из системы "},
                                                                 {"Спящий режим", "Переход в спящий режим "}};
        if (!clock().form().find("ImageRed")->hint().starts_with(words.count(qsdAction_) ? words.at(qsdAction_) : "?"))
            fail("the marks tell another action than " + qsdAction_);
        for (ui::Form* f : t_->ui.live)
            if (f->className() == "TFormQuickShutDown" && !f->closed() &&
                f->get<ui::ComboBox>("ComboBox1").text() != qsdAction_)
                fail("the quick-exit window shows another action than " + qsdAction_);
    }

    // A first launch stores nothing until its settings window is confirmed.
    if (!confirmed_ && confirmKnown_ &&
        t_->registry.keys.count({Hive::CurrentUser, "software\\vantrel\\lumivo\\settings"}))
        fail("settings were stored before the first settings window was confirmed");

    // An error record comes only from an injected failure or a damaged value.
    if (storeDirty_ || t_->registry.writes.size() != writesSeen_) readStore();
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(a.guard.logFile(), ec);
    if (!ec && size > logSize_) {
        if (!injecting_ && !failing() && !damagedInRun_) {
            const std::vector<std::string> codes = fakes::LoggedCodes(a);
            fail("an error record with nothing injected or damaged: " + (codes.empty() ? "?" : codes.back()));
        }
        logSize_ = size;
        injecting_ = failing();
    }
    if (firings_.size() > 4000) firings_.erase(firings_.begin(), std::next(firings_.begin(), 2000));
    if (excused_.size() > 4000) excused_.erase(excused_.begin(), std::next(excused_.begin(), 2000));
}

}  // namespace

TEST(Days, ARandomUsersDaysKeepEveryPromise) {
    const char* seed = std::getenv("LUMIVO_DAYS_SEED");
    const char* steps = std::getenv("LUMIVO_DAYS_STEPS");
    const long each = steps ? std::atol(steps) : 25'000;
    std::vector<unsigned> seeds;
    if (seed) seeds.push_back(unsigned(std::strtoul(seed, nullptr, 10)));
    else for (unsigned s = 1; s <= 8; ++s) seeds.push_back(s);
    std::map<std::string, long> seen;
    for (unsigned s : seeds) {
        Days days(s, each);
        days.run();
        if (!days.broken_.empty())
            ADD_FAILURE() << "seed " << s << ", " << days.broken_ << "\nthe steps before:\n" << days.brokenTrail_;
        for (const auto& [what, n] : days.seen) seen[what] += n;
    }
    for (const auto& [what, n] : seen) std::printf("%8ld  %s\n", n, what.c_str());
}
