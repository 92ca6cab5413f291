// Video, animation and office document items in the editor: the panel takes a file only when it
// can be shown, shows the first frame or page with what the file holds, the canvas shows it in the
// window, and a video converts for the sign in the background with progress and a cancel.

#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/text_ids.h"
#include "codecs/laf_file.h"
#include "playbill/item_builder.h"
#include "render/item_pages.h"
#include "render/media/conversion_log.h"
#include "screen/controller_types.h"
#include "ui/item_properties.h"
#include "ui/main_frame.h"
#include "ui/media_item_properties.h"
#include "ui/playbill_canvas.h"
#include "ui/property_panel.h"
#include "ui/ui_text.h"
#include "ui_test_support.h"

namespace vantorel {
namespace {

constexpr int kTopItem = 2;     // the default cross's top window: 16 x 16 at (16, 0)
constexpr int kBarItem = 4;     // the middle window: 48 x 16 at (0, 16)
constexpr int kBottomItem = 6;  // the bottom window: 16 x 16 at (16, 32)

bool Have(const char* program) { return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0; }

bool Shell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

class MediaItemsTest : public testing::EditorTest {
protected:
  void SetUp() override {
    EditorTest::SetUp();
    m_frame = StartFrame(4);
    ASSERT_NE(m_frame, nullptr);
  }

  // The media panel of `record`, its item made a new item of `kind` first.
  CMediaItemProperties* Panel(int record, std::uint16_t kind) {
    tagPrgItem changed = m_app->Doc().Record(record);
    StartItemKind(changed.item, kind);
    EXPECT_TRUE(m_app->Doc().ReplaceRecord(record, changed));
    m_frame->DocumentChanged();
    testing::ChooseRecord(*m_frame, *m_app, record);
    CMediaItemProperties* panel = m_frame->Properties()->ItemEditor()->MediaEditor();
    EXPECT_TRUE(panel->isVisible());
    return panel;
  }

  std::filesystem::path Video(const char* name, const char* size, int rate, int seconds) const {
    const std::filesystem::path file = m_folder / name;
    EXPECT_TRUE(Shell("ffmpeg -loglevel error -y -f lavfi -i testsrc=size=" + std::string(size) + ":rate=" +
                    std::to_string(rate) + ":duration=" + std::to_string(seconds) + " -pix_fmt yuv420p '" +
                    file.string() + "'"));
    return file;
  }

  QRgb CanvasLed(int x, int y) const { return testing::CanvasLed(*m_frame->Canvas(), x, y); }

  // The bar's item made a video item of `file`; the panel as shown after the choice.
  CMediaItemProperties* VideoPanel(const std::filesystem::path& file) {
    CMediaItemProperties* panel = Panel(kBarItem, kKindVideo);
    EXPECT_TRUE(panel->ChooseFile(file.string()));
    return m_frame->Properties()->ItemEditor()->MediaEditor();
  }

  // The panel's screen made one whose controller plays videos itself (class 7).
  MediaContext PlayingVideos(CMediaItemProperties* panel) const {
    MediaContext context;
    context.screen = m_app->Doc().CurrentScreen();
    context.screen.type = kControllerClass7;
    context.window = QSize(48, 16);
    context.folder = m_app->Doc().WorkFolder();
    panel->SetContext(context);
    return context;
  }

  static bool WaitForConversion(CMediaItemProperties* panel, QSignalSpy& finished) {
    return finished.count() > 0 || finished.wait(60000) || !panel->IsConverting();
  }

