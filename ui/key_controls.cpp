#include "ui/key_controls.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStyle>
#include <limits>

#include "ui/configuration_widgets.h"
#include "ui/file_field.h"

namespace tabulon::ui {
namespace {

constexpr int kMarkerSize = 16;

QString Help(const ConfigKey& key) {
  return ToQString(key.help);
}

std::string NameOf(const ConfigKey& key) {
  return std::string(key.section) + "/" + std::string(key.key);
}

// A control with a warning marker beside it, shown while the value is one
// a run does not take as it is.
class MarkedRow {
 public:
  // A control that does not `grow` keeps its own width (a number needs
  // few digits).
  MarkedRow(QWidget* control, const ConfigKey& key, bool grow)
      : row_(new QWidget), marker_(new QLabel) {
    auto* layout = new QHBoxLayout(row_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(control, grow ? 1 : 0);
    const QIcon icon = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    marker_->setPixmap(icon.pixmap(kMarkerSize, kMarkerSize));
    Named(marker_, (NameOf(key) + "/marker").c_str(), QObject::tr("Value outside the range"));
    marker_->hide();
    layout->addWidget(marker_);
    if (!grow) layout->addStretch(1);
    row_->setFocusProxy(control);
  }
  QWidget* row() const { return row_; }
  // An empty warning hides the marker.
  void Mark(QWidget* control, const ConfigKey& key, const QString& warning) {
    marker_->setVisible(!warning.isEmpty());
    marker_->setToolTip(warning);
    control->setToolTip(warning.isEmpty() ? Help(key) : Help(key) + "\n" + warning);
  }

 private:
  QWidget* row_;
  QLabel* marker_;
};

class SwitchControl final : public KeyControl {
 public:
  SwitchControl(const ConfigKey& key, const QString& label)
      : KeyControl(key), box_(Named(new QCheckBox(label), NameOf(key).c_str(), label)) {
    box_->setToolTip(Help(key));
  }
  QString Value() const override { return box_->isChecked() ? "1" : "0"; }
  void SetValue(const QString& value) override {
    const std::int32_t read = ProfileInteger(ToUtf8(value));
    box_->setChecked(SettingValue(key(), read) != 0);
  }
  QWidget* widget() const override { return box_; }
  bool carries_label() const override { return true; }

 private:
  QCheckBox* box_;
};

class NumberControl final : public KeyControl {
 public:
  explicit NumberControl(const ConfigKey& key)
      : KeyControl(key),
        spin_(Named(new QSpinBox, NameOf(key).c_str(), ToQString(key.label))),
        row_(spin_, key, false) {
    // Any number can be shown, so a value beyond the range is not changed
    // by opening the sheet.
    spin_->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    QObject::connect(spin_, &QSpinBox::valueChanged, spin_, [this](int) { Mark(); });
    Mark();
  }
  QString Value() const override { return QString::number(spin_->value()); }
  void SetValue(const QString& value) override {
    spin_->setValue(ProfileInteger(ToUtf8(value)));
    Mark();
  }
  QWidget* widget() const override { return row_.row(); }
  QWidget* focus() const override { return spin_; }

 private:
  void Mark() {
    const int value = spin_->value();
    const KeyRange& range = key().range;
    QString warning;
    if (value < range.min || value > range.max) {
      warning = QObject::tr("%1 is outside %2 to %3: a run takes it as %4.")
                    .arg(value)
                    .arg(range.min)
                    .arg(range.max)
                    .arg(SettingValue(key(), value));
    }
    row_.Mark(spin_, key(), warning);
  }

  QSpinBox* spin_;
  MarkedRow row_;
};

class ChoiceControl final : public KeyControl {
 public:
  explicit ChoiceControl(const ConfigKey& key)
      : KeyControl(key),
        combo_(Named(new QComboBox, NameOf(key).c_str(), ToQString(key.label))),
        row_(combo_, key, true) {
    for (const KeyChoice& choice : key.choices) {
      combo_->addItem(ToQString(choice.text), choice.value);
    }
    QObject::connect(combo_, &QComboBox::currentIndexChanged, combo_, [this](int) { Mark(); });
    Mark();
  }
  QString Value() const override { return QString::number(combo_->currentData().toInt()); }
  void SetValue(const QString& value) override {
    const std::int32_t read = ProfileInteger(ToUtf8(value));
    int index = combo_->findData(read);
    if (index < 0) {
      // An unlisted value stays a choice of its own, so it is kept unless
      // the user picks another.
      combo_->addItem(QObject::tr("%1 (not a listed choice)").arg(read), read);
      index = combo_->count() - 1;
    }
    combo_->setCurrentIndex(index);
    Mark();
  }
  QWidget* widget() const override { return row_.row(); }
  QWidget* focus() const override { return combo_; }

