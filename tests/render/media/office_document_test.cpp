// Office documents: the copy names and stamps, the copies made once per change of a document and
// reused, the failures of a conversion (checked with a stand-in "soffice" script, quickly), and
// real documents made and converted by LibreOffice at test time (skipped without it).

#include <gtest/gtest.h>


#include <cstdio>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/status_text.h"
#include "app/text_ids.h"
#include "../bitmap_ink.h"
#include "../gui_application.h"
#include "platform/child_process.h"
#include "render/item_pages.h"
#include "render/media/office_document.h"
#include "support/temp_folder.h"

namespace vantorel {
namespace {

namespace fs = std::filesystem;

constexpr LedColour kWhite = 0xFFFFFF;

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
public:
  ScopedVariable(const char* name, const std::string& value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedVariable() {
    if (m_old) {
      ::setenv(m_name, m_old->c_str(), 1);
    } else {
      ::unsetenv(m_name);
    }
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
  const char* m_name;
  std::optional<std::string> m_old;
};

// The names in `folder`, sorted.
std::set<std::string> NamesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

// Inverted: white text on black, as a document is usually shown.
tagItemPart DocumentItem(const fs::path& document, bool negative = true) {
  tagItemPart item;
  item.actType = kKindDocument;
  item.media = document.string();
  item.negative = negative ? 1 : 0;
  return item;
}

ItemRenderSettings Settings() { return {0x77, {}, nullptr, true, {}}; }

bool SamePixels(const CLedBitmap& a, const CLedBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
    }
  }
  return true;
}

// The document's text without the blank lines a table starts and ends with.
std::string PlainText(const Expected<std::unique_ptr<QTextDocument>>& document) {
  return document ? (*document)->toPlainText().trimmed().toStdString() : "failed: " + document.status().detail();
}

TEST(OfficeDocumentNames, FormatsByExtension) {
  const struct {
    const char* name;
    OfficeFormat format;
  } rows[] = {
      {"a.rtf", OfficeFormat::kRichText},     {"a.RTF", OfficeFormat::kRichText},
      {"a.doc", OfficeFormat::kWordProcessor}, {"a.Docx", OfficeFormat::kWordProcessor},
      {"a.odt", OfficeFormat::kWordProcessor}, {"a.xls", OfficeFormat::kSpreadsheet},
      {"a.XLSX", OfficeFormat::kSpreadsheet},  {"a.ods", OfficeFormat::kSpreadsheet},
      {"a.txt", OfficeFormat::kUnknown},       {"a.pdf", OfficeFormat::kUnknown},
      {"doc", OfficeFormat::kUnknown},         {"a.docx.bak", OfficeFormat::kUnknown},
  };
  for (const auto& row : rows) EXPECT_EQ(OfficeFormatOf(row.name), row.format) << row.name;
}

TEST(OfficeDocumentNames, StampsChangeWithSizeAndTime) {
  // Pinned: copies made by an earlier version stay valid.
  EXPECT_EQ(DocumentStamp(0, 0), 0x88201fb960ff6465u);
  EXPECT_EQ(DocumentStamp(1234, 1700000000123456789), 0x6019f4eae37c71e3u);
  const std::uint64_t base = DocumentStamp(1000, 1'700'000'000'000'000'000);
  EXPECT_NE(DocumentStamp(1001, 1'700'000'000'000'000'000), base) << "one byte more";
  EXPECT_NE(DocumentStamp(1000, 1'700'000'000'000'000'001), base) << "a nanosecond later";
  EXPECT_NE(DocumentStamp(1'700'000'000'000'000'000, 1000), base) << "size and time are not interchangeable";
}

TEST(OfficeDocumentNames, CopyNamesAndTheirStamps) {
  char printed[40];
  std::snprintf(printed, sizeof printed, "~%lx_", 0x00ab12UL);
  EXPECT_EQ(OfficeCopyName("/data/media/Report 1.docx", 0xab12, ".rtf"),
            fs::path("/data/media") / (std::string(printed) + "Report 1.docx.rtf"));
  EXPECT_EQ(OfficeCopyName("sheet.xls", 0, ".html"), fs::path("~0_sheet.xls.html"));
  EXPECT_EQ(OfficeCopyName("x.doc", ~std::uint64_t{0}, ".rtf"), fs::path("~ffffffffffffffff_x.doc.rtf"));

  const struct {
    const char* file;
    const char* document;
    const char* extension;
    std::optional<std::uint64_t> stamp;
  } rows[] = {
      {"~ab12_report.docx.rtf", "report.docx", ".rtf", 0xab12},
      {"~0_report.docx.rtf", "report.docx", ".rtf", 0},
      {"~ffffffffffffffff_report.docx.rtf", "report.docx", ".rtf", ~std::uint64_t{0}},
      {"~1ffffffffffffffff_report.docx.rtf", "report.docx", ".rtf", std::nullopt},  // 17 digits
      {"~_report.docx.rtf", "report.docx", ".rtf", std::nullopt},
      {"~0ab12_report.docx.rtf", "report.docx", ".rtf", std::nullopt},  // never written with a leading zero
      {"~AB12_report.docx.rtf", "report.docx", ".rtf", std::nullopt},  // written in lower case only
      {"~ag_report.docx.rtf", "report.docx", ".rtf", std::nullopt},
      {"ab12_report.docx.rtf", "report.docx", ".rtf", std::nullopt},
      {"~ab12_report.docx.html", "report.docx", ".rtf", std::nullopt},
      {"~ab12_report.docx.rtf.bak", "report.docx", ".rtf", std::nullopt},
      {"~ab12_report.doc.rtf", "report.docx", ".rtf", std::nullopt},
      {"~ab12_old report.docx.rtf", "report.docx", ".rtf", std::nullopt},
      {"~12_~ab_x.doc.rtf", "~ab_x.doc", ".rtf", 0x12},  // a document named like a copy
      {"~ab12_sheet.ods.html", "sheet.ods", ".html", 0xab12},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(OfficeCopyStamp(row.file, row.document, row.extension), row.stamp) << row.file;
  }
}

// A stand-in for LibreOffice: a "soffice" script first on PATH that logs its arguments (one run a
// line) and then does what the test asks.
class FakeOfficeTest : public ::testing::Test {
protected:
  void SetUp() override {
    test::GuiApplication();
    fs::create_directories(m_folder / "bin");
    fs::create_directories(m_folder / "tmp");
    fs::create_directories(m_folder / "media");
  }

