#include "ui/FormReader.h"

#include "ui/SysUtils.h"
#include "ui/Utf.h"

namespace qlt {
namespace {

// Finds a custom property of an object by name (DefineProperties) and hands it the value.
class ReadFiler : public TFiler {
 public:
  ReadFiler(std::string_view name, const DfmValue& value) : name_(name), value_(value) {}
  void DefineProperty(std::string_view name, const ReadProc& read, const WriteProc&) override {
    if (!found_ && SameText(name, name_) && read) {
      found_ = true;
      read(value_);
    }
  }
  bool Found() const { return found_; }

 private:
  std::string_view name_;
  const DfmValue& value_;
  bool found_ = false;
};

class WriteFiler : public TFiler {
 public:
  WriteFiler(std::string prefix, std::vector<DfmProperty>& out) : prefix_(std::move(prefix)), out_(out) {}
  void DefineProperty(std::string_view name, const ReadProc&, const WriteProc& write) override {
    if (!write) return;
    if (auto value = write()) out_.push_back({prefix_ + std::string(name), std::move(*value), 0});
  }

 private:
  std::string prefix_;
  std::vector<DfmProperty>& out_;
};

[[noreturn]] void Invalid(const std::string& detail) {
  throw EReadError(std::u16string(msg::kInvalidPropertyValue) + u" (" + Utf8ToUtf16(detail) + u")");
}

class Reader {
 public:
  explicit Reader(TComponent& root) : root_(root) {}

  void Read(const DfmObject& description) {
    root_.BeginReading();
    loaded_.push_back(&root_);
    try {
      if (root_.Name().empty() && !description.name.empty()) NameRoot(Widen(description.name));
      ReadProperties(root_, description, description.name);
      for (const auto& child : description.children) ReadChild(child, &root_, description.name);
      ResolveReferences();
    } catch (...) {
      for (TComponent* c : loaded_) c->EndReading();
      throw;
    }
    for (TComponent* c : loaded_) c->EndReading();
    for (TComponent* c : loaded_) c->Loaded();
  }

 private:
  struct Reference {
    TObject* target;
    const TPropInfo* prop;
    std::string name;
    std::string where;
  };

  // A second form of one class gets its name with "_1", "_2", ... so names stay unique in the owner.
  void NameRoot(const std::u16string& name) {
    TComponent* owner = root_.Owner();
    std::u16string unique = name;
    for (int n = 1; owner && owner->FindComponent(unique); ++n) unique = name + u"_" + IntToStr(n);
    root_.SetName(unique);
  }

  void ReadChild(const DfmObject& description, TComponent* parent, const std::string& path) {
    const std::string where = path + "." + description.name;
    const TClassInfo* cls = FindClass(description.className);
    if (!cls || !cls->create) {
      throw EReadError(Format(msg::kErrorReading, {Widen(where), Format(msg::kClassNotFound, {Widen(description.className)})}));
    }
    TComponent* component = root_.FindComponent(Widen(description.name));
    if (component && &component->ClassType() != cls) component = nullptr;
    if (!component) {
      component = cls->create(&root_);
      component->BeginReading();
      try {
        component->SetName(Widen(description.name));
      } catch (const Exception& e) {
        delete component;
        throw EReadError(Format(msg::kErrorReading, {Widen(where), e.Message()}));
      }
    } else {
      component->BeginReading();
    }
    loaded_.push_back(component);
    if (const TFieldInfo* field = root_.ClassType().FindField(description.name)) {
      if (!field->assign(root_, component)) {
        throw EReadError(Format(msg::kErrorReading, {Widen(where), u"the field has another class"}));
      }
    }
    component->SetParentComponent(parent);
    ReadProperties(*component, description, where);
    for (const auto& child : description.children) ReadChild(child, component, where);
  }

