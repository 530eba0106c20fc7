#pragma once

#include <string_view>

#include "web/engines/EngineDefinition.h"

namespace korvana {

// The three engines the program comes with, kept as definitions in the same
// format as a user's files (docs/engines.md) and run by the same runner.
enum class BuiltInEngine { Engine1 = 1, Engine2 = 2, Engine3 = 3 };

// The limits the built-in definitions are read with: their sites are paged
// while they link on, and every detail page is followed, as those engines
// always did.
DefinitionLimits BuiltInLimits();

// The definition's JSON text as compiled in.
std::string_view BuiltInDefinitionText(BuiltInEngine engine);

// The definition read from that text once; its base URL is the simulated
// web's.
const EngineDefinition& BuiltInDefinition(BuiltInEngine engine);

// A copy of the definition on another base URL (taken as given).
EngineDefinition BuiltInDefinitionOn(BuiltInEngine engine, std::string_view baseUrl);

}  // namespace korvana
