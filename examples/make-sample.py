#!/usr/bin/env python3
"""Writes examples/windows/ppplog.txt: a small, realistic Dial-Up Networking
PPP log with CRLF line ends. Run it again after changing the calls below."""
import os

def line(date, time, text):
    return f"{date} {time} - {text}"

def counter(date, time, label, value):
    head = f"{date} {time} - {label}"
    return head.ljust(48) + str(value).rjust(10)

def call(date, t, n, closed=True, ccp=True):
    h, m, s = t
    def at(sec, hund=0):
        total = h * 3600 + m * 60 + s + sec
        hh, rem = divmod(total % 86400, 3600)
        mm, ss = divmod(rem, 60)
        return f"{hh:02d}:{mm:02d}:{ss:02d}.{hund:02d}"
    lines = [
        line(date, at(0, 30), "Remote access driver log opened."),
        line(date, at(0, 30), "Installable CP VxD SPAP"),
        line(date, at(0, 40), "Server type is PPP (Point to Point Protocol)."),
        line(date, at(0, 40), "FSA : Adding Control Protocol 80fd (CCP) to control protocol chain."),
        line(date, at(0, 50), "FSA : Protocol not bound - skipping control protocol 803f (NBFCP)."),
        line(date, at(0, 50), "FSA : Encrypted Password not required"),
        line(date, at(1, 20), "LCP : Callback negotiation not enabled."),
        line(date, at(1, 20), "LCP : Received and accepted ACCM of 0."),
        line(date, at(1, 30), "LCP : Layer up"),
        line(date, at(2, 10), "CHAP : Login successful."),
        line(date, at(2, 10), "CHAP : Layer up"),
        line(date, at(2, 60), f"IPCP : Negotiated IP address of c0a8{n:02x}0{n}"),
        line(date, at(2, 60), "IPCP : Received DNS 0a000001"),
        line(date, at(2, 70), "IPCP : Remote address change from 0 to 0a00fe02"),
        line(date, at(3, 10), "IPCP : Layer up"),
    ]
    if ccp:
        lines.append(line(date, at(3, 40), "CCP : Layer finished"))
    dur = 600 * n + 37
    if closed:
        lines += [
            line(date, at(dur, 10), "Remote access driver is shutting down."),
            counter(date, at(dur, 10), "CRC Errors", 0),
            counter(date, at(dur, 10), "Timeout Errors", n - 1),
            counter(date, at(dur, 10), "Alignment Errors", 0),
            counter(date, at(dur, 10), "Overrun Errors", 0),
            counter(date, at(dur, 10), "Framing Errors", 0),
            counter(date, at(dur, 10), "Buffer Overrun Errors", 0),
            counter(date, at(dur, 10), "Incomplete Packets", n % 2),
            counter(date, at(dur, 10), "Bytes Received", 182344 * n),
            counter(date, at(dur, 10), "Bytes Transmitted", 23117 * n),
            counter(date, at(dur, 10), "Frames Received", 1931 * n),
            counter(date, at(dur, 10), "Frames Transmitted", 1714 * n),
            line(date, at(dur, 20), "Remote access driver log closed."),
        ]
    return lines

out = []
out += call("12-01-2026", (9, 12, 4), 1)
out += call("12-02-2026", (13, 59, 4), 2)
out += call("12-03-2026", (20, 41, 55), 3, ccp=False)
out += call("12-04-2026", (8, 3, 17), 4, closed=False)   # cut short by the next call
out += call("12-04-2026", (8, 9, 40), 5)
out += call("12-05-2026", (23, 51, 12), 1)               # runs past midnight

here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, "windows", "ppplog.txt"), "wb") as f:
    f.write("".join(l + "\r\n" for l in out).encode("latin-1"))
