// The property panel, window drags on the canvas and undo, driven as a user drives them: keys typed
// into the panel's fields, clicks, mouse drags, menu commands and their shortcuts; what they did is
// read back from the screen's playbill file after saving.

#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimeEdit>
#include <QTreeWidgetItem>

#include "platform/atomic_file.h"
#include "playbill/effect_table.h"
#include "playbill/playbill_reader.h"
#include "playbill/prg_list.h"
#include "ui/command_ids.h"
#include "ui/item_properties.h"
#include "ui/main_frame.h"
#include "ui/playbill_canvas.h"
#include "ui/program_properties.h"
#include "ui/program_tree.h"
#include "ui/property_fields.h"
#include "ui/property_panel.h"
#include "ui/window_properties.h"
#include "ui_test_support.h"

namespace vantorel {
namespace {

using testing::EditorTest;

class PropertyPanelTest : public EditorTest {
protected:
  void SetUp() override {
    EditorTest::SetUp();
    m_frame = StartFrame(8, false);
    ASSERT_NE(m_frame, nullptr);
  }

  std::filesystem::path PlaybillFile() const { return DataFolder() / "work" / "av0001.ldt"; }

  // Saves as File > Save does and reads the screen's playbill file back.
  PrgList SavedRecords() {
    m_frame->RunCommand(kCmdFileSave);
    EXPECT_TRUE(m_prompts.messages.empty());
    PrgList list;
    int version = 0;
    EXPECT_TRUE(ReadPlaybill(PlaybillFile(), list, version).ok());
    return list;
  }
  std::string SavedBytes() {
    m_frame->RunCommand(kCmdFileSave);
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(PlaybillFile(), bytes));
    return bytes;
  }

  // Chooses the row of `record` in the program tree.
  void Choose(int record) {
    QTreeWidgetItem* row = m_frame->Tree()->RowOf(record);
    ASSERT_TRUE(row);
    m_frame->Tree()->setCurrentItem(row);
    QApplication::processEvents();
    ASSERT_EQ(m_app->Doc().CurrentRecord(), record);
  }

  // A click on a check box's box, where it reacts whatever its width.
  static void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2)); }

  template <typename Widget>
  Widget* Field(const char* name) const {
    auto* widget = m_frame->Properties()->findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_TRUE(widget) << name;
    return widget;
  }

  // Replaces what a line edit or number box shows by `text`, typed key by key.
  template <typename Widget>
  void TypeInto(Widget* widget, const QString& text) {
    widget->selectAll();
    QTest::keyClick(widget, Qt::Key_Delete);
    for (const QChar c : text) {
      if (c.unicode() < 0x80) {
        QTest::keyClick(widget, c.toLatin1());
      } else {  // keys without a key code of their own, as an input method sends them
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
      }
    }
  }

  // Whole files compared without printing them.
  static ::testing::AssertionResult SameBytes(const std::string& a, const std::string& b) {
    if (a == b) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "files of " << a.size() << " and " << b.size() << " bytes differ";
  }

  QString Title() const { return Field<QLabel>("PropertyTitle")->text(); }

  CMainFrame* m_frame = nullptr;
};

TEST_F(PropertyPanelTest, ProgramSettingsTypedInThePanelAreInThePlaybillFile) {
  const CPrgListDoc& doc = m_app->Doc();
  Choose(0);
  EXPECT_EQ(Title(), "Clock[1]");
  TypeInto(Field<CFieldEdit>("ProgramName"), "Morning news");
  EXPECT_EQ(Title(), "Morning news[1]");
  EXPECT_EQ(m_frame->Tree()->topLevelItem(0)->text(0), "Morning news[1]");
  TypeInto(Field<QSpinBox>("LoopCount"), "3");
  TypeInto(Field<QSpinBox>("PlayTime"), "90");

  // The time window: on, Sunday off, from 08:30 to 17:00.
  QCheckBox* sunday = Field<QCheckBox>("Day0");
  EXPECT_FALSE(sunday->isEnabled()) << "days belong to the time window";
  Click(Field<QCheckBox>("TimeWindowOn"));
  ASSERT_TRUE(sunday->isEnabled());
  ASSERT_TRUE(sunday->isChecked());
  Click(sunday);
  Field<QTimeEdit>("TimeWindowStart")->setTime(QTime(8, 30));
  Field<QTimeEdit>("TimeWindowEnd")->setTime(QTime(17, 0));
  EXPECT_EQ(doc.History().UndoCount(), 7u) << "one step per field, however many keys";

  const PrgList saved = SavedRecords();
  const tagProgramPart& program = saved.at(0).program;
  EXPECT_EQ(program.prgName, "Morning news");
  EXPECT_EQ(program.loopCnt, 3);
  EXPECT_EQ(program.playTime, 90);
  EXPECT_EQ(program.timeSch, (std::array<std::uint16_t, 3>{0x100 | 0x7E, 8 * 256 + 30, 17 * 256}));
  EXPECT_EQ(saved.at(7).program.prgName, "Welcome") << "the other program is untouched";

  // Names are cut to their field as typed: 64 bytes, Chinese characters counting two.
  const struct {
    const char* name;
    QString typed;
    QString kept;
  } names[] = {
      {"latin", QString(70, QLatin1Char('x')), QString(64, QLatin1Char('x'))},
      {"chinese", QString(40, QChar(0x65B0)), QString(32, QChar(0x65B0))},
  };
  for (const auto& c : names) {
    SCOPED_TRACE(c.name);
    CFieldEdit* name = Field<CFieldEdit>("ProgramName");
    TypeInto(name, c.typed);
    EXPECT_EQ(name->text(), c.kept);
    EXPECT_EQ(QString::fromStdString(SavedRecords().at(0).program.prgName.str()), c.kept);
  }
}

