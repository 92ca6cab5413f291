#include "comm/packet.h"

#include <algorithm>

#include "comm/crc16.h"
#include "comm/packet_check.h"
#include "comm/serial_frame.h"
#include "platform/byte_reader.h"
#include "platform/byte_writer.h"

namespace vantorel {
namespace {

constexpr std::size_t kLengthOffset = 4;
constexpr std::size_t kCrcSize = 2;

std::size_t CheckSize(std::uint8_t protection) { return protection == kProtectionNone ? 0 : kPacketCheckSize; }

}  // namespace

std::optional<std::uint8_t> ProtectionLevelOfMode(int mode) {
  switch (mode) {
    case kModeUnprotected: return kProtectionNone;
    case kModeKeyText: return kProtectionKeyText;
    case kModeKeyTextAndPassword: return kProtectionPassword;
    default: return std::nullopt;
  }
}

std::vector<std::uint8_t> BuildPacket(const PacketFields& fields, const PacketKeys& keys) {
  if (fields.deviceId.size() > kMaxDeviceIdLength || fields.protection > kProtectionPassword) return {};
  const std::size_t total = kPacketMinSize + fields.deviceId.size() + fields.data.size() + CheckSize(fields.protection);
  if (total > kPacketMaxSize) return {};
  ByteWriter out(total);
  out.U8(fields.answer ? kPacketAnswer : kPacketRequest);
  out.U8(fields.address);
  out.U8(fields.operation);
  out.U8(fields.protection);
  out.U16Le(static_cast<std::uint16_t>(total - kPacketHeaderSize));
  out.U8(fields.status);
  out.U8(fields.sequence);
  out.U32Le(fields.idCode);
  out.U8(static_cast<std::uint8_t>(fields.deviceId.size()));
  out.Text(fields.deviceId);
  out.Bytes(fields.data);
  if (fields.protection != kProtectionNone) {
    const std::string key = PacketCheckKey(fields.protection, keys.keyText, keys.password);
    out.Bytes(ComputePacketCheck(key, out.View()));
  }
  out.U16Le(Crc16(kCrcSeed, out.View()));
  return std::move(out).Take();
}

std::vector<std::uint8_t> WrapPacket(int kind, std::vector<std::uint8_t> packet) {
  if (packet.empty() || !IsFramedKind(kind)) return packet;
  return EncodeFrame(packet);
}

std::string_view PacketErrorName(PacketError error) {
  switch (error) {
    case PacketError::kNone: return "none";
    case PacketError::kShort: return "too short";
    case PacketError::kTooLong: return "too long";
    case PacketError::kBadFrame: return "bad frame";
    case PacketError::kBadLayout: return "bad layout";
    case PacketError::kBadCrc: return "bad CRC";
    case PacketError::kBadCheck: return "bad keyed check";
  }
  return "unknown";
}

std::optional<std::size_t> PacketTotalLength(std::span<const std::uint8_t> start) {
  if (start.size() < kLengthOffset + 2) return std::nullopt;
  return ReadU16Le(start.subspan(kLengthOffset, 2)) + kPacketHeaderSize;
}

PacketRead ReadPacket(int kind, std::span<const std::uint8_t> bytes, const PacketKeys& keys) {
  PacketRead result;
  std::vector<std::uint8_t> body;
  if (IsFramedKind(kind) && !bytes.empty() && bytes.front() == kFrameStart) {
    if (DecodeFrame(bytes, body, kPacketMaxSize) != FrameError::kNone) {
      result.error = PacketError::kBadFrame;
      return result;
    }
    bytes = body;
  }
  const std::optional<std::size_t> total = PacketTotalLength(bytes);
  if (!total || bytes.size() < kPacketMinSize || bytes.size() < *total || *total < kPacketMinSize) {
    result.error = PacketError::kShort;
    return result;
  }
  if (bytes.size() > *total) {
    result.error = PacketError::kTooLong;
    return result;
  }
  const std::span<const std::uint8_t> covered = bytes.first(*total - kCrcSize);
  if (Crc16(kCrcSeed, covered) != ReadU16Le(bytes.last(kCrcSize))) {
    result.error = PacketError::kBadCrc;
    return result;
  }
  ByteReader in(covered);
  PacketFields& fields = result.fields;
  const std::uint8_t direction = in.U8();
  fields.answer = direction == kPacketAnswer;
  fields.address = in.U8();
  fields.operation = in.U8();
  fields.protection = in.U8();
  in.Skip(2);
  fields.status = in.U8();
  fields.sequence = in.U8();
  fields.idCode = in.U32Le();
  const std::uint8_t idLength = in.U8();
  const std::size_t checkSize = CheckSize(fields.protection);
  if ((direction != kPacketRequest && direction != kPacketAnswer) || fields.protection > kProtectionPassword ||
      idLength > kMaxDeviceIdLength || in.Remaining() < idLength + checkSize) {
    result.error = PacketError::kBadLayout;
    return result;
  }
  const auto id = in.Bytes(idLength);
  fields.deviceId.assign(id.begin(), id.end());
  const auto data = in.Bytes(in.Remaining() - checkSize);
  fields.data.assign(data.begin(), data.end());
  if (checkSize != 0) {
    const std::string key = PacketCheckKey(fields.protection, keys.keyText, keys.password);
    const PacketCheck expected = ComputePacketCheck(key, covered.first(covered.size() - checkSize));
    const auto check = in.Bytes(checkSize);
    if (!std::equal(check.begin(), check.end(), expected.begin())) {
      result.error = PacketError::kBadCheck;
      return result;
    }
  }
  return result;
}

}  // namespace vantorel
