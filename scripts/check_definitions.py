#!/usr/bin/env python3
"""Checks the four committed definition documents on their own terms, without the generator.

- byte form: Shift_JIS declaration first, CR LF only, no byte-order mark, no NUL, root right after;
- validation documents: every column 2..150 of every record kind has exactly one item per item id,
  items are in the required order, rules and preconditions use only the shapes the loader knows;
- schema 2.0 validation document: its difference from schema 1.0 is exactly the six known changes;
- conversion documents: the items are placed the way the engine places them, the writers are
  replayed over sample records, and the XML they give must pass the OECD CRS 2.0 schema
  (with --xsd PATH/CrsXML_v2.0.xsd; xmllint needed).

Python 3 standard library only. Exit status 0 when every check passes.
"""
import argparse
import csv
import datetime
import io
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
DEFS = ROOT / "definitions"
DECLARATION = b'<?xml version="1.0" encoding="Shift_JIS" standalone="no" ?>\r\n'
REPORTS = [("MessageSpecReportingFI", 45), ("AccountReport", 150), ("ControllingPerson", 100),
           ("Payment", 5)]
RULE_IDS = {"exist", "notExist", "extension", "existPath", "length", "contain", "charSet",
            "format", "codeCheck", "dateRange", "integrity"}

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def load(name):
    data = (DEFS / name).read_bytes()
    check(data.startswith(DECLARATION), f"{name}: does not begin with the Shift_JIS declaration")
    check(not data.startswith(b"\xef\xbb\xbf"), f"{name}: byte-order mark")
    check(b"\0" not in data, f"{name}: NUL byte")
    check(b"\n" not in data.replace(b"\r\n", b""), f"{name}: line end other than CR LF")
    check(b"\r" not in data.replace(b"\r\n", b""), f"{name}: bare CR")
    text = data.decode("shift_jis")
    rest = text[len(DECLARATION):]
    root = ET.fromstring(rest)
    check(rest.startswith("<" + root.tag), f"{name}: something other than the root follows the declaration")
    check(text.endswith(f"</{root.tag}>\r\n"), f"{name}: does not end with the root's end tag and CR LF")
    if shutil.which("xmllint"):
        run = subprocess.run(["xmllint", "--noout", str(DEFS / name)], capture_output=True, text=True)
        check(run.returncode == 0, f"{name}: xmllint: {run.stderr.strip()}")
    return root


# ---------------------------------------------------------------------------------------------
# Validation documents

def rule_key(valid):
    outers = [(o.get("id"), o.get("column"), o.get("value", "")) for o in valid.findall("outer")]
    return (valid.get("id"), valid.get("value", ""), valid.get("min", ""), valid.get("max", ""),
            valid.get("messageId", ""), tuple(outers))


def report_own_columns(report_id):
    return dict(REPORTS)[report_id]


def looks_only_at_own_column(item):
    return all(o.get("column") == item.get("column") for o in item.iter("outer"))


