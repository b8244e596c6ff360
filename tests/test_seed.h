#ifndef TALVERO_TESTS_TEST_SEED_H
#define TALVERO_TESTS_TEST_SEED_H

// The seed of a randomized test: a fixed default, so that every run checks
// the same cases, unless TALVERO_TEST_SEED names another (to rerun a failure
// or to try new cases). A test shows it on failure with
// SCOPED_TRACE(SeedTrace(seed)).

#include <cstdint>
#include <cstdlib>
#include <string>

inline uint32_t TestSeed(uint32_t fallback) {
  const char* text = std::getenv("TALVERO_TEST_SEED");
  return text && *text ? static_cast<uint32_t>(std::strtoul(text, nullptr, 10)) : fallback;
}

inline std::string SeedTrace(uint32_t seed) {
  return "seed " + std::to_string(seed) + " (TALVERO_TEST_SEED reruns it)";
}

#endif
