"""The notices of what Qt for Windows compiles into each library we ship,
made from the sources that were built.

  qt_notices.py keep SOURCE BUILD DEST TARGET...
      Run once after Qt for Windows is built (scripts/build-qt-windows.sh):
      keeps in DEST every qt_attribution.json of the source with the licence
      files it names, the source's LICENSES/ and debian/copyright, and for
      each TARGET (Core, Gui, ...) the source files its build read, as the
      compiler's dependency records give them: read/TARGET.txt.

  qt_notices.py write KEPT OUT TARGET...
      Writes OUT, the notices of what the TARGETs compile in: each
      attribution whose files their builds read, with its copyright and
      licence text. Fails when a target was not recorded, or when the builds
      read third-party code that no attribution covers.
"""

import json
import os
import re
import shutil
import subprocess
import sys

COMPILE = re.compile(r"\s-o\s+(\S+)\s+-c\s+(\S+)")


def attributions(root):
    """(folder, entry) for every attribution in the tree, tests left out.
    Qt's files are not strict JSON: line breaks inside strings, keys twice."""
    for folder, _, files in os.walk(root):
        relative = os.path.relpath(folder, root)
        if relative.split(os.sep)[0] in ("tests", "debian") or "qt_attribution.json" not in files:
            continue
        with open(os.path.join(folder, "qt_attribution.json"), encoding="utf-8") as f:
            data = json.loads(f.read(), strict=False)
        for entry in data if isinstance(data, list) else [data]:
            yield os.path.normpath(relative), entry


def names(value):
    """A field that names one thing or several: Qt writes either a string or a list."""
    return [value] if isinstance(value, str) else list(value or [])


def licence_files(entry):
    return names(entry.get("LicenseFiles") or entry.get("LicenseFile"))


def covered(folder, entry):
    """The paths (relative to the source) an attribution speaks for: a
    folder is given as itself, files by name."""
    if "Path" in entry:
        return [os.path.normpath(os.path.join(folder, entry["Path"]))]
    if "Files" in entry:
        files = entry["Files"]
        listed = re.split(r"[\s,]+", files) if isinstance(files, str) else files
        return [os.path.normpath(os.path.join(folder, name)) for name in listed if name]
    return [folder]


def read_by(paths, places):
    return any(path == place or path.startswith(place + os.sep) for place in places for path in paths)


def keep(source, build, dest, targets):
    source = os.path.realpath(source)
    os.makedirs(os.path.join(dest, "read"), exist_ok=True)
    for folder, entry in attributions(source):
        for name in ["qt_attribution.json"] + licence_files(entry) + names(entry.get("CopyrightFile")):
            target = os.path.normpath(os.path.join(dest, "tree", folder, name))
            os.makedirs(os.path.dirname(target), exist_ok=True)
            shutil.copyfile(os.path.join(source, folder, name), target)
    shutil.copytree(os.path.join(source, "LICENSES"), os.path.join(dest, "tree", "LICENSES"), dirs_exist_ok=True)
    os.makedirs(os.path.join(dest, "tree", "debian"), exist_ok=True)
    shutil.copyfile(os.path.join(source, "debian", "copyright"), os.path.join(dest, "tree", "debian", "copyright"))

    def ninja(*arguments):
        return subprocess.run(["ninja", "-C", build, "-t", *arguments], check=True, capture_output=True,
                              text=True).stdout

    # Each object's own dependency record: its source and every file it included.
    included = {}
    current = None
    for line in ninja("deps").splitlines():
        if line.startswith("    ") and current is not None:
            included[current].append(line.strip())
        elif line and not line.startswith(" "):
            current = line.split(":")[0]
            included[current] = []
    resolved = {}

    def in_source(path):
        if path not in resolved:
            real = os.path.realpath(os.path.join(build, path))
            relative = os.path.relpath(real, source)
            resolved[path] = None if relative.startswith("..") else relative
        return resolved[path]

    for target in targets:
        objects = {m.group(1) for m in COMPILE.finditer(ninja("commands", target))}
        if not objects:
            raise ValueError(f"Qt's build compiles nothing for {target}")
        read = set()
        for obj in objects:
            read.update(p for p in map(in_source, included.get(obj, [])) if p)
        with open(os.path.join(dest, "read", f"{target}.txt"), "w", encoding="utf-8") as f:
            f.write("".join(f"{p}\n" for p in sorted(read)))


def third_party(path):
    """The third-party folder a source path lies in, if any."""
    match = re.match(r"((?:.*/)?3rdparty/[^/]+)/", path)
    return match.group(1) if match else None


def write(kept, out, targets):
    tree = os.path.join(kept, "tree")
    entries = list(attributions(tree))
    read = set()
    for target in targets:
        record = os.path.join(kept, "read", f"{target}.txt")
        if not os.path.exists(record):
            raise ValueError(f"no record of what Qt's {target} was built from in {kept}")
        with open(record, encoding="utf-8") as f:
            read.update(line.rstrip("\n") for line in f if line.strip())
    used = [(folder, entry) for folder, entry in entries if read_by(read, covered(folder, entry))]
    places = [place for folder, entry in used for place in covered(folder, entry)]
    unattributed = sorted({folder for folder in filter(None, map(third_party, read))
                           if not read_by([folder + "/"], places) and not read_by(places, [folder])})
    if unattributed:
        raise ValueError("third-party code compiled in without a notice: " + ", ".join(unattributed))

    lines = [f"What Qt compiles into its {', '.join(targets)} libraries, as their builds read it:", ""]
    lines += [f"  - {entry.get('Name', entry.get('Id'))} {entry.get('Version', '')}".rstrip()
              + f" ({entry.get('LicenseId') or entry.get('License', 'see below')})" for _, entry in used]
    for folder, entry in used:
        lines += ["", "=" * 78, f"{entry.get('Name', entry.get('Id'))}"]
        lines += [f"{key}: {entry[key]}" for key in ("Version", "Homepage", "License") if entry.get(key)]
        if entry.get("Copyright"):
            lines += ["", "\n".join(names(entry["Copyright"])).strip()]
        for name in names(entry.get("CopyrightFile")) + licence_files(entry):
            with open(os.path.join(tree, folder, name), encoding="utf-8", errors="replace") as f:
                lines += ["", f.read().strip()]
    with open(out, "w", encoding="utf-8", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")


def main(arguments):
    if len(arguments) >= 4 and arguments[0] == "keep":
        keep(arguments[1], arguments[2], arguments[3], arguments[4:])
    elif len(arguments) >= 4 and arguments[0] == "write":
        write(arguments[1], arguments[2], arguments[3:])
    else:
        print(__doc__, file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv[1:]))
    except (OSError, ValueError, subprocess.CalledProcessError) as error:
        print(f"qt_notices.py: {error}", file=sys.stderr)
        sys.exit(1)
