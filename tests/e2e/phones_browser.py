#!/usr/bin/python3
"""Usage: phones_browser.py [--finish] URL. Three phones, each its own Chromium, play the game on
DISPLAY through the link off the TV's QR code: they join by name, roll in turn and are back on
their seats after the server dropped their sockets; with --finish they take the seats of a game
near its end, play it to the podium and start another round. KRAXELBRETT_PHONE_SHOT=FILE keeps a
picture of a phone's game screen, KRAXELBRETT_TV_SHOT=FILE one of the TV's."""
import os
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

# What a phone's page shows, read in one go.
SNAPSHOT = """
const $ = (id) => document.getElementById(id);
const shown = (id) => !$(id).closest('[hidden]');
const text = (id) => shown(id) ? $(id).textContent : '';
const socket = window.kraxelbrettSocket;
return {game: shown('game'), join: shown('join'), canJoin: !$('joinButton').disabled,
        me: $('me').textContent, turn: $('turn').textContent, field: $('field').textContent,
        canRoll: !$('roll').disabled, roll: $('roll').textContent, task: text('task'),
        band: getComputedStyle($('band')).backgroundColor, status: text('status'),
        fresh: !!socket && !socket.dropped && socket.readyState === WebSocket.OPEN,
        again: shown('again'), finished: shown('done')};
"""
# Keeps every message the phone's current socket receives from now on, then rolls.
LISTEN_AND_ROLL = """
window.heard = [];
window.kraxelbrettSocket.addEventListener('message', (e) => window.heard.push(JSON.parse(e.data)));
window.kraxelbrettSocket.send('{"type":"roll"}');
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
socket.onmessage = (e) => { const m = JSON.parse(e.data);
                            if (m.type === 'lobby') { socket.close(); done(m); } };
setTimeout(() => done(null), 3000);
"""


class Failure(Exception):
    pass


def until(what, seconds, test):
    """Polls test() until it is true, else fails with `what`: a line, or a function making it."""
    deadline = time.monotonic() + seconds
    while not test():
        if time.monotonic() > deadline:
            raise Failure(what() if callable(what) else what)
        time.sleep(0.05)


class Phone:
    opened = []  # to be quit at the end, whatever happened

    def __init__(self, url, folder):
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for flag in FLAGS + ["--user-data-dir=" + tempfile.mkdtemp(dir=folder)]:
            options.add_argument(flag)
        options.add_experimental_option(
            "mobileEmulation", {"deviceMetrics": {"width": 360, "height": 740, "pixelRatio": 1}})
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        Phone.opened.append(self)
        self.driver.set_script_timeout(5)
        self.driver.get(url)

    def js(self, script, *arguments):
        return self.driver.execute_script(script, *arguments)

    def look(self):
        return self.js(SNAPSHOT)

    def until(self, what, seconds, test):
        until(lambda: "%s: %s" % (what, self.look()), seconds, lambda: test(self.look()))