 private:
  void Mark() {
    const std::int32_t value = combo_->currentData().toInt();
    QString warning;
    if (combo_->currentIndex() >= static_cast<int>(key().choices.size())) {
      const std::int32_t taken = SettingValue(key(), value);
      const int taken_index = combo_->findData(taken);
      warning = taken == value
                    ? QObject::tr("%1 is not a listed choice: a run uses it as it is.").arg(value)
                    : QObject::tr("%1 is not a listed choice: a run takes it as \"%2\".")
                          .arg(value)
                          .arg(combo_->itemText(taken_index));
    }
    row_.Mark(combo_, key(), warning);
  }

  QComboBox* combo_;
  MarkedRow row_;
};

class TextControl final : public KeyControl {
 public:
  explicit TextControl(const ConfigKey& key)
      : KeyControl(key), edit_(Named(new QLineEdit, NameOf(key).c_str(), ToQString(key.label))) {
    edit_->setToolTip(Help(key));
  }
  QString Value() const override { return edit_->text(); }
  void SetValue(const QString& value) override { edit_->setText(value); }
  QWidget* widget() const override { return edit_; }

 private:
  QLineEdit* edit_;
};

FileFieldKind FieldKind(const ConfigKey& key) {
  switch (key.kind) {
    case KeyKind::kFolder:
      return FileFieldKind::kFolder;
    case KeyKind::kListFile:
      return FileFieldKind::kListFile;
    default:
      break;
  }
  if (key.key == "LogFileName") return FileFieldKind::kLogFile;
  // The platform's files are no output files; they too are text a user
  // may want to look at, so they get the list file's Edit button.
  if (key.page == ConfigPage::kPlatform) return FileFieldKind::kListFile;
  return FileFieldKind::kOutputFile;
}

class FileControl final : public KeyControl {
 public:
  explicit FileControl(const ConfigKey& key)
      : KeyControl(key),
        field_(new FileField(FieldKind(key), ToQString(NameOf(key)), ToQString(key.label), nullptr,
                             QObject::tr("Select %1").arg(ToQString(key.label)))) {
    field_->edit()->setToolTip(Help(key));
  }
  QString Value() const override { return field_->text(); }
  void SetValue(const QString& value) override { field_->setText(value); }
  QWidget* widget() const override { return field_; }
  QWidget* focus() const override { return field_->edit(); }

 private:
  FileField* field_;
};

}  // namespace

QString KeyControl::Name() const {
  return ToQString(NameOf(key_));
}

std::string_view KeyControl::Default() const {
  if (key_.editor_default != nullptr) return key_.editor_default;
  return key_.run_default != nullptr ? key_.run_default : "";
}

void KeyControl::Load(const Configuration& config) {
  SetValue(ToQString(config.ReadText(key_.section, key_.key, Default())));
}

void KeyControl::Save(const Configuration& config) const {
  config.WriteText(key_.section, key_.key, ToUtf8(Value()));
}

std::unique_ptr<KeyControl> MakeKeyControl(const ConfigKey& key, const QString& label) {
  switch (key.kind) {
    case KeyKind::kSwitch:
      return std::make_unique<SwitchControl>(key, label);
    case KeyKind::kNumber:
      return std::make_unique<NumberControl>(key);
    case KeyKind::kChoice:
      return std::make_unique<ChoiceControl>(key);
    case KeyKind::kText:
    case KeyKind::kDelimiterText:
      return std::make_unique<TextControl>(key);
    case KeyKind::kFileName:
    case KeyKind::kFolder:
    case KeyKind::kListFile:
      return std::make_unique<FileControl>(key);
    case KeyKind::kFlags:
    case KeyKind::kColumnList:
    case KeyKind::kTemplateList:
      break;
  }
  return std::make_unique<HeldKey>(key);
}

}  // namespace tabulon::ui
