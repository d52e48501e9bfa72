#pragma once
// Taps of the glare blur: a symmetric kernel of Gaussian terms, sampled at
// integer offsets and padded to whole groups of four (one draw reads four
// texture stages).

class X1GlareKernel {
 public:
  static constexpr int kMaxEntries = 50;
  // Taps that fit the table together with their padding to a group of four.
  static constexpr int kMaxTaps = 48;

  struct Tap {
    float offset;
    float weight;
  };
  struct Term {
    float sharpness;  // k
    float amplitude;  // c
  };

  X1GlareKernel();

  // Every field to 0.
  void Reset();
  // Strength, tap count and terms of a parameter set. Only set 0 exists; an
  // unknown set is logged and set 0 is used.
  void SetPreset(int preset);
  // Appends the taps (offset d, weight sum of c exp(-k d^2 / f^2)) and rounds
  // the entry count up to a multiple of four.
  void Build();

  int TapEntries() const { return tapEntries_; }
  const Tap& Entry(int i) const { return taps_[i]; }
  float Strength() const { return strength_; }
  int TapCount() const { return tapCount_; }
  int TermCount() const { return termCount_; }
  int Preset() const { return preset_; }
  // For callers that tune the kernel by hand before Build.
  void SetTapCount(int count) { tapCount_ = count; }

 private:
  Tap taps_[kMaxEntries];
  int tapEntries_;
  float strength_;
  int tapCount_;
  int termCount_;
  Term terms_[2];
  int preset_;
};
