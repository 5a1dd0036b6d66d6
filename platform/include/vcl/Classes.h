// Classes: persistent objects, components with owners and names, lists,
// string lists and the class registry.
#pragma once

#include <functional>
#include <memory>
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
  TTextMap<TComponent*> FNameIndex;  // by name, ignoring case
  std::vector<TComponent*> FFreeNotifies;
};

// ---------------------------------------------------------------------------
// The class registry: classes that form files can name.

void RegisterClass(TClass cls);
void RegisterClasses(std::initializer_list<TClass> classes);
void UnRegisterClass(TClass cls);
TClass GetClass(const std::string& name);   // nullptr when not registered
TClass FindClass(const std::string& name);  // EClassNotFound when not registered

// ---------------------------------------------------------------------------
// Streams

constexpr uint16_t soFromBeginning = 0;
constexpr uint16_t soFromCurrent = 1;
constexpr uint16_t soFromEnd = 2;

// File stream modes: fmCreate makes (or empties) the file; otherwise one of
// the open modes.
constexpr uint16_t fmCreate = 0xFFFF;
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;

class TStream : public TObject {
  VCL_CLASS(TStream, TObject)
  TStream() = default;

  // Reads or writes up to count bytes; the number actually moved.
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  // The new position; origin is soFromBeginning, soFromCurrent or soFromEnd.
  virtual int64_t Seek(int64_t offset, uint16_t origin) = 0;
  // All count bytes or EReadError / EWriteError.
  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
  // Copies count bytes from the source's position (0: the whole source).
  int64_t CopyFrom(TStream* source, int64_t count);

  int64_t Position() { return Seek(0, soFromCurrent); }
  void SetPosition(int64_t pos) { Seek(pos, soFromBeginning); }
  virtual int64_t Size();
  virtual void SetSize(int64_t) {}

  // A component in the binary form-file format (with its signature).
  TComponent* ReadComponent(TComponent* instance);
  void WriteComponent(TComponent* instance);
};

// A stream over a block of memory.
class TCustomMemoryStream : public TStream {
  VCL_CLASS(TCustomMemoryStream, TStream)
  TCustomMemoryStream() = default;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, uint16_t origin) override;
  int64_t Size() override { return FSize; }
  const uint8_t* Memory() const { return FMemory; }
  void SaveToStream(TStream* stream);
  void SaveToFile(const std::string& fileName);

 protected:
  void SetPointer(const uint8_t* memory, int64_t size);

  const uint8_t* FMemory = nullptr;
  int64_t FSize = 0;
  int64_t FPosition = 0;
};

// A memory stream that owns its memory and grows as it is written.
class TMemoryStream : public TCustomMemoryStream {
  VCL_CLASS(TMemoryStream, TCustomMemoryStream)
  TMemoryStream() = default;
  ~TMemoryStream() override;
  TMemoryStream(const TMemoryStream&) = delete;
  TMemoryStream& operator=(const TMemoryStream&) = delete;

  int64_t Write(const void* buffer, int64_t count) override;
  void SetSize(int64_t size) override;
  void Clear();
  void LoadFromStream(TStream* stream);
  void LoadFromFile(const std::string& fileName);
  // The bytes as a string (a copy).
  std::string DataString() const {
    return std::string(reinterpret_cast<const char*>(FMemory), static_cast<size_t>(FSize));
  }

 private:
  void Reserve(int64_t capacity);
  // Held with malloc and grown with realloc: a large block grows in place or
  // is remapped, without copying or clearing what is never read.
  uint8_t* FData = nullptr;
  int64_t FCapacity = 0;
};

// A read-only stream over bytes that someone else keeps alive (a resource,
// a buffer).
class TReadOnlyMemoryStream : public TCustomMemoryStream {
  VCL_CLASS(TReadOnlyMemoryStream, TCustomMemoryStream)
  TReadOnlyMemoryStream(const void* memory, int64_t size) {
    SetPointer(static_cast<const uint8_t*>(memory), size);
  }
  int64_t Write(const void*, int64_t) override;
};

class TFileStream : public TStream {
  VCL_CLASS(TFileStream, TStream)
  // EFCreateError or EFOpenError naming the file when it cannot be had.
  TFileStream(const std::string& fileName, uint16_t mode);
  ~TFileStream() override;

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, uint16_t origin) override;
  void SetSize(int64_t size) override;
  const std::string& FileName() const { return FFileName; }

 private:
  std::string FFileName;
  int FHandle = -1;
};

// ---------------------------------------------------------------------------
// Form files: filers, readers and writers

VCL_EXCEPTION(EParserError, EReadError)

