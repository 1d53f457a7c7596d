#!/usr/bin/python3
"""Usage: phones_browser.py [--finish | --webkit] LANGUAGE URL. Three phones, each its own
Chromium (with --webkit, WebKitGTK's MiniBrowser, as on iPhones) on DISPLAY, play through the link
off the TV's QR code: they join by name, roll in turn, are back on their seats after the server
dropped their sockets, and one invites the next with a QR code; --finish: they take a game's
seats near its end, play it to the podium and start another round. On every screen each text is
the game's in LANGUAGE (or a name, or the task), and in Chromium none is wider than the phone's
360 px (MiniBrowser goes no narrower than about 450).
KRAXELBRETT_PHONE_SHOT=FILE and KRAXELBRETT_TV_SHOT=FILE keep a picture of a phone's game screen
and of the TV."""
import json
import os
import re
import subprocess
import sys
import tempfile
import time
import urllib.parse
import urllib.request

from selenium import webdriver
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.chrome.service import Service as ChromeService

NAMES = ["Anna", "Jörg", "Bob"]
FLAGS = ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync"]
# What a phone's page shows, read in one go.
SNAPSHOT = """const $ = (id) => document.getElementById(id), socket = window.kraxelbrettSocket;
const shown = (id) => !$(id).closest('[hidden]'), text = (id) => shown(id) ? $(id).textContent : '';
return {game: shown('game'), join: shown('join'), canJoin: !$('joinButton').disabled,
        me: $('me').textContent, mark: $('myMark').textContent, turn: $('turn').textContent, field: $('field').textContent,
        canRoll: !$('roll').disabled, roll: $('roll').textContent, task: text('task'),
        band: getComputedStyle($('band')).backgroundColor, status: text('status'),
        fresh: !!socket && !socket.dropped && socket.readyState === WebSocket.OPEN,
        again: shown('again'), finished: shown('done')};"""
CLICK_SEAT = """for (const b of document.querySelectorAll('button.seat'))
  if (b.textContent === arguments[0] && !b.disabled) { b.click(); return true; }
return false;"""
# Every text on the page, shown or not, its language, and whether it is wider than the phone.
TEXTS = """const texts = [], walk = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
while (walk.nextNode()) { const t = walk.currentNode.textContent.trim(); if (t) texts.push(t); }
return {texts, lang: document.documentElement.lang,
        wide: document.documentElement.scrollWidth > window.innerWidth};"""
PO = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "po")
# A fresh socket's first lobby, as a phone without a seat gets it.
LOBBY = """const done = arguments[0], socket = new WebSocket(window.kraxelbrettSocket.url);
socket.onmessage = (e) => { const m = JSON.parse(e.data);
                            if (m.type === 'lobby') { socket.close(); done(m); } };
setTimeout(() => done(null), 3000);"""


def catalogue(language):
    """The game's messages in LANGUAGE: {English: [its forms there]}, from po/LANGUAGE.po."""
    path = os.path.join(PO, language + ".po")
    path = path if os.path.exists(path) else os.path.join(PO, "kraxelbrett.pot")
    words = {}
    for entry in open(path, encoding="utf-8").read().split("\n\n"):
        fields = {key: "".join(map(json.loads, re.findall(r'".*"', quoted))) for key, quoted in
                  re.findall(r'^(msg\w+(?:\[\d\])?) ((?:".*"\n?)+)', entry + "\n", re.M)}
        english = [fields.get("msgid", "")] + [fields[k] for k in ["msgid_plural"] if k in fields]
        forms = [v for k, v in sorted(fields.items()) if k.startswith("msgstr") and v]
        words[english[0]] = forms or english
    return words


def fail(why):
    sys.exit("phones_browser: " + why)


def until(what, seconds, test):
    """Polls test() until it is true, else fails with `what`: a line, or a function making it."""
    deadline = time.monotonic() + seconds
    while not test():
        if time.monotonic() > deadline:
            fail(what() if callable(what) else what)
        time.sleep(0.05)


def all_until(what, seconds, phones, read, wanted):
    """Polls until read(look) on every phone's page gives the list WANTED."""
    seen = lambda: [read(phone.look()) for phone in phones]
    until(lambda: f"{what}: {seen()}", seconds, lambda: seen() == wanted)


def open_phone(url, folder):
    """A phone's browser of the engine asked for, on the page at URL."""
    if WEBKIT:
        options = webdriver.WebKitGTKOptions()
        options.binary_location = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"
        options.add_argument("--automation")
        phone = WebKitPhone(executable_path="/usr/bin/WebKitWebDriver", options=options)
        phone.set_window_rect(width=450, height=800)
    else:
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in FLAGS + ["--user-data-dir=" + tempfile.mkdtemp(dir=folder)]:
            options.add_argument(flag)
        options.add_experimental_option(
            "mobileEmulation", {"deviceMetrics": {"width": 360, "height": 740, "pixelRatio": 1}})
        phone = ChromePhone(service=ChromeService("/usr/bin/chromedriver"), options=options)
    Page.opened.append(phone)
    phone.set_script_timeout(5)
    phone.get(url)
    return phone