  // `body` runs after the arguments are read: $fmt, $out, $doc and $stem are set.
  void Script(const std::string& body) const {
    const fs::path script = m_folder.Write("bin/soffice",
                                           "#!/bin/sh\n"
                                           "echo \"$*\" >> '" + Log().string() + "'\n"
                                           "while [ $# -gt 1 ]; do\n"
                                           "  case \"$1\" in --convert-to) fmt=$2;; --outdir) out=$2;; esac\n"
                                           "  shift\n"
                                           "done\n"
                                           "doc=$1; name=$(basename \"$doc\"); stem=${name%.*}\n" +
                                               body + "\n");
    fs::permissions(script, fs::perms::owner_all);
  }
  // Writes the document's own bytes as the converted text, in rich text or HTML.
  void ConvertingScript() const {
    Script("if [ \"$fmt\" = rtf ]; then { printf '{\\\\rtf1 '; cat \"$doc\"; printf '}'; } > \"$out/$stem.rtf\";\n"
           "else { printf '<p>'; cat \"$doc\"; printf '</p>'; } > \"$out/$stem.html\"; fi");
  }
  fs::path Log() const { return m_folder / "runs.log"; }
  std::vector<std::string> Runs() const {
    std::vector<std::string> runs;
    if (!fs::exists(Log())) return runs;
    const std::string log = m_folder.Read("runs.log");
    for (std::size_t start = 0; start < log.size();) {
      const std::size_t end = log.find('\n', start);
      runs.push_back(log.substr(start, end - start));
      start = end == std::string::npos ? log.size() : end + 1;
    }
    return runs;
  }
  fs::path Document(const std::string& name, std::string_view text) const { return m_folder.Write("media/" + name, text); }

