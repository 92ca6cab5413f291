// The context, its parameters, and the request / answer steps every operation shares.

#include <algorithm>
#include <atomic>
#include <charconv>

#include "comm/crc16.h"
#include "comm/kvlink.h"
#include "comm/kvlink_request.h"
#include "comm/packet.h"
#include "platform/byte_reader.h"

namespace vantorel {
namespace {

// Contexts start their sequence numbers at different values, so that a late answer to the
// request of an earlier operation is not taken for the answer of the next one.
std::atomic<unsigned> g_nextSequence{1};

std::uint8_t ProtectionOf(const KvlinkContext& ctx) {
  if (ctx.kind != kKindNetwork) return kProtectionNone;
  return ProtectionLevelOfMode(ctx.protectionMode).value_or(kProtectionNone);
}

std::string DeviceIdOf(const KvlinkContext& ctx) {
  return ctx.kind == kKindRelayNetwork || ctx.kind == kKindRelayGprs ? ctx.param1 : std::string();
}

PacketKeys KeysOf(const KvlinkContext& ctx) { return {ctx.param1, ctx.password}; }

int ErrorOf(PacketError error) {
  switch (error) {
    case PacketError::kNone: return 0;
    case PacketError::kShort: return kKvlinkShort;
    case PacketError::kTooLong: return kKvlinkTooLong;
    case PacketError::kBadFrame: return kKvlinkBadFrame;
    case PacketError::kBadLayout: return kKvlinkBadLayout;
    case PacketError::kBadCrc: return kKvlinkBadCrc;
    case PacketError::kBadCheck: return kKvlinkBadCheck;
  }
  return kKvlinkBadLayout;
}

}  // namespace

std::unique_ptr<KvlinkContext> KVLINK_CreateContext(int protocolKind, std::uint8_t address, std::uint32_t idCode) {
  if (protocolKind < kKindSerial || protocolKind > kKindRelayGprs) return nullptr;
  auto ctx = std::make_unique<KvlinkContext>();
  ctx->kind = protocolKind;
  ctx->address = address;
  ctx->idCode = idCode;
  ctx->sequence = static_cast<std::uint8_t>(g_nextSequence.fetch_add(1, std::memory_order_relaxed));
  return ctx;
}

int KVLINK_CommData_SetParam(KvlinkContext& ctx, int index, std::string_view text) {
  switch (index) {
    case 1:
      if (ctx.kind != kKindNetwork && text.size() > kMaxDeviceIdLength) return kKvlinkBadValue;
      ctx.param1 = std::string(text);
      return 0;
    case 2: {
      int mode = 0;
      const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), mode);
      if (error != std::errc() || end != text.data() + text.size() || !ProtectionLevelOfMode(mode)) return kKvlinkBadValue;
      ctx.protectionMode = mode;
      return 0;
    }
    case 3:
      ctx.password = std::string(text);
      return 0;
    default:
      return kKvlinkBadValue;
  }
}

int KVLINK_GetLastStatus(const KvlinkContext& ctx) { return ctx.lastStatus; }

void KVLINK_SetSequence(KvlinkContext& ctx, std::uint8_t sequence) { ctx.sequence = sequence; }

std::uint16_t KVLINK_GetCrcValue(std::uint16_t seed, std::span<const std::uint8_t> data) { return Crc16(seed, data); }

std::string_view KVLINK_ErrorName(int result) {
  switch (result) {
    case kKvlinkShort: return "answer too short";
    case kKvlinkTooLong: return "answer too long";
    case kKvlinkBadFrame: return "bad frame";
    case kKvlinkBadLayout: return "not a packet";
    case kKvlinkBadCrc: return "bad CRC";
    case kKvlinkBadCheck: return "bad keyed check";
    case kKvlinkNotAnswer: return "not an answer";
    case kKvlinkAddress: return "wrong address";
    case kKvlinkIdCode: return "wrong ID code";
    case kKvlinkDeviceId: return "wrong device ID";
    case kKvlinkOperation: return "wrong operation";
    case kKvlinkSequence: return "wrong sequence number";
    case kKvlinkRefused: return "refused by the controller";
    case kKvlinkDataSize: return "wrong answer data size";
    case kKvlinkBadValue: return "bad value";
    case kKvlinkNoContext: return "no context";
    default: return result >= 0 ? "ok" : "unknown";
  }
}

