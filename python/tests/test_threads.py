"""Four threads check at once, each on a checker instance of its own."""

import gc
import threading

import veskar
from veskar._session import session
from conftest import DATA, EXAMPLE, corpus_file
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


def test_instances_of_ended_threads_are_deleted(copy_of):
    saved = veskar.check(copy_of(EXAMPLE, "main")).result_file
    handles = run_in_threads(lambda i: veskar.check(copy_of(EXAMPLE, f"gone{i}")) and session.instance())
    gc.collect()
    veskar.info()  # any call deletes the instances ended threads left
    lib = session.library()
    assert all(lib.VESKAR_LoadCheckResult(saved.encode(), handle) is None for handle in handles)
    assert veskar.load_result(saved).findings


def test_a_thread_ending_after_a_restart_leaves_the_new_instances_alone(copy_of):
    # The new start numbers its instances afresh: the handle the old thread
    # hands back may now be the main thread's.
    veskar.init(DATA)
    checked, stopped = threading.Event(), threading.Event()

    def check_then_wait():
        veskar.check(copy_of(EXAMPLE, "old"))
        checked.set()
        stopped.wait(60)

    thread = threading.Thread(target=check_then_wait)
    thread.start()
    assert checked.wait(60)
    veskar.shutdown()
    stopped.set()
    thread.join(60)
    gc.collect()
    first = veskar.check(copy_of(EXAMPLE, "new"))
    veskar.info()
    assert ours(veskar.check(copy_of(EXAMPLE, "again"))) == ours(first)
