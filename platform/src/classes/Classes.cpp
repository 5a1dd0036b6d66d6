#include "vcl/Classes.h"

#include <algorithm>

namespace {
// Runs a step on leaving a scope, also when an exception leaves it.
template <class F>
struct Finally {
  F f;
  ~Finally() { f(); }
};
template <class F>
Finally(F) -> Finally<F>;
}  // namespace

// ---------------------------------------------------------------------------
// TPersistent

const TClassInfo& TPersistent::StaticClass() {
  static const TClassInfo info = TClassInfo::Plain("TPersistent", &TObject::StaticClass());
  return info;
}

namespace {
[[noreturn]] void AssignError(const TPersistent* source, const TPersistent* dest) {
  std::string src = source ? source->ClassName() : "nil";
  throw EConvertError("Cannot assign a " + src + " to a " + dest->ClassName());
}
}  // namespace

void TPersistent::Assign(TPersistent* source) {
  if (!source) AssignError(nullptr, this);
  source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* dest) { AssignError(this, dest); }

std::string TPersistent::GetNamePath() {
  if (auto* c = dynamic_cast<TComponent*>(this)) return c->Name();
  return ClassName();
}

// ---------------------------------------------------------------------------
// TList

const TClassInfo& TList::StaticClass() {
  static const TClassInfo info = TClassInfo::Plain("TList", &TObject::StaticClass());
  return info;
}

void TList::CheckIndex(int index) const {
  if (index < 0 || index >= Count())
    throw EListError(Format("List index out of bounds (%d)", {index}));
}

int TList::Add(void* item) {
  FList.push_back(item);
  return Count() - 1;
}

void TList::Insert(int index, void* item) {
  if (index < 0 || index > Count())
    throw EListError(Format("List index out of bounds (%d)", {index}));
  FList.insert(FList.begin() + index, item);
}

void TList::Delete(int index) {
  CheckIndex(index);
  FList.erase(FList.begin() + index);
}

int TList::Remove(void* item) {
  int i = IndexOf(item);
  if (i >= 0) Delete(i);
  return i;
}

int TList::IndexOf(void* item) const {
  auto it = std::find(FList.begin(), FList.end(), item);
  return it == FList.end() ? -1 : static_cast<int>(it - FList.begin());
}

void TList::Move(int curIndex, int newIndex) {
  CheckIndex(curIndex);
  CheckIndex(newIndex);
  if (curIndex == newIndex) return;
  void* item = FList[static_cast<size_t>(curIndex)];
  FList.erase(FList.begin() + curIndex);
  FList.insert(FList.begin() + newIndex, item);
}

void TList::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  std::swap(FList[static_cast<size_t>(index1)], FList[static_cast<size_t>(index2)]);
}

void TList::Clear() { FList.clear(); }

void* TList::Items(int index) const {
  CheckIndex(index);
  return FList[static_cast<size_t>(index)];
}

void TList::SetItems(int index, void* item) {
  CheckIndex(index);
  FList[static_cast<size_t>(index)] = item;
}

void TList::SetCapacity(int capacity) {
  if (capacity < Count()) throw EListError(Format("List capacity out of bounds (%d)", {capacity}));
  FList.reserve(static_cast<size_t>(capacity));
}

// ---------------------------------------------------------------------------
// TStrings

const TClassInfo& TStrings::StaticClass() {
  static const TClassInfo info = TClassInfo::Plain("TStrings", &TPersistent::StaticClass());
  return info;
}

int TStrings::Add(const std::string& s) {
  int i = Count();
  Insert(i, s);
  return i;
}

int TStrings::AddObject(const std::string& s, TObject* obj) {
  int i = Add(s);
  SetObjects(i, obj);
  return i;
}

void TStrings::AddStrings(const TStrings& strings) {
  // Counted first: the source may be this list, which grows meanwhile.
  int n = strings.Count();
  BeginUpdate();
  Finally done{[this] { EndUpdate(); }};
  for (int i = 0; i < n; ++i) AddObject(strings.Strings(i), strings.Objects(i));
}

int TStrings::IndexOf(const std::string& s) const {
  for (int i = 0; i < Count(); ++i)
    if (SameText(Strings(i), s)) return i;
  return -1;
}

