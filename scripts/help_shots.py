"""Takes the help pages' pictures from the real program under Wine: each window opened as a user
would, cut out of the screen by its own rectangle. Run by scripts/help-shots.sh, which sets up
Wine, the display and the environment the end-to-end helpers read."""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.dont_write_bytecode = True  # no compiled copy of the test module left in the tree
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import test_e2e as e2e  # noqa: E402  (reads the environment the wrapper set)

IMG = os.environ.get("LUMIVO_HELP_IMG", os.path.join(ROOT, "assets", "Help", "img"))
# A Tuesday morning, away from every seeded reminder, the hour and the half hour; it stands still.
WHEN = "2026-12-08 10:15:02"
VOICE = "Женский голос"

# The same settings and reminders on every run, so the windows look the same.
SEED = r"""Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Decorated"="N"

[HKEY_CURRENT_USER\Control Panel\Desktop]
"LogPixels"=dword:00000060

[HKEY_CURRENT_USER\Software\Vantrel\Lumivo\Settings]
"AlphaSet"=dword:000000e6
"AlphaUsed"=dword:00000001
"SecondsView"=dword:00000000
"ZeroFirstView"=dword:00000001
"AMPM24"=dword:00000000
"StayOnTop"=dword:00000001
"AutoLaunch"=dword:00000002
"ItemQE"=dword:00000001
"ItemST"=dword:00000001
"GlobalHotkeys"=dword:00000001
"BackUp"="09:40 01.12.26"

[HKEY_CURRENT_USER\Software\Vantrel\Lumivo\Settings\Sound]
"TimeOfLow"=dword:00000001
"TimeOfLowF"=dword:00000016
"TimeOfLowS"=dword:00000008
"SoundHEnabled"=dword:00000000
"SoundHType"=dword:00000000
"VoiceEnabled"=dword:00000002
"VoiceType"="%(voice)s"

[HKEY_CURRENT_USER\Software\Vantrel\Lumivo\Settings\Position]
"Left"=dword:000000c8
"Top"=dword:00000050

[HKEY_CURRENT_USER\Software\Vantrel\Lumivo\Settings\QuickExit]
"QSDIcon"=dword:00000001
"TypeTime"=dword:00000000
"ModeWork"=dword:00000000
"MsgDlg"=dword:00000001

[HKEY_CURRENT_USER\Software\Vantrel\Lumivo\Remind]
"RemindCount"=dword:00000003

[HKEY_CURRENT_USER\Software\Vantrel\Lumivo\Remind\Remind1]
"Name"="Обед"
"RemindEnabled"=dword:00000001
"OneLaunch"=dword:00000000
"TimeH"="13"
"TimeM"="00"
"SoundType"=dword:00000001
"IgnoreLowTime"=dword:00000000
"IgnoreDisSound"=dword:00000000
"MD6"=dword:00000000
"MD7"=dword:00000000

[HKEY_CURRENT_USER\Software\Vantrel\Lumivo\Remind\Remind2]
"Name"="Размяться"
"RemindEnabled"=dword:00000001
"OneLaunch"=dword:00000000
"TimeH"="**"
"TimeM"="45"
"VoiceType"="%(voice)s"
"IgnoreLowTime"=dword:00000000
"IgnoreDisSound"=dword:00000000
"MD6"=dword:00000000
"MD7"=dword:00000000

[HKEY_CURRENT_USER\Software\Vantrel\Lumivo\Remind\Remind3]
"Name"="Позвонить маме"
"RemindEnabled"=dword:00000000
"OneLaunch"=dword:00000001
"TimeH"="19"
"TimeM"="30"
"SoundType"=dword:00000000
"IgnoreLowTime"=dword:00000001
"IgnoreDisSound"=dword:00000000
"MsgCaption"="Внимание..."
"MsgText"="Позвонить маме\r\n"
"MsgIcon"=dword:00000001
""" % {"voice": VOICE}


def seed_registry():
    with tempfile.NamedTemporaryFile(suffix=".reg", dir=e2e.LOGS, delete=False) as f:
        f.write(SEED.replace("\n", "\r\n").encode("utf-16"))
    rc, out = e2e.wine("reg", "import", f.name)
    if rc != 0:
        raise RuntimeError("reg import failed: " + out)


