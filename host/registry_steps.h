// The registry steps of a scenario (scenario_step.h): set, delete and
// expect values on the run's hives, as the program's own code sees them.
// Each returns an empty text on success, or what was found instead.
#pragma once

#include <string>

#include "host/scenario_step.h"

std::string SetRegistryValue(const ScenarioStep& step);
// Deleting what is not there succeeds: the step states what must not be.
std::string DeleteRegistryEntry(const ScenarioStep& step);
std::string CheckRegistryValue(const ScenarioStep& step);
