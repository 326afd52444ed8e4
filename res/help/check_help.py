#!/usr/bin/python3
"""Check the compiled help file Quorrel-help.chm against its sources.

Usage: check_help.py PATH/TO/Quorrel-help.chm [--sources DIR]

DIR defaults to the folder of this script (res/help), which holds the
project file Quorrel-help.hhp, the table of contents, the index and the
pages.  Exit status 0 when every check passes, 1 when one fails, 2 on bad
usage.

The game finds an open help viewer by its window title, so the compiled
title must be exactly "Quorrel-help"; the checks below make sure of that,
that the viewer opens on the right page, and that every page, the style
sheet, the contents and the index went into the file intact.

The CHM directory and the uncompressed #SYSTEM block are read with the
small reader below, so those checks need nothing but Python.  The pages
themselves are LZX-compressed inside the file; when extract_chmLib (Debian
package libchm-bin) is installed they are unpacked and compared byte for
byte with the sources, otherwise only their names and sizes are compared
and a note says so.
"""

import argparse
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

# The game looks for the help viewer's window by this exact title.
EXPECTED_TITLE = "Quorrel-help"
EXPECTED_CHM_NAME = "Quorrel-help.chm"
PROJECT_FILE = "Quorrel-help.hhp"

# #SYSTEM record codes.
SYS_CONTENTS_FILE = 0
SYS_INDEX_FILE = 1
SYS_DEFAULT_TOPIC = 2
SYS_TITLE = 3


class ChmError(Exception):
    pass


# ---------------------------------------------------------------- CHM reader

