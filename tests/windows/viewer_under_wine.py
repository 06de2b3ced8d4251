#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Stallark developers
# SPDX-License-Identifier: MIT
"""The Windows viewer under Wine on a private X desktop, used as a person uses it.

    viewer_under_wine.py STALLARK_EXE STALLARK_GEN STALLARK_DUMP

STALLARK_EXE is the installed Stallark.exe (a Windows or a Unix path); STALLARK_GEN and
STALLARK_DUMP are the Linux build's. Wine has no accessibility bus, so what the windows show is
read from their titles (xdotool), from the clipboard after Ctrl+C (xclip) and from screenshots.
The scenario: start; a missing file typed into ファイルを開く gives the error box, titled
Stallark; a horse file opened by its typed Z:\\ path fills the list with the file's horses,
17 pixels apart; the list has the keyboard as soon as the dialog has closed, by a choice or
by a cancel; End and Ctrl+End go to the last row and keep it selected; the list follows the
file replaced while it runs, and 変更点 (Ctrl+H) logs what changed; F5 reports it gone; 詳細表示
shows the one chosen; neither window can be resized or maximised; the 能力表 copies what
--fields prints, sorts by Ctrl+S and opens a 比較; 推移 (Ctrl+G) of a horse adds a row when the
file is rewritten; 終了 ends the program with status 0, leaving nothing of Qt's in the registry.
All of it in the dark app mode, the list dark with its text readable, until the mode turns
light just before 終了: the list follows, its rows where they were.
Nothing here activates a window itself: the program must, and nothing waits a fixed time: each
step waits until what it brings is there (a window, the clipboard), and presses its keys again
when it has not come within a second or two, as the program was not yet ready for them. The
Wine prefix is the caller's (WINEPREFIX), its server already running.
"""

import collections
import os
import re
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "desktop"))
import desktop  # noqa: E402
from desktop import Failure, check, wait_for  # noqa: E402
from viewer_on_desktop import MIN_CONTRAST, contrast, luminance  # noqa: E402

# The environment as the caller gave it, without the desktop's display that desktop.py adds.
CALLER_ENV = dict(os.environ)

# The rows of the list, one below the other.
ROW_PITCH = 17
# The 能力表's column of スピード: after ID, 馬名, 父 and 母.
SPEED_COLUMN = 4
# Where the horse block starts in a file of 589,312 bytes, a record's length, and where a record
# keeps 反応, one byte; 反応's column in the 推移 table (after 時刻 and eight abilities).
BLOCK_OFFSET = 44112
RECORD_SIZE = 400
REACTIVE_OFFSET = 23
TREND_REACTIVE_COLUMN = 9
# What Qt's file dialog leaves in the registry when it goes.
QT_SETTINGS_KEY = r"HKCU\Software\QtProject"
# Where Windows keeps the default app mode, 0 for dark, 1 for light.
THEMES_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Themes"
APP_MODE_KEY = THEMES_KEY + r"\Personalize"


def windows_named(screen, title):
    return screen.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % title],
                      check=False).split()


def window_origin(screen, window):
    """The screen position of a window's client area (xwininfo's, which counts the frame the
    window manager put around it once, unlike xdotool's)."""
    values = {}
    for line in screen.run(["xwininfo", "-id", window]).splitlines():
        if ":" in line:
            key, value = line.split(":", 1)
            values[key.strip()] = value.strip()
    return int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"])


def wait_until_active(screen, window):
    wait_for("the window %s to be active" % window, lambda: screen.run(
        ["xdotool", "getactivewindow"], check=False).strip() == window)


def check_fixed_frame(screen, window, what):
    """The window manager is told that the window has one size only, and offers neither to
    resize nor to maximise it."""
    hints = screen.run(["xprop", "-id", window, "WM_NORMAL_HINTS", "_NET_WM_ALLOWED_ACTIONS"])
    least = re.search(r"minimum size: (\d+) by (\d+)", hints)
    most = re.search(r"maximum size: (\d+) by (\d+)", hints)
    check(least and most and least.groups() == most.groups(),
          "the %s can change its size:\n%s" % (what, hints))
    offered = re.findall(r"_NET_WM_ACTION_(\w+)", hints)
    check(offered and not {"RESIZE", "MAXIMIZE_HORZ", "MAXIMIZE_VERT"} & set(offered),
          "the window manager offers to %s the %s" % (" and ".join(offered), what))


