#include "test_controller.h"

#include <gtest/gtest.h>

#include <chrono>

#include "comm/operations.h"
#include "comm/probe.h"
#include "comm/packet.h"
#include "comm/serial_frame.h"
#include "platform/byte_reader.h"
#include "platform/byte_writer.h"

namespace vantorel::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kHandle = 0x0A0B0C0D;

Bytes Entry(const std::string& name, std::uint32_t size) {
  ByteWriter out;
  out.Text(name.substr(0, 44));
  out.Fill(45 - std::min<std::size_t>(name.size(), 44));
  for (const int b : {20, 26, 12, 9, 21, 34, 56}) out.U8(static_cast<std::uint8_t>(b));
  out.U32Le(size);
  return std::move(out).Take();
}

}  // namespace

std::unique_ptr<TestController> TestController::OverPseudoTerminal(SignIdentity sign) {
  std::unique_ptr<TestController> controller(new TestController);
  sign.kind = kKindSerial;
  controller->m_sign = std::move(sign);
  Expected<PseudoTerminal> pty = PseudoTerminal::Open();
  EXPECT_TRUE(pty.ok()) << pty.status().detail();
  if (!pty) return nullptr;
  controller->m_pty = std::make_unique<PseudoTerminal>(std::move(*pty));
  controller->m_thread = std::thread([c = controller.get()] { c->ServePseudoTerminal(); });
  return controller;
}

std::unique_ptr<TestController> TestController::OverTcp(SignIdentity sign) {
  std::unique_ptr<TestController> controller(new TestController);
  sign.kind = kKindNetwork;
  controller->m_sign = std::move(sign);
  Expected<TcpListener> listener = TcpListener::Listen(kLoopbackIpv4, 0);
  EXPECT_TRUE(listener.ok()) << listener.status().detail();
  if (!listener) return nullptr;
  controller->m_listener = std::make_unique<TcpListener>(std::move(*listener));
  controller->m_port = controller->m_listener->Port();
  controller->m_thread = std::thread([c = controller.get()] { c->ServeTcp(); });
  return controller;
}

TestController::~TestController() {
  m_stop = true;
  if (m_thread.joinable()) m_thread.join();
  if (m_probeThread.joinable()) m_probeThread.join();
}

std::string TestController::DevicePath() const { return m_pty ? m_pty->DevicePath() : std::string(); }

void TestController::AnswerProbes(std::string line) {
  {
    const std::lock_guard lock(m_mutex);
    m_probeLine = std::move(line);
  }
  if (m_udp) return;
  Expected<UdpSocket> udp = UdpSocket::Bind(kLoopbackIpv4, m_port);
  ASSERT_TRUE(udp.ok()) << udp.status().detail();
  m_udp = std::make_unique<UdpSocket>(std::move(*udp));
  m_probeThread = std::thread([this] { ServeProbes(); });
}

std::vector<std::uint8_t> TestController::Log() const {
  const std::lock_guard lock(m_mutex);
  return m_log;
}

ControllerState TestController::State() const {
  const std::lock_guard lock(m_mutex);
  return m_state;
}

void TestController::SetFiles(std::vector<ControllerState::File> files) {
  const std::lock_guard lock(m_mutex);
  m_state.files = std::move(files);
}

int TestController::ProtectionMode() const {
  const std::lock_guard lock(m_mutex);
  return m_sign.protectionMode;
}

void TestController::ServeProbes() {
  std::array<std::uint8_t, 64> buffer{};
  while (!m_stop) {
    const Expected<Datagram> got = m_udp->Receive(buffer, 20);
    if (!got || got->size == 0) continue;
    std::string line;
    {
      const std::lock_guard lock(m_mutex);
      line = m_probeLine;
    }
    if (!IsProbeRequest(std::span<const std::uint8_t>(buffer).first(got->size))) continue;
    const Bytes bytes(line.begin(), line.end());
    (void)m_udp->SendTo(got->ipv4, got->port, bytes);
  }
}

