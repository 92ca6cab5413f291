#pragma once
// The one failure type of the core. An operation that can fail returns a Status (or an
// Expected<T> when it also gives a value): success, or the numbered text a user is shown plus a
// detail that says what exactly went wrong (a path, the system's error text, a line or offset).
// Front ends turn a failure into a message with StatusMessage (app/status_text.h); nothing below
// them shows or prints anything.
//
// Readers of outside files that load what is sound and drop the rest say what they dropped with
// ReadWarnings: how much, and the first reason.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace vantorel {

// A string-table number (app/text_ids.h names them). 0: no text of its own, shown as "Failed".
using TextId = int;
inline constexpr TextId kNoTextId = 0;

class [[nodiscard]] Status {
public:
  // Success.
  Status() = default;
  static Status Ok() { return {}; }
  // When `text` holds a printf placeholder ("You can define maxinum %d LED screens."), the detail
  // is shown in its place instead of after it.
  static Status Failure(TextId text, std::string detail = {}) { return Status(text, std::move(detail)); }
  // A failure of the system call that set `error` (an errno value) on `path`:
  // "No space left on device — /data/work/av0001.ldt".
  static Status SystemError(int error, const std::filesystem::path& path, TextId text = kNoTextId);

  bool ok() const { return !m_failed; }
  explicit operator bool() const { return ok(); }
  TextId text() const { return m_text; }
  const std::string& detail() const { return m_detail; }
  // The title of the message box that shows the failure; kNoTextId leaves it to the front end.
  TextId title() const { return m_title; }

  // The same failure under another text, keeping the detail (a caller names what failed).
  Status WithText(TextId text) const& { return ok() ? *this : Status(text, m_detail); }
  // The same failure shown under message-box title `title` (a rule's refusal names its title).
  Status WithTitle(TextId title) const&;
  // The same failure with `context` in front of its detail ("screen 3: ...").
  Status WithContext(const std::string& context) const;

  friend bool operator==(const Status&, const Status&) = default;

private:
  Status(TextId text, std::string detail) : m_failed(true), m_text(text), m_detail(std::move(detail)) {}

  bool m_failed = false;
  TextId m_text = kNoTextId;
  TextId m_title = kNoTextId;
  std::string m_detail;
};

// A value, or the failure that kept it from being made.
template <typename T>
class [[nodiscard]] Expected {
public:
  Expected(T value) : m_state(std::move(value)) {}  // NOLINT(google-explicit-constructor)
  Expected(Status failure) : m_state(std::move(failure)) {}  // NOLINT(google-explicit-constructor)

  bool ok() const { return std::holds_alternative<T>(m_state); }
  explicit operator bool() const { return ok(); }
  // Success when there is a value.
  Status status() const { return ok() ? Status::Ok() : std::get<Status>(m_state); }

  T& value() & { return std::get<T>(m_state); }
  const T& value() const& { return std::get<T>(m_state); }
  T&& value() && { return std::get<T>(std::move(m_state)); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T value_or(T fallback) const& { return ok() ? value() : std::move(fallback); }

private:
  std::variant<T, Status> m_state;
};

// What a lenient reader dropped: the count and the first reason ("line 12: unknown key").
struct ReadWarnings {
  std::size_t dropped = 0;
  std::string firstReason;

  void Drop(std::string reason) {
    if (dropped++ == 0) firstReason = std::move(reason);
  }
  bool empty() const { return dropped == 0; }
};

}  // namespace vantorel
