#pragma once

#include <cstdint>

namespace vtx {

// Field type codes of attributes and record-list columns
// (KvAttribute::GetAttributeType, KvRecordList::AddColumn). What the codes
// without a plain name denote beyond which setter writes them is the host's.
namespace field_type {
inline constexpr int32_t kText = 1;
inline constexpr int32_t kInt16 = 2;
inline constexpr int32_t kInt32 = 3;
inline constexpr int32_t kDouble = 4;
inline constexpr int32_t kType6 = 6;
inline constexpr int32_t kDate = 7;
inline constexpr int32_t kType8 = 8;
inline constexpr int32_t kReference = 10;  // the lookup class id names the referenced class
inline constexpr int32_t kType11 = 11;
inline constexpr int32_t kType12 = 12;
inline constexpr int32_t kType13 = 13;
inline constexpr int32_t kBoolean = 15;
}  // namespace field_type

// Class kind codes (KvClass::GetClassKind).
namespace class_kind {
inline constexpr int32_t kKeyed1 = 1;  // objects with a key
inline constexpr int32_t kKeyed2 = 2;
inline constexpr int32_t kLookup5 = 5;  // lookup tables
inline constexpr int32_t kLookup9 = 9;
inline constexpr int32_t kComposition = 6;  // parent-son link, ends by object id only
inline constexpr int32_t kRelation = 7;     // link naming both ends' class and object ids

inline bool IsKeyed(int32_t kind) { return kind == kKeyed1 || kind == kKeyed2; }
inline bool IsLookup(int32_t kind) { return kind == kLookup5 || kind == kLookup9; }
inline bool IsLink(int32_t kind) { return kind == kComposition || kind == kRelation; }
}  // namespace class_kind

}  // namespace vtx
