// Make and Parse of the file operations: basic write, fast write, confirmed write, directory
// listing and reading a file back.

#include "comm/kvlink.h"
#include "comm/kvlink_request.h"
#include "platform/byte_reader.h"
#include "platform/byte_writer.h"

namespace vantorel {
namespace {

using Bytes = std::span<const std::uint8_t>;
using Out = std::span<std::uint8_t>;

bool ValidName(std::string_view name) { return !name.empty() && name.size() <= kMaxFileName; }

// Open and start-fast-write requests: size, info block length and block, name.
int MakeOpen(KvlinkContext& ctx, Out out, Op op, std::string_view name, std::uint32_t size, Bytes info) {
  if (!ValidName(name) || info.size() > kMaxFileInfo) return 0;
  ByteWriter data;
  data.U32Le(size);
  data.U8(static_cast<std::uint8_t>(info.size()));
  data.Bytes(info);
  data.Text(name);
  return MakeRequest(ctx, out, op, data.View());
}

// One status byte that must be one of `allowed`.
int ReadStatusByte(KvlinkContext& ctx, Bytes answer, Op op, std::initializer_list<std::uint8_t> allowed) {
  std::vector<std::uint8_t> data;
  const int result = ReadAnswer(ctx, answer, op, data);
  if (result < 0) return result;
  for (const std::uint8_t value : allowed) {
    if (data.front() == value) return value;
  }
  return kKvlinkBadValue;
}

}  // namespace

int KVLINK_MakeOpenFileData(KvlinkContext& ctx, Out out, std::string_view name, std::uint32_t size, Bytes info) {
  return MakeOpen(ctx, out, Op::kOpenFile, name, size, info);
}
int KVLINK_ParseOpenFileRet(KvlinkContext& ctx, Bytes answer) { return ReadStatusByte(ctx, answer, Op::kOpenFile, {1, 2}); }

int KVLINK_MakeWriteBlockData(KvlinkContext& ctx, Out out, Bytes data, std::uint32_t cookie) {
  if (data.empty() || data.size() > kMaxFileChunk) return 0;
  ByteWriter request(4 + data.size());
  request.U32Le(cookie);
  request.Bytes(data);
  return MakeRequest(ctx, out, Op::kWriteBlock, request.View());
}
int KVLINK_ParseWriteBlockRet(KvlinkContext& ctx, Bytes answer, std::uint32_t& cookie) {
  std::vector<std::uint8_t> data;
  const int result = ReadAnswer(ctx, answer, Op::kWriteBlock, data);
  if (result < 0) return result;
  cookie = ReadU32Le(data);
  return 1;
}

int KVLINK_MakeCloseFileNoData(KvlinkContext& ctx, Out out, std::uint32_t cookie) {
  ByteWriter request;
  request.U32Le(cookie);
  return MakeRequest(ctx, out, Op::kCloseFile, request.View());
}
int KVLINK_ParseCloseFileNoRet(KvlinkContext& ctx, Bytes answer) { return ReadStatusByte(ctx, answer, Op::kCloseFile, {1}); }

int KVLINK_MakeStartFastWriteData(KvlinkContext& ctx, Out out, std::string_view name, std::uint32_t size, Bytes info) {
  return MakeOpen(ctx, out, Op::kStartFastWrite, name, size, info);
}
int KVLINK_ParseStartFastWriteRet(KvlinkContext& ctx, Bytes answer) {
  return ReadStatusByte(ctx, answer, Op::kStartFastWrite, {1, 2, 17});
}

int KVLINK_MakeSendPacketData(KvlinkContext& ctx, Out out, Bytes data, std::uint16_t number, std::uint16_t packetSize,
                              bool wait) {
  if (data.empty() || data.size() > packetSize || data.size() > kMaxFileChunk) return 0;
  ByteWriter request(5 + data.size());
  request.U16Le(number);
  request.U16Le(packetSize);
  request.U8(wait ? 1 : 0);
  request.Bytes(data);
  return MakeRequest(ctx, out, Op::kSendPacket, request.View());
}
int KVLINK_ParseSendPacketRet(KvlinkContext& ctx, Bytes answer) { return ReadAnswerU16(ctx, answer, Op::kSendPacket); }

int KVLINK_MakeQueryMissingData(KvlinkContext& ctx, Out out, std::uint16_t packetCount) {
  ByteWriter request;
  request.U16Le(packetCount);
  return MakeRequest(ctx, out, Op::kQueryMissing, request.View());
}
int KVLINK_ParseQueryMissingRet(KvlinkContext& ctx, Bytes answer, std::span<std::uint16_t> list) {
  std::vector<std::uint8_t> data;
  const int result = ReadAnswer(ctx, answer, Op::kQueryMissing, data);
  if (result < 0) return result;
  ByteReader in(data);
  const std::uint8_t count = in.U8();
  if (count == 0 || count > kMaxMissingListed) return 0;  // 0, 255 and anything above 36: complete
  if (in.Remaining() != 2u * count) return kKvlinkDataSize;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint16_t number = in.U16Le();
    if (i < list.size()) list[i] = number;
  }
  return count;
}

