#!/usr/bin/env python3
"""Real downloads, end to end: a file of damaged links goes through
`vantrel-convert --lenient --lines --format aria2` into the real `aria2c -i -`, which fetches
from a local HTTP server on 127.0.0.1. The files must arrive with their Chinese names and
their contents; the one bad line is reported and nothing else is lost.

    aria2_test.py PROGRAM
"""
import base64
import functools
import http.server
import os
import secrets
import subprocess
import sys
import tempfile
import threading

program = sys.argv[1]
FORMAT_ERROR = "格式错误！请输入正确的地址！"


def b64(data: bytes) -> bytes:
    return base64.b64encode(data)


def percent_encoded(link: bytes) -> bytes:
    return b"".join(b"%%%02X" % c if c in b":/+=" else bytes([c]) for c in link)


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def main():
    with tempfile.TemporaryDirectory() as work:
        served = os.path.join(work, "served")
        downloads = os.path.join(work, "downloads")
        os.makedirs(os.path.join(served, "资料"))
        os.makedirs(downloads)
        files = {  # path on the server -> contents
            "中文 文件.zip": secrets.token_bytes(70000),
            "资料/说明.txt": "说明\n".encode() * 100,
            "plain.bin": secrets.token_bytes(1000),
            "report+2026.pdf": secrets.token_bytes(5000),
        }
        for path, contents in files.items():
            with open(os.path.join(served, path), "wb") as f:
                f.write(contents)

        server = http.server.ThreadingHTTPServer(
            ("127.0.0.1", 0), functools.partial(QuietHandler, directory=served))
        threading.Thread(target=server.serve_forever, daemon=True).start()
        base = f"127.0.0.1:{server.server_address[1]}".encode()

        def url(path):
            return b"http://" + base + b"/" + path.encode()

        links = [
            # Quoted, with a browser's slash, the address in raw UTF-8 with a space.
            b'"thunder://' + b64(b"AA" + url("中文 文件.zip") + b"ZZ") + b'/"',
            # Percent-encoded as a whole, the scheme name in upper case, a suffix after '&'.
            percent_encoded(b"FLASHGET://" + b64(b"[FLASHGET]" + url("资料/说明.txt") +
                                                  b"[FLASHGET]") + b"&fg=1"),
            b"this line holds no link",
            b"",
            # Nested: a qqdl link inside a thunder link, spaces inside the body.
            b"  thunder://" + b" ".join(
                b64(b"AA" + b"qqdl://" + b64(url("plain.bin")) + b"ZZ")[i:i + 8]
                for i in range(0, 200, 8)).strip(),
            # RayFile, lower-case name; '+' in the file name.
            b"FS2YOU://" + b64(base + b"/report%2B2026.pdf|4321"),
        ]
        converter = subprocess.Popen(
            [program, "--lenient", "--lines", "--format", "aria2", "auto"],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        aria2 = subprocess.Popen(
            ["aria2c", "--no-conf", "-i", "-", "-d", downloads, "--async-dns=false",
             "--max-tries=1", "--auto-file-renaming=false", "--console-log-level=warn",
             "--summary-interval=0"],
            stdin=converter.stdout, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        converter.stdout.close()
        _, converter_errors = converter.communicate(b"\r\n".join(links) + b"\r\n", timeout=60)
        aria2_log, _ = aria2.communicate(timeout=120)
        server.shutdown()

        problems = []
        if converter.returncode != 2:
            problems.append(f"converter exit status {converter.returncode}, expected 2")
        if converter_errors.decode() != f"line 3: {FORMAT_ERROR}\n":
            problems.append(f"converter said {converter_errors!r}")
        if aria2.returncode != 0:
            problems.append(f"aria2c exit status {aria2.returncode}: {aria2_log.decode()}")
        expected = {os.path.basename(path): contents for path, contents in files.items()}
        arrived = sorted(os.listdir(downloads))
        if arrived != sorted(expected):
            problems.append(f"files {arrived}, expected {sorted(expected)}")
        for name in set(arrived) & set(expected):
            with open(os.path.join(downloads, name), "rb") as f:
                if f.read() != expected[name]:
                    problems.append(f"{name}: contents differ")
        for problem in problems:
            print("FAIL", problem)
        if problems:
            sys.exit(1)
        print(f"ok   {len(expected)} files arrived with their names; the bad line was reported")


main()
