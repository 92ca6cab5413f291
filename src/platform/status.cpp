#include "platform/status.h"

#include <cstring>

namespace vantorel {

Status Status::SystemError(int error, const std::filesystem::path& path, TextId text) {
  std::string detail = std::strerror(error);
  if (!path.empty()) detail += " \u2014 " + path.string();
  return Failure(text, std::move(detail));
}

Status Status::WithTitle(TextId title) const& {
  Status titled = *this;
  if (!ok()) titled.m_title = title;
  return titled;
}

Status Status::WithContext(const std::string& context) const {
  if (ok()) return *this;
  Status result = Failure(m_text, m_detail.empty() ? context : context + ": " + m_detail);
  result.m_title = m_title;
  return result;
}

}  // namespace vantorel
