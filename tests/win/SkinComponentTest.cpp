// The skin component under Wine: SkinData1 as the build embeds it, the component's state machine
// with the skin manager's deferred actions (a manager that records what the frame skinner would
// be asked), skin files that are missing, damaged or old, the second skin's file in place of the
// embedded skin, the GDI objects it holds, and its text routine.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "skin/controls/SkinManager.h"
#include "skin/data/WinSkinData.h"
#include "skin/kit/SkinPack.h"
#include "skin/data/SkinReader.h"
#include "tests/win/UiTestSupport.h"
#include "ui/FormReader.h"
#include "ui/Forms.h"
#include "ui/Utf.h"

namespace qlt {
namespace {

using namespace std::chrono_literals;

const std::string kSkinDir = QLT_SKIN_BUILD_DIR;
std::string SkinBuildFile(const std::string& name) { return test::ReadFileBytes(test::Utf8ToWide(kSkinDir + "/" + name)); }
std::string PackedSkin() { return SkinBuildFile("QLTSkin.skin"); }
std::string Fragment() { return SkinBuildFile("SkinData1.form"); }

// SkinData1's description with its SkinStream replaced by `payload` (count and bytes).
std::string FragmentWithStream(const std::string& payload) {
  std::string text = Fragment();
  const std::size_t start = text.find("SkinStream = {");
  const std::size_t end = text.find('}', start);
  static const char kHex[] = "0123456789ABCDEF";
  std::string hex;
  for (unsigned char c : payload) hex += {kHex[c >> 4], kHex[c & 15]};
  return text.replace(start, end + 1 - start, "SkinStream = {" + hex + "}");
}

std::string CountAnd(const std::string& bytes) {
  std::string out;
  for (int i = 0; i < 4; ++i) out += static_cast<char>(bytes.size() >> (8 * i));
  return out + bytes;
}

// What the frame skinner would be asked to do, recorded.
class RecordingManager : public TSkinManage {
 public:
  std::vector<HWND> attached;
  int refreshes = 0;
  std::vector<std::pair<TSkinData*, bool>> detached;
  bool failAttaching = false;  // attaching throws, as a skinner that runs out of GDI objects may

