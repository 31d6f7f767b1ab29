#pragma once
// Packages as the front-end and earlier builds leave them, made at random from a seed.
#include <QString>
#include <random>

namespace testing {

using Rng = std::mt19937;

// Main menus with gaps between their sections, entries and sub-entries named canonically or
// not, texts present, missing, empty or NULL, container flags that agree with the type or not.
void writeRandomPackage(Rng &rng, const QString &dir);

} // namespace testing
