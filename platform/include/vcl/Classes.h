// Classes: persistent objects, components with owners and names, lists,
// string lists and the class registry.
#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "vcl/SysUtils.h"
#include "vcl/System.h"
#include "vcl/TypInfo.h"

VCL_EXCEPTION(EListError, Exception)
VCL_EXCEPTION(EStringListError, Exception)
VCL_EXCEPTION(EComponentError, Exception)
VCL_EXCEPTION(EStreamError, Exception)
VCL_EXCEPTION(EFCreateError, EStreamError)
VCL_EXCEPTION(EFOpenError, EStreamError)
VCL_EXCEPTION(EFilerError, EStreamError)
VCL_EXCEPTION(EReadError, EFilerError)
VCL_EXCEPTION(EWriteError, EFilerError)
VCL_EXCEPTION(EClassNotFound, EFilerError)
VCL_EXCEPTION(EResNotFound, Exception)
VCL_EXCEPTION(EInvalidOperation, Exception)
VCL_EXCEPTION(EOutOfResources, Exception)

class TFiler;
class TReader;
class TWriter;
class TComponent;

// ---------------------------------------------------------------------------

class TPersistent : public TObject {
  VCL_CLASS(TPersistent, TObject)
  TPersistent() = default;

  // Copies the source's state into this object; the default asks the source
  // to assign itself to this one, and raises EConvertError when neither can.
  virtual void Assign(TPersistent* source);
  std::string GetNamePath();

 protected:
  virtual void AssignTo(TPersistent* dest);
  // Names and handlers of properties stored besides the published ones.
  virtual void DefineProperties(TFiler*) {}
  virtual TPersistent* GetOwner() { return nullptr; }

  friend class TFiler;
  friend class TReader;
  friend class TWriter;
};

// ---------------------------------------------------------------------------

class TList : public TObject {
  VCL_CLASS(TList, TObject)
  TList() = default;

  int Add(void* item);
  void Insert(int index, void* item);
  void Delete(int index);
  int Remove(void* item);  // the index it had, or -1
  int IndexOf(void* item) const;
  void Move(int curIndex, int newIndex);
  void Exchange(int index1, int index2);
  void Clear();
  void* Items(int index) const;
  void SetItems(int index, void* item);
  void* First() const { return Items(0); }
  void* Last() const { return Items(Count() - 1); }
  int Count() const { return static_cast<int>(FList.size()); }
  int Capacity() const { return static_cast<int>(FList.capacity()); }
  void SetCapacity(int capacity);

 private:
  void CheckIndex(int index) const;
  std::vector<void*> FList;
};

// ---------------------------------------------------------------------------

class TStrings : public TPersistent {
  VCL_CLASS(TStrings, TPersistent)
  TStrings() = default;

  virtual int Count() const = 0;
  virtual std::string Strings(int index) const = 0;
  virtual void SetStrings(int index, const std::string& s) = 0;
  virtual TObject* Objects(int index) const = 0;
  virtual void SetObjects(int index, TObject* obj) = 0;
  virtual void Insert(int index, const std::string& s) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;

  virtual int Add(const std::string& s);
  int AddObject(const std::string& s, TObject* obj);
  void AddStrings(const TStrings& strings);
  virtual int IndexOf(const std::string& s) const;  // ignores case
  void Exchange(int index1, int index2);
  void Move(int curIndex, int newIndex);
  // The lines joined, each ended by CR LF; SetText splits at LF, CR LF or CR.
  std::string Text() const;
  void SetText(const std::string& text);
  std::string CommaText() const;
  void Assign(TPersistent* source) override;
  // Changes between the outermost BeginUpdate and its EndUpdate are reported
  // once, at that EndUpdate.
  void BeginUpdate() {
    if (FUpdateCount++ == 0) SetUpdateState(true);
  }
  void EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
  }

 protected:
  void DefineProperties(TFiler* filer) override;
  // Called when the outermost update batch begins (true) and ends (false).
  virtual void SetUpdateState(bool) {}
  int FUpdateCount = 0;
};

enum TDuplicates : uint8_t { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
  VCL_CLASS(TStringList, TStrings)
  TStringList() = default;

