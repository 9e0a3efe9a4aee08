# %% [markdown]
# # Front-to-back ratio of an end-fire pair against its spacing
#
# Two vertical dipoles on a west-east line, the eastern one lagging by as many periods as it
# lies wavelengths away: the fields add towards the east and cancel towards the west. How
# well they cancel depends on the spacing. Run it as a script or cell by cell in a notebook;
# with matplotlib installed it also draws the curve into spacing_sweep.png.

# %%
import sys

import numpy

import arraypattern as ap

spacings = numpy.linspace(0.05, 0.5, 19)  # wavelengths


def end_fire_pair(spacing):
    return ap.Array([ap.Emitter(0.0, 0.0), ap.Emitter(spacing, 0.0, phase=spacing)],
                    type=1, model="free-space")


# %% A Python loop: one analysis a spacing, every figure at hand.
front_to_back = []
directivity = []
for d in spacings:
    result = ap.analyse(end_fire_pair(d))
    front_to_back.append(result.front_to_back_db)
    directivity.append(result.directivity_dbi)

for d, fb, dbi in zip(spacings, front_to_back, directivity):
    print(f"spacing {d:5.3f} wl   F/B {fb:6.2f} dB   directivity {dbi:5.2f} dBi")

# %% The same figures from one call: sweep() moves only emitter 2, its phase stays.
table = ap.sweep(end_fire_pair(0.25), "2:x", spacings)
best = int(numpy.nanargmax(table["front_to_back_db"]))
print(f"with the quarter-wave phasing the best F/B is {table['front_to_back_db'][best]:.2f} dB "
      f"at {table['parameter'][best]:.3f} wl")

# %% A picture where matplotlib is installed; the numbers above stand without it.
try:
    import matplotlib

    matplotlib.use("Agg")  # no display needed
    import matplotlib.pyplot as plt
except ImportError:
    print("matplotlib is not installed: no picture drawn", file=sys.stderr)
else:
    fig, ax = plt.subplots()
    ax.plot(spacings, front_to_back, marker="o", label="phase = spacing")
    ax.plot(table["parameter"], table["front_to_back_db"], label="phase 0.25")
    ax.set_xlabel("spacing, wavelengths")
    ax.set_ylabel("front-to-back, dB")
    ax.legend()
    fig.savefig("spacing_sweep.png")
