"""Runs one end-to-end case in this process, as CTest does for each case.

Usage: /usr/bin/python3 run_case.py MODULE TEST_NAME
       /usr/bin/python3 run_case.py --list
The second prints every case of the test_*.py files beside it, "MODULE
TEST_NAME" a line: CTest's list of cases, found as unittest finds them; a
case that its module names in VARIED comes again once for each of the
module's VARIANTS, "MODULE TEST_NAME VARIANT NAME=VALUE", run with that
setting in its environment.
The environment names the program (QUENDRIL_PROGRAM), the site root it was
built with and the default one (QUENDRIL_SITE_ROOT, QUENDRIL_DEFAULT_SITE_ROOT),
its caption and title (QUENDRIL_CAPTION, QUENDRIL_TITLE), where pictures are kept
(QUENDRIL_E2E_ARTIFACTS) and which X displays may be taken
(QUENDRIL_E2E_DISPLAYS, first-last; by default the "e2e" row of
tests/support/x_displays.txt) and CTest's time limit for a case
(QUENDRIL_E2E_TIMEOUT, seconds): ten seconds before it, a case that still runs
prints where it hangs and ends.
"""

import faulthandler
import glob
import importlib
import os
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


def main():
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    if sys.argv[1:] == ["--list"]:
        return listing()
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
