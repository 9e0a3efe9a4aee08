#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "cli/options.h"
#include "cli/parallel.h"
#include "cli/report.h"
#include "cli/sweep.h"
#include "cli/usage.h"
#include "config/configfile.h"
#include "config/errors.h"
#include "config/messages.h"
#include "config/nametext.h"
#include "config/necdeck.h"
#include "config/numtext.h"
#include "config/safefile.h"
#include "form/formrules.h"
#include "model/design.h"
#include "model/spheregrid.h"
#include "plot/chartfile.h"
#include "plot/exportpicture.h"
#include "plot/gifanimation.h"
#include "plot/htmlreport.h"
#include "plot/picturefile.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
// Facets of 2 x 2 degrees do not show at 880 pixels.
constexpr double kSurfaceStepDegrees = 2;

// One line whatever the names and values it holds.
void PrintError(const std::string& text) {
    std::fprintf(stderr, "%s\n", EscapeControls(text).c_str());
}

std::string UsageErrorText(const EUsageError& error) {
    return std::string("arraypattern-cli: ") + error.what();
}

std::string WarningText(const std::string& warning) {
    return TrFormat("arraypattern-cli: warning: %s", {warning});
}

// The window's fixed texts, which the model raises as the window shows them, in the reader's
// language; any other text is already in it.
std::string WindowTextInLanguage(const std::string& text) {
    for (const char* fixed :
         {kInvalidOpText, kZeroDivideText, kOverflowText, kStreamWriteErrorText}) {
        if (text == fixed) return Tr(fixed);
    }
    if (text == kOneEmitterMessage) return Tr("One emitter must be left switched on!");
    return text;
}

// The window's text with the system's reason after it, as a script needs to tell a full disk
// from a missing folder.
std::string WithCause(const std::string& text, int errnum) {
    return errnum == 0 ? text : text + ": " + SystemErrorText(errnum);
}

// Runs one step of the call; a failure becomes a line of `errors` (after prefix) and the exit
// status.
template <typename TStep>
int Guarded(const std::string& prefix, std::string& errors, TStep&& step) {
    try {
        step();
        return 0;
    } catch (const EUsageError& e) {
        errors += EscapeControls(UsageErrorText(e)) + '\n';
        return kExitUsage;
    } catch (const EFileError& e) {
        errors += EscapeControls(prefix +
                                 ErrorBoxText(WithCause(WindowTextInLanguage(e.what()), e.Errno))) +
                  '\n';
        return kExitFailure;
    } catch (const std::exception& e) {
        // The window's error texts, and out of memory or an encoder that failed: reported,
        // never a crash.
        errors += EscapeControls(prefix + ErrorBoxText(WindowTextInLanguage(e.what()))) + '\n';
        return kExitFailure;
    }
}

// The same, printing the failure at once.
template <typename TStep>
int Guarded(const std::string& prefix, TStep&& step) {
    std::string errors;
    const int status = Guarded(prefix, errors, std::forward<TStep>(step));
    std::fputs(errors.c_str(), stderr);
    return status;
}

// The configurations of the call in order; the initial array alone when none is given.
std::vector<std::optional<std::string>> Configs(const TCliOptions& options) {
    std::vector<std::optional<std::string>> configs(options.ConfigFiles.begin(),
                                                    options.ConfigFiles.end());
    if (configs.empty()) configs.emplace_back();
    return configs;
}

void PrintMessages(const TArraySession& session, const std::string& prefix) {
    for (const auto& warning : session.Warnings) PrintError(WarningText(warning));
    for (const auto& message : session.Messages) PrintError(prefix + WindowTextInLanguage(message));
}

// With --strict, what a configuration's load passed over fails the call.
void StrictCheck(const TCliOptions& options, const TArraySession& session) {
    if (options.Strict && !session.Warnings.empty()) {
        const unsigned long count = session.Warnings.size();
        throw std::runtime_error(
            FormatMessage(TrPlural("--strict: the configuration has %s warning",
                                   "--strict: the configuration has %s warnings", count),
                          {std::to_string(count)}));
    }
}

// One file of `pattern`: its output, its lines for standard error and its status.
struct TFileReport {
    std::string Output;
    std::string Errors;
    int Status = 0;
    std::optional<TPatternResult> Result;
};

