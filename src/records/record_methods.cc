#include <string>
#include <vector>

#include "records/cls_electronic_record.h"
#include "runtime/text.h"

namespace vtx {

namespace {

using Table = MethodTable<clsElectronicRecord>;

ParamInfo ObjectParam(std::string name, std::string type) {
  return ParamInfo{std::move(name), ParamType::kObject, true, false, std::move(type)};
}
ParamInfo StringParam(std::string name) {
  return ParamInfo{std::move(name), ParamType::kString, true, false, {}};
}

// By-reference object arguments come back to the caller as they are after
// the call.
template <class I>
Ref<I> ObjectArg(const Variant& v) {
  return arg::Object<I>(v);
}

void AddCreationMethods(Table& t) {
  t.Add({"CreateNewERObject",
         {ParamInfo{"KvSession", ParamType::kObject, false, false, "KvSession"},
          StringParam("Operation"), ObjectParam("RecordList", "KvRecordList")},
         true},
        [](clsElectronicRecord& self, std::vector<Variant>& args) {
          auto list = ObjectArg<KvRecordList>(args[2]);
          const bool stored =
              self.CreateNewERObject(ObjectArg<KvSession>(args[0]), args[1].ToString(), list);
          args[2] = Variant(list);
          return Variant(stored);
        });
  t.Add({"SaveObjectAsGlobal",
         {ParamInfo{"KvSession", ParamType::kObject, false, false, "KvSession"},
          StringParam("Operation"), ObjectParam("RecordList", "KvRecordList")},
         true},
        [](clsElectronicRecord& self, std::vector<Variant>& args) {
          auto list = ObjectArg<KvRecordList>(args[2]);
          const int16_t saved =
              self.SaveObjectAsGlobal(ObjectArg<KvSession>(args[0]), args[1].ToString(), list);
          args[2] = Variant(list);
          return Variant(saved);
        });
  t.Add({"AddValue",
         {ObjectParam("Obj", "KvObject"), StringParam("AttributeName"),
          ParamInfo{"anyVal", ParamType::kVariant, true, false, {}}},
         true},
        [](clsElectronicRecord& self, std::vector<Variant>& args) {
          auto object = ObjectArg<KvObject>(args[0]);
          return Variant(self.AddValue(object, args[1].ToString(), args[2]));
        });

  using Fill = int16_t (clsElectronicRecord::*)(Ref<KvObject>&);
  const std::pair<const char*, Fill> fills[] = {
      {"FillUserIdField", &clsElectronicRecord::FillUserIdField},
      {"FillUserNameField", &clsElectronicRecord::FillUserNameField},
      {"FillMachineNameField", &clsElectronicRecord::FillMachineNameField},
      {"FillUserNtIdField", &clsElectronicRecord::FillUserNtIdField},
  };
  for (const auto& [name, fill] : fills) {
    t.Add({name, {ObjectParam("ERObject", "KvObject")}, true},
          [fill = fill](clsElectronicRecord& self, std::vector<Variant>& args) {
            auto record = ObjectArg<KvObject>(args[0]);
            return Variant((self.*fill)(record));
          });
  }
  t.Add({"FillObjectFields",
         {ObjectParam("ERObject", "KvObject"), StringParam("Operation"),
          ObjectParam("KvObject", "KvObject")},
         true},
        [](clsElectronicRecord& self, std::vector<Variant>& args) {
          auto record = ObjectArg<KvObject>(args[0]);
          auto managed = ObjectArg<KvObject>(args[2]);
          return Variant(self.FillObjectFields(record, args[1].ToString(), managed));
        });
  t.Add({"Capitalize", {StringParam("Value")}, true},
        [](clsElectronicRecord& self, std::vector<Variant>& args) {
          return Variant(self.Capitalize(args[0].ToString()));
        });
}

void AddDescriptionMethods(Table& t) {
  t.Add({"SetDescription",
         {ObjectParam("Session", "KvSession"), StringParam("Operation"),
          ObjectParam("ERObject", "KvObject"), ObjectParam("KvObject", "KvObject")},
         true},
        [](clsElectronicRecord& self, std::vector<Variant>& args) {
          auto session = ObjectArg<KvSession>(args[0]);
          auto record = ObjectArg<KvObject>(args[2]);
          auto managed = ObjectArg<KvObject>(args[3]);
          return Variant(self.SetDescription(session, args[1].ToString(), record, managed));
        });
  t.Add({"RetrieveObjectsDelta",
         {ObjectParam("Session", "KvSession"), StringParam("Operation"),
          ObjectParam("FirstObject", "KvObject"), ObjectParam("SecondObject", "KvObject"),
          ParamInfo{"KvClassType", ParamType::kInt32, false, false, {}}},
         true},
        [](clsElectronicRecord& self, std::vector<Variant>& args) {
          auto session = ObjectArg<KvSession>(args[0]);
          auto first = ObjectArg<KvObject>(args[2]);
          auto second = ObjectArg<KvObject>(args[3]);
          return Variant(self.RetrieveObjectsDelta(session, args[1].ToString(), first, second,
                                                   args[4].ToInt32()));
        });
  t.Add({"GetAttDisplayValue",
         {ObjectParam("Session", "KvSession"), ObjectParam("KvObject", "KvObject"),
          StringParam("HeaderName")},
         true},
        [](clsElectronicRecord& self, std::vector<Variant>& args) {
          auto session = ObjectArg<KvSession>(args[0]);
          auto object = ObjectArg<KvObject>(args[1]);
          return Variant(self.GetAttDisplayValue(session, object, args[2].ToString()));
        });
  t.Add({"GetPrimaryKey", {ObjectParam("KvObject", "KvObject")}, true},
        [](clsElectronicRecord& self, std::vector<Variant>& args) {
          auto object = ObjectArg<KvObject>(args[0]);
          return Variant(self.GetPrimaryKey(object));
        });
}

void AddLinkingMethods(Table& t) {
  t.Add({"LinkERObject",
         {ObjectParam("ERObject", "KvObject"), ObjectParam("KvOriginObj", "KvObject")},
         true},
        [](clsElectronicRecord& self, std::vector<Variant>& args) {
          auto record = ObjectArg<KvObject>(args[0]);
          auto origin = ObjectArg<KvObject>(args[1]);
          return Variant(self.LinkERObject(record, origin));
        });
  t.Add({"LinkBetweenKvObjects",
         {ObjectParam("FirstObject", "KvObject"), ObjectParam("SecondObject", "KvObject")},
         true},
        [](clsElectronicRecord& self, std::vector<Variant>& args) {
          auto first = ObjectArg<KvObject>(args[0]);
          auto second = ObjectArg<KvObject>(args[1]);
          return Variant(self.LinkBetweenKvObjects(first, second));
        });

  using Ends = int16_t (clsElectronicRecord::*)(Ref<KvObject>&, Ref<KvObject>&, Ref<KvObject>&);
  const std::pair<const char*, Ends> ends[] = {
      {"GetDescriptionObjectLogicLink", &clsElectronicRecord::GetDescriptionObjectLogicLink},
      {"GetDescriptionObjectHierLink", &clsElectronicRecord::GetDescriptionObjectHierLink},
  };
  for (const auto& [name, lookup] : ends) {
    t.Add({name,
           {ObjectParam("KvObject", "KvObject"), ObjectParam("FObject", "KvObject"),
            ObjectParam("SObject", "KvObject")},
           true},
          [lookup = lookup](clsElectronicRecord& self, std::vector<Variant>& args) {
            auto link = ObjectArg<KvObject>(args[0]);
            auto first = ObjectArg<KvObject>(args[1]);
            auto second = ObjectArg<KvObject>(args[2]);
            const int16_t status = (self.*lookup)(link, first, second);
            args[1] = Variant(first);
            args[2] = Variant(second);
            return Variant(status);
          });
  }
  // The pair comes back as an array: ParentClassId, then SonClassId.
  t.Add({"GetHierLinkEndClasses", {ObjectParam("KvObject", "KvObject")}, true},
        [](clsElectronicRecord& self, std::vector<Variant>& args) {
          auto link = ObjectArg<KvObject>(args[0]);
          const LinkEndClasses ends = self.GetHierLinkEndClasses(link);
          return Variant(Variant::Array{Variant(ends.ParentClassId), Variant(ends.SonClassId)});
        });
  t.Add({"GetTheSuperClassOfTheLink",
         {ParamInfo{"LinkClassID", ParamType::kInt16, true, false, {}}},
         true},
        [](clsElectronicRecord& self, std::vector<Variant>& args) {
          return Variant(self.GetTheSuperClassOfTheLink(args[0].ToInt16()));
        });
}

}  // namespace

const MethodTable<clsElectronicRecord>& clsElectronicRecord::Methods() {
  static const Table table = [] {
    Table t;
    AddCreationMethods(t);
    AddDescriptionMethods(t);
    AddLinkingMethods(t);
    return t;
  }();
  return table;
}

Variant clsElectronicRecord::Invoke(std::string_view name, InvokeKind kind,
                                    std::vector<Variant>& args) {
  if (text::SameNoCase(name, "Status")) {
    if (kind == InvokeKind::kPropertyGet && args.empty()) return Variant(Status);
    if (kind == InvokeKind::kPropertyPut && args.size() == 1) {
      Status = args[0].ToInt16();
      return Variant();
    }
  }
  if (kind != InvokeKind::kMethod) return Dispatch::Invoke(name, kind, args);
  return Methods().Invoke(*this, name, args);
}

}  // namespace vtx
