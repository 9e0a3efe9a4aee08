#!/usr/bin/env python3
"""Fits the polynomials behind ExpIntegralImaginary (src/model/wirekernel.cpp).

E1(jx) = -Ci(x) + j (Si(x) - pi/2). Below x = 2: Si(x)/x and (Ci(x) - gamma - ln x)/x^2 as
polynomials in t = x^2. From 2 on: the auxiliary functions
    f(x) = Ci(x) sin x + (pi/2 - Si(x)) cos x,   g(x) = -Ci(x) cos x + (pi/2 - Si(x)) sin x,
which neither oscillate nor grow, as polynomials in u = 1/x mapped to [-1, 1], piecewise on
quarter octaves of x from 2 to 256 and on one last piece beyond 256.

Each polynomial interpolates at Chebyshev points, solved at 50 digits. The coefficients are
printed as C++ literals to paste into wirekernel.cpp; the largest error of each set (exact
arithmetic, coefficients rounded to double) goes to stderr.

Run: python3 scripts/fit-exp-integral.py > /tmp/coefficients.inc
Needs mpmath (Debian: python3-mpmath); nothing in the build or the tests runs it.
"""
import sys

import mpmath as mp

mp.mp.dps = 50
DEGREE = 10            # the series and the auxiliary functions: 11 coefficients each
SPLIT = 2              # below it the power series, from it the auxiliary functions
STEPS_PER_OCTAVE = 4   # pieces per octave of x: the C++ finds one from x's top mantissa bits
LAST_OCTAVE = 8        # the last piece runs from 2^8 to infinity
TRIG_DEGREE = 7        # sine and cosine on [-pi/4, pi/4]: 8 coefficients each


def aux(x):
    s, c = mp.sin(x), mp.cos(x)
    ci, rest = mp.ci(x), mp.pi / 2 - mp.si(x)
    return ci * s + rest * c, -ci * c + rest * s


def small_parts(t):
    x = mp.sqrt(t)
    if t == 0:
        return mp.mpf(1), mp.mpf(-0.25)
    return mp.si(x) / x, (mp.ci(x) - mp.euler - mp.log(x)) / t


def fit(fun, lo, hi, degree=DEGREE):
    """Monomial coefficients in v of the interpolant of fun(v) at Chebyshev points of [lo, hi]."""
    n = degree + 1
    nodes = [(lo + hi) / 2 + (hi - lo) / 2 * mp.cos(mp.pi * (k + mp.mpf(1) / 2) / n)
             for k in range(n)]
    matrix = mp.matrix([[v ** j for j in range(n)] for v in nodes])
    return list(mp.lu_solve(matrix, mp.matrix([fun(v) for v in nodes])))


def rounded_error(coefficients, fun, lo, hi, samples=64):
    doubles = [mp.mpf(float(a)) for a in coefficients]
    worst = 0
    for i in range(samples + 1):
        v = lo + (hi - lo) * mp.mpf(i) / samples
        worst = max(worst, abs(mp.polyval(doubles[::-1], v) - fun(v)))
    return worst


def literal(a):
    return repr(float(a))


def wrapped(values, first, indent, last, width=100):
    """The literals after `first`, comma-separated, then `last`, in lines of at most `width`
    columns, continued at `indent`."""
    lines, line = [], first
    for i, a in enumerate(values):
        word = literal(a) + (',' if i + 1 < len(values) else last)
        gap = '' if line.endswith(('{', ' ')) or not line.strip() else ' '
        if len(line) + len(gap) + len(word) > width:
            lines.append(line)
            line, gap = ' ' * indent, ''
        line += gap + word
    return '\n'.join(lines + [line]) + '\n'


def array(name, size, values):
    return 'constexpr std::array<double, %s> %s{\n' % (size, name) + wrapped(values, '    ', 4, '};')


