#pragma once
// Run-time type information of the framework: for each class its name, its base, its published
// properties (with getter and setter), and for form classes the event-handler methods and component
// fields that a form description binds by name. Properties can be read and written by name, which is
// how form descriptions are applied and how code that knows a control only by class (a skinner)
// reads "Caption", "Font" or "Checked". Portable: no <windows.h>.
//
// A class declares itself with QLT_CLASS in its body and defines StaticClass() with a ClassBuilder:
//
//   const TClassInfo& TButton::StaticClass() {
//     static const TClassInfo info = ClassBuilder<TButton, TButtonControl>("TButton")
//         .Bool("Default", &TButton::Default, &TButton::SetDefault)
//         .Build();
//     return info;
//   }
#include <any>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace qlt {

class TObject;
class TComponent;
struct TClassInfo;

enum class TTypeKind { Integer, Enumeration, Set, String, Class, Method };

// The identifiers of an enumeration in ordinal order ("taLeftJustify", "taRightJustify", ...).
struct TEnumInfo {
  std::vector<std::string> names;
  std::string Name(int64_t ordinal) const;       // "" outside the range
  int Ordinal(std::string_view name) const;      // -1 for an unknown name; letter case ignored
};
const TEnumInfo& BooleanInfo();  // False, True

// Names for some values of an integer property (colours "clBtnFace", cursors "crHandPoint").
struct TIdentMap {
  std::vector<std::pair<std::string, int32_t>> entries;
  bool ToInt(std::string_view ident, int32_t& value) const;
  bool ToIdent(int32_t value, std::string& ident) const;
};

struct TPropInfo {
  std::string name;
  TTypeKind kind = TTypeKind::Integer;
  const TEnumInfo* enumInfo = nullptr;           // Enumeration, Set (the element type)
  const TIdentMap* idents = nullptr;             // Integer, optional
  const TClassInfo& (*classInfo)() = nullptr;    // Class: the class of the value
  std::function<int64_t(TObject&)> getOrd;       // Integer, Enumeration, Set (a bit mask)
  std::function<void(TObject&, int64_t)> setOrd;
  std::function<std::u16string(TObject&)> getStr;
  std::function<void(TObject&, const std::u16string&)> setStr;
  std::function<TObject*(TObject&)> getObj;
  std::function<void(TObject&, TObject*)> setObj;       // empty for an owned sub-object (Font)
  std::function<bool(TObject&, const std::any&)> setMethod;  // false when the handler has another signature
  std::function<void(TObject&)> clearMethod;
  // For writing a description back: values equal to the default (Integer, Enumeration, Set) and
  // properties whose stored predicate says no are left out; empty strings are always left out.
  std::optional<int64_t> defaultOrd;
  std::function<bool(TObject&)> stored;
};

// A method of a form class that a description can name as an event handler ("Btn_HideClick").
struct THandlerInfo {
  std::string name;
  std::function<std::any(TObject& self)> bind;  // the handler bound to one form, as a std::function
};

// A pointer member of a form class that receives the component of the same name.
struct TFieldInfo {
  std::string name;
  std::function<bool(TObject& self, TComponent* component)> assign;  // false when the class does not fit
};

struct TClassInfo {
  std::string name;
  const TClassInfo* parent = nullptr;
  std::vector<TPropInfo> props;
  std::vector<THandlerInfo> handlers;
  std::vector<TFieldInfo> fields;
  TComponent* (*create)(TComponent* owner) = nullptr;  // components that a description can create

  const TPropInfo* FindProp(std::string_view propName) const;  // own and inherited; letter case ignored
  const THandlerInfo* FindHandler(std::string_view handlerName) const;
  const TFieldInfo* FindField(std::string_view fieldName) const;
  bool InheritsFrom(const TClassInfo& other) const;
  // Published properties of this class and its bases, bases first, in declaration order.
  std::vector<const TPropInfo*> AllProps() const;
};

