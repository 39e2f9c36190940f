#pragma once

// Reading and writing members of JSON documents that come from files. A document on disk may hold
// anything, so a read never throws: a member that is absent or of the wrong type reads as absent
// (null), and numbers and flags of the wrong type read as 0. A write turns a value of the wrong
// type into the container it has to be before it writes into it.

#include <json/value.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace profile {

// The member, or null when the value is not an object or has no such member.
const Json::Value& JsonMember(const Json::Value& object, const char* key);

// The element, or null when the value is not an array or is shorter.
const Json::Value& JsonElement(const Json::Value& array, Json::ArrayIndex index);

// An integer read as JsonCpp's integer conversion does it (whole numbers, reals truncated, flags as
// 0 and 1), 0 for anything else or out of range. Callers narrow it to their width.
std::int64_t JsonInt(const Json::Value& value);

// A flag: true for true and for non-zero numbers.
bool JsonBool(const Json::Value& value);

// The single place where text leaves and enters a JSON document. Out: a string member as valid
// UTF-8, cut at an embedded NUL; "" for anything that is not a string. In: the text as valid UTF-8.
std::string TextFromJson(const Json::Value& value);
Json::Value JsonFromText(std::string_view text);

// The member for writing; a value that is not an object becomes an empty object first.
Json::Value& WritableMember(Json::Value& object, const char* key);

// The element for writing, the array grown as needed; a value that is not an array becomes an
// empty array first.
Json::Value& WritableElement(Json::Value& array, Json::ArrayIndex index);

}  // namespace profile
