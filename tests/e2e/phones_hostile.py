#!/usr/bin/python3
"""Hostile phones against a running game's phone server, on 127.0.0.1 only.

Usage: phones_hostile.py http://127.0.0.1:PORT/KEY/
Each check prints one line; the first failure prints why and exits with 1.
"""
import asyncio
import json
import os
import random
import sys
import time
import urllib.parse

import websockets

ERROR_CODES = {"json", "type", "field", "name", "full", "seat", "secret", "turn", "rate",
               "busy", "binary"}


def fail(why):
    print(f"FAIL: {why}", flush=True)
    os._exit(1)


def ok(line):
    print(f"ok: {line}", flush=True)


url = urllib.parse.urlsplit(sys.argv[1] if len(sys.argv) == 2 else "")
if url.hostname != "127.0.0.1" or not url.port or len(url.path.strip("/")) != 32:
    sys.exit("usage: phones_hostile.py http://127.0.0.1:PORT/KEY/")
PORT = url.port
KEY = url.path.strip("/")
HOST = f"127.0.0.1:{PORT}"
ORIGIN = f"http://{HOST}"
WS = f"ws://{HOST}/{KEY}/ws"


async def http(target=None, host=HOST, extra="", body=b"", method="GET"):
    """Sends one raw request; returns (status, headers, body) or None when the server closed."""
    reader, writer = await asyncio.open_connection("127.0.0.1", PORT)
    try:
        head = f"{method} {target or '/' + KEY + '/'} HTTP/1.1\r\nHost: {host}\r\n{extra}"
        head += f"Content-Length: {len(body)}\r\n" if body else ""
        writer.write(head.encode() + b"Connection: close\r\n\r\n" + body)
        await writer.drain()
        answer = await asyncio.wait_for(reader.read(), 5)
    except (ConnectionError, asyncio.IncompleteReadError):
        return None
    finally:
        writer.close()
    if not answer:
        return None
    head, _, content = answer.partition(b"\r\n\r\n")
    lines = head.decode("latin-1").split("\r\n")
    headers = {}
    for line in lines[1:]:
        name, _, value = line.partition(":")
        headers[name.strip().lower()] = value.strip()
    return int(lines[0].split()[1]), headers, content


async def expect_status(label, status, **request):
    answer = await http(**request)
    if answer is None or answer[0] != status:
        fail(f"{label}: expected {status}, got {answer and answer[0]}")
    if status != 200 and b"<" in answer[2]:
        fail(f"{label}: the answer has markup: {answer[2][:80]!r}")
    ok(f"{label}: {status}")
    return answer


def phone(origin=ORIGIN):
    return websockets.connect(WS, origin=origin, compression=None, ping_interval=None,
                              open_timeout=5, close_timeout=2, max_size=None)


def check_reply(label, text):
    if not isinstance(text, str):
        fail(f"{label}: a binary reply")
    try:
        reply = json.loads(text)
    except ValueError:
        fail(f"{label}: a reply that is not JSON: {text[:80]!r}")
    if not isinstance(reply, dict) or not isinstance(reply.get("type"), str):
        fail(f"{label}: a reply without a type: {text[:80]!r}")
    if reply["type"] == "error" and reply.get("code") not in ERROR_CODES:
        fail(f"{label}: an unknown error code: {text[:80]!r}")
    return reply


async def answer_to(ws, message, wanted, label, seconds=3):
    """Sends the message and waits for a reply of the wanted type (or error code)."""
    await ws.send(message)
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        try:
            reply = check_reply(label, await asyncio.wait_for(ws.recv(), end - time.monotonic()))
        except asyncio.TimeoutError:
            break
        if reply["type"] == wanted or (reply["type"] == "error" and reply["code"] == wanted):
            ok(f"{label}: {wanted}")
            return
    fail(f"{label}: no {wanted} within {seconds} s")


async def closed_code(ws, seconds=5):
    try:
        while True:
            await asyncio.wait_for(ws.recv(), seconds)
    except websockets.ConnectionClosed as closed:
        return closed.rcvd.code if closed.rcvd else None
    except asyncio.TimeoutError:
        fail("the server did not close the WebSocket")


async def expect_close(label, ws, code):
    got = await closed_code(ws)
    if got != code:
        fail(f"{label}: closed with {got}, not {code}")
    ok(f"{label}: closed with {code}")


async def dropped_after(label, seconds, connection):
    """Waits for the server to end an idle connection: it must do so after about `seconds`."""
    started = time.monotonic()
    try:
        await asyncio.wait_for(connection(), seconds + 4)
    except ConnectionError:
        pass
    except asyncio.TimeoutError:
        fail(f"{label}: still open after {seconds + 4} s")
    took = time.monotonic() - started
    if not seconds - 2 <= took <= seconds + 4:
        fail(f"{label}: closed after {took:.1f} s, not about {seconds} s")
    ok(f"{label}: closed after {took:.1f} s")


async def half_a_request():
    reader, writer = await asyncio.open_connection("127.0.0.1", PORT)
    writer.write(f"GET /{KEY}/ HTTP/1.1\r\nHost: {HOST}\r\n".encode())
    await reader.read()
    writer.close()


async def a_silent_phone():
    async with phone() as ws:
        await closed_code(ws, 30)


