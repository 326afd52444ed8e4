#!/usr/bin/env python3
"""Checks the starter puzzle list, and the store made from it when one is given.
usage: check_starter_puzzles.py starter_puzzles.txt [MVStarters.dat]"""
import sys

MINIMUM_PUZZLES = 150


def check_list(path):
    """The puzzles of the list, and what breaks the rules, one line each."""
    puzzles, seen, problems = [], set(), []
    for number, line in enumerate(open(path, encoding="ascii").read().splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        phrase, _, hint = line.partition(";")
        rules = {"phrase;hint with no other ';' or ':'": ";" not in hint and ":" not in line,
                 "printable characters only": line.isprintable(),
                 "phrase of 2 to 38 characters": 2 <= len(phrase) <= 38,
                 "phrase holds a letter": any(c.isalpha() for c in phrase),
                 "phrase in lower case, no blank at its ends": phrase == phrase.lower().strip(),
                 "hint of 1 to 30 characters": 1 <= len(hint) <= 30,
                 "phrase not seen before": phrase not in seen}
        problems += [f"{path}:{number}: {rule}: {line}" for rule, ok in rules.items() if not ok]
        seen.add(phrase)
        puzzles.append(line)
    if len(puzzles) < MINIMUM_PUZZLES:
        problems.append(f"{path}: {len(puzzles)} puzzles, fewer than {MINIMUM_PUZZLES}")
    return puzzles, problems


puzzles, problems = check_list(sys.argv[1])
if len(sys.argv) > 2:
    # Byte p of the store (from 1) is the plain byte plus ((p - 1) mod 10) + 1.
    store = open(sys.argv[2], "rb").read()
    plain = bytes((byte - i % 10 - 1) % 256 for i, byte in enumerate(store))
    if plain != "".join(p + ":" for p in puzzles).encode("ascii"):
        problems.append(f"{sys.argv[2]} does not unscramble to the records 'phrase;hint:' of the list")
print("\n".join(problems) or f"{len(puzzles)} starter puzzles, all well-formed")
sys.exit(1 if problems else 0)