  int Count() const override { return static_cast<int>(FItems.size()); }
  std::string Strings(int index) const override;
  void SetStrings(int index, const std::string& s) override;
  TObject* Objects(int index) const override;
  void SetObjects(int index, TObject* obj) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;
  int Add(const std::string& s) override;
  int IndexOf(const std::string& s) const override;
  // Binary search in a sorted list; true when found, index = where it is or
  // would be inserted.
  bool Find(const std::string& s, int& index) const;
  void Sort();
  bool Sorted() const { return FSorted; }
  void SetSorted(bool value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates value) { FDuplicates = value; }

  TNotifyEvent OnChange;

 private:
  void CheckIndex(int index) const;
  void Changed();
  void SetUpdateState(bool updating) override;
  struct Item {
    std::string S;
    TObject* Obj = nullptr;
  };
  std::vector<Item> FItems;
  bool FSorted = false;
  TDuplicates FDuplicates = dupIgnore;
  bool FChangedInUpdate = false;
};

// ---------------------------------------------------------------------------

VCL_ENUM(TComponentStateEnum, csLoading, csReading, csWriting, csDestroying, csDesigning,
         csAncestor, csUpdating, csFixups)
VCL_SET(TComponentState, TComponentStateEnum)
VCL_ENUM(TComponentStyleEnum, csInheritable, csCheckPropAvail)
VCL_SET(TComponentStyle, TComponentStyleEnum)
VCL_ENUM(TOperation, opInsert, opRemove)

using TGetChildProc = std::function<void(TComponent* child)>;

class TComponent : public TPersistent {
  VCL_CLASS(TComponent, TPersistent)
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  void BeforeDestruction() override;

  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int index) const;
  int ComponentIndex() const;
  // The owned component of that name, ignoring case; nullptr when none.
  TComponent* FindComponent(const std::string& name) const;
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  void DestroyComponents();
  void Destroying();

  const std::string& Name() const { return FName; }
  // Renames the component. Raises EComponentError for a name that is not an
  // identifier, or that another component of the same owner already has.
  virtual void SetName(const std::string& name);
  int32_t Tag() const { return FTag; }
  void SetTag(int32_t tag) { FTag = tag; }
  TComponentState ComponentState() const { return FComponentState; }
  TComponentStyle ComponentStyle() const { return FComponentStyle; }
  int32_t DesignInfo() const { return FDesignInfo; }
  void SetDesignInfo(int32_t v) { FDesignInfo = v; }

  // Asks to be told (Notification with opRemove) when the component is
  // destroyed.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // Streaming.
  virtual void Loaded();
  virtual void ReadState(TReader* reader);
  virtual void WriteState(TWriter* writer);
  virtual void GetChildren(const TGetChildProc& proc, TComponent* root);
  virtual TComponent* GetChildOwner() { return nullptr; }
  virtual TComponent* GetChildParent() { return this; }
  virtual void SetChildOrder(TComponent*, int) {}
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent*) {}

  // Component state changes by the platform's streaming and design code.
  void SetDesigning(bool value);
  void SetComponentStateFlag(TComponentStateEnum flag, bool on);

 protected:
  virtual void Notification(TComponent* component, TOperation operation);
  virtual void ValidateRename(TComponent* component, const std::string& curName,
                              const std::string& newName);
  void ChangeName(const std::string& newName);
  TPersistent* GetOwner() override { return FOwner; }

  TComponentState FComponentState;
  TComponentStyle FComponentStyle{csInheritable};

 private:
  void Insert(TComponent* c);
  void Remove(TComponent* c);
  void NameIndexChanged(TComponent* c, const std::string& oldName);

  TComponent* FOwner = nullptr;
  std::string FName;
  int32_t FTag = 0;
  int32_t FDesignInfo = 0;
  std::vector<TComponent*> FComponents;
  std::unordered_map<std::string, TComponent*> FNameIndex;  // lower-case name
  std::vector<TComponent*> FFreeNotifies;
};

// ---------------------------------------------------------------------------
// The class registry: classes that form files can name.

void RegisterClass(TClass cls);
void RegisterClasses(std::initializer_list<TClass> classes);
void UnRegisterClass(TClass cls);
TClass GetClass(const std::string& name);   // nullptr when not registered
TClass FindClass(const std::string& name);  // EClassNotFound when not registered
