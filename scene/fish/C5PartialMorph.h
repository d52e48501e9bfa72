#pragma once
// Two-pose blends of parts of a fish mesh (eyes, mouth, fins). The
// partial-morph mesh holds each part's poses A and B; the build turns them
// into differences from the base mesh in place and lists, per base-mesh
// material, the vertices the part moves. Each frame only those vertices are
// blended on the processor into a delta stream added by the vertex shader.
#include <d3d9.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "FishMotion.h"
#include "X2PluginAbi.h"

struct MeshRecord;

class C5PartialMorph {
 public:
  C5PartialMorph() = default;
  virtual ~C5PartialMorph();
  C5PartialMorph(const C5PartialMorph&) = delete;
  C5PartialMorph& operator=(const C5PartialMorph&) = delete;

  virtual HRESULT RestoreDeviceObjects();
  virtual HRESULT InvalidateDeviceObjects();
  virtual int Reserved() { return 0; }

  void SetParts(std::vector<MeshRecord*>* meshes, int baseIndex, int partialIndex, X2FishPart* parts,
                int partCount);
  // Lists the moved vertices of every part and converts the poses to
  // differences once per range of the mesh, whichever record asks first.
  // Stops at the first part whose ranges do not match; false then.
  bool Build();
  // The blend of every built part into the delta buffer; weights[i] for part i.
  void Apply(const float weights[kMaxFishParts]);
  // Copies the delta buffer into the vertex buffer; null without one.
  IDirect3DVertexBuffer9* Upload();

  // A copy of the built record for another fish (no device objects).
  std::unique_ptr<C5PartialMorph> CopyFor(std::vector<MeshRecord*>* meshes) const;

  const std::vector<int>& ChangedVertices(int material) const { return changed_[material]; }
  int ChangedCount(int material) const { return counts_[material]; }
  int BuiltParts() const { return builtParts_; }
  int PartCount() const { return partCount_; }
  const std::vector<float>& Deltas() const { return deltas_; }
  uint32_t BaseVertexCount() const;

  // Whether a range of a partial-morph mesh already holds differences.
  static bool IsRangeConverted(const X2FishMesh* mesh, uint32_t range);
  // Drops what is known of meshes inside [begin, begin + size): a module
  // being unloaded, whose data a later load brings back unconverted.
  static void ForgetConversions(const void* begin, size_t size);

 private:
  std::vector<MeshRecord*>* meshes_ = nullptr;
  const X2FishMesh* base_ = nullptr;
  X2FishMesh* partial_ = nullptr;
  X2FishPart* parts_ = nullptr;
  int baseIndex_ = 0;
  int partialIndex_ = 0;
  std::array<std::vector<int>, kMaxFishParts> changed_;
  std::array<int, kMaxFishParts> counts_{};
  // First vertices of the ranges of each built part, found once by Build.
  struct PartSpan {
    uint32_t poseA;
    uint32_t poseB;
    uint32_t base;
    uint32_t material;
  };
  std::vector<PartSpan> spans_;
  IDirect3DVertexBuffer9* vertexBuffer_ = nullptr;
  int partCount_ = 0;
  int builtParts_ = 0;
  std::vector<float> deltas_;
};

// The three ranges of a part when they exist and hold the same number of
// vertices, and the part's material is below 20; false otherwise.
bool PartRanges(const X2FishMesh* base, const X2FishMesh* partial, const X2FishPart& part,
                const X2AttributeRange** poseA, const X2AttributeRange** poseB,
                const X2AttributeRange** baseRange);
