#pragma once

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/session.h"
#include "cli/options.h"

inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Every command: its output goes to standard output once the call has succeeded (a sweep's
// before its pictures take their files' places), its messages to standard error as they come;
// the exit status is returned. pattern writes each file's result itself as it comes, output
// left empty, so that a batch of any size is never held whole.
int RunPattern(const TCliOptions& options, std::string& output);
int RunExport(const TCliOptions& options, std::string& output);
int RunSave(const TCliOptions& options, std::string& output);
int RunPlot(const TCliOptions& options, std::string& output);
int RunNec(const TCliOptions& options, std::string& output);
int RunSweep(const TCliOptions& options, std::string& output);
int RunDesign(const TCliOptions& options, std::string& output);
int RunFeedDesign(const TCliOptions& options, std::string& output);
int RunTouchstone(const TCliOptions& options, std::string& output);

// Writes the text to standard output and flushes it; throws EFileError "Stream write error"
// with the system's reason when it falls short.
void WriteStandardOutput(const std::string& text);

// One line whatever the names and values it holds.
void PrintError(const std::string& text);
std::string UsageErrorText(const std::string& what);
std::string WarningText(const std::string& warning);
// The window's fixed texts, which the model raises as the window shows them, in the reader's
// language; any other text is already in it.
std::string WindowTextInLanguage(const std::string& text);
// The window's text with the system's reason after it.
std::string WithCause(const std::string& text, int errnum);

// Runs one step of the call; a failure becomes a line of `errors` (after prefix) and the exit
// status: 2 for a usage error, 1 for anything else.
int GuardedStep(const std::string& prefix, std::string& errors, const std::function<void()>& step);
// The same, printing the failure at once.
int Guarded(const std::string& prefix, const std::function<void()>& step);

// The configurations of the call in order; the initial array alone when none is given.
std::vector<std::optional<std::string>> Configs(const TCliOptions& options);

// The warnings and the window's messages of a session, as lines for standard error.
std::string MessageLines(const TArraySession& session, const std::string& prefix);
void PrintMessages(const TArraySession& session, const std::string& prefix);

// With --strict, what a configuration's load passed over fails the call.
void StrictCheck(const TCliOptions& options, const TArraySession& session);
