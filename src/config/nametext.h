#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// File names are bytes: whatever the system allows, in whatever charset their maker used.
// These are the ways such bytes are shown.

// The length of the well-formed UTF-8 sequence at the text's start (1 to 4), or 0 when the
// bytes there are not one.
std::size_t Utf8SequenceLength(std::string_view text);

// The text on one line and in its own order: control characters as \n, \r, \t or \xNN, the
// bidirectional formatting characters (U+061C, U+200E, U+200F, U+202A..U+202E, U+2066..U+2069)
// as \uXXXX; every other byte as it is.
std::string EscapeControls(std::string_view text);

// A file name as UTF-8 for a picture: read in the charset of the user's locale (UTF-8 under
// the C locale, whose ASCII it extends), else as Windows-1251, in which most old names of these
// files were made; a byte that neither reading takes is shown as \xNN. Control characters are
// escaped as EscapeControls does.
std::string DisplayName(std::string_view name);