void TStrings::Exchange(int index1, int index2) {
  std::string s1 = Strings(index1);
  TObject* o1 = Objects(index1);
  std::string s2 = Strings(index2);
  TObject* o2 = Objects(index2);
  SetStrings(index1, s2);
  SetObjects(index1, o2);
  SetStrings(index2, s1);
  SetObjects(index2, o1);
}

void TStrings::Move(int curIndex, int newIndex) {
  std::string s = Strings(curIndex);
  TObject* o = Objects(curIndex);
  if (newIndex < 0 || newIndex >= Count())
    throw EStringListError(Format("List index out of bounds (%d)", {newIndex}));
  if (curIndex == newIndex) return;
  // The line goes in at its new place before it leaves the old one, so that a
  // list that refuses the insertion keeps the line.
  int insertAt = newIndex > curIndex ? newIndex + 1 : newIndex;
  int oldAt = newIndex > curIndex ? curIndex : curIndex + 1;
  BeginUpdate();
  Finally done{[this] { EndUpdate(); }};
  Insert(insertAt, s);
  SetObjects(insertAt, o);
  Delete(oldAt);
}

std::string TStrings::Text() const {
  std::string t;
  for (int i = 0; i < Count(); ++i) t += Strings(i) + "\r\n";
  return t;
}

void TStrings::SetText(const std::string& text) {
  BeginUpdate();
  Clear();
  size_t i = 0;
  while (i < text.size()) {
    size_t e = text.find_first_of("\r\n", i);
    if (e == std::string::npos) {
      Add(text.substr(i));
      break;
    }
    Add(text.substr(i, e - i));
    i = e + 1;
    if (text[e] == '\r' && i < text.size() && text[i] == '\n') ++i;
  }
  EndUpdate();
}

std::string TStrings::CommaText() const {
  std::string t;
  for (int i = 0; i < Count(); ++i) {
    if (i) t += ',';
    std::string s = Strings(i);
    bool quote = s.empty() || s.find_first_of(" ,\"") != std::string::npos;
    if (!quote) {
      t += s;
      continue;
    }
    t += '"';
    for (char c : s) {
      if (c == '"') t += '"';
      t += c;
    }
    t += '"';
  }
  return t;
}

void TStrings::Assign(TPersistent* source) {
  if (auto* s = dynamic_cast<TStrings*>(source)) {
    if (s == this) return;
    BeginUpdate();
    Clear();
    AddStrings(*s);
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

// The lines are stored as "Strings": a list of strings, written only when
// there is at least one line.
void TStrings::DefineProperties(TFiler* filer) {
  filer->DefineProperty(
      "Strings",
      [this](TReader* reader) {
        reader->ReadListBegin();
        BeginUpdate();
        Finally done{[this] { EndUpdate(); }};
        Clear();
        while (!reader->EndOfList()) Add(reader->ReadString());
        reader->ReadListEnd();
      },
      [this](TWriter* writer) {
        writer->WriteListBegin();
        for (int i = 0; i < Count(); ++i) writer->WriteString(Strings(i));
        writer->WriteListEnd();
      },
      Count() > 0);
}

// ---------------------------------------------------------------------------
// TStringList

const TClassInfo& TStringList::StaticClass() {
  static const TClassInfo info = TClassBuilder<TStringList>("TStringList").CreatablePlain();
  return info;
}

void TStringList::CheckIndex(int index) const {
  if (index < 0 || index >= Count())
    throw EStringListError(Format("List index out of bounds (%d)", {index}));
}

void TStringList::Changed() {
  if (FUpdateCount == 0)
    OnChange(this);
  else
    FChangedInUpdate = true;
}

void TStringList::SetUpdateState(bool updating) {
  if (updating || !FChangedInUpdate) return;
  FChangedInUpdate = false;
  OnChange(this);
}

std::string TStringList::Strings(int index) const {
  CheckIndex(index);
  return FItems[static_cast<size_t>(index)].S;
}

void TStringList::SetStrings(int index, const std::string& s) {
  if (FSorted) throw EStringListError("Operation not allowed on sorted string list");
  CheckIndex(index);
  FItems[static_cast<size_t>(index)].S = s;
  Changed();
}

TObject* TStringList::Objects(int index) const {
  CheckIndex(index);
  return FItems[static_cast<size_t>(index)].Obj;
}

void TStringList::SetObjects(int index, TObject* obj) {
  CheckIndex(index);
  FItems[static_cast<size_t>(index)].Obj = obj;
}

void TStringList::Insert(int index, const std::string& s) {
  if (FSorted) throw EStringListError("Operation not allowed on sorted string list");
  if (index < 0 || index > Count())
    throw EStringListError(Format("List index out of bounds (%d)", {index}));
  FItems.insert(FItems.begin() + index, Item{s, nullptr});
  Changed();
}

void TStringList::Delete(int index) {
  CheckIndex(index);
  FItems.erase(FItems.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (FItems.empty()) return;
  FItems.clear();
  Changed();
}

int TStringList::Add(const std::string& s) {
  if (!FSorted) return TStrings::Add(s);
  int index;
  if (Find(s, index)) {
    if (FDuplicates == dupIgnore) return index;
    if (FDuplicates == dupError) throw EStringListError("String list does not allow duplicates");
  }
  FItems.insert(FItems.begin() + index, Item{s, nullptr});
  Changed();
  return index;
}

int TStringList::IndexOf(const std::string& s) const {
  if (!FSorted) return TStrings::IndexOf(s);
  int index;
  return Find(s, index) ? index : -1;
}

bool TStringList::Find(const std::string& s, int& index) const {
  int lo = 0, hi = Count() - 1;
  bool found = false;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    int c = CompareText(FItems[static_cast<size_t>(mid)].S, s);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) {
        found = true;
        if (FDuplicates != dupAccept) lo = mid;
      }
    }
  }
  index = lo;
  return found;
}

