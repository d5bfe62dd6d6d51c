"""What a screen reader finds in the window and can do with it, through AT-SPI.

Run by run.sh with the program already starting. Exits non-zero, saying why, at the first check
that fails.
"""

import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

APP_NAME = "BrindleDSC"
CD_BOX = "Days at CD Quality"
ARCHIVE_BOX = "Days at archive quality"


def fail(why):
    print(f"screen reader check failed: {why}", file=sys.stderr)
    sys.exit(1)


def expect(what, actual, expected):
    if actual != expected:
        fail(f"{what}: {actual!r}, expected {expected!r}")


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def find_application():
    desktop = pyatspi.Registry.getDesktop(0)
    deadline = time.time() + 30
    while time.time() < deadline:
        for app in desktop:
            if app is not None and app.name == APP_NAME and app.childCount > 0:
                return app
        time.sleep(0.1)
    fail(f"no application named {APP_NAME!r} on the accessibility bus")


def pump(seconds):
    """Lets AT-SPI events arrive."""
    context = GLib.MainContext.default()
    end = time.time() + seconds
    while time.time() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


def main():
    app = find_application()
    frame = app[0]
    expect("window role", frame.getRoleName(), "frame")
    if not frame.name.startswith("Brindle DSC - by "):
        fail(f"window name {frame.name!r}")

    nodes = list(walk(frame))
    boxes = {n.name: n for n in nodes if n.getRoleName() == "text"}
    expect("text boxes", sorted(boxes), sorted([CD_BOX, ARCHIVE_BOX]))
    for name, box in boxes.items():
        if not box.getState().contains(pyatspi.STATE_EDITABLE):
            fail(f"{name!r} is not editable")
    expect("CD box value", boxes[CD_BOX].queryText().getText(0, -1), "5")
    expect("archive box value", boxes[ARCHIVE_BOX].queryText().getText(0, -1), "37")

    options = [(n.name, n.description) for n in nodes if n.getRoleName() == "radio button"]
    expect("options", options, [
        ("11 KHz mono", "Archive quality, 1 of 4"),
        ("11 KHz stereo", "Archive quality, 2 of 4"),
        ("22 KHz mono", "Archive quality, 3 of 4"),
        ("22 KHz Stereo", "Archive quality, 4 of 4"),
    ])

    def figures():
        labels = [n.name for n in walk(frame) if n.getRoleName() == "label"]
        return [label for label in labels if label[:1].isdigit() or label.startswith("GB")]

    expect("figures at start", figures(), ["34.15", "GB - (34974.63 MB)"])

    # An edit through the editable text interface is announced, and recomputes the figures.
    heard = []
    pyatspi.Registry.registerEventListener(
        lambda event: heard.append((event.type, event.detail1, str(event.any_data))),
        "object:text-changed")
    pump(0.3)
    archive = boxes[ARCHIVE_BOX]
    archive.queryEditableText().insertText(2, ".5", 2)
    pump(1.0)
    expect("announced", heard, [("object:text-changed:insert", 2, ".5")])
    expect("archive box value after the edit", archive.queryText().getText(0, -1), "37.5")
    expect("figures after the edit", figures(), ["34.38", "GB - (35201.74 MB)"])

    # Moving the caret without a selection changes no selection, and says nothing of one; a
    # selection is announced.
    selections = []
    pyatspi.Registry.registerEventListener(
        lambda event: selections.append(event.source.name), "object:text-selection-changed")
    pump(0.3)
    text = archive.queryText()
    text.setCaretOffset(1)
    text.setCaretOffset(3)
    pump(0.5)
    expect("selection events for caret moves", selections, [])
    text.setSelection(0, 1, 3)
    pump(0.5)
    expect("selection events for a selection", selections, [ARCHIVE_BOX])

    # Ctrl+Backspace takes the word before the caret in one change: the deletion is heard, and
    # no selection that would last an instant.
    window = subprocess.run(["xdotool", "search", "--sync", "--name", "^Brindle DSC"], check=True,
                            capture_output=True, text=True, timeout=30).stdout.split()[0]
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
    archive.queryComponent().grabFocus()
    text.setCaretOffset(4)
    pump(0.5)
    del heard[:], selections[:]
    subprocess.run(["xdotool", "key", "ctrl+BackSpace"], check=True)
    pump(1.0)
    expect("archive box after Ctrl+Backspace", text.getText(0, -1), "37.")
    expect("announced for Ctrl+Backspace", heard, [("object:text-changed:delete", 3, "5")])
    expect("selection events for Ctrl+Backspace", selections, [])

    # A mebibyte set through the bus is kept whole and estimated.
    archive.queryEditableText().setTextContents("1." + "0" * (1 << 20))
    pump(0.5)
    expect("characters after a mebibyte", archive.queryText().characterCount, (1 << 20) + 2)
    expect("figures after a mebibyte", figures(), ["18.19", "GB - (18622.86 MB)"])
    print("screen reader check passed")


main()
