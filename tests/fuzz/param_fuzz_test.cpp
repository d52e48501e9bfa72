// Hostile parameter strings against both AI plug-ins' key tables and the
// flock AI's entry points: structured strings whose outcome is known (good
// values taken, bad ones kept at the value before and logged once each) and
// byte-mutated strings that must only parse, format and re-parse stably.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "FakeHost.h"
#include "FuzzText.h"
#include "PurselAI.h"
#include "PurselTables.h"
#include "X2ForelensAI.h"
#include "X2Host.h"
#include "X2ParamTable.h"

namespace {

using aitest::FakeHost;
using fuzz::Rng;

std::vector<int> Values(const X2ParamTable& t) {
  std::vector<int> v;
  for (int i = 0; i < t.Count(); ++i) v.push_back(t.Value(i));
  return v;
}

// The key with its ASCII letters in random case.
std::string RandomCase(Rng& rng, const char* text) {
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

std::string StripSeparators(std::string s) {
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
Expectation Structured(Rng& rng, const X2ParamTable& fresh) {
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

class ParamFuzz : public ::testing::TestWithParam<const X2ParamDesc*> {};

TEST_P(ParamFuzz, StructuredStringsTakeGoodValuesAndLogBadOnes) {
  Rng rng(fuzz::kSeed);
  X2ParamTable fresh;
  fresh.Load(GetParam());
  FakeHost fake;
  const X2Host host(fake.Table());
  int checked = 0;
  for (int c = 0; c < 2500; ++c) {
    const Expectation e = Structured(rng, fresh);
    if (e.text.size() >= X2ParamTable::kTextSize) continue;  // cut: covered by the mutated cases
    ++checked;
    X2ParamTable t = fresh;
    fake.logs.clear();
    ASSERT_EQ(t.Parse(e.text.c_str(), &host), e.rejected) << "case " << c << ": " << e.text;
    ASSERT_EQ(Values(t), e.values) << "case " << c << ": " << e.text;
    ASSERT_EQ(static_cast<int>(fake.logs.size()), e.rejected) << "case " << c;

    char written[X2ParamTable::kTextSize];
    t.Format(written, sizeof written);
    X2ParamTable back = fresh;
    ASSERT_EQ(back.Parse(written), 0) << "case " << c << ": " << written;
    ASSERT_EQ(Values(back), Values(t)) << "case " << c << ": " << written;
  }
  EXPECT_GT(checked, 2000);
}

TEST_P(ParamFuzz, MutatedStringsParseFormatAndReparseStably) {
  Rng rng(fuzz::kSeed + 1);
  X2ParamTable fresh;
  fresh.Load(GetParam());
  for (int c = 0; c < 2000; ++c) {
    std::string text = Structured(rng, fresh).text;
    text = fuzz::Mutate(rng, text, rng.Between(1, 6));
    X2ParamTable t = fresh;
    const int rejected = t.Parse(text.c_str());
    ASSERT_GE(rejected, 0);
    for (int i = 0; i < t.Count(); ++i) {
      if (t.Desc(i).kind != kParamChoice) continue;
      ASSERT_TRUE(t.Value(i) >= 0 && t.Value(i) < t.ChoiceCount(i)) << "case " << c << " item " << i;
    }

    // Written into any room, the text stays inside it and reads back the same
    // when it was not cut.
    const int room = rng.Between(1, X2ParamTable::kTextSize);
    std::vector<char> out(static_cast<size_t>(room) + 16, '#');
    t.Format(out.data(), room);
    const size_t length = std::strlen(out.data());
    ASSERT_LT(length, static_cast<size_t>(room)) << "case " << c;
    ASSERT_EQ(out[static_cast<size_t>(room)], '#') << "case " << c;
    char full[X2ParamTable::kTextSize];
    t.Format(full, sizeof full);
    X2ParamTable back = fresh;
    back.Parse(full);
    ASSERT_EQ(Values(back), Values(t)) << "case " << c << ": " << full;
  }
}

INSTANTIATE_TEST_SUITE_P(BothPlugins, ParamFuzz, ::testing::Values(kPurselKeys, kForelensKeys));

// The flock AI's entry points take whatever the configuration file holds.
TEST(PurselEntryFuzz, CountAndNormaliseSurviveAnyString) {
  Rng rng(fuzz::kSeed + 2);
  FakeHost fake;
  X2AIData* record = PurselRecord();
  X2ParamTable fresh;
  fresh.Load(kPurselKeys);
  for (int c = 0; c < 1500; ++c) {
    std::string text = Structured(rng, fresh).text;
    if (rng.Chance(60)) text = fuzz::Mutate(rng, text, rng.Between(1, 8));
    const int multiplier = rng.Between(-3, 9);
    const int fish = record->CountFish(rng.Below(100), text.c_str(), fake.Table(), multiplier);
    ASSERT_GT(fish, 0) << "case " << c << ": " << text;
    ASSERT_LT(fish, 5000) << "case " << c;

    const int room = rng.Between(1, X2ParamTable::kTextSize);
    std::vector<char> buffer(static_cast<size_t>(room) + 16, '#');
    std::strncpy(buffer.data(), text.c_str(), static_cast<size_t>(room) - 1);
    buffer[static_cast<size_t>(room) - 1] = '\0';
    record->NormaliseParameter(rng.Between(-2, 100), buffer.data(), room, fake.Table(), 0);
    ASSERT_LT(std::strlen(buffer.data()), static_cast<size_t>(room)) << "case " << c;
    ASSERT_EQ(buffer[static_cast<size_t>(room)], '#') << "case " << c;
  }
}

}  // namespace
