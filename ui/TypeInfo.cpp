#include "ui/TypeInfo.h"

#include <map>

#include "ui/Classes.h"
#include "ui/SysUtils.h"

namespace qlt {

std::string TEnumInfo::Name(int64_t ordinal) const {
  if (ordinal < 0 || ordinal >= static_cast<int64_t>(names.size())) return {};
  return names[static_cast<size_t>(ordinal)];
}

int TEnumInfo::Ordinal(std::string_view name) const {
  for (size_t i = 0; i < names.size(); ++i) {
    if (SameText(names[i], name)) return static_cast<int>(i);
  }
  return -1;
}

const TEnumInfo& BooleanInfo() {
  static const TEnumInfo info{{"False", "True"}};
  return info;
}

bool TIdentMap::ToInt(std::string_view ident, int32_t& value) const {
  for (const auto& [name, v] : entries) {
    if (SameText(name, ident)) {
      value = v;
      return true;
    }
  }
  return false;
}

bool TIdentMap::ToIdent(int32_t value, std::string& ident) const {
  for (const auto& [name, v] : entries) {
    if (v == value) {
      ident = name;
      return true;
    }
  }
  return false;
}

const TPropInfo* TClassInfo::FindProp(std::string_view propName) const {
  for (const TClassInfo* c = this; c; c = c->parent) {
    for (const auto& p : c->props) {
      if (SameText(p.name, propName)) return &p;
    }
  }
  return nullptr;
}

const THandlerInfo* TClassInfo::FindHandler(std::string_view handlerName) const {
  for (const TClassInfo* c = this; c; c = c->parent) {
    for (const auto& h : c->handlers) {
      if (SameText(h.name, handlerName)) return &h;
    }
  }
  return nullptr;
}

const TFieldInfo* TClassInfo::FindField(std::string_view fieldName) const {
  for (const TClassInfo* c = this; c; c = c->parent) {
    for (const auto& f : c->fields) {
      if (SameText(f.name, fieldName)) return &f;
    }
  }
  return nullptr;
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c; c = c->parent) {
    if (c == &other) return true;
  }
  return false;
}

std::vector<const TPropInfo*> TClassInfo::AllProps() const {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = this; c; c = c->parent) chain.insert(chain.begin(), c);
  std::vector<const TPropInfo*> out;
  for (const TClassInfo* c : chain) {
    for (const auto& p : c->props) {
      // A class may publish again a property of its base (with other accessors): keep the newest.
      bool replaced = false;
      for (auto& existing : out) {
        if (SameText(existing->name, p.name)) existing = &p, replaced = true;
      }
      if (!replaced) out.push_back(&p);
    }
  }
  return out;
}

namespace {

std::map<std::string, const TClassInfo*>& Registry() {
  static std::map<std::string, const TClassInfo*> registry;
  return registry;
}

const TPropInfo* PropOfKind(TObject* object, std::string_view name, TTypeKind kind) {
  const TPropInfo* p = GetPropInfo(object, name);
  return p && p->kind == kind ? p : nullptr;
}

}  // namespace

void RegisterComponentClass(const TClassInfo& info) { Registry()[AsciiLower(info.name)] = &info; }

const TClassInfo* FindClass(std::string_view name) {
  const auto it = Registry().find(AsciiLower(name));
  return it == Registry().end() ? nullptr : it->second;
}

const TPropInfo* GetPropInfo(const TObject* object, std::string_view name) {
  if (!object) return nullptr;
  // A derived class that publishes a property again wins over its base.
  for (const TClassInfo* c = &object->ClassType(); c; c = c->parent) {
    for (const auto& p : c->props) {
      if (SameText(p.name, name)) return &p;
    }
  }
  return nullptr;
}

int32_t GetIntProp(TObject* object, std::string_view name) {
  const TPropInfo* p = PropOfKind(object, name, TTypeKind::Integer);
  return p ? static_cast<int32_t>(p->getOrd(*object)) : 0;
}

void SetIntProp(TObject* object, std::string_view name, int32_t value) {
  if (const TPropInfo* p = PropOfKind(object, name, TTypeKind::Integer)) p->setOrd(*object, value);
}

std::string GetEnumProp(TObject* object, std::string_view name) {
  const TPropInfo* p = PropOfKind(object, name, TTypeKind::Enumeration);
  return p ? p->enumInfo->Name(p->getOrd(*object)) : std::string();
}

void SetEnumProp(TObject* object, std::string_view name, std::string_view ident) {
  const TPropInfo* p = PropOfKind(object, name, TTypeKind::Enumeration);
  if (!p) return;
  const int ordinal = p->enumInfo->Ordinal(ident);
  if (ordinal >= 0) p->setOrd(*object, ordinal);
}

uint32_t GetSetProp(TObject* object, std::string_view name) {
  const TPropInfo* p = PropOfKind(object, name, TTypeKind::Set);
  return p ? static_cast<uint32_t>(p->getOrd(*object)) : 0;
}

void SetSetProp(TObject* object, std::string_view name, uint32_t mask) {
  if (const TPropInfo* p = PropOfKind(object, name, TTypeKind::Set)) p->setOrd(*object, mask);
}

std::u16string GetStrProp(TObject* object, std::string_view name) {
  const TPropInfo* p = PropOfKind(object, name, TTypeKind::String);
  return p ? p->getStr(*object) : std::u16string();
}

void SetStrProp(TObject* object, std::string_view name, const std::u16string& value) {
  if (const TPropInfo* p = PropOfKind(object, name, TTypeKind::String)) p->setStr(*object, value);
}

TObject* GetObjectProp(TObject* object, std::string_view name, const TClassInfo* required) {
  const TPropInfo* p = PropOfKind(object, name, TTypeKind::Class);
  if (!p) return nullptr;
  TObject* value = p->getObj(*object);
  if (value && required && !value->InheritsFrom(*required)) return nullptr;
  return value;
}

void SetObjectProp(TObject* object, std::string_view name, TObject* value) {
  const TPropInfo* p = PropOfKind(object, name, TTypeKind::Class);
  if (p && p->setObj) p->setObj(*object, value);
}

}  // namespace qlt
