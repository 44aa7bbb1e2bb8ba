// Components (ownership, names, free notification, state flags, Loaded), published properties by
// name, and forms read from and written back to descriptions, on small classes of the test's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "ui/Classes.h"
#include "ui/FormReader.h"
#include "ui/SysUtils.h"

namespace qlt {
namespace {

std::vector<std::string> g_log;

enum TAlign { alNone, alLeft, alRight };
const TEnumInfo& AlignInfo() {
  static const TEnumInfo info{{"alNone", "alLeft", "alRight"}};
  return info;
}
enum TStyle { fsBold, fsItalic, fsUnderline };
const TEnumInfo& StyleInfo() {
  static const TEnumInfo info{{"fsBold", "fsItalic", "fsUnderline"}};
  return info;
}
const TIdentMap& SizeIdents() {
  static const TIdentMap map{{{"szSmall", 10}, {"szLarge", 99}}};
  return map;
}

class TPen : public TPersistent {
  QLT_CLASS(TPen)
 public:
  std::u16string Name() const { return name_; }
  void SetName(const std::u16string& n) { name_ = n; }
  uint32_t Style() const { return style_; }
  void SetStyle(uint32_t s) { style_ = s; }

 private:
  std::u16string name_;
  uint32_t style_ = 0;
};

const TClassInfo& TPen::StaticClass() {
  static const TClassInfo info = ClassBuilder<TPen, TPersistent>("TPen")
                                     .Str("Name", &TPen::Name, &TPen::SetName)
                                     .Set("Style", StyleInfo(), &TPen::Style, &TPen::SetStyle)
                                     .Build();
  return info;
}

class TGadget : public TComponent {
  QLT_CLASS(TGadget)
 public:
  explicit TGadget(TComponent* owner) : TComponent(owner) {}
  ~TGadget() override { g_log.push_back("free " + Narrow(Name())); }
  int Size() const { return size_; }
  void SetSize(int v) { size_ = v; }
  TAlign Align() const { return align_; }
  void SetAlign(TAlign a) { align_ = a; }
  bool Active() const { return active_; }
  void SetActive(bool a) {
    active_ = a;
    // What a component does while it is read differs from what it does at run time.
    if (!InState(csReading)) g_log.push_back("activated at run time");
  }
  std::u16string Caption() const { return caption_; }
  void SetCaption(const std::u16string& c) { caption_ = c; }
  TPen* Pen() const { return pen_.get(); }
  TGadget* Partner() const { return partner_; }
  void SetPartner(TGadget* p) {
    partner_ = p;
    if (p) p->FreeNotification(this);
  }
  TStringList* Lines() const { return lines_.get(); }
  void SetLines(TStringList* lines) { lines ? lines_->Assign(*lines) : lines_->Clear(); }
  const std::string& Blob() const { return blob_; }
  void SetBlob(std::string b) { blob_ = std::move(b); }
  TComponent* ParentComponent() const { return parent_; }

  void SetParentComponent(TComponent* parent) override { parent_ = parent; }
  TComponent* GetParentComponent() const override { return parent_ && parent_ != Owner() ? parent_ : nullptr; }
  std::vector<TComponent*> GetChildren(TComponent* root) const override {
    std::vector<TComponent*> out;
    for (TComponent* c : root->ComponentList()) {
      if (auto* g = dynamic_cast<TGadget*>(c); g && g->parent_ == this) out.push_back(g);
    }
    return out;
  }
  void Loaded() override {
    TComponent::Loaded();
    g_log.push_back("loaded " + Narrow(Name()) + (InState(csLoading) ? " still loading" : ""));
  }
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == TOperation::opRemove && c == partner_) partner_ = nullptr;
  }
  void DefineProperties(TFiler& filer) override {
    filer.DefineProperty(
        "Blob", [this](const DfmValue& v) { blob_ = v.bytes; },
        [this]() -> std::optional<DfmValue> {
          if (blob_.empty()) return std::nullopt;
          return DfmValue::Bin(blob_);
        });
  }

  TNotifyEvent OnClick;
  std::function<void(TObject*, bool&)> OnQuery;

 private:
  int size_ = 0;
  TAlign align_ = alNone;
  bool active_ = false;
  std::u16string caption_;
  std::unique_ptr<TPen> pen_ = std::make_unique<TPen>();
  TGadget* partner_ = nullptr;
  std::unique_ptr<TStringList> lines_ = std::make_unique<TStringList>();
  std::string blob_;
  TComponent* parent_ = nullptr;
};

