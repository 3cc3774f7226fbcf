#pragma once

#include <stdexcept>
#include <string>

namespace vtx::emu {

// A model that cannot be loaded. `Path()` is the JSON path of the offending
// entry ("classes[2].super"), `Message()` what is wrong with it ("unknown class
// 999"); what() joins them: "classes[2].super: unknown class 999".
// Thread-safety: a value; immutable after construction.
class ModelError : public std::runtime_error {
 public:
  ModelError(std::string path, std::string message)
      : std::runtime_error(path.empty() ? message : path + ": " + message),
        path_(std::move(path)),
        message_(std::move(message)) {}

  const std::string& Path() const noexcept { return path_; }
  const std::string& Message() const noexcept { return message_; }

 private:
  std::string path_;
  std::string message_;
};

}  // namespace vtx::emu
