// Cutting strips into cache-sized chunks, ordering the chunks for vertex
// reuse and joining them into one strip.
#include <algorithm>
#include <limits>
#include <set>
#include <tuple>
#include <utility>

#include "C8Stripifier.h"
#include "C8VertexCache.h"

namespace {

// The first list position among a chunk's faces.
int FirstOrder(const C8StripInfo& chunk) {
  int first = std::numeric_limits<int>::max();
  for (const C8StripFace* face : chunk.Faces()) first = std::min(first, face->order);
  return first;
}

}  // namespace

void C8Stripifier::SplitUpStripsAndOptimize() {
  const size_t threshold = static_cast<size_t>(cacheSize_);
  for (auto& strip : strips_) {
    const std::vector<C8StripFace*>& faces = strip->Faces();
    if (faces.size() <= threshold) {
      chunks_.push_back(std::move(strip));
      continue;
    }
    for (size_t from = 0; from < faces.size(); from += threshold) {
      const size_t to = std::min(from + threshold, faces.size());
      auto chunk = std::make_unique<C8StripInfo>(strip->Start(), strip->StripId(), -1);
      chunk->Faces().assign(faces.begin() + from, faces.begin() + to);
      chunks_.push_back(std::move(chunk));
    }
  }
  strips_.clear();
  ordered_ = OrderForCache(chunks_);
}

// Greedy over the joined output: the next chunk is the one that loads the
// fewest new vertices per face into the cache as it stands after the chunks
// so far. When no chunk has a vertex left in the cache, the chunk that comes
// first in the list goes next, so that a well-ordered list is followed
// rather than left for a far corner of the mesh.
std::vector<C8StripInfo*> C8Stripifier::OrderForCache(
    const std::vector<std::unique_ptr<C8StripInfo>>& chunks) const {
  const size_t n = chunks.size();
  std::vector<int> firstOrder(n);
  std::vector<int> distinct(n, 0);
  std::vector<int> resident(n, 0);
  std::vector<std::vector<size_t>> users;  // vertex -> chunks that use it
  std::vector<int> corners;
  for (size_t k = 0; k < n; ++k) {
    firstOrder[k] = FirstOrder(*chunks[k]);
    corners.clear();
    for (const C8StripFace* face : chunks[k]->Faces())
      for (int v : {face->i0, face->i1, face->i2}) corners.push_back(v);
    std::sort(corners.begin(), corners.end());
    corners.erase(std::unique(corners.begin(), corners.end()), corners.end());
    for (int v : corners) {
      if (v < 0) continue;
      if (static_cast<size_t>(v) >= users.size()) users.resize(static_cast<size_t>(v) + 1);
      users[static_cast<size_t>(v)].push_back(k);
      ++distinct[k];
    }
  }

  using Key = std::tuple<double, int, size_t>;  // new vertices per face, list position, chunk
  const double cold = std::numeric_limits<double>::max();
  auto key = [&](size_t k) {
    const double faces = static_cast<double>(chunks[k]->Faces().size());
    const double misses = resident[k] > 0 ? (distinct[k] - resident[k]) / faces : cold;
    return Key(misses, firstOrder[k], k);
  };
  std::set<Key> open;
  for (size_t k = 0; k < n; ++k) open.insert(key(k));

  C8VertexCache cache(modelCacheSize_);
  auto change = [&](int v, int delta) {
    if (v < 0 || static_cast<size_t>(v) >= users.size()) return;
    for (size_t k : users[static_cast<size_t>(v)]) {
      if (chunks[k]->Visited()) continue;
      open.erase(key(k));
      resident[k] += delta;
      open.insert(key(k));
    }
  };

  std::vector<C8StripInfo*> ordered;
  std::vector<int> joined;
  while (!open.empty()) {
    const size_t best = std::get<2>(*open.begin());
    open.erase(open.begin());
    C8StripInfo& chunk = *chunks[best];
    ordered.push_back(&chunk);
    chunk.SetVisited();

    const size_t from = joined.size();
    AppendChunk(joined, chunk);
    for (size_t i = from; i < joined.size(); ++i) {
      const int v = joined[i];
      if (cache.InCache(v)) continue;
      const int dropped = cache.Last();
      cache.AddEntry(v);
      if (dropped >= 0) change(dropped, -1);
      change(v, 1);
    }
  }
  return ordered;
}

// The corners of a run's first face in strip order: the run goes on across
// (b, c) into `second` and the third face hangs on c.
void C8Stripifier::LeadOrder(const C8StripFace& first, const C8StripFace* second,
                             const C8StripFace* third, int& a, int& b, int& c) {
  a = first.i0;
  b = first.i1;
  c = first.i2;
  if (!second) return;
  if (!second->Contains(a)) {
  } else if (!second->Contains(b)) {
    std::swap(a, b);
  } else if (!second->Contains(c)) {
    std::swap(a, c);
  }
  if (third && !third->Contains(a) && third->Contains(b)) std::swap(b, c);
}

// Appends a run's first face as (a, b, c). An even position draws it as
// given, an odd one reversed; after earlier indices, the last of them
// repeated and a repeated (once or twice) make the degenerate join.
void C8Stripifier::StartRun(std::vector<int>& out, const C8StripFace& first, int a, int b, int c) {
  const bool keepsWinding = first.HasDirectedEdge(a, b);
  if (!out.empty()) out.insert(out.end(), {out.back(), a});
  if ((out.size() % 2 == 0) != keepsWinding) out.push_back(a);
  out.insert(out.end(), {a, b, c});
}

void C8Stripifier::AppendChunk(std::vector<int>& out, const C8StripInfo& chunk) {
  const std::vector<C8StripFace*>& faces = chunk.Faces();
  if (faces.empty()) return;
  int a, b, c;
  LeadOrder(*faces.front(), faces.size() > 1 ? faces[1] : nullptr,
            faces.size() > 2 ? faces[2] : nullptr, a, b, c);
  StartRun(out, *faces.front(), a, b, c);

  int last[3] = {a, b, c};
  for (size_t k = 1; k < faces.size(); ++k) {
    const C8StripFace* face = faces[k];
    for (int v : {face->i0, face->i1, face->i2}) {
      if (v == last[0] || v == last[1] || v == last[2]) continue;
      out.push_back(v);
      last[0] = last[1];
      last[1] = last[2];
      last[2] = v;
      break;
    }
  }
}

std::vector<int> C8Stripifier::Join(const std::vector<C8StripInfo*>& chunks) {
  std::vector<int> out;
  for (const C8StripInfo* chunk : chunks) AppendChunk(out, *chunk);
  return out;
}

std::vector<int> C8Stripifier::JoinStrips() const { return Join(ordered_); }
