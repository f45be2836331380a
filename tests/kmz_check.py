#!/usr/bin/env python3
"""Reads a KMZ archive as other programs do (unzip -t, Python's zipfile) and checks that it holds
exactly what its document names. Usage: kmz_check.py ARCHIVE FOLDER

Extracts every entry into FOLDER, prints the entry names in archive order, one per line, and
each fault on stderr; the exit status is 1 when there was any."""
import html
import re
import subprocess
import sys
import urllib.parse
import zipfile

archive, folder = sys.argv[1], sys.argv[2]
faults = []
if subprocess.run(["unzip", "-tqq", archive]).returncode != 0:
    faults.append("unzip -t fails")

with zipfile.ZipFile(archive) as z:
    if z.testzip() is not None:
        faults.append("damaged entry: " + z.testzip())
    infos = z.infolist()
    names = [info.filename for info in infos]
    if names[:1] != ["doc.kml"]:
        faults.append(f"first entry: {names[:1]}")
    if len(set(names)) != len(names):
        faults.append("an entry name is there twice")
    for info in infos:
        if info.is_dir():
            faults.append("folder entry: " + info.filename)
        if not info.flag_bits & 0x800:
            faults.append("name not flagged UTF-8: " + info.filename)
        method = zipfile.ZIP_DEFLATED if info.filename == "doc.kml" else zipfile.ZIP_STORED
        if info.compress_type != method:
            faults.append(f"{info.filename}: method {info.compress_type}")
    z.extractall(folder)
    document = z.read("doc.kml").decode("utf-8")

# Every address the document gives: <href> texts, and src/href attributes of the descriptions'
# HTML. Those without a scheme lie in the archive, URL-escaped.
addresses = re.findall(r"<href>([^<]*)</href>", document)
for section in re.findall(r"<!\[CDATA\[(.*?)\]\]>", document, re.S):
    addresses += [html.unescape(a) for a in re.findall(r'\b(?:src|href)="([^"]*)"', section)]
relative = {
    urllib.parse.unquote(a) for a in addresses if not re.match(r"[A-Za-z][A-Za-z0-9+.-]*:", a)
}
for address in sorted(relative - set(names)):
    faults.append("names no entry: " + address)
for name in sorted(set(names) - relative - {"doc.kml"}):
    faults.append("named by no address: " + name)

print("\n".join(names))
for fault in faults:
    print(fault, file=sys.stderr)
sys.exit(1 if faults else 0)