def main():
    out = sys.stdout
    # Below the split.
    top = mp.mpf(SPLIT) ** 2
    si_part = fit(lambda t: small_parts(t)[0], 0, top)
    ci_part = fit(lambda t: small_parts(t)[1], 0, top)
    print('small: Si/x %.2e, Ci part %.2e' % (
        rounded_error(si_part, lambda t: small_parts(t)[0], 0, top),
        rounded_error(ci_part, lambda t: small_parts(t)[1], 0, top)), file=sys.stderr)
    out.write('// clang-format off\n')
    out.write(array('kSiSeries', 'kTerms', si_part))
    out.write(array('kCiSeries', 'kTerms', ci_part))

    # The sine and cosine behind the auxiliary functions: Cody and Waite's reduction by pi/2 in
    # three parts (the first two of 33 bits, so their products with a quadrant count below 2^20
    # are exact), then sin r = r S(r^2) and cos r = C(r^2) for |r| <= pi/4.
    half_pi = mp.pi / 2
    high = mp.mpf(mp.nint(half_pi * 2 ** 32)) / 2 ** 32
    mid = mp.mpf(mp.nint((half_pi - high) * 2 ** 65)) / 2 ** 65
    low = half_pi - high - mid
    for name, value in (('kHalfPiHigh', high), ('kHalfPiMid', mid), ('kHalfPiLow', low)):
        out.write('constexpr double %s = %s;\n' % (name, literal(value)))
    top = (mp.pi / 4 * (1 + mp.mpf(1e-9))) ** 2
    sine = fit(lambda s: mp.sin(mp.sqrt(s)) / mp.sqrt(s) if s else mp.mpf(1), 0, top, TRIG_DEGREE)
    cosine = fit(lambda s: mp.cos(mp.sqrt(s)), 0, top, TRIG_DEGREE)
    print('sine %.2e, cosine %.2e' % (
        rounded_error(sine, lambda s: mp.sin(mp.sqrt(s)) / mp.sqrt(s) if s else mp.mpf(1), 0, top),
        rounded_error(cosine, lambda s: mp.cos(mp.sqrt(s)), 0, top)), file=sys.stderr)
    out.write(array('kSineSeries', 'kTrigTerms', sine))
    out.write(array('kCosineSeries', 'kTrigTerms', cosine))

    # From the split on: quarter octaves, then the tail.
    out.write('constexpr std::array<TAuxPiece, %d> kAuxPieces{{\n' %
              ((LAST_OCTAVE - 1) * STEPS_PER_OCTAVE + 1))
    worst = 0
    for octave in range(1, LAST_OCTAVE + 1):
        steps = 1 if octave == LAST_OCTAVE else STEPS_PER_OCTAVE
        for step in range(steps):
            x_lo = mp.mpf(2) ** octave * (1 + mp.mpf(step) / STEPS_PER_OCTAVE)
            if octave == LAST_OCTAVE:
                w_lo = mp.mpf(0)
            else:
                w_lo = 1 / (mp.mpf(2) ** octave * (1 + mp.mpf(step + 1) / STEPS_PER_OCTAVE))
            w_hi = 1 / x_lo
            centre, half = (w_lo + w_hi) / 2, (w_hi - w_lo) / 2
            scale, offset = 1 / half, -centre / half
            # Scale and offset are rounded: fit against the u the C++ will compute.
            scale_d, offset_d = mp.mpf(float(scale)), mp.mpf(float(offset))

            def at(u, which):
                w = (u - offset_d) / scale_d
                return aux(1 / w)[which] if w > 0 else mp.mpf(0)
            u_lo, u_hi = w_lo * scale_d + offset_d, w_hi * scale_d + offset_d
            fs = fit(lambda u: at(u, 0), u_lo, u_hi)
            gs = fit(lambda u: at(u, 1), u_lo, u_hi)
            worst = max(worst, rounded_error(fs, lambda u: at(u, 0), u_lo, u_hi),
                        rounded_error(gs, lambda u: at(u, 1), u_lo, u_hi))
            out.write('    // x from %s\n    {%s, %s,\n' % (
                mp.nstr(x_lo, 6), literal(scale), literal(offset)))
            out.write(wrapped(fs, '     {', 6, '},'))
            out.write(wrapped(gs, '     {', 6, '}},'))
    out.write('}};\n// clang-format on\n')
    print('auxiliary: %.2e' % worst, file=sys.stderr)


if __name__ == '__main__':
    main()
