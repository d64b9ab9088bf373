#pragma once
// The Qt backend's peer factory: which peer shows which kind of control.
// Kinds are tried in the order of one table, the more derived before their
// bases, so adding a control kind is one model class, one peer class and
// one line in that table (QtPeerFactory.cpp).

#include <memory>

#include "platform/Controls.h"

namespace vk {

class TQtPeerFactory : public TPeerFactory {
public:
  std::unique_ptr<TControlPeer> CreatePeer(TControl& control) override;
};

}  // namespace vk
