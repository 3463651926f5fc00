#!/usr/bin/python3
"""Prints the accessible tree of the program with the given process id, as seen over
AT-SPI: one line per object, its depth, role, description, name and text (for objects with
the Text interface), tab-separated, with backslash, tab and line breaks escaped.
With a second argument NAME, does the first action (a press, a toggle) of the first object
named NAME instead, printing nothing; exits with 4 when there is none.
Exits with 3 while no application with that process id is on the bus."""
import sys

import pyatspi


def escape(value):
    return value.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n").replace("\r", "\\r")


def text_of(accessible):
    try:
        text = accessible.queryText()
    except NotImplementedError:
        return ""
    return text.getText(0, -1)


def walk(accessible, depth, out):
    out.append("\t".join([str(depth), accessible.getRoleName(), escape(accessible.description or ""),
                          escape(accessible.name or ""), escape(text_of(accessible))]))
    for index in range(accessible.childCount):
        child = accessible.getChildAtIndex(index)
        if child is not None:
            walk(child, depth + 1, out)


def named(accessible, name):
    if (accessible.name or "") == name:
        return accessible
    for index in range(accessible.childCount):
        child = accessible.getChildAtIndex(index)
        found = named(child, name) if child is not None else None
        if found is not None:
            return found
    return None


def main():
    pid = int(sys.argv[1])
    for application in pyatspi.Registry.getDesktop(0):
        if application is not None and application.get_process_id() == pid:
            if len(sys.argv) > 2:
                target = named(application, sys.argv[2])
                if target is None:
                    return 4
                target.queryAction().doAction(0)
                return 0
            lines = []
            walk(application, 0, lines)
            sys.stdout.write("\n".join(lines) + "\n")
            return 0
    return 3


if __name__ == "__main__":
    sys.exit(main())