  test::TempFolder m_folder;
  ScopedVariable m_path{"PATH", (m_folder / "bin").string() + ":/usr/bin:/bin"};
  ScopedVariable m_temp{"TMPDIR", (m_folder / "tmp").string()};
};

TEST_F(FakeOfficeTest, LibreOfficeRunsHeadlessWithAProfileOfItsOwn) {
  ConvertingScript();
  const fs::path document = Document("report.docx", "ONE");
  ASSERT_TRUE(DocumentToRtf(document, m_folder / "a.rtf"));
  ASSERT_TRUE(DocumentToRtf(document, m_folder / "b.rtf"));
  const std::vector<std::string> runs = Runs();
  ASSERT_EQ(runs.size(), 2u);
  const std::string profileStart = "-env:UserInstallation=file://" + (m_folder / "tmp").string() + "/vantorel-office-";
  std::set<std::string> profiles;
  for (const std::string& run : runs) {
    EXPECT_TRUE(run.starts_with(profileStart)) << run;
    profiles.insert(run.substr(0, run.find(' ')));
    const std::string rest = run.substr(run.find(' '));
    EXPECT_TRUE(rest.starts_with(" --headless --norestore --convert-to rtf --outdir " + (m_folder / "tmp").string()))
        << rest;
    EXPECT_TRUE(rest.ends_with("/out " + document.string())) << rest;
  }
  EXPECT_EQ(profiles.size(), 2u) << "each conversion has its own profile";
  EXPECT_TRUE(NamesIn(m_folder / "tmp").empty()) << "profiles and output folders are removed";
  EXPECT_EQ(m_folder.Read("a.rtf"), "{\\rtf1 ONE}");
}

TEST_F(FakeOfficeTest, FailuresSayWhyAndLeaveNothing) {
  const struct {
    const char* name;
    const char* body;
    std::chrono::milliseconds limit;
    TextId text;
    const char* detail;
  } rows[] = {
      {"LibreOffice's error lines",
       "echo 'Warning: failed to launch javaldx - java may not function correctly' >&2\n"
       "echo 'Error: source file could not be loaded' >&2",
       kOfficeTimeLimit, kTextOfficeConversionFailed, "Error: source file could not be loaded"},
      {"the last line of its error output", "echo 'one' >&2; echo 'soffice: unknown option' >&2; exit 3",
       kOfficeTimeLimit, kTextOfficeConversionFailed, "soffice: unknown option"},
      {"how it ended when it said nothing", "exit 3", kOfficeTimeLimit, kTextOfficeConversionFailed,
       "soffice ended with exit status 3"},
      {"nothing written, nothing said", "true", kOfficeTimeLimit, kTextOfficeConversionFailed,
       "soffice wrote no converted file"},
      {"a file written, then a failure", "echo x > \"$out/$stem.rtf\"; exit 1", kOfficeTimeLimit,
       kTextOfficeConversionFailed, "exit status 1"},
      {"the time limit", "sleep 30", std::chrono::milliseconds(300), kTextOfficeConversionTimedOut, "0.3"},
      {"the time limit of a program that started another", "sleep 30 & wait", std::chrono::milliseconds(300),
       kTextOfficeConversionTimedOut, "0.3"},
  };
  const fs::path document = Document("report.docx", "ONE");
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Script(row.body);
    const auto started = std::chrono::steady_clock::now();
    const Status converted = DocumentToRtf(document, m_folder / "media" / "copy.rtf", {row.limit, nullptr});
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10));
    ASSERT_FALSE(converted);
    EXPECT_EQ(converted.text(), row.text);
    EXPECT_NE(converted.detail().find(row.detail), std::string::npos) << converted.detail();
    EXPECT_EQ(NamesIn(m_folder / "media"), std::set<std::string>{"report.docx"}) << "no copy, not even a part";
    EXPECT_TRUE(NamesIn(m_folder / "tmp").empty());
  }
}

