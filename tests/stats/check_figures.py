#!/usr/bin/env python3
"""Vexilo Stats against SciPy on generated logs, and the program from outside.

Usage: check_figures.py VEXILO_STATS STATS_EVIDENCE_PARTS

The chi-square statistics and p-values, z-scores and per-number p-values of the JSON report must
match SciPy's to 1e-9 relative, and so must the check on later spins (one-sided binomial p-values
and exact intervals), each log's test and the logs agreeing; a wheel with one favoured pocket is
flagged and a fair one is not; several logs read as one; --last is the tail; failures write
nothing and exit 1, 2 or 3. Every part of the evidence (STATS_EVIDENCE_PARTS prints them) must
match its log-likelihood ratio by SciPy's gammaln and betaln to 1e-9 of its logarithm (or of 1,
where the logarithm is smaller), their weights sum to 1, and their average is the report's
evidence.
"""
import json
import math
import os
import random
import subprocess
import sys
import tempfile

import numpy
from scipy import stats
from scipy.special import betaln, gammaln, logsumexp

RED = {1, 3, 5, 7, 9, 12, 14, 16, 18, 19, 21, 23, 25, 27, 30, 32, 34, 36}
SECTORS = [[32, 15, 19, 4, 21, 2, 25, 17, 34], [6, 27, 13, 36, 11, 30, 8, 23, 10],
           [5, 24, 16, 33, 1, 20, 14, 31, 9], [22, 18, 29, 7, 28, 12, 35, 3, 26]]
WHEEL = [0] + [n for sector in SECTORS for n in sector]
# Each family's group of a number 1..36, counted from 0; zero is in none.
FAMILIES = {
    "colour": lambda n: 0 if n in RED else 1,
    "parity": lambda n: n % 2,  # 0 even, 1 odd
    "half": lambda n: (n - 1) // 18,
    "dozen": lambda n: (n - 1) // 12,
    "column": lambda n: (n - 1) % 3,
    "street": lambda n: (n - 1) // 3,
    "sector": lambda n: next(i for i, s in enumerate(SECTORS) if n in s),
}
RELATIVE = 1e-9
failures = []


def check(what, ok):
    if not ok:
        failures.append(what)


def close(what, got, want, rel=RELATIVE):
    check(f"{what}: {got} against {want}",
          got is not None and math.isclose(got, want, rel_tol=rel, abs_tol=1e-300))


def word(n):
    return "Green" if n == 0 else ("Red" if n in RED else "Black")


def write_log(path, spins, line_end="\r\n"):
    with open(path, "w", newline="") as f:
        f.write("".join(f"{n},{word(n)}{line_end}" for n in spins))


def draw(count, seed, favoured=None, weight=1.0):
    rng = random.Random(seed)
    weights = [weight if n == favoured else 1.0 for n in range(37)]
    return rng.choices(range(37), weights=weights, k=count)


def report(program, *args):
    run = subprocess.run([program, "--json", *args], capture_output=True, check=True)
    return json.loads(run.stdout)


def check_driver(what, test, cells, expected_shares, names):
    """The cell with the largest |z| against a fair wheel, the first on a tie."""
    n = sum(cells)
    zs = [(c - n * p) / math.sqrt(n * p * (1 - p)) for c, p in zip(cells, expected_shares)]
    top = max(range(len(zs)), key=lambda i: (abs(zs[i]), -i))
    check(f"{what}: driver {test['driver']} not {names[top]}", test["driver"] == names[top])
    close(f"{what}: driver z", test["driver_z"], zs[top])


def check_number_test(what, spins, test):
    counts = [spins.count(k) for k in range(37)]
    chi = stats.chisquare(counts)
    close(f"{what}: number statistic", test["statistic"], chi.statistic)
    close(f"{what}: number p", test["p_value"], chi.pvalue)
    check_driver(what, test, counts, [1 / 37] * 37, ["zero"] + [str(k) for k in range(1, 37)])


