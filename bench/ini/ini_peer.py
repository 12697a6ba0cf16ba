#!/usr/bin/env python3
"""Test files and the peer measurement for bench/ini/run.sh.

generate FILE MB      writes an INI file of about MB megabytes; prints "SECTIONS KEYS_PER_SECTION"
peer FILE SECTIONS KEYS [LOOKUPS]
                      loads FILE with configparser and does the same lookups as ini_bench
"""
import configparser
import sys
import time

SECTIONS = 20  # few, large sections: where a poor index shows


def generate(path, megabytes):
    target = int(megabytes * 1024 * 1024)
    sample = "Key0000000 = value 0000000 of section 00 with some padding text\r\n"
    keys = max(1, target // (SECTIONS * (len(sample) + 2)))
    with open(path, "w", encoding="latin-1", newline="") as out:
        out.write("; benchmark file\r\n\r\n")
        for s in range(SECTIONS):
            out.write("[Section%05d]\r\n" % s)
            for k in range(keys):
                if k % 50 == 0:
                    out.write("; keys from %d\r\n\r\n" % k)
                out.write("Key%07d = value %07d of section %02d with some padding text\r\n" % (k, k, s))
    print(SECTIONS, keys)


def peer(path, sections, keys, lookups):
    start = time.perf_counter()
    parser = configparser.ConfigParser(interpolation=None, strict=False)
    parser.optionxform = str  # keys keep their case, as in the library under test
    with open(path, encoding="latin-1") as f:
        parser.read_file(f)
    load = time.perf_counter() - start
    start = time.perf_counter()
    found = 0
    for i in range(lookups):
        section = "Section%05d" % ((i * 7919) % sections)
        key = "Key%07d" % ((i * 104729) % keys)
        if parser.has_section(section) and parser.get(section, key, fallback=None) is not None:
            found += 1
    print("load %.6f lookups %.6f found %d" % (load, time.perf_counter() - start, found))


if __name__ == "__main__":
    if sys.argv[1] == "generate":
        generate(sys.argv[2], float(sys.argv[3]))
    elif sys.argv[1] == "peer":
        peer(sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), int(sys.argv[5]) if len(sys.argv) > 5 else 1000)
    else:
        sys.exit(__doc__)
