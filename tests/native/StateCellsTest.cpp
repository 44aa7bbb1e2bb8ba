// The state cells the painters choose: edges and title buttons by the window's activity, check and
// radio marks by their state, with the twelve- and eight-cell layouts and every count clamped into
// the image.
#include "skin/data/StateCells.h"

#include <gtest/gtest.h>

namespace qlt {
namespace {

TEST(StateCells, EdgesAndTitleButtonsShowTheInactiveCellOnlyWhenTheyHaveOne) {
  EXPECT_EQ(EdgeCell(2, true), 1);
  EXPECT_EQ(EdgeCell(2, false), 2);
  EXPECT_EQ(EdgeCell(1, false), 1) << "a one-cell edge looks the same in both states";
  EXPECT_EQ(EdgeCell(0, false), 1) << "a count below 1 never selects a cell outside the image";
  EXPECT_EQ(EdgeCell(-3, true), 1);

  EXPECT_EQ(TitleButtonIdleCell(6, true), 1);
  EXPECT_EQ(TitleButtonIdleCell(6, false), 4);
  EXPECT_EQ(TitleButtonIdleCell(4, false), 4);
  EXPECT_EQ(TitleButtonIdleCell(3, false), 1) << "fewer than four cells: no inactive look";
  EXPECT_EQ(TitleButtonIdleCell(0, false), 1);
}

TEST(StateCells, CheckBoxesMapEveryStateForFourAndTwelveCells) {
  struct Case {
    bool checked, indeterminate, disabled;
    int four, twelve;
  };
  const Case cases[] = {
      {false, false, false, 1, 1}, {true, false, false, 2, 5}, {false, false, true, 3, 4}, {true, false, true, 4, 8},
      {false, true, false, 4, 9},  {false, true, true, 4, 12}, {true, true, false, 4, 9},  {true, true, true, 4, 12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "checked " << c.checked << " indeterminate " << c.indeterminate << " disabled "
                                    << c.disabled);
    EXPECT_EQ(CheckBoxCell(4, c.checked, c.indeterminate, c.disabled), c.four);
    EXPECT_EQ(CheckBoxCell(8, c.checked, c.indeterminate, c.disabled), c.four) << "only 12 has its own layout";
    EXPECT_EQ(CheckBoxCell(12, c.checked, c.indeterminate, c.disabled), c.twelve);
  }
  // A skin that says it has fewer cells than the states need is never read past its end.
  EXPECT_EQ(CheckBoxCell(2, true, false, true), 2);
  EXPECT_EQ(CheckBoxCell(1, true, true, true), 1);
  EXPECT_EQ(CheckBoxCell(0, true, false, false), 1);
}

TEST(StateCells, RadioButtonsMapEveryStateForFourAndEightCells) {
  EXPECT_EQ(RadioCell(4, false, false), 1);
  EXPECT_EQ(RadioCell(4, true, false), 2);
  EXPECT_EQ(RadioCell(4, false, true), 3);
  EXPECT_EQ(RadioCell(4, true, true), 4);
  EXPECT_EQ(RadioCell(8, false, false), 1);
  EXPECT_EQ(RadioCell(8, true, false), 5);
  EXPECT_EQ(RadioCell(8, false, true), 4);
  EXPECT_EQ(RadioCell(8, true, true), 8);
  EXPECT_EQ(RadioCell(12, true, false), 2) << "only 8 has its own layout";
  EXPECT_EQ(RadioCell(3, true, true), 3);
  EXPECT_EQ(RadioCell(-1, true, false), 1);
}

TEST(StateCells, HotAndPressedMarksOnlyWhereTheImageHasThem) {
  using enum MarkLook;
  // Twelve check cells and eight radio cells: normal, hot, pressed, disabled for each mark.
  EXPECT_EQ(CheckBoxCell(12, false, false, false, kHot), 2);
  EXPECT_EQ(CheckBoxCell(12, false, false, false, kPressed), 3);
  EXPECT_EQ(CheckBoxCell(12, true, false, false, kHot), 6);
  EXPECT_EQ(CheckBoxCell(12, true, false, false, kPressed), 7);
  EXPECT_EQ(CheckBoxCell(12, false, true, false, kHot), 10);
  EXPECT_EQ(CheckBoxCell(12, true, true, false, kPressed), 11);
  EXPECT_EQ(RadioCell(8, false, false, kHot), 2);
  EXPECT_EQ(RadioCell(8, false, false, kPressed), 3);
  EXPECT_EQ(RadioCell(8, true, false, kHot), 6);
  EXPECT_EQ(RadioCell(8, true, false, kPressed), 7);
  // Disabled marks never look hot or pressed.
  EXPECT_EQ(CheckBoxCell(12, true, false, true, kHot), 8);
  EXPECT_EQ(CheckBoxCell(12, false, true, true, kPressed), 12);
  EXPECT_EQ(RadioCell(8, false, true, kPressed), 4);
  // Other counts have no such cells: the hover changes nothing.
  for (MarkLook look : {kHot, kPressed}) {
    EXPECT_EQ(CheckBoxCell(4, true, false, false, look), 2);
    EXPECT_EQ(CheckBoxCell(8, false, false, false, look), 1);
    EXPECT_EQ(CheckBoxCell(4, false, true, false, look), 4);
    EXPECT_EQ(RadioCell(4, true, false, look), 2);
    EXPECT_EQ(RadioCell(12, false, false, look), 1);
  }
}

}  // namespace
}  // namespace qlt
