#!/usr/bin/python3
"""Segmentation throughput of the library's segmenter beside python3-jieba on
the same text: the text of the corpus documents, extracted with
`veskar text` from copies in a temporary folder, segmented line by line.

    bench/compare_segmenter.py [--veskar build/veskar]
        [--bench build-bench/bench/SegmenterBench] [--runs 3] [DOCX ...]

Build the benchmark first with `make bench`. Prints MB/s of the library's
tagged and untagged segmentation (in-process, dictionaries loaded once;
"tagged+user" with 5,000 user words as a rule set adds them), of
jieba.cut (default mode, with its HMM), jieba.cut without HMM and
jieba.posseg.cut, and the ratios against jieba.cut.
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
import jieba, jieba.posseg
jieba.setLogLevel(logging.WARNING)
jieba.initialize()
with open(sys.argv[1], encoding="utf-8", errors="replace") as f:
    lines = [l for l in f.read().split("\n") if l]
nbytes = sum(len(l.encode("utf-8")) for l in lines)
runs = int(sys.argv[2])

def rate(fn):
    fn(lines[0])
    best = None
    for _ in range(runs):
        start = time.perf_counter()
        for line in lines:
            fn(line)
        elapsed = time.perf_counter() - start
        best = elapsed if best is None else min(best, elapsed)
    return nbytes / 1e6 / best

print(json.dumps({
    "jieba.cut": rate(lambda l: list(jieba.cut(l))),
    "jieba.cut HMM=False": rate(lambda l: list(jieba.cut(l, HMM=False))),
    "jieba.posseg.cut": rate(lambda l: list(jieba.posseg.cut(l))),
}))
"""


def corpus_documents():
    found = []
    for folder, _, files in os.walk(CORPUS):
        found += [os.path.join(folder, name) for name in sorted(files) if name.endswith(".docx")]
    return sorted(found)


def extract_text(veskar, documents, work):
    """The text of each document, from a copy, as `veskar text` prints it."""
    parts = []
    for i, doc in enumerate(documents):
        local = os.path.join(work, "doc%d.docx" % i)
        shutil.copy(doc, local)
        proc = subprocess.run([veskar, "text", local], stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        if proc.returncode != 0:
            print("  (skipped %s: %s)" % (doc, proc.stderr.decode(errors="replace").strip()), file=sys.stderr)
            continue
        parts.append(proc.stdout)
    path = os.path.join(work, "corpus.txt")
    with open(path, "wb") as f:
        f.write(b"\n".join(parts))
    return path


def veskar_rates(bench, text, runs):
    proc = subprocess.run([bench, "--text", text, "--benchmark_format=json",
                           "--benchmark_repetitions=%d" % runs, "--benchmark_report_aggregates_only=true"],
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, check=True)
    report = json.loads(proc.stdout)
    rates, startup = {}, None
    for row in report["benchmarks"]:
        if row.get("aggregate_name") != "mean":
            continue
        name = row["run_name"]
        if name.startswith("BM_SegmentTaggedUserWords"):
            rates["veskar tagged+user"] = row["bytes_per_second"] / 1e6
        elif name.startswith("BM_SegmentTagged"):
            rates["veskar tagged"] = row["bytes_per_second"] / 1e6
        elif name.startswith("BM_SegmentPlain"):
            rates["veskar untagged"] = row["bytes_per_second"] / 1e6
        elif name.startswith("BM_StartUp"):
            startup = row["real_time"]
    return rates, startup


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--veskar", default=os.path.join(ROOT, "build", "veskar"))
    parser.add_argument("--bench", default=os.path.join(ROOT, "build-bench", "bench", "SegmenterBench"))
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("documents", nargs="*")
    args = parser.parse_args()
    for tool in (args.veskar, args.bench):
        if not os.path.exists(tool):
            sys.exit("%s is missing: build it first (make build, make bench)" % tool)
    documents = args.documents or corpus_documents()
    work = tempfile.mkdtemp(prefix="veskar-segbench-")
    try:
        text = extract_text(args.veskar, documents, work)
        size = os.path.getsize(text)
        print("text of %d documents: %.2f MB" % (len(documents), size / 1e6))
        rates, startup = veskar_rates(args.bench, text, args.runs)
        proc = subprocess.run(["/usr/bin/python3", "-c", JIEBA, text, str(args.runs)],
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        if proc.returncode != 0:
            sys.exit("jieba failed: %s" % proc.stderr.decode(errors="replace"))
        rates.update(json.loads(proc.stdout))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    base = rates.get("jieba.cut")
    for name, rate in rates.items():
        ratio = "  %6.1fx jieba.cut" % (rate / base) if base else ""
        print("  %-20s %8.2f MB/s%s" % (name, rate, ratio))
    if startup is not None:
        print("  veskar start-up (dictionaries loaded): %.1f ms" % startup)


if __name__ == "__main__":
    main()
