#!/usr/bin/env python3
"""Runs every example of the documents that shows a command with its output and
compares the output line for line, line ends and trailing spaces aside. A line
"$ COMMAND" in a Markdown fenced block is run by bash in the source folder, and
the lines after it, up to the next "$ " line or the block's end, are its output
(an exit code shows with '; echo "exit code $?"'). The manual pages are rendered
by man, as a reader sees them, and their examples run in the sample's folder.

Usage: document_examples_test.py PROGRAM_DIR SOURCE_DIR MANUAL_PAGE...
"""
import os
import re
import subprocess
import sys

program_dir, source_dir, manual_pages = sys.argv[1], sys.argv[2], sys.argv[3:]
JAPANESE = "[\u3001-\u30ff\u4e00-\u9fff\uff01-\uff5e]"


def transcript(lines):
    """(command, expected lines) of each "$ " line."""
    examples = []
    for line in lines:
        if line.startswith("$ "):
            examples.append((line[2:], []))
        elif examples:
            examples[-1][1].append(line.rstrip())
    return examples


def markdown_examples(path):
    text = open(path, encoding="utf-8").read()
    return [example for block in re.findall(r"^```[^\n]*\n(.*?)^```", text, re.M | re.S)
            for example in transcript(block.splitlines())]


def manual_page_examples(path):
    """In the rendered page an example is a paragraph that starts with "$ ". A
    space between two Japanese characters (a source line that broke there) fails,
    but for those between the synopsis' arguments."""
    rendered = subprocess.run(["man", "-l", path], capture_output=True, text=True, check=True,
                              env=dict(os.environ, MANWIDTH="100", LC_ALL="C.UTF-8")).stdout
    for line in rendered.splitlines():
        if re.search(f"{JAPANESE} {JAPANESE}", line) and not line.strip().startswith("zelvane "):
            sys.exit(f"FAILED {path}: a space between Japanese characters in\n    {line.strip()}")
    examples = []
    for paragraph in rendered.split("\n\n"):
        lines = paragraph.strip("\n").splitlines()
        if lines and lines[0].lstrip().startswith("$ "):
            indent = len(lines[0]) - len(lines[0].lstrip())
            examples += transcript(line[indent:] for line in lines)
    return examples


documents = [(os.path.join(source_dir, name), source_dir, markdown_examples)
             for name in ("README.md", "CHANGELOG.md")]
documents += [(page, os.path.join(source_dir, "samples"), manual_page_examples)
              for page in manual_pages]
environment = dict(os.environ, PATH=program_dir + os.pathsep + os.environ["PATH"])
failures = count = 0
for path, folder, examples_of in documents:
    for command, expected in examples_of(path):
        count += 1
        output = subprocess.run(["bash", "-c", command], cwd=folder, env=environment,
                                capture_output=True).stdout.decode("utf-8", "replace")
        printed = [line.rstrip() for line in output.splitlines()]
        if printed != expected:
            failures += 1
            print(f"FAILED {path}: $ {command}\n  expected:", *expected, "  printed:", *printed,
                  sep="\n    ")
print(f"{count} examples run, {failures} failed")
sys.exit(1 if failures or count == 0 else 0)