def save(name, rect, margin=0):
    """Cuts rect out of the screen into IMG/name.png, small and without dates (same bytes every run)."""
    x, y = max(rect["x"] - margin, 0), max(rect["y"] - margin, 0)
    w, h = rect["w"] + 2 * margin, rect["h"] + 2 * margin
    full = os.path.join(e2e.LOGS, "screen.png")
    e2e.run(["import", "-window", "root", full], timeout=20, env=os.environ)
    cut = os.path.join(e2e.LOGS, "cut.png")
    e2e.run(["convert", full, "-crop", "%dx%d+%d+%d" % (w, h, x, y), "+repage", "-strip", cut], env=os.environ)
    colours = int(subprocess.check_output(["identify", "-format", "%k", cut]).decode() or 0)
    out = os.path.join(IMG, name + ".png")
    # A palette when the window has few enough colours: lossless and a third of the size.
    kind = "PNG8:" if colours <= 256 else "PNG24:"
    e2e.run(["convert", cut, "-strip", "-define", "png:exclude-chunks=date,time", "-quality", "95", kind + out],
            env=os.environ)
    print("  %-22s %4dx%-4d %3d colours %6d bytes" % (name + ".png", w, h, min(colours, 999), os.path.getsize(out)))


def use_fonts():
    """Fonts for this prefix only (the caption buttons' Marlett, see help-shots.sh)."""
    src = os.environ.get("LUMIVO_HELP_FONTS")
    if not src:
        return
    dest = os.path.join(e2e.PREFIX, "drive_c", "windows", "Fonts")
    os.makedirs(dest, exist_ok=True)
    for name in sorted(os.listdir(src)):
        if name.endswith(".ttf"):
            shutil.copyfile(os.path.join(src, name), os.path.join(dest, name))


def show_page(cls, caption, n):
    """Page n of a window's tabs, by a click on its tab as a user would."""
    rc, out = e2e.driver("tabrect", cls, caption, 0, n)
    if rc != 0:
        raise AssertionError("no tab %d in %s" % (n, caption))
    r = dict(kv.split("=") for kv in out.split())
    e2e.xdotool("mousemove", int(r["x"]) + int(r["w"]) // 2, int(r["y"]) + int(r["h"]) // 2, "sleep", 0.2,
                "click", 1, "sleep", 0.4)


def quiet_pointer():
    """The pointer off every window: no hover colours, no hints in the pictures."""
    e2e.xdotool("mousemove", 1270, 1010)
    time.sleep(0.8)


def window(cls, caption):
    rows = e2e.wait_until(lambda: e2e.visible(cls, caption), 10)
    if not rows:
        raise AssertionError("no window %s / %s" % (cls, caption))
    return rows[0]


def rect_union(a, b):
    x, y = min(a["x"], b["x"]), min(a["y"], b["y"])
    return {"x": x, "y": y, "w": max(a["x"] + a["w"], b["x"] + b["w"]) - x,
            "h": max(a["y"] + a["h"], b["y"] + b["h"]) - y}


