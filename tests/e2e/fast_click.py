#!/usr/bin/env python3
# A quick click for the end-to-end tests: moves the pointer to X Y and presses and releases
# mouse button 1 there, all in one write to the X server, so that the program receives the move,
# the press and the release together (as from a touchpad tap). xdotool sends them one by one.
# Prints the system time in ms (since 1970) at which the events were sent.
# Usage: DISPLAY=:N fast_click.py X Y
import os, socket, struct, sys, time

x, y = int(sys.argv[1]), int(sys.argv[2])
display = os.environ["DISPLAY"].split(":")[1].split(".")[0]
connection = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
connection.connect("/tmp/.X11-unix/X" + display)


def receive(count):
    data = b""
    while len(data) < count:
        chunk = connection.recv(count - len(data))
        if not chunk:
            sys.exit("the X server closed the connection")
        data += chunk
    return data


# Connection set-up, little-endian, no authorisation (Xvfb of the tests accepts local clients).
connection.sendall(struct.pack("<BxHHHHxx", ord("l"), 11, 0, 0, 0))
head = receive(8)
if head[0] != 1:
    sys.exit("the X server refused the connection")
setup = receive(struct.unpack_from("<H", head, 6)[0] * 4)
vendor_length, formats = struct.unpack_from("<H", setup, 16)[0], setup[21]
root = struct.unpack_from("<I", setup, 32 + (vendor_length + 3) // 4 * 4 + formats * 8)[0]

# QueryExtension "XTEST" for its major opcode.
name = b"XTEST"
connection.sendall(struct.pack("<BxHHxx", 98, 2 + (len(name) + 3) // 4, len(name)) + name + b"\0" * (-len(name) % 4))
reply = receive(32)
if reply[0] != 1 or not reply[8]:
    sys.exit("the X server has no XTEST extension")
opcode = reply[9]


def fake_input(kind, detail, root_window=0, x=0, y=0):  # XTestFakeInput, 36 bytes
    return struct.pack("<BBHBBHIIIIhhIHBB", opcode, 2, 9, kind, detail, 0, 0, root_window, 0, 0, x, y, 0, 0, 0, 0)


MOTION, PRESS, RELEASE = 6, 4, 5
events = fake_input(MOTION, 0, root, x, y) + fake_input(PRESS, 1) + fake_input(RELEASE, 1)
sent_ms = int(time.time() * 1000)
connection.sendall(events + struct.pack("<BxH", 43, 1))  # then GetInputFocus, to wait until done
receive(32)
print(sent_ms)
