#!/usr/bin/python3
"""Walks every window of the running program through AT-SPI.

Opens the windows a user meets through the controls' own accessible actions
(a new reminder, the list with its rows, the settings, the colour palette),
waits for the due alert, and lists every control a user operates or reads
that has no accessible name. Exit 0 when there is none, every window is named
for what it is, the alert window announces its reminder with an alert or
dialog role, and no hidden control took the focus on the way; 1 otherwise.

Usage: atspi_walk.py PROGRAM ALERT_NAME
"""
import sys

import pyatspi

from atspi_support import (Failure, FocusWatch, ancestor_named, application, is_control, nodes, press, role_name,
                           run, showing, wait_for, window_named, windows)


def count(window):
    """Controls of a window and the unnamed ones among them."""
    controls, unnamed = 0, []
    for obj in nodes(window):
        if obj is window or not showing(obj) or not is_control(obj):
            continue
        controls += 1
        if not (obj.name or "").strip():
            parent = obj.parent
            where = f"{parent.name!r} (filho {obj.getIndexInParent()})" if parent is not None else "?"
            unnamed.append(f"[{role_name(obj)}] dentro de {where}")
    return controls, unnamed


def report(window, totals):
    controls, unnamed = count(window)
    totals[0] += controls
    totals[1] += len(unnamed)
    print(f"janela [{role_name(window)}] {window.name!r}: {controls} controles, {len(unnamed)} sem nome")
    for line in unnamed:
        print("  sem nome:", line)


def walk(program, alert_name):
    watch = FocusWatch()
    app = application(program)
    ok = True
    main = window_named(app, "Quelvo 3.0 — Menu principal")
    press(main, "Incluir um novo lembrete")
    window_named(app, "Novo lembrete")
    press(main, "Ler / Alterar Lembretes")
    listing = window_named(app, "Lista de lembretes")
    press(listing, "Mostrar Lembretes")
    # A listed row reads its date, time, repetition and text in its first cell.
    wait_for("uma linha listada", lambda: next(
        (o for o in nodes(listing) if o.getRole() == pyatspi.ROLE_TABLE_CELL and "Regar as plantas" in o.name),
        None))
    press(main, "Configurações")
    window_named(app, "Configurações")
    # The due check runs about ten seconds after the start.
    alert = window_named(app, alert_name, timeout=30)
    if alert.getRole() not in (pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG):
        print(f"FALHOU: o alerta tem o papel {role_name(alert)!r}")
        ok = False

    totals = [0, 0]
    for window in windows(app):
        report(window, totals)
    # The palette last: it closes when another window takes the focus.
    settings = window_named(app, "Configurações")
    # The alert, new, may take the focus from the settings a moment late and
    # so close a palette opened meanwhile: then it is opened again.
    palette = None
    for attempt in range(3):
        press(settings, "Cor do texto: preto")
        try:
            palette = wait_for("a paleta de cores com o foco",
                               lambda: ancestor_named(watch.last, "Paleta de cores"), timeout=5 if attempt < 2 else 15)
            break
        except Failure:
            if attempt == 2:
                raise
    swatches = [o for o in nodes(palette) if o.getRole() == pyatspi.ROLE_PUSH_BUTTON]
    if len(swatches) != 21:  # twenty swatches and "Outra..."
        print(f"FALHOU: a paleta mostra {len(swatches)} botões em vez de 21")
        ok = False
    report(palette, totals)
    print(f"total: {totals[0]} controles, {totals[1]} sem nome")

    hidden = watch.hidden()
    for role, name, _ in hidden:
        print(f"FALHOU: um controle oculto tomou o foco: [{role}] {name!r}")
    return 0 if ok and totals[1] == 0 and not hidden else 1


def main():
    program, alert_name = sys.argv[1], sys.argv[2]
    return run(lambda: walk(program, alert_name))


if __name__ == "__main__":
    sys.exit(main())
