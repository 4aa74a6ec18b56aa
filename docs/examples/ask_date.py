#!/usr/bin/python3
"""Asks a running Orvella for a date and prints the answer.

Usage: ask_date.py [--time] [--preset 'YYYY/MM/DD HH:MM'] [--broadcast]
                   [--timeout SECONDS]

Sends a '_KXT' request (docs/ipc.md, "Asking Orvella for a date or a
time"), waits at most --timeout seconds for the answer and prints the
answered local date and time as YYYY/MM/DD HH:MM, or "cancelled".
Exit status: 0 answered, 1 Orvella not running, 2 cancelled, 3 no answer
in time. Needs python3-dbus and python3-gi (Debian's /usr/bin/python3).
"""
import argparse
import struct
import sys
import time

import dbus
import dbus.lowlevel
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

ORVELLA_BUS_NAME = 'org.orvella.app.application_2fx-vnd_2eKX-Orvella'
APP_PATH = '/org/orvella/app'
INTERFACE = 'org.orvella.Looper'
HEADER = struct.Struct('<4sHHIII')


def code(text):
    """A four-character code as a number, first character most significant."""
    return int.from_bytes(text.encode('ascii'), 'big')


def flatten(what, fields):
    """fields: [(name, type text, value bytes)], one value each."""
    body = b''
    for name, type_text, value in fields:
        raw = name.encode()
        body += struct.pack('<IB', code(type_text), len(raw)) + raw
        body += struct.pack('<II', 1, len(value)) + value
    size = HEADER.size + len(body)
    return HEADER.pack(b'OVMF', 1, 0, what, len(fields), size) + body


def unflatten(data):
    """The message code and {name: (type text, [value bytes])}, or None."""
    if len(data) < HEADER.size:
        return None
    magic, version, flags, what, count, size = HEADER.unpack_from(data)
    if magic != b'OVMF' or version != 1 or flags != 0 or size != len(data):
        return None
    fields, pos = {}, HEADER.size
    try:
        for _ in range(count):
            type_code, name_length = struct.unpack_from('<IB', data, pos)
            pos += 5
            name = data[pos:pos + name_length].decode()
            pos += name_length
            (value_count,) = struct.unpack_from('<I', data, pos)
            pos += 4
            values = []
            for _ in range(value_count):
                (length,) = struct.unpack_from('<I', data, pos)
                if pos + 4 + length > len(data):
                    return None
                values.append(data[pos + 4:pos + 4 + length])
                pos += 4 + length
            fields[name] = (type_code.to_bytes(4, 'big').decode('latin-1'), values)
    except (struct.error, UnicodeDecodeError):
        return None
    return (what, fields) if pos == len(data) else None


def request(only_time, preset, tag):
    return flatten(code('_KXT'), [
        ('_ask', 'BOOL', b'\x01'),
        ('_onlyTime', 'BOOL', b'\x01' if only_time else b'\x00'),
        ('_presetTime', 'LLNG', struct.pack('<q', preset)),
        ('_okName', 'CSTR', b'get Time' if only_time else b'get Date'),
        ('_itor', 'PNTR', struct.pack('<Q', tag)),
    ])


class Inbox(dbus.service.Object):
    """Receives the answer. A broadcast request's return address is always
    the sender's /org/orvella/app, so the inbox lives there."""

    def __init__(self, bus, loop):
        super().__init__(bus, APP_PATH)
        self.loop = loop
        self.answer = None

    @dbus.service.method(INTERFACE, in_signature='ayss', out_signature='')
    def Deliver(self, message, reply_bus, reply_path):
        parsed = unflatten(bytes(message))
        if parsed is None or parsed[0] != code('_KXT') or '_ask' in parsed[1]:
            return
        self.answer = parsed[1]
        self.loop.quit()


def main():
    parser = argparse.ArgumentParser(description='Ask a running Orvella for a date.')
    parser.add_argument('--time', action='store_true', help='ask for a time only')
    parser.add_argument('--preset', help="time shown first, 'YYYY/MM/DD HH:MM' (default: now)")
    parser.add_argument('--broadcast', action='store_true', help='broadcast the request')
    parser.add_argument('--timeout', type=float, default=60, help='seconds to wait (default 60)')
    args = parser.parse_args()
    preset = int(time.mktime(time.strptime(args.preset, '%Y/%m/%d %H:%M'))) if args.preset \
        else int(time.time())

    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    if not bus.name_has_owner(ORVELLA_BUS_NAME):
        print('Orvella is not running')
        return 1
    loop = GLib.MainLoop()
    inbox = Inbox(bus, loop)
    message = dbus.ByteArray(request(args.time, preset, tag=0x1))
    if args.broadcast:
        signal = dbus.lowlevel.SignalMessage(APP_PATH, INTERFACE, 'Broadcast')
        signal.append(message, signature='ay')
        bus.send_message(signal)
    else:
        orvella = bus.get_object(ORVELLA_BUS_NAME, APP_PATH, introspect=False)
        orvella.Deliver(message, '', APP_PATH, dbus_interface=INTERFACE)
    print('asked; waiting for the answer', flush=True)

    GLib.timeout_add(int(args.timeout * 1000), loop.quit)
    loop.run()
    if inbox.answer is None:
        print('no answer within %g s' % args.timeout)
        return 3
    fields = inbox.answer
    if '>time' not in fields:
        print('cancelled')
        return 2
    (answered,) = struct.unpack('<q', fields['>time'][1][0])
    print(time.strftime('%Y/%m/%d %H:%M', time.localtime(answered)))
    return 0


if __name__ == '__main__':
    sys.exit(main())
