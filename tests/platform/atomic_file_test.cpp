#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "support/temp_folder.h"

namespace vantorel {
namespace {

class AtomicFileTest : public ::testing::Test {
protected:
  test::TempFolder m_folder;
  const std::filesystem::path& m_dir = m_folder.Path();
};

TEST_F(AtomicFileTest, ReplacesContentAndLeavesNoTemporaryFile) {
  const auto file = m_dir / "screen.cfg";
  ASSERT_TRUE(WriteFileAtomically(file, std::string_view("first")));
  ASSERT_TRUE(WriteFileAtomically(file, std::string_view("second")));
  std::string content;
  ASSERT_TRUE(ReadWholeFile(file, content));
  EXPECT_EQ(content, "second");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir), {}), 1);
}

TEST_F(AtomicFileTest, DiskFullKeepsThePreviousFile) {
  const auto file = m_dir / "screen.cfg";
  ASSERT_TRUE(WriteFileAtomically(file, std::string_view("good")));
  // A file-size limit makes the write fail as a full disk would, even for root.
  struct rlimit saved {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit tiny = saved;
  tiny.rlim_cur = 8;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
  const Status written = WriteFileAtomically(file, std::string_view("a much longer replacement"));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);
  EXPECT_FALSE(written.ok());
  // The failure names the system's reason and the file.
  EXPECT_NE(written.detail().find("File too large"), std::string::npos) << written.detail();
  EXPECT_NE(written.detail().find(file.string()), std::string::npos) << written.detail();
  std::string content;
  ASSERT_TRUE(ReadWholeFile(file, content));
  EXPECT_EQ(content, "good");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir), {}), 1);  // no temporary left
}

TEST_F(AtomicFileTest, MissingFolderFails) {
  EXPECT_FALSE(WriteFileAtomically(m_dir / "no" / "such" / "file", std::string_view("x")));
  EXPECT_FALSE(WriteFileAtomically({}, std::string_view("x")));
  std::string content;
  EXPECT_FALSE(ReadWholeFile(m_dir / "missing", content));
  EXPECT_FALSE(ReadWholeFile(m_dir, content));  // a folder in place of a file
}

}  // namespace
}  // namespace vantorel
