#!/usr/bin/env python3
"""Real TeX runs through ravick: TeX Live's pdftex and latex on small
documents, each in a fresh directory with its own registry and macro folder.

    ravick_tex.py --backend native|wine --bin <build>/bin

Every case runs natively: a clean document, labels that need a second run,
an error answered with e (the engine starts tavlet through TEXEDIT) and with
x, and the format's own program found beside the engine. Under Wine the
engine is the Unix pdftex behind a Windows stand-in (fake_engine with
FAKE_ENGINE_PASS, and wine_engine.sh); a Unix engine cannot run TEXEDIT's
Windows command, so the e answer is the one case left out there.

A missing TeX installation is a failure, not a skip. Exit code 0 only when
every case passed.
"""

import argparse
import fcntl
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ENGINE = "/usr/bin/pdftex"
FORMAT_PROGRAM = "/usr/bin/latex"
WINE_LOADER = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
MACRO_CONFIG = "HKCU\\Software\\Corve_Macro\\Quillbay\\MacroConfig"
GUARD_SECONDS = 300

CLEAN = r"""\documentclass{article}
\begin{document}
Hello.
\end{document}
"""
LABELS = r"""\documentclass{article}
\begin{document}
\section{One}\label{one}
See section~\ref{one}.
\end{document}
"""
# The undefined control sequence stands on line 4.
UNDEFINED = r"""\documentclass{article}
\begin{document}
Hello.
\undefinedcommand
\end{document}
"""


class Run:
    """One case: a fresh directory with doc/, macro/ (tavlet in its tools
    folder) and a registry whose MacroDir names macro/."""

    def __init__(self, backend, bin_dir, name):
        self.backend = backend
        self.bin_dir = bin_dir
        self.root = tempfile.mkdtemp(prefix="qbtex-")
        self.name = name
        self.doc = os.path.join(self.root, "doc")
        self.macro = os.path.join(self.root, "macro")
        os.makedirs(self.doc)
        os.makedirs(os.path.join(self.macro, "tools"))
        self.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": os.environ.get("HOME", "/tmp"),
            "LC_ALL": "en_US.UTF-8",
            "LANG": "en_US.UTF-8",
        }
        if backend == "native":
            self.env["QUILLBAY_REGISTRY"] = os.path.join(self.root, "registry")
            self.env["QUILLBAY_WINDIR"] = os.path.join(self.root, "windows")
            self.env["QUILLBAY_CODEPAGE"] = "1252"
            os.makedirs(self.env["QUILLBAY_REGISTRY"])
            os.makedirs(self.env["QUILLBAY_WINDIR"])
            # /bin/sh runs the engine's edit command: a native macro folder
            # and forward slashes make "<macro>/tools/tavlet" a command it
            # can run.
            self.env["KSH_NEC_WIN95"] = "1"
            shutil.copy2(os.path.join(bin_dir, "tavlet"), os.path.join(self.macro, "tools", "tavlet"))
            macro_dir = self.macro
        else:
            self.env["WINEPREFIX"] = os.path.join(os.path.dirname(bin_dir), "wineprefix")
            self.env["WINEDEBUG"] = "-all"
            self.env["WINEDLLOVERRIDES"] = "mscoree,mshtml="
            shutil.copy2(os.path.join(bin_dir, "tavlet.exe"), os.path.join(self.macro, "tools", "tavlet.exe"))
            macro_dir = self.windows(self.macro)
        self.qbreg("delete-tree HKCU\\Software\\Corve_Macro\nset %s MacroDir sz %s\n" % (MACRO_CONFIG, macro_dir))

    @staticmethod
    def windows(path):
        return "Z:" + path.replace("/", "\\")

    def command(self, program):
        if self.backend == "native":
            return [os.path.join(self.bin_dir, program)]
        return [WINE_LOADER, os.path.join(self.bin_dir, program + ".exe")]

    def run(self, command, stdin=b""):
        """Runs to the end with files for the streams (Wine's helper
        processes would hold pipes open); returns (code, stdout, stderr)."""
        with tempfile.TemporaryFile() as given, tempfile.TemporaryFile() as out, \
                tempfile.TemporaryFile() as err:
            given.write(stdin)
            given.seek(0)
            code = subprocess.run(command, stdin=given, stdout=out, stderr=err,
                                  env=self.env, cwd=self.root, timeout=GUARD_SECONDS,
                                  check=False).returncode
            out.seek(0)
            err.seek(0)
            return code, out.read().decode("utf-8", "replace"), err.read().decode("utf-8", "replace")

    def qbreg(self, commands):
        code, out, err = self.run(self.command("qbreg"), commands.encode())
        if code != 0:
            raise RuntimeError("qbreg failed: %s %s" % (out, err))

    def write(self, name, text):
        with open(os.path.join(self.doc, name), "w") as f:
            f.write(text)

    def read(self, path):
        try:
            with open(path, "rb") as f:
                return f.read().decode("latin-1")
        except FileNotFoundError:
            return None

    def ravick(self, virtex, format_opt, source, stdin=b""):
        return self.run(self.command("ravick") + [virtex, format_opt, source], stdin)

    def status(self):
        """The status file as {key: value}, None when it was never written."""
        text = self.read(os.path.join(self.macro, "dyndata.ini"))
        if text is None:
            return None
        values = {}
        for line in text.splitlines():
            if "=" in line:
                key, value = line.split("=", 1)
                values[key] = value
        return values

    def source(self, name):
        path = os.path.join(self.doc, name)
        return path if self.backend == "native" else self.windows(path)

    def close(self):
        shutil.rmtree(self.root, ignore_errors=True)


