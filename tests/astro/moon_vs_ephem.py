"""The moon table of `quelvo-cli luas ANO` against PyEphem's principal phases.

Every entry must name a phase that PyEphem puts on that day in the program's
fixed local time (UTC - 3 h), every phase of the year must be listed once, and
the phase in effect on every day (the latest entry on or before it, the last
phase of the year before for the first days) must be PyEphem's. A phase within
TOLERANCE minutes of a local midnight may fall on either day.

Usage: moon_vs_ephem.py QUELVO_CLI FIRST_YEAR LAST_YEAR [--report]
With --report it prints the figures and exits 0 whatever they are.
"""
import datetime as dt
import subprocess
import sys

import ephem

TOLERANCE = dt.timedelta(minutes=5)
LOCAL = dt.timedelta(hours=-3)
NAMES = {"new": "Nova", "first": "Crescente", "full": "Cheia", "last": "Minguante"}
NEXT = {"new": ephem.next_new_moon, "first": ephem.next_first_quarter_moon,
        "full": ephem.next_full_moon, "last": ephem.next_last_quarter_moon}


def ephem_phases(first_year, last_year):
    """(local datetime, name) of every principal phase, sorted."""
    found = []
    start = ephem.Date(dt.datetime(first_year - 1, 12, 1))
    end = dt.datetime(last_year + 1, 1, 2)
    for key, next_phase in NEXT.items():
        when = start
        while True:
            when = next_phase(when)
            local = when.datetime() + LOCAL
            if local > end:
                break
            found.append((local, NAMES[key]))
            when = ephem.Date(when + 1)
    return sorted(found)


def quelvo_table(cli, year):
    out = subprocess.run([cli, "luas", str(year)], check=True, capture_output=True, text=True,
                         env={"LC_ALL": "pt_BR.UTF-8", "PATH": "/usr/bin:/bin"}).stdout
    entries = []
    for line in out.splitlines():
        date, name = line.split("\t")
        d, m, y = (int(x) for x in date.split("/"))
        entries.append((dt.date(y, m, d), name))
    return entries


def near_midnight(local):
    midnight = dt.datetime.combine(local.date(), dt.time())
    return min(local - midnight, midnight + dt.timedelta(days=1) - local) <= TOLERANCE


def main():
    cli, first, last = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    report = "--report" in sys.argv
    truth = ephem_phases(first, last)
    tables = {y: quelvo_table(cli, y) for y in range(first - 1, last + 1)}
    problems = []

    # Entries: each on the true day of its phase, each phase once.
    entries = on_day = 0
    for year in range(first, last + 1):
        listed = list(tables[year])
        entries += len(listed)
        expected = [(t, n) for t, n in truth if t.year == year]
        counts = {}
        for day, name in listed:
            counts[(day, name)] = counts.get((day, name), 0) + 1
        for (day, name), n in counts.items():
            if n > 1:
                problems.append(f"{year}: {name} em {day} listada {n} vezes")
        matched = set()
        for day, name in listed:
            hit = next((i for i, (t, n) in enumerate(expected) if n == name and i not in matched and
                        (t.date() == day or (near_midnight(t) and abs((t.date() - day).days) == 1 and
                                             abs(t - dt.datetime.combine(day, dt.time())) < dt.timedelta(days=1, minutes=10)))),
                       None)
            if hit is None:
                problems.append(f"{year}: {name} em {day} não é o dia da fase")
            else:
                on_day += 1
                matched.add(hit)
        for i, (t, name) in enumerate(expected):
            if i not in matched:
                problems.append(f"{year}: falta {name} de {t:%d/%m %H:%M}")

    # Phase in effect on every day of the range.
    days = wrong = 0
    day = dt.date(first, 1, 1)
    t_index = 0
    while day.year <= last:
        while t_index + 1 < len(truth) and truth[t_index + 1][0].date() <= day:
            t_index += 1
        true_name = truth[t_index][1]
        candidates = [e for e in tables[day.year] if e[0] <= day]
        shown = candidates[-1][1] if candidates else tables[day.year - 1][-1][1]
        days += 1
        if shown != true_name:
            # Tolerated when the phase that begins or ends here is near midnight.
            edge = any(near_midnight(t) and abs((t.date() - day).days) <= 1 for t, _ in truth[t_index:t_index + 2])
            if not edge:
                wrong += 1
                problems.append(f"{day}: mostra {shown}, é {true_name}")
        day += dt.timedelta(days=1)

    print(f"{first}-{last}: {entries} entradas, {on_day} no dia da fase ({100 * on_day / max(entries, 1):.1f} %), "
          f"{sum(1 for t, _ in truth if first <= t.year <= last)} fases pelo PyEphem; "
          f"fase do dia errada em {wrong} de {days} dias ({100 * wrong / days:.2f} %)")
    if problems and not report:
        print("\n".join(problems[:40]))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