void TStringList::Sort() {
  std::stable_sort(FItems.begin(), FItems.end(),
                   [](const Item& a, const Item& b) { return CompareText(a.S, b.S) < 0; });
  Changed();
}

void TStringList::SetSorted(bool value) {
  if (FSorted == value) return;
  if (value) Sort();
  FSorted = value;
}

// ---------------------------------------------------------------------------
// TComponent

namespace {
// The owner whose insertions are being announced to it alone.
TComponent*& QuietOwner() {
  static TComponent* owner = nullptr;
  return owner;
}
}  // namespace

const TClassInfo& TComponent::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TComponent>("TComponent")
          .Prop("Tag", &TComponent::Tag, &TComponent::SetTag, Default{0});
  return info;
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Tell whoever asked that this component is going away.
  while (!FFreeNotifies.empty()) {
    TComponent* c = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    auto& theirs = c->FFreeNotifies;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    c->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::BeforeDestruction() { Destroying(); }

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* c : FComponents) c->Destroying();
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount())
    throw EListError(Format("List index out of bounds (%d)", {index}));
  return FComponents[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  auto& l = FOwner->FComponents;
  auto it = std::find(l.begin(), l.end(), this);
  return it == l.end() ? -1 : static_cast<int>(it - l.begin());
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  if (name.empty()) return nullptr;
  auto it = FNameIndex.find(name);
  return it == FNameIndex.end() ? nullptr : it->second;
}

void TComponent::Insert(TComponent* c) {
  FComponents.push_back(c);
  c->FOwner = this;
  if (!c->FName.empty()) FNameIndex[c->FName] = c;
}

void TComponent::Remove(TComponent* c) {
  // From the back: components leave mostly in the reverse of their arrival.
  auto rit = std::find(FComponents.rbegin(), FComponents.rend(), c);
  if (rit == FComponents.rend()) return;
  FComponents.erase(std::next(rit).base());
  c->FOwner = nullptr;
  if (!c->FName.empty()) {
    auto n = FNameIndex.find(c->FName);
    if (n != FNameIndex.end() && n->second == c) FNameIndex.erase(n);
  }
}

