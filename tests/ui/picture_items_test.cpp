// Picture items in the editor: added with "Add picture...", drawn on the canvas as the sign shows
// them, and edited in the property panel (file, display mode, inverse), with what was chosen in
// the playbill file after saving.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <QTreeWidgetItem>

#include <fstream>

#include "codecs/picture_file.h"
#include "playbill/playbill_reader.h"
#include "ui/command_ids.h"
#include "ui/main_frame.h"
#include "ui/picture_item_properties.h"
#include "ui/playbill_canvas.h"
#include "ui/program_tree.h"
#include "ui/property_panel.h"
#include "ui_test_support.h"

namespace vantorel {
namespace {

constexpr int kTopItem = 2;  // the text item of the default cross's top window
constexpr int kBarItem = 4;  // the item of the default cross's middle window (48 x 16 at 0, 16)

class PictureItemsTest : public testing::EditorTest {
protected:
  void SetUp() override {
    EditorTest::SetUp();
    m_frame = StartFrame(4);
    ASSERT_NE(m_frame, nullptr);
  }

  // A 24 x 8 picture: left half yellow, right half blue.
  std::filesystem::path Picture(const char* name) const {
    QImage picture(24, 8, QImage::Format_RGB888);
    for (int x = 0; x < 24; ++x) {
      for (int y = 0; y < 8; ++y) picture.setPixel(x, y, x < 12 ? qRgb(255, 255, 0) : qRgb(0, 0, 255));
    }
    const auto file = DataFolder() / name;
    EXPECT_TRUE(picture.save(QString::fromStdString(file.string())));
    return file;
  }

  void Choose(int record) { testing::ChooseRecord(*m_frame, *m_app, record); }
  QRgb CanvasLed(int x, int y) const { return testing::CanvasLed(*m_frame->Canvas(), x, y); }

  PrgList Saved() {
    m_frame->RunCommand(kCmdFileSave);
    PrgList list;
    int version = 0;
    EXPECT_TRUE(ReadPlaybill(DataFolder() / "work" / "av0001.ldt", list, version).ok());
    return list;
  }

  template <typename Widget>
  Widget* Field(const char* name) const {
    auto* widget = m_frame->Properties()->findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_TRUE(widget) << name;
    return widget;
  }

