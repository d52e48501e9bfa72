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
#include "ParamCases.h"
#include "PurselAI.h"
#include "PurselTables.h"
#include "X2ForelensAI.h"
#include "X2Host.h"
#include "X2ParamTable.h"

namespace {

using aitest::FakeHost;
using fuzz::Rng;
using namespace fuzz;

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
