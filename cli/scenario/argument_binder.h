// Binding the named arguments of a call step to the positional arguments of
// the operation's declaration.
#pragma once

#include <string>
#include <vector>

#include "cli/scenario/addin_classes.h"
#include "cli/scenario/scenario.h"
#include "cli/scenario/value_builder.h"

namespace vtx::cli {

// The class and declaration a call step names. Raises JsonPathError (at
// `step_path`.call) for an unknown class or operation, and (at
// `step_path`.args.NAME) for an unknown parameter, a value of the wrong form,
// or an omitted parameter that is neither optional nor by reference.
struct CallTarget {
  const AddinClass* add_in_class = nullptr;
  const MethodInfo* method = nullptr;
};
CallTarget ResolveCall(const CallStep& step, const std::string& step_path);

// True for the parameter that receives the scenario's session.
bool IsSessionParameter(const ParamInfo& param);

// The positional arguments: the session for a session parameter, the value
// given, Missing for an omitted optional parameter, the type's default for an
// omitted by-reference one.
std::vector<Variant> BindArguments(const CallStep& step, const MethodInfo& method,
                                   const Ref<KvSession>& session, ObjectSource& source);

}  // namespace vtx::cli
