#pragma once

#include "model/emitters.h"
#include "model/ground.h"
#include "model/named.h"

// Which formula gives the pattern. A formula added here is a compile error (-Werror=switch)
// in every dispatch that does not handle it yet.
enum class TFieldModel {
    Window,      // the window's own: the path length over the (sin az, cos az, sin el) norm
    FreeSpace,   // the array's far field in free space, elevation above the horizon
    OverGround,  // the direct and the ground-reflected wave of short dipoles above the ground
};

// The surroundings of the array as a pattern sees them.
struct TFieldSpec {
    TFieldSpec() = default;
    TFieldSpec(TFieldModel model, long double elevationDegrees = 0, const TGround& ground = {})
        : Model(model), ElevationDegrees(elevationDegrees), Ground(ground) {}

    TFieldModel Model = TFieldModel::Window;
    long double ElevationDegrees = 0;  // 0..90 above the horizon
    TGround Ground;                    // OverGround only
};

// As options and outputs name the formulas; --model chooses among the first two, the ground
// chooses the third.
inline constexpr TNamed<TFieldModel> kFieldModelNames[] = {
    {"window", TFieldModel::Window},
    {"free-space", TFieldModel::FreeSpace},
    {"over-ground", TFieldModel::OverGround}};
inline constexpr std::span<const TNamed<TFieldModel>> kChosenModelNames(kFieldModelNames, 2);

const char* FieldModelName(TFieldModel model);
