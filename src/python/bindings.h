#pragma once

#include <pybind11/pybind11.h>

#include <string>
#include <vector>

// The module's classes and functions, bound in the order the module declares them.
void BindArray(pybind11::module_& module);
void BindAnalysis(pybind11::module_& module);
void BindSteps(pybind11::module_& module);

// Each text as a UserWarning of the caller's line; raises where warnings are errors.
void Warn(const std::vector<std::string>& texts);