  CMainFrame* m_frame = nullptr;
};

TEST_F(MediaItemsTest, AVideoAnAnimationAndADocumentShowTheirFirstFrameOrPage) {
  if (!Have("ffmpeg") || !Have("convert")) GTEST_SKIP() << "ffmpeg and ImageMagick make the media";
  const std::filesystem::path video = Video("clip.mp4", "160x120", 25, 2);
  const std::filesystem::path gif = m_folder / "dots.gif";
  ASSERT_TRUE(Shell("convert -delay 50 -size 16x16 xc:red -delay 30 xc:blue '" + gif.string() + "'"));

  CMediaItemProperties* panel = Panel(kBarItem, kKindVideo);
  // A picture is no video: refused with the reason, the item unchanged.
  m_folder.Write("still.png", "not even a picture");
  EXPECT_FALSE(panel->ChooseFile((m_folder / "still.png").string()));
  EXPECT_TRUE(m_app->Doc().Record(kBarItem).item.media.view().empty());
  ASSERT_TRUE(panel->ChooseFile(video.string()));
  EXPECT_EQ(m_app->Doc().Record(kBarItem).item.media.str(), video.string());
  panel = m_frame->Properties()->ItemEditor()->MediaEditor();
  EXPECT_EQ(panel->Facts(), FormattedText(kTextMovieFacts, "160 x 120, 50, 2.0 s"));
  ASSERT_FALSE(panel->FirstFrame().isNull());
  EXPECT_EQ(panel->FirstFrame().size(), QSize(48, 16));

  CMediaItemProperties* animation = Panel(kTopItem, kKindAnimation);
  ASSERT_TRUE(animation->ChooseFile(gif.string()));
  animation = m_frame->Properties()->ItemEditor()->MediaEditor();
  EXPECT_EQ(animation->Facts(), FormattedText(kTextMovieFacts, "16 x 16, 2, 0.8 s"));

  // The canvas: the red first frame in the top window, the test picture's colours in the bar.
  EXPECT_EQ(CanvasLed(20, 4), 0xFF0000u);
  int lit = 0;
  for (int x = 0; x < 48; ++x) lit += CanvasLed(x, 24) != 0;
  EXPECT_GT(lit, 10) << "the video's first frame in the bar";

  if (Have("soffice") && CanRenderItemKind(kKindDocument)) {
    const std::filesystem::path rtf = m_folder.Write("note.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0 DejaVu Sans;}}\\f0\\fs16 Open 9 to 5\\par}");
    ASSERT_TRUE(Shell("cd '" + m_folder.Path().string() + "' && soffice -env:UserInstallation=file://" +
                    (m_folder / "lo").string() + " --headless --convert-to docx note.rtf"));
    CMediaItemProperties* document = Panel(kBottomItem, kKindDocument);
    ASSERT_TRUE(document->ChooseFile((m_folder / "note.docx").string()));
    document = m_frame->Properties()->ItemEditor()->MediaEditor();
    EXPECT_NE(document->Facts().toStdString().find(Text(kTextDocumentPages).toStdString().substr(0, 5)), std::string::npos);
    EXPECT_FALSE(document->FirstFrame().isNull());
  }

  if (const char* folder = std::getenv("VANTOREL_DOC_SCREENSHOTS")) {
    const std::filesystem::path into(folder);
    testing::ChooseRecord(*m_frame, *m_app, kBarItem);
    CPlaybillCanvas* canvas = m_frame->Canvas();
    canvas->SetZoom(8);
    canvas->resize(canvas->sizeHint());
    EXPECT_TRUE(canvas->grab().save(QString::fromStdString((into / "media-items-canvas.png").string())));
    EXPECT_TRUE(m_frame->grab().save(QString::fromStdString((into / "media-items-editor.png").string())));
  }
}

TEST_F(MediaItemsTest, AVideoBecomesTheSignsAnimationWithProgress) {
  if (!Have("ffmpeg")) GTEST_SKIP() << "ffmpeg makes the video";
  CMediaItemProperties* panel = VideoPanel(Video("clip.mp4", "160x120", 25, 2));
  auto* bar = panel->findChild<QProgressBar*>(QStringLiteral("ConversionProgress"));
  ASSERT_NE(bar, nullptr);
  std::vector<int> values;
  const char* screenshots = std::getenv("VANTOREL_DOC_SCREENSHOTS");
  QObject::connect(bar, &QProgressBar::valueChanged, [&values, panel, screenshots](int value) {
    values.push_back(value);
    if (screenshots != nullptr && value >= 40 && values.size() > 1 && values[values.size() - 2] < 40) {
      panel->parentWidget()->grab().save(
          QString::fromStdString((std::filesystem::path(screenshots) / "media-items-converting.png").string()));
    }
  });
  QSignalSpy finished(panel, &CMediaItemProperties::conversionFinished);
  const std::filesystem::path animation = m_folder / "clip.laf";
  ASSERT_TRUE(panel->StartConversion(animation));
  EXPECT_TRUE(panel->IsConverting());
  EXPECT_TRUE(bar->isVisible());
  EXPECT_FALSE(panel->StartConversion(animation)) << "one conversion at a time";
  ASSERT_TRUE(WaitForConversion(panel, finished));
  ASSERT_EQ(finished.count(), 1);
  EXPECT_TRUE(finished.front().front().toBool()) << panel->ConversionOutcome().toStdString();
  EXPECT_FALSE(bar->isVisible());
  ASSERT_FALSE(values.empty());
  EXPECT_EQ(values.back(), 100);

  CLafReader reader;
  ASSERT_TRUE(reader.Load(animation).ok());
  EXPECT_EQ(reader.GetInfo().width, 48);
  EXPECT_EQ(reader.GetInfo().height, 16);
  EXPECT_EQ(reader.FrameCount(), 25) << "40 ms frames merged in pairs";
  EXPECT_EQ(panel->ConversionOutcome().toStdString().substr(0, 14), Text(kTextAnimationEmbedded).toStdString().substr(0, 14));
}

TEST_F(MediaItemsTest, ForAScreenThatPlaysVideosTheVideoIsReencodedOnceAndCanBeCancelled) {
  if (!Have("ffmpeg")) GTEST_SKIP() << "ffmpeg makes and converts the video";
  CMediaItemProperties* panel = VideoPanel(Video("big.mp4", "640x360", 30, 3));
  const MediaContext context = PlayingVideos(panel);
  const std::filesystem::path mediaFolder = ScreenMediaFolder(context.folder, context.screen.number);

  QSignalSpy finished(panel, &CMediaItemProperties::conversionFinished);
  ASSERT_TRUE(panel->StartConversion({}));
  panel->CancelConversion();
  ASSERT_TRUE(WaitForConversion(panel, finished));
  EXPECT_FALSE(finished.front().front().toBool());
  EXPECT_EQ(panel->ConversionOutcome(), Text(kTextConversionCancelled));
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(mediaFolder, error)) {
    EXPECT_EQ(entry.path().extension(), ".txt") << "left behind: " << entry.path();
  }

