"""Reading the running program through AT-SPI, as a screen reader does.

Shared by the walk over every window (atspi_walk.py) and the keyboard-only
run (keyboard_run.py). Every wait polls the accessibility bus until its
condition holds or its time runs out; nothing sleeps a fixed time to let
the program catch up. One thread does everything: the program's events are
taken while waiting, in order with the answers to the questions asked, so
that what was read is never older than what was reported.
"""
import time

import pyatspi
from gi.repository import GLib

# Roles of things a user operates or reads.
CONTROL_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY,
    pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_LIST, pyatspi.ROLE_LIST_BOX, pyatspi.ROLE_LIST_ITEM,
    pyatspi.ROLE_TABLE, pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_TABLE_COLUMN_HEADER,
    pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_SLIDER, pyatspi.ROLE_SCROLL_BAR,
    pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_LABEL, pyatspi.ROLE_STATIC,
}


class Failure(Exception):
    """Something the user would have met did not happen."""


def take_events():
    """Delivers the events the program has sent so far to their listeners."""
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def wait_for(what, condition, timeout=15.0):
    """The first true value of condition(), polled; Failure after `timeout` seconds."""
    end = time.time() + timeout
    while True:
        take_events()
        try:
            value = condition()
        except Exception:  # an object that went away while it was read
            value = None
        if value:
            return value
        if time.time() > end:
            raise Failure(f"esperei em vão: {what}")
        time.sleep(0.1)


def application(name, timeout=30.0):
    def find():
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == name:
                return app
        return None
    return wait_for(f"o programa {name!r} no barramento de acessibilidade", find, timeout)


def children(obj, limit=400):
    try:
        count = min(obj.childCount, limit)
    except Exception:
        return []
    found = []
    for i in range(count):
        try:
            child = obj.getChildAtIndex(i)
        except Exception:
            child = None
        if child is not None:
            found.append(child)
    return found


def nodes(obj, limit=400):
    """The object and its descendants, depth first (each cut at `limit` children)."""
    yield obj
    for child in children(obj, limit):
        yield from nodes(child, limit)


def has_state(obj, state):
    try:
        return obj.getState().contains(state)
    except Exception:
        return False


def showing(obj):
    return has_state(obj, pyatspi.STATE_SHOWING)


def shown_with_ancestors(obj, depth=12):
    """True when `obj` and the objects above it show: an item of a closed
    drop-down list may call itself showing while its list does not."""
    while obj is not None and depth > 0:
        if not showing(obj) and obj.getRole() != pyatspi.ROLE_APPLICATION:
            return False
        obj = obj.parent
        depth -= 1
    return True


def role_name(obj):
    try:
        return obj.getRoleName()
    except Exception:
        return "?"


def actions(obj):
    try:
        action = obj.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def labels(obj):
    """The names of the labels that label `obj` (a combo box's name is its
    value; its label comes through this relation)."""
    names = []
    try:
        relations = obj.getRelationSet()
    except Exception:
        return names
    for relation in relations:
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            names += [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return names


def is_control(obj):
    try:
        role = obj.getRole()
    except Exception:
        return False
    return role in CONTROL_ROLES or has_state(obj, pyatspi.STATE_FOCUSABLE) or bool(actions(obj))


def windows(app):
    """The application's showing top-level windows."""
    return [w for w in children(app) if showing(w)]


def window_named(app, name, timeout=15.0):
    return wait_for(f"a janela {name!r}",
                    lambda: next((w for w in windows(app) if w.name == name), None), timeout)


def active_window(app):
    return next((w for w in windows(app) if has_state(w, pyatspi.STATE_ACTIVE)), None)


def control(root, name, timeout=15.0):
    """The showing control called `name` below `root`."""
    return wait_for(f"o controle {name!r}",
                    lambda: next((o for o in nodes(root) if o.name == name and showing(o)), None), timeout)


def press(root, name, timeout=15.0):
    """Runs the first action of the showing control called `name`: what a
    screen reader's user does to activate it."""
    control(root, name, timeout).queryAction().doAction(0)


def focused(app):
    """The focused object of the active window, or None."""
    window = active_window(app)
    if window is None:
        return None
    return next((o for o in nodes(window) if has_state(o, pyatspi.STATE_FOCUSED)
                 and o is not window and role_name(o) != "filler"), None)


class FocusWatch:
    """Records every focus change the program reports, with whether the
    object that took the focus was showing (and everything above it) at
    that moment."""

    def __init__(self):
        self.events = []
        self.last = None  # the object that took the focus last
        pyatspi.Registry.registerEventListener(self._on_focus, "object:state-changed:focused")
        # As a screen reader does: the names it has read are kept up to date
        # by the program's name-change events, which it sends only to listeners.
        pyatspi.Registry.registerEventListener(lambda event: None, "object:property-change:accessible-name")

    def _on_focus(self, event):
        if not event.detail1:
            return
        source = event.source
        entry = (role_name(source), source.name if source is not None else "", shown_with_ancestors(source))
        self.events.append(entry)
        self.last = source

    def hidden(self):
        take_events()
        return [e for e in self.events if not e[2]]


def ancestor_named(obj, name):
    """`obj` or the nearest of its ancestors called `name`, or None. A popup
    window (a drop-down palette) is no child of the application: a screen
    reader meets it through the focus, and goes up from there."""
    while obj is not None:
        if obj.name == name:
            return obj
        obj = obj.parent
    return None


def run(work):
    """Runs work() and returns its exit code; a Failure is reported and fails."""
    try:
        return work()
    except Failure as failure:
        print(f"FALHOU: {failure}")
        return 1
