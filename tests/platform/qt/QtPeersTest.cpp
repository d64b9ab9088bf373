// The peer factory's plain window and custom-painted control peers: a
// window's widget holds its children's widgets, placed where the model says.

#include <gtest/gtest.h>

#include "platform/qt/QtControlHost.h"
#include "platform/qt/QtPeer.h"
#include "tests/platform/qt/QtTestSupport.h"

namespace vk::test {
namespace {

TEST(QtPeersTest, AWindowsWidgetHoldsAPaintedChildWhereTheModelPutsIt) {
  TWinControl window(nullptr);
  window.SetBounds(0, 0, 300, 200);
  auto* probe = new TProbe(&window);
  probe->SetParent(&window);
  probe->SetBounds(10, 20, 100, 50);
  window.HandleNeeded();

  TQtPeer* peer = QtPeerOf(&window);
  ASSERT_NE(peer, nullptr);
  TQtControlHost* host = HostOf(probe);
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(host->parentWidget(), peer->ChildArea());
  EXPECT_EQ(host->geometry(), QRect(10, 20, 100, 50));

  probe->SetBounds(30, 40, 60, 70);
  EXPECT_EQ(host->geometry(), QRect(30, 40, 60, 70));
  probe->Hide();
  EXPECT_TRUE(host->isHidden());

  window.DestroyHandle();
  EXPECT_EQ(probe->Peer(), nullptr);
  EXPECT_EQ(window.Peer(), nullptr);
}

}  // namespace
}  // namespace vk::test
