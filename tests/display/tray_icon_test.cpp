#include "display/tray_icon.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace chimewell {
namespace {

class RecordingArea final : public NotificationArea {
 public:
  void AddIcon(std::string_view tip) override { log.push_back("add " + std::string(tip)); }
  void ModifyIcon(std::string_view tip) override { log.push_back("modify " + std::string(tip)); }
  void DeleteIcon() override { log.push_back("delete"); }
  std::vector<std::string> log;
};

using Log = std::vector<std::string>;

TEST(TrayTipTextTest, CutsAfterSixtyThreeCharactersOnACharacterBoundary) {
  EXPECT_EQ(TrayTipText(std::string(100, 'a')), std::string(63, 'a'));
  EXPECT_EQ(TrayTipText("時報"), "時報");
  std::string japanese;
  for (int i = 0; i < 70; ++i) japanese += "時";
  const std::string tip = TrayTipText(japanese);
  EXPECT_EQ(tip.size(), 63u * 3);
  EXPECT_EQ(tip.substr(tip.size() - 3), "時");
}

TEST(TrayIconTest, IconGoesAndComesWithVisibleAndHintChangesReachOnlyAShownIcon) {
  RecordingArea area;
  {
    TTaskTrayIcon icon(area);
    icon.Loaded();
    icon.SetHint("Chimewell");
    icon.SetHint("Chimewell");  // unchanged: nothing sent
    icon.SetVisible(false);
    icon.SetHint("hidden");
    icon.IconChanged();
    icon.SetVisible(false);
    icon.SetVisible(true);
    icon.IconChanged();
  }
  EXPECT_EQ(area.log,
            (Log{"add ", "modify Chimewell", "delete", "add hidden", "modify hidden", "delete"}));
}

TEST(TrayIconTest, HiddenIconIsNotDeletedAgainAtDestructionButSessionEndAlwaysDeletes) {
  RecordingArea area;
  {
    TTaskTrayIcon icon(area);
    icon.SetVisible(false);
  }
  EXPECT_EQ(area.log, (Log{"delete"}));
  TTaskTrayIcon icon(area);
  area.log.clear();
  icon.SetVisible(false);
  icon.QueryEndSession();
  EXPECT_EQ(area.log, (Log{"delete", "delete"}));
}

class TrayMouseTest : public ::testing::Test {
 protected:
  TrayMouseTest() {
    icon_.BringOwnerForward = [this] { events_.push_back("forward"); };
    icon_.PopUpMenuR = [this](int x, int y) {
      events_.push_back("menuR " + std::to_string(x) + "," + std::to_string(y));
    };
    icon_.OnDblClick = [this] { events_.push_back("dblclick"); };
    icon_.OnClick = [this] { events_.push_back("click"); };
    icon_.OnMouseDown = [this](TrayButton b, unsigned shift, int, int) {
      events_.push_back("down " + std::to_string(static_cast<int>(b)) + " " +
                        std::to_string(shift));
    };
  }
  void Send(TrayActivation action) {
    for (auto m : MouseMessagesOf(action)) icon_.MouseMessage(m, 640, 10);
  }

  RecordingArea area_;
  TTaskTrayIcon icon_{area_};
  Log events_;
};

TEST_F(TrayMouseTest, RightClickOpensTheMenuAtTheMouseBeforeTheDownEvent) {
  Send(TrayActivation::kContext);
  EXPECT_EQ(events_, (Log{"forward", "menuR 640,10", "down 1 2", "click"}));
}

TEST_F(TrayMouseTest, LeftClickOpensNothingWithoutALeftMenu) {
  Send(TrayActivation::kTrigger);
  EXPECT_EQ(events_, (Log{"forward", "down 0 1", "click"}));
}

TEST_F(TrayMouseTest, DoubleClickOfEitherButtonRunsTheHandlerOnce) {
  Send(TrayActivation::kDoubleClick);
  EXPECT_EQ(events_, (Log{"forward", "dblclick", "down 0 8"}));
  events_.clear();
  icon_.MouseMessage(TrayMouseMessage::kRightDoubleClick, 0, 0);
  EXPECT_EQ(events_, (Log{"forward", "dblclick", "down 1 8"}));
}

TEST_F(TrayMouseTest, MiddleButtonAndMovesRaiseNoMenu) {
  icon_.OnMouseMove = [this](unsigned shift, int x, int) {
    events_.push_back("move " + std::to_string(shift) + " " + std::to_string(x));
  };
  icon_.MouseMessage(TrayMouseMessage::kMove, 5, 6);
  Send(TrayActivation::kMiddleClick);
  EXPECT_EQ(events_, (Log{"move 0 5", "down 2 4", "click"}));
}

TEST_F(TrayMouseTest, HandlerErrorGoesToTheErrorDisplayAndNoFurther) {
  std::string shown;
  icon_.OnError = [&](const std::string& m) { shown = m; };
  icon_.OnDblClick = [] { throw std::runtime_error("送信できません"); };
  EXPECT_NO_THROW(icon_.MouseMessage(TrayMouseMessage::kLeftDoubleClick, 0, 0));
  EXPECT_EQ(shown, "送信できません");
  icon_.OnError = nullptr;
  EXPECT_NO_THROW(icon_.MouseMessage(TrayMouseMessage::kLeftDoubleClick, 0, 0));
}

}  // namespace
}  // namespace chimewell
