"""Helpers of the tests that use Orvella as a screen reader or a keyboard-only
user does: a private X server, the accessibility bus, a running Orvella in a
fresh home folder (its clock set by libfaketime when a test asks), searches
in its accessible tree, keys by xdotool. Every wait is bounded and waits for
a state. Runs under dbus-run-session.
"""
import atexit
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import Atspi, GLib

BIN_DIR = os.environ['ORVELLA_BIN_DIR']
ASK_DATE_PY = os.environ['ASK_DATE_PY']
FAKETIME = '/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1'
WAIT_S = 20


class Failure(Exception):
    pass


def check(holds, what, got=None):
    if not holds:
        raise Failure(f'{what}: got {got!r}')


def run(main):
    """Runs a test's main; a check that fails ends the test with status 1."""
    try:
        main()
    except Failure as failure:
        print(f'FAILED: {failure}', file=sys.stderr)
        sys.exit(1)


def panel_values(app):
    """The panel's fields by name: their numbers and their texts."""
    return {s.name: (s.queryValue().currentValue, s.queryText().getText(0, -1))
            for s in find(app, 'spin button', every=True)}


def panel_date(app):
    """Year, month and day in the panel (English names)."""
    values = panel_values(app)
    return tuple(int(values[name][0]) for name in ('Year', 'Month', 'Day'))


def pump():
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def wait_for(what, test, timeout=WAIT_S):
    """The first true result of test(), tried until timeout seconds passed."""
    end = time.monotonic() + timeout
    while True:
        pump()
        try:
            result = test()
        except Exception:  # the tree changes under the search
            result = None
        if result:
            return result
        if time.monotonic() > end:
            raise Failure(f'waited {timeout} s for {what}')
        time.sleep(0.05)


def has(accessible, state):
    return accessible.getState().contains(state)


def find(root, role, name=None, every=False, showing=None, focused=None, checked=None):
    """The first descendant of root (or all, with every) of that role name,
    name and states; None (or []) when there is none."""
    found = []

    def matches(accessible):
        return (accessible.getRoleName() == role and (name is None or accessible.name == name)
                and (showing is None or has(accessible, pyatspi.STATE_SHOWING) == showing)
                and (focused is None or has(accessible, pyatspi.STATE_FOCUSED) == focused)
                and (checked is None or has(accessible, pyatspi.STATE_CHECKED) == checked))

    def walk(accessible):
        for index in range(accessible.childCount):
            child = accessible.getChildAtIndex(index)
            if child is None:
                continue
            if matches(child):
                found.append(child)
                if not every:
                    return True
            if walk(child) and not every:
                return True
        return False

    walk(root)
    return found if every else (found[0] if found else None)


def names_of(accessibles):
    return [a.name for a in accessibles]


def key(*keys):
    for name in keys:
        subprocess.run(['xdotool', 'key', name], check=True, timeout=WAIT_S)
        time.sleep(0.1)


def tree_text(root, depth=0):
    """The tree as lines of role, name, value and states; runs of table
    cells are shortened to their first two and their last."""
    lines = []
    extra = ''
    if 'Value' in pyatspi.listInterfaces(root):
        extra += f' value={root.queryValue().currentValue:g}'
    if 'Text' in pyatspi.listInterfaces(root):
        extra += f' text={root.queryText().getText(0, -1)!r}'
    states = [pyatspi.stateToString(s) for s in (pyatspi.STATE_FOCUSED, pyatspi.STATE_SELECTED,
                                                 pyatspi.STATE_CHECKED) if has(root, s)]
    if not has(root, pyatspi.STATE_SHOWING):
        states.append('hidden')
    lines.append('  ' * depth + f'{root.getRoleName()} {root.name!r}{extra}' + (f' {states}' if states else ''))
    children = [root.getChildAtIndex(i) for i in range(root.childCount)]
    cells = [c for c in children if c is not None and c.getRoleName() == 'table cell']
    for child in children:
        if child is None:
            continue
        if len(cells) > 3 and child in cells[2:-1]:
            if child is cells[2]:
                lines.append('  ' * (depth + 1) + f'... {len(cells) - 3} more cells')
            continue
        lines.append(tree_text(child, depth + 1))
    return '\n'.join(lines)


