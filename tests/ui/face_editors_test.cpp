// The editor of clocks, temperature/humidity read-outs, time counters and work counters: each
// control stores its field (and nothing else), the panel shows what is stored, every change is one
// undo step.

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "playbill/item_builder.h"
#include "render/faces/counter_text.h"
#include "render/faces/date_time.h"
#include "render/faces/clock_text.h"
#include "render/faces/face_layout.h"
#include "render/font_library.h"
#include "render/font_style.h"
#include "ui/command_ids.h"
#include "ui/face_item_properties.h"
#include "ui/item_properties.h"
#include "ui/main_frame.h"
#include "ui/property_panel.h"
#include "ui/property_fields.h"
#include "ui_test_support.h"

namespace vantorel {
namespace {

constexpr int kItem = 2;  // the default cross's top window item

class FaceEditorsTest : public testing::EditorTest {
protected:
  void SetUp() override {
    EditorTest::SetUp();
    NewApp();
    ASSERT_TRUE(Start());
    m_frame = m_app->MainFrame();
    m_frame->resize(1100, 800);
    m_frame->show();
  }

  // The item made one of `kind` as a new item of that kind starts, its panel shown.
  CFaceItemProperties* EditorOf(std::uint16_t kind) {
    testing::ChooseRecord(*m_frame, *m_app, kItem);
    tagPrgItem record = m_app->Doc().Record(kItem);
    StartItemKind(record.item, kind);
    EXPECT_TRUE(m_app->Doc().ReplaceRecord(kItem, record));
    m_frame->DocumentChanged();
    CFaceItemProperties* editor = m_frame->Properties()->ItemEditor()->FaceEditor();
    EXPECT_TRUE(editor->isVisible());
    return editor;
  }

  const tagItemPart& Item() const { return m_app->Doc().Record(kItem).item; }

  template <typename Widget>
  Widget* Control(CFaceItemProperties* editor, const char* name) {
    auto* widget = editor->findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  // Chooses the entry of `combo` whose data is `value`, as a click does.
  static void Pick(QComboBox* combo, int value) {
    const int index = combo->findData(value);
    ASSERT_GE(index, 0) << combo->objectName().toStdString() << " has no " << value;
    combo->setCurrentIndex(index);
    Q_EMIT combo->activated(index);
  }

  // Each case acts on the editor and says which fields must have changed to what; every other
  // field of the item must stay as it was.
  struct Case {
    const char* name;
    std::function<void(CFaceItemProperties*)> act;
    std::function<void(tagItemPart&)> expect;
  };
  void RunCases(std::uint16_t kind, const std::vector<Case>& cases) {
    CFaceItemProperties* editor = EditorOf(kind);
    const tagItemPart started = Item();
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      tagItemPart expected = Item();
      c.expect(expected);
      c.act(editor);
      QApplication::processEvents();
      EXPECT_EQ(Item(), expected);
    }
    // One undo step a case, back to the item as it started.
    for (std::size_t step = 0; step < cases.size(); ++step) m_frame->RunCommand(kCmdUndo);
    EXPECT_EQ(Item(), started);
  }

