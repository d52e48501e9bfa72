// Cutting strips into cache-sized chunks, ordering the chunks for vertex
// reuse and joining them into one strip.
#include <algorithm>
#include <set>
#include <utility>

#include "C8Stripifier.h"
#include "C8VertexCache.h"

void C8Stripifier::UpdateCache(C8VertexCache& cache, const C8StripInfo& strip) {
  UpdateCache(cache, strip, [](int, int) {});
}

void C8Stripifier::UpdateCache(C8VertexCache& cache, const C8StripInfo& strip,
                               const std::function<void(int, int)>& changed) {
  for (const C8StripFace* face : strip.Faces()) {
    for (int v : {face->i0, face->i1, face->i2}) {
      if (cache.InCache(v)) continue;
      const int dropped = cache.Last();
      cache.AddEntry(v);
      if (dropped >= 0) changed(dropped, -1);
      changed(v, 1);
    }
  }
}

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

  // Start with the chunk that has the fewest neighbours per face: a border.
  float fewest = 10000.0f;
  size_t first = 0;
  for (size_t k = 0; k < chunks_.size(); ++k) {
    const std::vector<C8StripFace*>& faces = chunks_[k]->Faces();
    int neighbours = 0;
    for (const C8StripFace* face : faces) neighbours += NeighbourCount(face);
    const float average = static_cast<float>(neighbours) / static_cast<float>(faces.size());
    if (average < fewest) {
      fewest = average;
      first = k;
    }
  }

  // Then always the chunk that finds most of its vertices in the cache (the
  // first such in chunk order). Each chunk's hits are kept up to date as
  // vertices enter and leave the cache, through an index from vertex to the
  // chunks that use it, and the chunks are kept sorted by hits per face.
  const size_t n = chunks_.size();
  std::vector<int> hits(n, 0);
  std::vector<std::vector<std::pair<size_t, int>>> users;  // vertex -> (chunk, corners)
  for (size_t k = 0; k < n; ++k) {
    std::vector<int> corners;
    for (const C8StripFace* face : chunks_[k]->Faces())
      for (int v : {face->i0, face->i1, face->i2}) corners.push_back(v);
    std::sort(corners.begin(), corners.end());
    for (size_t i = 0; i < corners.size();) {
      size_t j = i;
      while (j < corners.size() && corners[j] == corners[i]) ++j;
      const int v = corners[i];
      if (v >= 0) {
        if (static_cast<size_t>(v) >= users.size()) users.resize(static_cast<size_t>(v) + 1);
        users[static_cast<size_t>(v)].push_back({k, static_cast<int>(j - i)});
      }
      i = j;
    }
  }
  auto perFace = [&](size_t k) {
    return static_cast<float>(hits[k]) / static_cast<float>(chunks_[k]->Faces().size());
  };
  auto before = [](const std::pair<float, size_t>& a, const std::pair<float, size_t>& b) {
    return a.first > b.first || (a.first == b.first && a.second < b.second);
  };
  std::set<std::pair<float, size_t>, decltype(before)> open(before);
  for (size_t k = 0; k < n; ++k)
    if (k != first) open.insert({0.0f, k});

  C8VertexCache cache(cacheSize_);
  auto changed = [&](int v, int change) {
    if (v < 0 || static_cast<size_t>(v) >= users.size()) return;
    for (const auto& [k, corners] : users[static_cast<size_t>(v)]) {
      if (chunks_[k]->Visited()) continue;
      open.erase({perFace(k), k});
      hits[k] += change * corners;
      open.insert({perFace(k), k});
    }
  };
  ordered_.push_back(chunks_[first].get());
  chunks_[first]->SetVisited();
  UpdateCache(cache, *chunks_[first], changed);

  while (!open.empty()) {
    const size_t best = open.begin()->second;
    open.erase(open.begin());
    ordered_.push_back(chunks_[best].get());
    chunks_[best]->SetVisited();
    UpdateCache(cache, *chunks_[best], changed);
  }
}

std::vector<int> C8Stripifier::JoinStrips() const {
  std::vector<int> out;
  for (size_t s = 0; s < ordered_.size(); ++s) {
    const std::vector<C8StripFace*>& faces = ordered_[s]->Faces();
    const C8StripFace* first = faces.front();

    // Order the first face so that the strip goes on across (b, c) and the
    // third face hangs on c.
    int a = first->i0, b = first->i1, c = first->i2;
    if (faces.size() > 1) {
      const C8StripFace* second = faces[1];
      if (!second->Contains(a)) {
      } else if (!second->Contains(b)) {
        std::swap(a, b);
      } else if (!second->Contains(c)) {
        std::swap(a, c);
      }
      if (faces.size() > 2) {
        const C8StripFace* third = faces[2];
        if (!third->Contains(a) && third->Contains(b)) std::swap(b, c);
      }
    }

    // An even position draws (a, b, c) as given, an odd one reversed.
    const bool keepsWinding = first->HasDirectedEdge(a, b);
    if (s == 0) {
      if (!keepsWinding) out.push_back(a);
    } else {
      out.push_back(a);
      const bool evenNext = out.size() % 2 == 0;
      if (evenNext != keepsWinding) out.push_back(a);
    }

    out.push_back(a);
    out.push_back(b);
    out.push_back(c);
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
    if (s + 1 < ordered_.size()) out.push_back(last[2]);
  }
  return out;
}