VCL_ENUM(TValueType, vaNull, vaList, vaInt8, vaInt16, vaInt32, vaExtended, vaString, vaIdent,
         vaFalse, vaTrue, vaBinary, vaSet, vaLString, vaNil, vaCollection, vaSingle, vaCurrency,
         vaDate, vaWString, vaInt64)
VCL_ENUM(TFilerFlag, ffInherited, ffChildPos, ffInline)
VCL_SET(TFilerFlags, TFilerFlag)

using TReaderProc = std::function<void(TReader*)>;
using TWriterProc = std::function<void(TWriter*)>;
using TStreamProc = std::function<void(TStream*)>;

// What readers and writers share: the stream, the root, and the defined
// properties of DefineProperties.
class TFiler : public TObject {
  VCL_CLASS(TFiler, TObject)
  explicit TFiler(TStream* stream) : FStream(stream) {}

  // A property stored besides the published ones: its name, how to read and
  // write its value, and whether there is anything to write.
  virtual void DefineProperty(const std::string& name, const TReaderProc& readData,
                              const TWriterProc& writeData, bool hasData) = 0;
  // A property whose value is a block of bytes.
  virtual void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                                    const TStreamProc& writeData, bool hasData) = 0;

  TStream* Stream() const { return FStream; }
  TComponent* Root() const { return FRoot; }
  void SetRoot(TComponent* root) { FRoot = root; }

 protected:
  TStream* FStream;
  TComponent* FRoot = nullptr;
};

// Reads components from a binary form-file stream. The stream is read through
// a buffer; when the reader is destroyed the stream is positioned just after
// what was read.
class TReader : public TFiler {
  VCL_CLASS(TReader, TFiler)
  explicit TReader(TStream* stream, int bufSize = 4096);
  ~TReader() override;

  void DefineProperty(const std::string& name, const TReaderProc& readData,
                      const TWriterProc& writeData, bool hasData) override;
  void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                            const TStreamProc& writeData, bool hasData) override;

  // Reads a whole form: the signature, then the root component with all it
  // holds. A null root is created from the stream's class with rootOwner as
  // its owner. References are resolved and Loaded runs on every component
  // read once the whole form is in. On failure everything built is freed (a
  // root that was passed in stays, without the components read into it).
  TComponent* ReadRootComponent(TComponent* root, TComponent* rootOwner = nullptr);
  // Reads one component record into `component`, or creates it from its
  // class when null (owned by Owner()).
  TComponent* ReadComponent(TComponent* component);
  // The properties and children of a component: TComponent::ReadState.
  void ReadData(TComponent* instance);
  void ReadSignature();
  void ReadPrefix(TFilerFlags& flags, int32_t& childPos);

  // Values. NextValue looks at the type of the next value without reading it.
  TValueType NextValue();
  TValueType ReadValue();
  void CheckValue(TValueType value);
  bool EndOfList();
  void ReadListBegin();
  void ReadListEnd();
  int32_t ReadInteger();
  int64_t ReadInt64();
  bool ReadBoolean();
  char ReadChar();
  std::string ReadIdent();
  std::string ReadString();  // also wide strings, converted to code page 1252
  std::u16string ReadWideString();
  std::string ReadStr();     // a bare short string (names)
  long double ReadFloat();
  float ReadSingle();
  double ReadDate();
  int64_t ReadCurrency();  // scaled by 10000
  // Skips one value of any type, with all it contains.
  void SkipValue();
  void Read(void* buffer, int64_t count);

  // Offset in the stream of the next byte to be read.
  int64_t Position() const { return FOrigin + FPos; }
  // The owner given to components created while reading (the root) and the
  // component whose children are being read.
  TComponent* Owner() const { return FOwner; }
  void SetOwner(TComponent* owner) { FOwner = owner; }
  TComponent* Parent() const { return FParent; }
  void SetParent(TComponent* parent) { FParent = parent; }
  // How an offset is named in error messages ("offset 12"); the text path
  // names lines of the text instead.
  std::function<std::string(int64_t offset)> DescribeOffset;

  [[noreturn]] void ReadError(const std::string& what, int64_t offset);

 private:
  struct Fixup;
  struct State;
  // Makes sure that `need` bytes are at FData[FPos]; fails at the end.
  void Fill(int64_t need) {
    if (FEnd - FPos < need) FillMore(need);
  }
  void FillMore(int64_t need);
  uint8_t ReadByte() {
    Fill(1);
    return FData[FPos++];
  }
  TValueType PeekType();
  void ReadProperty(TComponent* instance);
  PPropInfo NextProp(TClass cls, std::string_view name);
  void ReadPropValue(TPersistent* instance, PPropInfo prop);
  int64_t ReadOrdinalFor(PPropInfo prop, TValueType t, int64_t at);
  void SkipSetBody();
  void SkipBytes(int64_t count);
  void CheckLength(int64_t length, int64_t at);
  [[noreturn]] void PropertyError(const std::string& reason, int64_t at);
  std::string Where(int64_t offset) const;
  void BindField(TComponent* component);
  void ResolveFixups();
  void FreeBuilt(TComponent* keep);

  std::vector<uint8_t> FBuffer;
  const uint8_t* FData = nullptr;  // the buffer, or a memory stream's bytes
  int64_t FPos = 0;                // index of the next byte in FData
  int64_t FEnd = 0;                // bytes valid in FData
  int64_t FOrigin = 0;             // stream offset of FData[0]
  int64_t FStreamSize = 0;
  bool FDirect = false;            // FData is the memory stream's own memory
  TComponent* FOwner = nullptr;
  TComponent* FParent = nullptr;
  State* FState = nullptr;         // what a whole read keeps: fixups, loaded list
  TClass FHintClass = nullptr;     // the class whose properties are being read
  size_t FHintIndex = 0;           // where in its Props() the next one likely is
  int FDepth = 0;                  // components and values being read, nested
  // The property being read, for errors, and the defined name being looked for.
  TComponent* FComponent = nullptr;
  std::string FPropPath;
  std::string FDefinedName;
  bool FDefinedFound = false;
};

