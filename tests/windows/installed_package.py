#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Stallark developers
# SPDX-License-Identifier: MIT
"""The Windows installer in the caller's Wine prefix (WINEPREFIX, its server running).

    installed_package.py install INSTALLER ZIP STATE INSTALLER_PAGES PREVIOUS_INSTALLER...
    installed_package.py dump LINUX_STALLARK_DUMP LINUX_STALLARK_GEN
    installed_package.py uninstall STATE INSTALLER_PAGES

install: the zip unpacks into its one folder, and its guide is Notepad's plain text (a
byte-order mark, CRLF, no Markdown) opening with the items a Japanese user looks for, in order.
Each previous release installed silently (/S), then this one over it, which leaves the files of
the zip (and refuses and changes nothing while stallark-dump.exe runs, over the last); between
two, this one is uninstalled silently. Over the last it is installed through its pages, in
Japanese, each text measured whole in its control (INSTALLER_PAGES, below). Then the DLLs are
stripped, both programs carry this version, Stallark.exe is a GUI program with the icon, the
licence has its copyright line, the guide is the zip's, the Start menu has two entries,
Stallark and 使い方 (the guide), and the system's program list one entry, of this version, with
its folder and its numbers as numbers; the installer's and the uninstaller's texts are the
Japanese ones of the project, not NSIS's. The files of drive C and the registry before the
previous release's install are kept in STATE.
dump: the installed stallark-dump.exe prints byte for byte (line endings aside) what the Linux
build prints for the same files, of every recognised size and hostile ones, with each option;
-o writes the file what a pipe gets (a .csv one CSV after a byte-order mark) and never writes
over a save; on a console the Japanese texts arrive as characters; a path over 260 characters
opens by its \\?\ form; a wildcard FILE reads its files in name order.
uninstall: a silent uninstall refuses and changes nothing while stallark-dump.exe runs; then
the uninstaller, run through its pages and measured as the installer's, leaves drive C and the
registry as they were before the install (what Wine changes by itself aside).
INSTALLER_PAGES is installer-pages.exe, which presses each page's default button and measures
every text in its control's font under Wine's stand-in for the pages' font, among Debian's
Japanese fonts: none may be cut, and no paragraph may leave its last two characters (い。)
alone on a line.
"""

import fcntl
import json
import lzma
import os
import random
import re
import shlex
import struct
import subprocess
import sys
import tempfile
import termios
import time
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "desktop"))
import desktop  # noqa: E402
from desktop import Failure, check  # noqa: E402
from viewer_under_wine import restart_wine  # noqa: E402

PROGRAM_FILES = "Program Files/Stallark"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Stallark"
ICON_256 = "packaging/icons/hicolor/256x256/apps/io.github.stallark.stallark.png"
# Folders of drive C that Windows and Wine write to by themselves.
SCRATCH = ("windows/", "users/root/Temp/", "users/root/AppData/Local/Temp/")
# What Wine and Windows write into the registry by themselves, to be left out of comparing it:
# the display adapters and monitors (and their device interfaces) that Wine records afresh for
# every X display it meets, or its absence, and its settings of that display; Wine's own
# settings and debugger, and the count of its service manager's starts; the machine's network cards; the console's defaults, written when the first
# console program runs; keys that Windows always has and Wine makes on first use; and the files
# that Windows deletes when it next starts, among them the copy of itself that every
# uninstaller leaves in the temporary folder.
SYSTEM_ENTRIES = (
    r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Video",
    r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Class\{4D36E968-E325-11CE-BFC1-08002BE10318}",
    r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Class\{4D36E96E-E325-11CE-BFC1-08002BE10318}",
    r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Enum\DISPLAY",
    r"HKEY_LOCAL_MACHINE\Hardware\DEVICEMAP\VIDEO",
    r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\DeviceClasses\{1CA05180-A699-450A-9A0C-DE4FBE3DDD89}",
    r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\DeviceClasses\{5B45201D-F2F2-4F3B-85BB-30FF1F953599}",
    r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\DeviceClasses\{E6F07B5F-EE97-4A90-B076-33F57BF4EAA7}",
    r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Hardware Profiles\Current",
    r"HKEY_CURRENT_USER\Software\Wine",
    r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\ServiceCurrent",
    r"HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\NetworkCards",
    r"HKEY_LOCAL_MACHINE\Software\Wow6432Node\Microsoft\Windows NT\CurrentVersion\NetworkCards",
    r"HKEY_CURRENT_USER\Console",
    r"HKEY_LOCAL_MACHINE\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\RunServices",
    r"HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced",
    r'HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Session Manager: "PendingFileRenameOperations"=',
)
SOURCE = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
# The user's guide in the source, and as the packages install it.
GUIDE = "docs/guide-ja.md"
GUIDE_INSTALLED = "guide-ja.txt"
# The items that the guide opens with, as its headings, in this order.
GUIDE_ITEMS = ("名称", "バージョン", "概要", "動作環境", "ファイル構成", "インストールと削除",
               "使い方", "更新履歴", "既知の不具合", "著作権とライセンス", "不具合の報告先")
