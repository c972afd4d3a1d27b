"""Checks Chinese report documents with libveskar (through ctypes).

    import veskar
    result = veskar.check("thesis.docx")
    print(result.score, len(result.findings))
"""

from . import constants
from ._api import (Heading, Parsed, check, data_dir, extract, info, init, load_result, parse, segment,
                   shutdown, text, version)
from .errors import VeskarError
from .results import CodeCount, Finding, Result

__version__ = constants.VERSION
__all__ = ["CodeCount", "Finding", "Heading", "Parsed", "Result", "VeskarError", "check", "constants",
           "data_dir", "extract", "info", "init", "load_result", "parse", "segment", "shutdown", "text",
           "version"]
