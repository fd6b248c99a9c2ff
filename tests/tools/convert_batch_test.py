#!/usr/bin/env python3
"""The options of vantrel-convert: forgiving reading, a link per line, the output formats,
exit statuses, and input that is large, binary or not UTF-8.

    convert_batch_test.py [--heavy] [EMULATOR...] PROGRAM

--heavy adds the checks that only a native build can measure: memory that does not grow with
a million lines, and I/O errors on standard input and output.
"""
import base64
import json
import os
import subprocess
import sys
import tempfile
import threading

args = sys.argv[1:]
heavy = bool(args) and args[0] == "--heavy"
if heavy:
    args = args[1:]
program = args

FORMAT_ERROR = "格式错误！请输入正确的地址！".encode()
failures = 0


def b64(data: bytes) -> bytes:
    return base64.b64encode(data)


def thunder(address: bytes) -> bytes:
    return b"thunder://" + b64(b"AA" + address + b"ZZ")


def flashget(address: bytes) -> bytes:
    return b"Flashget://" + b64(b"[FLASHGET]" + address + b"[FLASHGET]")


def qqdl(address: bytes) -> bytes:
    return b"qqdl://" + b64(address)


def run(arguments, stdin=b"", **kwargs):
    result = subprocess.run(program + [os.fsdecode(a) if isinstance(a, bytes) else a
                                       for a in arguments],
                            input=stdin, capture_output=True, **kwargs)
    return result.returncode, result.stdout, result.stderr


def check(name, arguments, stdin, status, out, err):
    """err: exact bytes, or the string "usage" for any usage message."""
    global failures
    got_status, got_out, got_err = run(arguments, stdin)
    problems = []
    if got_status != status:
        problems.append(f"exit status {got_status}, expected {status}")
    if got_out != out:
        problems.append(f"standard output {got_out[:300]!r}, expected {out[:300]!r}")
    if err == "usage":
        if b"usage" not in got_err:
            problems.append(f"no usage message: {got_err[:300]!r}")
    elif got_err != err:
        problems.append(f"standard error {got_err[:300]!r}, expected {err[:300]!r}")
    report(name, problems)


def report(name, problems):
    global failures
    if problems:
        failures += 1
        print(f"FAIL {name}: " + "; ".join(problems))
    else:
        print(f"ok   {name}")


def line_error(number):
    return b"line %d: " % number + FORMAT_ERROR + b"\n"


ADDRESS = b"http://example.com/dir/file.zip"
LINK = thunder(ADDRESS)
GBK = b"http://h/\xd6\xd0\xce\xc4.zip"      # 中文 in code page 936
UTF8 = "http://h/中文 1.zip".encode()
DAMAGED = b' "FLASHGET://' + flashget(ADDRESS)[11:] + b'&k=1/" '

# Usage errors.
for name, arguments in [
    ("an option without SCHEME", ["--lenient"]),
    ("--format without its value", ["--format"]),
    ("an unknown format", ["--format", "xml", "auto", LINK]),
    ("an empty --format=", ["--format=", "auto", LINK]),
    ("an unknown option", ["--strict", "auto", LINK]),
    ("options before base64", ["--lenient", "base64"]),
    ("scheme names stay lower case", ["--lenient", "THUNDER", LINK]),
    ("too many arguments", ["--lines", "auto", LINK, LINK]),
    ("--help after options", ["--lenient", "--help"]),
]:
    check(name, arguments, b"", 64, b"", "usage")

# --help documents every option and format, each option with an example.
help_status, help_text, help_err = run(["--help"])
help_lines = help_text.decode().splitlines()
examples = [line for line in help_lines if "Example:" in line or line.strip().startswith("|")]
missing = [word for word in ["--lenient", "--lines", "--format", "raw", "ascii", "json", "aria2",
                             "U+FFFD", "line N:", "out=", "64", "74"]
           if word not in help_text.decode()]
missing += [f"an example with {option}" for option in ["--lenient", "--lines", "--format json",
                                                       "--format aria2"]
            if not any(option in line for line in examples)]
report("--help", [] if help_status == 0 and not help_err and not missing else
       [f"status {help_status}, missing {missing}"])

# One link, as today, with the options.
check("lenient damaged flashget", ["--lenient", "auto", DAMAGED], b"", 0, ADDRESS + b"\n", b"")
check("strict reading stays strict", ["auto", DAMAGED], b"", 2, b"", FORMAT_ERROR + b"\n")
check("lenient named scheme", ["--lenient", "flashget", DAMAGED], b"", 0, ADDRESS + b"\n", b"")
check("lenient, another scheme than named", ["--lenient", "qqdl", DAMAGED], b"", 2, b"",
      FORMAT_ERROR + b"\n")
check("lenient from standard input", ["--lenient", "auto"], LINK + b"\r\n", 0, ADDRESS + b"\n", b"")
check("lenient, nested three deep", ["--lenient", "auto", thunder(flashget(qqdl(ADDRESS)))], b"",
      0, ADDRESS + b"\n", b"")
check("ascii form", ["--format=ascii", "thunder", thunder(GBK)], b"", 0,
      b"http://h/%D6%D0%CE%C4.zip\n", b"")
