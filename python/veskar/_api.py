"""The package's functions: each runs one library call on the calling
thread's checker instance (or none) and turns its answer into values."""

import contextlib
import json
import os
from dataclasses import dataclass, field
from typing import List, Optional

from ._session import session
from .constants import FORMAT_JSON, FORMAT_XML, REPORT_THESIS, REPORT_TYPE_MAX
from .errors import VeskarError
from .results import Result


@dataclass(frozen=True)
class Heading:
    level: int
    para_id: str
    text: str


@dataclass
class Parsed:
    """What a parse finds; the document and content files lie beside the
    input (or in out_dir), result_file being the document file."""
    result_file: str
    paragraphs: int
    tables: int
    cell_paragraphs: int
    figures: int
    headers: int
    footers: int
    contents: int
    char_count: int
    multi_byte_chars: int
    single_byte_chars: int
    headings: List[Heading]
    raw: dict = field(default_factory=dict, repr=False)


def _path(path):
    # Absolute, so the files a call names do not depend on the current folder.
    return os.fsencode(os.path.abspath(os.fspath(path)))


def _text(value):
    return value.encode("utf-8") if value is not None else b""


def _decode(answer):
    return answer.decode("utf-8", "replace")


def _report_type(value):
    if not isinstance(value, int) or not 0 <= value <= REPORT_TYPE_MAX:
        raise ValueError(f"report type must be 0 .. {REPORT_TYPE_MAX}, not {value!r}")
    return value


def _json(answer, what):
    try:
        return json.loads(_decode(answer))
    except ValueError:
        raise VeskarError(f"unreadable answer of {what}") from None


@contextlib.contextmanager
def _output_dir(lib, out_dir):
    """The calling thread's outputs go into out_dir for the call."""
    if out_dir is None:
        yield
        return
    if lib.VESKAR_SetOutputDir(_path(out_dir)) != 1:
        raise session.fail(f"cannot write into {out_dir}")
    try:
        yield
    finally:
        lib.VESKAR_SetOutputDir(b"")


def init(data_dir=None):
    """Starts (or restarts) the library on a data folder: the "Data" folder
    or the one holding it; default $VESKAR_DATA, else the folder found with
    the library. Other functions start it with the default when needed."""
    session.start(data_dir)


def shutdown():
    """Stops the library; the next call starts it again."""
    session.stop()


def version():
    return _decode(session.library().VESKAR_LibVersion())


def info():
    """Version, data folder, switches and table sizes."""
    with session.call() as lib:
        answer = lib.VESKAR_GetInfo()
        if answer is None:
            raise session.fail("no information")
    return _json(answer, "info")


def check(path, type=REPORT_THESIS, org=None, *, out_dir=None, format="xml"):
    """Checks a document and writes its result file (NAME_Check.xml, or
    .json with format="json") beside it or into out_dir."""
    fmt = {"xml": FORMAT_XML, "json": FORMAT_JSON}.get(format)
    if fmt is None:
        raise ValueError("format is 'xml' or 'json'")
    _report_type(type)
    with session.call() as lib:
        handle = session.instance()
        with _output_dir(lib, out_dir):
            answer = lib.VESKAR_CheckReportF(_path(path), b"", _text(org), type, fmt, False, handle)
        if answer is None:
            raise session.fail(f"cannot check {path}")
        if fmt == FORMAT_JSON:
            return Result.from_json(_decode(answer), _json_result_file(answer))
        return _load(lib, handle, _decode(answer))


def load_result(path):
    """Reads a saved result file (NAME_Check.xml or NAME_Check.json)."""
    with session.call() as lib:
        return _load(lib, session.instance(), os.path.abspath(os.fspath(path)))


def _load(lib, handle, result_file):
    answer = lib.VESKAR_LoadCheckResult(os.fsencode(result_file), handle)
    if answer is None:
        raise session.fail(f"cannot read the result {result_file}")
    return Result.from_json(_decode(answer), result_file)


def _json_result_file(answer):
    raw = _json(answer, "the check")
    return os.path.join(os.path.dirname(raw.get("docxPath", "")), raw.get("docxFile", "") + "_Check.json")


def parse(path, type=0, *, out_dir=None):
    """Parses a document and writes its document and content files; needs
    no data folder."""
    _report_type(type)
    with session.call(started=False) as lib:
        with _output_dir(lib, out_dir):
            answer = lib.VESKAR_ParseFile(_path(path), type, FORMAT_XML)
        if answer is None:
            raise session.fail(f"cannot parse {path}")
    raw = _json(answer, "the parse")
    counts = {name: int(raw.get(name, 0)) for name in (
        "paragraphs", "tables", "cell_paragraphs", "figures", "headers", "footers", "contents",
        "char_count", "multi_byte_chars", "single_byte_chars")}
    headings = [Heading(int(h.get("level", 0)), _para_id(h.get("paraId", "")), h.get("text", ""))
                for h in raw.get("headings", [])]
    return Parsed(result_file=raw.get("result_file", ""), headings=headings, raw=raw, **counts)


def text(path):
    """The text of a document: each paragraph once, on a line of its own."""
    with session.call(started=False) as lib:
        answer = lib.VESKAR_GetPlainText(_path(path))
        if answer is None:
            raise session.fail(f"cannot read {path}")
    return _decode(answer)


def segment(text, tags=True):
    """The words of a text: (word, tag) pairs, or the words alone."""
    with session.call() as lib:
        answer = lib.VESKAR_Segment(_text(text), True)
        if answer is None:
            raise session.fail("cannot segment the text")
    pairs = _tokens(_decode(answer))
    return pairs if tags else [word for word, _ in pairs]


def _tokens(line):
    """Splits "word/tag" tokens; a word holding spaces comes as "[a b]/tag"."""
    pairs = []
    pieces = line.split(" ")
    i = 0
    while i < len(pieces):
        piece = pieces[i]
        i += 1
        if not piece:
            continue
        if piece.startswith("[") and "/" not in piece:
            group = [piece]
            while i < len(pieces) and "]/" not in group[-1]:
                group.append(pieces[i])
                i += 1
            joined = " ".join(group)
            end = joined.rfind("]/")
            if end > 0:
                pairs.append((joined[1:end], joined[end + 2:]))
                continue
            piece = joined
        word, slash, tag = piece.rpartition("/")
        pairs.append((word, tag) if slash else (piece, ""))
    return pairs


def _para_id(value):
    # The parse gives the number; findings name a paragraph in 8 hex digits.
    return f"{value:08X}" if isinstance(value, int) else str(value)


def extract(path, set, *, out_dir=None):
    """Key values, tuples, tables and entities of a document or text file
    found with rule set `set` (a report type); the output files are written
    beside it or into out_dir."""
    with session.call() as lib:
        with _output_dir(lib, out_dir):
            answer = lib.RUXSet_Extract(_path(path), int(set), True)
        if answer is None:
            raise session.fail(f"cannot extract from {path} with rule set {set}")
    return _json(answer, "the extraction")


def data_dir() -> Optional[str]:
    """The data folder of the started library, None before a start."""
    init_dir = session.init_dir
    return os.path.join(init_dir, "Data") if init_dir else None
