#pragma once
// Builds one formation flock through the host table: two hidden carriers
// (the flock controller and the formation leader), rows x lanes formation
// fish with their hangers-on, and the optional clone set-up per row.
#include <memory>
#include <vector>

#include "X2Host.h"
#include "X2PluginAbi.h"

class C4FlockController;

struct FlockRecipe {
  const X2FishData* fish;
  int rows;
  int lanes;  // fish per row
  int hangers;
  int flockIndex;
  int character;
  int depth;
  int density;
  int sizeVarie;
  // Taken from the parameter table too: the followed flock and its member.
  int followedFlock;
  int memberChoice;
};

// A row's fish; the module keeps every row until it is unloaded.
using FlockRow = std::vector<X2Object>;
using FlockRowList = std::vector<std::unique_ptr<FlockRow>>;

// Size factor for a SizeVarie choice and a random number r.
float FlockFishSize(int sizeVarie, float r);

// Builds the flock; returns the controller (owned by its carrier from then
// on), or null when the carriers could not be made.
C4FlockController* BuildFormationFlock(const X2Host& host, const FlockRecipe& recipe,
                                       FlockRowList& rows);
