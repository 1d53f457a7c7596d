#!/usr/bin/python3
"""Hostile phones against a running game's phone server, on 127.0.0.1 only.
Each check prints one line; the first failure prints why and exits with 1."""
import asyncio
import contextlib
import json
import os
import sys
import time
import urllib.parse

import websockets

ERROR_CODES = set("json type field name full seat secret turn rate busy binary".split())
PING = '{"type":"ping"}'
url = urllib.parse.urlsplit(sys.argv[-1])
PORT, KEY = url.port, url.path.strip("/")
if len(sys.argv) != 2 or url.hostname != "127.0.0.1" or not PORT or len(KEY) != 32:
    sys.exit("usage: phones_hostile.py http://127.0.0.1:PORT/KEY/")
HOST = f"127.0.0.1:{PORT}"
REQUEST = f"GET /{KEY}/ HTTP/1.1\r\nHost: {HOST}\r\n".encode()


def fail(why):
    print(f"FAIL: {why}", flush=True)
    os._exit(1)


def check(good, line, otherwise=""):
    """LINE as a check passed, or, with OTHERWISE after it, as the failure."""
    if not good:
        fail(line + otherwise)
    print(f"ok: {line}", flush=True)


def connect(source="127.0.0.1"):
    return asyncio.open_connection("127.0.0.1", PORT, local_addr=(source, 0))


async def expect_status(label, status, target=f"/{KEY}/", host=HOST, extra="", body=b"",
                        method="GET", source="127.0.0.1", quiet=False):
    """One raw request, which must get that status (no markup unless 200); returns its headers."""
    reader, writer = await connect(source)
    extra += f"Content-Length: {len(body)}\r\n" if body else ""
    request = f"{method} {target} HTTP/1.1\r\nHost: {host}\r\n{extra}Connection: close\r\n\r\n"
    answer = b""  # if the server closes it first
    with contextlib.suppress(ConnectionError):
        writer.write(request.encode() + body)
        await writer.drain()
        answer = await asyncio.wait_for(reader.read(), 5)
    writer.close()
    head, _, content = answer.partition(b"\r\n\r\n")
    first, *lines = head.decode("latin-1").split("\r\n")
    got = int(first.split()[1]) if answer else None
    if answer.count(b"HTTP/1.1 ") > 1:
        fail(f"{label}: more than one answer to one request, the connection kept")
    if not quiet or got != status:
        check(got == status, f"{label}: {got}", f", not {status}")
    if status != 200 and b"<" in content:
        fail(f"{label}: the answer has markup: {content[:80]!r}")
    return {n.strip().lower(): v.strip() for n, _, v in (line.partition(":") for line in lines)}


def phone(origin=f"http://{HOST}", source="127.0.0.1"):
    return websockets.connect(f"ws://{HOST}/{KEY}/ws", origin=origin, compression=None,
                              ping_interval=None, open_timeout=5, close_timeout=2, max_size=None,
                              local_addr=(source, 0))


def check_reply(label, text):
    with contextlib.suppress(ValueError):
        reply = json.loads(text) if isinstance(text, str) else None
        if isinstance(reply, dict) and isinstance(reply.get("type"), str) and \
                (reply["type"] != "error" or reply.get("code") in ERROR_CODES):
            return reply
    fail(f"{label}: a reply not JSON with a type (and a known code if an error): {text[:80]!r}")


async def expect(ws, label, wanted="pong", message=PING, seconds=3):
    """Sends MESSAGE, if any, then reads replies until WANTED: a reply's type or an error's code,
    or the close code (0: any)."""
    if message:
        await ws.send(message)
    try:
        async with asyncio.timeout(seconds):
            while True:
                reply = check_reply(label, await ws.recv())
                if reply["type"] == wanted or reply["type"] == "error" and reply["code"] == wanted:
                    return check(True, f"{label}: {wanted}")
    except websockets.ConnectionClosed as closed:
        got = closed.rcvd and closed.rcvd.code
        check(wanted in (0, got), f"{label}: closed with {got}", f", not {wanted}")
    except TimeoutError:
        fail(f"{label}: no {wanted if isinstance(wanted, str) else 'close'} within {seconds} s")


async def dropped_after(label, seconds, connection):
    """Awaits CONNECTION, which the server must close after about SECONDS of silence."""
    started = time.monotonic()
    try:
        with contextlib.suppress(ConnectionError):
            await asyncio.wait_for(connection, seconds + 4)
    except TimeoutError:
        fail(f"{label}: still open after {seconds + 4} s")
    took = time.monotonic() - started
    check(seconds - 2 <= took <= seconds + 4, f"{label}: closed after {took:.1f} s",
          f", not about {seconds} s")


async def half_a_request():
    reader, writer = await asyncio.open_connection("127.0.0.1", PORT)
    writer.write(REQUEST)
    await reader.read()
    writer.close()


async def a_silent_phone():
    async with phone() as ws:
        await expect(ws, "a silent WebSocket", 0, None, 30)


