// The network channel against a controller listening on 127.0.0.1: the probe over UDP, the
// packets over TCP, protection switched on and off, and the faults a network brings.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "comm/comm_lan.h"
#include "comm/connection_slots.h"
#include "comm/create_comm.h"
#include "comm/operations.h"
#include "comm/probe.h"
#include "screen/controller_types.h"
#include "test_controller.h"

namespace vantorel::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kIdCode = 0x12345678;
constexpr const char* kKeyText = "Kx9#q";

LanTimeouts QuickTimeouts() {
  LanTimeouts timeouts;
  timeouts.connectMs = 2000;
  timeouts.sendMs = 1000;
  timeouts.receiveMs = 800;
  timeouts.probeMs = 200;
  timeouts.pauseMs = 1;
  return timeouts;
}

std::unique_ptr<TestController> StartController(int protectionMode = 1) {
  SignIdentity sign;
  sign.idCode = kIdCode;
  sign.keyText = kKeyText;
  sign.protectionMode = protectionMode;
  return TestController::OverTcp(sign);
}

std::unique_ptr<CCommLan> Channel(const TestController& controller, std::uint32_t model = kModelN5A) {
  tagCommParam param;
  param.commType = 2;
  param.ipv4 = 0x7F000001;
  param.port = controller.Port();
  param.idCode = kIdCode;
  param.modelCode = model;
  std::unique_ptr<CUniComm> channel = CreateComm(param);
  auto* lan = dynamic_cast<CCommLan*>(channel.get());
  if (lan == nullptr) return nullptr;
  channel.release();
  lan->SetTimeouts(QuickTimeouts());
  return std::unique_ptr<CCommLan>(lan);
}

std::string ProbeLine(std::uint16_t options, std::uint16_t mode) {
  return MakeProbeLine(ProbeInfo{"sign-1", kKeyText, "Korvan-N5A", options, mode});
}

