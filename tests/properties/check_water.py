#!/usr/bin/python3
"""The program's water and steam against Debian's python3-iapws, and the key's
prepare against the method worked out here with those properties.

    check_water.py WATER_STATES ORVEN_KEY

Two references: iapws.IAPWS97, the same formulations in another hand (to a
part in a million: the equations and their coefficients are typed right),
and iapws.IAPWS95, the scientific formulation that IF97 approximates (to
0.1 %: the properties are water's). Exit status 0 when all agree, 1 otherwise.
"""
import math
import subprocess
import sys
import tempfile

from iapws import IAPWS95, IAPWS97

failures = []


def close(what, ours, theirs, tolerance):
    if not abs(ours - theirs) <= tolerance * abs(theirs):
        failures.append(f"{what}: {ours:.9g}, expected {theirs:.9g} (±{tolerance:.0e})")


def states(tool, lines):
    out = subprocess.run([tool], input="\n".join(lines) + "\n", capture_output=True,
                         text=True, check=True).stdout
    return [[float(x) for x in row.split()] for row in out.splitlines()]


def check_liquid(tool):
    # 0.01 °C (the triple point) to 200 °C: 51 states, 4 K apart, plus the ends
    # of the range and a few that fall between table rows.
    temperatures = [0.01] + [4.0 * i for i in range(1, 51)] + [0.0, 37.3, 99.99, 151.7]
    ours = states(tool, [f"liquid {t!r}" for t in temperatures])
    for t, (rho, mu, cp, k) in zip(temperatures, ours):
        same = IAPWS97(T=t + 273.15, x=0)
        for name, value, reference in (("ρ", rho, same.rho), ("μ", mu, same.mu),
                                       ("c", cp, same.cp * 1000), ("λ", k, same.k)):
            close(f"{name}({t} °C) against IAPWS97", value, reference, 1e-6)
        if t >= 0.01:
            real = IAPWS95(T=round(t + 273.15, 9), x=0)
            for name, value, reference in (("ρ", rho, real.rho), ("μ", mu, real.mu),
                                           ("c", cp, real.cp * 1000), ("λ", k, real.k)):
                close(f"{name}({t} °C) against IAPWS95", value, reference, 1e-3)
    return len(temperatures)


def check_steam(tool):
    pressures = [0.01, 0.02, 0.05, 0.07, 0.1, 0.101325, 0.15, 0.2, 0.25, 0.3, 0.4, 0.5, 0.6,
                 0.7, 0.8, 0.9, 1.0, 1.2, 1.4, 1.5]
    for p, (t, r) in zip(pressures, states(tool, [f"steam {p!r}" for p in pressures])):
        liquid, vapour = IAPWS97(P=p, x=0), IAPWS97(P=p, x=1)
        close(f"tнас({p} МПа) against IAPWS97", t + 273.15, liquid.T, 1e-9)
        close(f"r({p} МПа) against IAPWS97", r, (vapour.h - liquid.h) * 1000, 1e-6)
        liquid, vapour = IAPWS95(P=p, x=0), IAPWS95(P=p, x=1)
        # IF97's saturation line lies within 0.01 K of IAPWS-95's here.
        if not abs(t + 273.15 - liquid.T) <= 0.01:
            failures.append(f"tнас({p} МПа) against IAPWS95: {t + 273.15}, expected {liquid.T}")
        close(f"r({p} МПа) against IAPWS95", r, (vapour.h - liquid.h) * 1000, 1e-3)
    temperatures = [50.0, 100.0, 120.0, 150.0, 180.0]
    for t, (p, r) in zip(temperatures, states(tool, [f"steam-t {t!r}" for t in temperatures])):
        close(f"p_s({t} °C) against IAPWS97", p, IAPWS97(T=t + 273.15, x=0).P, 1e-9)
    return len(pressures) + len(temperatures)