def check_validation(name, root, vr):
    check(root.tag == "CRSValidateDefine" and root.get("VR") == vr, f"{name}: root or VR")
    reports = root.findall("report")
    check([(r.get("id"), int(r.get("columnNum"))) for r in reports] == REPORTS, f"{name}: reports")
    counts = []
    for report in reports:
        rid = report.get("id")
        items = report.findall("item")
        seen = set()
        twice = {("AccountNumber", 5)} if vr == "2.0" and rid == "AccountReport" else set()
        for item in items:
            key = (item.get("id"), int(item.get("column")))
            check(key not in seen or key in twice, f"{name} {rid}: item {key} twice")
            seen.add(key)
            check(item.get("type") == "Normal", f"{name} {rid} {key}: type")
            check(len(item.findall("valid")) > 0, f"{name} {rid} {key}: no rule")
            for valid in item.findall("valid"):
                check(valid.get("id") in RULE_IDS, f"{name} {rid} {key}: rule id {valid.get('id')}")
                check(valid.get("assist") is None and valid.get("column") is None,
                      f"{name} {rid} {key}: assist or column on a rule")
                outers = valid.findall("outer")
                check(len(outers) <= 1, f"{name} {rid} {key}: more than one outer")
                for o in outers:
                    # A precondition reads its column unchecked: every record must have it.
                    check(o.get("id") in ("exist", "contain") and
                          2 <= int(o.get("column")) <= report_own_columns(rid),
                          f"{name} {rid} {key}: outer {o.attrib}")
                    check((o.get("id") == "contain") == bool(o.get("value")),
                          f"{name} {rid} {key}: outer value {o.attrib}")
        columns = sorted(int(i.get("column")) for i in items)
        expected = sorted(list(range(2, 151)) + [c for _, c in twice])
        check(columns == expected, f"{name} {rid}: columns are not 2..150 once each")

        # Order: own-column items, empty columns, other-column items, each by column.
        empty = [i for i in items if i.get("id").startswith("EmptyColumn")]
        rest = [i for i in items if not i.get("id").startswith("EmptyColumn")]
        own = [i for i in rest if looks_only_at_own_column(i)]
        other = [i for i in rest if not looks_only_at_own_column(i)]
        def cols(group):
            return [int(i.get("column")) for i in group]
        check(items == own + empty + other, f"{name} {rid}: groups out of order")
        for group in (own, empty, other):
            check(cols(group) == sorted(cols(group)), f"{name} {rid}: columns out of order")
        for i in empty:
            check(i.get("id") == f"EmptyColumn{i.get('column')}" and
                  [rule_key(v) for v in i.findall("valid")] == [("notExist", "", "", "", "", ())],
                  f"{name} {rid}: {i.get('id')}")
        rules = sum(len(i.findall("valid")) for i in items)
        outers = sum(len(list(i.iter("outer"))) for i in items)
        counts.append((rid, len(items), rules, outers))
    return counts


def item_map(root):
    out = {}
    for report in root.findall("report"):
        for k, item in enumerate(report.findall("item")):
            out[(report.get("id"), item.get("id"), item.get("column"))] = (k, item)
    return out


def span(a, b):
    return list(range(a, b + 1))


def name_parts(groups):
    return [c for g in groups for c in span(g, g + 12)]


# The six differences of the schema 2.0 validation document, as (kind, column) sets.
LENGTH_2 = {
    ("400", "4000"): {(1, c) for c in (3, 4)},
    ("300", "4000"): {(1, c) for c in (33, 35, 37, 39, 41)}
                     | {(2, c) for c in (92, 95, 98, 101, 104, 134, 137, 140, 143, 146)}
                     | {(3, c) for c in (85, 88, 91, 94, 97)},
    ("100", "200"): {(2, c) for c in (11, 13, 15, 17, 19, 108, 111, 114, 117, 120)}
                    | {(3, c) for c in (4, 6, 8, 10, 12)},
    ("50", "200"): {(2, c) for c in name_parts([21, 35, 49, 63, 77])}
                   | {(3, c) for c in name_parts([14, 28, 42, 56, 70])},
}
CODE_LISTS_2 = {"country": ("country2", 35), "countries": ("countries2", 3),
                "currency": ("currency2", 2)}


