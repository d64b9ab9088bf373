#include "platform/qt/QtPeerFactory.h"

#include "platform/qt/QtBarPeers.h"
#include "platform/qt/QtChoicePeers.h"
#include "platform/qt/QtControlHost.h"
#include "platform/qt/QtControlPeers.h"
#include "platform/qt/QtEditPeers.h"
#include "platform/qt/QtFormPeer.h"
#include "platform/qt/QtImagePeer.h"
#include "platform/qt/QtPeer.h"
#include "platform/qt/QtViewPeers.h"

namespace vk {

namespace {

using TPeerMaker = std::unique_ptr<TQtPeer> (*)(TControl&);

// The peer of a Model, made when the control is one.
template <class Model, class Peer>
std::unique_ptr<TQtPeer> Make(TControl& control) {
  auto* model = dynamic_cast<Model*>(&control);
  return model ? std::make_unique<Peer>(*model) : nullptr;
}

std::unique_ptr<TQtPeer> MakeHost(TControl& control) {
  auto* custom = dynamic_cast<TCustomControl*>(&control);
  return custom ? TQtControlHost::ForWindow(*custom) : nullptr;
}

// The kinds, most derived first: the first that matches makes the peer.
constexpr TPeerMaker Kinds[] = {
    Make<TCustomForm, TQtFormPeer>,
    Make<TButton, TQtButtonPeer>,
    Make<TCSpinEdit, TQtSpinEditPeer>,
    Make<TCustomMemo, TQtMemoPeer>,
    Make<TCustomEdit, TQtEditPeer>,
    Make<TCheckBox, TQtCheckBoxPeer>,
    Make<TRadioButton, TQtRadioButtonPeer>,
    Make<TComboBox, TQtComboBoxPeer>,
    Make<TListBox, TQtListBoxPeer>,
    Make<TLabel, TQtLabelPeer>,
    Make<TToolBar, TQtToolBarPeer>,
    Make<TToolButton, TQtToolButtonPeer>,
    Make<TStatusBar, TQtStatusBarPeer>,
    Make<TPageControl, TQtPageControlPeer>,
    Make<TPanel, TQtPanelPeer>,
    Make<TGroupBox, TQtGroupBoxPeer>,
    Make<TBevel, TQtBevelPeer>,
    Make<TSplitter, TQtSplitterPeer>,
    // Views and pictures.
    Make<TTreeView, TQtTreeViewPeer>,
    Make<TListView, TQtListViewPeer>,
    Make<TImage, TQtImagePeer>,
    MakeHost,
    Make<TWinControl, TQtContainerPeer>,
};

}  // namespace

std::unique_ptr<TControlPeer> TQtPeerFactory::CreatePeer(TControl& control) {
  for (TPeerMaker make : Kinds) {
    if (std::unique_ptr<TQtPeer> peer = make(control)) {
      peer->Attached();
      return peer;
    }
  }
  return nullptr;
}

}  // namespace vk
