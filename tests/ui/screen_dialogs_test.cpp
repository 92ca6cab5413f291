// The screen dialogs driven as a user drives them — the screen manager with its passwords, the
// screen editor, the part editor, the cross mapping dialog and the start view — with the files on
// disk checked afterwards.

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/text_ids.h"
#include "platform/atomic_file.h"
#include "screen/colour_modes.h"
#include "screen/comm_types.h"
#include "screen/controller_types.h"
#include "screen/screen_data.h"
#include "support/test_files.h"
#include "ui/command_ids.h"
#include "ui/cross_map_dialog.h"
#include "ui/main_frame.h"
#include "ui/part_editor_dialog.h"
#include "ui/playbill_canvas.h"
#include "ui/screen_editor_dialog.h"
#include "ui/screen_manager_dialog.h"
#include "ui/start_view.h"
#include "ui_test_support.h"

namespace vantorel {
namespace {

using testing::EditorTest;
using testing::WithNextDialog;

ScreenDefinition Screen(std::uint8_t id, std::uint16_t model = kModelM5, std::uint16_t width = 48,
                        std::uint16_t height = 48) {
  ScreenDefinition definition;
  definition.screen.type = ControllerClassOf(model);
  definition.screen.number = id;
  definition.screen.model = model;
  definition.screen.color = kColourFull;
  definition.screen.width = width;
  definition.screen.height = height;
  definition.comm.special = kDefaultCrossParts;
  return definition;
}

CScreenData ListOf(const std::vector<ScreenDefinition>& definitions) {
  CScreenData list;
  for (const ScreenDefinition& d : definitions) list.Append(d.screen, d.comm);
  return list;
}

void ClickOk(QDialogButtonBox* buttons) { buttons->button(QDialogButtonBox::Ok)->click(); }

// Picks the entry of `chooser` shown as `text`, as a user picks it.
void Choose(QComboBox* chooser, const QString& text) {
  const int index = chooser->findText(text);
  ASSERT_GE(index, 0) << text.toStdString();
  chooser->setCurrentIndex(index);
}

std::vector<QString> Entries(const QComboBox* chooser) {
  std::vector<QString> entries;
  for (int i = 0; i < chooser->count(); ++i) entries.push_back(chooser->itemText(i));
  return entries;
}

// Types `text` into cell (row, column) of `table` and presses Enter.
void TypeCell(QTableWidget* table, int row, int column, const char* text) {
  table->setCurrentCell(row, column);
  table->editItem(table->item(row, column));
  QLineEdit* editor = nullptr;
  for (QLineEdit* field : table->viewport()->findChildren<QLineEdit*>()) {
    if (field->isVisible()) editor = field;
  }
  ASSERT_TRUE(editor);
  editor->selectAll();
  QTest::keyClicks(editor, QString::fromUtf8(text));
  QTest::keyClick(editor, Qt::Key_Return);
  // The delegate commits and closes the editor from the event loop; then the editor goes away, so
  // the next cell's is the only one.
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(table->item(row, column)->text().toStdString(), text);
}

// Chooses `file` in the next file dialog (or cancels it when `file` is empty).
void ChooseInNextFileDialog(const std::filesystem::path& file) {
  WithNextDialog<QFileDialog>([file](QFileDialog* dialog) {
    if (file.empty()) {
      dialog->reject();
      return;
    }
    dialog->selectFile(QString::fromStdString(file.string()));
    QMetaObject::invokeMethod(dialog, "accept");
  });
}

class ScreenDialogsTest : public EditorTest {
protected:
  void SetUp() override {
    EditorTest::SetUp();
    m_prompts.password = "50731";  // the administrator's default
  }

  // Starts the editor on `list` (the default screen when empty).
  CMainFrame& StartOn(const CScreenData& list, const std::filesystem::path& programFolder = ProgramFolder()) {
    if (list.Count() > 0) {
      CScreenData stored;
      stored.CopyFrom(list, false);
      EXPECT_TRUE(stored.Save(ScreenFile()).ok());
    }
    NewApp(programFolder);
    EXPECT_TRUE(Start());
    return *m_app->MainFrame();
  }
  std::filesystem::path ScreenFile() const { return DataFolder() / "screen.cfg"; }
  std::filesystem::path Work(const std::string& name) const { return DataFolder() / "work" / name; }
  CScreenData Stored() const {
    CScreenData list;
    (void)list.Load(ScreenFile(), false);
    return list;
  }

  // Opens the screen manager and hands it to `act`, which must close it.
  void InManager(CMainFrame& frame, const std::function<void(CScrmngDlg*)>& act) {
    bool ran = false;
    WithNextDialog<CScrmngDlg>([&act, &ran](CScrmngDlg* manager) {
      ran = true;
      act(manager);
    });
    frame.RunCommand(kCmdScreenManager);
    EXPECT_TRUE(ran);
  }

