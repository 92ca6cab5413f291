// Every item kind on every kind of colour mode, and the shipped default playbill, made and read
// back by the independent reader: no problem in any file, every checksum right, every block
// decoded as its type says.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>

#include <filesystem>
#include <string>

#include "codecs/gif_codec.h"
#include "maker/block_decoders.h"
#include "maker/controller_file_names.h"
#include "maker/controller_file_reader.h"
#include "maker/data_maker.h"
#include "maker/item_codes.h"
#include "playbill/playbill_reader.h"
#include "support/record_builders.h"
#include "support/screen_builder.h"
#include "support/temp_folder.h"
#include "support/test_files.h"
#include "support/test_video.h"

namespace vantorel {
namespace {

void EnsureGuiApplication() {
  static int argc = 1;
  static char name[] = "maker_tests";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication* application = new QGuiApplication(argc, argv);
  static_cast<void>(application);
}

// What a block of `type` must decode as; empty when it does.
std::string CheckBlock(std::uint8_t type, std::span<const std::uint8_t> block, std::uint8_t colourMode) {
  const auto startsWith = [&](std::string_view text) {
    return block.size() >= text.size() && std::equal(text.begin(), text.end(), block.begin());
  };
  switch (type) {
    case kCodePicturePages: {
      const auto pages = DecodePicturePages(block, colourMode);
      return pages ? (pages->pages.empty() ? "no page" : "") : pages.status().detail();
    }
    case kCodeAnimationFrames: {
      const auto frames = DecodeAnimationFrames(block);
      return frames ? (frames->empty() ? "no frame" : "") : frames.status().detail();
    }
    case kCodeCellText: {
      const auto cells = DecodeCellText(block);
      return cells ? "" : cells.status().detail();
    }
    case kCodeProgramName:
    case kCodeClock:
    case kCodeSensor:
    case kCodeTimeCounter:
    case kCodeWorkCounter:
      return TerminatedText(block) ? "" : "no terminator";
    case kCodeGifAnimation:
    case kCodePictureFile:
      return startsWith("GIF8") ? "" : "not a GIF file";
    case kCodeVideoAnimation:
      return startsWith("LAF:") || block.size() > 16 ? "" : "neither an animation nor a reference";
    case kCodeVideoFile:
      return startsWith("VDF:") && TerminatedText(block) ? "" : "not a video reference";
    default:
      return "unknown block type";
  }
}

// Reads every file `result` names; each problem is a test failure.
void ExpectReadableFiles(const MakeResult& result, std::uint8_t colourMode) {
  ASSERT_TRUE(result.made) << result.failure.detail();
  int programFiles = 0;
  for (const std::filesystem::path& file : result.files) {
    SCOPED_TRACE(file.filename().string());
    const std::vector<std::uint8_t> bytes = test::ReadBytes(file);
    const ControllerFileKind kind = DetectControllerFile(bytes);
    if (kind == ControllerFileKind::kPlaybillIndex) {
      const auto index = ReadPlaybillIndex(bytes);
      ASSERT_TRUE(index);
      EXPECT_TRUE(index->problems.empty()) << ProblemText(index->problems.front());
      EXPECT_EQ(index->header.colourMode, colourMode);
      for (const PlaybillIndexEntry& entry : index->entries) {
        EXPECT_TRUE(std::filesystem::is_regular_file(file.parent_path() / entry.fileName)) << entry.fileName;
      }
    } else if (kind == ControllerFileKind::kProgramFile) {
      ++programFiles;
      const auto program = ReadProgramFile(bytes);
      ASSERT_TRUE(program);
      EXPECT_TRUE(program->problems.empty()) << ProblemText(program->problems.front());
      EXPECT_TRUE(program->ChecksumOk());
      for (std::size_t i = 0; i < program->blocks.size(); ++i) {
        SCOPED_TRACE("block " + std::to_string(i));
        const std::span<const std::uint8_t> block = ProgramBlockBytes(bytes, *program, i);
        EXPECT_EQ(block.size(), program->blocks[i].length);
        EXPECT_EQ(CheckBlock(program->blocks[i].type, block, colourMode), "");
      }
    } else if (kind == ControllerFileKind::kProgramSchedule) {
      const auto schedule = ReadProgramSchedule(bytes);
      ASSERT_TRUE(schedule);
      EXPECT_TRUE(schedule->problems.empty());
    } else {
      EXPECT_EQ(file.extension(), ".log") << "a file the reader does not know";
    }
  }
  EXPECT_EQ(programFiles, result.programs);
}

class ControllerFileCorpusTest : public ::testing::Test {
protected:
  void SetUp() override { EnsureGuiApplication(); }

