#!/usr/bin/env python3
"""Runs the program scenarios of tests/scenarios/*.toml against a build.

    run_scenarios.py --backend native|wine --bin <build>/bin [--filter text]
                     [--keep] [--verbose] files.toml...

Every case gets a fresh case root and a fresh registry, runs one program and
compares its exit code, output, files and registry with the expectations.
The file format is described in FORMAT.md beside this script. The last line
printed is "N passed, N failed" (with ", N skipped" and ", N todo" when there
are any); the exit code is 0 only when nothing failed. With --backend wine
and no Wine installed the run ends with SKIP_EXIT (77), or fails when the
environment variable CI is "true".
"""

import argparse
import fcntl
import os
import re
import shutil
import subprocess
import sys
import signal
import tempfile
import tomllib

SKIP_EXIT = 77
WINE_LOADER = "/usr/lib/wine/wine64"
LOCALES = {932: "ja_JP.UTF-8", 1252: "en_US.UTF-8"}
ENCODINGS = {932: "cp932", 1252: "cp1252"}
# Keys the runner removes before every case, so each starts from a known
# registry.
REGISTRY_RESET = [
    "HKCU\\Software\\Corve_Macro",
    "HKLM\\Software\\Corve_Macro",
    "HKCU\\Software\\VELDO",
]
RESET_COMMANDS = ["delete-tree " + key for key in REGISTRY_RESET]
CASE_KEYS = {
    "name", "codepage", "env", "cwd", "stdin", "registry", "files", "mtimes",
    "copy", "args", "exit", "stdout", "stderr", "files_after",
    "absent_after", "registry_after", "registry_absent", "native", "wine",
    "skip", "todo",
}
FILE_KEYS = {"program", "case"}
# A program that does not end within this is stuck, not slow: the guard only
# keeps a hanging case from stopping the whole suite.
HANG_GUARD_SECONDS = 120
# Passed through to every program when set: sanitizer settings of a
# sanitizer build.
PASS_THROUGH_ENV = ["ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"]


REPEAT = re.compile(r"\{repeat:(\d+):([^{}])\}")


class CaseError(Exception):
    """A case that cannot be set up as written."""


# ------------------------------------------------------------ qbreg protocol

def escape_field(data, separator=b""):
    """ASCII field of qbreg's protocol for the given bytes."""
    if data == b"":
        return "-"
    if data == b"-":
        return "%2D"
    out = []
    for byte in data:
        if 0x21 <= byte <= 0x7E and byte != 0x25 and bytes([byte]) != separator:
            out.append(chr(byte))
        else:
            out.append("%%%02X" % byte)
    return "".join(out)


def unescape_field(field):
    if field == "-":
        return b""
    out = bytearray()
    i = 0
    while i < len(field):
        if field[i] == "%":
            out.append(int(field[i + 1:i + 3], 16))
            i += 3
        else:
            out.append(ord(field[i]))
            i += 1
    return bytes(out)


def registry_value(kind, text, encoding):
    """A value in comparable form: bytes, int or list of bytes."""
    if kind in ("sz", "expand_sz"):
        return text.encode(encoding)
    if kind == "dword":
        return int(text)
    if kind == "binary":
        return bytes.fromhex(text)
    if kind == "multi_sz":
        return [entry.encode(encoding) for entry in text.split("|")] if text else []
    raise CaseError("unknown registry type %r" % kind)


def encode_set(key, name, kind, text, encoding):
    value = registry_value(kind, text, encoding)
    if kind in ("sz", "expand_sz"):
        data = escape_field(value)
    elif kind == "dword":
        data = str(value)
    elif kind == "binary":
        data = value.hex() or "-"
    else:
        data = "|".join(escape_field(entry, b"|") for entry in value) or "-"
    return "set %s %s %s %s" % (escape_field(key.encode(encoding)),
                                escape_field(name.encode(encoding)), kind, data)


