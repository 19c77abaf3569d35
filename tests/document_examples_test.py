#!/usr/bin/env python3
"""Holds every document to the program. Each "$ COMMAND" line is run by bash
with pipefail and must print the lines after it (to the next "$ " line, the end
of its Markdown block, or a blank line of the page that man renders), nothing on
standard error, and exit 0 ('; echo "exit code $?"' shows any other code), and
`zelvane` is the build's program; each document holds all its source's examples.
No document states a measured figure; each "## X.Y.Z - DATE" entry ever in
CHANGELOG.md's git history stays as first committed; man warns of nothing; no
Japanese line spaces Japanese characters apart; the Windows READMEs name the
arguments of the usage text (English: of README.md's) and its exit code numbers
(not their meanings).

Usage: document_examples_test.py PROGRAM SOURCE_DIR MANUAL_PAGE_DIR
"""
import atexit
import os
import re
import shutil
import subprocess
import sys
import tempfile

program, source_dir, page_dir = sys.argv[1:]
if not os.path.isabs(program) or not os.path.isfile(program) or not os.access(program, os.X_OK):
    sys.exit(f"FAILED: {program} is not the program by its full path")
failures = []


def fail(document, message):
    failures.append(f"FAILED {document}: {message}")


def run(command, cwd=source_dir, env=None):
    return subprocess.run(command, cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                          capture_output=True)


def transcript(lines):
    """(command, expected lines) of each "$ " line."""
    examples = []
    for line in lines:
        if line.startswith("$ "):
            examples.append((line[2:], []))
        elif examples:
            examples[-1][1].append(line.rstrip())
    return examples


def markdown(path):
    text = open(path, encoding="utf-8").read()
    blocks = re.findall(r"^```[^\n]*\n(.*?)^```", text, re.M | re.S)
    return text, text, [example for block in blocks for example in transcript(block.splitlines())]


def manual_page(path, width="100"):
    rendered = run(["man", "--warnings=w", "-l", path],
                   env=dict(os.environ, MANWIDTH=width, LC_ALL="C.UTF-8"))
    if rendered.returncode != 0 or rendered.stderr:
        fail(path, f"man at width {width} exits {rendered.returncode}: {rendered.stderr.decode()}")
    text = rendered.stdout.decode()
    paragraphs = re.findall(r"^( *)(\$ .*?)(?=\n *\$ |\n\s*\n|\Z)", text, re.M | re.S)
    return open(path, encoding="utf-8").read(), text, [
        example for indent, lines in paragraphs
        for example in transcript(line[len(indent):] for line in (indent + lines).splitlines())]


def plain_text(path):
    text = open(path, encoding="utf-8-sig").read()
    return text, text, []


def released_entries(text):
    return {version: entry for entry, version in re.findall(
        r"^(## (\d+\.\d+\.\d+) - [^\n]*\n.*?)\n*(?=^## |\Z)", text, re.M | re.S)}


# A measured figure: a ratio, share, time, rate, instruction count or approximate
# value, written with digits or words. Sizes of the design (8 KiB, 4096 bytes)
# are none, but a size that is not a power of two is taken for a measured one.
NUMBER = r"(?<![\w.])\d[\d,]*(?:\.\d+)?"
WORDS = (r"one|two|three|four|five|six|seven|eight|nine|ten|twenty|hundreds?|thousands?"
         r"|dozens?|many|several")
