#!/usr/bin/env python3
"""Runs CodePage932Dump and checks every line against Python's cp932 codec.

    check_code_page_932.py DUMP_PROGRAM

The rules, as the decoder promises them: a byte sequence that is not
Shift_JIS is one U+FFFD; a lead byte whose next byte is no trail byte stands
alone and that byte is read again; 0x80, 0xA0 and 0xFD-0xFF are not Shift_JIS
although cp932 maps them.
"""
import subprocess
import sys

NOT_SHIFT_JIS = {0x80, 0xA0, 0xFD, 0xFE, 0xFF}
REPLACEMENT = [0xFFFD]


def is_lead(byte):
    return 0x81 <= byte <= 0x9F or 0xE0 <= byte <= 0xFC


def is_trail(byte):
    return 0x40 <= byte <= 0xFC and byte != 0x7F


def single(byte):
    if byte in NOT_SHIFT_JIS or is_lead(byte):
        return REPLACEMENT
    return [ord(c) for c in bytes([byte]).decode("cp932")]


def expected(sequence):
    if len(sequence) == 1:
        return single(sequence[0])
    first, second = sequence
    if not is_lead(first):
        return single(first) + single(second)
    if not is_trail(second):
        return REPLACEMENT + single(second)
    try:
        return [ord(c) for c in sequence.decode("cp932")]
    except UnicodeDecodeError:
        return REPLACEMENT


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    dump = subprocess.run([sys.argv[1]], check=True, capture_output=True, text=True).stdout.splitlines()
    sequences = [bytes([b]) for b in range(256)] + [bytes([a, b]) for a in range(256) for b in range(256)]
    if len(dump) != len(sequences):
        sys.exit(f"{len(dump)} lines for {len(sequences)} sequences")
    differences = 0
    for sequence, line in zip(sequences, dump):
        want = " ".join(f"{c:04X}" for c in expected(sequence))
        if line != want:
            differences += 1
            if differences <= 20:
                print(f"{sequence.hex()}: decoder {line}, cp932 {want}")
    print(f"{len(sequences)} sequences, {differences} differences")
    return 1 if differences else 0


if __name__ == "__main__":
    sys.exit(main())
