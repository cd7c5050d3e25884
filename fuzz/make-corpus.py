#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
# Writes the seed corpus: one real exchange of each kind, in the fuzzer's record format.
import os, struct, sys

ADDR = bytes.fromhex("024B56000001")
DATAGRAM, FIRE, SCAN, CLICK, SETTING, OTHER, STEP = 0, 3, 4, 5, 6, 7, 8

def datagram(b):
    return bytes([DATAGRAM, len(b) & 0xFF, len(b) >> 8]) + b

def step(s):  # the fuzzer maps byte i to Step i (0..17) or i + 2 (20..38)
    return bytes([STEP, s if s < 18 else s - 2])

found = bytes([SCAN]) + datagram(ADDR + b"KV-01\r\n") + bytes([FIRE] * 4)
answers = [b"03", b"01", b"08", b"00100", b"02", b"00010", b"01", b"01",
           b"192.168.001.001", b"255.255.255.000", b"192.168.001.010", b"08000",
           b"192.168.001.100", b"09000", b"00", b"00", b"00"]
read = found + bytes([CLICK, 1]) + b"".join(datagram(ADDR + a + b"\r\n") for a in answers)
seeds = {
    "discovery": found,
    "read": read,
    "read-rejected": found + bytes([CLICK, 1]) + datagram(ADDR + b"0:\r\n"),
    "write": read + bytes([SETTING]) + datagram(ADDR + b"OK\r\n") * 17,
    "write-refused": read + bytes([SETTING]) + datagram(ADDR + b"ER\r\n"),
    "defaults": found + bytes([CLICK, 1]) + step(20) + datagram(ADDR + b"OK\r\n"),
    "reset": found + bytes([CLICK, 1, OTHER, 0]),
    "timeouts": read + bytes([SETTING, FIRE, FIRE, FIRE]),
}
out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "corpus")
os.makedirs(out, exist_ok=True)
for name, data in seeds.items():
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
