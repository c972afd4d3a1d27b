"""Finds and loads libveskar.so and declares the C functions the package
calls, and finds the data folder that belongs to the library."""

import ctypes
import ctypes.util
import glob
import os
import sysconfig

from .errors import VeskarError

_c_char_p = ctypes.c_char_p
_c_int = ctypes.c_int
_c_bool = ctypes.c_bool

# name: (result type, argument types)
_PROTOTYPES = {
    "VESKAR_LibVersion": (_c_char_p, []),
    "VESKAR_LibVersionNumber": (_c_int, []),
    "VESKAR_Init": (_c_int, [_c_char_p]),
    "VESKAR_Exit": (None, []),
    "VESKAR_NewInstance": (_c_int, []),
    "VESKAR_DeleteInstance": (_c_int, [_c_int]),
    "VESKAR_GetLastErrorMsg": (_c_char_p, []),
    "VESKAR_GetInfo": (_c_char_p, []),
    "VESKAR_CheckReportF": (_c_char_p, [_c_char_p, _c_char_p, _c_char_p, _c_int, _c_int, _c_bool, _c_int]),
    "VESKAR_CheckReportM": (_c_char_p, [_c_char_p, _c_char_p, _c_char_p, _c_int, _c_int, _c_bool, _c_int]),
    "VESKAR_LoadCheckResult": (_c_char_p, [_c_char_p, _c_int]),
    "VESKAR_ParseFile": (_c_char_p, [_c_char_p, _c_int, _c_int]),
    "VESKAR_GetPlainText": (_c_char_p, [_c_char_p]),
    "VESKAR_SetOutputDir": (_c_int, [_c_char_p]),
    "VESKAR_Segment": (_c_char_p, [_c_char_p, _c_bool]),
    "RUXSet_Extract": (_c_char_p, [_c_char_p, _c_int, _c_bool]),
}

_NAMES = ("libveskar.so", "libveskar.so.*")


def _system_lib_dirs():
    dirs = []
    multiarch = sysconfig.get_config_var("MULTIARCH")
    for prefix in ("/usr/local", "/usr"):
        if multiarch:
            dirs.append(os.path.join(prefix, "lib", multiarch))
        dirs.append(os.path.join(prefix, "lib"))
    return dirs


def _candidate_dirs():
    """Beside the package (a copy bundled with it), the build folder of a
    source checkout (python/veskar -> ../../build), then the system's."""
    here = os.path.dirname(os.path.abspath(__file__))
    checkout = os.path.dirname(os.path.dirname(here))
    return [here, os.path.join(checkout, "build")] + _system_lib_dirs()


def _first_in(folder):
    for pattern in _NAMES:
        found = sorted(glob.glob(os.path.join(folder, pattern)))
        if found:
            return found[0]
    return None


def find_library():
    """The path of libveskar.so: $VESKAR_LIBRARY, else the first found."""
    given = os.environ.get("VESKAR_LIBRARY")
    if given:
        if not os.path.isfile(given):
            raise VeskarError(f"no library at $VESKAR_LIBRARY={given}")
        return given
    for folder in _candidate_dirs():
        path = _first_in(folder)
        if path:
            return path
    name = ctypes.util.find_library("veskar")
    if name:
        return name
    raise VeskarError("libveskar.so not found: install it or set VESKAR_LIBRARY")


def load(path):
    try:
        lib = ctypes.CDLL(path)
    except OSError as exc:
        raise VeskarError(f"cannot load {path}", str(exc)) from None
    for name, (restype, argtypes) in _PROTOTYPES.items():
        function = getattr(lib, name)
        function.restype = restype
        function.argtypes = argtypes
    return lib


def _holds_data(folder):
    return os.path.isdir(os.path.join(folder, "Data"))


def init_dir_of(folder):
    """The folder the library starts on (the one holding "Data") for a
    folder that is either "Data" or holds it; None when it is neither."""
    folder = os.path.abspath(folder)
    if _holds_data(folder):
        return folder
    if os.path.basename(folder) == "Data" and os.path.isdir(folder):
        return os.path.dirname(folder)
    return None


def default_init_dir(library_path):
    """$VESKAR_DATA, else the data folder that sits with the library: the
    build folder beside a built library, <prefix>/share/veskar above an
    installed one, else the system's share folders."""
    given = os.environ.get("VESKAR_DATA")
    if given:
        found = init_dir_of(given)
        if not found:
            raise VeskarError(f"no data folder at $VESKAR_DATA={given}")
        return found
    folder = os.path.dirname(os.path.realpath(library_path)) if os.path.sep in library_path else ""
    candidates = []
    for _ in range(3 if folder else 0):
        candidates += [folder, os.path.join(folder, "share", "veskar")]
        folder = os.path.dirname(folder)
    candidates += ["/usr/local/share/veskar", "/usr/share/veskar"]
    for candidate in candidates:
        if _holds_data(candidate):
            return os.path.abspath(candidate)
    raise VeskarError("no data folder found: call veskar.init(DATA_DIR) or set VESKAR_DATA")
