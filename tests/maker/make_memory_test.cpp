// A large playbill is made with little memory: each item's block goes to disk as it is made, so
// 2,000 picture pages that would take about 150 MB together never lie in memory at once. Its own
// test program, so that nothing else adds to the peak it reads.

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <QImage>

#include "maker/data_maker.h"
#include "support/record_builders.h"
#include "support/screen_builder.h"
#include "support/temp_folder.h"

namespace vantorel {
namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

long PeakResidentMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;  // kilobytes on Linux
}

TEST(MakeMemory, TwoThousandPicturePagesStayUnder200MegabytesPeak) {
  if (kSanitized) GTEST_SKIP() << "the sanitizers' own memory would be measured";
  test::TempFolder temp;
  std::filesystem::create_directories(temp / "work");
  const std::filesystem::path picture = temp / "work" / "p.png";
  QImage image(192, 128, QImage::Format_RGB32);
  image.fill(qRgb(200, 100, 50));
  ASSERT_TRUE(image.save(QString::fromStdString(picture.string())));

  PrgList records;
  for (int program = 0; program < 20; ++program) {
    records.push_back(test::P());
    records.push_back(test::W(0, 0, 192, 128));
    for (int item = 0; item < 100; ++item) records.push_back(test::I(kKindPicture, picture.string()));
  }
  const tagScreenInfo screen = test::ScreenBuilder().Type(6).Id(1).Colour(0x77).Width(192).Height(128).Model(0x4B05).Build();
  CDataMaker maker(temp / "work", temp / "data");
  maker.Reset();
  maker.SetScreen(screen, tagCommInfo{});
  maker.SetModel(screen.model);
  const MakeResult result = maker.Make(records);
  ASSERT_TRUE(result.made) << result.failure.detail();
  EXPECT_EQ(result.items, 2000);
  EXPECT_GT(result.bytes, 140'000'000u);  // 2,000 pages of three 192 x 128 grey planes
  EXPECT_LT(PeakResidentMegabytes(), 200);
}

}  // namespace
}  // namespace vantorel
