// The four exports of VTX_HA.dll, loaded as COM loads it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "com/windows_api.h"
#include "registration/com_identity.h"
#include "runtime/text.h"

namespace {

using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();

// GetProcAddress's answer as the function it is.
template <class Function>
Function Export(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

CLSID ClsidOf(std::string_view text) {
  const std::u16string wide = vtx::text::ToUtf16(text);
  CLSID clsid{};
  CLSIDFromString(reinterpret_cast<LPCOLESTR>(wide.c_str()), &clsid);
  return clsid;
}

class DllEntryPointsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* path = std::getenv("VTX_HA_DLL");
    if (!path) GTEST_SKIP() << "VTX_HA_DLL names no DLL";
    module_ = LoadLibraryA(path);
    ASSERT_NE(module_, nullptr) << path;
    get_class_object_ = Export<GetClassObject>(module_, "DllGetClassObject");
    can_unload_now_ = Export<CanUnloadNow>(module_, "DllCanUnloadNow");
    ASSERT_NE(get_class_object_, nullptr);
    ASSERT_NE(can_unload_now_, nullptr);
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }
  IClassFactory* FactoryOf(std::string_view clsid) {
    IClassFactory* factory = nullptr;
    EXPECT_EQ(
        get_class_object_(ClsidOf(clsid), IID_IClassFactory, reinterpret_cast<void**>(&factory)),
        S_OK);
    return factory;
  }

  HMODULE module_ = nullptr;
  GetClassObject get_class_object_ = nullptr;
  CanUnloadNow can_unload_now_ = nullptr;
};

TEST_F(DllEntryPointsTest, UnloadsOnlyWhenNothingIsAliveOrLocked) {
  EXPECT_EQ(can_unload_now_(), S_OK);
  IClassFactory* factory = FactoryOf(vtx::registration::kApplicationClass.clsid);
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(can_unload_now_(), S_FALSE);  // the class object itself

  IDispatch* application = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&application)),
            S_OK);
  void* aggregated = nullptr;
  EXPECT_EQ(factory->CreateInstance(application, IID_IDispatch, &aggregated),
            CLASS_E_NOAGGREGATION);
  factory->LockServer(TRUE);
  factory->Release();
  EXPECT_EQ(can_unload_now_(), S_FALSE);  // an object and a lock
  application->Release();
  EXPECT_EQ(can_unload_now_(), S_FALSE);  // the lock
  factory = FactoryOf(vtx::registration::kNlsClass.clsid);
  factory->LockServer(FALSE);
  factory->Release();
  EXPECT_EQ(can_unload_now_(), S_OK);
}

TEST_F(DllEntryPointsTest, ServesOnlyItsOwnClasses) {
  void* object = nullptr;
  EXPECT_EQ(get_class_object_(IID_IDispatch, IID_IClassFactory, &object),
            CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(object, nullptr);
  IClassFactory* factory = FactoryOf(vtx::registration::kNlsClass.clsid);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &object), E_NOINTERFACE);
  factory->Release();
}

}  // namespace
