"""Four threads check at once, each on a checker instance of its own."""

import threading

import veskar
from conftest import EXAMPLE, corpus_file
from test_check import DOCUMENTS, ours


def run_in_threads(work, count=4):
    answers, failures = [None] * count, []

    def run(i):
        try:
            answers[i] = work(i)
        except Exception as exc:  # reported below, on the test's thread
            failures.append(exc)

    threads = [threading.Thread(target=run, args=(i,)) for i in range(count)]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join(300)
    assert not failures, failures
    return answers


def test_four_threads_find_what_one_finds(copy_of):
    sources = [corpus_file(DOCUMENTS[0]), EXAMPLE, corpus_file(DOCUMENTS[1]), EXAMPLE]
    alone = [ours(veskar.check(copy_of(source, f"alone{i}"))) for i, source in enumerate(sources)]
    together = run_in_threads(lambda i: ours(veskar.check(copy_of(sources[i], f"thread{i}"))))
    assert together == alone


def test_each_thread_reads_its_own_error(tmp_path):
    def fail(i):
        name = f"absent{i}.docx"
        for _ in range(5):
            try:
                veskar.check(tmp_path / name)
            except veskar.VeskarError as exc:
                assert name in exc.detail, exc.detail
        return veskar.segment("我们检查文档。", tags=False)

    assert run_in_threads(fail) == [["我们", "检查", "文档", "。"]] * 4
