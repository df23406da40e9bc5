"""The help pages as they ship: every page a button opens is there, every link and picture
leads somewhere, pictures carry their true size, and every caption a page quotes as the
program's (class="ui") is one the program really shows.
Usage: help-pages.py [PROGRAM_FOLDER]  (a built dist/Lumivo, checked to hold the same files)
Ends with one line: "help-pages: N passed, N failed"."""
import glob
import html.parser
import os
import re
import struct
import sys
import urllib.parse
from pathlib import Path

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
ASSETS = os.path.join(ROOT, "assets")
# The pages every release has, whether or not a button opens them yet.
NAMED = ["Help.htm"] + ["Help/%s.htm" % p for p in ("index", "indexSetAll", "indexSetInt", "indexSetSnd",
                                                      "indexSetRem", "indexEditRem", "indexQSD", "indexErr")]

passed = failed = 0


def check(name, ok, detail=""):
    global passed, failed
    if ok:
        passed += 1
    else:
        failed += 1
        print("FAIL %s%s" % (name, (": " + detail) if detail else ""))


def norm(text):
    return re.sub(r"\s+", " ", text.replace("&", "")).strip()


def source_texts():
    """Every string literal of the program, as a user sees it: access-key marks gone, blanks folded."""
    texts = []
    for path in glob.glob(os.path.join(ROOT, "src", "**", "*.*"), recursive=True):
        if not path.endswith((".cpp", ".h")):
            continue
        src = Path(path).read_text(encoding="utf-8")
        # Adjacent literals are one text in C++.
        for run in re.findall(r'(?:"(?:[^"\\\n]|\\.)*"\s*)+', src):
            parts = re.findall(r'"((?:[^"\\\n]|\\.)*)"', run)
            text = re.sub(r"\\u([0-9A-Fa-f]{4})", lambda m: chr(int(m.group(1), 16)), "".join(parts))
            texts.append(norm(text.replace('\\"', '"').replace("\\n", " ").replace("\\r", " ")))
    return texts


def opened_pages():
    """The help pages the program's buttons and menu open, read from its source."""
    found = set()
    for path in glob.glob(os.path.join(ROOT, "src", "**", "*.cpp"), recursive=True):
        src = Path(path).read_text(encoding="utf-8")
        for page in re.findall(r'"(index\w*\.htm)"', src):
            found.add("Help/" + page)
        if re.search(r'"Help\.htm"', src):
            found.add("Help.htm")
    return found


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    return struct.unpack(">II", head[16:24])


class Page(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.links, self.images, self.ids, self.ui = [], [], set(), []
        self.lang = self.charset = None
        self._ui_depth = []
        self._text = []

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if "id" in a:
            self.ids.add(a["id"])
        if tag == "html":
            self.lang = a.get("lang")
        elif tag == "meta" and "charset" in a:
            self.charset = a["charset"].lower()
        elif tag in ("a", "link") and "href" in a:
            self.links.append(a["href"])
        elif tag == "img":
            self.images.append(a)
        if "ui" in (a.get("class") or "").split():
            self._ui_depth.append(tag)
            self._text.append("")

    def handle_endtag(self, tag):
        if self._ui_depth and self._ui_depth[-1] == tag:
            self._ui_depth.pop()
            self.ui.append(norm(self._text.pop()))

    def handle_data(self, data):
        if self._text:
            self._text[-1] += data


def main():
    texts = "\n".join(source_texts())
    pages = sorted(os.path.relpath(p, ASSETS).replace(os.sep, "/")
                   for p in [os.path.join(ASSETS, "Help.htm")] + glob.glob(os.path.join(ASSETS, "Help", "*.htm")))
    for page in sorted(set(NAMED) | opened_pages()):
        check("page %s exists" % page, page in pages)
    check("the program opens some help page", len(opened_pages()) >= 8, str(sorted(opened_pages())))

    used_files = set()
    reached = {"Help.htm"}
    parsed = {}
    for page in pages:
        path = os.path.join(ASSETS, page)
        raw = Path(path).read_bytes()
        try:
            text = raw.decode("utf-8")
        except UnicodeDecodeError as e:
            check("%s is UTF-8" % page, False, str(e))
            continue
        p = Page()
        p.feed(text)
        parsed[page] = p
        check("%s: lang=ru and charset utf-8" % page, p.lang == "ru" and p.charset == "utf-8")
    for page, p in parsed.items():
        here = os.path.dirname(page)
        for href in p.links:
            url = urllib.parse.urlsplit(href)
            if url.scheme or url.netloc:
                check("%s: no link leaves the program folder (%s)" % (page, href), False)
                continue
            target = os.path.normpath(os.path.join(here, urllib.parse.unquote(url.path))).replace(os.sep, "/") \
                if url.path else page
            exists = os.path.isfile(os.path.join(ASSETS, target))
            check("%s: link %s" % (page, href), exists)
            if exists:
                used_files.add(target)
                reached.add(target)
                if url.fragment:
                    check("%s: anchor %s" % (page, href),
                          target in parsed and url.fragment in parsed[target].ids)
        for img in p.images:
            src = img.get("src", "")
            target = os.path.normpath(os.path.join(here, src)).replace(os.sep, "/")
            full = os.path.join(ASSETS, target)
            size = png_size(full) if os.path.isfile(full) else None
            check("%s: picture %s is a PNG" % (page, src), size is not None)
            check("%s: picture %s has alt text" % (page, src), bool((img.get("alt") or "").strip()))
            if size:
                used_files.add(target)
                check("%s: picture %s is %dx%d as said" % (page, src, *size),
                      (img.get("width"), img.get("height")) == (str(size[0]), str(size[1])),
                      "width=%s height=%s" % (img.get("width"), img.get("height")))
        for caption in p.ui:
            check("%s: the program shows «%s»" % (page, caption), caption and caption in texts)
    for page in pages:
        check("%s is reached from Help.htm" % page, page in reached)
    shipped = sorted(os.path.relpath(f, ASSETS).replace(os.sep, "/")
                     for f in glob.glob(os.path.join(ASSETS, "Help", "**", "*"), recursive=True) if os.path.isfile(f))
    for f in shipped:
        if not f.endswith(".htm"):
            check("%s is used by a page" % f, f in used_files)
    # They go into the installer: each window's picture stays small.
    for f in shipped:
        if f.endswith(".png"):
            check("%s is under 40 KB" % f, os.path.getsize(os.path.join(ASSETS, f)) < 40 * 1024)

    if len(sys.argv) > 1:
        dist = sys.argv[1]
        for f in ["Help.htm"] + shipped:
            there = os.path.join(dist, f)
            same = os.path.isfile(there) and Path(there).read_bytes() == Path(os.path.join(ASSETS, f)).read_bytes()
            check("%s in %s" % (f, dist), same)

    print("help-pages: %d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