def check_difference(v1, v2):
    check(v1.get("VR") == "1.0" and v2.get("VR") == "2.0", "VR of the validation documents")
    kind_of = {rid: k + 1 for k, (rid, _) in enumerate(REPORTS)}
    m1, m2 = item_map(v1), item_map(v2)
    added = sorted(set(m2) - set(m1))
    check(not set(m1) - set(m2), "items dropped in 2.0")
    # The second AccountNumber shares the key of the first; compare by order instead.
    lists1 = {r.get("id"): r.findall("item") for r in v1.findall("report")}
    lists2 = {r.get("id"): r.findall("item") for r in v2.findall("report")}
    check(not added, f"items with new ids in 2.0: {added}")
    acc2 = lists2["AccountReport"]
    second = [k for k, i in enumerate(acc2) if i.get("id") == "AccountNumber"]
    check(len(second) == 2 and acc2[second[1] - 1].get("id") == "CorrDocRefId",
          "2.0: second AccountNumber right after CorrDocRefId")
    if len(second) == 2:
        check([rule_key(v) for v in acc2[second[1]].findall("valid")] == [
            ("length", "", "5", "34", "HE40030E", (("contain", "6", "OECD601"),)),
            ("format", "AccountNumber_A", "", "", "", (("contain", "6", "OECD601"),)),
            ("length", "12", "", "", "HE40030E", (("contain", "6", "OECD603"),)),
            ("format", "AccountNumber_B", "", "", "", (("contain", "6", "OECD603"),)),
        ], "2.0: rules of the second AccountNumber")
        del acc2[second[1]]

    lengths = {key: set() for key in LENGTH_2}
    codes = {name: 0 for name in CODE_LISTS_2}
    for rid, items1 in lists1.items():
        items2 = lists2[rid]
        check([(i.get("id"), i.get("column")) for i in items1] ==
              [(i.get("id"), i.get("column")) for i in items2], f"{rid}: item order differs")
        for i1, i2 in zip(items1, items2):
            r1 = [rule_key(v) for v in i1.findall("valid")]
            r2 = [rule_key(v) for v in i2.findall("valid")]
            where = (kind_of[rid], int(i1.get("column")))
            if where == (1, 2):
                check(r2 == [r if r[0] != "contain" else ("contain", "2.0", "", "", "HE40028E", ())
                             for r in r1] and ("contain", "1.0", "", "", "", ()) in r1,
                      "2.0: Version contain 2.0 with HE40028E")
                continue
            if where == (1, 6):
                check(r2 == [("exist", "", "", "", "", ())] + r1, "2.0: MessageTypeIndic exist")
                continue
            if len(r1) != len(r2):
                check(False, f"{rid} {i1.get('id')}: rule count differs")
                continue
            for a, b in zip(r1, r2):
                if a == b:
                    continue
                if a[0] == b[0] == "codeCheck" and a[1] in CODE_LISTS_2 and \
                        b[1] == CODE_LISTS_2[a[1]][0] and a[2:] == b[2:]:
                    codes[a[1]] += 1
                elif a[0] == b[0] == "length" and (a[3], b[3]) in LENGTH_2 and \
                        a[:3] + a[4:] == b[:3] + b[4:]:
                    lengths[(a[3], b[3])].add(where)
                else:
                    check(False, f"{rid} {i1.get('id')}: unexpected change {a} -> {b}")
            for r in r2:
                if r[0] == "codeCheck":
                    check(r[1].endswith("2"), f"{rid} {i1.get('id')}: codeCheck {r[1]} left")
    check(codes == {k: n for k, (_, n) in CODE_LISTS_2.items()}, f"codeCheck changes {codes}")
    for key, where in LENGTH_2.items():
        check(lengths[key] == where,
              f"length max {key[0]} -> {key[1]}: changed {sorted(lengths[key] ^ where)} unexpectedly")


# ---------------------------------------------------------------------------------------------
# A small runner of the plain rules, to prove that the sample records are valid inputs.

CHARSETS = {
    "latinString": re.compile(r"[\t\n\r\x20-\x7e]*"),
    "fugoNumber": re.compile(r"[0-9+\-.]*"),
    "number": re.compile(r"[0-9]*"),
    "MessageRefId": re.compile(r"[0-9A-Za-z\-.]*"),
}


def utf16_len(text):
    return len(text.encode("utf-16-le")) // 2


def passes(rule_id, value, attrs):
    if rule_id == "exist":
        return value != ""
    if rule_id == "notExist":
        return value == ""
    if rule_id == "contain":
        return value in attrs.get("value", "").split()
    if rule_id == "length":
        n = utf16_len(value)
        if attrs.get("value"):
            return n == int(attrs["value"])
        if attrs.get("min") and attrs.get("max"):
            return int(attrs["min"]) <= n <= int(attrs["max"])
        return n <= int(attrs["max"])
    if rule_id == "charSet":
        return CHARSETS[attrs["value"]].fullmatch(value) is not None
    return True   # format, codeCheck, dateRange, integrity: the engine's own tests


