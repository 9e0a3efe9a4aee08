#include "config/netlist.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <optional>
#include <vector>

#include "config/messages.h"

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::vector<std::string> Words(const std::string& line) {
    // "Z0 = 75" reads as "Z0=75".
    std::string joined;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '=') {
            while (!joined.empty() && (joined.back() == ' ' || joined.back() == '\t'))
                joined.pop_back();
            joined += '=';
            while (i + 1 < line.size() && (line[i + 1] == ' ' || line[i + 1] == '\t')) ++i;
        } else {
            joined += line[i] == '\t' || line[i] == ',' ? ' ' : line[i];
        }
    }
    std::vector<std::string> words;
    std::size_t from = 0;
    while ((from = joined.find_first_not_of(' ', from)) != std::string::npos) {
        const std::size_t to = std::min(joined.find(' ', from), joined.size());
        words.push_back(joined.substr(from, to - from));
        from = to;
    }
    return words;
}

struct TLogicalLine {
    int Number = 0;
    std::string Text;
};

struct TReader {
    TNetwork Network;
    std::map<std::string, int> NodeIndex;
    std::vector<int> Uses;       // terminals on each node
    std::vector<int> FirstLine;  // where each node is first named

    int Node(const std::string& name, int line) {
        const std::string key = Lower(name);
        if (key == "0" || key == "gnd") return 0;
        const auto found = NodeIndex.find(key);
        int index = 0;
        if (found == NodeIndex.end()) {
            index = static_cast<int>(Network.Nodes.size());
            NodeIndex[key] = index;
            Network.Nodes.push_back(key);
            Uses.push_back(0);
            FirstLine.push_back(line);
        } else {
            index = found->second;
        }
        ++Uses[static_cast<std::size_t>(index)];
        return index;
    }
};

double Positive(std::string_view text, int line, const std::string& what) {
    const auto v = SpiceValue(text);
    if (!v) throw ENetlistError(line, TrFormat("%s: not a value: %s", {what, text}));
    if (!(*v > 0)) throw ENetlistError(line, TrFormat("%s must be above 0", {what}));
    return *v;
}

void ReadLine(TReader& r, const TLogicalLine& logical) {
    const std::vector<std::string> w = Words(logical.Text);
    const int line = logical.Number;
    TPart part;
    part.Name = w[0];
    part.SourceLine = line;
    const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(w[0][0])));
    const auto count = [&](std::size_t n) {
        if (w.size() < n) {
            throw ENetlistError(line, TrFormat("%s: too few fields", {part.Name}));
        }
        if (w.size() > n) {
            throw ENetlistError(line, TrFormat("%s: unexpected %s", {part.Name, w[n]}));
        }
    };
    switch (kind) {
        case 'R':
        case 'L':
        case 'C': {
            count(4);
            part.Kind = kind == 'R'   ? TPartKind::Resistor
                        : kind == 'L' ? TPartKind::Inductor
                                      : TPartKind::Capacitor;
            const auto v = SpiceValue(w[3]);
            if (!v) throw ENetlistError(line, TrFormat("%s: not a value: %s", {part.Name, w[3]}));
            if (kind == 'R' ? *v == 0 : !(*v > 0)) {
                throw ENetlistError(line, kind == 'R'
                                              ? TrFormat("%s: a resistance of 0", {part.Name})
                                              : TrFormat("%s must be above 0", {part.Name}));
            }
            part.Value = *v;
            part.A = r.Node(w[1], line);
            part.B = r.Node(w[2], line);
            break;
        }
        case 'T': {
            if (w.size() < 6)
                throw ENetlistError(line, TrFormat("%s: too few fields", {part.Name}));
            part.Kind = TPartKind::Line;
            if (Lower(w[2]) != "0" || Lower(w[4]) != "0") {
                throw ENetlistError(
                    line, TrFormat("%s: a line's reference nodes must be ground (0)", {part.Name}));
            }
            std::optional<double> z0, td, f, nl;
            for (std::size_t i = 5; i < w.size(); ++i) {
                const auto eq = w[i].find('=');
                const std::string key = Lower(w[i].substr(0, eq));
                const std::string value = eq == std::string::npos ? "" : w[i].substr(eq + 1);
                std::optional<double>* slot = key == "z0" || key == "zo" ? &z0
                                              : key == "td"              ? &td
                                              : key == "f"               ? &f
                                              : key == "nl"              ? &nl
                                                                         : nullptr;
                if (slot == nullptr || eq == std::string::npos) {
                    throw ENetlistError(line, TrFormat("%s: unexpected %s", {part.Name, w[i]}));
                }
                *slot = Positive(value, line, part.Name + " " + w[i].substr(0, eq));
            }
            if (!z0) throw ENetlistError(line, TrFormat("%s: a line needs Z0=", {part.Name}));
            if (td.has_value() == f.has_value() || (nl && !f)) {
                throw ENetlistError(line,
                                    TrFormat("%s: a line needs TD= or F= (with NL=)", {part.Name}));
            }
            part.Value = *z0;
            part.DelaySeconds = td.value_or(0);
            part.AtHz = f.value_or(0);
            part.Wavelengths = nl.value_or(0.25);  // ngspice's own default
            part.A = r.Node(w[1], line);
            part.B = r.Node(w[3], line);
            break;
        }
        case 'V': {
            if (w.size() < 5)
                throw ENetlistError(line, TrFormat("%s: too few fields", {part.Name}));
            part.Kind = TPartKind::Source;
            std::optional<double> magnitude;
            double degrees = 0;
            for (std::size_t i = 3; i < w.size(); ++i) {
                const std::string key = Lower(w[i]);
                if (key == "dc" && i + 1 < w.size() && SpiceValue(w[i + 1])) {
                    ++i;  // the operating point plays no part in an AC analysis
                } else if (key == "ac" && i + 1 < w.size() && SpiceValue(w[i + 1])) {
                    magnitude = SpiceValue(w[++i]);
                    if (i + 1 < w.size() && SpiceValue(w[i + 1])) degrees = *SpiceValue(w[++i]);
                } else {
                    throw ENetlistError(line, TrFormat("%s: unexpected %s", {part.Name, w[i]}));
                }
            }
            if (!magnitude) {
                throw ENetlistError(
                    line, TrFormat("%s: the source needs AC and its magnitude", {part.Name}));
            }
            part.Volts = std::polar(*magnitude, degrees * 3.141592653589793 / 180);
            part.A = r.Node(w[1], line);
            part.B = r.Node(w[2], line);
            if (r.Network.Source >= 0) {
                throw ENetlistError(
                    line, TrFormat("%s: a second source; the transmitter is one", {part.Name}));
            }
            r.Network.Source = static_cast<int>(r.Network.Parts.size());
            break;
        }
        default:
            throw ENetlistError(line, TrFormat("unknown element %s", {part.Name}));
    }
    for (const TPart& p : r.Network.Parts) {
        if (Lower(p.Name) == Lower(part.Name)) {
            throw ENetlistError(line, TrFormat("%s is named twice", {part.Name}));
        }
    }
    r.Network.Parts.push_back(part);
}

