#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/mock_kv_class.h"
#include "support/mock_kv_gui.h"
#include "support/mock_kv_object.h"
#include "support/mock_kv_object_store.h"
#include "support/mock_kv_record.h"
#include "support/mock_kv_session.h"
#include "support/mock_platform.h"
#include "utils/cls_utils.h"

namespace vtx::testing {
namespace {

using ::testing::_;
using ::testing::InSequence;
using ::testing::NiceMock;
using ::testing::Return;
using ::testing::StrictMock;

template <class T>
Ref<NiceMock<T>> Nice() {
  return MakeRef<NiceMock<T>>();
}

Variant I2(int16_t v) { return Variant(v); }

TEST(SystemUser, NameMustFitTheHundredCharacterBuffer) {
  NiceMock<MockPlatform> platform;
  ScopedPlatform installed(&platform);
  const struct {
    std::string name;
    std::string expected;
  } cases[] = {{"jdoe", "jdoe"},
               {std::string(99, 'u'), std::string(99, 'u')},
               {std::string(100, 'u'), ""},
               {std::string(150, 'u'), ""},
               {"", ""}};
  for (const auto& c : cases) {
    ON_CALL(platform, GetUserName()).WillByDefault(Return(c.name));
    EXPECT_EQ(clsUtils().SystemUser(), c.expected) << c.name.size() << " characters";
  }
}

TEST(Null2Zero, OnlyNullBecomesSixteenBitZero) {
  clsUtils utils;
  EXPECT_EQ(utils.Null2Zero(Variant::Null()), I2(0));
  EXPECT_EQ(utils.Null2Zero(Variant::Empty()), Variant::Empty());
  EXPECT_EQ(utils.Null2Zero(Variant("abc")), Variant("abc"));
  EXPECT_EQ(utils.Null2Zero(Variant(int32_t{5})), Variant(int32_t{5}));
}

// One write of AddValues: the field type, the value, and the one record
// setter expected (none when `expect` is empty).
struct AddValuesCase {
  std::string name;
  int16_t field_type;
  Variant value;
  std::function<void(MockKvRecord&)> expect;
  std::optional<int32_t> error = std::nullopt;  // the run-time error expected instead of 0
};

class AddValuesTest : public ::testing::TestWithParam<AddValuesCase> {};

TEST_P(AddValuesTest, ChoosesTheSetterByFieldType) {
  const AddValuesCase& c = GetParam();
  auto object = Nice<MockKvObject>();
  auto record = MakeRef<StrictMock<MockKvRecord>>();
  ON_CALL(*object, GetData()).WillByDefault(Return(record));
  if (c.expect) c.expect(*record);

  try {
    EXPECT_EQ(clsUtils().AddValues(object, "F", c.field_type, c.value, Nice<MockKvSession>()), 0);
    EXPECT_FALSE(c.error) << "expected error " << *c.error;
  } catch (const RuntimeError& error) {
    ASSERT_TRUE(c.error) << error.what();
    EXPECT_EQ(error.Number(), *c.error);
  }
}

#define SETTER(call) [](MockKvRecord& r) { EXPECT_CALL(r, call); }

INSTANTIATE_TEST_SUITE_P(
    FieldTypes, AddValuesTest,
    ::testing::Values(
        AddValuesCase{"Text", 1, Variant(int32_t{12}), SETTER(SetStringValue("F", "12"))},
        AddValuesCase{"Boolean", 15, Variant("True"), SETTER(SetBooleanValue("F", true))},
        AddValuesCase{"Type7", 7, Variant("2.5"), SETTER(SetType7Value("F", 2.5))},
        AddValuesCase{"Type11", 11, Variant(int32_t{3}), SETTER(SetType7Value("F", 3.0))},
        AddValuesCase{"Type12", 12, Variant(0.25), SETTER(SetType7Value("F", 0.25))},
        AddValuesCase{"Double", 4, Variant("1.25"), SETTER(SetDoubleValue("F", 1.25))},
        AddValuesCase{"Long", 3, Variant(70000.0), SETTER(SetLongValue("F", 70000))},
        AddValuesCase{"Integer", 2, Variant("12"), SETTER(SetIntegerValue("F", 12))},
        AddValuesCase{"Type8", 8, Variant(int16_t{8}), SETTER(SetType8Value("F", 8.0))},
        AddValuesCase{"Type13", 13, Variant(1.5), SETTER(SetType13Value("F", 1.5))},
        AddValuesCase{"Type6AsString", 6, Variant(int32_t{42}),
                      SETTER(SetValue("F", Variant("42")))},
        AddValuesCase{"NullDoubleIsZero", 4, Variant::Null(), SETTER(SetDoubleValue("F", 0.0))},
        AddValuesCase{"NullLongIsZero", 3, Variant::Null(), SETTER(SetLongValue("F", 0))},
        AddValuesCase{"NullIntegerIsZero", 2, Variant::Null(), SETTER(SetIntegerValue("F", 0))},
        AddValuesCase{"NullText", 1, Variant::Null(), {}, 94},
        AddValuesCase{"NullBoolean", 15, Variant::Null(), {}, 94},
        AddValuesCase{"NullType6", 6, Variant::Null(), {}, 94},
        AddValuesCase{"NullType7", 7, Variant::Null(), {}, 94},
        AddValuesCase{"NullType8", 8, Variant::Null(), {}, 94},
        AddValuesCase{"NullType11", 11, Variant::Null(), {}, 94},
        AddValuesCase{"NullType12", 12, Variant::Null(), {}, 94},
        AddValuesCase{"NullType13", 13, Variant::Null(), {}, 94},
        AddValuesCase{"IntegerOverflow", 2, Variant(int32_t{40000}), {}, 6},
        AddValuesCase{"NotANumber", 3, Variant("12abc"), {}, 13},
        AddValuesCase{"Unknown5", 5, Variant("x"), {}},
        AddValuesCase{"Unknown9", 9, Variant("x"), {}},
        AddValuesCase{"Unknown14", 14, Variant("x"), {}},
        AddValuesCase{"Unknown0", 0, Variant::Null(), {}}),
    [](const auto& info) { return info.param.name; });

#undef SETTER

// Type 10: the referenced class decides between a lookup id and the raw value.
class AddValuesReferenceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ON_CALL(*object_, GetData()).WillByDefault(Return(record_));
    ON_CALL(*object_, GetClass()).WillByDefault(Return(object_class_));
    ON_CALL(*object_class_, GetAttributes()).WillByDefault(Return(attributes_));
    ON_CALL(*attributes_, ItemByName("STATE")).WillByDefault(Return(attribute_));
    ON_CALL(*attribute_, GetLookupClassId()).WillByDefault(Return(900));
    ON_CALL(*session_, GetClasses()).WillByDefault(Return(classes_));
    ON_CALL(*classes_, ClassById(900)).WillByDefault(Return(referenced_));
    ON_CALL(*session_, GetObjectStore()).WillByDefault(Return(store_));
    ON_CALL(*store_, GetLookupTable(900)).WillByDefault(Return(table_));
  }
  int16_t Write(const Variant& value) {
    return clsUtils().AddValues(object_, "STATE", 10, value, session_);
  }