KANJI = "[一二三四五六七八九十百千万数何]"  # not 分 after them: 十分 is "enough"
FIGURES = [
    (rf"{NUMBER}\s*(?:times\b|倍)|(?!0[xX]){NUMBER}\s*[xX](?!\w)|×|{KANJI}+倍|半分", "a ratio"),
    (rf"\b(?:twice|thrice|half|double|triple|third|quarter)\s+(?:as|the|of)\b"
     rf"|\b(?:{WORDS})\s+(?:of\s+)?times\b|\b(?:{WORDS}|\d+)-?fold\b"
     rf"|\borders? of magnitude\b", "a ratio in words"),
    (rf"{NUMBER}\s*(?:%|％|パーセント)|\bper ?cent\b|\bpercent\b|(?<![\w./])\d+/\d+(?![\w./])",
     "a share"),
    (rf"{NUMBER}[\s-]*(?:[nµμum]?s(?:ecs?)?|(?:milli|micro|nano)?seconds?|minutes?|mins?|hours?)"
     rf"(?!\w)|{NUMBER}\s*(?:ミリ秒|マイクロ秒|秒|分)|{KANJI}+(?:ミリ秒|マイクロ秒|秒|分間|時間)",
     "a time"),
    (r"\w/s(?:ec)?\b|\b(?:per|each|every) (?:second|minute|hour)\b|毎秒", "a rate"),
    (rf"{NUMBER}\s*(?:instructions?|cycles?|命令)", "a count of instructions"),
    (rf"\b(?:about|around|roughly|nearly|almost|some|approximately|circa)\s+{NUMBER}"
     r"|[~≈約]\s*\d", "an approximate figure"),
    (r"(?<![\w.])\d+\.\d+(?![\w.])(?!\s+or\s+(?:later|newer))", "a decimal figure"),
]
SIZE = r"(?<![\w.])(\d+)\s*(?:[KMGT]i?B|kB)\b"


def check_figures(document, text):
    for number, line in enumerate(text.splitlines(), 1):
        found = [(match.group(0), what) for pattern, what in FIGURES
                 for match in re.finditer(pattern, line)]
        found += [(match.group(0), "a measured size") for match in re.finditer(SIZE, line)
                  if int(match.group(1)) & (int(match.group(1)) - 1)]
        for figure, what in found:
            fail(document, f"line {number} states {what} ({figure!r}); figures belong in "
                 f"bench/RESULTS.md:\n    {line.strip()}")


def check_japanese_spacing(document, text, exempt_section=None):
    lines = text.splitlines()
    headings = [n for n, line in enumerate(lines[1:-1], 1) if line and line[0] != " "]
    exempt = range(headings[exempt_section], headings[exempt_section + 1]) if exempt_section else []
    japanese = "[\u3001-\u30ff\u4e00-\u9fff\uff01-\uff5e]"
    for number, line in enumerate(lines):
        if number not in exempt and re.search(f"{japanese} +{japanese}", line):
            fail(document, f"a space between Japanese characters in\n    {line.strip()}")


def git(*arguments):
    return run(["git", *arguments]).stdout.decode()


def check_released_entries(document, text):
    commits = git("log", "--format=%H", "--reverse", "--", "CHANGELOG.md").split()
    # None without a checkout; in a shallow clone the oldest, with no parent, seems to add it.
    if not commits or git("rev-parse", "--is-shallow-repository").strip() == "true" \
            and not git("log", "-1", "--format=%P", commits[0]).strip():
        return print(f"{document}: released entries not compared: no git history of it in "
                     f"{source_dir} reaches back to its first commit")
    released = {}  # each version as the commit where its heading first appeared had it
    for commit in commits:
        for version, entry in released_entries(git("show", f"{commit}:CHANGELOG.md")).items():
            released.setdefault(version, (commit[:7], entry))
    current = released_entries(text)
    for version, (commit, entry) in released.items():
        if current.get(version) != entry:
            fail(document, f"{version} is released ({commit}): its entry is changed or gone")


usage = run([program]).stdout.decode().splitlines()
usage_arguments = next((usage[n + 1] for n, line in enumerate(usage[:-1]) if line == "書式"),
                       "").split()[1:]
result_codes = re.findall(r"= (\d+),", open(f"{source_dir}/src/dump/result_code.h").read())
readme = open(f"{source_dir}/README.md", encoding="utf-8").read()
readme_arguments = re.search(r"^`zelvane ([A-Z ]+)`", readme, re.M)[1].split()
readme_codes = re.findall(r"^\| (\d+) \|", readme.split("### Exit codes")[1].split("\n#")[0], re.M)
if readme_codes != result_codes:
    fail("README.md", f"exit codes {readme_codes}, the program's {result_codes}")