  // One program holding one item of every kind, with a name and a background.
  PrgList EveryKind() const {
    std::filesystem::create_directories(m_temp / "work");
    const std::filesystem::path picture = m_temp / "work" / "picture.png";
    QImage image(20, 12, QImage::Format_RGB32);
    for (int y = 0; y < 12; ++y) {
      for (int x = 0; x < 20; ++x) image.setPixel(x, y, qRgb(x * 12, y * 20, 128));
    }
    EXPECT_TRUE(image.save(QString::fromStdString(picture.string())));
    const std::filesystem::path text = m_temp.Write("work/text.txt", "Open every day\nfrom 8 to 20\n");
    const std::filesystem::path document =
        m_temp.Write("work/notice.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Pharmacy on duty\\par}");
    Animation animation;
    for (int i = 0; i < 3; ++i) {
      QImage frame(16, 16, QImage::Format_RGB888);
      frame.fill(QColor::fromHsv(i * 100, 255, 255));
      animation.frames.push_back({frame, 100});
    }
    const auto gif = EncodeGif(animation);
    EXPECT_TRUE(gif.ok());
    const std::filesystem::path animationFile = m_temp.WriteBytes("work/spin.gif", *gif);

    tagPrgItem program = test::P("Every kind");
    program.program.backgrd = picture.string();
    program.program.showMode = 2;
    PrgList records{program, test::W(0, 0, 32, 16)};
    records.push_back(test::I(kKindPicture, picture.string()));
    records.push_back(test::I(kKindTextFile, text.string()));
    records.push_back(test::I(kKindDocument, document.string()));
    tagPrgItem cells = test::I(kKindCellText);
    cells.item.richTxt = RichTextBlock::NewCellText(-1);
    records.push_back(cells);
    records.push_back(test::I(kKindClock, "{H}:{M}"));
    records.push_back(test::I(kKindAnimation, animationFile.string()));
    tagPrgItem imageText = test::I(kKindImageText);
    imageText.item.richTxt = RichTextBlock::NewImageModeText();
    records.push_back(imageText);
    records.push_back(test::I(kKindSensor, "{T}"));
    records.push_back(test::I(kKindTimeCounter, "{!d}"));
    records.push_back(test::I(kKindWorkCounter, "{n}"));
    if (test::HaveFfmpeg()) {
      records.push_back(test::W(32, 0, 16, 16));
      records.push_back(test::I(kKindVideo, test::MakeTestVideo(m_temp / "work" / "clip.mp4").string()));
    }
    return records;
  }

  MakeResult Make(const tagScreenInfo& screen, const PrgList& records) const {
    CDataMaker maker(m_temp / "work", m_temp / "data");
    maker.Reset();
    maker.SetScreen(screen, tagCommInfo{});
    maker.SetModel(screen.model);
    return maker.Make(records);
  }

  test::TempFolder m_temp;
};

TEST_F(ControllerFileCorpusTest, EveryItemKindOnEveryColourModeReadsBackWithoutAProblem) {
  const PrgList records = EveryKind();
  struct Row {
    std::uint16_t colour;
    std::uint16_t model;  // class 6, or class 7 (videos and GIF animations pass as files)
  };
  const Row rows[] = {{0x01, 0x4B05}, {0x03, 0x4B05}, {0x77, 0x4B05}, {0x71, 0x4B05}, {0x77, 0x4B07}, {0x73, 0x4B07}};
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.colour) + " on model " + std::to_string(row.model));
    const tagScreenInfo screen =
        test::ScreenBuilder().Type(row.model == 0x4B07 ? 7 : 6).Id(7).Colour(row.colour).Width(48).Height(16).Model(row.model).Build();
    const MakeResult result = Make(screen, records);
    for (const Status& note : result.notes) ADD_FAILURE() << note.text() << ": " << note.detail();
    EXPECT_EQ(result.leftOut, 0);
    ExpectReadableFiles(result, static_cast<std::uint8_t>(row.colour));
  }
}

TEST_F(ControllerFileCorpusTest, TheShippedDefaultPlaybillReadsBack) {
  PrgList records;
  int version = 0;
  const tagScreenInfo screen = test::ScreenBuilder().Type(6).Id(1).Colour(0x01).Width(48).Height(48).Model(0x4B05).Build();
  ASSERT_TRUE(ReadPlaybill(VANTOREL_BIN_DIR "/default.ldt", records, version, &screen).ok());
  ASSERT_FALSE(records.empty());
  const MakeResult result = Make(screen, records);
  for (const Status& note : result.notes) ADD_FAILURE() << note.text() << ": " << note.detail();
  EXPECT_EQ(result.leftOut, 0);
  ExpectReadableFiles(result, 0x01);
}

}  // namespace
}  // namespace vantorel