void TestController::ServePseudoTerminal() {
  SerialFrameDecoder decoder(8192);
  std::array<std::uint8_t, 4096> chunk{};
  while (!m_stop) {
    const Expected<std::size_t> got = m_pty->Read(chunk, 10);
    if (!got || *got == 0) continue;
    std::span<const std::uint8_t> in = std::span<const std::uint8_t>(chunk).first(*got);
    while (!in.empty()) {
      std::size_t consumed = 0;
      const auto state = decoder.Feed(in, consumed);
      in = in.subspan(consumed);
      if (state != SerialFrameDecoder::State::kFrame) continue;
      const ControllerFault fault = m_fault;  // the fault at the time the request came
      const Bytes body(decoder.Body().begin(), decoder.Body().end());
      if (fault == ControllerFault::kEndlessFrame || fault == ControllerFault::kEndlessRestarts) {
        const Bytes start{kFrameStart};
        (void)m_pty->Write(start, 100);
        const Bytes noise = fault == ControllerFault::kEndlessFrame ? Bytes(64, 0x01) : Bytes{kFrameStart, 0x01};
        while (!m_stop && m_fault == fault) {
          (void)m_pty->Write(noise, 100);
          std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        break;
      }
      for (const Bytes& answer : Answer(body)) {
        if (fault != ControllerFault::kSilent) (void)m_pty->Write(answer, 2000);
      }
    }
  }
}

void TestController::ServeTcp() {
  while (!m_stop) {
    Expected<TcpSocket> accepted = m_listener->Accept(20);
    if (!accepted) continue;
    ++m_connections;
    TcpSocket socket = std::move(*accepted);
    if (m_fault == ControllerFault::kCloseAfterAccept) continue;
    Bytes pending;
    std::array<std::uint8_t, 4096> chunk{};
    bool open = true;
    while (open && !m_stop) {
      const Expected<std::size_t> got = socket.Receive(chunk, 20);
      if (!got) {
        open = got.status().detail().find("closed") == std::string::npos &&
               got.status().detail().find("no answer") != std::string::npos;
        continue;
      }
      pending.insert(pending.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(*got));
      for (;;) {
        const auto total = PacketTotalLength(pending);
        if (!total || pending.size() < *total) break;
        const Bytes packet(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(*total));
        pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(*total));
        const ControllerFault fault = m_fault;
        for (const Bytes& answer : Answer(packet)) {
          if (fault == ControllerFault::kSilent) continue;
          if (fault == ControllerFault::kDisconnectMidAnswer) {
            (void)socket.SendAll(std::span<const std::uint8_t>(answer).first(answer.size() / 2));
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            socket.Close();
            open = false;
            break;
          }
          (void)socket.SendAll(answer);
        }
        if (!open) break;
      }
    }
  }
}

