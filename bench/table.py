#!/usr/bin/env python3
"""Rows of the benchmark table, from hyperfine's JSON exports.

    table.py header
    table.py ratio JSON SUBJECT REFERENCE MEASURE AIM
    table.py diff JSON SUBJECT REFERENCE MEASURE AIM
    table.py memory SUBJECT_KB REFERENCE_KB MEASURE REFERENCE_NAME AIM
    table.py overhead OUTPUT

SUBJECT and REFERENCE are indexes of the commands in the export. ratio
compares medians as subject / reference, diff as subject - reference in
milliseconds, memory the peak sizes; AIM is the number the result has to
stay below, or "-" for none. overhead turns the summary lines of
bench/ravick_overhead.sh into rows. Wall-clock medians are the figures;
the CPU time (user + system, hyperfine's means) is shown beside them, as it
is steadier on a busy machine.
"""

import json
import re
import sys

# The summary lines of bench/ravick_overhead.sh, and the aim of each.
OVERHEAD_LINE = re.compile(r"^(fake engine|latex)\s+median ([\d.]+) ms alone, ([\d.]+) ms "
                           r"through ravick: ravick adds (-?[\d.]+) ms$")
OVERHEAD_ROWS = {
    "fake engine": ("ravick with the fake engine (bench/ravick_overhead.sh)", "fake_engine", "5"),
    "latex": ("ravick with pdftex, small LaTeX document (bench/ravick_overhead.sh)", "latex", "-"),
}


def load(path, subject, reference):
    results = json.load(open(path))["results"]
    return results[int(subject)], results[int(reference)]


def ms(seconds):
    return f"{seconds * 1000:.1f} ms"


def cpu(result):
    return result["user"] + result["system"]


def name(result):
    return result["command"].split()[0].rsplit("/", 1)[-1]


def verdict(value, aim, unit):
    """The aim cell and whether value meets it (stays below it)."""
    if aim == "-":
        return "-", "-"
    return f"< {aim}{unit}", "yes" if value < float(aim) else "no"


def row(*cells):
    print("| " + " | ".join(cells) + " |")


def main(argv):
    kind = argv[1]
    if kind == "header":
        row("Measure", "Quillbay", "Reference", "Result", "Aim", "Met")
        row("---", "---:", "---", "---:", "---", "---")
        return
    if kind == "memory":
        subject_kb, reference_kb, measure, reference_name, aim = argv[2:7]
        ratio = int(subject_kb) / int(reference_kb)
        aim_text, met = verdict(ratio, aim, "x")
        row(measure, f"{int(subject_kb) / 1024:.1f} MB", f"{reference_name}: {int(reference_kb) / 1024:.1f} MB",
            f"{ratio:.2f}x", aim_text, met)
        return
    if kind == "overhead":
        found = 0
        for line in open(argv[2]):
            match = OVERHEAD_LINE.match(line.strip())
            if not match:
                continue
            measure, reference_name, aim = OVERHEAD_ROWS[match.group(1)]
            alone, through, difference = (float(match.group(i)) for i in (2, 3, 4))
            aim_text, met = verdict(difference, aim, " ms")
            row(measure, f"{through:.1f} ms", f"{reference_name}: {alone:.1f} ms",
                f"{difference:+.1f} ms ({through / alone:.2f}x)", aim_text, met)
            found += 1
        if found == 0:
            sys.exit("table.py: no summary line in " + argv[2])
        return
    path, subject_index, reference_index, measure, aim = argv[2:7]
    subject, reference = load(path, subject_index, reference_index)
    wall = subject["median"] / reference["median"]
    cpu_ratio = cpu(subject) / cpu(reference) if cpu(reference) > 0 else float("inf")
    reference_cell = f"{name(reference)}: {ms(reference['median'])}"
    if kind == "ratio":
        aim_text, met = verdict(wall, aim, "x")
        row(measure, ms(subject["median"]), reference_cell,
            f"{wall:.2f}x (CPU {cpu_ratio:.2f}x)", aim_text, met)
    elif kind == "diff":
        difference = (subject["median"] - reference["median"]) * 1000
        cpu_difference = (cpu(subject) - cpu(reference)) * 1000
        aim_text, met = verdict(difference, aim, " ms")
        row(measure, ms(subject["median"]), reference_cell,
            f"{difference:+.1f} ms ({wall:.2f}x; CPU {cpu_difference:+.1f} ms)", aim_text, met)
    else:
        sys.exit(f"table.py: unknown row kind {kind}")


if __name__ == "__main__":
    main(sys.argv)