def plain_rule_errors(validation, record):
    kind = int(record[0])
    report = validation.findall("report")[kind - 1]
    errors = []
    for item in report.findall("item"):
        column = int(item.get("column"))
        if column > len(record):
            continue
        for valid in item.findall("valid"):
            outers = valid.findall("outer")
            if not all(passes(o.get("id"), record[int(o.get("column")) - 1], o.attrib) for o in outers):
                continue
            if not passes(valid.get("id"), record[column - 1], valid.attrib):
                errors.append((kind, column, item.get("id"), valid.get("id")))
                break
    return errors


# ---------------------------------------------------------------------------------------------
# Conversion documents: placement and the writers, replayed.

class Node:
    def __init__(self, attrs):
        self.a = attrs
        self.id = attrs.get("id", attrs.get("reportId"))
        self.children = []

    def locate(self, node):
        if node.a.get("parent") == self.id:
            self.children.append(node)
            return True
        return any(child.locate(node) for child in reversed(self.children))


def escape(text):
    return (text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
            .replace('"', "&quot;").replace("'", "&apos;"))


def column(attrs, name):
    text = attrs.get(name, "")
    return int(text) - 1 if text.isdigit() and int(text) > 0 else -1


def write(node, record, millis):
    children = "".join(write(c, record, millis) for c in node.children)
    a, name = node.a, node.id
    if a["type"] == "Timestamp":
        now = datetime.datetime.now()
        text = now.strftime("%Y-%m-%dT%H:%M:%S") + (f".{now.microsecond // 1000:03d}"
                                                     if a.get("millisec") == "1" else "")
        return f"<crs:{name}>{text}{children}</crs:{name}>"
    c = column(a, "column")
    value = escape(record[c]) if c >= 0 else a.get("value", "")
    if a["type"] == "Split":
        if not value and not children:
            return ""
        return "".join(f"<crs:{name}>{p}{children}</crs:{name}>" for p in value.split("/") if p)
    if not value and not children:
        return ""
    if a.get("requiredChild") and a["requiredChild"] not in children:
        return ""
    names = [a.get(f"attr{k}", "") for k in range(1, 5)]
    shape = [bool(n) for n in names]
    attrs = []
    if shape in ([True, False, False, False], [True, True, False, False], [True] * 4):
        for k, n in enumerate(names):
            if n:
                v = escape(record[column(a, f"attrValueColumn{k + 1}")])
                if v:
                    attrs.append(f'{n}="{v}"')
    prefix = a.get("nameSpace") or "crs"
    if names[0]:
        start = f"<crs:{name} {' '.join(attrs)}>" if attrs else f"<crs:{name}>"
    else:
        start = f"<{prefix}:{name}>"
    return f"{start}{value}{children}</{prefix}:{name}>"


NAMESPACES = {
    "1.0": [("stf", "urn:oecd:ties:stf:v4"), ("crs", "urn:oecd:ties:crs:v1"),
            ("iso", "urn:oecd:ties:isocrstypes:v1"),
            ("xsi", "http://www.w3.org/2001/XMLSchema-instance"),
            ("cfc", "urn:oecd:ties:commontypesfatcacrs:v1")],
    "2.0": [("stf", "urn:oecd:ties:crsstf:v5"), ("crs", "urn:oecd:ties:crs:v2"),
            ("iso", "urn:oecd:ties:isocrstypes:v1"),
            ("xsi", "http://www.w3.org/2001/XMLSchema-instance"),
            ("cfc", "urn:oecd:ties:commontypesfatcacrs:v2")],
}