  void ReadProperties(TComponent& component, const DfmObject& description, const std::string& where) {
    for (const auto& prop : description.props) {
      where_ = where;
      try {
        SetProperty(component, prop);
      } catch (const Exception& e) {
        const std::string at = where + "." + prop.name + " (line " + std::to_string(prop.line) + ")";
        throw EReadError(Format(msg::kErrorReading, {Utf8ToUtf16(at), e.Message()}));
      }
    }
  }

  void SetProperty(TComponent& component, const DfmProperty& prop) {
    // "Font.Name": walk the sub-objects up to the last part.
    TObject* target = &component;
    std::string_view path = prop.name;
    for (size_t dot = path.find('.'); dot != std::string_view::npos; dot = path.find('.')) {
      const std::string_view part = path.substr(0, dot);
      const TPropInfo* p = GetPropInfo(target, part);
      if (!p || p->kind != TTypeKind::Class) throw EReadError(Format(msg::kPropertyNotFound, {Widen(part)}));
      target = p->getObj(*target);
      if (!target) throw EReadError(Format(msg::kPropertyNotFound, {Widen(part)}));
      path = path.substr(dot + 1);
    }
    const TPropInfo* p = GetPropInfo(target, path);
    if (!p) {
      auto* persistent = dynamic_cast<TPersistent*>(target);
      ReadFiler filer(path, prop.value);
      if (persistent) persistent->DefineProperties(filer);
      if (!filer.Found()) throw EReadError(Format(msg::kPropertyNotFound, {Widen(path)}));
      return;
    }
    SetValue(component, *target, *p, prop);
  }

  void SetValue(TComponent& component, TObject& target, const TPropInfo& p, const DfmProperty& prop) {
    const DfmValue& v = prop.value;
    switch (p.kind) {
      case TTypeKind::Integer: {
        int32_t value = 0;
        if (v.kind == DfmValue::Kind::Integer) {
          value = static_cast<int32_t>(v.integer);
        } else if (v.kind != DfmValue::Kind::Ident || !p.idents || !p.idents->ToInt(v.ident, value)) {
          Invalid("an integer is expected");
        }
        p.setOrd(target, value);
        break;
      }
      case TTypeKind::Enumeration: {
        const int ordinal = v.kind == DfmValue::Kind::Ident ? p.enumInfo->Ordinal(v.ident) : -1;
        if (ordinal < 0) Invalid("unknown identifier " + v.ident);
        p.setOrd(target, ordinal);
        break;
      }
      case TTypeKind::Set: {
        if (v.kind != DfmValue::Kind::Set) Invalid("a set is expected");
        uint32_t mask = 0;
        for (const auto& element : v.set) {
          const int ordinal = p.enumInfo->Ordinal(element);
          if (ordinal < 0 || ordinal >= 32) Invalid("unknown set element " + element);
          mask |= 1u << ordinal;
        }
        p.setOrd(target, mask);
        break;
      }
      case TTypeKind::String:
        if (v.kind != DfmValue::Kind::String) Invalid("a string is expected");
        p.setStr(target, v.text);
        break;
      case TTypeKind::Class:
        if (v.kind == DfmValue::Kind::Ident && p.setObj) {
          references_.push_back({&target, &p, v.ident, where_ + "." + prop.name});
        } else if (v.kind == DfmValue::Kind::List) {
          auto* list = dynamic_cast<TStringList*>(p.getObj(target));
          if (!list) Invalid("the property is not a string list");
          list->Assign(v.list);
        } else {
          Invalid("a component name is expected");
        }
        break;
      case TTypeKind::Method: {
        if (v.kind != DfmValue::Kind::Ident) Invalid("a handler name is expected");
        const THandlerInfo* handler = root_.ClassType().FindHandler(v.ident);
        if (!handler) Invalid("no handler " + v.ident + " in " + root_.ClassName());
        if (!p.setMethod(target, handler->bind(root_))) Invalid(v.ident + " does not fit the event");
        if (&target == &component) component.SetHandlerName(p.name, v.ident);
        break;
      }
    }
  }

