#!/usr/bin/env python3
"""Times the real program over the first N plans of a generated corpus, for several N in one run,
and sets each time against the physical floor measured in the same run: reading every plan once
and writing the report's bytes once.

    run_bench.py [--exe build/Brevanto] [--work /tmp/brevanto-bench] [--sizes 100,1000,10000]
                 [--repeat 3] [--seed 1]

The program runs with -nopopup and standard output to /dev/null, from a copy of the executable
beside the corpus's DEFAULT_CHECK.fpl, in the plans folder: plans are named by their file names
alone, which keeps 10,000 of them well inside the system's limit on the command line. Each figure
is the best of --repeat runs; peak memory comes from /usr/bin/time -v.
"""

import argparse
import hashlib
import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
TIME = "/usr/bin/time"


def ensure_corpus(work, plans, seed):
    """Generates the corpus unless `work` already holds one of at least `plans` plans made by
    this generator from the same seed."""
    generator = os.path.join(HERE, "gen_corpus.py")
    with open(generator, "rb") as f:
        digest = hashlib.sha256(f.read()).hexdigest()
    stamp = os.path.join(work, "corpus.txt")
    if os.path.exists(stamp):
        with open(stamp) as f:
            have_digest, have_seed, have_plans = f.read().split()
        if (have_digest, have_seed) == (digest, seed) and int(have_plans) >= plans:
            return
    shutil.rmtree(work, ignore_errors=True)
    subprocess.run([sys.executable, generator, work, "--plans", str(plans), "--seed", seed],
                   check=True)
    with open(stamp, "w") as f:
        f.write(f"{digest} {seed} {plans}\n")


def command_line_room(args, env):
    """What execve() counts against ARG_MAX: the strings, their NULs and their pointers."""
    strings = list(args) + [f"{k}={v}" for k, v in env.items()]
    return sum(len(s.encode()) + 1 + 8 for s in strings) + 8 * 2


def run_program(exe, names, plans_dir, env, scratch):
    """One timed run: wall seconds, user and system seconds, peak kB, report bytes."""
    log = os.path.join(plans_dir, "Brevanto.log")
    if os.path.exists(log):
        os.remove(log)
    usage = os.path.join(scratch, "time.txt")
    begin = time.perf_counter()
    with open(os.devnull, "wb") as null:
        proc = subprocess.run([TIME, "-v", "-o", usage, exe, "-nopopup", *names], cwd=plans_dir,
                              env=env, stdin=subprocess.DEVNULL, stdout=null,
                              stderr=subprocess.PIPE)
    wall = time.perf_counter() - begin
    if proc.returncode != 0 or proc.stderr:
        sys.exit(f"the program failed (status {proc.returncode}): {proc.stderr[:500]!r}")
    fields = {}
    with open(usage) as f:
        for line in f:
            key, _, value = line.strip().rpartition(": ")
            fields[key] = value
    return (wall, float(fields["User time (seconds)"]), float(fields["System time (seconds)"]),
            int(fields["Maximum resident set size (kbytes)"]), os.path.getsize(log))


def run_floor(names, plans_dir, log_bytes, scratch):
    """Every plan read once, the report's bytes written once: wall and CPU seconds. Done here
    rather than with cat, which maps and unmaps a buffer per file and costs several times more."""
    data = b"-" * log_bytes
    paths = [os.path.join(plans_dir, n) for n in names]
    cpu = time.process_time()
    begin = time.perf_counter()
    for path in paths:
        fd = os.open(path, os.O_RDONLY)
        while os.read(fd, 1 << 16):
            pass
        os.close(fd)
    fd = os.open(os.path.join(scratch, "floor.log"), os.O_WRONLY | os.O_CREAT | os.O_TRUNC)
    os.write(fd, data)
    os.close(fd)
    return time.perf_counter() - begin, time.process_time() - cpu


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--exe", default=os.path.join(ROOT, "build", "Brevanto"))
    parser.add_argument("--work", default="/tmp/brevanto-bench",
                        help="corpus folder (generated when missing)")
    parser.add_argument("--sizes", default="100,1000,10000")
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--seed", default="1")
    args = parser.parse_args()
    sizes = [int(n) for n in args.sizes.split(",")]

    if not os.access(TIME, os.X_OK):
        sys.exit(f"{TIME} is missing: install the package 'time' (apt-get install time)")
    work = os.path.abspath(args.work)
    ensure_corpus(work, max(sizes), args.seed)
    plans_dir = os.path.join(work, "plans")
    scratch = os.path.join(work, "scratch")
    os.makedirs(scratch, exist_ok=True)
    # The program takes its rules from beside the executable.
    exe = os.path.join(work, "bin", "Brevanto")
    os.makedirs(os.path.dirname(exe), exist_ok=True)
    shutil.copy2(args.exe, exe)
    shutil.copy2(os.path.join(work, "rules", "DEFAULT_CHECK.fpl"), os.path.dirname(exe))

    env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": work, "LC_ALL": "C",
           "WINEPREFIX": os.path.join(work, "prefix")}
    names = sorted(n for n in os.listdir(plans_dir) if n.endswith(".fpl"))
    room = command_line_room([TIME, "-v", "-o", os.path.join(scratch, "time.txt"), exe,
                              "-nopopup", *names[:max(sizes)]], env)
    arg_max = os.sysconf("SC_ARG_MAX")
    if room > arg_max:
        sys.exit(f"{max(sizes)} plans need {room} bytes of command line, more than {arg_max}")
    # Warm the page cache, so that the program and the floor read the same cached files.
    run_floor(names[:max(sizes)], plans_dir, 0, scratch)

    print(f"program {args.exe}, rules {work}/rules/DEFAULT_CHECK.fpl, best of {args.repeat}")
    print(f"command line for {max(sizes)} plans: {room} of {arg_max} bytes; "
          f"load average {os.getloadavg()[0]:.1f} on {os.cpu_count()} CPUs")
    # CPU seconds (user + system) are the steadier figure on a machine that runs other work.
    print(f"{'plans':>6} {'wall s':>8} {'plans/s':>8} {'user s':>7} {'sys s':>6} "
          f"{'peak MiB':>8} {'report kB':>9} {'floor s':>8} {'x floor':>7} "
          f"{'floor cpu':>9} {'cpu x floor':>11}")
    walls = {}
    for n in sizes:
        runs = [run_program(exe, names[:n], plans_dir, env, scratch) for _ in range(args.repeat)]
        wall, user, system, peak_kb, log_bytes = min(runs)
        peak_kb = max(r[3] for r in runs)
        floors = [run_floor(names[:n], plans_dir, log_bytes, scratch)
                  for _ in range(args.repeat)]
        floor, floor_cpu = min(f[0] for f in floors), min(f[1] for f in floors)
        walls[n] = wall
        print(f"{n:6d} {wall:8.3f} {n / wall:8.0f} {user:7.2f} {system:6.2f} "
              f"{peak_kb / 1024:8.1f} {log_bytes / 1000:9.1f} {floor:8.4f} {wall / floor:7.1f} "
              f"{floor_cpu:9.4f} {(user + system) / max(floor_cpu, 1e-3):11.1f}", flush=True)
    for small, large in zip(sizes, sizes[1:]):
        print(f"{large} plans take {walls[large] / walls[small]:.2f} times as long as {small}")


if __name__ == "__main__":
    main()
