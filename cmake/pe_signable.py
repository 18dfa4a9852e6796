"""Makes a Windows program file ready to ship: dated, and ready to be signed
and unsigned again.

Dated: every time stamp a linker or resource compiler wrote into the file
(the file header's, the export table's, each resource table's, each debug
entry's and the load configuration's) becomes DATE, the build's date, so that
the file does not tell when or where Qt or the program was built.

Signable: an Authenticode signature goes after the file's last byte, which
signing first pads to a whole number of 8-byte units, and signing and
removing the signature both rewrite the header's checksum. This does both
ahead, as signing would, so that `osslsigncode remove-signature` on a signed
file gives back, bit for bit, the file we build and ship unsigned.

Usage: pe_signable.py DATE FILE...
"""

import struct
import sys

SIGNATURE_ALIGNMENT = 8
EXPORT, RESOURCE, DEBUG, LOAD_CONFIG = 0, 2, 6, 10
DEBUG_ENTRY_SIZE = 28
SUBDIRECTORY = 0x80000000


def u16(data, at):
    return struct.unpack_from("<H", data, at)[0]


def u32(data, at):
    return struct.unpack_from("<I", data, at)[0]


def pe_header(data):
    if data[:2] != b"MZ":
        raise ValueError("not a Windows program file (no MZ header)")
    pe = u32(data, 0x3C)
    if data[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a Windows program file (no PE header)")
    return pe


def checksum_offset(data):
    """Where the optional header keeps the checksum: 64 bytes into it, for
    both 32- and 64-bit programs, after the signature and the file header."""
    return pe_header(data) + 4 + 20 + 64


def time_stamp_offsets(data):
    """Where the file keeps a time stamp, as (what, file offset)."""
    pe = pe_header(data)
    optional = pe + 24
    sections = pe + 24 + u16(data, pe + 20)
    pe32_plus = u16(data, optional) == 0x20B
    directories = optional + (112 if pe32_plus else 96)
    directory_count = u32(data, directories - 4)

    def file_offset(rva):
        for i in range(u16(data, pe + 6)):
            header = sections + 40 * i
            size = max(u32(data, header + 8), u32(data, header + 16))
            start = u32(data, header + 12)
            if start <= rva < start + size:
                return u32(data, header + 20) + rva - start
        raise ValueError(f"address {rva:#x} lies in no section")

    def directory(index):
        if index >= directory_count:
            return None, 0
        rva, size = struct.unpack_from("<II", data, directories + 8 * index)
        return (file_offset(rva), size) if rva and size else (None, 0)

    yield "file header", pe + 8
    at, _ = directory(EXPORT)
    if at is not None:
        yield "export table", at + 4
    at, _ = directory(LOAD_CONFIG)
    if at is not None:
        yield "load configuration", at + 4
    at, size = directory(DEBUG)
    for entry in range(size // DEBUG_ENTRY_SIZE if at is not None else 0):
        yield f"debug entry {entry}", at + entry * DEBUG_ENTRY_SIZE + 4
    root, _ = directory(RESOURCE)
    pending = [0] if root is not None else []
    seen = set()
    while pending:
        table = pending.pop()
        if table in seen:
            raise ValueError("resource tables that loop")
        seen.add(table)
        yield f"resource table {table:#x}", root + table + 4
        entries = u16(data, root + table + 12) + u16(data, root + table + 14)
        for entry in range(entries):
            target = u32(data, root + table + 16 + 8 * entry + 4)
            if target & SUBDIRECTORY:
                pending.append(target & ~SUBDIRECTORY)


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


def make_signable(path, date):
    with open(path, "rb") as f:
        data = bytearray(f.read())
    for _, at in time_stamp_offsets(data):
        struct.pack_into("<I", data, at, date)
    at = checksum_offset(data)
    data += bytes(-len(data) % SIGNATURE_ALIGNMENT)
    struct.pack_into("<I", data, at, pe_checksum(bytes(data), at))
    with open(path, "wb") as f:
        f.write(data)


def main(arguments):
    if len(arguments) < 2 or not arguments[0].isdigit():
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    date = int(arguments[0])
    for path in arguments[1:]:
        try:
            make_signable(path, date)
        except (OSError, ValueError, struct.error) as error:
            print(f"pe_signable.py: {path}: {error}", file=sys.stderr)
            return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
