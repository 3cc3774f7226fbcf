#include "cli/scenario/value_encoder.h"

#include "host/kv_host.h"
#include "runtime/ole_date.h"

namespace vtx::cli {
namespace {

Json Marker(const char* key) { return Json{{key, true}}; }

}  // namespace

Json TypedNumber(const Variant& value) {
  switch (value.Type()) {
    case VarType::kI2:
      return Json{{"i2", value.AsI2()}};
    case VarType::kI4:
      return Json{{"i4", value.AsI4()}};
    default:
      return Json{{"r8", value.ToDouble()}};
  }
}

Json ValueEncoder::Encode(const Variant& value) const {
  if (!guard_) return EncodeUnguarded(value);
  Json out;
  guard_([&] { out = EncodeUnguarded(value); });
  return out;
}

Json ValueEncoder::EncodeUnguarded(const Variant& value) const {
  switch (value.Type()) {
    case VarType::kEmpty:
      return Marker("empty");
    case VarType::kNull:
      return nullptr;
    case VarType::kI2:
    case VarType::kI4:
    case VarType::kR8:
      return TypedNumber(value);
    case VarType::kDate:
      return Json{{"date", date::ToIso(value.AsDate())}};
    case VarType::kString:
      return value.AsString();
    case VarType::kBool:
      return value.AsBool();
    case VarType::kError:
      return Marker("missing");
    case VarType::kArray: {
      Json elements = Json::array();
      for (const auto& e : value.Elements()) elements.push_back(EncodeUnguarded(e));
      return Json{{"array", std::move(elements)}};
    }
    case VarType::kObject:
      return EncodeObject(value.AsObject());
  }
  return nullptr;
}

Json ValueEncoder::EncodeObject(const Ref<Dispatch>& object) const {
  if (!object) return Marker("nothing");
  try {
    if (auto o = std::dynamic_pointer_cast<KvObject>(object.shared())) {
      Ref<KvObject> obj(o);
      return Json{
          {"object", Json{{"class", obj->GetClass()->GetName()}, {"id", obj->GetObjectId()}}}};
    }
    if (auto o = std::dynamic_pointer_cast<KvObjects>(object.shared())) {
      Ref<KvObjects> objects(o);
      Json list = Json::array();
      for (int32_t i = 0; i < objects->GetCount(); ++i) {
        list.push_back(EncodeObject(Ref<Dispatch>(objects->Item(i)))["object"]);
      }
      return Json{{"objects", std::move(list)}};
    }
    if (auto o = std::dynamic_pointer_cast<KvRecordList>(object.shared())) {
      Ref<KvRecordList> list(o);
      Json columns = Json::array();
      std::vector<std::string> names;
      Ref<KvHeader> header = list->GetHeader();
      for (int32_t c = 0; c < header->GetCount(); ++c) {
        Ref<KvHeaderField> field = header->Item(c);
        names.push_back(field->GetName());
        columns.push_back(Json{
            {"name", names.back()}, {"length", field->GetLength()}, {"type", field->GetType()}});
      }
      Json rows = Json::array();
      for (int32_t r = 0; r < list->GetRecordCount(); ++r) {
        Json row = Json::object();
        for (size_t c = 0; c < names.size(); ++c) {
          row[names[c]] = EncodeUnguarded(list->GetValueAt(static_cast<int32_t>(c), r));
        }
        rows.push_back(std::move(row));
      }
      return Json{{"recordList", Json{{"columns", std::move(columns)}, {"rows", std::move(rows)}}}};
    }
    if (auto o = std::dynamic_pointer_cast<KvRecord>(object.shared())) {
      Ref<KvRecord> record(o);
      Json values = Json::object();
      Ref<KvHeader> header = record->GetHeader();
      for (int32_t c = 0; c < header->GetCount(); ++c) {
        std::string name = header->Item(c)->GetName();
        values[name] = EncodeUnguarded(record->GetValue(name));
      }
      return Json{{"record", std::move(values)}};
    }
    if (auto o = std::dynamic_pointer_cast<KvStrings>(object.shared())) {
      Ref<KvStrings> strings(o);
      Json list = Json::array();
      for (int32_t i = 0; i < strings->GetCount(); ++i) list.push_back(strings->Item(i));
      return Json{{"strings", std::move(list)}};
    }
    if (auto o = std::dynamic_pointer_cast<KvClass>(object.shared())) {
      return Json{{"class", Ref<KvClass>(o)->GetName()}};
    }
  } catch (const RuntimeError& e) {
    return Json{{"unreadable", Json{{"type", std::string(object->GetTypeName())},
                                    {"number", e.Number()},
                                    {"description", e.Description()}}}};
  }
  return Json{{"dispatch", std::string(object->GetTypeName())}};
}

}  // namespace vtx::cli
