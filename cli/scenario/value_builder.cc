#include "cli/scenario/value_builder.h"

#include <cmath>

#include <fmt/format.h>

namespace vtx::cli {
namespace {

using Kind = WrittenValue::Kind;

bool IsNumberKind(Kind k) {
  return k == Kind::kNumber || k == Kind::kI2 || k == Kind::kI4 || k == Kind::kR8;
}

// The JSON form an object parameter of that interface accepts, besides Nothing.
Kind ObjectFormOf(const std::string& object_type, bool& any) {
  any = false;
  if (object_type == "KvObject") return Kind::kObject;
  if (object_type == "KvObjects" || object_type == "KvCompositeObjects") return Kind::kObjects;
  if (object_type == "KvRecordList") return Kind::kRecordList;
  if (object_type == "KvRecord") return Kind::kRecord;
  if (object_type == "KvStrings") return Kind::kStrings;
  if (object_type == "KvClass") return Kind::kClass;
  any = true;
  return Kind::kNothing;
}

const char* FormName(Kind kind) {
  switch (kind) {
    case Kind::kObject:
      return "{\"object\": ...}";
    case Kind::kObjects:
      return "{\"objects\": [...]}";
    case Kind::kRecordList:
      return "{\"recordList\": ...}";
    case Kind::kRecord:
      return "{\"record\": {...}}";
    case Kind::kStrings:
      return "{\"strings\": [...]}";
    case Kind::kClass:
      return "{\"class\": ...}";
    default:
      return "an object value";
  }
}

bool IsObjectKind(Kind k) {
  return k == Kind::kObject || k == Kind::kObjects || k == Kind::kRecordList ||
         k == Kind::kRecord || k == Kind::kStrings || k == Kind::kClass || k == Kind::kNothing;
}

void CheckRange(const WrittenValue& value, double min, double max, const char* what) {
  double rounded = std::nearbyint(value.number);  // the run time rounds half to even
  if (!(rounded >= min && rounded <= max))
    throw JsonPathError(value.path, fmt::format("out of range for {}", what));
}

Variant Plain(const WrittenValue& value) {
  switch (value.kind) {
    case Kind::kString:
      return Variant(value.text);
    case Kind::kBool:
      return Variant(value.flag);
    case Kind::kI2:
      return Variant(static_cast<int16_t>(value.number));
    case Kind::kI4:
      return Variant(static_cast<int32_t>(value.number));
    case Kind::kR8:
      return Variant(value.number);
    case Kind::kDate:
      return Variant::Date(value.number);
    case Kind::kNull:
      return Variant::Null();
    case Kind::kEmpty:
      return Variant::Empty();
    case Kind::kNothing:
      return Variant::Nothing();
    case Kind::kNumber:
      if (value.whole_number && value.number >= -2147483648.0 && value.number <= 2147483647.0)
        return Variant(static_cast<int32_t>(value.number));
      return Variant(value.number);
    default:
      return Variant::Empty();
  }
}

Ref<KvRecordList> BuildRecordList(const WrittenValue& value, ObjectSource& source) {
  Ref<KvRecordList> list = source.NewRecordList();
  for (const auto& column : value.columns) list->AddColumn(column.name, column.length, column.type);
  if (value.rows_from_objects) {
    for (size_t r = 0; r < value.objects.size(); ++r) {
      auto [class_id, object_id] = source.Identify(value.objects[r]);
      list->SetValue("CLASS_ID", static_cast<int32_t>(r), Variant(class_id));
      list->SetValue("OBJECT_ID", static_cast<int32_t>(r), Variant(object_id));
    }
    return list;
  }
  for (size_t r = 0; r < value.rows.size(); ++r) {
    bool any = false;
    for (size_t c = 0; c < value.columns.size(); ++c) {
      if (!value.rows[r][c]) continue;
      list->SetValue(value.columns[c].name, static_cast<int32_t>(r),
                     BuildValue(*value.rows[r][c], nullptr, source));
      any = true;
    }
    // A row given without cells still exists.
    if (!any && !value.columns.empty()) {
      list->SetValue(value.columns[0].name, static_cast<int32_t>(r), Variant::Empty());
    }
  }
  return list;
}

Variant Convert(const Variant& v, ParamType type) {
  switch (type) {
    case ParamType::kString:
      return Variant(v.ToString());
    case ParamType::kInt16:
      return Variant(v.ToInt16());
    case ParamType::kInt32:
      return Variant(v.ToInt32());
    case ParamType::kDouble:
      return Variant(v.ToDouble());
    case ParamType::kBool:
      return Variant(v.ToBool());
    default:
      return v;
  }
}

}  // namespace

void CheckValueForParameter(const WrittenValue& value, const ParamInfo& param) {
  switch (param.type) {
    case ParamType::kString:
      if (value.kind != Kind::kString) throw JsonPathError(value.path, "expected a string");
      return;
    case ParamType::kInt16:
      if (!IsNumberKind(value.kind)) throw JsonPathError(value.path, "expected a number");
      CheckRange(value, -32768, 32767, "a 16-bit integer");
      return;
    case ParamType::kInt32:
      if (!IsNumberKind(value.kind)) throw JsonPathError(value.path, "expected a number");
      CheckRange(value, -2147483648.0, 2147483647.0, "a 32-bit integer");
      return;
    case ParamType::kDouble:
      if (!IsNumberKind(value.kind)) throw JsonPathError(value.path, "expected a number");
      return;
    case ParamType::kBool:
      if (value.kind != Kind::kBool) throw JsonPathError(value.path, "expected true or false");
      return;
    case ParamType::kObject: {
      if (param.object_type == "KvSession")
        throw JsonPathError(value.path, "the session is the scenario's own: leave it out");
      if (value.kind == Kind::kNothing) return;
      bool any = false;
      Kind form = ObjectFormOf(param.object_type, any);
      if (any ? !IsObjectKind(value.kind) : value.kind != form) {
        throw JsonPathError(
            value.path,
            fmt::format("expected {} or {{\"nothing\": true}} for a {} "
                        "parameter",
                        any ? "an object value" : FormName(form),
                        param.object_type.empty() ? std::string("object") : param.object_type));
      }
      return;
    }
    case ParamType::kVariant:
      return;
  }
}

Variant BuildValue(const WrittenValue& value, const ParamInfo* param, ObjectSource& source) {
  Variant built;
  switch (value.kind) {
    case Kind::kObject:
      built = Variant(source.LoadObject(value.objects.front()));
      break;
    case Kind::kObjects: {
      Ref<KvObjects> objects = source.NewObjects();
      for (const auto& ref : value.objects) objects->Add(source.LoadObject(ref));
      built = Variant(objects);
      break;
    }
    case Kind::kRecordList:
      built = Variant(BuildRecordList(value, source));
      break;
    case Kind::kRecord:
      built = Variant(BuildRecordList(value, source)->GetRecord(0));
      break;
    case Kind::kStrings: {
      Ref<KvStrings> strings = source.NewStrings();
      for (const auto& s : value.strings) strings->Add(s);
      built = Variant(strings);
      break;
    }
    case Kind::kClass:
      built = Variant(source.FindClass(value.text, value.path));
      break;
    case Kind::kArray: {
      Variant::Array elements;
      for (const auto& e : value.elements) elements.push_back(BuildValue(e, nullptr, source));
      built = Variant(std::move(elements));
      break;
    }
    case Kind::kNumber:
      if (param && param->type != ParamType::kVariant) {
        return Convert(Variant(value.number), param->type);
      }
      built = Plain(value);
      break;
    default:
      built = Plain(value);
      break;
  }
  if (param && param->type != ParamType::kVariant && param->type != ParamType::kObject) {
    return Convert(built, param->type);
  }
  return built;
}

Variant DefaultValue(const ParamInfo& param) {
  switch (param.type) {
    case ParamType::kString:
      return Variant(std::string());
    case ParamType::kInt16:
      return Variant(int16_t{0});
    case ParamType::kInt32:
      return Variant(int32_t{0});
    case ParamType::kDouble:
      return Variant(0.0);
    case ParamType::kBool:
      return Variant(false);
    case ParamType::kObject:
      return Variant::Nothing();
    case ParamType::kVariant:
      return Variant::Empty();
  }
  return Variant::Empty();
}

}  // namespace vtx::cli