class HelpShots(e2e.SettingsDriving, e2e.ProgramTest):

    def setUp(self):
        super().setUp()
        seed_registry()
        use_fonts()

    def shot(self, name, cls, caption, margin=0):
        quiet_pointer()
        save(name, window(cls, caption), margin)

    def test_shots(self):
        os.makedirs(IMG, exist_ok=True)
        # The wall clock stands still at WHEN (the timers run on the monotonic clock): the same minute
        # for every picture, however long the run takes.
        fake = {"NO_FAKE_STAT": "1", "LD_PRELOAD": e2e.FAKETIME_LIB, "FAKETIME_DONT_FAKE_MONOTONIC": "1",
                "FAKETIME": WHEN}
        self.assertTrue(e2e.start_clock(self.prog, extra_env=fake), "the clock shows")
        self.assertTrue(e2e.wait_until(lambda: (e2e.clock() or {}).get("alpha") == 230, 15), "faded in")
        e2e.driver("close", "TFormSplashScreen", "*")
        self.assertTrue(e2e.wait_until(lambda: not e2e.visible("TFormSplashScreen"), 5), "splash closed")
        self.clock_and_menu()
        self.settings_and_reminder_editor()
        self.quick_exit()
        self.about_and_error()

    def clock_and_menu(self):
        quiet_pointer()
        c = e2e.clock()
        save("clock", c, 8)
        pt = e2e.find_pixel(c, e2e.time_red)
        self.assertIsNotNone(pt, "the red time text on screen")
        e2e.xdotool("mousemove", pt[0], pt[1], "sleep", 0.3, "click", 3)
        menu = e2e.wait_until(lambda: e2e.visible("#32768"), 5)
        self.assertTrue(menu, "the clock's menu opens")
        time.sleep(0.5)
        e2e.xdotool("mousemove", 1270, 1010)
        time.sleep(0.5)
        save("menu", rect_union(c, menu[0]), 4)
        e2e.xdotool("key", "Escape")
        self.assertTrue(e2e.wait_until(lambda: not e2e.visible("#32768"), 5), "menu closed")

    def settings_and_reminder_editor(self):
        self.open()
        self.shot("settings-general", *e2e.SETTINGS)
        for n, name in ((1, "interface"), (2, "sounds"), (3, "reminders")):
            show_page(*e2e.SETTINGS, n)
            self.shot("settings-" + name, *e2e.SETTINGS)
        # The first line is selected: the reminder at every hour's 45th minute.
        e2e.driver("click", *e2e.SETTINGS, "&Редактировать")
        window(*e2e.SIGN)
        time.sleep(0.5)
        self.shot("reminder-time", *e2e.SIGN)
        show_page(*e2e.SIGN, 1)
        self.shot("reminder-actions", *e2e.SIGN)
        e2e.driver("click", *e2e.SIGN, "Показать сообщение...")
        window(*e2e.ADD_MSG)
        time.sleep(0.5)
        self.shot("reminder-message", *e2e.ADD_MSG)
        e2e.driver("click", *e2e.ADD_MSG, "&Отмена")
        self.assertTrue(e2e.wait_until(lambda: not e2e.info(*e2e.ADD_MSG), 5))
        e2e.driver("click", *e2e.SIGN, "&Отмена")
        self.assertTrue(e2e.wait_until(lambda: not e2e.info(*e2e.SIGN), 5))
        e2e.driver("close", *e2e.SETTINGS)
        self.assertTrue(e2e.wait_until(lambda: not e2e.info(*e2e.SETTINGS), 5))

    def quick_exit(self):
        e2e.driver("command", "TFormClock", "Lumivo", e2e.CMD["QuickExit"])
        window(*e2e.QSD)
        time.sleep(0.3)
        self.shot("quick-exit", *e2e.QSD)
        # Five minutes with the warning: it comes as the window closes.
        e2e.driver("settext", *e2e.QSD, 1, "5")
        time.sleep(0.3)
        e2e.driver("click", *e2e.QSD, "Зап&уск")
        self.assertTrue(e2e.wait_until(lambda: [r for r in e2e.children_of(*e2e.QSD) if r["text"] == "&Стоп"], 5),
                        "the count runs")
        e2e.driver("click", *e2e.QSD, "&Закрыть")
        window(*e2e.WARNING)
        time.sleep(0.5)
        self.shot("quick-exit-warning", *e2e.WARNING)
        e2e.driver("click", *e2e.WARNING, "&Изменить настройки...")
        window(*e2e.QSD)
        time.sleep(0.5)
        self.shot("quick-exit-running", *e2e.QSD)
        e2e.driver("click", *e2e.QSD, "&Стоп")
        time.sleep(0.3)
        e2e.driver("click", *e2e.QSD, "&Закрыть")
        self.assertTrue(e2e.wait_until(lambda: not e2e.info(*e2e.QSD), 5))

    def about_and_error(self):
        e2e.driver("command", "TFormClock", "Lumivo", e2e.CMD["AboutPro"])
        window("TFormAbout", "О программе...")
        time.sleep(0.5)
        self.shot("about", "TFormAbout", "О программе...")
        e2e.driver("click", "TFormAbout", "О программе...", "&Ok")
        self.assertTrue(e2e.wait_until(lambda: not e2e.info("TFormAbout"), 5))
        # The hidden test command raises a failure: the error window as a user meets it.
        e2e.driver("command", "TFormClock", "Lumivo", e2e.CMD["Err"])
        window("TFormError", "Ошибка...")
        time.sleep(0.5)
        self.shot("error", "TFormError", "Ошибка...")
        e2e.driver("click", "TFormError", "Ошибка...", "&Игнорировать")
        self.assertTrue(e2e.wait_until(lambda: not e2e.info("TFormError"), 5))


if __name__ == "__main__":
    if not e2e.FAKETIME_LIB:
        sys.exit("help-shots: libfaketime is missing")
    result = unittest.main(argv=[sys.argv[0], "-v"], exit=False, warnings="ignore").result
    sys.exit(0 if result.wasSuccessful() else 1)
