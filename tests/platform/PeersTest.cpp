// The seam between the model and a backend: when peers are made and
// deleted, and which property change each model call reports.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Controls.h"

namespace vk {
namespace {

std::vector<std::string> GLog;

class TLoggingPeer : public TControlPeer {
public:
  explicit TLoggingPeer(TControl& control) : FName(control.Name()) { GLog.push_back("+" + FName); }
  ~TLoggingPeer() override { GLog.push_back("-" + FName); }
  void PropertyChanged(TPeerProperty property) override { Changes.push_back(property); }
  std::vector<TPeerProperty> Changes;

private:
  std::string FName;
};

class TLoggingFactory : public TPeerFactory {
public:
  std::unique_ptr<TControlPeer> CreatePeer(TControl& control) override {
    return std::make_unique<TLoggingPeer>(control);
  }
};

class PeersTest : public testing::Test {
protected:
  PeersTest() {
    GLog.clear();
    SetPeerFactory(&Factory);
    Form.SetName("Form");
    Panel->SetName("Panel");
    Label->SetName("Label");
    Panel->SetParent(&Form);
    Label->SetParent(Panel);
  }
  ~PeersTest() override { SetPeerFactory(nullptr); }

  static std::vector<TPeerProperty>& Changes(TControl& control) {
    return static_cast<TLoggingPeer*>(control.Peer())->Changes;
  }

  TLoggingFactory Factory;
  TWinControl Form{nullptr};
  TWinControl* Panel = new TWinControl(&Form);
  TControl* Label = new TControl(&Form);
};

TEST_F(PeersTest, PeersComeWithTheWindowsParentsFirstAndGoChildrenFirst) {
  EXPECT_EQ(Form.Peer(), nullptr);
  Form.HandleNeeded();
  EXPECT_EQ(GLog, (std::vector<std::string>{"+Form", "+Panel", "+Label"}));
  GLog.clear();
  Form.DestroyHandle();
  EXPECT_EQ(GLog, (std::vector<std::string>{"-Label", "-Panel", "-Form"}));
  EXPECT_EQ(Label->Peer(), nullptr);
}

TEST_F(PeersTest, AControlGetsAndLosesItsPeerWithAParentOnTheScreen) {
  Form.HandleNeeded();
  auto* late = new TControl(&Form);
  late->SetName("Late");
  late->SetParent(&Form);
  EXPECT_NE(late->Peer(), nullptr);
  late->SetParent(nullptr);
  EXPECT_EQ(late->Peer(), nullptr);
  EXPECT_EQ(GLog.back(), "-Late");
}

TEST_F(PeersTest, DroppingTheFactoryDeletesEveryPeerItMade) {
  Form.HandleNeeded();
  SetPeerFactory(nullptr);
  EXPECT_EQ(GLog.back(), "-Form");
  EXPECT_EQ(Panel->Peer(), nullptr);
  EXPECT_TRUE(Form.HandleAllocated());
}

TEST_F(PeersTest, APeerMadeByHandTakesThePlaceOfTheFactorysAndHearsTheEnd) {
  Form.HandleNeeded();
  struct THandMade : TControlPeer {
    void PropertyChanged(TPeerProperty) override {}
    void ControlFreed() override { Freed = true; }
    bool Freed = false;
  } handMade;
  {
    TWinControl window(nullptr);
    window.SetName("Window");
    window.HandleNeeded();
    window.SetPeer(&handMade);
    EXPECT_EQ(GLog.back(), "-Window");
    window.DestroyHandle();
    window.HandleNeeded();
    EXPECT_EQ(window.Peer(), &handMade);
  }
  EXPECT_TRUE(handMade.Freed);
}

TEST_F(PeersTest, EachModelCallReportsItsProperty) {
  Form.HandleNeeded();
  struct TCase {
    const char* Name;
    std::function<void(TControl&)> Change;
    TPeerProperty Expected;
  };
  const TCase cases[] = {
      {"bounds", [](TControl& c) { c.SetBounds(1, 2, 30, 40); }, ppBounds},
      {"visible", [](TControl& c) { c.Hide(); }, ppVisible},
      {"enabled", [](TControl& c) { c.SetEnabled(false); }, ppEnabled},
      {"text", [](TControl& c) { c.SetText("x"); }, ppText},
      {"font", [](TControl& c) { c.Font().SetSize(14); }, ppFont},
      {"colour", [](TControl& c) { c.SetColor(clRed); }, ppColor},
      {"hint", [](TControl& c) { c.SetHint("tip"); }, ppHint},
  };
  for (const TCase& test : cases) {
    Changes(*Label).clear();
    test.Change(*Label);
    EXPECT_EQ(Changes(*Label), std::vector<TPeerProperty>{test.Expected}) << test.Name;
  }
  Changes(*Panel).clear();
  Panel->SetFocus();
  EXPECT_EQ(Changes(*Panel), std::vector<TPeerProperty>{ppFocus});
}

TEST_F(PeersTest, AnUnchangedValueReportsNothing) {
  Form.HandleNeeded();
  Changes(*Label).clear();
  Label->SetBounds(Label->Left(), Label->Top(), Label->Width(), Label->Height());
  Label->Show();
  Label->SetText("");
  EXPECT_TRUE(Changes(*Label).empty());
}

}  // namespace
}  // namespace vk