const TClassInfo& TGadget::StaticClass() {
  static const TClassInfo info = ClassBuilder<TGadget, TComponent>("TGadget")
                                     .Int("Size", &TGadget::Size, &TGadget::SetSize, &SizeIdents())
                                     .Default(0)
                                     .Enum("Align", AlignInfo(), &TGadget::Align, &TGadget::SetAlign)
                                     .Bool("Active", &TGadget::Active, &TGadget::SetActive)
                                     .Str("Caption", &TGadget::Caption, &TGadget::SetCaption)
                                     .Object<TPen>("Pen", &TGadget::Pen)
                                     .Object<TGadget>("Partner", &TGadget::Partner, &TGadget::SetPartner)
                                     .Object<TStringList>("Lines", &TGadget::Lines, &TGadget::SetLines)
                                     .Event("OnClick", &TGadget::OnClick)
                                     .Event("OnQuery", &TGadget::OnQuery)
                                     .Build();
  return info;
}

class TTestForm : public TComponent {
  QLT_CLASS(TTestForm)
 public:
  explicit TTestForm(TComponent* owner) : TComponent(owner) {}
  TGadget* Btn_Hide = nullptr;
  TGadget* Panel = nullptr;
  std::vector<std::string> clicks;
  void Btn_HideClick(TObject* sender) { clicks.push_back("hide by " + Narrow(static_cast<TComponent*>(sender)->Name())); }
  void FormQuery(TObject*, bool& ok) { ok = false; }
};

const TClassInfo& TTestForm::StaticClass() {
  static const TClassInfo info = ClassBuilder<TTestForm, TComponent>("TTestForm")
                                     .Field("Btn_Hide", &TTestForm::Btn_Hide)
                                     .Field("Panel", &TTestForm::Panel)
                                     .Handler("Btn_HideClick", &TTestForm::Btn_HideClick)
                                     .Handler("FormQuery", &TTestForm::FormQuery)
                                     .Build();
  return info;
}

class Components : public ::testing::Test {
 protected:
  void SetUp() override {
    g_log.clear();
    RegisterComponentClass<TGadget>();
  }
};

TEST_F(Components, OwnerKeepsCreationOrderFindsByNameAndFreesLastFirst) {
  auto* owner = new TGadget(nullptr);
  owner->SetName(u"Owner");
  auto* a = new TGadget(owner);
  a->SetName(u"A");
  auto* b = new TGadget(owner);
  b->SetName(u"B");
  auto* c = new TGadget(owner);
  c->SetName(u"C");
  ASSERT_EQ(owner->ComponentCount(), 3);
  EXPECT_EQ(owner->Components(0), a);
  EXPECT_EQ(owner->Components(2), c);
  EXPECT_EQ(owner->FindComponent(u"b"), b);
  EXPECT_EQ(owner->FindComponent(u"none"), nullptr);
  EXPECT_THROW(owner->Components(3), EListError);
  EXPECT_THROW(b->SetName(u"A"), EConvertError);
  EXPECT_THROW(b->SetName(u"1x"), EConvertError);
  delete b;  // leaves its owner
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->Components(1), c);
  g_log.clear();
  delete owner;
  EXPECT_EQ(g_log, (std::vector<std::string>{"free Owner", "free C", "free A"}));
}

TEST_F(Components, FreeNotificationClearsReferencesAcrossOwners) {
  TGadget left(nullptr), right(nullptr);
  auto* target = new TGadget(&right);
  auto* holder = new TGadget(&left);
  holder->SetPartner(target);
  EXPECT_TRUE(target->InState(csFreeNotification));
  delete target;
  EXPECT_EQ(holder->Partner(), nullptr);
  // Within one owner the removal reaches the siblings too.
  auto* sibling = new TGadget(&left);
  holder->SetPartner(sibling);
  delete sibling;
  EXPECT_EQ(holder->Partner(), nullptr);
  // A holder that is gone first is not told anything later.
  auto* target2 = new TGadget(&right);
  auto* holder2 = new TGadget(&left);
  holder2->SetPartner(target2);
  delete holder2;
  delete target2;
}

