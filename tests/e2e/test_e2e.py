"""The real Lumivo.exe under Wine, checked from outside: windows, files, registry, screenshots."""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile
from contextlib import contextmanager
from pathlib import Path

PREFIX = os.environ["WINEPREFIX"]
DRIVER = os.environ["LUMIVO_E2E_DRIVER"]
DIST = os.environ["LUMIVO_E2E_DIST"]
OUT = os.environ["LUMIVO_E2E_OUT"]
ZIP = os.environ.get("LUMIVO_E2E_ZIP", "")
WINE_ENV = os.environ.get("LUMIVO_E2E_WINE_ENV", "")
ENV = dict(os.environ, WINEDEBUG=os.environ.get("WINEDEBUG", "-all"), WINEDLLOVERRIDES="mscoree,mshtml=")
LOGS = tempfile.mkdtemp(prefix="lumivo-e2e-")

CMD = {"N8": 102, "HidePOM": 103, "OnTopPOM": 104, "NillFirst": 107, "ViewSecondsA": 108, "PMAM24": 109, "QuickExit": 110,
       "N2": 111, "AboutPro": 114, "Err": 115, "ExitPOM": 116}
KEY = r"HKCU\Software\Vantrel\Lumivo"


def run(args, timeout=30, env=None, errors=False):
    """Runs a program to its end; output goes through files (Wine keeps pipes open).
    The exit code and the output, and with `errors` the error output too."""
    with tempfile.TemporaryFile(dir=LOGS) as out, tempfile.TemporaryFile(dir=LOGS) as err:
        rc = subprocess.call(["timeout", "-k", "5", str(timeout)] + args, stdout=out, stderr=err,
                             stdin=subprocess.DEVNULL, env=env or ENV, cwd=LOGS)
        out.seek(0)
        err.seek(0)
        said = out.read().decode("utf-8", "replace"), err.read().decode("utf-8", "replace")
        return (rc,) + said if errors else (rc, said[0])


def wine(*args, timeout=30, env=None):
    """Runs a Windows program. Now and then (one start in some thousands here) Wine ends the
    process before it runs, with exit code 1 and not a word. The programs run here say why they
    fail (reg its error, the driver its exit code each time), so such a start is made again."""
    for attempt in range(3):
        rc, out, err = run(["wine"] + list(args), timeout, env, errors=True)
        if rc != 1 or out or err.strip():
            break
        print("\n  wine %s: ended at once without a word, started again" % " ".join(map(str, args[:2])),
              file=sys.stderr)
    return rc, out


def driver(*args, timeout=30, env=None):
    return wine(DRIVER, *[str(a) for a in args], timeout=timeout, env=env)


def info(cls, caption="*", env=None):
    """The driver's description of each matching top-level window, as dicts."""
    rc, out = driver("info", cls, caption, env=env)
    rows = []
    for line in out.splitlines():
        if not line.startswith("hwnd="):
            continue
        head, _, cap = line.partition(" caption=")
        row = dict(kv.split("=", 1) for kv in head.split())
        row["caption"] = cap
        for k in ("visible", "x", "y", "w", "h", "cw", "ch", "layered", "alpha", "colorkey", "topmost"):
            row[k] = int(row[k])
        rows.append(row)
    return rows


def wait_until(pred, timeout=10.0, step=0.1):
    end = time.time() + timeout
    while True:
        value = pred()
        if value or time.time() > end:
            return value
        time.sleep(step)


def ended(proc, timeout):
    try:
        proc.wait(timeout)
        return True
    except subprocess.TimeoutExpired:
        return False


def reg(*args):
    return wine("reg", *args)


def time_red(r, g, b):
    """A pixel of the clock's red time text (its shadow and the see-through black are not)."""
    return r > 150 and g < 90 and b < 90


def screenshot(name):
    path = os.path.join(OUT, name + ".png")
    run(["import", "-window", "root", path], timeout=20, env=os.environ)
    return path


def root_pixels():
    """The screen as (width, height, bytes of RGB)."""
    with tempfile.NamedTemporaryFile(suffix=".ppm", dir=LOGS) as f:
        run(["import", "-window", "root", "-depth", "8", "ppm:" + f.name], timeout=20, env=os.environ)
        data = Path(f.name).read_bytes()
    parts = data.split(b"\n", 3)
    w, h = map(int, parts[1].split())
    return w, h, parts[3]


