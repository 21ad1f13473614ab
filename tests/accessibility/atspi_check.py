"""Drives the quiz the way a screen reader does, over AT-SPI: finds its controls by role and
name, presses 按钮_开始 through its action, reads the question and options back and checks
them against the question file they came from, answers, hears the verdict box as an alert,
dismisses it and reads the history line.

Usage: atspi_check.py QUIZ_PROGRAM
Run it inside a private D-Bus session and an X display (see atspi_test.sh).
"""

import os
import pathlib
import subprocess
import sys
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402


class CheckFailed(Exception):
    pass


def wait_for(what, find, seconds=20.0):
    """Calls find until it gives something other than None, or fails after `seconds`."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = find()
        if found is not None:
            return found
        time.sleep(0.1)
    raise CheckFailed(f"gave up waiting for {what}")


def children(node):
    return [node.get_child_at_index(i) for i in range(node.get_child_count())]


def descendants(node):
    for child in children(node):
        if child is None:
            continue
        yield child
        yield from descendants(child)


def by_role(node, role):
    return [d for d in descendants(node) if d.get_role() == role]


def press(node):
    """Runs the node's Press action, as a screen reader's user activating it does."""
    for index in range(node.get_n_actions()):
        # Its replacement, Action.get_name, is hidden behind Accessible.get_name in Python.
        with warnings.catch_warnings():
            warnings.simplefilter("ignore", DeprecationWarning)
            name = node.get_action_name(index)
        if name == "Press":
            node.do_action(index)
            return
    raise CheckFailed(f"{node.get_name()!r} has no Press action")


def application_of(pid):
    desktop = Atspi.get_desktop(0)
    for app in children(desktop):
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def button_names(window):
    return {b.get_name(): b for b in by_role(window, Atspi.Role.PUSH_BUTTON)}


def question_lines(folder):
    """The non-empty CR LF lines of every question file, by file name."""
    files = {}
    for path in folder.glob("*.txt"):
        text = path.read_bytes().decode("utf-8")
        files[path.name] = [line for line in text.split("\r\n") if line]
    return files


def check(program):
    bank = question_lines(pathlib.Path(program).resolve().parent / "文本")
    environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    environment.pop("QT_QPA_PLATFORM", None)  # the tests run Qt offscreen; this needs the display
    quiz = subprocess.Popen([program], env=environment)
    try:
        app = wait_for("the quiz on the accessibility bus", lambda: application_of(quiz.pid))
        window = wait_for(
            "the quiz window",
            lambda: next((w for w in children(app) if w is not None and w.get_name() == "答题"), None),
        )
        buttons = wait_for(
            "the buttons",
            lambda: (lambda found: found if "开始答题" in found else None)(button_names(window)),
        )
        print("buttons:", sorted(buttons))
        expected = {"开始答题", "题目", "选项 1", "选项 2", "选项 3", "选项 4"}
        if set(buttons) != expected:
            raise CheckFailed(f"buttons are named {sorted(buttons)}, not {sorted(expected)}")
        lists = by_role(window, Atspi.Role.LIST)
        if [l.get_name() for l in lists] != ["答题记录"]:
            raise CheckFailed(f"lists are named {[l.get_name() for l in lists]}, not ['答题记录']")

        press(buttons["开始答题"])

        def loaded():
            names = button_names(window)
            question = next((n for n in names if n.startswith("题目：")), None)
            return (question, names) if question is not None and "刷新题目" in names else None

        question, names = wait_for("a question after pressing 开始答题", loaded)
        print("question read back:", question)
        file = next((name for name, lines in bank.items() if "题目：" + lines[0] == question), None)
        if file is None:
            raise CheckFailed(f"{question!r} is the question of no file in 文本")
        lines = bank[file]
        options = [f"选项 {n}：{lines[n]}" for n in range(1, 5)]
        print("options read back:", [n for n in sorted(names) if n.startswith("选项")])
        missing = [o for o in options if o not in names]
        if missing:
            raise CheckFailed(f"the options of {file} are not read back: {missing}")

        # The answer is kept out of sight, and out of a screen reader's hearing.
        spoken_labels = [label.get_name() for label in by_role(window, Atspi.Role.LABEL)]
        if lines[5] in spoken_labels:
            raise CheckFailed(f"a label reads out the answer {lines[5]!r}")

        known_windows = set(children(app))
        press(names[options[0]])
        alert = wait_for(
            "the verdict box",
            lambda: next(
                (w for w in children(app) if w is not None and w not in known_windows
                 and w.get_role() == Atspi.Role.ALERT),
                None,
            ),
        )
        spoken = [alert.get_name()] + [l.get_name() for l in by_role(alert, Atspi.Role.LABEL)]
        verdict = "恭喜答对了" if lines[1] == lines[5] else "答错了"
        print("verdict box (role alert):", spoken)
        if verdict not in spoken:
            raise CheckFailed(f"the alert says {spoken}, not {verdict!r}")
        alert_buttons = by_role(alert, Atspi.Role.PUSH_BUTTON)
        if len(alert_buttons) != 1:
            raise CheckFailed(f"the verdict box has {len(alert_buttons)} buttons, not one")
        press(alert_buttons[0])

        history = lists[0]
        item = wait_for("the history line", lambda: next(iter(children(history)), None))
        line = f"{question}回答：{lines[1]} {'√' if verdict == '恭喜答对了' else '×'}"
        print("history line read back:", item.get_name())
        if item.get_name() != line:
            raise CheckFailed(f"the history says {item.get_name()!r}, not {line!r}")
    finally:
        quiz.terminate()
        quiz.wait(timeout=10)


def main():
    try:
        check(sys.argv[1])
    except CheckFailed as failure:
        print("FAIL:", failure, file=sys.stderr)
        return 1
    print("a screen reader can find, press and read every control of the quiz")
    return 0


if __name__ == "__main__":
    sys.exit(main())