def run(url, folder):
    # 1. Three phones join by name, one after the other.
    phones = []
    for name in NAMES:
        phones.append(phone := Phone(url, folder))
        phone.until("step 1: %s's page shows no join screen" % name, 5,
                    lambda look: look["join"] and look["canJoin"])
        phone.driver.find_element(By.ID, "name").send_keys(name)
        phone.driver.find_element(By.ID, "joinButton").click()
        phone.until("step 1: %s's page shows no game with that name" % name, 5,
                    lambda look: look["game"] and look["me"] == name)
    rollers = lambda: [p.look()["canRoll"] for p in phones]
    until(lambda: "step 1: Roll is not enabled on Anna's phone alone: %s" % rollers(), 3,
          lambda: rollers() == [True, False, False])
    bands = [p.look()["band"] for p in phones]
    if "rgb(119, 119, 119)" in bands or len(set(bands)) != 3:  # grey: not the player's yet
        raise Failure("step 1: the phones do not show three colours of their own: %s" % bands)

    # 2. Anna rolls: her page shows the roll, then her new field's task, and Jörg's turn comes.
    anna = phones[0]
    start = anna.look()["field"]
    anna.driver.find_element(By.ID, "roll").click()
    anna.until("step 2: Anna's page does not show the die rolling", 2,
               lambda look: "Rolling" in look["roll"])
    anna.until("step 2: Anna's new task did not arrive in 8 s", 8, lambda look:
               "Rolling" not in look["roll"] and look["field"] != start and look["task"].strip())
    if anna.look()["canRoll"]:
        raise Failure("step 2: Anna can roll again after her roll")
    until(lambda: "step 2: Roll did not become Jörg's: %s" % rollers(), 2,
          lambda: rollers() == [False, True, False])

    # 3. The server's ends of the sockets dropped: each page is back on its seat in 2 s.
    for phone in phones:
        phone.js("window.kraxelbrettSocket.dropped = true")
    killed = subprocess.run(["ss", "-K", "src", "127.0.0.1", "sport", "=",
                             ":%d" % urllib.parse.urlsplit(url).port],
                            capture_output=True, text=True, check=True).stdout.count("ESTAB")
    if killed < len(phones):
        raise Failure("step 3: ss -K closed %d sockets, not %d or more" % (killed, len(phones)))
    back = lambda: [p.look()["fresh"] and not p.look()["status"] and p.look()["me"] == name
                    for name, p in zip(NAMES, phones)]
    dropped = time.monotonic()
    until(lambda: "step 3: 2 s after their sockets dropped, pages back on their seats: %s"
          % back(), 2, lambda: all(back()))
    took = time.monotonic() - dropped
    # The game itself has them seated again: a roll out of turn is "not your turn", not
    # "join first".
    for phone in (anna, phones[2]):
        phone.js(LISTEN_AND_ROLL)
        heard = lambda: phone.js("return window.heard")
        until(lambda: "step 3: a page is back, but not on its seat: %s" % heard(), 3,
              lambda: any(m.get("code") == "turn" for m in heard()))
    stranger = Phone(url, folder)
    stranger.until("step 3: a fresh page gets no lobby", 5, lambda look: look["join"])
    lobby = stranger.driver.execute_async_script(LOBBY)
    seats = [(s["name"], s["phone"]) for s in (lobby or {}).get("seats", [])]
    if seats != [(name, True) for name in NAMES]:
        raise Failure("step 3: after the drop, the lobby's seats are not the three phones': %s"
                      % seats)

    # 4. A picture of a phone's game screen, for the README.
    if shot := os.environ.get("KRAXELBRETT_PHONE_SHOT"):
        anna.driver.save_screenshot(shot)
    if shot := os.environ.get("KRAXELBRETT_TV_SHOT"):
        subprocess.run(["import", "-window", "root", shot], check=True)
    return ("three phones joined, rolled in turn, and were back on their seats %.2f s after "
            "their sockets were dropped" % took)


def finish(url, folder):
    # 1. Each phone takes the seat of its name, added before the game was left.
    phones = []
    for seat, name in enumerate(NAMES):
        phones.append(phone := Phone(url, folder))
        label = "Take seat %d · %s" % (seat + 1, name)
        # In one go: the page draws its seats' buttons anew with every lobby.
        until('finish 1: no button "%s"' % label, 5, lambda: phone.js(CLICK_SEAT, label))
        phone.until("finish 1: %s's page shows no game" % name, 5,
                    lambda look: look["game"] and look["me"] == name)

    # 2. Whoever may roll rolls, until everyone is home and every phone offers another round.
    for _ in NAMES:
        if len(rollers := [p for p in phones if p.look()["canRoll"]]) != 1:
            raise Failure("finish 2: %d phones can roll, not one" % len(rollers))
        rollers[0].driver.find_element(By.ID, "roll").click()
        rollers[0].until("finish 2: the roll ended nowhere", 10,
                         lambda look: look["finished"] and "Rolling" not in look["roll"])
    until(lambda: "finish 2: not every phone offers another round: %s"
          % [p.look() for p in phones], 3, lambda: all(p.look()["again"] for p in phones))

    # 3. Another round from the last phone: everyone at the start, and the first rolls.
    phones[-1].driver.find_element(By.ID, "again").click()
    fresh = lambda: [(p.look()["field"], p.look()["canRoll"], p.look()["again"]) for p in phones]
    until(lambda: "finish 3: no new round: %s" % fresh(), 3, lambda: fresh() ==
          [("At the start:", True, False)] + [("At the start:", False, False)] * 2)
    return "three phones played a game to its end, saw the podium and started another round"


def main():
    ending = sys.argv[1:2] == ["--finish"]
    if len(sys.argv) != 2 + ending:
        sys.exit("Usage: phones_browser.py [--finish] URL")
    with tempfile.TemporaryDirectory(prefix="kraxelbrett-phones-",
                                     ignore_cleanup_errors=True) as folder:
        try:
            done = (finish if ending else run)(sys.argv[-1], folder)
        except Failure as failure:
            sys.exit("phones_browser: " + str(failure))
        except (subprocess.CalledProcessError, WebDriverException) as error:
            sys.exit("phones_browser: " + str(error).strip().splitlines()[0])
        finally:
            for phone in Phone.opened:
                phone.driver.quit()
    print("phones_browser: " + done)


if __name__ == "__main__":
    main()