def decode_get(answer):
    """qbreg's answer to get: (type, value) or None when absent."""
    if answer == "absent":
        return None
    kind, _, data = answer.partition(" ")
    if kind in ("sz", "expand_sz"):
        return kind, unescape_field(data)
    if kind == "dword" and data.isdigit():
        return kind, int(data)
    if kind == "multi_sz":
        return kind, [] if data == "-" else [unescape_field(e) for e in data.split("|")]
    return kind, b"" if data == "-" else bytes.fromhex(data)


def show_value(value, encoding):
    if value is None:
        return "absent"
    kind, data = value
    if isinstance(data, bytes):
        text = data.hex() if kind not in ("sz", "expand_sz") else \
            data.decode(encoding, "backslashreplace")
    elif isinstance(data, list):
        text = "|".join(e.decode(encoding, "backslashreplace") for e in data)
    else:
        text = str(data)
    return "%s %r" % (kind, text)


# ------------------------------------------------------------ backends

class Backend:
    """How programs are started: natively or through Wine."""

    def __init__(self, name, bin_dir):
        self.name = name
        self.bin_dir = os.path.abspath(bin_dir)
        self.exe = ".exe" if name == "wine" else ""
        self.prefix = None
        self.lock = None

    def command(self, program):
        path = os.path.join(self.bin_dir, program + self.exe)
        return [WINE_LOADER, path] if self.name == "wine" else [path]

    def start(self):
        if self.name != "wine":
            return
        build_dir = os.path.dirname(self.bin_dir)
        self.prefix = os.path.join(build_dir, "wineprefix")
        # One suite at a time per prefix: parallel runs would share (and
        # kill) one wineserver.
        self.lock = open(self.prefix + ".lock", "w")
        fcntl.flock(self.lock, fcntl.LOCK_EX)
        env = self.wine_env(dict(os.environ))
        if not os.path.exists(os.path.join(self.prefix, "system.reg")):
            print("creating the Wine prefix %s" % self.prefix, flush=True)
            subprocess.run([WINE_LOADER, "wineboot.exe", "--init"], env=env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           check=False)
        subprocess.run([self.wineserver(), "-p"], env=env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       check=False)

    def stop(self):
        if self.name != "wine":
            return
        subprocess.run([self.wineserver(), "-k"],
                       env=self.wine_env(dict(os.environ)),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       check=False)
        self.lock.close()

    @staticmethod
    def wineserver():
        for path in ("/usr/lib/wine/wineserver", shutil.which("wineserver")):
            if path and os.path.exists(path):
                return path
        return "wineserver"

    def wine_env(self, env):
        env["WINEPREFIX"] = self.prefix
        env["WINEDEBUG"] = "-all"
        # No Mono or Gecko installer prompts while the prefix is made.
        env["WINEDLLOVERRIDES"] = "mscoree,mshtml="
        env.pop("DISPLAY", None)
        env.pop("WAYLAND_DISPLAY", None)
        return env

    def decode_output(self, data, encoding):
        if self.name == "wine":
            # A Windows program writes its console text in the code page,
            # with text-mode line ends.
            return data.decode(encoding, "backslashreplace").replace("\r\n", "\n")
        return data.decode("utf-8", "backslashreplace")


# ------------------------------------------------------------ one case

