#!/usr/bin/python3
"""Three phones, each its own Chromium, play the running game through its link: they join by
name, only the one whose turn it is can roll, a roll shows its task and passes the turn, the
and pages come back on their seats when the server drops their sockets.
With --finish, three phones take the seats of a game near its end, roll until everyone is
home, see the podium and start another round.

Usage: phones_browser.py [--finish] URL (the link from the TV's QR code; the game is already
running on DISPLAY). With KRAXELBRETT_PHONE_SHOT=FILE it keeps a picture of a phone's game screen, with
KRAXELBRETT_TV_SHOT=FILE one of the TV's."""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import urllib.parse

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.common.exceptions import WebDriverException

NAMES = ["Anna", "Jörg", "Bob"]
FLAGS = ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync"]
DEFAULT_BAND = "rgb(119, 119, 119)"  # the page's colour before it knows the player's

# What a phone's page shows, read in one go.
SNAPSHOT = """
const $ = (id) => document.getElementById(id);
const shown = (id) => { for (let e = $(id); e; e = e.parentElement) if (e.hidden) return false;
                        return true; };
const socket = window.kraxelbrettSocket;
return {game: shown('game'), join: shown('join'), me: $('me').textContent,
        turn: $('turn').textContent, canRoll: !$('roll').disabled, roll: $('roll').textContent,
        field: $('field').textContent, task: shown('task') ? $('task').textContent : '',
        band: getComputedStyle($('band')).backgroundColor,
        status: shown('status') ? $('status').textContent : '',
        note: shown('note') ? $('note').textContent : '',
        fresh: !!socket && !socket.dropped && socket.readyState === WebSocket.OPEN,
        again: shown('again'), finished: shown('done')};
"""
# Keeps every message the phone's current socket receives from now on.
LISTEN = """
window.heard = [];
window.kraxelbrettSocket.addEventListener('message', (e) => window.heard.push(JSON.parse(e.data)));
"""
# Clicks the seat button of that label, if the page shows it.
CLICK_SEAT = """
for (const b of document.querySelectorAll('button.seat'))
  if (b.textContent === arguments[0] && !b.disabled) { b.click(); return true; }
return false;
"""
# A fresh socket's first lobby, as a phone without a seat gets it.
LOBBY = """
const done = arguments[arguments.length - 1];
const socket = new WebSocket(window.kraxelbrettSocket.url);
socket.onmessage = (e) => {
  const m = JSON.parse(e.data);
  if (m.type === 'lobby') { socket.close(); done(m); }
};
setTimeout(() => done(null), 3000);
"""


ROLL = "window.kraxelbrettSocket.send('{\"type\":\"roll\"}')"


class Failure(Exception):
    pass


def until(what, seconds, test):
    """Polls test() until it is true; fails with `what` (a line, or a function making it once
    it is needed) when `seconds` have passed."""
    deadline = time.monotonic() + seconds
    while not test():
        if time.monotonic() > deadline:
            raise Failure(what() if callable(what) else what)
        time.sleep(0.05)


class Phone:
    def __init__(self, url, folder):
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in FLAGS + ["--user-data-dir=" + tempfile.mkdtemp(dir=folder)]:
            options.add_argument(flag)
        options.add_experimental_option(
            "mobileEmulation", {"deviceMetrics": {"width": 360, "height": 740, "pixelRatio": 1}})
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        self.driver.set_script_timeout(5)
        self.driver.get(url)

    def look(self):
        return self.driver.execute_script(SNAPSHOT)

    def js(self, script):
        return self.driver.execute_script(script)


