#pragma once
// Peers of the choice controls and the label: QCheckBox, QRadioButton,
// QComboBox, QListWidget and QLabel. A radio group is a group box whose
// radio buttons are controls of their own, so it needs no peer here.
//
// What the user does comes back as the model's own calls (SetChecked,
// UserSelect, UserEdit, DropDown), after which the widget shows what the
// model made of it: a radio button clicked while checked stays checked.

#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QRadioButton>

#include "platform/CheckBoxes.h"
#include "platform/ComboBoxes.h"
#include "platform/Labels.h"
#include "platform/ListBoxes.h"
#include "platform/qt/QtPeer.h"

namespace vk {

class TQtCheckBoxPeer : public TQtWidgetPeer {
public:
  explicit TQtCheckBoxPeer(TCheckBox& box);
  void PropertyChanged(TPeerProperty property) override;

private:
  TCheckBox& FBox;
  QCheckBox* FWidget;
};

class TQtRadioButtonPeer : public TQtWidgetPeer {
public:
  explicit TQtRadioButtonPeer(TRadioButton& button);
  void PropertyChanged(TPeerProperty property) override;

private:
  TRadioButton& FButton;
  QRadioButton* FWidget;
};

class TQtComboBoxPeer : public TQtWidgetPeer {
public:
  explicit TQtComboBoxPeer(TComboBox& combo);
  void PropertyChanged(TPeerProperty property) override;

private:
  void ShowItems();
  void ShowSelection();

  TComboBox& FCombo;
  QComboBox* FWidget;
};

class TQtListBoxPeer : public TQtWidgetPeer {
public:
  explicit TQtListBoxPeer(TListBox& list);
  void PropertyChanged(TPeerProperty property) override;

private:
  void ShowItems();
  void ShowSelection();

  TListBox& FList;
  QListWidget* FWidget;
};

class TQtLabelPeer : public TQtWidgetPeer {
public:
  explicit TQtLabelPeer(TLabel& label);
  void PropertyChanged(TPeerProperty property) override;

private:
  TLabel& FLabel;
  QLabel* FWidget;
};

}  // namespace vk
