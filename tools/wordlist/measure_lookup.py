#!/usr/bin/env python3
"""Measures how often the dictionary's lookup finds the word a reader means.

Two samples, neither picked from the word list:

  prose        distinct words of English running text on this machine (the
               licence texts in /usr/share/common-licenses, or the files
               given with --prose), tokenised as a reader would copy them:
               letters with inner apostrophes, case as written. A word
               counts as found when the first hit is the word itself (any
               letter case) or one of its dictionary forms, as the command
               line reports them on standard error.
  misspellings real misspellings of English words from codespell's
               dictionary (Debian package codespell), those with a single
               correction that is a one-word headword of the list, the
               misspelling itself being none, of the more common words
               (--common), an evenly spaced sample (--sample). Counted: the intended word is
               among the hits, and it is the first hit.

Every word is looked up by running the command line (`mirvodict-cli
--builtin -l WORD`), so what is measured is what a user gets. Prints the
shares and the words missed.
"""

import argparse
import glob
import os
import re
import subprocess
import sys

CODESPELL = "/usr/lib/python3/dist-packages/codespell_lib/data/dictionary.txt"
LICENCES = "/usr/share/common-licenses"
TOKEN_RE = re.compile(r"[A-Za-z]+(?:['\u2019][A-Za-z]+)*")


def read_headwords(path):
    with open(path, "rb") as f:
        data = f.read()
    words = []
    for line in data.split(b"\r\n"):
        head = line.split(b"|", 1)[0]
        words.append(head.decode("gbk"))
    return words


def prose_words(paths):
    seen, words = set(), []
    for path in paths:
        with open(path, encoding="utf-8", errors="replace") as f:
            for token in TOKEN_RE.findall(f.read()):
                if len(token) < 2 or token in seen:
                    continue
                seen.add(token)
                words.append(token)
    return words


def misspellings(headwords, common, sample):
    """Evenly spaced `sample` of the pairs whose correction is among the
    `common` first single words of the list (the list runs from the most
    common word down)."""
    listed = {w for w in headwords if re.fullmatch(r"[a-z]+", w)}
    frequent = set([w for w in headwords if w in listed][:common])
    pairs = []
    with open(CODESPELL, encoding="utf-8") as f:
        for line in f:
            typo, _, fixes = line.strip().partition("->")
            fixes = [x.strip() for x in fixes.split(",") if x.strip()]
            if len(fixes) != 1 or not re.fullmatch(r"[a-z]+", typo):
                continue
            if fixes[0] in frequent and typo not in listed:
                pairs.append((typo, fixes[0]))
    if sample and len(pairs) > sample:
        pairs = [pairs[i * len(pairs) // sample] for i in range(sample)]
    return pairs


def look_up(program, word):
    result = subprocess.run([program, "--builtin", "-l", word], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                            env=dict(os.environ, LC_ALL="C.UTF-8"))
    hits = [line.split("\t", 1)[0] for line in result.stdout.decode("utf-8", "replace").splitlines()]
    return hits, result.stderr.decode("utf-8", "replace")


def forms_in(note):
    m = re.search(r'is a form of (.*); the first hits', note)
    return [x.strip() for x in m.group(1).split(",")] if m else []


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True, help="the mirvodict-cli to run")
    parser.add_argument("--list", default=os.path.join(os.path.dirname(__file__), "..", "..", "app", "resources",
                                                      "enwordlib.txt"))
    parser.add_argument("--prose", nargs="*", help="text files of English prose")
    parser.add_argument("--common", type=int, default=10000,
                        help="misspellings of the this many most common single words of the list")
    parser.add_argument("--sample", type=int, default=1000, help="misspellings measured, evenly spaced")
    parser.add_argument("--limit", type=int, default=0, help="look up at most this many words of each sample")
    args = parser.parse_args(argv)

    headwords = read_headwords(args.list)
    prose_files = args.prose or [p for p in sorted(glob.glob(os.path.join(LICENCES, "*"))) if os.path.isfile(p)]
    prose = prose_words(prose_files)
    pairs = misspellings(headwords, args.common, args.sample)
    if args.limit:
        prose, pairs = prose[:args.limit], pairs[:args.limit]

    # Words the list knows: a headword in any case, or a form the source
    # data names of a headword (the forms table), a possessive of either.
    listed = set(headwords)
    forms_file = os.path.join(os.path.dirname(args.list), "enwordforms.txt")
    with open(forms_file, "rb") as f:
        named_forms = {line.split(b"|", 1)[0].decode("gbk") for line in f.read().split(b"\r\n") if line}

    def known(folded):
        base = folded[:-2] if folded.endswith("-s") else folded[:-1] if folded.endswith("s-") else folded
        return any(w in listed or w in named_forms for w in (folded, base))

    missed = []
    found = known_count = known_found = 0
    for word in prose:
        hits, note = look_up(args.program, word)
        folded = word.lower().replace("'", "-").replace("\u2019", "-")
        ok = bool(hits) and (hits[0].lower() == folded or hits[0] in forms_in(note))
        is_known = known(folded)
        found += ok
        known_count += is_known
        known_found += ok and is_known
        if not ok:
            missed.append(f"{word} -> {hits[0] if hits else '(nothing)'}{'' if is_known else ' [not in the list]'}")
    print(f"prose: {len(prose)} distinct words, first hit the word or its dictionary form: "
          f"{found} ({100.0 * found / max(1, len(prose)):.2f} %)")
    print(f"  of them {known_count} the list knows (a headword, or a form the data names, in any case): "
          f"{known_found} ({100.0 * known_found / max(1, known_count):.2f} %)")
    print("  missed: " + "; ".join(missed))

    present = first = 0
    wrong = []
    for typo, meant in pairs:
        hits, _ = look_up(args.program, typo)
        if meant in hits:
            present += 1
        if hits and hits[0] == meant:
            first += 1
        else:
            wrong.append(f"{typo}->{meant}: {hits[0] if hits else '(nothing)'}")
    n = max(1, len(pairs))
    print(f"misspellings: {len(pairs)}, intended word a hit: {present} ({100.0 * present / n:.2f} %), "
          f"first hit: {first} ({100.0 * first / n:.2f} %)")
    print("  not first: " + "; ".join(wrong[:300]) + (" ..." if len(wrong) > 300 else ""))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
