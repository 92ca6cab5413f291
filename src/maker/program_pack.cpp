#include "maker/program_pack.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <system_error>

#include "app/text_ids.h"
#include "maker/controller_file_reader.h"
#include "maker/playbill_index_file.h"
#include "platform/atomic_file.h"
#include "platform/byte_writer.h"

namespace vantorel {
namespace {

struct Pack {
  std::string name;                 // the first file's name with ".lpm"
  std::vector<std::string> files;   // in pack order
};

std::span<const std::uint8_t> AsBytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

Status PackFailure(const Status& cause) { return cause.WithText(kTextProgramFilesNotPacked); }

// Removes what a packing wrote when it cannot be finished.
class Written {
public:
  Written() = default;
  Written(const Written&) = delete;
  Written& operator=(const Written&) = delete;
  ~Written() {
    for (const std::filesystem::path& file : m_files) {
      std::error_code ignored;
      std::filesystem::remove(file, ignored);
    }
  }
  void Add(std::filesystem::path file) { m_files.push_back(std::move(file)); }
  void Keep() { m_files.clear(); }

private:
  std::vector<std::filesystem::path> m_files;
};

}  // namespace

std::uint64_t ProgramPackSize(std::uint64_t fileBytes, std::size_t count) {
  return fileBytes + 4 + 4 * (static_cast<std::uint64_t>(count) + 1) + kPackTrailerBytes;
}

std::vector<std::uint8_t> ProgramPackBytes(std::span<const std::vector<std::uint8_t>> files) {
  std::uint64_t total = 0;
  for (const auto& file : files) total += file.size();
  ByteWriter out(static_cast<std::size_t>(ProgramPackSize(total, files.size())));
  std::vector<std::uint32_t> offsets;
  for (const auto& file : files) {
    offsets.push_back(static_cast<std::uint32_t>(out.Size()));
    out.Bytes(file);
  }
  const auto index = static_cast<std::uint32_t>(out.Size());
  out.Text("idx4");
  for (const std::uint32_t offset : offsets) out.U32Le(offset);
  out.U32Le(index);
  out.Text("lpm!");
  out.U32Le(index);
  out.U16Le(static_cast<std::uint16_t>(files.size()));
  out.Fill(6);
  return std::move(out).Take();
}

Expected<PackSummary> PackProgramFiles(const std::filesystem::path& indexFile) {
  std::string indexText;
  if (Status read = ReadWholeFile(indexFile, indexText); !read) return PackFailure(read);
  const std::span<const std::uint8_t> indexBytes = AsBytes(indexText);
  const Expected<PlaybillIndexContents> index = ReadPlaybillIndex(indexBytes);
  if (!index) return PackFailure(index.status().WithContext(indexFile.string()));
  if (Status sound = FirstProblem(index->problems); !sound) return PackFailure(sound.WithContext(indexFile.string()));
  if (index->entries.size() < 2) return PackSummary{};

  const std::filesystem::path folder = indexFile.parent_path();
  std::vector<std::string> names;  // distinct, in index order
  for (const PlaybillIndexEntry& entry : index->entries) {
    if (entry.fileName.size() != kIndexFileNameChars) {
      return Status::Failure(kTextProgramFilesNotPacked, "the index names \"" + entry.fileName + "\", not a 12-character file name");
    }
    if (std::filesystem::path(entry.fileName).extension() == ".lpm") {
      return Status::Failure(kTextProgramFilesNotPacked, indexFile.string() + " is packed already (" + entry.fileName + ")");
    }
    if (std::find(names.begin(), names.end(), entry.fileName) == names.end()) names.push_back(entry.fileName);
  }
  std::vector<std::uint64_t> sizes;
  for (const std::string& name : names) {
    std::error_code error;
    const std::uint64_t size = std::filesystem::file_size(folder / name, error);
    if (error) return Status::SystemError(error.value(), folder / name, kTextProgramFilesNotPacked);
    sizes.push_back(size);
  }

  // From the first file not yet handled, as many whole files as fit; a pack of fewer than 2 is not made.
  std::vector<Pack> packs;
  for (std::size_t first = 0; first < names.size();) {
    std::size_t taken = 0;
    std::uint64_t bytes = 0;
    while (first + taken < names.size() && taken < static_cast<std::size_t>(kPackMaxFiles) &&
           ProgramPackSize(bytes + sizes[first + taken], taken + 1) <= kPackLimitBytes) {
      bytes += sizes[first + taken];
      ++taken;
    }
    if (taken >= 2) {
      Pack pack{std::filesystem::path(names[first]).replace_extension(".lpm").string(), {}};
      pack.files.assign(names.begin() + static_cast<std::ptrdiff_t>(first), names.begin() + static_cast<std::ptrdiff_t>(first + taken));
      packs.push_back(std::move(pack));
    }
    first += std::max<std::size_t>(taken, 1);
  }
  if (packs.empty()) return PackSummary{};

  Written written;
  PackSummary summary;
  for (const Pack& pack : packs) {
    std::vector<std::vector<std::uint8_t>> files;
    for (const std::string& name : pack.files) {
      std::string content;
      if (Status read = ReadWholeFile(folder / name, content); !read) return PackFailure(read);
      files.emplace_back(content.begin(), content.end());
    }
    const std::filesystem::path packFile = folder / pack.name;
    if (Status saved = WriteFileAtomically(packFile, ProgramPackBytes(files)); !saved) return PackFailure(saved);
    written.Add(packFile);
    ++summary.packs;
    summary.packedFiles += static_cast<int>(pack.files.size());
  }

  // The new index: the old header, then per old entry the pack and the position inside it, or
  // the file's own name and 0.
  std::vector<PlaybillIndexEntry> entries;
  for (const PlaybillIndexEntry& entry : index->entries) {
    PlaybillIndexEntry packed{entry.fileName, 0};
    for (const Pack& pack : packs) {
      const auto at = std::find(pack.files.begin(), pack.files.end(), entry.fileName);
      if (at != pack.files.end()) packed = {pack.name, static_cast<std::uint8_t>(at - pack.files.begin())};
    }
    entries.push_back(std::move(packed));
  }
  std::vector<std::uint8_t> newIndex = PlaybillIndexBytes(index->header, entries);
  std::copy(indexBytes.begin(), indexBytes.begin() + kPlaybillIndexHeaderBytes, newIndex.begin());
  const std::filesystem::path temporary = std::filesystem::path(indexFile).replace_extension(".lp~");
  if (Status saved = WriteFileAtomically(temporary, newIndex); !saved) return PackFailure(saved);
  written.Add(temporary);

  std::error_code error;
  std::filesystem::rename(temporary, indexFile, error);
  if (error) return Status::SystemError(error.value(), indexFile, kTextProgramFilesNotPacked);
  written.Keep();
  // The index names the packs now; a packed file that cannot be deleted is only left over.
  for (const Pack& pack : packs) {
    for (const std::string& name : pack.files) std::filesystem::remove(folder / name, error);
  }
  return summary;
}

}  // namespace vantorel