class Page:
    """What the tests do with a phone's page, in either engine."""
    opened = []  # to be quit at the end, whatever happened

    def js(self, script, *arguments):
        return self.execute_script(script, *arguments)

    def look(self):
        return self.js(SNAPSHOT)

    def click(self, button):
        self.find_element("id", button).click()

    def until(self, what, seconds, test):
        until(lambda: f"{what}: {self.look()}", seconds, lambda: test(self.look()))

    def say(self, english):
        """The text the page shows for ENGLISH, in the page's own language."""
        return catalogue(self.js(TEXTS)["lang"])[english][0]

    def speaks(self, where, language, names):
        """Every text of the page is a message of the game's in LANGUAGE, a name, the task
        shown or the token's mark, and none is wider than the phone's 360 px."""
        page = self.js(TEXTS)
        if page["lang"] != language:
            fail(f"{where}: the page's language is {page['lang']}, not {language}")
        if page["wide"] and not WEBKIT:
            fail(f"{where}: the page is wider than the phone")
        known = [re.escape(form).replace(r"\{", "{").replace(r"\}", "}")
                 for forms in catalogue(language).values() for form in forms]
        pattern = re.compile("|".join(re.sub(r"\{\d\}", ".+", form) for form in known))
        look = self.look()
        for text in page["texts"]:
            if text not in names + [look["task"].strip(), look["mark"]] and \
                    not pattern.fullmatch(text):
                fail(f"{where}: the page shows \"{text}\", no message of the game's in {language}")


class ChromePhone(Page, webdriver.Chrome):
    pass


class WebKitPhone(Page, webdriver.WebKitGTK):
    pass


def run(url, folder, language):
    # 1. Three phones join by name, one after the other.
    phones = []
    for name in NAMES:
        phones.append(phone := open_phone(url, folder))
        phone.until(f"step 1: {name}'s page shows no join screen", 5,
                    lambda look: look["join"] and look["canJoin"])
        phone.speaks(f"step 1: {name}'s join screen", language, NAMES)
        phone.find_element("id", "name").send_keys(name)
        phone.click("joinButton")
        phone.until(f"step 1: {name}'s page shows no game with that name", 5,
                    lambda look: look["game"] and look["me"] == name)
    all_until("step 1: Roll is not enabled on Anna's phone alone", 3, phones,
              lambda look: look["canRoll"], [True, False, False])
    all_until("step 1: the phones do not show their tokens' marks", 3, phones,
              lambda look: look["mark"], [name[0] for name in NAMES])
    bands = [p.look()["band"] for p in phones]
    if "rgb(119, 119, 119)" in bands or len(set(bands)) != 3:  # grey: not the player's yet
        fail(f"step 1: the phones do not show three colours of their own: {bands}")

    # 2. Anna rolls: her page shows the roll, then her new field's task, and Jörg's turn comes.
    anna = phones[0]
    start = anna.look()["field"]
    rolling = anna.say("Rolling…")
    anna.click("roll")
    anna.until("step 2: Anna's page does not show the die rolling", 2,
               lambda look: look["roll"] == rolling)
    anna.until("step 2: Anna's new task did not arrive in 8 s", 8, lambda look:
               look["roll"] != rolling and look["field"] != start and look["task"].strip())
    for phone in phones:
        phone.speaks("step 2: a phone's game screen", language, NAMES)
    if anna.look()["canRoll"]:
        fail("step 2: Anna can roll again after her roll")
    all_until("step 2: Roll did not become Jörg's", 2, phones, lambda look: look["canRoll"],
              [False, True, False])

    # 3. The server's ends of the sockets dropped: each page is back on its seat in 2 s.
    for phone in phones:
        phone.js("window.kraxelbrettSocket.dropped = true")
    port = urllib.parse.urlsplit(url).port
    killed = subprocess.run(["ss", "-K", "src", "127.0.0.1", "sport", "=", f":{port}"],
                            capture_output=True, text=True, check=True).stdout.count("ESTAB")
    if killed < len(phones):
        fail(f"step 3: ss -K closed {killed} sockets, not {len(phones)} or more")
    dropped = time.monotonic()
    all_until("step 3: 2 s after their sockets dropped, pages back on their seats (fresh socket, "
              "no status, name)", 2, phones, lambda look: (look["fresh"], look["status"],
              look["me"]), [(True, "", name) for name in NAMES])
    took = time.monotonic() - dropped
    # The game itself has them seated again: a new page's lobby shows a phone on each seat.
    stranger = open_phone(url, folder)
    stranger.until("step 3: a fresh page gets no lobby", 5, lambda look: look["join"])
    lobby = stranger.execute_async_script(LOBBY)
    seats = [(s["name"], s["phone"]) for s in (lobby or {}).get("seats", [])]
    if seats != [(name, True) for name in NAMES]:
        fail(f"step 3: after the drop, the lobby's seats are not the three phones': {seats}")

    # 4. Anna invites the next phone: her page shows the code of the link she came by, which
    # zbarimg reads, at modules of 6 CSS px or more on her 360 px screen.
    anna.click("invite")
    until("step 4: the invitation's code did not load", 5,
          lambda: anna.js("return $('inviteCode').complete && $('inviteCode').naturalWidth > 0"))
    anna.speaks("step 4: the invitation", language,
                NAMES + [anna.js("return location.origin + location.pathname")])
    # The code's side in modules, quiet zone included, from its picture's viewBox.
    with urllib.request.urlopen(url + "invite.svg", timeout=5) as svg:
        side = int(re.search(r'viewBox="0 0 (\d+)', svg.read().decode()).group(1))
    width = anna.js("return $('inviteCode').getBoundingClientRect().width")
    if width / side < 6 and not WEBKIT:
        fail(f"step 4: the code's modules are {width / side:.1f} CSS px, under 6")
    shot = os.path.join(folder, "invitation.png")
    with open(shot, "wb") as picture:
        picture.write(anna.find_element("id", "inviteCode").screenshot_as_png)
    read = subprocess.run(["zbarimg", "-q", "--raw", shot], capture_output=True, text=True).stdout
    if read.strip() != url.upper():
        fail(f"step 4: the invitation's code reads {read.strip()!r}, not {url.upper()!r}")
    anna.click("inviteClose")

    # 5. Pictures for the README, from Chromium.
    if not WEBKIT and (shot := os.environ.get("KRAXELBRETT_PHONE_SHOT")):
        anna.save_screenshot(shot)
    if not WEBKIT and (shot := os.environ.get("KRAXELBRETT_TV_SHOT")):
        subprocess.run(["import", "-window", "root", shot], check=True)
    return ("three phones joined, rolled in turn, and were back on their seats "
            f"{took:.2f} s after their sockets were dropped")


