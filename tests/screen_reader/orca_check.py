"""What Orca says to a user who tabs through the window and types, read from Orca's own log.

Run by run.sh with the program already starting. Orca runs with its speech off and logs each
utterance it would speak ("SPEECH OUTPUT: '...'"). The keys are real X key events (XTEST, through
xdotool), so Orca hears them as it hears a keyboard. Exits non-zero, saying why, at the first
thing Orca does not say.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi

HERE = os.path.dirname(os.path.abspath(__file__))
TIMEOUT = 30
RESULT = re.compile(r"You will need: [0-9.]+ GB - \([0-9.]+ MB\)")


class Orca:
    def __init__(self, folder):
        self.log = os.path.join(folder, "orca.log")
        self.output = open(os.path.join(folder, "orca.out"), "w")
        LOGS.extend([self.output.name, self.log])
        self.process = subprocess.Popen(
            ["/usr/bin/python3", os.path.join(HERE, "orca_logged.py"), "--disable=speech",
             f"--user-prefs={os.path.join(folder, 'orca')}", f"--debug-file={self.log}"],
            stdout=self.output, stderr=subprocess.STDOUT)
        self.heard = 0  # how many utterances the checks have already accounted for
        self.wait_for_line(lambda line: "ORCA: Startup complete" in line, "Orca to start")

    def lines(self):
        try:
            with open(self.log, errors="replace") as log:
                return log.read().splitlines()
        except FileNotFoundError:
            return []

    def wait_for_line(self, matches, what):
        deadline = time.time() + TIMEOUT
        while time.time() < deadline:
            if self.process.poll() is not None:
                fail(f"Orca ended while waiting for {what}")
            for line in self.lines():
                if matches(line):
                    return line
            time.sleep(0.1)
        fail(f"timed out waiting for {what}")

    def spoken(self):
        """Everything Orca has said so far, in order, key echo included."""
        return [m.group(1) for m in map(re.compile(r"SPEECH OUTPUT: '(.*)' ?\{").search, self.lines())
                if m]

    def hear(self, expected, what, settle=0.0):
        """Waits until Orca has said each of `expected` (strings or patterns) in order, after what
        it had said before, and returns what it said since."""
        before = self.heard
        deadline = time.time() + TIMEOUT
        while time.time() < deadline:
            said = self.spoken()[before:]
            if in_order(said, expected):
                time.sleep(settle)
                said = self.spoken()[before:]
                self.heard = before + len(said)
                print(f"{what}: Orca says {said}")
                return said
            time.sleep(0.1)
        fail(f"{what}: expected Orca to say {[str(e) for e in expected]}, "
             f"it said {self.spoken()[before:]}")

    def stop(self):
        self.process.terminate()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
        self.output.close()


def in_order(said, expected):
    position = 0
    for item in said:
        if position < len(expected) and matches(expected[position], item):
            position += 1
    return position == len(expected)


def matches(expected, item):
    return expected.fullmatch(item) if isinstance(expected, re.Pattern) else item == expected


LOGS = []  # Orca's log and output, shown when a check fails


def fail(why):
    print(f"Orca check failed: {why}", file=sys.stderr)
    for path in LOGS:
        try:
            with open(path, errors="replace") as log:
                print(f"--- the end of {path}:", *log.read().splitlines()[-25:], sep="\n",
                      file=sys.stderr)
        except FileNotFoundError:
            pass
    sys.exit(1)


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True)


def figures_shown():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == "BrindleDSC":
            stack = [app]
            labels = []
            while stack:
                node = stack.pop(0)
                if node.getRoleName() == "label":
                    labels.append(node.name)
                stack.extend(child for child in node if child is not None)
            return [label for label in labels if label[:1].isdigit() or label.startswith("GB")]
    fail("the program is not on the accessibility bus")


def main():
    folder = tempfile.mkdtemp()
    orca = Orca(folder)
    try:
        try:
            window = subprocess.run(["xdotool", "search", "--sync", "--name", "^Brindle DSC"],
                                    check=True, capture_output=True, text=True,
                                    timeout=TIMEOUT).stdout.split()[0]
        except subprocess.SubprocessError as error:
            fail(f"the window did not appear: {error}")
        # No window manager gives the window the focus; the user's click would.
        xdotool("windowfocus", "--sync", window)
        orca.hear(["Days at CD Quality text.", "5."], "The window opens")
        xdotool("key", "Tab")
        orca.hear(["Days at archive quality text.", "37 selected."], "Tab to the archive box")
        xdotool("key", "shift+Tab")
        orca.hear(["Days at CD Quality text.", "5 selected."], "Shift+Tab to the CD box")

        xdotool("type", "--delay", "100", "10")
        said = orca.hear([re.compile("notification " + RESULT.pattern)], "Typing 10",
                         settle=1.5)
        gigabytes, megabytes = figures_shown()
        results = [s for s in said if RESULT.search(s)]
        if results != [f"notification You will need: {gigabytes} {megabytes}"]:
            fail(f"typing 10: one result, the one shown ({gigabytes} {megabytes}), "
                 f"after the pause; Orca said {results}")

        xdotool("key", "ctrl+a")
        xdotool("type", "--delay", "100", "1e38")
        orca.hear(["notification Overflow: the estimate is too large to compute. "
                   "The figures shown are out of date."], "Typing 1e38")

        xdotool("key", "ctrl+a", "BackSpace")
        orca.hear([re.compile(r"notification Error cleared\. " + RESULT.pattern)],
                  "Clearing the box")
    finally:
        orca.stop()
        shutil.rmtree(folder, ignore_errors=True)
    print("Orca check passed")


main()