std::vector<std::vector<std::uint8_t>> TestController::Answer(std::span<const std::uint8_t> bytes) {
  const std::lock_guard lock(m_mutex);
  const RequestDecode decoded = DecodeRequest(m_sign, bytes);
  if (decoded.refusal != Refusal::kNone) return {};
  const PacketFields& request = decoded.request;
  m_log.push_back(request.operation);
  ByteReader in(request.data);
  ByteWriter out;
  std::uint8_t status = kStatusDone;
  std::vector<Bytes> answers;
  const bool shortAnswers = m_fault == ControllerFault::kShortAnswers;
  const auto reading = [&](const Bytes& data) {
    if (shortAnswers) out.Bytes(std::span<const std::uint8_t>(data).first(std::min<std::size_t>(3, data.size())));
    else out.Bytes(data);
  };
  switch (static_cast<Op>(request.operation)) {
    case Op::kReadVersion: reading({0x62, 98, 0x12, 0x34, 0x21, 0x03, 0x45, 0x06}); break;
    case Op::kReadAllVersions: {
      Bytes all(32, 0);
      all[0] = 0x62;
      all[1] = 6;
      all[2] = 0x03;
      all[3] = 0x01;
      all[4] = 0x45;
      all[5] = 0x80;
      const std::string model = "Korvan-N5A";
      std::copy(model.begin(), model.end(), all.begin() + 12);
      reading(all);
      break;
    }
    case Op::kSetClock: m_state.clock = request.data; break;
    case Op::kReadClock: reading(m_state.clock); break;
    case Op::kReadTemperature: reading({0x01, 0x01, 0x95, 0x04, 0x51, m_state.temperatureAdjust}); break;
    case Op::kWriteTemperatureAdjust: m_state.temperatureAdjust = request.data.at(4); break;
    case Op::kReadCounters: out.U32Le(static_cast<std::uint32_t>(m_log.size())); out.U32Le(7); break;
    case Op::kReadPowerSchedule: reading(m_state.schedule); break;
    case Op::kWritePowerSchedule: m_state.schedule = request.data; break;
    case Op::kReadSoftwareSwitchInfo: out.Bytes(m_state.switches); break;
    case Op::kWriteSoftwareSwitchInfo: m_state.switches = request.data; break;
    case Op::kReadBrightness: reading(m_state.brightness); break;
    case Op::kWriteBrightness: m_state.brightness = request.data; break;
    case Op::kSendInstantMessage: {
      const std::uint8_t flag = in.U8();
      const std::uint16_t offset = in.U16Le();
      if (offset == 0) m_state.message.clear();
      if (offset != m_state.message.size()) {
        status = kStatusOutOfOrder;
        break;
      }
      const auto piece = in.Bytes(in.Remaining());
      m_state.message.insert(m_state.message.end(), piece.begin(), piece.end());
      m_state.messageComplete = flag == 17;
      break;
    }
    case Op::kReadRunningInfo:
      reading({request.data.at(0), 1, 0, 0x00, 0x1D, 0x00, 0x1C, static_cast<std::uint8_t>(m_state.held ? 1 : 0)});
      break;
    case Op::kRestart:
    case Op::kRestartLegacy: out.U8(1); break;
    case Op::kFormatStorage: m_state.files.clear(); out.U8(1); break;
    case Op::kDeleteFiles: out.U16Le(static_cast<std::uint16_t>(m_state.files.size())); m_state.files.clear(); break;
    case Op::kGetFreeSpace: {
      const std::uint64_t free = 0x1'2345'6789ull;
      out.U32Le(static_cast<std::uint32_t>(free));
      out.U32Le(static_cast<std::uint32_t>(free >> 32));
      out.U32Le(0);
      out.U32Le(2);
      break;
    }
    case Op::kQueryControllerInfo: {
      const std::uint8_t page = in.U8();
      out.U8(page);
      out.U8(1);
      if (page == 0) out.Text("model=Korvan-N5A\nkind=0x62\n");
      break;
    }
    case Op::kResumePlaying: m_state.held = false; out.U8(0); break;
    case Op::kHoldPlaying: m_state.held = true; out.U8(0); break;
    case Op::kOpenFile:
    case Op::kStartFastWrite: {
      m_state.openSize = in.U32Le();
      const std::uint8_t infoLength = in.U8();
      in.Skip(infoLength);
      const auto name = in.Bytes(in.Remaining());
      m_state.openName.assign(name.begin(), name.end());
      m_state.openFile.assign(m_state.openSize, 0);
      out.U8(1);
      break;
    }
    case Op::kWriteBlock: {
      const std::uint32_t cookie = in.U32Le();
      const auto data = in.Bytes(in.Remaining());
      if (cookie + data.size() > m_state.openFile.size()) {
        status = kStatusOutOfOrder;
        break;
      }
      std::copy(data.begin(), data.end(), m_state.openFile.begin() + cookie);
      out.U32Le(static_cast<std::uint32_t>(cookie + data.size()));
      break;
    }
    case Op::kCloseFile:
      m_state.files.push_back({m_state.openName, m_state.openFile});
      out.U8(1);
      break;
    case Op::kSendPacket: {
      const std::uint16_t number = in.U16Le();
      const std::uint16_t size = in.U16Le();
      const std::uint8_t flags = in.U8();
      const auto data = in.Bytes(in.Remaining());
      const std::size_t at = std::size_t{number} * size;
      if (at + data.size() <= m_state.openFile.size()) std::copy(data.begin(), data.end(), m_state.openFile.begin() + at);
      if ((flags & 1) == 0) return {};
      out.U16Le(number);
      break;
    }
    case Op::kQueryMissing:
      m_state.files.push_back({m_state.openName, m_state.openFile});
      out.U8(0);
      break;
    case Op::kGetDirentry: {
      const auto& files = m_state.files;
      std::size_t index = 0;
      std::uint8_t number = 0;
      for (;;) {
        const std::size_t count = std::min<std::size_t>(4, files.size() - index);
        ByteWriter page;
        page.U8(static_cast<std::uint8_t>(count));
        page.U8(number++);
        for (std::size_t i = 0; i < count; ++i) {
          page.Bytes(Entry(files[index + i].name, static_cast<std::uint32_t>(files[index + i].bytes.size())));
        }
        index += count;
        answers.push_back(EncodeAnswer(m_sign, request, kStatusDone, page.View()));
        if (count < 4) break;
      }
      return answers;
    }
    case Op::kReadFile: {
      const std::uint32_t offset = in.U32Le();
      const std::uint16_t length = in.U16Le();
      const auto name = in.Bytes(in.Remaining());
      const std::string wanted(name.begin(), name.end());
      status = kStatusFileError;
      for (const auto& file : m_state.files) {
        if (file.name != wanted) continue;
        status = kStatusDone;
        out.U32Le(offset);
        out.U32Le(static_cast<std::uint32_t>(file.bytes.size()));
        if (offset < file.bytes.size()) {
          const std::size_t n = std::min<std::size_t>(length, file.bytes.size() - offset);
          out.Bytes(std::span<const std::uint8_t>(file.bytes).subspan(offset, n));
        }
        break;
      }
      break;
    }
    case Op::kWriteFileRequest:
      out.U8(0);
      out.U32Le(kHandle);
      out.U32Le(4096);
      out.U16Le(512);
      out.U16Le(0);
      out.U16Le(0);
      break;
    case Op::kWriteFileData: {
      const std::uint32_t handle = in.U32Le();
      const std::uint16_t group = in.U16Le();
      const std::uint16_t packet = in.U16Le();
      const std::uint8_t flags = in.U8();
      if ((flags & 1) == 0) return {};
      (void)handle;
      out.U32Le(kHandle);  // its own handle, whatever the request said
      out.U16Le(group);
      out.U16Le(packet);
      out.U8(0);
      break;
    }
    case Op::kWriteFileConfirm:
      out.U32Le(in.U32Le());
      out.U16Le(in.U16Le());
      out.U8(0);
      break;
    case Op::kAuthorise: {
      in.Skip(1);
      const std::uint16_t flags = in.U16Le();
      const auto password = ReadPasswordBlock(in.Bytes(36));
      const std::string expected = (flags & 0x8000) != 0 ? m_sign.password : "velorupa";
      if (!password || *password != expected) {
        status = kStatusNotPermitted;
        break;
      }
      out.U8(0);
      out.U8(1);
      answers.push_back(EncodeAnswer(m_sign, request, kStatusDone, out.View()));
      ++m_state.protectionSwitches;
      if ((flags & 2) != 0) m_sign.protectionMode = (flags & 0x8000) != 0 ? 0x8002 : 2;
      if ((flags & 1) != 0) m_sign.protectionMode = 1;
      return answers;
    }
    default: status = kStatusUnknownOperation; break;
  }
  answers.push_back(EncodeAnswer(m_sign, request, status, status == kStatusDone ? out.View() : Bytes{}));
  return answers;
}

}  // namespace vantorel::test

