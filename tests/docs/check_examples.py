#!/usr/bin/env python3
"""Runs setupcheck on every example of the script reference, so the reference cannot drift from
the program, and checks that its language versions show the same examples.

Usage: check_examples.py SETUPCHECK REFERENCE.md [REFERENCE.md ...]

Every ```ini block must follow (blank lines aside) a marker comment that says what setupcheck
reports for it:

  <!-- check: [fragment] [utf8] [pc9821] (clean | finds "TEXT"...) [plan "TEXT"...] [files: PATH...] -->

  clean          setupcheck exits with 0 and reports "no findings"
  finds "TEXT"   setupcheck's report contains TEXT (repeatable; '...' quotes serve as well)
  plan "TEXT"    the plan of `setupcheck --plan ""` contains TEXT (repeatable)
  fragment       the block's lines are merged into BASE_SCRIPT: a key replaces the base's key of
                 the same name, other lines are added at the end; BASE_FILES are laid out too
  utf8           the script is saved as UTF-8 instead of Shift-JIS
  pc9821         setupcheck runs with --pc9821
  files: PATH... files laid out in the CD folder ("/" between folders; names in UTF-8)

The script is saved with CR LF line ends as setup.ini of a fresh CD folder. The first file is
the reference for the others: every file must hold the same examples, in the same order, with
the same markers and the same ini text.
"""

import os
import re
import subprocess
import sys
import tempfile

BASE_SCRIPT = """[SETUP]
TITLE=サンプルゲーム
DIR=C:\\Games\\Sample
SRC=@:\\DATA
UNINSTALL=UNINST.INI
SIZE=1
COPY1=GAME.EXE,$"""
BASE_FILES = ["DATA/GAME.EXE"]

MARKER = re.compile(r"^\s*<!--\s*check:(.*?)-->\s*$")
FENCE = re.compile(r"^```(\S*)\s*$")
TOKEN = re.compile(r'"([^"]*)"|\'([^\']*)\'|(\S+)')


class Example:
    def __init__(self, path, number, line, marker, text):
        self.path, self.number, self.line, self.marker, self.text = path, number, line, marker.strip(), text
        self.fragment = self.utf8 = self.pc9821 = self.clean = False
        self.finds, self.plan, self.files = [], [], []

    def where(self):
        first = self.text.splitlines()[0] if self.text else ""
        return f"{self.path}:{self.line}: example {self.number} ({first})"


def parse_marker(example):
    """Fills the example's expectations from its marker; returns an error text or None."""
    tokens = [m.group(1) if m.group(1) is not None else m.group(2) if m.group(2) is not None else m.group(3)
              for m in TOKEN.finditer(example.marker)]
    i = 0
    while i < len(tokens):
        word = tokens[i]
        if word in ("fragment", "utf8", "pc9821", "clean"):
            setattr(example, word, True)
        elif word in ("finds", "plan") and i + 1 < len(tokens):
            getattr(example, word).append(tokens[i + 1])
            i += 1
        elif word == "files:":
            example.files = tokens[i + 1:]
            break
        else:
            return f"marker word {word!r} not understood"
        i += 1
    if example.clean == bool(example.finds):
        return "a marker says either clean or finds"
    return None


def read_examples(path, problems):
    examples = []
    with open(path, encoding="utf-8") as handle:
        lines = handle.read().splitlines()
    marker = None  # (line number, text) of a marker still waiting for its block
    i = 0
    while i < len(lines):
        found = MARKER.match(lines[i])
        fence = FENCE.match(lines[i])
        if found:
            if marker:
                problems.append(f"{path}:{marker[0]}: marker without an ini block after it")
            marker = (i + 1, found.group(1))
        elif fence:
            end = next((j for j in range(i + 1, len(lines)) if lines[j].startswith("```")), len(lines))
            if fence.group(1) == "ini":
                if marker:
                    examples.append(Example(path, len(examples) + 1, i + 1, marker[1], "\n".join(lines[i + 1:end])))
                else:
                    problems.append(f"{path}:{i + 1}: ini block without a check marker")
            elif marker:
                problems.append(f"{path}:{marker[0]}: marker followed by a {fence.group(1) or 'plain'} block")
            marker = None
            i = end
        elif lines[i].strip() and marker:
            problems.append(f"{path}:{marker[0]}: marker without an ini block after it")
            marker = None
        i += 1
    if marker:
        problems.append(f"{path}:{marker[0]}: marker without an ini block after it")
    return examples