// "*@ loss T1 1.2" and "*@ vf T1 0.66".
void ReadLineNote(TNetwork& network, const TLogicalLine& note) {
    const std::vector<std::string> w = Words(note.Text.substr(2));
    if (w.size() != 3 || (Lower(w[0]) != "loss" && Lower(w[0]) != "vf")) {
        throw ENetlistError(note.Number, Tr("*@ takes loss LINE DB or vf LINE V"));
    }
    const auto part = std::find_if(network.Parts.begin(), network.Parts.end(), [&](const TPart& p) {
        return p.Kind == TPartKind::Line && Lower(p.Name) == Lower(w[1]);
    });
    if (part == network.Parts.end()) {
        throw ENetlistError(note.Number, TrFormat("*@ names no line %s", {w[1]}));
    }
    const auto v = SpiceValue(w[2]);
    if (Lower(w[0]) == "loss") {
        if (!v || !(*v >= 0)) throw ENetlistError(note.Number, Tr("a loss is 0 dB or more"));
        part->LossDbPer100m = *v;
    } else {
        if (!v || !(*v > 0 && *v <= 1)) {
            throw ENetlistError(note.Number, Tr("a velocity factor is above 0 and up to 1"));
        }
        part->VelocityFactor = *v;
    }
}

void CheckSource(TReader& r, int lastLine) {
    TNetwork& n = r.Network;
    if (n.Source < 0) throw ENetlistError(lastLine, Tr("the netlist has no source"));
    const TPart& v = n.Parts[static_cast<std::size_t>(n.Source)];
    const int live = v.B == 0 ? v.A : v.A == 0 ? v.B : -1;
    for (std::size_t i = 0; i < n.Parts.size(); ++i) {
        const TPart& p = n.Parts[i];
        if (Lower(p.Name) != "rtx" || p.Kind != TPartKind::Resistor) continue;
        if (live <= 0 || (p.A != live && p.B != live)) {
            throw ENetlistError(p.SourceLine,
                                Tr("RTX must join the source's live node, the source's other "
                                   "node being ground"));
        }
        n.SourceResistor = static_cast<int>(i);
        n.TransmitterNode = p.A == live ? p.B : p.A;
    }
    if (n.SourceResistor < 0) {
        throw ENetlistError(v.SourceLine,
                            Tr("the source needs the transmitter's resistance in series, RTX"));
    }
    if (r.Uses[static_cast<std::size_t>(live)] != 2 || n.TransmitterNode == 0) {
        throw ENetlistError(v.SourceLine,
                            Tr("the source and RTX must be in series, nothing else at their "
                               "joint, RTX's other end not ground"));
    }
}

}  // namespace

