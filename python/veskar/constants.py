"""Named values of the C interface's int parameters and results (veskar.h)."""

VERSION = "0.1.0"
VERSION_NUMBER = 1000

# Forms of check results.
FORMAT_XML = 0
FORMAT_JSON = 1

# Report types the library treats specially; types run 0 .. REPORT_TYPE_MAX.
REPORT_CONTRACT = 3
REPORT_CHAPTERS = 4
REPORT_THESIS = 6
REPORT_PAPER = 7
REPORT_TYPE_MAX = 19

# Results of the library's start.
INIT_OK = 1
INIT_NO_RULE_ENGINE = -1
INIT_NO_FORMAT_CHECKER = -5
INIT_NO_CATALOGUE = -6
INIT_NO_FONT_SIZES = -7

# Outputs of the last check of an instance.
RESULT_CHECK = 0
RESULT_KNOWLEDGE = 1
RESULT_SINGLE_KEYS = 6
RESULT_TUPLES = 7
RESULT_ENTITIES = 8

DEFAULT_INSTANCE = 0
ALL_RULES = -1

# Encodings of the dictionary files.
ENCODING_GB18030 = 0
ENCODING_BYTES = 1

# How a dictionary build cuts text into units.
DICT_CHARS = 0
DICT_BYTES = 1
DICT_NAMES = 2

# Dictionary scan modes.
SCAN_WHOLE_WORDS = 0
SCAN_OVERLAPPING = 1
SCAN_LONGEST = 2

INIT_FAILURES = {
    INIT_NO_RULE_ENGINE: "the rule engine could not start",
    INIT_NO_FORMAT_CHECKER: "the format checker could not be created",
    INIT_NO_CATALOGUE: "the error catalogue did not load",
    INIT_NO_FONT_SIZES: "the font-size table is missing or empty",
}
