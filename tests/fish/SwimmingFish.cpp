#include "SwimmingFish.h"

#include <gtest/gtest.h>

#include <string>

const std::vector<qvspecies::Species>& SwimmingSpecies() {
  static qvspecies::SpeciesSet set;
  static std::vector<qvspecies::Species> swimming;
  static bool loaded = false;
  if (!loaded) {
    loaded = true;
    std::string error;
    EXPECT_TRUE(set.Load(&error)) << error;
    for (const qvspecies::Species& s : set.All())
      if (s.tag != "calvesh") swimming.push_back(s);
  }
  return swimming;
}
