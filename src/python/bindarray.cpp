#include <pybind11/stl.h>

#include "app/inputerror.h"
#include "config/messages.h"
#include "model/wires.h"
#include "python/bindings.h"
#include "python/language.h"
#include "python/pyarray.h"

namespace py = pybind11;

namespace {

constexpr const char* kEmitterDoc = R"(One emitter of an array, a record that does not change.

x, y: position east and north of the origin, wavelengths.
phase: the current's lag, periods (1.0 is a whole period).
amplitude: the current's relative magnitude.
on: whether it radiates.
length: the wire's length in wavelengths, or None for an ideal emitter.
radius: its wire's own radius in wavelengths, or None for the array's.)";

constexpr const char* kArrayDoc = R"(A planar array of up to eight emitters and its surroundings.

Array() is the window's start-up square of four isotropic emitters; Array(emitters) takes
a sequence of Emitter records. Keywords:
  type: 0 isotropic, 1 vertical dipoles, 2 horizontal dipoles with the wire west-east
        (lobes north and south), 3 with the wire south-north, -1 no element factor.
  model: None (the window's formula; free space for wires; over the ground where one is set),
         'window' or 'free-space' (which then outweighs the ground).
  ground: 'none', 'perfect' or 'real'; soil: a soil's name ('average', 'poor', 'good',
          'very-poor', 'sea', 'fresh-water') or (permittivity, conductivity in S/m).
  height: the array's plane above the ground, wavelengths; frequency: MHz.
  elevation: degrees of the azimuth cut; None: 0, over ground the take-off angle.
  radius (wavelengths), feed ('current' or 'voltage') and z0 (ohms): of wires with lengths.
  ground_model: how wires see real ground, 'sommerfeld' (None: the default) or 'reflection'
                (faster, sound for wires 0.2 wavelength up or more).
  modes_per_wavelength: sinusoidal segments per wavelength of wire, 10 to 400 (default 40),
                        to check that the wires' figures have settled.
  network: a SPICE netlist the wires are fed through (needs frequency=, the design frequency
           of its parts); analyse() then gives its figures as Analysis.network, sweep() their
           columns at every step. design() takes the wires without a network.)";

const char* FieldModelNameOf(const std::optional<TFieldModel>& model) {
    return model ? FieldModelName(*model) : nullptr;
}

void SetModel(TPyArray& a, const std::optional<std::string>& name) {
    if (!name) {
        a.Model.reset();
        return;
    }
    const auto model = ValueNamed<TFieldModel>(kChosenModelNames, *name);
    if (!model) throw EUsageError(TrFormat("model='%s': 'window', 'free-space' or None", {*name}));
    a.Model = model;
}

void SetGround(TPyArray& a, const std::string& name) {
    const auto kind = ValueNamed<TGroundKind>(kGroundKindNames, name);
    if (!kind) throw EUsageError(TrFormat("ground='%s': 'none', 'perfect' or 'real'", {name}));
    a.Ground.Kind = *kind;
}

void SetSoil(TPyArray& a, const py::object& soil) {
    if (soil.is_none()) {
        a.SoilGiven = false;
        return;
    }
    if (py::isinstance<py::str>(soil)) {
        const std::string name = soil.cast<std::string>();
        for (const TSoil& s : kSoils) {
            if (s.Name != name) continue;
            a.Ground.Permittivity = s.Permittivity;
            a.Ground.Conductivity = s.Conductivity;
            a.SoilGiven = true;
            return;
        }
        throw EUsageError(TrFormat(
            "soil='%s': average, poor, good, very-poor, sea, fresh-water, or (permittivity, "
            "conductivity)",
            {name}));
    }
    const auto pair = soil.cast<std::pair<double, double>>();
    a.Ground.Permittivity = Checked("permittivity", pair.first, TQuantity::Permittivity);
    a.Ground.Conductivity = Checked("conductivity", pair.second, TQuantity::Conductivity);
    a.SoilGiven = true;
}

void SetType(TPyArray& a, int type) {
    if (type < -1 || type >= kEmitterTypeCount) {
        throw EUsageError(
            TrFormat("type=%s: 0 isotropic, 1 vertical dipoles, 2 horizontal dipoles with the wire "
                     "west-east, 3 with the wire south-north, or -1 no element factor",
                     {std::to_string(type)}));
    }
    a.Array.EmitterType = type;
}