def key_of(line):
    return line.split("=", 1)[0].strip().upper() if "=" in line else None


def script_text(example):
    if not example.fragment:
        return example.text
    own = example.text.splitlines()
    replaced = {key_of(line) for line in own if key_of(line)}
    base = [line for line in BASE_SCRIPT.splitlines() if key_of(line) not in replaced]
    return "\n".join(base + own)


def run_setupcheck(setupcheck, example, plan):
    with tempfile.TemporaryDirectory() as work:
        cd = os.path.join(work, "cd")
        os.mkdir(cd)
        for name in example.files + (BASE_FILES if example.fragment else []):
            target = os.path.join(cd, *name.split("/"))
            os.makedirs(os.path.dirname(target), exist_ok=True)
            with open(target, "wb") as handle:
                handle.write(b"data\r\n")
        text = "\r\n".join(script_text(example).splitlines()) + "\r\n"
        with open(os.path.join(cd, "setup.ini"), "wb") as handle:
            handle.write(text.encode("utf-8" if example.utf8 else "cp932"))
        command = [setupcheck] + (["--plan", ""] if plan else []) + (["--pc9821"] if example.pc9821 else []) + [cd]
        result = subprocess.run(command, capture_output=True, env=dict(os.environ, LC_ALL="C"))
        return result.returncode, result.stdout.decode("utf-8", "replace").replace(cd + "/", "cd/")


def check_example(setupcheck, example):
    """The ways the example's outcome differs from its marker."""
    failures = []
    status, report = run_setupcheck(setupcheck, example, plan=False)
    if example.clean and (status != 0 or "no findings" not in report):
        failures.append(f"expected no findings, setupcheck exited with {status}")
    failures += [f'expected "{text}" in the report' for text in example.finds if text not in report]
    if example.plan:
        _, planned = run_setupcheck(setupcheck, example, plan=True)
        missing = [f'expected "{text}" in the plan' for text in example.plan if text not in planned]
        if missing:
            failures += missing
            report = planned
    return failures, report


def compare_versions(reference, other, problems):
    if len(reference) != len(other):
        problems.append(f"{other[0].path if other else 'a version'} has {len(other)} examples, "
                        f"{reference[0].path if reference else 'the reference'} has {len(reference)}")
        return  # pairing them up would only repeat the difference at every later example
    for a, b in zip(reference, other):
        if a.text != b.text or a.marker != b.marker:
            problems.append(f"{b.where()} differs from {a.where()}")


def main(argv):
    if len(argv) < 3:
        print(next(line for line in __doc__.splitlines() if line.startswith("Usage")), file=sys.stderr)
        return 2
    setupcheck, paths = argv[1], argv[2:]
    problems = []
    versions = [read_examples(path, problems) for path in paths]
    for other in versions[1:]:
        compare_versions(versions[0], other, problems)
    count = 0
    outcomes = {}  # the versions repeat each example: run it once
    for examples in versions:
        for example in examples:
            count += 1
            error = parse_marker(example)
            if error:
                problems.append(f"{example.where()}: {error}")
                continue
            if (example.marker, example.text) not in outcomes:
                outcomes[(example.marker, example.text)] = check_example(setupcheck, example)
            failures, report = outcomes[(example.marker, example.text)]
            if failures:
                details = "\n".join("    " + line for line in report.splitlines())
                problems.append(f"{example.where()}: " + "; ".join(failures) + f"\n  setupcheck said:\n{details}")
    for problem in problems:
        print("FAILED: " + problem)
    print(f"{count} examples checked in {len(paths)} files, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
