#pragma once

// Tables that tie a record's fields to the members of a JSON object, so that each record is read
// and written from one table instead of member by member.

#include <json/value.h>

#include "profile/json_access.h"

namespace profile {

template <typename Record, typename Field>
struct RecordField {
    const char* member;
    Field Record::*field;
    bool flag = false;  // read as a boolean, written as 0 or 1
};

template <typename Record, typename Field, std::size_t N>
void ReadRecordFields(const Json::Value& object, Record& record,
                      const RecordField<Record, Field> (&fields)[N]) {
    for (const auto& f : fields) {
        const Json::Value& v = JsonMember(object, f.member);
        record.*(f.field) =
            f.flag ? static_cast<Field>(JsonBool(v) ? 1 : 0) : static_cast<Field>(JsonInt(v));
    }
}

template <typename Record, typename Field, std::size_t N>
void WriteRecordFields(Json::Value& object, const Record& record,
                       const RecordField<Record, Field> (&fields)[N]) {
    for (const auto& f : fields) {
        const Field value = record.*(f.field);
        WritableMember(object, f.member) = f.flag ? (value != 0 ? 1 : 0) : static_cast<int>(value);
    }
}

// The record held by the object member of a section; the default record when the member is absent
// or not an object.
template <typename Record, typename Field, std::size_t N>
Record ReadRecordMember(const Json::Value& section, const char* member,
                        const RecordField<Record, Field> (&fields)[N]) {
    Record record{};
    const Json::Value& object = JsonMember(section, member);
    if (object.isObject()) ReadRecordFields(object, record, fields);
    return record;
}

// Writes the record's members into the object member of a section, keeping its other members.
template <typename Record, typename Field, std::size_t N>
void WriteRecordMember(Json::Value& section, const char* member, const Record& record,
                       const RecordField<Record, Field> (&fields)[N]) {
    WriteRecordFields(WritableMember(section, member), record, fields);
}

}  // namespace profile
