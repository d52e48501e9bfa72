#pragma once
// The swimming species of the product for the fish tests: the seven built-in
// records and vassop's, loaded once from the dist folder and kept loaded for
// the whole run (the partial-morph build turns a plug-in's poses into
// differences in place, once per load).
#include <vector>

#include "ModelSet.h"

const std::vector<qvspecies::Species>& SwimmingSpecies();