 protected:
  bool AttachFormSkinner(HWND hwnd, TSkinData&, TForm*) override {
    if (failAttaching) throw std::runtime_error("no skinner");
    attached.push_back(hwnd);
    return true;
  }
  void RefreshFormSkinners() override { ++refreshes; }
  void DetachFormSkinners(TSkinData& sd, bool onlyLast) override { detached.emplace_back(&sd, onlyLast); }
};

class SkinComponent : public ::testing::Test {
 protected:
  void SetUp() override {
    auto manager = std::make_unique<RecordingManager>();
    manager_ = manager.get();
    engine_ = std::make_unique<TSkinEngine>(std::move(manager));
    SkinMessageBox() = [this](const std::u16string& text) { messages_.push_back(text); };
  }
  void TearDown() override {
    root_.reset();
    engine_.reset();
    SkinMessageBox() = nullptr;
  }
  // Reads SkinData1 (or any description of one component) into a fresh root.
  TSkinData* Read(const std::string& fragment) {
    root_ = std::make_unique<TComponent>(nullptr);
    ReadRootComponent(*root_, ParseFormText("object Root: TComponent\n" + fragment + "end\n"));
    return dynamic_cast<TSkinData*>(root_->FindComponent(u"SkinData1"));
  }
  // A component made in code with the default skin loaded.
  std::unique_ptr<TSkinData> WithSkin(TSkinFormType type = sfMainform) {
    auto sd = std::make_unique<TSkinData>(nullptr);
    sd->SetSkinFormtype(type);
    sd->ReadSkinStream(CountAnd(PackedSkin()));
    EXPECT_FALSE(sd->NoSkin);
    return sd;
  }
  std::string TempFile(const std::string& name, const std::string& bytes) {
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  RecordingManager* manager_ = nullptr;
  std::unique_ptr<TSkinEngine> engine_;
  std::unique_ptr<TComponent> root_;
  std::vector<std::u16string> messages_;
};

TEST_F(SkinComponent, SkinData1CarriesTheDefaultSkinAndTheDesignValues) {
  TSkinData* sd = Read(Fragment());
  ASSERT_NE(sd, nullptr);
  EXPECT_FALSE(sd->NoSkin);
  EXPECT_TRUE(messages_.empty());
  EXPECT_TRUE(sd->Active());
  EXPECT_EQ(sd->DisableTag(), 99);
  EXPECT_EQ(sd->SkinControls(), kDefaultSkinControls);
  EXPECT_EQ(sd->Skin3rd()->Count(), 97);
  EXPECT_EQ(sd->SkinFormtype(), sfMainform);
  EXPECT_TRUE(sd->MenuUpdate());
  EXPECT_FALSE(sd->MenuMerge());
  EXPECT_EQ(sd->SkinStore(), u"(none)") << "the stored \"(Good)\" is not kept";
  EXPECT_EQ(sd->Version(), u"2.71.10.28");
  EXPECT_EQ(sd->SkinStream.Size() + 4, static_cast<int64_t>(CountAnd(PackedSkin()).size()));
  EXPECT_EQ(sd->ButtonFaceColour, RGBColor(145, 146, 159));
  EXPECT_EQ(sd->SysButtons.size(), 10u);
  EXPECT_EQ(sd->TopBorder->LeftWidth, 43);
  // Loaded registered it and asked for the skin-all pass; before any window was activated that
  // only switches skinning on.
  EXPECT_EQ(manager_->SkinDataList(), std::vector<TSkinData*>{sd});
  EXPECT_EQ(manager_->PendingAction(), saSkinAll);
  EXPECT_TRUE(manager_->SkinEnabled());
  EXPECT_FALSE(manager_->ActionTimerEnabled());
  // The brush is the face colour; the glyphs are four 16 x 16 images; no icon yet.
  LOGBRUSH brush{};
  ASSERT_EQ(GetObjectW(sd->FaceBrush(), sizeof(brush), &brush), static_cast<int>(sizeof(brush)));
  EXPECT_EQ(brush.lbColor, RGB(145, 146, 159));
  EXPECT_EQ(sd->MenuGlyphs()->Count(), 4);
  EXPECT_EQ(sd->MenuGlyphs()->Width(), 16);
  EXPECT_TRUE(sd->IconBitmap()->Empty());
  // Written back, the description carries the same skin.
  const DfmObject written = WriteRootComponent(*root_);
  ASSERT_EQ(written.children.size(), 1u);
  const DfmProperty* stream = written.children[0].Find("SkinStream");
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(stream->value.bytes, CountAnd(PackedSkin()));
}

TEST_F(SkinComponent, ADamagedEmbeddedSkinLeavesTheProgramUnskinnedWithOneMessage) {
  std::string damaged = PackedSkin();
  damaged.resize(damaged.size() / 2);
  TSkinData* sd = Read(FragmentWithStream(CountAnd(damaged)));
  ASSERT_NE(sd, nullptr);
  EXPECT_TRUE(sd->NoSkin);
  EXPECT_FALSE(sd->Active());
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], Utf8ToUtf16(kDamagedSkinMessage));
  EXPECT_EQ(manager_->PendingAction(), saNone);
  // A count that claims more bytes than the description holds does not stop the reading: the
  // bytes that are there are the skin (here a whole one).
  std::string liar = CountAnd(PackedSkin());
  liar[3] = 0x7F;
  messages_.clear();
  sd = Read(FragmentWithStream(liar));
  EXPECT_FALSE(sd->NoSkin);
  EXPECT_TRUE(messages_.empty());
  // An empty stream loads nothing, says nothing, and switches skinning off.
  messages_.clear();
  sd = Read(FragmentWithStream(CountAnd("")));
  EXPECT_TRUE(sd->NoSkin);
  EXPECT_FALSE(sd->Active());
  EXPECT_TRUE(messages_.empty());
}

TEST_F(SkinComponent, ActiveSchedulesThroughTheManagerOnlyWithASkin) {
  TSkinData bare(nullptr);
  bare.SetActive(true);
  EXPECT_TRUE(bare.Active());
  EXPECT_EQ(manager_->PendingAction(), saNone) << "switching on without a skin requests nothing";
  EXPECT_EQ(manager_->PendingSkinData(), nullptr);

  auto sd = WithSkin();
  manager_->WindowActivated();  // from now on actions go through the timer
  sd->SetActive(true);
  EXPECT_EQ(manager_->PendingAction(), saSkinAll);
  EXPECT_EQ(manager_->PendingSkinData(), sd.get());
  EXPECT_TRUE(manager_->ActionTimerEnabled());
  EXPECT_EQ(manager_->ActionTimerInterval(), 250);
  int changed = 0;
  sd->OnSkinChanged = [&](TObject* sender) {
    EXPECT_EQ(sender, sd.get());
    ++changed;
  };
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(test::PumpUntil([&] { return changed == 1; }, 3s));
  EXPECT_GE(std::chrono::steady_clock::now() - start, 200ms);
  EXPECT_TRUE(manager_->SkinEnabled());
  EXPECT_EQ(manager_->PendingSkinData(), nullptr);
  EXPECT_FALSE(manager_->ActionTimerEnabled());

  sd->SetActive(false);
  EXPECT_EQ(manager_->PendingAction(), saUnskinAll);
  ASSERT_TRUE(test::PumpUntil([&] { return changed == 2; }, 3s));
  EXPECT_FALSE(manager_->SkinEnabled());
  ASSERT_EQ(manager_->detached.size(), 1u);
  EXPECT_EQ(manager_->detached[0], std::make_pair(sd.get(), false));
}

TEST_F(SkinComponent, EachFormTypeSchedulesItsOwnWay) {
  // sfOnlyThisForm names itself pending even when there is nothing to switch on.
  TSkinData only(nullptr);
  only.SetSkinFormtype(sfOnlyThisForm);
  only.SetActive(true);
  EXPECT_EQ(manager_->PendingSkinData(), &only);
  EXPECT_EQ(manager_->PendingAction(), saNone);
  auto withSkin = WithSkin(sfOnlyThisForm);
  withSkin->SetActive(true);
  EXPECT_EQ(manager_->PendingSkinData(), withSkin.get());
  EXPECT_EQ(manager_->PendingAction(), saSkinAll);
  // sfDialog only stores the value: what is pending stays as it was.
  auto dialog = WithSkin(sfDialog);
  dialog->SetActive(true);
  dialog->SetActive(false);
  EXPECT_FALSE(dialog->Active());
  EXPECT_EQ(manager_->PendingAction(), saSkinAll);
  EXPECT_EQ(manager_->PendingSkinData(), withSkin.get());
}

TEST_F(SkinComponent, LoadedSkinsAnOwnFormAtOnceForTheOtherFormTypes) {
  std::string fragment = Fragment();
  fragment.replace(fragment.find("SkinFormtype = sfMainform"), 25, "SkinFormtype = sfOnlyThisForm");
  TForm* form = NewFormFromText<TForm>(
      nullptr, "object Frm: TForm\n  ClientWidth = 200\n  ClientHeight = 100\n" + fragment + "end\n");
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(manager_->SkinEnabled());
  EXPECT_EQ(manager_->Phase(), TSkinManage::TPhase::Running) << "it counts as the first activation";
  ASSERT_EQ(manager_->attached.size(), 1u);
  EXPECT_EQ(manager_->attached[0], form->Handle());
  delete form;
  EXPECT_TRUE(manager_->SkinDataList().empty()) << "a component that goes unregisters";
}

TEST_F(SkinComponent, SkinWindowLeavesExemptWindowsAlone) {
  auto sd = WithSkin();
  manager_->RegisterSkinData(sd.get());
  TForm* form = NewFormFromText<TForm>(nullptr, "object Frm: TForm\n  ClientWidth = 200\n  ClientHeight = 100\nend\n");
  EXPECT_FALSE(manager_->SkinWindow(form->Handle())) << "skinning is not switched on";
  manager_->ScheduleAction(saSkinAll, kSkinActionDelay);  // before any activation: switches it on
  ASSERT_TRUE(manager_->SkinEnabled());
  form->SetTag(99);
  EXPECT_FALSE(manager_->SkinWindow(form->Handle())) << "Tag 99 is never skinned";
  form->SetTag(0);
  EXPECT_FALSE(manager_->SkinWindow(Application->Handle())) << "the hidden application window";
  EXPECT_TRUE(manager_->SkinWindow(form->Handle()));
  sd->NoSkin = true;
  EXPECT_FALSE(manager_->SkinWindow(form->Handle())) << "a component without a skin blocks skinning";
  delete form;
}

TEST_F(SkinComponent, AForcedPassEndsAlsoWhenAttachingThrows) {
  auto sd = WithSkin();
  manager_->RegisterSkinData(sd.get());
  TForm* form = NewFormFromText<TForm>(nullptr, "object Frm: TForm\n  ClientWidth = 200\n  ClientHeight = 100\nend\n");
  form->Show();
  const HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, form->Handle(), nullptr,
                                     nullptr, nullptr);
  manager_->WindowActivated();
  sd->SetActive(true);
  ASSERT_EQ(manager_->PendingAction(), saSkinAll);
  manager_->failAttaching = true;
  EXPECT_THROW(manager_->RunPendingAction(), std::runtime_error);
  EXPECT_FALSE(manager_->ForcedPass());
  EXPECT_TRUE(manager_->SkinEnabled());
  // Outside a forced pass a plain child window is never skinned on its own.
  manager_->failAttaching = false;
  EXPECT_FALSE(manager_->SkinWindow(child));
  EXPECT_TRUE(manager_->attached.empty());
  EXPECT_TRUE(manager_->SkinWindow(form->Handle()));
  DestroyWindow(child);
  delete form;
}

