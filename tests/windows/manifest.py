#!/usr/bin/env python3
"""The manifest Windows reads from the built program, as its resources hold it.

Usage: manifest.py PROGRAM.exe

Checks that the program carries exactly one application manifest (resource
type RT_MANIFEST, id 1, which Windows reads when it starts a program) and that
it asks for the starter's own rights, names Windows 10 and 11 as supported,
uses Common Controls 6, and says nothing about DPI awareness.
"""
# CTest windows: windows_manifest @program@
import re
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

RT_MANIFEST = 24
CREATEPROCESS_MANIFEST_RESOURCE_ID = 1
ASM_V1 = "urn:schemas-microsoft-com:asm.v1"
ASM_V3 = "urn:schemas-microsoft-com:asm.v3"
COMPATIBILITY = "urn:schemas-microsoft-com:compatibility.v1"
WINDOWS_10_AND_11 = "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"
COMMON_CONTROLS = "Microsoft.Windows.Common-Controls"


def manifests(path):
    """The manifest resources of the program as {id: bytes}, read by wrestool."""
    if not shutil.which("wrestool"):
        sys.exit("FAIL: needs wrestool (Debian package icoutils; scripts/install-deps.sh windows-test)")
    listing = subprocess.run(["wrestool", "--list", f"--type={RT_MANIFEST}", path],
                             check=True, capture_output=True, text=True).stdout
    found = {}
    for name in re.findall(r"--name=(\S+)", listing):
        name = name.strip("'")
        found[int(name) if name.isdigit() else name] = subprocess.run(
            ["wrestool", "--extract", "--raw", f"--type={RT_MANIFEST}", f"--name={name}", path],
            check=True, capture_output=True).stdout
    return found


def problems(text):
    """What is wrong with the manifest's text, one line each."""
    try:
        root = ElementTree.fromstring(text)
    except ElementTree.ParseError as error:
        return [f"not well-formed XML: {error}"]
    found = []
    if root.tag != f"{{{ASM_V1}}}assembly":
        found.append(f"its root is {root.tag}, not an assembly")
    levels = [e.get("level") for e in root.iter(f"{{{ASM_V3}}}requestedExecutionLevel")]
    if levels != ["asInvoker"]:
        found.append(f"requested execution levels {levels}, not asInvoker alone")
    if [e.get("uiAccess", "false") for e in root.iter(f"{{{ASM_V3}}}requestedExecutionLevel")] != ["false"]:
        found.append("it asks for UI access")
    systems = [e.get("Id", "").lower() for e in root.iter(f"{{{COMPATIBILITY}}}supportedOS")]
    if WINDOWS_10_AND_11 not in systems:
        found.append(f"supported systems {systems} lack Windows 10 and 11 {WINDOWS_10_AND_11}")
    controls = [
        e for e in root.iter(f"{{{ASM_V1}}}assemblyIdentity")
        if e.get("name") == COMMON_CONTROLS
    ]
    if len(controls) != 1 or controls[0].get("version") != "6.0.0.0" \
            or controls[0].get("publicKeyToken") != "6595b64144ccf1df" or controls[0].get("type") != "win32":
        found.append(f"no dependency on {COMMON_CONTROLS} 6.0.0.0 ({[e.attrib for e in controls]})")
    dpi = sorted({e.tag.split("}")[-1] for e in root.iter() if e.tag.split("}")[-1].lower().startswith("dpiaware")})
    if dpi:
        found.append(f"it sets DPI awareness ({', '.join(dpi)}), which makes Qt's own setting fail")
    return found


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: manifest.py PROGRAM.exe")
    found = manifests(sys.argv[1])
    if list(found) != [CREATEPROCESS_MANIFEST_RESOURCE_ID]:
        sys.exit(f"FAIL: manifest resources {sorted(found)}, not the one application manifest (id 1)")
    wrong = problems(found[CREATEPROCESS_MANIFEST_RESOURCE_ID])
    for line in wrong:
        print(f"FAIL: {line}", file=sys.stderr)
    if wrong:
        sys.exit(1)
    print("ok: the program's manifest: asInvoker, Windows 10 and 11, Common Controls 6, no DPI setting")


if __name__ == "__main__":
    main()