def holm(ps):
    order = sorted(range(len(ps)), key=lambda i: ps[i])
    adjusted, running = [0.0] * len(ps), 0.0
    for rank, i in enumerate(order):
        running = max(running, min(1.0, (len(ps) - rank) * ps[i]))
        adjusted[i] = running
    return adjusted


def check_holdout(name, spins, h):
    later = spins[len(spins) - h["later_spins"]:]
    check(f"{name}: later spins", h["later_spins"] == math.floor(len(spins) * h["fraction"] + 0.5))
    check(f"{name}: enough", h["enough"] == (len(later) >= 185))
    earlier = [spins[:h["earlier_spins"]].count(k) for k in range(37)]
    check(f"{name}: hottest number earlier",
          h["candidates"][0]["pockets"] == [earlier.index(max(earlier))])
    ps = []
    for c in h["candidates"]:
        what, size = f"{name}: later {c['kind']} {c['pockets']}", len(c["pockets"])
        hits = sum(later.count(k) for k in c["pockets"])
        check(what + " hits", c["hits"] == hits)
        check(what + " earlier hits",
              c["earlier_hits"] == sum(earlier[k] for k in c["pockets"]))
        if c["kind"] == "arc":
            best = max(sum(earlier[WHEEL[(s + k) % 37]] for k in range(size)) for s in range(37))
            check(what + " not the best earlier", c["earlier_hits"] == best)
        test = stats.binomtest(hits, len(later), size / 37, alternative="greater")
        close(what + " p", c["p_value"], test.pvalue)
        ci = stats.binomtest(hits, len(later), size / 37).proportion_ci(0.95, method="exact")
        for got, want in zip(c["share_ci"], [ci.low, ci.high]):
            close(what + " share interval", got, want)
        for got, share in zip([c["return"]] + c["return_ci"], [hits / len(later), ci.low, ci.high]):
            close(what + " return", got, 36 * share / size - 1)
        ps.append(test.pvalue)
    for c, adjusted in zip(h["candidates"], holm(ps)):
        close(f"{name}: adjusted p of {c['pockets']}", c["adjusted_p"], adjusted)


def check_logs_agree(name, logs, r):
    for spins, f in zip(logs, r["files"]):
        if spins:
            check_number_test(f"{name}: {f['name']}", spins, f["test"])
            counts = [spins.count(k) for k in range(37)]
            check(f"{name}: hottest of {f['name']}", f["hottest"] == counts.index(max(counts)))
    table = [[spins.count(k) for k in range(37)] for spins in logs if spins]
    table = [[row[k] for k in range(37) if any(r[k] for r in table)] for row in table]
    chi = stats.chi2_contingency(table, correction=False)
    agree = r["logs_agree"]
    check(f"{name}: simulated {agree['simulated']}", agree["simulated"] == (chi.expected_freq < 5).any())
    check(f"{name}: logs' df", agree["df"] == chi.dof)
    close(f"{name}: logs' statistic", agree["statistic"], chi.statistic)
    if not agree["simulated"]:
        close(f"{name}: logs' p", agree["p_value"], chi.pvalue)
    else:  # the pooled spins dealt out at random, 2000 times: within 5 of their standard errors
        pooled, cuts = numpy.concatenate([s for s in logs if s]), numpy.cumsum([len(s) for s in logs if s])
        rng, reached = numpy.random.default_rng(1), 0
        for _ in range(2000):
            dealt = numpy.split(rng.permutation(pooled), cuts[:-1])
            table = numpy.array([numpy.bincount(d, minlength=37) for d in dealt])
            table = table[:, table.sum(axis=0) > 0]
            reached += stats.chi2_contingency(table, correction=False).statistic >= chi.statistic * (1 - 1e-12)
        p = (reached + 1) / 2001
        check(f"{name}: logs' simulated p {agree['p_value']} against {p}",
              abs(agree["p_value"] - p) < 5 * math.sqrt(p * (1 - p) / 2000) + 1e-3)
    return agree