TEST_F(SkinComponent, SkinFileLoadsAndRefreshesTheWindowsAlsoWhenTheFileIsDamaged) {
  auto sd = WithSkin();
  sd->SetActive(true);
  manager_->WindowActivated();
  // A path that names no file: no message, no skin, nothing scheduled.
  const std::filesystem::path missing = std::filesystem::temp_directory_path() / "qlt-missing.skin";
  std::filesystem::remove(missing);
  sd->SetSkinFile(missing.u16string());
  EXPECT_TRUE(sd->NoSkin);
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(manager_->refreshes, 0);
  EXPECT_FALSE(manager_->ActionTimerEnabled());

  // A good file: loaded, the windows refreshed 250 ms later.
  sd->SetSkinFile(Utf8ToUtf16(TempFile("qlt-good.skin", PackedSkin())));
  EXPECT_FALSE(sd->NoSkin);
  EXPECT_EQ(manager_->refreshes, 1);
  EXPECT_EQ(manager_->PendingAction(), saRefresh);
  EXPECT_EQ(manager_->PendingSkinData(), sd.get());
  EXPECT_TRUE(manager_->ActionTimerEnabled());
  EXPECT_TRUE(sd->Active());

  // A damaged file: one message and no skin; the windows are refreshed all the same, from the
  // objects of the last good skin, which stay, and skinning stays requested.
  int changed = 0;
  sd->OnSkinChanged = [&](TObject*) { ++changed; };
  ASSERT_TRUE(test::PumpUntil([&] { return changed == 1; }, 3s));
  sd->SetSkinFile(Utf8ToUtf16(TempFile("qlt-damaged.skin", PackedSkin().substr(0, 300))));
  EXPECT_TRUE(sd->NoSkin);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], Utf8ToUtf16(kDamagedSkinMessage));
  EXPECT_TRUE(sd->Active());
  EXPECT_EQ(manager_->refreshes, 2);
  EXPECT_EQ(manager_->PendingAction(), saRefresh);
  EXPECT_EQ(manager_->PendingSkinData(), sd.get());
  EXPECT_TRUE(manager_->ActionTimerEnabled());
  EXPECT_TRUE(manager_->detached.empty()) << "nothing goes back to the system's look";
  EXPECT_EQ(sd->ButtonFaceColour, RGBColor(145, 146, 159)) << "the objects of the last good skin stay";
  ASSERT_TRUE(test::PumpUntil([&] { return changed == 2; }, 3s)) << "action 3 ran";
  EXPECT_TRUE(manager_->SkinEnabled());

  // A skin of the old format says so.
  Bytes old = BuildSkinContainer({{"a.ini", Bytes{'[', 'x', ']'}}});
  old[0] = 0x10;
  old[1] = 0x27;  // 10000
  const Bytes packed = PackSkinContainer(old);
  sd->SetSkinFile(Utf8ToUtf16(TempFile("qlt-old.skin", std::string(packed.begin(), packed.end()))));
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[1], Utf8ToUtf16(kOldSkinMessage));
  EXPECT_TRUE(sd->NoSkin);
  EXPECT_EQ(manager_->refreshes, 3);
}

