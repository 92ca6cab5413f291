#pragma once
// The rich-text block an item of kind 6 ("Text mode") or 8 ("Image mode") owns. Kind 6 holds
// formatted-text cells: u16 cell count n, u8 cell size, the cells, a terminating zero cell; its
// stored size is n*6+3 bytes for cell size 6, else n*3+3. Kind 8 holds a u32 length L followed by a
// rich-text document; its stored size is L+4.
//
// A block comes from files and editors, so its header is never trusted: the block keeps the number
// of bytes it really holds, and every size or walk is limited to them.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantorel {

class RichTextBlock {
public:
  // A new item's block: this many zeroed bytes with the default content at the start.
  static constexpr std::size_t kNewBlockBytes = 16384;
  // A block read from a file or loaded into an editor keeps at most this many bytes.
  static constexpr std::size_t kMaxBytes = 16394;

  // The default "Image mode" document: four lines, each ended by CR LF, showing Welcome in red.
  static std::string DefaultImageModeText();
  // An "Image mode" document of the same form showing `text` (UTF-8; line ends start new
  // paragraphs) in `colour` (24-bit RGB, red in the low byte).
  static std::string ImageModeDocument(std::string_view text, std::uint32_t colour);

  RichTextBlock() = default;

  // A copy of the first kMaxBytes bytes of `bytes`; nothing when memory runs out.
  static std::optional<RichTextBlock> FromBytes(std::span<const std::uint8_t> bytes);
  // A new kind-8 block: u32 length L, DefaultImageModeText(), CR LF, two zero bytes; L counts the
  // document and the extra CR LF, so the stored size (L+4) covers exactly that content.
  static std::optional<RichTextBlock> NewImageModeText();
  // A kind-8 block holding exactly `document`: u32 length L, the document, CR LF, two zero bytes.
  static std::optional<RichTextBlock> ImageModeText(std::string_view document);
  // A kind-6 block holding exactly the cells of `text` (one cell of size 3 per byte, all of
  // `style`) and the terminating cell.
  static std::optional<RichTextBlock> CellTextOf(std::string_view text, std::uint8_t style);
  // A new kind-6 block: the cells of "Welcome" in red, cell size 3, at the size index of `textSize`
  // (the option "Default Text Size"; -1 = not set = 16 dots), then the terminating zero cell.
  static std::optional<RichTextBlock> NewCellText(int textSize);

  // The cells a kind-6 block of at most `bufferSize` bytes (and at most kMaxBytes) holds beside
  // its count, its cell size byte and its terminating cell.
  static std::size_t CellCapacity(std::size_t bufferSize, std::size_t cellBytes);

  // The size index (0..7) of a nominal dot height: 8, 12, 16, 24, 32, 40, 48, 56; anything else is
  // 16 dots (index 2).
  static int SizeIndexOf(int dotHeight);

  std::span<const std::uint8_t> Bytes() const { return m_bytes; }
  // The held bytes for an editor to change in place; the held size stays as it is.
  std::span<std::uint8_t> MutableBytes() { return m_bytes; }
  std::size_t HeldSize() const { return m_bytes.size(); }

  // What the block's own header claims for an item of `kind` (6 or 8); nothing for other kinds or
  // when the held bytes are too few to hold the header.
  std::optional<std::uint64_t> DeclaredSize(int kind) const;
  // The bytes that belong to the block: the declared size, never more than is held; every held
  // byte when nothing is declared.
  std::size_t StoredSize(int kind) const;
  std::span<const std::uint8_t> StoredBytes(int kind) const { return Bytes().first(StoredSize(kind)); }

  // The characters of a kind-6 block as bytes in the screen's code page (double-byte characters
  // as lead and trail byte), line ends as single blanks, control cells left out. Stops at the
  // terminating cell, the declared count or the end of the held bytes, whichever comes first.
  std::string CellText() const;

  friend bool operator==(const RichTextBlock&, const RichTextBlock&) = default;

private:
  explicit RichTextBlock(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}
  static std::optional<RichTextBlock> Zeroed(std::size_t size);
  // Writes the kind-8 content of `document` at the start of a block of at least its size.
  void PutImageModeText(std::string_view document);
  // Writes the count, cell size 3 and the cells of `text` at the start of a block large enough.
  void PutCells(std::string_view text, std::uint8_t style);

  std::vector<std::uint8_t> m_bytes;
};

}  // namespace vantorel
