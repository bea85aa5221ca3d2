// The scenario and save records as JSON objects, one key per field, named as
// in the file layout; per-district fields are arrays of six numbers.
#pragma once

#include <nlohmann/json.hpp>
#include <stdexcept>

#include "files/Records.h"

namespace yuunagi::data_tool {

// A problem with the user's input, told in one line.
struct DataError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

using Json = nlohmann::ordered_json;

Json ScenarioToJson(const ScenarioRecord& record);
Json SaveToJson(const SaveRecord& record);

// Build a record from a JSON object. Keys left out are 0 or empty; an unknown
// key, a value of the wrong type, an array that is not six numbers, a number
// outside -32768..32767 or a text that does not fit its field throws DataError.
ScenarioRecord ScenarioFromJson(const Json& json);
SaveRecord SaveFromJson(const Json& json);

}  // namespace yuunagi::data_tool