def check_against_scipy(name, spins, r):
    n = len(spins)
    counts = [spins.count(k) for k in range(37)]
    fair = stats.binom(n, 1 / 37)
    for row, count in zip(r["numbers"], counts):
        check(f"{name}: count of {row['number']}", row["count"] == count)
        close(f"{name}: z of {row['number']}", row["z"], (count - fair.mean()) / fair.std())
        two_sided = min(1.0, 2 * min(fair.cdf(count), fair.sf(count - 1)))
        close(f"{name}: p of {row['number']}", row["p_value"], two_sided)

    tests = {t["family"]: t for t in r["tests"]}
    check_number_test(name, spins, tests["number"])
    check_number_test(name + " as one log", spins, r["files"][0]["test"])
    chi = stats.chisquare([counts[0], n - counts[0]], [n / 37, n * 36 / 37])
    close(f"{name}: zero statistic", tests["zero"]["statistic"], chi.statistic)
    close(f"{name}: zero p", tests["zero"]["p_value"], chi.pvalue)
    check(f"{name}: zero df, driver", (tests["zero"]["df"], tests["zero"]["driver"]) == (1, "zero"))
    for family, group_of in FAMILIES.items():
        groups = max(group_of(k) for k in range(1, 37)) + 1
        cells, pockets = [counts[0]] + [0] * groups, [1] + [0] * groups
        for k in range(1, 37):
            cells[1 + group_of(k)] += counts[k]
            pockets[1 + group_of(k)] += 1
        chi = stats.chisquare(cells, [n * p / 37 for p in pockets])
        test = tests[family]
        check(f"{name}: {family} df", test["df"] == groups)
        close(f"{name}: {family} statistic", test["statistic"], chi.statistic)
        close(f"{name}: {family} p", test["p_value"], chi.pvalue)
        rows = [g for g in r["groups"] if g["family"] == family]
        check_driver(f"{name}: {family}", test, cells, [p / 37 for p in pockets],
                     ["zero"] + [row["name"] for row in rows])
        for row, count, size in zip(rows, cells[1:], pockets[1:]):
            group = stats.binom(n, size / 37)
            close(f"{name}: z of {family} {row['name']}", row["z"],
                  (count - group.mean()) / group.std())

    place = {k: i for i, k in enumerate(WHEEL)}
    distances = [0] * 37
    for a, b in zip(spins, spins[1:]):
        distances[(place[b] - place[a]) % 37] += 1
    check(f"{name}: signature counts", r["signature"]["counts"] == distances)
    chi = stats.chisquare(distances)
    close(f"{name}: signature statistic", r["signature"]["test"]["statistic"], chi.statistic)
    close(f"{name}: signature p", r["signature"]["test"]["p_value"], chi.pvalue)
    check_driver(f"{name}: signature", r["signature"]["test"], distances, [1 / 37] * 37,
                 [f"distance {d}" for d in range(37)])
    check_holdout(name, spins, r["holdout"])

    check(f"{name}: one arc of each length 1 to 18", [a["length"] for a in r["arcs"]] == list(range(1, 19)))
    for arc in r["arcs"]:
        length = arc["length"]
        best = max(sum(counts[WHEEL[(s + k) % 37]] for k in range(length)) for s in range(37))
        check(f"{name}: arc of {length}", arc["count"] == best)
        group = stats.binom(n, length / 37)
        close(f"{name}: z of arc {length}", arc["z"], (best - group.mean()) / group.std())

    zero = stats.chisquare([counts[0], n - counts[0]], [n / 37, n * 36 / 37])
    close(f"{name}: zero statistic", tests["zero"]["statistic"], zero.statistic)
    close(f"{name}: zero p", tests["zero"]["p_value"], zero.pvalue)

    # The power is simulated: the most bias has the most power, for one pocket and for an arc.
    powers = [row["power_now"] for row in r["power"]]
    check(f"{name}: six power rows", len(powers) == 6)
    for rows in (powers[:3], powers[3:5]):
        check(f"{name}: power grows with the bias {rows}",
              all(0 <= p <= 1 for p in rows) and rows[0] <= rows[-1])


