#!/usr/bin/python3
"""Batch throughput of `veskar batch` over the corpus with 1 and 2 worker
threads, and the scaling ratio between them.

    bench/batch_scaling.py [--veskar build/veskar] [--copies 4] [--runs 3] [--tmp DIR]

The corpus documents are copied --copies times into a temporary folder so a
run lasts long enough to measure; every run starts from fresh copies. A check
unpacks each package beside it, so on a slow disk the writes, not the
checking, set the pace: --tmp /dev/shm measures the checking itself.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
CORPUS = os.path.join(ROOT, "..", "shared", "corpus")


def corpus_documents():
    for folder, _, files in os.walk(CORPUS):
        for name in sorted(files):
            if name.lower().endswith(".docx"):
                yield os.path.join(folder, name)


def lay_out(target, copies):
    count = 0
    for i in range(copies):
        for path in corpus_documents():
            folder = os.path.join(target, "copy%d" % i, os.path.basename(os.path.dirname(path)))
            os.makedirs(folder, exist_ok=True)
            shutil.copy(path, folder)
            count += 1
    return count


def run_batch(veskar, threads, copies, tmp):
    work = tempfile.mkdtemp(prefix="veskar-batch-", dir=tmp)
    try:
        count = lay_out(work, copies)
        start = time.perf_counter()
        proc = subprocess.run([veskar, "batch", work, "--threads", str(threads)], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
        elapsed = time.perf_counter() - start
        if proc.returncode not in (0, 1):
            raise RuntimeError("veskar batch failed with %d" % proc.returncode)
        return count, elapsed
    finally:
        shutil.rmtree(work, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--veskar", default=os.path.join(ROOT, "build", "veskar"))
    parser.add_argument("--copies", type=int, default=4)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--tmp", default=None, help="folder for the copies (default: the system's)")
    args = parser.parse_args()
    veskar = os.path.abspath(args.veskar)
    rates = {}
    for threads in (1, 2):
        best = None
        for _ in range(args.runs):
            count, elapsed = run_batch(veskar, threads, args.copies, args.tmp)
            best = elapsed if best is None else min(best, elapsed)
        rates[threads] = count / best
        print("%d thread(s): %d documents in %.2f s, %.1f documents/s" % (threads, count, best, rates[threads]))
    print("scaling 2 threads / 1 thread: %.2f" % (rates[2] / rates[1]))


if __name__ == "__main__":
    sys.exit(main())
