#include "CommandLine.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::string> SplitTokens(const char* text) {
  std::vector<std::string> tokens;
  std::string current;
  for (const char* p = text; *p; ++p) {
    if (*p == ' ' || *p == ':') {
      if (!current.empty()) tokens.push_back(current);
      current.clear();
    } else {
      current += *p;
    }
  }
  if (!current.empty()) tokens.push_back(current);
  return tokens;
}

// A decimal window handle; false for anything that is not all digits.
bool ParseHandle(const std::string& token, uintptr_t* value) {
  if (token.empty() || token.size() > 20) return false;
  for (char c : token)
    if (!isdigit(static_cast<unsigned char>(c))) return false;
  errno = 0;
  unsigned long long v = strtoull(token.c_str(), nullptr, 10);
  if (errno != 0 || v > UINTPTR_MAX) return false;
  *value = static_cast<uintptr_t>(v);
  return true;
}

}  // namespace

CommandLineChoice ParseCommandLine(const char* tail) {
  CommandLineChoice choice;
  if (!tail) return choice;

  char buffer[kCommandBufferSize];
  size_t length = strnlen(tail, sizeof buffer - 1);
  memcpy(buffer, tail, length);
  buffer[length] = '\0';

  std::vector<std::string> tokens = SplitTokens(buffer);
  if (tokens.empty()) return choice;
  std::string first = tokens[0];
  for (char& c : first) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));

  if (first == "/s") {
    choice.mode = kModeFullScreen;
  } else if (first == "/p") {
    choice.mode = kModePreview;
    if (tokens.size() > 1) choice.hasParent = ParseHandle(tokens[1], &choice.parent);
  } else if (first == "/c") {
    choice.mode = kModeConfigure;
    if (tokens.size() > 1) choice.hasParent = ParseHandle(tokens[1], &choice.parent);
  } else if (first == "/a") {
    choice.mode = kModePassword;
  } else if (first == "/debug") {
    choice.mode = kModeDebug;
  }
  return choice;
}