TEST_F(FakeOfficeTest, CancellingStopsTheConversion) {
  Script("sleep 30");
  std::atomic<bool> cancel{false};
  std::thread canceller([&cancel] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    cancel = true;
  });
  const Status converted = DocumentToRtf(Document("a.doc", "x"), m_folder / "a.rtf", {kOfficeTimeLimit, &cancel});
  canceller.join();
  ASSERT_FALSE(converted);
  EXPECT_EQ(converted.text(), kTextOfficeConversionFailed);
  EXPECT_FALSE(fs::exists(m_folder / "a.rtf"));
}

TEST_F(FakeOfficeTest, ADocumentIsConvertedOncePerChange) {
  ConvertingScript();
  const fs::path document = Document("report.docx", "ONE");
  EXPECT_EQ(PlainText(OfficeDocumentText(document)), "ONE");
  EXPECT_EQ(PlainText(OfficeDocumentText(document)), "ONE");
  EXPECT_EQ(Runs().size(), 1u) << "the copy is used as it is";
  const fs::path first = OfficeCopyName(document, *DocumentStampOf(document), ".rtf");
  EXPECT_EQ(NamesIn(m_folder / "media"), (std::set<std::string>{"report.docx", first.filename().string()}));

  // Another copy of another document, and files that only look like copies, are left alone.
  m_folder.Write("media/~1_other.docx.rtf", "{\\rtf1 other}");
  m_folder.Write("media/~zz_report.docx.rtf", "{\\rtf1 not a copy}");
  const struct {
    const char* name;
    const char* text;
    fs::file_time_type::duration later;
  } changes[] = {
      {"another size", "TWO!", std::chrono::seconds(0)},
      {"the same size, another time", "TWO?", std::chrono::seconds(5)},
      {"the same bytes, another time", "TWO?", std::chrono::seconds(10)},
  };
  std::size_t runs = 1;
  for (const auto& change : changes) {
    SCOPED_TRACE(change.name);
    const auto before = fs::last_write_time(document);
    std::FILE* file = std::fopen(document.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs(change.text, file);
    std::fclose(file);
    fs::last_write_time(document, before + change.later);
    EXPECT_EQ(PlainText(OfficeDocumentText(document)), change.text);
    EXPECT_EQ(Runs().size(), ++runs) << "a new copy for the changed document";
    const fs::path copy = OfficeCopyName(document, *DocumentStampOf(document), ".rtf");
    EXPECT_EQ(NamesIn(m_folder / "media"), (std::set<std::string>{"report.docx", copy.filename().string(),
                                                                  "~1_other.docx.rtf", "~zz_report.docx.rtf"}))
        << "the older copy is removed";
  }
}

TEST_F(FakeOfficeTest, AnExistingCopyIsShownWithoutLibreOffice) {
  const ScopedVariable noOffice("PATH", (m_folder / "tmp").string());
  const struct {
    const char* document;
    const char* extension;
    const char* copy;
  } rows[] = {
      {"report.docx", ".rtf", "{\\rtf1 HANDMADE}"},
      {"report.doc", ".rtf", "{\\rtf1 HANDMADE}"},
      {"sheet.ods", ".html", "<table><tr><td>HANDMADE</td></tr></table>"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.document);
    const fs::path document = Document(row.document, "the document itself");
    m_folder.Write(OfficeCopyName("media" / fs::path(row.document), *DocumentStampOf(document), row.extension),
                   row.copy);
    EXPECT_EQ(PlainText(OfficeDocumentText(document)), "HANDMADE");
    const auto pages = RenderItemPages(DocumentItem(document), QSize(128, 32), Settings());
    ASSERT_TRUE(pages) << pages.status().detail();
    ASSERT_EQ(pages->size(), 1u);
    EXPECT_EQ(test::ColoursOf(pages->front()), (std::set<LedColour>{0, kWhite}));
  }
  EXPECT_FALSE(fs::exists(Log()));
}

TEST_F(FakeOfficeTest, WhatCannotBeShownSaysWhy) {
  const ScopedVariable noOffice("PATH", (m_folder / "tmp").string());
  fs::create_directories(m_folder / "media" / "folder.docx");
  m_folder.Write("media/broken.rtf", "not rich text");
  m_folder.Write("media/letter.docx", "x");
  m_folder.Write("media/table.xlsx", "x");
  m_folder.Write("media/notes.pdf", "x");
  const struct {
    const char* name;
    const char* media;
    TextId text;
    const char* detail;
  } rows[] = {
      {"no LibreOffice for a word-processor document", "letter.docx", kTextLibreOfficeNeeded, ""},
      {"no LibreOffice for a spreadsheet", "table.xlsx", kTextLibreOfficeNeeded, ""},
      {"a missing document", "gone.docx", kTextOfficeDocumentUnreadable, "gone.docx"},
      {"a missing rich-text document", "gone.rtf", kTextOfficeDocumentUnreadable, "gone.rtf"},
      {"a folder", "folder.docx", kTextOfficeDocumentUnreadable, "folder.docx"},
      {"rich text that is not", "broken.rtf", kTextRichTextUnreadable, ""},
      {"another type", "notes.pdf", kTextOfficeDocumentType, "notes.pdf"},
  };
  ItemRenderSettings settings = Settings();
  settings.folder = m_folder / "media";
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const auto pages = RenderItemPages(DocumentItem(row.media), QSize(32, 16), settings);
    ASSERT_FALSE(pages);
    EXPECT_EQ(pages.status().text(), row.text);
    EXPECT_NE(pages.status().detail().find(row.detail), std::string::npos) << pages.status().detail();
  }
  EXPECT_NE(StatusMessage(Status::Failure(kTextLibreOfficeNeeded)).find("LibreOffice is needed to show office documents"),
            std::string::npos);
  EXPECT_EQ(NamesIn(m_folder / "media"),
            (std::set<std::string>{"broken.rtf", "folder.docx", "letter.docx", "notes.pdf", "table.xlsx"}));
}

