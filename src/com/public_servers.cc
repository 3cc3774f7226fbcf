#include "com/public_servers.h"

#include <VTX_HA.h>

#include <vector>

#include "com/com_error.h"
#include "com/com_string.h"
#include "com/com_variant.h"
#include "com/object_bridge.h"
#include "com/server_object.h"
#include "registration/com_identity.h"
#include "runtime/text.h"

namespace vtx::com {

namespace {

using registration::kApplicationClass;
using registration::kApplicationOperations;
using registration::kNlsClass;
using registration::kNlsOperations;

// Arguments of the early-bound slots, read and written back through the
// pointers the caller passed.
Variant ObjectIn(IDispatch* const* slot) { return Variant(ImportObject(*slot)); }
Variant StringIn(const BSTR* slot) { return Variant(FromBstr(*slot)); }

void ObjectOut(const Variant& value, IDispatch** slot) {
  VARIANT target;
  V_VT(&target) = VT_BYREF | VT_DISPATCH;
  V_DISPATCHREF(&target) = slot;
  WriteByRef(value, target);
}

void StringOut(const Variant& value, BSTR* slot) {
  VARIANT target;
  V_VT(&target) = VT_BYREF | VT_BSTR;
  V_BSTRREF(&target) = slot;
  WriteByRef(value, target);
}

// Application's slots hand over to the add-in's late-bound entry, so both
// ways of calling run the same code.
class ApplicationServer final : public ServerObject<_Application> {
 public:
  explicit ApplicationServer(Ref<Dispatch> instance)
      : ServerObject(std::move(instance), __uuidof(_Application), kApplicationOperations) {}

  HRESULT STDMETHODCALLTYPE ViewHistory(IDispatch** KvSession, IDispatch** FirstRec) override {
    return CallWithSessionAndList(kApplicationOperations[0], KvSession, FirstRec, nullptr);
  }
  HRESULT STDMETHODCALLTYPE GenerateHistoryReport(IDispatch** KvSession,
                                                  IDispatch** FirstRec) override {
    return CallWithSessionAndList(kApplicationOperations[1], KvSession, FirstRec, nullptr);
  }
  HRESULT STDMETHODCALLTYPE DeleteHistory(IDispatch** KvSession, IDispatch** FirstRec,
                                          short* Result) override {
    if (!Result) return E_POINTER;
    return CallWithSessionAndList(kApplicationOperations[2], KvSession, FirstRec, Result);
  }
  HRESULT STDMETHODCALLTYPE ExecuteCreateNewERObject(IDispatch** KvSession, BSTR* Operation,
                                                     IDispatch** RecordList,
                                                     short* Result) override {
    return GuardEntry(nullptr, [&]() -> HRESULT {
      if (!KvSession || !Operation || !RecordList || !Result) return E_POINTER;
      std::vector<Variant> args{ObjectIn(KvSession), StringIn(Operation), ObjectIn(RecordList)};
      *Result = CallMember(kApplicationOperations[3], args).ToInt16();
      ObjectOut(args[0], KvSession);
      StringOut(args[1], Operation);
      ObjectOut(args[2], RecordList);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE ExecuteSaveObjectAsGlobal(IDispatch* KvSession, BSTR* Operation,
                                                      IDispatch** RecordList,
                                                      short* Result) override {
    return GuardEntry(nullptr, [&]() -> HRESULT {
      if (!Operation || !RecordList || !Result) return E_POINTER;
      std::vector<Variant> args{Variant(ImportObject(KvSession)), StringIn(Operation),
                                ObjectIn(RecordList)};
      *Result = CallMember(kApplicationOperations[4], args).ToInt16();
      StringOut(args[1], Operation);
      ObjectOut(args[2], RecordList);
      return S_OK;
    });
  }

 private:
  HRESULT CallWithSessionAndList(std::string_view operation, IDispatch** session, IDispatch** list,
                                 short* result) {
    return GuardEntry(nullptr, [&]() -> HRESULT {
      if (!session || !list) return E_POINTER;
      std::vector<Variant> args{ObjectIn(session), ObjectIn(list)};
      const Variant value = CallMember(operation, args);
      if (result) *result = value.ToInt16();
      ObjectOut(args[0], session);
      ObjectOut(args[1], list);
      return S_OK;
    });
  }
};

class NlsServer final : public ServerObject<_clsNLS> {
 public:
  explicit NlsServer(Ref<Dispatch> instance)
      : ServerObject(std::move(instance), __uuidof(_clsNLS), kNlsOperations) {}

  HRESULT STDMETHODCALLTYPE GetTranslation(BSTR* Namespace, BSTR* MessageID, BSTR* AppendixID,
                                           BSTR* DefaultValue, BSTR* Result) override {
    return GuardEntry(nullptr, [&]() -> HRESULT {
      if (!Namespace || !MessageID || !AppendixID || !DefaultValue || !Result) return E_POINTER;
      std::vector<Variant> args{StringIn(Namespace), StringIn(MessageID), StringIn(AppendixID),
                                StringIn(DefaultValue)};
      const Variant value = CallMember(kNlsOperations[0], args);
      *Result = NewBstr(value.ToString());
      return S_OK;
    });
  }
};

}  // namespace

IDispatch* NewPublicServer(std::string_view clsid, Ref<Dispatch> instance) {
  const std::string wanted = text::UCase(clsid);
  if (wanted == kApplicationClass.clsid) return new ApplicationServer(std::move(instance));
  if (wanted == kNlsClass.clsid) return new NlsServer(std::move(instance));
  return nullptr;
}

}  // namespace vtx::com
