#pragma once

#include <nlohmann/json_fwd.hpp>

// The stored JSON value, declared only: a header that passes values in and out
// (toJson, fromJson) names them without the whole JSON library, and the source
// that builds or reads them includes "platform/json/json_coding.h".
namespace kesta::json {

using Value = nlohmann::json;                 // objects keep their keys sorted
using OrderedValue = nlohmann::ordered_json;  // objects keep the order written

}  // namespace kesta::json
