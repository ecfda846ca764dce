#!/usr/bin/env python3
"""Prints the benchmark figures of scripts/bench.sh as one table, each beside
its floor or its target, and marks those that miss."""
import json
import sys

runs = {}
for path in sys.argv[1:]:
    for run in json.load(open(path))["benchmarks"]:
        if run.get("run_type", "iteration") == "iteration":
            runs[run["name"]] = run


def find(name):
    """The run of that name, whatever options the benchmark appended to it."""
    return runs.get(name) or next(run for key, run in runs.items() if key.startswith(name + "/"))


def ms(name):
    run = find(name)
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[run["time_unit"]]
    return run["real_time"] * scale


rows = []


def row(figure, value, floor, target, ok):
    rows.append((figure, value, floor, target, "yes" if ok else "NO"))


for size in (100, 500, 1000, 2000):
    for verb in ("Read", "Write"):
        value, floor = ms(f"BM_{verb}Project/{size}"), ms(f"BM_{verb}Floor/{size}")
        row(f"{verb.lower()} project, {size} factors", f"{value:.1f} ms", f"{floor:.1f} ms",
            "<= 1.5 x floor", value <= 1.5 * floor)

for report in ("Text", "Table"):
    sizes = (50, 100, 200)
    for small, large in zip(sizes, sizes[1:]):
        a, b = find(f"BM_{report}Report/{small}"), find(f"BM_{report}Report/{large}")
        time_ratio = ms(f"BM_{report}Report/{large}") / ms(f"BM_{report}Report/{small}")
        size_ratio = b["package bytes"] / a["package bytes"]
        row(f"{report.lower()} report, {small} -> {large} per type", f"time x{time_ratio:.2f}",
            f"output x{size_ratio:.2f}", "time grows with output",
            time_ratio <= 2.0 * size_ratio)

for size in (500, 1000, 2000):
    run = find(f"BM_TableReportMemory/{size}")
    row(f"table report peak memory, {run['cells'] / 1e6:.0f}M cells", f"{run['peak MiB']:.1f} MiB",
        "-", "<= 16 MiB", run["peak MiB"] <= 16)

short, long = ms("BM_TextReportComment/100000"), ms("BM_TextReportComment/1000000")
row("text report, comment 100 KB -> 1 MB", f"time x{long / short:.2f}", "output x10",
    "<= 10 x", long <= 10 * short)

build, rebuild = ms("BM_CouplingViewBuild/500"), ms("BM_CouplingViewRebuild/500") / 2
row("coupling view built, 1,000,000 couplings", f"{build:.1f} ms", "-", "<= 250 ms", build <= 250)
row("coupling view filtered, 1,000,000 couplings", f"{rebuild:.1f} ms", "-", "<= 250 ms", rebuild <= 250)
if any(name.startswith("BM_CouplingViewBuild/2500") for name in runs):
    for name, label in (("BM_CouplingViewBuild/2500", "coupling view shown, 25,000,000 couplings"),
                        ("BM_CouplingViewEnd/2500", "End or Home in it, 25,000,000 couplings"),
                        ("BM_CouplingViewUndo/10000", "deletion undone under it, 10,000 factors")):
        value = ms(name)
        row(label, f"{value:.1f} ms", "-", "<= 250 ms", value <= 250)
    value = ms("BM_CouplingViewRebuild/2500") / 2
    row("coupling view filtered, 25,000,000 couplings", f"{value:.1f} ms", "-", "<= 250 ms",
        value <= 250)
    small, large = find("BM_CouplingViewMemory/250"), find("BM_CouplingViewMemory/2500")
    row("coupling view memory, 250,000 -> 25,000,000", f"{small['view MiB']:.1f} -> "
        f"{large['view MiB']:.1f} MiB", "-", "<= 2 MiB more", large["view MiB"] <= small["view MiB"] + 2)

if any(name.startswith("BM_TowsSvg") for name in runs):
    for per_type in (25, 50, 100, 150):
        svg, png = find(f"BM_TowsSvg/{per_type}"), find(f"BM_TowsPng/{per_type}")
        row(f"TOWS picture, {per_type} per type, SVG",
            f"{ms(f'BM_TowsSvg/{per_type}'):.0f} ms, {svg['bytes'] / 1e6:.2f} MB", "-", "<= 5 MB",
            svg["bytes"] <= 5e6)
        row(f"TOWS picture, {per_type} per type, PNG",
            f"{ms(f'BM_TowsPng/{per_type}'):.0f} ms, {png['bytes'] / 1e6:.2f} MB", "-", "-", True)
    for length in (1000, 3000, 100000, 10000000):
        for kind in ("Swot", "Tows"):
            value = ms(f"BM_{kind}LongName/{length}")
            row(f"{kind.upper()} picture, names of {length:,} characters", f"{value:.0f} ms",
                "-", "<= 1 s", value <= 1000)

opened = ms("BM_OpenLargeProject/10000")
row("open a project of 10,000 factors, to the window", f"{opened:.0f} ms", "-", "<= 500 ms",
    opened <= 500)
for name, label in (("BM_FactorDelete/10000", "factor deleted, 10,000 factors"),
                    ("BM_FactorDeleteUndone/10000", "factor deletion undone, 10,000 factors")):
    value = ms(name)
    row(label, f"{value:.1f} ms", "-", "<= 50 ms", value <= 50)
history = find("BM_HistoryMemory/1000")["history MiB"]
row("history of 1,000 changes, 10,000 factors", f"{history:.1f} MiB", "-", "<= 32 MiB",
    history <= 32)
start, bare = ms("BM_StartUp"), ms("BM_BareWindow")
row("start-up to the first window", f"{start:.0f} ms", f"{bare:.0f} ms", "<= 1.5 x floor",
    start <= 1.5 * bare)

if any(name.startswith("BM_FourReportsInOneCall") for name in runs):
    one, four = ms("BM_FourReportsInOneCall"), ms("BM_FourReportsInFourCalls")
    row("four reports in one call (floor: four calls)", f"{one:.0f} ms", f"{four:.0f} ms",
        "<= 0.5 x floor", one <= 0.5 * four)
    warm = ms("BM_ExamplePdfWithTheSuiteRunning")
    row("example to PDF, the suite running", f"{warm:.0f} ms", "-", "< 500 ms", warm < 500)

if any(name.startswith("BM_FirstReportAfterAnIdleStart") for name in runs):
    idle = find("BM_FirstReportAfterAnIdleStart")
    first, second = idle["first ms"], idle["second ms"]
    row("first report 10 s after start-up (floor: the second)", f"{first:.0f} ms",
        f"{second:.0f} ms", "<= 1.5 x floor + 100 ms", first <= 1.5 * second + 100)

widths = [max(len(str(r[i])) for r in rows + [("Figure", "Value", "Floor", "Target", "Met")])
          for i in range(5)]
header = ("Figure", "Value", "Floor", "Target", "Met")
for line in [header, tuple("-" * w for w in widths)] + rows:
    print(" | ".join(str(cell).ljust(width) for cell, width in zip(line, widths)))
