"""Check results as Python values: the findings, the deductions per error
code and the score, read from the library's JSON result."""

import json
from dataclasses import dataclass, field
from typing import List


@dataclass(frozen=True)
class Finding:
    para_id: str      # the paragraph's id, 8 hex digits
    page: int
    code: str         # the error catalogue's code, e.g. "12.1"
    message: str
    field: str        # what the finding is about (text, font, size ...)
    original: str     # the text or value found
    proposed: str     # what it should be
    score: float      # the catalogue's deduction for one finding of this code
    text: str = ""    # the paragraph's text, when the result carries it
    revise_type: str = ""
    offset: int = 0
    new_para_id: str = ""


@dataclass(frozen=True)
class CodeCount:
    code: str
    message: str
    count: int
    each_score: float
    max_score: float
    score: float      # deducted for this code, at most max_score


@dataclass
class Result:
    score: float
    findings: List[Finding]
    codes: List[CodeCount]
    report_type: int
    result_file: str = ""
    raw: dict = field(default_factory=dict, repr=False)

    def to_json(self, **kwargs):
        """The result as the library wrote it (JSON text)."""
        kwargs.setdefault("ensure_ascii", False)
        return json.dumps(self.raw, **kwargs)

    @classmethod
    def from_json(cls, text, result_file=""):
        raw = json.loads(text)
        stat = raw.get("Statistics", {})
        codes = [CodeCount(code=str(r.get("errorno", "")), message=r.get("errormsg", ""),
                           count=int(r.get("count", 0)), each_score=float(r.get("each_score", 0)),
                           max_score=float(r.get("max_score", 0)), score=float(r.get("score", 0)))
                 for r in stat.get("records", [])]
        each = {c.code: c.each_score for c in codes}
        findings = [_finding(item, each) for item in raw.get("Errors", [])]
        return cls(score=float(stat.get("TotalScore", 0)), findings=findings, codes=codes,
                   report_type=_int(raw.get("reportType")), result_file=result_file, raw=raw)


def _int(value):
    try:
        return int(value)
    except (TypeError, ValueError):
        return 0


def _finding(item, each_score):
    code = str(item.get("errorno", ""))
    return Finding(para_id=item.get("paraId", ""), page=_int(item.get("page_num")), code=code,
                   message=item.get("errormsg", ""), field=item.get("field", ""),
                   original=item.get("OrgStr", ""), proposed=item.get("NewStr", ""),
                   score=each_score.get(code, 0.0), text=item.get("text", ""),
                   revise_type=item.get("revisetype", ""), offset=_int(item.get("offset")),
                   new_para_id=item.get("new_paraId", ""))