TEST_F(SkinComponent, TheSecondSkinsFileTakesThePlaceOfTheEmbeddedSkinAndGivesItBack) {
  const std::string secondFile = QLT_SECOND_SKIN_FILE;
  const std::string secondBytes = test::ReadFileBytes(test::Utf8ToWide(secondFile));
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadPacked(Bytes(secondBytes.begin(), secondBytes.end())));
  TSkinContent expected;
  expected.BuildSkin(reader);

  auto sd = WithSkin();
  const std::string embeddedName = sd->SkinName;
  const TColor embeddedFace = sd->ButtonFaceColour;
  sd->SetActive(true);
  manager_->WindowActivated();
  sd->SetSkinFile(Utf8ToUtf16(secondFile));
  ASSERT_FALSE(sd->NoSkin);
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(manager_->PendingAction(), saRefresh);
  EXPECT_EQ(manager_->refreshes, 1);
  // The component holds what the file says, not what the embedded skin said.
  EXPECT_EQ(sd->SkinName, expected.SkinName);
  EXPECT_NE(sd->SkinName, embeddedName);
  EXPECT_EQ(sd->ButtonFaceColour, expected.ButtonFaceColour);
  EXPECT_NE(sd->ButtonFaceColour, embeddedFace);
  LOGBRUSH brush{};
  ASSERT_EQ(GetObjectW(sd->FaceBrush(), sizeof(brush), &brush), static_cast<int>(sizeof(brush)));
  EXPECT_EQ(static_cast<TColor>(brush.lbColor), expected.ButtonFaceColour);
  for (const auto& [got, want] : {std::pair(sd->TopBorder.get(), expected.TopBorder.get()),
                                  std::pair(sd->BottomBorder.get(), expected.BottomBorder.get())}) {
    EXPECT_EQ(got->Frame, want->Frame) << want->Name;
    EXPECT_EQ(got->Trans, want->Trans) << want->Name;
    EXPECT_TRUE(got->Image == want->Image) << want->Name;
  }
  ASSERT_EQ(sd->SysButtons.size(), expected.SysButtons.size());
  for (std::size_t i = 0; i < expected.SysButtons.size(); ++i) {
    EXPECT_EQ(sd->SysButtons[i]->Frame, expected.SysButtons[i]->Frame) << i;
    EXPECT_EQ(sd->SysButtons[i]->Action, expected.SysButtons[i]->Action) << i;
  }
  EXPECT_EQ(sd->Buttons->CheckFrame, expected.Buttons->CheckFrame);
  EXPECT_EQ(sd->UpDownVert != nullptr, expected.UpDownVert != nullptr);

  // Back and forth between the two skins: the objects follow and the GDI objects stay flat.
  const std::u16string embeddedFile = Utf8ToUtf16(kSkinDir + "/QLTSkin.skin");
  sd->SetSkinFile(embeddedFile);
  sd->SetSkinFile(Utf8ToUtf16(secondFile));
  const int before = test::GdiObjectCount();
  for (int i = 0; i < 20; ++i) {
    sd->SetSkinFile(embeddedFile);
    ASSERT_EQ(sd->SkinName, embeddedName);
    sd->SetSkinFile(Utf8ToUtf16(secondFile));
    ASSERT_EQ(sd->SkinName, expected.SkinName);
  }
  EXPECT_EQ(test::GdiObjectCount(), before);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(SkinComponent, DoFormSkinVetoesCalendarsAndReportsUnlessTheApplicationDecides) {
  TSkinData sd(nullptr);
  auto ask = [&](const std::u16string& name) {
    bool doSkin = true;
    sd.DoFormSkin(name, doSkin);
    return doSkin;
  };
  EXPECT_FALSE(ask(u"SysMonthCal32"));
  EXPECT_TRUE(ask(u"TfrPreviewForm"));
  EXPECT_TRUE(ask(u"TForm1"));
  sd.SetSkinControls(kDefaultSkinControls | SkinControlBit(xcFastReport));
  EXPECT_FALSE(ask(u"TfrPreviewForm"));
  EXPECT_TRUE(ask(u"TFRPreviewForm")) << "the prefix is compared as written";
  std::vector<std::u16string> asked;
  sd.OnFormSkin = [&](TObject* sender, const std::u16string& name, bool& doSkin) {
    EXPECT_EQ(sender, &sd);
    asked.push_back(name);
    doSkin = name == u"SysMonthCal32";
  };
  EXPECT_TRUE(ask(u"SysMonthCal32"));
  EXPECT_FALSE(ask(u"TForm1"));
  EXPECT_EQ(asked.size(), 2u);
}

