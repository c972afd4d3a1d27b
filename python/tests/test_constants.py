"""The package's copy of the header's named values stays equal to it."""

import os
import re

import pytest

import veskar
from conftest import CHECKOUT

HEADER = os.path.join(CHECKOUT, "include", "veskar.h")


def header_values():
    with open(HEADER, encoding="utf-8") as header:
        text = header.read()
    values = {name: int(value) for name, value in re.findall(r"\bVESKAR_([A-Z_]+) = (-?\d+)", text)}
    values["VERSION_NUMBER"] = int(re.search(r"#define VESKAR_VERSION_NUMBER (\d+)", text).group(1))
    values["VERSION"] = re.search(r'#define VESKAR_VERSION "([^"]+)"', text).group(1)
    return values


def test_every_named_value_of_the_header_is_the_packages():
    if not os.path.isfile(HEADER):
        pytest.skip("no source tree")
    values = header_values()
    assert len(values) > 20
    assert {name: getattr(veskar.constants, name, None) for name in values} == values


def test_the_loaded_library_is_the_packages_version():
    assert veskar.version() == veskar.constants.VERSION
    assert veskar.__version__ == veskar.constants.VERSION
