#pragma once

#include "emulator/sql/database.h"
#include "emulator/store/store.h"

namespace vtx::emu {

// One call into the add-in as one transaction of the store: what the call
// writes is committed when it returns, whatever it returned, and a process
// that dies before leaves nothing of it. The write lock is taken at the
// first write (or at once with `lock_now`, when what the call reads decides
// what it writes). Destroyed without Commit() (an exception the call did not
// handle), the call's writes are rolled back.
// Thread-safety: the store's thread.
class CallTransaction {
 public:
  explicit CallTransaction(Store& store, bool lock_now = false) : db_(store.Db()) {
    db_.BeginCall();
    if (lock_now) {
      try {
        db_.LockCall();
      } catch (...) {
        db_.AbandonCall();
        throw;
      }
    }
  }
  ~CallTransaction() {
    if (!done_) db_.AbandonCall();
  }
  CallTransaction(const CallTransaction&) = delete;
  CallTransaction& operator=(const CallTransaction&) = delete;

  // Raises RuntimeError when the commit fails (the call's writes are lost).
  void Commit() {
    done_ = true;
    db_.EndCall();
  }

 private:
  Database& db_;
  bool done_ = false;
};

}  // namespace vtx::emu