  finished.clear();
  ASSERT_TRUE(panel->StartConversion({}));
  ASSERT_TRUE(WaitForConversion(panel, finished));
  ASSERT_TRUE(finished.front().front().toBool()) << panel->ConversionOutcome().toStdString();
  EXPECT_EQ(panel->ConversionOutcome(), FormattedText(kTextVideoConvertedFor, (mediaFolder / "big$1.mp4").string()));
  EXPECT_TRUE(std::filesystem::exists(mediaFolder / "big$1.mp4"));

  finished.clear();
  ASSERT_TRUE(panel->StartConversion({}));
  ASSERT_TRUE(WaitForConversion(panel, finished));
  EXPECT_EQ(panel->ConversionOutcome(), FormattedText(kTextVideoAlreadyConverted, (mediaFolder / "big$1.mp4").string()));
  const Expected<CConversionLog> log = CConversionLog::Load(mediaFolder);
  ASSERT_TRUE(log.ok());
  EXPECT_EQ(log->Records().size(), 1u);
}

TEST_F(MediaItemsTest, WithoutTheConverterTheFirstVideoForAScreenThatPlaysVideosSaysSo) {
  if (!Have("ffmpeg")) GTEST_SKIP() << "ffmpeg makes the videos";
  const std::filesystem::path first = Video("first.mp4", "64x32", 10, 1);
  const std::filesystem::path second = Video("second.mp4", "64x32", 10, 1);
  const std::string path = std::getenv("PATH");
  setenv("PATH", "/nonexistent", 1);
  CMediaItemProperties* panel = Panel(kBarItem, kKindVideo);
  PlayingVideos(panel);
  tagPrgItem record = m_app->Doc().Record(kBarItem);
  record.item.media = first.string();
  panel->Show(record);
  const QString told = panel->ConversionOutcome();
  record.item.media = second.string();
  panel->Show(record);
  const QString again = panel->ConversionOutcome();
  setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(told, Text(kTextNoVideoConverter));
  EXPECT_TRUE(again.isEmpty()) << again.toStdString();
}

TEST_F(MediaItemsTest, WithoutLibreOfficeADocumentIsTakenAndThePanelSaysWhatItNeeds) {
  const std::filesystem::path document = m_folder.Write("notice.docx", "made by a word processor");
  const std::string path = std::getenv("PATH");
  setenv("PATH", "/nonexistent", 1);
  CMediaItemProperties* panel = Panel(kBottomItem, kKindDocument);
  const bool chosen = panel->ChooseFile(document.string());
  panel = m_frame->Properties()->ItemEditor()->MediaEditor();
  const auto* problem = panel->findChild<QLabel*>(QStringLiteral("MediaProblem"));
  const std::string shown = problem != nullptr ? problem->text().toStdString() : std::string();
  // Shown again unchanged (as after an edit of another field), the panel still says it.
  panel->Show(m_app->Doc().Record(kBottomItem));
  const bool visible = problem != nullptr && problem->isVisible();
  QString onCanvas;
  for (const CanvasWindow& window : m_frame->Canvas()->Windows()) {
    if (window.record == kBottomItem - 1) onCanvas = window.problem;
  }
  // Written in the window: some LEDs of the empty bottom window are lit by the letters.
  int lit = 0;
  for (int y = 32; y < 48; ++y) {
    for (int x = 16; x < 32; ++x) lit += CanvasLed(x, y) != 0;
  }
  if (const char* folder = std::getenv("VANTOREL_DOC_SCREENSHOTS")) {
    CPlaybillCanvas* canvas = m_frame->Canvas();
    canvas->SetZoom(8);
    canvas->resize(canvas->sizeHint());
    canvas->grab().save(QString::fromStdString((std::filesystem::path(folder) / "media-items-no-office.png").string()));
  }
  setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(onCanvas.left(20), Text(kTextLibreOfficeNeeded).left(20));
  EXPECT_GT(lit, 0);
  EXPECT_TRUE(chosen);
  EXPECT_EQ(m_app->Doc().Record(kBottomItem).item.media.str(), document.string());
  EXPECT_TRUE(visible);
  EXPECT_EQ(shown.substr(0, Text(kTextLibreOfficeNeeded).size()), Text(kTextLibreOfficeNeeded).toStdString());
  EXPECT_TRUE(panel->FirstFrame().isNull());
}

}  // namespace
}  // namespace vantorel