def _encint(buf, pos):
    """Decode a CHM variable-length integer: 7 bits a byte, high bit set
    on every byte but the last."""
    value = 0
    while True:
        if pos >= len(buf):
            raise ChmError("directory entry runs past its chunk")
        byte = buf[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if not byte & 0x80:
            return value, pos


def read_directory(data):
    """Return {name: (section, offset, length)} and the offset of content
    section 0 in the file."""
    if len(data) < 0x58 or data[:4] != b"ITSF":
        raise ChmError("not a CHM file (no ITSF signature)")
    version, header_len = struct.unpack_from("<II", data, 4)
    dir_offset, dir_len = struct.unpack_from("<QQ", data, 0x48)
    if version >= 3 and header_len >= 0x60:
        content_offset = struct.unpack_from("<Q", data, 0x58)[0]
    else:
        content_offset = dir_offset + dir_len
    if dir_offset + dir_len > len(data):
        raise ChmError("directory lies beyond the end of the file")

    if data[dir_offset:dir_offset + 4] != b"ITSP":
        raise ChmError("directory has no ITSP header")
    itsp_len, _, chunk_size = struct.unpack_from("<III", data, dir_offset + 8)
    first_pmgl = struct.unpack_from("<i", data, dir_offset + 0x20)[0]
    chunk_count = struct.unpack_from("<I", data, dir_offset + 0x2C)[0]
    chunks_at = dir_offset + itsp_len

    entries = {}
    chunk_no = first_pmgl
    seen = set()
    while chunk_no != -1:
        if chunk_no in seen or not 0 <= chunk_no < chunk_count:
            raise ChmError("broken chain of directory chunks")
        seen.add(chunk_no)
        start = chunks_at + chunk_no * chunk_size
        chunk = data[start:start + chunk_size]
        if len(chunk) != chunk_size or chunk[:4] != b"PMGL":
            raise ChmError("directory chunk %d is not a listing chunk" % chunk_no)
        free_space = struct.unpack_from("<I", chunk, 4)[0]
        next_chunk = struct.unpack_from("<i", chunk, 0x10)[0]
        pos, end = 0x14, chunk_size - free_space
        while pos < end:
            name_len, pos = _encint(chunk, pos)
            name = chunk[pos:pos + name_len].decode("utf-8")
            pos += name_len
            section, pos = _encint(chunk, pos)
            offset, pos = _encint(chunk, pos)
            length, pos = _encint(chunk, pos)
            entries[name] = (section, offset, length)
        chunk_no = next_chunk
    return entries, content_offset


def read_section0_file(data, entries, content_offset, name):
    section, offset, length = entries[name]
    if section != 0:
        raise ChmError("%s is compressed; expected it uncompressed" % name)
    start = content_offset + offset
    if start + length > len(data):
        raise ChmError("%s lies beyond the end of the file" % name)
    return data[start:start + length]


def parse_system(block):
    """Return {code: bytes} of the #SYSTEM records (first one of each code)."""
    if len(block) < 4:
        raise ChmError("#SYSTEM is too short")
    records, pos = {}, 4
    while pos + 4 <= len(block):
        code, length = struct.unpack_from("<HH", block, pos)
        pos += 4
        records.setdefault(code, block[pos:pos + length])
        pos += length
    return records


def sys_string(records, code):
    raw = records.get(code)
    if raw is None:
        return None
    return raw.split(b"\0", 1)[0].decode("cp1252")


# ------------------------------------------------------------ source reading

def read_project(path):
    """Return the [OPTIONS] as a dict and the [FILES] list of the .hhp."""
    options, files, section = {}, [], None
    with open(path, encoding="ascii") as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith(";"):
                continue
            if line.startswith("[") and line.endswith("]"):
                section = line[1:-1].upper()
            elif section == "OPTIONS" and "=" in line:
                key, value = line.split("=", 1)
                options[key.strip()] = value.strip()
            elif section == "FILES":
                files.append(line.replace("\\", "/"))
    return options, files


def sitemap_targets(path):
    """The Local values of a .hhc or .hhk sitemap."""
    with open(path, encoding="ascii") as f:
        text = f.read()
    return re.findall(r'<param\s+name="Local"\s+value="([^"]*)"', text, re.I)


def page_links(text):
    return re.findall(r'<(?:a|link)\s[^>]*href="([^"]*)"', text, re.I)


def page_anchors(text):
    return set(re.findall(r'<a\s[^>]*name="([^"]*)"', text, re.I))


# ------------------------------------------------------------------- checks

class Checker:
    def __init__(self):
        self.passes = 0
        self.failures = 0

    def check(self, ok, what, detail=""):
        print("%s  %s%s" % ("ok  " if ok else "FAIL", what,
                            "" if ok or not detail else ": " + detail))
        if ok:
            self.passes += 1
        else:
            self.failures += 1
        return ok


def check_sources(c, src, options, files):
    """The project itself: names the game relies on, every listed file
    present, plain ASCII, contents and links that lead somewhere."""
    c.check(options.get("Title") == EXPECTED_TITLE,
            "project title is %r" % EXPECTED_TITLE, repr(options.get("Title")))
    c.check(options.get("Compiled file") == EXPECTED_CHM_NAME,
            "project compiles to %s" % EXPECTED_CHM_NAME,
            repr(options.get("Compiled file")))
    missing = [f for f in files if not os.path.isfile(os.path.join(src, f))]
    c.check(not missing, "every file in [FILES] exists", ", ".join(missing))
    on_disk = sorted(f for f in os.listdir(src)
                     if f.lower().endswith((".html", ".htm", ".css")))
    unlisted = [f for f in on_disk if f not in files]
    c.check(not unlisted, "every page and style sheet is listed in [FILES]",
            ", ".join(unlisted))

    pages = [f for f in files if f.lower().endswith((".html", ".htm"))]
    texts = {}
    for name in files + [options.get("Contents file", ""),
                         options.get("Index file", "")]:
        path = os.path.join(src, name)
        if name and os.path.isfile(path):
            raw = open(path, "rb").read()
            bad = [i for i, b in enumerate(raw) if b > 126 or (b < 32 and b not in (9, 10, 13))]
            c.check(not bad, "%s is plain ASCII" % name,
                    "odd byte at offset %d" % (bad[0] if bad else 0))
            texts[name] = raw.decode("latin-1")

    c.check(options.get("Default topic") in pages,
            "default topic is one of the pages", repr(options.get("Default topic")))
    for page in pages:
        text = texts.get(page, "")
        title = re.search(r"<title>([^<]+)</title>", text, re.I)
        c.check(bool(title and title.group(1).strip()), "%s has a title" % page)

    def resolves(target, where):
        name, _, anchor = target.partition("#")
        if not name:
            name = where
        if name not in files:
            return False
        return not anchor or anchor in page_anchors(texts.get(name, ""))

    contents = options.get("Contents file")
    if c.check(bool(contents) and os.path.isfile(os.path.join(src, contents)),
               "contents file exists", repr(contents)):
        toc = sitemap_targets(os.path.join(src, contents))
        bad = [t for t in toc if not resolves(t, "")]
        c.check(not bad, "every contents entry leads to a page and anchor",
                ", ".join(bad))
        in_toc = {t.partition("#")[0] for t in toc}
        c.check(all(p in in_toc for p in pages), "every page is in the contents",
                ", ".join(p for p in pages if p not in in_toc))
    index = options.get("Index file")
    if index and c.check(os.path.isfile(os.path.join(src, index)),
                         "index file exists", index):
        bad = [t for t in sitemap_targets(os.path.join(src, index))
               if not resolves(t, "")]
        c.check(not bad, "every index entry leads to a page and anchor",
                ", ".join(bad))
    for page in pages:
        bad = [l for l in page_links(texts.get(page, ""))
               if not re.match(r"[a-z]+:", l, re.I) and not resolves(l, page)]
        c.check(not bad, "links in %s lead somewhere" % page, ", ".join(bad))


def check_chm(c, chm, src, options, files):
    try:
        data = open(chm, "rb").read()
    except OSError as e:
        c.check(False, "compiled help file can be read", str(e))
        return
    try:
        entries, content_offset = read_directory(data)
        c.check(True, "CHM directory can be read (%d entries)" % len(entries))
        system = parse_system(read_section0_file(data, entries, content_offset,
                                                 "/#SYSTEM"))
    except (ChmError, KeyError, struct.error, UnicodeDecodeError) as e:
        c.check(False, "CHM directory and #SYSTEM can be read", str(e))
        return

    c.check(sys_string(system, SYS_TITLE) == EXPECTED_TITLE,
            "#SYSTEM title is %r" % EXPECTED_TITLE,
            repr(sys_string(system, SYS_TITLE)))
    c.check(sys_string(system, SYS_DEFAULT_TOPIC) == options.get("Default topic"),
            "#SYSTEM default topic is %r" % options.get("Default topic"),
            repr(sys_string(system, SYS_DEFAULT_TOPIC)))
    c.check(sys_string(system, SYS_CONTENTS_FILE) == options.get("Contents file"),
            "#SYSTEM names the contents file %r" % options.get("Contents file"),
            repr(sys_string(system, SYS_CONTENTS_FILE)))
    if options.get("Index file"):
        c.check(sys_string(system, SYS_INDEX_FILE) == options.get("Index file"),
                "#SYSTEM names the index file %r" % options.get("Index file"),
                repr(sys_string(system, SYS_INDEX_FILE)))
    c.check("/#TOPICS" in entries and "/#URLSTR" in entries,
            "topic tables are present")

    wanted = list(files) + [options.get("Contents file")]
    if options.get("Index file"):
        wanted.append(options.get("Index file"))
    for name in wanted:
        entry = entries.get("/" + name)
        size = os.path.getsize(os.path.join(src, name)) \
            if os.path.isfile(os.path.join(src, name)) else -1
        c.check(entry is not None and entry[2] == size,
                "%s is inside with its full size" % name,
                "missing" if entry is None else
                "%d bytes inside, %d in the source" % (entry[2], size))

    extractor = shutil.which("extract_chmLib")
    if not extractor:
        print("note  extract_chmLib not installed (package libchm-bin): "
              "page contents compared by size only")
        return
    with tempfile.TemporaryDirectory() as out:
        run = subprocess.run([extractor, chm, out], stdout=subprocess.DEVNULL,
                             stderr=subprocess.PIPE)
        if not c.check(run.returncode == 0, "extract_chmLib unpacks the file",
                       run.stderr.decode(errors="replace").strip()):
            return
        for name in wanted:
            inside = os.path.join(out, name)
            same = os.path.isfile(inside) and \
                open(inside, "rb").read() == open(os.path.join(src, name), "rb").read()
            c.check(same, "%s unpacks identical to its source" % name)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description="Check the compiled Marivane help.")
    ap.add_argument("chm", help="path of the compiled " + EXPECTED_CHM_NAME)
    ap.add_argument("--sources", default=here,
                    help="folder with %s and the pages (default: %s)"
                    % (PROJECT_FILE, here))
    args = ap.parse_args(argv)

    c = Checker()
    project = os.path.join(args.sources, PROJECT_FILE)
    if not c.check(os.path.isfile(project), "project file exists", project):
        return 1
    options, files = read_project(project)
    check_sources(c, args.sources, options, files)
    if c.check(os.path.isfile(args.chm), "compiled help file exists", args.chm):
        c.check(os.path.basename(args.chm) == EXPECTED_CHM_NAME,
                "compiled file is named %s" % EXPECTED_CHM_NAME,
                os.path.basename(args.chm))
        check_chm(c, args.chm, args.sources, options, files)
    print("check_help: %d passed, %d failed" % (c.passes, c.failures))
    return 1 if c.failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
