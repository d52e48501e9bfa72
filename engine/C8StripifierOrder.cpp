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

// The corners of a run's first face in strip order: the run goes on across
// (b, c) into `second` and the third face hangs on c.
void LeadOrder(const C8StripFace& first, const C8StripFace* second, const C8StripFace* third,
               int& a, int& b, int& c) {
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
void StartRun(std::vector<int>& out, const C8StripFace& first, int a, int b, int c) {
  const bool keepsWinding = first.HasDirectedEdge(a, b);
  if (!out.empty()) out.insert(out.end(), {out.back(), a});
  if ((out.size() % 2 == 0) != keepsWinding) out.push_back(a);
  out.insert(out.end(), {a, b, c});
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
  if (chunks_.empty()) return;
  OrderChunksForCache();
}

// Greedy over the joined output: the next chunk is the one that loads the
// fewest new vertices per face into the cache as it stands after the chunks
// so far. When no chunk has a vertex left in the cache, the chunk that comes
// first in the list goes next, so that a well-ordered list is followed
// rather than left for a far corner of the mesh.
void C8Stripifier::OrderChunksForCache() {
  const size_t n = chunks_.size();
  std::vector<int> firstOrder(n);
  std::vector<int> distinct(n, 0);
  std::vector<int> resident(n, 0);
  std::vector<std::vector<size_t>> users;  // vertex -> chunks that use it
  std::vector<int> corners;
  for (size_t k = 0; k < n; ++k) {
    firstOrder[k] = FirstOrder(*chunks_[k]);
    corners.clear();
    for (const C8StripFace* face : chunks_[k]->Faces())
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
    const double misses = resident[k] > 0
        ? static_cast<double>(distinct[k] - resident[k]) / static_cast<double>(chunks_[k]->Faces().size())
        : cold;
    return Key(misses, firstOrder[k], k);
  };
  std::set<Key> open;
  for (size_t k = 0; k < n; ++k) open.insert(key(k));

  C8VertexCache cache(modelCacheSize_);
  auto change = [&](int v, int delta) {
    if (v < 0 || static_cast<size_t>(v) >= users.size()) return;
    for (size_t k : users[static_cast<size_t>(v)]) {
      if (chunks_[k]->Visited()) continue;
      open.erase(key(k));
      resident[k] += delta;
      open.insert(key(k));
    }
  };

  std::vector<int> joined;
  while (!open.empty()) {
    const size_t best = std::get<2>(*open.begin());
    open.erase(open.begin());
    C8StripInfo& chunk = *chunks_[best];
    ordered_.push_back(&chunk);
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

std::vector<int> C8Stripifier::JoinStrips() const {
  std::vector<int> out;
  for (const C8StripInfo* chunk : ordered_) AppendChunk(out, *chunk);
  return out;
}

std::vector<int> C8Stripifier::ListAsStrip(bool continueRuns) const {
  const size_t triangles = indices_.size() / 3;
  std::vector<const C8StripFace*> kept(triangles, nullptr);
  for (const C8StripFace& face : faces_) kept[static_cast<size_t>(face.order)] = &face;

  std::vector<int> out;
  int run = 0;  // faces in the run that ends the output
  for (size_t t = 0; t < triangles; ++t) {
    const C8StripFace* face = kept[t];
    if (!face) {
      // Only repeats: every triangle they touch is degenerate.
      if (!out.empty()) out.push_back(out.back());
      for (int k = 0; k < 3; ++k) {
        const int v = indices_[3 * t + static_cast<size_t>(k)];
        if (v >= 0) out.insert(out.end(), {v, v});
      }
      run = 0;
      continue;
    }

    if (continueRuns && run > 0 && run < cacheSize_) {
      // The face goes on from the last two indices when it holds them and
      // the position it would be drawn at gives it its own winding.
      const int p = out[out.size() - 2];
      const int q = out[out.size() - 1];
      const int r = face->i0 != p && face->i0 != q ? face->i0
                    : face->i1 != p && face->i1 != q ? face->i1 : face->i2;
      const bool even = out.size() % 2 == 0;
      if (face->Contains(p) && face->Contains(q) &&
          (even ? face->HasDirectedEdge(p, q) : face->HasDirectedEdge(p, r))) {
        out.push_back(r);
        ++run;
        continue;
      }
    }

    int a = face->i0, b = face->i1, c = face->i2;
    if (continueRuns) {
      LeadOrder(*face, t + 1 < triangles ? kept[t + 1] : nullptr,
                t + 2 < triangles ? kept[t + 2] : nullptr, a, b, c);
    }
    StartRun(out, *face, a, b, c);
    run = 1;
  }
  return out;
}

std::vector<int> C8Stripifier::MakeStrip(const std::vector<int>& indices) {
  Stripify(indices);
  const std::vector<int> list(indices_.begin(), indices_.begin() + indices_.size() / 3 * 3);
  const int listMisses = C8VertexCache::CountMisses(list, modelCacheSize_);

  // Chunks in cache order against the list's own order walked in strips:
  // the first wins on meshes listed in no useful order, the second on
  // meshes already listed for the cache. Fewer misses win, then fewer
  // indices.
  std::vector<int> best = JoinStrips();
  int bestMisses = C8VertexCache::CountMisses(best, modelCacheSize_);
  std::vector<int> walked = ListAsStrip(true);
  const int walkedMisses = C8VertexCache::CountMisses(walked, modelCacheSize_);
  if (walkedMisses < bestMisses || (walkedMisses == bestMisses && walked.size() < best.size())) {
    best = std::move(walked);
    bestMisses = walkedMisses;
  }
  // Runs of one face in list order miss exactly where the list does.
  if (bestMisses > listMisses) return ListAsStrip(false);
  return best;
}