// The segments a script may ask for, as the command line's --modes-per-wavelength takes them:
// fewer leave a half-wave dipole unresolved, more only slow the solve.
constexpr int kMinSegmentsPerWavelength = 10;
constexpr int kMaxSegmentsPerWavelength = 400;

void SetGroundModel(TPyArray& a, const std::optional<std::string>& name) {
    a.GroundModel.reset();
    if (!name) return;
    a.GroundModel = ValueNamed<TGroundModel>(kGroundModelNames, *name);
    if (!a.GroundModel) {
        throw EUsageError(
            TrFormat("ground_model='%s': 'sommerfeld', 'reflection' or None", {*name}));
    }
}

void SetModes(TPyArray& a, int modes) {
    if (modes < kMinSegmentsPerWavelength || modes > kMaxSegmentsPerWavelength) {
        throw EUsageError(
            TrFormat("modes_per_wavelength=%s: a whole number from %s to %s",
                     {std::to_string(modes), std::to_string(kMinSegmentsPerWavelength),
                      std::to_string(kMaxSegmentsPerWavelength)}));
    }
    a.Wires.SegmentsPerWavelength = modes;
}

void SetFeed(TPyArray& a, const std::string& feed) {
    if (feed != "current" && feed != "voltage") {
        throw EUsageError(TrFormat("feed='%s': 'current' or 'voltage'", {feed}));
    }
    a.Wires.Feed = feed == "voltage" ? TFeed::Voltage : TFeed::Current;
    a.FeedGiven = true;
}

std::string EmitterRepr(const TPyEmitter& e) {
    const auto number = [](double v) { return py::repr(py::float_(v)).cast<std::string>(); };
    std::string text = "Emitter(x=" + number(e.X) + ", y=" + number(e.Y) +
                       ", phase=" + number(e.Phase) + ", amplitude=" + number(e.Amplitude) +
                       ", on=" + (e.On ? "True" : "False");
    if (e.Length) text += ", length=" + number(*e.Length);
    if (e.Radius) text += ", radius=" + number(*e.Radius);
    return text + ")";
}

}  // namespace

void Warn(const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
        if (PyErr_WarnEx(PyExc_UserWarning, text.c_str(), 2) != 0) throw py::error_already_set();
    }
}

