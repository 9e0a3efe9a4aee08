#include "cli/runner.h"

#include <cerrno>
#include <cstdio>
#include <stdexcept>

#include "config/errors.h"
#include "config/messages.h"
#include "config/nametext.h"
#include "form/formrules.h"

void WriteStandardOutput(const std::string& text) {
    errno = 0;
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    if (std::fflush(stdout) != 0 || !written) throw EFileError(kStreamWriteErrorText, errno);
}

void PrintError(const std::string& text) {
    std::fprintf(stderr, "%s\n", EscapeControls(text).c_str());
}

std::string UsageErrorText(const std::string& what) {
    return "arraypattern-cli: " + what;
}

std::string WarningText(const std::string& warning) {
    return TrFormat("arraypattern-cli: warning: %s", {warning});
}

std::string WindowTextInLanguage(const std::string& text) {
    for (const char* fixed :
         {kInvalidOpText, kZeroDivideText, kOverflowText, kStreamWriteErrorText}) {
        if (text == fixed) return Tr(fixed);
    }
    if (text == kOneEmitterMessage) return Tr("One emitter must be left switched on!");
    return text;
}

std::string WithCause(const std::string& text, int errnum) {
    return errnum == 0 ? text : text + ": " + SystemErrorText(errnum);
}

int GuardedStep(const std::string& prefix, std::string& errors, const std::function<void()>& step) {
    try {
        step();
        return 0;
    } catch (const ETaperError& e) {
        errors += EscapeControls(UsageErrorText(std::string("--taper: ") + e.what())) + '\n';
        return kExitUsage;
    } catch (const EUsageError& e) {
        errors += EscapeControls(UsageErrorText(e.what())) + '\n';
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

int Guarded(const std::string& prefix, const std::function<void()>& step) {
    std::string errors;
    const int status = GuardedStep(prefix, errors, step);
    std::fputs(errors.c_str(), stderr);
    return status;
}

std::vector<std::optional<std::string>> Configs(const TCliOptions& options) {
    std::vector<std::optional<std::string>> configs(options.ConfigFiles.begin(),
                                                    options.ConfigFiles.end());
    if (configs.empty()) configs.emplace_back();
    return configs;
}

std::string MessageLines(const TArraySession& session, const std::string& prefix) {
    std::string lines;
    for (const auto& warning : session.Warnings) {
        lines += EscapeControls(WarningText(warning)) + '\n';
    }
    for (const auto& message : session.Messages) {
        lines += EscapeControls(prefix + WindowTextInLanguage(message)) + '\n';
    }
    return lines;
}

void PrintMessages(const TArraySession& session, const std::string& prefix) {
    std::fputs(MessageLines(session, prefix).c_str(), stderr);
}

void StrictCheck(const TCliOptions& options, const TArraySession& session) {
    if (options.Strict && session.WarningCount != 0) {
        const unsigned long count = session.WarningCount;
        throw std::runtime_error(
            FormatMessage(TrPlural("--strict: the configuration has %s warning",
                                   "--strict: the configuration has %s warnings", count),
                          {std::to_string(count)}));
    }
}