TEST_F(PropertyPanelTest, WindowResizedInThePanelIsInThePlaybillFileAndStaysOnTheScreen) {
  Choose(3);  // the middle window of the first program: 0, 16, 48 x 16
  EXPECT_EQ(Title(), "Window[2]");
  TypeInto(Field<CFieldEdit>("WindowName"), "Band");
  TypeInto(Field<QSpinBox>("WindowWidth"), "20");
  TypeInto(Field<QSpinBox>("WindowHeight"), "24");
  // Left 40 would pass the right edge: the window is moved back as a loaded one is, to 48 - 20
  // with bit 3 cleared.
  QSpinBox* left = Field<QSpinBox>("WindowLeft");
  TypeInto(left, "40");
  EXPECT_EQ(left->value(), 20);
  QTest::keyClick(Field<QComboBox>("WaitType"), Qt::Key_Up);
  TypeInto(Field<QSpinBox>("Border"), "2");
  EXPECT_EQ(m_frame->Canvas()->Windows().at(1).rect, QRect(20, 16, 20, 24));

  const PrgList saved = SavedRecords();
  const tagWindowPart& window = saved.at(3).window;
  EXPECT_EQ(window.areaName, "Band");
  EXPECT_EQ((WindowRect{window.left, window.top, window.width, window.height}), (WindowRect{20, 16, 20, 24}));
  EXPECT_EQ(window.waitType, 0);
  EXPECT_EQ(window.border, 2);

  // Larger than the screen: the screen's size at its edge.
  TypeInto(Field<QSpinBox>("WindowWidth"), "99");
  EXPECT_EQ(Field<QSpinBox>("WindowWidth")->value(), 48);
  EXPECT_EQ(left->value(), 0);
}

