// The accessory services' rules: the reminder's once-an-hour firing, the colour tool, autostart
// and link command lines, and the IP/DNS checks and command line.
#include <gtest/gtest.h>

#include "app/ColorTool.h"
#include "app/Links.h"
#include "app/Reminder.h"
#include "tools/AddressSet.h"

namespace qlt {
namespace {

LocalTime At(int hour, int minute, int second, int day = 7) { return {2024, 5, day, hour, minute, second}; }

TEST(Reminder, FiresOnceAtTheChosenMinuteEvenWhenTheTimerJitters) {
  HourlyReminder reminder;
  EXPECT_FALSE(reminder.Tick(At(10, 29, 58), 30));
  EXPECT_FALSE(reminder.Tick(At(10, 29, 59), 30));
  EXPECT_TRUE(reminder.Tick(At(10, 30, 0), 30));
  EXPECT_FALSE(reminder.Tick(At(10, 30, 0), 30));  // a second tick within second 0
  EXPECT_FALSE(reminder.Tick(At(10, 30, 1), 30));
  EXPECT_FALSE(reminder.Tick(At(10, 31, 0), 30));
  EXPECT_TRUE(reminder.Tick(At(11, 30, 0), 30));   // the next hour
  EXPECT_TRUE(reminder.Tick(At(11, 30, 0, 8), 30));  // same hour, another day
}

TEST(Reminder, LateTickStillFiresButStartOrChangeInsideTheMinuteDoesNot) {
  HourlyReminder late;
  EXPECT_FALSE(late.Tick(At(10, 59, 59), 0));
  EXPECT_TRUE(late.Tick(At(11, 0, 1), 0));  // the tick of second 0 came late

  HourlyReminder startedInside;
  EXPECT_FALSE(startedInside.Tick(At(10, 30, 20), 30));
  EXPECT_FALSE(startedInside.Tick(At(10, 30, 21), 30));

  HourlyReminder changed;
  EXPECT_FALSE(changed.Tick(At(10, 30, 20), 5));
  EXPECT_FALSE(changed.Tick(At(10, 30, 21), 30));  // chosen while the clock is in that minute

  HourlyReminder first;
  EXPECT_TRUE(first.Tick(At(10, 30, 0), 30));  // the very first tick, at second 0

  HourlyReminder never;
  for (int m = 0; m < 60; ++m) {
    EXPECT_FALSE(never.Tick(At(10, m, 0), 75));
    EXPECT_FALSE(never.Tick(At(10, m, 0), -1));
  }
}

TEST(ColorTool, HexPairsAndFrameworkErrors) {
  const auto green = HexToColor(u"00FF80");
  ASSERT_TRUE(green.color.has_value());
  EXPECT_EQ(*green.color, 8453888u);
  EXPECT_EQ(ColorToText(*green.color), u"$0080FF00");
  EXPECT_EQ(ColorToText(*HexToColor(u"FF0000").color), u"clRed");
  EXPECT_EQ(ColorToText(*HexToColor(u"ffffff").color), u"clWhite");

  const auto badGreen = HexToColor(u"00GG80");
  EXPECT_FALSE(badGreen.color.has_value());
  EXPECT_EQ(badGreen.error, u"'$GG' is not a valid integer value");
  const auto shortText = HexToColor(u"00FF");
  EXPECT_FALSE(shortText.color.has_value());
  EXPECT_EQ(shortText.error, u"'$' is not a valid integer value");
  EXPECT_EQ(HexToColor(u"").error, u"'$' is not a valid integer value");
}

TEST(Links, QuotedPathsAndAutostartName) {
  EXPECT_EQ(QuotedPath(u"C:\\Program Files\\QLT\\QLT.exe"), u"\"C:\\Program Files\\QLT\\QLT.exe\"");
  EXPECT_EQ(QuotedPath(u"\"C:\\a b\\x.exe\""), u"\"C:\\a b\\x.exe\"");
  EXPECT_EQ(AutostartValueName(u"C:\\Program Files\\QLT\\QLT.exe"), u"QLT");
  EXPECT_EQ(AutostartValueName(u"C:\\a.b\\tool.beta.exe"), u"tool");
  EXPECT_EQ(AutostartValueName(u"C:\\x\\noext"), u"noext");
  EXPECT_EQ(BrowserCommandLine(u"C:\\Program Files\\Internet Explorer\\iexplore.exe", kForumSite),
            u"\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" \"https://forum.velora.example.com/\"");
  EXPECT_EQ(BrowserCommandLine(u"\"C:\\b.exe\" ", u"http://x/"), u"\"C:\\b.exe\" \"http://x/\"");
}

TEST(AddressSet, DottedIPv4) {
  for (const char16_t* good : {u"10.0.0.5", u"0.0.0.0", u"255.255.255.255", u"192.168.202.245"}) {
    EXPECT_TRUE(IsDottedIPv4(good)) ;
  }
  for (const char16_t* bad : {u"10.0.0.300", u"", u"10.0.0", u"10.0.0.5.6", u"10.0.0.", u".10.0.0", u"10..0.5",
                              u"10.0.0.5 ", u"a.b.c.d", u"010.0.0.1", u"1.2.3.4444", u"-1.2.3.4", u"10.0.0.5/24"}) {
    EXPECT_FALSE(IsDottedIPv4(bad));
  }
}

TEST(AddressSet, CheckNamesTheWrongFieldAndCommandLinesAreExact) {
  const AddressSet good{u"10.0.0.5", u"10.0.0.1", u"10.0.0.2"};
  EXPECT_FALSE(CheckAddressSet(good, 1).has_value());
  EXPECT_EQ(NetshCommandLine(good), u"netsh interface ip set address 本地连接 static 10.0.0.5 255.255.255.0 10.0.0.1 1");
  EXPECT_EQ(NameServerText(good), u"10.0.0.2 10.0.0.5");

  const auto badIp = CheckAddressSet({u"10.0.0.300", u"10.0.0.1", u"x"}, 1);
  ASSERT_TRUE(badIp.has_value());
  EXPECT_EQ(badIp->field, AddressField::Ip);
  EXPECT_NE(badIp->message.find(u"第一个地址的IP地址"), std::u16string::npos);
  EXPECT_NE(badIp->message.find(u"10.0.0.300"), std::u16string::npos);

  const auto noGateway = CheckAddressSet({u"10.0.0.5", u"", u"10.0.0.2"}, 2);
  ASSERT_TRUE(noGateway.has_value());
  EXPECT_EQ(noGateway->field, AddressField::Gateway);
  EXPECT_NE(noGateway->message.find(u"第二个地址的网关地址"), std::u16string::npos);

  const auto badDns = CheckAddressSet({u"10.0.0.5", u"10.0.0.1", u"10.0.0.2x"}, 1);
  ASSERT_TRUE(badDns.has_value());
  EXPECT_EQ(badDns->field, AddressField::Dns);

  // Blanks typed around an address are not part of it.
  const AddressSet padded{u" 10.0.0.5 ", u"10.0.0.1 ", u" 10.0.0.2"};
  EXPECT_FALSE(CheckAddressSet(padded, 1).has_value());
  EXPECT_EQ(NetshCommandLine(padded), NetshCommandLine(good));
  EXPECT_EQ(AddressSection(2), u"IPDNS2");
  EXPECT_EQ(AddressKey(AddressField::Gateway), u"Net");
}

}  // namespace
}  // namespace qlt