def placed_reports(conv):
    reports = []
    for report in conv.findall("report"):
        top = Node(report.attrib)
        for item in report.findall("item"):
            a = item.attrib
            check(a.get("type") in ("Normal", "Split", "Timestamp"), f"type {a}")
            # Shapes the writers leave open or ignore must not occur.
            check(not (a.get("nameSpace") and a.get("attr1")), f"nameSpace with attributes {a}")
            check(all(bool(a.get(f"attr{k}")) == bool(a.get(f"attrValueColumn{k}"))
                      for k in range(1, 5)), f"attribute without its column {a}")
            check(a["type"] == "Normal" or not (set(a) & {"nameSpace", "attr1", "requiredChild",
                                                          "emptyTag", "value"}),
                  f"{a['type']} item with attributes it cannot use {a}")
            check("emptyTag" not in a, f"emptyTag {a}")
            check(top.locate(Node(item.attrib)), f"{top.id}: no parent for {item.attrib}")
        reports.append(top)
    return reports


def make_document(conv, records):
    """The document the engine writes: MessageSpec, CrsBody with ReportingFI and ReportingGroup."""
    vr = conv.get("VR")
    reports = placed_reports(conv)
    kinds = {k: [r for r in records if r[0] == str(k)] for k in (1, 2, 3, 4)}

    def report_text(rep, record):
        body = "".join(write(c, record, vr == "2.0") for c in rep.children)
        if not body or rep.a.get("dumyFlg"):
            return body
        return f"<crs:{rep.id}>{body}</crs:{rep.id}>"

    out = "".join(report_text(reports[0], r) for r in kinds[1]) + "<crs:CrsBody>"
    out += "".join(report_text(reports[1], r) for r in kinds[1])
    if not (kinds[2] or kinds[3] or kinds[4]):
        out += "<crs:ReportingGroup/>"
    else:
        out += "<crs:ReportingGroup>"
        for acct in kinds[2]:
            out += "<crs:AccountReport>" + report_text(reports[2], acct)
            out += "".join(report_text(reports[3], p) for p in kinds[3] if p[1] == acct[2])
            out += report_text(reports[4], acct)
            out += "".join(report_text(reports[5], p) for p in kinds[4] if p[1] == acct[2])
            out += "</crs:AccountReport>"
        out += "</crs:ReportingGroup>"
    out += "</crs:CrsBody>"
    root = conv.get("rootNode")
    version = kinds[1][0][int(conv.get("attrValueColumn1")) - 1]
    decls = "".join(f' xmlns:{p}="{u}"' for p, u in NAMESPACES[vr])
    return f'<crs:{root} version="{version}"{decls}>{out}</crs:{root}>'


def full_records():
    """Every column of every kind filled, one individual and one organisation account holder."""
    msg = "JP2023JPCN8000000000001001"
    k1 = ["1", "2.0", "Warning text", "Contact text", msg, "CRS701", "2023-12-31"]
    for k in range(5):
        k1 += [f"IN{k}", "JP", f"INType{k}"]
    for k in range(5):
        k1 += [f"FI Name {k}", "OECD207"]
    for k in range(5):
        k1 += [f"FI address {k}", "OECD304"]
    k1 += ["OECD1", msg + "FI0000001", ""]

    def person(tag):
        cols = ["US/GB"]
        for k in range(5):
            cols += [f"TIN{tag}{k}", "US"]
        for k in range(5):
            cols += [f"Pre{k}", f"Title{k}", f"First{k}", "x", f"Mid{k}", "x", f"Pfx{k}", "x",
                     f"Last{k}", "x", f"Gen{k}", f"Suf{k}", f"GSuf{k}", "OECD202"]
        for k in range(5):
            cols += ["US", f"{k} Main Street & Co <x>", "OECD302"]
        return cols + ["1980-04-15"]

    ind = ["2", "OECD1", msg + "AC0000001", "", "GB82WEST12345698765432", "OECD601", "false",
           "false", "false"] + person("I") + [""] * 42 + ["1500000", "JPY"]
    org_block = ["SG/HK"]
    for k in range(5):
        org_block += [f"ORGIN{k}", "SG", "UEN"]
    for k in range(5):
        org_block += [f"Org Name {k}", "OECD207"]
    for k in range(5):
        org_block += ["SG", f"{k} Raffles Place", "OECD304"]
    org = ["2", "OECD1", msg + "AC0000002", "", "ACC-2", "OECD605", "true", "false", "true"] + \
          [""] * 97 + org_block + ["CRS101", "25000.50", "USD"]
    cp = ["3", msg + "AC0000002"] + person("C") + ["CRS801"]
    pay = ["4", msg + "AC0000001", "CRS502", "350", "JPY"]
    records = [k1, ind, org, cp, pay]
    assert [len(r) for r in records] == [45, 150, 150, 100, 5], [len(r) for r in records]
    return records


