#!/usr/bin/python3
"""Hostile phones against a running game's phone server, on 127.0.0.1 only.
Each check prints one line; the first failure prints why and exits with 1."""
import asyncio
import contextlib
import json
import os
import random
import sys
import time
import urllib.parse

import websockets

ERROR_CODES = set("json type field name full seat secret turn rate busy binary".split())
PING = '{"type":"ping"}'


def fail(why):
    print(f"FAIL: {why}", flush=True)
    os._exit(1)


def ok(line):
    print(f"ok: {line}", flush=True)


url = urllib.parse.urlsplit(sys.argv[1] if len(sys.argv) == 2 else "")
if url.hostname != "127.0.0.1" or not url.port or len(url.path.strip("/")) != 32:
    sys.exit("usage: phones_hostile.py http://127.0.0.1:PORT/KEY/")
PORT, KEY = url.port, url.path.strip("/")
HOST = f"127.0.0.1:{PORT}"
REQUEST = f"GET /{KEY}/ HTTP/1.1\r\nHost: {HOST}\r\n".encode()


async def expect_status(label, status, target=None, host=HOST, extra="", body=b"", method="GET"):
    """One raw request, which must get that status (no markup unless 200); returns its headers."""
    reader, writer = await asyncio.open_connection("127.0.0.1", PORT)
    request = f"{method} {target or '/' + KEY + '/'} HTTP/1.1\r\nHost: {host}\r\n{extra}"
    request += f"Content-Length: {len(body)}\r\n" if body else ""
    try:
        writer.write(request.encode() + b"Connection: close\r\n\r\n" + body)
        await writer.drain()
        answer = await asyncio.wait_for(reader.read(), 5)
    except ConnectionError:
        answer = b""  # closed by the server
    finally:
        writer.close()
    head, _, content = answer.partition(b"\r\n\r\n")
    first, *lines = head.decode("latin-1").split("\r\n")
    got = int(first.split()[1]) if answer else None
    if got != status:
        fail(f"{label}: expected {status}, got {got}")
    if status != 200 and b"<" in content:
        fail(f"{label}: the answer has markup: {content[:80]!r}")
    ok(f"{label}: {status}")
    return {n.strip().lower(): v.strip() for n, _, v in (line.partition(":") for line in lines)}


def phone(origin=f"http://{HOST}"):
    return websockets.connect(f"ws://{HOST}/{KEY}/ws", origin=origin, compression=None,
                              ping_interval=None, open_timeout=5, close_timeout=2, max_size=None)


def check_reply(label, text):
    reply = None
    with contextlib.suppress(ValueError):
        reply = json.loads(text) if isinstance(text, str) else None
    if not isinstance(reply, dict) or not isinstance(reply.get("type"), str) or \
            reply["type"] == "error" and reply.get("code") not in ERROR_CODES:
        fail(f"{label}: a reply not JSON with a type (and a known code if an error): {text[:80]!r}")
    return reply


async def answer_to(ws, label, message=PING, wanted="pong", seconds=3):
    await ws.send(message)
    with contextlib.suppress(TimeoutError):
        async with asyncio.timeout(seconds):
            while True:
                reply = check_reply(label, await ws.recv())
                if reply["type"] == wanted or reply["type"] == "error" and reply["code"] == wanted:
                    return ok(f"{label}: {wanted}")
    fail(f"{label}: no {wanted} within {seconds} s")


async def expect_close(label, ws, code=None, seconds=5):
    try:
        while True:
            await asyncio.wait_for(ws.recv(), seconds)
    except websockets.ConnectionClosed as closed:
        got = closed.rcvd and closed.rcvd.code
    except TimeoutError:
        fail(f"{label}: the server did not close the WebSocket")
    if code and got != code:
        fail(f"{label}: closed with {got}, not {code}")
    ok(f"{label}: closed with {got}")


async def dropped_after(label, seconds, connection):
    started = time.monotonic()
    try:
        with contextlib.suppress(ConnectionError):
            await asyncio.wait_for(connection, seconds + 4)
    except TimeoutError:
        fail(f"{label}: still open after {seconds + 4} s")
    took = time.monotonic() - started
    if not seconds - 2 <= took <= seconds + 4:
        fail(f"{label}: closed after {took:.1f} s, not about {seconds} s")
    ok(f"{label}: closed after {took:.1f} s")