TFileReport ReportFile(const TCliOptions& options, const std::optional<std::string>& config,
                       const TReportPlace& place) {
    TFileReport report;
    const std::string prefix = place.Batch ? *config + ": " : "";
    report.Status = Guarded(prefix, report.Errors, [&] {
        report.Result = Analyse(RequestFor(options, config));
        for (const auto& warning : report.Result->Session.Warnings) {
            report.Errors += EscapeControls(WarningText(warning)) + '\n';
        }
        for (const auto& message : report.Result->Session.Messages) {
            report.Errors += EscapeControls(prefix + WindowTextInLanguage(message)) + '\n';
        }
        report.Output = FormatReport(*report.Result, options, place);
        StrictCheck(options, report.Result->Session);
    });
    // Only a file that leads the output keeps its result, to be told it leads after all.
    if (place.First) report.Result.reset();
    return report;
}

// Each file's result in order; a file that fails is reported with its path and the others
// still run. The status is the worst. The files of a batch are analysed on every core.
int RunPattern(const TCliOptions& options, std::string& output) {
    const auto configs = Configs(options);
    const bool batch = configs.size() > 1;
    std::vector<TFileReport> reports(configs.size());
    ParallelFor(configs.size(), [&](std::size_t i) {
        reports[i] = ReportFile(options, configs[i], {batch, i == 0});
    });

    int status = 0;
    bool first = true;
    for (TFileReport& report : reports) {
        std::fputs(report.Errors.c_str(), stderr);
        status = std::max(status, report.Status);
        if (report.Status != 0) continue;
        // The first file to succeed leads the output (the CSV header, no blank line before).
        if (first && report.Result)
            report.Output = FormatReport(*report.Result, options, {batch, true});
        output += report.Output;
        first = false;
    }
    return status;
}

// The elevation cut of the array at each height, named by it.
void AddHeights(const TCliOptions& options, const std::optional<std::string>& config,
                std::vector<TChartArray>& arrays) {
    for (const long double height : options.Heights) {
        TAnalysisRequest request = RequestFor(options, config);
        request.Ground.HeightWavelengths = height;
        const TPatternResult result = Analyse(request);
        if (arrays.empty()) PrintMessages(result.Session, "");
        TChartArray chart = ChartArrayOf(result);
        chart.Report.Series.Name = "h = " + FormatGeneral(height) + " λ";
        arrays.push_back(std::move(chart));
    }
}

// A row of figures a step, on every core; the chart of the chosen figures when asked for.
int RunSweep(const TCliOptions& options, std::string& output) {
    return Guarded("", [&] {
        const std::vector<long double> values = SweepValues(options);
        std::vector<TCliOptions> steps;
        for (const long double v : values) steps.push_back(SweepStep(options, v));
        const auto config = Configs(options).front();
        std::vector<std::vector<TFigure>> rows(values.size());
        std::vector<std::exception_ptr> errors(values.size());
        const bool frames = !options.FramesFile.empty();
        std::vector<TAnimationFrame> animation(frames ? values.size() : 0);
        ParallelFor(values.size(), [&](std::size_t i) {
            try {
                const TPatternResult result = Analyse(RequestFor(steps[i], config));
                rows[i] = SweepFigures(result);
                if (frames) {
                    animation[i].Series = ChartArrayOf(result).Report.Series;
                    // A focusing bearing is whole: the caption shows the one used.
                    const long double shown = steps[i].FocusBearing && options.Vary == "focus"
                                                  ? *steps[i].FocusBearing
                                                  : values[i];
                    animation[i].Caption = options.Vary + " = " + FormatGeneral(shown);
                }
            } catch (...) {
                errors[i] = std::current_exception();
            }
        });
        // The first failing step stops the sweep with its error, as pattern reports it.
        for (const std::exception_ptr& error : errors) {
            if (error) std::rethrow_exception(error);
        }
        if (!options.PlotFile.empty()) {
            WritePictureFile(options.PlotFile,
                             SweepChartFile(options.Vary, values, rows, options.Figures,
                                            *PictureFormatOf(options.PlotFile)));
        }
        if (frames) WritePictureFile(options.FramesFile, PolarDbAnimation(animation));
        output += FormatSweep(values, rows, options.Format);
    });
}