  void ResolveReferences() {
    for (const auto& ref : references_) {
      TComponent* found = root_.FindComponent(Widen(ref.name));
      if (!found && SameText(root_.Name(), Widen(ref.name))) found = &root_;
      if (!found) {
        throw EReadError(Format(msg::kErrorReading, {Widen(ref.where), u"no component named " + Widen(ref.name)}));
      }
      ref.prop->setObj(*ref.target, found);
    }
  }

  TComponent& root_;
  std::string where_;
  std::vector<TComponent*> loaded_;
  std::vector<Reference> references_;
};

class Writer {
 public:
  explicit Writer(TComponent& root) : root_(root) {}

  DfmObject Write(TComponent& component) {
    DfmObject out;
    out.name = Narrow(component.Name());
    out.className = component.ClassName();
    WriteProperties(component, "", out.props);
    for (const auto& [event, handler] : component.HandlerNames()) out.props.push_back({event, DfmValue::Id(handler), 0});
    for (TComponent* child : component.GetChildren(&root_)) out.children.push_back(Write(*child));
    return out;
  }

 private:
  void WriteProperties(TObject& object, const std::string& prefix, std::vector<DfmProperty>& out) {
    for (const TPropInfo* p : object.ClassType().AllProps()) {
      if (SameText(p->name, "Name")) continue;
      if (p->stored && !p->stored(object)) continue;
      const std::string name = prefix + p->name;
      switch (p->kind) {
        case TTypeKind::Integer: {
          const int64_t v = p->getOrd(object);
          if (p->defaultOrd == v || (!p->defaultOrd && v == 0)) break;
          std::string ident;
          if (p->idents && p->idents->ToIdent(static_cast<int32_t>(v), ident)) {
            out.push_back({name, DfmValue::Id(ident), 0});
          } else {
            out.push_back({name, DfmValue::Int(v), 0});
          }
          break;
        }
        case TTypeKind::Enumeration: {
          const int64_t v = p->getOrd(object);
          if (p->defaultOrd == v || (!p->defaultOrd && v == 0)) break;
          out.push_back({name, DfmValue::Id(p->enumInfo->Name(v)), 0});
          break;
        }
        case TTypeKind::Set: {
          const auto mask = static_cast<uint32_t>(p->getOrd(object));
          if (p->defaultOrd == mask || (!p->defaultOrd && mask == 0)) break;
          std::vector<std::string> elements;
          for (int i = 0; i < 32; ++i) {
            if (mask & (1u << i)) elements.push_back(p->enumInfo->Name(i));
          }
          out.push_back({name, DfmValue::SetOf(std::move(elements)), 0});
          break;
        }
        case TTypeKind::String: {
          std::u16string v = p->getStr(object);
          if (!v.empty()) out.push_back({name, DfmValue::Str(std::move(v)), 0});
          break;
        }
        case TTypeKind::Class: {
          TObject* value = p->getObj(object);
          if (!value) break;
          // A component is a reference by name; anything else is a sub-object whose own
          // properties are stored ("Font.Name", "Skin3rd.Strings"), settable or not.
          if (auto* c = dynamic_cast<TComponent*>(value)) {
            if (p->setObj && !c->Name().empty()) out.push_back({name, DfmValue::Id(Narrow(c->Name())), 0});
          } else {
            WriteProperties(*value, name + ".", out);
          }
          break;
        }
        case TTypeKind::Method:
          break;  // written from the handler names
      }
    }
    if (auto* persistent = dynamic_cast<TPersistent*>(&object)) {
      WriteFiler filer(prefix, out);
      persistent->DefineProperties(filer);
    }
  }

  TComponent& root_;
};

}  // namespace

void ReadRootComponent(TComponent& root, const DfmObject& description) { Reader(root).Read(description); }

DfmObject WriteRootComponent(TComponent& root) { return Writer(root).Write(root); }

}  // namespace qlt