  CMainFrame* m_frame = nullptr;
};

TEST_F(FaceEditorsTest, ClockControlsStoreTheirFields) {
  std::vector<Case> cases;
  for (std::size_t i = 0; i < CFaceItemProperties::kStyleBits.size(); ++i) {
    const std::uint16_t bit = CFaceItemProperties::kStyleBits[i];
    const std::string box = "ClockStyle" + std::to_string(i);
    cases.push_back({"style bit",
                     [this, box](CFaceItemProperties* e) {
                       QCheckBox* check = Control<QCheckBox>(e, box.c_str());
                       check->setChecked(!check->isChecked());
                     },
                     [bit](tagItemPart& item) { item.showMode = static_cast<std::uint16_t>(item.showMode ^ bit); }});
  }
  cases.push_back({"date format", [this](CFaceItemProperties* e) { Pick(Control<QComboBox>(e, "DateFormat"), 5); },
                   [](tagItemPart& item) { item.showMode = clock_style::WithFormat(item.showMode, 5); }});
  cases.push_back({"prefix", [this](CFaceItemProperties* e) { QTest::keyClicks(Control<CFieldEdit>(e, "FacePrefix"), "Now "); },
                   [](tagItemPart& item) { item.media = "Now "; }});
  cases.push_back({"time difference", [this](CFaceItemProperties* e) { Control<QSpinBox>(e, "TimeDifference")->setValue(-90); },
                   [](tagItemPart& item) { item.timeAdj = -90; }});
  cases.push_back({"colour", [](CFaceItemProperties* e) { e->ChooseColour(QColor(0, 255, 0)); },
                   [](tagItemPart& item) { item.fntColor = 0x00FF00; }});
  cases.push_back({"size", [this](CFaceItemProperties* e) { Pick(Control<QComboBox>(e, "FaceSize"), 24); },
                   [](tagItemPart& item) { item.logFont.height = FontHeightOfPoints(24); }});
  cases.push_back({"blink", [this](CFaceItemProperties* e) { Control<QCheckBox>(e, "BlinkColon")->setChecked(true); },
                   [](tagItemPart& item) { item.vwAsText |= 0x100; }});
  RunCases(kKindClock, cases);
}

TEST_F(FaceEditorsTest, SensorAndCounterControlsStoreTheirFields) {
  RunCases(kKindSensor,
           {{"fahrenheit", [this](CFaceItemProperties* e) { Pick(Control<QComboBox>(e, "SensorMode"), 1); },
             [](tagItemPart& item) { item.showMode = 1; }},
            {"prefix", [this](CFaceItemProperties* e) { QTest::keyClicks(Control<CFieldEdit>(e, "FacePrefix"), "Out:"); },
             [](tagItemPart& item) { item.media = "Out:"; }},
            {"colour", [](CFaceItemProperties* e) { e->ChooseColour(QColor(255, 255, 0)); },
             [](tagItemPart& item) { item.fntColor = 0x00FFFF; }}});
  RunCases(kKindTimeCounter,
           {{"target", [this](CFaceItemProperties* e) {
               Control<QDateTimeEdit>(e, "CounterTarget")->setDateTime(QDateTime(QDate(2027, 2, 28), QTime(23, 59, 30)));
             },
             [](tagItemPart& item) { item.tcBase = {2027, 2, 28, 23, 59, 30}; }},
            {"count up", [this](CFaceItemProperties* e) { Pick(Control<QComboBox>(e, "CountUp"), 1); },
             [](tagItemPart& item) { item.tcMode = 1; }},
            {"placeholder", [](CFaceItemProperties* e) { e->InsertPlaceholder("{!h2}"); },
             [](tagItemPart& item) { item.media = std::string(kDefaultCounterTemplate) + "{!h2}"; }},
            {"size", [this](CFaceItemProperties* e) { Pick(Control<QComboBox>(e, "FaceSize"), 16); },
             [](tagItemPart& item) { item.logFont.height = FontHeightOfPoints(16); }}});
  RunCases(kKindWorkCounter,
           {{"start", [this](CFaceItemProperties* e) { Control<QDateEdit>(e, "WorkStart")->setDate(QDate(2026, 3, 2)); },
             [](tagItemPart& item) { 
               item.tcBase[0] = 2026;
               item.tcBase[1] = 3;
               item.tcBase[2] = 2;
              }},
            {"saturday", [this](CFaceItemProperties* e) { Control<QCheckBox>(e, "WorkingDay6")->setChecked(true); },
             [](tagItemPart& item) { item.showMode |= 0x40; }},
            {"not monday", [this](CFaceItemProperties* e) { Control<QCheckBox>(e, "WorkingDay1")->setChecked(false); },
             [](tagItemPart& item) { item.showMode &= static_cast<std::uint16_t>(~0x02); }},
            {"hours a day", [this](CFaceItemProperties* e) { Pick(Control<QComboBox>(e, "HoursPerDay"), 12); },
             [](tagItemPart& item) { item.showMode = static_cast<std::uint16_t>((item.showMode & 0xFF) | 0x0C00); }},
            {"hours", [this](CFaceItemProperties* e) { Pick(Control<QComboBox>(e, "CountHours"), 1); },
             [](tagItemPart& item) { item.tcMode = 1; }},
            {"start hour", [this](CFaceItemProperties* e) { Control<QSpinBox>(e, "WorkStartHour")->setValue(9); },
             [](tagItemPart& item) { item.txt2Img = (item.txt2Img & ~0xFF) | 72; }},
            {"base value", [this](CFaceItemProperties* e) { Control<QSpinBox>(e, "BaseValue")->setValue(1000); },
             [](tagItemPart& item) { item.timeAdj = 1000; }}});
}

TEST_F(FaceEditorsTest, ThePanelShowsTheStoredFields) {
  CFaceItemProperties* editor = EditorOf(kKindWorkCounter);
  tagPrgItem record = m_app->Doc().Record(kItem);
  record.item.showMode = 0x1841;  // 24 hours; Sunday and Saturday
  record.item.tcMode = 2;         // any value but 0 counts hours
  record.item.txt2Img = 0x1000 | 22 * 8;
  record.item.tcBase = {2025, 7, 4, 0, 0, 0};
  record.item.timeAdj = -5;
  ASSERT_TRUE(m_app->Doc().ReplaceRecord(kItem, record));
  m_frame->DocumentChanged();
  EXPECT_EQ(Control<QComboBox>(editor, "HoursPerDay")->currentData().toInt(), 24);
  EXPECT_EQ(Control<QComboBox>(editor, "CountHours")->currentData().toInt(), 1);
  EXPECT_EQ(Control<QSpinBox>(editor, "WorkStartHour")->value(), 22);
  EXPECT_EQ(Control<QSpinBox>(editor, "BaseValue")->value(), -5);
  EXPECT_EQ(Control<QDateEdit>(editor, "WorkStart")->date(), QDate(2025, 7, 4));
  const bool days[] = {true, false, false, false, false, false, true};
  for (int day = 0; day < 7; ++day) {
    EXPECT_EQ(Control<QCheckBox>(editor, ("WorkingDay" + std::to_string(day)).c_str())->isChecked(), days[day]) << day;
  }
  EXPECT_FALSE(Control<QSpinBox>(editor, "TimeDifference")->isVisible()) << "a clock's row";
  EXPECT_FALSE(Control<QComboBox>(editor, "SensorMode")->isVisible());

  // A clock: its style bits and date format, its size among the screen's.
  EditorOf(kKindClock);
  record = m_app->Doc().Record(kItem);
  record.item.showMode = static_cast<std::uint16_t>(clock_style::WithFormat(clock_style::kDial | clock_style::kYear, 7));
  record.item.logFont.height = FontHeightOfPoints(16);
  record.item.vwAsText = 0x100;
  ASSERT_TRUE(m_app->Doc().ReplaceRecord(kItem, record));
  m_frame->DocumentChanged();
  for (std::size_t i = 0; i < CFaceItemProperties::kStyleBits.size(); ++i) {
    const bool on = CFaceItemProperties::kStyleBits[i] == clock_style::kDial || CFaceItemProperties::kStyleBits[i] == clock_style::kYear;
    EXPECT_EQ(Control<QCheckBox>(editor, ("ClockStyle" + std::to_string(i)).c_str())->isChecked(), on) << i;
  }
  EXPECT_EQ(Control<QComboBox>(editor, "DateFormat")->currentIndex(), 7);
  EXPECT_EQ(Control<QComboBox>(editor, "FaceSize")->currentData().toInt(), 16);
  EXPECT_TRUE(Control<QCheckBox>(editor, "BlinkColon")->isChecked());
  EXPECT_FALSE(Control<QDateEdit>(editor, "WorkStart")->isVisible());
  if (const char* folder = std::getenv("VANTOREL_DOC_SCREENSHOTS")) {
    const std::filesystem::path into(folder);
    EXPECT_TRUE(m_frame->Properties()->grab().save(QString::fromStdString((into / "clock-item-panel.png").string())));
  }
}

TEST_F(FaceEditorsTest, TheDateFormatListShowsTheMomentInEachFormatAndTheSizesAreTheScreens) {
  CFaceItemProperties* editor = EditorOf(kKindClock);
  FaceContext context;
  context.screen.ascSizeM = 0x06;  // 2 sizes only
  context.screen.extSizeM = 0;
  const DateTime moment = {2026, 12, 9, 13, 5, 7};
  context.now = moment;
  editor->SetContext(context);
  auto* formats = Control<QComboBox>(editor, "DateFormat");
  ASSERT_EQ(formats->count(), kDateFormatCount);
  for (int format = 0; format < kDateFormatCount; ++format) {
    EXPECT_EQ(formats->itemText(format).toStdString(), DateFormatSample(format, moment, FontCodePageOf(context.screen)));
  }
  auto* sizes = Control<QComboBox>(editor, "FaceSize");
  ASSERT_EQ(sizes->count(), 2);
  EXPECT_EQ(sizes->itemData(0).toInt(), IndexToSize(1));
  EXPECT_EQ(sizes->itemData(1).toInt(), IndexToSize(2));
}

TEST_F(FaceEditorsTest, ANewTimeCounterTargetsTheFirstOfThisMonth) {
  tagItemPart item;
  StartItemKind(item, kKindTimeCounter);
  const DateTime now = CurrentLocalTime();
  EXPECT_EQ(item.media.str(), kDefaultCounterTemplate);
  const std::array<std::uint16_t, 6> first = {now.year, now.month, 1, 0, 0, 0};
  EXPECT_EQ(item.tcBase, first);
}

}  // namespace
}  // namespace vantorel