def water95(celsius):
    w = IAPWS95(T=round(celsius + 273.15, 9), x=0)
    return {"rho": w.rho, "mu": w.mu, "c": w.cp * 1000, "l": w.k}


def log_mean(a, b):
    return a if abs(a - b) < 1e-12 else (a - b) / math.log(a / b)


def expected_cooler():
    # Water 90 -> 50 °C cooled by water 15 -> 45 °C, 2 kg/s: each stream at
    # its mean temperature, Q from the hot stream, G2 from the balance,
    # counter-current log mean.
    hot, cold = water95(70), water95(30)
    q = 2.0 * hot["c"] * 40
    return {"g1": 2.0, "l1": hot["l"], "rho1": hot["rho"], "mu1": hot["mu"], "c1": hot["c"],
            "g2": q / (cold["c"] * 30), "l2": cold["l"], "rho2": cold["rho"],
            "mu2": cold["mu"], "c2": cold["c"], "dt": log_mean(90 - 45, 50 - 15),
            "r": 0.00031, "q": q, "eps": 1.0}


def expected_condenser():
    # 0.3 kg/s of steam at 0.2 MPa condensed by water 20 -> 60 °C: the
    # condensate at the saturation temperature, Q = G1·r.
    liquid, vapour = IAPWS95(P=0.2, x=0), IAPWS95(P=0.2, x=1)
    ts = liquid.T - 273.15
    hot, cold = water95(ts), water95(40)
    q = 0.3 * (vapour.h - liquid.h) * 1000
    return {"g1": 0.3, "l1": hot["l"], "rho1": hot["rho"], "mu1": hot["mu"], "c1": hot["c"],
            "g2": q / (cold["c"] * 40), "l2": cold["l"], "rho2": cold["rho"],
            "mu2": cold["mu"], "c2": cold["c"], "dt": log_mean(ts - 20, ts - 60),
            "r": 0.0004, "q": q, "eps": 0.95}


TASKS = {
    "cooler": ("тип = холодильник\nгорячий = вода\ng1 = 2,0\nt1н = 90\nt1к = 50\n"
               "холодный = Вода   # any case\nt2н = 15\nt2к = 45\nr = 0.00031\n",
               expected_cooler),
    "condenser": ("тип = конденсатор\ng1 = 0.3\np1 = 0,2\nхолодный = вода\nt2н = 20\n"
                  "t2к = 60\nr = 0.0004\neps = 0.95\n", expected_condenser),
}


def check_prepare(key):
    for name, (task, expected) in TASKS.items():
        with tempfile.NamedTemporaryFile("w", suffix=".txt", encoding="utf-8") as f:
            f.write(task)
            f.flush()
            prepared = subprocess.run([key, "prepare", f.name], capture_output=True,
                                      text=True)
            if prepared.returncode != 0:
                failures.append(f"prepare {name}: {prepared.stderr.strip()}")
                continue
            values = {}
            for line in prepared.stdout.splitlines():
                if "=" in line and not line.startswith("#"):
                    k, v = (x.strip() for x in line.split("=", 1))
                    values[k] = v
            for k, v in expected().items():
                # Sums of two properties that each agree to 0.1 %.
                close(f"prepare {name}: {k}", float(values[k]), v, 2e-3)
            solved = subprocess.run([key, "solve", "-"], input=prepared.stdout,
                                    capture_output=True, text=True)
            if solved.returncode != 0 or "Подходящих вариантов:" not in solved.stdout:
                failures.append(f"prepare {name} | solve -: status {solved.returncode}, "
                                f"{solved.stderr.strip() or 'no suitable variants'}")


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip().splitlines()[3].strip(), file=sys.stderr)
        return 2
    count = check_liquid(argv[1]) + check_steam(argv[1])
    check_prepare(argv[2])
    for failure in failures:
        print("check_water: FAILED:", failure, file=sys.stderr)
    print(f"check_water: {count} states, {len(TASKS)} tasks; {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
