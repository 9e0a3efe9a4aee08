#include "devtools.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <thread>

namespace {

constexpr auto kAnswerTime = std::chrono::seconds(60);

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error("chromium: " + what);
}

}  // namespace

TChromium::TChromium(const std::string& profileDir, int width, int height) {
    int toChromium[2];
    int fromChromium[2];
    if (pipe(toChromium) != 0 || pipe(fromChromium) != 0) Fail("no pipe");
    const std::string size =
        "--window-size=" + std::to_string(width) + "," + std::to_string(height);
    const std::string profile = "--user-data-dir=" + profileDir;
    // WebGL and the compositor share SwiftShader's software GPU: with the GPU process off, every
    // frame would be read back, and Chromium notes each stall on the page's console.
    std::vector<const char*> args = {"chromium",
                                     "--headless",
                                     "--no-sandbox",
                                     "--use-angle=swiftshader",
                                     "--enable-unsafe-swiftshader",
                                     "--disable-quic",
                                     "--no-first-run",
                                     "--disable-background-networking",
                                     "--disable-component-update",
                                     "--disable-sync",
                                     "--host-resolver-rules=MAP * ~NOTFOUND",
                                     "--remote-debugging-pipe",
                                     size.c_str(),
                                     profile.c_str(),
                                     "about:blank",
                                     nullptr};
    Pid = fork();
    if (Pid < 0) Fail("cannot start");
    if (Pid == 0) {
        // Descriptors 3 and 4 are the protocol's; Chromium's own talk goes nowhere.
        const int in = fcntl(toChromium[0], F_DUPFD, 10);
        const int out = fcntl(fromChromium[1], F_DUPFD, 10);
        dup2(in, 3);
        dup2(out, 4);
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
        for (int fd = 5; fd < 1024; ++fd) close(fd);
        execvp("chromium", const_cast<char* const*>(args.data()));
        _exit(127);
    }
    close(toChromium[0]);
    close(fromChromium[1]);
    In = toChromium[1];
    Out = fromChromium[0];
    try {
        Attach();
    } catch (...) {
        Stop();
        throw;
    }
}

void TChromium::Attach() {
    const TJson target = Command("Target.createTarget", R"({"url":"about:blank"})", false);
    const TJson session = Command(
        "Target.attachToTarget",
        R"({"targetId":)" + JsonString(target["targetId"].Text) + R"(,"flatten":true})", false);
    SessionId = session["sessionId"].Text;
    for (const char* domain : {"Page.enable", "Runtime.enable", "Log.enable"}) Page(domain);
}

TChromium::~TChromium() {
    Stop();
}

void TChromium::Stop() {
    if (In >= 0) close(In);
    if (Out >= 0) close(Out);
    In = Out = -1;
    if (Pid <= 0) return;
    // Closing the pipe ends it; a browser that stays is stopped.
    for (int k = 0; k < 50; ++k) {
        if (waitpid(Pid, nullptr, WNOHANG) == Pid) {
            Pid = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    kill(Pid, SIGKILL);
    waitpid(Pid, nullptr, 0);
    Pid = -1;
}

TJson TChromium::Page(const std::string& method, const std::string& params) {
    return Command(method, params, true);
}

TJson TChromium::Command(const std::string& method, const std::string& params, bool toPage) {
    const int id = ++LastId;
    std::string message =
        "{\"id\":" + std::to_string(id) + ",\"method\":\"" + method + "\",\"params\":" + params;
    if (toPage) message += ",\"sessionId\":" + JsonString(SessionId);
    message += '}';
    message += '\0';
    for (std::size_t sent = 0; sent < message.size();) {
        const ssize_t n = write(In, message.data() + sent, message.size() - sent);
        if (n <= 0) Fail("the pipe closed sending " + method);
        sent += static_cast<std::size_t>(n);
    }
    const auto deadline = std::chrono::steady_clock::now() + kAnswerTime;
    for (;;) {
        const TJson answer = Next(deadline);
        const auto found = answer.Members.find("id");
        if (found == answer.Members.end() || found->second.Text != std::to_string(id)) continue;
        if (answer.Members.count("error") != 0) {
            Fail(method + ": " + answer["error"]["message"].Text);
        }
        return answer["result"];
    }
}

TJson TChromium::Next(std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        const std::size_t end = Pending.find('\0');
        if (end != std::string::npos) {
            TJson message = ParseJson(Pending.substr(0, end));
            Pending.erase(0, end + 1);
            Note(message);
            return message;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{Out, POLLIN, 0};
        if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) {
            Fail("no answer in time");
        }
        char buffer[65536];
        const ssize_t n = read(Out, buffer, sizeof buffer);
        if (n <= 0) Fail("the pipe closed");
        Pending.append(buffer, static_cast<std::size_t>(n));
    }
}

void TChromium::Note(const TJson& message) {
    const auto method = message.Members.find("method");
    if (method == message.Members.end()) return;
    const std::string& name = method->second.Text;
    if (name == "Page.loadEventFired") Loaded = true;
    const TJson& params = message["params"];
    if (name == "Runtime.consoleAPICalled") {
        std::string text = params["type"].Text + ":";
        for (const TJson& arg : params["args"].Items) {
            const auto value = arg.Members.find("value");
            text += " " + (value != arg.Members.end() ? value->second.Text : arg["type"].Text);
        }
        ConsoleMessages.push_back(text);
    } else if (name == "Runtime.exceptionThrown") {
        ConsoleMessages.push_back("exception: " + params["exceptionDetails"]["text"].Text);
    } else if (name == "Log.entryAdded") {
        ConsoleMessages.push_back("log (" + params["entry"]["source"].Text +
                                  "): " + params["entry"]["text"].Text);
    }
}

void TChromium::Navigate(const std::string& url) {
    Loaded = false;
    Page("Page.navigate", "{\"url\":" + JsonString(url) + "}");
    const auto deadline = std::chrono::steady_clock::now() + kAnswerTime;
    while (!Loaded) Next(deadline);
}

std::string TChromium::Evaluate(const std::string& expression) {
    const TJson result = Page("Runtime.evaluate", "{\"expression\":" + JsonString(expression) +
                                                      ",\"returnByValue\":true}");
    if (result.Members.count("exceptionDetails") != 0) {
        Fail("the script failed: " + result["exceptionDetails"]["text"].Text);
    }
    return result["result"]["value"].Text;
}

std::string DecodeBase64(const std::string& text) {
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned bits = 0;
    int count = 0;
    for (const char c : text) {
        const std::size_t v = alphabet.find(c);
        if (v == std::string::npos) continue;  // padding
        bits = bits << 6 | static_cast<unsigned>(v);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return out;
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            constexpr char kHex[] = "0123456789abcdef";
            out += "\\u00";
            out += kHex[(c >> 4) & 15];
            out += kHex[c & 15];
        } else {
            out += c;
        }
    }
    return out + '"';
}
