#include "plot/svgtext.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <vector>

#include "plot/charttext.h"
#include "plot/picturerender.h"

// Cairo's SVG surface writes the lines, arcs, dashes and clips of the charts as they are in
// every other format, but a text only as glyph outlines. The charts draw every text through one
// call, so a back end of our own would repeat all of cairo's paths for the sake of texts alone:
// diverting that call and writing its record as <text> keeps one drawing for every format.

namespace {

// Hundredths of a pixel, trailing zeros dropped.
void Number(std::string& out, double v) {
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 2);
    std::string_view text(buffer, static_cast<std::size_t>(end.ptr - buffer));
    while (text.back() == '0') text.remove_suffix(1);
    if (text.back() == '.') text.remove_suffix(1);
    out += text;
}

void Colour(std::string& out, const std::array<double, 3>& rgb) {
    constexpr char kHex[] = "0123456789abcdef";
    out += '#';
    for (const double c : rgb) {
        const auto byte = static_cast<unsigned>(std::lround(std::clamp(c, 0.0, 1.0) * 255));
        out += kHex[byte >> 4];
        out += kHex[byte & 15];
    }
}

void Texts(std::string& out, const std::vector<TChartText>& texts) {
    out += "<g class=\"texts\" font-family=\"Liberation Sans, Arial, Helvetica, sans-serif\">\n";
    for (const TChartText& t : texts) {
        out += "<text x=\"";
        Number(out, t.X);
        out += "\" y=\"";
        Number(out, t.Y);
        out += "\" font-size=\"";
        Number(out, t.Size);
        out += "\" fill=\"";
        Colour(out, t.Colour);
        out += '"';
        if (t.Align == TTextAlign::Centre) out += " text-anchor=\"middle\"";
        if (t.Align == TTextAlign::End) out += " text-anchor=\"end\"";
        out += '>' + EscapeMarkup(t.Text) + "</text>\n";
    }
    out += "</g>\n";
}

// Lifts the diversion however the drawing ends.
struct TDiversion {
    explicit TDiversion(std::vector<TChartText>* texts) { DivertChartTexts(texts); }
    ~TDiversion() { DivertChartTexts(nullptr); }
    TDiversion(const TDiversion&) = delete;
    TDiversion& operator=(const TDiversion&) = delete;
};

}  // namespace

std::string EscapeMarkup(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string InlineSvg(std::string_view svg, const std::string& idPrefix) {
    const std::size_t start = svg.find("<svg");
    if (start == std::string_view::npos) return {};
    svg.remove_prefix(start);
    // Cairo refers to its ids only as id="…", url(#…) and href="#…".
    constexpr std::string_view kRefs[] = {"id=\"", "url(#", "href=\"#"};
    std::string out;
    out.reserve(svg.size() + svg.size() / 8);
    std::size_t at = 0;
    while (at < svg.size()) {
        std::size_t next = std::string_view::npos;
        std::string_view found;
        for (const std::string_view ref : kRefs) {
            const std::size_t k = svg.find(ref, at);
            if (k < next) {
                next = k;
                found = ref;
            }
        }
        if (next == std::string_view::npos) {
            out += svg.substr(at);
            break;
        }
        out += svg.substr(at, next - at);
        out += found;
        out += idPrefix;
        at = next + found.size();
    }
    return out;
}

std::string TextSvg(double width, double height, const std::string& idPrefix,
                    const std::function<void(cairo_t*)>& draw) {
    std::vector<TChartText> texts;
    std::string svg;
    {
        const TDiversion diversion(&texts);
        svg = RenderPicture(TPictureFormat::Svg, TPicturePage{width, height}, draw);
    }
    std::string out = InlineSvg(svg, idPrefix);
    const std::size_t end = out.rfind("</svg>");
    if (end == std::string::npos) return out;
    std::string tail;
    Texts(tail, texts);
    out.insert(end, tail);
    return out;
}