#include "comm/uni_comm.h"

namespace vantorel::test {

void ExpectEveryOperationWorks(CUniComm& channel, TestController& controller) {
  std::array<std::uint8_t, 8> version{};
  EXPECT_TRUE(channel.ReadVersion(version));
  EXPECT_EQ(version, (std::array<std::uint8_t, 8>{0x62, 98, 0x12, 0x34, 0x21, 0x03, 0x45, 0x06}));

  std::array<std::uint8_t, 256> all{};
  EXPECT_EQ(channel.ReadAllVersions(all), 32);
  EXPECT_EQ(all[0], 0x62);
  EXPECT_EQ(all[5], 0x80);

  const std::array<std::uint8_t, 7> clock{5, 4, 3, 2, 1, 12, 27};
  EXPECT_TRUE(channel.SetClock(clock));
  std::array<std::uint8_t, 7> readClock{};
  EXPECT_TRUE(channel.ReadClock(readClock));
  EXPECT_EQ(readClock, clock);

  const std::array<std::uint8_t, 6> adjust{0, 4, 0, 0, 0x43, 0};
  EXPECT_TRUE(channel.WriteTemperatureAdjust(adjust));
  std::array<std::uint8_t, 6> temperature{};
  EXPECT_TRUE(channel.ReadTemperature(temperature, 3));
  EXPECT_EQ(temperature, (std::array<std::uint8_t, 6>{0x01, 0x01, 0x95, 0x04, 0x51, 0x43}));

  std::uint32_t answered = 0;
  std::uint32_t refused = 0;
  EXPECT_TRUE(channel.ReadCounters(0, answered, refused));
  EXPECT_GT(answered, 0u);
  EXPECT_EQ(refused, 7u);

  const std::array<std::uint8_t, 4> schedule{6, 30, 23, 15};
  EXPECT_TRUE(channel.WritePowerSchedule(schedule));
  std::array<std::uint8_t, 4> readSchedule{};
  EXPECT_TRUE(channel.ReadPowerSchedule(readSchedule));
  EXPECT_EQ(readSchedule, schedule);

  const std::array<std::uint8_t, 5> switches{1, 0, 1, 0xA5, 0xAE};
  EXPECT_TRUE(channel.WriteSoftwareSwitchInfo(switches));
  std::array<std::uint8_t, 128> readSwitches{};
  EXPECT_TRUE(channel.ReadSoftwareSwitchInfo(readSwitches));
  EXPECT_TRUE(std::equal(switches.begin(), switches.end(), readSwitches.begin()));

  std::array<std::uint8_t, 24> brightness{};
  for (std::size_t i = 0; i < brightness.size(); ++i) brightness[i] = static_cast<std::uint8_t>(i < 20 ? i : 255);
  EXPECT_TRUE(channel.WriteBrightness(brightness));
  std::array<std::uint8_t, 24> readBrightness{};
  EXPECT_TRUE(channel.ReadBrightness(readBrightness));
  EXPECT_EQ(readBrightness, brightness);

  // A message block in two pieces, with every reserved frame byte in it.
  std::vector<std::uint8_t> message(200);
  for (std::size_t i = 0; i < message.size(); ++i) message[i] = static_cast<std::uint8_t>(0xA0 + i % 32);
  EXPECT_TRUE(channel.SendInstantMessage(std::span(message).first(128), 0, 1));
  EXPECT_TRUE(channel.SendInstantMessage(std::span(message).subspan(128), 128, 17));

  std::array<std::uint8_t, 8> running{};
  EXPECT_TRUE(channel.ReadRunningInfo(running, 2));
  EXPECT_EQ(running[0], 2);
  EXPECT_EQ(running[4], 0x1D);

  EXPECT_TRUE(channel.BaseCommand(true));
  EXPECT_TRUE(channel.ReadRunningInfo(running, 2));
  EXPECT_EQ(running[7], 1) << "held";
  EXPECT_TRUE(channel.BaseCommand(false));

  EXPECT_EQ(channel.GetFreeSpace(1), 0x7FFFFFFF);
  EXPECT_EQ(channel.GetFreeSpace64(1), 0x1'2345'6789ull);

  // Basic write of a file of two blocks.
  std::vector<std::uint8_t> file(700);
  for (std::size_t i = 0; i < file.size(); ++i) file[i] = static_cast<std::uint8_t>(i * 7);
  const std::array<std::uint8_t, 6> info{26, 12, 9, 21, 34, 56};
  EXPECT_EQ(channel.OpenWrite("a.lpp", static_cast<std::uint32_t>(file.size()), info), 1);
  std::uint32_t cookie = 0;
  EXPECT_EQ(channel.WriteBlock(std::span(file).first(512), cookie), 1);
  EXPECT_EQ(cookie, 512u);
  EXPECT_EQ(channel.WriteBlock(std::span(file).subspan(512), cookie), 1);
  EXPECT_EQ(cookie, 700u);
  EXPECT_EQ(channel.CloseWrite(cookie), 1);

  // Fast write of one packet answered, one not.
  EXPECT_EQ(channel.StartFastWrite("b.lpt", 600, info), 1);
  EXPECT_EQ(channel.SendPacket(std::span(file).first(512), 0, 512, true), 1);
  EXPECT_EQ(channel.SendPacket(std::span(file).subspan(512, 88), 1, 512, false), 1);
  std::array<std::uint16_t, 36> missing{};
  EXPECT_EQ(channel.QueryMissing(2, missing, 3000), 0);

  std::vector<ControllerFileEntry> list;
  EXPECT_TRUE(channel.ReadDirectory(1, list));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0], (ControllerFileEntry{"a.lpp", "", 700, 2026 * 65536 + 12 * 256 + 9, 21 * 65536 + 34 * 256 + 56}));
  EXPECT_EQ(list[1].name, "b.lpt");

  std::array<std::uint8_t, 100> back{};
  std::uint32_t fileSize = 0;
  EXPECT_EQ(channel.ReadFileBack("a.lpp", 600, 100, back, fileSize), 100);
  EXPECT_EQ(fileSize, 700u);
  EXPECT_TRUE(std::equal(back.begin(), back.end(), file.begin() + 600));
  EXPECT_EQ(channel.ReadFileBack("none", 0, 10, back, fileSize), kCommBadAnswer) << "refused: no such file";

  std::array<std::uint8_t, 600> infoPage{};
  const int infoCount = channel.QueryControllerInfo(0, infoPage);
  EXPECT_GT(infoCount, 2);

  const std::array<std::uint8_t, 7> time{0xEA, 0x07, 12, 9, 21, 34, 56};
  const std::array<std::uint8_t, 16> digest{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  std::array<std::uint8_t, 16> request{};
  EXPECT_EQ(channel.WriteFileRequest("c.rsf", 700, time, digest, 1, request), 15);
  EXPECT_EQ(request[0], 0);
  EXPECT_EQ(channel.WriteFileData(0x0A0B0C0D, 0, 0, std::span(file).first(512), false), 1);
  EXPECT_EQ(channel.WriteFileData(0x0A0B0C0D, 0, 1, std::span(file).subspan(512), true), 1);
  EXPECT_EQ(channel.WriteFileData(0x01020304, 0, 1, std::span(file).subspan(512), true), 0) << "another handle";
  std::array<std::uint8_t, 64> confirm{};
  EXPECT_EQ(channel.WriteFileConfirm(0x0A0B0C0D, 0, 0x1234, confirm), 1);
  EXPECT_EQ(confirm[0], 0);

  EXPECT_TRUE(channel.DeleteFiles("*.*"));
  EXPECT_EQ(channel.FormatStorage(1), 1);
  EXPECT_TRUE(channel.Restart());
  EXPECT_TRUE(channel.RestartLegacy());

  const ControllerState state = controller.State();
  EXPECT_EQ(state.clock, std::vector<std::uint8_t>(clock.begin(), clock.end()));
  EXPECT_EQ(state.message, message);
  EXPECT_TRUE(state.messageComplete);
  EXPECT_EQ(state.temperatureAdjust, 0x43);
  EXPECT_FALSE(state.held);
}

}  // namespace vantorel::test