TEST_F(SkinComponent, SkinStoreAndVersionIgnoreWhatIsWritten) {
  TSkinData sd(nullptr);
  SetStrProp(&sd, "SkinStore", u"(Good)");
  SetStrProp(&sd, "Version", u"9.9");
  EXPECT_EQ(GetStrProp(&sd, "SkinStore"), u"(none)");
  EXPECT_EQ(GetStrProp(&sd, "Version"), u"2.71.10.28");
}

TEST_F(SkinComponent, AComponentThatGoesTakesItsPendingActionWithIt) {
  auto sd = WithSkin();
  manager_->RegisterSkinData(sd.get());
  manager_->WindowActivated();
  sd->SetActive(true);
  EXPECT_EQ(manager_->PendingSkinData(), sd.get());
  sd.reset();
  EXPECT_EQ(manager_->PendingSkinData(), nullptr);
  test::PumpFor(400ms);  // the tick finds nothing to do
  EXPECT_TRUE(manager_->ActionTimerEnabled()) << "with nothing pending the timer keeps running";
}

TEST_F(SkinComponent, RepeatedLoadsKeepTheGdiObjectsFlat) {
  auto sd = WithSkin();
  HBRUSH first = sd->FaceBrush();
  const int before = test::GdiObjectCount();
  ASSERT_TRUE(sd->LoadSkin());
  EXPECT_EQ(GetObjectType(first), 0u) << "the old brush was deleted";
  for (int i = 0; i < 50; ++i) ASSERT_TRUE(sd->LoadSkin());
  EXPECT_EQ(test::GdiObjectCount(), before);
  const int withComponent = test::GdiObjectCount();
  sd.reset();
  EXPECT_LT(test::GdiObjectCount(), withComponent) << "the brush and the glyph list go with the component";
}

