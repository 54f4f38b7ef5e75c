// Wildcard matching: the documented examples, and agreement with the rule written out
// step by step (a plain recursive reading of it) over many generated names and patterns.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "scan/wildcard_kernel.h"

namespace vnk {
namespace {

// The rule as callers know it, one step at a time; slow but obviously faithful.
int16_t Reference(const char* name, const char* pattern) {
  if (*pattern == '\0') return *name == '\0' ? -1 : 0;
  if (*pattern == '*') {
    char c = pattern[1];
    if (c == '\0') return -1;
    for (const char* at = name; *at != '\0'; ++at)
      if ((*at == c || c == '?') && Reference(at + 1, pattern + 2) == -1) return -1;
    return 0;
  }
  if (*name == '\0') return 0;
  if (*pattern == '?' || *pattern == *name) return Reference(name + 1, pattern + 1);
  return 0;
}

}  // namespace

TEST(WildcardMatch, Examples) {
  struct Case { const char* name; const char* pattern; int expected; } cases[] = {
      {"README.TXT", "*.TXT", -1}, {"readme.txt", "*.TXT", 0},
      {"A", "*", -1}, {"", "*", -1}, {"", "", -1}, {"A", "", 0},
      {"ABC", "A?C", -1}, {"AC", "A?C", 0}, {"A", "A?", 0},
      {"FILE", "*.*", 0}, {"FILE.", "*.*", -1},
      {"ABC", "**", 0}, {"A*C", "A**C", -1}, {"A*", "**", -1},
      {"X.DAT", "*?", -1}, {"X", "*?", -1}, {"", "*?", 0},
      {"X", "*X", -1}, {"AX", "*X", -1}, {"ABX", "*X", -1}, {"ABXY", "*X", 0},
      {"AXBXC", "*X*C", -1}, {"AXBXD", "*X*C", 0},
      {"\xE4\xF6.\xFC", "*.?", -1},  // bytes above 0x7F are ordinary characters
  };
  for (const Case& c : cases)
    EXPECT_EQ(WildcardMatch(c.name, c.pattern), c.expected) << "[" << c.name << "] [" << c.pattern << "]";
}

TEST(WildcardMatch, AgreesWithTheStepByStepRule) {
  std::mt19937 gen(12345);
  const char name_chars[] = "AB.*";
  const char pattern_chars[] = "AB.*?";
  auto make = [&](const char* alphabet, size_t alphabet_len, size_t max_len) {
    std::string s(gen() % (max_len + 1), ' ');
    for (char& c : s) c = alphabet[gen() % alphabet_len];
    return s;
  };
  for (int i = 0; i < 200000; ++i) {
    std::string name = make(name_chars, 4, 8);
    std::string pattern = make(pattern_chars, 5, 7);
    ASSERT_EQ(WildcardMatch(name.c_str(), pattern.c_str()), Reference(name.c_str(), pattern.c_str()))
        << "[" << name << "] [" << pattern << "]";
  }
}

TEST(WildcardMatch, LongestInputsStayCheap) {
  // Many stars against a long name that almost matches: backtracking must not explode.
  std::string name(259, 'A');
  std::string pattern;
  for (int i = 0; i < 127; ++i) pattern += "*A";
  pattern += "B";
  EXPECT_EQ(WildcardMatch(name.c_str(), pattern.c_str()), 0);
  name.back() = 'B';
  EXPECT_EQ(WildcardMatch(name.c_str(), pattern.c_str()), -1);
}

}  // namespace vnk
