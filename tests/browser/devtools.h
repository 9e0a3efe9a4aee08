#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

#include "jsonreader.h"

// Headless Chromium driven over its DevTools protocol on a pipe (--remote-debugging-pipe:
// JSON messages ended by a NUL, in on descriptor 3, out on 4), offline: every host name is
// unresolvable. One page, attached as a flat session; every message the page writes to its
// console (console calls, uncaught exceptions, log entries) is kept.
class TChromium {
  public:
    // Throws std::runtime_error when chromium is missing or does not answer.
    TChromium(const std::string& profileDir, int width, int height);
    ~TChromium();
    TChromium(const TChromium&) = delete;
    TChromium& operator=(const TChromium&) = delete;

    // Sends a command to the page (params: a JSON object) and returns its result; throws on
    // an error answer or when none comes in time.
    TJson Page(const std::string& method, const std::string& params = "{}");
    // Loads the address and waits for the page's load event.
    void Navigate(const std::string& url);
    // The value of a script expression, which must give a string.
    std::string Evaluate(const std::string& expression);

    const std::vector<std::string>& Console() const { return ConsoleMessages; }

  private:
    void Attach();  // to a new blank page, its console watched
    void Stop();
    TJson Command(const std::string& method, const std::string& params, bool toPage);
    TJson Next(std::chrono::steady_clock::time_point deadline);
    void Note(const TJson& message);

    pid_t Pid = -1;
    int In = -1;   // to chromium
    int Out = -1;  // from chromium
    int LastId = 0;
    std::string SessionId;
    std::string Pending;  // bytes read past the last message
    std::vector<std::string> ConsoleMessages;
    bool Loaded = false;
};

// Bytes from base64, as the protocol carries screenshots and PDFs.
std::string DecodeBase64(const std::string& text);

// A JSON string literal of the text.
std::string JsonString(const std::string& text);