// Classes that form descriptions may name. Registering twice is harmless.
void RegisterComponentClass(const TClassInfo& info);
template <class T>
void RegisterComponentClass() {
  RegisterComponentClass(T::StaticClass());
}
const TClassInfo* FindClass(std::string_view name);

// Property access by name. A property the object lacks, or of another kind, reads as 0, "" or
// nullptr and is not written.
const TPropInfo* GetPropInfo(const TObject* object, std::string_view name);
int32_t GetIntProp(TObject* object, std::string_view name);
void SetIntProp(TObject* object, std::string_view name, int32_t value);
std::string GetEnumProp(TObject* object, std::string_view name);  // the identifier: "True", "taCenter"
void SetEnumProp(TObject* object, std::string_view name, std::string_view ident);  // unknown identifiers are ignored
uint32_t GetSetProp(TObject* object, std::string_view name);
void SetSetProp(TObject* object, std::string_view name, uint32_t mask);
std::u16string GetStrProp(TObject* object, std::string_view name);
void SetStrProp(TObject* object, std::string_view name, const std::u16string& value);
// nullptr also when the value is not of the required class (nullptr requires nothing).
TObject* GetObjectProp(TObject* object, std::string_view name, const TClassInfo* required = nullptr);
void SetObjectProp(TObject* object, std::string_view name, TObject* value);

// Builds the TClassInfo of class C derived from Base (void for a root class).
template <class C, class Base>
class ClassBuilder {
 public:
  explicit ClassBuilder(std::string name) {
    info_.name = std::move(name);
    if constexpr (!std::is_void_v<Base>) info_.parent = &Base::StaticClass();
    if constexpr (std::is_constructible_v<C, TComponent*> && !std::is_abstract_v<C>) {
      info_.create = [](TComponent* owner) -> TComponent* { return new C(owner); };
    }
  }

