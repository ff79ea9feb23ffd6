#!/usr/bin/python3
"""The window read from outside the process over the AT-SPI bus, as a screen reader reads it.

Starts the test backend and the application on a fresh device store, then, with pyatspi and
keys and clicks sent through the accessibility registry: the welcome screen's buttons are named
and the first has the focus, and its texts read; the sign-in sheet reads as a named modal dialog
with the focus in its first field, the welcome screen under it out of reach; the fields' errors and a refused sign-in are announced as alerts that have their text
as they show, and the refusal leaves the focus in the password field; the password reads as
password text of bullets alone (its text once revealed by Space on the button that Tab reaches
after the field); after a sign-in the tour's first step has the focus on its main button, and skipping it lands the focus in the projects list, whose rows
read in the order they are drawn; the analytics detail pane reads its heading and the project's
name; in the editor the lines read in drawn order, a menu reads named after what opened it with
the focus on its first entry, and a line deleted by the Delete key or by its menu leaves the
tree. On every screen every interactive or focusable object is named, no label or scroll bar is
focusable, and exactly one object reads as focused. Then, started again into the stored session,
the app is ended by SIGTERM while it draws the proposal of a project of thousands of lines: it
exits with status 0 and leaves no render behind.

Run in a D-Bus session of its own with a keyring and an X server of its own, as the ctest entry
does (scripts/with-keyring xvfb-run ...), since it types through the X server:
    tst_ReadOverBus.py <tessmark> <tessmark-test-backend>
"""
import glob
import json
import os
import signal
import socket
import subprocess
import sys
import tempfile
import time
import urllib.request

from gi.repository import Gio

# The registry sends the keys through the X server: it has to know the display, and the
# accessibility bus starts it with the first client, so that bus learns the display first (the
# session's own bus starts nothing: scripts/with-keyring).
a11y_bus = Gio.bus_get_sync(Gio.BusType.SESSION).call_sync(
    'org.a11y.Bus', '/org/a11y/bus', 'org.a11y.Bus', 'GetAddress', None, None, Gio.DBusCallFlags.NONE, 10000,
    None).unpack()[0]
subprocess.run(['dbus-update-activation-environment', 'DISPLAY', 'XAUTHORITY'], check=True,
               env=dict(os.environ, DBUS_SESSION_BUS_ADDRESS=a11y_bus))

import pyatspi  # noqa: E402 (after the accessibility bus knows the display)
from gi.repository import Atspi, GLib  # noqa: E402

TIMEOUT = 15
EMAIL = 'demo@tessmark.test'
PASSWORD = 'demo12345'
INTERACTIVE = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_COMBO_BOX,
    pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_LINK, pyatspi.ROLE_SLIDER,
    pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_TEXT, pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_ENTRY,
    pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_TREE_ITEM, pyatspi.ROLE_TABLE_ROW, pyatspi.ROLE_TOGGLE_BUTTON,
}
KEY_TAB, KEY_RETURN, KEY_BACKSPACE, KEY_ESCAPE, KEY_DELETE, KEY_MENU = 0xff09, 0xff0d, 0xff08, 0xff1b, 0xffff, 0xff67
BULLET = '\u2022'

failures = []
events = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print('FAIL:', message, flush=True)
    return condition


def pump(seconds=0.05):
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while True:
        while context.pending():
            context.iteration(False)
        if time.monotonic() >= end:
            return
        time.sleep(0.02)


def wait_until(condition, timeout):
    """The condition's value once it holds; None when it never does."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        pump()
        try:
            value = condition()
        except Exception:  # objects come and go while the window changes
            value = None
        if value:
            return value
    return None


def wait_for(condition, what, timeout=TIMEOUT):
    """The condition's value once it holds; None (and a failure) when it never does."""
    value = wait_until(condition, timeout)
    check(value is not None, 'never came: ' + what)
    return value


def showing(node):
    try:
        return node.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def walk(node, depth=0):
    """The objects shown under the node, the node first."""
    if depth > 0 and not showing(node):
        return
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)


def describe(node):
    return '%s "%s"' % (node.getRoleName(), node.name)


def find(app, role, name=None):
    for node in walk(app):
        if node.getRole() == role and (name is None or node.name == name):
            return node
    return None


