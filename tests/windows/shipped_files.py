"""Checks every Windows program and library that is shipped, as Windows reads
its header:

  shipped_files.py OBJDUMP FOLDER [SETUP.exe...]

- each one takes any address (ASLR, with high-entropy 64-bit addresses) and
  keeps data from running (DEP);
- the programs are windowed (GUI subsystem), with no console;
- each imports only from Windows' own libraries, and from our Qt libraries
  and the MinGW-w64 runtime when those lie in FOLDER beside the program.

Prints a line for each fault and ends with status 1 when there is one.
"""
# CTest windows: windows_shipped_files @objdump@ @build@/package/@title@ @build@/quendril-@version@-setup.exe

import os
import re
import subprocess
import sys

# Windows' own libraries that the program, Qt and the setup program use.
WINDOWS = {name.lower() for name in (
    "ADVAPI32.dll", "AUTHZ.dll", "COMCTL32.dll", "comdlg32.dll", "d3d11.dll", "d3d9.dll", "DWrite.dll",
    "dwmapi.dll", "dxgi.dll", "GDI32.dll", "IMM32.dll", "KERNEL32.dll", "MPR.dll", "msvcrt.dll", "NETAPI32.dll",
    "ole32.dll", "OLEAUT32.dll", "SHCORE.dll", "SHELL32.dll", "SHLWAPI.dll", "USER32.dll", "USERENV.dll",
    "UxTheme.dll", "VERSION.dll", "WINMM.dll", "WS2_32.dll", "WTSAPI32.dll")}
# Windows' API sets (api-ms-win-...) are Windows' own too.
API_SET = re.compile(r"^api-ms-win-[a-z0-9-]+\.dll$")
# What we ship beside the program.
BESIDE = {name.lower() for name in (
    "Qt6Core.dll", "Qt6Gui.dll", "Qt6Widgets.dll", "libgcc_s_seh-1.dll", "libstdc++-6.dll", "libwinpthread-1.dll")}

HIGH_ENTROPY_VA, DYNAMIC_BASE, NX_COMPAT = 0x20, 0x40, 0x100
GUI = 2


def header(objdump, path):
    text = subprocess.run([objdump, "-p", path], check=True, capture_output=True, text=True).stdout
    flags = int(re.search(r"^DllCharacteristics\s+([0-9a-fA-F]+)", text, re.M).group(1), 16)
    subsystem = int(re.search(r"^Subsystem\s+([0-9a-fA-F]+)", text, re.M).group(1), 16)
    imports = re.findall(r"^\s*DLL Name: (\S+)", text, re.M)
    return flags, subsystem, imports


def faults(objdump, path, folder):
    flags, subsystem, imports = header(objdump, path)
    name = os.path.basename(path)
    for flag, what in ((DYNAMIC_BASE, "ASLR (DYNAMIC_BASE)"), (HIGH_ENTROPY_VA, "high-entropy ASLR (HIGH_ENTROPY_VA)"),
                       (NX_COMPAT, "DEP (NX_COMPAT)")):
        if not flags & flag:
            yield f"{name}: lacks {what}"
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


def main(arguments):
    objdump, folder, *setups = arguments
    found = []
    for root, _, files in os.walk(folder):
        for file in sorted(files):
            if file.lower().endswith((".exe", ".dll")):
                found += faults(objdump, os.path.join(root, file), folder)
    for setup in setups:
        found += faults(objdump, setup, None)
    for line in found:
        print(line)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
