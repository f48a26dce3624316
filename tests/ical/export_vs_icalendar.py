#!/usr/bin/python3
"""quelvo-cli's calendar export judged by libraries nobody here wrote.

python3-icalendar parses the file; every reminder must come back with its
date, time, first line and whole text, a display alarm at its minute, and a
well-formed file (CR LF, lines of at most 75 octets, no fold inside a UTF-8
character). python3-recurring-ical-events expands each series, which must
give the dates of stepping the reminder one period at a time with
`quelvo-cli confirmar`, except where the two are known to part: a monthly
reminder on the 29th-31st (and a yearly one on 29 February) keeps the
shorter day after a short month in Quelvo, while the exported rule goes
back to the reminder's own day. That divergence is checked too, exactly.

Arguments: the path of quelvo-cli.
"""
import calendar
import datetime
import os
import subprocess
import sys
import tempfile

import icalendar
import recurring_ical_events

CLI = sys.argv[1]
PERIODS = 24
failures = []


def fail(message):
    failures.append(message)
    print("FALHOU:", message)


def run(folder, *args, stdin=None):
    env = dict(os.environ, LC_ALL="pt_BR.UTF-8", TZ="America/Sao_Paulo",
               XDG_RUNTIME_DIR=folder, XDG_CONFIG_HOME=folder)
    done = subprocess.run([CLI, "--pasta", folder, *args], env=env, input=stdin,
                          capture_output=True)
    if done.returncode != 0:
        raise SystemExit(f"quelvo-cli {' '.join(args)}: {done.returncode} {done.stderr.decode()}")
    return done.stdout, done.stderr


def new_folder():
    folder = tempfile.mkdtemp(prefix="quelvo-ical-")
    os.mkdir(os.path.join(folder, "dados"))
    return folder


def listed(folder):
    """The reminders as (datetime, kind, text) from `listar`."""
    out, _ = run(folder, "listar")
    rows = []
    for line in out.decode().splitlines():
        date, time, kind, text = line.split("\t", 3)
        text = text.replace("\\n", "\n").replace("\\r", "\r").replace("\\t", "\t").replace("\\\\", "\\")
        rows.append((datetime.datetime.strptime(date + " " + time, "%d/%m/%Y %H:%M"), kind, text))
    return rows


# (date, time, kind, text): every kind, the month-end days, 29 February,
# and texts that need escaping, folding and the Windows-1252 characters.
REMINDERS = [
    ("15/03/2030", "09:30", "Nenhuma", "Consulta, sala 3; levar exames\nSegunda linha \\ barra"),
    ("10/01/2030", "07:05", "Diária", "Remédio"),
    ("30/12/2029", "18:00", "Semanal", "Reunião semanal " + "com uma pauta longa, " * 8 + "ação"),
    ("15/01/2030", "08:00", "Mensal", "Aluguel € 1.200"),
    ("31/01/2030", "10:00", "Mensal", "Fechamento do mês"),
    ("30/01/2030", "10:00", "Mensal", "Dia 30"),
    ("29/01/2030", "10:00", "Mensal", "Dia 29"),
    ("28/02/2030", "12:00", "Anual", "Aniversário da Ana"),
    ("29/02/2032", "12:00", "Anual", "Aniversário do Léo (bissexto)"),
]

KIND_MONTHS = {"Diária": None, "Semanal": None, "Mensal": 1, "Anual": 12}


def check_file_form(data):
    if not data.endswith(b"\r\n") or b"\n" in data.replace(b"\r\n", b""):
        fail("linhas sem CR LF")
    for number, line in enumerate(data.split(b"\r\n")[:-1], 1):
        if len(line) > 75:
            fail(f"linha {number} com {len(line)} octetos")
        try:
            line.decode("utf-8")
        except UnicodeDecodeError:
            fail(f"linha {number} dobrada dentro de um caractere UTF-8: {line!r}")
    for required in (b"VERSION:2.0\r\n", b"PRODID:-//Orvane//Quelvo 3.0//PT-BR\r\n"):
        if required not in data:
            fail(f"falta {required!r}")


