#pragma once

#include <initializer_list>
#include <nlohmann/json.hpp>
#include <string>

#include "web/engines/EngineDefinition.h"

// The field readers behind ReadEngineDefinition, shared by its two files.
namespace korvana::definition_fields {

using Json = nlohmann::json;

// Thrown only while a definition is read, for the one sentence a refusal
// gives.
struct Refusal {
    std::string field;
    std::string problem;
};

const Json* Member(const Json& object, const char* name);
// A text of 1 to `maxLength` bytes; "" when absent and not required.
std::string Text(const Json& object, const char* name, const std::string& field,
                 std::size_t maxLength, bool required);
int Number(const Json& object, const char* name, const std::string& field, int fallback, int least,
           int most);
bool Flag(const Json& object, const char* name, const std::string& field, bool fallback);
// One of `choices`, given as its place in the list; `fallback` when absent.
int Choice(const Json& object, const char* name, const std::string& field,
           std::initializer_list<const char*> choices, int fallback);
const Json& Object(const Json& object, const char* name, const std::string& field);
void OnlyKnownFields(const Json& object, std::initializer_list<const char*> known,
                     const std::string& prefix);
MarkerPair Markers(const Json& object, const char* name, const std::string& field);

// The parts of a definition past its request.
void ReadResults(const Json& root, EngineDefinition& engine);
void ReadDetail(const Json& root, const DefinitionLimits& limits, EngineDefinition& engine);
void ReadCompleteness(const Json& root, const DefinitionLimits& limits, EngineDefinition& engine);

}  // namespace korvana::definition_fields
