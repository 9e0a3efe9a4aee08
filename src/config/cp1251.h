#pragma once

#include <optional>
#include <string>
#include <string_view>

// The configuration file's section and key names, as the Windows-1251 bytes stored on disk.
inline constexpr std::string_view kAllEmittersSection =
    "\xC2\xF1\xE5 \xE8\xE7\xEB\xF3\xF7\xE0\xF2\xE5\xEB\xE8";  // "Все излучатели"
inline constexpr std::string_view kTypeKey = "\xD2\xE8\xEF";  // "Тип"
inline constexpr std::string_view kEmitterSectionPrefix =
    "\xC8\xE7\xEB\xF3\xF7\xE0\xF2\xE5\xEB\xFC ";  // "Излучатель "
inline constexpr std::string_view kEnabledKey = "\xC2\xEA\xEB\xFE\xF7\xE5\xED";  // "Включен"
inline constexpr std::string_view kXKey = "X";
inline constexpr std::string_view kYKey = "Y";
inline constexpr std::string_view kPhaseKey = "\xD4\xE0\xE7\xE0";  // "Фаза"
// The relative current of an emitter, in its section; the window neither reads nor writes it.
inline constexpr std::string_view kAmplitudeKey =
    "\xC0\xEC\xEF\xEB\xE8\xF2\xF3\xE4\xE0";  // "Амплитуда"
// The ground under the array, in "Все излучатели"; the window neither reads nor writes them.
inline constexpr std::string_view kHeightKey = "\xC2\xFB\xF1\xEE\xF2\xE0";  // "Высота"
inline constexpr std::string_view kGroundKey = "\xC7\xE5\xEC\xEB\xFF";      // "Земля"
inline constexpr std::string_view kFrequencyKey =
    "\xD7\xE0\xF1\xF2\xEE\xF2\xE0";  // "Частота"
inline constexpr std::string_view kPermittivityKey =
    "\xCF\xF0\xEE\xED\xE8\xF6\xE0\xE5\xEC\xEE\xF1\xF2\xFC";  // "Проницаемость"
inline constexpr std::string_view kConductivityKey =
    "\xCF\xF0\xEE\xE2\xEE\xE4\xE8\xEC\xEE\xF1\xF2\xFC";  // "Проводимость"

// The lower-case form of a Windows-1251 byte (Latin and Cyrillic letters); others unchanged.
unsigned char FoldCase1251(unsigned char byte);
// UTF-8 text re-encoded as Windows-1251; nullopt when the text is not valid UTF-8 or holds a
// character that Windows-1251 cannot represent.
std::optional<std::string> Utf8ToCp1251(std::string_view text);
// The same into out, whose room is reused; false when the text cannot be converted.
bool Utf8ToCp1251(std::string_view text, std::string& out);