  CMainFrame* m_frame = nullptr;
};

TEST_F(PictureItemsTest, AnAddedPictureIsDrawnInItsWindowAndEditedInThePanel) {
  Choose(kBarItem);
  EXPECT_TRUE(m_frame->Action(kCmdAddPicture)->isEnabled());
  ASSERT_TRUE(m_frame->AddPictureFile(Picture("sale.png")));
  const int picture = kBarItem + 1;
  EXPECT_EQ(m_app->Doc().CurrentRecord(), picture);
  EXPECT_EQ(m_frame->Tree()->RowOf(picture)->text(0), "sale.png");

  // Stretched (new items start so) over the 48 x 16 bar: yellow on the left, blue on the right.
  EXPECT_EQ(CanvasLed(2, 20), qRgb(255, 255, 0) & 0xFFFFFF);
  EXPECT_EQ(CanvasLed(45, 30), qRgb(0, 0, 255) & 0xFFFFFF);

  // Center at 1:1: the 24 x 8 picture sits at (12, 4) of the bar, black around it.
  QComboBox* placement = Field<QComboBox>("PicturePlacement");
  ASSERT_TRUE(placement->isVisible());
  placement->setCurrentIndex(placement->findText("Center"));
  Q_EMIT placement->activated(placement->currentIndex());
  EXPECT_EQ(CanvasLed(2, 20), 0u);
  EXPECT_EQ(CanvasLed(12, 20), qRgb(255, 255, 0) & 0xFFFFFF);
  EXPECT_EQ(CanvasLed(35, 27), qRgb(0, 0, 255) & 0xFFFFFF);

  // Inverted: yellow shows blue.
  QTest::mouseClick(Field<QCheckBox>("PictureInverse"), Qt::LeftButton, {}, QPoint(6, 8));
  EXPECT_EQ(CanvasLed(12, 20), qRgb(0, 0, 255) & 0xFFFFFF);

  const PrgList saved = Saved();
  ASSERT_GT(saved.size(), static_cast<std::size_t>(picture));
  const tagItemPart& item = saved[static_cast<std::size_t>(picture)].item;
  EXPECT_EQ(item.actType, kKindPicture);
  EXPECT_EQ(item.media.str(), (DataFolder() / "sale.png").string());
  EXPECT_EQ(item.showMode, 0);
  EXPECT_EQ(item.negative, 1);

  // Undo takes back the inverse, then the placement, then the item.
  for (int step = 0; step < 3; ++step) m_frame->RunCommand(kCmdUndo);
  EXPECT_EQ(m_frame->Tree()->RowOf(picture)->text(0), "Window[3]");
}

TEST_F(PictureItemsTest, AFileThatIsNoPictureIsRefusedWithItsCause) {
  const auto text = DataFolder() / "notes.png";
  std::ofstream(text) << "not a picture";
  Choose(kBarItem);
  EXPECT_FALSE(m_frame->AddPictureFile(text));
  ASSERT_EQ(m_prompts.messages.size(), 1u);
  EXPECT_NE(m_prompts.messages[0].text.find("The picture could not be read: not a picture file"), std::string::npos)
      << m_prompts.messages[0].text;
  EXPECT_EQ(m_app->Doc().CurrentRecord(), kBarItem) << "nothing was added";

  ASSERT_TRUE(m_frame->AddPictureFile(Picture("good.png")));
  auto* editor = m_frame->Properties()->findChild<CPictureItemProperties*>();
  ASSERT_TRUE(editor);
  EXPECT_FALSE(editor->ChooseFile(text.string()));
  QLabel* problem = Field<QLabel>("PictureProblem");
  EXPECT_TRUE(problem->isVisible());
  EXPECT_TRUE(problem->text().startsWith("The picture could not be read")) << problem->text().toStdString();
  EXPECT_EQ(m_app->Doc().Record(kBarItem + 1).item.media.str(), (DataFolder() / "good.png").string());
  ASSERT_TRUE(editor->ChooseFile(Picture("other.png").string()));
  EXPECT_FALSE(problem->isVisible());
  EXPECT_EQ(m_app->Doc().Record(kBarItem + 1).item.media.str(), (DataFolder() / "other.png").string());
}

TEST_F(PictureItemsTest, TheProgramBackgroundShowsBehindTheWindows) {
  // Window 1's text item would cover the background with its own: without it the window shows
  // nothing of its own.
  ASSERT_TRUE(m_app->Doc().Record(kTopItem).IsItem());
  ASSERT_TRUE(m_app->Doc().Delete(kTopItem));
  Choose(0);
  ASSERT_TRUE(m_app->Doc().SetBackground(Picture("back.png"), IsReadablePicture));
  m_frame->DocumentChanged();
  // Stretched over the 48 x 48 screen; window 1 is empty, so the background shows there: yellow
  // left of the middle, blue right of it.
  EXPECT_EQ(CanvasLed(20, 4), qRgb(255, 255, 0) & 0xFFFFFF);
  EXPECT_EQ(CanvasLed(28, 4), qRgb(0, 0, 255) & 0xFFFFFF);
  // The program's settings show the picture beside its file.
  QLabel* preview = Field<QLabel>("BackgroundPreview");
  ASSERT_TRUE(preview->isVisible());
  ASSERT_FALSE(preview->pixmap().isNull());
  EXPECT_EQ(preview->pixmap().size(), QSize(160, 53));
  m_frame->RunCommand(kCmdClearBackground);
  EXPECT_FALSE(preview->isVisible());
}

}  // namespace
}  // namespace vantorel
