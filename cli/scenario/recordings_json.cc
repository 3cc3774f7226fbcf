#include "cli/scenario/recordings_json.h"

namespace vtx::cli {
namespace {

Json ObjectList(const std::vector<emu::ObjectRef>& refs, const ClassNamer& class_name) {
  Json list = Json::array();
  for (const auto& ref : refs) list.push_back(ObjectJson(ref, class_name));
  return list;
}

Json StringList(const std::vector<std::string>& strings) {
  Json list = Json::array();
  for (const auto& s : strings) list.push_back(s);
  return list;
}

Json Messages(const std::vector<ShownMessage>& messages) {
  Json list = Json::array();
  for (const auto& m : messages) {
    Json title = m.title ? Json(*m.title) : Json(nullptr);
    list.push_back(Json{{"text", m.text}, {"style", m.style}, {"title", std::move(title)}});
  }
  return list;
}

Json Views(const std::vector<emu::RecordedView>& views, const ClassNamer& class_name) {
  Json list = Json::array();
  for (const auto& v : views) {
    const bool shown = v.view->WasShown();
    Json entry = {{"type", v.view->Type()},
                  {"caption", v.view->Caption()},
                  {"modal", v.view->Modal()},
                  {"shown", shown},
                  {"count", v.view->ObjectCount()}};
    // Only what the user saw: the history viewer fills one view per history
    // object with all of them, and listing every view would grow with the
    // square of the history.
    if (shown) entry["objects"] = ObjectList(v.view->ObjectIds(), class_name);
    list.push_back(std::move(entry));
  }
  return list;
}

Json Dialogs(const std::vector<DialogSnapshot>& dialogs) {
  Json list = Json::array();
  for (const auto& d : dialogs) {
    list.push_back(Json{{"name", d.name},
                        {"caption", d.caption},
                        {"lines", StringList(d.lines)},
                        {"buttons", StringList(d.buttons)},
                        {"font", d.font}});
  }
  return list;
}

Json Notifications(const std::vector<emu::NotificationRecord>& notifications,
                   const ClassNamer& class_name) {
  Json list = Json::array();
  for (const auto& n : notifications) {
    list.push_back(
        Json{{"kind", n.kind}, {"objects", ObjectList(n.objects, class_name)}, {"flag", n.flag}});
  }
  return list;
}

Json Reports(const std::vector<emu::ReportRecord>& reports, const ClassNamer& class_name,
             const ValueEncoder& encoder) {
  Json list = Json::array();
  for (const auto& r : reports) {
    list.push_back(Json{{"objects", ObjectList(r.objects, class_name)},
                        {"files", StringList(r.files)},
                        {"returned", encoder.Encode(r.returned)}});
  }
  return list;
}

Json Trace(const std::vector<emu::TraceEntry>& trace, const ValueEncoder& encoder) {
  Json list = Json::array();
  for (const auto& t : trace) {
    Json args = Json::array();
    for (const auto& a : t.args) {
      Json value = encoder.Encode(a.value);
      args.push_back(a.by_reference ? Json{{"byref", std::move(value)}} : std::move(value));
    }
    list.push_back(Json{{"op", t.op}, {"args", std::move(args)}});
  }
  return list;
}

}  // namespace

Json ObjectJson(const emu::ObjectRef& ref, const ClassNamer& class_name) {
  return Json{{"class", class_name(ref.class_id)}, {"id", ref.object_id}};
}

void AddRecordings(const emu::StepRecordings& seen, const ClassNamer& class_name,
                   const ValueEncoder& encoder, bool with_trace, Json& entry) {
  entry["messages"] = Messages(seen.platform.messages);
  entry["views"] = Views(seen.host.views, class_name);
  entry["dialogs"] = Dialogs(seen.platform.dialogs);
  entry["notifications"] = Notifications(seen.host.notifications, class_name);
  entry["reports"] = Reports(seen.host.reports, class_name, encoder);
  entry["files"] = Json{{"created", StringList(seen.platform.files_created)},
                        {"deleted", StringList(seen.platform.files_deleted)}};
  if (with_trace) entry["trace"] = Trace(seen.trace, encoder);
}

}  // namespace vtx::cli