def check_events(cal, rows):
    events = cal.walk("VEVENT")
    if len(events) != len(rows):
        fail(f"{len(events)} eventos para {len(rows)} lembretes")
    by_start = {}
    for event in events:
        by_start.setdefault(event.decoded("DTSTART"), []).append(event)
    uids = [str(e["UID"]) for e in events]
    if len(set(uids)) != len(uids) or not all(u.endswith("@quelvo") for u in uids):
        fail(f"UIDs: {uids}")
    for when, kind, text in rows:
        candidates = by_start.get(when, [])
        match = [e for e in candidates if str(e["DESCRIPTION"]) == text.replace("\r\n", "\n")]
        if len(match) != 1:
            fail(f"{when} {text!r}: nenhum evento com esse início e essa descrição "
                 f"({[str(e.get('DESCRIPTION')) for e in candidates]})")
            continue
        event = match[0]
        if event.decoded("DTSTART").tzinfo is not None:
            fail(f"{when}: DTSTART não é hora flutuante")
        if str(event["SUMMARY"]) != text.split("\r\n")[0]:
            fail(f"{when}: SUMMARY {str(event['SUMMARY'])!r}")
        if "DTSTAMP" not in event:
            fail(f"{when}: sem DTSTAMP")
        alarms = event.walk("VALARM")
        if len(alarms) != 1 or str(alarms[0]["ACTION"]) != "DISPLAY" or \
                alarms[0].decoded("TRIGGER") != datetime.timedelta(0) or "DESCRIPTION" not in alarms[0]:
            fail(f"{when}: alarme {[a.to_ical() for a in alarms]}")
        has_rule = "RRULE" in event
        if has_rule != (kind != "Nenhuma"):
            fail(f"{when}: RRULE {event.get('RRULE')} para {kind}")


def quelvo_steps(row):
    """The reminder's dates over PERIODS acknowledgements by quelvo-cli."""
    when, kind, text = row
    folder = new_folder()
    run(folder, "incluir", when.strftime("%d/%m/%Y"), when.strftime("%H:%M"), text, "--repeticao", kind)
    dates = [when]
    for _ in range(PERIODS - 1):
        run(folder, "confirmar", "1")
        dates.append(listed(folder)[0][0])
    return dates


def month_end_dates(when, months):
    """The reminder's day in every period, or the last day of a shorter month."""
    dates = []
    year, month = when.year, when.month
    for _ in range(PERIODS):
        day = min(when.day, calendar.monthrange(year, month)[1])
        dates.append(when.replace(year=year, month=month, day=day))
        month += months
        year, month = year + (month - 1) // 12, (month - 1) % 12 + 1
    return dates


def check_series(cal, rows):
    parted = []
    for row in rows:
        when, kind, text = row
        if kind == "Nenhuma":
            continue
        days = {"Diária": 1, "Semanal": 7}.get(kind, 0)
        end = when + datetime.timedelta(days=days * PERIODS + 1) if days else \
            when.replace(year=when.year + (3 if kind == "Mensal" else PERIODS + 1), day=28)
        one = icalendar.Calendar()
        for event in cal.walk("VEVENT"):
            if event.decoded("DTSTART") == when and str(event["DESCRIPTION"]) == text.replace("\r\n", "\n"):
                one.add_component(event)
        expanded = sorted(e.decoded("DTSTART") for e in recurring_ical_events.of(one).between(when, end))
        expanded = expanded[:PERIODS]
        stepped = quelvo_steps(row)
        months = KIND_MONTHS[kind]
        if months and when.day > 28 or (months == 12 and when.month == 2 and when.day == 29):
            # The rule promises the reminder's day or the month's last; Quelvo keeps the shorter day.
            if expanded != month_end_dates(when, months):
                fail(f"{text}: a regra dá {expanded[:6]}..., esperado o dia {when.day} ou o último do mês")
            first_apart = next((i for i, (a, b) in enumerate(zip(expanded, stepped)) if a != b), None)
            if first_apart is None or stepped[first_apart - 1].day == when.day:
                fail(f"{text}: o passo do Quelvo devia se afastar da regra depois de um mês mais curto")
            else:
                parted.append(f"{text}: regra {expanded[first_apart]:%d/%m/%Y}, Quelvo "
                              f"{stepped[first_apart]:%d/%m/%Y} (depois de {stepped[first_apart - 1]:%d/%m/%Y})")
            if stepped[: first_apart] != expanded[: first_apart]:
                fail(f"{text}: diferem antes do primeiro mês curto")
        elif expanded != stepped:
            fail(f"{text}: a regra dá {expanded[:4]}..., o Quelvo {stepped[:4]}...")
    for line in parted:
        print("onde se separam:", line)


def main():
    folder = new_folder()
    for date, time, kind, text in REMINDERS:
        run(folder, "incluir", date, time, text, "--repeticao", kind)
    data, summary = run(folder, "exportar", "-")
    if summary.decode().strip() != f"{len(REMINDERS)} lembretes exportados":
        fail(f"resumo: {summary!r}")
    check_file_form(data)
    cal = icalendar.Calendar.from_ical(data)
    rows = listed(folder)
    check_events(cal, rows)
    check_series(cal, rows)
    # The same store exports the same bytes again, but for DTSTAMP.
    again, _ = run(folder, "exportar", "-")
    strip = lambda b: b"".join(l for l in b.split(b"\r\n") if not l.startswith(b"DTSTAMP:"))
    if strip(again) != strip(data):
        fail("duas exportações do mesmo armazenamento diferem")
    print(f"{len(REMINDERS)} lembretes, {len(failures)} falhas")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
