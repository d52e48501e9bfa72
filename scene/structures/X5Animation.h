#pragma once
// Sampling of X-file animation keys: the key pair around a tick and the
// matrix an animation node gives its target frame.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "X5Frame.h"

// Ticks of the animation keys per second of scene time.
constexpr double kAnimationTicksPerSecond = 4800.0;

// The keys around tick t of a key list, with t taken modulo the last key's
// time: `later` is the first key whose time is above t and `earlier` the key
// before it (both the first key when there is no such pair); fraction runs
// from 0 at `earlier` to 1 at `later`. A last key time of 0 (or a tick that
// is not a number) samples at 0, so the first key holds.
struct X5KeySpan {
  size_t earlier = 0;
  size_t later = 0;
  float fraction = 0.0f;
};

// The tick within the loop of a key list whose last key is at lastTime.
double LoopTick(double tick, uint32_t lastTime);

template <typename Key>
X5KeySpan FindKeySpan(const std::vector<Key>& keys, double tick) {
  X5KeySpan span;
  if (keys.empty()) return span;
  const double t = LoopTick(tick, keys.back().time);
  size_t later = 0;
  while (later < keys.size() && !(keys[later].time > t)) ++later;
  if (later == keys.size()) return span;
  span.later = later;
  span.earlier = later > 0 ? later - 1 : 0;
  const double from = keys[span.earlier].time, to = keys[span.later].time;
  span.fraction = to > from ? static_cast<float>((t - from) / (to - from)) : 0.0f;
  return span;
}

// Samples one animation node at a tick and sets its target's localMatrix.
// Matrix keys: the nearer of the two keys. Otherwise scaling, rotation
// (spline between the keys around the pair) and translation (the rest
// matrix's when there are no position keys), in that order. A node without
// a target, or without any keys, changes nothing. Returns whether the
// target was set.
bool SampleAnimation(const X5Frame& node, double tick);

// Reads the data of one AnimationKey object (u32 key type, u32 key count,
// then per key u32 time, u32 value count and the values) into the node:
// type 0 rotation (w, x, y, z in the file), 1 scale, 2 position, 4 matrix.
// E_INVALIDARG for another type, a type the node already has, a value
// count that does not fit the type, or data shorter than it says.
HRESULT ReadAnimationKey(const void* data, size_t size, X5Frame* node);
