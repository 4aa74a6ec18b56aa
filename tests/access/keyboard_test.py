#!/usr/bin/python3
"""Orvella used with the keyboard alone: no click anywhere.

Runs under dbus-run-session, on an X server of its own, Orvella's clock
(libfaketime) on 10 March 2004 and its month grid shown. The window is
given the keyboard as switching to it would; then F6 puts the keys into the
grid. Requests come from AskOrvel's command line: the first, for 15 March,
is answered with Right x5 and Return (20 March); the second walks by months
and weeks across month ends and goes home to today, F10 opens the settings
menu, whose items the arrows reach (Triple-Preview, and in a submenu the
switch that hides global holidays) without answering it, and Escape cancels
it. The accessibility bus tells the test where the keys are, so that it
waits for states, not for time. Exit status 0 when every check holds.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from access_support import Events, Orvella, accessibility_bus, check, find, key, panel_date, run, wait_for  # noqa: E402


def keys_on(app):
    """The name of the day that has the keys, or None."""
    cell = find(app, 'table cell', focused=True)
    return cell.name if cell is not None else None


def main():
    accessibility_bus()
    with Orvella(today='2004-03-10 10:00:00', expanded=True,
                 mark_days=['[HD][ever/03/17][St. Patrick][frFR]']) as orvella:
        events = Events('object:state-changed:focused')
        app = orvella.application()
        orvella.focus_window()
        key('F6')
        wait_for('the keys in the grid', lambda: keys_on(app) == 'Wednesday, 10 March 2004, today')

        # The keys stay in the grid when a request comes.
        answer = orvella.ask_orvel('--date', '--preset', '2004-03-15 09:00')
        wait_for('the request shown', lambda: panel_date(app) == (2004, 3, 15))
        wait_for('the keys on the requested day', lambda: keys_on(app) == 'Monday, 15 March 2004')
        key('Right', 'Right', 'Right', 'Right', 'Right', 'Return')
        check(answer.wait() == '2004-03-20', 'Right x5 and Return answer 20 March', answer.output + answer.errors)

        answer = orvella.ask_orvel('--date', '--preset', '2004-01-31 09:00')
        wait_for('the second request shown', lambda: keys_on(app) == 'Saturday, 31 January 2004')
        for name, expected, month in [
                ('Next', 'Sunday, 29 February 2004', 'February 2004'),  # Page Down: a month, to its last day
                ('Right', 'Monday, 1 March 2004', 'March 2004'),         # a day, into the next month
                ('Up', 'Monday, 23 February 2004', 'February 2004'),     # a week back
                ('Prior', 'Friday, 23 January 2004', 'January 2004'),    # Page Up: a month back
                ('Down', 'Friday, 30 January 2004', 'January 2004'),     # a week on
                ('Home', 'Wednesday, 10 March 2004, today', 'March 2004')]:
            key(name)
            wait_for(f'{name} to {expected}', lambda: keys_on(app) == expected)
            grid = find(app, 'table', showing=True)
            check(grid.name == month and panel_date(app)[1] == ['January', 'February', 'March'].index(
                month.split()[0]) + 1, f'after {name} the panel and the grid show {month}', (panel_date(app), grid.name))

        # Every menu item by keys, F10 and the arrows, also in submenus; the
        # Return that chooses an item answers no requester.
        orvella.open_settings_menu(events)
        orvella.choose_in_menu(events, 'Triple-Preview')
        key('Return')
        wait_for('three months', lambda: len(find(app, 'table', every=True, showing=True)) == 3)
        wait_for('the keys still in the grid', lambda: keys_on(app) == 'Wednesday, 10 March 2004, today')
        check(find(app, 'table cell', name='Wednesday, 17 March 2004, St. Patrick (holiday)') is not None,
              'the holiday shows')
        orvella.open_settings_menu(events)
        orvella.choose_in_menu(events, 'MarkDays')
        key('Right')
        orvella.choose_in_menu(events, 'Globals')
        key('Return')
        wait_for('global holidays hidden', lambda: find(app, 'table cell', name='Wednesday, 17 March 2004'))
        check(answer.process.poll() is None, 'the requester still waits')

        key('Escape')
        check(answer.wait() == '' and answer.process.returncode == 1, 'Escape cancels',
              (answer.output, answer.errors, answer.process.returncode))


if __name__ == '__main__':
    run(main)
