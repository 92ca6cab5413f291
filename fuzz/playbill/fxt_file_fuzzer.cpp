// Arbitrary ".fxt" files: the first byte picks the item's buffer size, the rest is the file. What
// loads never exceeds the buffer, holds count, cell size byte and terminating cell, and saves and
// loads again as the same block.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "playbill/fxt_file.h"

namespace {

const std::filesystem::path& Folder() {
  static const std::filesystem::path folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "vantorel-fxt-fuzz-XXXXXX").string();
    const char* made = ::mkdtemp(pattern.data());
    if (made == nullptr) std::abort();
    static const std::string removeAtExit = made;
    std::atexit([] { std::filesystem::remove_all(removeAtExit); });
    return std::filesystem::path(made);
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantorel;
  if (size < 1) return 0;
  static constexpr std::size_t kBuffers[] = {0, 5, 6, 9, 10, 15, 64, RichTextBlock::kNewBlockBytes,
                                             RichTextBlock::kMaxBytes, 1'000'000};
  const std::size_t bufferSize = kBuffers[data[0] % std::size(kBuffers)];
  const std::filesystem::path file = Folder() / "in.fxt";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
  }
  const Expected<RichTextBlock> block = ReadFxtFile(file, bufferSize);
  if (!block) return 0;
  if (block->HeldSize() > std::min(bufferSize, RichTextBlock::kMaxBytes)) std::abort();
  const std::size_t cellBytes = block->Bytes()[2];
  if (block->DeclaredSize(6).value() + cellBytes != block->HeldSize()) std::abort();

  const std::filesystem::path saved = Folder() / "out.fxt";
  if (!WriteFxtFile(saved, *block)) return 0;  // no text, or cells that a code 0 ends early
  const Expected<RichTextBlock> again = ReadFxtFile(saved, RichTextBlock::kMaxBytes);
  if (!again || again->Bytes()[2] != cellBytes) std::abort();
  (void)ReadEditorTextFile(file);
  return 0;
}