def expect(problems, what, expected, got):
    if expected != got:
        problems.append("%s: expected %r, got %r" % (what, expected, got))


def expect_run(problems, run, result, exit_code):
    code, out, err = result
    expect(problems, "exit code", exit_code, code)
    status = run.status() or {}
    expect(problems, "return_virtex", str(exit_code), status.get("return_virtex"))
    if problems:
        problems.append("engine output tail: %s" % out[-600:].replace("\n", " | "))
        if err:
            problems.append("stderr: %s" % err[-600:])


# ------------------------------------------------------------ cases

def case_clean(run, engine_dir):
    """A clean LaTeX document: 0."""
    problems = []
    run.write("paper.tex", CLEAN)
    expect_run(problems, run, run.ravick(engine_dir + "pdftex", "&latex", run.source("paper.tex")), 0)
    return problems


def case_labels(run, engine_dir):
    """\\label and \\ref: the first run asks for another (1), the second is clean (0)."""
    problems = []
    run.write("paper.tex", LABELS)
    expect_run(problems, run, run.ravick(engine_dir + "pdftex", "&latex", run.source("paper.tex")), 1)
    if not problems:
        expect_run(problems, run, run.ravick(engine_dir + "pdftex", "&latex", run.source("paper.tex")), 0)
    return problems


def case_edit(run, engine_dir):
    """An error answered with e: tavlet records file and line, then 2.

    The engine starts tavlet through TEXEDIT; it writes the file and the
    line with Exec_Flag 0, and the log's "? e" gives 2."""
    problems = []
    run.write("paper.tex", UNDEFINED)
    expect_run(problems, run, run.ravick(engine_dir + "pdftex", "&latex", run.source("paper.tex"), b"e\n"), 2)
    status = run.status() or {}
    expect(problems, "Error_FileName", os.path.join(run.doc, "paper.tex").replace("/", "\\"),
           status.get("Error_FileName"))
    expect(problems, "Error_Line", "4", status.get("Error_Line"))
    expect(problems, "Exec_Flag", "0", status.get("Exec_Flag"))
    return problems


