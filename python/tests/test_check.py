"""A check through the package finds what the command-line tool finds."""

import json
import os

import pytest

import veskar
from conftest import EXAMPLE, corpus_file, run_tool

KEYS = ("para_id", "page", "code", "message", "field", "original", "proposed")
TOOL_KEYS = ("paraId", "page_num", "errorno", "errormsg", "field", "OrgStr", "NewStr")

# A Mac Word report and a WPS form; the example thesis is built with the tree.
DOCUMENTS = ["louffy/技术报告.docx", "undergrad-hcs/开题报告--黄呈松.docx"]


def ours(result):
    return [tuple(getattr(f, k) for k in KEYS) for f in result.findings]


def the_tools(raw):
    return [tuple(item[k] for k in TOOL_KEYS) for item in raw["Errors"]]


@pytest.mark.parametrize("document", DOCUMENTS + ["example"])
def test_findings_and_score_match_the_tool(copy_of, document):
    source = EXAMPLE if document == "example" else corpus_file(document)
    result = veskar.check(copy_of(source, "py"))
    raw = json.loads(run_tool("check", copy_of(source, "tool"), "--json"))
    assert result.findings, "a real document has findings"
    assert ours(result) == the_tools(raw)
    assert result.score == pytest.approx(raw["Statistics"]["TotalScore"])
    assert result.report_type == 6
    assert os.path.isfile(result.result_file) and result.result_file.endswith("_Check.xml")
    assert sum(c.count for c in result.codes) == len(result.findings)
    each = {c.code: c.each_score for c in result.codes}
    assert all(f.score == each[f.code] for f in result.findings)
    assert json.loads(result.to_json()) == result.raw


def test_json_results_and_saved_results_read_the_same(copy_of):
    source = corpus_file(DOCUMENTS[0])
    from_xml = veskar.check(copy_of(source, "xml"))
    from_json = veskar.check(copy_of(source, "json"), format="json")
    assert from_json.result_file.endswith("_Check.json") and os.path.isfile(from_json.result_file)
    # The answer of a check in JSON lists a paragraph's findings in its own
    # order; a saved result reads back in the same order from either form.
    assert sorted(ours(from_json)) == sorted(ours(from_xml))
    assert ours(veskar.load_result(from_json.result_file)) == ours(from_xml)
    assert veskar.load_result(from_xml.result_file).score == from_xml.score


def test_out_dir_takes_the_outputs_and_is_reset(copy_of, tmp_path):
    document = copy_of(EXAMPLE, "doc")
    result = veskar.check(document, out_dir=tmp_path / "out")
    assert os.path.dirname(result.result_file) == str(tmp_path / "out")
    again = veskar.check(document)
    assert os.path.dirname(again.result_file) == os.path.dirname(document)