async def pressure():
    """A device holding 36 half-sent requests from three addresses, renewed every 5 s for 30 s,
    keeps nobody with the link out: page loads from another address are answered, and a seated
    phone whose socket is cut is back on its seat. Only where every place is a phone's WebSocket
    is a newcomer told the game is full."""
    held = []

    async def renew():
        for _ in range(6):
            for _, writer in held:
                writer.close()
            held.clear()
            for n in range(36):
                reader, writer = await connect(f"127.0.0.{2 + n % 3}")
                writer.write(REQUEST)
                held.append((reader, writer))
            await asyncio.sleep(5)
        for _, writer in held:
            writer.close()

    async def loads(until):
        count = 0
        while not until.done():
            await expect_status("a page load under pressure", 200, source="127.0.0.5", quiet=True)
            count += 1
            await asyncio.sleep(0.5)
        return count

    renewing = asyncio.ensure_future(renew())
    loading = asyncio.ensure_future(loads(renewing))
    await asyncio.sleep(2)
    cut = await phone()
    await cut.send('{"type":"join","name":"Zoe"}')
    seated = await expect_reply(cut, "a phone under pressure", "seated")
    cut.transport.abort()
    async with phone() as ws:
        await ws.send(json.dumps({"type": "resume", "seat": seated["seat"],
                                  "secret": seated["secret"]}))
        await expect_reply(ws, "its socket cut, the phone under pressure", "seated")
        await ws.send('{"type":"leave"}')
    await renewing
    check(await loading >= 50, f"{await loading} page loads from 127.0.0.5 under pressure: all 200")

    await asyncio.sleep(1)
    phones = [await phone(source=f"127.0.0.{2 + n % 3}") for n in range(32)]
    await expect_status("a 33rd connection beside 32 phones", 503, source="127.0.0.5")
    for ws in phones:
        await ws.close()


async def expect_reply(ws, label, wanted):
    """Reads replies until one of type WANTED, which it returns."""
    try:
        async with asyncio.timeout(5):
            while (reply := check_reply(label, await ws.recv()))["type"] != wanted:
                pass
    except (TimeoutError, websockets.ConnectionClosed):
        fail(f"{label}: no {wanted}")
    check(True, f"{label}: {wanted}")
    return reply


async def main():
    started = time.monotonic()
    idle = asyncio.gather(dropped_after("half a request", 10, half_a_request()),
                          dropped_after("a silent WebSocket", 20, a_silent_phone()))

    headers = await expect_status("the page", 200, target=f"/{KEY.upper()}/")
    policy = headers.get("content-security-policy", "")
    check(headers.get("cache-control") == "no-store" and "default-src 'none'" in policy
          and f"connect-src ws://{HOST};" in policy,
          "the page: Cache-Control no-store and a Content-Security-Policy", f", not in {headers}")
    await expect_status("no key", 403, target="/")
    await expect_status("a wrong key", 403, target=f"/{KEY[:-1]}{'1' if KEY[-1] == '0' else '0'}/")
    await expect_status("a wrong Host", 421, host=f"attacker.example:{PORT}")
    await expect_status("an unknown file", 404, target=f"/{KEY}/secret.txt")
    await expect_status("POST", 405, method="POST", body=b"{}")
    await expect_status("5 KiB of headers", 431, extra="X-Filler: " + "a" * 5120 + "\r\n")
    await expect_status("a 2 KiB body", 413, body=b"a" * 2048)

    for label, origin in [("a WebSocket from another page", "http://attacker.example"),
                          ("a WebSocket without Origin", None)]:
        try:
            async with phone(origin):
                fail(f"{label}: accepted")
        except websockets.InvalidStatusCode as refused:
            check(refused.status_code == 403, f"{label}: {refused.status_code}", ", not 403")

    async with phone() as ws:
        await expect(ws, "ping")
        await expect(ws, "garbage JSON", "json", '{"type":')
        await expect(ws, "a binary frame", "binary", b"\x00\x01\x02")
        await expect(ws, "a 2 KiB WebSocket message", 1009, "[" * 2048, 5)

    async with phone() as ws:
        for _ in range(100):
            await ws.send(PING)
        pongs = rates = 0
        with contextlib.suppress(TimeoutError):
            while True:
                reply = check_reply("flood", await asyncio.wait_for(ws.recv(), 1))
                pongs += reply["type"] == "pong"
                rates += reply.get("code") == "rate"
        check(rates and pongs <= 30, f"a flood of 100: {pongs} pongs, {rates} rate error(s)")
        await asyncio.sleep(1.1)
        await expect(ws, "after the flood, a second later")

    async with phone() as ws:
        await ws.write_frame(True, websockets.frames.Opcode.TEXT, b'{"type":"\xff"}')
        await expect(ws, "a text frame with invalid UTF-8", 1007, None, 5)

    sockets = [await asyncio.open_connection("127.0.0.1", PORT) for _ in range(40)]
    await asyncio.sleep(0.5)
    served = 0
    for reader, writer in sockets:
        with contextlib.suppress(ConnectionError, TimeoutError):
            writer.write(REQUEST + b"\r\n")
            await writer.drain()
            served += (await asyncio.wait_for(reader.readline(), 3)).startswith(b"HTTP/1.1 200")
    for _, writer in sockets:
        writer.close()
    check(1 <= served <= 32, f"40 connections at once: {served} served, {40 - served} closed",
          " (1 to 32 may be served)")
    await asyncio.sleep(0.3)
    await expect_status("a fresh connection afterwards", 200)

    await idle
    await pressure()
    await asyncio.sleep(0.5)
    await expect_status("a fresh connection after the pressure", 200)
    check(True, f"all checks in {time.monotonic() - started:.1f} s")


asyncio.run(main())
