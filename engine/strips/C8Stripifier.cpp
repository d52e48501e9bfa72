#include "C8Stripifier.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <tuple>

#include "C8VertexCache.h"

namespace {

// Diagnostics of the strip builder go to standard output, not to the log.
void Report(const char* text) {
  std::fputs(text, stdout);
  std::fflush(stdout);
}

}  // namespace

C8Stripifier::C8Stripifier(int cacheSize)
    : cacheSize_(std::max(cacheSize - 6, 1)), modelCacheSize_(std::max(cacheSize, 1)) {}

C8Stripifier::~C8Stripifier() = default;

void C8Stripifier::Clear() {
  ordered_.clear();
  chunks_.clear();
  strips_.clear();
  edgeLists_.clear();
  edges_.clear();
  faces_.clear();
  scratch_.clear();
  indices_.clear();
}

const std::vector<C8StripInfo*>& C8Stripifier::Stripify(const std::vector<int>& indices) {
  Clear();
  indices_ = indices;
  meshJump_ = 0.0f;
  firstReset_ = true;
  nextStripId_ = 0;
  nextExperimentId_ = 0;

  BuildStripifyInfo();
  FindAllStrips(10);
  SplitUpStripsAndOptimize();
  return ordered_;
}

void C8Stripifier::BuildStripifyInfo() {
  int maxIndex = -1;
  for (int v : indices_) maxIndex = std::max(maxIndex, v);
  edgeLists_.assign(static_cast<size_t>(maxIndex + 1), nullptr);

  std::set<std::tuple<int, int, int>> seen;
  const size_t triangles = indices_.size() / 3;
  for (size_t t = 0; t < triangles; ++t) {
    const int a = indices_[3 * t];
    const int b = indices_[3 * t + 1];
    const int c = indices_[3 * t + 2];
    // A triangle with a repeated index covers no area and cannot be walked
    // across; it is left out.
    if (a < 0 || b < 0 || c < 0 || a == b || b == c || c == a) continue;
    // Exact duplicates (same indices, same order) appear once.
    if (!seen.emplace(a, b, c).second) continue;

    faces_.emplace_back(a, b, c, static_cast<int>(t));
    C8StripFace* face = &faces_.back();
    AddEdge(face, a, b);
    AddEdge(face, b, c);
    AddEdge(face, c, a);
  }
}

void C8Stripifier::AddEdge(C8StripFace* face, int a, int b) {
  if (C8StripEdge* edge = FindEdge(a, b)) {
    if (!edge->face1) {
      edge->face1 = face;
    } else {
      Report("BuildStripifyInfo: > 2 triangles on an edge... uncertain consequences\n");
    }
    return;
  }
  edges_.emplace_back(a, b);
  C8StripEdge* edge = &edges_.back();
  edge->face0 = face;
  edge->nextI0 = edgeLists_[a];
  edgeLists_[a] = edge;
  edge->nextI1 = edgeLists_[b];
  edgeLists_[b] = edge;
}

C8StripEdge* C8Stripifier::FindEdge(int a, int b) const {
  if (a < 0 || static_cast<size_t>(a) >= edgeLists_.size()) return nullptr;
  for (C8StripEdge* edge = edgeLists_[a]; edge; edge = edge->NextAt(a)) {
    if (edge->Joins(a, b)) return edge;
  }
  return nullptr;
}

C8StripFace* C8Stripifier::FaceAcross(const C8StripFace* face, int a, int b) const {
  const C8StripEdge* edge = FindEdge(a, b);
  return edge ? edge->OtherFace(face) : nullptr;
}

int C8Stripifier::NeighbourCount(const C8StripFace* face) const {
  int count = 0;
  if (FaceAcross(face, face->i0, face->i1)) ++count;
  if (FaceAcross(face, face->i1, face->i2)) ++count;
  if (FaceAcross(face, face->i2, face->i0)) ++count;
  return count;
}

