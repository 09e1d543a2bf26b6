#pragma once

#include <QDialog>

class QRadioButton;
class QSpinBox;

namespace tolmar::viewer {

// The format dialog: the show-all layout ("全部图像", 0 x 0) or a custom grid
// of rows and columns (0 to 10), and six preset formats that close it as OK.
// Serves both the screen layout and the merge format; only the title differs.
class FormatDialog : public QDialog {
  Q_OBJECT
 public:
  FormatDialog(const QString& title, int rows, int columns, QWidget* parent = nullptr);
  int Rows() const;
  int Columns() const;

 private:
  void Choose(int rows, int columns);

  QRadioButton* m_all;
  QRadioButton* m_custom;
  QSpinBox* m_rows;
  QSpinBox* m_columns;
};

}  // namespace tolmar::viewer
