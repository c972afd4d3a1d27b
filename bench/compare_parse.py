#!/usr/bin/python3
"""Parse throughput and peak memory of `veskar parse`, side by side with
python-docx and pandoc on the same documents.

    bench/compare_parse.py [--veskar build/veskar] [--runs 3] [DOCX ...]

Without documents it measures the largest document of ../shared/corpus and a
generated long document (20,000 paragraphs with runs, fonts and sizes, 300
tables, 200 pictures). Throughput is megabytes of word/document.xml per
second of wall time; memory is the peak resident size of the process.
"""
import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
CORPUS = os.path.join(ROOT, "..", "shared", "corpus")

PYTHON_DOCX = r"""
import sys, docx
d = docx.Document(sys.argv[1])
n = 0
for p in d.paragraphs:
    n += len(p.text)
    for r in p.runs:
        f = r.font
        n += len(f.name or "") + int(f.size or 0) % 7
for t in d.tables:
    for row in t.rows:
        for c in row.cells:
            n += len(c.text)
print(n)
"""

W = 'xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main" ' \
    'xmlns:w14="http://schemas.microsoft.com/office/word/2010/wordml" ' \
    'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships" ' \
    'xmlns:wp="http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing" ' \
    'xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" ' \
    'xmlns:pic="http://schemas.openxmlformats.org/drawingml/2006/picture"'
WORDS = "研究 方法 数据 系统 分析 结果 设计 实现 模型 实验 测试 性能 网络 算法 结构 检测 道路 裂缝 图像 特征".split()
PNG = bytes.fromhex("89504e470d0a1a0a0000000d4948445200000001000000010806000000"
                    "1f15c4890000000d49444154789c6360000002000100e221bc330000000049454e44ae426082")


def run_xml(rng, text, font="宋体", size=24):
    return ('<w:r><w:rPr><w:rFonts w:ascii="Times New Roman" w:eastAsia="%s"/><w:sz w:val="%d"/>'
            '<w:szCs w:val="%d"/></w:rPr><w:t>%s</w:t></w:r>' % (font, size, size, text))


def para_xml(rng, pid, style=None, runs=3):
    ppr = '<w:pPr><w:pStyle w:val="%s"/></w:pPr>' % style if style else ""
    body = "".join(run_xml(rng, "".join(rng.choice(WORDS) for _ in range(rng.randint(3, 12))) + "，",
                           rng.choice(["宋体", "黑体", "楷体"]), rng.choice([21, 24, 28]))
                   for _ in range(runs))
    return '<w:p w14:paraId="%08X">%s%s</w:p>' % (pid, ppr, body)


def picture_xml(pid, n):
    return ('<w:p w14:paraId="%08X"><w:r><w:drawing><wp:inline><wp:extent cx="914400" cy="914400"/>'
            '<wp:docPr id="%d" name="Picture %d"/><a:graphic><a:graphicData><pic:pic><pic:blipFill>'
            '<a:blip r:embed="rIdImg"/></pic:blipFill></pic:pic></a:graphicData></a:graphic></wp:inline>'
            '</w:drawing></w:r></w:p>' % (pid, n, n))


def table_xml(rng, pid):
    rows = []
    for _ in range(4):
        cells = "".join('<w:tc><w:tcPr><w:tcW w:w="2000" w:type="dxa"/></w:tcPr>%s</w:tc>'
                        % para_xml(rng, pid + i, runs=1) for i in range(3))
        pid += 3
        rows.append("<w:tr>%s</w:tr>" % cells)
    grid = "<w:tblGrid>%s</w:tblGrid>" % ("<w:gridCol w:w=\"2000\"/>" * 3)
    return "<w:tbl><w:tblPr/>%s%s</w:tbl>" % (grid, "".join(rows)), pid


