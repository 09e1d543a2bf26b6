#pragma once

#include <QDockWidget>
#include <functional>
#include <memory>

#include "viewer/HistoryBar.h"

class QTreeWidget;

namespace tolmar::suite {
class StringTable;
}

namespace tolmar::viewer {

// The history bar as a dock of the main frame: one line per study of the
// patient (date, modality, place, study number; the loaded ones in bold).
// A double-click loads the study here; the context menu offers "看图" (32982,
// another viewer) and "报告" (32983, the report writer).
class HistoryBarWidget : public QDockWidget {
 public:
  HistoryBarWidget(const suite::StringTable& strings, const HistoryBarSettings& settings,
                   HistoryBar::LoadRequest request, std::unique_ptr<HistoryAutomation> automation,
                   QWidget* parent = nullptr);
  ~HistoryBarWidget() override;

  HistoryBar& Bar() { return *m_bar; }
  // Lists the bar's rows again (after they were read or marked).
  void ShowRows();
  // The focused and selected line, or -1.
  int ChosenIndex() const;

 private:
  class Prompts;

  void ShowContextMenu(const QPoint& position);

  const suite::StringTable& m_strings;
  HistoryBar::LoadRequest m_request;
  std::unique_ptr<HistoryAutomation> m_automation;
  std::unique_ptr<Prompts> m_prompts;
  std::unique_ptr<HistoryBar> m_bar;
  QTreeWidget* m_list = nullptr;
};

}  // namespace tolmar::viewer
