#include "runtime/dispatch.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace vtx {
namespace {

class Greeter : public Dispatch {
 public:
  virtual std::string Greet() = 0;
};

class PlainGreeter : public Greeter {
 public:
  std::string Greet() override { return "plain"; }
};

// An object known only by late binding that presents itself as a Greeter,
// as a host's COM object presents itself as a host interface.
class LateBound : public Dispatch {
 public:
  int adaptations = 0;
  Ref<Dispatch> AdaptTo(const std::type_info& type) override {
    ++adaptations;
    if (type != typeid(Greeter)) return nullptr;
    class View : public Greeter {
     public:
      std::string Greet() override { return "adapted"; }
    };
    return MakeRef<View>();
  }
};

int ErrorNumberOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const RuntimeError& error) {
    return error.Number();
  }
  return 0;
}

TEST(CastToTest, ObjectImplementingTheInterfaceIsCastWithoutAdapting) {
  Ref<Dispatch> object = MakeRef<PlainGreeter>();
  EXPECT_EQ(CastTo<Greeter>(object)->Greet(), "plain");
  EXPECT_EQ(CastTo<Greeter>(object), object);
}

TEST(CastToTest, LateBoundObjectIsCastThroughItsAdaptation) {
  auto late = MakeRef<LateBound>();
  EXPECT_EQ(CastTo<Greeter>(Ref<Dispatch>(late))->Greet(), "adapted");
  EXPECT_EQ(late->adaptations, 1);
  EXPECT_EQ(Variant(late).ToObjectAs<Greeter>()->Greet(), "adapted");
}

TEST(CastToTest, ObjectWithoutTheInterfaceRaisesTypeMismatch) {
  class Other : public Dispatch {};
  class OtherInterface : public Dispatch {};
  EXPECT_EQ(ErrorNumberOf([] { CastTo<Greeter>(MakeRef<Other>()); }), err::kTypeMismatch);
  EXPECT_EQ(ErrorNumberOf([] { CastTo<OtherInterface>(MakeRef<LateBound>()); }),
            err::kTypeMismatch);
}

TEST(CastToTest, NothingStaysNothing) { EXPECT_TRUE(CastTo<Greeter>(Ref<Dispatch>()).IsNothing()); }

}  // namespace
}  // namespace vtx