def row_lines(screen, main_window):
    """The heights at which the list's horizontal grid lines cross a line of pixels just inside
    the ID column, where no text is drawn: the colour found there most often after the
    background. The line ends above the list's lower edge, which the menu bar pushes down."""
    x, y = window_origin(screen, main_window)
    strip = [row[0] for row in screen.screenshot(x + 3, y, 1, 440)]
    # Counted from the list's first pixel of background down, past the menu bar and the header.
    top = strip.index(collections.Counter(strip).most_common(1)[0][0])
    colours = collections.Counter(strip[top:]).most_common(2)
    check(len(colours) == 2, "the list shows no grid lines")
    return [top + height for height, colour in enumerate(strip[top:]) if colour == colours[1][0]]


def set_app_mode(screen, light):
    subprocess.run(["wine", "reg", "add", APP_MODE_KEY, "/v", "AppsUseLightTheme", "/t",
                    "REG_DWORD", "/d", str(int(light)), "/f"], env=screen.env,
                   stdin=subprocess.DEVNULL, capture_output=True, check=True)


def registry_has(env, key):
    return subprocess.run(["wine", "reg", "query", key], env=env, stdin=subprocess.DEVNULL,
                          capture_output=True).returncode == 0


def forget_app_mode(env, themes_were_there):
    """The app mode's value goes, and its keys if the scenario made them, so that the prefix is
    as it was for the tests after it (the uninstall compares the registry with the one before
    the install)."""
    command = (["delete", APP_MODE_KEY, "/v", "AppsUseLightTheme", "/f"] if themes_were_there
               else ["delete", THEMES_KEY, "/f"])
    subprocess.run(["wine", "reg"] + command, env=env, stdin=subprocess.DEVNULL,
                   capture_output=True, check=False)


def list_shade(screen, main_window, lines):
    """The list's background, its commonest colour; the text of the first row drawn on it (a
    selected row has the highlight's instead) must be readable on it."""
    x, y = window_origin(screen, main_window)
    shown = screen.screenshot(x + 2, y, 400, 440)
    every = [p for line in shown for p in line]
    background = max(set(every), key=every.count)
    tops = [lines[0] - ROW_PITCH] + lines
    rows = [[p for line in shown[above + 1:below] for p in line] for above, below in
            zip(tops, tops[1:])]
    row = next((r for r in rows if r and max(set(r), key=r.count) == background), [])
    check(row, "no row of the list is drawn on its background %s" % (background,))
    ratio = max(contrast(p, background) for p in row)
    check(ratio >= MIN_CONTRAST, "a row's text is %.2f:1 on %s" % (ratio, background))
    print("contrast of a row's text: %.2f:1 on %s" % (ratio, background))
    return background


def check_row_pitch(screen, main_window, count):
    lines = wait_for("the rows", lambda: (lambda found: found if len(found) >= count else None)(
        row_lines(screen, main_window)))
    pitches = {below - above for above, below in zip(lines, lines[1:])}
    check(len(lines) == count and pitches == {ROW_PITCH},
          "%d rows listed, their grid lines at %s" % (count, lines))
    return lines


def copied(screen, keys, expected=None):
    """What the clipboard holds after `keys` (pressed again until it holds something other than
    before, or `expected`)."""
    before = screen.clipboard()

    def arrived(text):
        if expected is not None:
            return text.replace("\r\n", "\n") == expected
        return text and text != before

    def probe():
        screen.keys(*keys)
        text = within(screen.clipboard, arrived)
        return text if arrived(text) else None
    return wait_for("the clipboard to change after " + " ".join(keys), probe)


def within(read, arrived, seconds=1.0):
    """What `read` gives as soon as `arrived` holds for it, or after `seconds`."""
    end = time.monotonic() + seconds
    value = read()
    while not arrived(value) and time.monotonic() < end:
        time.sleep(0.1)
        value = read()
    return value


def main(stallark_exe, stallark_gen, stallark_dump):
    with tempfile.TemporaryDirectory(prefix="stallark-wine-") as work:
        run_scenario(stallark_exe, stallark_gen, stallark_dump, work)


