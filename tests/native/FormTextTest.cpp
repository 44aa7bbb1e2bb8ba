// The text of form descriptions: every kind of value, nesting, round trips and bad input.
#include <gtest/gtest.h>

#include "ui/FormText.h"
#include "ui/SysUtils.h"

namespace qlt {
namespace {

constexpr char kSample[] = R"(object Frm_Main: TFrm_Main
  Caption = 'QLTZarnit2.32－QLT科技'
  ClientWidth = 371
  Left = -8
  Color = clBtnFace
  Tag = $FF
  Visible = False
  BorderIcons = [biSystemMenu]
  Empty = []
  Hint = 'it''s'#13#10'two lines' +
    ' and more'
  // a comment
  object Lst_ALLP: TListBox
    Items.Strings = (
      'notepad.exe'
      '控制')
    OnDblClick = Lst_ALLPDblClick
  end
  object SkinData1: TSkinData
    SkinStream = {
      0A0B0c FF}
  end
end
)";

TEST(FormText, ReadsEveryKindOfValueAndTheNesting) {
  const DfmObject root = ParseFormText(kSample);
  EXPECT_EQ(root.name, "Frm_Main");
  EXPECT_EQ(root.className, "TFrm_Main");
  ASSERT_EQ(root.children.size(), 2u);
  EXPECT_EQ(root.Find("caption")->value, DfmValue::Str(u"QLTZarnit2.32－QLT科技"));
  EXPECT_EQ(root.Find("ClientWidth")->value, DfmValue::Int(371));
  EXPECT_EQ(root.Find("Left")->value, DfmValue::Int(-8));
  EXPECT_EQ(root.Find("Tag")->value, DfmValue::Int(255));
  EXPECT_EQ(root.Find("Color")->value, DfmValue::Id("clBtnFace"));
  EXPECT_EQ(root.Find("Visible")->value, DfmValue::Id("False"));
  EXPECT_EQ(root.Find("BorderIcons")->value, DfmValue::SetOf({"biSystemMenu"}));
  EXPECT_EQ(root.Find("Empty")->value, DfmValue::SetOf({}));
  EXPECT_EQ(root.Find("Hint")->value, DfmValue::Str(u"it's\r\ntwo lines and more"));
  EXPECT_EQ(root.Find("Hint")->line, 10);
  const DfmObject& list = root.children[0];
  EXPECT_EQ(list.Find("Items.Strings")->value, DfmValue::ListOf({u"notepad.exe", u"控制"}));
  EXPECT_EQ(list.Find("OnDblClick")->value, DfmValue::Id("Lst_ALLPDblClick"));
  EXPECT_EQ(root.children[1].Find("SkinStream")->value, DfmValue::Bin(std::string("\x0A\x0B\x0C\xFF", 4)));
}

TEST(FormText, WritesWhatItReadsBack) {
  const DfmObject root = ParseFormText(kSample);
  const std::string written = WriteFormText(root);
  const DfmObject again = ParseFormText(written);
  EXPECT_EQ(WriteFormText(again), written);
  ASSERT_EQ(again.props.size(), root.props.size());
  for (size_t i = 0; i < root.props.size(); ++i) EXPECT_EQ(again.props[i].value, root.props[i].value) << root.props[i].name;
  EXPECT_EQ(again.children[1].Find("SkinStream")->value, root.children[1].Find("SkinStream")->value);
  // Chinese text stays readable in the file; control characters and quotes are escaped.
  EXPECT_NE(written.find("'QLTZarnit2.32－QLT科技'"), std::string::npos);
  EXPECT_NE(written.find("'it''s'#13#10'two lines and more'"), std::string::npos);

  DfmObject big;
  big.name = "S";
  big.className = "TSkinData";
  std::string bytes;
  for (int i = 0; i < 1000; ++i) bytes += static_cast<char>(i * 7);
  big.props.push_back({"SkinStream", DfmValue::Bin(bytes), 0});
  EXPECT_EQ(ParseFormText(WriteFormText(big)).Find("SkinStream")->value.bytes, bytes);
}

TEST(FormText, BadTextIsRefusedWithTheLine) {
  const char* bad[] = {
      "",
      "object A: TA",                            // no end
      "object A TA\nend",                        // no colon
      "object A: TA\n  X = 'open\nend",          // unterminated string
      "object A: TA\n  X = {0A0}\nend",          // odd hex digits
      "object A: TA\n  X = {0G}\nend",           // not hex
      "object A: TA\n  X = [a b]\nend",          // set without comma
      "object A: TA\n  X = ( 1 )\nend",          // list of non-strings
      "object A: TA\n  X = \nend",               // missing value
      "object A: TA\nend\ntrailing",             // text after the end
      "object A: TA\n  X = 'a' +\nend",          // '+' without a string
      "object A: TA\n  X = #70000\nend",         // character code too large
      "object A: TA\n  X = 99999999999999999\nend",
  };
  for (const char* text : bad) {
    EXPECT_THROW(ParseFormText(text), EReadError) << text;
  }
  try {
    ParseFormText("object A: TA\n  Caption = 'x'\n  Width = ?\nend");
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_NE(std::string(e.what()).find("line 3"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace qlt