def case_exit(run, engine_dir):
    """The same error answered with x: 4, and tavlet never ran."""
    problems = []
    run.write("paper.tex", UNDEFINED)
    expect_run(problems, run, run.ravick(engine_dir + "pdftex", "&latex", run.source("paper.tex"), b"x\n"), 4)
    status = run.status() or {}
    expect(problems, "Exec_Flag", None, status.get("Exec_Flag"))
    return problems


def case_format_program(run, engine_dir):
    """pdftex with &latex and latex beside it: latex runs without &latex.

    TeX's first input line, logged after "**", is the source name alone."""
    problems = []
    run.write("paper.tex", CLEAN)
    expect_run(problems, run, run.ravick(engine_dir + "pdftex", "&latex", run.source("paper.tex")), 0)
    log = run.read(os.path.join(run.doc, "paper.log")) or ""
    first_line = next((line for line in log.splitlines() if line.startswith("**")), None)
    expect(problems, "first input line", "**" + os.path.join(run.doc, "paper.tex").lower(), first_line)
    return problems


NATIVE_CASES = [case_clean, case_labels, case_edit, case_exit, case_format_program]
WINE_CASES = [case_clean, case_labels, case_exit, case_format_program]


def wine_engine_dir(run):
    """A Windows engine folder: pdftex.exe and latex.exe are fake_engine,
    which passes the run on to the Debian pdftex and waits for it."""
    folder = os.path.join(run.root, "texbin")
    os.makedirs(folder)
    for name in ("pdftex.exe", "latex.exe"):
        shutil.copy2(os.path.join(run.bin_dir, "fake_engine.exe"), os.path.join(folder, name))
    # Named .exe so that cmd.exe starts it as a program; Wine runs it as
    # the Unix script it is.
    shutil.copy2(os.path.join(HERE, "wine_engine.sh"), os.path.join(folder, "unix_engine.exe"))
    run.env["FAKE_ENGINE_PASS"] = Run.windows(os.path.join(folder, "unix_engine.exe"))
    return Run.windows(folder) + "\\"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--backend", choices=["native", "wine"], required=True)
    parser.add_argument("--bin", required=True)
    options = parser.parse_args()
    bin_dir = os.path.abspath(options.bin)

    missing = [p for p in (ENGINE, FORMAT_PROGRAM) if not os.access(p, os.X_OK)]
    if options.backend == "wine" and not os.access(WINE_LOADER, os.X_OK):
        missing.append(WINE_LOADER)
    if missing:
        print("FAIL: TeX runs need %s (TeX Live, and Wine for the Wine build)" % ", ".join(missing))
        return 1

    if options.backend == "wine":
        # The build's Wine prefix, as the scenario runner uses it: one user
        # at a time, and a wineserver kept alive for the whole run (a server
        # that starts with a program's first child has failed that start).
        prefix = os.path.join(os.path.dirname(bin_dir), "wineprefix")
        lock = open(prefix + ".lock", "w")
        fcntl.flock(lock, fcntl.LOCK_EX)
        subprocess.run([WINESERVER, "-p"], env=dict(os.environ, WINEPREFIX=prefix),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)

    failed = 0
    cases = NATIVE_CASES if options.backend == "native" else WINE_CASES
    for case in cases:
        run = Run(options.backend, bin_dir, case.__name__)
        try:
            engine_dir = "/usr/bin/" if options.backend == "native" else wine_engine_dir(run)
            problems = case(run, engine_dir)
        except (OSError, RuntimeError, subprocess.TimeoutExpired) as error:
            problems = ["could not run: %s" % error]
        summary = case.__doc__.strip().splitlines()[0]
        if problems:
            failed += 1
            print("FAIL %s: %s" % (case.__name__, summary))
            for problem in problems:
                print("  " + problem)
        else:
            print("ok   %s: %s" % (case.__name__, summary))
        if not problems or not os.environ.get("QUILLBAY_KEEP"):
            run.close()
    print("%d passed, %d failed" % (len(cases) - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
