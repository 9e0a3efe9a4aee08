#include <algorithm>

#include "cli/feed.h"
#include "cli/parallel.h"
#include "cli/report.h"
#include "cli/runner.h"

namespace {

// Files analysed ahead of the one written: enough to keep every core busy while one file waits
// for a slow writer or a pipe.
constexpr std::size_t kFilesInFlight = 16;

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
    report.Status = GuardedStep(prefix, report.Errors, [&] {
        report.Result = AnalyseFor(options, RequestFor(options, config));
        report.Errors += MessageLines(report.Result->Session, prefix);
        report.Output = FormatReport(*report.Result, options, place);
        StrictCheck(options, report.Result->Session);
    });
    // Only a file that leads the output keeps its result, to be told it leads after all.
    if (place.First) report.Result.reset();
    return report;
}

}  // namespace

// Each file's result in order, written as it comes; a file that fails is reported with its
// path and the others still run. The status is the worst. The files are analysed on every core
// a few ahead of the one written, so that memory stays flat however many files a batch holds.
int RunPattern(const TCliOptions& options, std::string&) {
    const auto configs = Configs(options);
    const bool batch = configs.size() > 1;
    int status = 0;
    bool first = true;
    const auto make = [&](std::size_t i) {
        return ReportFile(options, configs[i], {batch, i == 0});
    };
    const auto take = [&](std::size_t, TFileReport report) {
        std::fputs(report.Errors.c_str(), stderr);
        status = std::max(status, report.Status);
        if (report.Status != 0) return;
        // The first file to succeed leads the output (the CSV header, no blank line before).
        if (first && report.Result)
            report.Output = FormatReport(*report.Result, options, {batch, true});
        first = false;
        WriteStandardOutput(report.Output);
    };
    // A write that fails stops the batch: every later one would fail alike.
    const int written =
        Guarded("", [&] { OrderedParallelFor(configs.size(), kFilesInFlight, make, take); });
    return written != 0 ? written : status;
}