// Writes components to a stream in the binary form-file format.
class TWriter : public TFiler {
  VCL_CLASS(TWriter, TFiler)
  explicit TWriter(TStream* stream, int bufSize = 4096);
  ~TWriter() override;  // writes out what is still buffered

  void DefineProperty(const std::string& name, const TReaderProc& readData,
                      const TWriterProc& writeData, bool hasData) override;
  void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                            const TStreamProc& writeData, bool hasData) override;

  // The signature, then the root with the children it passes, nested.
  void WriteRootComponent(TComponent* root);
  void WriteComponent(TComponent* component);
  // Header, properties and children of a component: TComponent::WriteState.
  void WriteData(TComponent* instance);
  void WriteSignature();
  void WritePrefix(TFilerFlags flags, int32_t childPos);
  void WriteProperties(TPersistent* instance);

  void WriteValue(TValueType value);
  void WriteListBegin();
  void WriteListEnd();
  // In the smallest width that holds the value.
  void WriteInteger(int64_t value);
  void WriteBoolean(bool value);
  void WriteChar(char value);
  void WriteIdent(const std::string& ident);
  void WriteString(const std::string& value);
  void WriteWideString(const std::u16string& value);
  void WriteStr(const std::string& value);  // a bare short string
  void WriteFloat(long double value);
  void WriteSingle(float value);
  void WriteDate(double value);
  void WriteCurrency(int64_t value);
  void Write(const void* buffer, int64_t count);
  void FlushBuffer();
  int64_t Position() const { return FOrigin + static_cast<int64_t>(FBufPos); }

 private:
  void WriteProperty(TPersistent* instance, PPropInfo prop);
  void WritePropName(const std::string& name);
  std::unique_ptr<uint8_t[]> FBuffer;
  size_t FBufSize;
  size_t FBufPos = 0;
  int64_t FOrigin = 0;
  std::string FPropPath;  // "Font." while a class property's parts are written
};

// The two formats of form files and the conversions between them.
enum TStreamOriginalFormat : uint8_t { sofUnknown, sofBinary, sofText };
// Looks at the stream from its position without moving it: binary when it
// starts with the signature, text when it starts (after blanks) with
// object, inherited or inline.
TStreamOriginalFormat TestStreamFormat(TStream* stream);
void ObjectBinaryToText(TStream* input, TStream* output);
void ObjectTextToBinary(TStream* input, TStream* output);

// Whole form files, in either format (told apart by the signature). A root
// is created from the stream's class, owned by `owner`; failures raise
// EReadError, EFilerError or EClassNotFound and leave nothing behind.
TComponent* ReadFormStream(TStream* stream, TComponent* owner);
TComponent* ReadFormFile(const std::string& fileName, TComponent* owner);
// Reads a form into an existing root.
void ReadFormStreamInto(TStream* stream, TComponent* root);
void WriteFormStream(TStream* stream, TComponent* root, TStreamOriginalFormat format = sofBinary);
// Writes the whole file or, on failure, leaves what was there untouched.
void WriteFormFile(const std::string& fileName, TComponent* root,
                   TStreamOriginalFormat format = sofBinary);
// Replaces a file's content with the bytes, or leaves it untouched on failure.
void ReplaceFileContent(const std::string& fileName, const std::string& bytes);
