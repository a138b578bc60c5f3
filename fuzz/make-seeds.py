#!/usr/bin/env python3
"""Writes the seed inputs under fuzz/corpus/<target>/ from the sample log and
the test fixtures, plus a few hand-made edge cases. Run it again after the
sample or the fixtures change; the seeds are kept small on purpose."""
import os
import pathlib

root = pathlib.Path(__file__).resolve().parent.parent
corpus = root / "fuzz" / "corpus"
sample = (root / "examples" / "windows" / "ppplog.txt").read_bytes()
fixtures = sorted((root / "tests" / "data").rglob("*.txt"))


def first_calls(data, count):
    """The lines up to the end of the count-th closed call."""
    lines = data.split(b"\r\n")
    out, closed = [], 0
    for line in lines:
        out.append(line)
        if b"log closed" in line:
            closed += 1
            if closed == count:
                break
    return b"\r\n".join(out) + b"\r\n"


one_call = first_calls(sample, 1)
two_calls = first_calls(sample, 2)
opened = b"12-01-2026 09:12:04.30 - Remote access driver log opened."
closed = b"12-01-2026 09:22:41.20 - Remote access driver log closed."
lcp = b"12-01-2026 09:12:05.30 - LCP : Layer up"
counter = b"12-01-2026 09:22:41.10 - Bytes Received".ljust(48) + b"    182344"
logs = {
    "one-call": one_call,
    "two-calls": two_calls,
    "lf-only": one_call.replace(b"\r\n", b"\n"),
    "cr-only": one_call.replace(b"\r\n", b"\r"),
    "lf-cr": one_call.replace(b"\r\n", b"\n\r"),
    "nul-middle": one_call[:300] + b"\0\0" + one_call[300:],
    "nul-first": b"\0" + one_call[:200],
    "cut-short": b"\r\n".join([opened, lcp, opened.replace(b"04.30", b"09.00"), lcp, closed]) + b"\r\n",
    "midnight": b"\r\n".join([opened.replace(b"09:12:04", b"23:59:50"), counter,
                              closed.replace(b"09:22:41", b"00:00:10")]),
    "short-openers": b"\r\n".join([b"log opened", b"x" * 8 + b"log opened", b"y" * 9 + b"log opened"]),
    "high-bytes": opened + b"\r\n" + bytes(range(0x80, 0x100)) + b"\r\n" + closed + b"\r\n",
    "ends-with-opener": b"\r\n".join([opened, closed, opened]),
}
for fixture in fixtures:
    data = fixture.read_bytes()
    if len(data) <= 4096:
        logs["fixture-" + fixture.stem] = data


def write(target, name, data):
    folder = corpus / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


for name, data in logs.items():
    write("fuzz_lines", name, data)
    write("fuzz_scan", name, b"\0" + data)          # regional settings: "." and ":"
    write("fuzz_scan", name + "-comma", b"\1" + data)
    write("fuzz_details", name, b"\0\0" + data)      # first call, real annotation
    write("fuzz_details", name + "-flaky", b"\1\3" + data)
    write("fuzz_stream", name, b"\0\7\5" + data)         # pieces of 8, chunks of 6 bytes
    write("fuzz_stream", name + "-repair", b"\1\2\x40" + data)  # repair, pieces of 3
    if len(data) <= 2048:
        write("fuzz_load", name + "-no", b"\0" + data)   # the question answered No
        write("fuzz_load", name + "-yes", b"\1" + data)  # and Yes

for name, text in {
    "c0a80001": b"c0a80001", "upper": b"C0A80001", "seven-and-stop": b"a000001.",
    "letters": b"zzzzzzzz", "short": b"c0a", "empty": b"", "stop-first": b".1234567",
    "long": b"c0a80001ff", "high": b"\xff\xfe0a\x80",
}.items():
    write("fuzz_hex", name, text)

cells = [b"12-01-2026 09:12:04", b"12-01-2026 09:22:41", b"00:10:37", b"1.0", b"2.0", b"2.8", b"3.1",
         b"    182344", b"     23117", b"      1931", b"      1714", b"0", b"0", b"0", b"0", b"0", b"0", b"1"]
row = b"\x1f".join(cells)
write("fuzz_export", "one-row", b"\0" + row)
write("fuzz_export", "two-rows-whole", b"\1" + row + b"\x1e" + row.replace(b"09:", b"10:"))
write("fuzz_export", "empty-table", b"\0")
write("fuzz_export", "separators-in-cells", b"\1" + b"a,b\tc\x1f" + b"x" * 25 + b"\x1f\xe9\xff")
write("fuzz_export", "cut-short", b"\0" + b"\x1f".join([cells[0], b"-" + b" " * 16, b"-" + b" " * 7, b"-"]))

write("fuzz_marker", "24-hour", bytes([0, 13, 11, 5, 15, 5, 9]) + b":15:05:09")
write("fuzz_marker", "12-hour", bytes([0, 13, 11, 5, 15, 5, 9]) + b":3:05:09 PM")
write("fuzz_marker", "dot-separator", bytes([0, 1, 0, 0, 0, 0, 0]) + b".00.00.00")
write("fuzz_marker", "any-numbers", bytes([1]) + b"\xff" * 24 + b":x")

for name, data in logs.items():
    if name in ("one-call", "two-calls", "high-bytes", "cut-short"):
        write("fuzz_print", name, b"\0" + data)
write("fuzz_print", "tabs-and-feeds", b"\1" + b"a\tb\t\tc\r\n\x0cnext page\r\n" + b"w" * 300 + b"\r\n")
