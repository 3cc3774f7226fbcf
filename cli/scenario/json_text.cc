#include "cli/scenario/json_text.h"

#include <set>
#include <vector>

#include <fmt/format.h>

namespace vtx::cli {
namespace {

constexpr std::size_t kShownPathLength = 60;

// Where the parser is, so that errors can name the entry being read.
class PathTracker {
 public:
  bool OnEvent(Json::parse_event_t event, const Json& parsed) {
    using Event = Json::parse_event_t;
    switch (event) {
      case Event::object_start:
      case Event::array_start:
        if (frames_.size() >= kMaxJsonDepth) {
          // The path of so deep an entry would drown the message: its start tells where.
          std::string path = Path();
          if (path.size() > kShownPathLength) path = path.substr(0, kShownPathLength) + "...";
          throw JsonPathError(path, fmt::format("nested deeper than {} levels", kMaxJsonDepth));
        }
        frames_.push_back(Frame{event == Event::array_start, 0, {}, {}});
        break;
      case Event::key:
        frames_.back().key = parsed.get<std::string>();
        if (!frames_.back().keys.insert(frames_.back().key).second)
          throw JsonPathError(Path(), "duplicate key");
        break;
      case Event::object_end:
      case Event::array_end:
        frames_.pop_back();
        Advance();
        break;
      case Event::value:
        Advance();
        break;
    }
    return true;
  }

  // The entry being read: the current key of each object, the next index of
  // each array.
  std::string Path() const {
    std::string path;
    for (const Frame& f : frames_) path = f.array ? JoinIndex(path, f.index) : JoinKey(path, f.key);
    return path;
  }

 private:
  struct Frame {
    bool array;
    std::size_t index;
    std::string key;
    std::set<std::string> keys;
  };
  void Advance() {
    if (!frames_.empty() && frames_.back().array) ++frames_.back().index;
  }
  std::vector<Frame> frames_;
};

}  // namespace

Json ParseJsonText(const std::string& text) {
  PathTracker tracker;
  try {
    return Json::parse(text, [&](int, Json::parse_event_t event, Json& parsed) {
      return tracker.OnEvent(event, parsed);
    });
  } catch (const Json::parse_error& e) {
    throw JsonPathError("", fmt::format("not valid JSON (byte {})", e.byte));
  } catch (const Json::out_of_range&) {
    // The reader's only range error: a number beyond a double (1e400).
    throw JsonPathError(tracker.Path(), "number out of range");
  }
}

}  // namespace vtx::cli