WINE_ENV = dict(os.environ, LC_ALL="C.UTF-8")


def drive_c():
    return os.path.join(os.environ["WINEPREFIX"], "drive_c")


def install_dir():
    return os.path.join(drive_c(), PROGRAM_FILES)


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine(argv, env=WINE_ENV):
    """Runs a Windows program to its end. Its output goes through files, not pipes: a helper
    process that Wine starts on the way inherits them and would hold a pipe open."""
    with tempfile.TemporaryFile() as stdout, tempfile.TemporaryFile() as stderr:
        status = subprocess.run(["wine"] + argv, env=env, stdout=stdout, stderr=stderr,
                                timeout=120).returncode
        stdout.seek(0)
        stderr.seek(0)
        return subprocess.CompletedProcess(argv, status, stdout.read(), stderr.read())


def wine_traced(argv):
    """wine() with Wine's trace of file calls on standard error."""
    return wine(argv, dict(WINE_ENV, WINEDEBUG="trace+file"))


def files_of_drive_c():
    found = set()
    for folder, _, names in os.walk(drive_c()):
        for name in names:
            path = os.path.relpath(os.path.join(folder, name), drive_c())
            if not path.startswith(SCRATCH):
                found.add(path)
    return found


def registry():
    """Every key and value of the machine's and the user's hives, each as a line of what
    `reg export` writes: the key's line alone, or "key: value line"."""
    entries = set()
    with tempfile.TemporaryDirectory() as folder:
        for hive in ("HKLM", "HKCU"):
            path = os.path.join(folder, hive + ".reg")
            result = wine(["reg", "export", hive, windows_path(path), "/y"])
            check(result.returncode == 0, "reg export %s ended with status %d" % (
                hive, result.returncode))
            with open(path, encoding="utf-16") as file:
                # A long value goes on over lines that end in a backslash.
                text = re.sub(r"\\\n\s*", "", file.read())
            key = None
            for line in text.splitlines():
                if line.startswith("[") and line.endswith("]"):
                    key = line[1:-1]
                    entries.add(key)
                elif line and key is not None:
                    entries.add("%s: %s" % (key, line))
    return {entry for entry in entries if not entry.startswith(SYSTEM_ENTRIES)}


def objdump(path):
    return subprocess.run(["x86_64-w64-mingw32-objdump", "-h", "-p", path], check=True,
                          capture_output=True, text=True).stdout


class DumpRunning:
    """The installed stallark-dump.exe kept running: its output goes to a pipe that nobody reads,
    made smaller than what it prints, so that it waits to write until the pipe is closed."""

    def __enter__(self):
        read, write = os.pipe()
        fcntl.fcntl(write, 1031, 4096)  # F_SETPIPE_SZ
        self.read = read
        self.process = subprocess.Popen(
            ["wine", os.path.join(install_dir(), "stallark-dump.exe"), "--all", "--json",
             os.path.join(install_dir(), "examples", "demo.dat")],
            stdout=write, stderr=subprocess.DEVNULL, env=WINE_ENV)
        os.close(write)
        deadline = time.monotonic() + 60
        while pipe_bytes(read) == 0:
            check(time.monotonic() < deadline and self.process.poll() is None,
                  "stallark-dump.exe printed nothing")
            time.sleep(0.2)
        return self

    def __exit__(self, *_):
        os.close(self.read)
        self.process.wait(timeout=60)


def pipe_bytes(fd):
    return int.from_bytes(fcntl.ioctl(fd, termios.FIONREAD, b"\0\0\0\0"), sys.byteorder)