class Case:
    def __init__(self, backend, program, case_data, root, scratch, number):
        self.backend = backend
        self.program = program
        self.case_data = case_data
        self.root = root
        self.codepage = case_data.get("codepage", 1252)
        if self.codepage not in ENCODINGS:
            raise CaseError("codepage must be 932 or 1252")
        self.encoding = ENCODINGS[self.codepage]
        windows_root = "Z:" + root.replace("/", "\\")
        # The Windows directory, where a bare INI name is looked for: one per
        # case natively, the prefix's own under Wine (shared, so the files a
        # case puts there are removed after it).
        if backend.name == "wine":
            self.windir = os.path.join(backend.prefix, "drive_c", "windows")
        else:
            self.windir = os.path.join(scratch, "windows%d" % number)
        self.windir_files = []
        self.places = {
            "{root}": windows_root,
            "{root_lc}": windows_root.lower(),
            "{root_fwd}": windows_root.lower().replace("\\", "/"),
            "{unix_root}": root,
            "{bin}": "Z:" + backend.bin_dir.replace("/", "\\"),
            "{exe}": backend.exe,
            "{windir}": self.windir,
            # Word 0 as the program receives it: the path it was started by.
            "{program}": (backend.command(program)[-1] if backend.name != "wine" else
                          "Z:" + backend.command(program)[-1].replace("/", "\\")),
        }
        self.env = self.base_env(scratch, number)

    def fill(self, value):
        """Placeholders replaced in a string, or in every string of a list
        or table (keys included)."""
        if isinstance(value, str):
            value = REPEAT.sub(lambda m: m.group(2) * int(m.group(1)), value)
            for place, text in self.places.items():
                value = value.replace(place, text)
            return value
        if isinstance(value, list):
            return [self.fill(item) for item in value]
        if isinstance(value, dict):
            return {self.fill(k): self.fill(v) for k, v in value.items()}
        return value

    def get(self, key, default=None):
        return self.fill(self.case_data.get(key, default))

    def base_env(self, scratch, number):
        locale = LOCALES[self.codepage]
        env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": os.environ.get("HOME", "/tmp"),
            "LC_ALL": locale,
            "LANG": locale,
        }
        for name in PASS_THROUGH_ENV:
            if name in os.environ:
                env[name] = os.environ[name]
        if self.backend.name == "wine":
            self.backend.wine_env(env)
            env["QUILLBAY_MESSAGE_BOX"] = "stderr"
        else:
            registry = os.path.join(scratch, "registry%d" % number)
            os.makedirs(registry)
            os.makedirs(self.windir)
            env["QUILLBAY_REGISTRY"] = registry
            env["QUILLBAY_WINDIR"] = self.windir
            env["QUILLBAY_CODEPAGE"] = str(self.codepage)
        return env

    def path(self, relative):
        return os.path.join(self.root, relative).encode("utf-8")

    def content(self, value):
        """Bytes of a file text: a string in the case's code page, or a
        table { hex = "..." } for bytes that no text can spell."""
        if isinstance(value, dict):
            if set(value) != {"hex"}:
                raise CaseError("a file table holds only hex")
            return bytes.fromhex(value["hex"].replace(" ", ""))
        try:
            return value.encode(self.encoding)
        except UnicodeEncodeError as error:
            raise CaseError("text not in code page %d: %s" % (self.codepage, error))

    # ---- set-up

    def make_files(self):
        os.makedirs(self.root)
        for name, text in self.get("files", {}).items():
            path = self.path(name)
            if name.endswith("/"):
                os.makedirs(path, exist_ok=True)
                continue
            os.makedirs(os.path.dirname(path), exist_ok=True)
            if name.startswith(self.windir + "/"):
                self.windir_files.append(path)
            with open(path, "wb") as out:
                out.write(self.content(text))
        for name, program in self.get("copy", {}).items():
            path = self.path(name)
            os.makedirs(os.path.dirname(path), exist_ok=True)
            source = os.path.join(self.backend.bin_dir, program + self.backend.exe)
            if not os.path.exists(source):
                raise CaseError("no built program %s to copy" % source)
            shutil.copy2(source, path)
        for name, seconds in self.get("mtimes", {}).items():
            os.utime(self.path(name), (seconds, seconds))

    def remove_windir_files(self):
        for path in self.windir_files:
            if os.path.lexists(path):
                os.remove(path)

    def qbreg(self, commands, env=None):
        """Runs qbreg commands in one process; returns its answer lines."""
        code, out, err = run_process(self.backend.command("qbreg"),
                                     ("\n".join(commands) + "\n").encode("ascii"),
                                     env or self.env, self.root)
        out = out.decode("ascii", "replace")
        if code != 0:
            raise CaseError("qbreg failed (exit %s): %s" % (
                code, err.decode("ascii", "replace").strip() or out.strip()))
        return out.splitlines()

    def set_registry(self):
        commands = list(RESET_COMMANDS)
        for entry in self.get("registry", []):
            if len(entry) != 4:
                raise CaseError("a registry entry is [key, name, type, data]")
            commands.append(encode_set(*entry, self.encoding))
        try:
            self.qbreg(commands)
        except CaseError:
            # Keys left by an interrupted run in the other code page may
            # have names this one cannot spell: remove them in theirs.
            other = 932 if self.codepage == 1252 else 1252
            self.qbreg(RESET_COMMANDS, self.code_page_env(other))
            self.qbreg(commands)

    def code_page_env(self, codepage):
        env = dict(self.env)
        env["LC_ALL"] = env["LANG"] = LOCALES[codepage]
        if "QUILLBAY_CODEPAGE" in env:
            env["QUILLBAY_CODEPAGE"] = str(codepage)
        return env

    # ---- the run

    def run(self):
        args = self.get("args", [])
        env = dict(self.env)
        for name, value in self.get("env", {}).items():
            env[name] = value
        cwd = os.path.join(self.root, self.get("cwd", ""))
        stdin = self.get("stdin", "").encode(self.encoding)
        command = self.backend.command(self.program) + [a.encode("utf-8") for a in args]
        return run_process(command, stdin, env, cwd)

    # ---- checks: each returns a list of differences

    def check_result(self, result):
        problems = []
        code, outputs = result[0], {"stdout": result[1], "stderr": result[2]}
        expected_exit = self.case_data["exit"]
        if code != expected_exit:
            got = "killed by signal %d" % -code if code < 0 else code
            problems.append("exit code: expected %s, got %s" % (expected_exit, got))
        for stream in ("stdout", "stderr"):
            expected = self.get(stream, "")
            got = self.backend.decode_output(outputs[stream], self.encoding)
            if got != expected:
                problems.append("%s: expected %r, got %r" % (stream, expected, got))
        return problems

    def check_files(self):
        problems = []
        for name, text in self.get("files_after", {}).items():
            path = self.path(name)
            if name.endswith("/"):
                if not os.path.isdir(path):
                    problems.append("%s: directory missing" % name)
                continue
            if not os.path.isfile(path):
                problems.append("%s: file missing" % name)
                continue
            with open(path, "rb") as f:
                got = f.read()
            expected = self.content(text)
            if got != expected:
                problems.append(describe_bytes(name, expected, got))
        for name in self.get("absent_after", []):
            if os.path.lexists(self.path(name)):
                problems.append("%s: exists but must not" % name)
        return problems

    def check_registry(self):
        commands, wanted = [], []
        for entry in self.get("registry_after", []):
            if len(entry) != 4:
                raise CaseError("a registry_after entry is [key, name, type, data]")
            key, name, kind, text = entry
            commands.append("get %s %s" % (escape_field(key.encode(self.encoding)),
                                           escape_field(name.encode(self.encoding))))
            wanted.append(("value", entry, (kind, registry_value(kind, text, self.encoding))))
        for entry in self.get("registry_absent", []):
            if isinstance(entry, str):
                commands.append("exists " + escape_field(entry.encode(self.encoding)))
                wanted.append(("key", entry, "no"))
            elif len(entry) == 2:
                commands.append("get %s %s" % (escape_field(entry[0].encode(self.encoding)),
                                               escape_field(entry[1].encode(self.encoding))))
                wanted.append(("value", entry, None))
            else:
                raise CaseError("a registry_absent entry is a key or [key, name]")
        # The case's keys go in the case's own code page, which can spell
        # their names; the next case then starts from a clean registry.
        answers = self.qbreg(commands + RESET_COMMANDS)
        if len(answers) != len(commands):
            raise CaseError("qbreg answered %d of %d questions" % (len(answers), len(commands)))
        problems = []
        for (what, entry, expected), answer in zip(wanted, answers):
            if what == "key":
                if answer != expected:
                    problems.append("registry key %s: exists but must not" % entry)
                continue
            got = decode_get(answer)
            if got != expected:
                problems.append("registry %s [%s]: expected %s, got %s" % (
                    entry[0], entry[1], show_value(expected, self.encoding),
                    show_value(got, self.encoding)))
        return problems


