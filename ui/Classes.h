#pragma once
// The object model of the framework: TObject (run-time type information), TPersistent (can be stored
// in a form description), TComponent (name, tag, owner, owned components, state flags, free
// notification), TStringList and TMemoryStream. Portable: no <windows.h>.
#include <cstdint>
#include <functional>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/FormText.h"
#include "ui/TypeInfo.h"

namespace qlt {

class TObject {
 public:
  virtual ~TObject() = default;
  static const TClassInfo& StaticClass();
  virtual const TClassInfo& ClassType() const { return StaticClass(); }
  const std::string& ClassName() const { return ClassType().name; }
  bool InheritsFrom(const TClassInfo& info) const { return ClassType().InheritsFrom(info); }
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

// Reads and writes the properties a class stores beyond its published ones ("SkinStream",
// "Strings", "Data"): the reader calls read with the value found in the description, the writer
// calls write and stores the value it returns, if any.
class TFiler {
 public:
  using ReadProc = std::function<void(const DfmValue&)>;
  using WriteProc = std::function<std::optional<DfmValue>()>;
  virtual ~TFiler() = default;
  virtual void DefineProperty(std::string_view name, const ReadProc& read, const WriteProc& write) = 0;
};

class TPersistent : public TObject {
  QLT_CLASS(TPersistent)
 public:
  virtual void DefineProperties(TFiler& filer) {}
  // Copies the state of another object; the base refuses (EConvertError "Cannot assign ...").
  virtual void Assign(const TPersistent& source);
};

enum ComponentStateFlag : uint32_t {
  csLoading = 1,       // from construction by a reader until Loaded
  csReading = 2,       // while its properties are read
  csWriting = 4,
  csDestroying = 8,
  csDesigning = 16,
  csFreeNotification = 32,
};

enum class TOperation { opInsert, opRemove };

class TComponent;
class TWinControl;

// Told of components and windows coming and going, with whole objects: what the skin engine
// watches to attach to controls as their windows appear and to let go before anything is torn
// down. Everything runs on the user-interface thread. An observer is registered for its lifetime
// once it calls RegisterComponentObserver, and may register or unregister observers (itself too)
// from inside a call.
class TComponentObserver {
 public:
  virtual ~TComponentObserver();
  // A windowed control got its window: the control has filled in its state (CreateWnd), and its
  // children follow. A hidden form's controls get theirs when it is first shown.
  virtual void HandleCreated(TWinControl* control) noexcept {}
  // A windowed control is losing its window (DestroyHandle, RecreateWnd, its parent window going,
  // DestroyWindow from anywhere); the window and the object are still whole.
  virtual void HandleDestroying(TWinControl* control) noexcept {}
  // A component is about to be destroyed; every part of it is still alive.
  virtual void ComponentDestroying(TComponent* component) noexcept {}
};
void RegisterComponentObserver(TComponentObserver* observer);
void UnregisterComponentObserver(TComponentObserver* observer);
// The framework's windowed controls report through these.
void NotifyHandleCreated(TWinControl* control);
void NotifyHandleDestroying(TWinControl* control);

// A component belongs to its owner, which frees it; it is freed by `delete` (which removes it from
// its owner) or with the owner. Owned components are kept in creation order, which for a form read
// from a description is the order of the description.
//
// Destruction comes in two steps. `delete` first runs BeforeDestruction while the whole object
// still exists (observers hear ComponentDestroying, free notifications and the owner's opRemove go
// out, then the virtual BeforeDestruction of each class: a form runs OnDestroy, a windowed control
// gives up its window), and only then the destructors. An object not freed with `delete` (one on
// the stack) gets the same step from its most derived destructor that asks for it with
// BeginDestruction, or from ~TComponent at the latest.
//
// A component constructed with an owner joins the owner's list silently: at that moment only its
// TComponent part exists, so nobody is handed it half-built. opInsert is sent when a finished
// component is moved to an owner with InsertComponent.
class TComponent : public TPersistent {
  QLT_CLASS(TComponent)
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;
  // `delete` on any component runs BeginDestruction before the destructors. The plain pair is
  // what a construction that fails gives its storage back with.
  static void* operator new(std::size_t size);
  static void operator delete(void* block) noexcept;
  void operator delete(TComponent* component, std::destroying_delete_t);

  const std::u16string& Name() const { return name_; }
  void SetName(const std::u16string& name);  // a unique identifier among the owner's components
  int32_t Tag() const { return tag_; }
  void SetTag(int32_t tag) { tag_ = tag; }
  TComponent* Owner() const { return owner_; }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const;
  const std::vector<TComponent*>& ComponentList() const { return components_; }
  TComponent* FindComponent(std::u16string_view name) const;  // letter case ignored
  // Moves a component between owners.
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);

