// The admin's change of held packets: only for a player the shop knows.
#include <gtest/gtest.h>

#include "DbTestSupport.h"
#include "db/DBHelper.h"

namespace {

using DBHelper::WriteResult;

TEST(AdminHeldAmount, APlayerWithoutARowGetsNothingAndTakingWhatIsNotHeldSaysSo) {
  dbtest::ShopTables db;
  EXPECT_EQ(DBHelper::changeHeldAmount(u"stranger", u"Kit,0;;;", 2, false), WriteResult::NoPlayer);
  EXPECT_EQ(DBHelper::changeHeldAmount(u"stranger", u"Kit,0;;;", -2, false), WriteResult::NoPlayer);
  EXPECT_EQ(db.Held("stranger", "Kit,0;;;"), -1) << "no held row for an id the shop does not know";

  db.SetPoints("known", 0);
  EXPECT_EQ(DBHelper::changeHeldAmount(u"known", u"Kit,0;;;", -2, false), WriteResult::NothingHeld);
  EXPECT_EQ(DBHelper::changeHeldAmount(u"known", u"Kit,0;;;", 3, false), WriteResult::Done);
  EXPECT_EQ(db.Held("known", "Kit,0;;;"), 3);

  db.Sql().Exec("DROP TABLE " + db.Table("player_points"));
  dbtest::LogCapture log;
  EXPECT_EQ(DBHelper::changeHeldAmount(u"known", u"Kit,0;;;", 1, false), WriteResult::Failed);
  EXPECT_EQ(db.Held("known", "Kit,0;;;"), 3);
}

}  // namespace
