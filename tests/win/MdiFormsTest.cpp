// MDI forms of the framework: a frame with its MDI client over the client area, children made in
// it and bound to their objects from their first message, listed in the frame's window menu and
// taken out again, the active child, tiling and cascading, closing (minimised by default, freed
// when the form says so, through the client), a main menu given to the frame through the client,
// and a child form with no frame to live in.
#include <gtest/gtest.h>

#include <string>

#include "tests/win/UiTestSupport.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

namespace qlt {
namespace {

using namespace test;

class TFrm_Doc : public TForm {
  QLT_CLASS(TFrm_Doc)
 public:
  explicit TFrm_Doc(TComponent* owner) : TForm(owner) {}
  TButton* Btn = nullptr;
  bool freeOnClose = false;
  int created = 0;  // WM_CREATE reached this object
  void FormClose(TObject*, TCloseAction& action) {
    if (freeOnClose) action = caFree;
  }

 protected:
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_CREATE) ++created;
    TForm::WndProc(m);
  }
};

const TClassInfo& TFrm_Doc::StaticClass() {
  static const TClassInfo info = ClassBuilder<TFrm_Doc, TForm>("TFrm_Doc")
                                     .Field("Btn", &TFrm_Doc::Btn)
                                     .Handler("FormClose", &TFrm_Doc::FormClose)
                                     .Build();
  return info;
}

constexpr char kFrame[] = R"(object Frm_Frame: TForm
  Left = 100
  Top = 80
  Caption = 'Frame'
  ClientWidth = 420
  ClientHeight = 260
  FormStyle = fsMDIForm
  Menu = MainMenu1
  WindowMenu = Mnu_Window
  object MainMenu1: TMainMenu
    object Mnu_File: TMenuItem
      Caption = '&File'
    end
    object Mnu_Window: TMenuItem
      Caption = '&Window'
      object Mnu_Tile: TMenuItem
        Caption = '&Tile'
      end
    end
  end
end
)";

std::string Doc(const std::string& caption, int left) {
  return "object Frm_Doc: TFrm_Doc\n  Left = " + std::to_string(left) +
         "\n  Top = 10\n  Caption = '" + caption +
         "'\n  ClientWidth = 160\n  ClientHeight = 80\n  FormStyle = fsMDIChild\n  Visible = True\n"
         "  OnClose = FormClose\n  object Btn: TButton\n    Left = 8\n    Top = 8\n    Width = 80\n"
         "    Height = 24\n    Caption = 'Button'\n  end\nend\n";
}

std::wstring MenuText(HMENU menu, int position) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
  return text;
}

class MdiForms : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterComponentClass<TFrm_Doc>(); }
  void SetUp() override {
    frame_ = NewFormFromText<TForm>(Application, kFrame);
    frame_->Show();
    client_ = frame_->ClientHandle();
  }
  void TearDown() override { delete frame_; }
  TFrm_Doc* NewDoc(const std::string& caption, int left) { return NewFormFromText<TFrm_Doc>(frame_, Doc(caption, left)); }

  TForm* frame_ = nullptr;
  HWND client_ = nullptr;
};

TEST_F(MdiForms, ChildrenLiveInTheFramesClientAndAreListedInItsWindowMenu) {
  ASSERT_NE(client_, nullptr);
  EXPECT_EQ(GetParent(client_), frame_->Handle());
  RECT fc{}, cc{};
  GetClientRect(frame_->Handle(), &fc);
  GetWindowRect(client_, &cc);
  EXPECT_EQ(cc.right - cc.left, fc.right) << "the client covers the frame's client area";
  HMENU windowMenu = GetSubMenu(GetMenu(frame_->Handle()), 1);
  const int itemsBefore = GetMenuItemCount(windowMenu);

  TFrm_Doc* a = NewDoc("Doc A", 10);
  TFrm_Doc* b = NewDoc("Doc B", 60);
  for (TFrm_Doc* d : {a, b}) {
    EXPECT_EQ(GetParent(d->Handle()), client_);
    EXPECT_NE(GetWindowLongW(d->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD, 0);
    EXPECT_EQ(d->created, 1) << "the object had its window from WM_CREATE on";
    EXPECT_TRUE(IsWindowVisible(d->Btn->Handle()));
  }
  EXPECT_EQ(frame_->MDIChildCount(), 2);
  EXPECT_EQ(frame_->ActiveMDIChild(), b) << "the newest child is the active one";
  EXPECT_EQ(frame_->MDIChildren(0), b);
  // The client lists the children below a separator, as the system does.
  ASSERT_EQ(GetMenuItemCount(windowMenu), itemsBefore + 3);
  EXPECT_NE(MenuText(windowMenu, itemsBefore + 1).find(L"Doc A"), std::wstring::npos);
  EXPECT_NE(MenuText(windowMenu, itemsBefore + 2).find(L"Doc B"), std::wstring::npos);

  frame_->Tile();
  RECT ra{}, rb{};
  GetWindowRect(a->Handle(), &ra);
  GetWindowRect(b->Handle(), &rb);
  RECT overlap{};
  EXPECT_FALSE(IntersectRect(&overlap, &ra, &rb)) << "tiled side by side";
  frame_->Cascade();
  GetWindowRect(a->Handle(), &ra);
  GetWindowRect(b->Handle(), &rb);
  EXPECT_NE(ra.top, rb.top) << "cascaded one below the other";

  // Closing: an icon by default; freed through the client when the form says so.
  a->Close();
  EXPECT_TRUE(IsIconic(a->Handle()));
  HWND bw = b->Handle();
  b->freeOnClose = true;
  b->Close();
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(bw); }));
  EXPECT_EQ(frame_->MDIChildCount(), 1);
  EXPECT_EQ(GetMenuItemCount(windowMenu), itemsBefore + 2) << "the window menu forgot the child";
  delete a;
  EXPECT_EQ(frame_->MDIChildCount(), 0);
  EXPECT_EQ(GetMenuItemCount(windowMenu), itemsBefore);
}

TEST_F(MdiForms, AMenuGivenToTheFrameGoesThroughTheClientAndAChildWithoutAFrameIsAnError) {
  auto* other = new TMainMenu(frame_);
  auto* item = new TMenuItem(other);
  item->SetCaption(u"&Other");
  other->Items()->Add(item);
  frame_->SetMenu(other);
  EXPECT_EQ(GetMenu(frame_->Handle()), other->Handle());
  // A child form needs a frame: without one it is a clear error, and nothing is left behind.
  delete frame_;
  frame_ = nullptr;
  try {
    NewFormFromText<TFrm_Doc>(Application, Doc("Orphan", 10));
    ADD_FAILURE() << "a child without a frame was made";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find(u"MDI frame"), std::u16string::npos);
  }
}

}  // namespace
}  // namespace qlt