TEST_F(Components, PropertiesByNameReadAndWriteEachKindAndAreNeutralOtherwise) {
  TGadget g(nullptr);
  SetIntProp(&g, "size", 42);
  EXPECT_EQ(GetIntProp(&g, "Size"), 42);
  SetEnumProp(&g, "Align", "alRight");
  EXPECT_EQ(GetEnumProp(&g, "ALIGN"), "alRight");
  SetEnumProp(&g, "Align", "alNowhere");  // unknown identifier: unchanged
  EXPECT_EQ(GetEnumProp(&g, "Align"), "alRight");
  SetEnumProp(&g, "Active", "True");
  EXPECT_EQ(GetEnumProp(&g, "Active"), "True");
  EXPECT_TRUE(g.Active());
  SetStrProp(&g, "Caption", u"控制");
  EXPECT_EQ(GetStrProp(&g, "Caption"), u"控制");
  EXPECT_EQ(GetObjectProp(&g, "Pen"), g.Pen());
  EXPECT_EQ(GetObjectProp(&g, "Pen", &TPen::StaticClass()), g.Pen());
  EXPECT_EQ(GetObjectProp(&g, "Pen", &TGadget::StaticClass()), nullptr);
  SetSetProp(g.Pen(), "Style", 5);
  EXPECT_EQ(GetSetProp(g.Pen(), "Style"), 5u);

  // Unknown names and the wrong kind: neutral values, nothing written.
  EXPECT_EQ(GetIntProp(&g, "Glyph"), 0);
  EXPECT_EQ(GetIntProp(&g, "Caption"), 0);
  EXPECT_EQ(GetStrProp(&g, "Size"), u"");
  EXPECT_EQ(GetEnumProp(&g, "Size"), "");
  EXPECT_EQ(GetObjectProp(&g, "Caption"), nullptr);
  SetIntProp(&g, "Caption", 7);
  SetStrProp(&g, "Size", u"9");
  SetEnumProp(&g, "Flat", "True");
  EXPECT_EQ(g.Caption(), u"控制");
  EXPECT_EQ(g.Size(), 42);
  EXPECT_EQ(GetIntProp(nullptr, "Size"), 0);
  EXPECT_EQ(GetPropInfo(&g, "Name")->kind, TTypeKind::String);
  EXPECT_TRUE(g.InheritsFrom(TComponent::StaticClass()));
  EXPECT_EQ(g.ClassName(), "TGadget");
}

constexpr char kForm[] = R"(object TestForm: TTestForm
  Tag = 99
  object Panel: TGadget
    Caption = 'panel'
    object Btn_Hide: TGadget
      Size = szLarge
      Align = alLeft
      Active = True
      Caption = '隐藏'
      Pen.Name = 'dash'
      Pen.Style = [fsBold, fsUnderline]
      Partner = Later
      Lines.Strings = ('a' 'b')
      Blob = {00FF}
      OnClick = Btn_HideClick
      OnQuery = FormQuery
    end
  end
  object Later: TGadget
    Size = -3
  end
end
)";

TEST_F(Components, AFormIsReadInOrderWithFieldsHandlersReferencesAndLoaded) {
  TTestForm form(nullptr);
  ReadRootComponent(form, ParseFormText(kForm));
  EXPECT_EQ(form.Name(), u"TestForm");
  EXPECT_EQ(form.Tag(), 99);
  ASSERT_EQ(form.ComponentCount(), 3);
  EXPECT_EQ(Narrow(form.Components(0)->Name()), "Panel");
  EXPECT_EQ(Narrow(form.Components(1)->Name()), "Btn_Hide");
  EXPECT_EQ(Narrow(form.Components(2)->Name()), "Later");
  ASSERT_NE(form.Btn_Hide, nullptr);
  TGadget& b = *form.Btn_Hide;
  EXPECT_EQ(b.Owner(), &form);
  EXPECT_EQ(b.ParentComponent(), form.Panel);
  EXPECT_EQ(form.Panel->ParentComponent(), &form);
  EXPECT_EQ(b.Size(), 99);
  EXPECT_EQ(b.Align(), alLeft);
  EXPECT_TRUE(b.Active());
  EXPECT_EQ(b.Caption(), u"隐藏");
  EXPECT_EQ(b.Pen()->Name(), u"dash");
  EXPECT_EQ(b.Pen()->Style(), 5u);
  EXPECT_EQ(b.Partner(), form.Components(2));
  EXPECT_EQ(b.Lines()->Text(), u"a\r\nb\r\n");
  EXPECT_EQ(b.Blob(), std::string("\0\xFF", 2));
  ASSERT_TRUE(b.OnClick);
  b.OnClick(&b);
  EXPECT_EQ(form.clicks, std::vector<std::string>{"hide by Btn_Hide"});
  bool ok = true;
  b.OnQuery(&b, ok);
  EXPECT_FALSE(ok);
  // Setters ran while reading (no run-time reaction); Loaded came after everything, root first.
  EXPECT_EQ(g_log, (std::vector<std::string>{"loaded Panel", "loaded Btn_Hide", "loaded Later"}));
  EXPECT_FALSE(b.InState(csLoading));
  EXPECT_FALSE(b.InState(csReading));
  b.SetActive(true);
  EXPECT_EQ(g_log.back(), "activated at run time");
}

