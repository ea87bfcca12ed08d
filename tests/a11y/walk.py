#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# The screen reader's side of tests/a11y/walk.sh: finds the program by its
# process over AT-SPI, walks every window it shows and fails on a control
# that takes the focus, or a progress bar, that has no name. It also asks the channel grid what a
# screen reader hears on a cell: the cell's text, and its column's title.
#   walk.py PID LANGUAGE_ID INPUT
# INPUT is the program's input, where "combo" opens a drop-down of the grid.
import sys
import time

import pyatspi

pid, language, program_input = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
where = "English" if language == 0 else "Chinese"

# What the grid says of channel 3's RX cell and of its column, and the label
# of the tone list open over channel 3, in the words of each language.
GRID = {
    0: ("Channels", "Channel 3, RX Frequency, 433.50000", "RX Frequency", "QT/DQT Dec"),
    1: ("信道", "信道 3，接收频率，433.50000", "接收频率", "亚音解码"),
}


def find_application():
    deadline = time.monotonic() + 30
    while time.monotonic() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            try:
                if app is not None and app.get_process_id() == pid:
                    return app
            except Exception:
                pass
        time.sleep(0.5)
    sys.exit(f"walk ({where}): the program never showed up on the AT-SPI bus")


def label(node):
    try:
        return f"{node.getRoleName()} \"{node.name}\""
    except Exception:
        return "?"


def labels(node):
    """The names of the labels a screen reader reads for the node."""
    names = []
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            for i in range(relation.getNTargets()):
                target = relation.getTarget(i)
                if target is not None and (target.name or "").strip():
                    names.append(target.name.strip())
    return names


def walk(node, path, faults, seen):
    try:
        states = node.getState()
        showing = states.contains(pyatspi.STATE_SHOWING)
        focusable = states.contains(pyatspi.STATE_FOCUSABLE)
        role = node.getRole()
        name = (node.name or "").strip()
        count = node.childCount
    except Exception:
        return
    if not showing and role not in (pyatspi.ROLE_APPLICATION, pyatspi.ROLE_FRAME, pyatspi.ROLE_DIALOG):
        return
    seen[0] += 1
    here = path + [label(node)]
    if focusable and not name:
        faults.append(" > ".join(here))
    # A progress bar takes no focus, but a screen reader reports it by name.
    elif role == pyatspi.ROLE_PROGRESS_BAR and not name:
        faults.append(" > ".join(here))
    # On Linux a drop-down's name is its current item: what it is for is
    # the label it is labelled by.
    elif focusable and role == pyatspi.ROLE_COMBO_BOX and not labels(node) \
            and not (node.description or "").strip():
        faults.append(" > ".join(here) + " (no label)")
    # A cell of a table is checked where it is asked for (below) and by its
    # table's headers: a long grid would make the walk slow.
    if role == pyatspi.ROLE_TABLE:
        return
    for i in range(count):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child, here, faults, seen)


def find(node, test):
    try:
        if test(node):
            return node
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            found = child is not None and find(child, test)
            if found:
                return found
    except Exception:
        pass
    return None


def check_tables(app, faults):
    """A cell that says nothing is at least in a column with a title."""
    tables = []
    find(app, lambda n: n.getRole() == pyatspi.ROLE_TABLE and n.getState().contains(pyatspi.STATE_SHOWING)
         and tables.append(n) and False)
    for table in tables:
        t = table.queryTable()
        for row in range(t.nRows):
            for column in range(t.nColumns):
                cell = t.getAccessibleAt(row, column)
                if cell is not None and cell.getState().contains(pyatspi.STATE_FOCUSABLE) \
                        and not (cell.name or "").strip():
                    header = t.getColumnHeader(column)
                    if header is None or not (header.name or "").strip():
                        faults.append(f"{label(table)}: cell ({row + 1}, {column + 1}) has neither text nor title")
    return tables


def check_grid(tables, faults):
    title, cell_text, column_title, combo_label = GRID[language]
    grid = next((t for t in tables if t.name == title), None)
    if grid is None:
        faults.append(f"no table named \"{title}\" (tables: {[t.name for t in tables]})")
        return
    t = grid.queryTable()
    column = next((c for c in range(t.nColumns)
                   if t.getColumnHeader(c) is not None and t.getColumnHeader(c).name == column_title), None)
    if column is None:
        faults.append(f"the grid has no column \"{column_title}\": "
                      f"{[t.getColumnHeader(c).name for c in range(t.nColumns) if t.getColumnHeader(c)]}")
        return
    cell = t.getAccessibleAt(2, column)
    if cell is None or cell.name != cell_text:
        faults.append(f"the grid's cell (3, {column_title}) says \"{cell.name if cell else None}\", "
                      f"not \"{cell_text}\"")
    row_header = t.getRowHeader(2)
    if row_header is None or "3" not in (row_header.name or ""):
        faults.append(f"the grid's row 3 has the header \"{row_header.name if row_header else None}\"")
    combo = focused_combo()
    if combo is None or combo_label not in labels(combo):
        faults.append(f"the grid's open tone list is labelled {labels(combo) if combo else None}, "
                      f"not \"{combo_label}\"")


def focused_combo():
    """The drop-down that takes the focus when the grid opens one."""
    from gi.repository import GLib
    got = []

    def on_focus(event):
        source = event.source
        if event.detail1 != 1 or source is None:
            return
        if source.getRole() != pyatspi.ROLE_COMBO_BOX and source.parent is not None:
            source = source.parent  # the text field of a list one may type into
        if source.getRole() == pyatspi.ROLE_COMBO_BOX:
            got.append(source)
            pyatspi.Registry.stop()

    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
    with open(program_input, "w") as command:
        command.write("combo\n")
    GLib.timeout_add_seconds(10, lambda: pyatspi.Registry.stop() or False)
    pyatspi.Registry.start()
    pyatspi.Registry.deregisterEventListener(on_focus, "object:state-changed:focused")
    return got[0] if got else None


app = find_application()
faults = []
seen = [0]
windows = 0
for i in range(app.childCount):
    window = app.getChildAtIndex(i)
    if window is not None:
        windows += 1
        walk(window, [], faults, seen)
tables = check_tables(app, faults)
check_grid(tables, faults)
print(f"walk ({where}): {windows} windows, {seen[0]} shown objects, {len(tables)} tables, {len(faults)} faults")
for fault in faults:
    print("  " + fault)
sys.exit(1 if faults else 0)