TEST_F(SkinComponent, DrawSkinTextMeasuresLikeTheWideCall) {
  TSkinData sd(nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  for (std::u16string text : {std::u16string(u"QLTZarnit2.32"), std::u16string(u"QLTZarnit2.32－QLT科技")}) {
    RECT wide{0, 0, 0, 0};
    DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()), &wide,
              DT_CALCRECT | DT_SINGLELINE);
    RECT skin{0, 0, 0, 0};
    const int height = sd.DrawSkinText(dc, text, skin, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(skin.right, wide.right);
    EXPECT_EQ(height, wide.bottom);
  }
  RECT ansi{0, 0, 0, 0};
  RECT wide{0, 0, 0, 0};
  DrawTextAnsi(dc, u"QLTZarnit", ansi, DT_CALCRECT | DT_SINGLELINE);
  DrawTextW(dc, L"QLTZarnit", -1, &wide, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(ansi.right, wide.right);
  DeleteDC(dc);
}

TEST_F(SkinComponent, DrawSkinTextShortensACopyNotTheCallersText) {
  TSkinData sd(nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  const UINT format = DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING;
  const std::u16string original = u"QLTZarnit2.32－QLT科技 a caption far too long for its box";
  // What the system does with a buffer of its own: it writes the shortened text into it.
  std::wstring own(original.begin(), original.end());
  own.append(kModifiedTextRoom, L'\0');
  RECT ownRect{0, 0, 60, 20};
  const int ownHeight = DrawTextW(dc, own.data(), static_cast<int>(original.size()), &ownRect, format);
  ASSERT_NE(std::wstring(own.c_str()), std::wstring(original.begin(), original.end()))
      << "the system shortens the text it is given";

  std::u16string text = original;
  RECT rect{0, 0, 60, 20};
  EXPECT_EQ(sd.DrawSkinText(dc, text, rect, format), ownHeight);
  EXPECT_EQ(text, original) << "the caller's text is left as it was";
  EXPECT_EQ(rect.right, ownRect.right);
  // The text in the ANSI code page gets room for the ellipsis too.
  RECT ansi{0, 0, 60, 20};
  EXPECT_GT(DrawTextAnsi(dc, u"QLTZarnit QLTZarnit QLTZarnit", ansi, format), 0);
  DeleteDC(dc);
}

}  // namespace
}  // namespace qlt