def run(url, folder):
    port = urllib.parse.urlsplit(url).port
    phones = []
    try:
        # 1. Three phones join by name, one after the other.
        for name in NAMES:
            phone = Phone(url, folder)
            phones.append(phone)
            button = lambda: phone.driver.find_element(By.ID, "joinButton")
            until("step 1: %s's page shows no join screen" % name, 5,
                  lambda: phone.look()["join"] and button().is_enabled())
            phone.driver.find_element(By.ID, "name").send_keys(name)
            button().click()
            until(lambda: "step 1: %s's page shows no game with that name: %s"
                  % (name, phone.look()), 5,
                  lambda: phone.look()["game"] and phone.look()["me"] == name)
        rollers = lambda: [p.look()["canRoll"] for p in phones]
        until(lambda: "step 1: Roll is not enabled on Anna's phone alone: %s" % rollers(), 3,
              lambda: rollers() == [True, False, False])
        bands = [p.look()["band"] for p in phones]
        if DEFAULT_BAND in bands or len(set(bands)) != 3:
            raise Failure("step 1: the phones do not show three colours of their own: %s" % bands)

        anna = phones[0]
        heard = lambda phone: phone.js("return window.heard")

        # 2. Anna rolls: her page shows the roll, then her new field's task, and Jörg's turn
        # comes.
        start = anna.look()["field"]
        anna.driver.find_element(By.ID, "roll").click()
        until(lambda: "step 2: Anna's page does not show the die rolling: %s" % anna.look(), 2,
              lambda: "Rolling" in anna.look()["roll"])
        moved = lambda look: "Rolling" not in look["roll"] and look["field"] != start
        until(lambda: "step 2: Anna's new task did not arrive in 8 s: %s" % anna.look(), 8,
              lambda: moved(anna.look()) and anna.look()["task"].strip())
        if anna.look()["canRoll"]:
            raise Failure("step 2: Anna can roll again after her roll")
        until(lambda: "step 2: Roll did not become Jörg's: %s" % rollers(), 2,
              lambda: rollers() == [False, True, False])

        # 3. The server's ends of the sockets dropped: each page is back on its seat in 2 s.
        for phone in phones:
            phone.js("window.kraxelbrettSocket.dropped = true")
        killed = subprocess.run(["ss", "-K", "src", "127.0.0.1", "sport", "=", ":%d" % port],
                                capture_output=True, text=True, check=True).stdout
        if killed.count("ESTAB") < len(phones):
            raise Failure("step 3: ss -K closed %d sockets, not %d or more"
                          % (killed.count("ESTAB"), len(phones)))
        back = lambda: [p.look()["fresh"] and not p.look()["status"] and p.look()["me"] == name
                        for name, p in zip(NAMES, phones)]
        dropped = time.monotonic()
        until(lambda: "step 3: 2 s after their sockets dropped, pages back on their seats: %s"
              % back(), 2, lambda: all(back()))
        took = time.monotonic() - dropped
        # The game itself has them seated again: a roll out of turn is "not your turn", not
        # "join first".
        for phone in (anna, phones[2]):
            phone.js(LISTEN)
            phone.js(ROLL)
            until(lambda: "step 3: a page is back, but not on its seat: %s" % heard(phone), 3,
                  lambda: any(m.get("code") == "turn" for m in heard(phone)))
        stranger = Phone(url, folder)
        phones.append(stranger)
        until("step 3: a fresh page gets no lobby", 5, lambda: stranger.look()["join"])
        lobby = stranger.driver.execute_async_script(LOBBY)
        seats = [(s["name"], s["phone"]) for s in (lobby or {}).get("seats", [])]
        if seats != [(name, True) for name in NAMES]:
            raise Failure("step 3: after the drop, the lobby's seats are not the three phones': %s"
                          % seats)

        # 4. A picture of a phone's game screen, for the README.
        if os.environ.get("KRAXELBRETT_PHONE_SHOT"):
            anna.driver.save_screenshot(os.environ["KRAXELBRETT_PHONE_SHOT"])
        if os.environ.get("KRAXELBRETT_TV_SHOT"):
            subprocess.run(["import", "-window", "root", os.environ["KRAXELBRETT_TV_SHOT"]],
                           check=True)
        return took
    finally:
        for phone in phones:
            phone.driver.quit()


def finish(url, folder):
    phones = []
    try:
        # 1. Each phone takes the seat of its name, added before the game was left.
        for seat, name in enumerate(NAMES):
            phone = Phone(url, folder)
            phones.append(phone)
            label = "Take seat %d · %s" % (seat + 1, name)
            # In one go: the page draws its seats' buttons anew with every lobby.
            until("finish 1: no button \"%s\"" % label, 5, lambda: phone.driver.execute_script(
                CLICK_SEAT, label))
            until(lambda: "finish 1: %s's page shows no game: %s" % (name, phone.look()), 5,
                  lambda: phone.look()["game"] and phone.look()["me"] == name)

        # 2. Whoever may roll rolls, until everyone is home and every phone offers another round.
        for _ in range(len(NAMES)):
            rollers = [p for p in phones if p.look()["canRoll"]]
            if len(rollers) != 1:
                raise Failure("finish 2: %d phones can roll, not one" % len(rollers))
            rollers[0].driver.find_element(By.ID, "roll").click()
            until(lambda: "finish 2: the roll ended nowhere: %s" % rollers[0].look(), 10,
                  lambda: rollers[0].look()["finished"] and "Rolling" not in rollers[0].look()["roll"])
        until(lambda: "finish 2: not every phone offers another round: %s"
              % [p.look() for p in phones], 3, lambda: all(p.look()["again"] for p in phones))

        # 3. Another round from the last phone: everyone at the start, and the first rolls.
        phones[-1].driver.find_element(By.ID, "again").click()
        fresh = lambda: [(p.look()["field"], p.look()["canRoll"], p.look()["again"])
                         for p in phones]
        until(lambda: "finish 3: no new round: %s" % fresh(), 3, lambda: fresh() == [
            ("At the start:", True, False), ("At the start:", False, False),
            ("At the start:", False, False)])
    finally:
        for phone in phones:
            phone.driver.quit()


def main():
    arguments = sys.argv[1:]
    ending = arguments[:1] == ["--finish"]
    if len(arguments) != 1 + ending:
        sys.exit("Usage: phones_browser.py [--finish] URL")
    folder = tempfile.mkdtemp(prefix="kraxelbrett-phones-")
    try:
        if ending:
            finish(arguments[-1], folder)
            print("phones_browser: three phones played a game to its end, saw the podium and "
                  "started another round")
            return
        took = run(arguments[-1], folder)
    except Failure as failure:
        sys.exit("phones_browser: " + str(failure))
    except (subprocess.CalledProcessError, WebDriverException) as error:
        sys.exit("phones_browser: " + str(error).strip().splitlines()[0])
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    print("phones_browser: three phones joined, rolled in turn, and were back on their seats "
          "%.2f s after their sockets were dropped" % took)


if __name__ == "__main__":
    main()
