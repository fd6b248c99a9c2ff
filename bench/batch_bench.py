#!/usr/bin/env python3
"""Batch conversion speed of vantrel-convert: 100,000 and 1,000,000 typical links (made by
make_links.py) through `--lenient --lines` in the raw and json formats. Prints links per
second (by wall time and by the converter's own CPU time, the best of three runs) and how
the time grows from 100k to 1M links (10.0 is linear).

    bench/batch_bench.py [BUILD_DIR]     (default build/native)
"""
import os
import resource
import subprocess
import sys
import tempfile
import time

here = os.path.dirname(os.path.abspath(__file__))
build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "build", "native")
program = os.path.join(build, "tools", "vantrel-convert")
SIZES = [100_000, 1_000_000]
FORMATS = ["raw", "json"]
RUNS = 3


def children_cpu():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def best_run(path, output_format):
    best_wall = best_cpu = float("inf")
    for _ in range(RUNS):
        with open(path, "rb") as links, open(os.devnull, "wb") as sink:
            cpu_before = children_cpu()
            start = time.perf_counter()
            status = subprocess.run([program, "--lenient", "--lines", "--format", output_format,
                                     "auto"], stdin=links, stdout=sink, stderr=sink).returncode
            wall = time.perf_counter() - start
            cpu = children_cpu() - cpu_before
        if status not in (0, 2):
            sys.exit(f"vantrel-convert failed with status {status}")
        best_wall, best_cpu = min(best_wall, wall), min(best_cpu, cpu)
    return best_wall, best_cpu


with tempfile.TemporaryDirectory() as work:
    files = {}
    for size in SIZES:
        files[size] = os.path.join(work, f"{size}.txt")
        with open(files[size], "wb") as f:
            subprocess.run([sys.executable, os.path.join(here, "make_links.py"), str(size)],
                           stdout=f, check=True)
    print(f"{'format':<7}{'links':>10}{'seconds':>10}{'links/s':>12}{'CPU s':>8}"
          f"{'links/CPU s':>13}")
    for output_format in FORMATS:
        walls = {}
        for size in SIZES:
            wall, cpu = best_run(files[size], output_format)
            walls[size] = wall
            print(f"{output_format:<7}{size:>10}{wall:>10.3f}{size / wall:>12,.0f}{cpu:>8.3f}"
                  f"{size / cpu:>13,.0f}")
        print(f"{output_format:<7} time for 1M / time for 100k: {walls[SIZES[1]] / walls[SIZES[0]]:.2f}")