int C8Stripifier::GetNextIndex(const std::vector<int>& indices, const C8StripFace* face) {
  if (indices.size() < 2) return -1;
  const int x = indices[indices.size() - 2];
  const int y = indices[indices.size() - 1];
  const int v[3] = {face->i0, face->i1, face->i2};
  for (int k = 0; k < 3; ++k) {
    if (v[k] == x || v[k] == y) continue;
    const int p = v[(k + 1) % 3];
    const int q = v[(k + 2) % 3];
    if ((p != x && p != y) || (q != x && q != y)) {
      Report("GetNextIndex: Triangle doesn't have all of its vertices\n");
      Report("GetNextIndex: Duplicate triangle probably got us derailed\n");
    }
    return v[k];
  }
  Report("GetNextIndex: Duplicate triangle sent\n");
  return -1;
}

void C8Stripifier::BuildStrip(C8StripInfo& strip) {
  C8StripFace* first = strip.Start().face;
  const C8StripEdge* edge = strip.Start().edge;
  strip.Mark(first);

  const int a = strip.Start().toI1 ? edge->i0 : edge->i1;
  const int b = strip.Start().toI1 ? edge->i1 : edge->i0;
  scratch_.assign({a, b});
  const int c = GetNextIndex(scratch_, first);

  std::vector<C8StripFace*> forward{first};
  std::vector<C8StripFace*> backward;
  CountSeen(first, 1);
  if (c >= 0) {
    scratch_.push_back(c);
    GrowStrip(strip, first, forward, nullptr);

    scratch_.assign({c, b, a});
    std::vector<C8StripFace*> seen = forward;
    GrowStrip(strip, first, seen, &backward);
  }

  std::vector<C8StripFace*>& faces = strip.Faces();
  faces.assign(backward.rbegin(), backward.rend());
  faces.insert(faces.end(), forward.begin(), forward.end());
  for (const C8StripFace* face : faces) CountSeen(face, -1);
}

void C8Stripifier::CountSeen(const C8StripFace* face, int delta) {
  for (int v : {face->i0, face->i1, face->i2}) {
    if (v < 0) continue;
    if (static_cast<size_t>(v) >= seenCount_.size()) seenCount_.resize(static_cast<size_t>(v) + 1, 0);
    seenCount_[static_cast<size_t>(v)] += delta;
  }
}

bool C8Stripifier::AllSeen(const C8StripFace* face) const {
  for (int v : {face->i0, face->i1, face->i2})
    if (v < 0 || static_cast<size_t>(v) >= seenCount_.size() || seenCount_[static_cast<size_t>(v)] <= 0) return false;
  return true;
}

// Walks from face across the last two scratch indices while the next face
// is free, brings a new vertex and winds the same way as the face before it
// (the shared edge runs the opposite way in the two faces). Without the last
// test a neighbour of opposite winding would come out of the strip flipped.
void C8Stripifier::GrowStrip(const C8StripInfo& strip, C8StripFace* from,
                             std::vector<C8StripFace*>& seen,
                             std::vector<C8StripFace*>* found) {
  C8StripFace* current = from;
  for (;;) {
    const int x = scratch_[scratch_.size() - 2];
    const int y = scratch_[scratch_.size() - 1];
    C8StripFace* next = FaceAcross(current, x, y);
    // A face whose three vertices are all in `seen` already ends the strip.
    if (!next || strip.IsTaken(next) || AllSeen(next)) break;
    if (current->HasDirectedEdge(x, y) == next->HasDirectedEdge(x, y)) break;

    strip.Mark(next);
    seen.push_back(next);
    CountSeen(next, 1);
    if (found) found->push_back(next);
    const int v = GetNextIndex(scratch_, next);
    if (v < 0) break;
    scratch_.push_back(v);
    current = next;
  }
}

bool C8Stripifier::SharesEdge(const C8StripFace* face, const C8StripInfo& strip) const {
  const int v[3] = {face->i0, face->i1, face->i2};
  for (int k = 0; k < 3; ++k) {
    const C8StripEdge* edge = FindEdge(v[k], v[(k + 1) % 3]);
    if (!edge) continue;
    if ((edge->face0 && strip.IsInStrip(edge->face0)) ||
        (edge->face1 && strip.IsInStrip(edge->face1))) {
      return true;
    }
  }
  return false;
}
