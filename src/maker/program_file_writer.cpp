#include "maker/program_file_writer.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <string>
#include <utility>

#include "app/text_ids.h"
#include "maker/program_checksum.h"
#include "platform/byte_writer.h"
#include "platform/unique_file.h"

namespace vantorel {
namespace {

constexpr std::size_t kMaxBlocks = 0xFFFF;  // indexes 0..0xFFFE; 0xFFFF says "no block"
constexpr std::size_t kMaxWindowItems = 0xFFFF;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// A file of our own that is removed when its owner goes.
class OwnedFile {
public:
  OwnedFile() = default;
  explicit OwnedFile(std::filesystem::path path) : m_path(std::move(path)) {}
  OwnedFile(OwnedFile&& other) noexcept : m_path(std::exchange(other.m_path, {})), m_stream(std::move(other.m_stream)) {}
  OwnedFile& operator=(OwnedFile&& other) noexcept {
    if (this != &other) {
      Remove();
      m_path = std::exchange(other.m_path, {});
      m_stream = std::move(other.m_stream);
    }
    return *this;
  }
  OwnedFile(const OwnedFile&) = delete;
  OwnedFile& operator=(const OwnedFile&) = delete;
  ~OwnedFile() { Remove(); }

  const std::filesystem::path& Path() const { return m_path; }
  std::FILE* Stream() const { return m_stream.get(); }
  bool Open(const char* mode) {
    m_stream.reset(std::fopen(m_path.c_str(), mode));
    return m_stream != nullptr;
  }
  // Closes the stream; false (errno set) when buffered bytes could not be written.
  bool Close() {
    std::FILE* stream = m_stream.release();
    return stream == nullptr || std::fclose(stream) == 0;
  }
  // The file is no longer ours to remove (it was renamed into place).
  void Release() { m_path.clear(); }
  void Remove() {
    m_stream.reset();
    if (m_path.empty()) return;
    std::error_code ignored;
    std::filesystem::remove(m_path, ignored);
    m_path.clear();
  }

private:
  std::filesystem::path m_path;
  FilePtr m_stream;
};

struct BlockEntry {
  std::uint8_t type = 0;
  std::uint32_t length = 0;
  std::uint32_t offset = 0;  // from the start of the data area
};

struct WindowEntry {
  ProgramWindow window;
  std::uint16_t itemCount = 0;
  std::uint32_t firstItem = 0;  // index of its first item record
};

Status WriteError(const std::filesystem::path& file) {
  return Status::SystemError(errno != 0 ? errno : EIO, file, kTextProgramFileNotWritten);
}

bool WriteAll(std::FILE* out, std::span<const std::uint8_t> bytes) {
  return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
}

}  // namespace

struct CProgramFileWriter::State {
  std::filesystem::path file;
  ProgramFileHeader header;
  std::vector<WindowEntry> windows;
  std::vector<ItemRecordBytes> items;
  std::vector<BlockEntry> blocks;
  std::uint16_t backgroundIndex = kNoBlock;
  std::uint32_t countField = 0;  // 2 with a background, plus 1 per item block
  bool hasItemBlock = false;
  bool finished = false;
  OwnedFile spill;
  std::uint64_t dataBytes = 0;
};

CProgramFileWriter::CProgramFileWriter(std::unique_ptr<State> state) : m_state(std::move(state)) {}
CProgramFileWriter::CProgramFileWriter(CProgramFileWriter&&) noexcept = default;
CProgramFileWriter& CProgramFileWriter::operator=(CProgramFileWriter&&) noexcept = default;
CProgramFileWriter::~CProgramFileWriter() = default;

Expected<CProgramFileWriter> CProgramFileWriter::Begin(const std::filesystem::path& file, const ProgramFileHeader& header) {
  const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
  std::error_code error;
  if (file.filename().empty() || !std::filesystem::is_directory(folder, error)) {
    return Status::SystemError(ENOENT, folder, kTextProgramFileNotWritten);
  }
  auto state = std::make_unique<State>();
  state->file = file;
  state->header = header;
  return CProgramFileWriter(std::move(state));
}

int CProgramFileWriter::WindowCount() const { return m_state ? static_cast<int>(m_state->windows.size()) : 0; }
int CProgramFileWriter::ItemCount() const { return m_state ? static_cast<int>(m_state->items.size()) : 0; }
int CProgramFileWriter::BlockCount() const { return m_state ? static_cast<int>(m_state->blocks.size()) : 0; }

Status CProgramFileWriter::AddBlock(std::uint8_t type, std::span<const std::uint8_t> first,
                                    std::span<const std::uint8_t> second) {
  State& s = *m_state;
  const std::uint64_t length = static_cast<std::uint64_t>(first.size()) + second.size();
  if (length > kMaxBlockLength) {
    return Status::Failure(kTextProgramTooLarge, "a block of " + std::to_string(length) + " bytes, at most " +
                                                     std::to_string(kMaxBlockLength));
  }
  if (s.blocks.size() >= kMaxBlocks) {
    return Status::Failure(kTextProgramTooLarge, "more than " + std::to_string(kMaxBlocks) + " blocks");
  }
  if (s.dataBytes + length > 0xFFFFFFFFu) {
    return Status::Failure(kTextProgramTooLarge, "more than 4 GB of blocks");
  }
  if (!s.spill.Stream()) {
    const Expected<std::filesystem::path> spill =
        CreateUniqueFile(s.file.parent_path().empty() ? "." : s.file.parent_path(), s.file.filename().string() + ".", ".spill");
    if (!spill) return spill.status().WithText(kTextProgramFileNotWritten);
    s.spill = OwnedFile(*spill);
    if (!s.spill.Open("w+b")) {
      const Status failed = WriteError(*spill);
      s.spill.Remove();
      return failed;
    }
  }
  const long before = std::ftell(s.spill.Stream());
  if (!WriteAll(s.spill.Stream(), first) || !WriteAll(s.spill.Stream(), second)) {
    const Status failed = WriteError(s.spill.Path());
    // What was written of this block is cut off again, so that the blocks already added stay as they are.
    std::fseek(s.spill.Stream(), before, SEEK_SET);
    return failed;
  }
  s.blocks.push_back({type, static_cast<std::uint32_t>(length), static_cast<std::uint32_t>(s.dataBytes)});
  s.dataBytes += length;
  return Status::Ok();
}

Status CProgramFileWriter::AddNameBlock(std::span<const std::uint8_t> nameBytesWithoutTerminator) {
  if (!m_state || m_state->finished) return Status::Failure(kTextProgramBlockOrder, "the file is finished");
  if (!m_state->blocks.empty()) return Status::Failure(kTextProgramBlockOrder, "the name must be the first block");
  static constexpr std::array<std::uint8_t, 1> kTerminator{0};
  return AddBlock(kCodeProgramName, nameBytesWithoutTerminator, kTerminator);
}

Status CProgramFileWriter::AddBackgroundBlock(std::span<const std::uint8_t> picturePages) {
  if (!m_state || m_state->finished) return Status::Failure(kTextProgramBlockOrder, "the file is finished");
  State& s = *m_state;
  if (s.backgroundIndex != kNoBlock) return Status::Failure(kTextProgramBlockOrder, "a second background");
  if (s.hasItemBlock) return Status::Failure(kTextProgramBlockOrder, "the background must come before the item blocks");
  const auto index = static_cast<std::uint16_t>(s.blocks.size());
  if (Status added = AddBlock(kCodePicturePages, picturePages, {}); !added) return added;
  s.backgroundIndex = index;
  s.countField = 2;
  return Status::Ok();
}

Status CProgramFileWriter::AddWindow(const ProgramWindow& window) {
  if (!m_state || m_state->finished) return Status::Failure(kTextProgramBlockOrder, "the file is finished");
  State& s = *m_state;
  if (s.windows.size() >= static_cast<std::size_t>(kMaxProgramWindows)) {
    return Status::Failure(kTextProgramTooLarge, "more than " + std::to_string(kMaxProgramWindows) + " windows");
  }
  s.windows.push_back({window, 0, static_cast<std::uint32_t>(s.items.size())});
  return Status::Ok();
}

Status CProgramFileWriter::AddItem(const ItemRecordBytes& record) {
  if (!m_state || m_state->finished) return Status::Failure(kTextProgramBlockOrder, "the file is finished");
  State& s = *m_state;
  if (s.windows.empty()) return Status::Failure(kTextProgramBlockOrder, "an item before any window");
  if (s.windows.back().itemCount >= kMaxWindowItems) {
    return Status::Failure(kTextProgramTooLarge, "more than " + std::to_string(kMaxWindowItems) + " items in a window");
  }
  ItemRecordBytes stored = record;
  StoreU16Le(std::span(stored).subspan(2, 2), kNoBlock);
  stored[15] = s.windows.back().window.border;
  s.items.push_back(stored);
  ++s.windows.back().itemCount;
  return Status::Ok();
}

Status CProgramFileWriter::AddItem(const ItemRecordBytes& record, std::span<const std::uint8_t> blockData) {
  if (!m_state || m_state->finished) return Status::Failure(kTextProgramBlockOrder, "the file is finished");
  State& s = *m_state;
  if (s.windows.empty()) return Status::Failure(kTextProgramBlockOrder, "an item before any window");
  if (s.windows.back().itemCount >= kMaxWindowItems) {
    return Status::Failure(kTextProgramTooLarge, "more than " + std::to_string(kMaxWindowItems) + " items in a window");
  }
  if (s.countField >= 0xFFFF) return Status::Failure(kTextProgramTooLarge, "the block count field passes 65535");
  const auto index = static_cast<std::uint16_t>(s.blocks.size());
  if (Status added = AddBlock(record[0], blockData, {}); !added) return added;
  if (Status added = AddItem(record); !added) return added;  // cannot fail after the checks above
  StoreU16Le(std::span(s.items.back()).subspan(2, 2), index);
  ++s.countField;
  s.hasItemBlock = true;
  return Status::Ok();
}

Expected<WrittenProgramFile> CProgramFileWriter::Finish() {
  if (!m_state || m_state->finished) return Status::Failure(kTextProgramBlockOrder, "the file is finished");
  State& s = *m_state;
  s.finished = true;

  const auto windowCount = static_cast<std::uint32_t>(s.windows.size());
  const auto itemCount = static_cast<std::uint32_t>(s.items.size());
  const auto blockCount = static_cast<std::uint32_t>(s.blocks.size());
  const std::uint32_t windowTable = kProgramHeaderBytes;
  const std::uint32_t itemTable = windowTable + static_cast<std::uint32_t>(kWindowRecordBytes) * windowCount;
  const std::uint32_t blockTable = itemTable + static_cast<std::uint32_t>(kItemRecordBytes) * itemCount;
  const std::uint32_t dataArea = blockTable + static_cast<std::uint32_t>(kBlockEntryBytes) * blockCount;

  ByteWriter head;
  for (const std::uint8_t byte : std::array<std::uint8_t, 4>{'L', 'P', 0x00, 0x01}) head.U8(byte);
  head.U16Le(static_cast<std::uint16_t>(windowCount));
  head.U16Le(static_cast<std::uint16_t>(s.countField));
  head.U16Le(s.backgroundIndex);
  head.U16Le(0);
  head.U16Le(s.header.loopCount);
  head.U16Le(s.header.playTime);
  head.U32Le(windowTable);
  head.U32Le(itemTable);
  head.U32Le(blockTable);
  head.U32Le(dataArea);
  head.U32Le(0);
  head.U32Le(0);
  head.U16Le(s.header.screenWidth);
  head.U16Le(s.header.screenHeight);
  head.U8(s.header.colourMode);
  head.U8(0);
  head.U16Le(0);  // the checksum, patched once the file is written
  for (std::size_t i = 0; i < s.windows.size(); ++i) {
    const WindowEntry& entry = s.windows[i];
    head.U8(static_cast<std::uint8_t>(i));
    head.U8(entry.window.waitType);
    head.U16Le(static_cast<std::uint16_t>(entry.window.left));
    head.U16Le(static_cast<std::uint16_t>(entry.window.top));
    head.U16Le(entry.window.width);
    head.U16Le(entry.window.height);
    head.U16Le(entry.itemCount);
    head.U32Le(static_cast<std::uint32_t>(kItemRecordBytes) * entry.firstItem);
  }
  for (const ItemRecordBytes& record : s.items) head.Bytes(record);
  for (const BlockEntry& block : s.blocks) {
    head.U32Le(static_cast<std::uint32_t>(block.type) << 24 | block.length);
    head.U32Le(block.offset);
  }

  const std::filesystem::path folder = s.file.parent_path().empty() ? "." : s.file.parent_path();
  // A failure leaves nothing under the target's name: no old program is sent in place of this one.
  const auto fail = [&s](Status failure) -> Expected<WrittenProgramFile> {
    std::error_code ignored;
    if (std::filesystem::is_regular_file(std::filesystem::symlink_status(s.file, ignored))) std::filesystem::remove(s.file, ignored);
    s.spill.Remove();
    return failure;
  };
  const Expected<std::filesystem::path> partPath = CreateUniqueFile(folder, s.file.filename().string() + ".", ".part");
  if (!partPath) return fail(partPath.status().WithText(kTextProgramFileNotWritten));
  OwnedFile part(*partPath);
  if (!part.Open("wb") || !WriteAll(part.Stream(), head.View())) return fail(WriteError(part.Path()));
  if (s.spill.Stream()) {
    if (std::fflush(s.spill.Stream()) != 0 || std::fseek(s.spill.Stream(), 0, SEEK_SET) != 0) {
      return fail(WriteError(s.spill.Path()));
    }
    std::vector<std::uint8_t> piece(kChecksumPieceBytes);
    std::uint64_t left = s.dataBytes;
    while (left > 0) {
      const std::size_t want = left < piece.size() ? static_cast<std::size_t>(left) : piece.size();
      if (std::fread(piece.data(), 1, want, s.spill.Stream()) != want) return fail(WriteError(s.spill.Path()));
      if (!WriteAll(part.Stream(), std::span(piece).first(want))) return fail(WriteError(part.Path()));
      left -= want;
    }
  }
  s.spill.Remove();
  if (!part.Close()) return fail(WriteError(part.Path()));

  const Expected<std::uint16_t> checksum = ChecksumOfFile(part.Path());
  if (!checksum) return fail(checksum.status().WithText(kTextProgramFileNotWritten));
  std::array<std::uint8_t, 2> patch{};
  StoreU16Le(patch, *checksum);
  if (!part.Open("r+b") || std::fseek(part.Stream(), kChecksumOffset, SEEK_SET) != 0 || !WriteAll(part.Stream(), patch) ||
      !part.Close()) {
    return fail(WriteError(part.Path()));
  }
  std::error_code error;
  std::filesystem::rename(part.Path(), s.file, error);
  if (error) return fail(Status::SystemError(error.value(), s.file, kTextProgramFileNotWritten));
  part.Release();
  return WrittenProgramFile{dataArea + s.dataBytes, *checksum};
}

}  // namespace vantorel