  Ref<NiceMock<MockKvObject>> object_ = Nice<MockKvObject>();
  Ref<StrictMock<MockKvRecord>> record_ = MakeRef<StrictMock<MockKvRecord>>();
  Ref<NiceMock<MockKvClass>> object_class_ = Nice<MockKvClass>();
  Ref<NiceMock<MockKvAttributes>> attributes_ = Nice<MockKvAttributes>();
  Ref<NiceMock<MockKvAttribute>> attribute_ = Nice<MockKvAttribute>();
  Ref<NiceMock<MockKvSession>> session_ = Nice<MockKvSession>();
  Ref<NiceMock<MockKvClasses>> classes_ = Nice<MockKvClasses>();
  Ref<NiceMock<MockKvClass>> referenced_ = Nice<MockKvClass>();
  Ref<NiceMock<MockKvObjectStore>> store_ = Nice<MockKvObjectStore>();
  Ref<NiceMock<MockKvLookupTable>> table_ = Nice<MockKvLookupTable>();
};

TEST_F(AddValuesReferenceTest, LookupTablesStoreTheEntrysThirtyTwoBitId) {
  for (int32_t kind : {5, 9}) {
    ON_CALL(*referenced_, GetClassKind()).WillByDefault(Return(kind));
    auto item = Nice<MockKvLookupItem>();
    ON_CALL(*item, GetId()).WillByDefault(Return(2));
    EXPECT_CALL(*table_, FindItem("Released")).WillOnce(Return(item));
    EXPECT_CALL(*record_, SetValue("STATE", Variant(int32_t{2})));
    EXPECT_EQ(Write("Released"), 0) << "kind " << kind;
  }
}

TEST_F(AddValuesReferenceTest, ValueMissingFromTheLookupWritesNothing) {
  ON_CALL(*referenced_, GetClassKind()).WillByDefault(Return(5));
  EXPECT_CALL(*table_, FindItem("Scrapped")).WillOnce(Return(Ref<KvLookupItem>()));
  EXPECT_EQ(Write("Scrapped"), 0);
}

