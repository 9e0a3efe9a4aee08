#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <cstring>

#include "app/inputerror.h"
#include "config/errors.h"
#include "config/messages.h"
#include "config/safefile.h"
#include "python/bindings.h"
#include "python/language.h"
#include "python/steps.h"

namespace py = pybind11;

namespace {

constexpr const char* kModuleDoc =
    R"(The radiation pattern of a planar array of up to eight emitters.

    import arraypattern as ap
    a = ap.load("/usr/share/arraypattern/examples/four-square.txt")
    r = ap.analyse(a)
    print(r.directivity_dbi, r.front_to_back_db, r.samples.max())

Array and Emitter hold an array; load() reads and Array.save() writes a configuration file;
analyse() gives the figures, the pattern and the wires' coupling; sweep() tabulates the figures
against one parameter; design() returns an array with a designed excitation. Bad input raises
ValueError with the engine's reason (in Russian with lang="ru"), a file that cannot be read or
written OSError, an allocation that fails MemoryError. The engine runs without the
interpreter's lock: threads analyse in parallel.)";

void Translate(std::exception_ptr error) {
    try {
        if (error) std::rethrow_exception(error);
    } catch (const EFileError& e) {
        const std::string text =
            e.Errno == 0 ? e.what() : std::string(e.what()) + ": " + SystemErrorText(e.Errno);
        PyErr_SetObject(PyExc_OSError, py::make_tuple(e.Errno, text).ptr());
    } catch (const EUsageError& e) {
        PyErr_SetString(PyExc_ValueError, e.what());
    } catch (const EHandlerError& e) {
        // The window's own error texts: a value the file or the array cannot hold.
        PyErr_SetString(PyExc_ValueError, e.what());
    }
}

}  // namespace

PYBIND11_MODULE(arraypattern, m) {
    m.doc() = kModuleDoc;
    py::register_exception_translator(&Translate);
    BindArray(m);
    BindAnalysis(m);
    BindSteps(m);
}

void BindSteps(py::module_& m) {
    m.def(
        "sweep",
        [](const TPyArray& array, const std::string& parameter, const std::vector<double>& values,
           const std::string& lang) {
            UseLanguage(lang);
            TSweepTable table;
            const TPyArray held = array;
            {
                py::gil_scoped_release release;
                table = SweepArray(held, parameter, values);
            }
            py::dict out;
            for (std::size_t c = 0; c < table.Columns.size(); ++c) {
                py::array_t<double> column(static_cast<py::ssize_t>(table.Values[c].size()));
                std::memcpy(column.mutable_data(), table.Values[c].data(),
                            table.Values[c].size() * sizeof(double));
                out[py::str(table.Columns[c])] = column;
            }
            return out;
        },
        py::arg("array"), py::arg("parameter"), py::arg("values"), py::kw_only(),
        py::arg("lang") = "en",
        "Analyses the array at each value of the parameter ('elevation', 'focus', 'height', "
        "'frequency', or 'N:x', 'N:y', 'N:phase', 'N:amplitude' of emitter N) and returns the "
        "command line's sweep columns as a dict of numpy arrays, 'parameter' first; NaN where a "
        "step has no value. A frequency sweep scales the array designed at its frequency=. "
        "An array with a network is fed through it at every step, as the command line's sweep "
        "with --network: the columns add tx_swr, tx_r_ohm, tx_x_ohm and each fed emitter's "
        "current_error_db_N and current_error_deg_N; a frequency sweep scales the network's "
        "losses from the array's frequency=.");

    m.def(
        "design",
        [](const TPyArray& array, const std::string& goal, const std::vector<double>& nulls,
           bool freeAmplitudes, std::optional<int> bearing, const std::string& lang) {
            UseLanguage(lang);
            const auto named = ValueNamed<TDesignGoal>(kDesignGoalNames, goal);
            if (!named) {
                throw EUsageError(
                    TrFormat("goal='%s': %s", {goal, NameList<TDesignGoal>(kDesignGoalNames)}));
            }
            if (bearing && (*bearing < 0 || *bearing > 359)) {
                throw EUsageError(
                    TrFormat("bearing=%s: whole degrees 0 to 359", {std::to_string(*bearing)}));
            }
            TPyDesign designed;
            const TPyArray held = array;
            {
                py::gil_scoped_release release;
                designed = DesignArray(held, *named, nulls, freeAmplitudes, bearing);
            }
            if (designed.Warning) Warn({*designed.Warning});
            return designed.Array;
        },
        py::arg("array"), py::arg("goal"), py::kw_only(), py::arg("nulls") = std::vector<double>{},
        py::arg("free_amplitudes") = false, py::arg("bearing") = py::none(), py::arg("lang") = "en",
        "Designs the excitation for the goal, as the command line's design does, and returns "
        "the new Array. goal: 'max-directivity', 'nulls' (with nulls=, compass degrees), "
        "'front-to-back' or 'front-to-rear' (free_amplitudes=True lets them change the "
        "amplitudes); bearing: the beam's, default the maximum's. A super-directive design is "
        "warned of; one that cannot meet the goal, or does not improve on the input, raises. "
        "The design takes the wires without a network, as the command line's does: an array "
        "with a network raises.");
}
