#include "ui/Classes.h"

#include <algorithm>
#include <utility>

#include "ui/SysUtils.h"

namespace qlt {

const TClassInfo& TObject::StaticClass() {
  static const TClassInfo info = ClassBuilder<TObject, void>("TObject").Build();
  return info;
}

// ---- TPersistent ----

const TClassInfo& TPersistent::StaticClass() {
  static const TClassInfo info = ClassBuilder<TPersistent, TObject>("TPersistent").Build();
  return info;
}

void TPersistent::Assign(const TPersistent& source) {
  throw EConvertError(u"Cannot assign a " + Widen(source.ClassName()) + u" to a " + Widen(ClassName()));
}

// ---- TComponent ----

const TClassInfo& TComponent::StaticClass() {
  static const TClassInfo info = ClassBuilder<TComponent, TPersistent>("TComponent")
                                     .Str("Name", &TComponent::Name, &TComponent::SetName)
                                     .Int("Tag", &TComponent::Tag, &TComponent::SetTag)
                                     .Build();
  return info;
}

// ---- observers ----

namespace {

std::vector<TComponentObserver*>& Observers() {
  static std::vector<TComponentObserver*> observers;
  return observers;
}

// Over a copy, asking before each call whether the observer is still registered: an observer may
// register or unregister observers (and free them) from inside its call.
template <class Call>
void ForEachObserver(Call call) {
  const std::vector<TComponentObserver*> snapshot = Observers();
  for (TComponentObserver* observer : snapshot) {
    const auto& now = Observers();
    if (std::find(now.begin(), now.end(), observer) != now.end()) call(observer);
  }
}

}  // namespace

TComponentObserver::~TComponentObserver() { UnregisterComponentObserver(this); }

void RegisterComponentObserver(TComponentObserver* observer) {
  auto& observers = Observers();
  if (observer && std::find(observers.begin(), observers.end(), observer) == observers.end()) {
    observers.push_back(observer);
  }
}

void UnregisterComponentObserver(TComponentObserver* observer) { std::erase(Observers(), observer); }

void NotifyHandleCreated(TWinControl* control) {
  ForEachObserver([control](TComponentObserver* o) { o->HandleCreated(control); });
}

void NotifyHandleDestroying(TWinControl* control) {
  ForEachObserver([control](TComponentObserver* o) { o->HandleDestroying(control); });
}

// ---- TComponent ----

TComponent::TComponent(TComponent* owner) {
  // Silently: only this part of the object exists yet (see the class comment).
  if (owner) owner->Insert(this);
}

void* TComponent::operator new(std::size_t size) { return ::operator new(size); }

void TComponent::operator delete(void* block) noexcept { ::operator delete(block); }

void TComponent::operator delete(TComponent* component, std::destroying_delete_t) {
  component->BeginDestruction();
  void* block = dynamic_cast<void*>(component);  // the most derived object's storage
  component->~TComponent();                      // virtual: the whole chain of destructors
  ::operator delete(block);
}

void TComponent::BeginDestruction() noexcept {
  if (destructionBegun_) return;
  destructionBegun_ = true;
  Destroying();
  ForEachObserver([this](TComponentObserver* o) { o->ComponentDestroying(this); });
  try {
    SendFreeNotifications();
    if (owner_ && !removalAnnounced_) {
      removalAnnounced_ = true;
      owner_->NotifyAll(this, TOperation::opRemove);  // the owner and its other components
    }
    BeforeDestruction();
  } catch (...) {
    // Nothing may escape a delete; the classes report what their own parts raise.
  }
}

void TComponent::SendFreeNotifications() {
  // Those who asked to hear of this component's end hear it while its owner still knows it.
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    auto& back = other->freeNotifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
    other->Notification(this, TOperation::opRemove);
  }
}

TComponent::~TComponent() {
  BeginDestruction();  // only when not freed with delete: this part is all that is left
  SendFreeNotifications();
  // Owned components go last first, so that later components (which may refer to earlier ones)
  // are gone before what they refer to. Each leaves this list as it goes.
  while (!components_.empty()) delete components_.back();
  if (owner_) owner_->RemoveComponent(this);
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) throw EListError(Format(msg::kListIndexError, {IntToStr(index)}));
  return components_[static_cast<size_t>(index)];
}