TEST_F(AddValuesReferenceTest, OtherClassesGetTheValueUnchanged) {
  ON_CALL(*referenced_, GetClassKind()).WillByDefault(Return(1));
  EXPECT_CALL(*store_, GetLookupTable).Times(0);
  EXPECT_CALL(*record_, SetValue("STATE", Variant(int32_t{4711})));
  EXPECT_EQ(Write(Variant(int32_t{4711})), 0);
}

TEST(AddValueAsLookUp, ReportsAMissingEntryByItsResult) {
  auto session = Nice<MockKvSession>();
  auto store = Nice<MockKvObjectStore>();
  auto table = Nice<MockKvLookupTable>();
  ON_CALL(*session, GetObjectStore()).WillByDefault(Return(store));
  EXPECT_CALL(*store, GetLookupTable(900)).WillOnce(Return(table));
  // The value is looked up as text.
  EXPECT_CALL(*table, FindItem("12")).WillOnce(Return(Ref<KvLookupItem>()));
  EXPECT_EQ(clsUtils().AddValueAsLookUp(Nice<MockKvObject>(), session, "STATE", 10, 900,
                                        Variant(int32_t{12})),
            1);
}

// A class whose attributes have these external (and derived internal) names.
Ref<NiceMock<MockKvClass>> ClassWithAttributes(const std::vector<std::string>& external) {
  auto owner = Nice<MockKvClass>();
  auto attributes = Nice<MockKvAttributes>();
  ON_CALL(*owner, GetAttributes()).WillByDefault(Return(attributes));
  // The collection only points back at its class, so the two do not keep each
  // other alive past the test.
  ON_CALL(*attributes, GetClass()).WillByDefault([weak = std::weak_ptr(owner.shared())] {
    return Ref<KvClass>(std::shared_ptr<KvClass>(weak.lock()));
  });
  ON_CALL(*attributes, GetCount()).WillByDefault(Return(static_cast<int32_t>(external.size())));
  for (size_t i = 0; i < external.size(); ++i) {
    auto attribute = Nice<MockKvAttribute>();
    ON_CALL(*attribute, GetExternalName()).WillByDefault(Return(external[i]));
    ON_CALL(*attribute, GetName()).WillByDefault(Return("ATT_" + std::to_string(i)));
    // The index travels as a 16-bit Variant.
    ON_CALL(*attributes, Item(I2(static_cast<int16_t>(i)))).WillByDefault(Return(attribute));
  }
  return owner;
}

TEST(GetAttributeByExternalName, FirstMatchIgnoringLetterCase) {
  auto owner = ClassWithAttributes({"Title", "Part Number", "PART NUMBER"});
  clsUtils utils;
  EXPECT_EQ(utils.GetAttributeByExternalName(owner, "part number"), "ATT_1");
  EXPECT_EQ(utils.GetAttributeByExternalName(owner, "TITLE"), "ATT_0");
  EXPECT_EQ(utils.GetAttributeByExternalName(owner, "Weight"), "");
  EXPECT_EQ(utils.GetAttributeByExternalName(ClassWithAttributes({}), "Title"), "");
}

TEST(GetLookUpClassId, TranslatesTheExternalName) {
  clsUtils utils;
  EXPECT_EQ(utils.GetLookUpClassId(nullptr, "State"), 0);

  auto owner = ClassWithAttributes({"Title", "State"});
  auto state = Nice<MockKvAttribute>();
  ON_CALL(*state, GetLookupClassId()).WillByDefault(Return(900));
  EXPECT_CALL(*owner, AttributeByName("ATT_1", 0)).WillOnce(Return(state));
  EXPECT_EQ(utils.GetLookUpClassId(owner->GetAttributes(), "STATE"), 900);
}

class GetKvObjectsFromRecListTest : public ::testing::Test {
 protected:
  void SetUp() override { ON_CALL(*session_, GetObjectStore()).WillByDefault(Return(store_)); }
  Ref<NiceMock<MockKvSession>> session_ = Nice<MockKvSession>();
  Ref<NiceMock<MockKvObjectStore>> store_ = Nice<MockKvObjectStore>();
  Ref<NiceMock<MockKvRecordList>> rows_ = Nice<MockKvRecordList>();
};

