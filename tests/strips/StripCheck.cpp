#include "StripCheck.h"

#include <algorithm>
#include <set>
#include <sstream>

namespace striptest {

Triangle Canonical(Triangle t) {
  while (t[0] > t[1] || t[0] > t[2]) t = {t[1], t[2], t[0]};
  return t;
}

DecodedStrip DecodeStrip(const std::vector<int>& strip) {
  DecodedStrip out;
  int run = 0;
  for (size_t k = 0; k + 2 < strip.size(); ++k) {
    Triangle t = {strip[k], strip[k + 1], strip[k + 2]};
    if (k % 2 == 1) std::swap(t[1], t[2]);
    if (t[0] == t[1] || t[1] == t[2] || t[2] == t[0]) {
      if (run > 0) out.runs.push_back(run);
      run = 0;
      continue;
    }
    out.triangles.push_back(t);
    ++run;
  }
  if (run > 0) out.runs.push_back(run);
  return out;
}

std::vector<Triangle> ExpectedTriangles(const std::vector<int>& list) {
  std::set<Triangle> seen;
  std::vector<Triangle> out;
  for (size_t k = 0; k + 2 < list.size(); k += 3) {
    const Triangle t = {list[k], list[k + 1], list[k + 2]};
    if (t[0] == t[1] || t[1] == t[2] || t[2] == t[0]) continue;
    if (!seen.insert(t).second) continue;
    out.push_back(Canonical(t));
  }
  std::sort(out.begin(), out.end());
  return out;
}

namespace {

std::string Describe(const Triangle& t) {
  std::ostringstream s;
  s << "(" << t[0] << "," << t[1] << "," << t[2] << ")";
  return s.str();
}

}  // namespace

std::string CompareTriangles(const std::vector<Triangle>& expected,
                             const std::vector<Triangle>& drawn) {
  std::vector<Triangle> got;
  for (const Triangle& t : drawn) got.push_back(Canonical(t));
  std::sort(got.begin(), got.end());
  if (got == expected) return std::string();

  std::vector<Triangle> missing, extra;
  std::set_difference(expected.begin(), expected.end(), got.begin(), got.end(),
                      std::back_inserter(missing));
  std::set_difference(got.begin(), got.end(), expected.begin(), expected.end(),
                      std::back_inserter(extra));
  std::ostringstream s;
  s << "expected " << expected.size() << " triangles, drawn " << got.size();
  s << "; missing:";
  for (size_t k = 0; k < missing.size() && k < 8; ++k) s << " " << Describe(missing[k]);
  s << "; extra:";
  for (size_t k = 0; k < extra.size() && k < 8; ++k) s << " " << Describe(extra[k]);
  return s.str();
}

}  // namespace striptest
