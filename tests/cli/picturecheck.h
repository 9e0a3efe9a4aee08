#pragma once

#include <QByteArray>
#include <QXmlStreamReader>
#include <cstdint>
#include <iterator>
#include <regex>
#include <string>

// Checks of picture files without a decoder: their signatures, sizes and structure.

inline std::uint32_t Big32(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<std::uint8_t>(s[at + i]);
    return v;
}

// Elements read through to the end without an XML error; the root's name and size.
struct TSvgRoot {
    bool WellFormed = false;
    std::string Name, Width, Height;
};

inline TSvgRoot ReadSvg(const std::string& text) {
    QXmlStreamReader xml(QByteArray::fromStdString(text));
    TSvgRoot root;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && root.Name.empty()) {
            root.Name = xml.name().toString().toStdString();
            root.Width = xml.attributes().value("width").toString().toStdString();
            root.Height = xml.attributes().value("height").toString().toStdString();
        }
    }
    root.WellFormed = !xml.hasError();
    return root;
}

inline std::size_t Count(const std::string& text, const std::regex& pattern) {
    return static_cast<std::size_t>(
        std::distance(std::sregex_iterator(text.begin(), text.end(), pattern), {}));
}

// Width and height of a PNG from its header; 0 x 0 when it is not a PNG.
inline std::pair<std::uint32_t, std::uint32_t> PngSize(const std::string& png) {
    if (png.size() < 33 || png.substr(0, 8) != std::string("\x89PNG\r\n\x1a\n", 8) ||
        png.substr(12, 4) != "IHDR" || png.substr(png.size() - 8, 4) != "IEND") {
        return {0, 0};
    }
    return {Big32(png, 16), Big32(png, 20)};
}

// The page objects of a PDF.
inline std::size_t PdfPages(const std::string& pdf) {
    return Count(pdf, std::regex("/Type\\s*/Page[^s]"));
}
