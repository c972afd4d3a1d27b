#!/usr/bin/python3
"""Agreement and speed of the library's segmenter beside python3-jieba on
the same text: the paragraph text of the corpus documents (extracted with
`veskar text` from copies in a temporary folder), cut line by line.

    bench/compare_segmenter_f1.py [--veskar build/veskar] [--data build]
        [--cut build-bench/bench/SegmenterCut] [--runs 3] [DOCX ...]

Build the cutter first with `make bench`. Our side is the core dictionary
alone (no user words, as jieba has none), with and without the unknown-word
model; jieba's side is jieba.cut(line, HMM=True). Prints, for each of our
two runs, the F1 of the word boundaries (cut points between characters,
white space left out; also only those between two Chinese characters, where
Latin and number conventions play no part) and of whole words (same start
and end) against jieba, and the rates in MB/s with their ratio.
"""
import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
CORPUS = os.path.join(ROOT, "..", "shared", "corpus")

JIEBA = r"""
import json, logging, sys, time
import jieba
jieba.setLogLevel(logging.WARNING)
jieba.initialize()
with open(sys.argv[1], encoding="utf-8", errors="surrogateescape") as f:
    lines = f.read().split("\n")
nbytes = sum(len(l.encode("utf-8", errors="surrogateescape")) + 1 for l in lines) - 1
best = None
for _ in range(int(sys.argv[3])):
    start = time.perf_counter()
    words = [list(jieba.cut(line, HMM=True)) for line in lines]
    elapsed = time.perf_counter() - start
    best = elapsed if best is None else min(best, elapsed)
with open(sys.argv[2], "w", encoding="utf-8", errors="surrogateescape") as f:
    for w in words:
        f.write(json.dumps(w) + "\n")
print(json.dumps({"mb_per_s": nbytes / 1e6 / best}))
"""


def corpus_documents():
    found = []
    for folder, _, files in os.walk(CORPUS):
        found += [os.path.join(folder, name) for name in sorted(files) if name.endswith(".docx")]
    return sorted(found)


def extract_text(veskar, data, documents, work):
    """The text of every document, from a copy, as `veskar text` prints it."""
    parts = []
    for i, doc in enumerate(documents):
        folder = os.path.join(work, "doc%d" % i)
        os.mkdir(folder)
        local = os.path.join(folder, "doc.docx")
        shutil.copy(doc, local)
        proc = subprocess.run([veskar, "text", local, "--data", data], stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, timeout=600)
        if proc.returncode != 0:
            print("  (skipped %s: %s)" % (doc, proc.stderr.decode(errors="replace").strip()), file=sys.stderr)
            continue
        parts.append(proc.stdout.rstrip(b"\n"))
    path = os.path.join(work, "corpus.txt")
    with open(path, "wb") as f:
        f.write(b"\n".join(parts))
    return path


def cut_with_us(cut, data, text, out, runs, hmm):
    command = [cut, "--text", text, "--out", out, "--data", data, "--runs", str(runs)]
    if not hmm:
        command.append("--no-hmm")
    proc = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, check=True)
    with open(out, encoding="utf-8", errors="surrogateescape") as f:
        lines = [line.split(" ") if line else [] for line in f.read().split("\n")]
    return lines, json.loads(proc.stdout)["mb_per_s"]


def is_han(char):
    return "\u4e00" <= char <= "\u9fff"


def spans(words):
    """(start, end) of each word in the line with white space left out."""
    result, at = [], 0
    for word in words:
        word = "".join(word.split())
        if word:
            result.append((at, at + len(word)))
            at += len(word)
    return result


class Score:
    def __init__(self):
        self.counts = {"cut": [0, 0, 0], "han cut": [0, 0, 0], "word": [0, 0, 0]}  # agreed, ours, theirs
        self.skipped = 0

    def add(self, ours, theirs):
        a, b = spans(ours), spans(theirs)
        if not a or not b or a[-1][1] != b[-1][1]:
            self.skipped += bool(a or b)
            return
        line = "".join("".join(word.split()) for word in ours)
        cuts_a, cuts_b = {e for _, e in a[:-1]}, {e for _, e in b[:-1]}
        between_han = {i for i in range(1, len(line)) if is_han(line[i - 1]) and is_han(line[i])}
        for name, x, y in (("cut", cuts_a, cuts_b), ("han cut", cuts_a & between_han, cuts_b & between_han),
                           ("word", set(a), set(b))):
            self.counts[name][0] += len(x & y)
            self.counts[name][1] += len(x)
            self.counts[name][2] += len(y)

    def f1(self, name):
        agreed, ours, theirs = self.counts[name]
        return 2.0 * agreed / (ours + theirs) if ours + theirs else 1.0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--veskar", default=os.path.join(ROOT, "build", "veskar"))
    parser.add_argument("--data", default=os.path.join(ROOT, "build"), help="folder holding the Data folder")
    parser.add_argument("--cut", default=os.path.join(ROOT, "build-bench", "bench", "SegmenterCut"))
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("documents", nargs="*")
    args = parser.parse_args()
    for tool in (args.veskar, args.cut):
        if not os.path.exists(tool):
            sys.exit("%s is missing: build it first (make build, make bench)" % tool)
    documents = args.documents or corpus_documents()
    work = tempfile.mkdtemp(prefix="veskar-segf1-")
    try:
        text = extract_text(args.veskar, args.data, documents, work)
        print("text of %d documents: %.2f MB" % (len(documents), os.path.getsize(text) / 1e6))
        theirs_path = os.path.join(work, "jieba.jsonl")
        proc = subprocess.run(["/usr/bin/python3", "-c", JIEBA, text, theirs_path, str(args.runs)],
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        if proc.returncode != 0:
            sys.exit("jieba failed: %s" % proc.stderr.decode(errors="replace"))
        jieba_rate = json.loads(proc.stdout)["mb_per_s"]
        with open(theirs_path, encoding="utf-8", errors="surrogateescape") as f:
            theirs = [json.loads(line) for line in f]
        print("  %-28s %8.2f MB/s" % ("jieba.cut HMM=True", jieba_rate))
        for hmm in (False, True):
            ours, rate = cut_with_us(args.cut, args.data, text, os.path.join(work, "ours.txt"), args.runs, hmm)
            score = Score()
            for a, b in zip(ours, theirs):
                score.add(a, b)
            name = "veskar " + ("with" if hmm else "without") + " unknown words"
            print("  %-28s %8.2f MB/s %6.1fx jieba   boundary F1 %.4f (between Chinese characters %.4f)"
                  "   word F1 %.4f   (%d lines not compared)"
                  % (name, rate, rate / jieba_rate, score.f1("cut"), score.f1("han cut"), score.f1("word"),
                     score.skipped))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