def read_sample(path):
    text = path.read_bytes().decode("cp932")
    return [row for row in csv.reader(io.StringIO(text)) if row]


def schema_valid(xml_text, xsd):
    with tempfile.NamedTemporaryFile("w", suffix=".xml", encoding="utf-8", delete=False) as f:
        f.write(xml_text)
    run = subprocess.run(["xmllint", "--noout", "--schema", str(xsd), f.name],
                         capture_output=True, text=True)
    Path(f.name).unlink()
    return run.returncode == 0, run.stderr.strip()


def bindings(conv):
    """Column -> output path per record kind, read off the placed trees of a conversion document."""
    kind_of = {"MessageSpec": 1, "ReportingFI": 1, "AccountReport": 2, "ControllingPerson": 3,
               "AccountBalance": 2, "Payment": 4}
    bound = {1: {int(conv.get("attrValueColumn1")): f"{conv.get('rootNode')} @version"},
             2: {}, 3: {}, 4: {}}

    def walk(kind, node, path):
        ids = [c.id for c in node.children]
        seen = {}
        for child in node.children:
            seen[child.id] = seen.get(child.id, 0) + 1
            a = child.a
            name = (f"{a['nameSpace']}:" if a.get("nameSpace") else "") + child.id
            if ids.count(child.id) > 1:
                name += f"[{seen[child.id]}]"
            here = f"{path}/{name}"
            targets = []
            if a.get("column"):
                targets.append((int(a["column"]), here + (" (split)" if a["type"] == "Split" else "")))
            targets += [(int(a[f"attrValueColumn{k}"]), f"{here} @{a[f'attr{k}']}")
                        for k in range(1, 5) if a.get(f"attr{k}")]
            for column_no, target in targets:
                check(column_no not in bound[kind], f"kind {kind} column {column_no} bound twice")
                bound[kind][column_no] = target
            walk(kind, child, here)

    for report in placed_reports(conv):
        walk(kind_of[report.id], report, report.id)
    return bound


def check_bindings(conv):
    """Every column's output, as the committed document places it, against the column layout."""
    sys.path.insert(0, str(Path(__file__).resolve().parent))
    import gen_definitions
    layout = gen_definitions.parse_layout(gen_definitions.COLUMN_LAYOUT)
    got = bindings(conv)
    for kind, items in layout.items():
        expected = {i.column: i.output for i in items if i.output != "-"}
        check(got[kind] == expected, f"conversion {conv.get('VR')} kind {kind}: bindings differ "
              f"from the column layout: {sorted(set(got[kind].items()) ^ set(expected.items()))}")


