#include "plot/textwrap.h"

namespace {

double Advance(cairo_t* cr, const std::string& text) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    return e.x_advance;
}

}  // namespace

std::vector<std::string> WrapText(cairo_t* cr, const std::string& text, double width) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t at = 0;
    while (at <= text.size()) {
        std::size_t space = text.find(' ', at);
        if (space == std::string::npos) space = text.size();
        const std::string word = text.substr(at, space - at);
        const std::string longer = line.empty() ? word : line + ' ' + word;
        if (!line.empty() && Advance(cr, longer) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = longer;
        }
        at = space + 1;
    }
    if (!line.empty() || lines.empty()) lines.push_back(line);
    return lines;
}

std::string CutToWidth(cairo_t* cr, const std::string& text, double width) {
    if (Advance(cr, text) <= width) return text;
    std::string cut = text;
    while (!cut.empty()) {
        // Back to the start of the last UTF-8 character.
        std::size_t end = cut.size() - 1;
        while (end > 0 && (static_cast<unsigned char>(cut[end]) & 0xC0) == 0x80) --end;
        cut.erase(end);
        if (Advance(cr, cut + "\u2026") <= width) break;
    }
    return cut + "\u2026";
}
