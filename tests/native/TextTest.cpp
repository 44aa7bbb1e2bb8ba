// Conversions with the framework's error texts, string lists and memory streams.
#include <gtest/gtest.h>

#include "ui/Classes.h"
#include "ui/Colors.h"
#include "ui/SysUtils.h"

namespace qlt {
namespace {

TEST(Conversions, IntegersParseLikeTheFrameworkAndFailWithItsText) {
  EXPECT_EQ(StrToInt(u"255"), 255);
  EXPECT_EQ(StrToInt(u"  -17"), -17);
  EXPECT_EQ(StrToInt(u"$FF"), 255);
  EXPECT_EQ(StrToInt(u"0x10"), 16);
  EXPECT_EQ(StrToInt(u"$FFFFFFFF"), -1);
  EXPECT_EQ(StrToInt(u"2147483647"), 2147483647);
  EXPECT_EQ(StrToInt(u"-2147483648"), -2147483647 - 1);
  for (const std::u16string bad : {u"", u"abc", u"12 ", u"1.5", u"2147483648", u"99999999999999999999", u"-", u"$"}) {
    try {
      StrToInt(bad);
      ADD_FAILURE() << "accepted a bad number";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), u"'" + bad + u"' is not a valid integer value");
    }
  }
  EXPECT_EQ(StrToIntDef(u"abc", 1), 1);
  EXPECT_EQ(StrToIntDef(u"300", 1), 300);
  EXPECT_STREQ(EConvertError(u"'科' x").what(), "'科' x");
}

TEST(Conversions, FormatTrimAndTheFrameworkMessages) {
  EXPECT_EQ(Format(msg::kCannotCreateFile, {u"C:\\a\\data.txt", u"Access is denied."}),
            u"Cannot create file \"C:\\a\\data.txt\". Access is denied.");
  EXPECT_EQ(Format(msg::kFailedToSetData, {u"NameServer"}), u"Failed to set data for 'NameServer'");
  EXPECT_EQ(Format(msg::kFailedToCreateKey, {u"SYSTEM\\X"}), u"Failed to create key SYSTEM\\X");
  EXPECT_EQ(Format(u"%s-%s", {u"a"}), u"a-");
  EXPECT_EQ(Trim(u" \t 0 \r\n"), u"0");
  EXPECT_EQ(Trim(u"   "), u"");
  EXPECT_EQ(TrimRight(u" a "), u" a");
  EXPECT_EQ(IntToStr(-42), u"-42");
  EXPECT_TRUE(SameText(u"Frm_IPDNS", u"FRM_ipdns"));
}

TEST(StringList, KeepsOrderSplitsLinesAndReportsChanges) {
  TStringList list;
  int changes = 0;
  list.OnChange = [&](TObject*) { ++changes; };
  list.SetText(u"notepad.exe\r\n\r\nwinemine.exe\n");
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list[1], u"");
  EXPECT_EQ(list.Text(), u"notepad.exe\r\n\r\nwinemine.exe\r\n");
  list.SetText(u"a\rb\r\nc");
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list[2], u"c");
  EXPECT_EQ(list.IndexOf(u"B"), 1);
  EXPECT_EQ(list.IndexOf(u"x"), -1);
  list.Insert(0, u"first");
  list.Delete(3);
  EXPECT_EQ(list.Text(), u"first\r\na\r\nb\r\n");
  EXPECT_THROW(list.Get(3), EListError);
  EXPECT_THROW(list.Delete(-1), EListError);
  const int before = changes;
  list.Clear();
  list.Clear();  // already empty: no change
  EXPECT_EQ(changes, before + 1);

  TStringList rows{u"TRzButton=button", u"TLMDGroupBox=Groupbox", u"novalue"};
  EXPECT_EQ(rows.Names(0), u"TRzButton");
  EXPECT_EQ(rows.ValueFromIndex(1), u"Groupbox");
  EXPECT_EQ(rows.Values(u"trzbutton"), u"button");
  EXPECT_EQ(rows.Values(u"novalue"), u"");
  TStringList copy;
  copy.Assign(rows);
  EXPECT_TRUE(copy == rows);
}

TEST(MemoryStream, ReadsWhatWasWrittenAndRefusesToReadPastTheEnd) {
  TMemoryStream s;
  const int32_t n = 24572;
  s.Write(&n, 4);
  s.Write("abc", 3);
  EXPECT_EQ(s.Size(), 7);
  s.SetPosition(0);
  int32_t back = 0;
  s.ReadBuffer(&back, 4);
  EXPECT_EQ(back, n);
  char buffer[8] = {};
  EXPECT_EQ(s.Read(buffer, 8), 3);
  EXPECT_THROW(s.ReadBuffer(buffer, 1), EReadError);
  s.SetPosition(100);
  EXPECT_EQ(s.Position(), 7);
  s.SetSize(2);
  EXPECT_EQ(s.Position(), 2);
}

TEST(Colors, NamesAndNumbersConvertBothWays) {
  TColor c = 0;
  EXPECT_TRUE(StringToColor("clBtnFace", c));
  EXPECT_EQ(static_cast<uint32_t>(c), 0xFF00000Fu);
  EXPECT_TRUE(StringToColor("clnavy", c));
  EXPECT_EQ(c, 0x800000);
  EXPECT_TRUE(StringToColor("$009F9291", c));
  EXPECT_EQ(c, RGBColor(145, 146, 159));
  EXPECT_FALSE(StringToColor("clNoSuchColour", c));
  EXPECT_EQ(ColorToString(clBlue), "clBlue");
  EXPECT_EQ(ColorToString(RGBColor(145, 146, 159)), "$009F9291");
  EXPECT_TRUE(IsSystemColor(clWindowText));
  EXPECT_FALSE(IsSystemColor(clNone));
}

}  // namespace
}  // namespace qlt