def run_scenario(stallark_exe, stallark_gen, stallark_dump, work):
    horse_file = os.path.join(work, "horses.dat")
    subprocess.run([stallark_gen, horse_file, "589312"], check=True, capture_output=True)
    dumped = subprocess.run([stallark_dump, horse_file], check=True, capture_output=True,
                            text=True).stdout
    check(len(dumped.splitlines()) > 2, "the demo file lists fewer than two horses")
    fields = subprocess.run([stallark_dump, "--fields", horse_file], check=True,
                            capture_output=True, text=True).stdout

    with desktop.Desktop(work) as screen:
        screen.env["LC_ALL"] = "C.UTF-8"
        # Wine's own desktop process draws on the display it was started with, and the
        # prefix's server keeps it: restarted here, the server and its helpers belong to this
        # desktop; stopped again at the end, they hold no display that is gone.
        restart_wine(screen.env)
        themes_were_there = registry_has(screen.env, THEMES_KEY)
        try:
            drive_viewer(screen, stallark_exe, stallark_gen, horse_file, dumped, fields)
        except Failure:
            # What the screen showed, for whoever reads the failure.
            subprocess.run(["import", "-window", "root", "viewer_under_wine-failure.png"],
                           env=screen.env, check=False)
            raise
        finally:
            restart_wine(CALLER_ENV)
            forget_app_mode(CALLER_ENV, themes_were_there)
    print("the viewer under Wine: reported a missing file in a box titled Stallark, opened a"
          " typed Z:\\ path, listed the horses as Linux does, %d pixels apart, with the"
          " keyboard in the list, kept the last row selected on Ctrl+End, followed the file"
          " replaced twice and reported it gone on F5, showed a horse's details, kept both"
          " frames fixed, added a row to a horse's 推移 when the file was rewritten, turned from"
          " dark to light with the app mode and ended with status 0, leaving no settings"
          % ROW_PITCH)


def restart_wine(env):
    # Nothing of Wine's may hold our output open: the caller waits for its end.
    quiet = dict(env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                 stderr=subprocess.DEVNULL)
    subprocess.run(["wineserver", "-k"], check=False, **quiet)
    subprocess.run(["wineserver", "-w"], check=False, **quiet)
    subprocess.run(["wineserver", "-p"], check=True, **quiet)
    subprocess.run(["wine", "cmd", "/c", "exit"], check=True, **quiet)


def active_window(screen):
    return screen.run(["xdotool", "getactivewindow"], check=False).strip()


def open_dialog(screen, main_window, keys):
    """ファイル(&F) → ファイルを開く(&O), then `keys` in the dialog, pressed again until it
    closes."""
    wait_until_active(screen, main_window)
    screen.keys("alt+f", "o")
    dialog = wait_for("the open dialog", lambda: (lambda active: active if active not in (
        "", main_window) else None)(active_window(screen)))

    def closed():
        if active_window(screen) == dialog:
            keys()
        return within(lambda: screen.run(["xdotool", "getwindowname", dialog],
                                         check=False) == "", bool, 2.0)
    wait_for("the open dialog to close", closed)


def open_typed_path(screen, main_window, path):
    """The Windows open dialog takes a typed Z:\\ path."""
    def type_path():
        screen.keys("End", "shift+Home", "Delete")  # the name kept from the last time
        screen.type("Z:" + path.replace("/", "\\"))
        screen.keys("Return")
    open_dialog(screen, main_window, type_path)


def replace_file(path, contents):
    """Another file renamed over `path`, as a game saving by a new file does."""
    with open(path + ".new", "wb") as new:
        new.write(contents)
    os.replace(path + ".new", path)


