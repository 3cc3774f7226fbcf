#include "platform/class_registry.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/runtime_error.h"

namespace vtx {
namespace {

class Named : public Dispatch {
 public:
  explicit Named(std::string name) : name_(std::move(name)) {}
  std::string_view GetTypeName() const override { return name_; }

 private:
  std::string name_;
};

int32_t ErrorOf(const std::function<void()>& run) {
  try {
    run();
  } catch (const RuntimeError& e) {
    return e.Number();
  }
  return 0;
}

TEST(ClassRegistryTest, CreatesRegisteredClassesByProgIdOrClsid) {
  ClassRegistry registry;
  registry.Register("KvRecList.KvRecordList", "{AAAA}",
                    [] { return Ref<Dispatch>(MakeRef<Named>("list")); });
  registry.Register("KvGUISrv.KvGUIServices", "{BBBB}",
                    [] { return Ref<Dispatch>(MakeRef<Named>("gui")); });

  struct Case {
    const char* name;
    std::function<Ref<Dispatch>()> create;
    const char* type;  // nullptr: raises 429
  };
  const Case cases[] = {
      {"ExactProgId", [&] { return registry.Create("KvRecList.KvRecordList"); }, "list"},
      {"ProgIdInOtherCase", [&] { return registry.Create("KvGuiSrv.KVGuiServices"); }, "gui"},
      {"Clsid", [&] { return registry.CreateByClsid("{bbbb}"); }, "gui"},
      {"UnknownProgId", [&] { return registry.Create("No.Such"); }, nullptr},
      {"UnknownClsid", [&] { return registry.CreateByClsid("{CCCC}"); }, nullptr},
  };
  for (const Case& c : cases) {
    if (c.type) {
      EXPECT_EQ(c.create()->GetTypeName(), c.type) << c.name;
    } else {
      EXPECT_EQ(ErrorOf([&] { c.create(); }), 429) << c.name;
    }
  }
  EXPECT_EQ(registry.ClsidOf("kvreclist.kvrecordlist"), "{AAAA}");
  EXPECT_EQ(registry.ClsidOf("No.Such"), "");
}

TEST(ClassRegistryTest, UnregisterRemovesTheClass) {
  ClassRegistry registry;
  registry.Register("VTX_HA.Application", "{1}",
                    [] { return Ref<Dispatch>(MakeRef<Named>("app")); });
  EXPECT_TRUE(registry.IsRegistered("vtx_ha.application"));
  EXPECT_TRUE(registry.Unregister("VTX_HA.Application"));
  EXPECT_FALSE(registry.IsRegistered("VTX_HA.Application"));
  EXPECT_FALSE(registry.Unregister("VTX_HA.Application")) << "second unregister";
  EXPECT_EQ(ErrorOf([&] { registry.Create("VTX_HA.Application"); }), 429);
}

TEST(ClassRegistryTest, FactoryGivingNothingCannotCreate) {
  ClassRegistry registry;
  registry.Register("Broken.Thing", "{2}", [] { return Ref<Dispatch>(); });
  EXPECT_EQ(ErrorOf([&] { registry.Create("Broken.Thing"); }), 429);
}

}  // namespace
}  // namespace vtx