class HangAlarm(Exception):
    pass


def on_hang_alarm(signum, frame):
    raise HangAlarm()


def run_process(command, stdin, env, cwd):
    """Runs a program to its end: (exit code, stdout bytes, stderr bytes).

    The streams are files, not pipes: under Wine the first program of a
    session starts helper processes (wineserver, winedevice) that inherit
    the program's handles and outlive it, and a pipe would then never reach
    its end."""
    env = {k: v.encode("utf-8") if isinstance(v, str) else v for k, v in env.items()}
    with tempfile.TemporaryFile() as given, tempfile.TemporaryFile() as out, \
            tempfile.TemporaryFile() as err:
        given.write(stdin)
        given.seek(0)
        process = subprocess.Popen(command, stdin=given, stdout=out, stderr=err,
                                   env=env, cwd=cwd.encode("utf-8"))
        # A blocking wait under an alarm: Popen.wait(timeout) would poll
        # with sleeps and cost more than a native case itself.
        signal.signal(signal.SIGALRM, on_hang_alarm)
        signal.alarm(HANG_GUARD_SECONDS)
        try:
            code = process.wait()
        except HangAlarm:
            process.kill()
            process.wait()
            raise CaseError("%s did not end within %d s" % (
                " ".join(os.fsdecode(word) for word in command)[:200], HANG_GUARD_SECONDS))
        finally:
            signal.alarm(0)
        out.seek(0)
        err.seek(0)
        return code, out.read(), err.read()


