#include "host/kv_host.h"
#include "utils/cls_utils.h"

namespace vtx {

namespace {

ParamInfo ObjectParam(const char* name, const char* object_type) {
  return ParamInfo{name, ParamType::kObject, /*by_ref=*/true, /*optional=*/false, object_type};
}

}  // namespace

void AddHistoryMethods(MethodTable<clsUtils>& table) {
  table.Add({"ViewHistory",
             {ObjectParam("KvSession", "KvSession"), ObjectParam("FirstRec", "KvRecordList")},
             false},
            [](clsUtils& self, std::vector<Variant>& args) {
              auto session = arg::Object<KvSession>(args[0]);
              auto first_rec = arg::Object<KvRecordList>(args[1]);
              self.ViewHistory(session, first_rec);
              args[0] = Variant(session);
              args[1] = Variant(first_rec);
              return Variant();
            });
  table.Add({"GetLinkClass",
             {ObjectParam("StartObject", "KvObject"), ObjectParam("RelatedClass", "KvClass")},
             true},
            [](clsUtils& self, std::vector<Variant>& args) {
              return Variant(
                  self.GetLinkClass(arg::Object<KvObject>(args[0]), arg::Object<KvClass>(args[1])));
            });
  table.Add({"GenerateHistoryReport",
             {ObjectParam("KvSession", "KvSession"), ObjectParam("FirstRec", "KvRecordList")},
             true},
            [](clsUtils& self, std::vector<Variant>& args) {
              auto session = arg::Object<KvSession>(args[0]);
              auto first_rec = arg::Object<KvRecordList>(args[1]);
              const int16_t result = self.GenerateHistoryReport(session, first_rec);
              args[0] = Variant(session);
              args[1] = Variant(first_rec);
              return Variant(result);
            });
  table.Add({"DeleteRelatedHistory",
             {ObjectParam("KvSession", "KvSession"), ObjectParam("FirstRec", "KvRecordList")},
             true},
            [](clsUtils& self, std::vector<Variant>& args) {
              auto session = arg::Object<KvSession>(args[0]);
              auto first_rec = arg::Object<KvRecordList>(args[1]);
              const bool result = self.DeleteRelatedHistory(session, first_rec);
              args[0] = Variant(session);
              args[1] = Variant(first_rec);
              return Variant(result);
            });
}

}  // namespace vtx