int KVLINK_MakeGetDirentryData(KvlinkContext& ctx, Out out, std::uint8_t selector) {
  const std::uint8_t data[] = {selector};
  return MakeRequest(ctx, out, Op::kGetDirentry, data);
}
int KVLINK_ParseGetDirentryRet(KvlinkContext& ctx, Bytes answer, int index, Out entry) {
  std::vector<std::uint8_t> data;
  const int result = ReadAnswer(ctx, answer, Op::kGetDirentry, data);
  if (result < 0) return result;
  ByteReader in(data);
  const std::uint8_t count = in.U8();
  in.Skip(1);  // the answer packet's number within the listing
  if (count > kDirEntriesPerAnswer || in.Remaining() != count * kDirEntrySize) return kKvlinkDataSize;
  if (index >= 0 && index < count) {
    in.Skip(static_cast<std::size_t>(index) * kDirEntrySize);
    CopyAnswer(in.Bytes(kDirEntrySize), entry);
  }
  return count;
}

int KVLINK_MakeReadFileNoData(KvlinkContext& ctx, Out out, std::string_view name, std::uint32_t offset,
                              std::uint16_t length) {
  if (!ValidName(name) || length == 0 || length > 1024) return 0;
  ByteWriter request;
  request.U32Le(offset);
  request.U16Le(length);
  request.Text(name);
  return MakeRequest(ctx, out, Op::kReadFile, request.View());
}
int KVLINK_ParseReadFileNoRet(KvlinkContext& ctx, Bytes answer, Out out) { return ReadAnswerInto(ctx, answer, Op::kReadFile, out); }

int KVLINK_MakeWriteFileRequestData(KvlinkContext& ctx, Out out, std::string_view name, std::uint32_t size, Bytes time,
                                    Bytes digest, std::uint8_t mode) {
  if (!ValidName(name) || time.size() != 7 || digest.size() != 16) return 0;
  ByteWriter request;
  request.U32Le(size);
  request.Bytes(time);
  request.Bytes(digest);
  request.U8(mode);
  request.Text(name);
  return MakeRequest(ctx, out, Op::kWriteFileRequest, request.View());
}
int KVLINK_ParseWriteFileRequestRet(KvlinkContext& ctx, Bytes answer, Out out) {
  std::vector<std::uint8_t> data;
  const int result = ReadAnswer(ctx, answer, Op::kWriteFileRequest, data);
  if (result < 0) return result;
  // Byte 0: 1 = already there (nothing follows), 0 = the 14 bytes of the transfer follow.
  if (!((data[0] == 1 && data.size() == 1) || (data[0] == 0 && data.size() == 15))) return kKvlinkBadValue;
  return CopyAnswer(data, out);
}

int KVLINK_MakeWriteFileDataData(KvlinkContext& ctx, Out out, std::uint32_t handle, std::uint16_t group,
                                 std::uint16_t packet, Bytes data, bool answerWanted) {
  if (data.empty() || data.size() > kMaxFileChunk) return 0;
  ByteWriter request(9 + data.size());
  request.U32Le(handle);
  request.U16Le(group);
  request.U16Le(packet);
  request.U8(answerWanted ? 1 : 0);
  request.Bytes(data);
  return MakeRequest(ctx, out, Op::kWriteFileData, request.View());
}
int KVLINK_ParseWriteFileDataRet(KvlinkContext& ctx, Bytes answer, Out out) {
  return ReadAnswerInto(ctx, answer, Op::kWriteFileData, out);
}

int KVLINK_MakeWriteFileConfirmData(KvlinkContext& ctx, Out out, std::uint32_t handle, std::uint16_t group,
                                    std::uint16_t crc) {
  ByteWriter request;
  request.U32Le(handle);
  request.U16Le(group);
  request.U16Le(crc);
  return MakeRequest(ctx, out, Op::kWriteFileConfirm, request.View());
}
int KVLINK_ParseWriteFileConfirmRet(KvlinkContext& ctx, Bytes answer, Out out) {
  return ReadAnswerInto(ctx, answer, Op::kWriteFileConfirm, out);
}

}  // namespace vantorel