def describe_bytes(name, expected, got):
    """A file difference with the bytes around the first mismatch."""
    at = next((i for i, (a, b) in enumerate(zip(expected, got)) if a != b),
              min(len(expected), len(got)))
    start = max(0, at - 16)
    return ("%s: contents differ at byte %d (expected %d bytes, got %d)\n"
            "      expected: %r\n      got:      %r" % (
                name, at, len(expected), len(got),
                expected[start:at + 48], got[start:at + 48]))


# ------------------------------------------------------------ the suite

def merged_case(case, backend):
    """The case with its overrides for this backend applied."""
    case_data = {k: v for k, v in case.items() if k not in ("native", "wine")}
    case_data.update(case.get(backend, {}))
    return case_data


def check_format(file_name, data):
    problems = []
    unknown = set(data) - FILE_KEYS
    if unknown:
        problems.append("unknown top-level keys %s" % sorted(unknown))
    if not isinstance(data.get("program"), str):
        problems.append("no program named")
    for case in data.get("case", []):
        name = case.get("name", "?")
        unknown = set(case) - CASE_KEYS
        for backend in ("native", "wine"):
            unknown |= set(case.get(backend, {})) - CASE_KEYS
        if unknown:
            problems.append("case %r: unknown keys %s" % (name, sorted(unknown)))
        if "name" not in case:
            problems.append("a case without a name")
        if "exit" not in case:
            problems.append("case %r: no expected exit code" % name)
    return ["%s: %s" % (file_name, p) for p in problems]


def temp_base():
    """A scratch directory whose path has no upper case, blanks or non-ASCII,
    so that case roots lower-case to themselves after the drive letter."""
    parent = tempfile.gettempdir()
    if not re.fullmatch(r"[a-z0-9/._-]+", parent):
        parent = "/tmp"
    return tempfile.mkdtemp(prefix="qbscn-%d-" % os.getpid(), dir=parent)