TEST_F(Components, AFormWrittenBackReadsToTheSameState) {
  TTestForm form(nullptr);
  ReadRootComponent(form, ParseFormText(kForm));
  const std::string written = WriteFormText(WriteRootComponent(form));
  EXPECT_NE(written.find("Size = szLarge"), std::string::npos) << written;
  EXPECT_NE(written.find("OnClick = Btn_HideClick"), std::string::npos) << written;
  EXPECT_NE(written.find("Blob = {"), std::string::npos) << written;
  EXPECT_NE(written.find("Lines.Strings = ("), std::string::npos) << "a settable list is stored too:\n" << written;
  EXPECT_EQ(written.find("Align = alNone"), std::string::npos) << "default values are left out:\n" << written;

  TTestForm again(nullptr);
  ReadRootComponent(again, ParseFormText(written));
  EXPECT_EQ(WriteFormText(WriteRootComponent(again)), written);
  EXPECT_EQ(again.Btn_Hide->Blob(), form.Btn_Hide->Blob());
  EXPECT_EQ(again.Btn_Hide->Lines()->Text(), u"a\r\nb\r\n");
  TStringList rows{u"TRzButton=button"};
  SetObjectProp(again.Btn_Hide, "Lines", &rows);  // assigning copies the rows
  EXPECT_EQ(again.Btn_Hide->Lines()->Text(), u"TRzButton=button\r\n");
  EXPECT_EQ(again.Btn_Hide->Partner()->Size(), -3);
  EXPECT_EQ(again.Btn_Hide->ParentComponent(), again.Panel);
}

TEST_F(Components, DescriptionsThatDoNotFitAreRefusedWithTheirPlace) {
  const std::pair<const char*, const char*> cases[] = {
      {"object F: TTestForm\n object X: TNoSuchClass\n end\nend", "Class TNoSuchClass not found"},
      {"object F: TTestForm\n object X: TGadget\n  Colour = 1\n end\nend", "Property Colour does not exist"},
      {"object F: TTestForm\n object X: TGadget\n  Align = alMiddle\n end\nend", "unknown identifier"},
      {"object F: TTestForm\n object X: TGadget\n  Size = 'ten'\n end\nend", "an integer is expected"},
      {"object F: TTestForm\n object X: TGadget\n  OnClick = NoHandler\n end\nend", "no handler NoHandler"},
      {"object F: TTestForm\n object X: TGadget\n  OnClick = FormQuery\n end\nend", "does not fit"},
      {"object F: TTestForm\n object X: TGadget\n  Partner = Nobody\n end\nend", "no component named Nobody"},
      {"object F: TTestForm\n object X: TGadget\n end\n object X: TGadget\n end\nend", ""},
      {"object F: TTestForm\n object X: TGadget\n  Pen.Style = [fsStrike]\n end\nend", "unknown set element"},
  };
  for (const auto& [text, expected] : cases) {
    auto* form = new TTestForm(nullptr);
    try {
      ReadRootComponent(*form, ParseFormText(text));
      // Two objects of one name: the second reuses the first (an inherited component).
      EXPECT_EQ(std::string(expected), "") << text;
    } catch (const EReadError& e) {
      EXPECT_NE(std::string(e.what()).find(expected), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("F.X"), std::string::npos) << e.what();
    }
    delete form;  // whatever was created is freed with the form
  }
}

// A component with a part of its own, telling what it sees of others and of itself.
class TWatched : public TComponent {
  QLT_CLASS(TWatched)
 public:
  explicit TWatched(TComponent* owner, bool failing = false) : TComponent(owner) {
    if (failing) throw EConvertError(u"refused");
  }
  ~TWatched() override {
    part.clear();
    g_log.push_back("destructor " + Narrow(Name()));
  }
  std::string part = "whole";
  static std::string State(TComponent* c) {
    auto* w = dynamic_cast<TWatched*>(c);
    return w && w->part == "whole" ? "whole" : "broken";
  }
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (c == this || !dynamic_cast<TWatched*>(c)) return;
    g_log.push_back(Narrow(Name()) + (op == TOperation::opInsert ? " heard insert: " : " heard removal: ") + State(c));
  }

 protected:
  void BeforeDestruction() override {
    g_log.push_back("before " + Narrow(Name()) + ": " + State(this));
    TComponent::BeforeDestruction();
  }
};