TEST_F(FakeOfficeTest, ACopyThatCannotBeWrittenSaysWhere) {
  ConvertingScript();
  const Status converted = DocumentToRtf(Document("a.doc", "x"), m_folder / "no such folder" / "a.rtf");
  ASSERT_FALSE(converted);
  EXPECT_EQ(converted.text(), kTextOfficeCopyNotWritten);
  EXPECT_NE(converted.detail().find("no such folder"), std::string::npos) << converted.detail();
}

// A document looks as on paper; NEGATIVE inverts it. The item's font and background colours,
// which the playbill file does not keep for documents, are not used.
TEST(OfficeDocumentPages, PaperOrNegative) {
  test::GuiApplication();
  const test::TempFolder folder;
  const fs::path document =
      folder.Write("note.rtf", "{\\rtf1{\\colortbl;\\red0\\green255\\blue0;}Hi \\cf1 Go}");
  const struct {
    const char* name;
    bool negative;
    LedColour background;
    std::set<LedColour> colours;
  } rows[] = {
      {"paper: black and green on white", false, kWhite, {0, 0x00FF00, kWhite}},
      {"negative: white and magenta on black", true, 0, {0, 0xFF00FF, kWhite}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    tagItemPart item = DocumentItem(document, row.negative);
    item.fntColor = 0x0000FF;
    item.bgColor = 0xFF0000;
    const auto pages = RenderItemPages(item, QSize(64, 20), Settings());
    ASSERT_TRUE(pages) << pages.status().detail();
    ASSERT_EQ(pages->size(), 1u);
    EXPECT_EQ(test::ColoursOf(pages->front()), row.colours);
    EXPECT_EQ(pages->front().Pixel(63, 19), row.background);
  }
}

// Spreadsheet pages load nothing they refer to.
TEST(SpreadsheetHtml, NothingOutsideThePageIsLoaded) {
  test::GuiApplication();
  const test::TempFolder folder;
  folder.Write("style.css", "td { color: #00ff00 }");
  const std::string html = "<html><head><meta charset=\"windows-1252\"><link rel=\"stylesheet\" href=\"" +
                           (folder / "style.css").string() + "\"></head><body><table><tr><td>Caf\xe9</td>"
                           "<td><img src=\"file://" + (folder / "style.css").string() + "\" width=\"8\" height=\"8\">"
                           "<img src=\"http://127.0.0.1:9/x.png\"></td></tr></table></body></html>";
  const auto document = SpreadsheetHtmlDocument(html);
  EXPECT_TRUE(document->toPlainText().contains(QString::fromUtf8("Caf\u00e9"))) << "charset from the page";
  const QImage blank = document->resource(QTextDocument::ImageResource, QUrl("file:///etc/hostname")).value<QImage>();
  EXPECT_EQ(blank.size(), QSize(1, 1));
  EXPECT_EQ(qAlpha(blank.pixel(0, 0)), 0) << "images are transparent";
  EXPECT_TRUE(document->resource(QTextDocument::StyleSheetResource, QUrl::fromLocalFile(
                                     QString::fromStdString((folder / "style.css").string())))
                  .toString()
                  .isEmpty());
  EXPECT_EQ(SpreadsheetHtmlDocument("<p>\xe4\xb8\xad</p>")->toPlainText(), QString::fromUtf8("\u4e2d")) << "UTF-8";
}

// Documents that LibreOffice writes, made once for the suite: a rich-text source turned into
// ".doc", ".docx" and ".odt", and a CSV table into ".xlsx" and ".ods".
class LibreOfficeTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    if (FindProgram("soffice").empty()) return;
    s_folder = new test::TempFolder();
    s_folder->Write("source/notice.rtf", kSource);
    s_folder->Write("source/table.csv", "Name,Count\nApples,12\nPears,7\n");
    for (const char* format : {"doc", "docx", "odt", "xlsx", "ods"}) {
      const bool table = std::string_view(format) == "xlsx" || std::string_view(format) == "ods";
      const Expected<ProgramResult> made = RunProgram(
          FindProgram("soffice"),
          {{"-env:UserInstallation=file://" + (*s_folder / "profile").string(), "--headless", "--convert-to", format,
            "--outdir", (*s_folder / "made").string(), (*s_folder / "source" / (table ? "table.csv" : "notice.rtf")).string()},
           {}, {}, std::chrono::seconds(120), nullptr, {}});
      if (!made || !made->Succeeded()) ADD_FAILURE() << "not made: " << format;
    }
  }
  static void TearDownTestSuite() {
    delete s_folder;
    s_folder = nullptr;
  }
  void SetUp() override {
    if (s_folder == nullptr) GTEST_SKIP() << "soffice (LibreOffice) is not installed: office documents are not converted";
    test::GuiApplication();
  }
  // A fresh copy of a made document in this test's folder (its own copies are made there).
  fs::path Made(const std::string& name, const std::string& as = {}) const {
    const fs::path copy = m_folder / (as.empty() ? name : as);
    fs::copy_file(*s_folder / "made" / name, copy);
    return copy;
  }

  static constexpr const char* kSource =
      "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss DejaVu Sans;}}\\f0\\fs24 HELLO\\par LED\\par SIGN\\par}";
  static inline test::TempFolder* s_folder = nullptr;
  test::TempFolder m_folder;
};

