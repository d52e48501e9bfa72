#pragma once
// Generated hostile input for the fuzz tests: a seeded generator, texts that
// are no numbers, well-formed Shift-JIS texts and byte-level mutations.
// Header only and free of Windows calls, so that the sanitizer build on the
// host uses the same cases. Every case comes from a fixed seed: a failure
// names its case number and reproduces.
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace fuzz {

constexpr uint32_t kSeed = 0x51E7A11u;

class Rng {
 public:
  explicit Rng(uint32_t seed) : gen_(seed) {}
  uint32_t Next() { return static_cast<uint32_t>(gen_()); }
  // 0 .. n - 1 (0 when n <= 0).
  int Below(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<uint32_t>(n)); }
  int Between(int low, int high) { return low + Below(high - low + 1); }
  bool Chance(int percent) { return Below(100) < percent; }
  template <class T>
  const T& Pick(const std::vector<T>& items) { return items[static_cast<size_t>(Below(static_cast<int>(items.size())))]; }

 private:
  std::mt19937 gen_;
};

// Double-byte Shift-JIS characters (both bytes valid) used to build texts.
inline const std::vector<std::string>& SjisChars() {
  static const std::vector<std::string> chars = {
      "\x83\x5C",  // ソ: trail byte is a backslash
      "\x83\x5F",  // ダ: trail byte is an underscore
      // None pairs up into a choice text of the AI plug-ins.
      "\x8E\x9E", "\x82\xA2", "\x8D\x5C", "\x83\x7D", "\x83\x41", "\x83\x57",
      "\x96\x5C",  // 能: trail byte 0x5C again
      "\x95\x5C",  // 表
  };
  return chars;
}

// A text of ASCII letters, digits, a few symbols and Shift-JIS characters,
// about `length` bytes, never starting or ending with a blank. `avoid` lists
// bytes it must not contain.
inline std::string WellFormedText(Rng& rng, int length, const std::string& avoid = "") {
  static const std::string ascii =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-.:()!#$%&+/<>?@ ,\t";
  std::string out;
  while (static_cast<int>(out.size()) < length) {
    if (rng.Chance(30)) {
      out += rng.Pick(SjisChars());
      continue;
    }
    char c = ascii[static_cast<size_t>(rng.Below(static_cast<int>(ascii.size())))];
    if (avoid.find(c) != std::string::npos) continue;
    if ((c == ' ' || c == '\t') && (out.empty() || static_cast<int>(out.size()) + 1 >= length)) continue;
    out += c;
  }
  return out;
}

// A value that is no number by any reading: empty, blanks, words, symbols,
// Shift-JIS text, a lone lead byte.
inline std::string NonNumber(Rng& rng) {
  static const std::vector<std::string> fixed = {
      "", "   ", "abc", "x12", "-", "+", "--5", "..", "one", "\x83", "NaN", "inf", "#", "()",
      "\x83\x7D\x83\x41", "-x", "\x83\x5C" "5",
  };
  if (rng.Chance(60)) return rng.Pick(fixed);
  std::string out = WellFormedText(rng, rng.Between(1, 12), "0123456789+- \t\"'");
  if (!out.empty() && out[0] >= '0' && out[0] <= '9') out[0] = 'q';
  return out;
}

inline std::string Decimal(long long v) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld", v);
  return text;
}

// Bytes mutated in place: flips, insertions, deletions, cuts, repeats and
// the characters that separate items and lines.
inline std::string Mutate(Rng& rng, std::string text, int rounds) {
  static const std::string specials = ",\t:=[];\"\\\x81\x83\xFF\x7F\x01 0123456789-";
  for (int r = 0; r < rounds; ++r) {
    const int at = rng.Below(static_cast<int>(text.size()) + 1);
    switch (rng.Below(6)) {
      case 0:
        if (!text.empty()) text[static_cast<size_t>(at % text.size())] ^= static_cast<char>(1 << rng.Below(8));
        break;
      case 1:
        text.insert(static_cast<size_t>(at), 1, specials[static_cast<size_t>(rng.Below(static_cast<int>(specials.size())))]);
        break;
      case 2:
        if (!text.empty()) text.erase(static_cast<size_t>(at % text.size()), static_cast<size_t>(rng.Between(1, 4)));
        break;
      case 3:
        text.resize(static_cast<size_t>(at));
        break;
      case 4:
        if (!text.empty()) text += text.substr(static_cast<size_t>(at % text.size()));
        break;
      default:
        text.insert(static_cast<size_t>(at), static_cast<size_t>(rng.Between(1, 300)),
                    static_cast<char>(rng.Between(0x20, 0xFF)));
        break;
    }
  }
  return text;
}

}  // namespace fuzz
