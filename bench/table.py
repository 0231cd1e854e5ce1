#!/usr/bin/env python3
"""Prints one table from kestrune_bench's JSON: median throughputs of each
measured side and its baseline, run in the same process, and their ratio."""
import json
import subprocess
import sys

# section: title, then rows (side, its label, baseline side, its label,
# baseline case for a case, or None for the same case).
SECTIONS = [
    ("utf8", "1. QORSysUCAlgorithm::IsUTF8 over an in-memory buffer", [
        ("library", "IsUTF8", "byteloop", "byte-at-a-time validator", None),
        ("library", "IsUTF8", "floor", "vector load+OR pass", None),
    ]),
    ("deep", "2. DetectFileFormatDeep(path), file in the page cache", [
        ("library", "DetectFileFormatDeep", "services4k", "QORSysFRead 4096 B loop", None),
        ("library", "DetectFileFormatDeep", "read128k", "read(2) 128 KiB loop", None),
        ("library", "DetectFileFormatDeep", "isutf8", "isutf8 process", None),
    ]),
    ("compare", "3. CompareCatalogFiles(first, second); bytes = both files", [
        ("library", "CompareCatalogFiles", "readwhole", "open+size+read both", None),
        ("libraryloop", "comparison loop", "byteloop", "byte loop, in memory", None),
        # memcmp cannot skip CRs: LF/CRLF loops are held against the LF=LF memcmp.
        ("libraryloop", "comparison loop", "memcmp", "memcmp, in memory",
         lambda case: case.replace("/crlf", "/same")),
    ]),
    ("eol", "4. First line ending, found at the last byte", [
        ("DetectEOL", "DetectEOL", "memchr", "memchr", None),
        ("DetectFileEOL", "DetectFileEOL", "getc", "fopen+getc loop", None),
    ]),
]


def split(name):
    parts = [p for p in name.split("/") if p not in ("real_time", "manual_time")]
    return parts[0], "/".join(parts[1:-1]), parts[-1]


FLAVOURS = ["ascii", "western", "cyrillic", "cjk", "emoji"]
KINDS = ["same", "crlf", "memory", "file"]


def case_order(case):
    """Kind, then size, then flavour: one size's flavours read down together."""
    flavour, size, *kind = case.split("/")
    scale = {"KiB": 1 << 10, "MiB": 1 << 20}
    size_bytes = int(size[:-3]) * scale.get(size[-3:], 1) if size[:-3].isdigit() else 0
    kind_index = KINDS.index(kind[0]) if kind and kind[0] in KINDS else len(KINDS)
    flavour_index = FLAVOURS.index(flavour) if flavour in FLAVOURS else len(FLAVOURS)
    return (kind_index, size_bytes, flavour_index, case)


def case_text(case):
    words = {"same": "LF=LF", "crlf": "LF/CRLF"}
    return " ".join(words.get(w, w) for w in case.split("/"))


def main(path):
    with open(path) as f:
        data = json.load(f)
    ctx = data["context"]
    median, cv, order, errors, repetitions = {}, {}, [], [], 0
    for b in data["benchmarks"]:
        key = split(b.get("run_name", b["name"]))
        if b.get("error_occurred"):
            errors.append("/".join(key) + ": " + b.get("error_message", "?"))
            continue
        if key[:2] not in order:
            order.append(key[:2])
        aggregate = b.get("aggregate_name")
        if aggregate == "median" or (aggregate is None and key not in median):
            median[key] = b["bytes_per_second"] / 1e9
            repetitions = max(repetitions, b.get("repetitions", 1))
        elif aggregate == "cv":
            cv[key] = b.get("bytes_per_second", 0)

    clock = ("CPU time of the calling thread (user+sys); isutf8: spawn and wait plus the child's user+sys"
             if ctx.get("clock") == "cpu" else "wall-clock time")
    print("Kestrune benchmarks: %s, %s cores, %s, %s %s" % (
        ctx.get("cpu_model", "?"), ctx.get("cores", ctx.get("num_cpus", "?")), ctx.get("kernel", "?"),
        ctx.get("compiler", "?"), ctx.get("build_type", "")))
    print("%s; median of %d repetitions; GB/s = 1e9 bytes/s; ratio = measured / baseline (> 1: measured is faster);"
          " noise = larger coefficient of variation of the two sides" % (clock, repetitions))
    if any(s == "deep" and side == "isutf8" for (s, _, side) in median):
        try:
            version = subprocess.run(["dpkg-query", "-W", "-f=${Version}", "moreutils"],
                                     capture_output=True, text=True).stdout
            print("isutf8 from moreutils %s" % version)
        except OSError:
            pass

    row = "%-22s %-22s %7s  %-26s %7s  %6s  %6s"
    for section, title, pairs in SECTIONS:
        lines = []
        for case in sorted((c for (s, c) in order if s == section), key=case_order):
            for side, label, base_side, base_label, base_case in pairs:
                other = base_case(case) if base_case else case
                mine, theirs = (section, case, side), (section, other, base_side)
                if mine not in median or theirs not in median:
                    continue
                if other != case:
                    base_label += " " + case_text(other).split()[-1]
                noise = max(cv.get(mine, 0), cv.get(theirs, 0)) * 100
                lines.append(row % (case_text(case), label, "%.3f" % median[mine], base_label,
                                    "%.3f" % median[theirs], "%.3f" % (median[mine] / median[theirs]),
                                    "%.1f%%" % noise))
        if lines:
            print()
            print(title)
            print(row % ("case", "measured", "GB/s", "baseline", "GB/s", "ratio", "noise"))
            print("\n".join(lines))
    if not any(side == "isutf8" for (_, _, side) in median):
        print("\nisutf8 rows left out: isutf8 is not installed.")
    for error in errors:
        print("failed: " + error)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "bench.json")
