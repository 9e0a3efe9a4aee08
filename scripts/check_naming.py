#!/usr/bin/env python3
"""Runs the naming rules of .clang-tidy over src/ and tests/, fast enough for every test run.

Parsing Qt's and GoogleTest's headers is most of clang-tidy's time, so the sources that share
compiler flags are checked as one translation unit that includes them all: a test file inside
a namespace of its own, so that its file-local helpers do not meet another file's. Program
sources that define file-local names alike are split into separate units; a source that does
not compile is checked alone. Units run in parallel on every core. After a pass the stamp file
records the time; the next run checks only the sources that changed since, or include a header
that did. Usage: check_naming.py TIDY BUILD_DIR [--all]
"""

import concurrent.futures
import json
import os
import re
import shlex
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CHECKED = (os.path.join(ROOT, "src") + os.sep, os.path.join(ROOT, "tests") + os.sep)
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
# A unit of fewer sources is checked file by file.
UNIT_THRESHOLD = 2


def CompileGroups(build):
    """Sources of src/ and tests/ by their compiler flags: {flags: [source, ...]}."""
    with open(os.path.join(build, "compile_commands.json"), encoding="utf-8") as f:
        entries = json.load(f)
    groups, seen, deps = {}, set(), {}
    for entry in entries:
        source = os.path.normpath(os.path.join(entry["directory"], entry["file"]))
        if not source.startswith(CHECKED) or source in seen:
            continue
        seen.add(source)
        args = entry.get("arguments") or shlex.split(entry["command"])
        flags, skip, output = [], False, None
        for i, arg in enumerate(args[1:], 1):
            if skip:
                skip = False
            elif arg == "-o":
                skip, output = True, args[i + 1]
            elif arg == "-c":
                skip = True
            elif arg not in ("-Werror", entry["file"], source):
                flags.append(arg)
        if output:
            deps[source] = os.path.join(entry["directory"], output + ".d")
        groups.setdefault(tuple(flags), []).append(source)
    return groups, deps


def Merged(groups):
    """Groups whose flags differ only in macros and include folders, as one group under the
    union of them: the heavy headers are then parsed once for all of them."""
    merged = {}
    for flags, sources in groups.items():
        rest, defines, includes, i = [], {}, [], 0
        while i < len(flags):
            if flags[i] in ("-isystem", "-I", "-D") and i + 1 < len(flags):
                flag, value, i = flags[i], flags[i + 1], i + 2
            else:
                flag, value, i = flags[i][:2], flags[i][2:], i + 1
                if flag not in ("-I", "-D"):
                    rest.append(flags[i - 1])
                    continue
            if flag == "-D":
                name = value.split("=", 1)[0]
                defines[name] = value
            else:
                includes.append((flag, value))
        key = tuple(rest)
        entry = merged.setdefault(key, ({}, [], []))
        if any(entry[0].get(n, v) != v for n, v in defines.items()):
            key = tuple(rest) + (f"#{len(merged)}",)
            entry = merged.setdefault(key, ({}, [], []))
        entry[0].update(defines)
        entry[1].extend(inc for inc in includes if inc not in entry[1])
        entry[2].extend(sources)
    result = {}
    for rest, (defines, includes, sources) in merged.items():
        flags = [f"-D{v}" for v in defines.values()]
        flags += [f"-I{v}" for f, v in includes if f == "-I"]
        for f, v in includes:
            if f == "-isystem":
                flags += ["-isystem", v]
        flags += [f for f in rest if not f.startswith("#")]
        result[tuple(flags)] = sources
    return result


def Headers(depfile):
    """Our own headers a source included when it was last compiled (from the compiler's .d)."""
    try:
        with open(depfile, encoding="utf-8") as f:
            text = f.read().replace("\\\n", " ")
    except OSError:
        return None
    paths = text.split(":", 1)[1].split() if ":" in text else []
    return [p for p in paths if os.path.abspath(p).startswith(CHECKED)]


