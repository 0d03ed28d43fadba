// The spreadsheet save dialog's type-change rule and what it remembers between
// exports.
#include <gtest/gtest.h>

#include "output/export_dialog_state.h"

namespace rz47 {
namespace {

struct TypeChangeCase {
  const char* shown;
  int type;
  const char* stored;  // nullptr: the stored name stays as it was
};

class TypeChangeTest : public ::testing::TestWithParam<TypeChangeCase> {};

TEST_P(TypeChangeTest, AppendsTheTypesExtensionUnlessThePathHoldsIt) {
  const TypeChangeCase& c = GetParam();
  ExportDialogState state;
  state.fileName = "before.xls";
  state.TypeChanged(c.shown, c.type);
  EXPECT_EQ(state.fileName, c.stored != nullptr ? c.stored : "before.xls");
  EXPECT_EQ(state.type, 1) << "picking a type is not confirming it";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TypeChangeTest,
    ::testing::Values(
        TypeChangeCase{"/home/u/Arhive.xls", 2, "/home/u/Arhive.xls.xlsx"},  // old extension kept
        TypeChangeCase{"/home/u/Arhive.xlsx", 1, nullptr},  // ".xls" is inside ".xlsx"
        TypeChangeCase{"/home/u/Arhive.xlsx", 2, nullptr},
        TypeChangeCase{"/home/u/Arhive.xls", 3, nullptr},  // "All Files" stands for ".xls"
        TypeChangeCase{"/home/u/Arhive", 3, "/home/u/Arhive.xls"},
        TypeChangeCase{"/home/u/Arhive", 1, "/home/u/Arhive.xls"},
        TypeChangeCase{"/home/u/Arhive.rz4", 2, "/home/u/Arhive.rz4.xlsx"},
        TypeChangeCase{"/home/u/x.xlsx.d/Arhive", 1, nullptr},  // anywhere in the path counts
        TypeChangeCase{"/home/u/Arhive.XLS", 1, "/home/u/Arhive.XLS.xls"},  // case matters
        TypeChangeCase{"", 2, ".xlsx"}));

// A sequence of dialog events and the name and type offered next time.
enum class Event { TypeChange, Confirm, Cancel, Success, Failure };

struct Step {
  Event event;
  const char* path = "";
  int type = 0;
};

struct MemoryCase {
  const char* name;
  std::vector<Step> steps;
  const char* offeredName;
  int offeredType;
};

class DialogMemoryTest : public ::testing::TestWithParam<MemoryCase> {};

TEST_P(DialogMemoryTest, OffersWhatTheLastDialogLeft) {
  ExportDialogState state;
  for (const Step& step : GetParam().steps) {
    switch (step.event) {
      case Event::TypeChange: state.TypeChanged(step.path, step.type); break;
      case Event::Confirm: state.Confirmed(step.path, step.type); break;
      case Event::Success: state.ExportSucceeded(); break;
      case Event::Cancel:
      case Event::Failure: break;  // neither touches the memory
    }
  }
  EXPECT_EQ(state.fileName, GetParam().offeredName);
  EXPECT_EQ(state.type, GetParam().offeredType);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, DialogMemoryTest,
    ::testing::Values(
        MemoryCase{"first_time", {}, "Arhive.xlsx", 1},
        MemoryCase{"after_success", {{Event::Confirm, "/d/a.xlsx", 2}, {Event::Success}}, "", 2},
        MemoryCase{"after_failure", {{Event::Confirm, "/d/a.xls", 1}, {Event::Failure}}, "/d/a.xls", 1},
        MemoryCase{"cancel_after_type_change",
                   {{Event::TypeChange, "/d/Arhive.xls", 2}, {Event::Cancel}},
                   "/d/Arhive.xls.xlsx",
                   1},
        MemoryCase{"confirm_replaces_stored_name",
                   {{Event::TypeChange, "/d/Arhive.xls", 2}, {Event::Confirm, "/d/mine.xlsx", 2}},
                   "/d/mine.xlsx",
                   2}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(ExportTypeTest, ExtensionsOfTheFilterTypes) {
  EXPECT_STREQ(ExtensionForType(1), ".xls");
  EXPECT_STREQ(ExtensionForType(2), ".xlsx");
  EXPECT_STREQ(ExtensionForType(3), ".xls");
  EXPECT_STREQ(ExtensionForType(0), ".xls");
}

}  // namespace
}  // namespace rz47
