"""Failures raise VeskarError with the library's own reason and leave the
library working."""

import os

import pytest

import veskar
from conftest import DATA, EXAMPLE


def test_missing_and_broken_documents_raise_with_the_reason(tmp_path, copy_of):
    with pytest.raises(veskar.VeskarError) as missing:
        veskar.check(tmp_path / "absent.docx")
    assert "absent.docx" in missing.value.detail
    broken = tmp_path / "broken.docx"
    broken.write_bytes(b"this is no zip package")
    with pytest.raises(veskar.VeskarError):
        veskar.check(broken)
    with pytest.raises(veskar.VeskarError):
        veskar.parse(tmp_path / "absent.docx")
    unreadable = tmp_path / "broken_Check.json"
    unreadable.write_text("{no json")
    with pytest.raises(veskar.VeskarError) as result:
        veskar.load_result(unreadable)
    assert "broken_Check.json" in result.value.detail
    other = tmp_path / "other_Check.xml"
    other.write_text("<notes>not a result</notes>")
    with pytest.raises(veskar.VeskarError) as result:
        veskar.load_result(other)
    assert "Not a check result" in result.value.detail
    assert veskar.check(copy_of(EXAMPLE)).findings


def test_wrong_arguments_are_refused_before_the_library():
    with pytest.raises(ValueError):
        veskar.check(EXAMPLE, type=20)
    with pytest.raises(ValueError):
        veskar.check(EXAMPLE, format="yaml")


def test_a_start_on_no_data_folder_fails_and_keeps_the_running_one(tmp_path, copy_of):
    veskar.init(DATA)
    with pytest.raises(veskar.VeskarError):
        veskar.init(tmp_path)
    assert veskar.data_dir() == os.path.join(os.path.abspath(DATA), "Data")
    veskar.init(os.path.join(DATA, "Data"))  # the Data folder itself will do
    assert veskar.check(copy_of(EXAMPLE)).findings


def test_a_restart_gives_fresh_instances(copy_of):
    first = veskar.check(copy_of(EXAMPLE, "one"))
    veskar.shutdown()
    assert veskar.data_dir() is None
    second = veskar.check(copy_of(EXAMPLE, "two"))  # starts again with the default
    assert len(second.findings) == len(first.findings)
