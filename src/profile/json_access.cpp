#include "profile/json_access.h"

#include <cstring>

#include "profile/text_helpers.h"

namespace profile {

const Json::Value& JsonMember(const Json::Value& object, const char* key) {
    if (!object.isObject()) return Json::Value::nullSingleton();
    const Json::Value* found = object.find(key, key + std::strlen(key));
    return found != nullptr ? *found : Json::Value::nullSingleton();
}

const Json::Value& JsonElement(const Json::Value& array, Json::ArrayIndex index) {
    if (!array.isArray() || index >= array.size()) return Json::Value::nullSingleton();
    return array[index];
}

std::int64_t JsonInt(const Json::Value& value) {
    switch (value.type()) {
        case Json::intValue:
            return value.asInt64();
        case Json::uintValue:
            // Above the signed range only the low bits survive the caller's narrowing anyway.
            return static_cast<std::int64_t>(value.asUInt64());
        case Json::realValue: {
            const double d = value.asDouble();
            if (!(d > -9.2e18 && d < 9.2e18)) return 0;  // also rejects NaN
            return static_cast<std::int64_t>(d);
        }
        case Json::booleanValue:
            return value.asBool() ? 1 : 0;
        default:
            return 0;
    }
}

bool JsonBool(const Json::Value& value) {
    if (value.isBool()) return value.asBool();
    if (value.isDouble() && !value.isIntegral()) return value.asDouble() != 0.0;
    return JsonInt(value) != 0;
}

std::string TextFromJson(const Json::Value& value) {
    if (!value.isString()) return {};
    const char* begin = nullptr;
    const char* end = nullptr;
    if (!value.getString(&begin, &end)) return {};
    std::string_view text(begin, static_cast<std::size_t>(end - begin));
    text = text.substr(0, text.find('\0'));
    return ToValidUtf8(text);
}

Json::Value JsonFromText(std::string_view text) {
    const std::string valid = ToValidUtf8(text);
    return Json::Value(valid.data(), valid.data() + valid.size());
}

Json::Value& WritableMember(Json::Value& object, const char* key) {
    if (!object.isObject()) object = Json::Value(Json::objectValue);
    return object[key];
}

Json::Value& WritableElement(Json::Value& array, Json::ArrayIndex index) {
    if (!array.isArray()) array = Json::Value(Json::arrayValue);
    return array[index];
}

}  // namespace profile
