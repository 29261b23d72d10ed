#!/usr/bin/env python3
"""scripts/check-layers must find a break planted in a scratch copy of src/:
an include up the layers in either spelling the compiler accepts, a Windows
header in the shared types or the engine, the program-wide state named below
the window layers, and a file outside every layer. The unchanged copy must
pass, so a failure is the plant's and not the copy's. (A window call in the
file layer is the build's to catch: its layer probe fails to link.)"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.abspath(sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "../.."))

PLANTS = {
    "include up the layers, spelt from src/": ("src/data/win32/dictionary_file.cpp",
                                                '#include "windows/search_dialog.h"\n'),
    "include up the layers, spelt from the file": ("src/data/win32/dictionary_file.cpp",
                                                   '#include "../../windows/search_dialog.h"\n'),
    "Windows header in the engine": ("src/data/search.h", "#include <windows.h>\n"),
    "Windows header in the shared types": ("src/shared/result_table.h", "#include <windows.h>\n"),
    "program-wide state in the file layer": ("src/data/win32/strongs_file.cpp",
                                             '#include "../../state/app_state.h"\n'),
    "file outside every layer": ("src/extra/planted.h", "#pragma once\n"),
    "program-wide state in the list": ("src/list/result_list.cpp", "static int Planted() { return app.searchLength; }\n"),
}


def check(plant=None):
    with tempfile.TemporaryDirectory() as scratch:
        shutil.copytree(os.path.join(ROOT, "src"), os.path.join(scratch, "src"))
        if plant is not None:
            path, line = plant
            os.makedirs(os.path.dirname(os.path.join(scratch, path)), exist_ok=True)
            with open(os.path.join(scratch, path), "a", encoding="latin-1") as f:
                f.write(line)
        result = subprocess.run([sys.executable, os.path.join(ROOT, "scripts/check-layers"), scratch],
                                capture_output=True, text=True)
        return result.returncode, result.stdout


class CheckLayers(unittest.TestCase):
    def test_the_unchanged_copy_passes(self):
        status, out = check()
        self.assertEqual(status, 0, out)

    def test_each_planted_break_fails_and_is_named(self):
        for what, plant in PLANTS.items():
            with self.subTest(what):
                status, out = check(plant)
                self.assertEqual(status, 1, out)
                self.assertIn(plant[0], out)


if __name__ == "__main__":
    unittest.main()
