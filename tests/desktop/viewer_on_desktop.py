#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The Stallark developers
# SPDX-License-Identifier: MIT
"""The viewer on a real X desktop, used as a person uses it.

    viewer_on_desktop.py SCENARIO STALLARK STALLARK_GEN STALLARK_DUMP

Each scenario starts its own desktop (desktop.py), writes a horse file with stallark-gen, drives
the viewer with X key presses and clicks, and reads what it shows through the accessibility bus
and screenshots. The everyday scenario runs in the C locale: the interface must be Japanese
whatever it is; the dark one in the Japanese locale, which must not change the layout.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

import desktop
from desktop import Failure, check, wait_for

MIN_CONTRAST = 4.5
# The boxes keep their light grey in every theme (the unit tests check that each box has it);
# a dark theme's own base is far below this.
MIN_BOX_LUMINANCE = 0.5
ROW_HEIGHT = 17
APP_ID = "io.github.stallark.stallark"
# The icons as the package installs them: share/icons/hicolor.
ICONS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "packaging", "icons")
ITEM_ROLES = ("table cell", "list item", "tree item")

Atspi = GLib = None  # imported once the desktop's buses are up


# The 能力表's column of スピード: after ID, 馬名, 父 and 母; and of 評価, after 馬名.
SPEED_COLUMN = 4
# Where the horse block starts in a file of the demo file's size, a record's length, and where a
# record keeps 反応, one byte; 反応's column in the 推移 table (after 時刻 and eight abilities).
BLOCK_OFFSET = 42064
RECORD_SIZE = 400
REACTIVE_OFFSET = 23
TREND_REACTIVE_COLUMN = 9
SCORE_COLUMN = 2

# --- the accessible tree ------------------------------------------------------------------------

def children(node):
    return [node.get_child_at_index(i) for i in range(node.get_child_count())]


def states(node):
    return {s.value_nick for s in node.get_state_set().get_states()}


def find(node, role, name=None, depth=8):
    """The first descendant with `role` (and `name`), breadth first."""
    level = [node]
    for _ in range(depth):
        below = []
        for parent in level:
            for child in children(parent):
                if child is None:
                    continue
                if child.get_role_name() == role and (name is None or child.get_name() == name):
                    return child
                below.append(child)
        level = below
    return None


def find_all(node, role, depth=8):
    found, level = [], [node]
    for _ in range(depth):
        below = []
        for parent in level:
            for child in children(parent):
                if child is not None:
                    if child.get_role_name() == role:
                        found.append(child)
                    below.append(child)
        level = below
    return found


def descendants(node, depth=12):
    level, found = [node], []
    for _ in range(depth):
        level = [child for parent in level for child in children(parent) if child is not None]
        found += level
    return found


class Heard:
    """Accessibility events of the given types, in the order a screen reader hears them."""

    def __init__(self, *types):
        self.events = []
        self.listener = Atspi.EventListener.new(lambda event: self.events.append(
            (event.type, event.source.get_role_name(), event.source.get_name())))
        for name in types:
            self.listener.register(name)

    def until(self, event):
        """Every event heard up to `event`, which must come."""
        def heard_through():
            while GLib.MainContext.default().iteration(False):
                pass
            return self.events.index(event) + 1 if event in self.events else 0
        return self.events[:wait_for("%s %s %s to be heard" % event, heard_through) - 1]


def showing(node):
    return node is not None and "showing" in states(node)


def text_of(node):
    return Atspi.Text.get_text(node, 0, -1)


def extents(node):
    box = Atspi.Component.get_extents(node, Atspi.CoordType.SCREEN)
    return box.x, box.y, box.width, box.height


def table_cell_texts(table):
    rows, columns = Atspi.Table.get_n_rows(table), Atspi.Table.get_n_columns(table)
    return [[Atspi.Table.get_accessible_at(table, r, c).get_name() for c in range(columns)]
            for r in range(rows)]


def selected_rows(table):
    return list(Atspi.Table.get_selected_rows(table))


# --- colours --------------------------------------------------------------------------------------

def luminance(rgb):
    def channel(value):
        value /= 255
        return value / 12.92 if value <= 0.04045 else ((value + 0.055) / 1.055) ** 2.4
    r, g, b = (channel(v) for v in rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    light, dark = sorted((luminance(a), luminance(b)), reverse=True)
    return (light + 0.05) / (dark + 0.05)


def text_contrast(screen, box):
    """The background of an edit box as shown, and the contrast of its text against it."""
    x, y, width, height = extents(box)
    inset = 4  # inside the frame
    pixels = [p for row in screen.screenshot(x + inset, y + inset, width - 2 * inset,
                                             height - 2 * inset) for p in row]
    background = max(set(pixels), key=pixels.count)
    ink = max(pixels, key=lambda p: contrast(p, background))
    return background, contrast(ink, background)


# --- the program ----------------------------------------------------------------------------------

class Viewer:
    def __init__(self, screen, program, env, folder):
        self.screen = screen
        # The open dialog starts in the current folder.
        self.process = screen.spawn([program], env=env, cwd=folder)
        self.app = wait_for("the viewer's main window on the accessibility bus", self._find_app)
        self.frame = wait_for("the main window", lambda: self._window("frame", "Stallark"))
        self.table = wait_for("the horse list", lambda: find(self.frame, "table", "馬の一覧"))

    def _find_app(self):
        # Under the gtk3 platform theme GTK registers the process a second time, windowless.
        root = Atspi.get_desktop(0)
        for app in children(root):
            if app is not None and app.get_process_id() == self.process.pid and \
                    find(app, "frame", "Stallark", depth=1):
                return app
        return None

    def gtk_window(self, role):
        root = Atspi.get_desktop(0)
        for app in children(root):
            if app is not None and app.get_process_id() == self.process.pid and app != self.app:
                for window in children(app):
                    if window.get_role_name() == role and "active" in states(window):
                        return window
        return None

    def _window(self, role, name=None):
        for window in children(self.app):
            if window.get_role_name() == role and (name is None or window.get_name() == name) \
                    and showing(window):
                return window
        return None

    def wait_window(self, role, name=None, active=True):
        what = "%s %s%s" % (role, name or "", " to be active" if active else "")
        return wait_for(what, lambda: (w := self._window(role, name)) and
                        (not active or "active" in states(w)) and w)

    def wait_gone(self, window, what):
        wait_for(what + " to close", lambda: not showing(window))

    def popups_on_screen(self):
        """The viewer's mapped override-redirect windows: menus, completion lists, tool tips."""
        found = []
        tree = self.screen.run(["xwininfo", "-root", "-children"])
        for line in tree.splitlines():
            line = line.strip()
            if not line.startswith("0x"):
                continue
            info = self.screen.run(["xwininfo", "-id", line.split()[0]], check=False)
            if "Override Redirect State: yes" in info and "IsViewable" in info and \
                    "Width: 1\n" not in info and self._owns(line.split()[0]):
                found.append(line)
        return found

    def _owns(self, window):
        pid = self.screen.run(["xprop", "-id", window, "_NET_WM_PID"], check=False)
        return pid.strip().endswith("= %d" % self.process.pid)

    def wait_list_has_keyboard(self, closed=None):
        """After a dialog: no popup left, the main window active and the list focused, and
        nothing in the `closed` dialog still reporting the focus."""
        wait_for("the main window to be active with the list focused",
                 lambda: "active" in states(self.frame) and "focused" in states(self.table))
        if closed is not None:
            # Qt marks the current item of every item view focused, the view focused or not.
            focused = [(node.get_role_name(), node.get_name()) for node in descendants(closed)
                       if "focused" in states(node) and node.get_role_name() not in ITEM_ROLES]
            check(not focused, "hidden %s reports the focus" % focused)
        popups = self.popups_on_screen()
        check(not popups, "popups left on screen: %s" % popups)

    def open_file(self, path, completed=False):
        """ファイル → ファイルを開く, the name typed, Enter (once the completion list shows, if
        `completed`, as a person typing sees it); returns the dialog, the kept name and its
        selection."""
        self.screen.keys("alt+f", "o")
        dialog = self.wait_window("dialog", "開く")
        name_box = wait_for("the file name box", lambda: find(dialog, "text", "ファイル名(N):"))
        wait_for("the file name box to have the focus", lambda: "focused" in states(name_box))
        kept = text_of(name_box)
        selection = Atspi.Text.get_selection(name_box, 0)
        self.screen.type(path)
        wait_for("the typed name", lambda: text_of(name_box) == path)
        if completed:
            wait_for("the completion list", self.popups_on_screen)
        self.screen.keys("Return")
        self.wait_gone(dialog, "the open dialog")
        return dialog, kept, (selection.start_offset, selection.end_offset)

    def exit_through_menu(self):
        self.screen.keys("alt+f", "x")
        try:
            status = self.process.wait(desktop.DEADLINE)
        except subprocess.TimeoutExpired:
            raise Failure("終了 did not end the program")
        check(status == 0, "exit status %d after 終了" % status)


