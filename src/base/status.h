// The outcome of an operation that can fail: ok, or a failure with its kind
// and a reason a user can read. `Result<T>` carries a value or such a failure.
// Both are plain values: copyable, movable, safe to pass between threads.
#pragma once

#include <cassert>
#include <string>
#include <utility>
#include <variant>

namespace edb {

enum class StatusCode {
  kOk,
  kCorruption,   // the input is damaged: this object is lost, the rest goes on
  kIoError,      // the file could not be read (permission, device error...)
  kUnsupported,  // a format or feature this reader does not know
  kNotFound,     // no such table, column or value
};

class [[nodiscard]] Status {
 public:
  Status() = default;
  static Status Ok() { return Status(); }
  static Status Corruption(std::string reason) { return Status(StatusCode::kCorruption, std::move(reason)); }
  static Status IoError(std::string reason) { return Status(StatusCode::kIoError, std::move(reason)); }
  static Status Unsupported(std::string reason) { return Status(StatusCode::kUnsupported, std::move(reason)); }
  static Status NotFound(std::string reason) { return Status(StatusCode::kNotFound, std::move(reason)); }

  bool ok() const { return code_ == StatusCode::kOk; }
  StatusCode code() const { return code_; }
  // What went wrong, for a person; empty when ok.
  const std::string& reason() const { return reason_; }

  // The failure, marked as caused by damage the reader has reported already
  // under `where`: callers add to that damage's cost instead of reporting
  // the failure again.
  Status ReportedAs(std::string where) && {
    reported_as_ = std::move(where);
    return std::move(*this);
  }
  // The `where` of that report; empty when the failure was not reported.
  const std::string& reported_as() const { return reported_as_; }

 private:
  Status(StatusCode code, std::string reason) : code_(code), reason_(std::move(reason)) {}

  StatusCode code_ = StatusCode::kOk;
  std::string reason_;
  std::string reported_as_;
};

// A value, or the failure that prevented it. Construct from a T or from a
// failed Status (never from an ok one).
template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : state_(std::move(value)) {}  // NOLINT: implicit by design
  Result(Status failure) : state_(std::move(failure)) {  // NOLINT
    assert(!std::get<Status>(state_).ok());
  }

  bool ok() const { return std::holds_alternative<T>(state_); }
  explicit operator bool() const { return ok(); }

  // The failure; Status::Ok() when there is a value.
  Status status() const { return ok() ? Status::Ok() : std::get<Status>(state_); }

  T& value() & { return std::get<T>(state_); }
  const T& value() const& { return std::get<T>(state_); }
  T&& value() && { return std::get<T>(std::move(state_)); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }

 private:
  std::variant<T, Status> state_;
};

}  // namespace edb