check("aria2 for one link", ["--format", "aria2", "qqdl", qqdl(UTF8)], b"", 0,
      b"http://h/%E4%B8%AD%E6%96%87%201.zip\n  out=" + "中文 1.zip".encode() + b"\n", b"")
check("raw keeps a line break of one link", ["qqdl", qqdl(b"a\nb")], b"", 0, b"a\nb\n", b"")

# A link per line: output line N answers input line N.
lines_in = LINK + b"\r\n" + b" \t\n" + b"not a link\n" + b"\n" + qqdl(GBK) + b"/"
check("lines raw", ["--lenient", "--lines", "auto"], lines_in, 2,
      ADDRESS + b"\n\n\n\n" + GBK + b"\n", line_error(3))
check("lines ascii", ["--lenient", "--lines", "--format", "ascii", "auto"], lines_in, 2,
      ADDRESS + b"\n\n\n\nhttp://h/%D6%D0%CE%C4.zip\n", line_error(3))
check("lines, every link converts", ["--lines", "auto"], LINK + b"\n\n" + LINK + b"\n", 0,
      ADDRESS + b"\n\n" + ADDRESS + b"\n", b"")
check("lines, empty input", ["--lenient", "--lines", "auto"], b"", 0, b"", b"")
check("lines from the LINK argument", ["--lenient", "--lines", "auto", LINK + b"\n " + LINK], b"",
      0, ADDRESS + b"\n" + ADDRESS + b"\n", b"")
check("lines, strict reading per line", ["--lines", "auto"], b"flash" + flashget(ADDRESS)[5:] +
      b"\r\n" + flashget(ADDRESS) + b"\r\n", 2, b"\n" + ADDRESS + b"\n", line_error(1))
check("lines, a zero byte in a line", ["--lenient", "--lines", "qqdl"],
      b"qqdl://QUJD\x00\nqqdl://QUJD\n", 2, b"\nABC\n", line_error(1))
check("lines raw, an address with a line break", ["--lines", "qqdl"],
      qqdl(b"a\nb") + b"\n" + qqdl(b"ok") + b"\n", 2, b"\nok\n",
      b"line 1: the address holds a line break; --format ascii writes it\n")
check("lines ascii, an address with a line break", ["--lines", "--format", "ascii", "qqdl"],
      qqdl(b"a\nb") + b"\n", 0, b"a%0Ab\n", b"")
check("aria2: names, no name, failures only on standard error",
      ["--lenient", "--lines", "--format", "aria2", "auto"],
      qqdl(UTF8) + b"\nbroken\n" + thunder(b"http://h/dir/") + b"\n" +
      qqdl(b"http://h/a%0A%20dir=%2Fetc") + b"\n", 2,
      b"http://h/%E4%B8%AD%E6%96%87%201.zip\n  out=" + "中文 1.zip".encode() + b"\n" +
      b"http://h/dir/\n" + b"http://h/a%0A%20dir=%2Fetc\n  out=a%0A dir=%2Fetc\n", line_error(2))


def json_lines(name, arguments, stdin, status, expected):
    got_status, out, err = run(arguments, stdin)
    problems = []
    if got_status != status:
        problems.append(f"exit status {got_status}, expected {status}")
    try:
        objects = [json.loads(line) for line in out.decode("utf-8", "strict").splitlines()]
        if objects != expected:
            problems.append(f"got {objects!r}, expected {expected!r}")
    except (UnicodeDecodeError, ValueError) as error:
        problems.append(f"not valid UTF-8 JSON Lines: {error}: {out[:300]!r}")
    report(name, problems)


def success(line, input_text, scheme, address, ascii_form, charset, name):
    return {"line": line, "input": input_text, "scheme": scheme, "address": address,
            "ascii": ascii_form, "charset": charset, "name": name}


json_lines("json of every charset, failures, blank lines skipped",
           ["--lenient", "--lines", "--format", "json", "auto"],
           LINK + b"\n\n" + qqdl(GBK) + b"\n" + b"fs2you://" + b64("h/中文.rar|1".encode()) +
           b"\r\n" + b"bad \x81\x20\xd6\xd0\n", 2,
           [success(1, LINK.decode(), "thunder", ADDRESS.decode(), ADDRESS.decode(), "ascii",
                    "file.zip"),
            success(3, qqdl(GBK).decode(), "qqdl", "http://h/中文.zip",
                    "http://h/%D6%D0%CE%C4.zip", "gbk", "中文.zip"),
            success(4, "fs2you://" + b64("h/中文.rar|1".encode()).decode(), "rayfile",
                    "http://h/中文.rar", "http://h/%E4%B8%AD%E6%96%87.rar", "utf-8", "中文.rar"),
            {"line": 5, "input": "bad \ufffd 中", "error": "format"}])
json_lines("json escapes quotes and control bytes",
           ["--lines", "--format", "json", "qqdl"], qqdl(b'http://h/a"\\\x01\x7f\tb') + b"\n", 0,
           [success(1, qqdl(b'http://h/a"\\\x01\x7f\tb').decode(), "qqdl",
                    'http://h/a"\\\x01\x7f\tb', "http://h/a%22%5C%01%7F%09b", "ascii",
                    "a\"%5C%01%7F%09b")])