def check_windows_readme(document, text, japanese):
    syntax = next((line.split() for line in text.splitlines()
                   if line.startswith("    zelvane.exe ")), [])
    arguments = usage_arguments if japanese else readme_arguments
    if syntax[1:] != arguments:
        fail(document, f"syntax line {' '.join(syntax)!r}, not the arguments {' '.join(arguments)}")
    codes = re.findall(r"^    (\d+)  \S", text, re.M)
    if codes != result_codes:
        fail(document, f"exit codes {codes}, README.md's and the program's {result_codes}")
    if japanese:
        check_japanese_spacing(document, text)


# Every document: how it is read, whether it must hold examples, the part that
# must hold no figure (all where None), and what else it is held to.
DOCUMENTS = [
    ("README.md", source_dir, markdown, True, None, None),
    ("CHANGELOG.md", source_dir, markdown, False,
     lambda text: re.search(r"^## Unreleased\n.*?(?=^## |\Z)", text, re.M | re.S)[0],
     check_released_entries),
    ("doc/maintainers.md", source_dir, markdown, False, None, None),
    ("zelvane.1", page_dir, manual_page, True, None, None),
    ("ja/zelvane.1", page_dir, manual_page, True, None,
     # Also rendered very wide: a space at any source line break shows.
     lambda name, text: [check_japanese_spacing(name, page, exempt_section=1)  # the synopsis
                         for page in (text, manual_page(f"{page_dir}/{name}", "1000")[1])]),
    ("packaging/README-windows.txt.in", source_dir, plain_text, False, None,
     lambda name, text: check_windows_readme(name, text, False)),
    ("packaging/README-windows-ja.txt.in", source_dir, plain_text, False, None,
     lambda name, text: check_windows_readme(name, text, True)),
]

# A folder of its own, first on the PATH, holds only `zelvane`: the build's program.
private_bin = tempfile.mkdtemp()
atexit.register(shutil.rmtree, private_bin)
os.symlink(program, os.path.join(private_bin, "zelvane"))
environment = {name: value for name, value in os.environ.items()
               if name not in ("BASH_ENV", "ENV") and not name.startswith("BASH_FUNC_")}
environment["PATH"] = private_bin + os.pathsep + environment["PATH"]
resolved = run(["bash", "-c", "type -t zelvane; type -P zelvane"], env=environment).stdout.split()
if resolved != [b"file", os.path.join(private_bin, "zelvane").encode()]:
    sys.exit(f"FAILED: `zelvane` resolves to {resolved}, not to {program}")

for name, folder, read, holds_examples, figure_part, further_check in DOCUMENTS:
    source, text, examples = read(os.path.join(folder, name))
    check_figures(name, figure_part(text) if figure_part else text)
    if further_check:
        further_check(name, text)
    in_source = sum(line.lstrip().startswith("$ ") for line in source.splitlines())
    if (holds_examples and not examples) or len(examples) != in_source:
        fail(name, f"{len(examples)} examples found, {in_source} in its source")
    for command, expected in examples:
        if not re.match(r"zelvane(?=[\s;|&<>]|$)", command):
            fail(name, f"$ {command}\n  runs another program than zelvane")
        result = run(["bash", "-o", "pipefail", "-c", command], env=environment,
                     cwd=os.path.join(source_dir, "samples") if folder == page_dir else source_dir)
        printed = [line.rstrip() for line in result.stdout.decode("utf-8", "replace").splitlines()]
        if printed != expected or result.stderr or result.returncode:
            fail(name, f"$ {command}\n  exit code {result.returncode}, standard error "
                 f"{result.stderr.decode('utf-8', 'replace')!r}\n  expected:\n    "
                 + "\n    ".join(expected) + "\n  printed:\n    " + "\n    ".join(printed))
    print(f"{name}: {len(examples)} examples run")
print(*failures, sep="\n")
print(f"{len(DOCUMENTS)} documents read, {len(failures)} failures")
sys.exit(1 if failures else 0)
