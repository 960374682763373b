#!/usr/bin/env python3
"""Checks a man page against its program's --help, both ways: every command the
help reaches (its "Subcommands:" lists and the "PROGRAM WORDS --help" it points
to) has its section, and each section names exactly the options of that
command's "Options:" list. -h/--help is documented once, in OPTIONS.

    man_pages_test.py PAGE PROGRAM [PAGE PROGRAM ...]
"""
import re
import subprocess
import sys

OPTION = re.compile(r"(?<![\w-])(--?[A-Za-z][\w-]*|--(?=\s|,|$))")
HELP = {"-h", "--help"}


def help_text(program, words):
    run = subprocess.run([program, *words, "--help"], capture_output=True, text=True,
                         env={"QT_QPA_PLATFORM": "offscreen", "PATH": "/usr/bin:/bin"})
    return run.stdout if run.returncode == 0 else None


def block(text, title):
    """The indented lines under a line TITLE, up to a blank or unindented one."""
    lines = text.splitlines()
    if title not in lines:
        return []
    rest = lines[lines.index(title) + 1:]
    end = next((i for i, line in enumerate(rest) if not line[:1].isspace()), len(rest))
    return rest[:end]


def help_options(text):
    options = set()
    for line in block(text, "Options:"):
        if line.lstrip().startswith("-"):
            names = re.split(r"\s{2,}", line.strip())[0]
            options.update(OPTION.findall(names))
    return options


def help_commands(program, words, text):
    """Every command reached from this one's help, as tuples of words."""
    name = program.rsplit("/", 1)[-1]
    found = {(*words, line.split()[0]) for line in block(text, "Subcommands:")}
    for mention in re.findall(re.escape(name) + r"((?: [a-z][a-z-]*)+) --help", text):
        found.add(tuple(mention.split()))
    return found


def page_sections(path):
    """{command words: options named by the section's .TP items}."""
    sections, current, after_tp = {}, None, False
    for line in open(path, encoding="utf-8"):
        line = line.rstrip("\n")
        if line.startswith((".SH", ".SS")):
            title = re.sub(r"\\f.|\"", "", line[3:]).strip()
            words = tuple(re.match(r"((?:[a-z][a-z-]*\s*)*)", title).group(1).split())
            if line.startswith(".SH"):
                words = () if title == "OPTIONS" else None
            current = words
            if current is not None:
                sections.setdefault(current, set())
        elif line.startswith(".TP"):
            after_tp = True
            continue
        elif after_tp and current is not None:
            item = re.sub(r"\\f.|\"", "", line.split(None, 1)[-1]).replace("\\-", "-")
            sections[current].update(OPTION.findall(item))
        after_tp = False
    return sections


def check(page, program):
    faults = []
    documented = page_sections(page)
    pending, seen = [()], {}
    while pending:
        words = pending.pop()
        text = help_text(program, words)
        if text is None:
            faults.append(f"{' '.join(words)}: --help fails")
            continue
        seen[words] = text
        pending += [c for c in help_commands(program, words, text) if c not in seen]
    for words, text in seen.items():
        name = " ".join((program.rsplit("/", 1)[-1], *words))
        options = help_options(text) - (HELP if words else set())
        leaf = not block(text, "Subcommands:")
        if words not in documented:
            if options or leaf:
                faults.append(f"{page}: no section for '{name}'")
            continue
        for option in sorted(options - documented[words]):
            faults.append(f"{page}: '{name}' has {option}, the page does not")
        for option in sorted(documented[words] - options):
            faults.append(f"{page}: the page gives '{name}' {option}, --help does not")
    for words in documented.keys() - seen.keys():
        faults.append(f"{page}: section for '{' '.join(words)}', which --help does not reach")
    return faults


def main(arguments):
    faults = []
    for page, program in zip(arguments[::2], arguments[1::2]):
        faults += check(page, program)
    print("\n".join(faults) or "every option of every command is documented")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
