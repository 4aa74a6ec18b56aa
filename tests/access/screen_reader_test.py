#!/usr/bin/python3
"""Orvella as a screen reader meets it, over the accessibility bus.

Runs under dbus-run-session, on an X server of its own. Starts the
accessibility bus with screen reading switched on, then Orvella with its
clock on 15 March 2004, and reads its window as a screen reader does: the
fields as spin buttons with their values, the buttons, the settings menu
with its checked items, the month grid as a table of days, and the clock.
It asks for a date as another program does, moves the focus with keys and
checks that the focus and the value changes are announced, and switches the
language. Prints the window's tree at the end. Exit status 0 when every
check holds.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from access_support import (Events, Orvella, accessibility_bus, check, find, has, key,  # noqa: E402
                            names_of, panel_values, run, tree_text, wait_for)
import pyatspi  # noqa: E402


def main():
    accessibility_bus()
    with Orvella(today='2004-03-15 09:00:00', mark_days=[
            '[HD][ever/03/15][St. Patrick][frFR]',
            '[HD][2004/03/10][Mum][user]']) as orvella:
        events = Events('object:state-changed:focused', 'object:property-change:accessible-value')
        app = orvella.application()

        # The compact panel: six fields and four buttons, named.
        fields = panel_values(app)
        check(sorted(fields) == sorted(['Year', 'Month', 'Day', 'Hour', 'Minute', 'AM or PM']),
              'the fields are spin buttons named after what they hold', fields)
        check(fields['Year'] == (2004, '2004') and fields['Month'] == (3, 'March') and fields['Day'][0] == 15,
              'the fields hold the date of the clock', fields)
        check(fields['AM or PM'][1] == 'AM', 'AM/PM reads its word', fields)
        buttons = names_of(find(app, 'push button', every=True))
        check({'OK', 'Cancel', 'Broadcast', 'Clip', 'Settings'} <= set(buttons), 'the buttons say their labels',
              buttons)

        # The settings menu: its items with their checked states, read as
        # the keys step through them; the second item expands the window.
        menu = orvella.open_settings_menu(events)
        items = {i.name: has(i, pyatspi.STATE_CHECKED) for i in find(menu, 'menu item', every=True)}
        check(items.get('Expand View') is False and items.get('WindowTab') is True,
              'the menu items say whether they are checked', items)
        orvella.choose_in_menu(events, 'Expand View')
        key('Return')
        wait_for('the month grid', lambda: find(app, 'table', showing=True))
        menu = orvella.open_settings_menu(events)
        check(has(find(menu, 'menu item', name='Expand View'), pyatspi.STATE_CHECKED), 'Expand View is checked')
        key('Escape')

        # A request from another program: the grid shows its month, a table
        # of days whose cells say their date, marks and today.
        orvella.ask('--preset', '2004/03/10 14:05')
        wait_for('the requested day', lambda: panel_values(app)['Day'][0] == 10)
        grid = find(app, 'table', showing=True)
        check(grid.name == 'March 2004', 'the grid is named by its month', grid.name)
        table = grid.queryTable()
        check((table.nRows, table.nColumns, grid.childCount) == (5, 7, 31),
              'March 2004 has 31 days in 5 weeks of 7 days', (table.nRows, table.nColumns, grid.childCount))
        cells = {
            (0, 0): 'Monday, 1 March 2004',
            (1, 2): 'Wednesday, 10 March 2004, Mum (user day)',
            (2, 0): 'Monday, 15 March 2004, St. Patrick (holiday), today',
            (4, 2): 'Wednesday, 31 March 2004',
        }
        for (row, column), name in cells.items():
            cell = table.getAccessibleAt(row, column)
            check(cell.name == name, f'the cell at row {row}, column {column}', cell.name)
        selected = [c.name for c in find(grid, 'table cell', every=True)
                    if c.getState().contains(pyatspi.STATE_SELECTED)]
        check(selected == [cells[(1, 2)]], 'the requested day is the selected cell', selected)

        # The request focuses the day; Tab moves the focus to the hour, the
        # clock shows in the grid's place, and Up steps the hour. Both are
        # announced.
        wait_for('the day field focused', lambda: find(app, 'spin button', name='Day', focused=True))
        key('Tab')
        wait_for('the hour field focused', lambda: find(app, 'spin button', name='Hour', focused=True))
        clock = wait_for('the clock', lambda: find(app, 'dial', name='Clock', showing=True))
        check(clock.queryText().getText(0, -1) == '14:05', 'the clock reads its time', clock.queryText().getText(0, -1))
        key('Up')
        wait_for('the hour stepped', lambda: panel_values(app)['Hour'] == (15, '15'))
        wait_for('the clock stepped', lambda: clock.queryText().getText(0, -1) == '15:05')
        wait_for('the focus announced', lambda: events.saw('object:state-changed:focused', 'Hour', detail=1))
        wait_for('the hour change announced', lambda: events.saw('object:property-change:accessible-value', 'Hour'))
        wait_for('the clock change announced', lambda: events.saw('object:property-change:accessible-value', 'Clock'))

        # Another language relabels everything a screen reader reads. The
        # second build has no language menu: it speaks the desktop's.
        if os.environ.get('ORVELLA_DESKTOP_VARIANT'):
            print(tree_text(app))
            return
        orvella.choose_language(events, 'Deutsch')
        wait_for('German buttons', lambda: find(app, 'push button', name='Abbrechen'))
        check(find(app, 'push button', name='> get Date') is not None,
              'the Return that chose the language answered no requester')
        fields = panel_values(app)
        check({'Jahr', 'Monat', 'Tag', 'Stunde', 'Minute'} <= set(fields), 'the fields are named in German', fields)
        check(fields['Monat'][1] == 'März', 'the month reads its German name', fields)
        grid = find(app, 'table')  # under the clock: the hour field has the focus
        check(grid.name == 'März 2004', 'the grid is named in German', grid.name)
        cell = grid.queryTable().getAccessibleAt(2, 0)
        check(cell.name == 'Montag, 15 März 2004, St. Patrick (Feiertag), heute', 'a cell reads in German', cell.name)

        print(tree_text(app))


if __name__ == '__main__':
    run(main)