  // Integer property; idents optionally name some values.
  template <class G, class S>
  ClassBuilder& Int(std::string name, G get, S set, const TIdentMap* idents = nullptr) {
    TPropInfo p = Named(std::move(name), TTypeKind::Integer);
    p.idents = idents;
    p.getOrd = [get](TObject& o) { return static_cast<int64_t>(std::invoke(get, Self(o))); };
    p.setOrd = [set](TObject& o, int64_t v) { std::invoke(set, Self(o), static_cast<int32_t>(v)); };
    return Add(std::move(p));
  }
  template <class G, class S>
  ClassBuilder& Enum(std::string name, const TEnumInfo& values, G get, S set) {
    TPropInfo p = Named(std::move(name), TTypeKind::Enumeration);
    p.enumInfo = &values;
    p.getOrd = [get](TObject& o) { return static_cast<int64_t>(std::invoke(get, Self(o))); };
    p.setOrd = [set, &values](TObject& o, int64_t v) {
      if (v < 0 || v >= static_cast<int64_t>(values.names.size())) return;
      using Arg = std::decay_t<decltype(std::invoke(get, Self(o)))>;
      std::invoke(set, Self(o), static_cast<Arg>(v));
    };
    return Add(std::move(p));
  }
  template <class G, class S>
  ClassBuilder& Bool(std::string name, G get, S set) {
    TPropInfo p = Named(std::move(name), TTypeKind::Enumeration);
    p.enumInfo = &BooleanInfo();
    p.getOrd = [get](TObject& o) { return static_cast<int64_t>(std::invoke(get, Self(o)) ? 1 : 0); };
    p.setOrd = [set](TObject& o, int64_t v) { std::invoke(set, Self(o), v != 0); };
    return Add(std::move(p));
  }
  // Set property held as a bit mask: bit n is element n of the enumeration.
  template <class G, class S>
  ClassBuilder& Set(std::string name, const TEnumInfo& elements, G get, S set) {
    TPropInfo p = Named(std::move(name), TTypeKind::Set);
    p.enumInfo = &elements;
    p.getOrd = [get](TObject& o) { return static_cast<int64_t>(std::invoke(get, Self(o))); };
    p.setOrd = [set](TObject& o, int64_t v) { std::invoke(set, Self(o), static_cast<uint32_t>(v)); };
    return Add(std::move(p));
  }
  template <class G, class S>
  ClassBuilder& Str(std::string name, G get, S set) {
    TPropInfo p = Named(std::move(name), TTypeKind::String);
    p.getStr = [get](TObject& o) { return std::u16string(std::invoke(get, Self(o))); };
    p.setStr = [set](TObject& o, const std::u16string& v) { std::invoke(set, Self(o), v); };
    return Add(std::move(p));
  }
  // Object property of class T: a sub-object the class owns (set = nullptr; a description sets its
  // properties, "Font.Name = ...") or a reference to another component (a description names it).
  template <class T, class G, class S = std::nullptr_t>
  ClassBuilder& Object(std::string name, G get, S set = nullptr) {
    TPropInfo p = Named(std::move(name), TTypeKind::Class);
    p.classInfo = &T::StaticClass;
    p.getObj = [get](TObject& o) -> TObject* { return std::invoke(get, Self(o)); };
    if constexpr (!std::is_same_v<S, std::nullptr_t>) {
      p.setObj = [set](TObject& o, TObject* v) {
        T* typed = v ? dynamic_cast<T*>(v) : nullptr;
        if (v && !typed) return;
        std::invoke(set, Self(o), typed);
      };
    }
    return Add(std::move(p));
  }
  // Event property: a std::function member, bound by a description to a handler method of the form.
  template <class F>
  ClassBuilder& Event(std::string name, F C::*member) {
    TPropInfo p = Named(std::move(name), TTypeKind::Method);
    p.setMethod = [member](TObject& o, const std::any& handler) {
      const F* typed = std::any_cast<F>(&handler);
      if (!typed) return false;
      Self(o).*member = *typed;
      return true;
    };
    p.clearMethod = [member](TObject& o) { Self(o).*member = nullptr; };
    return Add(std::move(p));
  }
  // Component field of a form class, assigned when a component of that name is read.
  template <class T>
  ClassBuilder& Field(std::string name, T* C::*member) {
    info_.fields.push_back({std::move(name), [member](TObject& self, TComponent* component) {
                              T* typed = dynamic_cast<T*>(component);
                              if (!typed) return false;
                              Self(self).*member = typed;
                              return true;
                            }});
    return *this;
  }
  // Event-handler method of a form class; its signature must match the event it is bound to.
  template <class... Args>
  ClassBuilder& Handler(std::string name, void (C::*method)(Args...)) {
    info_.handlers.push_back({std::move(name), [method](TObject& self) {
                                C* form = &Self(self);
                                return std::any(std::function<void(Args...)>(
                                    [form, method](Args... args) { (form->*method)(std::forward<Args>(args)...); }));
                              }});
    return *this;
  }

  // Default value of the property declared last (left out when a description is written).
  ClassBuilder& Default(int64_t value) {
    info_.props.back().defaultOrd = value;
    return *this;
  }
  // When the property declared last is stored in a description at all.
  template <class P>
  ClassBuilder& Stored(P predicate) {
    info_.props.back().stored = [predicate](TObject& o) { return static_cast<bool>(std::invoke(predicate, Self(o))); };
    return *this;
  }

  TClassInfo Build() { return std::move(info_); }

 private:
  static C& Self(TObject& o) { return static_cast<C&>(o); }
  static TPropInfo Named(std::string name, TTypeKind kind) {
    TPropInfo p;
    p.name = std::move(name);
    p.kind = kind;
    return p;
  }
  ClassBuilder& Add(TPropInfo p) {
    info_.props.push_back(std::move(p));
    return *this;
  }

  TClassInfo info_;
};

}  // namespace qlt

// Declares the run-time type information of a class (inside its body, under any access).
#define QLT_CLASS(Self)                                                                 \
 public:                                                                                \
  static const ::qlt::TClassInfo& StaticClass();                                        \
  const ::qlt::TClassInfo& ClassType() const override { return Self::StaticClass(); } \
                                                                                        \
 private:
