#pragma once
// One control per configuration key, chosen by the key's kind: a check box,
// a spin box, a combo box, a line edit or a file field. A control reads its
// key when the sheet opens and writes it when the sheet closes with OK. A
// value outside the key's range or choices is shown with a warning marker
// and kept as it is until the user changes it. Keys that an option dialog
// or the column chooser edits are held without a widget.
#include <QString>
#include <memory>
#include <string_view>

#include "engine/config_keys.h"
#include "engine/configuration.h"

class QWidget;

namespace tabulon::ui {

class KeyControl {
 public:
  explicit KeyControl(const ConfigKey& key) : key_(key) {}
  virtual ~KeyControl() = default;
  KeyControl(const KeyControl&) = delete;
  KeyControl& operator=(const KeyControl&) = delete;

  const ConfigKey& key() const { return key_; }
  // "Section/Key": the control's object name and its name on the sheet.
  QString Name() const;
  // What the control shows for a missing key: the editor's default, else
  // the run's.
  std::string_view Default() const;

  void Load(const Configuration& config);
  void Save(const Configuration& config) const;

  // The value as it is written to the file.
  virtual QString Value() const = 0;
  virtual void SetValue(const QString& value) = 0;
  // What a page places for the key; null for a held value.
  virtual QWidget* widget() const { return nullptr; }
  // The widget that takes the focus and a label's mnemonic.
  virtual QWidget* focus() const { return widget(); }
  // A check box carries its label itself.
  virtual bool carries_label() const { return false; }

 private:
  ConfigKey key_;
};

// A value without a widget of its own, edited by a dialog a page opens.
class HeldKey final : public KeyControl {
 public:
  using KeyControl::KeyControl;
  QString Value() const override { return value_; }
  void SetValue(const QString& value) override { value_ = value; }

 private:
  QString value_;
};

// The control for the key's kind; `label` is the text a check box shows
// (with its mnemonic).
std::unique_ptr<KeyControl> MakeKeyControl(const ConfigKey& key, const QString& label);

}  // namespace tabulon::ui
