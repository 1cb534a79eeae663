#pragma once

// One COM reference, released when it goes out of scope.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  explicit ComRef(T* taken) : p_(taken) {}
  ~ComRef() { reset(); }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ComRef(ComRef&& other) : p_(other.release()) {}
  ComRef& operator=(ComRef&& other) {
    if (this != &other) {
      reset();
      p_ = other.release();
    }
    return *this;
  }

  T** out() {
    reset();
    return &p_;
  }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // Hands the reference over to the caller.
  T* release() {
    T* p = p_;
    p_ = nullptr;
    return p;
  }
  void reset() {
    if (p_ != nullptr) p_->Release();
    p_ = nullptr;
  }

 private:
  T* p_ = nullptr;
};