def run_suite(options, backend):
    counts = {"passed": 0, "failed": 0, "skipped": 0, "todo": 0}
    scratch = temp_base()
    number = 0
    try:
        for file_name in options.files:
            label = os.path.basename(file_name)
            try:
                with open(file_name, "rb") as f:
                    data = tomllib.load(f)
            except (OSError, tomllib.TOMLDecodeError) as error:
                print("FAIL %s: cannot be read: %s" % (label, error))
                counts["failed"] += 1
                continue
            problems = check_format(label, data)
            if problems:
                for problem in problems:
                    print("FAIL " + problem)
                counts["failed"] += 1
                continue
            for case in data.get("case", []):
                title = "%s: %s" % (label, case["name"])
                if options.filter and options.filter not in title:
                    continue
                number += 1
                case_data = merged_case(case, backend.name)
                if "skip" in case_data:
                    print("SKIP %s (%s)" % (title, case_data["skip"]))
                    counts["skipped"] += 1
                    continue
                root = os.path.join(scratch, "case%d" % number)
                try:
                    problems = run_case(backend, data["program"], case_data, root, scratch, number)
                except WineStartFailed:
                    # Once more from a fresh root; a second such run fails.
                    print("RETRY %s: Wine ended with 1 and no output, as when it "
                          "cannot start the program" % title)
                    try:
                        problems = run_case(backend, data["program"], case_data,
                                            root + "-again", scratch, number)
                    except WineStartFailed:
                        problems = ["Wine ended with 1 and no output twice: the "
                                    "program did not start or failed silently"]
                todo = case_data.get("todo")
                if todo and problems:
                    print("TODO %s (%s)" % (title, todo))
                    if options.verbose:
                        for problem in problems:
                            print("  " + problem)
                    counts["todo"] += 1
                elif todo:
                    print("FAIL %s\n  passes now: remove its todo mark (%s)" % (title, todo))
                    counts["failed"] += 1
                elif problems:
                    print("FAIL %s" % title)
                    for problem in problems:
                        print("  " + problem)
                    counts["failed"] += 1
                else:
                    if options.verbose:
                        print("ok   %s" % title)
                    counts["passed"] += 1
    finally:
        if options.keep:
            print("case roots kept in %s" % scratch)
        else:
            shutil.rmtree(scratch, ignore_errors=True)
    return counts


class WineStartFailed(Exception):
    pass


def failed_wine_start(backend, case_data, result):
    """Whether a run under Wine looks like a program that never started:
    on a loaded machine Wine now and then ends with 1 and prints nothing
    before the program runs. Such a run says nothing about the program."""
    code, out, err = result
    return (backend.name == "wine" and code == 1 and not out and not err
            and case_data.get("exit") != 1)


def run_case(backend, program, case_data, root, scratch, number):
    case = None
    try:
        case = Case(backend, program, case_data, root, scratch, number)
        case.make_files()
        case.set_registry()
        result = case.run()
        if failed_wine_start(backend, case_data, result):
            raise WineStartFailed()
        return case.check_result(result) + case.check_files() + case.check_registry()
    except CaseError as error:
        return [str(error)]
    except (OSError, ValueError, TypeError, KeyError) as error:
        return ["cannot run the case as written: %s: %s" % (type(error).__name__, error)]
    finally:
        if case is not None:
            case.remove_windir_files()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--backend", choices=("native", "wine"), required=True)
    parser.add_argument("--bin", required=True, help="directory of the built programs")
    parser.add_argument("--filter", help="run only cases whose 'file: name' holds this")
    parser.add_argument("--keep", action="store_true", help="keep the case roots")
    parser.add_argument("--verbose", action="store_true", help="list passing cases too")
    parser.add_argument("files", nargs="+")
    options = parser.parse_args()

    if options.backend == "wine" and not os.path.exists(WINE_LOADER):
        in_ci = os.environ.get("CI", "").lower() == "true"
        print("%s not found: the Wine scenarios %s" % (
            WINE_LOADER, "cannot run (CI requires them)" if in_ci else "are skipped"))
        return 1 if in_ci else SKIP_EXIT

    backend = Backend(options.backend, options.bin)
    backend.start()
    try:
        counts = run_suite(options, backend)
    finally:
        backend.stop()
    line = "%d passed, %d failed" % (counts["passed"], counts["failed"])
    if counts["skipped"]:
        line += ", %d skipped" % counts["skipped"]
    if counts["todo"]:
        line += ", %d todo" % counts["todo"]
    print(line)
    return 1 if counts["failed"] else 0


if __name__ == "__main__":
    sys.exit(main())