def Changed(sources, deps, stamp):
    """The sources that changed since the stamp's time, themselves or through a header."""
    try:
        since = os.path.getmtime(stamp)
    except OSError:
        return set(sources)
    rules = [os.path.join(ROOT, ".clang-tidy"), os.path.abspath(__file__)]
    if any(os.path.getmtime(r) > since for r in rules):
        return set(sources)
    changed = set()
    for source in sources:
        headers = Headers(deps.get(source, ""))
        if headers is None or any(
            not os.path.exists(p) or os.path.getmtime(p) > since for p in [source] + headers
        ):
            changed.add(source)
    return changed


def Wrapped(source):
    """A test file whose names are all its own (no header of the same name declares them)."""
    stem = os.path.splitext(source)[0]
    return source.startswith(CHECKED[1]) and not os.path.exists(stem + ".h")


def ResolvedIncludes(source, flags):
    """The file's include lines, quoted ones as absolute paths so they work from anywhere."""
    dirs = [os.path.dirname(source)]
    dirs += [f[2:] for f in flags if f.startswith("-I") and len(f) > 2]
    lines = []
    with open(source, encoding="utf-8") as f:
        for kind, name in INCLUDE.findall(f.read()):
            if kind == "<":
                lines.append(f"#include <{name}>")
                continue
            paths = (os.path.join(d, name) for d in dirs)
            found = next((p for p in paths if os.path.exists(p)), None)
            lines.append(f'#include "{found or name}"')
    return lines


# A name declared at the start of a line: a type, a constant, a variable or a function.
DECLARED = re.compile(
    r"^(?:(?:class|struct|enum(?:\s+class)?|using)\s+(\w+)"
    r"|(?:[\w:<>,\[\]]+\s+)+[*&]?(\w+)\s*(?:\(|=|\{|;|\[))",
    re.M,
)
ANONYMOUS = re.compile(r"^namespace \{$(.*?)^\}  // namespace$", re.M | re.S)


def Declared(text):
    return {a or b for a, b in DECLARED.findall(text)}


def HeaderNames():
    """Names our headers declare outside any class."""
    names = set()
    for top in CHECKED:
        for folder, _, files in os.walk(top):
            for name in files:
                if name.endswith(".h"):
                    with open(os.path.join(folder, name), encoding="utf-8") as f:
                        names |= Declared(f.read())
    return names


def FileLocalNames(source):
    """Names a source declares in its anonymous namespace or as static."""
    with open(source, encoding="utf-8") as f:
        text = f.read()
    names = set()
    for block in ANONYMOUS.findall(text):
        names |= Declared(block)
    names |= {n for n in Declared(text) if re.search(rf"^static\b[^\n]*\b{n}\b", text, re.M)}
    return names


def Partition(sources, headerNames):
    """The sources in runs that can each be one unit: a program source whose file-local names
    meet another's goes to a later run, one whose names meet a header's runs alone."""
    runs, taken = [[]], [set()]
    for source in sources:
        if Wrapped(source):
            runs[0].append(source)
            continue
        local = FileLocalNames(source)
        if local & headerNames:
            runs.append([source])
            taken.append(set(local))
            continue
        k = next((k for k, names in enumerate(taken) if not names & local), None)
        if k is None:
            runs.append([])
            taken.append(set())
            k = len(runs) - 1
        runs[k].append(source)
        taken[k] |= local
    return [run for run in runs if run]


def UnitText(sources, flags):
    """One translation unit of the sources: the shared files first, then each test file in its
    own namespace after every header it includes, so that its includes inside are no-ops."""
    plain = [s for s in sources if not Wrapped(s)]
    wrapped = [s for s in sources if Wrapped(s)]
    lines = [f'#include "{s}"' for s in plain]
    hoisted = []
    for s in wrapped:
        hoisted += [line for line in ResolvedIncludes(s, flags) if line not in hoisted]
    lines += hoisted
    for n, s in enumerate(wrapped, 1):
        lines += [f"namespace NamingUnitFile{n} {{", f'#include "{s}"', "}"]
    return "\n".join(lines) + "\n"


