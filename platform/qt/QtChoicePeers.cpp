#include "platform/qt/QtChoicePeers.h"

#include <QtCore/QSignalBlocker>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QLineEdit>

#include "platform/qt/QtColors.h"
#include "platform/qt/QtConvert.h"
#include "platform/qt/QtGuard.h"
#include "platform/qt/QtInput.h"

namespace vk {

namespace {

QStringList ItemTexts(const TStrings& items) {
  QStringList texts;
  for (int i = 0; i < items.Count(); ++i) texts << AnsiToQString(items.Strings(i));
  return texts;
}

// A check box or radio button takes a click anywhere on it, as the
// system's do, not only on its box and text.
template <class Base>
class TWholeButton : public Base {
protected:
  bool hitButton(const QPoint& at) const override { return this->rect().contains(at); }
};

// A check box or radio button shows the model's caption, check mark and
// colours; setting them sends no signal back to the model.
void ShowCheckProperty(QAbstractButton& widget, const TControl& control, bool checked, TPeerProperty property) {
  QSignalBlocker blocker(&widget);
  switch (property) {
    case ppText: widget.setText(AnsiToQString(control.Caption())); break;
    case ppChecked: widget.setChecked(checked); break;
    case ppColor:
    case ppFont: ShowControlColors(widget, control, QPalette::Window, QPalette::WindowText, false); break;
    default: break;
  }
}

// The combo box's list opens after the model's OnDropDown, which may fill it.
// Its field types through Qt: the model sees the text as the user's edit.
class TDropDownCombo : public QComboBox {
public:
  explicit TDropDownCombo(TComboBox& combo) : FCombo(combo) {}
  void showPopup() override {
    RunGuarded([this] { FCombo.DropDown(); });
    QComboBox::showPopup();
  }
  void hidePopup() override {
    QComboBox::hidePopup();
    RunGuarded([this] { FCombo.CloseUp(); });
  }

protected:
  // The model had the key first; an Alt chord it left types nothing.
  void keyPressEvent(QKeyEvent* event) override {
    if (!IsAltCharacter(*event)) QComboBox::keyPressEvent(event);
  }

private:
  TComboBox& FCombo;
};

}  // namespace

// ---------------------------------------------------------------- check boxes and radio buttons

TQtCheckBoxPeer::TQtCheckBoxPeer(TCheckBox& box)
    : TQtWidgetPeer(box, new TWholeButton<QCheckBox>, {ppText, ppChecked, ppColor}), FBox(box), FWidget(static_cast<QCheckBox*>(Widget())) {
  QObject::connect(FWidget, &QCheckBox::clicked, [this](bool checked) {
    RunGuarded([&] { FBox.SetChecked(checked); });
    PropertyChanged(ppChecked);
  });
}

void TQtCheckBoxPeer::PropertyChanged(TPeerProperty property) {
  ShowCheckProperty(*FWidget, FBox, FBox.Checked(), property);
  TQtWidgetPeer::PropertyChanged(property);
}

TQtRadioButtonPeer::TQtRadioButtonPeer(TRadioButton& button)
    : TQtWidgetPeer(button, new TWholeButton<QRadioButton>, {ppText, ppChecked, ppColor}), FButton(button), FWidget(static_cast<QRadioButton*>(Widget())) {
  // The model turns the other buttons off.
  FWidget->setAutoExclusive(false);
  QObject::connect(FWidget, &QRadioButton::clicked, [this] {
    RunGuarded([this] { FButton.SetChecked(true); });
    PropertyChanged(ppChecked);
  });
}

void TQtRadioButtonPeer::PropertyChanged(TPeerProperty property) {
  ShowCheckProperty(*FWidget, FButton, FButton.Checked(), property);
  TQtWidgetPeer::PropertyChanged(property);
}

// ---------------------------------------------------------------- TQtComboBoxPeer

TQtComboBoxPeer::TQtComboBoxPeer(TComboBox& combo)
    : TQtWidgetPeer(combo, new TDropDownCombo(combo), {ppStyle, ppColor, ppItems}), FCombo(combo), FWidget(static_cast<QComboBox*>(Widget())) {
  QObject::connect(FWidget, &QComboBox::activated, [this](int index) {
    RunGuarded([&] { FCombo.UserSelect(index); });
    ShowSelection();
  });
}

void TQtComboBoxPeer::PropertyChanged(TPeerProperty property) {
  switch (property) {
    case ppItems: ShowItems(); break;
    case ppItemIndex:
    case ppText: ShowSelection(); break;
    case ppStyle: {
      QSignalBlocker blocker(FWidget);
      const bool editable = FCombo.Style() == csDropDown;
      if (FWidget->isEditable() != editable) {
        FWidget->setEditable(editable);
        if (editable) {
          // The model decides what typing selects; Qt adds and completes nothing.
          FWidget->setInsertPolicy(QComboBox::NoInsert);
          FWidget->setCompleter(nullptr);
          QObject::connect(FWidget->lineEdit(), &QLineEdit::textEdited, [this](const QString& text) {
            RunGuarded([&] { FCombo.UserEdit(QStringToAnsi(text)); });
            ShowSelection();
          });
        }
        ShowSelection();
      }
      FWidget->setMaxVisibleItems(FCombo.DropDownCount());
      break;
    }
    case ppColor:
    case ppFont: ShowControlColors(*FWidget, FCombo, QPalette::Base, QPalette::Text, true); break;
    default: break;
  }
  TQtWidgetPeer::PropertyChanged(property);
}

void TQtComboBoxPeer::ShowItems() {
  {
    QSignalBlocker blocker(FWidget);
    FWidget->clear();
    FWidget->addItems(ItemTexts(FCombo.Items()));
  }
  ShowSelection();
}

void TQtComboBoxPeer::ShowSelection() {
  QSignalBlocker blocker(FWidget);
  if (FWidget->currentIndex() != FCombo.ItemIndex()) FWidget->setCurrentIndex(FCombo.ItemIndex());
  const QString text = AnsiToQString(FCombo.Text());
  if (FWidget->isEditable() && FWidget->currentText() != text) FWidget->lineEdit()->setText(text);
}

// ---------------------------------------------------------------- TQtListBoxPeer

TQtListBoxPeer::TQtListBoxPeer(TListBox& list)
    : TQtWidgetPeer(list, new QListWidget, {ppColor, ppItems}), FList(list), FWidget(static_cast<QListWidget*>(Widget())) {
  QObject::connect(FWidget, &QListWidget::currentRowChanged, [this](int row) {
    RunGuarded([&] { FList.UserSelect(row); });
    ShowSelection();
  });
  // The mouse buttons reach the model as its messages: a double click
  // fires OnDblClick.
  InstallEventFilter(*FWidget->viewport(), [this](QEvent& event) {
    const QEvent::Type type = event.type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
      return false;
    const auto& mouse = static_cast<QMouseEvent&>(event);
    if (mouse.button() != Qt::LeftButton) return false;
    const uint32_t message = type == QEvent::MouseButtonPress     ? WM_LBUTTONDOWN
                             : type == QEvent::MouseButtonRelease ? WM_LBUTTONUP
                                                                  : WM_LBUTTONDBLCLK;
    const QPoint at = mouse.position().toPoint();
    RunGuarded([&] { FList.Perform(message, MouseKeyFlags(mouse.buttons(), mouse.modifiers()), MakeLParam(at.x(), at.y())); });
    return false;
  });
}

void TQtListBoxPeer::PropertyChanged(TPeerProperty property) {
  switch (property) {
    case ppItems: ShowItems(); break;
    case ppItemIndex: ShowSelection(); break;
    case ppColor:
    case ppFont: ShowControlColors(*FWidget, FList, QPalette::Base, QPalette::Text, true); break;
    default: break;
  }
  TQtWidgetPeer::PropertyChanged(property);
}

void TQtListBoxPeer::ShowItems() {
  {
    QSignalBlocker blocker(FWidget);
    FWidget->clear();
    FWidget->addItems(ItemTexts(FList.Items()));
  }
  ShowSelection();
}

void TQtListBoxPeer::ShowSelection() {
  QSignalBlocker blocker(FWidget);
  if (FWidget->currentRow() == FList.ItemIndex()) return;
  FWidget->setCurrentRow(FList.ItemIndex());
  if (FList.ItemIndex() < 0) FWidget->clearSelection();
}

// ---------------------------------------------------------------- TQtLabelPeer

TQtLabelPeer::TQtLabelPeer(TLabel& label)
    : TQtWidgetPeer(label, new QLabel, {ppText, ppStyle, ppColor}), FLabel(label), FWidget(static_cast<QLabel*>(Widget())) {
  FWidget->setTextFormat(Qt::PlainText);
}

void TQtLabelPeer::PropertyChanged(TPeerProperty property) {
  switch (property) {
    case ppText: FWidget->setText(AnsiToQString(FLabel.DisplayText())); break;
    case ppStyle: {
      const Qt::Alignment horizontal[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
      FWidget->setAlignment(horizontal[FLabel.Alignment()] | Qt::AlignTop);
      break;
    }
    case ppColor:
    case ppFont: ShowControlColors(*FWidget, FLabel, QPalette::Window, QPalette::WindowText, false); break;
    default: break;
  }
  TQtWidgetPeer::PropertyChanged(property);
}

}  // namespace vk
