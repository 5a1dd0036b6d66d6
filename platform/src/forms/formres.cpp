// Form resources: forms stored in a module's RCDATA resources under their
// class name in upper case, read into a form once it is constructed.
#include <vector>

#include "vcl/Forms.h"

namespace {

std::vector<HMODULE>& FormModules() {
  static std::vector<HMODULE> modules;
  return modules;
}

}  // namespace

void RegisterFormResourceModule(HMODULE module) {
  auto& m = FormModules();
  for (HMODULE h : m)
    if (h == module) return;
  m.push_back(module);
}

bool ReadFormResource(HMODULE module, const std::string& name, TComponent* instance) {
  HRSRC res = FindResource(module, name.c_str(), RT_RCDATA);
  if (!res) return false;
  const void* data = LockResource(LoadResource(module, res));
  DWORD size = SizeofResource(module, res);
  TReadOnlyMemoryStream stream(data, size);
  try {
    ReadFormStreamInto(&stream, instance);
  } catch (EFilerError& e) {
    e.SetMessage("Resource " + name + ": " + e.Message());
    throw;
  }
  return true;
}

bool InitInheritedComponent(TComponent* instance, TClass rootAncestor) {
  // The classes below rootAncestor, the most ancestral first.
  std::vector<TClass> chain;
  for (TClass c = instance->ClassType(); c && c != rootAncestor; c = c->Parent) chain.push_back(c);
  bool any = false;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    std::string name = UpperCase((*it)->ClassName);
    const auto& modules = FormModules();
    for (auto m = modules.rbegin(); m != modules.rend(); ++m) {
      if (ReadFormResource(*m, name, instance)) {
        any = true;
        break;
      }
    }
  }
  return any;
}

void InitFormResource(TCustomForm* form) {
  TClass formClass = &TForm::StaticClass();
  if (form->ClassType() != formClass && form->ClassType()->InheritsFrom(formClass) &&
      !InitInheritedComponent(form, formClass))
    throw EResNotFound("Resource " + UpperCase(form->ClassName()) + " not found");
  form->OnCreate(form);
}
