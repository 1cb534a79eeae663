#pragma once
#include <utility>

#include "mixer/com_ref.h"

// A callback registered with a source for as long as this lives: it is
// unregistered before either is let go, on every way out. Unregister is the
// one call that undoes the registration.
template <typename Source, typename Callback, void (*Unregister)(Source*, Callback*)>
class Registration {
 public:
  Registration() = default;
  ~Registration() { reset(); }
  Registration(const Registration&) = delete;
  Registration& operator=(const Registration&) = delete;
  Registration(Registration&& other)
      : source_(std::move(other.source_)), callback_(std::move(other.callback_)) {}
  Registration& operator=(Registration&& other) {
    if (this != &other) {
      reset();
      source_ = std::move(other.source_);
      callback_ = std::move(other.callback_);
    }
    return *this;
  }

  // A callback that source has just taken: both are held from now on.
  void adopt(Source* source, ComRef<Callback> callback) {
    reset();
    source->AddRef();
    *source_.out() = source;
    callback_ = std::move(callback);
  }
  void reset() {
    if (callback_) Unregister(source_.get(), callback_.get());
    callback_.reset();
    source_.reset();
  }
  explicit operator bool() const { return static_cast<bool>(callback_); }

 private:
  ComRef<Source> source_;
  ComRef<Callback> callback_;
};

// Registers a new callback with source through register_; what it takes is
// held by r. Without the callback a binding still works, it only does not
// hear of changes: false then, and r holds nothing.
template <typename Source, typename Callback, void (*Unregister)(Source*, Callback*),
          typename Register>
bool registerCallback(Registration<Source, Callback, Unregister>& r, Source* source, Callback* made,
                      Register register_) {
  ComRef<Callback> callback(made);
  r.reset();
  if (!callback || source == nullptr || !register_(source, callback.get())) return false;
  r.adopt(source, std::move(callback));
  return true;
}