TComponent* TComponent::FindComponent(std::u16string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_) {
    if (SameText(c->name_, name)) return c;
  }
  return nullptr;
}

namespace {

bool IsValidIdent(std::u16string_view name) {
  if (name.empty()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    const char16_t c = name[i];
    const bool letter = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
    const bool digit = c >= u'0' && c <= u'9';
    if (!letter && !(digit && i > 0)) return false;
  }
  return true;
}

}  // namespace

void TComponent::SetName(const std::u16string& name) {
  if (name == name_) return;
  if (!name.empty() && !IsValidIdent(name)) throw EConvertError(Format(msg::kInvalidName, {name}));
  if (owner_ && !name.empty()) {
    TComponent* existing = owner_->FindComponent(name);
    if (existing && existing != this) throw EConvertError(Format(msg::kDuplicateName, {name}));
  }
  name_ = name;
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component || component->owner_ == this) return;
  if (component->owner_) component->owner_->RemoveComponent(component);
  if (!component->name_.empty()) {
    TComponent* existing = FindComponent(component->name_);
    if (existing) throw EConvertError(Format(msg::kDuplicateName, {component->name_}));
  }
  Insert(component);
  NotifyAll(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (!component || component->owner_ != this) return;
  // A component being destroyed was announced when its destruction began.
  if (!std::exchange(component->removalAnnounced_, false)) NotifyAll(component, TOperation::opRemove);
  Remove(component);
}

void TComponent::Insert(TComponent* component) {
  components_.push_back(component);
  component->owner_ = this;
}

void TComponent::Remove(TComponent* component) {
  components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
  component->owner_ = nullptr;
}

void TComponent::NotifyAll(TComponent* component, TOperation operation) {
  Notification(component, operation);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove && component) RemoveFreeNotification(component);
  // A copy: a component may free others while it hears of a removal.
  const std::vector<TComponent*> owned = components_;
  for (TComponent* c : owned) {
    if (std::find(components_.begin(), components_.end(), c) != components_.end() && c != component) {
      c->Notification(component, operation);
    }
  }
}

void TComponent::SetDesigning(bool designing) {
  if (designing) {
    state_ |= csDesigning;
  } else {
    state_ &= ~static_cast<uint32_t>(csDesigning);
  }
  for (TComponent* c : components_) c->SetDesigning(designing);
}

void TComponent::FreeNotification(TComponent* other) {
  if (!other || other == this) return;
  if (owner_ && other == owner_) return;  // the owner hears of it anyway
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end()) {
    freeNotifies_.push_back(other);
    other->freeNotifies_.push_back(this);
  }
  state_ |= csFreeNotification;
}

void TComponent::RemoveFreeNotification(TComponent* other) {
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), other), freeNotifies_.end());
  if (other) {
    auto& back = other->freeNotifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
  }
}

void TComponent::Loaded() { state_ &= ~static_cast<uint32_t>(csLoading); }

void TComponent::Destroying() {
  if (state_ & csDestroying) return;
  state_ |= csDestroying;
  for (TComponent* c : components_) c->Destroying();
}

std::vector<TComponent*> TComponent::GetChildren(TComponent* root) const {
  std::vector<TComponent*> out;
  if (root == this) {
    for (TComponent* c : components_) {
      if (!c->GetParentComponent()) out.push_back(c);
    }
  }
  return out;
}

void TComponent::SetHandlerName(std::string_view event, std::string handler) {
  for (auto& [e, h] : handlerNames_) {
    if (SameText(e, event)) {
      h = std::move(handler);
      return;
    }
  }
  handlerNames_.emplace_back(std::string(event), std::move(handler));
}

// ---- TStringList ----

const TClassInfo& TStringList::StaticClass() {
  static const TClassInfo info = ClassBuilder<TStringList, TPersistent>("TStringList").Build();
  return info;
}

TStringList::TStringList(std::initializer_list<std::u16string> items) : items_(items) {}

void TStringList::CheckIndex(int index, int limit) const {
  if (index < 0 || index > limit) throw EListError(Format(msg::kListIndexError, {IntToStr(index)}));
}

const std::u16string& TStringList::Get(int index) const {
  CheckIndex(index, Count() - 1);
  return items_[static_cast<size_t>(index)];
}

