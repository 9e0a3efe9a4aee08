#include "cli/usage.h"

#include "app/version.h"
#include "config/messages.h"

std::string VersionText() {
    return "arraypattern-cli " ARRAYPATTERN_PACKAGE_VERSION "\n";
}

namespace {

// The help, section by section: each block is a message of its own, so a translator works on
// one table of options or one section at a time, and a change to one section leaves the
// other sections' translations standing. A block ends with the blank line that follows it.
constexpr const char* kUsageBlocks[] = {
    Msgid(
        R"(arraypattern-cli pattern [OPTIONS]           print the pattern and its read-outs
arraypattern-cli export  [OPTIONS] OUT.bmp   write the 880 x 880 diagram picture
arraypattern-cli save    [OPTIONS] OUT.txt   write the configuration file
arraypattern-cli plot    [OPTIONS] --kind KIND OUT.bmp|.png|.svg|.pdf
                                             draw a picture in the format of OUT's extension
arraypattern-cli nec     [OPTIONS] OUT.nec   write a NEC-2 input deck of the array
arraypattern-cli sweep   [OPTIONS] --vary TARGET --from A --to B (--steps N | --step S)
                                             a row of every figure for each value
arraypattern-cli design  [OPTIONS] --goal GOAL OUT.txt
                                             write the excitation that reaches the goal
)"),
    Msgid(
        R"(OPTIONS:
  --config FILE        load this configuration first (as the window's load does); repeat it
                       for one result per file (pattern) or an overlay of the files (plot).
                       A pipe, fifo, device or /proc file is read to its end (up to 256 MB)
  --type N             then set the emitter type as the radio group would (limited to -1..3)
  --focus BEARING      then focus the beam at this whole bearing 0..359 (as the window's focusing does)
  --elevation DEG      elevation for the pattern: a number from 0 to 85 (default 0)
  --model window|free-space   the pattern's formula (default window, the window's own)
  --bearing BEARING    whole bearing 0..359 of the elevation cut (default: the maximum's)
  --decimal-mark C     the decimal separator for reading and writing (default: the locale's)
)"),
    Msgid(
        R"(  --format text|json|csv   output of `pattern` (default text)
  --cut elevation      with --format csv: the elevation cut instead of the samples
  --kind KIND          what `plot` draws: diagram, polar-db, rect-db, elevation,
                       elevation-heights, report or 3d
  --floor DB           3d: the level at the centre of the dB radius (default -30)
  --scale db|linear    3d: the radius in dB above the floor (default) or the field itself
  --scale relative|dbi polar-db, rect-db, elevation, report: each file to its own maximum, or
                       all on one axis of directivity (over ground: against the power into the
                       upper half-space) in dBi, the legend giving each peak; overlays are in
                       dBi wherever every file has a directivity
  --view AZ,EL         3d: the viewer's compass bearing and elevation (default 225,30, from
                       the south-west, 30 degrees above)
)"),
    Msgid(
        R"(  --ground none|perfect|real   the array over a flat ground (default none: free space);
                       selects the over-ground model, so it excludes --model
  --height H           height of the array's plane above the ground, wavelengths (0..100);
                       repeat it for plot --kind elevation-heights
  --frequency MHz      the frequency, needed over real ground
  --soil PRESET        the ground's permittivity and conductivity, one of:
                         average 13, 0.005 S/m   poor 5, 0.001     good 20, 0.0303
                         very-poor 3, 0.001      sea 81, 5         fresh-water 80, 0.001
  --permittivity E     relative permittivity of real ground (1 or more)
  --conductivity S     conductivity of real ground, S/m
)"),
    Msgid(
        R"(  --set N:FIELD=VALUE  after loading, before focusing: set one field of emitter N (1..8);
                       FIELD x, y (wavelengths), phase (periods, or degrees as phase=-90deg),
                       amplitude (relative current, 0 or more) or on (0 or 1); repeatable
  --taper KIND         then set the amplitudes of the emitters switched on, which must lie
                       evenly spaced on one line in the order of their numbers: uniform,
                       binomial, chebyshev:SLL (Dolph-Chebyshev) or taylor:SLL[:NBAR] (n-bar,
                       default 4), SLL the side-lobe level in dB (negative); largest weight 1
)"),
    Msgid(
        R"(  --vary TARGET        sweep: N:x, N:y, N:phase, N:amplitude, elevation, focus or height
  --from A, --to B, --steps N, --step S   sweep: the values, ends included
  --plot OUT           sweep: also draw the figures against the parameter (.png, .svg, ...)
  --figures A,B,...    sweep: the figures --plot draws (default all)
  --frames OUT.gif     sweep: also an animated GIF of the polar-db chart, a frame a step
)"),
    Msgid(
        R"(  --goal GOAL          design: max-directivity (w = A^-1 s, exact), nulls (the same with an
                       exact null at each --null bearing), front-to-back or front-to-rear
                       (phases, with --amplitudes free also amplitudes 0..1, by Nelder-Mead
                       from a fixed seed), towards --bearing at --elevation
  --null B             design: a bearing to null (repeatable)
  --amplitudes fixed|free   design front-to-back/-rear: whether amplitudes may change
)"),
    Msgid(
        R"(  --dipole-length L    nec: length of each short dipole, wavelengths (default 0.02)
  --strict             a configuration's warnings (unknown sections or keys, values that
                       do not parse, emitter numbers outside 1..8, a limited type) fail the
                       call with exit 1; without it they are printed and the file loads as the
                       window loads it
  --lang ru|en         the language of messages, metric names, charts and reports (default
                       the locale's: Russian under a Russian locale, English otherwise)
  -h, --help, --version

)"),
    Msgid(
        R"(The array starts as the window starts (emitters 1-4 in a square steered to bearing 45),
then --config, --type, every --set, --taper and --focus are applied in that order.

)"),
    Msgid(
        R"(Phase and amplitude. Each emitter contributes amplitude * exp(j 2 pi (Phase - r.u)): its
phase is a lag, in periods, and the beam turns towards the emitters with the larger phase
(a cardioid pair beams towards the emitter of phase 0.25). NEC's current phases are leads:
a phase P here is a current of phase -360 P degrees there. The file's "Амплитуда" key (1
where missing; the window ignores and keeps it) sets the amplitude; full scale, the outer
ring and 0 dB of the charts, is the sum of the amplitudes of the emitters switched on. The elevation accepts the
decimal mark or a full stop. Options may also be written --option=VALUE.

)"),
    Msgid(
        R"(Models. window: the window's formula, as it draws. free-space: the field of the array in
free space towards bearing b at elevation e above the horizon, with u = (cos e sin b,
cos e cos b, sin e) in (east, north, up): E(u) |sum over the emitters switched on of
exp(j 2 pi (Phase - X u_east - Y u_north))|, E = 1 for types -1 and 0, cos e for 1 (a short
vertical dipole), sqrt(1 - u_east^2) for 2 (a short dipole along west-east) and
sqrt(1 - u_north^2) for 3 (along north-south). At elevation 0 both give the same samples.

)"),
    Msgid(
        R"(Pictures (plot). diagram: the window's export drawing of one file, with the pattern of the
chosen model at the chosen elevation (with --model window exactly what `export` writes;
`export` itself always draws the window's). polar-db: the level
20 log10(sample / maximum) on the ARRL scale (radius 0.89^(-dB/2)), rings at 0, -3, -6, -10,
-20 and -30 dB, north up, the half-power points marked. rect-db: level against bearing,
-40..0 dB, with a -3 dB line. elevation: the elevation cut on the ARRL scale, horizon to
zenith. report: one A4 page with each file's diagram, the three charts, the grid
and every figure of each file, for up to 8 files. Several files overlay in twelve colours,
then the same dashed, dotted and dash-dotted, with a legend that keeps to a quarter of the
chart and counts the names it has no room for. Names are shown in the locale's charset, else
as Windows-1251, else with \xNN escapes.
`export` always writes BMP, whatever OUT's extension. `plot` writes the same BMP bytes for
.bmp, the same pixels as PNG for .png, and the same drawing as vectors for .svg and .pdf.

)"),
    Msgid(
        R"(Output of `pattern`:
  text  the three read-outs as the window's labels show them, the emitter table as the
        grid shows it (number, on 1 / off 0, X, Y, Phase), then the metrics and the
        directivities.
  json  one object: config (when given), model, elevation, type, labels {elevation, gain,
        bearing}, max_gain, max_gain_angle (sample index), bearing, gain_db, emitters (n,
        enabled, x, y, phase, texts), samples (361 values), metrics {beamwidth_deg,
        first_null_beamwidth_deg, front_to_back_db, front_to_rear_db, front_to_side_db,
        side_lobe_db, nulls}, directivity_dbi, peak_directivity_dbi, peak_bearing_deg,
        peak_elevation_deg, elevation_cut {model, bearing, samples: 91 values for
        elevation 0..90; free-space when the pattern's model is the window's}. metrics is null when the pattern is zero everywhere, the directivities when
        the array radiates nothing.
  csv   index,bearing,value,db: sample i = 0..360 at bearing (i + 180) mod 360, the value
        with 21 significant digits, db = 20 log10(value / maximum), empty where value is 0.
        With --cut elevation: bearing,elevation,value,db for elevation 0..90.
)"),
    Msgid(
        R"(With --config given more than once: json is one object a line (JSON Lines), csv leads each
row with a config column, text is a block per file headed by "== FILE". A file that fails
is reported on standard error with its path; the others still run.
In json, bytes of a file name that are not UTF-8 are written as \u0080..\u00ff, the
characters of their Latin-1 reading, so the output always parses.

)"),
    Msgid(
        R"(Metrics, from samples 0..359 (sample 360 repeats sample 0). A level is the power ratio to
the maximum in decibels, 20 log10(sample / maximum); the maximum is the sample the window
reports (the first largest). A sample at most 1e-12 of the maximum is rounding noise and
counts as 0: a ratio against it is "inf" in text and null in json. A pattern whose maximum
is at most 1e-12 of the number of emitters switched on is zero everywhere.
  beamwidth_deg     between the half-power points (-3 dB: half the power, 1/sqrt(2) of the
                    maximum's amplitude). Walking from the maximum in each direction to the
                    first sample below half power, the point is solved between that sample
                    and the one before it on the pattern's own formula (the same model and
                    elevation as the samples) by Brent's method, to 1e-9 degree. The width
                    is their distance across the 0/360 seam; 360 when no sample is below.
  first_null_beamwidth_deg
                    the main lobe's width between its first local minima (as side_lobe_db
                    finds them); 360 when the main lobe covers the whole circle.
)"),
    Msgid(
        R"(  front_to_back_db  the maximum against the sample 180 degrees away from it:
                    20 log10(maximum / that sample).
  front_to_rear_db  the maximum against the largest sample more than 90 degrees from it.
  front_to_side_db  the maximum against the larger of the samples 90 degrees either side.
  side_lobe_db      the main lobe runs from the maximum in each direction while the
                    samples do not rise (by more than 1e-12 of the maximum), down to the
                    first local minimum; the highest sample outside it is the highest side
                    lobe. None (null) when the main lobe covers the whole circle.
  nulls             runs of adjacent samples below -40 dB, each reported by the bearing where
                    the continuous pattern is least within it (to a millionth of a degree),
                    ascending, with its depth against the maximum: JSON {bearing, depth_db},
                    depth_db null where the field vanishes; in text as 270 (-inf dB).

)"),
    Msgid(
        R"(Directivity, always from the free-space model (a property of the array), in dBi:
10 log10(4 pi F^2 / integral of F^2 over the sphere), the integral exact from the pair
integrals of the emitters (spherical Bessel functions).
  directivity_dbi       towards the maximum of the pattern at elevation 0.
  peak_directivity_dbi  the largest over the sphere, at peak_bearing_deg and
                        peak_elevation_deg (0..90; the pattern is symmetric about the plane).

)"),
    Msgid(
        R"(Over ground (--ground perfect|real, or the file's keys). The emitters are short dipoles
(types 1, 2 and 3; types -1 and 0 have no polarisation and are refused) at the same height
h. The field is the direct wave plus the wave reflected at the grazing angle e, the vertical
polarisation with the Fresnel coefficient Rv, the horizontal with Rh, for the ground's
relative complex permittivity eps_r - j 60 sigma lambda; perfect ground is Rv = +1,
Rh = -1 (image theory). The azimuth pattern, labels and metrics are taken at --elevation,
by default at the take-off angle (JSON elevation says which).
  ground                      kind, height, frequency, permittivity, conductivity (null in
                              free space)
  takeoff_elevation_deg       the elevation of the maximum over the upper half-space, with
  takeoff_bearing_deg         its bearing
  takeoff_range_deg           [low, high]: the half-power elevations of that lobe
  space_wave_directivity_dbi  4 pi U_max over the power radiated into the upper half-space
                              (exact over perfect ground, by converged quadrature over real)
  gain_dbi                    against the power the sources deliver: the space-wave
                              directivity over perfect ground; null over real ground, whose
                              share of that power (the earth's losses) is not modelled
The free-space directivities stay properties of the array in free space.

)"),
    Msgid(
        R"(nec OUT.nec writes a NEC-2 deck: a centre-fed short dipole (--dipole-length) along each
enabled emitter's axis at its position and height, voltage sources of phase -360 * Phase
degrees (this program's phase is a lag; NEC's current phase is a lead), the ground card (GN 1
perfect, GN 2 Sommerfeld-Norton for real ground), the frequency (299.8 MHz, a wavelength of
1 m, in free space and over perfect ground) and pattern cards for the azimuth pattern at the
elevation used and the elevation cut at its bearing.

)"),
    Msgid(
        R"(Exit status: 0 done; 1 a file could not be written or a configuration could not be
loaded (the window's error text on standard error, with the system's reason after a colon
where the window's text gives none); 2 a bad option or value, including a
configuration file that does not exist or cannot be read (one line naming it; control
characters in names and values are shown escaped). With several files, the worst of them.
Nothing is written on error.
)"),
};

}  // namespace

std::string UsageText() {
    std::string text;
    for (const char* block : kUsageBlocks) text += Tr(block);
    return text;
}