const TClassInfo& TWatched::StaticClass() {
  static const TClassInfo info = ClassBuilder<TWatched, TComponent>("TWatched").Build();
  return info;
}

struct DestroyingObserver : TComponentObserver {
  DestroyingObserver() { RegisterComponentObserver(this); }
  void ComponentDestroying(TComponent* c) noexcept override {
    g_log.push_back("observer: " + Narrow(c->Name()) + " " + TWatched::State(c));
  }
};

TEST_F(Components, DestructionBeginsWhileTheWholeObjectExistsAndNothingHalfBuiltIsHandedOut) {
  using V = std::vector<std::string>;
  DestroyingObserver observer;
  auto* owner = new TWatched(nullptr);
  owner->SetName(u"Owner");
  auto* sibling = new TWatched(owner);
  sibling->SetName(u"Sibling");
  auto* other = new TWatched(nullptr);
  other->SetName(u"Other");
  EXPECT_EQ(g_log, V{}) << "a component made with an owner is not announced half-built";

  auto* dying = new TWatched(owner);
  dying->SetName(u"Dying");
  dying->FreeNotification(other);
  g_log.clear();
  delete dying;
  EXPECT_EQ(g_log, (V{"observer: Dying whole", "Other heard removal: whole", "Sibling heard removal: whole",
                      "Owner heard removal: whole", "before Dying: whole", "destructor Dying"}));
  EXPECT_EQ(owner->ComponentCount(), 1);

  // A finished component moved to an owner is announced, whole.
  g_log.clear();
  owner->InsertComponent(other);
  EXPECT_EQ(g_log, (V{"Sibling heard insert: whole", "Owner heard insert: whole"}));

  // A construction that fails leaves the owner as it was (the sanitizers check the storage).
  EXPECT_THROW(new TWatched(owner, true), EConvertError);
  EXPECT_EQ(owner->ComponentCount(), 2);

  // Owned components go whole as well, each told once; so does one not freed with delete.
  g_log.clear();
  delete owner;
  EXPECT_EQ(std::count(g_log.begin(), g_log.end(), "observer: Other whole"), 1);
  EXPECT_EQ(std::count(g_log.begin(), g_log.end(), "before Sibling: whole"), 1);
  const auto before = std::find(g_log.begin(), g_log.end(), "before Owner: whole");
  EXPECT_LT(before - g_log.begin(), std::find(g_log.begin(), g_log.end(), "before Sibling: whole") - g_log.begin())
      << "the owner's step comes first, its components go whole after it";
  g_log.clear();
  {
    TWatched local(nullptr);
    local.SetName(u"Local");
  }
  EXPECT_EQ(std::count_if(g_log.begin(), g_log.end(), [](const std::string& e) { return e.rfind("observer: Local", 0) == 0; }), 1);
}

TEST_F(Components, ObserversMayComeAndGoInsideTheirOwnCalls) {
  struct Fickle : TComponentObserver {
    int heard = 0;
    std::unique_ptr<DestroyingObserver> added;
    void ComponentDestroying(TComponent*) noexcept override {
      ++heard;
      UnregisterComponentObserver(this);
      added = std::make_unique<DestroyingObserver>();  // registers itself, hears the next one
    }
  };
  struct SelfFreeing : TComponentObserver {
    int* heard;
    explicit SelfFreeing(int* h) : heard(h) {}
    void ComponentDestroying(TComponent*) noexcept override {
      ++*heard;
      delete this;  // unregisters itself
    }
  };
  Fickle fickle;
  RegisterComponentObserver(&fickle);
  int selfHeard = 0;
  RegisterComponentObserver(new SelfFreeing(&selfHeard));
  delete new TWatched(nullptr);
  EXPECT_EQ(fickle.heard, 1);
  EXPECT_EQ(selfHeard, 1);
  EXPECT_EQ(g_log, (std::vector<std::string>{"before : whole", "destructor "})) << "the one added heard nothing yet";
  g_log.clear();
  auto* second = new TWatched(nullptr);
  second->SetName(u"Second");
  delete second;
  EXPECT_EQ(fickle.heard, 1) << "unregistered inside its call";
  EXPECT_EQ(selfHeard, 1) << "freed inside its call";
  EXPECT_EQ(g_log.front(), "observer: Second whole") << "registered inside a call";
}

}  // namespace
}  // namespace qlt