int MakeRequest(KvlinkContext& ctx, std::span<std::uint8_t> out, std::uint8_t operation,
                std::span<const std::uint8_t> data) {
  const OperationInfo* info = FindOperation(operation);
  const std::size_t least = info != nullptr ? info->requestMin : 0;
  const std::size_t most = info != nullptr ? info->requestMax : kMaxGenericData;
  if (data.size() < least || data.size() > most) return 0;
  PacketFields fields;
  fields.address = ctx.address;
  fields.operation = operation;
  fields.protection = ProtectionOf(ctx);
  fields.sequence = ctx.sequence;
  fields.idCode = ctx.idCode;
  fields.deviceId = DeviceIdOf(ctx);
  fields.data.assign(data.begin(), data.end());
  const std::vector<std::uint8_t> bytes = WrapPacket(ctx.kind, BuildPacket(fields, KeysOf(ctx)));
  if (bytes.empty() || bytes.size() > out.size()) return 0;
  std::copy(bytes.begin(), bytes.end(), out.begin());
  ctx.madeRequest = true;
  ctx.lastOperation = operation;
  ctx.lastSequence = ctx.sequence;
  ++ctx.sequence;
  return static_cast<int>(bytes.size());
}

int ReadAnswer(KvlinkContext& ctx, std::span<const std::uint8_t> answer, int operation, std::vector<std::uint8_t>& data) {
  data.clear();
  PacketRead read = ReadPacket(ctx.kind, answer, KeysOf(ctx));
  if (read.error != PacketError::kNone) return ErrorOf(read.error);
  const PacketFields& fields = read.fields;
  if (!fields.answer) return kKvlinkNotAnswer;
  if (fields.protection != ProtectionOf(ctx)) return kKvlinkBadCheck;
  if (fields.address != ctx.address) return kKvlinkAddress;
  if (fields.idCode != ctx.idCode) return kKvlinkIdCode;
  if (fields.deviceId != DeviceIdOf(ctx)) return kKvlinkDeviceId;
  if (operation == kAnyOperation && ctx.madeRequest) operation = ctx.lastOperation;
  if (operation != kAnyOperation && fields.operation != operation) return kKvlinkOperation;
  if (ctx.madeRequest && fields.sequence != ctx.lastSequence) return kKvlinkSequence;
  ctx.lastStatus = fields.status;
  if (fields.status != kStatusDone) return kKvlinkRefused;
  const OperationInfo* info = FindOperation(fields.operation);
  const std::size_t least = info != nullptr ? info->answerMin : 0;
  const std::size_t most = info != nullptr ? info->answerMax : kMaxGenericData;
  if (fields.data.size() < least || fields.data.size() > most) return kKvlinkDataSize;
  data = std::move(read.fields.data);
  return 0;
}

int ReadAnswerInto(KvlinkContext& ctx, std::span<const std::uint8_t> answer, Op op, std::span<std::uint8_t> out) {
  std::vector<std::uint8_t> data;
  const int result = ReadAnswer(ctx, answer, op, data);
  return result < 0 ? result : CopyAnswer(data, out);
}

int ReadAnswerU16(KvlinkContext& ctx, std::span<const std::uint8_t> answer, Op op) {
  std::vector<std::uint8_t> data;
  const int result = ReadAnswer(ctx, answer, op, data);
  return result < 0 ? result : ReadU16Le(data);
}

int CopyAnswer(std::span<const std::uint8_t> data, std::span<std::uint8_t> out) {
  const std::size_t count = std::min(data.size(), out.size());
  std::copy_n(data.begin(), count, out.begin());
  return static_cast<int>(count);
}

}  // namespace vantorel
