// The points interface for other plugins, called in-process.
#include <gtest/gtest.h>

#include "DbTestSupport.h"
#include "points/ExportedPoints.h"

namespace {

using dbtest::ShopTables;

TEST(ExportedPoints, ReadAddSpendAndSet) {
  ShopTables db;
  EXPECT_EQ(TandorShop::GetPoints(u"eos_a"), 0);  // unknown: row created
  EXPECT_EQ(db.Points("eos_a"), 0);

  EXPECT_TRUE(TandorShop::AddPoints(10, u"eos_a"));
  EXPECT_TRUE(TandorShop::SpendPoints(10, u"eos_a"));  // exactly the balance
  EXPECT_EQ(TandorShop::GetPoints(u"eos_a"), 0);
  EXPECT_TRUE(TandorShop::SetPoints(u"eos_a", 9));
  EXPECT_FALSE(TandorShop::SpendPoints(10, u"eos_a"));
  EXPECT_EQ(TandorShop::GetPoints(u"eos_a"), 9);
  EXPECT_TRUE(TandorShop::AddPoints(-4, u"eos_a"));  // no sign check
  EXPECT_FALSE(TandorShop::SpendPoints(-2, u"eos_a")) << "a negative spend would credit";
  EXPECT_EQ(TandorShop::GetPoints(u"eos_a"), 5);

  EXPECT_FALSE(TandorShop::SpendPoints(1, u"eos_b"));  // unknown: row created, nothing to spend
  EXPECT_EQ(db.Points("eos_b"), 0);
  EXPECT_FALSE(TandorShop::AddPoints(5, u"eos_c"));  // no row: nothing changed, and false says so
  EXPECT_FALSE(TandorShop::SetPoints(u"eos_c", 5));
  EXPECT_EQ(db.Points("eos_c"), -1);

  db.SetPoints("eos_big", 4'294'967'296LL + 17);
  EXPECT_EQ(TandorShop::GetPoints(u"eos_big"), 17);  // the low 32 bits
}

}  // namespace
