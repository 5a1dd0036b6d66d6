#include "host.h"

#include <algorithm>
#include <any>

#include "script.h"

namespace kvrun {

// Receives the free notifications of the host's forms, so that a form freed
// by any means leaves the list.
class Host::Watcher : public TComponent {
 public:
  explicit Watcher(Host& host) : TComponent(nullptr), FHost(host) {}

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == opRemove) FHost.Forget(component);
  }

 private:
  Host& FHost;
};

Host::Host(std::ostream& out) : FOut(out), FWatcher(new Watcher(*this)) {
  FSavedOnException = Application->OnException;
  Application->OnException = [this](TObject*, Exception& e) { Report(e); };
}

Host::~Host() {
  FreeForms();
  FWatcher->Free();
  Application->OnException = FSavedOnException;
}

void Host::AddForm(TForm* form) {
  FForms.push_back(form);
  form->FreeNotification(FWatcher);
}

void Host::Forget(TComponent* form) {
  FForms.erase(std::remove(FForms.begin(), FForms.end(), form), FForms.end());
}

void Host::FreeForms() {
  // The last form first.
  while (!FForms.empty()) {
    TForm* form = FForms.back();
    FForms.pop_back();
    try {
      form->Free();
    } catch (const Exception& e) {
      Report(e);
    }
  }
}

namespace {

TComponent* FindOwned(const TComponent* owner, const std::string& name) {
  if (TComponent* c = owner->FindComponent(name)) return c;
  for (int i = 0; i < owner->ComponentCount(); ++i)
    if (TComponent* c = FindOwned(owner->Components(i), name)) return c;
  return nullptr;
}

bool Owns(const TComponent* owner, const TComponent* component) {
  for (const TComponent* c = component; c; c = c->Owner())
    if (c == owner) return true;
  return false;
}

}  // namespace

TComponent* Host::Find(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (TForm* f : FForms)
    if (SameText(f->Name(), name)) return f;
  for (TForm* f : FForms)
    if (TComponent* c = FindOwned(f, name)) return c;
  return nullptr;
}

TComponent* Host::Require(const std::string& name) const {
  TComponent* c = Find(name);
  if (!c) throw BadLine{"unknown component " + Quoted(name)};
  return c;
}

TForm* Host::RootForm(const TComponent* component) const {
  for (TForm* f : FForms)
    if (Owns(f, component)) return f;
  return nullptr;
}

void Host::WatchEvents(TComponent* component) {
  WatchEvent(component, "OnChange");
  WatchEvent(component, "OnResize");
}

void Host::WatchEvent(TComponent* component, const char* event) {
  PPropInfo prop = GetPropInfo(component, event);
  if (!prop || prop->PropType->Kind != tkMethod || !prop->SetHandler) return;
  // The handler lives in the component, so the component outlives it.
  TNotifyEvent::Handler handler = [this, component, event](TObject*) {
    FOut << "event " << event << ' ' << component->Name() << '\n';
  };
  prop->SetHandler(component, std::any(handler));
}

void Host::Report(const Exception& e) {
  FOut << "error: " << e.ClassName() << ": " << e.Message() << '\n';
}

}  // namespace kvrun
