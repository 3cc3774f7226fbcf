#include "registration/entry_points.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/application.h"
#include "nls/cls_nls.h"
#include "platform/class_registry.h"
#include "registration/com_identity.h"
#include "registration/server_module.h"
#include "runtime/text.h"

namespace vtx {
namespace {

using registration::kApplicationClass;
using registration::kNlsClass;
using registration::ServerModule;

class EntryPointsTest : public ::testing::Test {
 protected:
  // Leaves the global registry as other tests expect to find it.
  void TearDown() override { DllUnregisterServer(); }
};

TEST_F(EntryPointsTest, RegistrationRoundTrip) {
  ClassRegistry& registry = ClassRegistry::Global();
  ASSERT_EQ(DllRegisterServer(), kSOk);
  for (const auto& identity : registration::kPublicClasses) {
    const std::string prog_id(identity.prog_id);
    EXPECT_TRUE(registry.IsRegistered(prog_id)) << prog_id;
    EXPECT_EQ(registry.ClsidOf(prog_id), identity.clsid) << prog_id;
  }
  EXPECT_EQ(registry.Create("VTX_HA.Application")->GetTypeName(), "Application");
  EXPECT_EQ(registry.CreateByClsid(std::string(kNlsClass.clsid))->GetTypeName(), "clsNLS");

  ASSERT_EQ(DllUnregisterServer(), kSOk);
  EXPECT_FALSE(registry.IsRegistered("VTX_HA.Application"));
  EXPECT_FALSE(registry.IsRegistered("VTX_HA.clsNLS"));
  try {
    registry.Create("VTX_HA.clsNLS");
    ADD_FAILURE() << "an unregistered class was created";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), err::kCannotCreateObject);
  }
  // Removing what is not there is no failure.
  EXPECT_EQ(DllUnregisterServer(), kSOk);
}

TEST_F(EntryPointsTest, ClassObjectsOnlyForTheAddInsClasses) {
  Ref<Dispatch> object;
  ASSERT_EQ(DllGetClassObject(std::string(kApplicationClass.clsid), object), kSOk);
  EXPECT_NE(dynamic_cast<Application*>(object.get()), nullptr);

  // A CLSID is the same class in any letter case.
  ASSERT_EQ(DllGetClassObject(text::LCase(kNlsClass.clsid), object), kSOk);
  EXPECT_NE(dynamic_cast<clsNLS*>(object.get()), nullptr);

  EXPECT_EQ(DllGetClassObject("{00000000-0000-0000-0000-000000000000}", object),
            kClassNotAvailable);
  EXPECT_TRUE(object.IsNothing());
}

TEST_F(EntryPointsTest, UnloadOnlyWithoutLiveObjectsOrLocks) {
  ASSERT_EQ(DllCanUnloadNow(), kSOk);
  {
    Ref<Dispatch> first;
    Ref<Dispatch> second;
    DllGetClassObject(std::string(kApplicationClass.clsid), first);
    DllRegisterServer();
    second = ClassRegistry::Global().Create("VTX_HA.clsNLS");
    EXPECT_EQ(ServerModule::Instance().LiveObjects(), 2);
    EXPECT_EQ(DllCanUnloadNow(), kSFalse);
    first.reset();
    EXPECT_EQ(DllCanUnloadNow(), kSFalse);
  }
  EXPECT_EQ(DllCanUnloadNow(), kSOk);

  ServerModule::Instance().LockServer(true);
  EXPECT_EQ(DllCanUnloadNow(), kSFalse);
  ServerModule::Instance().LockServer(false);
  EXPECT_EQ(DllCanUnloadNow(), kSOk);
}

TEST(ComIdentity, IdentitiesAreDistinctGuids) {
  std::set<std::string> guids{std::string(registration::kTypeLibraryId)};
  for (const auto& identity : registration::kPublicClasses) {
    guids.insert(std::string(identity.clsid));
    guids.insert(std::string(identity.interface_id));
  }
  EXPECT_EQ(guids.size(), 5u);
  for (const std::string& guid : guids) {
    EXPECT_EQ(guid.size(), 38u) << guid;
    EXPECT_EQ(guid, text::UCase(guid)) << "looked up in upper case: " << guid;
  }
}

TEST(ComIdentity, InterfaceOperationsExistInTheLateBoundTables) {
  for (auto name : registration::kApplicationOperations)
    EXPECT_NE(Application::Methods().Find(name), nullptr) << name;
  for (auto name : registration::kNlsOperations)
    EXPECT_NE(clsNLS::Methods().Find(name), nullptr) << name;
  EXPECT_EQ(clsNLS::Methods().Methods().size(), registration::kNlsOperations.size());
}

}  // namespace
}  // namespace vtx