  // Clicks `button` of the manager with the editor's answer given by `edit` (which closes it).
  static void WithEditor(QPushButton* button, const std::function<void(CScrEditDlg*)>& edit) {
    WithNextDialog<CScrEditDlg>(edit);
    button->click();
  }

  static void Select(CScrmngDlg* manager, int row) { manager->List()->setCurrentItem(manager->List()->topLevelItem(row)); }

  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& message : m_prompts.messages) texts.push_back(message.text);
    return texts;
  }
};

TEST_F(ScreenDialogsTest, ManagerEditKeepsTheIdAndThePlaybill) {
  CMainFrame& frame = StartOn(ListOf({Screen(1), Screen(2, kModelM5, 64, 64)}));
  ASSERT_TRUE(frame.SwitchScreen(1));
  ASSERT_TRUE(frame.SwitchScreen(0));
  const std::string playbill1 = test::ReadText(Work("av0001.ldt"));
  const std::string playbill2 = test::ReadText(Work("av0002.ldt"));

  InManager(frame, [this](CScrmngDlg* manager) {
    QTreeWidget* list = manager->List();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->headerItem()->text(0), "Model");
    EXPECT_EQ(list->headerItem()->text(8), "COMM Parameter");
    EXPECT_EQ(list->topLevelItem(1)->text(2), "2");
    EXPECT_FALSE(manager->MoveUpButton()->isEnabled());  // the current screen, the first, is selected

    Select(manager, 1);
    WithEditor(manager->EditButton(), [](CScrEditDlg* editor) {
      editor->NameField()->setText("Gate");
      Choose(editor->CommChooser(), "Network connect to the LED controller directly");
      editor->IpField()->setText("10.0.0.9");
      ClickOk(editor->Buttons());
    });
    EXPECT_EQ(list->topLevelItem(1)->text(1), "Gate[2]");
    EXPECT_EQ(list->topLevelItem(1)->text(7), "Network");
    EXPECT_EQ(list->topLevelItem(1)->text(8), "10.0.0.9 : 5200 [255.255.255.255]");
    // A second change in the same opening: the password is not asked again.
    Select(manager, 0);
    WithEditor(manager->EditButton(), [](CScrEditDlg* editor) {
      editor->NameField()->setText("Hall");
      ClickOk(editor->Buttons());
    });
    EXPECT_EQ(m_prompts.asked, 1);
    ClickOk(manager->findChild<QDialogButtonBox*>());
  });

  const CScreenData stored = Stored();
  ASSERT_EQ(stored.Count(), 2);
  EXPECT_EQ(stored.Screen(0).scrName, "Hall");
  EXPECT_EQ(stored.Screen(0).number, 1);
  EXPECT_EQ(stored.Screen(1).scrName, "Gate");
  EXPECT_EQ(stored.Screen(1).number, 2);
  EXPECT_EQ(stored.Comm(1).ipAddr, 0x0A000009u);
  EXPECT_EQ(test::ReadText(Work("av0001.ldt")), playbill1);
  EXPECT_EQ(test::ReadText(Work("av0002.ldt")), playbill2);
  EXPECT_EQ(frame.ScreenChooser()->itemText(1), "Gate[2]");
  EXPECT_EQ(m_app->Doc().PlaybillPath(), Work("av0001.ldt"));
  EXPECT_TRUE(m_prompts.messages.empty());
}

TEST_F(ScreenDialogsTest, RemovingNeedsTheRightAdministratorPassword) {
  CMainFrame& frame = StartOn(ListOf({Screen(1), Screen(2)}));
  const std::string before = test::ReadText(ScreenFile());

  m_prompts.password = "61427";  // the advanced password is not the administrator's
  InManager(frame, [](CScrmngDlg* manager) {
    Select(manager, 1);
    manager->RemoveButton()->click();
    manager->RemoveButton()->click();  // asked again: a wrong password is not remembered
    EXPECT_EQ(manager->List()->topLevelItemCount(), 2);
    ClickOk(manager->findChild<QDialogButtonBox*>());
  });
  EXPECT_EQ(m_prompts.asked, 2);
  ASSERT_EQ(m_prompts.messages.size(), 2u);
  EXPECT_EQ(m_prompts.messages[0].text, "Password incorrect");
  EXPECT_EQ(m_prompts.messages[0].captionId, kTextPrompt);
  EXPECT_EQ(test::ReadText(ScreenFile()), before);

  // Cancelling the prompt refuses without a word; moving needs no password.
  m_prompts.messages.clear();
  m_prompts.password = std::nullopt;
  InManager(frame, [](CScrmngDlg* manager) {
    Select(manager, 1);
    manager->RemoveButton()->click();
    EXPECT_EQ(manager->List()->topLevelItemCount(), 2);
    manager->MoveUpButton()->click();
    EXPECT_EQ(manager->List()->topLevelItem(0)->text(2), "2");
    manager->reject();
  });
  EXPECT_TRUE(m_prompts.messages.empty());
  EXPECT_EQ(test::ReadText(ScreenFile()), before);

  m_prompts.password = "50731";
  InManager(frame, [](CScrmngDlg* manager) {
    Select(manager, 0);
    manager->RemoveButton()->click();
    ClickOk(manager->findChild<QDialogButtonBox*>());
  });
  ASSERT_EQ(Stored().Count(), 1);
  EXPECT_EQ(Stored().Screen(0).number, 2);
  EXPECT_EQ(m_app->Doc().CurrentScreen().number, 2);
  EXPECT_TRUE(std::filesystem::exists(Work("av0001.ldt")));  // the removed screen's playbill stays
}

