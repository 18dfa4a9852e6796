"""Makes a Windows program file ready to be signed and unsigned again.

An Authenticode signature goes after the file's last byte, which signing
first pads to a whole number of 8-byte units, and signing and removing the
signature both rewrite the header's checksum. This does both ahead, as
signing would, so that `osslsigncode remove-signature` on a signed file gives
back, bit for bit, the file we build and ship unsigned.

Usage: pe_signable.py FILE...
"""

import struct
import sys

SIGNATURE_ALIGNMENT = 8


def checksum_offset(data):
    """Where the optional header keeps the checksum."""
    if data[:2] != b"MZ":
        raise ValueError("not a Windows program file (no MZ header)")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a Windows program file (no PE header)")
    # The signature, the file header, then the optional header, whose
    # checksum follows 64 bytes in for both 32- and 64-bit programs.
    return pe + 4 + 20 + 64


def pe_checksum(data, skip):
    """Windows' checksum: the 16-bit words folded with their carries, the
    checksum field itself left out, plus the file's length."""
    total = 0
    padded = data if len(data) % 2 == 0 else data + b"\0"
    for (word,) in struct.iter_unpack("<H", padded):
        total += word
    for (word,) in struct.iter_unpack("<H", data[skip:skip + 4]):
        total -= word
    while total >> 16:
        total = (total & 0xFFFF) + (total >> 16)
    return (total + len(data)) & 0xFFFFFFFF


def make_signable(path):
    with open(path, "rb") as f:
        data = bytearray(f.read())
    at = checksum_offset(data)
    data += bytes(-len(data) % SIGNATURE_ALIGNMENT)
    struct.pack_into("<I", data, at, pe_checksum(bytes(data), at))
    with open(path, "wb") as f:
        f.write(data)


def main(paths):
    if not paths:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    for path in paths:
        try:
            make_signable(path)
        except (OSError, ValueError, struct.error) as error:
            print(f"pe_signable.py: {path}: {error}", file=sys.stderr)
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