void BindArray(py::module_& m) {
    py::class_<TPyEmitter>(m, "Emitter", kEmitterDoc)
        .def(py::init([](double x, double y, double phase, double amplitude, bool on,
                         std::optional<double> length, std::optional<double> radius) {
                 return TPyEmitter{x, y, phase, amplitude, on, length, radius};
             }),
             py::arg("x") = 0.0, py::arg("y") = 0.0, py::arg("phase") = 0.0,
             py::arg("amplitude") = 1.0, py::arg("on") = true, py::arg("length") = py::none(),
             py::arg("radius") = py::none())
        .def_readonly("x", &TPyEmitter::X, "East of the origin, wavelengths.")
        .def_readonly("y", &TPyEmitter::Y, "North of the origin, wavelengths.")
        .def_readonly("phase", &TPyEmitter::Phase, "The current's lag, periods.")
        .def_readonly("amplitude", &TPyEmitter::Amplitude, "The current's relative magnitude.")
        .def_readonly("on", &TPyEmitter::On, "Whether the emitter radiates.")
        .def_readonly("length", &TPyEmitter::Length,
                      "The wire's length in wavelengths; None for an ideal emitter.")
        .def_readonly("radius", &TPyEmitter::Radius,
                      "Its wire's own radius in wavelengths; None for the array's.")
        .def(
            "replace",
            [](const TPyEmitter& e, const py::kwargs& changes) {
                TPyEmitter out = e;
                for (const auto& [key, value] : changes) {
                    const std::string name = key.cast<std::string>();
                    if (name == "x")
                        out.X = value.cast<double>();
                    else if (name == "y")
                        out.Y = value.cast<double>();
                    else if (name == "phase")
                        out.Phase = value.cast<double>();
                    else if (name == "amplitude")
                        out.Amplitude = value.cast<double>();
                    else if (name == "on")
                        out.On = value.cast<bool>();
                    else if (name == "length")
                        out.Length = value.cast<std::optional<double>>();
                    else if (name == "radius")
                        out.Radius = value.cast<std::optional<double>>();
                    else
                        throw py::type_error("Emitter has no field " + name);
                }
                return out;
            },
            "A copy with the fields given as keywords changed.")
        .def("__eq__",
             [](const TPyEmitter& a, const TPyEmitter& b) {
                 return a.X == b.X && a.Y == b.Y && a.Phase == b.Phase &&
                        a.Amplitude == b.Amplitude && a.On == b.On && a.Length == b.Length &&
                        a.Radius == b.Radius;
             })
        .def("__repr__", &EmitterRepr);

    py::class_<TPyArray>(m, "Array", kArrayDoc)
        .def(py::init([](std::optional<std::vector<TPyEmitter>> emitters, int type,
                         std::optional<std::string> model, const std::string& ground,
                         const py::object& soil, double height, std::optional<double> frequency,
                         std::optional<double> elevation, std::optional<double> radius,
                         std::optional<std::string> feed, double z0,
                         std::optional<std::string> groundModel, int modes,
                         std::optional<std::string> network) {
                 TPyArray a;
                 if (emitters) {
                     a.SetEmitters(*emitters);
                 } else {
                     a.Array = MakeInitialArray();
                     a.Count = kEmitterCount;
                 }
                 SetType(a, type);
                 SetModel(a, model);
                 SetGround(a, ground);
                 SetSoil(a, soil);
                 a.Ground.HeightWavelengths = Checked("height", height, TQuantity::Height);
                 if (frequency)
                     a.Ground.FrequencyMhz = Checked("frequency", *frequency, TQuantity::Frequency);
                 if (elevation)
                     a.Elevation = Checked("elevation", *elevation, TQuantity::Elevation);
                 if (radius) {
                     a.Wires.Radius =
                         static_cast<double>(Checked("radius", *radius, TQuantity::WireRadius));
                     a.RadiusGiven = true;
                 }
                 if (feed) SetFeed(a, *feed);
                 a.Wires.Z0 = static_cast<double>(Checked("z0", z0, TQuantity::Z0));
                 a.Z0Given = a.Wires.Z0 != TWireSettings{}.Z0;
                 SetGroundModel(a, groundModel);
                 SetModes(a, modes);
                 SetNetwork(a, network);
                 return a;
             }),
             py::arg("emitters") = py::none(), py::kw_only(), py::arg("type") = 0,
             py::arg("model") = py::none(), py::arg("ground") = "none",
             py::arg("soil") = py::none(), py::arg("height") = 0.0,
             py::arg("frequency") = py::none(), py::arg("elevation") = py::none(),
             py::arg("radius") = py::none(), py::arg("feed") = py::none(), py::arg("z0") = 50.0,
             py::arg("ground_model") = py::none(),
             py::arg("modes_per_wavelength") = kDefaultSegmentsPerWavelength,
             py::arg("network") = py::none())
        .def_property(
            "emitters", [](const TPyArray& a) { return py::tuple(py::cast(a.Emitters())); },
            [](TPyArray& a, const std::vector<TPyEmitter>& e) { a.SetEmitters(e); },
            "The emitters in number order, as a tuple of Emitter records; assign a sequence to "
            "change them.")
        .def_property(
            "type", [](const TPyArray& a) { return a.Array.EmitterType; }, &SetType,
            "0 isotropic, 1 vertical dipoles, 2 horizontal dipoles with the wire west-east (lobes "
            "north and south), 3 with the wire south-north, -1 no element factor.")
        .def_property(
            "model", [](const TPyArray& a) { return FieldModelNameOf(a.Model); }, &SetModel,
            "The formula: None, 'window' or 'free-space'.")
        .def_property(
            "ground",
            [](const TPyArray& a) {
                return std::string(NameOf<TGroundKind>(kGroundKindNames, a.Ground.Kind));
            },
            &SetGround, "'none', 'perfect' or 'real'.")
        .def_property(
            "soil",
            [](const TPyArray& a) -> std::optional<std::pair<double, double>> {
                if (!a.SoilGiven) return std::nullopt;
                return std::pair{static_cast<double>(a.Ground.Permittivity),
                                 static_cast<double>(a.Ground.Conductivity)};
            },
            &SetSoil, "A real ground's (relative permittivity, conductivity in S/m), or None.")
        .def_property(
            "height",
            [](const TPyArray& a) { return static_cast<double>(a.Ground.HeightWavelengths); },
            [](TPyArray& a, double v) {
                a.Ground.HeightWavelengths = Checked("height", v, TQuantity::Height);
            },
            "The array's plane above the ground, wavelengths.")
        .def_property(
            "frequency",
            [](const TPyArray& a) -> std::optional<double> {
                if (!(a.Ground.FrequencyMhz > 0)) return std::nullopt;
                return static_cast<double>(a.Ground.FrequencyMhz);
            },
            [](TPyArray& a, std::optional<double> v) {
                a.Ground.FrequencyMhz = v ? Checked("frequency", *v, TQuantity::Frequency) : 0;
            },
            "MHz, or None.")
        .def_property(
            "elevation",
            [](const TPyArray& a) -> std::optional<double> {
                if (!a.Elevation) return std::nullopt;
                return static_cast<double>(*a.Elevation);
            },
            [](TPyArray& a, std::optional<double> v) {
                a.Elevation.reset();
                if (v) a.Elevation = Checked("elevation", *v, TQuantity::Elevation);
            },
            "Degrees of the azimuth cut; None: 0, over ground the take-off angle.")
        .def_property(
            "radius", [](const TPyArray& a) { return a.Wires.Radius; },
            [](TPyArray& a, double v) {
                a.Wires.Radius = static_cast<double>(Checked("radius", v, TQuantity::WireRadius));
                a.RadiusGiven = true;
            },
            "The wires' radius, wavelengths.")
        .def_property(
            "feed",
            [](const TPyArray& a) {
                return a.Wires.Feed == TFeed::Voltage ? "voltage" : "current";
            },
            &SetFeed, "'current' or 'voltage': what the wires' sources hold.")
        .def_property(
            "z0", [](const TPyArray& a) { return a.Wires.Z0; },
            [](TPyArray& a, double v) {
                a.Wires.Z0 = static_cast<double>(Checked("z0", v, TQuantity::Z0));
                a.Z0Given = true;
            },
            "The line impedance the SWR is taken against, ohms.")
        .def_property(
            "ground_model",
            [](const TPyArray& a) -> std::optional<std::string> {
                if (!a.GroundModel) return std::nullopt;
                return std::string(NameOf<TGroundModel>(kGroundModelNames, *a.GroundModel));
            },
            &SetGroundModel,
            "How wires see real ground: None (Sommerfeld's), 'sommerfeld' or 'reflection'.")
        .def_property(
            "modes_per_wavelength", [](const TPyArray& a) { return a.Wires.SegmentsPerWavelength; },
            &SetModes, "Sinusoidal segments per wavelength of wire, 10 to 400.")
        .def_property(
            "network",
            [](const TPyArray& a) -> std::optional<std::string> {
                if (!a.Network) return std::nullopt;
                return a.NetworkFile;
            },
            &SetNetwork, "The netlist the wires are fed through, as given, or None.")
        .def(
            "save",
            [](const TPyArray& a, const std::string& path, const std::string& lang) {
                UseLanguage(lang);
                const TPyArray held = a;
                py::gil_scoped_release release;
                SaveArray(held, path);
            },
            py::arg("path"), py::kw_only(), py::arg("lang") = "en",
            "Writes the array as a configuration file, as the command line's save writes it: "
            "an earlier file's other keys stay.")
        .def("__copy__", [](const TPyArray& a) { return a; })
        .def("__deepcopy__", [](const TPyArray& a, const py::dict&) { return a; });

    m.def(
        "load",
        [](const std::string& path, const std::string& lang) {
            UseLanguage(lang);
            std::vector<std::string> warnings;
            TPyArray array;
            {
                py::gil_scoped_release release;
                array = LoadArray(path, warnings);
            }
            Warn(warnings);
            return array;
        },
        py::arg("path"), py::kw_only(), py::arg("lang") = "en",
        "Loads a configuration file as the window loads it, with its currents, ground and "
        "wires; what the load passes over is warned of.");
}
