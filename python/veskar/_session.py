"""The library's one start per process, and its checker instances: one per
thread, made on first use and deleted after the thread ends.

The library's start and stop must run with no other call in flight, while
every other call may run at once on different instances; a gate lets many
calls through together or one start or stop alone."""

import atexit
import collections
import contextlib
import os
import threading

from . import _library
from .constants import INIT_FAILURES, INIT_OK
from .errors import VeskarError


class _Gate:
    def __init__(self):
        self._cond = threading.Condition()
        self._active = 0
        self._closed = False

    @contextlib.contextmanager
    def shared(self):
        with self._cond:
            while self._closed:
                self._cond.wait()
            self._active += 1
        try:
            yield
        finally:
            with self._cond:
                self._active -= 1
                if self._active == 0:
                    self._cond.notify_all()

    @contextlib.contextmanager
    def alone(self, timeout=None):
        with self._cond:
            if not self._cond.wait_for(lambda: not self._closed, timeout):
                raise TimeoutError
            self._closed = True
            if not self._cond.wait_for(lambda: self._active == 0, timeout):
                self._closed = False
                self._cond.notify_all()
                raise TimeoutError
        try:
            yield
        finally:
            with self._cond:
                self._closed = False
                self._cond.notify_all()


class _Instance:
    """A thread's checker handle; handed back for deletion when the thread
    ends (its thread-local storage goes) or the library stops."""

    def __init__(self, session, handle, generation):
        self.session = session
        self.handle = handle
        self.generation = generation

    def __del__(self):
        self.session._retire(self.handle, self.generation)


class Session:
    def __init__(self):
        self._gate = _Gate()
        self._lib = None
        self._library_path = None
        self._init_dir = None
        self._generation = 0  # counts starts and stops; a handle is good for its own
        self._local = threading.local()
        self._load_lock = threading.Lock()
        self._start_lock = threading.Lock()
        # (handle, generation) of ended threads. No lock: a finalizer may
        # run at any point of any thread, and deque appends are atomic.
        self._retired = collections.deque()

    def library(self):
        """The loaded library (loaded, not started, on first use)."""
        if self._lib is None:
            with self._load_lock:
                if self._lib is None:
                    path = _library.find_library()
                    self._lib = _library.load(path)
                    self._library_path = path
        return self._lib

    def last_error(self):
        text = self.library().VESKAR_GetLastErrorMsg()
        return text.decode("utf-8", "replace") if text else ""

    def fail(self, message, code=None):
        """A VeskarError with the calling thread's last error of the library."""
        return VeskarError(message, self.last_error(), code)

    @property
    def init_dir(self):
        return self._init_dir

    def start(self, data_dir=None):
        """Starts (or restarts) the library on data_dir or the default."""
        lib = self.library()
        if data_dir is None:
            init_dir = _library.default_init_dir(self._library_path)
        else:
            init_dir = _library.init_dir_of(os.fspath(data_dir))
            if not init_dir:
                raise VeskarError(f"no data folder at {data_dir} (give the Data folder or the folder that holds it)")
        with self._gate.alone():
            self._stop_locked()
            code = lib.VESKAR_Init(os.fsencode(init_dir))
            if code != INIT_OK:
                error = self.fail(f"cannot start on {init_dir}/Data: {INIT_FAILURES.get(code, 'start-up failed')}",
                                  code)
                lib.VESKAR_Exit()
                raise error
            self._init_dir = init_dir
            self._generation += 1

    def stop(self, timeout=None):
        if self._lib is None:
            return
        with self._gate.alone(timeout):
            self._stop_locked()

    def _stop_locked(self):
        if self._init_dir is not None:
            self._lib.VESKAR_Exit()  # deletes every instance with it
            self._init_dir = None
            # The next start may hand out the same numbers again: handles
            # retired from now on belong to no start and are never deleted.
            self._generation += 1
            self._retired.clear()

    def _retire(self, handle, generation):
        self._retired.append((handle, generation))

    def _delete_retired(self):
        while True:
            try:
                handle, generation = self._retired.popleft()
            except IndexError:
                return
            if generation == self._generation:
                self._lib.VESKAR_DeleteInstance(handle)

    @contextlib.contextmanager
    def call(self, started=True):
        """Runs a library call alongside others; started: the call needs the
        library started (it is, with the default data folder, when not)."""
        lib = self.library()
        while True:
            if started and self._init_dir is None:
                with self._start_lock:  # concurrent first calls start it once
                    if self._init_dir is None:
                        self.start()
            with self._gate.shared():
                if started and self._init_dir is None:
                    continue  # stopped meanwhile: start again
                self._delete_retired()
                yield lib
                return

    def instance(self):
        """The calling thread's checker handle, made for the current start."""
        mine = getattr(self._local, "instance", None)
        if mine is None or mine.generation != self._generation:
            handle = self._lib.VESKAR_NewInstance()
            if handle < 0:
                raise self.fail("cannot make a checker instance")
            mine = _Instance(self, handle, self._generation)
            self._local.instance = mine
        return mine.handle


session = Session()


def _stop_at_exit():
    # A call still running on a daemon thread keeps the library as it is.
    with contextlib.suppress(TimeoutError):
        session.stop(timeout=5)


atexit.register(_stop_at_exit)
