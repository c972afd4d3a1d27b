#!/usr/bin/python3
"""Measures the spelling engine on sentences of real documents.

Copies each .docx of a folder into a temporary folder (parsing writes beside
its input), takes its plain text with `veskar text`, cuts it into sentences
and runs the SpellingQuality bench program on them, which changes one
character of each into a homophone and prints precision and recall per
threshold.

  /usr/bin/python3 bench/spelling_quality.py [--build build] [--docs DIR] [--count 500]
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SENTENCE_END = re.compile(r"[。！？；!?;\n]")


def document_text(veskar, build, path, scratch):
    copy = os.path.join(scratch, "doc%d.docx" % len(os.listdir(scratch)))
    shutil.copyfile(path, copy)
    done = subprocess.run([veskar, "text", copy, "--data", build], capture_output=True, timeout=300)
    return done.stdout.decode("utf-8", "replace") if done.returncode == 0 else ""


def sentences_of(text):
    for piece in SENTENCE_END.split(text):
        piece = piece.strip()
        han = sum(1 for ch in piece if "\u4e00" <= ch <= "\u9fff")
        if 8 <= han and len(piece) <= 80:
            yield piece


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default=os.path.join(HERE, "..", "build"))
    parser.add_argument("--docs", default=os.path.join(HERE, "..", "..", "shared", "corpus"))
    parser.add_argument("--count", default="500")
    parser.add_argument("--seed", default="20240601")
    parser.add_argument("--show", default="0")
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    veskar = os.path.join(build, "veskar")
    program = os.path.join(build, "bench", "SpellingQuality")
    if not os.path.exists(program):
        sys.exit("build the bench first: cmake -B build -DVESKAR_BENCH=ON && cmake --build build --target SpellingQuality")
    with tempfile.TemporaryDirectory() as scratch:
        seen, lines = set(), []
        docs = sorted(os.path.join(d, f) for d, _, fs in os.walk(args.docs) for f in fs if f.endswith(".docx"))
        for path in docs:
            work = os.path.join(scratch, "w")
            os.makedirs(work, exist_ok=True)
            for sentence in sentences_of(document_text(veskar, build, path, work)):
                if sentence not in seen:
                    seen.add(sentence)
                    lines.append(sentence)
            shutil.rmtree(work)
        listing = os.path.join(scratch, "sentences.txt")
        with open(listing, "w", encoding="utf-8") as out:
            out.write("\n".join(lines) + "\n")
        print("%d documents, %d distinct sentences" % (len(docs), len(lines)), flush=True)
        subprocess.run([program, listing, "--data", build, "--count", args.count, "--seed", args.seed,
                        "--show", args.show], check=True)


if __name__ == "__main__":
    main()
