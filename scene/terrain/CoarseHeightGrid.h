#pragma once
// The terrain's fast height answer: 51 x 51 samples, one every 2 world units
// from centre - 50 to centre + 50 on both axes. A query reads the sample at
// the lower corner of the 2-unit cell it falls in (a floor and an index).
#include <string>

class CoarseHeightGrid {
 public:
  enum { kSize = 51, kHalf = 25 };
  static constexpr float kSpacing = 2.0f;

  // sample(i, j) = heightAt(centreX + 2 (i - 25), centreZ + 2 (j - 25)).
  template <typename HeightAt>
  void Refresh(float centreX, float centreZ, HeightAt heightAt) {
    for (int i = 0; i < kSize; ++i)
      for (int j = 0; j < kSize; ++j)
        samples_[i][j] = heightAt(centreX + kSpacing * static_cast<float>(i - kHalf),
                                  centreZ + kSpacing * static_cast<float>(j - kHalf));
    filled_ = true;
  }
  void Invalidate() { filled_ = false; }
  bool IsFilled() const { return filled_; }

  // The sample for the offset (dx, dz) from the centre: cell
  // (floor(dx / 2) + 25, floor(dz / 2) + 25). False outside the grid or
  // before the first refresh.
  bool Lookup(float dx, float dz, float* height) const;
  float Sample(int i, int j) const { return samples_[i][j]; }

  // The debug picture of the grid: 50 lines (one per z column) of 50
  // two-character cells, "[]" above 0, "-1" above -10, "-2" above -20,
  // else blanks, each line ended by "/\n".
  std::string DebugMap() const;

 private:
  float samples_[kSize][kSize] = {};
  bool filled_ = false;
};