def finish(url, folder, language):
    # 1. Each phone takes the seat of its name, added before the game was left.
    phones = []
    for seat, name in enumerate(NAMES, 1):
        phones.append(phone := open_phone(url, folder))
        phone.until(f"finish 1: {name}'s page shows no seats", 5, lambda look: look["join"])
        phone.speaks(f"finish 1: {name}'s join screen", language, NAMES)
        label = phone.say("Take seat {1} · {2}").replace("{1}", str(seat)).replace("{2}", name)
        # In one go: the page draws its seats' buttons anew with every lobby.
        until(f'finish 1: no button "{label}"', 5, lambda: phone.js(CLICK_SEAT, label))
        phone.until(f"finish 1: {name}'s page shows no game", 5,
                    lambda look: look["game"] and look["me"] == name)

    # 2. Whoever may roll rolls, until everyone is home and every phone offers another round.
    for _ in NAMES:
        if len(rollers := [p for p in phones if p.look()["canRoll"]]) != 1:
            fail(f"finish 2: {len(rollers)} phones can roll, not one")
        rolling = rollers[0].say("Rolling…")
        rollers[0].click("roll")
        rollers[0].until("finish 2: the roll ended nowhere", 10,
                         lambda look: look["finished"] and look["roll"] != rolling)
    all_until("finish 2: not every phone offers another round", 3, phones,
              lambda look: look["again"], [True] * 3)
    for phone in phones:
        phone.speaks("finish 2: a phone at the podium", language, NAMES)

    # 3. Another round from the last phone: everyone at the start, and the first rolls.
    phones[-1].click("again")
    at_start = phones[0].say("At the start:")
    all_until("finish 3: no new round (field, Roll, another round)", 3, phones,
              lambda look: (look["field"], look["canRoll"], look["again"]),
              [(at_start, True, False)] + [(at_start, False, False)] * 2)
    return "three phones played a game to its end, saw the podium and started another round"


ending = sys.argv[1:2] == ["--finish"]
WEBKIT = sys.argv[1:2] == ["--webkit"]
if len(sys.argv) != 3 + (ending or WEBKIT):
    sys.exit("Usage: phones_browser.py [--finish | --webkit] LANGUAGE URL")
with tempfile.TemporaryDirectory(prefix="kraxelbrett-phones-", ignore_cleanup_errors=True) as folder:
    try:
        done = (finish if ending else run)(sys.argv[-1], folder, sys.argv[-2])
    except (subprocess.CalledProcessError, WebDriverException) as error:
        fail(str(error).strip().splitlines()[0])
    finally:
        for opened in Page.opened:
            opened.quit()
print("phones_browser: " + done)