TEST(LanChannelTest, EveryOperationUnprotectedAndProtected) {
  struct Row {
    const char* name;
    int controllerMode;
    bool probe;
  };
  const Row rows[] = {
      {"no probe answer, unprotected", 1, false},
      {"probe answer, unprotected", 1, true},
      {"probe answer, protected with the key text", 2, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto controller = StartController(row.controllerMode);
    ASSERT_TRUE(controller);
    if (row.probe) controller->AnswerProbes(ProbeLine(0, static_cast<std::uint16_t>(row.controllerMode)));
    auto channel = Channel(*controller);
    ASSERT_TRUE(channel);
    ASSERT_TRUE(channel->Open()) << channel->LastFailure().detail();
    EXPECT_EQ(channel->ProtectionMode(), row.controllerMode);
    ExpectEveryOperationWorks(*channel, *controller);
    channel->Close();
  }
}

TEST(LanChannelTest, ProbeDefaultsAndRefusals) {
  struct Row {
    const char* name;
    std::uint32_t model;
    const char* answer;   // nullptr: no responder
    bool opens;
    std::uint16_t options, mode;
    const char* key;
  };
  const Row rows[] = {
      {"M model is not probed", kModelM3, "garbage", true, 1, 1, ""},
      {"M5 is not probed", kModelM5, "garbage", true, 1, 1, ""},
      {"no answer: defaults", kModelN5A, nullptr, true, 1, 1, ""},
      {"answer without KV~:", kModelN5A, "HELLO\tkey\tmodel\t1\t1", false, 0, 0, ""},
      {"tag in lower case is taken", kModelN5A, "kv~:abc\tkey2\tm\t0\t1", true, 0, 1, "key2"},
      {"one field only", kModelN5A, "KV~:sign", false, 0, 0, ""},
      {"first field too short", kModelN5A, "KV~:\tkey", false, 0, 0, ""},
      {"two fields: options and mode 1", kModelN5A, "KV~:sign\tkey3", true, 1, 1, "key3"},
      {"M6 is probed", kModelM6, "nothing of ours", false, 0, 0, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto controller = StartController();
    ASSERT_TRUE(controller);
    if (row.answer != nullptr) controller->AnswerProbes(row.answer);
    auto channel = Channel(*controller, row.model);
    ASSERT_TRUE(channel);
    EXPECT_EQ(channel->Open(), row.opens) << channel->LastFailure().detail();
    if (row.opens) {
      EXPECT_EQ(channel->ProtectionOptions(), row.options);
      EXPECT_EQ(channel->ProtectionMode(), row.mode);
      EXPECT_EQ(channel->ProtectionModeAtConnection(), row.mode);
      EXPECT_EQ(channel->KeyText(), row.key);
      std::array<std::uint8_t, 7> clock{};
      EXPECT_TRUE(channel->ReadClock(clock));
      EXPECT_EQ(controller->Connections(), 1);
      channel->Close();
    } else {
      EXPECT_EQ(channel->OpenCount(), 0);
      EXPECT_EQ(channel->GetErrorText(), "Failed to connect 127.0.0.1 : " + std::to_string(controller->Port()));
      EXPECT_EQ(channel->Slot(), -1);
      EXPECT_EQ(controller->Connections(), 0) << "no connection after a refused probe";
    }
  }
}

TEST(LanChannelTest, ProtectionSwitchedOnAtOpenAndOffAtTheLastClose) {
  struct Row {
    const char* name;
    std::uint16_t options, mode;
    int modeWhileOpen, modeAfter, switches;
  };
  const Row rows[] = {
      {"on at open, off at close", 3, 1, 2, 1, 2},
      {"on at open only", 2, 1, 2, 2, 1},
      {"already protected: no switch", 3, 2, 2, 2, 0},
      {"no options", 0, 1, 1, 1, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto controller = StartController(row.mode);
    ASSERT_TRUE(controller);
    controller->AnswerProbes(ProbeLine(row.options, row.mode));
    auto channel = Channel(*controller);
    ASSERT_TRUE(channel->Open()) << channel->LastFailure().detail();
    ASSERT_TRUE(channel->Open());
    EXPECT_EQ(channel->ProtectionMode(), row.modeWhileOpen);
    EXPECT_EQ(controller->ProtectionMode(), row.modeWhileOpen);
    std::array<std::uint8_t, 7> clock{};
    EXPECT_TRUE(channel->ReadClock(clock)) << "packets follow the switched mode";
    channel->Close();
    EXPECT_EQ(controller->ProtectionMode(), row.modeWhileOpen) << "an inner close switches nothing";
    channel->Close();
    EXPECT_EQ(controller->ProtectionMode(), row.modeAfter);
    EXPECT_EQ(controller->State().protectionSwitches, row.switches);
  }
}

TEST(LanChannelTest, ConfigureContextFollowsTheMode) {
  auto controller = StartController(0x8002);
  controller->AnswerProbes(ProbeLine(0, 0x8002));
  tagCommParam param;
  param.commType = 2;
  param.ipv4 = 0x7F000001;
  param.port = controller->Port();
  param.idCode = kIdCode;
  param.customPassword = "pass5678";
  auto channel = CreateComm(param);
  static_cast<CCommLan&>(*channel).SetTimeouts(QuickTimeouts());
  ASSERT_TRUE(channel->Open());
  auto ctx = KVLINK_CreateContext(channel->ProtocolKind(), 255, channel->ContextIdCode());
  channel->ConfigureContext(*ctx);
  EXPECT_EQ(ctx->param1, kKeyText);
  EXPECT_EQ(ctx->protectionMode, 32770);
  EXPECT_EQ(ctx->password, "pass5678");
  EXPECT_EQ(ctx->idCode, kIdCode);
  channel->Close();

  CCommLan plain(0x7F000001, 1, 5200, "x", "", "");
  auto ctx2 = KVLINK_CreateContext(plain.ProtocolKind(), 255, plain.ContextIdCode());
  plain.ConfigureContext(*ctx2);
  EXPECT_EQ(ctx2->param1, "");
  EXPECT_EQ(ctx2->protectionMode, 1);
}

TEST(LanChannelTest, FaultsFailWithoutHanging) {
  struct Row {
    const char* name;
    ControllerFault fault;
  };
  const Row rows[] = {
      {"never answers", ControllerFault::kSilent},
      {"disconnects mid-answer", ControllerFault::kDisconnectMidAnswer},
      {"short answers", ControllerFault::kShortAnswers},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto controller = StartController();
    auto channel = Channel(*controller);
    ASSERT_TRUE(channel->Open());
    controller->SetFault(row.fault);
    const auto start = std::chrono::steady_clock::now();
    std::array<std::uint8_t, 7> clock{1, 1, 1, 1, 1, 1, 1};
    EXPECT_FALSE(channel->ReadClock(clock));
    EXPECT_EQ(clock, (std::array<std::uint8_t, 7>{}));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(800 + 1500));
    channel->Close();
    EXPECT_EQ(channel->Slot(), -1);
  }
}

TEST(LanChannelTest, APeerThatClosedMakesSendFailAndMarksTheSlot) {
  auto controller = StartController();
  controller->SetFault(ControllerFault::kCloseAfterAccept);
  auto channel = Channel(*controller);
  ASSERT_TRUE(channel->Open());
  const int slot = channel->Slot();
  ASSERT_GE(slot, 0);
  EXPECT_TRUE(ConnectionSlots::Instance().Get(slot).taken);
  EXPECT_EQ(ConnectionSlots::Instance().Get(slot).port, controller->Port());
  std::vector<std::uint8_t> bytes(64 * 1024, 0x11);
  bool failed = false;
  for (int i = 0; i < 50 && !failed; ++i) {
    failed = !channel->Send(bytes);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_TRUE(failed) << "writes to a closed peer fail";
  EXPECT_TRUE(ConnectionSlots::Instance().Get(slot).broken);
  channel->Close();
  EXPECT_FALSE(ConnectionSlots::Instance().Get(slot).taken);
}

TEST(LanChannelTest, MissingPacketQueryAsksFourTimesThenGivesUp) {
  auto controller = StartController();
  auto channel = Channel(*controller);
  LanTimeouts timeouts = QuickTimeouts();
  timeouts.receiveMs = 100;
  channel->SetTimeouts(timeouts);
  ASSERT_TRUE(channel->Open());
  controller->SetFault(ControllerFault::kSilent);
  std::array<std::uint16_t, 36> list{};
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(channel->QueryMissing(3, list, 150), kCommSendFailed);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(4 * 250 + 1000));
  const std::vector<std::uint8_t> log = controller->Log();
  EXPECT_EQ(std::count(log.begin(), log.end(), Code(Op::kQueryMissing)), 4);
  channel->Close();
}

TEST(LanChannelTest, DirectoryOfManyAnswersBackToBack) {
  for (const std::size_t files : {0u, 3u, 4u, 9u}) {
    SCOPED_TRACE(files);
    auto controller = StartController();
    std::vector<ControllerState::File> list;
    for (std::size_t i = 0; i < files; ++i) list.push_back({"file" + std::to_string(i) + ".lpp", Bytes(i * 10, 1)});
    controller->SetFiles(list);
    auto channel = Channel(*controller);
    ASSERT_TRUE(channel->Open());
    std::vector<ControllerFileEntry> entries;
    ASSERT_TRUE(channel->ReadDirectory(1, entries));
    ASSERT_EQ(entries.size(), files);
    for (std::size_t i = 0; i < files; ++i) {
      EXPECT_EQ(entries[i].name, list[i].name);
      EXPECT_EQ(entries[i].size, i * 10);
    }
    std::array<std::uint8_t, 7> clock{};
    EXPECT_TRUE(channel->ReadClock(clock)) << "nothing of the listing is left over";
    channel->Close();
  }
}

TEST(LanChannelTest, NoListenerFailsToOpenWithItsErrorText) {
  std::uint16_t port = 0;
  {
    auto listener = TcpListener::Listen(0x7F000001, 0);
    ASSERT_TRUE(listener.ok());
    port = listener->Port();
  }
  CCommLan channel(0x7F000001, 0, port, "", "", "");
  channel.SetTimeouts(QuickTimeouts());
  const int taken = ConnectionSlots::Instance().TakenCount();
  EXPECT_FALSE(channel.Open());
  EXPECT_EQ(channel.GetErrorText(), "Failed to connect 127.0.0.1 : " + std::to_string(port));
  EXPECT_EQ(ConnectionSlots::Instance().TakenCount(), taken) << "the slot is given back";
}

TEST(LanChannelTest, ConnectionSlotTableThreads) {
  ConnectionSlots& slots = ConnectionSlots::Instance();
  const int before = slots.TakenCount();
  std::vector<std::thread> threads;
  std::atomic<int> doubleTaken{0};
  std::array<std::atomic<int>, ConnectionSlots::kSlotCount> owners{};
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 500; ++round) {
        const auto slot = slots.Take();
        if (!slot) continue;
        if (owners[static_cast<std::size_t>(*slot)].exchange(t + 1) != 0) ++doubleTaken;
        slots.Record(*slot, t, 0x7F000001, static_cast<std::uint16_t>(round), 0);
        if (round % 3 == 0) slots.MarkBroken(*slot);
        owners[static_cast<std::size_t>(*slot)] = 0;
        slots.Release(*slot);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(doubleTaken, 0);
  EXPECT_EQ(slots.TakenCount(), before);

  // All 256 taken: the next one is refused, and a network open fails.
  std::vector<int> taken;
  while (const auto slot = slots.Take()) taken.push_back(*slot);
  EXPECT_EQ(static_cast<int>(taken.size()) + before, ConnectionSlots::kSlotCount);
  auto controller = StartController();
  auto channel = Channel(*controller);
  EXPECT_FALSE(channel->Open());
  EXPECT_EQ(controller->Connections(), 0);
  for (const int slot : taken) slots.Release(slot);
  EXPECT_TRUE(channel->Open());
  channel->Close();
}

}  // namespace
}  // namespace vantorel::test
