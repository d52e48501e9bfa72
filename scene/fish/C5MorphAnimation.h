#pragma once
// The key-frame morph of one object: a rest mesh and a ring of frames,
// blended on the graphics card through three vertex streams. Shared by the
// fish and the coral pieces.
#include <cstdint>
#include <vector>

struct MeshRecord;

// Streams and weights of one blend: stream 0 rest mesh, 1 and 2 the two
// neighbouring frames of the ring; weight[3] is carried but never computed.
struct MorphBlend {
  int streams[3] = {0, 0, 0};
  float weights[4] = {1.0f, 0.0f, 0.0f, 0.0f};
};

// The blend for amount a (0.5 x 2 = the pure animation) at frame position p.
// The position wraps around the ring (negative or out-of-range positions
// included); without frames, or with a non-finite input, the rest pose alone.
MorphBlend ComputeMorphBlend(int baseIndex, int firstFrame, uint32_t frameCount, float amount,
                             float position);

class C5MorphAnimation {
 public:
  void Init(std::vector<MeshRecord*>* meshes, int baseIndex, int firstFrame, uint32_t frameCount);
  void GetWeights(float amount, float position);
  // Binds the rest mesh and the two frames to streams 0-2.
  void SetStreams();

  uint32_t FrameCount() const { return frameCount_; }
  const int* Streams() const { return blend_.streams; }
  const float* Weights() const { return blend_.weights; }

 private:
  std::vector<MeshRecord*>* meshes_ = nullptr;
  int baseIndex_ = 0;
  int firstFrame_ = 1;
  MorphBlend blend_;
  uint32_t frameCount_ = 0;
};
