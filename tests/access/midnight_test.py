#!/usr/bin/python3
"""Today follows the clock while Orvella runs.

Runs under dbus-run-session, on an X server of its own. Starts Orvella with
its grid shown and its clock (libfaketime) at 23:59:35 on 31 December 2004
in Berlin, and reads the grid over the accessibility bus: the mark is on 31
December; past midnight it is on 1 January 2005, the grid shows January and
the idle panel that day. Exit status 0 when every check holds.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from access_support import Orvella, accessibility_bus, check, find, panel_date, run, wait_for  # noqa: E402


def marked_today(app):
    """The names of the cells that say they are today."""
    return [cell.name for cell in find(app, 'table cell', every=True) if cell.name.endswith(', today')]


def main():
    accessibility_bus()
    with Orvella(today='2004-12-31 23:59:35', expanded=True) as orvella:
        app = orvella.application()
        wait_for('31 December marked as today', lambda: marked_today(app) == ['Friday, 31 December 2004, today'])
        check(panel_date(app) == (2004, 12, 31), 'the panel shows the day', panel_date(app))

        # The clock passes midnight at the latest 25 s after the start.
        wait_for('1 January marked as today', lambda: marked_today(app) == ['Saturday, 1 January 2005, today'],
                 timeout=45)
        check(panel_date(app) == (2005, 1, 1), 'the idle panel moved on', panel_date(app))
        check(find(app, 'table', showing=True).name == 'January 2005', 'the grid shows the new month')


if __name__ == '__main__':
    run(main)