std::optional<double> SpiceValue(std::string_view text) {
    double v = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (error != std::errc() || end == text.data()) {
        // A leading "+" or a bare ".5" reads in SPICE too.
        if (!text.empty() && text[0] == '+') return SpiceValue(text.substr(1));
        return std::nullopt;
    }
    const std::string suffix = Lower(std::string_view(end, text.data() + text.size() - end));
    static const std::pair<const char*, double> kScales[] = {
        {"meg", 1e6}, {"mil", 25.4e-6}, {"t", 1e12}, {"g", 1e9},   {"k", 1e3},
        {"m", 1e-3},  {"u", 1e-6},      {"n", 1e-9}, {"p", 1e-12}, {"f", 1e-15}};
    for (const auto& [name, scale] : kScales) {
        if (suffix.starts_with(name)) return v * scale;
    }
    // Letters after a number, or after its scale, are a unit and ignored, as ngspice does.
    if (!suffix.empty() && !std::isalpha(static_cast<unsigned char>(suffix[0])))
        return std::nullopt;
    return v;
}

TNetwork ReadNetlist(const std::string& text) {
    std::vector<TLogicalLine> lines;
    std::vector<TLogicalLine> notes;
    TReader r;
    r.Network.Nodes.push_back("0");
    r.Uses.push_back(0);
    r.FirstLine.push_back(0);
    int number = 0;
    std::size_t from = 0;
    bool ended = false;
    while (from < text.size() && !ended) {
        std::size_t to = text.find('\n', from);
        if (to == std::string::npos) to = text.size();
        std::string line = text.substr(from, to - from);
        from = to + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (number == 1) {
            r.Network.Title = line;
            continue;
        }
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos) continue;
        line = line.substr(first);
        if (line.starts_with("*@")) {
            notes.push_back({number, line});
        } else if (line[0] == '*') {
            continue;
        } else if (line[0] == '+') {
            if (lines.empty())
                throw ENetlistError(number, Tr("a continuation with no line before"));
            lines.back().Text += ' ' + line.substr(1);
        } else if (line[0] == '.') {
            if (Lower(Words(line)[0]) != ".end") {
                throw ENetlistError(
                    number, TrFormat("%s has no place in a feed network", {Words(line)[0]}));
            }
            ended = true;
        } else {
            lines.push_back({number, line});
        }
    }
    for (const TLogicalLine& line : lines) ReadLine(r, line);
    for (const TLogicalLine& note : notes) ReadLineNote(r.Network, note);
    CheckSource(r, number);
    for (std::size_t i = 1; i < r.Network.Nodes.size(); ++i) {
        const std::string& name = r.Network.Nodes[i];
        const bool emitter = name.size() == 2 && name[0] == 'e' && name[1] >= '1' && name[1] <= '8';
        if (emitter) {
            r.Network.EmitterNode[static_cast<std::size_t>(name[1] - '1')] = static_cast<int>(i);
        } else if (r.Uses[i] < 2) {
            throw ENetlistError(r.FirstLine[i], TrFormat("node %s connects nothing", {name}));
        }
    }
    return r.Network;
}

namespace {

std::string Value(double v) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, v, std::chars_format::general, 12);
    return std::string(text, end.ptr);
}

}  // namespace

std::string NetlistText(const TNetwork& network) {
    std::string out = network.Title + '\n';
    const auto node = [&](int i) { return network.Nodes[static_cast<std::size_t>(i)]; };
    for (const TPart& p : network.Parts) {
        out += p.Name + ' ' + node(p.A) + ' ';
        switch (p.Kind) {
            case TPartKind::Resistor:
            case TPartKind::Inductor:
            case TPartKind::Capacitor:
                out += node(p.B) + ' ' + Value(p.Value) + '\n';
                break;
            case TPartKind::Line:
                out += "0 " + node(p.B) + " 0 Z0=" + Value(p.Value);
                out += p.AtHz > 0 ? " F=" + Value(p.AtHz) + " NL=" + Value(p.Wavelengths)
                                  : " TD=" + Value(p.DelaySeconds);
                out += '\n';
                if (p.VelocityFactor != 1)
                    out += "*@ vf " + p.Name + ' ' + Value(p.VelocityFactor) + '\n';
                if (p.LossDbPer100m != 0)
                    out += "*@ loss " + p.Name + ' ' + Value(p.LossDbPer100m) + '\n';
                break;
            case TPartKind::Source:
                out += node(p.B) + " DC 0 AC " + Value(std::abs(p.Volts)) + ' ' +
                       Value(std::arg(p.Volts) * 180 / 3.141592653589793) + '\n';
                break;
        }
    }
    return out;
}
