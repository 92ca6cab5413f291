#include "platform/md5_digest.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <openssl/evp.h>

#include <array>
#include <cerrno>
#include <memory>

namespace vantorel {
namespace {

struct ContextDeleter {
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
using Context = std::unique_ptr<EVP_MD_CTX, ContextDeleter>;

Context NewMd5Context() {
  Context context(EVP_MD_CTX_new());
  if (context && EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) != 1) context.reset();
  return context;
}

std::string Finish(EVP_MD_CTX* context) {
  std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
  unsigned int length = 0;
  if (EVP_DigestFinal_ex(context, digest.data(), &length) != 1) return {};
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(2 * length);
  for (unsigned int i = 0; i < length; ++i) {
    hex.push_back(kHex[digest[i] >> 4]);
    hex.push_back(kHex[digest[i] & 0x0f]);
  }
  return hex;
}

// Closes the descriptor on every way out.
struct FileCloser {
  int fd;
  ~FileCloser() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

std::string Md5Hex(std::span<const std::uint8_t> bytes) {
  const Context context = NewMd5Context();
  if (!context || EVP_DigestUpdate(context.get(), bytes.data(), bytes.size()) != 1) return {};
  return Finish(context.get());
}

std::string Md5Hex(std::string_view text) {
  return Md5Hex(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

Expected<std::string> Md5HexOfFile(const std::filesystem::path& file) {
  const FileCloser in{::open(file.c_str(), O_RDONLY | O_CLOEXEC)};
  if (in.fd < 0) return Status::SystemError(errno, file);
  struct stat info {};
  if (::fstat(in.fd, &info) != 0) return Status::SystemError(errno, file);
  if (!S_ISREG(info.st_mode)) return Status::SystemError(S_ISDIR(info.st_mode) ? EISDIR : EINVAL, file);
  const Context context = NewMd5Context();
  if (!context) return Status::SystemError(ENOMEM, file);
  std::array<std::uint8_t, 64 * 1024> block{};
  for (;;) {
    const ssize_t got = ::read(in.fd, block.data(), block.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return Status::SystemError(errno, file);
    }
    if (got == 0) break;
    if (EVP_DigestUpdate(context.get(), block.data(), static_cast<std::size_t>(got)) != 1) {
      return Status::SystemError(EIO, file);
    }
  }
  std::string hex = Finish(context.get());
  if (hex.empty()) return Status::SystemError(EIO, file);
  return hex;
}

}  // namespace vantorel
