#pragma once

#include <cstddef>
#include <memory>
#include <type_traits>
#include <utility>

namespace vtx {

[[noreturn]] void RaiseObjectNotSet();

// A shared, reference-counted object reference. An empty Ref is Nothing, and a
// call through Nothing raises run-time error 91 instead of crashing, as a call
// through an unset object variable does in Automation.
// Thread-safety: as std::shared_ptr.
template <class T>
class Ref {
 public:
  Ref() = default;
  Ref(std::nullptr_t) {}
  Ref(std::shared_ptr<T> p) : p_(std::move(p)) {}
  template <class U>
    requires std::is_convertible_v<U*, T*>
  Ref(const Ref<U>& other) : p_(other.shared()) {}
  template <class U>
    requires std::is_convertible_v<U*, T*>
  Ref(std::shared_ptr<U> other) : p_(std::move(other)) {}

  T* operator->() const {
    if (!p_) RaiseObjectNotSet();
    return p_.get();
  }
  T& operator*() const {
    if (!p_) RaiseObjectNotSet();
    return *p_;
  }
  explicit operator bool() const { return static_cast<bool>(p_); }
  bool IsNothing() const { return !p_; }
  T* get() const { return p_.get(); }
  const std::shared_ptr<T>& shared() const { return p_; }
  long use_count() const { return p_.use_count(); }
  void reset() { p_.reset(); }

  template <class U>
  friend bool operator==(const Ref& a, const Ref<U>& b) {
    return static_cast<const void*>(a.get()) == static_cast<const void*>(b.get());
  }
  friend bool operator==(const Ref& a, std::nullptr_t) { return !a.p_; }

 private:
  std::shared_ptr<T> p_;
};

template <class T, class... Args>
Ref<T> MakeRef(Args&&... args) {
  return Ref<T>(std::make_shared<T>(std::forward<Args>(args)...));
}

}  // namespace vtx