TEST_F(ScreenDialogsTest, ANewIdTakesThePlaybillAlong) {
  CMainFrame& frame = StartOn(ListOf({Screen(1)}));
  const std::string playbill = test::ReadText(Work("av0001.ldt"));
  ASSERT_TRUE(WriteFileAtomically(Work("av0009.ldt"), "a playbill left by another screen"));

  InManager(frame, [this](CScrmngDlg* manager) {
    Select(manager, 0);
    WithEditor(manager->EditButton(), [this](CScrEditDlg* editor) {
      Choose(editor->IdChooser(), "9");
      ClickOk(editor->Buttons());
      // Refused in the editor, which stays open for another ID.
      ASSERT_EQ(m_prompts.messages.size(), 1u);
      EXPECT_EQ(m_prompts.messages[0].text, "A playbill file already has the name of the new screen ID; it is kept, so "
                                            "the screen cannot take that ID: " + Work("av0009.ldt").string());
      EXPECT_EQ(m_prompts.messages[0].captionId, kTextPrompt);
      EXPECT_TRUE(editor->isVisible());
      Choose(editor->IdChooser(), "5");
      ClickOk(editor->Buttons());
    });
    ClickOk(manager->findChild<QDialogButtonBox*>());
  });
  EXPECT_EQ(Stored().Screen(0).number, 5);
  EXPECT_FALSE(std::filesystem::exists(Work("av0001.ldt")));
  EXPECT_EQ(test::ReadText(Work("av0005.ldt")), playbill);
  EXPECT_EQ(test::ReadText(Work("av0009.ldt")), "a playbill left by another screen");
  EXPECT_EQ(m_app->Doc().PlaybillPath(), Work("av0005.ldt"));
  EXPECT_EQ(frame.ScreenChooser()->currentText(), "Korvan-M5[5]");
}

TEST_F(ScreenDialogsTest, ManagerOkRefusesDuplicatesAndMissingDtuIds) {
  CMainFrame& frame = StartOn(ListOf({Screen(1)}));
  const std::string before = test::ReadText(ScreenFile());
  // A file of screens whose GPRS DTU screen lacks its DTU ID.
  const auto file = m_root / "dtu.screens";
  ScreenDefinition dtu = Screen(4);
  dtu.comm.commType = kCommGprsDtu;
  CScreenData withDtu = ListOf({Screen(3), dtu});
  ASSERT_TRUE(withDtu.Save(file).ok());
  const auto empty = m_root / "empty.screens";
  ASSERT_TRUE(WriteFileAtomically(empty, "[SCREEN]\r\nTYPE=5\r\n[/SCREEN]\r\n"));

  InManager(frame, [&](CScrmngDlg* manager) {
    // With a screen selected, Add starts from a copy of it with the next free ID.
    WithEditor(manager->AddButton(), [](CScrEditDlg* editor) {
      EXPECT_EQ(editor->windowTitle(), "Screen setting => New screen");
      EXPECT_EQ(editor->Definition().screen.number, 2);
      EXPECT_EQ(editor->Definition().screen.width, 48) << "the selected screen's size";
      editor->reject();
    });
    // Without one, from the editor's defaults (ID 1, 128 x 64). The editor lets a class-7 screen
    // take ID 1 (its class has none); the list does not.
    manager->List()->clearSelection();
    WithEditor(manager->AddButton(), [](CScrEditDlg* editor) {
      EXPECT_EQ(editor->Definition().screen.width, 128);
      EXPECT_EQ(editor->windowTitle(), "Screen setting => New screen");
      Choose(editor->ModelChooser(), "Korvan-M7");
      ClickOk(editor->Buttons());
    });
    ASSERT_EQ(manager->List()->topLevelItemCount(), 2);
    ClickOk(manager->findChild<QDialogButtonBox*>());
    ASSERT_EQ(m_prompts.messages.size(), 1u);
    EXPECT_EQ(m_prompts.messages[0].text, "Korvan screen ID duplicate, can't save.");
    EXPECT_EQ(m_prompts.messages[0].captionId, kTextDuplicateIdLabel);

    ChooseInNextFileDialog(empty);
    manager->ImportButton()->click();
    ASSERT_EQ(m_prompts.messages.size(), 2u);
    EXPECT_EQ(m_prompts.messages[1].text, "No any LED screen is defined in the file!");
    EXPECT_EQ(m_prompts.messages[1].captionId, kTextInformation);
    EXPECT_EQ(manager->List()->topLevelItemCount(), 2);

    ChooseInNextFileDialog(file);
    manager->ImportButton()->click();
    ASSERT_EQ(manager->List()->topLevelItemCount(), 2);
    EXPECT_EQ(manager->List()->topLevelItem(1)->text(7), "GPRS DTU");
    ClickOk(manager->findChild<QDialogButtonBox*>());
    ASSERT_EQ(m_prompts.messages.size(), 3u);
    EXPECT_EQ(m_prompts.messages[2].text, "There is GPRS setting without DTU ID, can't save.");
    EXPECT_EQ(m_prompts.messages[2].captionId, kTextPrompt);
    manager->reject();
  });
  EXPECT_EQ(m_prompts.asked, 1);
  EXPECT_EQ(test::ReadText(ScreenFile()), before);
}

