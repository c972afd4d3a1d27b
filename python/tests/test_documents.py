"""Parsing, text, segmentation and extraction through the package."""

import json
import os

import veskar
from veskar._api import _tokens
from conftest import EXAMPLE, corpus_file, run_tool


def test_parse_counts_and_headings(copy_of):
    document = copy_of(EXAMPLE)
    parsed = veskar.parse(document)
    assert os.path.isfile(os.path.join(os.path.dirname(document), os.path.basename(parsed.result_file)))
    assert parsed.paragraphs > 0 and parsed.char_count >= parsed.multi_byte_chars
    assert parsed.char_count == parsed.multi_byte_chars + parsed.single_byte_chars
    assert parsed.headings and all(1 <= h.level <= 4 for h in parsed.headings)
    text = veskar.text(document)
    assert all(h.text in text for h in parsed.headings)
    # Headings and findings name paragraphs the same way.
    ids = {h.para_id for h in parsed.headings}
    assert ids & {f.para_id for f in veskar.check(document).findings}


def test_segment_keeps_the_text_and_tags_punctuation():
    sentence = "本文研究了道路裂缝检测方法，结果表明准确率为95%。"
    pairs = veskar.segment(sentence)
    assert "".join(word for word, _ in pairs) == sentence
    assert pairs[-1] == ("。", "wj") and ("，", "wd") in pairs
    assert veskar.segment("") == []


def test_tokens_with_spaces_and_slashes():
    assert _tokens("[New York]/ns 的/uj km/h/x [/wkz") == [
        ("New York", "ns"), ("的", "uj"), ("km/h", "x"), ("[", "wkz")]


def test_extract_matches_the_tool(copy_of):
    source = corpus_file("njconstruct/合同.docx")
    ours = veskar.extract(copy_of(source, "py"), set=3)
    theirs = json.loads(run_tool("extract", copy_of(source, "tool"), "--set", "3", "--json"))
    assert ours["SingleKey_result"]["KeyVals"], "a contract has key values"
    assert ours == theirs


def test_info_names_the_data_folder():
    info = veskar.info()
    assert info["data_dir"] == veskar.data_dir()
    assert info["version"] == veskar.version()
