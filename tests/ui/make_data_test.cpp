#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/app_folders.h"
#include "maker/controller_file_names.h"
#include "ui/command_ids.h"
#include "ui/make_data_dialog.h"
#include "support/test_files.h"
#include "ui_test_support.h"

namespace vantorel {
namespace {

class MakeDataTest : public testing::EditorTest {
protected:
  CMakeDataDlg* OpenDialog(CMainFrame* frame) {
    frame->Action(kCmdMakeData)->trigger();
    return frame->findChild<CMakeDataDlg*>();
  }
};

TEST_F(MakeDataTest, TheDefaultCrossPlaybillIsMadeWhileTheWindowStaysUsable) {
  CMainFrame* frame = StartFrame(4);
  ASSERT_NE(frame, nullptr);
  ASSERT_TRUE(frame->Action(kCmdMakeData)->isEnabled());
  CMakeDataDlg* dialog = OpenDialog(frame);
  ASSERT_NE(dialog, nullptr);
  QSignalSpy done(dialog, &CMakeDataDlg::makeFinished);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_FALSE(dialog->CloseButton()->isEnabled());
  ASSERT_TRUE(done.count() > 0 || done.wait(60000));
  EXPECT_TRUE(done.first().at(0).toBool()) << dialog->Step()->text().toStdString();
  EXPECT_EQ(dialog->Progress()->value(), 100);
  EXPECT_TRUE(dialog->CloseButton()->isEnabled());
  const QString summary = dialog->Summary()->toPlainText();
  EXPECT_TRUE(summary.contains(QStringLiteral("0001.lpp"))) << summary.toStdString();
  EXPECT_TRUE(summary.contains(QStringLiteral("00010000.lpb"))) << summary.toStdString();
  const std::filesystem::path output = Folders().OutputFolder();
  EXPECT_TRUE(std::filesystem::is_regular_file(output / PlaybillIndexName(1)));
  EXPECT_TRUE(std::filesystem::is_regular_file(output / ProgramFileName(1, 0)));
  if (const char* folder = std::getenv("VANTOREL_DOC_SCREENSHOTS")) {
    const std::filesystem::path into(folder);
    EXPECT_TRUE(dialog->grab().save(QString::fromStdString((into / "make-data-dialog.png").string())));
    EXPECT_TRUE(frame->grab().save(QString::fromStdString((into / "make-data-toolbar.png").string())));
  }
  dialog->CloseButton()->click();
}

TEST_F(MakeDataTest, AFailedRunSaysWhyInTheDialog) {
  CMainFrame* frame = StartFrame(4);
  ASSERT_NE(frame, nullptr);
  const std::filesystem::path output = Folders().OutputFolder();
  std::filesystem::create_directories(output.parent_path());
  test::WriteText(output, "a file where the folder goes");
  CMakeDataDlg* dialog = OpenDialog(frame);
  ASSERT_NE(dialog, nullptr);
  QSignalSpy done(dialog, &CMakeDataDlg::makeFinished);
  ASSERT_TRUE(done.count() > 0 || done.wait(60000));
  EXPECT_FALSE(done.first().at(0).toBool());
  EXPECT_TRUE(dialog->Step()->text().contains(QString::fromStdString(output.string()))) << dialog->Step()->text().toStdString();
  EXPECT_TRUE(dialog->CloseButton()->isEnabled());
}

}  // namespace
}  // namespace vantorel