def refused_while_running(argv, what):
    """Runs argv silently while stallark-dump.exe runs: it must end with a non-zero status and
    leave drive C (times included) and the registry as they were."""
    def state():
        return registry(), {path: os.stat(os.path.join(drive_c(), path)).st_mtime_ns
                            for path in files_of_drive_c()}
    with DumpRunning() as running:
        before = state()
        result = wine(argv)
        after = state()
        check(running.process.poll() is None, "stallark-dump.exe ended by itself")
    check(result.returncode != 0, "%s ran while stallark-dump.exe ran" % what)
    check(after == before, "%s changed drive C or the registry while stallark-dump.exe ran:"
          " %s" % (what, sorted(set(after[1].items()) ^ set(before[1].items()))[:10]))


def pages_font():
    """The face and the size in points of the pages' Japanese font, as texts.nsh sets it."""
    with open(os.path.join(SOURCE, "packaging", "windows", "texts.nsh"), encoding="utf-8") as file:
        return re.search(r'^SetFont /LANG=1041 "([^"]+)" (\d+)$', file.read(), re.M).groups()


def through_pages(argv, title, pages_program, least):
    """Runs argv with its pages in Japanese on a private desktop while installer-pages goes
    through them, at least `least` of them; returns argv's status."""
    with tempfile.TemporaryDirectory(prefix="stallark-pages-") as work, \
            desktop.Desktop(work) as screen:
        env = dict(screen.env, LC_ALL="ja_JP.UTF-8")
        # The server and its helpers belong to this desktop while it lasts (as in
        # viewer_under_wine.py).
        restart_wine(env)
        try:
            program = subprocess.Popen(["wine"] + argv, env=env, stdin=subprocess.DEVNULL,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            pages = wine([pages_program, title] + list(pages_font()), env=env)
            status = program.wait(timeout=120)
        finally:
            restart_wine(WINE_ENV)
    report = pages.stdout.decode("utf-8", "replace")
    measured = re.search(r"^pages: (\d+), faults: (\d+)", report, re.M)
    check(pages.returncode == 0 and measured and int(measured.group(1)) >= least,
          "the pages of %s, at least %d, are not whole:\n%s" % (title, least, report))
    # One spelling, Windows' own: フォルダー, コンピューター, スタート メニュー, ［次へ］.
    misspelt = re.findall(
        r"フォルダ(?!ー)|コンピュータ(?!ー)|スタートメニュー|「(?:次へ|同意する|参照|完了|削除)」", report)
    check(not misspelt, "the pages of %s spell %s:\n%s" % (title, misspelt, report))
    print("%s: %s pages, every text whole" % (title, measured.group(1)))
    return status


def upgrade(installer, shipped, previous_installers, pages_program):
    """Each previous release, then this one over it, which leaves the zip's files and the
    uninstaller; this one uninstalled before the next, and installed through its pages over the
    last."""
    for number, previous in enumerate(previous_installers):
        last = number == len(previous_installers) - 1
        if number:
            uninstall_installed()
        result = wine([previous, "/S"])
        check(result.returncode == 0, "%s ended with status %d" % (
            os.path.basename(previous), result.returncode))
        if last:
            refused_while_running([installer, "/S"], "the installer")
            # Welcome (naming the version replaced), licence, folder, Start menu and finish.
            status = through_pages([installer], "Stallark セットアップ", pages_program, 5)
        else:
            status = wine([installer, "/S"]).returncode
        check(status == 0, "the installer ended with status %d over %s" % (
            status, os.path.basename(previous)))
        installed = {os.path.relpath(os.path.join(folder, name), install_dir())
                     for folder, _, names in os.walk(install_dir()) for name in names}
        check(installed == shipped | {"Uninstall.exe"},
              "installed over %s and zipped differ: %s" % (
                  os.path.basename(previous), sorted(installed ^ (shipped | {"Uninstall.exe"}))))
    return installed


def zipped(zip_file):
    """The zip's files below its one folder, named as the zip is, and its guide's text."""
    with zipfile.ZipFile(zip_file) as archive:
        names = archive.namelist()
        top = os.path.basename(zip_file)[:-len(".zip")] + "/"
        outside = [name for name in names if not name.startswith(top)]
        check(names and not outside, "the zip has more than its folder %s: %s" % (
            top, outside[:10]))
        guide = archive.read(top + GUIDE_INSTALLED)
    check(guide.startswith(b"\xef\xbb\xbf"), "%s has no byte-order mark" % GUIDE_INSTALLED)
    check(guide.count(b"\n") == guide.count(b"\r\n") == guide.count(b"\r") and
          guide.endswith(b"\r\n"), "%s has line ends other than CRLF" % GUIDE_INSTALLED)
    text = guide[3:].decode("utf-8")
    headings = re.findall(r"^【(.+)】\r$", text, re.M)
    check(tuple(headings[:len(GUIDE_ITEMS)]) == GUIDE_ITEMS and text.startswith("【"),
          "%s opens with the items %s" % (GUIDE_INSTALLED, headings))
    version = re.search(r"-([0-9.]+)-win64\.zip$", zip_file).group(1)
    check(re.search(r"^【バージョン】\r\n%s\r$" % re.escape(version), text, re.M),
          "%s names not the version %s" % (GUIDE_INSTALLED, version))
    markdown = re.findall(r"^(?:#.*|\|.*\|)\r$|\*\*|`", text, re.M)
    check(not markdown, "%s has Markdown marks: %s" % (GUIDE_INSTALLED, markdown[:5]))
    with open(os.path.join(SOURCE, GUIDE), encoding="utf-8") as source:
        sections = re.findall(r"^## (.+)$", source.read(), re.M)
    lost = [section for section in sections if "\r\n■ %s\r\n" % section not in text]
    check(sections and not lost, "%s lacks the sections of %s: %s" % (
        GUIDE_INSTALLED, GUIDE, lost))
    return {name[len(top):] for name in names if not name.endswith("/")}, guide


def install(installer, zip_file, state, pages_program, *previous_installers):
    shipped, guide = zipped(zip_file)
    before = files_of_drive_c()
    registry_before = registry()
    with open(state, "w", encoding="utf-8") as file:
        json.dump({"files": sorted(before), "registry": sorted(registry_before)}, file,
                  indent=0, ensure_ascii=False)
    installed = upgrade(installer, shipped, previous_installers, pages_program)
    for needed in ("Stallark.exe", "stallark-dump.exe", "Qt6Widgets.dll",
                   "plugins/platforms/qwindows.dll", "plugins/styles/qwindowsvistastyle.dll",
                   "libstdc++-6.dll", "libgcc_s_seh-1.dll", "libwinpthread-1.dll",
                   "translations/qtbase_ja.qm", "qt.conf", "licences/Stallark-MIT.txt",
                   "licences/Qt-LGPL-3.0.txt", "licences/Qt-notices.txt", "examples/demo.dat",
                   GUIDE_INSTALLED):
        check(needed in installed, "not installed: " + needed)
    check(read(os.path.join(install_dir(), GUIDE_INSTALLED)) == guide,
          "the installed %s is not the zip's" % GUIDE_INSTALLED)

    for name in sorted(installed):
        if name.endswith(".dll"):
            check(".debug_" not in objdump(os.path.join(install_dir(), name)),
                  name + " is not stripped")
    program = os.path.join(install_dir(), "Stallark.exe")
    headers = objdump(program)
    check("(Windows GUI)" in headers and "pei-x86-64" in headers,
          "Stallark.exe is no 64-bit GUI program")
    with open(program, "rb") as exe, open(os.path.join(SOURCE, ICON_256), "rb") as icon:
        check(icon.read() in exe.read(), "Stallark.exe does not hold the program's icon")

    shortcuts = {os.path.basename(path): path for path in files_of_drive_c() - before
                 if "Start Menu/" in path}
    check(set(shortcuts) == {"Stallark.lnk", "使い方.lnk"} and
          all(path.endswith("Programs/Stallark/" + name) for name, path in shortcuts.items()),
          "the Start menu has not Stallark and 使い方 alone: %s" % sorted(shortcuts.values()))
    with open(os.path.join(drive_c(), shortcuts["使い方.lnk"]), "rb") as link:
        target = link.read()
    check(GUIDE_INSTALLED.encode() in target or GUIDE_INSTALLED.encode("utf-16-le") in target,
          "the Start menu's 使い方 does not open " + GUIDE_INSTALLED)
    installer_texts(installer, os.path.join(install_dir(), "Uninstall.exe"))
    entries = {key for key in registry() - registry_before
               if ":" not in key and "CurrentVersion\\Uninstall\\" in key}
    check(entries == {UNINSTALL_KEY.replace("HKLM", "HKEY_LOCAL_MACHINE")},
          "the program list has not one entry, Stallark's: %s" % sorted(entries))
    entry = wine(["reg", "query", UNINSTALL_KEY]).stdout.decode("utf-8", "replace")
    version = re.search(r"Stallark-([0-9.]+)-win64", installer).group(1)
    for value in ("DisplayName", "UninstallString", "DisplayIcon",
                  "DisplayVersion    REG_SZ    " + version,
                  "InstallLocation    REG_SZ    C:\\" + PROGRAM_FILES.replace("/", "\\")):
        check(value in entry, "the program list's entry has no %s:\n%s" % (value, entry))
    for name in ("Stallark.exe", "stallark-dump.exe"):
        with open(os.path.join(install_dir(), name), "rb") as file:
            check(("ProductVersion\0" + version).encode("utf-16-le") in file.read(),
                  "%s carries no version resource of %s" % (name, version))
    licence_file = os.path.join(install_dir(), "licences", "Stallark-MIT.txt")
    with open(licence_file, encoding="utf-8") as file:
        licence = file.read()
    check(re.search(r"^Copyright \(c\) \d{4} \w", licence, re.M) and "<" not in licence,
          "the licence's copyright line is not filled in:\n" + licence[:200])
    numbers = dict(re.findall(r"^\s*(\w+)\s+REG_DWORD\s+(0x[0-9a-f]+)\s*$", entry, re.M))
    size_kb = sum(os.path.getsize(os.path.join(install_dir(), name))
                  for name in installed) // 1024
    check(numbers.get("NoModify") == "0x1" and numbers.get("NoRepair") == "0x1" and
          abs(int(numbers.get("EstimatedSize", "0"), 16) - size_kb) < size_kb // 10,
          "the program list's entry has not NoModify and NoRepair 1 and EstimatedSize about"
          " %d (KB) as numbers:\n%s" % (size_kb, entry))
    print("installed: %d files, a Start menu entry and a program list entry"
          % len(installed))


def nsis_texts(program):
    """The texts of an NSIS installer or uninstaller: its header, which holds every string of
    every language, decompressed from the LZMA stream that follows its first header, as UTF-16
    (variables and language strings show as codes between the texts)."""
    with open(program, "rb") as file:
        data = file.read()
    at = data.find(b"\xef\xbe\xad\xdeNullsoftInst")
    check(at >= 4, "%s is no NSIS installer" % program)
    header_size = struct.unpack_from("<I", data, at + 16)[0]
    stream = data[at + 24:]
    # Compressed whole (/SOLID) the stream starts with LZMA's properties; else the header has a
    # length of its own in front.
    if stream[0] != 0x5D:
        stream = stream[4:]
    properties, dictionary = stream[0], struct.unpack_from("<I", stream, 1)[0]
    decompressor = lzma.LZMADecompressor(lzma.FORMAT_RAW, filters=[{
        "id": lzma.FILTER_LZMA1, "dict_size": dictionary, "lc": properties % 9,
        "lp": properties // 9 % 5, "pb": properties // 45}])
    header = decompressor.decompress(stream[5:], max_length=header_size + 4)
    return header.decode("utf-16-le", "replace")


def installer_texts(installer, uninstaller):
    """The installer's pages and the uninstaller's in whole Japanese: the project's own texts,
    naming the version (and the installed one it replaces), none of NSIS's that it replaces,
    and no half-width katakana."""
    version = re.search(r"Stallark-([0-9.]+)-win64", installer).group(1)
    expected = {
        installer: ("Stallark %s の\\r\\nセットアップへようこそ" % version,
                    "Stallark %s に置き換えられます。" % version,
                    "Stallark %s を\\r\\nこのコンピューターにインストールしました。" % version,
                    "Stallark を次のフォルダーにインストールします。", "Yu Gothic UI"),
        uninstaller: ("Stallark を次のフォルダーからアンインストールします。\r\n［削除］を押すと始めます。",
                      "削除(&U)", "フォルダー:", "Yu Gothic UI"),
    }
    for program, texts in expected.items():
        found = nsis_texts(program)
        name = os.path.basename(program)
        for text in texts + ("Stallark %s" % version,):
            check(text in found, "%s has not the text %r" % (name, text))
        for text in ("Nullsoft Install System", "からアンインストールされます", "ＭＳ Ｐゴシック"):
            check(text not in found, "%s still has NSIS's text %r" % (name, text))
        half_width = re.findall("[\uff61-\uff9f]+", found)
        check(not half_width, "%s has half-width katakana: %s" % (name, half_width))


def layouts(linux_dump):
    """The recognised file sizes and the horse block's offset in each, as --help states them."""
    text = subprocess.run([linux_dump, "--help"], check=True, capture_output=True,
                          text=True).stdout
    found = {int(size): int(offset) for size, offset in
             re.findall(r"^  (\d+) バイトのファイルでは先頭から (\d+) バイトの位置$", text, re.M)}
    check(len(found) == 3, "stallark-dump --help names no three sizes:\n" + text)
    return found


def horse_files(folder, stallark_gen, linux_dump):
    """Files of every recognised size, demo and hostile, and ones that are no horse file."""
    files = []
    rng = random.Random(14)
    sizes = layouts(linux_dump)
    for size, offset in sorted(sizes.items()):
        demo = os.path.join(folder, "demo-%d.dat" % size)
        subprocess.run([stallark_gen, demo, str(size)], check=True, capture_output=True)
        files.append(demo)
        # Random bytes with every slot marked present: names and abilities out of any table.
        noise = bytearray(rng.getrandbits(8) for _ in range(size))
        for record in range(64):
            noise[offset + record * 400 + 2] = 1
        files.append(write(folder, "noise-%d.dat" % size, noise))
        files.append(write(folder, "ff-%d.dat" % size, b"\xff" * size))
    files.append(write(folder, "zero.dat", bytes(max(sizes))))
    files.append(write(folder, "short.dat", bytes(min(sizes) - 1)))
    files.append(write(folder, "empty.dat", b""))
    files.append(os.path.join(folder, "missing.dat"))
    files.append(folder)
    japanese = os.path.join(folder, "馬データ.dat")
    os.link(files[0], japanese)
    files.append(japanese)
    return files


def read(path):
    with open(path, "rb") as file:
        return file.read()


def write(folder, name, data):
    path = os.path.join(folder, name)
    with open(path, "wb") as file:
        file.write(data)
    return path


def dump(linux_dump, stallark_gen):
    windows_dump = os.path.join(install_dir(), "stallark-dump.exe")
    compared = 0
    with tempfile.TemporaryDirectory(prefix="stallark-dump-") as folder:
        for path in horse_files(folder, stallark_gen, linux_dump):
            # A 評価式 in hiragana and full-width signs reaches the program through Wine's command
            # line as it does through the Linux one; a bad one gives the same message.
            for options in ([], ["--fields"], ["--json"], ["--all"], ["--all", "--fields"],
                            ["--all", "--json"], ["--fields", "--csv"],
                            ["--fields", "--score", "すぴーど＊２ + 瞬発力/気性"],
                            ["--score", "スピ＋1"]):
                linux = subprocess.run([linux_dump] + options + [path], capture_output=True)
                windows = wine([windows_dump] + options + [windows_path(path)])
                if windows.returncode != linux.returncode:
                    # Seen once in some hundred runs: a run under Wine ended with status 1 where
                    # the same run before and after ended as on Linux. A fault of the program
                    # fails the second run too; what the first said is kept for the record.
                    print("again after status %d under Wine: %r" % (windows.returncode,
                                                                     windows.stderr[-300:]))
                    windows = wine([windows_dump] + options + [windows_path(path)])
                what = "stallark-dump %s %s" % (" ".join(options), os.path.basename(path))
                check(windows.returncode == linux.returncode,
                      "%s: status %d under Wine, %d on Linux" % (what, windows.returncode,
                                                                 linux.returncode))
                check(windows.stdout.replace(b"\r\n", b"\n") == linux.stdout,
                      "%s: the output differs from the Linux build's" % what)
                # The messages name the path each its own way; the rest is the same.
                linux_error = linux.stderr.replace(path.encode(), b"PATH")
                windows_error = windows.stderr.replace(b"\r\n", b"\n").replace(
                    windows_path(path).encode(), b"PATH")
                check(windows_error == linux_error,
                      "%s: messages differ: %r under Wine, %r on Linux" % (what, windows_error,
                                                                           linux_error))
                compared += 1
        output_file_console_and_long_path(windows_dump, linux_dump, folder)
        wildcards(windows_dump, linux_dump, folder)
    print("the installed stallark-dump.exe printed what Linux prints in %d runs" % compared)


def output_file_console_and_long_path(windows_dump, linux_dump, folder):
    demo = os.path.join(folder, "demo-589312.dat")
    piped = wine([windows_dump, "--fields", windows_path(demo)])
    output = os.path.join(folder, "出力.tsv")
    written = wine([windows_dump, "--fields", "-o", windows_path(output), windows_path(demo)])
    with open(output, "rb") as file:
        check(written.returncode == 0 and written.stdout == b"" and file.read() == piped.stdout,
              "-o did not write what a pipe gets: %r" % written.stderr)
    piped_csv = wine([windows_dump, "--fields", "--csv", windows_path(demo)])
    output = os.path.join(folder, "出力.CSV")
    written = wine([windows_dump, "--fields", "-o", windows_path(output), windows_path(demo)])
    with open(output, "rb") as file:
        check(written.returncode == 0 and file.read() == b"\xef\xbb\xbf" + piped_csv.stdout,
              "-o FILE.CSV did not write the CSV a pipe gets after a byte-order mark: %r"
              % written.stderr)

    # -o never writes over a save: neither another one nor a FILE named in other case.
    other = os.path.join(folder, "demo-496631.dat")
    for output, refusal in ((windows_path(other), "馬データファイルには"),
                            (windows_path(demo).upper(), "読むファイルには")):
        saves = {path: read(path) for path in (other, demo)}
        refused = wine([windows_dump, "--fields", "-o", output, windows_path(demo)])
        message = "stallark-dump: %s: %s -o で書き込みません。" % (output, refusal)
        check(refused.returncode == 1 and refused.stdout == b"" and
              refused.stderr.decode().strip() == message and
              saves == {path: read(path) for path in (other, demo)},
              "-o %s: status %d, %r, or a save changed" % (output, refused.returncode,
                                                          refused.stderr))

    # On a terminal Wine gives the program a console, as cmd.exe does; its code page is no
    # UTF-8, so the texts arrive right only as characters. The console expands tabs.
    missing = windows_path(os.path.join(folder, "missing.dat"))
    command = "stty cols 250; " + "; ".join(
        shlex.join(["wine", windows_dump, path]) for path in (windows_path(demo), missing))
    with tempfile.TemporaryFile() as terminal:
        subprocess.run(["script", "-qec", command, "/dev/null"], env=WINE_ENV,
                       stdin=subprocess.DEVNULL, stdout=terminal, timeout=120)
        terminal.seek(0)
        seen = spaced(re.sub(r"\x1b\[[0-9;?]*[A-Za-z]|\r", "", terminal.read().decode()))
    expected = subprocess.run([linux_dump, demo], check=True, capture_output=True, text=True)
    for line in expected.stdout.splitlines() + ["stallark-dump: %s: ファイルが見つかりません" % missing]:
        check(spaced(line).strip() in seen, "on a console %r reads\n%s" % (line, seen))

    # Wine enforces no 260-character limit: its trace shows that the path went to CreateFileW in
    # its \\?\ form.
    deep = os.path.join(folder, *["長いフォルダ名" + "f" * 60] * 4)
    os.makedirs(deep)
    long_path = os.path.join(deep, "馬データ.dat")
    os.link(demo, long_path)
    traced = wine_traced([windows_dump, windows_path(long_path)])
    linux = subprocess.run([linux_dump, long_path], capture_output=True)
    escaped = ("\\\\?\\" + windows_path(folder)).replace("\\", "\\\\").encode()
    check(len(windows_path(long_path)) > 260 and traced.returncode == 0 and
          traced.stdout.replace(b"\r\n", b"\n") == linux.stdout and
          b'CreateFileW L"' + escaped in traced.stderr,
          "the long path %s did not open by its \\\\?\\ form" % windows_path(long_path))


def wildcards(windows_dump, linux_dump, folder):
    """saves\\*.dat reads the files it matches in name order, case aside, whatever order the
    folder lists them in; a pattern that matches nothing is a file not found."""
    saves = os.path.join(folder, "saves")
    os.mkdir(saves)
    for name, source in (("c.dat", "noise-584756"), ("B.dat", "demo-589312"),
                         ("a.dat", "demo-496631"), ("a.txt", "demo-496631")):
        os.link(os.path.join(folder, source + ".dat"), os.path.join(saves, name))
    in_order = [os.path.join(saves, name) for name in ("a.dat", "B.dat", "c.dat")]
    linux = subprocess.run([linux_dump, "--fields"] + in_order, capture_output=True).stdout
    for path in in_order:
        linux = linux.replace(path.encode() + b"\t", windows_path(path).encode() + b"\t")
    for pattern, status, output, error in (
            ("*.dat", 0, linux, ""), ("*.none", 3, b"", "ファイルが見つかりません")):
        pattern = windows_path(saves) + "\\" + pattern
        run = wine([windows_dump, "--fields", pattern])
        message = ("stallark-dump: %s: %s\n" % (pattern, error)).encode() if error else b""
        check(run.returncode == status and run.stdout.replace(b"\r\n", b"\n") == output and
              run.stderr.replace(b"\r\n", b"\n") == message,
              "%s: status %d, %r" % (pattern, run.returncode, run.stdout[:300] + run.stderr))
    print("stallark-dump.exe read saves\\*.dat in name order")


def spaced(text):
    """Text with its tabs and runs of spaces as one space, as a console shows it."""
    return re.sub(r"[ \t]+", " ", text)


def uninstall_installed(pages_program=None):
    """Uninstalls silently, or through the pages when given installer-pages; returns once the
    folder has gone."""
    uninstaller = os.path.join(install_dir(), "Uninstall.exe")
    check(os.path.exists(uninstaller), "no Uninstall.exe installed")
    if pages_program:
        # Its confirmation and its progress, which ends with 閉じる.
        status = through_pages([uninstaller], "Stallark アンインストール", pages_program, 2)
    else:
        status = wine([uninstaller, "/S"]).returncode
    check(status == 0, "the uninstaller ended with status %d" % status)
    # The uninstaller runs on from a copy of itself in the temporary folder.
    deadline = time.monotonic() + 60
    while os.path.exists(install_dir()) and time.monotonic() < deadline:
        time.sleep(0.2)


def uninstall(state, pages_program):
    check(os.path.exists(os.path.join(install_dir(), "Uninstall.exe")),
          "no Uninstall.exe installed")
    # Its status is seen only when it runs in place (_?=), which takes the folder unquoted.
    folder = "C:\\" + PROGRAM_FILES.replace("/", "\\")
    with tempfile.TemporaryDirectory() as scratch:
        line = '@"%s\\Uninstall.exe" /S _?=%s\r\n@exit /b %%errorlevel%%\r\n' % (folder, folder)
        batch = write(scratch, "uninstall.bat", line.encode())
        refused_while_running(["cmd", "/c", windows_path(batch)], "the uninstaller")
    uninstall_installed(pages_program)
    with open(state, encoding="utf-8") as file:
        before = json.load(file)
    left = files_of_drive_c() - set(before["files"])
    leftovers = sorted(left) + ([PROGRAM_FILES] if os.path.exists(install_dir()) else [])
    check(not leftovers, "left behind: %s" % leftovers)
    entry = wine(["reg", "query", UNINSTALL_KEY])
    check(entry.returncode != 0, "the program list still has the entry")
    now = registry()
    old = set(before["registry"])
    check(now == old, "the registry differs from before the install:\nleft: %s\ngone: %s" % (
        "\n  ".join(sorted(now - old)), "\n  ".join(sorted(old - now))))
    print("uninstalled: nothing left on drive C or in the registry")


def main(argv):
    commands = {"install": (install, 5), "dump": (dump, 2), "uninstall": (uninstall, 2)}
    if len(argv) < 1 or argv[0] not in commands or len(argv) - 1 < commands[argv[0]][1] or \
            (argv[0] != "install" and len(argv) - 1 != commands[argv[0]][1]):
        raise SystemExit(__doc__)
    function, _ = commands[argv[0]]
    try:
        function(*argv[1:])
    except Failure as failure:
        raise SystemExit("FAILED: %s" % failure)


if __name__ == "__main__":
    main(sys.argv[1:])
