#!/usr/bin/env python3
"""Looks at zunopad's editor as a screen reader does, over AT-SPI.

Finds the application and its editor, checks the editor's role, states,
name, description and text, then types into the window that has the
focus with xdotool while listening for text-changed,
caret-moved and selection events. Every wait has a deadline."""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what, file=sys.stderr)


def pump(seconds, until=lambda: False):
    deadline = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while time.monotonic() < deadline and not until():
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)
    return until()


def find_editor():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None or (app.name or "").lower() != "zunopad":
            continue
        found = pyatspi.findDescendant(app, lambda a: a is not None and a.name == "Editor"
                                       and a.getRole() == pyatspi.ROLE_TEXT)
        if found is not None:
            return found
    return None


editor = None
deadline = time.monotonic() + 20
while editor is None and time.monotonic() < deadline:
    try:
        editor = find_editor()
    except Exception as error:  # the registry may still be starting
        print("waiting for the registry:", error, file=sys.stderr)
    if editor is None:
        time.sleep(0.3)
if editor is None:
    print("FAIL: no text object named 'Editor' in an application 'zunopad'", file=sys.stderr)
    sys.exit(1)

states = editor.getState()
for state, name in [(pyatspi.STATE_EDITABLE, "editable"), (pyatspi.STATE_MULTI_LINE, "multi-line"),
                    (pyatspi.STATE_FOCUSABLE, "focusable"), (pyatspi.STATE_FOCUSED, "focused")]:
    check(states.contains(state), "the editor is " + name)
check(editor.description == "EAST.PRJ", "the description is the document's name, not %r" % editor.description)
text = editor.queryText()
check(text.characterCount == 18, "18 characters, not %d" % text.characterCount)
check(text.getText(0, -1) == "PN:1\r\nNA:EAST ROAD", "the whole text reads back")
line, start, end = text.getTextAtOffset(8, pyatspi.TEXT_BOUNDARY_LINE_START)
check(line == "NA:EAST ROAD" and start == 6, "the line at offset 8 is %r from %d" % (line, start))
check(editor.queryEditableText() is not None, "the editor offers EditableText")

events = []


def heard(event):
    if event.source == editor:
        events.append((event.type, event.detail1, event.any_data))


pyatspi.Registry.registerEventListener(heard, "object:text-changed:insert", "object:text-changed:delete",
                                       "object:text-caret-moved", "object:text-selection-changed")
pump(0.5)
subprocess.run(["xdotool", "type", "--delay", "60", "ab"], check=True, timeout=10)
subprocess.run(["xdotool", "key", "--delay", "60", "Left", "shift+Home"], check=True, timeout=10)


def seen(kind, detail=None, data=None):
    return any(t.startswith(kind) and (detail is None or d == detail) and (data is None or a == data)
               for t, d, a in events)


pump(15, lambda: seen("object:text-selection-changed") and seen("object:text-caret-moved", 6))
print("events:", events)
check(seen("object:text-changed:insert", 18, "A"), "typing 'a' is told as 'A' inserted at 18")
check(seen("object:text-changed:insert", 19, "B"), "typing 'b' is told as 'B' inserted at 19")
check(seen("object:text-caret-moved", 20), "the caret is told at 20 after typing")
check(seen("object:text-caret-moved", 19), "the caret is told at 19 after Left")
check(seen("object:text-selection-changed"), "selecting with Shift+Home is told")
pyatspi.Registry.deregisterEventListener(heard, "object:text-changed:insert", "object:text-changed:delete",
                                         "object:text-caret-moved", "object:text-selection-changed")
sys.exit(1 if failures else 0)