def distances_of(spins):
    place = {k: i for i, k in enumerate(WHEEL)}
    distances = [0] * 37
    for a, b in zip(spins, spins[1:]):
        distances[(place[b] - place[a]) % 37] += 1
    return distances


def family_cells(family, counts):
    """A family's cells, zero first, then its groups."""
    group_of = FAMILIES[family]
    cells = [counts[0]] + [0] * (max(group_of(k) for k in range(1, 37)) + 1)
    for k in range(1, 37):
        cells[1 + group_of(k)] += counts[k]
    return cells


def part_log(part, counts, steps):
    """ln of a part's likelihood ratio against a fair wheel: a Dirichlet-multinomial on the
    numbers, a family's cells or the distances, or a beta-binomial on a set's share."""
    source = part["source"]
    if part["dirichlet"]:
        alphas = numpy.array(part["dirichlet"])
        tally = steps if source == "signature" else counts if source == "numbers" else family_cells(source, counts)
        cells = numpy.array(tally, dtype=float)
        total = alphas.sum()
        return (gammaln(total) - gammaln(total + cells.sum()) + (gammaln(alphas + cells) - gammaln(alphas)).sum()
                - (cells * numpy.log(alphas / total)).sum())
    tally = steps if source == "steps" else counts
    trials = sum(tally)
    c = sum(tally[k] for k in part["cells"])
    fair = len(part["cells"]) / 37
    return (betaln(part["a"] + c, part["b"] + trials - c) - betaln(part["a"], part["b"])
            - c * math.log(fair) - (trials - c) * math.log1p(-fair))


def check_evidence(name, parts_program, log, spins, r):
    parts = json.loads(subprocess.run([parts_program, log], capture_output=True, check=True).stdout)
    counts, steps = [spins.count(k) for k in range(37)], distances_of(spins)
    logs, weights = [], 0.0
    for part in parts["parts"]:
        want = part_log(part, counts, steps)
        check(f"{name}: {part['source']} {part['cells']} {part['a']:.6g}: ln {part['log']} against {want}",
              math.isclose(part["log"], want, rel_tol=RELATIVE, abs_tol=RELATIVE))
        logs.append(math.log(part["weight"]) + want)
        weights += part["weight"]
    check(f"{name}: {len(logs)} parts", len(logs) == 2062)
    close(f"{name}: the parts' weights", weights, 1.0, 1e-12)
    whole = logsumexp(logs)
    check(f"{name}: the evidence {parts['log']} against {whole}",
          math.isclose(parts["log"], whole, rel_tol=RELATIVE, abs_tol=RELATIVE))
    e = r["evidence"]
    close(f"{name}: the report's evidence", math.log(e["value"]), whole, 1e-8)
    check(f"{name}: the series ends at the last spin", e["series"][-1] == [len(spins), e["value"]])
    check(f"{name}: p = 1 / the most", e["p_value"] == min(1.0, 1 / e["max"]))


def without_files(r):
    """The figures that do not depend on where the logs end; the evidence and the bettor are
    also read at each log's end."""
    return {k: v for k, v in r.items() if k not in ("files", "logs_agree", "evidence", "bettor", "verdict")}


def check_read_at_ends(name, one, logs, ends):
    """The series of the logs are the one log's, with the logs' ends read besides."""
    for what in ("evidence", "bettor"):
        joined = {spin: value for spin, value in logs[what]["series"]}
        check(f"{name}: {what} read at {sorted(joined.keys() - {s for s, _ in one[what]['series']})}",
              sorted(joined.keys() - {s for s, _ in one[what]["series"]}) == ends)
        for spin, value in one[what]["series"]:
            close(f"{name}: {what} at {spin}", joined.get(spin), value, 1e-12)