class Events:
    """Records the events of the given types, with the accessibles that sent them."""

    def __init__(self, *types):
        self.seen = []
        pyatspi.Registry.registerEventListener(self._heard, *types)

    def _heard(self, event):
        self.seen.append((event.type, event.source, event.detail1))

    def saw(self, kind, name, detail=None):
        return any(t == kind and s is not None and s.name == name and (detail is None or d == detail)
                   for t, s, d in self.seen)

    def focus(self):
        """What took the focus last."""
        for kind, source, detail in reversed(self.seen):
            if kind == 'object:state-changed:focused' and detail == 1:
                return source
        return None


def start_display():
    """Starts a private X server on a display number the server picks
    itself (-displayfd), so that tests running side by side never meet on
    one display, as two xvfb-run -a may."""
    read, write = os.pipe()
    server = subprocess.Popen(['Xvfb', '-displayfd', str(write), '-screen', '0', '800x600x24', '-nolisten', 'tcp'],
                              pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    number = b''
    while not number.endswith(b'\n'):
        chunk = os.read(read, 16)
        if not chunk:
            raise Failure('the X server did not start')
        number += chunk
    os.close(read)
    os.environ['DISPLAY'] = ':' + number.decode().strip()
    atexit.register(server.terminate)


def accessibility_bus():
    """Starts a private X server, then the accessibility bus with screen
    reading switched on, as a screen reader does, before the programs it
    reads start."""
    start_display()
    # The accessibility bus's socket lies in the runtime folder, or in
    # ~/.cache when there is none: one path for every test of the user, so
    # that tests running side by side would take over each other's bus. Each
    # test's bus gets a runtime folder of its own.
    runtime = tempfile.mkdtemp(prefix='orvella-access-run-')
    atexit.register(shutil.rmtree, runtime, ignore_errors=True)
    os.environ['XDG_RUNTIME_DIR'] = runtime
    subprocess.run(['dbus-update-activation-environment', 'XDG_RUNTIME_DIR', 'DISPLAY'], check=True, timeout=WAIT_S)
    subprocess.run(['dbus-send', '--session', '--print-reply', '--dest=org.a11y.Bus', '/org/a11y/bus',
                    'org.freedesktop.DBus.Properties.Set', 'string:org.a11y.Status', 'string:IsEnabled',
                    'variant:boolean:true'], check=True, stdout=subprocess.DEVNULL, timeout=WAIT_S)
    # The tree changes while the tests read it: read it afresh every time.
    pyatspi.Registry.getDesktop(0).set_cache_mask(Atspi.Cache.NONE)


class Request:
    """A request from another program: docs/examples/ask_date.py, or
    AskOrvel's command line."""

    def __init__(self, command, env):
        self.process = subprocess.Popen(command, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.output = ''
        self.errors = ''

    def wait(self):
        """The answer printed, once the asker has ended."""
        self.output, self.errors = self.process.communicate(timeout=WAIT_S)
        return self.output.strip()

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.communicate()


class Orvella:
    """Orvella in a fresh home folder, its clock starting at `today` (local
    time) when given, in the time zone `zone` (Europe/Berlin, or a TZ value
    such as ':/path/to/zonefile'), expanded to the month grid when asked."""

    def __init__(self, today=None, mark_days=(), expanded=False, zone='Europe/Berlin'):
        self.home = tempfile.mkdtemp(prefix='orvella-access-')
        os.makedirs(os.path.join(self.home, 'people'))
        with open(os.path.join(self.home, 'people', 'MarkDays'), 'w') as marks:
            marks.write(''.join(line + '\n' for line in mark_days))
        if expanded:
            # The settings a run that quit with the month grid shown leaves.
            folder = os.path.join(self.home, '.config', '_LP_x-vnd.KX')
            os.makedirs(folder)
            settings = os.path.join(folder, 'OVA_settings')
            open(settings, 'w').close()
            os.setxattr(settings, 'user.show_expand', b'\x01')
            os.setxattr(settings, 'user.m_win_rect', struct.pack('=4f', 130, 130, 450, 370))
        self.env = dict(os.environ, HOME=self.home, XDG_CONFIG_HOME=os.path.join(self.home, '.config'),
                        QT_QPA_PLATFORM='xcb', TZ=zone)
        self.env.pop('XDG_RUNTIME_DIR', None)
        program_env = dict(self.env)
        if today:
            # Time runs on from `today`; Qt's timers keep the real clock.
            program_env.update(LD_PRELOAD=FAKETIME, FAKETIME='@' + today, FAKETIME_DONT_FAKE_MONOTONIC='1',
                               FAKETIME_NO_CACHE='1')
            # A sanitizer build wants its runtime first; libfaketime only
            # stands in for the clock calls.
            program_env['ASAN_OPTIONS'] = os.environ.get('ASAN_OPTIONS', '') + ':verify_asan_link_order=0'
        self.log = open(os.path.join(self.home, 'orvella.log'), 'w')
        self.process = subprocess.Popen([os.path.join(BIN_DIR, 'Orvella')], env=program_env, stdout=self.log,
                                        stderr=subprocess.STDOUT)
        self.requests = []

    def __enter__(self):
        return self

    def __exit__(self, kind, value, trace):
        for request in self.requests:
            request.stop()
        self.process.terminate()
        try:
            self.process.wait(timeout=WAIT_S)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self.log.close()
        if kind is not None:
            with open(self.log.name) as log:
                print(log.read()[-4000:])
        shutil.rmtree(self.home, ignore_errors=True)

    def application(self):
        """Orvella's accessible application, once its window shows."""
        desktop = pyatspi.Registry.getDesktop(0)

        def shown():
            for index in range(desktop.childCount):
                app = desktop.getChildAtIndex(index)
                if app is not None and app.name == 'Orvella' and find(app, 'frame', showing=True):
                    return app
            return None

        self.app = wait_for('Orvella on the accessibility bus', shown)
        return self.app

    def ask(self, *args):
        """Asks through docs/examples/ask_date.py."""
        return self._request(['/usr/bin/python3', ASK_DATE_PY, '--timeout', '60', *args])

    def ask_orvel(self, *args):
        """Asks through AskOrvel's command line."""
        return self._request([os.path.join(BIN_DIR, 'AskOrvel'), '--timeout', '60', *args])

    def _request(self, command):
        request = Request(command, self.env)
        self.requests.append(request)
        return request

    def focus_window(self):
        """Gives Orvella's window the keyboard, as switching to it does."""
        subprocess.run(['xdotool', 'search', '--sync', '--onlyvisible', '--name', '^Orvella$', 'windowfocus'],
                       check=True, timeout=WAIT_S)
        wait_for('the window active', lambda: has(find(self.app, 'frame'), pyatspi.STATE_ACTIVE))

    def open_settings_menu(self, events):
        """Opens the menu by its key and steps onto its first item; returns
        the menu."""
        self.focus_window()
        key('F10')
        key('Down')
        item = wait_for('a menu item focused', lambda: self._focused_item(events))
        return item.parent

    @staticmethod
    def _focused_item(events):
        focus = events.focus()
        return focus if focus is not None and focus.getRoleName() == 'menu item' else None

    def choose_in_menu(self, events, name):
        """Steps down the open menu to the item of that name (or whose name
        ends with it, as " 2 Globals" does with "Globals")."""
        for _ in range(20):
            item = wait_for('a menu item focused', lambda: self._focused_item(events))
            if item.name.endswith(name):
                return item
            key('Down')
            wait_for('the next item', lambda: self._focused_item(events) != item)
        raise Failure(f'Down never reached "{name}"')

    def choose_language(self, events, language):
        self.open_settings_menu(events)
        self.choose_in_menu(events, 'Language')
        key('Right')
        wait_for('the language menu', lambda: self._focused_item(events).name != 'Language')
        self.choose_in_menu(events, language)
        key('Return')
