// vantorel-sign: a virtual LED controller that answers the program over TCP on 127.0.0.1 (or
// another explicit address), the UDP probe on the same port, and a pseudo-terminal in place of a
// serial line. docs/virtual-sign.md describes every option.

#include <cstdio>
#include <string>
#include <vector>

#include "app/status_text.h"
#include "platform/descriptor_wait.h"
#include "platform/sign_io.h"
#include "sign/request_log.h"
#include "sign/sign_options.h"
#include "sign/sign_server.h"

using namespace vantorel;

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const Expected<SignOptions> options = ParseSignOptions(arguments);
  if (!options) {
    std::fprintf(stderr, "vantorel-sign: %s\n%s", StatusMessage(options.status()).c_str(), SignUsage().c_str());
    return 2;
  }
  if (options->help) {
    std::fputs(SignUsage().c_str(), stdout);
    return 0;
  }
  std::FILE* logFile = stderr;
  if (!options->logFile.empty()) {
    logFile = std::fopen(options->logFile.c_str(), "a");
    if (logFile == nullptr) {
      std::fprintf(stderr, "vantorel-sign: %s\n", StatusMessage(Status::SystemError(errno, options->logFile)).c_str());
      return 1;
    }
  }
  RequestLog log(logFile);
  Expected<std::unique_ptr<SignServer>> server = SignServer::Start(*options, log);
  if (!server) {
    std::fprintf(stderr, "vantorel-sign: %s\n", StatusMessage(server.status()).c_str());
    return 1;
  }
  for (const TcpAddress& address : (*server)->Addresses()) {
    std::printf("tcp: %s\n", DottedEndpoint(address.ipv4, address.port).c_str());
  }
  if (!(*server)->SerialPath().empty()) std::printf("serial: %s\n", (*server)->SerialPath().c_str());
  std::printf("store: %s\n", (*server)->StoreFolder().c_str());
  std::fflush(stdout);
  const StopOnSignals stopper((*server)->Wake());
  const Status ran = (*server)->Run();
  if (!ran) {
    std::fprintf(stderr, "vantorel-sign: %s\n", StatusMessage(ran).c_str());
    return 1;
  }
  return 0;
}