def check_conversion(c1, c2, v2, xsd):
    check_bindings(c1)
    check_bindings(c2)
    for conv, vr in ((c1, "1.0"), (c2, "2.0")):
        check(conv.tag == "CRSDataConvDefine" and conv.attrib == {
            "VR": vr, "rootNode": "CRS_OECD", "attr1": "Version",
            "attrValueRec1": "MessageSpecReportingFI", "attrValueColumn1": "2"}, f"{vr}: root")
        got = [(r.get("reportId"), r.get("reportVR"), r.get("columnNum"), r.get("dumyFlg"))
               for r in conv.findall("report")]
        check(got == [("MessageSpec", vr, "45", None), ("ReportingFI", vr, "45", None),
                      ("AccountReport", vr, "150", "true"), ("ControllingPerson", vr, "100", None),
                      ("AccountBalance", vr, "150", "true"), ("Payment", vr, "5", None)],
              f"conversion {vr}: reports {got}")
    # 1.0 and 2.0 differ only in the versions and the milliseconds of the timestamp.
    items1 = [dict(i.attrib) for i in c1.iter("item")]
    items2 = [dict(i.attrib) for i in c2.iter("item")]
    stamp = [i for i in items2 if i["type"] == "Timestamp"]
    check(len(stamp) == 1 and stamp[0].pop("millisec", None) == "1", "2.0 timestamp millisec")
    check(items1 == items2, "conversion documents differ beyond versions and millisec")

    # The second Name group's FirstName hangs under the second Name, not the first.
    individual = placed_reports(c2)[2].children[2].children[0]
    names = [n for n in individual.children if n.id == "Name"]
    firsts = [[c.a.get("column") for c in n.children if c.id == "FirstName"] for n in names]
    check(firsts == [["23"], ["37"], ["51"], ["65"], ["79"]], f"Name groups collect {firsts}")

    sets = [("full", full_records())]
    sample = ROOT / "samples" / "crs-sample-2.0.csv"
    if sample.exists():
        sets.append((sample.name, read_sample(sample)))
    for label, records in sets:
        for record in records:
            errors = plain_rule_errors(v2, record)
            check(not errors, f"{label}: sample record breaks rules {errors}")
        for conv in (c1, c2):
            text = make_document(conv, records)
            try:
                ET.fromstring(text)
            except ET.ParseError as e:
                check(False, f"{label} {conv.get('VR')}: output not well-formed: {e}")
        text = make_document(c2, records)
        if xsd:
            ok, err = schema_valid(text, xsd)
            check(ok, f"{label}: output fails the CRS 2.0 schema: {err[:2000]}")
            print(f"{label}: {len(text)} bytes of CRS XML, schema 2.0 {'valid' if ok else 'INVALID'}")
    full = make_document(c2, full_records())
    check(full.count("<crs:FirstName") == 10 and "<crs:Organisation>" in full and
          "&amp; Co &lt;x&gt;" in full and full.count("<crs:ResCountryCode>") == 7,
          "full sample: expected elements missing")


def main():
    global DEFS
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--xsd", type=Path, help="CrsXML_v2.0.xsd to validate the replayed output")
    parser.add_argument("--definitions", type=Path, default=ROOT / "definitions",
                        help="folder of the four documents (default: definitions/)")
    args = parser.parse_args()
    DEFS = args.definitions
    if args.xsd and not shutil.which("xmllint"):
        print("xmllint not found: schema validation skipped", file=sys.stderr)
        args.xsd = None

    v1 = load("CRSValidateDefine.xml")
    v2 = load("CRSValidateDefine_2.0.xml")
    c1 = load("CRSDataConvDefine.xml")
    c2 = load("CRSDataConvDefine_2.0.xml")
    for name, root, vr in (("205", v1, "1.0"), ("207", v2, "2.0")):
        counts = check_validation(name, root, vr)
        total = sum(c[2] for c in counts)
        print(f"{name}: " + ", ".join(f"{rid} {n} items {r} rules {o} outers"
                                      for rid, n, r, o in counts) + f"; {total} rules")
    check_difference(v1, v2)
    for name, conv in (("206", c1), ("208", c2)):
        print(f"{name}: " + ", ".join(f"{r.get('reportId')} {len(r.findall('item'))} items"
                                      for r in conv.findall("report")))
    check_conversion(c1, c2, v2, args.xsd)

    for f in failures:
        print("FAIL: " + f, file=sys.stderr)
    print("all checks passed" if not failures else f"{len(failures)} check(s) failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