TEST_F(ScreenDialogsTest, ExportWritesTheManagersList) {
  CMainFrame& frame = StartOn(ListOf({Screen(1), Screen(7, kModelM7, 96, 96)}));
  const auto file = m_root / "all";
  InManager(frame, [&](CScrmngDlg* manager) {
    ChooseInNextFileDialog(file);
    manager->ExportButton()->click();
    manager->reject();
  });
  EXPECT_EQ(m_prompts.asked, 0);  // exporting changes nothing
  CScreenData exported;
  ASSERT_TRUE(exported.Load(m_root / "all.screens", false).ok());
  ASSERT_EQ(exported.Count(), 2);
  EXPECT_EQ(exported.Screen(1).model, kModelM7);
}

TEST_F(ScreenDialogsTest, EditorModelChangeRules) {
  struct Row {
    const char* name;
    std::uint16_t fromModel;
    std::uint16_t fromColour;
    std::uint16_t fromWidth;
    std::int32_t fromBaud;
    const char* chosenModel;
    std::uint16_t type;
    std::uint16_t colour;
    std::uint16_t width;
    std::int32_t baud;
    std::vector<QString> colourChoices;
  };
  const Row rows[] = {
      {"full colour is not offered: the model's largest", kModelM5, kColourFull, 48, 9600, "Korvan-M3", 6, kColourRg, 48, 9600,
       {"Mono", "RG color"}},
      {"an offered colour mode stays", kModelM5, kColourRg, 48, 9600, "Korvan-M2", 6, kColourRg, 48, 9600,
       {"Mono", "RG color"}},
      {"class 7 with grey levels", kModelM5, kColourRgGrey, 64, 115200, "Korvan-M7", 7, kColourRgGrey, 64, 115200,
       {"Full color", "RG color(256 grayscale)", "Mono(256 grayscale)"}},
      {"a side beyond the model's choices", kModelM4, kColourRgb, 1024, 57600, "Korvan-M1", 6, kColourRg, 512, 57600,
       {"Mono", "RG color"}},
      {"a baud rate read from a file", kModelM5, kColourFull, 48, 230400, "Korvan-M6", 7, kColourFull, 48, 115200,
       {"Full color", "RG color(256 grayscale)", "Mono(256 grayscale)"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ScreenDefinition definition = Screen(1, row.fromModel, row.fromWidth, 32);
    definition.screen.color = row.fromColour;
    definition.comm.baudRate = row.fromBaud;
    const CScreenData list = ListOf({definition});
    CScrEditDlg editor(list, 0, definition, Folders(), m_prompts);
    EXPECT_EQ(editor.BaudChooser()->currentText(), QString::number(row.fromBaud));
    Choose(editor.ModelChooser(), row.chosenModel);
    const ScreenDefinition changed = editor.Definition();
    EXPECT_EQ(changed.screen.type, row.type);
    EXPECT_EQ(changed.screen.color, row.colour);
    EXPECT_EQ(changed.screen.width, row.width);
    EXPECT_EQ(changed.comm.baudRate, row.baud);
    EXPECT_EQ(Entries(editor.ColourChooser()), row.colourChoices);
    EXPECT_EQ(editor.WidthChooser()->currentText(), QString::number(row.width));
    EXPECT_EQ(editor.HeightChooser()->itemText(0), "8");
  }

  // The chooser of the model's sizes and the presets; the fields each communication type needs.
  const CScreenData list = ListOf({Screen(1, kModelM7, 100, 50)});
  CScrEditDlg editor(list, 0, {list.Screen(0), list.Comm(0)}, Folders(), m_prompts);
  EXPECT_EQ(editor.PresetChooser()->currentText(), "144 x 144");  // the first preset as wide as the screen
  EXPECT_EQ(editor.Definition().screen.width, 100);             // opening changes nothing
  EXPECT_EQ(Entries(editor.PresetChooser()).size(), 8u);
  EXPECT_EQ(editor.HeightChooser()->count(), (2048 - 8) / 4 + 1);
  Choose(editor.PresetChooser(), "96 x 96");
  EXPECT_EQ(editor.Definition().screen.width, 96);
  EXPECT_EQ(editor.Definition().screen.height, 96);
  EXPECT_EQ(editor.HeightChooser()->currentText(), "96");

  EXPECT_EQ(editor.PortChooser()->count(), 99);
  EXPECT_EQ(editor.PortChooser()->itemText(98), "COM99");
  EXPECT_EQ(editor.DeviceLabel()->text(), "Device /dev/ttyS0");
  Choose(editor.PortChooser(), "COM3");
  EXPECT_EQ(editor.DeviceLabel()->text(), "Device /dev/ttyS2");
  EXPECT_EQ(Entries(editor.CommChooser()),
            (std::vector<QString>{"RS232 (or RS485)", "Network connect to the LED controller directly",
                                  "Network connectting to a server", "GPRS (device on board)", "GPRS (external DTU device)"}));
  struct Fields {
    const char* type;
    const char* addressing;  // empty: keep the type's first addressing
    std::vector<QWidget*> shown;
    std::vector<QWidget*> hidden;
  };
  const Fields fields[] = {
      {"RS232 (or RS485)", "", {editor.PortChooser(), editor.BaudChooser(), editor.TimeoutField()},
       {editor.IpField(), editor.GprsIdField(), editor.AddressingChooser()}},
      // A class-7 controller on the network starts named by the device finder's name.
      {"Network connect to the LED controller directly", "", {editor.GprsIdField(), editor.AddressingChooser()},
       {editor.IpField(), editor.IdCodeField(), editor.PortChooser()}},
      {"Network connect to the LED controller directly", "IP address", {editor.IpField(), editor.IdCodeField(), editor.IpPortField()},
       {editor.GprsIdField(), editor.DomainField()}},
      {"Network connectting to a server", "Server domain",
       {editor.DomainField(), editor.IpPortField(), editor.GprsIdField(), editor.UserField(), editor.PasswordField()},
       {editor.IpField(), editor.IdCodeField()}},
      {"GPRS (external DTU device)", "", {editor.GprsIdField()}, {editor.IpField(), editor.PortChooser(), editor.UserField()}},
  };
  for (const Fields& f : fields) {
    SCOPED_TRACE(std::string(f.type) + " " + f.addressing);
    Choose(editor.CommChooser(), f.type);
    if (*f.addressing) Choose(editor.AddressingChooser(), f.addressing);
    for (QWidget* field : f.shown) EXPECT_TRUE(editor.IsRowShown(field)) << field->metaObject()->className();
    for (QWidget* field : f.hidden) EXPECT_FALSE(editor.IsRowShown(field)) << field->metaObject()->className();
  }
  EXPECT_EQ(editor.Definition().comm.commType, kCommGprsDtu);
}

TEST_F(ScreenDialogsTest, EditorOkChecksInTheirOrder) {
  const CScreenData list = ListOf({Screen(1), Screen(2)});
  ScreenDefinition definition = Screen(2, kModelM1, 8, 8);
  definition.comm.commType = kCommGprsDtu;
  definition.comm.special.clear();
  CScrEditDlg editor(list, 1, definition, Folders(), m_prompts);
  Choose(editor.WidthChooser(), "512");
  Choose(editor.HeightChooser(), "512");
  Choose(editor.IdChooser(), "1");
  const auto okThen = [&](const char* expected, int caption) {
    m_prompts.messages.clear();
    ClickOk(editor.Buttons());
    ASSERT_EQ(m_prompts.messages.size(), 1u);
    EXPECT_EQ(m_prompts.messages[0].text, expected);
    EXPECT_EQ(m_prompts.messages[0].captionId, caption);
    EXPECT_NE(editor.result(), QDialog::Accepted);
  };
  okThen("The screen size (Width x Height) is too large", kTextPrompt);
  Choose(editor.WidthChooser(), "64");
  Choose(editor.HeightChooser(), "64");
  okThen("Korvan screen ID duplicate, can't save.", kTextDuplicateIdLabel);
  Choose(editor.IdChooser(), "3");
  okThen("There is GPRS setting without DTU ID, can't save.", kTextPrompt);
  editor.GprsIdField()->setText("13800000000");
  Choose(editor.CommChooser(), "Network connect to the LED controller directly");
  editor.IpField()->setText("10.0.0.300");
  okThen("Please give an address as four numbers from 0 to 255, such as 192.168.1.222: 10.0.0.300", kTextPrompt);
  editor.IpField()->setText("10.0.0.30");
  m_prompts.messages.clear();
  ClickOk(editor.Buttons());
  EXPECT_TRUE(m_prompts.messages.empty());
  EXPECT_EQ(editor.result(), QDialog::Accepted);
  const ScreenDefinition accepted = editor.Definition();
  EXPECT_EQ(accepted.screen.number, 3);
  EXPECT_EQ(accepted.comm.ipAddr, 0x0A00001Eu);
  EXPECT_EQ(accepted.comm.special, "p:0,0,16,16;48,0,16,16;0,48,16,16;48,48,16,16;");  // the cross of its size
}

TEST_F(ScreenDialogsTest, APartListTypedInThePartEditorIsTheSpecialStringWritten) {
  CMainFrame& frame = StartOn(ListOf({Screen(1), Screen(2, kModelM5, 64, 64)}));
  const auto exported = m_root / "parts";
  InManager(frame, [&](CScrmngDlg* manager) {
    Select(manager, 1);
    WithEditor(manager->EditButton(), [&](CScrEditDlg* editor) {
      EXPECT_EQ(editor->SpecialChooser()->currentText(), "Show only part(s) of the screen");
      Choose(editor->SpecialChooser(), "None");
      EXPECT_FALSE(editor->PartsButton()->isEnabled());
      WithNextDialog<CSpecialPartDlg>([&](CSpecialPartDlg* parts) {
        EXPECT_EQ(parts->SizeLine()->text(), " 64 x 64 ");
        QTableWidget* table = parts->Table();
        EXPECT_EQ(table->rowCount(), 0);  // "None" left nothing to start from
        parts->AddButton()->click();
        EXPECT_EQ(table->item(0, 0)->text(), "1*");
        TypeCell(table, 0, 1, "0");
        TypeCell(table, 0, 2, "0");
        TypeCell(table, 0, 3, "16");
        TypeCell(table, 0, 4, "16");
        EXPECT_EQ(table->item(0, 0)->text(), "1");
        parts->AddButton()->click();
        TypeCell(table, 1, 1, "48");
        TypeCell(table, 1, 2, "0");
        TypeCell(table, 1, 3, "20");  // beyond the right edge: marked, kept
        TypeCell(table, 1, 4, "16");
        EXPECT_EQ(table->item(1, 0)->text(), "2*");
        table->setCurrentCell(0, 1);
        const QImage drawn = parts->Drawing();
        EXPECT_EQ(drawn.pixelColor(3, 3), QColor(168, 168, 168));  // the selected part
        EXPECT_EQ(drawn.pixelColor(50, 3), QColor(192, 192, 192));
        EXPECT_EQ(drawn.pixelColor(30, 30), QColor(Qt::black));

        ChooseInNextFileDialog(exported);
        parts->ExportButton()->click();
        ClickOk(parts->findChild<QDialogButtonBox*>());
      });
      Choose(editor->SpecialChooser(), "Show only part(s) of the screen");
      ClickOk(editor->Buttons());
    });
    ClickOk(manager->findChild<QDialogButtonBox*>());
  });
  EXPECT_TRUE(m_prompts.messages.empty());
  EXPECT_EQ(Stored().Comm(1).special, "p:0,0,16,16;48,0,20,16;");
  EXPECT_NE(test::ReadText(ScreenFile()).find("SPECIAL=p:0,0,16,16;48,0,20,16;\r\n"), std::string::npos);
  EXPECT_EQ(test::ReadText(m_root / "parts.txt"), "p:0,0,16,16;48,0,20,16;\r\n");
}

TEST_F(ScreenDialogsTest, PartEditorImportDefaultsAndLimit) {
  const auto notParts = m_root / "q.txt";
  ASSERT_TRUE(WriteFileAtomically(notParts, "q:1,2,3,4;\r\n"));
  const auto parts = m_root / "p.txt";
  ASSERT_TRUE(WriteFileAtomically(parts, "p:1,2,3,4;5,6,7,8\r\nsecond line is not read\r\n"));

  CSpecialPartDlg editor(64, 64, "p:", ProgramFolder() / "default.parts", m_prompts);
  editor.show();
  ChooseInNextFileDialog(notParts);
  editor.ImportButton()->click();
  ASSERT_EQ(m_prompts.messages.size(), 1u);
  EXPECT_EQ(m_prompts.messages[0].text, "None");
  EXPECT_EQ(m_prompts.messages[0].captionId, kTextPrompt);

  ChooseInNextFileDialog(parts);
  editor.ImportButton()->click();
  EXPECT_EQ(editor.Table()->rowCount(), 2);
  editor.Table()->setCurrentCell(0, 1);
  editor.DeleteButton()->click();
  EXPECT_EQ(editor.Rows(), (std::vector<PartRow>{{"5", "6", "7", "8"}}));

  editor.CornersButton()->click();
  EXPECT_EQ(editor.Rows(), (std::vector<PartRow>{{"0", "0", "16", "16"}, {"48", "0", "16", "16"}, {"0", "48", "16", "16"},
                                                 {"48", "48", "16", "16"}}));
  for (int i = 0; i < 100; ++i) editor.AddButton()->click();
  EXPECT_EQ(editor.Table()->rowCount(), 100);
  ClickOk(editor.findChild<QDialogButtonBox*>());
  EXPECT_EQ(editor.Special().substr(0, 20), "p:0,0,16,16;48,0,16,");
  EXPECT_EQ(editor.Special().size(), std::string("p:0,0,16,16;48,0,16,16;0,48,16,16;48,48,16,16;").size() + 96 * 4);

  // A sign too small for corners has no default.
  m_prompts.messages.clear();
  CSpecialPartDlg small(16, 16, "", ProgramFolder() / "default.parts", m_prompts);
  small.CornersButton()->click();
  ASSERT_EQ(m_prompts.messages.size(), 1u);
  EXPECT_EQ(m_prompts.messages[0].text, "None");
  EXPECT_TRUE(small.Rows().empty());
}

TEST_F(ScreenDialogsTest, CrossMappingListsTheLibraryAndCannotSendYet) {
  const auto library = m_root / "program" / "Config" / "CrossMap" / "64x64";
  test::WriteText(library / "wiring-b.map", "map b");
  test::WriteText(library / "wiring-a.map", "map a");
  test::WriteText(library / "notes.txt", "not a mapping");
  QImage picture(40, 30, QImage::Format_RGB32);
  picture.fill(Qt::red);
  ASSERT_TRUE(picture.save(QString::fromStdString((library / "wiring-a.jpg").string()), "JPG"));

  const CScreenData list = ListOf({Screen(1), Screen(3, kModelM5, 64, 64)});
  CCrossCfgDlg dialog(list, 1, m_root / "program");
  EXPECT_EQ(dialog.TitleLine()->text(), "Korvan-M5[3], 64 x 64, COM1: 115200,N,8,1");
  ASSERT_EQ(dialog.Files()->count(), 2);
  EXPECT_EQ(dialog.Files()->item(0)->text(), "wiring-a.map");
  EXPECT_EQ(dialog.ChosenFile(), library / "wiring-a.map");
  EXPECT_FALSE(dialog.Picture()->pixmap().isNull());
  dialog.Files()->setCurrentRow(1);
  EXPECT_TRUE(dialog.Picture()->pixmap().isNull());
  EXPECT_EQ(dialog.Picture()->text(), "No picture of this mapping");
  EXPECT_FALSE(dialog.SendButton()->isEnabled());
  EXPECT_EQ(dialog.SendButton()->toolTip().toStdString(),
            "Sending a mapping file to the sign comes with the controller communication of a later version");

  // No library for 48 x 48: a file chooser first; choosing nothing closes the dialog.
  CCrossCfgDlg none(list, 0, m_root / "program");
  ChooseInNextFileDialog({});
  EXPECT_EQ(none.exec(), QDialog::Rejected);
}

TEST_F(ScreenDialogsTest, CrossMappingNeedsTheAdvancedPassword) {
  CMainFrame& frame = StartOn(ListOf({Screen(1)}));
  m_prompts.password = "50731";
  InManager(frame, [this](CScrmngDlg* manager) {
    Select(manager, 0);
    manager->CrossMappingButton()->click();
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Password incorrect"});
    m_prompts.password = "61427";
    bool chooserShown = false;
    WithNextDialog<QFileDialog>([&chooserShown](QFileDialog* chooser) {
      chooserShown = true;  // the program folder has no library for 48 x 48
      chooser->reject();
    });
    manager->CrossMappingButton()->click();
    EXPECT_TRUE(chooserShown);
    manager->reject();
  });
  EXPECT_EQ(m_prompts.asked, 2);
}

TEST_F(ScreenDialogsTest, StartViewDefinesTheFirstScreen) {
  CMainFrame& frame = StartOn({});
  const auto emptyTheList = [&] {
    InManager(frame, [](CScrmngDlg* manager) {
      while (manager->List()->topLevelItemCount() > 0) {
        Select(manager, 0);
        manager->RemoveButton()->click();
      }
      ClickOk(manager->findChild<QDialogButtonBox*>());
    });
    ASSERT_TRUE(frame.IsStartViewShown());
    EXPECT_EQ(frame.ScreenChooser()->count(), 0);
  };
  EXPECT_FALSE(frame.IsStartViewShown());
  emptyTheList();
  CScrListView* view = frame.StartView();
  EXPECT_EQ(view->WizardButton()->text(), "Screen setting wizard");
  EXPECT_FALSE(view->WizardButton()->isEnabled());  // no tool plug-in beside this program
  EXPECT_EQ(view->WizardButton()->toolTip(), "The wizard needs the tool plug-in libledtool.so in the program folder");
  EXPECT_EQ(view->ManualButton()->text(), "Define screen manualy");

  view->DefaultButton()->click();
  EXPECT_FALSE(frame.IsStartViewShown());
  ASSERT_EQ(Stored().Count(), 1);
  EXPECT_EQ(Stored().Screen(0).width, 48);
  EXPECT_EQ(m_app->Doc().PlaybillPath(), Work("av0001.ldt"));
  EXPECT_FALSE(m_app->Doc().Records().empty());

  emptyTheList();
  WithNextDialog<CScrEditDlg>([](CScrEditDlg* editor) {
    EXPECT_EQ(editor->windowTitle(), "Screen setting => New screen");
    Choose(editor->IdChooser(), "3");
    ClickOk(editor->Buttons());
  });
  view->ManualButton()->click();
  ASSERT_EQ(Stored().Count(), 1);
  EXPECT_EQ(Stored().Screen(0).number, 3);
  EXPECT_EQ(Stored().Screen(0).width, 128);
  EXPECT_EQ(Stored().Comm(0).special, "p:0,0,42,21;84,0,42,21;0,42,42,21;84,42,42,21;");
  EXPECT_TRUE(std::filesystem::exists(Work("av0003.ldt")));
  EXPECT_EQ(frame.Canvas()->ScreenSize(), QSize(128, 64));

  emptyTheList();
  const auto empty = m_root / "empty.screens";
  ASSERT_TRUE(WriteFileAtomically(empty, "nothing"));
  ChooseInNextFileDialog(empty);
  view->LoadButton()->click();
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"No any LED screen is defined in the file!"});
  EXPECT_TRUE(frame.IsStartViewShown());
  const auto two = m_root / "two.screens";
  CScreenData list = ListOf({Screen(5), Screen(6, kModelM7, 96, 96)});
  ASSERT_TRUE(list.Save(two).ok());
  ChooseInNextFileDialog(two);
  view->LoadButton()->click();
  EXPECT_FALSE(frame.IsStartViewShown());
  EXPECT_EQ(Stored().Count(), 2);
  EXPECT_EQ(frame.ScreenChooser()->count(), 2);
  EXPECT_EQ(m_app->Doc().PlaybillPath(), Work("av0005.ldt"));
}

