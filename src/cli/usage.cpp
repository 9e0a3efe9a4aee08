#include "cli/usage.h"

#include <algorithm>

#include "app/version.h"
#include "cli/optiontable.h"
#include "config/messages.h"

std::string VersionText() {
    return "arraypattern-cli " ARRAYPATTERN_PACKAGE_VERSION "\n";
}

namespace {

constexpr std::size_t kSynopsisColumn = 45;
constexpr std::size_t kOptionColumn = 23;
constexpr std::size_t kWidth = 94;

// Characters, not bytes: the Russian help is as wide as the English.
std::size_t Width(std::string_view text) {
    std::size_t n = 0;
    for (const char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return n;
}

// head, then text from the column on, filled to the width: on the head's line when there is
// room, else from the next.
std::string Column(const std::string& head, std::size_t column, const std::string& text) {
    std::string out = head;
    std::size_t at = Width(head);
    if (at + 2 > column) {
        out += '\n';
        at = 0;
    }
    bool lineStart = true;
    std::size_t from = 0;
    while (from < text.size()) {
        std::size_t to = text.find(' ', from);
        if (to == std::string::npos) to = text.size();
        const std::string_view word(text.data() + from, to - from);
        if (!lineStart && at + 1 + Width(word) > kWidth) {
            out += '\n';
            at = 0;
            lineStart = true;
        }
        if (lineStart) {
            out.append(column - std::min(at, column), ' ');
            at = std::max(at, column);
        } else {
            out += ' ';
            ++at;
        }
        out += word;
        at += Width(word);
        lineStart = false;
        from = to + 1;
    }
    return out + '\n';
}

// The definitions after the options, section by section: each block is a message of its own,
// so a change to one section leaves the other sections' translations standing. A block ends
// with the blank line that follows it.
constexpr const char* kUsageBlocks[] = {
    Msgid(
        R"(The array starts as the window starts (emitters 1-4 in a square steered to bearing 45),
then --config, every --set, --taper, --type and --focus are applied in that order.

)"),
    Msgid(
        R"(Phase and amplitude. Each emitter contributes amplitude * exp(j 2 pi (Phase - r.u)): its
phase is a lag, in periods, and the beam turns towards the emitters with the larger phase
(a cardioid pair beams towards the emitter of phase 0.25). In degrees a phase is the
current's angle, as NEC and the studio show it: -360 P degrees for a phase P, a lag negative;
--set N:phase=-90deg is phase 0.25, and the feed table shows its phases so. The file's
"Амплитуда" key (1 where missing; the window ignores and keeps it) sets the amplitude; full
scale, the outer ring and 0 dB of the charts, is the sum of the amplitudes of the emitters
switched on. The elevation accepts the decimal mark or a full stop. Options may also be
written --option=VALUE.

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
        side_lobe_db, main_lobes, nulls}, directivity_dbi, peak_directivity_dbi,
        peak_bearing_deg, peak_elevation_deg, elevation_cut {model, bearing, samples: 91 values for
        elevation 0..90; free-space when the pattern's model is the window's}. metrics is null when the pattern is zero everywhere, the directivities when
        the array radiates nothing. coupling is null for ideal emitters; with lengths it
        holds feed, z0_ohm, radius_wl, impedance_matrix_ohm (rows of [r, x] pairs), emitters
        (number, length_wl, current and voltage {amplitude, phase in periods of lag,
        phase_deg the phasor's angle}, drive_impedance_ohm
        [r, x], swr, power_w), input_power_w, radiated_power_w and efficiency.
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
counts as 0: a ratio against it is "inf" in text, null in json and empty in csv. A pattern
whose maximum is at most 1e-12 of the number of emitters switched on is zero everywhere.
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
                    first local minimum; the other lobes run likewise from minimum to
                    minimum. A lobe that reaches half power in its samples and whose peak on
                    the continuous pattern is at most 0.01 dB below the main lobe's is a
                    main lobe too (the mirror beam of a broadside line). The highest sample
                    outside the main lobes is the highest side lobe. None (null) when the
                    main lobes cover the whole circle.
  main_lobes        the bearings of the main lobes' peaks on the continuous pattern (to a
                    millionth of a degree), ascending; in text as main lobes: 0.00 180.00.
  nulls             runs of adjacent samples below -40 dB, each reported by the bearing where
                    the continuous pattern is least within it (to a millionth of a degree),
                    ascending, with its depth against the maximum: JSON {bearing, depth_db},
                    depth_db null where the field vanishes; in text as 270.00 (-45.10 dB).
                    Deeper than -120 dB the depth is rounding noise: the text reads
                    270.00 (below -120 dB), and JSON adds below_floor: true to the depth.

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
                              share of that power (the earth's losses) is not modelled,
                              unless the emitters have lengths (--length): then the solved
                              wires give it in free space and over any ground, losses included
The free-space directivities stay properties of the array in free space.

)"),
    Msgid(
        R"(Wires over real ground (--ground-model): their currents take the earth's field as
Sommerfeld's integrals give it (sommerfeld, the default), or each image weighted by the
Fresnel coefficients at the specular angle (reflection, sound from 0.2 wavelength up); the
far field is the space wave under both. JSON ground.model names it, and nec writes GN 2 or
GN 0 for it.

)"),
    Msgid(
        R"(Feed network (--network FILE, with lengths): the emitters are fed through the netlist's
circuit from its source, and every figure follows from the currents it delivers. Text adds a
table, JSON a network object (null without --network): transmitter {impedance_ohm [r, x],
swr, power_w}, emitters [{number, current {amplitude, phase}, current_error_db,
current_error_deg, drive_impedance_ohm, power_w}], loss_w; the errors compare each current
with the file's, both taken relative to the emitter of the largest wanted amplitude, null
for a parasitic element or a voltage feed. sweep adds the columns tx_swr, tx_r_ohm, tx_x_ohm,
current_error_db_N and current_error_deg_N, and the report a table. design --goal feed
writes OUT.net and its test bench OUT.cir, or exits 1 with the worst error and the SWR, and
writes nothing, where the network misses the wanted currents by more than 0.5 dB or 5 deg.

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
    for (const TCommandRow& row : CommandTable()) {
        std::string head = "arraypattern-cli " + std::string(row.Name);
        head.resize(std::max<std::size_t>(head.size(), 24), ' ');
        head += " [OPTIONS]";
        if (!row.Arguments.empty()) head += " " + std::string(row.Arguments);
        text += Column(head, kSynopsisColumn, Tr(row.Summary));
    }
    text += '\n' + std::string(Tr("OPTIONS (each names the commands it applies to):")) + '\n';
    for (const TOptionRow& row : OptionTable()) {
        std::string head = "  " + std::string(row.Name);
        if (!row.Value.empty()) head += " " + std::string(row.Value);
        std::string help = Tr(row.Help);
        if (row.Commands != kEveryCommand) help += " [" + CommandNames(row.Commands) + "]";
        text += Column(head, kOptionColumn, help);
    }
    text += '\n';
    for (const char* block : kUsageBlocks) text += Tr(block);
    return text;
}