// The designed excitation written into OUT, then read back and reported as pattern reports
// it, so that the figures printed are the file's.
int RunDesign(const TCliOptions& options, std::string& output) {
    return Guarded("", [&] {
        const auto config = Configs(options).front();
        const TAnalysisRequest request = RequestFor(options, config);
        const TPatternResult start = Analyse(request);
        PrintMessages(start.Session, "");
        StrictCheck(options, start.Session);
        TArray array = start.Session.Model;
        TDesignTarget target;
        target.BearingDegrees = options.CutBearing
                                    ? *options.CutBearing
                                    : DisplayedBearing(start.Session.Pattern.MaxGainAngle);
        target.ElevationDegrees = options.Field.ElevationDegrees;
        target.NullBearings = options.Nulls;
        TDesignReport report;
        const TGround ground =
            start.Field.Model == TFieldModel::OverGround ? start.Field.Ground : TGround{};
        std::string lines;
        if (options.Goal == "max-directivity" || options.Goal == "nulls") {
            if (const auto why = DesignMaxDirectivity(array, ground, target, report)) {
                throw EUsageError("--goal " + options.Goal + ": " + RefusalText(*why));
            }
            lines += TrFormat("sensitivity: %s dB against a uniform excitation",
                              {FormatFixed(report.SensitivityDb, 18, 2)}) +
                     '\n';
            if (report.SensitivityDb > 10) {
                PrintError(WarningText(
                    TrFormat("the design is super-directive: its currents are %s dB larger "
                             "than a uniform excitation's for its field",
                             {FormatFixed(report.SensitivityDb, 18, 1)})));
            }
        } else {
            DesignFrontToBack(array, target, options.Goal == "front-to-rear",
                              options.FreeAmplitudes, report);
            lines += options.Goal + ": " +
                     FormatMessage(
                         TrPlural("%s dB after %s evaluation", "%s dB after %s evaluations",
                                  static_cast<unsigned long>(report.Evaluations)),
                         {FormatFixed(report.Figure, 18, 2), std::to_string(report.Evaluations)}) +
                     '\n';
        }
        SaveConfiguration(FullPath(options.OutputFile), array, array.EmitterType, {},
                          ground.Kind == TGroundKind::None ? nullptr : &ground);
        TCliOptions readBack = options;
        readBack.Settings.clear();
        readBack.Taper.reset();
        readBack.FocusBearing.reset();
        readBack.EmitterType.reset();
        const TPatternResult designed = Analyse(RequestFor(readBack, options.OutputFile));
        output += FormatReport(designed, readBack, {false, true}) + lines;
    });
}

// Every file is analysed before the picture is drawn; a failure leaves no picture.
int RunPlot(const TCliOptions& options) {
    const bool batch = options.ConfigFiles.size() > 1;
    std::vector<TChartArray> arrays;
    int status = 0;
    for (const auto& config : Configs(options)) {
        const std::string prefix = batch ? *config + ": " : "";
        status = std::max(status, Guarded(prefix, [&] {
                              if (options.Kind == TPlotKind::ElevationHeights) {
                                  AddHeights(options, config, arrays);
                                  return;
                              }
                              const TPatternResult result = Analyse(RequestFor(options, config));
                              PrintMessages(result.Session, prefix);
                              StrictCheck(options, result.Session);
                              arrays.push_back(ChartArrayOf(result));
                              if (options.Kind == TPlotKind::Surface3d || options.Html) {
                                  arrays.back().Surface =
                                      std::make_shared<TSphereGrid>(SampleSphere(
                                          result.Session.Model, result.Field, kSurfaceStepDegrees));
                                  arrays.back().View = options.View;
                              }
                          }));
    }
    if (status != 0) return status;
    const bool levels = options.Kind != TPlotKind::Diagram && options.Kind != TPlotKind::Surface3d;
    // Overlays share one dBi axis wherever every file has a directivity, unless told otherwise.
    if (levels && options.DbiScale.value_or(arrays.size() > 1)) {
        std::vector<TChartSeries> series;
        for (const TChartArray& a : arrays) series.push_back(a.Report.Series);
        if (UseDbiScale(series)) {
            for (std::size_t i = 0; i < arrays.size(); ++i) arrays[i].Report.Series = series[i];
        } else if (options.DbiScale.value_or(false)) {
            return Guarded("", [] {
                throw EUsageError(
                    Tr("--scale dbi: a file has no directivity (nothing radiates, or "
                       "the window's model off the horizon)"));
            });
        }
    }
    return Guarded("", [&] {
        WritePictureFile(options.OutputFile, options.Html ? HtmlReport(arrays)
                                                          : ChartFileBytes(options.Kind, arrays,
                                                                           options.PictureFormat));
    });
}

