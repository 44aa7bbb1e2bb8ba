// The skin component under Wine: SkinData1 as the build embeds it, the component's state machine
// with the skin manager's deferred actions (a manager that records what the frame skinner would
// be asked), skin files that are missing, damaged or old, the GDI objects it holds, and its text
// routine.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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

 protected:
  bool AttachFormSkinner(HWND hwnd, TSkinData&, TForm*) override {
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
  EXPECT_EQ(manager_->PendingAction, saSkinAll);
  EXPECT_TRUE(manager_->SkinEnabled);
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
  EXPECT_EQ(manager_->PendingAction, saNone);
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
  EXPECT_EQ(manager_->PendingAction, saNone) << "switching on without a skin requests nothing";
  EXPECT_EQ(manager_->PendingSkinData, nullptr);

  auto sd = WithSkin();
  manager_->ActivationCount = 1;  // a window has been activated: actions go through the timer
  sd->SetActive(true);
  EXPECT_EQ(manager_->PendingAction, saSkinAll);
  EXPECT_EQ(manager_->PendingSkinData, sd.get());
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
  EXPECT_TRUE(manager_->SkinEnabled);
  EXPECT_EQ(manager_->PendingSkinData, nullptr);
  EXPECT_FALSE(manager_->ActionTimerEnabled());

  sd->SetActive(false);
  EXPECT_EQ(manager_->PendingAction, saUnskinAll);
  ASSERT_TRUE(test::PumpUntil([&] { return changed == 2; }, 3s));
  EXPECT_FALSE(manager_->SkinEnabled);
  ASSERT_EQ(manager_->detached.size(), 1u);
  EXPECT_EQ(manager_->detached[0], std::make_pair(sd.get(), false));
}

TEST_F(SkinComponent, EachFormTypeSchedulesItsOwnWay) {
  // sfOnlyThisForm names itself pending even when there is nothing to switch on.
  TSkinData only(nullptr);
  only.SetSkinFormtype(sfOnlyThisForm);
  only.SetActive(true);
  EXPECT_EQ(manager_->PendingSkinData, &only);
  EXPECT_EQ(manager_->PendingAction, saNone);
  auto withSkin = WithSkin(sfOnlyThisForm);
  withSkin->SetActive(true);
  EXPECT_EQ(manager_->PendingSkinData, withSkin.get());
  EXPECT_EQ(manager_->PendingAction, saSkinAll);
  // sfDialog only stores the value.
  manager_->PendingAction = saNone;
  manager_->PendingSkinData = nullptr;
  auto dialog = WithSkin(sfDialog);
  dialog->SetActive(true);
  dialog->SetActive(false);
  EXPECT_FALSE(dialog->Active());
  EXPECT_EQ(manager_->PendingAction, saNone);
  EXPECT_EQ(manager_->PendingSkinData, nullptr);
}

TEST_F(SkinComponent, LoadedSkinsAnOwnFormAtOnceForTheOtherFormTypes) {
  std::string fragment = Fragment();
  fragment.replace(fragment.find("SkinFormtype = sfMainform"), 25, "SkinFormtype = sfOnlyThisForm");
  TForm* form = NewFormFromText<TForm>(nullptr,
                                       "object Frm: TForm\n  ClientWidth = 200\n  ClientHeight = 100\n" + fragment + "end\n");
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(manager_->SkinEnabled);
  EXPECT_EQ(manager_->ActivationCount, 1);
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
  manager_->SkinEnabled = true;
  form->SetTag(99);
  EXPECT_FALSE(manager_->SkinWindow(form->Handle())) << "Tag 99 is never skinned";
  form->SetTag(0);
  EXPECT_FALSE(manager_->SkinWindow(Application->Handle())) << "the hidden application window";
  EXPECT_TRUE(manager_->SkinWindow(form->Handle()));
  sd->NoSkin = true;
  EXPECT_FALSE(manager_->SkinWindow(form->Handle())) << "a component without a skin blocks skinning";
  delete form;
}

TEST_F(SkinComponent, SkinFileLoadsOrLeavesTheProgramUnskinned) {
  auto sd = WithSkin();
  sd->SetActive(true);
  manager_->ActivationCount = 1;
  // A path that names no file: no message, no skin, nothing scheduled.
  manager_->PendingSkinData = nullptr;
  manager_->PendingAction = saNone;
  const std::filesystem::path missing = std::filesystem::temp_directory_path() / "qlt-missing.skin";
  std::filesystem::remove(missing);
  sd->SetSkinFile(missing.u16string());
  EXPECT_TRUE(sd->NoSkin);
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(manager_->PendingAction, saNone);

  // A good file: loaded, the windows refreshed 250 ms later.
  sd->SetSkinFile(Utf8ToUtf16(TempFile("qlt-good.skin", PackedSkin())));
  EXPECT_FALSE(sd->NoSkin);
  EXPECT_EQ(manager_->refreshes, 1);
  EXPECT_EQ(manager_->PendingAction, saRefresh);
  EXPECT_EQ(manager_->PendingSkinData, sd.get());
  EXPECT_TRUE(sd->Active());

  // A damaged file: one message, no skin, and the windows go back to the system's look.
  sd->SetSkinFile(Utf8ToUtf16(TempFile("qlt-damaged.skin", PackedSkin().substr(0, 300))));
  EXPECT_TRUE(sd->NoSkin);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], Utf8ToUtf16(kDamagedSkinMessage));
  EXPECT_FALSE(sd->Active());
  EXPECT_EQ(manager_->PendingAction, saUnskinAll);
  EXPECT_EQ(manager_->refreshes, 1);
  EXPECT_EQ(sd->ButtonFaceColour, RGBColor(145, 146, 159)) << "the objects of the last good skin stay";

  // A skin of the old format says so.
  Bytes old = BuildSkinContainer({{"a.ini", Bytes{'[', 'x', ']'}}});
  old[0] = 0x10;
  old[1] = 0x27;  // 10000
  const Bytes packed = PackSkinContainer(old);
  sd->SetSkinFile(Utf8ToUtf16(TempFile("qlt-old.skin", std::string(packed.begin(), packed.end()))));
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[1], Utf8ToUtf16(kOldSkinMessage));
  EXPECT_TRUE(sd->NoSkin);
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
  manager_->ActivationCount = 1;
  sd->SetActive(true);
  EXPECT_EQ(manager_->PendingSkinData, sd.get());
  sd.reset();
  EXPECT_EQ(manager_->PendingSkinData, nullptr);
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

}  // namespace
}  // namespace qlt
