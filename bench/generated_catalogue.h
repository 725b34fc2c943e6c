#pragma once
// A generated Data.txt of realistic channel records for the benchmarks.
#include <string>

namespace cd::bench {

/// records encoded lines. Every record is in category, or a realistic mix
/// (60% TV, 25% Radio, 10% Video, 5% XXX) when category is empty; languages
/// come from a list of 40, a third of the records with two or three.
std::string generateCatalogue(int records, const std::string& category = "");

}  // namespace cd::bench
