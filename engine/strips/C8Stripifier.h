#pragma once
// The working object of one strip-building call: faces and edges of the
// input, the strip search with experiments, the cutting of strips into
// cache-sized chunks, their ordering and their joining into one sequence.
#include <deque>
#include <memory>
#include <vector>

#include "C8StripInfo.h"
#include "StripTopology.h"

class C8Stripifier {
 public:
  // cacheSize is the modelled vertex cache; chunks hold max(cacheSize - 6, 1)
  // faces.
  explicit C8Stripifier(int cacheSize);
  ~C8Stripifier();
  C8Stripifier(const C8Stripifier&) = delete;
  C8Stripifier& operator=(const C8Stripifier&) = delete;

  // Builds faces and edges of indices.size() / 3 triangles, searches strips,
  // cuts them into chunks and orders them. The chunks stay owned by the
  // stripifier; the result is valid until the next call or destruction.
  const std::vector<C8StripInfo*>& Stripify(const std::vector<int>& indices);

  // Joins the ordered chunks into one strip index sequence, with degenerate
  // triangles between chunks, keeping every face's winding.
  std::vector<int> JoinStrips() const;
  // The same for any chunks, in the given order.
  static std::vector<int> Join(const std::vector<C8StripInfo*>& chunks);

  // Stripify, then the one strip that misses the modelled cache least of
  // JoinStrips and the list's own runs (WalkList) as listed and in cache
  // order; ListAsStrip when all of them miss more than the list itself.
  std::vector<int> MakeStrip(const std::vector<int>& indices);

  // The faces of the last Stripify call in list order, one face per run,
  // joined with degenerate triangles; a left-out triangle stays as its
  // indices doubled. It misses any FIFO cache exactly where the list does.
  std::vector<int> ListAsStrip() const;

  // The faces of the last Stripify call in list order, cut into runs where
  // a face does not go on from the one before it or the chunk size is
  // reached.
  std::vector<std::unique_ptr<C8StripInfo>> WalkList();

  // The index of face that is not one of the last two of indices, or -1.
  static int GetNextIndex(const std::vector<int>& indices, const C8StripFace* face);

  int EffectiveCacheSize() const { return cacheSize_; }
  const std::deque<C8StripFace>& Faces() const { return faces_; }
  // The edge joining a and b (either order), or null.
  C8StripEdge* FindEdge(int a, int b) const;

 private:
  using Experiment = std::vector<std::unique_ptr<C8StripInfo>>;

  void Clear();
  void BuildStripifyInfo();
  void AddEdge(C8StripFace* face, int a, int b);

  // Strip search.
  void FindAllStrips(int numSamples);
  int FindStartPoint() const;
  C8StripFace* NextResetPoint();
  void BuildStrip(C8StripInfo& strip);
  void GrowStrip(const C8StripInfo& strip, C8StripFace* from, std::vector<C8StripFace*>& seen,
                 std::vector<C8StripFace*>* found);
  // Counts of the faces of the strip being built at each vertex, so that a
  // face whose three vertices the strip already has is told without a scan.
  void CountSeen(const C8StripFace* face, int delta);
  bool AllSeen(const C8StripFace* face) const;
  bool FindTraversal(const C8StripInfo& last, C8StripStart& next) const;
  bool SharesEdge(const C8StripFace* face, const C8StripInfo& strip) const;
  C8StripFace* FaceAcross(const C8StripFace* face, int a, int b) const;
  int NeighbourCount(const C8StripFace* face) const;

  // Chunks and their order.
  void SplitUpStripsAndOptimize();
  // The chunks in the order that loads the fewest new vertices per face
  // into the modelled cache at each step; marks them visited.
  std::vector<C8StripInfo*> OrderForCache(
      const std::vector<std::unique_ptr<C8StripInfo>>& chunks) const;
  // The corners of a run's first face in strip order: the run goes on
  // across (b, c) into `second` and `third` hangs on c.
  static void LeadOrder(const C8StripFace& first, const C8StripFace* second,
                        const C8StripFace* third, int& a, int& b, int& c);
  // Appends a run's first face as (a, b, c) at the position that draws it
  // with its own winding, after a degenerate join to earlier indices.
  static void StartRun(std::vector<int>& out, const C8StripFace& first, int a, int b, int c);
  // Appends the indices of one chunk to a joined sequence: the degenerate
  // join (none for the first chunk) and the chunk's own strip.
  static void AppendChunk(std::vector<int>& out, const C8StripInfo& chunk);

  int cacheSize_;       // faces per chunk
  int modelCacheSize_;  // entries of the modelled cache
  float meshJump_ = 0.0f;
  bool firstReset_ = true;
  int nextStripId_ = 0;
  int nextExperimentId_ = 0;

  std::vector<int> indices_;
  std::deque<C8StripFace> faces_;
  std::deque<C8StripEdge> edges_;
  std::vector<C8StripEdge*> edgeLists_;   // list head per vertex index
  std::vector<int> scratch_;              // indices while growing a strip
  std::vector<int> seenCount_;            // per vertex, see CountSeen

  std::vector<std::unique_ptr<C8StripInfo>> strips_;  // committed, search order
  std::vector<std::unique_ptr<C8StripInfo>> chunks_;  // cut to the cache size
  std::vector<C8StripInfo*> ordered_;                 // chunks in output order
};