TEST_F(LibreOfficeTest, DocumentsShowTheirText) {
  // The same text read from the rich-text source: 16-pixel lines, two to a 40-pixel page.
  const auto source = RenderItemPages(DocumentItem(*s_folder / "source" / "notice.rtf"), QSize(64, 40), Settings());
  ASSERT_TRUE(source) << source.status().detail();
  ASSERT_EQ(source->size(), 2u);
  const QRect sourceInk = test::InkRect(source->front(), 0);
  const struct {
    const char* document;
    const char* text;
    std::size_t pages;
  } rows[] = {
      {"notice.doc", "HELLO\nLED\nSIGN", 2},
      {"notice.docx", "HELLO\nLED\nSIGN", 2},
      {"notice.odt", "HELLO\nLED\nSIGN", 2},
      {"table.xlsx", "Name\nCount\nApples\n12\nPears\n7", 0},  // a table's cells, one a line
      {"table.ods", "Name\nCount\nApples\n12\nPears\n7", 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.document);
    const fs::path document = Made(row.document);
    EXPECT_EQ(PlainText(OfficeDocumentText(document)), row.text);
    const auto pages = RenderItemPages(DocumentItem(document), QSize(64, 40), Settings());
    ASSERT_TRUE(pages) << pages.status().detail();
    ASSERT_FALSE(pages->empty());
    EXPECT_EQ(test::ColoursOf(pages->front()), (std::set<LedColour>{0, kWhite}));
    if (row.pages == 0) {
      // Rows of 17 pixels: the first page holds more than the first row.
      EXPECT_GT(test::InkRect(pages->front(), 0).height(), 17);
    } else {
      EXPECT_EQ(pages->size(), row.pages);
      const QRect ink = test::InkRect(pages->front(), 0);
      EXPECT_NEAR(ink.top(), sourceInk.top(), 1);
      EXPECT_NEAR(ink.bottom(), sourceInk.bottom(), 1);
      EXPECT_NEAR(ink.left(), sourceInk.left(), 1);
    }
  }
}