TEST_F(GetKvObjectsFromRecListTest, RowsGiveACopyOrNothingWhenEmpty) {
  EXPECT_TRUE(clsUtils().GetKvObjectsFromRecList(session_, nullptr).IsNothing());

  for (int32_t count : {0, 2}) {
    auto built = Nice<MockKvObjects>();
    auto copy = Nice<MockKvObjects>();
    ON_CALL(*copy, GetCount()).WillByDefault(Return(count));
    EXPECT_CALL(*store_, ObjectsFromRecordList(Ref<KvRecordList>(rows_), true))
        .WillOnce(Return(built));
    EXPECT_CALL(*built, GetCopy()).WillOnce(Return(copy));
    Ref<KvObjects> result = clsUtils().GetKvObjectsFromRecList(session_, rows_);
    EXPECT_EQ(result.get(), count ? copy.get() : nullptr) << count;
  }
}

TEST_F(GetKvObjectsFromRecListTest, GuiSelectionComesFromTheActiveView) {
  auto gui = Nice<MockKvGuiServices>();
  auto window = Nice<MockKvGuiWindow>();
  auto view = Nice<MockKvView>();
  auto selection = Nice<MockKvViewContent>();
  auto selected = Nice<MockKvObjects>();
  ON_CALL(*rows_, HasGuiSelection()).WillByDefault(Return(1));
  EXPECT_CALL(*session_, CreateHostComponent("KvGUISrv.KvGUIServices")).WillOnce(Return(gui));
  ON_CALL(*gui, GetMainWindow()).WillByDefault(Return(window));
  ON_CALL(*window, GetActiveView()).WillByDefault(Return(view));
  ON_CALL(*view, GetSelection()).WillByDefault(Return(selection));
  ON_CALL(*selection, GetObjects()).WillByDefault(Return(selected));
  ON_CALL(*selected, GetCount()).WillByDefault(Return(1));
  EXPECT_CALL(*store_, ObjectsFromRecordList).Times(0);

  EXPECT_EQ(clsUtils().GetKvObjectsFromRecList(session_, rows_).get(), selected.get());
}

// Link classes offered between two classes: (class id, kind) in list order.
struct LinkCase {
  std::string name;
  std::vector<std::pair<int16_t, int32_t>> links;
  int fail_at_item;  // -1: no failure
  int16_t expected;
};

class GetLinkClassIdTest : public ::testing::TestWithParam<LinkCase> {};

TEST_P(GetLinkClassIdTest, FirstRelationLinkOrZero) {
  const LinkCase& c = GetParam();
  auto related = Nice<MockKvObject>();
  auto related_class = Nice<MockKvClass>();
  auto class_links = Nice<MockKvClassLinks>();
  auto list = Nice<MockKvClassList>();
  auto history = Nice<MockKvClass>();
  ON_CALL(*history, GetSuperClassId()).WillByDefault(Return(400));
  ON_CALL(*related, GetClass()).WillByDefault(Return(related_class));
  ON_CALL(*related_class, GetClassLinks()).WillByDefault(Return(class_links));
  EXPECT_CALL(*class_links, GetTo(400)).WillOnce(Return(list));
  ON_CALL(*list, GetCount()).WillByDefault(Return(static_cast<int32_t>(c.links.size())));
  for (size_t i = 0; i < c.links.size(); ++i) {
    auto link = Nice<MockKvClass>();
    ON_CALL(*link, GetClassId()).WillByDefault(Return(c.links[i].first));
    ON_CALL(*link, GetClassKind()).WillByDefault(Return(c.links[i].second));
    if (static_cast<int>(i) == c.fail_at_item) {
      ON_CALL(*list, Item(static_cast<int32_t>(i))).WillByDefault([](int32_t) -> Ref<KvClass> {
        Raise(err::kHostFailure, "Class list failed");
      });
    } else {
      ON_CALL(*list, Item(static_cast<int32_t>(i))).WillByDefault(Return(link));
    }
  }
  EXPECT_EQ(clsUtils().GetLinkClassID(related, history), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Links, GetLinkClassIdTest,
    ::testing::Values(LinkCase{"RelationAfterComposition", {{150, 6}, {300, 7}}, -1, 300},
                      LinkCase{"OnlyOtherKinds", {{150, 6}, {160, 1}}, -1, 0},
                      LinkCase{"ZeroIdSkipped", {{0, 7}, {301, 7}}, -1, 301},
                      LinkCase{"FirstQualifyingWins", {{300, 7}, {301, 7}}, -1, 300},
                      LinkCase{"None", {}, -1, 0},
                      LinkCase{"FailureIsSilentZero", {{150, 6}, {300, 7}}, 1, 0}),
    [](const auto& info) { return info.param.name; });

class PrimaryIdentifierTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ON_CALL(platform_, GetEnvironmentVariable("DEBUG")).WillByDefault(Return("true"));
    ON_CALL(*class_, GetIdentifierAttributes()).WillByDefault(Return(identifiers_));
    ON_CALL(*identifiers_, Item(I2(0))).WillByDefault(Return(first_));
  }
  NiceMock<MockPlatform> platform_;
  ScopedPlatform installed_{&platform_};
  Ref<NiceMock<MockKvClass>> class_ = Nice<MockKvClass>();
  Ref<NiceMock<MockKvAttributes>> identifiers_ = Nice<MockKvAttributes>();
  Ref<NiceMock<MockKvAttribute>> first_ = Nice<MockKvAttribute>();
};

