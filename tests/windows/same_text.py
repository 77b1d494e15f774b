"""Two texts the same but for the last digits of their numbers.

    same_text.py WINDOWS_FILE LINUX_FILE [RELATIVE]

The key's files hold the water's and steam's properties to 17 significant
digits; the Windows build's C library (MinGW's exp, log and pow) and glibc's
differ in the last one or two of them. Everything else must be equal: the
words, the order, and every number spelt alike but for a number written to
full precision (15 significant digits or more on both sides), which agrees
when |a - b| <= RELATIVE * max(|a|, |b|) (1e-12 unless given).

Exit status 0 when they agree, 1 with the first difference on standard
error, 2 when a file cannot be read.
"""
import re
import sys

# The key writes its numbers with a decimal point (a comma parts CSV fields).
NUMBER = re.compile(r"[-+]?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?")


def pieces(text):
    """The text as alternating words and numbers, numbers as floats."""
    out, at = [], 0  # words at even places, numbers' spellings at odd
    for match in NUMBER.finditer(text):
        out.append(text[at : match.start()])
        out.append(match.group())
        at = match.end()
    out.append(text[at:])
    return out


def significant(spelling):
    """How many significant digits a number is written with."""
    mantissa = re.split("[eE]", spelling)[0]
    return len(re.sub(r"\D", "", mantissa).lstrip("0"))


def main():
    if len(sys.argv) not in (3, 4):
        print(__doc__.strip().splitlines()[2].strip(), file=sys.stderr)
        return 2
    relative = float(sys.argv[3]) if len(sys.argv) == 4 else 1e-12
    try:
        texts = [open(name, encoding="utf-8").read().splitlines() for name in sys.argv[1:3]]
    except (OSError, UnicodeDecodeError) as error:
        print(f"same_text: {error}", file=sys.stderr)
        return 2
    windows, linux = texts
    if len(windows) != len(linux):
        print(f"same_text: {len(windows)} lines against {len(linux)}", file=sys.stderr)
        return 1
    worst = 0.0
    for number, (a, b) in enumerate(zip(windows, linux), 1):
        if a == b:
            continue
        pa, pb = pieces(a), pieces(b)
        same = len(pa) == len(pb)
        for place, (x, y) in enumerate(zip(pa, pb) if same else ()):
            if x == y:
                continue
            if place % 2 == 0 or min(significant(x), significant(y)) < 15:
                same = False
                break
            x, y = float(x), float(y)
            scale = max(abs(x), abs(y))
            if abs(x - y) > relative * scale:
                same = False
                break
            worst = max(worst, abs(x - y) / scale)
        if not same:
            print(f"same_text: line {number}: «{a}» against «{b}»", file=sys.stderr)
            return 1
    if worst:
        print(f"same_text: numbers agree to {worst:.1e} of their size")
    return 0


if __name__ == "__main__":
    sys.exit(main())
