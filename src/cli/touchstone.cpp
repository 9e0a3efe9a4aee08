#include <charconv>
#include <cmath>
#include <filesystem>

#include "cli/parallel.h"
#include "cli/runner.h"
#include "config/errors.h"
#include "config/messages.h"
#include "config/safefile.h"

namespace {

// Scattering parameters against one real reference impedance: S = (Z - z0)(Z + z0)^-1.
Eigen::MatrixXcd Scattering(const Eigen::MatrixXcd& z, double z0) {
    const Eigen::MatrixXcd unit = Eigen::MatrixXcd::Identity(z.rows(), z.cols()) * z0;
    // (Z + z0) and (Z - z0) commute, so the product may be taken from either side.
    return (z + unit).transpose().partialPivLu().solve((z - unit).transpose()).transpose();
}

// Twelve significant digits whatever the process locale: simulators read a full stop.
std::string Number(double v) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, v, std::chars_format::scientific, 11);
    return std::string(text, end.ptr);
}

std::string Pair(std::complex<double> s) {
    return " " + Number(s.real()) + " " + Number(s.imag());
}

std::string TouchstoneText(const std::vector<double>& mhz, const std::vector<Eigen::MatrixXcd>& z,
                           const std::vector<int>& numbers, double z0) {
    std::string out = "! arraypattern-cli touchstone: the array's feeds as an N-port\n";
    for (std::size_t p = 0; p < numbers.size(); ++p)
        out += "! port " + std::to_string(p + 1) + ": emitter " + std::to_string(numbers[p]) + '\n';
    char reference[32];
    const auto end = std::to_chars(reference, reference + sizeof reference, z0);
    out += "# MHz S RI R " + std::string(reference, end.ptr) + '\n';
    const auto n = static_cast<Eigen::Index>(numbers.size());
    for (std::size_t f = 0; f < mhz.size(); ++f) {
        const Eigen::MatrixXcd s = Scattering(z[f], z0);
        out += Number(mhz[f]);
        if (n <= 2) {
            // One line a frequency, column by column: a two-port reads S11 S21 S12 S22.
            for (Eigen::Index c = 0; c < n; ++c) {
                for (Eigen::Index r = 0; r < n; ++r) out += Pair(s(r, c));
            }
            out += '\n';
            continue;
        }
        for (Eigen::Index r = 0; r < n; ++r) {
            for (Eigen::Index c = 0; c < n; ++c) {
                if (c > 0 && c % 4 == 0) out += '\n';
                out += Pair(s(r, c));
            }
            out += '\n';
        }
    }
    return out;
}

}  // namespace

// The port impedance matrix of the wires at each frequency, solved as sweep --vary frequency
// solves it, written as scattering parameters that circuit simulators read.
int RunTouchstone(const TCliOptions& options, std::string&) {
    return Guarded("", [&] {
        const TAnalysisRequest request = RequestFor(options, Configs(options).front());
        const TDesignFrequencyArray design = ArrayAtDesign(request);
        const int steps = *options.Steps;
        std::vector<double> mhz(static_cast<std::size_t>(steps) + 1);
        for (std::size_t k = 0; k < mhz.size(); ++k) {
            const long double t = static_cast<long double>(k) / steps;
            mhz[k] = static_cast<double>(
                k == mhz.size() - 1 ? options.To : options.From * (1 - t) + options.To * t);
            if (!(mhz[k] > 0)) {
                throw EUsageError(TrFormat("frequency %s is not above 0", {Number(mhz[k])}));
            }
        }
        std::vector<Eigen::MatrixXcd> z(mhz.size());
        std::vector<int> numbers;
        std::vector<std::exception_ptr> errors(mhz.size());
        ParallelFor(mhz.size(), [&](std::size_t k) {
            try {
                const TPatternResult result = Analyse(FrequencyStep(request, design, mhz[k]));
                if (!result.Wires.Solved) return;
                z[k] = result.Wires.Solved->Coupling.ImpedanceMatrix;
                if (k == 0) {
                    for (const TEmitterFeed& e : result.Wires.Solved->Coupling.Emitters)
                        numbers.push_back(e.Number);
                }
            } catch (...) {
                errors[k] = std::current_exception();
            }
        });
        for (const std::exception_ptr& error : errors) {
            if (error) std::rethrow_exception(error);
        }
        if (numbers.empty()) {
            throw EUsageError(
                Tr("touchstone needs wires: give the emitters lengths (--length, --set N:length "
                   "or the file's)"));
        }
        const std::string wanted = ".s" + std::to_string(numbers.size()) + "p";
        std::string extension = std::filesystem::path(options.OutputFile).extension().string();
        for (char& c : extension)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (extension != wanted) {
            throw EUsageError(
                TrFormat("%s: the array has %s ports, so the file is %s",
                         {options.OutputFile, std::to_string(numbers.size()), wanted}));
        }
        const double z0 = options.Wires.Z0.value_or(50);
        const TFileWriteResult written =
            ReplaceFileContents(options.OutputFile, TouchstoneText(mhz, z, numbers, z0));
        if (!written.Ok()) {
            throw EFileError(TrFormat("Unable to write to %s", {options.OutputFile}),
                             written.Errno);
        }
    });
}
