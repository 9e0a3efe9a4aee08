#pragma once

#include <cairo.h>

#include <functional>
#include <string>
#include <string_view>

// A drawing as an <svg> element for a web page, its texts SVG <text> elements that a browser
// can search, copy and print: drawn by the same steps as its PNG and PDF on cairo's SVG
// surface while every chart text (ShowChartText) is set aside, then written as text in the
// Liberation Sans of the pictures. Width and height in pixels; every id in it starts with
// idPrefix, so that several drawings share one page.
std::string TextSvg(double width, double height, const std::string& idPrefix,
                    const std::function<void(cairo_t*)>& draw);

// An SVG file's <svg> element for a page: the XML declaration dropped, its ids prefixed.
std::string InlineSvg(std::string_view svg, const std::string& idPrefix);

// Text escaped for an HTML or XML element or a quoted attribute.
std::string EscapeMarkup(std::string_view text);