async def half_a_request():
    reader, writer = await asyncio.open_connection("127.0.0.1", PORT)
    writer.write(REQUEST)
    await reader.read()
    writer.close()


async def a_silent_phone():
    async with phone() as ws:
        await expect_close("a silent WebSocket", ws, seconds=30)


SEEDS = ['{"type":"join","name":"Anna"}', '{"type":"take","seat":0}', '{"type":"leave"}',
         '{"type":"resume","seat":1,"secret":"' + "0" * 32 + '"}', '{"type":"roll"}']


def random_message():
    """Random bytes, or a message of a known type with random bytes flipped, cut or put in; either
    way well under the 1 KiB a message may have."""
    if random.random() < 0.2:
        return random.randbytes(random.randrange(1, 200))
    message = bytearray(random.choice(SEEDS).encode())
    for _ in range(random.randrange(4)):
        at, change = random.randrange(len(message) + 1), random.randrange(3)
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
            with contextlib.suppress(websockets.ConnectionClosed):
                async for text in ws:
                    check_reply(label, text)
        reader = asyncio.create_task(read())
        for _ in range(count):
            try:
                await ws.send(random_message())
            except websockets.ConnectionClosed:
                break
            await asyncio.sleep(0.055)
        await asyncio.sleep(0.5)
        if ws.open:
            reader.cancel()
            await asyncio.wait([reader])  # its recv() must be over before ours
            return await answer_to(ws, f"{label} after its random messages")
    async with phone() as ws:
        await answer_to(ws, f"{label}, closed, a new one")


async def main():
    started = time.monotonic()
    idle = asyncio.gather(dropped_after("half a request", 10, half_a_request()),
                          dropped_after("a silent WebSocket", 20, a_silent_phone()))

    headers = await expect_status("the page", 200, target=f"/{KEY.upper()}/")
    policy = headers.get("content-security-policy", "")
    if headers.get("cache-control") != "no-store" or f"connect-src ws://{HOST};" not in policy \
            or "default-src 'none'" not in policy:
        fail(f"the page's headers: {headers}")
    ok("the page: Cache-Control no-store and a Content-Security-Policy")
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
            if refused.status_code != 403:
                fail(f"{label}: {refused.status_code}, not 403")
        ok(f"{label}: 403")

    async with phone() as ws:
        await answer_to(ws, "ping")
        await answer_to(ws, "garbage JSON", '{"type":', "json")
        await answer_to(ws, "a binary frame", b"\x00\x01\x02", "binary")
        await ws.send("[" * 2048)
        await expect_close("a 2 KiB WebSocket message", ws, 1009)

    async with phone() as ws:
        for _ in range(100):
            await ws.send(PING)
        pongs = rates = 0
        with contextlib.suppress(TimeoutError):
            while True:
                reply = check_reply("flood", await asyncio.wait_for(ws.recv(), 1))
                pongs += reply["type"] == "pong"
                rates += reply.get("code") == "rate"
        if not rates or pongs > 30:
            fail(f"a flood of 100: {pongs} pongs, {rates} rate errors")
        ok(f"a flood of 100: {pongs} pongs, {rates} rate error(s)")
        await asyncio.sleep(1.1)
        await answer_to(ws, "after the flood, a second later")

    async with phone() as ws:
        await ws.write_frame(True, websockets.frames.Opcode.TEXT, b'{"type":"\xff"}')
        await expect_close("a text frame with invalid UTF-8", ws, 1007)

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
    if not 1 <= served <= 32:
        fail(f"40 connections at once: {served} served")
    ok(f"40 connections at once: {served} served, {40 - served} closed at once")
    await asyncio.sleep(0.3)
    await expect_status("a fresh connection afterwards", 200)

    seed = int(os.environ.get("KRAXELBRETT_SEED", time.time_ns() % 1000000))
    random.seed(seed)
    await asyncio.gather(*(random_phone(f"random phone {n}", 125) for n in range(8)))
    ok(f"1000 random messages (KRAXELBRETT_SEED={seed}): every reply JSON with a type")

    await idle
    ok(f"all checks in {time.monotonic() - started:.1f} s")


asyncio.run(main())
