#include "sign/sign_engine.h"

#include "comm/operations.h"
#include "platform/sign_io.h"

namespace vantorel {
namespace {

std::string OperationName(std::uint8_t code) {
  if (const OperationInfo* info = FindOperation(code)) return std::string(info->name);
  char text[16];
  std::snprintf(text, sizeof text, "op-0x%02X", code);
  return text;
}

}  // namespace

SignEngine::SignEngine(const SignOptions& options, SignOperations& operations, SignFaults& faults, RequestLog& log)
    : m_options(options), m_operations(operations), m_faults(faults), m_log(log) {}

SignIdentity SignEngine::Identity(int kind) const {
  SignIdentity sign;
  sign.kind = kind;
  sign.address = m_options.screenId;
  sign.idCode = m_options.idCode;
  sign.keyText = m_options.keyText;
  sign.password = m_options.password;
  sign.protectionMode = kind == kKindNetwork ? m_operations.ProtectionMode() : 1;
  return sign;
}

SignExchange SignEngine::Respond(int kind, std::span<const std::uint8_t> bytes, std::string_view transport) {
  SignExchange exchange;
  const SignIdentity sign = Identity(kind);
  const RequestDecode decoded = DecodeRequest(sign, bytes);
  if (decoded.refusal != Refusal::kNone) {
    exchange.refusal = decoded.refusal;
    m_operations.CountRefused();
    m_log.Log(transport, "?", bytes, "refused: " + std::string(RefusalName(decoded.refusal)));
    return exchange;
  }
  const PacketFields& request = decoded.request;
  const std::string name = OperationName(request.operation);
  if (m_faults.Drop()) {
    exchange.dropped = true;
    m_log.Log(transport, name, bytes, "dropped");
    return exchange;
  }
  const SignReply reply = m_operations.Handle(request);
  std::string result;
  if (reply.answers.empty()) result = "no answer wanted";
  for (const SignAnswer& answer : reply.answers) {
    std::vector<std::uint8_t> encoded = EncodeAnswer(sign, request, answer.status, answer.data);
    if (result.empty()) {
      result = answer.status == kStatusDone ? std::string("answered")
                                            : "answered: status " + std::to_string(answer.status) + " (" +
                                                  std::string(AnswerStatusName(answer.status)) + ")";
    }
    if (m_faults.Corrupt(encoded)) result += ", corrupted";
    exchange.answers.push_back(std::move(encoded));
  }
  if (reply.answers.size() > 1) result += " in " + std::to_string(reply.answers.size()) + " packets";
  if (!reply.note.empty()) result += "; " + reply.note;
  if (!m_operations.LastSaveStatus().ok()) result += "; not saved: " + m_operations.LastSaveStatus().detail();
  m_log.Log(transport, name, bytes, result);
  if (!exchange.answers.empty()) SleepMs(m_faults.DelayMs());
  return exchange;
}

}  // namespace vantorel