TEST_F(LibreOfficeTest, ACorruptDocumentFailsWithLibreOfficesReason) {
  const fs::path broken = m_folder.Write("broken.docx", std::string("PK\x03\x04garbage", 11));
  const auto pages = RenderItemPages(DocumentItem(broken), QSize(32, 16), Settings());
  ASSERT_FALSE(pages);
  EXPECT_EQ(pages.status().text(), kTextOfficeConversionFailed);
  EXPECT_NE(pages.status().detail().find("could not be loaded"), std::string::npos) << pages.status().detail();
  EXPECT_EQ(NamesIn(m_folder.Path()), std::set<std::string>{"broken.docx"});
}

TEST_F(LibreOfficeTest, TwoThreadsShowTheSameNewDocument) {
  const fs::path document = Made("notice.docx", "parallel.docx");
  Expected<std::vector<CLedBitmap>> first = Status::Failure(kNoTextId);
  Expected<std::vector<CLedBitmap>> second = Status::Failure(kNoTextId);
  std::thread one([&] { first = RenderItemPages(DocumentItem(document), QSize(64, 40), Settings()); });
  std::thread two([&] { second = RenderItemPages(DocumentItem(document), QSize(64, 40), Settings()); });
  one.join();
  two.join();
  ASSERT_TRUE(first) << first.status().detail();
  ASSERT_TRUE(second) << second.status().detail();
  EXPECT_EQ(first->size(), 2u);
  ASSERT_EQ(first->size(), second->size());
  for (std::size_t page = 0; page < first->size(); ++page) EXPECT_TRUE(SamePixels((*first)[page], (*second)[page])) << page;
  const fs::path copy = OfficeCopyName(document, *DocumentStampOf(document), ".rtf");
  EXPECT_EQ(NamesIn(m_folder.Path()), (std::set<std::string>{"parallel.docx", copy.filename().string()}))
      << "one whole copy and no temporary files";
}

}  // namespace
}  // namespace vantorel
