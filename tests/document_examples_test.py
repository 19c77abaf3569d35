#!/usr/bin/env python3
"""Runs every example of the documents that shows a command with its output, and
compares the output line for line (line ends and trailing spaces aside). In a
Markdown fenced block, a line "$ COMMAND" is run by bash in the source folder, and
the lines after it, up to the next "$ " line or the block's end, are its output;
an exit code is shown with '; echo "exit code $?"'. The manual pages are rendered
by man as a reader sees them, and their examples run in the sample's folder; no
space may stand between two Japanese characters there, where a source line broke.

Usage: document_examples_test.py PROGRAM_DIR SOURCE_DIR MANUAL_PAGE...
"""
import os
import re
import subprocess
import sys

program_dir, source_dir, manual_pages = sys.argv[1], sys.argv[2], sys.argv[3:]


def markdown_examples(path):
    """(command, expected lines) of each "$ " line in the fenced blocks."""
    examples, block = [], None
    for line in open(path, encoding="utf-8").read().splitlines():
        if line.startswith("```") and block is None:
            block = []
        elif line.startswith("```"):
            examples.extend(transcript(block))
            block = None
        elif block is not None:
            block.append(line)
    return examples


JAPANESE = "\u3001-\u30ff\u4e00-\u9fff\uff01-\uff5e"


def manual_page_examples(path):
    """The same, from the page as man renders it: a transcript is indented, and
    ends at a blank line or one indented less. A space between two Japanese
    characters fails at once, but for those between the arguments of a synopsis."""
    rendered = subprocess.run(["man", "-l", path], capture_output=True, text=True, check=True,
                              env=dict(os.environ, MANWIDTH="100", LC_ALL="C.UTF-8")).stdout
    for line in rendered.splitlines():
        synopsis = line.strip().startswith("zelvane ")
        if re.search(f"[{JAPANESE}] [{JAPANESE}]", line) and not synopsis:
            sys.exit(f"FAILED {path}: a space between Japanese characters in\n    {line.strip()}")
    examples, block, indent = [], None, ""
    for line in rendered.splitlines() + [""]:
        if block is not None and line.startswith(indent) and line.strip():
            block.append(line[len(indent):])
            continue
        if block is not None:
            examples.extend(transcript(block))
            block = None
        command = re.match(r"(\s*)\$ ", line)
        if command:
            block, indent = [line[len(command.group(1)):]], command.group(1)
    return examples


def transcript(lines):
    examples = []
    for line in lines:
        if line.startswith("$ "):
            examples.append((line[2:], []))
        elif examples:
            examples[-1][1].append(line.rstrip())
    return examples


documents = [(os.path.join(source_dir, name), source_dir, markdown_examples)
             for name in ("README.md", "CHANGELOG.md")]
samples = os.path.join(source_dir, "samples")
documents += [(page, samples, manual_page_examples) for page in manual_pages]
failures = count = 0
environment = dict(os.environ, PATH=program_dir + os.pathsep + os.environ["PATH"])
for path, folder, examples_of in documents:
    for command, expected in examples_of(path):
        count += 1
        result = subprocess.run(["bash", "-c", command], cwd=folder, env=environment,
                                capture_output=True)
        actual = [line.rstrip() for line in result.stdout.decode("utf-8", "replace").splitlines()]
        if actual != expected:
            failures += 1
            print(f"FAILED {path}: $ {command}\n  expected:", *expected, "  printed:", *actual,
                  sep="\n    ")
print(f"{count} examples run, {failures} failed")
sys.exit(1 if failures or count == 0 else 0)