def drive_viewer(screen, stallark_exe, stallark_gen, horse_file, dumped, fields):
    expected_rows = dumped.splitlines()[1:]
    names = fields.splitlines()[1:]
    set_app_mode(screen, light=False)
    started = time.monotonic()
    viewer = screen.spawn(["wine", stallark_exe], stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL)
    main_window = wait_for("the main window, titled Stallark",
                           lambda: windows_named(screen, "Stallark"), deadline=60)[0]
    print("the window titled Stallark showed after %.1f s" % (time.monotonic() - started))
    check_fixed_frame(screen, main_window, "main window")

    # A missing file: the error box says so, titled with the application's title, which is
    # taken from the program file's name (Ctrl+C copies a Windows message box's title and
    # text); Enter on its OK closes it.
    open_typed_path(screen, main_window, os.path.join(os.path.dirname(horse_file), "none.dat"))
    wait_for("the error box, titled Stallark too", lambda: [
        window for window in windows_named(screen, "Stallark") if window != main_window])
    lines = copied(screen, ["ctrl+c"]).replace("\r\n", "\n").split("\n")
    check("Stallark" in lines and "ファイルが見つかりません." in lines,
          "the error box reads %r" % lines)
    screen.keys("Return")
    wait_for("the error box to close",
             lambda: windows_named(screen, "Stallark") == [main_window])

    # The horse file, by its typed path: one row per horse, each 17 pixels below the last
    # whatever the height of the font, which Windows' style would otherwise make the least.
    open_typed_path(screen, main_window, horse_file)
    dark_lines = check_row_pitch(screen, main_window, len(expected_rows))
    # The app mode is dark: so is the list, its text readable.
    background = list_shade(screen, main_window, dark_lines)
    check(luminance(background) < 0.1, "the list is not dark in the dark app mode: %s"
          % (background,))

    # Straight after the dialog, the main window is active and the list has the keyboard: the
    # first Down arrow selects the first horse; Ctrl+C copies its row as the list shows it,
    # which must be the Linux build's texts for the same file.
    screen.keys("Down")
    row = copied(screen, ["ctrl+c"]).replace("\r\n", "\n").rstrip("\n")
    check(row == expected_rows[0],
          "the first row reads %r, the Linux build lists %r" % (row, expected_rows[0]))
    # So too once the dialog is cancelled: the next Down selects the second horse.
    open_dialog(screen, main_window, lambda: screen.keys("Escape"))
    screen.keys("Down")
    row = copied(screen, ["ctrl+c"]).replace("\r\n", "\n").rstrip("\n")
    check(row == expected_rows[1],
          "the second row reads %r, the Linux build lists %r" % (row, expected_rows[1]))

    # End and Ctrl+End go to the last row and keep it selected (Ctrl+End on the last row
    # deselected it in Qt's Windows style); Home goes back to the first.
    row = copied(screen, ["End", "ctrl+End", "ctrl+c"]).replace("\r\n", "\n").rstrip("\n")
    check(row == expected_rows[-1],
          "after End and Ctrl+End the list copies %r, not the last row %r" % (row, expected_rows[-1]))

    # The list follows the file while it runs: a file of no horses renamed over it, then the
    # horses again, in a file of another recognised size; Ctrl+Shift+C copies every row.
    with open(horse_file, "rb") as original:
        size = len(original.read())
    replace_file(horse_file, bytes(size))
    copied(screen, ["ctrl+shift+c"], expected=dumped.split("\n")[0] + "\n")
    subprocess.run([stallark_gen, horse_file + ".new"], check=True, capture_output=True)
    os.replace(horse_file + ".new", horse_file)
    copied(screen, ["ctrl+shift+c"], expected=dumped)
    row = copied(screen, ["Home", "ctrl+c"]).replace("\r\n", "\n").rstrip("\n")
    check(row == expected_rows[0], "after the file came back the first row reads %r" % row)
    # 変更点 (Ctrl+H) logs what the rewrites changed: Ctrl+Shift+C in it copies the log, its
    # captions first, the newest rows from the file followed; Esc closes it.
    screen.keys("ctrl+h")
    changes = wait_for("the window titled 変更点", lambda: windows_named(screen, "変更点"))[0]
    wait_until_active(screen, changes)
    log = copied(screen, ["ctrl+shift+c"]).replace("\r\n", "\n").split("\n")
    check(log[0] == "時刻\tファイル\tID\t馬名\t項目\t旧\t新\t差" and len(log) > 2 and
          log[1].split("\t")[1] == os.path.basename(horse_file), "the 変更点 log reads %r" % log[:3])
    screen.keys("Escape")
    wait_for("the 変更点 window to close", lambda: not windows_named(screen, "変更点"))
    wait_until_active(screen, main_window)
    # F5 loads the file again as the open command does: once it is gone, the error box says so.
    os.remove(horse_file)
    screen.keys("F5")
    wait_for("the error box after F5", lambda: [
        window for window in windows_named(screen, "Stallark") if window != main_window])
    lines = copied(screen, ["ctrl+c"]).replace("\r\n", "\n").split("\n")
    check("ファイルが見つかりません." in lines, "after F5 the error box reads %r" % lines)
    screen.keys("Return")
    wait_for("the error box to close",
             lambda: windows_named(screen, "Stallark") == [main_window])
    screen.keys("Down")

    # 詳細表示 (Enter on the row) shows that horse; its name box, focused with its text
    # selected, holds the horse's name; Shift+Tab reaches 閉じる, which Return presses.
    screen.keys("Return")
    detail = wait_for("the detail window, titled 詳細表示",
                      lambda: windows_named(screen, "詳細表示"))[0]
    check_fixed_frame(screen, detail, "detail window")
    wait_until_active(screen, detail)
    name = copied(screen, ["ctrl+c"])
    expected_name = names[1].split("\t")[1]
    check(name == expected_name,
          "the detail window shows %r, the second horse is %r" % (name, expected_name))
    screen.keys("shift+Tab", "Return")
    wait_for("the detail window to close", lambda: not windows_named(screen, "詳細表示"))

    # Ctrl+T opens the 能力表, the table focused: Ctrl+Shift+C copies what stallark-dump
    # --fields prints; Ctrl+S on a スピード cell sorts it highest first, ties in ID order; two
    # rows selected, Ctrl+K opens their 比較. Each closes by Alt+F4, the list's window active again.
    wait_until_active(screen, main_window)
    screen.keys("ctrl+t")
    table = wait_for("the 能力表 window", lambda: windows_named(screen, "能力表.*"))[0]
    wait_until_active(screen, table)
    copied(screen, ["ctrl+shift+c"], expected=fields)
    header, rows = fields.splitlines()[0], [line.split("\t") for line in names]
    fastest = sorted(rows, key=lambda row: -int(row[SPEED_COLUMN]))
    screen.keys("Down", *["Right"] * SPEED_COLUMN, "ctrl+s")
    copied(screen, ["ctrl+shift+c"],
           expected="\n".join([header] + ["\t".join(row) for row in fastest]) + "\n")
    screen.keys("Home", "shift+Down", "ctrl+k")
    compare = wait_for("the 比較 window", lambda: windows_named(screen, "比較.*"))[0]
    wait_until_active(screen, compare)
    screen.keys("alt+F4")
    wait_until_active(screen, table)
    screen.keys("alt+F4")
    wait_for("the 能力表 to close", lambda: not windows_named(screen, "能力表.*"))

    # The file back, 推移 (Ctrl+G) of the first horse, titled with its name, its table focused:
    # a rewrite of its 反応 a second later adds a row on top, with the difference; Ctrl+Shift+C
    # copies the rows after the captions. Alt+F4 closes it.
    wait_until_active(screen, main_window)
    subprocess.run([stallark_gen, horse_file + ".new", "589312"], check=True, capture_output=True)
    os.replace(horse_file + ".new", horse_file)
    copied(screen, ["ctrl+shift+c"], expected=dumped)
    first = names[0].split("\t")
    screen.keys("Home", "ctrl+g")
    trend = wait_for("the 推移 window", lambda: windows_named(screen, "推移 — " + first[1]))[0]
    wait_until_active(screen, trend)
    captions = "\t".join(["時刻", "スピード", "持続力", "スタミナ", "パワー", "瞬発力", "折り合い",
                          "気性", "勝負根性", "反応", "丈夫さ", "距離適性"])
    before = copied(screen, ["ctrl+shift+c"]).replace("\r\n", "\n").splitlines()
    check(before[0] == captions and len(before) == 2, "the 推移 table reads %r" % before)
    old = int(first[SPEED_COLUMN + 8])
    new = old + 7 if old < 248 else old - 7
    time.sleep(1.2)
    with open(horse_file, "r+b") as rewritten:
        rewritten.seek(BLOCK_OFFSET + RECORD_SIZE * int(first[0]) + REACTIVE_OFFSET)
        rewritten.write(bytes([new]))
    # The copy waits until the clipboard holds other rows than before.
    grown = copied(screen, ["ctrl+shift+c"]).replace("\r\n", "\n").splitlines()
    check(len(grown) == 3 and grown[1].split("\t")[TREND_REACTIVE_COLUMN] == "%d (%+d)" % (
        new, new - old) and grown[2] == before[1], "after the rewrite the 推移 table reads %r" % grown)
    screen.keys("alt+F4")
    wait_for("the 推移 window to close", lambda: not windows_named(screen, "推移.*"))

    # The app mode turned light while it runs: so does the list, its rows where they were.
    wait_until_active(screen, main_window)
    set_app_mode(screen, light=True)
    wait_for("the list to turn light", lambda: luminance(
        list_shade(screen, main_window, dark_lines)) > 0.5)
    lines = check_row_pitch(screen, main_window, len(expected_rows))
    check(lines == dark_lines, "the rows moved as the app mode turned light: from %s to %s"
          % (dark_lines, lines))

    # 終了(&X) ends the program, with status 0.
    screen.keys("alt+f", "x")
    status = wait_for("the program to end", lambda: viewer.poll() is not None and
                      (viewer.returncode,))[0]
    check(status == 0, "Stallark.exe ended with status %d" % status)
    # Qt's file dialog would have written its folder and history on the way out.
    found = subprocess.run(["wine", "reg", "query", QT_SETTINGS_KEY], env=screen.env,
                           stdin=subprocess.DEVNULL, capture_output=True)
    check(found.returncode != 0, "the program left %s in the registry:\n%s" % (
        QT_SETTINGS_KEY, found.stdout.decode("utf-8", "replace")))


if __name__ == "__main__":
    if len(sys.argv) != 4:
        raise SystemExit(__doc__)
    try:
        main(*sys.argv[1:])
    except Failure as failure:
        raise SystemExit("FAILED: %s" % failure)
