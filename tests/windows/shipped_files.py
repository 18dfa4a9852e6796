"""Checks every Windows program and library that is shipped, as Windows reads
its header, and the notices that ship with them:

  shipped_files.py OBJDUMP EPOCH FOLDER [SETUP.exe...]

- each one takes any address (ASLR, with high-entropy 64-bit addresses) and
  keeps data from running (DEP); a setup program made by NSIS, whose stub
  carries no relocations, says it is not relocatable rather than claiming
  ASLR it cannot have;
- no file claims ASLR without the relocations that make it possible;
- every time stamp in it (the file header's, the export table's, the
  resource tables') lies at or before EPOCH, the build's date;
- the programs are windowed (GUI subsystem), with no console;
- each imports only from Windows' own libraries, and from our Qt libraries
  and the MinGW-w64 runtime when those lie in FOLDER beside the program;
- FOLDER's licenses/NOTICE.txt names each of its programs and libraries,
  with a notice file that ships beside it, and the GPL-3.0 and LGPL-3.0 texts
  ship there.

Prints a line for each fault and ends with status 1 when there is one.
"""
# CTest windows: windows_shipped_files @objdump@ @epoch@ @build@/package/@title@ @build@/quendril-@version@-setup.exe

import os
import re
import subprocess
import sys
import time
from calendar import timegm

# Windows' own libraries that the program, Qt and the setup program use
# (d3d12.dll since Windows 10, which the program needs anyway).
WINDOWS = {name.lower() for name in (
    "ADVAPI32.dll", "AUTHZ.dll", "COMCTL32.dll", "comdlg32.dll", "d3d11.dll", "d3d12.dll", "d3d9.dll", "DWrite.dll",
    "dwmapi.dll", "dxgi.dll", "GDI32.dll", "IMM32.dll", "KERNEL32.dll", "MPR.dll", "msvcrt.dll", "NETAPI32.dll",
    "ole32.dll", "OLEAUT32.dll", "SETUPAPI.dll", "SHCORE.dll", "SHELL32.dll", "SHLWAPI.dll", "USER32.dll",
    "USERENV.dll", "UxTheme.dll", "VERSION.dll", "WINMM.dll", "WS2_32.dll", "WTSAPI32.dll")}
# Windows' API sets (api-ms-win-...) are Windows' own too.
API_SET = re.compile(r"^api-ms-win-[a-z0-9-]+\.dll$")
# What we ship beside the program.
BESIDE = {name.lower() for name in (
    "Qt6Core.dll", "Qt6Gui.dll", "Qt6Widgets.dll", "libgcc_s_seh-1.dll", "libstdc++-6.dll", "libwinpthread-1.dll")}

HIGH_ENTROPY_VA, DYNAMIC_BASE, NX_COMPAT = 0x20, 0x40, 0x100
RELOCS_STRIPPED = 0x1
GUI = 2
LICENCES = {"LGPL-3.0.txt": "GNU LESSER GENERAL PUBLIC LICENSE", "GPL-3.0.txt": "GNU GENERAL PUBLIC LICENSE"}


def header(objdump, path):
    # objdump writes the file header's time as a local time.
    text = subprocess.run([objdump, "-p", path], check=True, capture_output=True, text=True,
                          env=dict(os.environ, TZ="UTC0")).stdout
    number = lambda pattern: int(re.search(pattern, text, re.M).group(1), 16)
    relocations = re.search(r"^Entry 5 [0-9a-fA-F]+ ([0-9a-fA-F]+) Base Relocation Directory", text, re.M)
    times = [("file header", timegm(time.strptime(re.search(r"^Time/Date\s+(.+)$", text, re.M).group(1).strip(),
                                                  "%a %b %d %H:%M:%S %Y")))]
    times += [("export table", int(v, 16)) for v in re.findall(r"^Time/Date stamp\s+([0-9a-fA-F]+)$", text, re.M)]
    times += [("resource table", int(v, 16)) for v in re.findall(r"Table: Char: \d+, Time: ([0-9a-fA-F]+)", text)]
    return {
        "flags": number(r"^DllCharacteristics\s+([0-9a-fA-F]+)"),
        "relocatable": bool(relocations and int(relocations.group(1), 16))
        and not number(r"^Characteristics\s+(?:0x)?([0-9a-fA-F]+)") & RELOCS_STRIPPED,
        "subsystem": number(r"^Subsystem\s+([0-9a-fA-F]+)"),
        "imports": re.findall(r"^\s*DLL Name: (\S+)", text, re.M),
        "times": times,
    }


def faults(objdump, epoch, path, folder):
    read = header(objdump, path)
    flags, subsystem, imports = read["flags"], read["subsystem"], read["imports"]
    name = os.path.basename(path)
    if flags & DYNAMIC_BASE and not read["relocatable"]:
        yield f"{name}: claims ASLR (DYNAMIC_BASE) but carries no relocations"
    if folder or read["relocatable"]:
        for flag, what in ((DYNAMIC_BASE, "ASLR (DYNAMIC_BASE)"),
                           (HIGH_ENTROPY_VA, "high-entropy ASLR (HIGH_ENTROPY_VA)"), (NX_COMPAT, "DEP (NX_COMPAT)")):
            if not flags & flag:
                yield f"{name}: lacks {what}"
    else:
        print(f"note: {name} is not relocatable (NSIS's stub carries no relocations): Windows loads it at its own address")
        if not flags & NX_COMPAT:
            yield f"{name}: lacks DEP (NX_COMPAT)"
    for where, stamp in read["times"]:
        if stamp > epoch:
            yield f"{name}: its {where} carries a time after the build's date ({stamp} > {epoch})"
    if path.lower().endswith(".exe") and subsystem != GUI:
        yield f"{name}: not a windowed program (subsystem {subsystem})"
    shipped = {f.lower() for f in os.listdir(folder)} if folder else set()
    for library in imports:
        lower = library.lower()
        if lower in WINDOWS or API_SET.match(lower):
            continue
        if lower in BESIDE and lower in shipped:
            continue
        yield f"{name}: imports {library}, which is neither Windows' own nor shipped beside it"


def notice_faults(folder, programs):
    """Each program file named in NOTICE.txt with a notice that ships, and the GPL and LGPL texts."""
    notices = os.path.join(folder, "licenses")
    try:
        with open(os.path.join(notices, "NOTICE.txt"), encoding="utf-8") as f:
            lines = f.read().splitlines()
    except OSError as error:
        yield f"no notices: {error}"
        return
    for program in programs:
        line = next((line for line in lines if line.startswith(f"{program}: ")), None)
        if line is None:
            yield f"{program}: licenses/NOTICE.txt does not name it"
        for named in re.findall(r"[\w.+-]+\.txt", line or ""):
            if not os.path.isfile(os.path.join(notices, named)):
                yield f"{program}: its notice {named} is not in licenses/"
    for licence, title in LICENCES.items():
        try:
            with open(os.path.join(notices, licence), encoding="utf-8") as f:
                ok = title in f.read()
        except OSError:
            ok = False
        if not ok:
            yield f"licenses/{licence} is not the {title}"


def main(arguments):
    objdump, epoch, folder, *setups = arguments
    found = []
    programs = []
    for root, _, files in os.walk(folder):
        for file in sorted(files):
            if file.lower().endswith((".exe", ".dll")):
                found += faults(objdump, int(epoch), os.path.join(root, file), folder)
                programs.append(os.path.relpath(os.path.join(root, file), folder).replace(os.sep, "/"))
    found += notice_faults(folder, programs)
    for setup in setups:
        found += faults(objdump, int(epoch), setup, None)
    for line in found:
        print(line)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