def Tidy(tidy, path, flags):
    """clang-tidy on one file under the given flags: (passed, compiled, output)."""
    command = [tidy, "--quiet", f"--header-filter=^{re.escape(ROOT)}/(src|tests)/", path, "--"]
    command += list(flags) + ["-Wno-unknown-warning-option"]
    run = subprocess.run(command, cwd=ROOT, capture_output=True, text=True)
    output = "\n".join(
        line
        for line in (run.stdout + run.stderr).splitlines()
        if not re.fullmatch(r"\d+ warnings? (and \d+ errors? )?generated\.", line)
    )
    return run.returncode == 0, "clang-diagnostic-error" not in output, output


def CheckUnit(tidy, work, name, sources, flags):
    """Checks the sources together, or one by one if they do not compile together."""
    began = time.time()
    passed, output = CheckSources(tidy, work, name, sources, flags)
    where = os.path.relpath(os.path.dirname(sources[0]), ROOT)
    print(f"  {len(sources)} sources from {where}/...: {time.time() - began:.1f} s", flush=True)
    return passed, output


def CheckSources(tidy, work, name, sources, flags):
    """(passed, output) of the sources as one unit, or split where they cannot share one."""
    if len(sources) < UNIT_THRESHOLD:
        results = [Tidy(tidy, s, flags) for s in sources]
        return all(r[0] for r in results), "\n".join(r[2] for r in results if r[2])
    path = os.path.join(work, name + ".cpp")
    with open(path, "w", encoding="utf-8") as f:
        f.write(UnitText(sources, flags))
    passed, compiled, output = Tidy(tidy, path, flags)
    if compiled:
        return passed, output
    # File-local names the partition did not see meet, or a source does not compile: the
    # sources named in the errors go to a unit of their own, down to one source a run.
    error = re.compile(r"^(/[^:\n]+):\d+:\d+: error: .*clang-diagnostic-error", re.M)
    named = {os.path.normpath(m) for m in error.findall(output)}
    later = [s for s in sources if s in named]
    if not later or len(later) == len(sources):
        later = sources[len(sources) // 2 :]
    first = [s for s in sources if s not in later]
    results = [CheckSources(tidy, work, name + "a", first, flags),
               CheckSources(tidy, work, name + "b", later, flags)]
    return all(r[0] for r in results), "\n".join(r[1] for r in results if r[1])


def main():
    if len(sys.argv) < 3:
        sys.exit("usage: check_naming.py TIDY BUILD_DIR [--all]")
    tidy, build = sys.argv[1], os.path.abspath(sys.argv[2])
    work = os.path.join(build, "naming-check")
    os.makedirs(work, exist_ok=True)
    stamp = os.path.join(work, "passed.stamp")
    started = time.time()

    groups, deps = CompileGroups(build)
    groups = Merged(groups)
    every = [s for sources in groups.values() for s in sources]
    changed = set(every) if "--all" in sys.argv[3:] else Changed(every, deps, stamp)
    headerNames = HeaderNames()
    jobs = []
    for n, (flags, sources) in enumerate(groups.items(), 1):
        todo = [s for s in sources if s in changed]
        for k, run in enumerate(Partition(todo, headerNames), 1):
            if len(run) >= UNIT_THRESHOLD:
                jobs.append((f"unit{n}-{k}", run, flags))
            else:
                jobs += [(f"unit{n}-{k}-{i}", [s], flags) for i, s in enumerate(run, 1)]
    # Largest first, so that the last unit to finish is a small one.
    jobs.sort(key=lambda job: -len(job[1]))
    print(f"naming check: {len(changed)} of {len(every)} sources in {len(jobs)} runs")

    failed = False
    with concurrent.futures.ThreadPoolExecutor(os.cpu_count() or 1) as pool:
        for passed, output in pool.map(lambda job: CheckUnit(tidy, work, *job), jobs):
            if output:
                print(output, file=sys.stderr)
            failed |= not passed
    if failed:
        sys.exit(1)
    with open(stamp, "w", encoding="utf-8"):
        pass
    os.utime(stamp, (started, started))


if __name__ == "__main__":
    main()
