#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Every string the sources give the translation tools has a finished translation in each
# language, keeping its numbered markers and the key after a menu item's tab. The
# committed files are copied and brought up to date with the sources as the build's
# update would, so a string added or changed without its translations fails here.
#   check-translations.py LUPDATE SOURCE_DIR TS...
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

lupdate, source_dir, ts_files = sys.argv[1], sys.argv[2], sys.argv[3:]
failures = []


def markers(text):
    return sorted(re.findall(r"%\d", text))


def key_after_tab(text):
    return text.split("\t", 1)[1] if "\t" in text else None


def check(path, name):
    for context in ET.parse(path).getroot().iter("context"):
        where = context.findtext("name")
        for message in context.iter("message"):
            source = message.findtext("source") or ""
            translation = message.find("translation")
            text = translation.text or "" if translation is not None else ""
            said = f"{name}: {where}: {source!r}"
            if translation is None or translation.get("type") or not text:
                failures.append(f"{said} has no finished translation")
            elif markers(source) != markers(text):
                failures.append(f"{said}: markers {markers(source)} became {markers(text)}")
            elif key_after_tab(source) != key_after_tab(text):
                failures.append(f"{said}: the key {key_after_tab(source)!r} changed")


with tempfile.TemporaryDirectory() as work:
    for ts in ts_files:
        copy = os.path.join(work, os.path.basename(ts))
        shutil.copy(ts, copy)
        subprocess.run(
            [lupdate, os.path.join(source_dir, "src"), os.path.join(source_dir, "res"),
             "-extensions", "cpp,h,ui", "-no-obsolete", "-locations", "none",
             "-tr-function-alias", "QT_TRANSLATE_NOOP+=SKIMMET_TRANSLATABLE", "-silent",
             "-ts", copy],
            check=True)
        check(copy, os.path.basename(ts))

for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
