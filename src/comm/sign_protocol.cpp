#include "comm/sign_protocol.h"

#include "app/text_ids.h"
#include "comm/operations.h"

namespace vantorel {
namespace {

Refusal RefusalOf(PacketError error) {
  switch (error) {
    case PacketError::kNone: return Refusal::kNone;
    case PacketError::kShort: return Refusal::kShort;
    case PacketError::kTooLong: return Refusal::kTooLong;
    case PacketError::kBadFrame: return Refusal::kBadFrame;
    case PacketError::kBadLayout: return Refusal::kBadLayout;
    case PacketError::kBadCrc: return Refusal::kBadCrc;
    case PacketError::kBadCheck: return Refusal::kBadCheck;
  }
  return Refusal::kBadLayout;
}

}  // namespace

std::string_view RefusalName(Refusal refusal) {
  switch (refusal) {
    case Refusal::kNone: return "none";
    case Refusal::kShort: return "too short";
    case Refusal::kTooLong: return "too long";
    case Refusal::kBadFrame: return "bad frame";
    case Refusal::kBadLayout: return "not a packet";
    case Refusal::kBadCrc: return "bad CRC";
    case Refusal::kBadCheck: return "bad keyed check";
    case Refusal::kNotRequest: return "not a request";
    case Refusal::kWrongAddress: return "wrong address";
    case Refusal::kWrongIdCode: return "wrong ID code";
    case Refusal::kWrongDeviceId: return "wrong device ID";
    case Refusal::kNotProtected: return "protection required";
  }
  return "unknown";
}

Status RefusalStatus(Refusal refusal) {
  if (refusal == Refusal::kNone) return Status::Ok();
  return Status::Failure(kTextRequestRefused, std::string(RefusalName(refusal)));
}

RequestDecode DecodeRequest(const SignIdentity& sign, std::span<const std::uint8_t> bytes) {
  RequestDecode result;
  PacketRead read = ReadPacket(sign.kind, bytes, PacketKeys{sign.keyText, sign.password});
  if (read.error != PacketError::kNone) {
    result.refusal = RefusalOf(read.error);
    return result;
  }
  const PacketFields& fields = read.fields;
  const std::uint8_t required = ProtectionLevelOfMode(sign.protectionMode).value_or(kProtectionNone);
  if (fields.answer) {
    result.refusal = Refusal::kNotRequest;
  } else if (fields.address != sign.address && fields.address != kBroadcastAddress) {
    result.refusal = Refusal::kWrongAddress;
  } else if (sign.kind == kKindNetwork && fields.idCode != sign.idCode) {
    result.refusal = Refusal::kWrongIdCode;
  } else if ((sign.kind == kKindRelayNetwork || sign.kind == kKindRelayGprs) && fields.deviceId != sign.deviceId) {
    result.refusal = Refusal::kWrongDeviceId;
  } else if (sign.kind == kKindNetwork && fields.protection < required) {
    result.refusal = Refusal::kNotProtected;
  }
  if (result.refusal == Refusal::kNone) result.request = std::move(read.fields);
  return result;
}

std::vector<std::uint8_t> EncodeAnswer(const SignIdentity& sign, const PacketFields& request, std::uint8_t status,
                                       std::span<const std::uint8_t> data) {
  PacketFields answer;
  answer.answer = true;
  answer.address = request.address;
  answer.operation = request.operation;
  answer.protection = request.protection;
  answer.status = status;
  answer.sequence = request.sequence;
  answer.idCode = request.idCode;
  answer.deviceId = request.deviceId;
  answer.data.assign(data.begin(), data.end());
  return WrapPacket(sign.kind, BuildPacket(answer, PacketKeys{sign.keyText, sign.password}));
}

std::string_view AnswerStatusName(std::uint8_t status) {
  switch (status) {
    case kStatusDone: return "done";
    case kStatusUnknownOperation: return "unknown operation";
    case kStatusBadData: return "bad request data";
    case kStatusNotPermitted: return "not permitted";
    case kStatusBusy: return "busy";
    case kStatusNoSpace: return "no space";
    case kStatusFileError: return "file error";
    case kStatusOutOfOrder: return "out of order";
    default: return "unknown status";
  }
}

std::optional<std::string> ReadPasswordBlock(std::span<const std::uint8_t> block) {
  constexpr std::size_t kKeyLength = kControllerPasswordLength + kPasswordKeySuffix.size();
  if (block.size() != 4 + 2 * kKeyLength) return std::nullopt;
  std::string key;
  for (std::size_t i = 0; i < kKeyLength; ++i) {
    key.push_back(static_cast<char>(~(block[4 + 2 * i] ^ block[5 + 2 * i]) & 0xFF));
  }
  if (key.substr(kControllerPasswordLength) != kPasswordKeySuffix) return std::nullopt;
  return key.substr(0, kControllerPasswordLength);
}

}  // namespace vantorel
