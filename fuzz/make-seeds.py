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

# The pppd reader: one log of each prefix style and message order, the first
# byte choosing where the log is cut in two (and the newest time).
def pppd_session(prefix):
    messages = [b"pppd 2.4.9 started by root, uid 0", b"Connect: ppp0 <--> /dev/ttyUSB0",
                b"CHAP authentication succeeded", b"local  IP address 10.0.0.5",
                b"remote IP address 10.0.0.1", b"primary   DNS address 10.0.0.53",
                b"No response to 4 echo-requests", b"Connection terminated.",
                b"Connect time 20.1 minutes.", b"Sent 300 bytes, received 400 bytes.", b"Exit."]
    return b"".join(prefix(i) + m + b"\n" for i, m in enumerate(messages))


def json_line(i, message, as_bytes):
    value = (b"[" + b",".join(str(c).encode() for c in message) + b"]") if as_bytes else b'"' + message + b'"'
    return (b'{"__REALTIME_TIMESTAMP":"%d","_PID":"77","SYSLOG_IDENTIFIER":"pppd","MESSAGE":' %
            (1796688000000000 + i * 1000000) + value + b"}\n")


pppd_logs = {
    "classic": pppd_session(lambda i: b"Dec  8 10:00:%02d gw pppd[321]: " % i),
    "busybox": pppd_session(lambda i: b"Jan  1 00:55:%02d nettest daemon.notice pppd[213]: " % i),
    "openwrt": pppd_session(lambda i: b"Tue Dec  8 10:00:%02d 2026 daemon.info pppd[9]: " % i),
    "rfc3339": pppd_session(lambda i: b"2026-03-29T01:59:%02d.5+01:00 gw pppd[8]: " % i),
    "short-full": pppd_session(lambda i: b"<30>Tue 2026-12-08 10:00:%02d UTC gw pppd[8]: " % i),
    "regional": pppd_session(lambda i: b"Mai 16 08:53:%02d.937310 abreu pppd[10313]: " % i),
    "bare": pppd_session(lambda i: b"   ^C" if i == 6 else b""),
    "json": b"".join(json_line(i, m, i % 2 == 1) for i, m in enumerate(
        [b"Connect: ppp0 <--> ", b"Modem hangup", b"Connection terminated.", b"Exit."])) + b'{"MESSAGE":"x"\n',
    "failures": b"".join(b"Dec  8 09:0%d:00 h pppd[200]: " % i + m + b"\n" for i, m in enumerate(
        [b"Timeout waiting for PADO packets", b"Unable to complete PPPoE Discovery",
         b"Connect script failed", b"Failed to open /dev/ttyS0: No such file",
         b"LCP: timeout sending Config-Requests", b"PAP authentication failed",
         b"Peer carol failed CHAP authentication"])),
    "copies-and-new-year": b"Dec 31 23:59:59 h sh[4]: Connect: ppp0 <--> eth0\n"
                           b"Dec 31 23:59:59 h pppd[5]: Connect: ppp0 <--> eth0\n"
                           b"Jan  1 00:00:01 h chat[6]: CONNECT\n"
                           b"Jan  1 00:00:02 h pppd[5]: Sent 7 bytes, received \n8 bytes.\n"
                           b"Foo  1 00:00:03 h pppd[5]: x\n\x01\x02\n"
                           b"Jun  1 00:00:04 h pppd[5]: Connection terminated.\n",
}
for name, data in pppd_logs.items():
    write("fuzz_pppd", name, b"\3" + data)
