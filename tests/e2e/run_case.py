"""Runs one end-to-end case in this process, as CTest does for each case.

Usage: python3 run_case.py --build BUILD_DIR e2e_NAME
       /usr/bin/python3 run_case.py MODULE TEST_NAME
       /usr/bin/python3 run_case.py --list
The first runs a case of a build folder by hand, in the foreground, with the
command and the environment CTest has for it (ctest --show-only=json-v1).
The second is that command. The environment names the program
(QUENDRIL_PROGRAM), the site root it was built with and the default one
(QUENDRIL_SITE_ROOT, QUENDRIL_DEFAULT_SITE_ROOT), its caption and title
(QUENDRIL_CAPTION, QUENDRIL_TITLE), where pictures are kept
(QUENDRIL_E2E_ARTIFACTS) and which X displays may be taken
(QUENDRIL_E2E_DISPLAYS, first-last; by default the "e2e" row of
tests/support/x_displays.txt) and CTest's time limit for a case
(QUENDRIL_E2E_TIMEOUT, seconds): ten seconds before it, a case that still runs
prints where it hangs and ends.
The third prints every case of the test_*.py files beside it, "MODULE
TEST_NAME" a line, as unittest finds them, and the cases a module names in
VARIED once more for each of its VARIANTS, "MODULE TEST_NAME VARIANT NAME=VALUE".
"""

import faulthandler
import glob
import importlib
import json
import os
import subprocess
import sys
import unittest


def cases(suite):
    for item in suite:
        if isinstance(item, unittest.TestSuite):
            yield from cases(item)
        else:
            yield item


def listing():
    here = os.path.dirname(os.path.abspath(__file__))
    for name in sorted(glob.glob(os.path.join(here, "test_*.py"))):
        module_name = os.path.splitext(os.path.basename(name))[0]
        module = importlib.import_module(module_name)
        for case in cases(unittest.defaultTestLoader.loadTestsFromModule(module)):
            print(module_name, case._testMethodName)
            if case._testMethodName in getattr(module, "VARIED", ()):
                for variant, setting in module.VARIANTS.items():
                    print(module_name, case._testMethodName, variant, setting)
    return 0


def from_build(build, name):
    listing = subprocess.run(["ctest", "--test-dir", build, "--show-only=json-v1"],
                             capture_output=True, text=True, check=True).stdout
    found = [t for t in json.loads(listing)["tests"] if t["name"] == name and name.startswith("e2e_")]
    if not found:
        print(f"{build} has no end-to-end case {name}: ctest --test-dir {build} -N -L e2e lists them",
              file=sys.stderr)
        return 2
    properties = {p["name"]: p["value"] for p in found[0].get("properties", [])}
    environment = dict(os.environ)
    environment.update(setting.split("=", 1) for setting in properties.get("ENVIRONMENT", []))
    os.chdir(properties.get("WORKING_DIRECTORY", build))
    os.execve(found[0]["command"][0], found[0]["command"], environment)


def main():
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    if sys.argv[1:] == ["--list"]:
        return listing()
    if len(sys.argv) == 4 and sys.argv[1] == "--build":
        return from_build(*sys.argv[2:])
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    module_name, test_name = sys.argv[1:]
    limit = float(os.environ.get("QUENDRIL_E2E_TIMEOUT", "0"))
    if limit > 10:
        faulthandler.dump_traceback_later(limit - 10, exit=True)
    module = importlib.import_module(module_name)
    chosen = [c for c in cases(unittest.defaultTestLoader.loadTestsFromModule(module))
              if c._testMethodName == test_name]
    if len(chosen) != 1:
        print(f"{len(chosen)} cases named {test_name} in {module_name}", file=sys.stderr)
        return 2
    result = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(unittest.TestSuite(chosen))
    ran_fully = result.testsRun == 1 and not result.skipped
    return 0 if result.wasSuccessful() and ran_fully else 1


if __name__ == "__main__":
    sys.exit(main())