def find_pixel(rect, pred):
    """A screen point inside rect whose colour satisfies pred (r, g, b), or None."""
    w, h, px = root_pixels()
    x0, y0 = max(rect["x"], 0), max(rect["y"], 0)
    for y in range(y0 + rect["h"] // 3, min(y0 + rect["h"], h), 2):
        for x in range(x0, min(x0 + rect["w"], w), 2):
            i = (y * w + x) * 3
            if pred(px[i], px[i + 1], px[i + 2]):
                return x, y
    return None


def xdotool(*args):
    return run(["xdotool"] + [str(a) for a in args], timeout=20, env=os.environ)


class Program:
    """One installed copy of the program folder inside the prefix, and its running process."""

    def __init__(self, name, unpack=None):
        self.name = name
        self.dir = os.path.join(PREFIX, "drive_c", "Lumivo-" + name)
        shutil.rmtree(self.dir, ignore_errors=True)
        if unpack:
            # The release's zip, unpacked as a user would: its one folder, renamed.
            with zipfile.ZipFile(unpack) as z:
                z.extractall(self.dir + ".zip")
            os.rename(os.path.join(self.dir + ".zip", "Lumivo"), self.dir)
            os.rmdir(self.dir + ".zip")
        else:
            # What a user unpacks: none of the files a run leaves behind.
            shutil.copytree(DIST, self.dir, ignore=shutil.ignore_patterns("Error", "BackUp", "Tmp1", "Tmp2", "Tmp3"))
        self.exe = "C:\\Lumivo-%s\\Lumivo.exe" % name
        self.out = os.path.join(LOGS, name + ".out")  # what Wine and the program write, Wine's traces too
        self.procs = []

    def start(self, extra_env=None, env=None):
        env = dict(env or ENV, **(extra_env or {}))
        with open(self.out, "ab") as out:
            p = subprocess.Popen(["timeout", "-k", "5", "300", "wine", self.exe], stdout=out, stderr=out,
                                 stdin=subprocess.DEVNULL, env=env, cwd=LOGS)
        self.procs.append(p)
        return p

    def stop(self):
        for p in self.procs:
            if p.poll() is None:
                driver("command", "TFormClock", "Lumivo", CMD["ExitPOM"])
                break
        for p in self.procs:
            try:
                p.wait(15)
            except subprocess.TimeoutExpired:
                p.terminate()  # timeout passes it on to the program
                try:
                    p.wait(10)
                except subprocess.TimeoutExpired:
                    p.kill()
                    p.wait()
        # Nothing of this copy may linger into the next test.
        wait_until(lambda: not [w for w in info("TFormClock") if w["caption"] != ""], 10)

    def output(self):
        return Path(self.out).read_bytes().decode("utf-8", "replace")

    def log_lines(self):
        path = os.path.join(self.dir, "Error", "Debug.Log")
        if not os.path.exists(path):
            return []
        data = Path(path).read_bytes()
        return data.decode("utf-8-sig").split("\r\n")[:-1]


def children_of(cls, caption, env=None):
    """The driver's description of each child window, as dicts with their text."""
    rc, out = driver("children", cls, caption, env=env)
    rows = []
    for line in out.splitlines():
        head, _, text = line.partition(" text=")
        row = dict(kv.split("=", 1) for kv in head.split())
        row["text"] = text
        rows.append(row)
    return rows


def reg_query(key, name):
    """A value as `wine reg query` shows it: (type, data) or None. Only reg's own "Unable to
    find" means None: a query that failed otherwise (once, as the program had just ended) is
    asked again, and what it said goes to the error output."""
    for attempt in range(3):
        rc, out, err = run(["wine", "reg", "query", key, "/v", name], errors=True)
        for line in out.splitlines():
            parts = line.split(None, 2)
            if len(parts) >= 2 and parts[0].lower() == name.lower() and parts[1].startswith("REG_"):
                data = parts[2].strip() if len(parts) > 2 else ""
                if parts[1] == "REG_DWORD":
                    v = int(data, 16)
                    return parts[1], v - (1 << 32) if v >= 1 << 31 else v
                return parts[1], data
        if "unable to find" in (out + err).lower():
            return None
        print("\n  reg query %s /v %s: rc %d, said %r, asked again" % (key, name, rc, (out + err).strip()[-200:]),
              file=sys.stderr)
        time.sleep(0.3)
    return None


def reg_dword(key, name):
    v = reg_query(key, name)
    return v[1] if v and v[0] == "REG_DWORD" else None


def settle_registry():
    """Wine writes the registry files lazily; a query through the server is current."""
    time.sleep(0.3)


def clock(env=None):
    rows = [w for w in info("TFormClock", "Lumivo", env=env)]
    return rows[0] if rows else None


def start_clock(prog, **kw):
    """Starts the program and waits for its clock; a start Wine lost (see wine()) is made again."""
    for attempt in range(2):
        p = prog.start(**kw)
        c = wait_until(lambda: (clock() or {}).get("visible") and clock() or p.poll() == 1, 20)
        if c is not True:
            return c
        print("\n  %s: ended with exit code 1 before its clock showed, started again" % prog.exe, file=sys.stderr)
    return None


def clean_registry():
    reg("delete", r"HKCU\Software\Vantrel", "/f")
    reg("delete", r"HKCU\Software\Wine", "/v", "Version", "/f")


class ProgramTest(unittest.TestCase):
    """Each test gets its own copy of the program folder and a clean registry."""

    # A registry without the settings key is a first launch: its window and the
    # settings window follow the splash. Only the tests of that run want them.
    first_launch = False

    def setUp(self):
        clean_registry()
        if not self.first_launch:
            reg("add", KEY + r"\Settings", "/f")
        self.prog = Program(self.id().split(".")[-1])

    def tearDown(self):
        self.prog.stop()
        clean_registry()


class E2E(ProgramTest):

    def test_clock_window_fades_in_without_taskbar_button(self):
        c = start_clock(self.prog)
        self.assertTrue(c, "the clock window appears")
        self.assertEqual(c["class"], "TFormClock")
        self.assertEqual(c["caption"], "Lumivo")
        self.assertEqual(c["layered"], 1)
        self.assertEqual(c["colorkey"], 1)
        self.assertTrue(c["owner"] != "0000000000000000" or c["toolwindow"] == "1", "no taskbar button")
        self.assertEqual(c["appwindow"], "0")
        splash = info("TFormSplashScreen")
        self.assertTrue(splash and splash[0]["visible"], "splash up at start")
        screenshot("clock-and-splash")
        full = wait_until(lambda: (clock() or {}).get("alpha") == 255, 15)
        self.assertTrue(full, "faded in to full opacity")
        gone = wait_until(lambda: not [w for w in info("TFormSplashScreen") if w["visible"]], 10)
        self.assertTrue(gone, "splash gone within five seconds")
        screenshot("clock")

    def test_a_key_closes_the_splash(self):
        started = time.time()
        self.assertTrue(start_clock(self.prog))
        self.assertTrue([w for w in info("TFormSplashScreen") if w["visible"]], "splash up")
        pressed = time.time()
        xdotool("key", "space")
        gone = wait_until(lambda: not [w for w in info("TFormSplashScreen") if w["visible"]], 10)
        closed = time.time()
        self.assertTrue(gone, "the splash closes")
        # Its own timer cannot close it before five seconds from the process's
        # start; a start so slow that the key came late tells nothing.
        if pressed - started > 3.5:
            self.skipTest("the start took %.1f s: too late to tell the key from the timer" % (pressed - started))
        self.assertLess(closed - started, 5.0, "the key closed the splash, not its timer")

    def test_second_copy_brings_the_first_forward_and_ends(self):
        first = start_clock(self.prog)
        self.assertTrue(first)
        second = self.prog.start()
        second.wait(30)
        self.assertEqual(len([w for w in info("TFormClock") if w["caption"] == "Lumivo"]), 1)
        self.assertEqual(clock()["hwnd"], first["hwnd"])

    def test_left_drag_moves_right_drag_does_not(self):
        c = start_clock(self.prog)
        wait_until(lambda: (clock() or {}).get("alpha") == 255, 15)
        driver("close", "TFormSplashScreen", "*")
        time.sleep(0.5)
        c = clock()
        pt = find_pixel(c, time_red)
        self.assertIsNotNone(pt, "red time text on screen")
        x, y = pt
        xdotool("mousemove", x, y, "sleep", 0.2, "mousedown", 3, "sleep", 0.2, "mousemove", x + 80, y + 50,
                "sleep", 0.2, "mouseup", 3, "sleep", 0.3, "key", "Escape")
        time.sleep(0.5)
        after = clock()
        self.assertEqual((after["x"], after["y"]), (c["x"], c["y"]))
        xdotool("mousemove", x, y, "sleep", 0.2, "mousedown", 1, "sleep", 0.1, "mousemove", x + 40, y + 25,
                "sleep", 0.1, "mousemove", x + 80, y + 50, "sleep", 0.2, "mouseup", 1)
        moved = wait_until(lambda: (clock()["x"], clock()["y"]) == (c["x"] + 80, c["y"] + 50), 5)
        self.assertTrue(moved, "moved by the drag: %s -> %s" % ((c["x"], c["y"]), (clock()["x"], clock()["y"])))

    def test_hide_to_tray_and_restore_by_double_click(self):
        self.assertTrue(start_clock(self.prog))
        driver("command", "TFormClock", "Lumivo", CMD["HidePOM"])
        self.assertTrue(wait_until(lambda: not clock()["visible"], 5), "hidden")
        rc, out = xdotool("search", "--name", "Wine System Tray")
        tray = out.split()
        self.assertTrue(tray, "notification area window")
        rc, geo = run(["xwininfo", "-id", tray[0]], env=os.environ)
        x = int(re.search(r"Absolute upper-left X:\s+(-?\d+)", geo).group(1))
        y = int(re.search(r"Absolute upper-left Y:\s+(-?\d+)", geo).group(1))
        xdotool("mousemove", x + 8, y + 8, "sleep", 0.2, "click", "--repeat", 2, "--delay", 100, 1)
        self.assertTrue(wait_until(lambda: clock()["visible"], 5), "restored by a double click on the icon")

    def test_error_record_and_window(self):
        self.assertTrue(start_clock(self.prog))
        driver("command", "TFormClock", "Lumivo", CMD["Err"])
        self.assertTrue(wait_until(lambda: info("TFormError", "Ошибка..."), 10), "error window")
        lines = self.prog.log_lines()
        self.assertEqual(len(lines), 10)
        self.assertEqual(lines[0], "=" * 73)
        self.assertEqual(lines[7], "Adress = 0.001 - Test")
        self.assertEqual(lines[8], "Type = AbortError")
        screenshot("error-window")
        driver("click", "TFormError", "Ошибка...", "&Игнорировать")
        self.assertTrue(wait_until(lambda: not info("TFormError"), 10), "closed by Ignore")
        driver("command", "TFormClock", "Lumivo", CMD["Err"])
        self.assertTrue(wait_until(lambda: info("TFormError"), 10))
        self.assertEqual(len(self.prog.log_lines()), 20)
        driver("click", "TFormError", "Ошибка...", "&Игнорировать")

    def open_error_window(self, **kw):
        first = start_clock(self.prog, **kw)
        self.assertTrue(first)
        driver("close", "TFormSplashScreen", "*")
        driver("command", "TFormClock", "Lumivo", CMD["Err"])
        self.assertTrue(wait_until(lambda: info("TFormError", "Ошибка..."), 10), "error window")
        return first

    def test_error_window_closes_the_program_with_its_settings_stored(self):
        first = self.open_error_window()
        driver("click", "TFormError", "Ошибка...", "&Закрыть программу")
        self.assertTrue(ended(self.prog.procs[0], 20), "the program ends")
        settle_registry()
        self.assertEqual(reg_dword(KEY + r"\Settings\Position", "Left"), first["x"], "settings kept")

    def test_error_window_restarts_from_the_program_file(self):
        # The calls that race: the new copy takes a clock still captioned "Lumivo" for a running one.
        reg("add", r"HKCU\Software\Wine\Debug", "/v", "RelayInclude", "/d", "user32.SetWindowTextW;shell32.ShellExecuteW",
            "/f")
        self.addCleanup(reg, "delete", r"HKCU\Software\Wine\Debug", "/v", "RelayInclude", "/f")
        first = self.open_error_window(extra_env={"WINEDEBUG": "+relay"})
        screenshot("error-window-full")
        driver("click", "TFormError", "Ошибка...", "&Перезапустить программу")
        self.assertTrue(ended(self.prog.procs[0], 30), "the crashed copy hands over and ends")
        c = wait_until(lambda: (clock() or {}).get("visible") and clock(), 20)
        self.assertTrue(c, "a new clock")
        self.assertNotEqual(c["hwnd"], first["hwnd"])
        self.assertEqual(len([w for w in info("TFormClock") if w["caption"] != ""]), 1)
        out = self.prog.output()
        started = out.find("Call shell32.ShellExecuteW(")
        renamed = out.find('L"LumivoError")')
        self.assertGreaterEqual(started, 0, "the new copy started through the shell")
        self.assertTrue(0 <= renamed < started, "the clock's window was captioned LumivoError before the shell was "
                        "asked:\n%s" % "\n".join(l for l in out.splitlines() if re.search(r"Call (user32|shell32)\.", l)))
        # The new copy greets the user; answered, it ends by its menu (it is no process of ours to stop).
        greeting = wait_until(lambda: [w for w in info("#32770", "Сообщение...") if w["visible"]], 30)
        self.assertTrue(greeting, "the restart greeting")
        self.assertIn("Перезапуск программы Lumivo произведен успешно.", [r["text"] for r in children_of(
            "#32770", "Сообщение...")])
        screenshot("restarted")
        driver("post", "#32770", "Сообщение...", 0x0100, 0x0D, 0)
        time.sleep(0.5)
        driver("command", "TFormClock", "Lumivo", CMD["ExitPOM"])
        self.assertTrue(wait_until(lambda: not [w for w in info("TFormClock") if w["caption"] != ""], 20),
                        "the new copy ends too")

    def test_about_window_opens_from_the_menu_and_closes_by_ok(self):
        self.assertTrue(start_clock(self.prog))
        driver("close", "TFormSplashScreen", "*")
        driver("command", "TFormClock", "Lumivo", CMD["AboutPro"])
        w = wait_until(lambda: [x for x in info("TFormAbout", "О программе...") if x["visible"]], 10)
        self.assertTrue(w, "about window")
        time.sleep(0.5)
        screenshot("about")
        driver("click", "TFormAbout", "О программе...", "&Ok")
        self.assertTrue(wait_until(lambda: not info("TFormAbout"), 10), "closed by Ok")
        self.assertTrue(clock()["visible"], "the clock stays")

    def test_windows_98_hides_seconds_and_shapes_the_clock(self):
        reg("add", r"HKCU\Software\Wine", "/v", "Version", "/d", "win98", "/f")
        self.prog.start()
        c = wait_until(lambda: (clock() or {}).get("visible") and clock(), 20)
        self.assertTrue(c, "the clock shows once the splash has gone")
        self.assertEqual(c["layered"], 0, "no transparency on 9x")
        width = c["w"]
        driver("command", "TFormClock", "Lumivo", CMD["ViewSecondsA"])
        time.sleep(1.0)
        self.assertEqual(clock()["w"], width, "seconds never shown")
        screenshot("clock-win98")
        # The menu as a user sees it there: no seconds toggle, no time panel (screenshot for a person).
        pt = find_pixel(clock(), time_red)
        if pt:
            xdotool("mousemove", pt[0], pt[1], "sleep", 0.2, "click", 3, "sleep", 0.5, "mousemove", pt[0] + 160,
                    pt[1] + 64, "sleep", 0.8)
            screenshot("menu-win98")
            xdotool("key", "Escape", "sleep", 0.2, "key", "Escape")

    def test_nt4_shows_only_the_unsupported_window(self):
        reg("add", r"HKCU\Software\Wine", "/v", "Version", "/d", "nt40", "/f")
        p = self.prog.start()
        w = wait_until(lambda: [x for x in info("TFormNotSupportedOS") if x["visible"]], 20)
        self.assertTrue(w, "unsupported-system window")
        time.sleep(1.0)
        self.assertFalse([x for x in info("TFormClock") if x["visible"]], "no clock on screen")
        screenshot("unsupported-os")
        driver("click", "TFormNotSupportedOS", "Not supported OS...", "&Ok")
        p.wait(20)
        self.assertFalse(info("TFormClock"), "the program ended")

    def test_nt4_unsupported_window_closed_by_its_close_box_ends_the_program(self):
        reg("add", r"HKCU\Software\Wine", "/v", "Version", "/d", "nt40", "/f")
        for attempt in ("first start", "next start"):
            p = self.prog.start()
            w = wait_until(lambda: [x for x in info("TFormNotSupportedOS") if x["visible"]], 20)
            self.assertTrue(w, "unsupported-system window at the " + attempt)
            driver("close", "TFormNotSupportedOS", "*")  # what the close box and Alt+F4 send
            self.assertTrue(ended(p, 20), "the program ended at the " + attempt)
            self.assertFalse(info("TFormClock"), "no clock left behind")


class Settings(ProgramTest):
    """The registry store, seen from outside."""

    def setUp(self):
        reg("delete", r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run", "/v", "Lumivo", "/f")
        super().setUp()

    def ready(self):
        c = start_clock(self.prog)
        self.assertTrue(c, "the clock shows")
        wait_until(lambda: (clock() or {}).get("alpha") == 255, 15)
        driver("close", "TFormSplashScreen", "*")
        return clock()

    def test_a_run_without_stored_values_writes_version_and_position_then_a_toggle_writes_everything(self):
        c = self.ready()
        settle_registry()
        self.assertEqual(reg_query(KEY, "Version"), ("REG_SZ", "1.1.9x.ru"))
        self.assertTrue(reg_query(KEY, "ExePatch")[1].endswith("Lumivo.exe"))
        self.assertEqual(reg_dword(KEY + r"\Settings\Position", "Left"), c["x"])
        self.assertEqual(reg_dword(KEY + r"\Settings\Position", "Top"), c["y"])
        driver("command", "TFormClock", "Lumivo", CMD["ViewSecondsA"])
        self.assertTrue(wait_until(lambda: reg_dword(KEY + r"\Settings", "SecondsView") == 1, 5))
        self.assertEqual(reg_dword(KEY + r"\Settings", "AutoLaunch"), 1)
        self.assertEqual(reg_dword(KEY + r"\Settings", "AlphaUsed"), 1)
        self.assertEqual(reg_dword(KEY + r"\Settings\Sound", "TimeOfLowF"), 22)
        self.assertEqual(reg_dword(KEY + r"\Settings\Sound", "TimeOfLowS"), 9)
        self.assertEqual(reg_query(KEY + r"\Settings", "BackUp")[0], "REG_SZ")
        run_value = reg_query(r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run", "Lumivo")
        self.assertTrue(run_value and run_value[1].endswith("Lumivo.exe"), "starts at log-on for all users")

    def test_bad_values_are_corrected_and_the_clock_shows(self):
        reg("add", KEY + r"\Settings", "/v", "AlphaSet", "/t", "REG_DWORD", "/d", "999", "/f")
        reg("add", KEY + r"\Settings", "/v", "StayOnTop", "/t", "REG_DWORD", "/d", "7", "/f")
        reg("add", KEY + r"\Settings\Sound", "/v", "TimeOfLowF", "/t", "REG_SZ", "/d", "abc", "/f")
        reg("add", KEY + r"\Settings\Position", "/v", "Left", "/t", "REG_DWORD", "/d", "200", "/f")
        self.prog.start()
        # The damaged value is logged once; the clock still comes up behind the error window.
        self.assertTrue(wait_until(lambda: info("TFormError"), 20), "the damaged value is reported")
        c = wait_until(lambda: (clock() or {}).get("visible") and clock(), 10)
        self.assertTrue(c, "the clock shows despite the damaged value")
        self.assertEqual(c["x"], 200)
        self.assertEqual(c["topmost"], 1)
        lines = self.prog.log_lines()
        self.assertEqual(len(lines), 10)
        self.assertEqual(lines[8], "Type = ConversionError")
        driver("click", "TFormError", "Ошибка...", "&Игнорировать")
        self.assertTrue(wait_until(lambda: (clock() or {}).get("alpha") == 255, 15), "faded in to the corrected 255")
        driver("command", "TFormClock", "Lumivo", CMD["NillFirst"])
        self.assertTrue(wait_until(lambda: reg_dword(KEY + r"\Settings", "AlphaSet") == 255, 5))
        self.assertEqual(reg_dword(KEY + r"\Settings", "StayOnTop"), 1)
        self.assertEqual(reg_dword(KEY + r"\Settings\Sound", "TimeOfLowF"), 22)

    def test_drag_and_format_survive_a_restart(self):
        c = self.ready()
        pt = find_pixel(c, time_red)
        self.assertIsNotNone(pt)
        x, y = pt
        xdotool("mousemove", x, y, "sleep", 0.2, "mousedown", 1, "sleep", 0.1, "mousemove", x + 30, y + 20,
                "sleep", 0.1, "mousemove", x + 60, y + 40, "sleep", 0.2, "mouseup", 1)
        moved = wait_until(lambda: clock()["x"] == c["x"] + 60 and clock(), 5)
        self.assertTrue(moved)
        self.assertTrue(wait_until(lambda: reg_dword(KEY + r"\Settings\Position", "Left") == c["x"] + 60, 5))
        self.assertEqual(reg_dword(KEY + r"\Settings\Position", "Top"), c["y"] + 40)
        narrow = clock()["w"]
        driver("command", "TFormClock", "Lumivo", CMD["ViewSecondsA"])
        wide = wait_until(lambda: clock()["w"] > narrow and clock(), 5)
        self.assertTrue(wide, "the next tick shows seconds")
        self.assertEqual(reg_dword(KEY + r"\Settings", "SecondsView"), 1)
        self.prog.stop()
        again = self.ready()
        self.assertEqual((again["x"], again["y"]), (c["x"] + 60, c["y"] + 40), "position restored")
        self.assertEqual(again["w"], wide["w"], "format restored")


class HotKeys(ProgramTest):
    """Win+T speaks the time from the shipped voice; the sound calls are traced by Wine."""

    def speak(self, when, hotkeys=True):
        # A first run reads no settings and leaves the hot keys off; these are stored ones.
        reg("add", KEY + r"\Settings", "/v", "GlobalHotkeys", "/t", "REG_DWORD", "/d", "1" if hotkeys else "0", "/f")
        fake = {"WINEDEBUG": "+winmm", "NO_FAKE_STAT": "1", "FAKETIME": "@" + when,
                "LD_PRELOAD": FAKETIME_LIB} if FAKETIME_LIB else {"WINEDEBUG": "+winmm"}
        self.assertTrue(start_clock(self.prog, extra_env=fake))
        wait_until(lambda: (clock() or {}).get("alpha") == 255, 15)
        driver("close", "TFormSplashScreen", "*")
        def x_window():
            rc, out = xdotool("search", "--onlyvisible", "--name", "^Lumivo$")
            return out.split()[0] if out.split() else None
        wid = wait_until(x_window, 10, 0.3)
        self.assertTrue(wid, "the clock's X window")
        xdotool("windowactivate", "--sync", wid)
        xdotool("windowfocus", "--sync", wid)
        time.sleep(0.3)
        xdotool("keydown", "super", "sleep", 0.15, "key", "t", "sleep", 0.15, "keyup", "super")
        time.sleep(6)
        text = self.prog.output()
        return [m.split("\\")[-1] for m in re.findall(r'proc_PlaySound SoundName=L"([^"]*)"', text)]

    @unittest.skipUnless(shutil.which("faketime"), "needs faketime")
    def test_win_t_speaks_the_time_in_order(self):
        names = self.speak("2026-12-07 21:45:05")
        self.assertGreaterEqual(len(names), 6, names)
        self.assertEqual(names[:6], ["20.wav", "1m.wav", "c.wav", "40.wav", "5.wav", "m.wav"])

    @unittest.skipUnless(shutil.which("faketime"), "needs faketime")
    def test_nothing_plays_with_hot_keys_off(self):
        self.assertEqual(self.speak("2026-12-07 21:45:05", hotkeys=False), [])


QSD = ("TFormQuickShutDown", "Быстрый выход")
WARNING = ("TFormQSDWarDlg", "Предупреждение...")
CONFIRM = ("#32770", "Подтверждение...")
IDYES, IDNO = 6, 7


def wine_text(text):
    """A text as Wine's traces print it: characters past ASCII as \\hhhh escapes."""
    return "".join(c if ord(c) < 128 else "\\%04x" % ord(c) for c in text)


class QuickExit(ProgramTest):
    """The quick-exit window, its warning and the power actions, driven from outside."""

    def tearDown(self):
        reg("delete", r"HKCU\Software\Wine\Debug", "/f")
        super().tearDown()

    def ready(self, **kw):
        self.assertTrue(start_clock(self.prog, **kw), "the clock shows")
        env = kw.get("env")
        wait_until(lambda: (clock(env) or {}).get("alpha") == 255, 15)
        driver("close", "TFormSplashScreen", "*", env=env)
        time.sleep(0.5)
        return clock(env)

    def open_window(self, env=None):
        driver("command", "TFormClock", "Lumivo", CMD["QuickExit"], env=env)
        w = wait_until(lambda: [x for x in info(*QSD, env=env) if x["visible"]], 10)
        self.assertTrue(w, "the quick-exit window opens")
        return w[0]

    def children(self, env=None):
        return children_of(*QSD, env=env)

    def button(self, text, env=None):
        rows = [r for r in self.children(env) if r["text"] == text]
        return rows[0] if rows else None

    def start(self, hours, minutes, action=0, mode=0, warn=None, env=None):
        box = "О&кно предупреждения *"
        if warn is not None and (self.button(box, env)["checked"] == "1") != warn:
            driver("click", *QSD, box, env=env)
            self.assertTrue(wait_until(lambda: (self.button(box, env)["checked"] == "1") == warn, 5))
        driver("select", *QSD, 0, mode, env=env)
        driver("select", *QSD, 1, action, env=env)
        driver("settext", *QSD, 0, hours, env=env)
        driver("settext", *QSD, 1, minutes, env=env)
        time.sleep(0.3)
        driver("click", *QSD, "Зап&уск", env=env)

    def test_window_opens_from_the_menu_and_from_the_mark(self):
        reg("add", KEY + r"\Settings\QuickExit", "/v", "QSDIcon", "/t", "REG_DWORD", "/d", "1", "/f")
        c = self.ready()
        w = self.open_window()
        self.assertEqual((w["w"] > 279, w["topmost"]), (True, 1))
        texts = [r["text"] for r in self.children()]
        for t in ("Зап&уск", "&Пауза", "&Закрыть", "&Сохранить", "З&агрузить", "О&кно предупреждения *",
                  "Обратный отсчет", "Выключение"):
            self.assertIn(t, texts)
        self.assertEqual(self.button("&Пауза")["enabled"], "0")
        self.assertEqual(self.button("З&агрузить")["enabled"], "0")
        time.sleep(0.3)
        screenshot("quick-exit")
        driver("click", *QSD, "&Закрыть")
        self.assertTrue(wait_until(lambda: not info(*QSD), 10), "closed")
        # The green mark at the clock's left edge opens it too.
        top = c["h"] // 8
        point = (7 + ((top + 7) << 16))
        driver("post", "TFormClock", "Lumivo", 0x201, 1, point)
        driver("post", "TFormClock", "Lumivo", 0x202, 0, point)
        self.assertTrue(wait_until(lambda: [x for x in info(*QSD) if x["visible"]], 10), "opened by the mark")
        driver("click", *QSD, "&Закрыть")

    def test_countdown_zero_asks_and_no_leaves_everything_as_it_was(self):
        self.ready()
        self.open_window()
        before = self.button("О&кно предупреждения *")["checked"]
        self.start("0", "0", action=1)
        box = wait_until(lambda: info(*CONFIRM), 10)
        self.assertTrue(box, "asks before acting at once")
        time.sleep(0.3)
        screenshot("quick-exit-confirm")
        driver("command", *CONFIRM, IDNO)
        self.assertTrue(wait_until(lambda: not info(*CONFIRM), 10))
        time.sleep(0.5)
        self.assertTrue(info(*QSD), "the window stays")
        self.assertTrue(self.button("Зап&уск"), "nothing started")
        self.assertEqual(self.button("О&кно предупреждения *")["checked"], before, "the check box as it was")
        self.assertTrue(clock()["visible"])
        driver("click", *QSD, "&Закрыть")

    def test_warning_says_five_then_two_minutes(self):
        self.ready(extra_env={"WINEDEBUG": "+text"})
        # The second is the longest text there is: it must wrap, not be cut.
        for minutes, action, words in (("5", 0, "Компьютер будет выключен через 5 минут."),
                                        ("2", 3, "Будет произведен переход в спящий режим через 2 минуты.")):
            self.open_window()
            self.start("0", minutes, action=action, warn=True)
            self.assertTrue(wait_until(lambda: self.button("&Стоп"), 10), "running")
            driver("click", *QSD, "&Закрыть")
            w = wait_until(lambda: [x for x in info(*WARNING) if x["visible"]], 10)
            self.assertTrue(w, "the warning comes as the window closes, %s minutes before" % minutes)
            time.sleep(0.5)
            screenshot("quick-exit-warning-" + minutes)
            expected = wine_text(words)
            self.assertTrue(wait_until(lambda: expected in self.prog.output(), 5), "the warning's text: " + words)
            driver("click", *WARNING, "&Изменить настройки...")
            self.assertTrue(wait_until(lambda: self.button("&Стоп"), 10), "the window, with the count running")
            driver("click", *QSD, "&Стоп")
            self.assertTrue(wait_until(lambda: self.button("Запу&ск"), 10), "stopped")
            driver("click", *QSD, "&Закрыть")
            self.assertTrue(wait_until(lambda: not info(*QSD), 10))
        self.assertFalse(info(*WARNING), "no warning after the stop")

    def test_hibernation_returns_with_the_clock_running(self):
        reg("add", r"HKCU\Software\Wine\Debug", "/v", "RelayInclude", "/d", "powrprof.SetSuspendState", "/f")
        self.ready(extra_env={"WINEDEBUG": "+relay"})
        self.open_window()
        self.start("0", "0", action=3)
        self.assertTrue(wait_until(lambda: info(*CONFIRM), 10))
        driver("command", *CONFIRM, IDYES)
        self.assertTrue(wait_until(lambda: not info(*QSD), 10), "the window closed")
        call = "Call powrprof.SetSuspendState(00000001,00000001,00000001)"
        self.assertTrue(wait_until(lambda: call in self.prog.output(), 10), "hibernated with every flag")
        c = wait_until(lambda: (clock() or {}).get("visible") and clock(), 10)
        self.assertTrue(c, "the clock keeps running")
        # The menu shows the sound switched off around the hibernation (for a person to look at).
        pt = find_pixel(c, time_red)
        if pt:
            xdotool("mousemove", pt[0], pt[1], "sleep", 0.2, "click", 3, "sleep", 0.6)
            screenshot("menu-after-hibernation")
            xdotool("key", "Escape")

    def test_three_actions_when_hibernation_is_not_available(self):
        self.ready(extra_env={"WINEDLLOVERRIDES": "mscoree,mshtml=;powrprof="})
        self.open_window()
        rc, out = driver("items", *QSD, 1)
        self.assertEqual(out.split(), ["Выключение", "Перезагрузка", "Выход", "из", "системы"])
        driver("click", *QSD, "&Закрыть")

    def test_a_one_minute_countdown_shuts_the_session_down(self):
        # The exit ends every process of its prefix: it runs in a copy of its own.
        prefix = tempfile.mkdtemp(prefix="lumivo-exit-", dir=os.path.dirname(PREFIX))
        try:
            run(["cp", "-a", "--reflink=auto", PREFIX + "/.", prefix], timeout=120, env=os.environ)
            env = dict(ENV, WINEPREFIX=prefix)
            reg_env = lambda *a: wine("reg", *a, env=env)
            reg_env("add", r"HKCU\Software\Wine\Debug", "/v", "RelayInclude", "/d", "user32.ExitWindowsEx", "/f")
            p = self.prog.start(env=env, extra_env={"WINEDEBUG": "+relay"})
            self.assertTrue(wait_until(lambda: (clock(env) or {}).get("visible"), 20), "the clock shows")
            driver("close", "TFormSplashScreen", "*", env=env)
            self.open_window(env)
            self.start("0", "1", action=0, env=env)
            self.assertTrue(wait_until(lambda: self.button("&Стоп", env), 10), "running")
            driver("click", *QSD, "&Закрыть", env=env)
            started = time.time()
            self.assertTrue(ended(p, 130), "the program ended within two minutes")
            self.assertLess(time.time() - started, 125)
            self.assertIn("Call user32.ExitWindowsEx(00000005,00000000)", self.prog.output(), "shutdown, forced")
        finally:
            run(["wineserver", "-k"], timeout=20, env=dict(os.environ, WINEPREFIX=prefix))
            shutil.rmtree(prefix, ignore_errors=True)


def find_faketime_lib():
    for d in ("/usr/lib/x86_64-linux-gnu/faketime", "/usr/lib/faketime"):
        p = os.path.join(d, "libfaketime.so.1")
        if os.path.exists(p):
            return p
    return None


FAKETIME_LIB = find_faketime_lib()


REMIND = KEY + r"\Remind"


def make_wav(path, seconds=1.5):
    """A tone: a real sound for the wave device."""
    import math
    import struct
    import wave
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(22050)
        w.writeframes(b"".join(struct.pack("<h", int(8000 * math.sin(2 * math.pi * 440 * i / 22050)))
                               for i in range(int(22050 * seconds))))


def make_mp3(path, seconds=3.0):
    """MPEG-1 Layer III frames, 128 kbit/s, 44.1 kHz, mono: empty side information decodes as silence."""
    frame = bytes([0xFF, 0xFB, 0x90, 0xC4]) + bytes(417 - 4)
    with open(path, "wb") as f:
        f.write(frame * (int(seconds * 44100 / 1152) + 1))


def start_at(test, when, debug="+winmm,+mci"):
    """Starts the test's clock with every Wine process's clock at `when` from now on."""
    target = time.mktime(time.strptime(when, "%Y-%m-%d %H:%M:%S"))
    fake = {"NO_FAKE_STAT": "1", "FAKETIME": "%+ds" % round(target - time.time()), "LD_PRELOAD": FAKETIME_LIB,
            "FAKETIME_DONT_FAKE_MONOTONIC": "1", "WINEDEBUG": debug}
    test.assertTrue(start_clock(test.prog, extra_env=fake), "the clock shows")


class Reminders(ProgramTest):
    """Reminders stored beforehand, fired by the real program at a faked time of day."""

    def tearDown(self):
        reg("delete", r"HKCU\Software\Wine\Debug", "/f")
        super().tearDown()

    def remind(self, n, name, hour, minute, **values):
        key = REMIND + r"\Remind%d" % n
        values = dict(dict(Name=name, TimeH=hour, TimeM=minute, RemindEnabled=1, OneLaunch=0, IgnoreLowTime=0,
                           IgnoreDisSound=0), **values)
        for v, data in values.items():
            if data is None:
                continue
            kind = "REG_DWORD" if isinstance(data, int) else "REG_SZ"
            rc, _ = reg("add", key, "/v", v, "/t", kind, "/d", str(data), "/f")
            self.assertEqual(rc, 0, (key, v))

    def count(self, n):
        reg("add", REMIND, "/v", "RemindCount", "/t", "REG_DWORD", "/d", str(n), "/f")

    def sound(self, name, make):
        folder = os.path.join(self.prog.dir, "Звуки")
        os.makedirs(folder, exist_ok=True)
        make(os.path.join(folder, name))
        return "C:\\Lumivo-%s\\Звуки\\%s" % (self.prog.name, name)

    def start_at(self, when, debug="+winmm,+mci"):
        start_at(self, when, debug)

    def box(self, caption, timeout):
        rows = wait_until(lambda: [w for w in info("#32770", caption) if w["visible"]], timeout, 0.2)
        return rows[0] if rows else None

    def box_texts(self, caption):
        rc, out = driver("children", "#32770", caption)
        return [line.partition(" text=")[2] for line in out.splitlines()]

    def mci(self):
        """The MCI command strings the program sent, in order."""
        found = re.findall(r'trace:mci:mciSendStringW \(L"((?:[^"\\]|\\.)*)"', self.prog.output())
        return [re.sub(r"\\(.)", r"\1", c) for c in found]

    @unittest.skipUnless(FAKETIME_LIB, "needs faketime")
    def test_a_wav_reminder_sounds_plays_and_shows_its_message_once(self):
        reg("add", r"HKCU\Software\Wine\Debug", "/v", "RelayInclude", "/d", "user32.MessageBoxW", "/f")
        wav = self.sound("мелодия.wav", make_wav)
        self.remind(1, "Чай", "10", "15", OneLaunch=1, SoundType=1, SoundFile=wav, MsgCaption="Напоминание",
                    MsgText="Пора пить чай", MsgIcon=2)
        self.count(1)
        self.start_at("2026-12-07 10:15:20", debug="+winmm,+mci,+relay")
        box = self.box("Напоминание", 25)
        self.assertTrue(box, "the message box comes")
        self.assertEqual(box["owner"], clock()["hwnd"], "owned by the clock")
        self.assertEqual(box["topmost"], 1)
        self.assertIn("Пора пить чай", self.box_texts("Напоминание"))
        # An OK button only, the exclamation icon, topmost: 0x40030.
        call = re.search(r'Call user32\.MessageBoxW\(([0-9a-f]+),[0-9a-f]+ L"([^"]*)",[0-9a-f]+ L"([^"]*)",([0-9a-f]+)\)',
                         self.prog.output())
        self.assertTrue(call, "MessageBoxW in the relay trace")
        self.assertEqual(int(call.group(1), 16), int(box["owner"], 16))
        self.assertEqual((call.group(2), call.group(3)), (wine_text("Пора пить чай"), wine_text("Напоминание")))
        self.assertEqual(int(call.group(4), 16), 0x40030)
        # The file follows its system sound by half a second, the box already up.
        self.assertTrue(wait_until(lambda: "play mySndR" in self.mci(), 5), self.mci())
        commands = self.mci()
        opens = [c for c in commands if c.startswith("open ")]
        self.assertEqual(len(opens), 1, commands)
        self.assertTrue(opens[0].endswith('" alias mySndR'), opens[0])
        self.assertIn("play mySndR", commands)
        self.assertIn("mciwave", self.prog.output().lower(), "the wave driver took the file")
        self.assertEqual(reg_dword(REMIND + r"\Remind1", "RemindEnabled"), 0, "a one-shot reminder disables itself")
        driver("command", "#32770", "Напоминание", 1)
        self.assertTrue(wait_until(lambda: not info("#32770", "Напоминание"), 5), "closed with OK")
        time.sleep(3)
        self.assertFalse(info("#32770", "Напоминание"), "once only")
        self.assertTrue(wait_until(lambda: "stop mySndR" in self.mci(), 10), "the channel closes when it ends")

    @unittest.skipUnless(FAKETIME_LIB, "needs faketime")
    def test_an_mp3_reminder_plays_through_mci(self):
        mp3 = self.sound("песня.mp3", make_mp3)
        self.remind(1, "Песня", "10", "15", SoundFile=mp3, MsgCaption="Песня", MsgText="Слушайте", MsgIcon=1)
        self.count(1)
        self.start_at("2026-12-07 10:15:20", debug="+winmm,+mci,+loaddll")
        self.assertTrue(self.box("Песня", 25), "the message box comes")
        commands = self.mci()
        opens = [c for c in commands if c.startswith("open ")]
        self.assertEqual(len(opens), 1, commands)
        self.assertIn("play mySndR", commands)
        trace = self.prog.output()
        self.assertIn('l"mpegvideo"', trace.lower(), "the DirectShow player took the file")
        self.assertIn("winegstreamer", trace.lower(), "decoded by GStreamer")
        # The poll hears it playing, and then its end, on which it closes the channel.
        self.assertTrue(wait_until(lambda: '=> 2/ 0 (L"playing")' in self.prog.output(), 5))
        self.assertTrue(wait_until(lambda: "stop mySndR" in self.mci(), 15), "played to its end, then closed")
        self.assertIn('=> 2/ 0 (L"stopped")', self.prog.output())
        driver("command", "#32770", "Песня", 1)

    @unittest.skipUnless(FAKETIME_LIB, "needs faketime")
    def test_a_reminder_at_minute_30_fires(self):
        self.remind(1, "Совещание", "10", "30", MsgCaption="Совещание", MsgText="Через минуту", MsgIcon=3)
        self.count(1)
        self.start_at("2026-12-07 10:29:57", debug="-all")
        box = self.box("Совещание", 50)
        self.assertTrue(box, "it fires although minute 30 seeks the next reminder afresh")
        driver("command", "#32770", "Совещание", 1)
        self.assertTrue(wait_until(lambda: not info("#32770", "Совещание"), 5))
        time.sleep(3)
        self.assertFalse(info("#32770", "Совещание"), "once only")

    @unittest.skipUnless(FAKETIME_LIB, "needs faketime")
    def test_a_damaged_reminder_is_logged_once_and_the_good_one_fires(self):
        self.remind(1, "Сломанный", "abc", "15", MsgCaption="Сломанный", MsgText="x", MsgIcon=1)
        self.remind(2, "Хороший", "10", "15", MsgCaption="Хороший", MsgText="Работает", MsgIcon=9)
        self.count(3)
        self.start_at("2026-12-07 10:15:20", debug="-all")
        self.assertTrue(self.box("Хороший", 25), "the good reminder fires while the first error is on screen")
        driver("command", "#32770", "Хороший", 1)
        # One error window at a time; each closed, the next damage is told.
        for _ in range(5):
            if not wait_until(lambda: [w for w in info("TFormError") if w["visible"]], 3):
                break
            driver("click", "TFormError", "Ошибка...", "&Игнорировать")
            wait_until(lambda: not [w for w in info("TFormError") if w["visible"]], 5)
        time.sleep(1)
        lines = self.prog.log_lines()
        self.assertEqual(len([l for l in lines if "0.013 - 015." in l]), 2, lines)  # TimeH, the missing key
        self.assertEqual(len([l for l in lines if "0.013 - 016." in l]), 1, lines)  # the icon
        rc, out = reg("query", REMIND + r"\Remind1", "/v", "TimeH")
        self.assertIn("abc", out, "nothing rewritten")
        self.assertEqual(reg_dword(REMIND, "RemindCount"), 2, "counted again by the keys there are")



SETTINGS = ("TFormSettings", "Настройки ...")
BACKUP_DIALOG = "Укажите имя файла"


def visible(cls, caption="*", env=None):
    return [w for w in info(cls, caption, env=env) if w["visible"]]


class SettingsDriving:
    """What a user does in the settings window, for the tests that open it."""

    def ready(self, env=None):
        self.assertTrue(start_clock(self.prog, env=env), "the clock shows")
        wait_until(lambda: (clock() or {}).get("alpha") not in (None, 0), 15)
        driver("close", "TFormSplashScreen", "*")
        time.sleep(0.5)

    def open(self, env=None):
        driver("command", "TFormClock", "Lumivo", CMD["N2"], env=env)
        w = wait_until(lambda: visible(*SETTINGS, env=env), 10)
        if not w:
            screenshot("settings-not-open")
        self.assertTrue(w, "the settings window opens")
        time.sleep(0.5)
        return w[0]

    def page(self, n, env=None):
        """Shows page n (0..3) as a user would: a click on its tab (the arrow keys on
        button-style tabs move only the focus, not the page)."""
        rc, out = driver("tabrect", *SETTINGS, 0, n, env=env)
        self.assertEqual(rc, 0, "tab %d of the settings window" % n)
        r = dict(kv.split("=") for kv in out.split())
        xdotool("mousemove", int(r["x"]) + int(r["w"]) // 2, int(r["y"]) + int(r["h"]) // 2,
                "sleep", 0.2, "click", 1, "sleep", 0.4)

    def control(self, text, env=None):
        rows = [r for r in children_of(*SETTINGS, env=env) if r["text"] == text]
        return rows[0] if rows else None

    def answer(self, caption, text=None, key="Return", timeout=10):
        """Waits for a message box and answers it by a key; returns its texts."""
        box = wait_until(lambda: visible("#32770", caption), timeout)
        if not box:
            screenshot("settings-no-box")
        self.assertTrue(box, "message box " + caption)
        texts = [r["text"] for r in children_of("#32770", caption)]
        if text is not None:
            self.assertIn(text, texts)
        driver("post", "#32770", caption, 0x0100, {"Return": 0x0D, "n": 0x4E, "y": 0x59}[key], 0)
        self.assertTrue(wait_until(lambda: not visible("#32770", caption), 5), "answered " + caption)
        return texts

    def file_dialog(self, path, env=None):
        """Types a full file name into the open or save dialog and confirms it."""
        self.assertTrue(wait_until(lambda: visible("#32770", BACKUP_DIALOG, env=env), 10), "file dialog")
        time.sleep(0.5)
        driver("settext", "#32770", BACKUP_DIALOG, 0, path, env=env)
        driver("post", "#32770", BACKUP_DIALOG, 0x0111, 1, 0, env=env)  # IDOK, as the Save / Open button



class SettingsWindow(SettingsDriving, ProgramTest):
    """The settings window of the real program: pages, cancel and Ok, backups."""

    def test_pages_and_cancel_put_everything_back(self):
        reg("add", KEY + r"\Settings", "/v", "AlphaSet", "/t", "REG_DWORD", "/d", "200", "/f")
        reg("add", KEY + r"\Settings", "/v", "AlphaUsed", "/t", "REG_DWORD", "/d", "1", "/f")
        self.ready()
        self.assertTrue(wait_until(lambda: clock()["alpha"] == 200, 15), "faded in to the stored opacity")
        before = clock()
        # Opening feels instant: measured against the small about window, in the same run.
        started = time.time()
        driver("command", "TFormClock", "Lumivo", CMD["AboutPro"])
        self.assertTrue(wait_until(lambda: visible("TFormAbout"), 10, 0.02))
        about = time.time() - started
        driver("click", "TFormAbout", "О программе...", "&Ok")
        self.assertTrue(wait_until(lambda: not info("TFormAbout"), 5))
        started = time.time()
        driver("command", "TFormClock", "Lumivo", CMD["N2"])
        self.assertTrue(wait_until(lambda: visible(*SETTINGS), 10, 0.02))
        opened = time.time() - started
        print("\n  opened: about window %.0f ms, settings window %.0f ms" % (about * 1000, opened * 1000))
        self.assertLess(opened, 3 * about + 0.3)
        self.open()
        screenshot("settings-general")
        for n, name in ((1, "interface"), (2, "sounds"), (3, "reminders")):
            self.page(n)
            screenshot("settings-" + name)
        self.page(1)
        self.assertEqual(self.control("&Отмена")["enabled"], "0", "nothing changed yet")
        driver("trackbar", *SETTINGS, 0, 150)
        self.assertTrue(wait_until(lambda: clock()["alpha"] == 150, 5), "the clock follows the slider at once")
        self.assertEqual(self.control("&Отмена")["enabled"], "1", "a change enables cancel")
        driver("click", *SETTINGS, "&Отмена")
        self.assertTrue(wait_until(lambda: not info(*SETTINGS), 5), "closed by cancel")
        self.assertTrue(wait_until(lambda: clock()["alpha"] == 200, 5), "the stored opacity is back")
        self.assertEqual((clock()["w"], clock()["h"]), (before["w"], before["h"]))
        settle_registry()
        self.assertEqual(reg_dword(KEY + r"\Settings", "AlphaSet"), 200)

    def test_the_close_box_cancels_and_ok_stores(self):
        self.ready()
        self.open()
        self.page(1)
        driver("trackbar", *SETTINGS, 0, 180)
        self.assertTrue(wait_until(lambda: clock()["alpha"] == 180, 5))
        driver("close", *SETTINGS)
        self.assertTrue(wait_until(lambda: not info(*SETTINGS), 5), "closed by its close box")
        self.assertTrue(wait_until(lambda: clock()["alpha"] == 255, 5), "the close box undoes like cancel")
        self.open()
        self.page(1)
        driver("trackbar", *SETTINGS, 0, 170)
        self.assertTrue(wait_until(lambda: clock()["alpha"] == 170, 5))
        driver("click", *SETTINGS, "&Ok")
        self.assertTrue(wait_until(lambda: not info(*SETTINGS), 5), "closed by Ok")
        self.assertTrue(wait_until(lambda: reg_dword(KEY + r"\Settings", "AlphaSet") == 170, 5), "stored")
        self.assertEqual(clock()["alpha"], 170)

    def test_a_backup_keeps_a_russian_reminder_name_under_another_code_page(self):
        # The prefix runs under a Western code page: the system's INI functions would write "?" here.
        acp = reg_query(r"HKLM\System\CurrentControlSet\Control\Nls\CodePage", "ACP")
        self.assertEqual(acp, ("REG_SZ", "1252"))
        name = "Позвонить маме"
        key = REMIND + r"\Remind1"
        for v, kind, data in (("Name", "REG_SZ", name), ("TimeH", "REG_SZ", "10"), ("TimeM", "REG_SZ", "30"),
                              ("RemindEnabled", "REG_DWORD", "1")):
            reg("add", key, "/v", v, "/t", kind, "/d", data, "/f")
        reg("add", REMIND, "/v", "RemindCount", "/t", "REG_DWORD", "/d", "1", "/f")
        self.ready()
        self.open()
        driver("click", *SETTINGS, "Со&хранить параметры")
        target = "C:\\Lumivo-%s\\BackUp\\копия" % self.prog.name
        self.file_dialog(target)
        self.answer("Сообщение", " Данные успешно сохранены.  ")
        # The dialog itself may add the extension, in its own letter case.
        folder = os.path.join(self.prog.dir, "BackUp")
        found = [f for f in os.listdir(folder) if f.lower() == "копия.setlmv"]
        self.assertTrue(found, os.listdir(folder))
        written = os.path.join(folder, found[0])
        data = Path(written).read_bytes()
        self.assertIn(name.encode("cp1251"), data, "the name in Windows-1251, not question marks")
        self.assertTrue(self.control("Неизвестно") is None, "the time of the backup shown")
        # The reminder goes, by the page's own button.
        self.page(3)
        driver("click", *SETTINGS, "&Удалить")
        self.assertTrue(wait_until(lambda: reg_dword(REMIND, "RemindCount") == 0, 5), "deleted")
        driver("click", *SETTINGS, "З&агрузить параметры")
        self.file_dialog(target + ".SetLMV")
        self.answer("Сообщение", " Данные загружены успешно.  ")
        self.assertEqual(reg_dword(REMIND, "RemindCount"), 1)
        # `reg query` would print the name in the Western code page; the list shows what the registry holds.
        rc, lines = driver("lines", *SETTINGS, 0)
        self.assertEqual(lines.splitlines(), ["10 : 30  -  " + name])
        screenshot("settings-backup-loaded")
        driver("click", *SETTINGS, "&Ok")

    def test_a_changed_backup_asks_before_it_loads(self):
        folder = os.path.join(self.prog.dir, "BackUp")
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, "changed.SetLMV")
        self.ready()
        self.open()
        driver("click", *SETTINGS, "Со&хранить параметры")
        self.file_dialog("C:\\Lumivo-%s\\BackUp\\changed.SetLMV" % self.prog.name)
        self.answer("Сообщение", " Данные успешно сохранены.  ")
        data = Path(path).read_bytes()
        changed = data.replace(b"AlphaSet=255", b"AlphaSet=254", 1)
        self.assertNotEqual(changed, data)
        Path(path).write_bytes(changed)
        driver("click", *SETTINGS, "З&агрузить параметры")
        self.file_dialog("C:\\Lumivo-%s\\BackUp\\changed.SetLMV" % self.prog.name)
        texts = self.answer("Ошибка", "Файл изменен или поврежден! Продолжить загрузку?", key="n")
        self.assertEqual(Path(path).read_bytes(), changed, "a refused file is left as it was")
        self.assertEqual(self.control("&Отмена")["enabled"], "0", "nothing loaded")
        driver("click", *SETTINGS, "&Ok")


SIGN = ("TFormSign", "Настройка напоминания...")
ADD_MSG = ("TFormAddMsg", "Редактирование сообщения...")


class ReminderEditing(SettingsDriving, ProgramTest):
    """Reminders made and changed in the editor from the settings window, then fired."""

    def tearDown(self):
        reg("delete", r"HKCU\Software\Wine\Debug", "/f")
        super().tearDown()

    def editor(self, name, hour, minute, button):
        driver("click", *SETTINGS, button)
        self.assertTrue(wait_until(lambda: visible(*SIGN), 10), "the reminder editor opens")
        time.sleep(0.4)
        driver("settext", *SIGN, 0, name)
        driver("settext", *SIGN, 1, hour)
        driver("settext", *SIGN, 2, minute)

    def with_message(self):
        driver("click", *SIGN, "Показать сообщение...")
        self.assertTrue(wait_until(lambda: visible(*ADD_MSG), 10), "the message editor opens")
        time.sleep(0.4)
        screenshot("reminder-message-editor")
        driver("click", *ADD_MSG, "&Ok")
        self.assertTrue(wait_until(lambda: not info(*ADD_MSG), 5))

    def lines(self):
        return driver("lines", *SETTINGS, 0)[1].splitlines()

    @unittest.skipUnless(FAKETIME_LIB, "needs faketime")
    def test_made_in_the_editor_refused_twice_edited_and_fired(self):
        start_at(self, "2026-12-08 10:14:35", debug="-all")
        driver("close", "TFormSplashScreen", "*")
        self.open()
        self.page(3)
        self.editor("Чай", "10", "15", "&Добавить")
        self.with_message()
        screenshot("reminder-editor")
        driver("click", *SIGN, "&Ок")
        self.assertTrue(wait_until(lambda: not info(*SIGN), 5), "stored and closed")
        self.assertEqual(self.lines(), ["10 : 15  -  Чай"])
        # The same minute again: refused, the editor stays for another time.
        self.editor("Второй", "**", "15", "&Добавить")
        self.with_message()
        driver("click", *SIGN, "&Ок")
        self.answer("Ошибка...", "Задание с таким временем исполнения уже существует. Введите другое время.")
        self.assertTrue(visible(*SIGN), "the editor stays open")
        driver("click", *SIGN, "&Отмена")
        self.assertTrue(wait_until(lambda: not info(*SIGN), 5))
        self.assertEqual(self.lines(), ["10 : 15  -  Чай"])
        self.editor("Чай с лимоном", "10", "15", "&Редактировать")
        driver("click", *SIGN, "&Ок")
        self.assertTrue(wait_until(lambda: not info(*SIGN), 5), "changed and closed")
        self.assertEqual(self.lines(), ["10 : 15  -  Чай с лимоном"])
        screenshot("settings-reminders-edited")
        driver("click", *SETTINGS, "&Ok")
        self.assertTrue(wait_until(lambda: not info(*SETTINGS), 5))
        box = wait_until(lambda: visible("#32770", "Внимание..."), 90, 0.2)
        if not box:
            screenshot("reminder-not-fired")
        self.assertTrue(box, "the reminder fires once the settings window has closed")
        driver("command", "#32770", "Внимание...", 1)


def tray_shown():
    """Whether Wine's notification-area window is on screen (it goes with its last icon)."""
    rc, out = xdotool("search", "--onlyvisible", "--name", "Wine System Tray")
    return bool(out.split())


def zorder():
    """The visible top-level windows from the top down, as dicts."""
    rc, out = driver("zorder", "-")
    rows = []
    for line in out.splitlines():
        if line.startswith("z "):
            head, _, cap = line[2:].partition(" caption=")
            row = dict(kv.split("=", 1) for kv in head.split())
            row["caption"] = cap
            rows.append(row)
    return rows


def assert_above(upper, lower, what, within=0):
    """That the window `upper` (an hwnd) is above `lower` in the z-order, at once or `within` seconds;
    the order is shown when not."""
    rows = []

    def settled():
        rows[:] = zorder()
        order = [w["hwnd"] for w in rows]
        return upper in order and lower in order and order.index(upper) < order.index(lower)
    if not wait_until(settled, within):
        raise AssertionError("%s: %s over %s wanted, the order is\n%s" % (
            what, upper, lower, "\n".join("  %(hwnd)s %(class)s topmost=%(topmost)s" % w for w in rows)))


class OnScreen(SettingsDriving, ProgramTest):
    """The clock stays where it can be seen, and the end of the session takes it along."""

    POS = KEY + r"\Settings\Position"

    def other_window(self, seconds, topmost, x, y, w, h):
        """Another program's window, activated over the given place; its hwnd and process.
        It lives `seconds` from when it shows, or until `close_other`."""
        out = os.path.join(LOGS, "window-%d.out" % time.time_ns())
        with open(out, "wb") as f:
            p = subprocess.Popen(["timeout", "-k", "5", str(seconds + 20), "wine", DRIVER, "window", str(seconds),
                                  "1" if topmost else "0", str(x), str(y), str(w), str(h)],
                                 stdout=f, stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, env=ENV, cwd=LOGS)
        # The window says its handle once it is shown; polling the z-order instead could miss a short-lived one.
        def shown():
            m = re.search(r"^window=(\S+)$", Path(out).read_text(), re.M)
            return m and m.group(1)
        self.addCleanup(self.close_other, p)  # not left over a later test when this one fails
        hwnd = wait_until(shown, 30)
        self.assertTrue(hwnd, "the other window shows")
        return hwnd, p

    def close_other(self, p):
        if p.poll() is None:
            driver("close", "DriverWindow", "Driver")
            p.wait(30)

    def test_session_end_with_the_settings_window_open_is_agreed_and_ends_cleanly(self):
        reg("add", self.POS, "/v", "Left", "/t", "REG_DWORD", "/d", "5000", "/f")
        reg("add", self.POS, "/v", "Top", "/t", "REG_DWORD", "/d", "5000", "/f")
        self.ready()
        self.assertTrue(wait_until(tray_shown, 5), "the icon is there")
        driver("command", "TFormClock", "Lumivo", CMD["NillFirst"])
        self.assertTrue(wait_until(lambda: reg_dword(KEY + r"\Settings", "ZeroFirstView") is not None, 5))
        zero = reg_dword(KEY + r"\Settings", "ZeroFirstView")
        self.open()
        Path(os.path.join(self.prog.dir, "TempFiles", "Tmp1")).write_text("x")
        rc, out = driver("endsession", "TFormClock", "Lumivo")
        self.assertEqual(rc, 0, out)
        m = re.search(r"query=1 agreed=1 ms=(\d+)", out)
        self.assertTrue(m, out)
        self.assertLess(int(m.group(1)), 1000, "agreed at once")
        self.assertFalse(visible("#32770"), "no question box")
        self.assertTrue(ended(self.prog.procs[-1], 15), "the program ended")
        self.assertFalse(info("TFormClock"), "no clock window left")
        self.assertFalse(tray_shown(), "no icon left")
        self.assertFalse(os.path.exists(os.path.join(self.prog.dir, "TempFiles", "Tmp1")), "scratch files cleared")
        self.assertEqual(reg_dword(KEY + r"\Settings", "ZeroFirstView"), zero, "the settings are stored")
        self.assertEqual((reg_dword(self.POS, "Left"), reg_dword(self.POS, "Top")), (5000, 5000),
                         "the user's own place, not the one the clock was moved to")
        self.assertEqual(self.prog.log_lines(), [], "nothing failed")

    def test_wineboot_ends_the_session_with_a_quick_exit_counting_down_and_nothing_asked(self):
        reg("add", self.POS, "/v", "Left", "/t", "REG_DWORD", "/d", "5000", "/f")
        reg("add", self.POS, "/v", "Top", "/t", "REG_DWORD", "/d", "5000", "/f")
        self.ready()
        driver("command", "TFormClock", "Lumivo", CMD["QuickExit"])
        self.assertTrue(wait_until(lambda: visible(*QSD), 10), "the quick-exit window opens")
        time.sleep(0.3)
        driver("select", *QSD, 1, 0)
        driver("settext", *QSD, 0, "1")
        driver("settext", *QSD, 1, "30")
        time.sleep(0.3)
        driver("click", *QSD, "Зап&уск")
        time.sleep(1.0)
        self.assertTrue(visible(*QSD), "still open, counting down")
        Path(os.path.join(self.prog.dir, "TempFiles", "Tmp3")).write_text("x")
        started = time.time()
        # Wine's next session would start the program again from its Run value, into the next test.
        for hive in ("HKLM", "HKCU"):
            reg("delete", hive + r"\SOFTWARE\Microsoft\Windows\CurrentVersion\Run", "/v", "Lumivo", "/f")
        # Wine's session end takes its server down too: the next test starts on a settled one.
        self.addCleanup(lambda: (run(["wineserver", "-w"], timeout=30, env=ENV),
                                 run(["wineserver", "-p", "900"], timeout=10, env=ENV)))
        rc, out = wine("wineboot", "--end-session", timeout=60)
        self.assertEqual(rc, 0, out)
        self.assertLess(time.time() - started, 5, "nobody waited for an answer")
        self.assertFalse(visible("#32770"), "not even the running quick exit's question")
        self.assertTrue(ended(self.prog.procs[-1], 15), "the program ended")
        self.assertTrue(wait_until(lambda: not tray_shown(), 5), "no icon left")
        self.assertFalse(os.path.exists(os.path.join(self.prog.dir, "TempFiles", "Tmp3")), "ended by itself, cleanly")
        self.assertEqual((reg_dword(self.POS, "Left"), reg_dword(self.POS, "Top")), (5000, 5000))
        self.assertEqual(self.prog.log_lines(), [])

    def test_a_refused_session_end_goes_on(self):
        self.ready()
        driver("post", "TFormClock", "Lumivo", 0x16, 0, 0)  # WM_ENDSESSION, FALSE: someone else refused
        time.sleep(1.0)
        self.assertIsNone(self.prog.procs[-1].poll(), "still running")
        self.assertTrue(clock()["visible"])
        self.assertTrue(tray_shown())

    def test_a_place_off_the_screen_shows_on_it_and_stays_stored_until_dragged(self):
        reg("add", self.POS, "/v", "Left", "/t", "REG_DWORD", "/d", "5000", "/f")
        reg("add", self.POS, "/v", "Top", "/t", "REG_DWORD", "/d", "5000", "/f")
        self.ready()
        c = clock()
        self.assertTrue(c["visible"])
        self.assertTrue(0 <= c["x"] and c["x"] + c["w"] <= 1280 and 0 <= c["y"] and c["y"] + c["h"] <= 1024,
                        "on the 1280x1024 screen: %s" % c)
        screenshot("clock-brought-on-screen")
        self.prog.stop()
        settle_registry()
        self.assertEqual((reg_dword(self.POS, "Left"), reg_dword(self.POS, "Top")), (5000, 5000))
        c = self.ready_again()
        pt = find_pixel(c, time_red)
        self.assertIsNotNone(pt, "red time text on screen")
        x, y = pt
        xdotool("mousemove", x, y, "sleep", 0.2, "mousedown", 1, "sleep", 0.1, "mousemove", x - 30, y - 20,
                "sleep", 0.1, "mousemove", x - 60, y - 40, "sleep", 0.2, "mouseup", 1)
        self.assertTrue(wait_until(lambda: reg_dword(self.POS, "Left") == c["x"] - 60, 5), "the drag is stored")
        self.assertEqual(reg_dword(self.POS, "Top"), c["y"] - 40)

    def ready_again(self):
        self.ready()
        return clock()

    def test_stay_on_top_takes_its_place_back(self):
        reg("add", KEY + r"\Settings", "/v", "StayOnTop", "/t", "REG_DWORD", "/d", "1", "/f")
        reg("add", self.POS, "/v", "Left", "/t", "REG_DWORD", "/d", "300", "/f")
        reg("add", self.POS, "/v", "Top", "/t", "REG_DWORD", "/d", "300", "/f")
        self.ready()
        c = clock()
        self.assertEqual(c["topmost"], 1)
        other, p = self.other_window(60, False, 250, 250, 600, 400)
        time.sleep(0.5)
        assert_above(c["hwnd"], other, "over an ordinary window activated on its place")
        # Another program takes the topmost place away: it comes back.
        driver("untop", "TFormClock", "Lumivo")
        self.assertTrue(wait_until(lambda: clock()["topmost"] == 1, 3), "topmost again")
        assert_above(c["hwnd"], other, "on top again")
        screenshot("stay-on-top-over-a-window")
        self.close_other(p)
        # A full-screen window comes and goes: the clock is still on top of an ordinary window after it.
        # (Wine 8 never calls the foreground hook, so a topmost window activated later stays above it here.)
        full, p = self.other_window(2, True, 0, 0, 1280, 1024)
        p.wait(30)
        other, p = self.other_window(60, False, 250, 250, 600, 400)
        time.sleep(0.5)
        self.assertEqual(clock()["topmost"], 1)
        assert_above(c["hwnd"], other, "over the window activated after the full-screen one")
        self.close_other(p)

    def test_without_stay_on_top_it_stays_on_the_desktop_layer(self):
        reg("add", KEY + r"\Settings", "/v", "StayOnTop", "/t", "REG_DWORD", "/d", "0", "/f")
        reg("add", self.POS, "/v", "Left", "/t", "REG_DWORD", "/d", "300", "/f")
        reg("add", self.POS, "/v", "Top", "/t", "REG_DWORD", "/d", "300", "/f")
        self.ready()
        c = wait_until(lambda: clock()["topmost"] == 0 and clock(), 5)
        self.assertTrue(c, "not topmost: %s" % clock())
        other, p = self.other_window(60, False, 500, 250, 600, 400)
        time.sleep(0.5)
        assert_above(other, c["hwnd"], "under an ordinary window")
        # A click on the clock's visible part does not lift it over the window.
        pt = find_pixel(dict(c, w=150), time_red)
        self.assertIsNotNone(pt, "the clock's left part shows")
        xdotool("mousemove", pt[0], pt[1], "sleep", 0.1, "click", 1, "sleep", 0.5)
        # The clock puts its layer right once the click's activation is over.
        assert_above(other, c["hwnd"], "back under it after a click", within=3)
        screenshot("desktop-layer")
        # A second copy asks to see the clock: it comes in front of the window.
        self.assertTrue(ended(self.prog.start(), 30), "the second copy ends")
        assert_above(c["hwnd"], other, "in front at the second copy's word", within=5)
        self.close_other(p)
        # Switched on from the menu, it is on top at once.
        driver("command", "TFormClock", "Lumivo", CMD["OnTopPOM"])
        self.assertTrue(wait_until(lambda: clock()["topmost"] == 1, 5))
        self.assertTrue(wait_until(lambda: reg_dword(KEY + r"\Settings", "StayOnTop") == 1, 5))


class FirstLaunch(ProgramTest):
    """A fresh registry: the first-launch window, then the settings preloaded from the shipped defaults."""

    first_launch = True

    def test_first_launch_offers_the_shipped_defaults(self):
        self.assertTrue(start_clock(self.prog), "the clock shows")
        driver("close", "TFormSplashScreen", "*")
        w = wait_until(lambda: visible("TFormFirstLaunch", "Первый запуск..."), 10)
        self.assertTrue(w, "the first-launch window follows the splash")
        time.sleep(0.5)
        screenshot("first-launch")
        driver("click", "TFormFirstLaunch", "Первый запуск...", "&Ok")
        # The defaults are read into the window before it shows, and say so.
        self.assertTrue(wait_until(lambda: visible("#32770", "Сообщение"), 10), "the defaults loaded")
        screenshot("first-launch-loaded")
        driver("post", "#32770", "Сообщение", 0x0100, 0x0D, 0)
        self.assertTrue(wait_until(lambda: visible(*SETTINGS), 10), "then the settings window")
        time.sleep(0.5)
        screenshot("first-launch-settings")
        rows = children_of(*SETTINGS)
        self.assertTrue([r for r in rows if r["text"] == "&Отмена" and r["enabled"] == "1"],
                        "the defaults are loaded, not stored yet")
        driver("click", *SETTINGS, "&Ok")
        self.assertTrue(wait_until(lambda: not info(*SETTINGS), 5))
        settle_registry()
        self.assertEqual(reg_dword(KEY + r"\Settings", "AlphaSet"), 230, "the shipped opacity stored")
        self.assertEqual(reg_dword(KEY + r"\Settings", "AutoLaunch"), 2, "starts for this user only")
        self.assertEqual(clock()["alpha"], 230)

class Portable(SettingsDriving, ProgramTest):
    """The copy unpacked from the release's zip keeps its settings and reminders in Lumivo.ini beside
    it: the program's registry key never exists, and the folder carried to another computer (a
    fresh prefix) keeps everything."""

    first_launch = True
    RUN_KEYS = [h + r"\Software\Microsoft\Windows\CurrentVersion\Run" for h in ("HKCU", "HKLM")]

    def setUp(self):
        super().setUp()
        Path(self.prog.dir, "Portable.txt").write_text("portable\r\n")
        # An earlier test's copy may have left its start-up value in this shared prefix.
        for key in self.RUN_KEYS:
            reg("delete", key, "/v", "Lumivo", "/f")

    def ini(self, prog=None):
        path = Path((prog or self.prog).dir, "Lumivo.ini")
        data = path.read_bytes() if path.exists() else b""
        return data[3:].decode("utf-8") if data.startswith(b"\xef\xbb\xbf") else data.decode("cp1251")

    def assert_no_key(self, when):
        rc, out = reg("query", r"HKCU\Software\Vantrel")
        self.assertNotEqual(rc, 0, "HKCU\\Software\\Vantrel exists " + when)
        for key in self.RUN_KEYS:
            self.assertIsNone(reg_query(key, "Lumivo"), "a start-up value nobody asked for, " + when)

    @contextmanager
    def computer(self, name):
        """Another computer: a fresh prefix, which every Wine call of this module uses meanwhile."""
        global ENV, PREFIX
        where = tempfile.mkdtemp(prefix="lumivo-%s-" % name, dir=os.path.dirname(PREFIX))
        rc = subprocess.call(["bash", "-c", 'source "$1" && wine_env_spare_prefix "$2"', "-", WINE_ENV, where],
                             stdin=subprocess.DEVNULL, env=os.environ)
        self.assertEqual(rc, 0, "a fresh prefix in " + where)
        home = os.path.join(where, "home")
        saved = ENV, PREFIX
        ENV = dict(ENV, WINEPREFIX=os.path.join(where, "prefix"), HOME=home, XDG_CONFIG_HOME=home + "/.config",
                   XDG_CACHE_HOME=home + "/.cache", XDG_DATA_HOME=home + "/.local/share")
        PREFIX = ENV["WINEPREFIX"]
        try:
            run(["wineserver", "-p", "900"], timeout=10)
            yield
        finally:
            run(["wineserver", "-k"], timeout=20)
            ENV, PREFIX = saved
            shutil.rmtree(where, ignore_errors=True)

    def quick_exit_window(self):
        """Opens the quick-exit window; its two lists' choices, as shown."""
        driver("command", "TFormClock", "Lumivo", CMD["QuickExit"])
        self.assertTrue(wait_until(lambda: visible(*QSD), 10), "the quick-exit window opens")
        return [r["text"] for r in children_of(*QSD) if r.get("class") == "ComboBox"]

    def close_quick_exit_window(self):
        driver("click", *QSD, "&Закрыть")
        self.assertTrue(wait_until(lambda: not visible(*QSD), 5))

    def starts_as_it_was(self, where):
        """Started again: no first launch, the quick-exit defaults and the file as they were left."""
        self.assertTrue(start_clock(self.prog), "the clock shows " + where)
        driver("close", "TFormSplashScreen", "*")
        self.assertFalse(wait_until(lambda: visible("TFormFirstLaunch", "Первый запуск..."), 4), "a first launch " + where)
        self.assertEqual(self.quick_exit_window()[1], "Перезагрузка", "the quick-exit defaults " + where)
        self.close_quick_exit_window()
        for line in ("SecondsView=dword:1", "AlphaSet=dword:230", "Name=Чай", "ModeWork=dword:1", "AutoLaunch=dword:0"):
            self.assertIn(line, self.ini())
        self.assert_no_key(where)
        self.prog.stop()
        self.assertIn("ExePatch=" + self.prog.exe, self.ini(), "the copy that ran last")

    @unittest.skipUnless(FAKETIME_LIB, "needs faketime")
    def test_the_zip_keeps_everything_in_its_folder_and_carries_it_to_another_computer(self):
        self.assertTrue(os.path.isfile(ZIP), "needs %s (scripts/release.sh makes it)" % ZIP)
        with zipfile.ZipFile(ZIP) as z:
            self.assertTrue(z.read("Lumivo/Lumivo.exe") == Path(DIST, "Lumivo.exe").read_bytes(),
                            "the zip is of this build (scripts/release.sh makes it)")
        carried = os.path.join(LOGS, "carried")
        own = self.prog
        try:
            with self.computer("first"):
                self.prog = Program("Portable", unpack=ZIP)
                self.assertTrue(os.path.isfile(os.path.join(self.prog.dir, "Portable.txt")), "the zip brings the marker")
                self.first_run()
                self.starts_as_it_was("after a restart")
                shutil.copytree(self.prog.dir, carried)
            with self.computer("second"):
                self.prog = Program("Stick")
                shutil.rmtree(self.prog.dir)
                shutil.copytree(carried, self.prog.dir)
                self.starts_as_it_was("on another computer")
        finally:
            self.prog.stop()
            self.prog = own

    def first_run(self):
        start_at(self, "2026-12-08 10:14:20", debug="-all")
        driver("close", "TFormSplashScreen", "*")
        self.assertTrue(wait_until(lambda: visible("TFormFirstLaunch", "Первый запуск..."), 10), "a first launch")
        driver("click", "TFormFirstLaunch", "Первый запуск...", "&Ok")
        self.assertTrue(wait_until(lambda: visible("#32770", "Сообщение"), 10), "the defaults loaded")
        driver("post", "#32770", "Сообщение", 0x0100, 0x0D, 0)
        self.assertTrue(wait_until(lambda: visible(*SETTINGS), 10), "then the settings window")
        time.sleep(0.5)
        screenshot("portable-first-launch-settings")  # start-up offered: "Нет"
        self.page(3)
        ReminderEditing.editor(self, "Чай", "10", "15", "&Добавить")
        ReminderEditing.with_message(self)
        driver("click", *SIGN, "&Ок")
        self.assertTrue(wait_until(lambda: not info(*SIGN), 5), "the reminder stored")
        driver("click", *SETTINGS, "&Ok")
        self.assertTrue(wait_until(lambda: not info(*SETTINGS), 5))
        self.assertTrue(wait_until(lambda: "AlphaSet=dword:230" in self.ini(), 3), "the confirmed settings in the file")
        self.assert_no_key("after the first launch")
        driver("command", "TFormClock", "Lumivo", CMD["ViewSecondsA"])
        self.assertTrue(wait_until(lambda: "SecondsView=dword:1" in self.ini(), 2), "a menu toggle within a second")
        # The quick exit's defaults: counting to a time of day, a restart.
        self.quick_exit_window()
        driver("select", *QSD, 0, 1)
        driver("select", *QSD, 1, 1)
        driver("click", *QSD, "&Сохранить")
        self.assertTrue(wait_until(lambda: "ModeWork=dword:1" in self.ini() and "TypeTime=dword:1" in self.ini(), 2),
                        "the quick-exit defaults in the file")
        self.close_quick_exit_window()
        self.assertTrue(wait_until(lambda: visible("#32770", "Внимание..."), 90, 0.2), "the reminder fires at its minute")
        driver("command", "#32770", "Внимание...", 1)
        self.prog.stop()
        self.assert_no_key("after the program ended")
        self.assertNotIn("Lumivo.ini.~tmp", os.listdir(self.prog.dir))

    def test_a_read_only_folder_runs_on_the_registry_and_says_so(self):
        reg("add", KEY + r"\Settings", "/f")  # not a first launch
        locked = run(["chattr", "-R", "+i", self.prog.dir], env=os.environ)[0] == 0
        try:
            if not locked:
                self.skipTest("no way here to make a folder read-only for root (chattr +i)")
            self.assertTrue(start_clock(self.prog), "the clock shows")
            driver("close", "TFormSplashScreen", "*")
            self.assertEqual(wait_until(lambda: reg_query(KEY, "ExePatch"), 5), ("REG_SZ", self.prog.exe),
                             "on the registry")
            # Said in the log of the folder it writes instead, this user's.
            user = next(u for u in os.listdir(os.path.join(PREFIX, "drive_c", "users")) if u != "Public")
            log = os.path.join(PREFIX, "drive_c", "users", user, "AppData", "Local", "Lumivo", "Error", "Debug.Log")
            said = lambda: os.path.exists(log) and "доступна только для чтения" in Path(log).read_bytes().decode("utf-8-sig")
            self.assertTrue(wait_until(said, 5), "the read-only folder told in " + log)
            screenshot("portable-read-only")
            self.assertFalse(os.path.exists(os.path.join(self.prog.dir, "Lumivo.ini")))
        finally:
            self.prog.stop()
            run(["chattr", "-R", "-i", self.prog.dir], env=os.environ)

    def test_killed_while_it_writes_the_file_is_the_old_or_the_new_one(self):
        """Killed at random moments around the rewrite that a menu toggle makes (the file made large
        with reminders, so that the rewrite takes a while): each time the file is one of the two
        whole versions, and the next start shows the clock."""
        import random
        kills = int(os.environ.get("LUMIVO_KILLS", "200"))
        reminders = "".join("[Software\\Vantrel\\Lumivo\\Remind\\Remind%d]\r\nName=Напоминание %d\r\n"
                            "TimeH=**\r\nTimeM=%d\r\nRemindEnabled=dword:0\r\n" % (n, n, n % 60)
                            for n in range(1, 601))
        Path(self.prog.dir, "Lumivo.ini").write_bytes((
            # On the screen: a place partly above it is moved by Wine at some starts (an open finding).
            "[Software\\Vantrel\\Lumivo\\Settings]\r\nGlobalHotkeys=dword:0\r\n"
            "[Software\\Vantrel\\Lumivo\\Settings\\Position]\r\nLeft=dword:30\r\nTop=dword:40\r\n"
            "[Software\\Vantrel\\Lumivo\\Remind]\r\nRemindCount=dword:600\r\n" + reminders).encode("cp1251"))
        # The two versions, each written whole by the program itself.
        versions = set()
        self.assertTrue(start_clock(self.prog), "the clock shows")
        for seconds in ("1", "0"):
            driver("command", "TFormClock", "Lumivo", CMD["ViewSecondsA"])
            self.assertTrue(wait_until(lambda: "SecondsView=dword:" + seconds in self.ini(), 5))
            time.sleep(0.3)
            versions.add(Path(self.prog.dir, "Lumivo.ini").read_bytes())
        self.assertEqual(len(versions), 2)
        rng = random.Random(20261209)
        temp = os.path.join(self.prog.dir, "Lumivo.ini.~tmp")
        before = Path(self.prog.dir, "Lumivo.ini").read_bytes()
        counts = {"old": 0, "new": 0, "mid-write": 0}
        for n in range(kills):
            # The toggle from a driver of its own, the kill at any moment of its way to the disk.
            toggle = subprocess.Popen(["wine", DRIVER, "command", "TFormClock", "Lumivo", str(CMD["ViewSecondsA"])],
                                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=ENV, cwd=LOGS)
            time.sleep(rng.uniform(0, 0.4))
            run(["pkill", "-KILL", "-f", "Lumivo-%s.Lumivo.exe" % self.prog.name], env=os.environ)
            for p in self.prog.procs + [toggle]:
                p.wait(20)
            data = Path(self.prog.dir, "Lumivo.ini").read_bytes()
            if data not in versions:
                for i, v in enumerate([data] + sorted(versions)):
                    Path(LOGS, "kill-%d-%d.ini" % (n, i)).write_bytes(v)
                self.fail("kill %d: the file is neither version (kept in %s)" % (n, LOGS))
            counts["old" if data == before else "new"] += 1
            # A temporary file left behind: killed between its first byte and its move.
            counts["mid-write"] += os.path.exists(temp)
            before = data
            self.assertTrue(start_clock(self.prog), "kill %d: the next start shows the clock" % n)
        print("\n  %d kills: the old file after %d, the new after %d, a write cut off in %d"
              % (kills, counts["old"], counts["new"], counts["mid-write"]))
        self.assert_no_key("after the kills")


DESKTOP = r"HKCU\Control Panel\Desktop"
# The settings window's tabs, their middles in 96-dpi units from the tab row's left.
SETTINGS_TABS = (30, 105, 176, 254)


class HighDpi(SettingsDriving, ProgramTest):
    """The program on a screen of 144 and 192 dpi (Wine's LogPixels, which it reads at each start):
    every window drawn at the screen's resolution, the stored position in 96-dpi units."""

    def tearDown(self):
        super().tearDown()
        reg("delete", DESKTOP, "/v", "LogPixels", "/f")

    def start_at(self, dpi, splash_shot=None):
        reg("add", DESKTOP, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi), "/f")
        reg("add", KEY + r"\Settings\QuickExit", "/v", "QSDIcon", "/t", "REG_DWORD", "/d", "1", "/f")
        self.assertTrue(start_clock(self.prog), "the clock shows")
        splash = visible("TFormSplashScreen")
        if splash_shot and splash:
            screenshot(splash_shot)
            self.assertEqual((splash[0]["cw"], splash[0]["ch"]), (round(300 * dpi / 96), round(150 * dpi / 96)))
        driver("close", "TFormSplashScreen", "*")
        self.assertTrue(wait_until(lambda: (clock() or {}).get("alpha") == 255, 15), "faded in")
        time.sleep(0.5)

    def stop(self):
        self.prog.stop()
        self.prog.procs = []

    def test_windows_scale_by_one_and_a_half_at_144_dpi(self):
        self.start_at(96)
        small = clock()
        self.stop()
        self.start_at(144)
        big = clock()
        # The stored place (30, -15) is 96-dpi units: 1.5 times on this screen, halves away from zero.
        self.assertEqual((big["x"], big["y"]), (45, -23))
        for k in ("cw", "ch"):
            self.assertAlmostEqual(big[k] / small[k], 1.5, delta=0.06, msg="clock %s %d -> %d" % (k, small[k], big[k]))
        driver("command", "TFormClock", "Lumivo", CMD["Err"])
        err = wait_until(lambda: visible("TFormError"), 10)
        self.assertTrue(err, "error window")
        self.assertEqual((err[0]["cw"], err[0]["ch"]), (792, 282), "528x188 at 1.5")
        driver("click", "TFormError", "Ошибка...", "&Игнорировать")
        self.assertTrue(wait_until(lambda: not info("TFormError"), 10))

    def test_a_drag_at_144_dpi_stores_96_dpi_units(self):
        self.start_at(144)
        c = clock()
        pt = find_pixel(c, time_red)
        self.assertIsNotNone(pt, "red time text on screen")
        x, y = pt
        xdotool("mousemove", x, y, "sleep", 0.2, "mousedown", 1, "sleep", 0.1, "mousemove", x + 45, y + 30,
                "sleep", 0.1, "mousemove", x + 90, y + 60, "sleep", 0.3, "mouseup", 1)
        self.assertTrue(wait_until(lambda: clock()["x"] >= c["x"] + 88, 5), "moved by the drag")
        time.sleep(0.5)
        settle_registry()
        moved = clock()
        self.assertTrue(moved, "the clock still shows after the drag (program exit code %s)" % self.prog.procs[-1].poll())
        left = reg_dword(KEY + r"\Settings\Position", "Left")
        top = reg_dword(KEY + r"\Settings\Position", "Top")
        self.assertEqual((left, top), (round(moved["x"] / 1.5), round(moved["y"] / 1.5)), "stored on drag end")
        self.assertTrue(abs(left - 90) <= 1 and abs(top - 25) <= 1, "(30, -15) + (90, 60) / 1.5: %d, %d" % (left, top))
        # The stored place shows where it was left after a restart.
        self.stop()
        self.prog.start()
        again = wait_until(lambda: (clock() or {}).get("visible") and clock(), 20)
        self.assertEqual((again["x"], again["y"]), (moved["x"], moved["y"]))

    def test_a_move_to_a_monitor_of_another_resolution(self):
        """WM_DPICHANGED as the system sends it when a window is dragged onto another monitor."""
        self.start_at(96)
        before = clock()
        driver("post", "TFormClock", "Lumivo", 0x02E0, (144 << 16) | 144, 0)
        self.assertTrue(wait_until(lambda: clock()["cw"] > before["cw"] * 1.4, 5), "the clock grows")
        time.sleep(0.5)
        big = clock()
        self.assertEqual((big["x"], big["y"]), (before["x"], before["y"]), "its corner stays where the user put it")
        self.assertAlmostEqual(big["cw"] / before["cw"], 1.5, delta=0.06)
        self.assertAlmostEqual(big["ch"] / before["ch"], 1.5, delta=0.06)
        screenshot("dpi-changed-clock")
        driver("post", "TFormClock", "Lumivo", 0x02E0, (96 << 16) | 96, 0)
        self.assertTrue(wait_until(lambda: clock()["cw"] == before["cw"] and clock()["ch"] == before["ch"], 5),
                        "back to its size")
        driver("command", "TFormClock", "Lumivo", CMD["Err"])
        self.assertTrue(wait_until(lambda: visible("TFormError"), 10), "error window")
        driver("post", "TFormError", "*", 0x02E0, (144 << 16) | 144, 0)
        err = wait_until(lambda: [w for w in visible("TFormError") if w["cw"] == 792], 5)
        self.assertTrue(err, "528x188 becomes 792x282: %s" % visible("TFormError"))
        self.assertEqual(err[0]["ch"], 282)
        time.sleep(0.5)
        screenshot("dpi-changed-error")
        rows = [r for r in children_of("TFormError", "*") if r["text"] == "&Игнорировать"]
        self.assertTrue(rows)
        driver("click", "TFormError", "*", "&Игнорировать")
        self.assertTrue(wait_until(lambda: not info("TFormError"), 10))

    def tour(self, dpi):
        """Every window once at this resolution, each shot into out/e2e/dpi<N>-*.png."""
        name = "dpi%d-" % dpi
        self.start_at(dpi, name + "splash")
        scale = dpi / 96
        screenshot(name + "clock")
        self.open()
        rc, out = driver("rect", *SETTINGS, "SysTabControl32", 0)
        r = dict(kv.split("=") for kv in out.split())
        for n, page in enumerate(("general", "interface", "sounds", "reminders")):
            xdotool("mousemove", int(r["x"]) + round(SETTINGS_TABS[n] * scale), int(r["y"]) + round(10 * scale),
                    "sleep", 0.2, "click", 1, "sleep", 0.5)
            screenshot(name + "settings-" + page)
        driver("click", *SETTINGS, "&Добавить")
        self.assertTrue(wait_until(lambda: visible("TFormSign"), 10), "the reminder editor opens")
        time.sleep(0.5)
        screenshot(name + "reminder-editor")
        driver("close", "TFormSign", "*")
        self.assertTrue(wait_until(lambda: not visible("TFormSign"), 10))
        driver("close", *SETTINGS)
        self.assertTrue(wait_until(lambda: not visible(*SETTINGS), 10))
        for command, cls, shot in (("QuickExit", "TFormQuickShutDown", "quick-exit"), ("Err", "TFormError", "error"),
                                   ("AboutPro", "TFormAbout", "about")):
            driver("command", "TFormClock", "Lumivo", CMD[command])
            w = wait_until(lambda: visible(cls), 10)
            self.assertTrue(w, cls)
            time.sleep(0.5)
            screenshot(name + shot)
            # On the screen whole: nothing of it cut off by the screen's edges.
            self.assertTrue(w[0]["x"] >= 0 and w[0]["y"] >= 0 and w[0]["x"] + w[0]["w"] <= 1280 and
                            w[0]["y"] + w[0]["h"] <= 1024, "%s on the screen: %s" % (cls, w[0]))
            if cls == "TFormError":
                driver("click", cls, "*", "&Игнорировать")
            else:
                driver("close", cls, "*")
            self.assertTrue(wait_until(lambda: not visible(cls), 10), cls + " closed")

    def test_every_window_at_96_dpi(self):
        self.tour(96)

    def test_every_window_at_144_dpi(self):
        self.tour(144)

    def test_every_window_at_192_dpi(self):
        self.tour(192)


if __name__ == "__main__":
    result = unittest.main(argv=[sys.argv[0], "-v"] + sys.argv[1:], exit=False).result
    failed = len(result.failures) + len(result.errors)
    if not failed:
        shutil.rmtree(LOGS, ignore_errors=True)
    else:
        print("programs' output kept in", LOGS)
    print("e2e: %d passed, %d failed" % (result.testsRun - failed - len(result.skipped), failed))
    sys.exit(1 if failed else 0)
