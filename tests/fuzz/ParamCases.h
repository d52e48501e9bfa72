#pragma once
// Parameter strings of known outcome: a few items of good values, bad
// values, unknown keys and broken items, with the values a fresh table must
// hold after parsing them and the count of bad values it must report.
// Header only, shared with the sanitizer build on the host.
#include <cctype>
#include <string>
#include <vector>

#include "FuzzText.h"
#include "X2ParamTable.h"

namespace fuzz {

inline std::vector<int> Values(const X2ParamTable& t) {
  std::vector<int> v;
  for (int i = 0; i < t.Count(); ++i) v.push_back(t.Value(i));
  return v;
}

// The key with its ASCII letters in random case.
inline std::string RandomCase(Rng& rng, const char* text) {
  std::string out;
  for (const char* p = text; *p; ++p) {
    const unsigned char c = static_cast<unsigned char>(*p);
    if ((c >= 0x81 && c <= 0x9F) || c >= 0xE0) {  // a double-byte character stays as it is
      out += *p;
      if (p[1]) out += *++p;
      continue;
    }
    out += static_cast<char>(rng.Chance(50) && std::isalpha(c) ? (c ^ 0x20) : c);
  }
  return out;
}

inline std::string StripSeparators(std::string s) {
  std::string out;
  for (char c : s)
    if (c != ',' && c != '\t' && c != ':') out += c;
  return out;
}

struct Expectation {
  std::string text;
  std::vector<int> values;
  int rejected = 0;
};

// A string of a few items with its known outcome on a fresh table.
inline Expectation Structured(Rng& rng, const X2ParamTable& fresh) {
  Expectation e;
  e.values = Values(fresh);
  const int items = rng.Between(0, 8);
  for (int n = 0; n < items; ++n) {
    std::string item;
    const int pos = rng.Below(fresh.Count());
    const X2ParamDesc& d = fresh.Desc(pos);
    const int kind = rng.Below(10);
    if (kind < 4) {  // a good value
      int v = 0;
      std::string value;
      if (d.kind == kParamChoice) {
        do v = rng.Below(fresh.ChoiceCount(pos));
        while (!d.choices[v][0]);  // an empty choice cannot be written
        value = RandomCase(rng, d.choices[v]);
      } else {
        v = rng.Between(0, 5000);
        value = fuzz::Decimal(v);
      }
      item = RandomCase(rng, d.key) + ":" + value;
      if (rng.Chance(15)) item += ":" + StripSeparators(fuzz::NonNumber(rng));  // cut at the colon
      e.values[static_cast<size_t>(pos)] = v;
    } else if (kind < 7) {  // a bad value
      std::string value = StripSeparators(rng.Chance(30) && d.kind == kParamChoice ? fuzz::Decimal(rng.Below(4))
                                                                                   : fuzz::NonNumber(rng));
      item = RandomCase(rng, d.key) + ":" + value;
      if (!value.empty()) ++e.rejected;
    } else if (kind == 7) {
      item = StripSeparators(fuzz::WellFormedText(rng, rng.Between(1, 10))) + "x:" + fuzz::Decimal(rng.Below(9));
    } else if (kind == 8) {
      item = d.key;  // no colon
    } else {
      item = ":" + fuzz::Decimal(rng.Below(9));  // no key
    }
    if (!e.text.empty()) e.text += rng.Chance(70) ? "," : (rng.Chance(50) ? "\t" : ",,");
    e.text += item;
  }
  return e;
}

}  // namespace fuzz