TEST_F(PropertyPanelTest, AnEffectChosenForAnItemIsItsShowTypeInTheFile) {
  CPrgListDoc& doc = m_app->Doc();
  Choose(9);  // the first item of the second program: "Text mode"
  ASSERT_EQ(doc.Record(9).item.actType, kKindCellText);
  QComboBox* effect = Field<QComboBox>("Effect");
  ASSERT_EQ(effect->count(), kEffectCount);
  const struct {
    int position;  // in the list as it is shown
    std::uint16_t code;
    const char* name;
  } cases[] = {{13, 14, "Scroll left continuously"}, {0, 0x8000, "Random"}, {67, 70, "Slide zebra(vertical)"}, {1, 0, "Instant"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // The keyboard walks the closed list: Home, then Down to the entry.
    QTest::keyClick(effect, Qt::Key_Home);
    for (int i = 0; i < c.position; ++i) QTest::keyClick(effect, Qt::Key_Down);
    EXPECT_EQ(effect->currentText(), c.name);
    EXPECT_EQ(SavedRecords().at(9).item.showType, c.code);
  }

  TypeInto(Field<QSpinBox>("Speed"), "4");
  TypeInto(Field<QSpinBox>("StayTime"), "12");
  Click(Field<QCheckBox>("Transparent"));
  testing::WithNextDialog<QColorDialog>([](QColorDialog* dialog) {
    dialog->setCurrentColor(QColor(0x10, 0x20, 0xF0));
    dialog->accept();
  });
  QPushButton* colour = Field<QPushButton>("BackgroundColour");
  ASSERT_TRUE(colour->isEnabled());
  QTest::mouseClick(colour, Qt::LeftButton);
  const tagItemPart item = SavedRecords().at(9).item;
  EXPECT_EQ(item.speed, 4);
  EXPECT_EQ(item.actTime, 12);
  EXPECT_EQ(item.transp, 1);
  EXPECT_EQ(item.bgColor, 0xF02010u) << "stored with red in the low byte";

  // A clock does not keep a background colour: the button is not offered.
  Choose(4);
  ASSERT_EQ(doc.Record(4).item.actType, kKindClock);
  EXPECT_FALSE(colour->isEnabled());
}

TEST_F(PropertyPanelTest, WindowsDraggedOnTheCanvasMoveByWholeLedsAndStayOnTheScreen) {
  CPrgListDoc& doc = m_app->Doc();
  m_frame->RunCommand(kCmdFirstLayout + 3);  // five 16 x 16 windows on the cross
  CPlaybillCanvas* canvas = m_frame->Canvas();
  const int zoom = canvas->Zoom();
  const auto centre = [&](int window) {
    const QRect rect = canvas->Windows().at(static_cast<std::size_t>(window)).rect;
    return canvas->Origin() + (rect.topLeft() + QPoint(rect.width(), rect.height()) / 2) * zoom;
  };
  const auto drag = [&](QPoint from, QPoint by) {
    QTest::mousePress(canvas, Qt::LeftButton, {}, from);
    QTest::mouseMove(canvas, from + by / 2);
    QTest::mouseMove(canvas, from + by);
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, from + by);
  };
  const auto windowRect = [&](int window) {
    const tagWindowPart& part = doc.Record(ProgramRecordAt(doc.Records(), doc.Selection().currentProgram) + 1 + 2 * window).window;
    return QRect(part.left, part.top, part.width, part.height);
  };
  const struct {
    const char* name;
    int window;
    bool fromRightEdge;  // else from the middle
    QPoint by;           // widget pixels
    QRect result;
    bool changes;
  } cases[] = {
      {"2.5 and 1.6 LEDs: to the nearest LED", 2, false, QPoint(20, 13), QRect(19, 18, 16, 16), true},
      {"far right and down: stops at the screen's edges", 2, false, QPoint(1000, 1000), QRect(32, 32, 16, 16), true},
      {"far up and left", 0, false, QPoint(-1000, -1000), QRect(0, 0, 16, 16), true},
      {"right edge out by one LED", 1, true, QPoint(zoom, 3), QRect(0, 16, 17, 16), true},
      {"right edge to the screen's edge and no further", 1, true, QPoint(100 * zoom, 0), QRect(0, 16, 48, 16), true},
      {"less than half an LED: no change", 3, false, QPoint(zoom / 2 - 1, 1), QRect(32, 16, 16, 16), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::size_t steps = doc.History().UndoCount();
    QPoint from = centre(c.window);
    if (c.fromRightEdge) {
      const QRect rect = canvas->Windows().at(static_cast<std::size_t>(c.window)).rect;
      from = canvas->Origin() + QPoint((rect.x() + rect.width()) * zoom - 2, (rect.y() + rect.height() / 2) * zoom);
    }
    drag(from, c.by);
    EXPECT_EQ(windowRect(c.window), c.result);
    EXPECT_EQ(canvas->Windows().at(static_cast<std::size_t>(c.window)).rect, c.result);
    EXPECT_EQ(doc.Selection().currentWindow, c.window) << "the window dragged is chosen";
    EXPECT_EQ(doc.History().UndoCount(), steps + (c.changes ? 1u : 0u)) << "one drag, one step";
  }

  // The dragged windows are in the file.
  const PrgList saved = SavedRecords();
  const int program = ProgramRecordAt(saved, 0);
  const tagWindowPart& moved = saved.at(static_cast<std::size_t>(program + 1 + 2 * 2)).window;
  EXPECT_EQ(QRect(moved.left, moved.top, moved.width, moved.height), QRect(32, 32, 16, 16));
}

TEST_F(PropertyPanelTest, UndoBringsBackThePreviousFileByteForByte) {
  CPrgListDoc& doc = m_app->Doc();
  QAction* undo = m_frame->Action(kCmdUndo);
  QAction* redo = m_frame->Action(kCmdRedo);
  ASSERT_TRUE(undo && redo);
  EXPECT_EQ(undo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
  EXPECT_EQ(redo->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_FALSE(redo->isEnabled());

  // Each edit through the panel, the canvas or a command, and the file after it.
  std::vector<std::string> files = {SavedBytes()};
  const std::vector<std::function<void()>> edits = {
      [&] {
        Choose(0);
        TypeInto(Field<CFieldEdit>("ProgramName"), "Renamed");
      },
      [&] {
        Choose(1);
        TypeInto(Field<QSpinBox>("WindowTop"), "8");
      },
      [&] { m_frame->RunCommand(kCmdNewProgram); },
      [&] { m_frame->RunCommand(kCmdDeleteItem); },
      [&] { m_frame->RunCommand(kCmdFirstLayout + 2); },
      [&] {
        Choose(2);
        QTest::keyClick(Field<QComboBox>("Effect"), Qt::Key_Down);
      },
      [&] { m_frame->RunCommand(kCmdMoveProgramDown); },
  };
  for (const auto& edit : edits) {
    edit();
    ASSERT_TRUE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    files.push_back(SavedBytes());
    EXPECT_FALSE(SameBytes(files.back(), files[files.size() - 2]));
  }

  // Edit > Undo and Ctrl+Z walk back through every file; Ctrl+Shift+Z and Edit > Redo forward.
  m_frame->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame));
  m_frame->Tree()->setFocus();
  for (std::size_t step = edits.size(); step > 0; --step) {
    if (step % 2 == 0) {
      undo->trigger();
    } else {
      QTest::keyClick(m_frame, Qt::Key_Z, Qt::ControlModifier);
    }
    EXPECT_TRUE(SameBytes(SavedBytes(), files[step - 1])) << "after undoing edit " << step;
    EXPECT_TRUE(redo->isEnabled());
  }
  EXPECT_FALSE(undo->isEnabled());
  QTest::keyClick(m_frame, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(SameBytes(SavedBytes(), files[1]));
  redo->trigger();
  EXPECT_TRUE(SameBytes(SavedBytes(), files[2]));
  EXPECT_EQ(m_frame->Tree()->topLevelItem(0)->text(0), "Renamed[1]") << "the tree follows";

  // Another screen's playbill: nothing to undo any more.
  m_frame->RunCommand(kCmdUndo);
  ASSERT_TRUE(undo->isEnabled());
  CScreenConfig& screens = doc.Screens();
  tagScreenInfo second = screens.Screen(0);
  second.number = 2;
  ASSERT_TRUE(screens.Append(second, screens.Comm(0)));
  ASSERT_TRUE(m_frame->SwitchScreen(1));
  EXPECT_FALSE(undo->isEnabled());
  EXPECT_FALSE(redo->isEnabled());
}

TEST_F(PropertyPanelTest, ThePanelFollowsTheSelection) {
  CPrgListDoc& doc = m_app->Doc();
  CPropertyPanel* panel = m_frame->Properties();
  const struct {
    int record;
    QWidget* page;
    const char* title;
  } cases[] = {
      {0, panel->ProgramEditor(), "Clock[1]"},
      {1, panel->WindowEditor(), "Window[1]"},
      {4, panel->ItemEditor(), "[Clock]"},
      {7, panel->ProgramEditor(), "Welcome[2]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    Choose(c.record);
    EXPECT_TRUE(c.page->isVisibleTo(panel));
    EXPECT_EQ(Title(), c.title);
  }
  // A click on a window of the canvas shows that window.
  const CanvasWindow bottom = m_frame->Canvas()->Windows().back();
  QTest::mouseClick(m_frame->Canvas(), Qt::LeftButton, {},
                    m_frame->Canvas()->Origin() + (bottom.rect.center() + QPoint(1, 1)) * m_frame->Canvas()->Zoom());
  EXPECT_EQ(doc.CurrentRecord(), bottom.record);
  EXPECT_TRUE(panel->WindowEditor()->isVisibleTo(panel));
  EXPECT_EQ(Title(), "Window[3]");
  EXPECT_FALSE(doc.CanUndo()) << "a click is no change";
}

TEST_F(PropertyPanelTest, ThePanelSpeaksTheChosenLanguage) {
  ASSERT_TRUE(m_app->ChangeLanguage(1031, false).ok());
  m_frame->Retranslate();
  const auto labels = [this] {
    QStringList texts;
    for (const QLabel* label : m_frame->Properties()->findChildren<QLabel*>()) {
      if (label->isVisibleTo(m_frame->Properties())) texts << label->text();
    }
    return texts;
  };
  Choose(0);
  EXPECT_TRUE(labels().contains("Wiederholungen")) << labels().join(", ").toStdString();
  EXPECT_EQ(Field<QCheckBox>("Day0")->text(), "Sonntag");
  EXPECT_EQ(Field<QComboBox>("BackgroundMode")->itemText(2), "Gestreckt");
  EXPECT_EQ(Title(), "Clock[1]");
  Choose(3);
  EXPECT_EQ(Field<QComboBox>("WaitType")->currentText(), "Wieder beim ersten Element beginnen");
  Choose(4);
  EXPECT_EQ(Field<QComboBox>("Effect")->itemText(0), "Zuf\u00e4llig");
  EXPECT_EQ(m_frame->Action(kCmdUndo)->text(), "&R\u00fcckg\u00e4ngig");
}

}  // namespace
}  // namespace vantorel
