#!/usr/bin/python3
"""A user without a pointer: every task of the program done with real key
events (xdotool through the X server), following the focus as a screen
reader announces it.

Adds a reminder, lists it, alters it, deletes it, opens and closes the
events area of a new reminder and leaves it with Escape, changes the text
colour through the palette, closes the settings with Escape and with OK, and
ends the program. The results are read where they are kept: the data files
through quelvo-cli, the settings in their file. Exit 0 when everything
happened; 1 otherwise.

Usage: keyboard_run.py PROGRAM QUELVO_CLI SETTINGS_FILE
"""
import subprocess
import sys

import pyatspi

from atspi_support import (Failure, FocusWatch, application, has_state, labels, nodes, run, wait_for,
                           window_named, windows)

REMINDER = "24/12/2030\t20:00\tAnual\tConsulta no dentista"
ALTERED = "24/12/2030\t20:00\tAnual\tConsulta no dentista - retorno"


class User:
    def __init__(self, app, watch, cli):
        self.app, self.watch, self.cli = app, watch, cli

    def keys(self, *keys):
        subprocess.run(["xdotool", "key", "--delay", "40", *keys], check=True)

    def type(self, text):
        subprocess.run(["xdotool", "type", "--delay", "25", text], check=True)

    def focus_names(self):
        """What a screen reader says of the focused control: its name, and
        the labels that label it."""
        last = self.watch.last
        return [last.name, *labels(last)] if last is not None else []

    def focus_is(self, name):
        return name in self.focus_names()

    def expect_focus(self, name, timeout=15.0):
        wait_for(f"o foco em {name!r} (está em {self.focus_names()!r})", lambda: self.focus_is(name), timeout)

    def tab_to(self, name, most=12):
        """Presses Tab until the focus is on `name`."""
        for _ in range(most):
            if self.focus_is(name):
                return
            before = len(self.watch.events)
            self.keys("Tab")
            wait_for("o foco mudar com Tab", lambda: len(self.watch.events) > before)
        passed = [f"[{role}] {seen!r}" for role, seen, _ in self.watch.events[-most:]]
        self.expect_focus(f"{name} (Tab passou por {', '.join(passed)})", timeout=0)

    def fill(self, text):
        """Replaces the focused field's text."""
        self.keys("ctrl+a", "BackSpace")
        self.type(text)

    def answer_yes(self):
        """Answers Yes to a question box, whose default is No."""
        self.expect_focus("Não")
        self.tab_to("Sim")
        self.keys("Return")

    def listed(self):
        return subprocess.run([self.cli, "listar"], check=True, capture_output=True, text=True).stdout.splitlines()

    def expect_listed(self, lines):
        wait_for(f"os lembretes {lines!r} (são {self.listed()!r})", lambda: self.listed() == lines)

    def window_gone(self, name):
        wait_for(f"a janela {name!r} fechar", lambda: all(w.name != name for w in windows(self.app)))


