#include "watching/path_comparison_dlg.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

TPathComparisonDlg::TPathComparisonDlg(QWidget* parent, const QString& table)
    : QDialog(parent), Text(new QPlainTextEdit(this)) {
  setWindowTitle(tr("Lernweg: Vergleich"));
  auto* layout = new QVBoxLayout(this);
  Text->setReadOnly(true);
  Text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  Text->setLineWrapMode(QPlainTextEdit::NoWrap);
  Text->setPlainText(table);
  layout->addWidget(Text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::Close)->setText(tr("Schließen"));
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  // As wide as the longest line, so no column is cut; as high as 40 lines,
  // the rest scrolls. Within a 1280x1024 screen with room for the frame.
  const QFontMetrics metrics(Text->font());
  int widest = 0;
  for (const QString& line : table.split(QLatin1Char('\n'))) widest = std::max(widest, metrics.horizontalAdvance(line));
  const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  const int margins = 2 * (Text->frameWidth() + static_cast<int>(Text->document()->documentMargin())) +
                      layout->contentsMargins().left() + layout->contentsMargins().right();
  const int width = widest + scrollBar + margins + 3 * metrics.averageCharWidth();  // room for the layout's own margin
  const int height = 40 * metrics.lineSpacing() + buttons->sizeHint().height() + 4 * layout->spacing() +
                     layout->contentsMargins().top() + layout->contentsMargins().bottom();
  setMaximumSize(1200, 900);
  resize(std::min(width, 1200), std::min(height, 900));
}