def main():
    program, parts_program = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as folder:
        path = lambda name: os.path.join(folder, name)  # noqa: E731

        fair = draw(20000, 11)
        favoured = draw(20000, 12, favoured=17, weight=1.5)
        write_log(path("fair.CSV"), fair)
        write_log(path("favoured.CSV"), favoured, "\n")
        fair_report = report(program, path("fair.CSV"))
        favoured_report = report(program, path("favoured.CSV"))
        check_against_scipy("fair", fair, fair_report)
        check_against_scipy("favoured", favoured, favoured_report)
        check_evidence("fair", parts_program, path("fair.CSV"), fair, fair_report)
        check_evidence("favoured", parts_program, path("favoured.CSV"), favoured, favoured_report)

        flags = lambda r: {row["number"]: row["flag"] for row in r["numbers"] if row["flag"] != "none"}  # noqa: E731
        check(f"fair wheel flagged: {flags(fair_report)}", flags(fair_report) == {})
        hot = [k for k, flag in flags(favoured_report).items() if flag == "hot"]
        check(f"favoured pocket not the one hot number: {hot}", hot == [17])
        check("favoured wheel's numbers not uneven",
              favoured_report["tests"][0]["verdict"].startswith("the numbers are uneven"))
        check("fair wheel's numbers uneven",
              fair_report["tests"][0]["verdict"] == "no sign of bias at the 5% level")
        held = favoured_report["holdout"]["candidates"][0]
        check(f"favoured pocket did not hold up: {held}",
              held["pockets"] == [17] and held["adjusted_p"] < 0.05 and held["return_ci"][0] > 0)

        # The logs of one wheel agree, those of another do not; a log of one spin is simulated.
        halves = report(program, path("fair.CSV"), path("favoured.CSV"))
        check("fair and favoured logs agree",
              check_logs_agree("fair, favoured", [fair, favoured], halves)["p_value"] < 0.05)

        # Three logs, read on two cores, are one record; --last is its tail.
        write_log(path("a.CSV"), fair[:7000])
        write_log(path("b.CSV"), fair[7000:7001])
        write_log(path("c.CSV"), fair[7001:])
        joined = report(program, path("a.CSV"), path("b.CSV"), path("c.CSV"))
        check("three logs differ from one", without_files(joined) == without_files(fair_report))
        check_read_at_ends("three logs", fair_report, joined, [7000, 7001])
        check("spins per log", [f["spins"] for f in joined["files"]] == [7000, 1, 12999])
        agree = check_logs_agree("three logs", [fair[:7000], fair[7000:7001], fair[7001:]], joined)
        check(f"one wheel's logs: {agree}", agree["simulated"] and agree["p_value"] > 0.05)
        write_log(path("tail.CSV"), fair[-5000:])
        tail = report(program, "--last", "5000", path("a.CSV"), path("b.CSV"), path("c.CSV"))
        check("--last differs from the tail", without_files(tail) == without_files(
            report(program, path("tail.CSV"))))
        check("spins analysed per log", [f["analysed"] for f in tail["files"]] == [0, 0, 5000])
        check("one log with spins", tail["logs_agree"] is None and tail["files"][0]["hottest"] is None)

        # Failures: the exit code, a message, and nothing on standard output.
        with open(path("bad.CSV"), "w", newline="") as f:
            f.write("17,Black\r\n17,Red\r\n")
        for args, code in [([], 1), (["--last", "x", path("fair.CSV")], 1),
                           ([path("fair.CSV"), path("bad.CSV")], 2), ([path("missing.CSV")], 2)]:
            run = subprocess.run([program, *args], capture_output=True)
            check(f"{args}: exit {run.returncode}, not {code}", run.returncode == code)
            check(f"{args}: wrote {run.stdout[:40]!r}", run.stdout == b"")
            check(f"{args}: said nothing", run.stderr != b"")
        if os.path.exists("/dev/full"):
            with open("/dev/full", "wb") as full:
                run = subprocess.run([program, path("fair.CSV")], stdout=full, stderr=subprocess.PIPE)
            check(f"/dev/full: exit {run.returncode}", run.returncode == 3)
            check("/dev/full: no message", b"cannot write the report" in run.stderr)

    for failure in failures:
        print("FAILED:", failure)
    print(f"{'FAILED' if failures else 'passed'}: {len(failures)} of the checks failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