void TComponent::InsertComponent(TComponent* component) {
  // Refused insertions leave the component with the owner it had.
  for (TComponent* o = this; o; o = o->FOwner)
    if (o == component) throw EComponentError("A component cannot own itself");
  ValidateRename(component, "", component->FName);
  if (component->FOwner) component->FOwner->RemoveComponent(component);
  Insert(component);
  if (FComponentState.Contains(csDesigning)) component->SetDesigning(true);
  // While a form file is read into this owner, a new component is announced
  // to the owner alone: telling every component read so far would make
  // reading a form grow with the square of its size.
  TComponent* saved = QuietOwner();
  if (FComponentState.Contains(csLoading)) QuietOwner() = this;
  Finally restore{[saved] { QuietOwner() = saved; }};
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  Notification(component, opRemove);
  Remove(component);
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    Remove(c);
    c->Free();
  }
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component) RemoveFreeNotification(component);
  if (operation == opInsert && QuietOwner() == this) return;
  // By index over the live list: a notified component may change it, and
  // nothing is reached after it left the list.
  for (size_t i = 0; i < FComponents.size(); ++i) FComponents[i]->Notification(component, operation);
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end())
    FFreeNotifies.push_back(component);
  if (std::find(component->FFreeNotifies.begin(), component->FFreeNotifies.end(), this) ==
      component->FFreeNotifies.end())
    component->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  // The link is kept on both sides; both go, or a freed component would stay
  // in the other's list.
  if (!component) return;
  FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), component),
                      FFreeNotifies.end());
  auto& theirs = component->FFreeNotifies;
  theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::ValidateRename(TComponent* component, const std::string& curName,
                                const std::string& newName) {
  if (!component || newName.empty() || SameText(curName, newName)) return;
  TComponent* other = FindComponent(newName);
  if (other && other != component)
    throw EComponentError("A component named " + newName + " already exists");
}

void TComponent::SetName(const std::string& name) {
  if (FName == name) return;
  if (!name.empty() && !IsValidIdent(name))
    throw EComponentError("'" + name + "' is not a valid component name");
  if (FOwner)
    FOwner->ValidateRename(this, FName, name);
  else
    ValidateRename(nullptr, FName, name);
  ChangeName(name);
}

void TComponent::ChangeName(const std::string& newName) {
  std::string old = FName;
  FName = newName;
  if (FOwner) FOwner->NameIndexChanged(this, old);
}

void TComponent::NameIndexChanged(TComponent* c, const std::string& oldName) {
  if (!oldName.empty()) {
    auto n = FNameIndex.find(oldName);
    if (n != FNameIndex.end() && n->second == c) FNameIndex.erase(n);
  }
  if (!c->FName.empty()) FNameIndex[c->FName] = c;
}

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

void TComponent::ReadState(TReader* reader) { reader->ReadData(this); }

void TComponent::WriteState(TWriter* writer) { writer->WriteData(this); }

void TComponent::GetChildren(const TGetChildProc&, TComponent*) {}

void TComponent::SetDesigning(bool value) {
  if (value)
    FComponentState.Include(csDesigning);
  else
    FComponentState.Exclude(csDesigning);
  for (TComponent* c : FComponents) c->SetDesigning(value);
}

void TComponent::SetComponentStateFlag(TComponentStateEnum flag, bool on) {
  if (on)
    FComponentState.Include(flag);
  else
    FComponentState.Exclude(flag);
}

// ---------------------------------------------------------------------------
// The class registry

namespace {
TTextMap<TClass>& Registry() {
  static TTextMap<TClass> reg;
  return reg;
}
}  // namespace

void RegisterClass(TClass cls) {
  if (!cls) throw EInvalidArgument("Cannot register a nil class");
  auto& reg = Registry();
  const std::string& key = cls->ClassName;
  auto it = reg.find(key);
  if (it != reg.end()) {
    if (it->second == cls) return;
    throw EFilerError("A class named " + cls->ClassName + " already exists");
  }
  reg.emplace(key, cls);
}

void RegisterClasses(std::initializer_list<TClass> classes) {
  for (TClass c : classes) RegisterClass(c);
}

void UnRegisterClass(TClass cls) {
  auto& reg = Registry();
  auto it = reg.find(cls->ClassName);
  if (it != reg.end() && it->second == cls) reg.erase(it);
}

TClass GetClass(const std::string& name) {
  auto& reg = Registry();
  auto it = reg.find(name);
  return it == reg.end() ? nullptr : it->second;
}

TClass FindClass(const std::string& name) {
  TClass c = GetClass(name);
  if (!c) throw EClassNotFound("Class " + name + " not found");
  return c;
}
