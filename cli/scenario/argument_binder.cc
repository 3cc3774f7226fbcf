#include "cli/scenario/argument_binder.h"

#include <fmt/format.h>

#include "runtime/text.h"

namespace vtx::cli {
namespace {

bool SameName(const std::string& a, const std::string& b) {
  return text::LCase(a) == text::LCase(b);
}

// The value given for `param`, or nullptr.
const WrittenValue* Given(const CallStep& step, const ParamInfo& param) {
  for (const auto& [name, value] : step.args) {
    if (SameName(name, param.name)) return &value;
  }
  return nullptr;
}

}  // namespace

bool IsSessionParameter(const ParamInfo& param) {
  return param.type == ParamType::kObject && param.object_type == "KvSession";
}

CallTarget ResolveCall(const CallStep& step, const std::string& step_path) {
  std::string call_path = JoinKey(step_path, "call");
  CallTarget target;
  target.add_in_class = FindAddinClass(step.class_name);
  if (!target.add_in_class) {
    throw JsonPathError(call_path, fmt::format("unknown class \"{}\" (Application, clsNLS, "
                                               "clsElectronicRecord, clsUtils, ClsAdminSettings)",
                                               step.class_name));
  }
  target.method = target.add_in_class->find(step.operation);
  if (!target.method) {
    throw JsonPathError(call_path,
                        fmt::format("{} has no operation \"{}\"", step.class_name, step.operation));
  }
  std::string args_path = JoinKey(step_path, "args");
  for (const auto& [name, value] : step.args) {
    const ParamInfo* param = nullptr;
    for (const auto& p : target.method->params) {
      if (SameName(p.name, name)) param = &p;
    }
    if (!param) {
      throw JsonPathError(JoinKey(args_path, name),
                          fmt::format("{} has no parameter \"{}\"", target.method->name, name));
    }
    CheckValueForParameter(value, *param);
  }
  for (const auto& param : target.method->params) {
    if (IsSessionParameter(param) || param.optional || param.by_ref) continue;
    if (!Given(step, param)) {
      throw JsonPathError(args_path, fmt::format("missing argument \"{}\"", param.name));
    }
  }
  return target;
}

std::vector<Variant> BindArguments(const CallStep& step, const MethodInfo& method,
                                   const Ref<KvSession>& session, ObjectSource& source) {
  std::vector<Variant> args;
  args.reserve(method.params.size());
  for (const auto& param : method.params) {
    if (IsSessionParameter(param)) {
      args.emplace_back(session);
    } else if (const WrittenValue* value = Given(step, param)) {
      args.push_back(BuildValue(*value, &param, source));
    } else if (param.optional) {
      args.push_back(Variant::Missing());
    } else {
      args.push_back(DefaultValue(param));
    }
  }
  return args;
}

}  // namespace vtx::cli
