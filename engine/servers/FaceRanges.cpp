#include "FaceRanges.h"

#include <algorithm>
#include <numeric>

std::vector<D3DXATTRIBUTERANGE> SortFacesByAttribute(std::vector<uint32_t>* indices,
                                                     const std::vector<uint32_t>& attributes) {
  const size_t faces = std::min(indices->size() / 3, attributes.size());
  std::vector<size_t> order(faces);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return attributes[a] < attributes[b]; });

  std::vector<uint32_t> sorted;
  sorted.reserve(faces * 3);
  std::vector<D3DXATTRIBUTERANGE> ranges;
  for (size_t i = 0; i < faces; ++i) {
    const size_t f = order[i];
    if (ranges.empty() || ranges.back().AttribId != attributes[f]) {
      D3DXATTRIBUTERANGE r{};
      r.AttribId = attributes[f];
      r.FaceStart = static_cast<DWORD>(i);
      ranges.push_back(r);
    }
    ranges.back().FaceCount++;
    for (int k = 0; k < 3; ++k) sorted.push_back((*indices)[f * 3 + k]);
  }
  for (D3DXATTRIBUTERANGE& r : ranges) {
    const auto first = sorted.begin() + size_t(r.FaceStart) * 3;
    const auto last = first + size_t(r.FaceCount) * 3;
    const auto span = std::minmax_element(first, last);
    r.VertexStart = *span.first;
    r.VertexCount = *span.second - *span.first + 1;
  }
  indices->swap(sorted);
  return ranges;
}
