#!/usr/bin/env python3
"""Writes the fuzzer's seed inputs into corpus/.

An input is read front to back by wedge_fuzzer.cpp's Script: two bytes for
the layout and Caps Lock, then operations, each an operation byte and its
arguments. The helpers below spell the operations out, so each seed reads
as the scenario it starts the fuzzer from.
"""
import pathlib

OPEN, CLOSE, RETITLE, SHOW, MINIMISE, ACTIVATABLE, REFUSE_LATER, FOREGROUND, \
    FAIL_INJECTION, LIMIT_INJECTION, FAIL_INFO, REPORT_LENGTH, CAPS, LAYOUT, HOLD, \
    JAVA_FAULTS, ALLOCATION_FAULTS, SYSTEM_MESSAGE, GET_WINDOWS, SET_WINDOW, \
    SEND_TEXT, GET_LAST_ERROR, DESTROY = range(23)

# Indexes among the scenario's keys.
VK_SHIFT_CHOICE, VK_CONTROL_CHOICE, VK_MENU_CHOICE, VK_CAPITAL_CHOICE = 0, 1, 2, 3
VK_RMENU_CHOICE, VK_LWIN_CHOICE = 8, 9
LAYOUT_OWN_US, LAYOUT_OWN_ALTGRAPH = 1, 2  # a window's own layout
INJECTION_ERROR_5 = 0  # index of code 5 among the injection errors


class Seed:
    def __init__(self, altgraph=False, caps=False):
        self.data = bytearray([int(altgraph), int(caps)])
        self.windows = 0

    def title(self, text, copy_of=None):
        if self.windows:
            self.data.append(0 if copy_of is not None else 1)
            if copy_of is not None:
                self.data.append(copy_of)
        self.data.append(len(text))
        if copy_of is not None:
            return self  # the copied title already has the length
        for ch in text:
            code = ord(ch)
            if ch in "abc":
                self.data.append(code - ord("a"))
            elif 0x20 <= code < 0x60:
                self.data.append(0x80 + code - 0x20)
            else:
                self.data += bytes([0xFF, code >> 8, code & 0xFF])
        return self

    def open(self, text, visible=True, minimised=False, accepts=True, copy_of=None, elevated=False, layout=0):
        self.data.append(OPEN)
        self.title(text, copy_of)
        self.data += bytes([1 if visible else 0, int(minimised), 1 if accepts else 0, 0 if elevated else 1, layout])
        self.windows += 1
        return self

    def op(self, *values):
        self.data += bytes(values)
        return self

    def send(self, text):
        self.data += bytes([SEND_TEXT, 1, 0, len(text)]) + text
        return self

    def write(self, name):
        path = pathlib.Path(__file__).parent / "corpus" / name
        path.write_bytes(bytes(self.data))


def main():
    Seed(caps=True).open("Point of sale").op(GET_WINDOWS, SET_WINDOW, 1, 2) \
        .send(b"Hello, World!\r\t\xe9").op(GET_LAST_ERROR, 1, DESTROY).write("type-into-target")

    Seed().open("Till").op(GET_WINDOWS, SET_WINDOW, 1, 2, CLOSE, 0) \
        .open("Mail").open("Till", copy_of=0).send(b"ok").op(GET_LAST_ERROR, 1, SET_WINDOW, 1, 3) \
        .write("relocate-by-title")

    Seed(caps=True).open("Scan").op(GET_WINDOWS, SET_WINDOW, 1, 2, FAIL_INJECTION, INJECTION_ERROR_5, 2, 3) \
        .send(b"ab\tc").op(GET_LAST_ERROR, 1, FAIL_INJECTION, 5, 0, 0).send(b"d").write("injection-fails")

    Seed().open("One").open("Two").open("Three") \
        .op(ALLOCATION_FAULTS, 0, 0b010, 3, JAVA_FAULTS, 1, 0, 1, GET_WINDOWS, SET_WINDOW, 1, 3, GET_WINDOWS, DESTROY) \
        .write("allocation-and-jni-faults")

    Seed(altgraph=True, caps=True).open("Form").op(GET_WINDOWS, SET_WINDOW, 1, 2).send(b"a@`b") \
        .op(GET_LAST_ERROR, 1).write("altgraph-untypeable")

    Seed().open("x" * 120 + "\ud800" + "\udc01").open("y" * 40, visible=False) \
        .op(REPORT_LENGTH, 0, 150, GET_WINDOWS, SET_WINDOW, 1, 2, REFUSE_LATER, 0, 2).send(b"abcd") \
        .write("long-titles-lost-foreground")

    # Someone holds Caps Lock down, with Caps Lock on, as a scan arrives.
    Seed(caps=True).open("Stock").op(GET_WINDOWS, SET_WINDOW, 1, 2, HOLD, VK_CAPITAL_CHOICE, 1) \
        .send(b"ab").write("held-caps-lock-key")

    # Someone holds Ctrl, right Alt and Windows as a scan arrives.
    Seed().open("Till").op(GET_WINDOWS, SET_WINDOW, 1, 2, HOLD, VK_CONTROL_CHOICE, 1, HOLD, VK_RMENU_CHOICE, 1,
                           HOLD, VK_LWIN_CHOICE, 1).send(b"ab12\r\xe9\t").write("held-modifiers")

    # An Alt code cut short by an injection that goes in only in part, then
    # whole ones: the next code must not build on the digits left over.
    Seed().open("Till").op(GET_WINDOWS, SET_WINDOW, 1, 2, LIMIT_INJECTION, 0, 3).send(b"\xe9") \
        .op(LIMIT_INJECTION, 1).send(b"\xe9\xfc").write("unfinished-alt-code")

    # The caller types US, the target has a layout of its own; then a target
    # that runs elevated.
    Seed().open("Form", layout=LAYOUT_OWN_ALTGRAPH).open("Admin", elevated=True) \
        .op(GET_WINDOWS, SET_WINDOW, 1, 2).send(b"@{x").op(GET_WINDOWS, SET_WINDOW, 1, 3).send(b"a") \
        .op(GET_LAST_ERROR, 1).write("target-layout-and-elevated")


if __name__ == "__main__":
    main()
