#!/usr/bin/env python3
"""The test command's report, from CTest's JUnit files (ctest --output-junit): one line per
suite with the cases passed and failed, what failed and where its log is, and the summary.
The test_suites.tsv beside each JUnit file (written by cmake/tests.cmake) says what each
CTest test counts: the cases of its GoogleTest XML file, the PASS and FAIL lines of its
checks file, or itself as one. A test that failed, timed out or did not run is a failure
even when no case says so, and so is a run without cases. Exits 1 on any failure.
  scripts/test_report.py [--time SECONDS] ITEM...
ITEM: a JUnit file, or failed:TITLE for a step that failed before its tests could run."""
import os
import sys
import time
import xml.etree.ElementTree as ElementTree

DETAIL_LINES = 30


class Suite:
    def __init__(self, title, counts, results):
        self.title, self.counts, self.results = title, counts, results
        self.passed = self.failed = 0
        self.ran = False
        self.details = []

    def add(self, passed, failed, details=()):
        self.ran = True
        self.passed += passed
        self.failed += failed
        self.details.extend(details)


def read_manifest(folder):
    """(name, Suite) pairs in the order of the lines; a name ending in * is a prefix."""
    entries = []
    try:
        with open(os.path.join(folder, "test_suites.tsv"), encoding="utf-8") as f:
            for line in f:
                fields = line.rstrip("\n").split("\t")
                if len(fields) == 4:
                    entries.append((fields[0], Suite(*fields[1:])))
    except OSError:
        pass
    return entries


def suite_of(entries, name):
    for pattern, suite in entries:
        if pattern == name or (pattern.endswith("*") and name.startswith(pattern[:-1])):
            return suite
    return None


def fresh(path, since):
    """The file, when this run wrote it (not an earlier run, for a test that never got to)."""
    try:
        return os.path.getmtime(path) >= since - 1
    except OSError:
        return False


def gtest_cases(path):
    """(passed, failed, details) from a GoogleTest XML file; skipped cases count neither."""
    passed, failed, details = 0, 0, []
    try:
        root = ElementTree.parse(path).getroot()
    except (OSError, ElementTree.ParseError):
        return 0, 0, []
    for case in root.iter("testcase"):
        if case.get("status", "run") != "run" or case.get("result") == "skipped":
            continue
        problems = case.findall("failure") + case.findall("error")
        if not problems:
            passed += 1
            continue
        failed += 1
        details.append("  FAILED %s.%s" % (case.get("classname"), case.get("name")))
        for problem in problems:
            text = (problem.text or problem.get("message") or "").strip().splitlines()
            details.extend("    " + line for line in text[:12])
    return passed, failed, details


def checks(path):
    passed, failed, details = 0, 0, []
    try:
        with open(path, encoding="utf-8", errors="replace") as f:
            for line in f:
                verdict, _, name = line.rstrip("\n").partition("\t")
                if verdict == "PASS":
                    passed += 1
                elif verdict == "FAIL":
                    failed += 1
                    details.append("  FAIL " + name)
    except OSError:
        pass
    return passed, failed, details


def output_tail(case):
    text = (case.findtext("system-out") or "").replace("\r", "").rstrip("\n")
    return ["  | " + line for line in text.splitlines()[-DETAIL_LINES:]]


def count(suite, case, since):
    """Adds one CTest test's result (a JUnit testcase) to its suite."""
    status = case.get("status")
    name = case.get("name")
    if status == "notrun":
        skipped = case.find("skipped")
        reason = skipped.get("message") if skipped is not None else "not run"
        suite.add(0, 1, ["  %s did not run: %s" % (name, reason)] + output_tail(case))
        return
    if suite.counts in ("gtest", "checks"):
        path = suite.results.replace("{test}", name)
        passed, failed, details = 0, 0, []
        if fresh(path, since):
            passed, failed, details = (gtest_cases if suite.counts == "gtest" else checks)(path)
        log = os.path.splitext(path)[0] + ".log"
        where = "  its log: " + log if os.path.exists(log) else ""
        if status != "run" and failed == 0:
            details += ["  %s failed (exit code, crash or time-out) with no failed case" % name]
            details += output_tail(case)
            failed = 1
        elif passed + failed == 0:
            details += ["  %s: no case in %s" % (name, path)] + output_tail(case)
            failed = 1
        suite.add(passed, failed, ([where] if where and failed else []) + details)
    elif status == "run":
        suite.add(0 if suite.counts == "fixture" else 1, 0)
    else:
        suite.add(0, 1, ["  %s failed" % name] + output_tail(case))


def report_junit(path, lines):
    try:
        root = ElementTree.parse(path).getroot()
    except (OSError, ElementTree.ParseError) as error:
        lines.append(Suite("results of " + path, "test", ""))
        lines[-1].add(0, 1, ["  no JUnit results: %s" % error])
        return
    since = time.mktime(time.strptime(root.get("timestamp"), "%Y-%m-%dT%H:%M:%S"))
    entries = read_manifest(os.path.dirname(path))
    others = []
    cases = root.findall("testcase")
    for case in cases:
        suite = suite_of(entries, case.get("name"))
        if suite is None:
            suite = Suite(case.get("name"), "test", "")
            others.append(suite)
        count(suite, case, since)
    lines.extend(suite for _, suite in entries if suite.ran)
    lines.extend(others)
    if not cases:
        lines.append(Suite("tests of " + path, "test", ""))
        lines[-1].add(0, 1, ["  no test ran"])


def main(argv):
    seconds = None
    if len(argv) > 1 and argv[0] == "--time":
        seconds, argv = int(argv[1]), argv[2:]
    lines = []
    for item in argv:
        if item.startswith("failed:"):
            lines.append(Suite(item[len("failed:"):], "test", ""))
            lines[-1].add(0, 1)
        else:
            report_junit(item, lines)
    for suite in lines:
        if suite.failed and suite.details:
            print("---- %s failed" % suite.title)
            print("\n".join(line for line in suite.details if line))
    print()
    for suite in lines:
        # A fixture that did its work is no line of its own.
        if suite.counts != "fixture" or suite.failed:
            print("%s: %d passed, %d failed" % (suite.title, suite.passed, suite.failed))
    if seconds is not None:
        print("Total time: %d min %d s" % (seconds // 60, seconds % 60))
    passed = sum(suite.passed for suite in lines)
    failed = sum(suite.failed for suite in lines)
    print("Summary: %d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