def use_keyboard_only(program, cli, settings_file):
    watch = FocusWatch()
    # Listening as a screen reader does, so that the program reports every
    # change (it sends only what someone listens to).
    for events in ("window:", "object:"):
        pyatspi.Registry.registerEventListener(lambda event: None, events)
    app = application(program)
    user = User(app, watch, cli)
    main = window_named(app, "Quelvo 3.0 — Menu principal")
    # Started from a script, the window manager leaves the focus where it
    # was; the user brings the program forward as with any window (again,
    # when the window manager had not taken the window on yet).
    for attempt in range(5):
        user.keys("alt+Tab")
        try:
            wait_for("a janela principal ativa", lambda: has_state(main, pyatspi.STATE_ACTIVE), timeout=3)
            break
        except Failure:
            if attempt == 4:
                raise
    user.tab_to("Incluir um novo lembrete")

    # A new reminder: date, time and repetition, its text, then OK by Enter.
    user.keys("Return")
    window_named(app, "Novo lembrete")
    user.expect_focus("Texto do lembrete")
    user.keys("shift+Tab", "shift+Tab", "shift+Tab")
    user.expect_focus("Data")
    user.fill("24122030")
    user.keys("Tab")
    user.expect_focus("Hora")
    user.fill("2000")
    user.keys("Tab")
    user.expect_focus("Repetição")
    user.keys("End")
    user.expect_focus("Anual")
    user.keys("Tab")
    user.expect_focus("Texto do lembrete")
    user.type("Consulta no dentista")
    user.tab_to("OK")
    user.keys("Return")
    user.window_gone("Novo lembrete")
    user.expect_listed([REMINDER])

    # The list: the range's end moved to the reminder, listed, the row altered by Enter.
    user.expect_focus("Incluir um novo lembrete")
    user.tab_to("Ler / Alterar Lembretes")
    user.keys("Return")
    window_named(app, "Lista de lembretes")
    user.tab_to("e")
    user.fill("31122030")
    user.keys("Return")
    user.tab_to("Mostrar Lembretes")
    user.keys("Return")
    user.tab_to("24/12/2030, 20:00, Anual: Consulta no dentista")
    user.keys("Return")
    window_named(app, "Alterar lembrete")
    user.expect_focus("Texto do lembrete")
    user.keys("ctrl+a")
    user.type("Consulta no dentista - retorno")
    user.keys("ctrl+Return")
    user.window_gone("Alterar lembrete")
    user.expect_listed([ALTERED])

    # Delete on the row asks; Yes deletes and lists again.
    user.expect_focus("24/12/2030, 20:00, Anual: Consulta no dentista - retorno")
    user.keys("Delete")
    user.answer_yes()
    # "Nenhum lembrete encontrado" comes only when the list window is back in
    # front by the time it lists again, which is up to the window manager.
    wait_for("o foco na lista vazia ou na mensagem",
             lambda: user.focus_is("OK") or user.focus_is("Nenhum lembrete listado"))
    if user.focus_is("OK"):
        user.keys("Return")
    user.expect_listed([])
    user.expect_focus("Nenhum lembrete listado")
    user.keys("Escape")
    user.window_gone("Lista de lembretes")

    # A new reminder's events area closes and opens by Ctrl+I; Escape leaves
    # without adding anything.
    user.expect_focus("Ler / Alterar Lembretes")
    user.tab_to("Incluir um novo lembrete")
    user.keys("Return")
    fresh = window_named(app, "Novo lembrete")
    user.expect_focus("Texto do lembrete")
    corner = next(o for o in nodes(fresh) if o.name == "Mostrar informações do dia")
    wait_for("a área de informações aberta", lambda: has_state(corner, pyatspi.STATE_CHECKED))
    user.keys("ctrl+i")
    wait_for("a área de informações fechada", lambda: not has_state(corner, pyatspi.STATE_CHECKED))
    user.keys("ctrl+i")
    wait_for("a área de informações aberta de novo", lambda: has_state(corner, pyatspi.STATE_CHECKED))
    user.type("desisto")
    user.keys("Escape")
    user.window_gone("Novo lembrete")
    user.expect_listed([])

    # The settings: the text colour through the palette, by arrows and Enter.
    user.expect_focus("Incluir um novo lembrete")
    user.tab_to("Configurações")
    user.keys("Return")
    window_named(app, "Configurações")
    user.expect_focus("Cancelar")
    user.keys("Escape")  # leaves without saving
    user.window_gone("Configurações")
    user.expect_focus("Configurações")
    user.keys("Return")
    window_named(app, "Configurações")
    user.tab_to("Cor do texto: preto")
    user.keys("Return")
    user.expect_focus("preto")
    user.keys("Down", "Down", "Down")
    user.expect_focus("azul-marinho")
    user.keys("Left")
    user.expect_focus("azul")
    user.keys("Return")
    user.expect_focus("Cor do texto: azul")
    user.tab_to("OK")
    user.keys("Return")
    user.window_gone("Configurações")
    wait_for("a cor do texto azul gravada", lambda: '"FrontColor"=dword:00ff0000' in open(settings_file).read())

    # The end: "Encerrar o Programa", confirmed.
    user.expect_focus("Configurações")
    user.tab_to("Encerrar o Programa")
    user.keys("Return")
    user.answer_yes()
    return 0


def main():
    program, cli, settings_file = sys.argv[1:4]
    return run(lambda: use_keyboard_only(program, cli, settings_file))


if __name__ == "__main__":
    sys.exit(main())
