#include "app/validity.h"

#include "app/figures.h"
#include "config/messages.h"
#include "config/numtext.h"
#include "model/msgid.h"

namespace {

std::string Numbers(const std::vector<int>& numbers) {
    std::string out;
    for (const int k : numbers) out += (out.empty() ? "" : ", ") + FormatInteger(k);
    return out;
}

std::string ElementsText(const TWireValidity& v) {
    return v.Monopoles ? Tr("monopoles") : Tr("dipoles");
}

}  // namespace

std::string ValidityFigureText(const TValidityRule& rule, double value) {
    return FigureText(value, rule.Name.ends_with("_wl") ? 4 : 2);
}

std::string ValidityModesText(const TWireValidity& v) {
    std::string modes;
    for (std::size_t i = 0; i < v.Modes.size(); ++i)
        modes +=
            (modes.empty() ? "" : ", ") +
            TrFormat("%s at emitter %s", {FormatInteger(v.Modes[i]), FormatInteger(v.Numbers[i])});
    return TrFormat("%s, sinusoidal modes: %s", {ElementsText(v), modes});
}

std::string ValidityTextLine(const TWireValidity& v) {
    std::string modes;
    for (const int m : v.Modes) modes += (modes.empty() ? "" : " ") + FormatInteger(m);
    std::string broken;
    for (const TValidityRule& rule : v.Rules)
        if (!rule.Emitters.empty())
            broken += (broken.empty() ? "" : "; ") +
                      TrFormat("%s %s (limit %s) at emitters %s",
                               {std::string(rule.Name), ValidityFigureText(rule, rule.Figure),
                                ValidityFigureText(rule, rule.Limit), Numbers(rule.Emitters)});
    return TrFormat("validity: %s, modes a wire %s; %s",
                    {ElementsText(v), modes, broken.empty() ? Tr("every rule holds") : broken}) +
           '\n';
}

std::string ValidityWarning(const TValidityRule& rule) {
    const char* why = nullptr;
    if (rule.Name == "radius_to_segment")
        why = Msgid(
            "radius %s of a segment, more than %s: the thin-wire model does not hold at "
            "emitters %s");
    else if (rule.Name == "radius_wl")
        why = Msgid(
            "radius %s wavelengths, more than %s: the thin-wire model does not hold at "
            "emitters %s");
    else if (rule.Name == "spacing_to_radius")
        why = Msgid(
            "wires %s radii apart, fewer than %s: the thin-wire model does not hold at "
            "emitters %s");
    else if (rule.Name == "height_to_radius")
        why = Msgid(
            "wires %s radii above the ground, fewer than %s: the ground's model does not hold "
            "at emitters %s");
    else if (rule.Name == "height_wl")
        why = Msgid(
            "wires %s wavelengths above the ground, less than %s: the ground's model does not "
            "hold at emitters %s");
    else
        why = Msgid(
            "the power radiated parts from the power fed by %s percent, more than %s: the far "
            "field's integral does not hold at emitters %s");
    return TrFormat(why, {ValidityFigureText(rule, rule.Figure),
                          ValidityFigureText(rule, rule.Limit), Numbers(rule.Emitters)});
}
