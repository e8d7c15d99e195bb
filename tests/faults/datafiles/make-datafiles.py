#!/usr/bin/env python3
"""Writes the damaged and good data files the fault tests start the monitor on.
Run it from this folder; the files are committed, so it is only needed to
change them. A record is 956 bytes; in the file every 0x0A byte is stored as
0x0D 0x0A."""
import math
import struct

INT32_MIN, INT32_MAX = -2**31, 2**31 - 1
INT_FIELDS = ["triggerBin1", "triggerBin2", "triggerBin3"]
LATER_FIELDS = ["requiredCount", "lineEnabled", "lineSelect", "lineAction", "analog1Enabled", "analog1Volts",
                "analog2Enabled", "analog2Volts", "relay1Enabled", "relay1Action", "relay2Enabled", "relay2Action",
                "relay3Enabled", "relay3Action", "relay4Enabled", "relay4Action"]
FLOATS = {"analog1Volts", "analog2Volts"}


def blank():
    record = {name: [0] * 9 for name in INT_FIELDS + LATER_FIELDS}
    record["names"] = [b""] * 9
    return record


def record_bytes(record):
    out = b""
    for name in INT_FIELDS:
        out += struct.pack("<9i", *record[name])
    for slot in record["names"]:
        out += slot[:30].ljust(30, b"\0")
    out += b"\0\0"
    for name in LATER_FIELDS:
        out += struct.pack("<9f" if name in FLOATS else "<9i", *record[name])
    assert len(out) == 956
    return out


def encode(data):
    return data.replace(b"\n", b"\r\n")


def write(name, data):
    with open(name, "wb") as f:
        f.write(data)


good = blank()
good["names"][1] = b"Door bell\0"
good["triggerBin1"][1] = 30
good["requiredCount"][1] = 2
good["analog1Enabled"][1] = 1
good["analog1Volts"][1] = 3.3
good["relay1Enabled"][1] = 1
write("good-one-function-sets-3v3-and-closes-k1.bin", encode(record_bytes(good)))

write("empty.bin", b"")
write("one-byte.bin", b"\x1e")
write("cut-at-955-bytes.bin", record_bytes(good)[:955])

nameless = blank()
nameless["names"] = [bytes([0x41 + i]) * 30 for i in range(9)]
write("names-without-nul.bin", encode(record_bytes(nameless)))

limits = blank()
limits["names"][1] = b"limits\0"
# Function 1 hears bin 30 at once (a required count no tick can fall short of)
# and every selection of its steps is at an int32 limit.
limits["triggerBin1"][1] = 30
limits["requiredCount"][1] = INT32_MIN
limits["lineEnabled"][1] = 1
limits["lineSelect"][1] = INT32_MAX
limits["lineAction"][1] = INT32_MIN
limits["analog1Enabled"][1] = INT32_MAX
limits["analog1Volts"][1] = 1.0
for relay in range(1, 5):
    limits["relay%dEnabled" % relay][1] = 1
    limits["relay%dAction" % relay][1] = INT32_MAX if relay % 2 else INT32_MIN
for function in range(2, 9):
    limits["triggerBin1"][function] = INT32_MAX
    limits["triggerBin2"][function] = INT32_MIN
    limits["triggerBin3"][function] = -1
    limits["requiredCount"][function] = INT32_MAX if function % 2 else INT32_MIN
    limits["lineSelect"][function] = INT32_MIN
write("counts-bins-and-actions-at-int32-limits.bin", encode(record_bytes(limits)))

volts = blank()
volts["names"][1] = b"bad volts\0"
# Function 1 hears bin 30 and closes K1, so a test sees that it ran; none of
# its volts can be delivered.
volts["triggerBin1"][1] = 30
volts["requiredCount"][1] = 1
volts["analog1Enabled"][1] = 1
volts["analog1Volts"][1] = math.nan
volts["analog2Enabled"][1] = 1
volts["analog2Volts"][1] = math.inf
volts["relay1Enabled"][1] = 1
for function, (v1, v2) in enumerate([(-math.inf, 5.0001), (-0.001, 1e38), (-math.nan, 3.4e38)], start=2):
    volts["triggerBin1"][function] = 38 + function  # only the highest of functions sharing a bin runs
    volts["requiredCount"][function] = 1
    volts["analog1Enabled"][function] = 1
    volts["analog1Volts"][function] = v1
    volts["analog2Enabled"][function] = 1
    volts["analog2Volts"][function] = v2
write("volts-nan-and-infinite.bin", encode(record_bytes(volts)))