def dump_rows(dump, path):
    lines = subprocess.run([dump, path], capture_output=True, text=True, check=True).stdout
    return [line.split("\t") for line in lines.splitlines()[1:]]


def click_row(viewer, row):
    cell = Atspi.Table.get_accessible_at(viewer.table, row, 1)
    x, y, width, height = extents(cell)
    viewer.screen.click(x + width // 2, y + height // 2)
    wait_for("row %d to be selected by the click" % row,
             lambda: selected_rows(viewer.table) == [row])


def open_detail(viewer):
    viewer.screen.keys("Return")
    return viewer.wait_window("dialog", "詳細表示")


def check_box_contrast(viewer, detail, theme):
    for name in ("父", "スピード"):
        box = find(detail, "text", name)
        background, ratio = text_contrast(viewer.screen, box)
        print("contrast of %s in the %s theme: %.2f:1 on %s" % (name, theme, ratio, background))
        check(luminance(background) >= MIN_BOX_LUMINANCE,
              "box %s background %s, not the light grey" % (name, background))
        check(ratio >= MIN_CONTRAST, "text of %s in the %s theme: contrast %.2f:1 below %.1f:1"
              % (name, theme, ratio, MIN_CONTRAST))


def check_window_icon(viewer):
    """The main window sets the program's own icon (_NET_WM_ICON) for window managers that do
    not look up the desktop entry."""
    icons = viewer.screen.window_icons(viewer.process.pid, "Stallark")
    check(32 in icons, "no 32-pixel window icon, only %s" % sorted(icons))
    png = os.path.join(ICONS, "hicolor", "32x32", "apps", APP_ID + ".png")
    rgba = subprocess.run(["convert", png, "-depth", "8", "rgba:-"], capture_output=True,
                          check=True).stdout
    ours = [(a << 24) | (r << 16) | (g << 8) | b for r, g, b, a in zip(*[iter(rgba)] * 4)]
    # Qt keeps pixmaps premultiplied, which rounds the colours of translucent pixels by one.
    check(all(abs((x >> shift & 255) - (y >> shift & 255)) <= 1 for x, y in zip(icons[32], ours)
              for shift in (0, 8, 16, 24)), "the window icon is not the program's own")


def check_rows(viewer):
    first, second = (extents(Atspi.Table.get_accessible_at(viewer.table, row, 1)) for row in (0, 1))
    check(second[1] - first[1] == ROW_HEIGHT,
          "rows %d px apart, not %d" % (second[1] - first[1], ROW_HEIGHT))


def check_labels_clear_of_frames(viewer, detail):
    """No frame line through or along the 脚質 labels: no row of the strip they stand in, a
    pixel more all round, is drawn mostly in a colour other than the window's."""
    spans = [extents(find(detail, "label", name)) for name in ("追", "差", "先", "逃")]
    x, y = min(s[0] for s in spans) - 1, min(s[1] for s in spans) - 1
    rows = viewer.screen.screenshot(x, y, max(s[0] + s[2] for s in spans) + 1 - x,
                                    max(s[1] + s[3] for s in spans) + 1 - y)
    window = max(set(rows[0] + rows[-1]), key=(rows[0] + rows[-1]).count)
    lines = [y + n for n, row in enumerate(rows) if sum(p != window for p in row) > len(row) // 2]
    check(not lines, "a frame line crosses the 脚質 labels at y %s" % lines)


def check_boxes_whole(detail):
    """Every ability line lies inside its list box, which shows no scroll bar."""
    for box in find_all(detail, "list"):
        x, y, width, height = extents(box)
        for item in find_all(box, "list item", depth=1):
            ix, iy, iwidth, iheight = extents(item)
            check(y <= iy and iy + iheight <= y + height,
                  "%s shows %r cut off: %s in %s" % (box.get_name(), item.get_name(),
                                                    (ix, iy, iwidth, iheight), (x, y, width, height)))
    bars = [bar for bar in find_all(detail, "scroll bar") if showing(bar)]
    check(not bars, "scroll bars in the detail window: %s" % [b.get_name() for b in bars])


# --- scenarios ------------------------------------------------------------------------------------

def everyday_use(screen, programs, work):
    """Start-up with the program's icon, the open dialog, the list by mouse and keys, the detail
    window, the error box titled after the program file, 終了, and no file left behind under the
    home folder."""
    stallark, gen, dump = programs
    path = os.path.join(work, "horses.dat")
    subprocess.run([gen, path], check=True, capture_output=True)
    home_before = set(screen.files_in_home())  # what the desktop itself left there
    # A renamed copy: the error box is titled with the program file's name up to its first
    # ".", all but the first letter in lower case.
    renamed = os.path.join(work, "bin", "MY-VIEWER.bin")
    os.makedirs(os.path.dirname(renamed))
    shutil.copy(stallark, renamed)
    viewer = Viewer(screen, renamed, screen.env, work)

    # The start-up window: an empty list, nothing to show in detail, a file menu whose separator
    # is a line with no name; its icon the program's own, though no icon theme here has it.
    viewer.wait_window("frame", "Stallark")
    check_window_icon(viewer)
    check(Atspi.Table.get_n_rows(viewer.table) == 0, "rows in the list before any load")
    detail_button = find(viewer.frame, "push button", "詳細表示")
    check(detail_button is not None and "enabled" not in states(detail_button),
          "詳細表示 is not there disabled before a load")
    menu = find(viewer.frame, "popup menu")
    items = [(item.get_role_name(), item.get_name()) for item in children(menu)]
    check(items == [("menu item", "ファイルを開く(O)"), ("separator", ""),
                    ("menu item", "終了(X)")], "file menu reads %s" % items)

    # The open dialog speaks Japanese though the locale is C.
    screen.keys("alt+f", "o")
    dialog = viewer.wait_window("dialog", "開く")
    names = {node.get_name() for role in ("label", "push button", "text")
             for node in find_all(dialog, role)}
    for japanese in ("ファイル名(N):", "キャンセル"):
        check(japanese in names, "open dialog lacks %r: %s" % (japanese, sorted(names)))
    for english in ("File name:", "Cancel", "Open", "Look in:"):
        check(english not in names, "open dialog shows English %r" % english)
    # A double-click on the file loads it, and the list takes the keyboard.
    files = wait_for("the file in the dialog's list", lambda: find(dialog, "tree", "ファイル"))
    entry = wait_for("the file in the dialog's list", lambda: next(
        cell for cell in find_all(files, "table cell", depth=1)
        if cell.get_name() == os.path.basename(path)))
    x, y, width, height = extents(entry)
    screen.double_click(x + width // 2, y + height // 2)
    viewer.wait_gone(dialog, "the open dialog after a double-click")
    viewer.wait_list_has_keyboard()
    wait_for("the first load", lambda: Atspi.Table.get_n_rows(viewer.table) > 0)

    # The name kept from the double-click is offered focused and selected, so a typed name
    # replaces it; Enter loads it. The horses are listed as the data core gives them, and the
    # list takes the keyboard at once: GNOME's window manager activates the main window while
    # the name's completion list is still open, which Qt would ignore.
    dialog, kept, selection = viewer.open_file(path, completed=True)
    check(kept == os.path.basename(path), "the open dialog kept %r" % kept)
    check(selection == (0, len(kept)), "the kept name is not selected: %s" % (selection,))
    viewer.wait_list_has_keyboard(closed=dialog)
    expected = dump_rows(dump, path)
    wait_for("the loaded rows", lambda: Atspi.Table.get_n_rows(viewer.table) == len(expected))
    shown = table_cell_texts(viewer.table)
    check(shown == expected, "list cells differ from stallark-dump:\n%s\n%s" % (shown, expected))
    check(selected_rows(viewer.table) == [], "a row is selected after the load")
    check_rows(viewer)

    screen.keys("Down")
    wait_for("the first Down to select the first horse",
             lambda: selected_rows(viewer.table) == [0])

    # A click selects, Ctrl+C copies the row, F2 types over its ID (here with another horse's,
    # then back), Enter shows the horse.
    click_row(viewer, 2)
    screen.keys("ctrl+c")
    wait_for("the row on the clipboard", lambda: screen.clipboard() == "\t".join(expected[2]))
    # The context menu's items are read out as they are chosen, below 再読み込み; すべての行をコピー
    # copies what stallark-dump prints.
    heard = Heard("object:state-changed:focused")
    x, y, width, height = extents(Atspi.Table.get_accessible_at(viewer.table, 2, 1))
    screen.click(x + width // 2, y + height // 2, button=3)
    wait_for("the context menu", viewer.popups_on_screen)
    screen.keys("Down", "Down", "Down")
    heard.until(("object:state-changed:focused", "menu item", "すべての行をコピー(A)"))
    screen.keys("Return")
    dumped = subprocess.run([dump, path], capture_output=True, text=True, check=True).stdout
    wait_for("every row on the clipboard", lambda: screen.clipboard() == dumped)
    id_cell = Atspi.Table.get_accessible_at(viewer.table, 2, 0)
    for typed in (expected[3][0], expected[2][0]):
        heard = Heard("object:state-changed:focused")
        screen.keys("F2")
        screen.type(typed)
        screen.keys("Return")
        # The ID is typed over, and the list reads it out as it takes the focus back.
        heard.until(("object:state-changed:focused", "table cell", typed))
        check(id_cell.get_name() == typed, "the ID reads %r, not %r" % (id_cell.get_name(), typed))
    check(selected_rows(viewer.table) == [2], "the edited row is no longer selected")
    # A screen reader hears the detail window before anything in it: the name's selection
    # heard first is read out alone, in place of the dialog.
    heard = Heard("object:text-selection-changed", "window:activate")
    detail = open_detail(viewer)
    early = heard.until(("window:activate", "dialog", "詳細表示"))
    check(not [e for e in early if e[0] == "object:text-selection-changed"],
          "heard before the detail window: %s" % early)

    # Every box shows the start of its text, and describes it as one run of text, which a
    # screen reader reads whole; the name opens focused and wholly selected.
    boxes = find_all(detail, "text")
    check(len(boxes) == 24, "%d edit boxes in the detail window" % len(boxes))
    wait_for("the boxes to be filled", lambda: text_of(find(detail, "text", "父")) != "")
    for box in boxes:
        check(Atspi.Text.get_caret_offset(box) == 0,
              "box %s shows its text from offset %d" % (box.get_name(),
                                                        Atspi.Text.get_caret_offset(box)))
        run = Atspi.Text.get_attribute_run(box, 0, False)
        check(run.end_offset == len(text_of(box)), "box %s describes %r in a run to %d"
              % (box.get_name(), text_of(box), run.end_offset))
    name_box = find(detail, "text", "馬名")
    check(text_of(name_box) == expected[2][1], "detail shows %r" % text_of(name_box))
    check("focused" in states(name_box), "the name box does not open focused")
    selection = Atspi.Text.get_selection(name_box, 0)
    check((selection.start_offset, selection.end_offset) == (0, len(expected[2][1])),
          "the name is not wholly selected")
    check_box_contrast(viewer, detail, "default")
    check_labels_clear_of_frames(viewer, detail)

    # Esc and Enter in a box leave it open (each followed by a Tab whose effect shows that
    # the key before it has been handled); Enter on the focused 閉じる closes it.
    screen.keys("Escape", "Tab")
    sex_age = find(detail, "text", "性齢")
    wait_for("Tab to reach 性齢", lambda: "focused" in states(sex_age))
    screen.keys("Return", "shift+Tab")
    wait_for("Shift+Tab back to 馬名", lambda: "focused" in states(name_box))
    check(showing(detail), "Esc or Enter in a box closed the detail window")
    screen.keys("shift+Tab")
    close = find(detail, "push button", "閉じる")
    wait_for("閉じる to have the focus", lambda: "focused" in states(close))
    heard = Heard("object:state-changed:focused")
    screen.keys("Return")
    viewer.wait_gone(detail, "the detail window")
    viewer.wait_window("frame", "Stallark")
    # The list takes the focus back with its current cell, the selected row's ID.
    heard.until(("object:state-changed:focused", "table cell", expected[2][0]))

    # The dialog comes back in the chosen file's folder with its name selected, so a typed name
    # replaces it; a missing one is reported.
    missing = os.path.join(work, "missing.dat")
    _, kept, selection = viewer.open_file(missing)
    check(kept == os.path.basename(path), "the open dialog kept %r, not %r" % (kept, path))
    check(selection == (0, len(kept)), "the kept name is not selected: %s" % (selection,))
    alert = viewer.wait_window("alert", "My-viewer")
    message = find(alert, "label", "ファイルが見つかりません.")
    check(message is not None, "the error box does not say ファイルが見つかりません.")
    screen.keys("Return")
    viewer.wait_gone(alert, "the error box")
    viewer.wait_list_has_keyboard()
    check(Atspi.Table.get_n_rows(viewer.table) == len(expected), "the failed load changed the list")

    # The list follows the file it shows while the viewer runs, with no box: the file truncated
    # and written again as one of no horses, then the demo file renamed over it.
    size = os.path.getsize(path)
    with open(path, "wb") as emptied:
        emptied.write(bytes(size))
    wait_for("the list to follow the emptied file",
             lambda: Atspi.Table.get_n_rows(viewer.table) == 0)
    subprocess.run([gen, path + ".new"], check=True, capture_output=True)
    os.rename(path + ".new", path)
    wait_for("the list to follow the file renamed over it",
             lambda: table_cell_texts(viewer.table) == expected)
    check(viewer._window("alert") is None, "a box came with the file's change")
    check("focused" in states(viewer.table), "the list lost the keyboard to the file's change")

    # Ctrl+T opens the 能力表 beside the list: its rows read out as stallark-dump --fields
    # prints them; a click on スピード's header sorts it highest first, the best described.
    screen.keys("ctrl+t")
    window = wait_for("the 能力表 window", lambda: next(
        (w for w in children(viewer.app) if w.get_role_name() == "frame" and
         w.get_name().startswith("能力表") and "active" in states(w)), None))
    table = wait_for("the 能力表's table", lambda: find(window, "table", "能力表"))
    # It opens beside the list's window, never over it.
    x, y, width, height = extents(window)
    lx, ly, lwidth, lheight = extents(viewer.frame)
    check(x >= lx + lwidth or x + width <= lx or y >= ly + lheight or y + height <= ly,
          "the 能力表 at %s covers the list's window at %s" % (
              (x, y, width, height), (lx, ly, lwidth, lheight)))
    fields = subprocess.run([dump, "--fields", path], capture_output=True, text=True,
                            check=True).stdout
    rows = [line.split("\t") for line in fields.splitlines()[1:]]
    check(table_cell_texts(table) == rows, "the 能力表 reads otherwise than --fields")
    x, y, width, height = extents(Atspi.Table.get_column_header(table, SPEED_COLUMN))
    screen.click(x + width // 2, y + height // 2)
    fastest = sorted((row for row in rows), key=lambda row: -int(row[SPEED_COLUMN]))
    wait_for("the 能力表 sorted by スピード", lambda: [
        Atspi.Table.get_accessible_at(table, r, SPEED_COLUMN).get_name()
        for r in range(len(rows))] == [row[SPEED_COLUMN] for row in fastest])
    best = Atspi.Table.get_accessible_at(table, 0, SPEED_COLUMN).get_description()
    check(best == "最高値", "the fastest cell is described %r" % best)
    # Alt+E and a 評価式 in hiragana, pasted (xdotool types kana by remapping keys, which the
    # viewer may read before the new map): 評価 comes after 馬名, its values those of
    # stallark-dump --score; a click on its header sorts it highest first, the best described.
    expression = "すぴーど*2+ぱわー"
    # xclip stays behind to hand the text over, so its output goes nowhere rather than to a pipe
    # that would wait for it.
    clipboard = screen.spawn(["xclip", "-selection", "clipboard"], stdin=subprocess.PIPE,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, text=True)
    clipboard.communicate(expression)
    wait_for("the 評価式 on the clipboard", lambda: screen.clipboard() == expression)
    screen.keys("alt+e", "ctrl+v")
    wait_for("the 評価 column", lambda: Atspi.Table.get_n_columns(table) == len(rows[0]) + 1 and
             Atspi.Table.get_column_header(table, SCORE_COLUMN).get_name() == "評価")
    scored = subprocess.run([dump, "--fields", "--score", expression, path], capture_output=True,
                            text=True, check=True).stdout
    scores = [line.split("\t")[SCORE_COLUMN] for line in scored.splitlines()[1:]]
    x, y, width, height = extents(Atspi.Table.get_column_header(table, SCORE_COLUMN))
    screen.click(x + width // 2, y + height // 2)
    wait_for("the 能力表 sorted by 評価", lambda: [
        Atspi.Table.get_accessible_at(table, r, SCORE_COLUMN).get_name()
        for r in range(len(rows))] == sorted(scores, key=lambda score: -float(score)))
    best = Atspi.Table.get_accessible_at(table, 0, SCORE_COLUMN).get_description()
    check(best == "最高値", "the best 評価 is described %r" % best)
    # Closed, it gives the keyboard back to the list; opened again, it is up to date; and 終了
    # in the list's window ends the program with the 能力表 still open.
    screen.keys("alt+F4")
    viewer.wait_gone(window, "the 能力表")
    viewer.wait_list_has_keyboard()
    screen.keys("ctrl+t")
    wait_for("the 能力表 again", lambda: showing(window) and "active" in states(window))
    screen.run(["xdotool", "search", "--name", "^Stallark$", "windowactivate"])
    wait_for("the list's window active", lambda: "active" in states(viewer.frame))
    # 推移 (Ctrl+G) of the first horse: a rewrite of its 反応, once the version shown has stood
    # a second, adds a row on top, and a screen reader hears the chart sum up each ability.
    click_row(viewer, 0)
    screen.keys("ctrl+g")
    trend = wait_for("the 推移 window", lambda: next(
        (w for w in children(viewer.app) if w.get_role_name() == "frame" and
         w.get_name().startswith("推移") and "active" in states(w)), None))
    check(trend.get_name() == "推移 — " + expected[0][1], "the 推移 window is titled %r" % (
        trend.get_name()))
    versions = wait_for("the 推移 table", lambda: find(trend, "table", "推移の表"))
    before = table_cell_texts(versions)
    old = int(rows[0][SPEED_COLUMN + 8])
    new = old + 7 if old < 248 else old - 7
    time.sleep(1.2)
    with open(path, "r+b") as rewritten:
        rewritten.seek(BLOCK_OFFSET + RECORD_SIZE * int(expected[0][0]) + REACTIVE_OFFSET)
        rewritten.write(bytes([new]))
    grown = wait_for("the 推移 table to add the rewrite's row", lambda: (
        lambda read: read if len(read) == len(before) + 1 else None)(table_cell_texts(versions)))
    check(grown[0][TREND_REACTIVE_COLUMN] == "%d (%+d)" % (new, new - old) and
          grown[1:] == before, "the 推移 table reads %s over %s" % (grown[0], before))
    chart = next((node for node in descendants(trend) if node.get_name() == "推移チャート"), None)
    heard = chart.get_description() if chart is not None else None
    check(heard is not None and "反応 %d → %d (%+d)" % (old, new, new - old) in heard,
          "the 推移チャート is described %r" % heard)
    screen.keys("alt+F4")
    viewer.wait_gone(trend, "the 推移 window")
    viewer.wait_list_has_keyboard()
    # 変更点 (Ctrl+H) beside the list logs what the next rewrite changes, its rows read as the
    # list's are: the file emptied again, after the version shown has stood the second that
    # keeps it from being taken for a half-written one, logs every listed horse emptied, its
    # slot state last. Esc closes the window and the list has the keyboard again.
    screen.keys("ctrl+h")
    changes = viewer.wait_window("dialog", "変更点")
    log = find(changes, "table", "変更点の一覧")
    check(log is not None and "focused" in states(log), "the 変更点 log does not have the keyboard")
    logged = Atspi.Table.get_n_rows(log)
    time.sleep(1.2)
    with open(path, "wb") as emptied:
        emptied.write(bytes(size))
    rows = wait_for("the 変更点 log to show the emptied file", lambda: (
        lambda read: read[:len(read) - logged] if len(read) > logged else None)(
            table_cell_texts(log)))
    headers = [Atspi.Table.get_column_header(log, c).get_name() for c in range(8)]
    check(headers == ["時刻", "ファイル", "ID", "馬名", "項目", "旧", "新", "差"],
          "the 変更点 columns read %s" % headers)
    file = os.path.basename(path)
    check(all(row[1] == file for row in rows) and rows[0][2:4] == expected[0][0:2] and
          rows[-1][2:7] == [expected[-1][0], expected[-1][1], "登録状態", "あり", "なし"],
          "the 変更点 log reads %s ... %s" % (rows[0], rows[-1]))
    check(find(changes, "label", "最終読込 " + rows[0][0]) is not None,
          "the 変更点 window does not show when the file was read")
    screen.keys("Escape")
    viewer.wait_gone(changes, "the 変更点 window")
    viewer.wait_list_has_keyboard()

    viewer.exit_through_menu()
    written = sorted(set(screen.files_in_home()) - home_before)
    check(not written, "files written under HOME: %s" % written)


def list_contrast(viewer, theme):
    """The background of the first row's name as shown, and its text's contrast, which must be
    readable."""
    background, ratio = text_contrast(viewer.screen,
                                      Atspi.Table.get_accessible_at(viewer.table, 0, 1))
    print("contrast of the list in the %s theme: %.2f:1 on %s" % (theme, ratio, background))
    check(ratio >= MIN_CONTRAST, "the list's text in the %s theme: contrast %.2f:1 below %.1f:1"
          % (theme, ratio, MIN_CONTRAST))
    return background


def dark_theme(screen, programs, work):
    """A desktop whose portal asks for dark, as GNOME's does, while its GTK theme is light: the
    viewer starts dark, its detail window's boxes readable; in the Japanese locale the rows keep
    their height and the boxes show whole. When the portal turns light, so does the viewer, its
    rows still as high; it read the choice once, and only listened after."""
    stallark, gen, _ = programs
    path = os.path.join(work, "horses.dat")
    subprocess.run([gen, path], check=True, capture_output=True)
    check("ja_JP.utf8" in screen.run(["locale", "-a"]).split(),
          "the ja_JP.UTF-8 locale is missing: bash scripts/install-deps desktop makes it")
    portal = screen.spawn([sys.executable, os.path.join(os.path.dirname(__file__),
                                                        "portal_double.py"), "1"],
                          stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    check(portal.stdout.readline().strip() == "ready", "the portal double did not start")
    env = dict(screen.env, QT_QPA_PLATFORMTHEME="gtk3", LANG="ja_JP.UTF-8", LC_ALL="ja_JP.UTF-8")
    viewer = Viewer(screen, stallark, env, work)
    viewer.wait_window("frame", "Stallark")
    # This theme brings the desktop's own file chooser, a GTK window of the same process; a
    # typed "/" opens its location box.
    screen.keys("alt+f", "o")
    chooser = wait_for("the desktop's file chooser", lambda: viewer.gtk_window("file chooser"))
    screen.type(path)
    wait_for("the typed name", lambda: any(
        text_of(box) == path for box in find_all(chooser, "text", depth=16) if showing(box)))
    screen.keys("Return")
    viewer.wait_gone(chooser, "the file chooser")
    viewer.wait_list_has_keyboard()
    wait_for("the loaded rows", lambda: Atspi.Table.get_n_rows(viewer.table) > 0)
    check_rows(viewer)
    background = list_contrast(viewer, "dark")
    check(luminance(background) < 0.1, "the list is not dark: %s" % (background,))
    # Horse 4 has four activation abilities, as many as its list box holds.
    click_row(viewer, 4)
    detail = open_detail(viewer)
    wait_for("the boxes to be filled", lambda: text_of(find(detail, "text", "父")) != "")
    check_boxes_whole(detail)
    # The theme really is dark: the dialog's own background.
    x, y, _, _ = extents(find(detail, "push button", "閉じる"))
    window_colour = screen.screenshot(x - 6, y, 1, 1)[0][0]
    check(luminance(window_colour) < 0.1, "the theme is not dark: window colour %s"
          % (window_colour,))
    check_box_contrast(viewer, detail, "dark")
    check_labels_clear_of_frames(viewer, detail)

    # openbox, like KWin, minimises a modal dialog on request, and its main window with it:
    # both come back at once, the dialog with the keyboard. xdotool waits for the dialog to
    # be hidden, or gives up soon when it is already back.
    screen.run(["xdotool", "search", "--name", "^詳細表示$", "windowminimize", "--sync"],
               check=False)
    wait_for("the detail window and the main window back on screen", lambda: all(
        screen.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % title],
                   check=False) for title in ("詳細表示", "Stallark")))
    screen.keys("shift+Tab")
    close = find(detail, "push button", "閉じる")
    wait_for("閉じる to have the focus", lambda: "focused" in states(close))
    screen.keys("Return")
    viewer.wait_gone(detail, "the detail window")

    portal.stdin.write("2\n")
    portal.stdin.flush()
    first_name = Atspi.Table.get_accessible_at(viewer.table, 0, 1)
    wait_for("the list to turn light",
             lambda: luminance(text_contrast(screen, first_name)[0]) > 0.5)
    list_contrast(viewer, "light")
    check_rows(viewer)
    portal.stdin.write("reads\n")
    portal.stdin.flush()
    while (line := portal.stdout.readline().strip()).startswith("announced"):
        pass
    check(line == "1", "the viewer read the portal's setting %s times, not once" % line)
    viewer.exit_through_menu()


SCENARIOS = {"everyday_use": everyday_use, "dark_theme": dark_theme}
WINDOW_MANAGER = {"everyday_use": "mutter"}


def main():
    global Atspi, GLib
    scenario, programs = SCENARIOS[sys.argv[1]], sys.argv[2:5]
    with tempfile.TemporaryDirectory(prefix="stallark-desktop-") as work, \
            desktop.Desktop(work, WINDOW_MANAGER.get(sys.argv[1], "openbox")) as screen:
        screen.env.update(LANG="C.UTF-8", LC_ALL="C.UTF-8", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        import gi
        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi as atspi, GLib as glib
        Atspi, GLib = atspi, glib
        scenario(screen, [os.path.abspath(p) for p in programs], work)
    print("passed:", sys.argv[1])


if __name__ == "__main__":
    main()
