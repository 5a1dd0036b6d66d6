// The host's world: the forms a script made, the components on them found
// by name, the events it watches and the system's exceptions it reports.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "vcl/Forms.h"

namespace kvrun {

class Host {
 public:
  explicit Host(std::ostream& out);
  // Frees the forms and gives Application->OnException back.
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  std::ostream& Out() { return FOut; }

  // A top-level form that the host owns and frees at the end.
  void AddForm(TForm* form);
  void FreeForms();

  // Components are looked up by name at every use, never cached: freeing
  // one frees what it owns and its child controls too. A name is a form's
  // name or the name of a component owned, directly or not, by a form.
  TComponent* Find(const std::string& name) const;
  TComponent* Require(const std::string& name) const;  // bad line when unknown
  // The host form whose ownership tree holds the component.
  TForm* RootForm(const TComponent* component) const;

  // Prints "event OnChange NAME" / "event OnResize NAME" each time the
  // component's event fires, when it publishes the event.
  void WatchEvents(TComponent* component);

  // Prints "error: EClassName: message".
  void Report(const Exception& e);

 private:
  class Watcher;
  void Forget(TComponent* form);
  void WatchEvent(TComponent* component, const char* event);

  std::ostream& FOut;
  std::vector<TForm*> FForms;  // in creation order
  Watcher* FWatcher;           // told when a form is destroyed
  TExceptionEvent FSavedOnException;
};

}  // namespace kvrun
