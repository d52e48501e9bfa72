#include "X1GlareKernel.h"

#include <cmath>

#include "diagnostics/Diagnostics.h"

X1GlareKernel::X1GlareKernel() { Reset(); }

void X1GlareKernel::Reset() {
  for (Tap& t : taps_) t = Tap{0.0f, 0.0f};
  tapEntries_ = 0;
  strength_ = 0.0f;
  tapCount_ = 0;
  termCount_ = 0;
  terms_[0] = terms_[1] = Term{0.0f, 0.0f};
  preset_ = 0;
}

void X1GlareKernel::SetPreset(int preset) {
  if (preset != 0) {
    LogPrint("X1GlareKernel: unknown preset %d, using preset 0\n", preset);
    preset = 0;
  }
  preset_ = preset;
  strength_ = 0.9f;
  tapCount_ = 27;
  termCount_ = 2;
  terms_[0] = Term{0.18f, 0.06f};
  terms_[1] = Term{4.5f, 0.11f};
}

void X1GlareKernel::Build() {
  int count = tapCount_;
  if (count > kMaxTaps || tapEntries_ + count > kMaxTaps) {
    int room = kMaxTaps - tapEntries_;
    LogPrint("X1GlareKernel: %d taps do not fit, keeping %d\n", count, room > 0 ? room : 0);
    count = room > 0 ? room : 0;
  }
  int terms = termCount_ < 0 ? 0 : (termCount_ > 2 ? 2 : termCount_);
  const float f = (tapCount_ - 1) * 0.5f;
  for (int i = 0; i < count; ++i) {
    const float d = i - f;
    // A single tap (f = 0) sits at the centre.
    const float q = f > 0.0f ? d * d / (f * f) : 0.0f;
    float w = 0.0f;
    for (int t = 0; t < terms; ++t) w += terms_[t].amplitude * std::exp(-terms_[t].sharpness * q);
    taps_[tapEntries_++] = Tap{d, w};
  }
  // Padding entries keep offset 0 and weight 0.
  while (tapEntries_ % 4 != 0) taps_[tapEntries_++] = Tap{0.0f, 0.0f};
}