def anywhere(node, role, name):
    """Whether the tree holds such an object at all, shown or not."""
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None and ((child.getRole() == role and child.name == name) or anywhere(child, role, name)):
            return True
    return False


def extents(node):
    return node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)


def click(node, button='b1c'):
    """A click in the middle of the object, once it stands still (a list may still be moving
    after the wheel)."""
    box, still = extents(node), 0
    for _ in range(40):
        pump(0.1)
        now = extents(node)
        still = still + 1 if (now.x, now.y) == (box.x, box.y) else 0
        box = now
        if still == 3:
            break
    pyatspi.Registry.generateMouseEvent(box.x + box.width // 2, box.y + box.height // 2, button)


def click_when_shown(reader, role, name, timeout=TIMEOUT):
    """The object, clicked once it shows; None (and a failure) when it never does."""
    node = wait_for(lambda: find(reader, role, name), '"%s"' % name, timeout)
    if node is not None:
        click(node)
    return node


def in_window(reader, node):
    """Whether the object stands whole inside the window, where a click reaches it."""
    if node is None:
        return False
    box, window = extents(node), extents(reader.getChildAtIndex(0))
    return window.y <= box.y and box.y + box.height <= window.y + window.height


def drawn_order(nodes):
    """The objects' tops, in the order a reader meets them."""
    return [extents(node).y for node in nodes]


def shown_children(node, roles, below=-1):
    """The node's children of those roles that show, from the given height down, in reading order."""
    found = []
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None and child.getRole() in roles and showing(child) and extents(child).y >= below:
            found.append(child)
    return found


def focused(app):
    return [node for node in walk(app) if node.getState().contains(pyatspi.STATE_FOCUSED)]


def the_focused(app):
    """The one object read as focused, when there is exactly one."""
    found = focused(app)
    return found[0] if len(found) == 1 else None


def check_screen(app, screen, focus=True):
    """Every interactive or focusable object shown is named, and only controls are focusable;
    exactly one object reads as focused (at most one where nothing asked for the focus)."""
    for node in walk(app):
        focusable = node.getState().contains(pyatspi.STATE_FOCUSABLE)
        if (node.getRole() in INTERACTIVE or focusable) and not node.name.strip():
            check(False, '%s: an unnamed %s' % (screen, node.getRoleName()))
        if focusable and node.getRole() in (pyatspi.ROLE_LABEL, pyatspi.ROLE_HEADING, pyatspi.ROLE_SCROLL_BAR):
            check(False, '%s: a focusable %s' % (screen, describe(node)))
    found = focused(app)
    check(len(found) == 1 or (not focus and not found), '%s: read as focused: %s' % (screen, [describe(n) for n in found]))


def press(key):
    pyatspi.Registry.generateKeyboardEvent(key, None, pyatspi.KEY_SYM)


def type_text(text):
    pyatspi.Registry.generateKeyboardEvent(0, text, pyatspi.KEY_STRING)


def on_event(event):
    try:
        events.append((event.type, event.source.getRole(), event.source.name, event.detail1, event.source))
    except Exception:
        pass


def announced_with_text(text):
    """An alert with the text showed, and it had the text from then on: no renaming followed."""
    for at, (kind, role, name, detail, source) in enumerate(events):
        if kind == 'object:state-changed:showing' and role == pyatspi.ROLE_ALERT and name == text and detail == 1:
            return not any(later[0] == 'object:property-change:accessible-name' and later[4] == source
                           for later in events[at + 1:])
    return False


def masked(field, typed):
    """The field reads as password text of bullets (or nothing), its typed text nowhere."""
    shown = field.queryText().getText(0, -1)
    return (field.getRole() == pyatspi.ROLE_PASSWORD_TEXT and shown in ('', BULLET * len(typed))
            and typed not in field.name and typed not in field.description)


def read_analytics(reader):
    """A row chosen in the analytics table: the detail pane reads its heading, then the project's
    name; the row's menu reads named after the project, with the focus on its first entry."""
    click(find(reader, pyatspi.ROLE_PAGE_TAB, 'Аналитика'))
    scope = wait_for(lambda: find(reader, pyatspi.ROLE_RADIO_BUTTON, 'Все сметы'), 'the analytics dashboard')
    if scope is None:
        return
    # The table's rows stand below the figures and charts: the wheel brings them in.
    name = 'Лендинг конференции'
    for _ in range(40):
        if in_window(reader, find(reader, pyatspi.ROLE_LIST_ITEM, name)):
            break
        pyatspi.Registry.generateMouseEvent(extents(scope).x + 20, 400, 'b5c')
        pump(0.1)
    row = wait_for(lambda: find(reader, pyatspi.ROLE_LIST_ITEM, name), 'the analytics row "%s"' % name)
    if row is None:
        return
    # A click that lands while the table still glides after the wheel only stops it: once more.
    for _ in range(3):
        click(row)
        if wait_until(lambda: find(reader, pyatspi.ROLE_LABEL, name), 5):
            break
    heading = wait_for(lambda: find(reader, pyatspi.ROLE_HEADING, 'Детали'), 'the detail pane\'s heading')
    title = wait_for(lambda: find(reader, pyatspi.ROLE_LABEL, name), 'the project\'s name in the detail pane')
    if heading is None or title is None:
        reading = list(walk(reader))
        at = reading.index(heading) if heading in reading else 0
        print('read after the heading:', [describe(node) for node in reading[at:at + 3]], flush=True)
        return
    reading = list(walk(reader))
    check(reading.index(heading) < reading.index(title), 'the project\'s name reads before the pane\'s heading')
    check_screen(reader, 'analytics', focus=False)
    click(row, 'b3c')
    read_menu(reader, name, 'Платежи')
    press(KEY_ESCAPE)
    wait_for(lambda: find(reader, pyatspi.ROLE_POPUP_MENU) is None, 'the analytics row\'s menu closed')


def read_menu(reader, name, entry):
    """An open menu reads named as given, with the focus on the entry."""
    menu = wait_for(lambda: find(reader, pyatspi.ROLE_POPUP_MENU), 'the menu of "%s"' % name)
    if menu is None:
        return
    check(menu.name == name, 'the menu of "%s" reads as "%s"' % (name, menu.name))
    wait_for(lambda: (lambda f: f is not None and f.getRole() == pyatspi.ROLE_MENU_ITEM and f.name == entry)(
        the_focused(reader)), 'the focus on the menu\'s "%s"' % entry)


def read_editor(reader):
    """A project's lines, scrolled to: read top to bottom with their sections; a line's menu by
    keys; a line deleted by the Delete key, and one by its menu, leaves the tree at once."""
    click(find(reader, pyatspi.ROLE_PAGE_TAB, 'Проекты'))
    if click_when_shown(reader, pyatspi.ROLE_TABLE_CELL, 'Лендинг конференции') is None:
        return
    save = wait_for(lambda: find(reader, pyatspi.ROLE_PUSH_BUTTON, 'Сохранить'), 'the editor')
    if save is None:
        return
    titles = ('Макет', 'Вёрстка')
    for _ in range(40):
        if all(in_window(reader, find(reader, pyatspi.ROLE_LIST_ITEM, title)) for title in titles):
            break
        pyatspi.Registry.generateMouseEvent(600, 400, 'b5c')
        pump(0.1)
    lines = [find(reader, pyatspi.ROLE_LIST_ITEM, title) for title in titles]
    if not check(all(lines), 'the lines never showed'):
        return
    # The lines and their sections' titles in the list's view, below the bar.
    top = extents(save).y + extents(save).height
    read = shown_children(lines[0].parent, {pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_LABEL}, top)
    check(len(read) >= 4 and drawn_order(read) == sorted(drawn_order(read)),
          'the editor reads out of drawn order: %s' % [(node.name, extents(node).y) for node in read])

    # Tab to the first line; its menu by the Menu key, closed by Escape.
    for _ in range(40):
        if (lambda f: f is not None and f.getRole() == pyatspi.ROLE_LIST_ITEM)(the_focused(reader)):
            break
        press(KEY_TAB)
        pump(0.05)
    line = the_focused(reader)
    if not check(line is not None and line.name in titles, 'Tab never reached a line'):
        return
    first = line.name
    check_screen(reader, 'editor')
    press(KEY_MENU)
    read_menu(reader, first, 'Удалить')
    press(KEY_ESCAPE)
    wait_for(lambda: (the_focused(reader) or reader).name == first, 'the focus back on the line')

    # Deleted by a right-click and its menu's "Удалить", then the other one by the Delete key.
    click(line, 'b3c')
    read_menu(reader, first, 'Удалить')
    click(find(reader, pyatspi.ROLE_MENU_ITEM, 'Удалить'))
    wait_for(lambda: not anywhere(reader, pyatspi.ROLE_LIST_ITEM, first), 'the line deleted by its menu leaving the tree')
    other = [title for title in titles if title != first][0]
    wait_for(lambda: (the_focused(reader) or reader).name == other, 'the focus on the line left')
    press(KEY_DELETE)
    wait_for(lambda: not anywhere(reader, pyatspi.ROLE_LIST_ITEM, other), 'the line deleted by a key leaving the tree')
    wait_for(lambda: (the_focused(reader) or reader).name == 'Добавить строку', 'the focus on "Добавить строку"')
    check_screen(reader, 'editor emptied')


def add_project(base_url, name, lines):
    """A project of the demo account with that many lines, each with a long description, made
    through the backend's API."""
    def call(path, body, token=None):
        headers = {'Content-Type': 'application/json'}
        if token:
            headers['Authorization'] = 'Bearer ' + token
        request = urllib.request.Request(base_url + '/' + path, json.dumps(body).encode(), headers)
        with urllib.request.urlopen(request, timeout=30) as answer:
            return json.load(answer)
    token = call('auth/login', {'email': EMAIL, 'password': PASSWORD})['access_token']
    description = ' '.join(['Проектирование, разработка и проверка модуля по согласованному заданию.'] * 24)
    items = [{'title': 'Работа %d' % i, 'description': description, 'category': 'backend', 'hours': 8,
              'rate': 2500, 'isLocked': False} for i in range(1, lines + 1)]
    call('projects', {'name': name, 'items': items}, token)


def end_during_export(reader, app_process, temp):
    """The large project's proposal is being drawn when SIGTERM comes: the app exits with status 0
    and its render's folder is gone."""
    # The project's row, the editor's "Действия" once it has loaded the lines, its "PDF / Share".
    for role, name in ((pyatspi.ROLE_TABLE_CELL, 'Большое КП'), (pyatspi.ROLE_PUSH_BUTTON, 'Действия'),
                       (pyatspi.ROLE_MENU_ITEM, 'PDF / Share')):
        if click_when_shown(reader, role, name, 60) is None:
            return
    progress = wait_for(lambda: find(reader, pyatspi.ROLE_LABEL, 'Формируем PDF…'), 'the export sheet\'s progress')
    if progress is None:
        return
    pump(0.3)
    drawing = showing(progress)
    app_process.send_signal(signal.SIGTERM)
    try:
        status = app_process.wait(60)
    except subprocess.TimeoutExpired:
        status = None
    check(drawing, 'the proposal was drawn before the end signal came')
    check(status == 0, 'ended while the proposal was drawn, the app exited with status %s' % status)
    left = glob.glob(os.path.join(temp, 'tessmark-*', 'render-*'))
    check(not left, 'renders left behind: %s' % left)


def free_port():
    with socket.socket() as probe:
        probe.bind(('127.0.0.1', 0))
        return probe.getsockname()[1]


def main(app_binary, backend_binary):
    started = time.monotonic()
    workdir = tempfile.TemporaryDirectory(prefix='tessmark-bus-')
    port = free_port()
    backend = subprocess.Popen([backend_binary, str(port)], stdout=subprocess.PIPE, text=True)
    app = None
    try:
        if not check(backend.stdout.readline().startswith('Serving'), 'the test backend did not start'):
            return
        info = os.path.join(workdir.name, 'Info.json')
        with open(info, 'w') as out:
            json.dump({'API_BASE_URL': 'http://127.0.0.1:%d/api' % port, 'version': '1', 'build': '1'}, out)
        temp = os.path.join(workdir.name, 'tmp')
        os.mkdir(temp)
        environment = dict(os.environ,
                           XDG_CONFIG_HOME=os.path.join(workdir.name, 'config'),
                           XDG_DATA_HOME=os.path.join(workdir.name, 'data'),
                           XDG_CACHE_HOME=os.path.join(workdir.name, 'cache'), TMPDIR=temp,
                           QT_QPA_PLATFORM='xcb', QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1',
                           TESSMARK_TEST_INFO_JSON=info, LC_ALL='C.UTF-8')
        pyatspi.Registry.registerEventListener(on_event, 'object:state-changed:showing',
                                               'object:property-change:accessible-name')
        def start():
            """The app started and read from the registry; None when it never shows there."""
            app_process = subprocess.Popen([app_binary], env=environment)

            def application():
                desktop = pyatspi.Registry.getDesktop(0)
                for i in range(desktop.childCount):
                    candidate = desktop.getChildAtIndex(i)
                    if candidate is not None and candidate.get_process_id() == app_process.pid:
                        return candidate if candidate.childCount > 0 else None
                return None

            found = wait_for(application, 'the application on the registry', 30)
            # Each question goes to the application: nothing read is kept from before.
            if found is not None:
                found.set_cache_mask(Atspi.Cache.NONE)
            return app_process, found

        app, reader = start()
        if reader is None:
            return

        # The welcome screen: its two ways on, the first with the focus, and its text.
        guest = wait_for(lambda: find(reader, pyatspi.ROLE_PUSH_BUTTON, 'Продолжить как гость'),
                         'the welcome screen')
        if guest is None:
            return
        check(find(reader, pyatspi.ROLE_PUSH_BUTTON, 'Войти или зарегистрироваться') is not None,
              'the welcome screen: no button "Войти или зарегистрироваться"')
        check(any(node.getRole() == pyatspi.ROLE_LABEL and node.name.startswith('Продолжайте без аккаунта')
                  for node in walk(reader)), 'the welcome screen: its text is not read')
        # A text drawn with no word for a reader in QML reads all the same.
        check(find(reader, pyatspi.ROLE_LABEL, 'Сметы на устройстве или в облаке') is not None,
              'the welcome screen: its heading is not read')
        wait_for(lambda: the_focused(reader) == guest, 'the focus on "Продолжить как гость"')
        check_screen(reader, 'welcome')

        # The sign-in sheet, opened from the keyboard: a dialog with the focus in the email field.
        # The pointer rests on the window, whose keys X sends it then.
        pyatspi.Registry.generateMouseEvent(20, 20, pyatspi.MOUSE_ABS)
        press(KEY_TAB)
        wait_for(lambda: (the_focused(reader) or guest).name == 'Войти или зарегистрироваться',
                 'Tab to "Войти или зарегистрироваться"')
        type_text(' ')
        dialog = wait_for(lambda: find(reader, pyatspi.ROLE_DIALOG), 'the sign-in sheet as a dialog')
        email = wait_for(lambda: (lambda f: f if f is not None and f.name == 'Email' else None)(the_focused(reader)),
                         'the focus in the email field')
        if dialog is None or email is None:
            return
        check(dialog.name != '', 'the sign-in sheet reads as an unnamed dialog')
        check(dialog.getState().contains(pyatspi.STATE_MODAL), 'the sign-in sheet does not read as modal')
        # The welcome screen under the sheet is out of reach, as it is for the pointer.
        check(find(reader, pyatspi.ROLE_PUSH_BUTTON, 'Продолжить как гость') is None,
              'the welcome screen reads as shown under the sign-in sheet')
        check_screen(reader, 'sign-in sheet')

        # Return on the empty form (it goes on from the email to the password, then sends): each
        # field's error is an alert that has its text as it shows; the email takes the keyboard.
        del events[:]
        press(KEY_RETURN)
        wait_for(lambda: the_focused(reader).getRole() == pyatspi.ROLE_PASSWORD_TEXT, 'Return to the password')
        press(KEY_RETURN)
        for error in ('Укажите email', 'Введите пароль'):
            wait_for(lambda: announced_with_text(error), 'the field error "%s" announced with its text' % error)
        wait_for(lambda: the_focused(reader) == email, 'the focus back in the email field')

        # A refused sign-in: the alert appears with its text and is announced as it shows; the
        # focus goes back to the password field, where Return was pressed.
        type_text(EMAIL)
        press(KEY_TAB)
        password = wait_for(lambda: (lambda f: f if f.getRole() == pyatspi.ROLE_PASSWORD_TEXT else None)(
            the_focused(reader)), 'Tab to the password')
        if password is None:
            return
        wrong = 'wrong-password-1'
        type_text(wrong)
        # Typed, the password reads as bullets; revealed, as its text; hidden again, as bullets.
        wait_for(lambda: password.queryText().characterCount == len(wrong), 'the password typed')
        check(masked(password, wrong), 'the password reads as %s "%s"' % (
            password.getRoleName(), password.queryText().getText(0, -1)))
        # The reveal button by keys: Tab right after the field, then Space.
        press(KEY_TAB)
        wait_for(lambda: (the_focused(reader) or password).name == 'Показать пароль', 'Tab to "Показать пароль"')
        check(masked(password, wrong), 'the password reads as its text with the focus on the reveal button')
        type_text(' ')
        wait_for(lambda: password.queryText().getText(0, -1) == wrong and password.getRole() == pyatspi.ROLE_TEXT,
                 'the revealed password read as its text')
        wait_for(lambda: (the_focused(reader) or password).name == 'Скрыть пароль', 'the focus on "Скрыть пароль"')
        type_text(' ')
        wait_for(lambda: masked(password, wrong), 'the password hidden again read as bullets')
        click(password)
        wait_for(lambda: the_focused(reader) == password, 'the focus back in the password field')
        del events[:]
        press(KEY_RETURN)
        refusal = 'Неверный email или пароль'
        alert = wait_for(lambda: find(reader, pyatspi.ROLE_ALERT, refusal), 'the alert "%s"' % refusal)
        wait_for(lambda: announced_with_text(refusal), 'the alert announced with its text as it shows')
        if alert is None:
            return
        wait_for(lambda: the_focused(reader).getRole() == pyatspi.ROLE_PASSWORD_TEXT,
                 'the focus back in the password field')
        check_screen(reader, 'refused sign-in')

        # Signed in: the tour's first step has the focus on its main button; skipped from the
        # keyboard, the focus goes to the projects list.
        for _ in wrong:
            press(KEY_BACKSPACE)
        type_text(PASSWORD)
        press(KEY_RETURN)
        if wait_for(lambda: (lambda f: f is not None and f.name == 'Далее')(the_focused(reader)),
                    'the focus on the tour\'s "Далее"') is None:
            return
        check_screen(reader, 'tour')
        for _ in range(20):
            if (lambda f: f is not None and f.name == 'Пропустить')(the_focused(reader)):
                break
            press(KEY_TAB)
            pump(0.1)
        check((the_focused(reader) or reader).name == 'Пропустить', 'Tab never reached "Пропустить"')
        type_text(' ')
        projects = wait_for(lambda: find(reader, pyatspi.ROLE_TREE, 'Проекты') or find(reader, pyatspi.ROLE_LIST, 'Проекты'),
                            'the projects list')
        if projects is None:
            return

        def in_projects():
            node = the_focused(reader)
            while node is not None and node != projects:
                node = node.parent
            return node

        wait_for(in_projects, 'the focus in the projects list')
        check_screen(reader, 'projects')
        rows = shown_children(projects, {pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_TREE_ITEM, pyatspi.ROLE_LIST_ITEM})
        check(len(rows) >= 4 and drawn_order(rows) == sorted(drawn_order(rows)),
              'the projects read out of drawn order: %s' % [(row.name, extents(row).y) for row in rows])

        read_analytics(reader)
        read_editor(reader)

        # The window still holds the lines deleted above: an end signal would ask about them.
        app.kill()
        app.wait(10)
        add_project('http://127.0.0.1:%d/api' % port, 'Большое КП', 2000)
        app, reader = start()
        if reader is not None:
            end_during_export(reader, app, temp)
    finally:
        if app is not None and app.poll() is None:
            app.kill()
            app.wait(10)
        backend.terminate()
        backend.wait(10)
        print('read over the bus in %.1f s' % (time.monotonic() - started), flush=True)


if __name__ == '__main__':
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
    if failures:
        sys.exit('%d failures' % len(failures))