void TStringList::Put(int index, const std::u16string& text) {
  CheckIndex(index, Count() - 1);
  items_[static_cast<size_t>(index)] = text;
  Replaced(index);
  Changed();
}

int TStringList::Add(const std::u16string& text) {
  Insert(Count(), text);
  return Count() - 1;
}

void TStringList::Insert(int index, const std::u16string& text) {
  CheckIndex(index, Count());
  items_.insert(items_.begin() + index, text);
  Inserted(index);
  Changed();
}

void TStringList::Delete(int index) {
  CheckIndex(index, Count() - 1);
  items_.erase(items_.begin() + index);
  Deleted(index);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Cleared();
  Changed();
}

int TStringList::IndexOf(std::u16string_view text) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (SameText(items_[i], text)) return static_cast<int>(i);
  }
  return -1;
}

void TStringList::Exchange(int a, int b) {
  CheckIndex(a, Count() - 1);
  CheckIndex(b, Count() - 1);
  std::swap(items_[static_cast<size_t>(a)], items_[static_cast<size_t>(b)]);
  Replaced(a);
  Replaced(b);
  Changed();
}

std::u16string TStringList::Text() const {
  std::u16string out;
  for (const auto& s : items_) out += s + u"\r\n";
  return out;
}

void TStringList::SetText(std::u16string_view text) {
  std::vector<std::u16string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' || text[i] == u'\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      start = i + 1;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  Assign(lines);
}

std::u16string TStringList::Names(int index) const {
  const std::u16string& row = Get(index);
  const size_t eq = row.find(u'=');
  return eq == std::u16string::npos ? std::u16string() : row.substr(0, eq);
}

std::u16string TStringList::ValueFromIndex(int index) const {
  const std::u16string& row = Get(index);
  const size_t eq = row.find(u'=');
  return eq == std::u16string::npos ? std::u16string() : row.substr(eq + 1);
}

std::u16string TStringList::Values(std::u16string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    if (SameText(Names(i), name) && items_[static_cast<size_t>(i)].find(u'=') != std::u16string::npos) {
      return ValueFromIndex(i);
    }
  }
  return {};
}

void TStringList::Assign(const TPersistent& source) {
  const auto* list = dynamic_cast<const TStringList*>(&source);
  if (!list) return TPersistent::Assign(source);
  if (list != this) Assign(list->items_);
}

void TStringList::Assign(const std::vector<std::u16string>& items) {
  const std::vector<std::u16string> copy = items;  // items may be our own
  if (!items_.empty()) {
    items_.clear();
    Cleared();
  }
  for (const auto& s : copy) {
    items_.push_back(s);
    Inserted(Count() - 1);
  }
  Changed();
}

void TStringList::DefineProperties(TFiler& filer) {
  filer.DefineProperty(
      "Strings",
      [this](const DfmValue& v) {
        if (v.kind != DfmValue::Kind::List) throw EReadError(std::u16string(msg::kInvalidPropertyValue));
        Assign(v.list);
      },
      [this]() -> std::optional<DfmValue> {
        if (items_.empty()) return std::nullopt;
        return DfmValue::ListOf(items_);
      });
}

void TStringList::Changed() {
  if (OnChange) OnChange(this);
}

// ---- TMemoryStream ----

void TMemoryStream::SetSize(int64_t size) {
  data_.resize(static_cast<size_t>(std::max<int64_t>(size, 0)));
  position_ = std::min(position_, Size());
}

void TMemoryStream::SetPosition(int64_t position) { position_ = std::clamp<int64_t>(position, 0, Size()); }

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  const int64_t n = std::clamp<int64_t>(count, 0, Size() - position_);
  if (n > 0) std::copy_n(data_.data() + position_, n, static_cast<char*>(buffer));
  position_ += n;
  return n;
}

void TMemoryStream::ReadBuffer(void* buffer, int64_t count) {
  if (Read(buffer, count) != count) throw EReadError(std::u16string(msg::kStreamRead));
}

void TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return;
  if (position_ + count > Size()) data_.resize(static_cast<size_t>(position_ + count));
  std::copy_n(static_cast<const char*>(buffer), count, data_.data() + position_);
  position_ += count;
}

void TMemoryStream::Clear() {
  data_.clear();
  position_ = 0;
}

}  // namespace qlt