TEST_F(PrimaryIdentifierTest, FirstIdentifierUnlessRevision) {
  clsUtils utils;
  Ref<KvAttribute> attribute;
  std::string name = "unchanged";

  ON_CALL(*first_, GetName()).WillByDefault(Return("PART_NUMBER"));
  EXPECT_TRUE(utils.GetThePrimaryIdentifierInAClass(nullptr, class_, attribute));
  EXPECT_EQ(attribute.get(), first_.get());
  EXPECT_TRUE(utils.GetThePrimaryIdentifierNameInAClass(nullptr, class_, name));
  EXPECT_EQ(name, "PART_NUMBER");

  attribute = nullptr;
  name = "unchanged";
  ON_CALL(*first_, GetName()).WillByDefault(Return("REVISION"));
  EXPECT_FALSE(utils.GetThePrimaryIdentifierInAClass(nullptr, class_, attribute));
  EXPECT_EQ(attribute.get(), first_.get()) << "the attribute is handed back all the same";
  EXPECT_FALSE(utils.GetThePrimaryIdentifierNameInAClass(nullptr, class_, name));
  EXPECT_EQ(name, "unchanged");

  // Only the exact upper-case name is a revision.
  ON_CALL(*first_, GetName()).WillByDefault(Return("Revision"));
  EXPECT_TRUE(utils.GetThePrimaryIdentifierInAClass(nullptr, class_, attribute));
}

TEST_F(PrimaryIdentifierTest, FailuresAreReportedUnderEachOwnName) {
  clsUtils utils;
  Ref<KvAttribute> attribute;
  std::string name = "unchanged";
  {
    InSequence order;
    EXPECT_CALL(platform_, MessageBox(::testing::HasSubstr("''GetThePrimaryIdentifierInAClass''"),
                                      16, std::optional<std::string>("VTX")));
    EXPECT_CALL(platform_,
                MessageBox(::testing::HasSubstr("''GetThePrimaryIdentifierNameInAClass''"), 16,
                           std::optional<std::string>("VTX")));
  }
  ON_CALL(*identifiers_, Item(_)).WillByDefault([](const Variant&) -> Ref<KvAttribute> {
    Raise(err::kSubscriptOutOfRange);
  });
  EXPECT_FALSE(utils.GetThePrimaryIdentifierInAClass(nullptr, class_, attribute));

  // The name read after the check fails only in the outer routine.
  ON_CALL(*identifiers_, Item(I2(0))).WillByDefault(Return(first_));
  EXPECT_CALL(*first_, GetName()).WillOnce(Return("PART_NUMBER")).WillOnce([]() -> std::string {
    Raise(err::kHostFailure, "Gone");
  });
  EXPECT_FALSE(utils.GetThePrimaryIdentifierNameInAClass(nullptr, class_, name));
  EXPECT_EQ(name, "unchanged");
}

TEST(RecordHelperMethods, OutArgumentsAreWrittenBack) {
  auto owner = Nice<MockKvClass>();
  auto identifiers = Nice<MockKvAttributes>();
  auto first = Nice<MockKvAttribute>();
  ON_CALL(*owner, GetIdentifierAttributes()).WillByDefault(Return(identifiers));
  ON_CALL(*identifiers, Item(_)).WillByDefault(Return(first));
  ON_CALL(*first, GetName()).WillByDefault(Return("PART_NUMBER"));

  clsUtils utils;
  std::vector<Variant> args{Variant(Nice<MockKvSession>()), Variant(owner), Variant("")};
  EXPECT_EQ(utils.Invoke("GetThePrimaryIdentifierNameInAClass", InvokeKind::kMethod, args),
            Variant(true));
  EXPECT_EQ(args[2], Variant("PART_NUMBER"));

  const MethodInfo* add_values = clsUtils::Methods().Find("AddValues");
  ASSERT_NE(add_values, nullptr);
  std::vector<std::string> names;
  for (const ParamInfo& p : add_values->params) names.push_back(p.name);
  EXPECT_THAT(names,
              ::testing::ElementsAre("KvObject", "FieldName", "FieldType", "AnyValue", "Session"));
}

}  // namespace
}  // namespace vtx::testing
