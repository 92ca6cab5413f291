#include "sign/sign_operations.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "comm/operations.h"
#include "comm/packet.h"
#include "comm/sign_protocol.h"
#include "platform/byte_reader.h"
#include "platform/byte_writer.h"
#include "screen/controller_types.h"
#include "sign/sign_clock.h"

namespace vantorel {
namespace {

constexpr std::uint8_t kMessageTag = 119;
constexpr std::size_t kMessageHeader = 22;
constexpr std::size_t kMaxMessageText = 6122;
constexpr std::size_t kMaxMessageBlock = kMessageHeader + kMaxMessageText;
constexpr std::uint8_t kLastPiece = 17;
constexpr std::uint8_t kMorePieces = 1;
constexpr std::uint8_t kFastWriteRefused = 17;
constexpr std::uint8_t kStorageSelector = 1;

SignAnswer Done(std::vector<std::uint8_t> data = {}) { return SignAnswer{kStatusDone, std::move(data)}; }
SignAnswer Refuse(std::uint8_t status) { return SignAnswer{status, {}}; }

// A temperature in tenths of a degree as the two bytes of the temperature answer.
void PutTemperature(ByteWriter& out, int tenths) {
  const int magnitude = std::min(std::abs(tenths), 2047 * 10 + 9);
  const int whole = magnitude / 10;
  out.U8(static_cast<std::uint8_t>(((whole >> 4) & 0x7F) | (tenths < 0 ? 0x80 : 0)));
  out.U8(static_cast<std::uint8_t>(((whole & 0x0F) << 4) | (magnitude % 10)));
}

// The adjustment byte (bit 7 Fahrenheit, bit 6 minus, bits 0-5 degrees) in Celsius tenths.
int AdjustmentTenths(std::uint8_t adjust) {
  const int degrees = adjust & 0x3F;
  const int tenths = (adjust & 0x80) != 0 ? degrees * 50 / 9 : degrees * 10;
  return (adjust & 0x40) != 0 ? -tenths : tenths;
}

bool MessageBlockIsSound(const std::vector<std::uint8_t>& block) {
  if (block.size() < kMessageHeader || block[0] != kMessageTag) return false;
  std::uint16_t sum = 0;
  for (std::size_t i = 3; i <= 21; ++i) sum = static_cast<std::uint16_t>(sum + block[i]);
  ByteReader in(block);
  in.Skip(1);
  const std::uint16_t stated = in.U16Be();
  in.Seek(20);
  const std::size_t textLength = in.U16Be();
  return stated == sum && textLength <= kMaxMessageText && block.size() >= kMessageHeader + textLength;
}

}  // namespace

SignOperations::SignOperations(const SignOptions& options, SignState state, SignStore store, Clock clock)
    : m_options(options), m_state(std::move(state)), m_store(std::move(store)), m_clock(std::move(clock)) {
  if (!m_clock) m_clock = [] { return std::time(nullptr); };
}

SignReply SignOperations::Handle(const PacketFields& request) {
  SignReply reply;
  const OperationInfo* info = FindOperation(request.operation);
  const std::size_t size = request.data.size();
  if (info == nullptr) {
    reply.answers.push_back(Refuse(kStatusUnknownOperation));
  } else if (size < info->requestMin || size > info->requestMax) {
    reply.answers.push_back(Refuse(kStatusBadData));
  } else if (info->op == Op::kGetDirentry) {
    if (request.data[0] == kStorageSelector) {
      reply.answers = Directory();
    } else {
      reply.answers.push_back(Refuse(kStatusBadData));
    }
  } else if (info->op == Op::kSendPacket && (request.data[4] & 1) == 0) {
    // A fast write packet without its answer flag: no answer (and no fast write is open).
  } else if (info->op == Op::kWriteFileData && (request.data[8] & 1) == 0) {
    // Likewise for a confirmed write packet.
  } else {
    reply.answers.push_back(Answer(request, reply.note));
  }
  ++m_answered;
  return reply;
}

void SignOperations::Changed() { m_saveStatus = Save(); }

Status SignOperations::Save() {
  if (!m_store.Persistent()) return Status::Ok();
  return SaveSignState(m_store.Folder(), m_state);
}

SignAnswer SignOperations::Answer(const PacketFields& request, std::string& note) {
  const std::vector<std::uint8_t>& data = request.data;
  ByteWriter out;
  switch (static_cast<Op>(request.operation)) {
    case Op::kReadVersion:
      out.U8(m_options.kindCode);
      out.U8(m_options.firmware.format);
      out.Bytes(m_options.firmware.bytes);
      return Done(std::move(out).Take());
    case Op::kReadAllVersions: {
      out.U8(m_options.kindCode);
      out.U8(m_options.controllerClass);
      out.U16Le(m_options.versionWord1);
      out.U16Le(m_options.versionWord2);
      out.Bytes(m_options.firmware.bytes);
      std::string model = ModelName(m_options.model).substr(0, 12);
      model.resize(12, '\0');
      out.Text(model);
      out.Fill(32 - out.Size());
      return Done(std::move(out).Take());
    }
    case Op::kSetClock: {
      const auto offset = SignClockOffset(data, m_clock());
      if (!offset) return Refuse(kStatusBadData);
      m_state.clockOffsetSeconds = *offset;
      Changed();
      return Done();
    }
    case Op::kReadClock: {
      const auto block = SignClockBlock(m_state.clockOffsetSeconds, m_clock());
      return Done({block.begin(), block.end()});
    }
    case Op::kReadTemperature:
      return Temperature(data[0]);
    case Op::kWriteTemperatureAdjust:
      if (data[0] != 0 || data[1] != 4 || data[2] != 0 || data[3] != 0 || data[5] != 0) return Refuse(kStatusBadData);
      m_state.temperatureAdjust = data[4];
      Changed();
      return Done();
    case Op::kReadCounters:
      out.U32Le(data[0] == 0 ? m_answered : 0);
      out.U32Le(data[0] == 0 ? m_refused : 0);
      return Done(std::move(out).Take());
    case Op::kReadPowerSchedule:
      return Done({m_state.power.begin(), m_state.power.end()});
    case Op::kWritePowerSchedule:
      std::copy(data.begin(), data.end(), m_state.power.begin());
      Changed();
      return Done();
    case Op::kReadSoftwareSwitchInfo:
      return Done(m_state.switches);
    case Op::kWriteSoftwareSwitchInfo:
      m_state.switches = data;
      Changed();
      return Done();
    case Op::kReadBrightness:
      return Done({m_state.brightness.begin(), m_state.brightness.end()});
    case Op::kWriteBrightness:
      std::copy(data.begin(), data.end(), m_state.brightness.begin());
      Changed();
      return Done();
    case Op::kSendInstantMessage:
      return MessagePiece(data, note);
    case Op::kReadRunningInfo:
      out.U8(data[0]);
      out.U8(m_state.charset);
      out.U8(0);
      out.U16Be(m_state.asciiSizes);
      out.U16Be(m_state.extSizes);
      out.U8(m_state.play);
      return Done(std::move(out).Take());
    case Op::kRestart:
    case Op::kRestartLegacy:
      ++m_state.restarts;
      m_message.clear();
      m_write = {};
      Changed();
      note = "restart asked (" + std::to_string(m_state.restarts) + ")";
      return Done({1});
    case Op::kFormatStorage: {
      if (data[0] != kStorageSelector) return Refuse(kStatusBadData);
      const std::size_t removed = m_store.Delete("*");
      note = "formatted, " + std::to_string(removed) + " files removed";
      return Done({1});
    }
    case Op::kDeleteFiles: {
      const std::size_t removed = m_store.Delete(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
      out.U16Le(static_cast<std::uint16_t>(std::min<std::size_t>(removed, 0xFFFF)));
      note = std::to_string(removed) + " files removed";
      return Done(std::move(out).Take());
    }
    case Op::kGetFreeSpace:
      return FreeSpace(data[0]);
    case Op::kQueryControllerInfo:
      return ControllerInfo(data[0]);
    case Op::kResumePlaying:
    case Op::kHoldPlaying:
      m_state.play = request.operation == Code(Op::kHoldPlaying) ? 1 : 0;
      Changed();
      return Done({0});
    case Op::kOpenFile:
      return OpenFile(data);
    case Op::kWriteBlock:
      return WriteBlock(data);
    case Op::kCloseFile:
      return CloseFile(data, note);
    case Op::kStartFastWrite:
      return Done({kFastWriteRefused});
    case Op::kSendPacket:
    case Op::kQueryMissing:
    case Op::kWriteFileData:
    case Op::kWriteFileConfirm:
      return Refuse(kStatusFileError);   // no fast or confirmed write is ever open
    case Op::kWriteFileRequest:
      return Refuse(kStatusUnknownOperation);
    case Op::kReadFile:
      return ReadBack(data);
    case Op::kAuthorise:
      return Protection(data, note);
    case Op::kGetDirentry:
      break;
  }
  return Refuse(kStatusUnknownOperation);
}

SignAnswer SignOperations::Temperature(std::uint8_t selector) const {
  ByteWriter out;
  if (!m_options.temperatureTenths) {
    out.Fill(6);
    return Done(std::move(out).Take());
  }
  constexpr std::uint8_t kWithAdjustment = 3;
  const int celsius = *m_options.temperatureTenths +
                      (selector == kWithAdjustment ? AdjustmentTenths(m_state.temperatureAdjust) : 0);
  const int fahrenheit = celsius * 9 / 5 + 320;
  out.U8(1);
  PutTemperature(out, celsius);
  PutTemperature(out, fahrenheit);
  out.U8(m_state.temperatureAdjust);
  return Done(std::move(out).Take());
}

SignAnswer SignOperations::MessagePiece(const std::vector<std::uint8_t>& data, std::string& note) {
  ByteReader in(data);
  const std::uint8_t flag = in.U8();
  const std::uint16_t offset = in.U16Le();
  const std::span<const std::uint8_t> piece = in.Bytes(in.Remaining());
  if (flag != kLastPiece && flag != kMorePieces) return Refuse(kStatusBadData);
  if (offset == 0) m_message.clear();
  if (offset != m_message.size()) return Refuse(kStatusOutOfOrder);
  if (m_message.size() + piece.size() > kMaxMessageBlock) {
    m_message.clear();
    return Refuse(kStatusBadData);
  }
  m_message.insert(m_message.end(), piece.begin(), piece.end());
  if (flag == kMorePieces) return Done();
  std::vector<std::uint8_t> block = std::move(m_message);
  m_message.clear();
  if (!MessageBlockIsSound(block)) return Refuse(kStatusBadData);
  ++m_state.messages;
  const Status saved = m_store.SaveMessage(m_state.messages, block);
  if (!saved) m_saveStatus = saved;
  Changed();
  const std::size_t textLength = std::size_t{block[20]} << 8 | block[21];
  note = "message " + std::to_string(m_state.messages) + ": \"" +
         std::string(block.begin() + kMessageHeader, block.begin() + static_cast<std::ptrdiff_t>(kMessageHeader + std::min<std::size_t>(textLength, 40))) + "\"";
  return Done();
}

SignAnswer SignOperations::Protection(const std::vector<std::uint8_t>& data, std::string& note) {
  ByteReader in(data);
  const std::uint8_t zero = in.U8();
  const std::uint16_t flags = in.U16Le();
  const auto password = ReadPasswordBlock(in.Bytes(kControllerPasswordBlockSize));
  const bool custom = (flags & kAuthCustomPassword) != 0;
  const std::string_view expected = custom ? std::string_view(m_options.password) : kDefaultControllerPassword;
  if (zero != 0 || !password || *password != expected) {
    note = "protection: wrong password";
    return Refuse(kStatusNotPermitted);
  }
  if ((flags & kAuthProtectOn) != 0) {
    m_state.protectionMode = custom ? kModeKeyTextAndPassword : kModeKeyText;
  } else if ((flags & kAuthProtectOff) != 0) {
    m_state.protectionMode = kModeUnprotected;
  }
  Changed();
  note = "protection mode " + std::to_string(m_state.protectionMode);
  return Done({0, 1});
}

SignAnswer SignOperations::FreeSpace(std::uint8_t selector) const {
  if (selector != kStorageSelector) return Refuse(kStatusBadData);
  const std::uint64_t used = m_store.UsedBytes();
  std::uint64_t free = m_options.capacity > used ? m_options.capacity - used : 0;
  if (m_store.Persistent()) {
    std::error_code error;
    const auto space = std::filesystem::space(m_store.Folder(), error);
    if (!error) free = std::min<std::uint64_t>(free, space.available);
  }
  ByteWriter out;
  out.U32Le(static_cast<std::uint32_t>(free));
  out.U32Le(static_cast<std::uint32_t>(free >> 32));
  out.U32Le(static_cast<std::uint32_t>(m_options.capacity));
  out.U32Le(static_cast<std::uint32_t>(m_options.capacity >> 32));
  return Done(std::move(out).Take());
}

SignAnswer SignOperations::ControllerInfo(std::uint8_t page) const {
  constexpr std::uint8_t kPages = 1;
  ByteWriter out;
  out.U8(page);
  out.U8(kPages);
  if (page < kPages) {
    char kind[8];
    std::snprintf(kind, sizeof kind, "0x%02X", m_options.kindCode);
    const std::string text = "model=" + ModelName(m_options.model) + "\nkind=" + kind +
                             "\nclass=" + std::to_string(m_options.controllerClass) +
                             "\nname=" + m_options.name.substr(0, 64) +
                             "\nscreen=" + std::to_string(m_options.width) + "x" + std::to_string(m_options.height) +
                             "\nid=" + std::to_string(m_options.screenId) + "\n";
    out.Text(std::string_view(text).substr(0, 512));
  }
  return Done(std::move(out).Take());
}

SignAnswer SignOperations::OpenFile(const std::vector<std::uint8_t>& data) {
  ByteReader in(data);
  const std::uint32_t size = in.U32Le();
  const std::uint8_t infoLength = in.U8();
  in.Skip(infoLength);
  const std::span<const std::uint8_t> name = in.Bytes(in.Remaining());
  if (!in.ok() || infoLength > kMaxFileInfo || name.empty() || name.size() > kMaxFileName) return Refuse(kStatusBadData);
  const std::string text(name.begin(), name.end());
  if (!SignStore::IsPlainName(text)) return Refuse(kStatusBadData);
  const std::uint64_t used = m_store.UsedBytes();
  if (used + size > m_options.capacity) return Refuse(kStatusNoSpace);
  m_write = {};
  m_write.open = true;
  m_write.name = text;
  m_write.size = size;
  return Done({1});
}

SignAnswer SignOperations::WriteBlock(const std::vector<std::uint8_t>& data) {
  if (!m_write.open) return Refuse(kStatusFileError);
  ByteReader in(data);
  const std::uint32_t cookie = in.U32Le();
  const std::span<const std::uint8_t> bytes = in.Bytes(in.Remaining());
  if (cookie != m_write.bytes.size()) return Refuse(kStatusOutOfOrder);
  if (m_write.bytes.size() + bytes.size() > m_write.size) return Refuse(kStatusBadData);
  m_write.bytes.insert(m_write.bytes.end(), bytes.begin(), bytes.end());
  ByteWriter out;
  out.U32Le(static_cast<std::uint32_t>(m_write.bytes.size()));
  return Done(std::move(out).Take());
}

SignAnswer SignOperations::CloseFile(const std::vector<std::uint8_t>& data, std::string& note) {
  if (!m_write.open) return Refuse(kStatusFileError);
  ByteReader in(data);
  const std::uint32_t cookie = in.U32Le();
  if (cookie != m_write.size || m_write.bytes.size() != m_write.size) return Refuse(kStatusOutOfOrder);
  const Status written = m_store.WriteFile(m_write.name, m_write.bytes);
  note = "file " + m_write.name + " (" + std::to_string(m_write.size) + " bytes)";
  m_write = {};
  if (!written) {
    m_saveStatus = written;
    return Refuse(kStatusNoSpace);
  }
  return Done({1});
}

SignAnswer SignOperations::ReadBack(const std::vector<std::uint8_t>& data) const {
  ByteReader in(data);
  const std::uint32_t offset = in.U32Le();
  const std::uint16_t length = in.U16Le();
  const std::span<const std::uint8_t> name = in.Bytes(in.Remaining());
  constexpr std::uint16_t kMaxRead = 1024;
  if (length == 0 || length > kMaxRead) return Refuse(kStatusBadData);
  std::uint32_t size = 0;
  const auto bytes = m_store.ReadBack(std::string_view(reinterpret_cast<const char*>(name.data()), name.size()),
                                      offset, length, size);
  if (!bytes) return Refuse(kStatusFileError);
  ByteWriter out;
  out.U32Le(offset);
  out.U32Le(size);
  out.Bytes(*bytes);
  return Done(std::move(out).Take());
}

std::vector<SignAnswer> SignOperations::Directory() const {
  const std::vector<StoredFile> files = m_store.Files();
  std::vector<SignAnswer> answers;
  std::size_t next = 0;
  // Packets of four entries; the last holds fewer (none when the count is a multiple of four).
  while (true) {
    const std::size_t count = std::min(kDirEntriesPerAnswer, files.size() - next);
    ByteWriter out;
    out.U8(static_cast<std::uint8_t>(count));
    out.U8(static_cast<std::uint8_t>(answers.size()));
    for (std::size_t i = 0; i < count; ++i) {
      const StoredFile& file = files[next + i];
      std::string name = file.name.substr(0, 44);
      name.resize(45, '\0');
      out.Text(name);
      out.U8(static_cast<std::uint8_t>(file.year / 100));
      out.U8(static_cast<std::uint8_t>(file.year % 100));
      out.U8(static_cast<std::uint8_t>(file.month));
      out.U8(static_cast<std::uint8_t>(file.day));
      out.U8(static_cast<std::uint8_t>(file.hour));
      out.U8(static_cast<std::uint8_t>(file.minute));
      out.U8(static_cast<std::uint8_t>(file.second));
      out.U32Le(file.size);
    }
    answers.push_back(Done(std::move(out).Take()));
    next += count;
    if (count < kDirEntriesPerAnswer) break;
  }
  return answers;
}

}  // namespace vantorel
