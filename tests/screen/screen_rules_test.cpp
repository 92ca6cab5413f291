#include <gtest/gtest.h>

#include <vector>

#include "app/status_text.h"
#include "app/text_table.h"
#include "screen/colour_modes.h"
#include "screen/comm_types.h"
#include "screen/controller_types.h"
#include "screen/manager_password_gate.h"
#include "screen/part_list.h"
#include "screen/screen_editor_rules.h"
#include "screen/screen_manager_rules.h"

namespace vantorel {
namespace {

ScreenDefinition Definition(std::uint16_t model, int id, int width = 64, int height = 64) {
  ScreenDefinition definition = EditorDefaultScreen();
  ApplyModelChange(definition, model);
  definition.screen.number = static_cast<std::uint8_t>(id);
  definition.screen.width = static_cast<std::uint16_t>(width);
  definition.screen.height = static_cast<std::uint16_t>(height);
  return definition;
}

CScreenData ListOf(const std::vector<ScreenDefinition>& definitions) {
  CScreenData list;
  for (const auto& d : definitions) list.Append(d.screen, d.comm);
  return list;
}

void ExpectRefusal(const Status& refusal, int textId, int titleId) {
  ASSERT_FALSE(refusal.ok());
  EXPECT_EQ(refusal.text(), textId);
  EXPECT_EQ(refusal.title(), titleId);
  EXPECT_EQ(StatusMessage(refusal), LoadText(textId));
}

TEST(ScreenManagerRulesTest, AddRefusedWhenFull) {
  CScreenData list;
  for (int i = 0; i < CScreenData::kMaxScreens - 1; ++i) list.Append(tagScreenInfo(), tagCommInfo());
  EXPECT_TRUE(CheckCanAddScreen(list).ok());
  list.Append(tagScreenInfo(), tagCommInfo());
  const Status refusal = CheckCanAddScreen(list);
  ASSERT_FALSE(refusal.ok());
  EXPECT_EQ(refusal.text(), 251);
  EXPECT_EQ(StatusMessage(refusal), "You can define maxinum 520 LED screens.");
  EXPECT_EQ(LoadText(refusal.title()), "Prompt");
}

TEST(ScreenManagerRulesTest, NewScreenIsACopyOrTheEditorDefaults) {
  const ScreenDefinition defaults = EditorDefaultScreen();
  EXPECT_EQ(defaults.screen.type, 6);
  EXPECT_EQ(defaults.screen.number, 1);
  EXPECT_EQ(defaults.screen.color, 0x77);
  EXPECT_EQ(defaults.screen.width, 128);
  EXPECT_EQ(defaults.screen.height, 64);
  EXPECT_EQ(defaults.screen.model, kModelM5);
  EXPECT_EQ(defaults.screen.fontLib, 1);
  EXPECT_EQ(defaults.screen.ascSizeM, 29);
  EXPECT_EQ(defaults.screen.extSizeM, 28);
  EXPECT_EQ(defaults.comm, tagCommInfo());

  ScreenDefinition selected = Definition(kModelM7, 254, 96, 48);
  selected.comm.special = "r:1";
  selected.comm.commType = kCommNetwork;
  const CScreenData list = ListOf({Definition(kModelM5, 1), selected});
  const ScreenDefinition copy = ProposeNewScreen(list, 1);
  EXPECT_EQ(copy.screen.number, 2);  // after 254 comes 1, which is taken
  EXPECT_EQ(copy.screen.model, kModelM7);
  EXPECT_EQ(copy.comm, selected.comm);
  EXPECT_EQ(ProposeNewScreen(list, -1), defaults);
  EXPECT_EQ(ProposeNewScreen(list, 2), defaults);
  EXPECT_EQ(NewScreenEditorTitle("Screen"), "Screen => New screen");
}

TEST(ScreenManagerRulesTest, OkChecks) {
  ScreenDefinition dtu = Definition(kModelM5, 3);
  dtu.comm.commType = kCommGprsDtu;
  ScreenDefinition dtuWithId = dtu;
  dtuWithId.comm.gprsId.Assign("13800000000");

  EXPECT_TRUE(CheckManagerOk(ListOf({Definition(kModelM5, 1), Definition(kModelM7, 2), dtuWithId})).ok());
  EXPECT_TRUE(CheckManagerOk(CScreenData()).ok());
  // Duplicates count across classes here; the duplicate check comes before the DTU check.
  ExpectRefusal(CheckManagerOk(ListOf({Definition(kModelM5, 1), dtu, Definition(kModelM7, 1)})), 353, 231);
  ExpectRefusal(CheckManagerOk(ListOf({Definition(kModelM5, 0)})), 353, 231);
  ExpectRefusal(CheckManagerOk(ListOf({Definition(kModelM5, 255)})), 353, 231);
  ExpectRefusal(CheckManagerOk(ListOf({Definition(kModelM5, 1), dtu})), 343, 205);
  ExpectRefusal(NoScreenInFileRefusal(), 304, 382);
}

TEST(ScreenManagerRulesTest, ListColumns) {
  EXPECT_EQ(ScreenListHeaders(), (std::array<std::string, kScreenListColumns>{
                                     "Model", "Name", "ID", "Color", "Gray", "Width", "Height", "COMM Type",
                                     "COMM Parameter"}));
  CScreenData list;
  list.MakeDefault();
  EXPECT_EQ(ScreenListRow(list, 0), (std::array<std::string, kScreenListColumns>{
                                        "Korvan-M5", "Korvan-M5[1]", "1", "Full color", "256", "48", "48",
                                        "RS232/485", "COM1: 115200,N,8,1"}));
}

TEST(ScreenEditorRulesTest, OkChecksInOrder) {
  const CScreenData list = ListOf({Definition(kModelM5, 1), Definition(kModelM7, 2)});

  // Edited screen itself does not count as a duplicate.
  EXPECT_TRUE(CheckEditorOk(list, 0, Definition(kModelM5, 1)).ok());
  // Same ID on a controller of the other class is allowed by the editor.
  EXPECT_TRUE(CheckEditorOk(list, -1, Definition(kModelM7, 1)).ok());
  ExpectRefusal(CheckEditorOk(list, -1, Definition(kModelM4, 1)), 353, 231);
  ExpectRefusal(CheckEditorOk(list, 0, Definition(kModelM6, 2)), 353, 231);

  ScreenDefinition tooLargeDuplicateDtu = Definition(kModelM5, 1, 512, 256);
  tooLargeDuplicateDtu.comm.commType = kCommGprsDtu;
  ExpectRefusal(CheckEditorOk(list, -1, tooLargeDuplicateDtu), 409, 205);
  tooLargeDuplicateDtu.screen.height = 128;  // exactly 65536 pixels
  ExpectRefusal(CheckEditorOk(list, -1, tooLargeDuplicateDtu), 353, 231);
  tooLargeDuplicateDtu.screen.number = 9;
  ExpectRefusal(CheckEditorOk(list, -1, tooLargeDuplicateDtu), 343, 205);
  tooLargeDuplicateDtu.comm.gprsId.Assign("dtu");
  EXPECT_TRUE(CheckEditorOk(list, -1, tooLargeDuplicateDtu).ok());
}

TEST(ScreenEditorRulesTest, CrossPartListOfTheSize) {
  EXPECT_EQ(CrossPartList(64, 64), "p:0,0,16,16;48,0,16,16;0,48,16,16;48,48,16,16;");
  EXPECT_EQ(CrossPartList(64, 128), "p:0,0,16,16;48,0,16,16;0,48,16,16;48,48,16,16;");  // width 64 is fixed
  EXPECT_EQ(CrossPartList(48, 48), kDefaultCrossParts);
  EXPECT_EQ(CrossPartList(100, 50), "p:0,0,33,16;66,0,33,16;0,32,33,16;66,32,33,16;");
  EXPECT_EQ(CrossPartList(8, 1), "p:0,0,2,0;4,0,2,0;0,0,2,0;4,0,2,0;");
}

TEST(ScreenEditorRulesTest, AcceptWritesTheCrossUnlessRotatedOrHandMade) {
  const CScreenData list;
  const struct {
    const char* special;
    const char* expected;
  } cases[] = {
      {"p:", "p:0,0,32,32;64,0,32,32;0,64,32,32;64,64,32,32;"},
      {"p:garbage", "p:0,0,32,32;64,0,32,32;0,64,32,32;64,64,32,32;"},
      {"", "p:0,0,32,32;64,0,32,32;0,64,32,32;64,64,32,32;"},
      {"r:1", "r:1"},
      {"p:0,0,8,8;", "p:0,0,8,8;"},
  };
  for (const auto& c : cases) {
    ScreenDefinition definition = Definition(kModelM5, 1, 96, 96);
    definition.comm.special = c.special;
    EXPECT_TRUE(AcceptEditedScreen(list, -1, definition).ok());
    EXPECT_EQ(definition.comm.special, c.expected);
  }
  ScreenDefinition refused = Definition(kModelM1, 1, 512, 512);
  refused.comm.special = "p:";
  ExpectRefusal(AcceptEditedScreen(list, -1, refused), 409, 205);
  EXPECT_EQ(refused.comm.special, "p:");
}

TEST(ScreenEditorRulesTest, ModelChange) {
  const struct {
    std::uint16_t colour;
    std::uint16_t model;
    std::uint16_t expectedClass;
    std::uint16_t expectedColour;
  } cases[] = {
      {0x77, kModelM7, 7, 0x77}, {0x73, kModelM3, 6, 3}, {3, kModelM3, 6, 3},   {7, kModelM7, 7, 0x77},
      {1, kModelN3B, 6, 1},      {0x71, kModelM4, 6, 7}, {0x71, 1234, 6, 3},     {1, kModelM6, 7, 0x77},
  };
  for (const auto& c : cases) {
    ScreenDefinition definition = EditorDefaultScreen();
    definition.screen.color = c.colour;
    definition.comm.commType = 9;
    definition.comm.baudRate = 230400;
    ApplyModelChange(definition, c.model);
    EXPECT_EQ(definition.screen.model, c.model);
    EXPECT_EQ(definition.screen.type, c.expectedClass);
    EXPECT_EQ(definition.screen.color, c.expectedColour) << c.colour << " " << c.model;
    EXPECT_EQ(definition.comm.commType, 0);
    EXPECT_EQ(definition.comm.baudRate, 115200);
  }
  ScreenDefinition kept = EditorDefaultScreen();
  kept.comm.commType = kCommServerGprs;
  kept.comm.baudRate = 9600;
  ApplyModelChange(kept, kModelM1);
  EXPECT_EQ(kept.comm.commType, kCommServerGprs);
  EXPECT_EQ(kept.comm.baudRate, 9600);

  ScreenDefinition network = Definition(kModelM7, 1);
  ApplyCommTypeChoice(network, kCommNetwork);
  EXPECT_EQ(network.comm.subMode, 1);
  ApplyCommTypeChoice(network, kCommServerNet);
  EXPECT_EQ(network.comm.subMode, 0);
  ApplyModelChange(network, kModelM5);
  ApplyCommTypeChoice(network, kCommNetwork);
  EXPECT_EQ(network.comm.subMode, 0);
}

TEST(ScreenEditorRulesTest, SizesWhenTheEditorOpens) {
  const struct {
    std::uint16_t model;
    int width, height;
    int preset, expectedWidth, expectedHeight;
  } cases[] = {
      {kModelM5, 48, 48, 1, 48, 48},
      {kModelM5, 8, 1, 0, 8, 8},          // heights below the first choice take it
      {kModelM5, 64, 50, 2, 64, 48},      // 50 lies between 48 and 52: the smaller wins
      {kModelM5, 128, 63, 5, 128, 64},
      {kModelM5, 240, 240, 7, 240, 240},
      {kModelM5, 256, 64, -1, 256, 64},   // wider than every preset
      {kModelM1, 1024, 1024, -1, 512, 512},
      {1234, 96, 96, 4, 8, 8},           // unknown models offer only 8
  };
  for (const auto& c : cases) {
    tagScreenInfo screen;
    screen.model = c.model;
    screen.width = static_cast<std::uint16_t>(c.width);
    screen.height = static_cast<std::uint16_t>(c.height);
    const EditorSize size = OpenEditorSize(screen);
    EXPECT_EQ(size.presetIndex, c.preset) << c.width << "x" << c.height;
    EXPECT_EQ(size.width, c.expectedWidth) << c.width << "x" << c.height;
    EXPECT_EQ(size.height, c.expectedHeight) << c.width << "x" << c.height;
  }
  std::vector<std::string> presets;
  for (int i = 0; i < 8; ++i) presets.push_back(SizePresetText(i));
  EXPECT_EQ(presets, (std::vector<std::string>{"24 x 24", "48 x 48", "64 x 64", "72 x 72", "96 x 96", "144 x 144",
                                               "192 x 192", "240 x 240"}));
  EXPECT_EQ(SizePresetText(8), "");
  tagScreenInfo screen;
  ApplySizePreset(screen, 5);
  EXPECT_EQ(screen.width, 144);
  EXPECT_EQ(screen.height, 144);
  ApplySizePreset(screen, -1);
  EXPECT_EQ(screen.width, 144);
  EXPECT_EQ(SerialPortText(0), "COM1");
  EXPECT_EQ(SerialPortText(98), "COM99");
}

TEST(ScreenEditorRulesTest, SpecialChooser) {
  EXPECT_EQ(SpecialChoiceOf(""), SpecialChoice::None);
  EXPECT_EQ(SpecialChoiceOf("r:1"), SpecialChoice::Rotate);
  EXPECT_EQ(SpecialChoiceOf("rot"), SpecialChoice::Rotate);
  EXPECT_EQ(SpecialChoiceOf("p:0,0,1,1;"), SpecialChoice::Parts);
  EXPECT_EQ(SpecialChoiceOf("P:0,0,1,1;"), SpecialChoice::None);
  const char* texts[] = {"None", "Rotate left 90 degrees", "Show only part(s) of the screen"};
  const char* specials[] = {"", "r:1", "p:"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(LoadText(SpecialChoiceTextId(kSpecialChoices[i])), texts[i]);
    EXPECT_EQ(SpecialForChoice(kSpecialChoices[i]), specials[i]);
    EXPECT_EQ(SpecialChoiceOf(SpecialForChoice(kSpecialChoices[i])), kSpecialChoices[i]);
  }
}

TEST(ManagerPasswordGateTest, AskedOncePerOpeningUntilRight) {
  std::vector<ManagerPassword> asked;
  std::vector<PasswordAnswer> answers = {PasswordAnswer::Wrong, PasswordAnswer::Cancelled, PasswordAnswer::Right,
                                         PasswordAnswer::Right};
  CManagerPasswordGate gate([&](ManagerPassword password) {
    asked.push_back(password);
    const PasswordAnswer answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  });
  // Moving and exporting never ask.
  EXPECT_TRUE(gate.Allow(ManagerAction::MoveUp).allowed);
  EXPECT_TRUE(gate.Allow(ManagerAction::MoveDown).allowed);
  EXPECT_TRUE(gate.Allow(ManagerAction::Export).allowed);
  EXPECT_TRUE(asked.empty());

  const auto wrong = gate.Allow(ManagerAction::Add);
  EXPECT_FALSE(wrong.allowed);
  ExpectRefusal(wrong.message, 223, 205);
  const auto cancelled = gate.Allow(ManagerAction::Remove);
  EXPECT_FALSE(cancelled.allowed);
  EXPECT_TRUE(cancelled.message.ok());
  EXPECT_TRUE(gate.Allow(ManagerAction::Edit).allowed);
  // Right once: not asked again for any list change.
  EXPECT_TRUE(gate.Allow(ManagerAction::Import).allowed);
  EXPECT_TRUE(gate.Allow(ManagerAction::Add).allowed);
  EXPECT_EQ(asked.size(), 3u);
  // The cross mapping has its own password.
  EXPECT_FALSE(gate.IsUnlocked(ManagerPassword::Advanced));
  EXPECT_TRUE(gate.Allow(ManagerAction::CrossMapping).allowed);
  EXPECT_TRUE(gate.Allow(ManagerAction::CrossMapping).allowed);
  EXPECT_EQ(asked, (std::vector<ManagerPassword>{ManagerPassword::Administrator, ManagerPassword::Administrator,
                                                 ManagerPassword::Administrator, ManagerPassword::Advanced}));
  // A new opening asks again.
  CManagerPasswordGate next({});
  EXPECT_FALSE(next.Allow(ManagerAction::Add).allowed);
}

}  // namespace
}  // namespace vantorel