TEST_F(ScreenDialogsTest, TheWizardOfTheToolPlugin) {
  CMainFrame& frame = StartOn({}, std::filesystem::path(TEST_PLUGIN_DIR) / "wizard");
  ASSERT_TRUE(WriteFileAtomically(DataFolder() / "screen.cf_", "left from before"));
  InManager(frame, [](CScrmngDlg* manager) {
    Select(manager, 0);
    manager->RemoveButton()->click();
    ClickOk(manager->findChild<QDialogButtonBox*>());
  });
  ASSERT_TRUE(frame.IsStartViewShown());
  ASSERT_TRUE(frame.StartView()->WizardButton()->isEnabled());
  frame.StartView()->WizardButton()->click();
  EXPECT_TRUE(m_prompts.messages.empty()) << MessageTexts().front();
  EXPECT_FALSE(frame.IsStartViewShown());
  EXPECT_FALSE(std::filesystem::exists(DataFolder() / "screen.cf_"));
  ASSERT_EQ(Stored().Count(), 1);
  EXPECT_EQ(Stored().Screen(0).scrName, "Found");
  EXPECT_EQ(frame.ScreenChooser()->currentText(), "Found[9]");
  EXPECT_EQ(m_app->Doc().PlaybillPath(), Work("av0009.ldt"));
  // The wizard is told the language and the data folder, and no password.
  const std::string calls = test::ReadText(DataFolder() / "tool-calls.txt");
  EXPECT_NE(calls.find("search-ex lang=1033"), std::string::npos) << calls;
  EXPECT_NE(calls.find("admin= advanced="), std::string::npos) << calls;
}

TEST_F(ScreenDialogsTest, AToolPluginThatDoesNotLoad) {
  const auto program = m_root / "program";
  test::WriteText(program / "libledtool.so", "not a library");
  CMainFrame& frame = StartOn({}, program);
  m_prompts.messages.clear();  // the tool menu said so at start
  InManager(frame, [](CScrmngDlg* manager) {
    Select(manager, 0);
    manager->RemoveButton()->click();
    ClickOk(manager->findChild<QDialogButtonBox*>());
  });
  frame.StartView()->WizardButton()->click();
  ASSERT_EQ(m_prompts.messages.size(), 1u);
  EXPECT_EQ(m_prompts.messages[0].text, "Fail loading DLL: " + (program / "libledtool.so").string());
  EXPECT_EQ(m_prompts.messages[0].captionId, kTextError);
  EXPECT_TRUE(frame.IsStartViewShown());
}

}  // namespace
}  // namespace vantorel