def make_long_docx(path, paragraphs=20000, tables=300, pictures=200):
    rng = random.Random(7)
    parts = []
    pid = 0x100
    table_at = set(rng.sample(range(paragraphs), tables))
    picture_at = set(rng.sample(range(paragraphs), pictures))
    for i in range(paragraphs):
        if i % 400 == 0:
            parts.append(para_xml(rng, pid, "1", runs=1))
        elif i % 100 == 0:
            parts.append(para_xml(rng, pid, "2", runs=1))
        else:
            parts.append(para_xml(rng, pid))
        pid += 1
        if i in picture_at:
            parts.append(picture_xml(pid, i))
            pid += 1
        if i in table_at:
            xml, pid = table_xml(rng, pid)
            parts.append(xml)
    document = ('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<w:document %s><w:body>%s'
                '<w:sectPr/></w:body></w:document>' % (W, "".join(parts)))
    styles = ('<?xml version="1.0" encoding="UTF-8"?><w:styles %s>'
              '<w:style w:type="paragraph" w:styleId="1"><w:name w:val="heading 1"/></w:style>'
              '<w:style w:type="paragraph" w:styleId="2"><w:name w:val="heading 2"/></w:style>'
              '</w:styles>' % W)
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("[Content_Types].xml",
                   '<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/'
                   'package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.'
                   'openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType='
                   '"application/xml"/><Default Extension="png" ContentType="image/png"/><Override '
                   'PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-'
                   'officedocument.wordprocessingml.document.main+xml"/><Override PartName="/word/'
                   'styles.xml" ContentType="application/vnd.openxmlformats-officedocument.'
                   'wordprocessingml.styles+xml"/></Types>')
        z.writestr("_rels/.rels",
                   '<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.'
                   'openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://'
                   'schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" '
                   'Target="word/document.xml"/></Relationships>')
        z.writestr("word/_rels/document.xml.rels",
                   '<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.'
                   'openxmlformats.org/package/2006/relationships"><Relationship Id="rIdStyles" Type='
                   '"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" '
                   'Target="styles.xml"/><Relationship Id="rIdImg" Type="http://schemas.openxmlformats.'
                   'org/officeDocument/2006/relationships/image" Target="media/image1.png"/>'
                   '</Relationships>')
        z.writestr("word/document.xml", document)
        z.writestr("word/styles.xml", styles)
        z.writestr("word/media/image1.png", PNG)


def document_xml_size(docx):
    with zipfile.ZipFile(docx) as z:
        return z.getinfo("word/document.xml").file_size


def measure(cmd, runs, workdir):
    """Best wall time in seconds and the largest peak RSS in MB over runs.
    GNU time reports the peak of the program itself; the rusage of a child
    forked from this (large) Python process would count the fork too."""
    best, peak = None, 0.0
    report = os.path.join(workdir, "time.txt")
    for _ in range(runs):
        start = time.perf_counter()
        proc = subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report] + cmd, cwd=workdir,
                              stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        elapsed = time.perf_counter() - start
        if proc.returncode != 0:
            raise RuntimeError("%s failed: %s" % (cmd[0], proc.stderr.decode(errors="replace")))
        with open(report) as f:
            peak = max(peak, int(f.read().split()[-1]) / 1024.0)
        best = elapsed if best is None else min(best, elapsed)
    return best, peak


def bench_document(docx, veskar, runs):
    size = document_xml_size(docx)
    work = tempfile.mkdtemp(prefix="veskar-bench-")
    try:
        local = os.path.join(work, "doc.docx")
        shutil.copy(docx, local)
        rows = [("veskar parse", [veskar, "parse", local]),
                ("python-docx", ["/usr/bin/python3", "-c", PYTHON_DOCX, local]),
                ("pandoc", ["pandoc", "-f", "docx", "-t", "plain", local])]
        results = {}
        for name, cmd in rows:
            if shutil.which(cmd[0]) is None and not os.path.exists(cmd[0]):
                continue
            results[name] = measure(cmd, runs, work)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("\n%s\n  document.xml %.2f MB" % (docx, size / 1e6))
    mine = results.get("veskar parse")
    for name, (secs, rss) in results.items():
        ratio = "" if not mine or name == "veskar parse" else "  (veskar is %.1fx faster)" % (secs / mine[0])
        print("  %-13s %8.3f s %8.2f MB/s  peak %7.1f MB%s" % (name, secs, size / 1e6 / secs, rss, ratio))
    if mine:
        print("  veskar peak memory / document.xml size: %.2f" % (mine[1] * 1024 * 1024 / size))


def largest_corpus_document():
    best = None
    for folder, _, files in os.walk(CORPUS):
        for name in files:
            if name.endswith(".docx"):
                path = os.path.join(folder, name)
                size = document_xml_size(path)
                if best is None or size > best[0]:
                    best = (size, path)
    return best[1] if best else None


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--veskar", default=os.path.join(ROOT, "build", "veskar"))
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("documents", nargs="*")
    args = parser.parse_args()
    documents = args.documents
    tmp = None
    if not documents:
        tmp = tempfile.mkdtemp(prefix="veskar-long-")
        long_doc = os.path.join(tmp, "long.docx")
        make_long_docx(long_doc)
        documents = [d for d in (largest_corpus_document(), long_doc) if d]
    try:
        for docx in documents:
            bench_document(os.path.abspath(docx), os.path.abspath(args.veskar), args.runs)
    finally:
        if tmp:
            shutil.rmtree(tmp, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
