#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "viewer/SettingsSheetModel.h"

class QTabWidget;

namespace tolmar::suite {
class ProfileStore;
class StringTable;
}  // namespace tolmar::suite

namespace tolmar::viewer {

class SettingsPage;

// The viewer's settings: the property sheet of command 32968 with its seven
// pages, and the single dialogs of commands 32797 and 32798 built from its
// overlay and measurement pages. OK and Apply put the values into effect and
// write them; a refused value keeps the dialog open on its page.
class SettingsSheet : public QDialog {
  Q_OBJECT
 public:
  enum class Kind { WholeSheet, OverlayFormat, MeasureFormat };

  SettingsSheet(Kind kind, suite::ProfileStore& profile, PictoriumViewModel* view,
                const suite::StringTable& strings, QWidget* parent = nullptr);

  SettingsSheetModel& Model() { return m_model; }
  // Takes the controls' values and applies them as OK (`closing`) or Apply
  // would; false when a value was refused (its message has been shown).
  bool ApplyValues(bool closing);

  void accept() override;

 signals:
  // The values are in effect: the views repaint.
  void Applied();

 private:
  Kind m_kind;
  SettingsSheetModel m_model;
  const suite::StringTable& m_strings;
  QTabWidget* m_tabs = nullptr;
  std::vector<SettingsPage*> m_pages;
};

}  // namespace tolmar::viewer