// nec: the deck of the array as the analysis sees it, its patterns at the elevation used and
// along the cut's bearing.
int RunNec(const TCliOptions& options) {
    return Guarded("", [&] {
        const TPatternResult result = Analyse(RequestFor(options, Configs(options).front()));
        PrintMessages(result.Session, "");
        TNecRequest request;
        request.DipoleLengthWavelengths = options.DipoleLength;
        request.ElevationDegrees = result.Field.ElevationDegrees;
        request.CutBearing = result.CutBearing;
        const std::string deck = NecDeck(result.Session.Model, result.Field.Ground, request);
        if (!ReplaceFileContents(options.OutputFile, deck).Ok()) {
            throw EHandlerError(TrFormat("Unable to write to %s", {options.OutputFile}));
        }
    });
}

// save and export: one array, one file.
int RunOneFile(const TCliOptions& options) {
    return Guarded("", [&] {
        const TArraySession session =
            BuildSession(RequestFor(options, Configs(options).front()).Steps);
        PrintMessages(session, "");
        StrictCheck(options, session);
        switch (options.Command) {
            case TCliCommand::Save: {
                const TGround ground = ResolveGround(
                    RequestFor(options, Configs(options).front()).Ground, session.FileGround);
                SaveConfiguration(FullPath(options.OutputFile), session.Model,
                                  session.Model.EmitterType, {}, &ground);
                break;
            }
            default: {
                TExportPicture picture;
                picture.Draw(session.Model, session.Pattern, options.Field.ElevationDegrees);
                picture.Save(options.OutputFile);
                break;
            }
        }
    });
}

// The catalogues lie in ../share/locale from the installed program, and in share/locale beside
// it in the build folder.
std::string CatalogueDirectory() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return "/usr/share/locale";
    const std::filesystem::path installed = self.parent_path().parent_path() / "share/locale";
    const std::filesystem::path built = self.parent_path() / "share/locale";
    return std::filesystem::exists(built / "ru/LC_MESSAGES/arraypattern.mo", error)
               ? built.string()
               : installed.string();
}

int Run(const std::vector<std::string>& args) {
    if (ChooseMessageLanguage(LanguageAsked(args)) != TLanguage::English) {
        OpenCatalogue(CatalogueDirectory());
    }
    char mark = LocaleDecimalMark();
    if (!IsUsableDecimalMark(std::string(1, mark))) mark = '.';
    TCliOptions options;
    try {
        options = ParseCommandLine(args, mark);
    } catch (const EUsageError& e) {
        PrintError(UsageErrorText(e));
        return kExitUsage;
    }
    std::string output;
    int status = 0;
    if (options.Help) {
        output = UsageText();
    } else if (options.Version) {
        output = VersionText();
    } else {
        SetDecimalMark(options.DecimalMark.value_or(mark));
        if (options.Command == TCliCommand::Pattern) {
            status = RunPattern(options, output);
        } else if (options.Command == TCliCommand::Plot) {
            status = RunPlot(options);
        } else if (options.Command == TCliCommand::Nec) {
            status = RunNec(options);
        } else if (options.Command == TCliCommand::Sweep) {
            status = RunSweep(options, output);
        } else if (options.Command == TCliCommand::Design) {
            status = RunDesign(options, output);
        } else {
            status = RunOneFile(options);
        }
    }
    errno = 0;
    const bool written = std::fwrite(output.data(), 1, output.size(), stdout) == output.size();
    if (std::fflush(stdout) != 0 || !written) {
        PrintError(ErrorBoxText(WithCause(Tr(kStreamWriteErrorText), errno)));
        return kExitFailure;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
}