async def many_at_once(count=40):
    sockets = [await asyncio.open_connection("127.0.0.1", PORT) for _ in range(count)]
    await asyncio.sleep(0.5)
    served = 0
    for reader, writer in sockets:
        try:
            writer.write(f"GET /{KEY}/ HTTP/1.1\r\nHost: {HOST}\r\n\r\n".encode())
            await writer.drain()
            line = await asyncio.wait_for(reader.readline(), 3)
            served += line.startswith(b"HTTP/1.1 200")
        except (ConnectionError, asyncio.TimeoutError):
            pass
    for _, writer in sockets:
        writer.close()
    if not 1 <= served <= 32:
        fail(f"{count} connections at once: {served} served")
    ok(f"{count} connections at once: {served} served, {count - served} closed at once")
    await asyncio.sleep(0.3)
    await expect_status("a fresh connection afterwards", 200)


SEEDS = ['{"type":"join","name":"Anna"}', '{"type":"take","seat":0}', '{"type":"leave"}',
         '{"type":"resume","seat":1,"secret":"' + "0" * 32 + '"}', '{"type":"roll"}']


def random_message():
    """Random bytes, or a message of a known type with random bytes flipped, cut or put in."""
    if random.random() < 0.2:
        return random.randbytes(random.randrange(1, 200))
    message = bytearray(random.choice(SEEDS).encode())
    for _ in range(random.randrange(4)):
        at = random.randrange(len(message) + 1)
        change = random.randrange(3)
        if change == 0 and at < len(message):
            message[at] ^= 1 << random.randrange(8)
        elif change == 1:
            del message[at:at + random.randrange(4)]
        else:
            message[at:at] = bytes([random.randrange(256)])
    text = message.decode("utf-8", "replace")
    return text if random.random() < 0.7 else json.dumps({"type": text, text: [text, 1e308]})


async def random_phone(label, count):
    """Sends random messages at under 20 a second; every reply must be JSON with a type."""
    async with phone() as ws:
        async def read():
            try:
                async for text in ws:
                    check_reply(label, text)
            except websockets.ConnectionClosed:
                pass
        reader = asyncio.create_task(read())
        for _ in range(count):
            message = random_message()
            while len(message if isinstance(message, bytes) else message.encode()) > 1024:
                message = random_message()
            try:
                await ws.send(message)
            except websockets.ConnectionClosed:
                break
            await asyncio.sleep(0.055)
        await asyncio.sleep(0.5)
        if ws.open:
            reader.cancel()
            await answer_to(ws, '{"type":"ping"}', "pong", f"{label} after its random messages")
            return
    async with phone() as ws:
        await answer_to(ws, '{"type":"ping"}', "pong", f"{label}, closed, a new one")


async def main():
    started = time.monotonic()
    slow = asyncio.create_task(dropped_after("half a request", 10, half_a_request))
    silent = asyncio.create_task(dropped_after("a silent WebSocket", 20, a_silent_phone))

    page = await expect_status("the page", 200, target=f"/{KEY.upper()}/")
    headers = page[1]
    if headers.get("cache-control") != "no-store" or \
            f"connect-src ws://{HOST};" not in headers.get("content-security-policy", "") or \
            "default-src 'none'" not in headers.get("content-security-policy", ""):
        fail(f"the page's headers: {headers}")
    ok("the page: Cache-Control no-store and a Content-Security-Policy")
    await expect_status("no key", 403, target="/")
    wrong = KEY[:-1] + ("0" if KEY[-1] != "0" else "1")
    await expect_status("a wrong key", 403, target=f"/{wrong}/")
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
            if refused.status_code != 403:
                fail(f"{label}: {refused.status_code}, not 403")
        ok(f"{label}: 403")

    async with phone() as ws:
        await answer_to(ws, '{"type":"ping"}', "pong", "ping")
        await answer_to(ws, '{"type":', "json", "garbage JSON")
        await answer_to(ws, b"\x00\x01\x02", "binary", "a binary frame")
        await ws.send("[" * 2048)
        await expect_close("a 2 KiB WebSocket message", ws, 1009)

    async with phone() as ws:
        for _ in range(100):
            await ws.send('{"type":"ping"}')
        pongs = rates = 0
        try:
            while True:
                reply = check_reply("flood", await asyncio.wait_for(ws.recv(), 1))
                pongs += reply["type"] == "pong"
                rates += reply.get("code") == "rate"
        except asyncio.TimeoutError:
            pass
        if not rates or pongs > 30:
            fail(f"a flood of 100: {pongs} pongs, {rates} rate errors")
        ok(f"a flood of 100: {pongs} pongs, {rates} rate error(s)")
        await asyncio.sleep(1.1)
        await answer_to(ws, '{"type":"ping"}', "pong", "after the flood, a second later")

    async with phone() as ws:
        await ws.write_frame(True, websockets.frames.Opcode.TEXT, b'{"type":"\xff"}')
        await expect_close("a text frame with invalid UTF-8", ws, 1007)

    await many_at_once()

    seed = int(os.environ.get("KRAXELBRETT_SEED", time.time_ns() % 1000000))
    random.seed(seed)
    await asyncio.gather(*(random_phone(f"random phone {n}", 125) for n in range(8)))
    ok(f"1000 random messages (KRAXELBRETT_SEED={seed}): every reply JSON with a type")

    await slow
    await silent
    ok(f"all checks in {time.monotonic() - started:.1f} s")


asyncio.run(main())
