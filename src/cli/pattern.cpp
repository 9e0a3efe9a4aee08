#include <algorithm>

#include "cli/parallel.h"
#include "cli/report.h"
#include "cli/runner.h"

namespace {

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
        report.Result = Analyse(RequestFor(options, config));
        report.Errors += MessageLines(report.Result->Session, prefix);
        report.Output = FormatReport(*report.Result, options, place);
        StrictCheck(options, report.Result->Session);
    });
    // Only a file that leads the output keeps its result, to be told it leads after all.
    if (place.First) report.Result.reset();
    return report;
}

}  // namespace

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