json_lines("json: invalid bytes in the address become U+FFFD",
           ["--format", "json", "qqdl", qqdl(b"http://h/\x81\x7f\x81\x20\xd6")], b"", 0,
           [success(1, qqdl(b"http://h/\x81\x7f\x81\x20\xd6").decode(), "qqdl",
                    "http://h/\ufffd\x7f\ufffd \ufffd", "http://h/%81%7F%81%20%D6", "gbk",
                    "\ufffd%7F\ufffd \ufffd")])
json_lines("json: the last line's CR goes like a CR LF's", ["--lines", "--format", "json", "qqdl"],
           b"qqdl://QUJD\r", 0, [success(1, "qqdl://QUJD", "qqdl", "ABC", "ABC", "ascii", "ABC")])
json_lines("json for one failed link", ["--format", "json", "thunder", "nothing"], b"", 2,
           [{"line": 1, "input": "nothing", "error": "format"}])
json_lines("json of nested links reports the outer scheme",
           ["--lenient", "--format", "json", "auto", qqdl(thunder(ADDRESS))], b"", 0,
           [success(1, qqdl(thunder(ADDRESS)).decode(), "qqdl", ADDRESS.decode(),
                    ADDRESS.decode(), "ascii", "file.zip")])

# Binary input: every non-blank line gets an object, and the whole output is valid UTF-8 JSON.
random_lines = []
generator = __import__("random").Random(11)
for number in range(2000):
    noise = bytes(generator.randrange(256) for _ in range(generator.randrange(1, 60)))
    prefix = generator.choice([b"", b"thunder://", b"QQDL://", b"fs2you%3A%2F%2F"])
    random_lines.append((prefix + noise).replace(b"\n", b" "))
random_status, random_out, _ = run(["--lenient", "--lines", "--format", "json", "auto"],
                                   b"\n".join(random_lines) + b"\n")
try:
    numbers = [json.loads(line)["line"] for line in random_out.decode("utf-8").splitlines()]
    expected_numbers = [n + 1 for n, line in enumerate(random_lines)
                        if line.replace(b"\r", b"").strip(b" \t\v\f")]
    report("json of random binary lines", [] if numbers == expected_numbers and
           random_status in (0, 2) else [f"status {random_status}, lines {numbers[:20]}"])
except (UnicodeDecodeError, ValueError) as error:
    report("json of random binary lines", [f"not valid UTF-8 JSON Lines: {error}"])

# A line of megabytes.
big_address = b"http://h/" + b"x" * (6 << 20) + b".zip"
big_status, big_out, _ = run(["--lenient", "--lines", "auto"],
                             b"\n" + qqdl(big_address) + b"\n" + LINK + b"\n")
report("a line of megabytes", [] if big_status == 0 and big_out ==
       b"\n" + big_address + b"\n" + ADDRESS + b"\n" else [f"status {big_status}, "
                                                           f"{len(big_out)} bytes"])


# The converter may use this much address space: far less than the input of a million lines.
ADDRESS_SPACE_LIMIT = 48 << 20


def stream_through_limited_converter(line_count):
    """Streams `line_count` links through the converter; the lines it wrote and its status."""
    import resource
    block = (LINK + b"\n" + DAMAGED + b"\n" + b"broken\n" + qqdl(GBK) + b"\n") * 250
    process = subprocess.Popen(
        program + ["--lenient", "--lines", "--format", "json", "auto"], stdin=subprocess.PIPE,
        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
        preexec_fn=lambda: resource.setrlimit(resource.RLIMIT_AS, (ADDRESS_SPACE_LIMIT,) * 2))
    counted = {"lines": 0}

    def count():
        for chunk in iter(lambda: process.stdout.read(1 << 16), b""):
            counted["lines"] += chunk.count(b"\n")
    reader = threading.Thread(target=count)
    reader.start()
    try:
        for _ in range(line_count // 1000):
            process.stdin.write(block)
        process.stdin.close()
    except BrokenPipeError:
        pass
    status = process.wait()
    reader.join()
    return counted["lines"], status


if heavy:
    written, status = stream_through_limited_converter(2_000_000)
    report("two million lines (about 100 MB) in 48 MiB of address space",
           [] if written == 2_000_000 and status == 2 else
           [f"{written} lines out, status {status}"])

    with tempfile.TemporaryDirectory() as directory:
        result = subprocess.run(program + ["--lenient", "--lines", "auto"],
                                stdin=os.open(directory, os.O_RDONLY), capture_output=True)
        report("lines: standard input cannot be read",
               [] if result.returncode == 74 else [f"status {result.returncode}"])
    with open("/dev/full", "wb") as full:
        result = subprocess.run(program + ["--lenient", "--lines", "auto"], input=LINK + b"\n",
                                stdout=full, stderr=subprocess.PIPE)
    report("lines: standard output cannot be written",
           [] if result.returncode == 74 else [f"status {result.returncode}"])

if failures:
    print(f"{failures} failed")
    sys.exit(1)
