#!/usr/bin/env python3
"""Python's XML libraries on a profile, for the profile benchmark.

profile_peers.py FILE RUNS prints one line per library: the processor time
of a save (the parsed tree written to a temporary file, flushed, synced and
renamed over the target, as the program saves) and of a load (a parse in a
fresh interpreter), and the peak memory a load adds to that interpreter.
A library that is not installed is named and skipped.
"""
import importlib
import os
import statistics
import subprocess
import sys
import time

PEERS = [("ElementTree", "xml.etree.ElementTree", "python3 (standard library)"),
         ("lxml", "lxml.etree", "python3-lxml")]


def status_kb(field):
    # From the process's own status: ru_maxrss would carry the parent's peak.
    with open("/proc/self/status") as status:
        for line in status:
            if line.startswith(field):
                return int(line.split()[1])
    return 0


def load_once(module_name, path):
    module = importlib.import_module(module_name)
    before = status_kb("VmRSS:")
    start = time.process_time()
    tree = module.parse(path)
    cpu_ms = (time.process_time() - start) * 1000
    print(f"{cpu_ms:.3f} {status_kb('VmHWM:') - before}")
    return tree


def save_once(module, tree, path):
    temporary = path + ".peer-save"
    start_cpu = time.process_time()
    start_wall = time.perf_counter()
    with open(temporary, "wb") as out:
        tree.write(out, encoding="UTF-8", xml_declaration=True)
        out.flush()
        os.fsync(out.fileno())
    os.replace(temporary, path)
    return (time.process_time() - start_cpu) * 1000, (time.perf_counter() - start_wall) * 1000


def figures(values, decimals=1):
    return f"{min(values):.{decimals}f} / {statistics.median(values):.{decimals}f}"


def main():
    if sys.argv[1] == "--load":
        load_once(sys.argv[2], sys.argv[3])
        return
    path, runs = sys.argv[1], int(sys.argv[2])
    size = os.path.getsize(path)
    for label, module_name, package in PEERS:
        try:
            module = importlib.import_module(module_name)
        except ImportError:
            print(f"  {label:<12} not installed ({package}): skipped")
            continue
        loads, peaks = [], []
        for _ in range(runs):
            out = subprocess.run([sys.executable, __file__, "--load", module_name, path],
                                 check=True, capture_output=True, text=True).stdout.split()
            loads.append(float(out[0]))
            peaks.append(int(out[1]) / 1024)
        tree = module.parse(path)
        copy = path + ".peer"
        with open(path, "rb") as source, open(copy, "wb") as target:
            target.write(source.read())
        saves, save_walls = [], []
        for _ in range(runs):
            cpu_ms, wall_ms = save_once(module, tree, copy)
            saves.append(cpu_ms)
            save_walls.append(wall_ms)
        os.remove(copy)
        peak = statistics.median(peaks)
        print(f"  {label:<12} save cpu {figures(saves)} ms (wall {figures(save_walls)})"
              f"  load cpu {figures(loads)} ms  peak {figures(peaks)} MB ({peak * 1048576 / size:.1f}x file)")


if __name__ == "__main__":
    main()