  uint32_t ComponentState() const { return state_; }
  bool InState(ComponentStateFlag flag) const { return (state_ & flag) != 0; }
  void SetDesigning(bool designing);
  // A form reader marks what it reads; Loaded clears csLoading.
  void BeginReading() { state_ |= csLoading | csReading; }
  void EndReading() { state_ &= ~static_cast<uint32_t>(csReading); }

  // `other` gets Notification(this, opRemove) when this component is freed.
  void FreeNotification(TComponent* other);
  void RemoveFreeNotification(TComponent* other);

  // Called once the form (or whatever was read) has been read completely.
  virtual void Loaded();
  // Insertions into and removals from the owner, and free notifications; passed on to the owned
  // components, so a control learns that a popup menu it refers to is gone.
  virtual void Notification(TComponent* component, TOperation operation);

  // The description reader nests an object inside another: a control in its parent, a menu item in
  // its menu. The writer asks the reverse question.
  virtual void SetParentComponent(TComponent* parent) {}
  virtual TComponent* GetParentComponent() const { return nullptr; }
  // The components a writer nests inside this one, in order (defaults: the owned components that
  // have no parent component, for the root).
  virtual std::vector<TComponent*> GetChildren(TComponent* root) const;

  // Names of the handlers bound from a description, kept so that the description can be written back.
  void SetHandlerName(std::string_view event, std::string handler);
  const std::vector<std::pair<std::string, std::string>>& HandlerNames() const { return handlerNames_; }

 protected:
  // Sets csDestroying here and in the owned components; a destructor that still runs handlers or
  // touches windows calls it first.
  void Destroying();
  // The first step of destruction, once: csDestroying, observers, free notifications and the
  // owner's opRemove, then BeforeDestruction. `delete` calls it; a class whose objects may live on
  // the stack calls it at the start of its destructor.
  void BeginDestruction() noexcept;
  // What a class does while the whole object still exists, before any destructor runs; an
  // override does its own part first and then calls the inherited one.
  virtual void BeforeDestruction() {}

 private:
  void Insert(TComponent* component);
  void Remove(TComponent* component);
  void NotifyAll(TComponent* component, TOperation operation);
  void SendFreeNotifications();

  std::u16string name_;
  int32_t tag_ = 0;
  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  uint32_t state_ = 0;
  bool destructionBegun_ = false;
  bool removalAnnounced_ = false;  // the owner has heard opRemove already
  std::vector<std::pair<std::string, std::string>> handlerNames_;
};

// A list of strings; a control's item list derives from it and mirrors every change to its window.
class TStringList : public TPersistent {
  QLT_CLASS(TStringList)
 public:
  TStringList() = default;
  TStringList(std::initializer_list<std::u16string> items);

  int Count() const { return static_cast<int>(items_.size()); }
  const std::u16string& operator[](int index) const { return Get(index); }
  const std::u16string& Get(int index) const;  // EListError outside the list
  void Put(int index, const std::u16string& text);
  int Add(const std::u16string& text);
  void Insert(int index, const std::u16string& text);
  void Delete(int index);
  void Clear();
  int IndexOf(std::u16string_view text) const;  // letter case ignored (ASCII); -1 when absent
  void Exchange(int a, int b);

  // Lines joined by CR LF, each ended by it; SetText splits at CR, LF or CR LF.
  std::u16string Text() const;
  void SetText(std::u16string_view text);
  // "name=value" rows.
  std::u16string Names(int index) const;
  std::u16string ValueFromIndex(int index) const;
  std::u16string Values(std::u16string_view name) const;

  const std::vector<std::u16string>& Items() const { return items_; }
  void Assign(const TPersistent& source) override;
  void Assign(const std::vector<std::u16string>& items);
  void DefineProperties(TFiler& filer) override;  // "Strings"
  bool operator==(const TStringList& other) const { return items_ == other.items_; }

  TNotifyEvent OnChange;

 protected:
  // Hooks of lists that mirror a window; called after the change.
  virtual void Inserted(int index) {}
  virtual void Deleted(int index) {}
  virtual void Replaced(int index) {}
  virtual void Cleared() {}
  void Changed();
  void CheckIndex(int index, int limit) const;

 private:
  std::vector<std::u16string> items_;
};

// A growable block of bytes with a position.
class TMemoryStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::string bytes) : data_(std::move(bytes)) {}
  int64_t Size() const { return static_cast<int64_t>(data_.size()); }
  void SetSize(int64_t size);
  int64_t Position() const { return position_; }
  void SetPosition(int64_t position);
  int64_t Read(void* buffer, int64_t count);       // returns the bytes read
  void ReadBuffer(void* buffer, int64_t count);    // EReadError when fewer are left
  void Write(const void* buffer, int64_t count);
  void Clear();
  const std::string& Bytes() const { return data_; }
  char* Memory() { return data_.data(); }

 private:
  std::string data_;
  int64_t position_ = 0;
};

}  // namespace qlt
