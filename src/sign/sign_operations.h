#pragma once
// What the virtual sign does with each request it takes: the answer data of every operation of
// docs/protocol.md, made from its state (sign_state.h) and its store (sign_store.h), and the
// changes requests make to them (saved to the store at once, so a killed sign loses nothing).
//
// Owned by one thread (the sign's poll loop).

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "comm/packet.h"
#include "sign/sign_options.h"
#include "sign/sign_state.h"
#include "sign/sign_store.h"

namespace vantorel {

struct SignAnswer {
  std::uint8_t status = 0;          // operations.h kStatus...
  std::vector<std::uint8_t> data;   // only with status 0
};

struct SignReply {
  std::vector<SignAnswer> answers;  // empty: the request asks for no answer
  std::string note;                 // for the log ("restart asked", "message 3 saved")
};

class SignOperations {
public:
  using Clock = std::function<std::time_t()>;

  // `clock` gives this computer's time (std::time by default; tests fix it).
  SignOperations(const SignOptions& options, SignState state, SignStore store, Clock clock = {});

  SignReply Handle(const PacketFields& request);

  // Requests refused before they reached Handle (counted for ReadCounters).
  void CountRefused() { ++m_refused; }
  const SignState& State() const { return m_state; }
  int ProtectionMode() const { return m_state.protectionMode; }
  // The last failure of saving the state or a file (the sign logs it); Ok when none.
  const Status& LastSaveStatus() const { return m_saveStatus; }
  Status Save();

private:
  SignAnswer Answer(const PacketFields& request, std::string& note);
  SignAnswer Temperature(std::uint8_t selector) const;
  SignAnswer MessagePiece(const std::vector<std::uint8_t>& data, std::string& note);
  SignAnswer Protection(const std::vector<std::uint8_t>& data, std::string& note);
  SignAnswer FreeSpace(std::uint8_t selector) const;
  SignAnswer ControllerInfo(std::uint8_t page) const;
  SignAnswer OpenFile(const std::vector<std::uint8_t>& data);
  SignAnswer WriteBlock(const std::vector<std::uint8_t>& data);
  SignAnswer CloseFile(const std::vector<std::uint8_t>& data, std::string& note);
  SignAnswer ReadBack(const std::vector<std::uint8_t>& data) const;
  std::vector<SignAnswer> Directory() const;
  void Changed();

  SignOptions m_options;
  SignState m_state;
  SignStore m_store;
  Clock m_clock;
  Status m_saveStatus;
  std::uint32_t m_answered = 0;
  std::uint32_t m_refused = 0;
  std::vector<std::uint8_t> m_message;   // instant message pieces so far
  struct OpenWrite {
    bool open = false;
    std::string name;
    std::uint32_t size = 0;
    std::vector<std::uint8_t> bytes;
  } m_write;
};

}  // namespace vantorel
