// Strips that follow the input list, and the choice of the output strip by
// its vertex cache misses.
#include <utility>

#include "C8Stripifier.h"
#include "C8VertexCache.h"

std::vector<std::unique_ptr<C8StripInfo>> C8Stripifier::WalkList() {
  // Faces are stored in list order.
  std::vector<C8StripFace*> faces;
  for (C8StripFace& face : faces_) faces.push_back(&face);

  std::vector<std::unique_ptr<C8StripInfo>> runs;
  std::vector<int> strip;  // the current run as drawn from an even position
  for (size_t k = 0; k < faces.size(); ++k) {
    C8StripFace* face = faces[k];
    if (!runs.empty() && runs.back()->Faces().size() < static_cast<size_t>(cacheSize_)) {
      // The face goes on from the last two indices when it holds them and
      // a third one that is not among the last three, and the position it
      // would be drawn at gives it its own winding.
      const size_t n = strip.size();
      const int p = strip[n - 2];
      const int q = strip[n - 1];
      if (face->Contains(p) && face->Contains(q)) {
        const int r = face->i0 != p && face->i0 != q ? face->i0
                      : face->i1 != p && face->i1 != q ? face->i1 : face->i2;
        const bool winds = n % 2 == 0 ? face->HasDirectedEdge(p, q) : face->HasDirectedEdge(p, r);
        if (r != strip[n - 3] && winds) {
          strip.push_back(r);
          runs.back()->Faces().push_back(face);
          continue;
        }
      }
    }

    // A new run leads into the next two faces, as AppendChunk will.
    int a, b, c;
    LeadOrder(*face, k + 1 < faces.size() ? faces[k + 1] : nullptr,
              k + 2 < faces.size() ? faces[k + 2] : nullptr, a, b, c);
    strip.clear();
    StartRun(strip, *face, a, b, c);
    runs.push_back(std::make_unique<C8StripInfo>(C8StripStart(), face->stripId, -1));
    runs.back()->Faces().push_back(face);
  }
  return runs;
}

std::vector<int> C8Stripifier::ListAsStrip() const {
  const size_t triangles = indices_.size() / 3;
  std::vector<const C8StripFace*> kept(triangles, nullptr);
  for (const C8StripFace& face : faces_) kept[static_cast<size_t>(face.order)] = &face;

  std::vector<int> out;
  for (size_t t = 0; t < triangles; ++t) {
    if (const C8StripFace* face = kept[t]) {
      StartRun(out, *face, face->i0, face->i1, face->i2);
      continue;
    }
    // Only repeats: every triangle they touch is degenerate.
    if (!out.empty()) out.push_back(out.back());
    for (size_t k = 0; k < 3; ++k) {
      const int v = indices_[3 * t + k];
      if (v >= 0) out.insert(out.end(), {v, v});
    }
  }
  return out;
}

std::vector<int> C8Stripifier::MakeStrip(const std::vector<int>& indices) {
  Stripify(indices);
  const std::vector<int> list(indices_.begin(), indices_.begin() + indices_.size() / 3 * 3);
  const int listMisses = C8VertexCache::CountMisses(list, modelCacheSize_);

  // The searched chunks in cache order win on meshes listed in no useful
  // order; the list walked in runs, as listed or in cache order, wins on
  // meshes already listed for the cache. Fewer misses win, then fewer
  // indices.
  std::vector<int> best = JoinStrips();
  int bestMisses = C8VertexCache::CountMisses(best, modelCacheSize_);
  auto consider = [&](std::vector<int> strip) {
    const int misses = C8VertexCache::CountMisses(strip, modelCacheSize_);
    if (misses < bestMisses || (misses == bestMisses && strip.size() < best.size())) {
      best = std::move(strip);
      bestMisses = misses;
    }
  };
  const std::vector<std::unique_ptr<C8StripInfo>> runs = WalkList();
  std::vector<C8StripInfo*> listed;
  for (const auto& run : runs) listed.push_back(run.get());
  consider(Join(listed));
  // Runs of one or two faces gain too little from reordering to pay for it.
  if (runs.size() * 2 <= faces_.size()) consider(Join(OrderForCache(runs)));

  // One face per run in list order misses exactly where the list does.
  if (bestMisses > listMisses) return ListAsStrip();
  return best;
}
