#include "commands.h"
#include "screen_commands.h"

#include <algorithm>

#include "props.h"
#include "script.h"
#include "ziVivire.h"

namespace kvrun {

namespace {

std::string BoundsText(const TRect& r) {
  return "(" + std::to_string(r.Left) + ", " + std::to_string(r.Top) + ", " +
         std::to_string(r.Right) + ", " + std::to_string(r.Bottom) + ")";
}

// The classes that the host's forms may create by name, as an application's
// form class makes the classes of its fields known. TkvScrollPane is not
// among them: the first split constructed makes it known.
void RegisterHostClasses() {
  static const bool done = [] {
    RegisterClasses({&TruVezuz::StaticClass(), &TkvQuadSplit::StaticClass(),
                     &TScrollBox::StaticClass(), &TForm::StaticClass()});
    return true;
  }();
  (void)done;
}

void RequireNewName(Host& host, const std::string& name) {
  if (host.Find(name)) throw BadLine{"name " + Quoted(name) + " is already in use"};
}

template <class T>
T* RequireKind(Host& host, const std::string& name, const char* what) {
  auto* t = dynamic_cast<T*>(host.Require(name));
  if (!t) throw BadLine{Quoted(name) + " is not " + what};
  return t;
}

// ---------------------------------------------------------------------------
// form NAME W H

void RunForm(Host& host, const CommandLine& line) {
  const std::string& name = line.Args[0];
  RequireNewName(host, name);
  const int32_t width = ParseInt(line.Args[1]);
  const int32_t height = ParseInt(line.Args[2]);
  auto* form = new TForm(nullptr);
  host.AddForm(form);
  try {
    form->SetName(name);
  } catch (...) {
    form->Free();  // an unnamed form cannot be reached
    throw;
  }
  host.WatchEvents(form);
  // Shown first: the frame and caption around the client area exist only
  // with the window, and the client size is measured inside them.
  form->Show();
  form->SetClientWidth(width);
  form->SetClientHeight(height);
  // The client area's top-left corner goes to screen point (0, 0).
  const TPoint origin = form->ClientOrigin();
  form->SetBounds(form->Left() - origin.X, form->Top() - origin.Y, form->Width(),
                  form->Height());
}

// ---------------------------------------------------------------------------
// create CLASS NAME PARENT [L T W H]

void RunCreate(Host& host, const CommandLine& line) {
  const std::string& className = line.Args[0];
  const std::string& name = line.Args[1];
  RequireNewName(host, name);
  auto* parent = RequireKind<TWinControl>(host, line.Args[2], "a windowed control");
  const bool hasBounds = line.Args.size() == 7;
  int32_t bounds[4] = {};
  if (hasBounds)
    for (int i = 0; i < 4; ++i) bounds[i] = ParseInt(line.Args[3 + static_cast<size_t>(i)]);

  TClass cls = FindClass(className);  // EClassNotFound is the system's answer
  if (!cls->Factory || !cls->InheritsFrom(&TControl::StaticClass()))
    throw BadLine{"class " + cls->ClassName + " is not a control that can be created by name"};
  TComponent* owner = dynamic_cast<TCustomForm*>(parent);
  if (!owner) owner = GetParentForm(parent);
  if (!owner) owner = host.RootForm(parent);

  auto* control = static_cast<TControl*>(cls->Factory(owner));
  try {
    control->SetName(name);
  } catch (...) {
    control->Free();  // an unnamed control cannot be reached
    throw;
  }
  host.WatchEvents(control);
  if (hasBounds) control->SetBounds(bounds[0], bounds[1], bounds[2], bounds[3]);
  control->SetParent(parent);
}

// ---------------------------------------------------------------------------
// set, get, bounds, free, print

void RunSet(Host& host, const CommandLine& line) { SetValue(host, line.Args[0], line.Args[1]); }

void RunGet(Host& host, const CommandLine& line) {
  const std::string value = GetValue(host, line.Args[0]);
  host.Out() << line.Args[0] << " = " << value << '\n';
}

void RunBounds(Host& host, const CommandLine& line) {
  auto* control = RequireKind<TControl>(host, line.Args[0], "a control");
  host.Out() << line.Args[0] << " = " << BoundsText(control->BoundsRect()) << '\n';
}

void RunFree(Host& host, const CommandLine& line) { host.Require(line.Args[0])->Free(); }

void RunPrint(Host& host, const CommandLine& line) { host.Out() << line.Rest << '\n'; }

// ---------------------------------------------------------------------------
// call NAME.METHOD ARGS: the method table

struct Method {
  std::string Usage;  // "Swap I J"
  size_t ArgCount;
  std::function<void(Host&, TComponent*, const std::string& target,
                     const std::vector<std::string>& args)>
      Run;
};

TkvCustomSplit* AsSplit(TComponent* c, const std::string& name) {
  auto* split = dynamic_cast<TkvCustomSplit*>(c);
  if (!split) throw BadLine{Quoted(name) + " is not a split"};
  return split;
}

const std::map<std::string, Method>& Methods() {
  using Args = std::vector<std::string>;
  static const std::map<std::string, Method> methods = {
      {"AddPane",
       {"AddPane PANE", 1,
        [](Host& host, TComponent* c, const std::string& n, const Args& a) {
          TkvCustomSplit* split = AsSplit(c, n);
          split->AddPane(RequireKind<TkvScrollPane>(host, a[0], "a TkvScrollPane"));
        }}},
      {"RemovePane",
       {"RemovePane PANE", 1,
        [](Host& host, TComponent* c, const std::string& n, const Args& a) {
          TkvCustomSplit* split = AsSplit(c, n);
          split->RemovePane(RequireKind<TkvScrollPane>(host, a[0], "a TkvScrollPane"));
        }}},
      {"Swap",
       {"Swap I J", 2,
        [](Host&, TComponent* c, const std::string& n, const Args& a) {
          TkvCustomSplit* split = AsSplit(c, n);
          const int32_t i = ParseInt(a[0]);
          const int32_t j = ParseInt(a[1]);
          split->Swap(i, j);
        }}},
      {"Rotate",
       {"Rotate", 0,
        [](Host&, TComponent* c, const std::string& n, const Args&) { AsSplit(c, n)->Rotate(); }}},
      {"About",
       {"About", 0,
        [](Host&, TComponent* c, const std::string& n, const Args&) { AsSplit(c, n)->About(); }}},
      {"Realign",
       {"Realign", 0,
        [](Host&, TComponent* c, const std::string& n, const Args&) {
          auto* w = dynamic_cast<TWinControl*>(c);
          if (!w) throw BadLine{Quoted(n) + " is not a windowed control"};
          w->Realign();
        }}},
  };
  return methods;
}

void RunCall(Host& host, const CommandLine& line) {
  const std::string& target = line.Args[0];
  const size_t dot = target.find('.');
  if (dot == std::string::npos || dot == 0 || dot + 1 == target.size())
    throw BadLine{"expected NAME.METHOD, got " + Quoted(target)};
  const std::string name = target.substr(0, dot);
  const std::string methodName = target.substr(dot + 1);
  TComponent* component = host.Require(name);
  auto it = std::find_if(Methods().begin(), Methods().end(),
                         [&](const auto& m) { return SameText(m.first, methodName); });
  if (it == Methods().end())
    throw BadLine{component->ClassName() + " has no method " + Quoted(methodName)};
  const Method& method = it->second;
  std::vector<std::string> args(line.Args.begin() + 1, line.Args.end());
  if (args.size() != method.ArgCount)
    throw BadLine{"wrong number of arguments for " + it->first + " (usage: call NAME." +
                  method.Usage + ")"};
  method.Run(host, component, name, args);
}

}  // namespace

const std::map<std::string, Command>& Commands() {
  RegisterHostClasses();
  static const std::map<std::string, Command> commands = [] {
    std::map<std::string, Command> table = {
      {"form", {"form NAME W H", {3}, false, false, RunForm}},
      {"create", {"create CLASS NAME PARENT [L T W H]", {3, 7}, false, false, RunCreate}},
      {"set", {"set NAME.PROP VALUE", {2}, false, false, RunSet}},
      {"get", {"get NAME.PROP", {1}, false, false, RunGet}},
      {"call", {"call NAME.METHOD ARGS", {1}, true, false, RunCall}},
      {"bounds", {"bounds NAME", {1}, false, false, RunBounds}},
      {"free", {"free NAME", {1}, false, false, RunFree}},
      {"print", {"print TEXT", {}, false, true, RunPrint}},
    };
    for (const auto& [word, command] : ScreenCommands()) table.emplace(word, command);
    return table;
  }();
  return commands;
}

}  // namespace kvrun
