#!/usr/bin/env python3
"""Writes N typical links, one per line, to standard output: 80 to 200 bytes each, the four
schemes mixed (damage may add a few bytes), addresses with ASCII, UTF-8 and code page 936 file names, and 10% of the links
damaged the way browsers, pages and chats damage them (a tenth of those beyond repair).

    make_links.py N [SEED]
"""
import base64
import random
import sys

count = int(sys.argv[1])
rng = random.Random(int(sys.argv[2]) if len(sys.argv) > 2 else 11)

HOSTS = [b"dl.example.com", b"down.example.cn", b"192.168.10.20:8080", b"files.example.org"]
WORDS = [b"setup", b"movie", b"report", b"music", b"\xe4\xb8\xad\xe6\x96\x87",  # 中文 UTF-8
         b"\xd6\xd0\xce\xc4", b"2026", b"final", b"v1.2", b"\xe8\xb5\x84\xe6\x96\x99"]
EXTENSIONS = [b".zip", b".rar", b".exe", b".mp4", b".iso", b".txt"]


def address(limit):
    path = b"/".join(rng.choice(WORDS) for _ in range(rng.randint(1, 4)))
    name = b"_".join(rng.choice(WORDS) for _ in range(rng.randint(1, 5)))
    result = b"http://" + rng.choice(HOSTS) + b"/" + path + b"/" + name + rng.choice(EXTENSIONS)
    if rng.random() < 0.3:
        result += b"?key=" + bytes(rng.choice(b"0123456789abcdef") for _ in range(16))
    return result[:limit]


def link():
    scheme = rng.randrange(4)
    a = address(rng.randint(50, 130))
    if scheme == 0:
        return b"thunder://" + base64.b64encode(b"AA" + a + b"ZZ")
    if scheme == 1:
        return (b"Flashget://" + base64.b64encode(b"[FLASHGET]" + a + b"[FLASHGET]") +
                b"&" + rng.choice([b"abc", b"fg=1", b"uid=20261211"]))
    if scheme == 2:
        return b"qqdl://" + base64.b64encode(a)
    return b"fs2you://" + base64.b64encode(a[7:] + b"|" + str(rng.randint(1, 99999)).encode())


def damaged(text):
    kind = rng.randrange(10)
    name_end = text.index(b"://")
    if kind == 0:
        return b'"' + text + b'"'
    if kind == 1:
        return text + (b"/" if b"&" in text or (len(text) - name_end - 3) % 4 == 0 else b"")
    if kind == 2:
        return b"".join(b"%%%02X" % c if c in b":/+=" else bytes([c]) for c in text)
    if kind == 3:
        return text[:name_end].upper() + text[name_end:]
    if kind == 4:
        middle = rng.randint(name_end + 4, len(text) - 1)
        return b"  " + text[:middle] + b" \t" + text[middle:] + b" "
    if kind == 5:
        return b"<" + text + b">"
    if kind == 6:
        return text.replace(b"+", b"%2B").replace(b"=", b"%3D")
    if kind == 7:
        return b"\t" + text[:name_end].lower() + text[name_end:] + b"\r"
    if kind == 8:  # wrapped once more
        return b"thunder://" + base64.b64encode(b"AA" + text + b"ZZ")
    return b"see " + text  # beyond repair


def typical_link():
    while True:
        text = link()
        if 80 <= len(text) <= 200:
            return text


out = sys.stdout.buffer
for _ in range(count):
    text = typical_link()
    out.write((damaged(text) if rng.random() < 0.1 else text) + b"\n")
